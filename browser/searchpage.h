#pragma once

#include "messagebox.h"
#include "page.h"
#include "programdata.h"
#include "search.h"

#include <vector>

class QComboBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace korvelan {

class RecordList;

// The search page, Fra(2): the search word Cbo2 with its history, the suggestions Lst12, the
// button CmdCherche, the result caption LblResultat and the additives found, LstC.
class SearchPage : public Page {
    Q_OBJECT

public:
    SearchPage(const ProgramData &data, MessageBoxes &boxes, QWidget *parent);

    bool choosesAdditives() const override { return true; }
    // Opening the page puts the keyboard into the search word.
    QWidget *focusOnOpening() const override;
    // The word, the suggestions, the button and the results, for the keyboard.
    std::vector<QWidget *> tabStops() const override;

    // Enter: searches when the page is shown and the word is long enough.
    void searchOnEnter();

Q_SIGNALS:
    // Nothing was found: the panel is emptied. The first additive found is a recordChosen.
    void nothingFound();

private:
    // Sets the search word and runs the reaction to its change.
    void setWord(const QString &text);
    void onWordChanged();
    void onHistoryChosen();
    void rebuildSuggestions(QStringView text);
    void onSuggestionChosen(QListWidgetItem *item);
    void search();

    const ProgramData &m_data;
    MessageBoxes &m_boxes;
    qsizetype m_longestKeyword = 0; // a longer search word gets no suggestion
    SearchHistory m_history;
    bool m_fillingSuggestions = false;
    QComboBox *m_wordBox = nullptr;          // Cbo2
    QListWidget *m_suggestionList = nullptr; // Lst12
    QPushButton *m_searchButton = nullptr;   // CmdCherche
    QLabel *m_resultCaption = nullptr;       // LblResultat
    RecordList *m_resultList = nullptr;      // LstC
};

} // namespace korvelan
