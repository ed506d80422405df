#include "searchpage.h"

#include "controltable.h"
#include "palette.h"
#include "programconstants.h"
#include "recordlist.h"
#include "suggestions.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace korvelan {
namespace {

using enum ControlKind;

// The tables keep one control a line, as a layout reads: the formatter leaves them as written.
// clang-format off
const std::array<Control, 14> kControls = {{
    {u"LblLab(10)", Label, 90, 180, 1500, 255, Arial9, colour::Black, TopLeft, u"Numéro"},
    {u"LblLab(11)", Label, 1200, 180, 1500, 255, Arial9, colour::Black, TopLeft, u"Nom"},
    {u"LblLab(9)", Label, 4170, 180, 1500, 255, Arial9, colour::Black, TopLeft, u"Catégorie"},
    {u"LblLab(8)", Label, 6840, 180, 1500, 255, Arial9, colour::Black, TopLeft, u"Risque"},
    {u"LblLab(7)", Label, 7560, 180, 1500, 255, Arial9, colour::Black, TopLeft, u"Autorisé UE"},
    {u"LblLab(6)", Label, 8760, 180, 1500, 255, Arial9, colour::Black, TopLeft, u"Autorisé FR"},
    {u"LstC", RecordRows, 60, 465, 10215, 4305, ListColumns, colour::Brown, {}, u"", u"", u"Additifs trouvés"},
    {u"LblAd(15)", Label, 60, 4920, 2775, 345, Arial12Bold, colour::Black, TopLeft, u"Recherche par mot clé:"},
    {u"LblAd(16)", Label, 2820, 4980, 7455, 285, Arial9, colour::Black, TopLeft,
     u"saisir un mot dans la zone de texte puis cliquer sur un des éléments de la liste."},
    // A screen reader reads the word typed as the combo box's name, and its caption as its label.
    {u"Cbo2", WordBox, 1020, 5400, 3615, 480, {FontFace::Arial, 18}, colour::DarkRed, {}, u"", u"",
     u"Mot clé à rechercher"},
    {u"Lst12", ChoiceRows, 5700, 5400, 3615, 3675, {FontFace::CourierNew, 18}, colour::Black, {}, u"", u"",
     u"Mots clés proposés"},
    {u"CmdCherche", Button, 1680, 6060, 2235, 495, {}, colour::ButtonGrey, {}, u"Rechercher", u"Lancer la recherche",
     u"Rechercher"},
    {u"LblResultat", Label, 900, 6720, 3855, 375, Arial12Bold, colour::Orange, TopLeft},
    {u"LblLab(12)", Label, 660, 7200, 4335, 315, Arial9, colour::DarkGrey, TopLeft,
     u"Remarque: un seul mot clé est autorisé."},
}};
// clang-format on

} // namespace

SearchPage::SearchPage(const ProgramData &data, MessageBoxes &boxes, QWidget *parent)
    : Page(u"Rechercher"_s, u"Outil de recherche"_s, parent), m_data(data), m_boxes(boxes),
      m_longestKeyword(longestKeyword(data.keywords))
{
    const Controls controls = buildControls(this, kControls);
    m_resultList = controls.get<RecordList>(u"LstC"_s);
    forwardChoices(m_resultList);
    m_wordBox = controls.get<QComboBox>(u"Cbo2"_s);
    controls.get<QLabel>(u"LblAd(15)"_s)->setBuddy(m_wordBox);
    m_suggestionList = controls.get<QListWidget>(u"Lst12"_s);
    m_searchButton = controls.get<QPushButton>(u"CmdCherche"_s);
    m_searchButton->setEnabled(false);
    connect(m_searchButton, &QPushButton::clicked, this, &SearchPage::search);
    m_resultCaption = controls.get<QLabel>(u"LblResultat"_s);
    // Its text is what a screen reader reads, and announces when it changes.
    m_resultCaption->setAccessibleDescription(u"Résultat de la recherche"_s);

    // Typing changes the text; the program's own changes go through setWord, which runs the same
    // reaction at once.
    connect(m_wordBox, &QComboBox::editTextChanged, this, [this] { onWordChanged(); });
    connect(m_wordBox, &QComboBox::activated, this, [this] { onHistoryChosen(); });
    // A suggestion is chosen by selecting it: a click, the arrows, Home, End, or Space on the
    // current row. The choice rebuilds the list with nothing selected, so every later click or
    // arrow selects anew. Taking the focus with Tab only makes the first row current: it chooses
    // nothing, or Tab could never get past the list, each search sending the focus back to the word;
    // the first arrow then chooses that row.
    connect(m_suggestionList, &QListWidget::itemSelectionChanged, this, [this] {
        const QList<QListWidgetItem *> chosen = m_suggestionList->selectedItems();
        if (!chosen.isEmpty() && !m_fillingSuggestions)
            onSuggestionChosen(chosen.first());
    });
}

