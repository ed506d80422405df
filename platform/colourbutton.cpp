#include "colourbutton.h"

#include "geometry.h"
#include "palette.h"

using namespace Qt::StringLiterals;

namespace korvelan {

ColourButton::ColourButton(const QString &text, QWidget *parent) : QPushButton(text, parent)
{
    setBackColour(m_backColour);
}

void ColourButton::setBackColour(quint32 colour)
{
    m_backColour = colour;
    const QColor background = bgrColor(colour);
    // A style sheet paints the colour whatever the desktop style; the border keeps it a button,
    // and the focus frame shows where the keyboard is.
    const QString grey = bgrColor(colour::Grey).name();
    setStyleSheet(u"QPushButton { background-color: %1; border: 1px solid %3; border-radius: 2px; padding: 2px; }"
                  "QPushButton:pressed { background-color: %2; }"
                  "QPushButton:focus { border: 2px solid %4; }"
                  "QPushButton:disabled { color: %3; }"_s.arg(background.name(), background.darker(115).name(), grey,
                                                              bgrColor(colour::FocusBlue).name()));
}

} // namespace korvelan
