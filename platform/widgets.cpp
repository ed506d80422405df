#include "widgets.h"

#include "geometry.h"

#include <QLabel>

namespace korvelan {

void setTextColour(QWidget *widget, quint32 colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, bgrColor(colour));
    palette.setColor(QPalette::Text, bgrColor(colour));
    palette.setColor(QPalette::ButtonText, bgrColor(colour));
    widget->setPalette(palette);
}

void setBackground(QWidget *widget, quint32 colour)
{
    widget->setAutoFillBackground(true);
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, bgrColor(colour));
    widget->setPalette(palette);
}

QLabel *makeLabel(QWidget *parent, const QString &name, const QString &text, QRect geometry, const QFont &font,
                  quint32 colour, Qt::Alignment alignment)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    label->setFont(font);
    label->setAlignment(alignment);
    setTextColour(label, colour);
    return label;
}

} // namespace korvelan
