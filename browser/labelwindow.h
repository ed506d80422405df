#pragma once

#include "additive.h"
#include "labelanalyser.h"

#include <QWidget>

class QLabel;
class QPlainTextEdit;

namespace korvelan {

class RecordList;

// The window that reads a label: the user types or pastes an ingredient list, and the additives it
// names appear at once, one row each in the format of the other lists, with their count. Choosing a
// row (click, arrows or Enter) asks for that additive in the main window's detail panel. Not modal;
// Esc closes it.
class LabelWindow : public QWidget {
    Q_OBJECT

public:
    explicit LabelWindow(const AdditiveTable &table, QWidget *parent = nullptr);

    // Shows the window beside `main` (on its right, or on its left when the screen ends there), or
    // brings it forward when it is open already, with the focus in the text.
    void showBeside(const QWidget &main);

    RecordList *results() const { return m_lstEtiquette; }

Q_SIGNALS:
    void recordChosen(int record);
    void selectionError(int error);

private:
    void analyse();

    const AdditiveTable &m_table;
    LabelAnalyser m_analyser;
    QPlainTextEdit *m_txtEtiquette;
    RecordList *m_lstEtiquette;
    QLabel *m_lblEtiquette;
};

} // namespace korvelan
