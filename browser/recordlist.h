#pragma once

#include <QListWidget>

namespace korvelan {

// A list of one column whose rows the keyboard chooses as a person expects: Home and End choose the
// first and the last row, even when it is the row already chosen; while no row is chosen, the first
// arrow chooses the row the focus rests on (the first one when the list took the focus from the Tab
// key), or the first row when it rests on none, instead of moving past it. A row is chosen by
// selecting it anew, so the list's reaction to a change of selection runs. Other keys keep their use.
class ChoiceList : public QListWidget {
    Q_OBJECT

public:
    explicit ChoiceList(QWidget *parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

// A list whose rows end with the number of the record they show ("$n"). A move of the selection, by
// mouse or keyboard, chooses the record; so does a click on the row that is already selected, which
// changes no selection. A list that takes the focus from the Tab key makes its first row current
// without selecting it: that is no choice of the user's, and chooses nothing.
class RecordList : public ChoiceList {
    Q_OBJECT

public:
    explicit RecordList(QWidget *parent = nullptr);

Q_SIGNALS:
    void recordChosen(int record);
    // A row whose number is wrong; `error` is the code of the fault (see rownumber.h).
    void selectionError(int error);

protected:
    void mousePressEvent(QMouseEvent *event) override;

private:
    void choose();

    int m_rowAtPress = -1; // the current row when a mouse button last went down
};

} // namespace korvelan
