#pragma once

#include "flaglists.h"
#include "page.h"
#include "programdata.h"

#include <array>
#include <vector>

class QLabel;
class QToolButton;

namespace korvelan {

class RecordList;

// The page of the additive lists, Fra(1): the list by number LstNumAdd, the alphabetical list
// LstAlpha, the flag list LstTri, and the eight display options that choose which one is shown.
class ListPage : public Page {
    Q_OBJECT

public:
    ListPage(const ProgramData &data, QWidget *parent);

    // The lists filled from the table: by number, then in the data's alphabetical order.
    void fillNumbers();
    void fillAlphabetical();
    // The hidden lists take the height of the list by number.
    void matchListHeights();

    RecordList *numbers() const { return m_numberList; }
    std::vector<RecordList *> recordLists() const { return {m_numberList, m_alphabeticalList, m_flagList}; }
    bool choosesAdditives() const override { return true; }
    // The option rings, then the lists, for the keyboard.
    std::vector<QWidget *> tabStops() const override;

Q_SIGNALS:
    // The reactions to a display option, in their order: panelCleared, recordChosen, titleChanged
    // for a flag list, optionDone.
    void panelCleared();
    void titleChanged(const QString &title);
    void optionDone();

private:
    void addDisplayOptions();
    void chooseOption(int i);
    // The row of record r, made once: the three lists share its text rather than each holding a copy.
    QString row(int r);

    const ProgramData &m_data;
    RecordList *m_numberList = nullptr;                            // LstNumAdd
    RecordList *m_alphabeticalList = nullptr;                      // LstAlpha
    RecordList *m_flagList = nullptr;                              // LstTri
    std::vector<QString> m_rows;                                   // by record slot; null until made
    std::array<QToolButton *, DisplayOptionCount> m_optionRings{}; // ImgD(0) to ImgD(7): the option rings
    std::array<QLabel *, DisplayOptionCount> m_optionMarks{};      // ImgB(0) to ImgB(7): the mark of the chosen option
};

} // namespace korvelan
