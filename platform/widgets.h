#pragma once

#include <QRect>
#include <QString>

class QAbstractItemView;
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

// Lets the keyboard choose the rows of a list as a person expects: Home and End choose the first
// and the last row, even when it is the row already chosen; while no row is chosen, the first arrow
// chooses the row the focus rests on (the first one when the list took the focus from the Tab key),
// or the first row when it rests on none, instead of moving past it. A row is chosen by selecting
// it anew, so the list's reaction to a change of selection runs. Other keys keep their use.
void chooseRowsWithKeys(QAbstractItemView *list);

} // namespace korvelan
