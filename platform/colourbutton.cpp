#include "colourbutton.h"

#include "geometry.h"

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
    setStyleSheet(u"QPushButton { background-color: %1; border: 1px solid #808080; border-radius: 2px; padding: 2px; }"
                  "QPushButton:pressed { background-color: %2; }"
                  "QPushButton:focus { border: 2px solid #3050a0; }"
                  "QPushButton:disabled { color: #808080; }"_s.arg(background.name(), background.darker(115).name()));
}

} // namespace korvelan