std::vector<QWidget *> SearchPage::tabStops() const
{
    return {m_wordBox, m_suggestionList, m_searchButton, m_resultList};
}

QWidget *SearchPage::focusOnOpening() const
{
    return m_wordBox;
}

void SearchPage::searchOnEnter()
{
    if (isVisible() && m_wordBox->currentText().size() >= MinimumSearchLength)
        search();
}

void SearchPage::setWord(const QString &text)
{
    {
        // The drop-down list's current entry follows the text, so that leaving the field is not
        // taken for the choice of a history word.
        // Setting the index writes the entry's text into the field (the empty text for none), so
        // it is set only when it moves.
        const QSignalBlocker quiet(m_wordBox);
        const int entry = m_wordBox->findText(text, Qt::MatchFixedString | Qt::MatchCaseSensitive);
        if (entry != m_wordBox->currentIndex())
            m_wordBox->setCurrentIndex(entry);
        m_wordBox->setEditText(text);
    }
    onWordChanged();
}

void SearchPage::onWordChanged()
{
    const QString text = m_wordBox->currentText();
    // Txt2, the word in small letters, is only read by the suggestions: its change is their rebuild.
    rebuildSuggestions(text.toLower());
    m_resultCaption->clear();
    m_searchButton->setEnabled(text.size() >= MinimumSearchLength);

    // Each disallowed character is reported once, in the order of the text, then taken out of the
    // whole text; taking it out is itself a change of the word, whose reaction reports the next
    // one, until only allowed characters are left. One pass finds all the characters, and each
    // step costs only its own occurrences. Writing a text into the field costs time in proportion
    // to its length, so the field gets the word once, when the last character is out; the
    // reactions in between show what depends on the word left: the button, and the suggestions,
    // which only a word no longer than a keyword can have.
    DisallowedRemoval removal(text);
    if (removal.finished())
        return;
    for (;;) {
        m_boxes.show(MessageIcon::Information, AppTitle, disallowedCharacterMessage(), MessageButtons::Ok);
        removal.removeNext();
        if (removal.finished())
            break;
        const qsizetype length = removal.length();
        rebuildSuggestions(length <= m_longestKeyword ? removal.head(length).toLower() : QString());
        m_resultCaption->clear();
        m_searchButton->setEnabled(length >= MinimumSearchLength);
    }
    setWord(removal.text());
    m_wordBox->lineEdit()->end(false);
}

void SearchPage::onHistoryChosen()
{
    // A word from the history passed the input check when it was searched: no check here.
    m_searchButton->setEnabled(true);
    m_resultCaption->clear();
    rebuildSuggestions(m_wordBox->currentText().toLower());
}

void SearchPage::rebuildSuggestions(QStringView text)
{
    QStringList rows;
    for (QStringView word : SuggestKeywords(text, m_data.keywords))
        rows.append(word.toString());
    if (rows.isEmpty() && m_suggestionList->count() == 0)
        return; // empty it stays: no need to empty it again
    m_fillingSuggestions = true;
    m_suggestionList->clear();
    m_suggestionList->addItems(rows);
    m_suggestionList->setCurrentRow(-1);
    m_fillingSuggestions = false;
}

void SearchPage::onSuggestionChosen(QListWidgetItem *item)
{
    if (m_fillingSuggestions || !item)
        return;
    const QString keyword = item->text(); // the list is rebuilt by what follows
    setWord(keyword);
    search();
}

void SearchPage::search()
{
    m_resultList->clear();
    m_searchButton->setEnabled(false);
    const QString word = m_wordBox->currentText();

    // The history holds the words; the drop-down list shows them, rebuilt when a word comes in.
    if (m_history.record(word) == SearchHistory::Outcome::Added) {
        const QSignalBlocker quiet(m_wordBox);
        m_wordBox->clear();
        m_wordBox->addItems(m_history.sortedWords());
    }
    setWord(word);

    const SearchResult result = searchKeywords(word, m_data.additives);
    m_resultList->addItems(result.rows);
    if (!result.records.isEmpty()) {
        Q_EMIT recordChosen(result.records.first());
        m_resultCaption->setText(resultCaption(int(result.records.size())));
    } else {
        m_resultCaption->setText(resultCaption(0));
        Q_EMIT nothingFound();
    }
    m_searchButton->setEnabled(false);
    m_wordBox->setFocus();
}

} // namespace korvelan
