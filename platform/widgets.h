#pragma once

#include <QRect>
#include <QSize>
#include <QString>

class QFont;
class QLabel;
class QWidget;

namespace korvelan {

// Small helpers the windows build their controls with. Colours are written 0x00BBGGRR.

// Sets the colour the widget draws its text in, whatever kind of widget it is.
void setTextColour(QWidget *widget, quint32 colour);

// Fills the widget's background with the colour.
void setBackground(QWidget *widget, quint32 colour);

// A label with its object name, place, font and text colour.
QLabel *makeLabel(QWidget *parent, const QString &name, const QString &text, QRect geometry, const QFont &font,
                  quint32 colour, Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop);

// Moves the child widgets of `window` into a scroll area that fills it, on a ground of `contentSize`,
// for a window smaller than what it holds; the scroll area follows the keyboard focus, so that Tab
// reaches every control. Returns the size the window's client area should take: as large as the
// content and the scroll bars it needs, within `room`. Hidden children stay hidden.
QSize scrollContents(QWidget *window, QSize contentSize, QSize room);

} // namespace korvelan
