#include "historyrows.h"
#include "listerfixture.h"
#include "resource.h"
#include "searchwords.h"
#include "suggestions.h"

#include <QComboBox>
#include <QPushButton>
#include <QSignalSpy>

using namespace korvelan;
using namespace Qt::StringLiterals;

namespace {

// The search page of a window on the shipped data.
struct SearchFixture : ListerFixture {
    SearchFixture() : ListerFixture(*readEmbeddedResource(kDatabaseResource), *readEmbeddedResource(kKeywordResource))
    { }

    bool openSearchPage()
    {
        if (!open())
            return false;
        QTest::mouseClick(find<QWidget>(u"CmdOnglet(2)"_s), Qt::LeftButton);
        return combo()->hasFocus();
    }
    QComboBox *combo() const { return find<QComboBox>(u"Cbo2"_s); }
    QPushButton *searchButton() const { return find<QPushButton>(u"CmdCherche"_s); }
    QString result() const { return find<QLabel>(u"LblResultat"_s)->text(); }
    // Types the text key by key; characters without a key of their own arrive as text.
    void type(const QString &text)
    {
        for (QChar c : text) {
            if (c.unicode() < 0x80)
                QTest::keyClick(combo()->lineEdit(), c.toLatin1());
            else
                QTest::sendKeyEvent(QTest::Click, combo()->lineEdit(), Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }
    void search(const QString &word)
    {
        combo()->lineEdit()->selectAll();
        combo()->lineEdit()->insert(word);
        QTest::keyClick(combo()->lineEdit(), Qt::Key_Return);
    }
    QStringList rows(const QString &name) const
    {
        QStringList texts;
        for (int i = 0; i < list(name)->count(); ++i)
            texts.append(list(name)->item(i)->text());
        return texts;
    }
    QStringList history() const
    {
        QStringList words;
        for (int i = 0; i < combo()->count(); ++i)
            words.append(combo()->itemText(i));
        return words;
    }
};

const QStringList kAc = {u"acacia"_s,         u"acesulfame"_s, u"acesulfate"_s, u"acetate"_s, u"acetique"_s,
                         u"acetoglyceride"_s, u"acetone"_s,    u"acetyle"_s,    u"acide"_s};

// Message boxes that let the test look at the window as each message comes.
struct WatchingBoxes : RecordingMessageBoxes {
    std::function<void()> onShow;
    MessageAnswer show(MessageIcon icon, const QString &title, const QString &text, MessageButtons buttons) override
    {
        if (onShow)
            onShow();
        return RecordingMessageBoxes::show(icon, title, text, buttons);
    }
};

// `count` different disallowed characters, each `times` times, between allowed letters.
QString disallowedAmongLetters(int count, int times)
{
    QString text;
    for (int t = 0; t < times; ++t) {
        for (char16_t c = 0x100; c < 0x100 + count; ++c)
            text += QChar(c) + QString(1, QChar(u'a' + c % 26));
    }
    return text;
}

} // namespace

class TestSearchPage : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void suggestionsWhileTyping_data();
    void suggestionsWhileTyping();
    void choosingASuggestionSearchesIt();
    void suggestionsFromTheKeyboard();
    void rowsChosenFromTheKeyboard_data();
    void rowsChosenFromTheKeyboard();
    void inputCheck_data();
    void inputCheck();
    void pasteOfManyDisallowedCharacters_data();
    void pasteOfManyDisallowedCharacters();
    void searchButtonFollowsTheText();
    void searches_data();
    void searches();
    void history_data();
    void history();
    void choosingAHistoryWord();
    void resultRowShowsItsAdditive();
    void nothingFoundGreysTheRiskCaptionOfAClass4Record();
};

void TestSearchPage::suggestionsWhileTyping_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("count");
    QTest::addColumn<QStringList>("first");
    QTest::newRow("one letter") << u"a"_s << 0 << QStringList();
    QTest::newRow("ac") << u"ac"_s << 9 << kAc;
    QTest::newRow("AC") << u"AC"_s << 9 << kAc;
    QTest::newRow("e1") << u"e1"_s << 167 << QStringList{u"e100"_s, u"e1000"_s, u"e1001"_s, u"e1001i"_s};
    QTest::newRow("e100") << u"e100"_s << 11 << QStringList{u"e100"_s, u"e1000"_s};
    QTest::newRow("zi") << u"zi"_s << 1 << QStringList{u"zinc"_s};
    QTest::newRow("or") << u"or"_s << 9 << QStringList{u"or"_s, u"orange"_s};
    QTest::newRow("y") << u"ya"_s << 0 << QStringList();
    QTest::newRow("digit") << u"10"_s << 0 << QStringList();
    QTest::newRow("space") << u" a"_s << 0 << QStringList();
    QTest::newRow("two words") << u"acide c"_s << 0 << QStringList();
}

void TestSearchPage::suggestionsWhileTyping()
{
    QFETCH(QString, typed);
    QFETCH(int, count);
    QFETCH(QStringList, first);
    SearchFixture page;
    QVERIFY(page.openSearchPage());
    page.type(typed);
    const QStringList rows = page.rows(u"Lst12"_s);
    QCOMPARE(rows.size(), count);
    QCOMPARE(rows.mid(0, first.size()), first);
    QVERIFY(page.list(u"Lst12"_s)->selectedItems().isEmpty());
    // Deleting back to one character empties the list.
    while (page.combo()->currentText().size() > 1)
        QTest::keyClick(page.combo()->lineEdit(), Qt::Key_Backspace);
    QCOMPARE(page.list(u"Lst12"_s)->count(), 0);
    QVERIFY(page.boxes.boxes.isEmpty());
}

void TestSearchPage::choosingASuggestionSearchesIt()
{
    SearchFixture page;
    QVERIFY(page.openSearchPage());
    page.type(u"ac"_s);
    QListWidget *suggestions = page.list(u"Lst12"_s);
    QTest::mouseClick(suggestions->viewport(), Qt::LeftButton, {},
                      suggestions->visualItemRect(suggestions->item(8)).center());
    QCOMPARE(page.combo()->currentText(), u"acide"_s);
    QCOMPARE(page.rows(u"Lst12"_s), QStringList{u"acide"_s});
    QCOMPARE(page.list(u"LstC"_s)->count(), 84);
    QCOMPARE(page.result(), u"84 additifs trouvés."_s);
    QCOMPARE(page.history(), QStringList{u"acide"_s});
}

void TestSearchPage::suggestionsFromTheKeyboard()
{
    SearchFixture page;
    QVERIFY(page.openSearchPage());
    page.type(u"ac"_s);
    QListWidget *suggestions = page.list(u"Lst12"_s);
    QListWidget *results = page.list(u"LstC"_s);
    // Tab only brings the focus to the suggestions: the first one becomes current, none is chosen,
    // and the next Tab goes on instead of coming back to the word.
    QTest::keyClick(page.combo()->lineEdit(), Qt::Key_Tab);
    QVERIFY(suggestions->hasFocus());
    QCOMPARE(results->count(), 0);
    QCOMPARE(page.rows(u"Lst12"_s), kAc);
    // Space chooses the current row, and so does the first arrow; each choice searches.
    QTest::keyClick(suggestions, Qt::Key_Space);
    QCOMPARE(page.combo()->currentText(), u"acacia"_s);
    QVERIFY(results->count() > 0);
    page.combo()->lineEdit()->selectAll();
    page.type(u"ac"_s);
    QTest::keyClick(page.combo()->lineEdit(), Qt::Key_Tab);
    QTest::keyClick(suggestions, Qt::Key_Down);
    QCOMPARE(page.combo()->currentText(), u"acacia"_s);
}

void TestSearchPage::rowsChosenFromTheKeyboard_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<QList<int>>("keys"); // Qt::Key_unknown: the panel is emptied and Tab reaches the list again
    QTest::addColumn<int>("row");         // the row chosen at the end, counted from the end when negative
    for (const QString &list : {u"LstNumAdd"_s, u"LstAlpha"_s, u"LstTri"_s, u"LstC"_s, u"Lst12"_s}) {
        QTest::addRow("%s: Down", qPrintable(list)) << list << QList<int>{Qt::Key_Down} << 0;
        QTest::addRow("%s: Home", qPrintable(list)) << list << QList<int>{Qt::Key_Home} << 0;
        QTest::addRow("%s: End", qPrintable(list)) << list << QList<int>{Qt::Key_End} << -1;
    }
    QTest::newRow("LstNumAdd: Down, Down") << u"LstNumAdd"_s << QList<int>{Qt::Key_Down, Qt::Key_Down} << 1;
    QTest::newRow("LstC: End, Up") << u"LstC"_s << QList<int>{Qt::Key_End, Qt::Key_Up} << -2;
    QTest::newRow("LstNumAdd: End on the row chosen")
        << u"LstNumAdd"_s << QList<int>{Qt::Key_End, Qt::Key_unknown, Qt::Key_End} << -1;
}

// A list reached with Tab chooses nothing; then the first Down chooses its first row, Home and End
// the first and the last row, whatever was chosen before. The same in the five lists.
void TestSearchPage::rowsChosenFromTheKeyboard()
{
    QFETCH(QString, list);
    QFETCH(QList<int>, keys);
    QFETCH(int, row);
    SearchFixture page;
    QVERIFY(page.open());
    QListWidget *rows = page.list(list);
    const bool suggestions = list == u"Lst12";
    const auto click = [&](const QString &name) { QTest::mouseClick(page.find<QWidget>(name), Qt::LeftButton); };
    const auto reach = [&] {
        if (list == u"LstAlpha")
            click(u"ImgD(1)"_s);
        if (list == u"LstTri")
            click(u"ImgD(3)"_s);
        if (list == u"LstC" && rows->count() == 0) {
            click(u"CmdOnglet(2)"_s);
            page.search(u"acide"_s);
        }
        if (suggestions) {
            click(u"CmdOnglet(2)"_s);
            page.combo()->lineEdit()->selectAll();
            page.combo()->lineEdit()->insert(u"ac"_s);
        } else {
            click(list == u"LstC" ? u"CmdOnglet(2)"_s : u"CmdOnglet(1)"_s); // empties the panel
        }
        rows->setFocus(Qt::TabFocusReason);
        QVERIFY(rows->hasFocus());
        QCOMPARE(page.window->boxText(17), QString());
        QCOMPARE(page.combo()->currentText(), suggestions ? u"ac"_s : page.combo()->currentText());
    };
    reach();
    const QStringList shown = page.rows(list);
    QVERIFY(shown.size() > 2);
    for (int key : keys) {
        if (key == Qt::Key_unknown)
            reach();
        else
            QTest::keyClick(rows, Qt::Key(key));
    }
    const QString chosen = shown.at(row >= 0 ? row : shown.size() + row);
    if (suggestions)
        QCOMPARE(page.combo()->currentText(), chosen);
    else
        QCOMPARE(page.window->boxText(17), chosen.mid(chosen.indexOf(u'$') + 1));
}

void TestSearchPage::inputCheck_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<bool>("typed");
    QTest::addColumn<int>("messages");
    QTest::addColumn<QString>("left");
    QTest::newRow("é typed") << u"é"_s << true << 1 << QString();
    QTest::newRow("a&b&c pasted") << u"a&b&c"_s << false << 1 << u"abc"_s;
    QTest::newRow("x#y! pasted") << u"x#y!"_s << false << 2 << u"xy"_s;
    // Every character is checked, also past the hundredth.
    QTest::newRow("long text") << QString(119, u'a') + u'#' + QString(30, u'b') << false << 1
                               << QString(119, u'a') + QString(30, u'b');
}

void TestSearchPage::inputCheck()
{
    QFETCH(QString, input);
    QFETCH(bool, typed);
    QFETCH(int, messages);
    QFETCH(QString, left);
    SearchFixture page;
    QVERIFY(page.openSearchPage());
    if (typed)
        page.type(input);
    else
        page.combo()->lineEdit()->insert(input);

    QCOMPARE(page.boxes.boxes.size(), messages);
    for (const RecordingMessageBoxes::Box &box : page.boxes.boxes) {
        QCOMPARE(box.icon, MessageIcon::Information);
        QCOMPARE(box.title, u"Les KORVELAN"_s);
        QCOMPARE(box.text,
                 u"Seuls les caractères:\r\n\r\nABCDEFGHIJKLMNOPQRSTUVWXYZ\r\nabcdefghijklmnopqrstuvwxyz\r\n"
                 "0123456789\r\n\r\nsont autorisés."_s);
    }
    QCOMPARE(page.combo()->currentText(), left);
    QCOMPARE(page.combo()->lineEdit()->cursorPosition(), left.size());
    QCOMPARE(page.result(), QString());
}

void TestSearchPage::pasteOfManyDisallowedCharacters_data()
{
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<int>("messages");
    QTest::addColumn<QString>("left");
    QTest::addColumn<QList<bool>>("buttonBehind"); // the search button behind each message; unchecked when empty
    QTest::newRow("&#") << u"&#"_s << 2 << QString() << QList<bool>{true, false};
    QTest::newRow("a&c#") << u"a&c#"_s << 2 << u"ac"_s << QList<bool>{true, true};
    QString letters;
    for (int t = 0; t < 3; ++t)
        for (int c = 0x100; c < 0x100 + 2000; ++c)
            letters += QChar(u'a' + c % 26);
    QTest::newRow("2,000 distinct, three times each")
        << disallowedAmongLetters(2000, 3) << 2000 << letters << QList<bool>();
    QTest::newRow("32,767 distinct") << distinctDisallowed(32767) << 32767 << QString() << QList<bool>();
}

// One message per distinct disallowed character, in order, each taking the character out of the
// word; the field is written once with what is left, however many characters go.
void TestSearchPage::pasteOfManyDisallowedCharacters()
{
    QFETCH(QString, pasted);
    QFETCH(int, messages);
    QFETCH(QString, left);
    QFETCH(QList<bool>, buttonBehind);
    SearchFixture page;
    WatchingBoxes boxes;
    page.window = std::make_unique<FrmLister>(FrmLister::Services{.data = &page.data,
                                                                  .boxes = &boxes,
                                                                  .openUrl = {},
                                                                  .endProgram = [] {},
                                                                  .screenSize = [] { return QSize(1920, 1080); },
                                                                  .startStep = {}});
    QVERIFY(page.openSearchPage());
    QList<bool> behind;
    boxes.onShow = [&] { behind.append(page.searchButton()->isEnabled()); };
    QSignalSpy writes(page.combo()->lineEdit(), &QLineEdit::textChanged);

    page.combo()->lineEdit()->insert(pasted);

    QCOMPARE(boxes.boxes.size(), messages);
    QCOMPARE(page.combo()->currentText(), left);
    QCOMPARE(page.combo()->lineEdit()->cursorPosition(), left.size());
    QCOMPARE(writes.count(), 2); // the paste, then the word left
    if (!buttonBehind.isEmpty())
        QCOMPARE(behind, buttonBehind);
    QCOMPARE(page.searchButton()->isEnabled(), left.size() >= 2);
    QStringList suggested;
    for (QStringView word : SuggestKeywords(left.toLower(), page.data.keywords))
        suggested.append(word.toString());
    QCOMPARE(page.rows(u"Lst12"_s), suggested);
    QCOMPARE(page.result(), QString());
}

void TestSearchPage::searchButtonFollowsTheText()
{
    SearchFixture page;
    QVERIFY(page.openSearchPage());
    QVERIFY(!page.searchButton()->isEnabled());
    page.type(u"a"_s);
    QVERIFY(!page.searchButton()->isEnabled());
    page.type(u"c"_s);
    QVERIFY(page.searchButton()->isEnabled());
    QTest::keyClick(page.combo()->lineEdit(), Qt::Key_Backspace);
    QVERIFY(!page.searchButton()->isEnabled());
    // Enter with one character does nothing.
    QTest::keyClick(page.combo()->lineEdit(), Qt::Key_Return);
    QVERIFY(page.history().isEmpty());
    QCOMPARE(page.result(), QString());
}

void TestSearchPage::searches_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("shown");
    QTest::newRow("curcumine") << u"curcumine"_s << 2 << u"2 additifs trouvés."_s << u"E100"_s;
    QTest::newRow("acide citrique") << u"acide citrique"_s << 1 << u"Un additif trouvé."_s << u"E330"_s;
    QTest::newRow("E100") << u"E100"_s << 11 << u"11 additifs trouvés."_s << u"E100"_s;
    QTest::newRow("acide") << u"acide"_s << 84 << u"84 additifs trouvés."_s << QString();
    QTest::newRow("leading space") << u" acide"_s << 81 << u"81 additifs trouvés."_s << QString();
    QTest::newRow("xyz") << u"xyz"_s << 0 << u"Aucun additif trouvé."_s << QString();
}

void TestSearchPage::searches()
{
    QFETCH(QString, word);
    QFETCH(int, count);
    QFETCH(QString, caption);
    QFETCH(QString, shown);
    SearchFixture page;
    QVERIFY(page.openSearchPage());
    page.combo()->lineEdit()->insert(word);
    QTest::mouseClick(page.searchButton(), Qt::LeftButton);

    QCOMPARE(page.result(), caption);
    if (count == 0) {
        QCOMPARE(page.rows(u"LstC"_s), (QStringList{QString(), u"     Aucun additif trouvé avec le mot ''xyz''"_s}));
        for (int k = 1; k <= 17; ++k)
            QVERIFY(page.window->boxText(k).isEmpty());
        QCOMPARE(page.textColour(u"LblAd(2)"_s), QColor(128, 128, 128));
    } else {
        QCOMPARE(page.list(u"LstC"_s)->count(), count);
        if (!shown.isEmpty())
            QCOMPARE(page.window->boxText(1), shown);
        QVERIFY(page.list(u"LstC"_s)->selectedItems().isEmpty());
    }
    QCOMPARE(page.history(), QStringList{word});
    QVERIFY(!page.searchButton()->isEnabled());
    QVERIFY(page.combo()->hasFocus());

    // Enter searches the same word again; the history keeps it once.
    QTest::keyClick(page.combo()->lineEdit(), Qt::Key_Return);
    QCOMPARE(page.result(), caption);
    QCOMPARE(page.list(u"LstC"_s)->count(), count == 0 ? 2 : count);
    QCOMPARE(page.history(), QStringList{word});
}

void TestSearchPage::history_data()
{
    QTest::addColumn<QStringList>("searched");
    QTest::addColumn<QStringList>("history");
    fixtures::addHistoryRows();
}

void TestSearchPage::history()
{
    QFETCH(QStringList, searched);
    QFETCH(QStringList, history);
    SearchFixture page;
    QVERIFY(page.openSearchPage());
    for (const QString &word : searched)
        page.search(word);
    QCOMPARE(page.history(), history);
    QCOMPARE(page.combo()->currentText(), searched.last());
}

void TestSearchPage::choosingAHistoryWord()
{
    SearchFixture page;
    QVERIFY(page.openSearchPage());
    page.search(u"zinc"_s);
    page.search(u"acide"_s);
    QVERIFY(!page.searchButton()->isEnabled());
    // Stepping through the drop-down list with the arrow keys chooses its words.
    QTest::keyClick(page.combo(), Qt::Key_Down);
    QCOMPARE(page.combo()->currentText(), u"zinc"_s);
    QVERIFY(page.searchButton()->isEnabled());
    QCOMPARE(page.result(), QString());
    QCOMPARE(page.rows(u"Lst12"_s), QStringList{u"zinc"_s});
    QVERIFY(page.boxes.boxes.isEmpty());
}

void TestSearchPage::resultRowShowsItsAdditive()
{
    SearchFixture page;
    QVERIFY(page.openSearchPage());
    page.search(u"curcumine"_s);
    QListWidget *results = page.list(u"LstC"_s);
    QCOMPARE(results->item(0)->text(),
             u"E100     Curcumine                Colorant                 3   Interdit  Oui         $1"_s);
    QTest::mouseClick(results->viewport(), Qt::LeftButton, {}, results->visualItemRect(results->item(1)).center());
    QCOMPARE(page.window->boxText(1), u"E100i"_s);
    QCOMPARE(page.window->boxText(17), u"2"_s);
    // Leaving the search field for the results keeps the result and the button as the search left them.
    QVERIFY(results->hasFocus());
    QCOMPARE(page.result(), u"2 additifs trouvés."_s);
    QVERIFY(!page.searchButton()->isEnabled());
}

// The caption "Risque" turns red with a class-4 record and keeps its colour through an empty risk
// box: a search that finds nothing must grey it all the same.
void TestSearchPage::nothingFoundGreysTheRiskCaptionOfAClass4Record()
{
    SearchFixture page;
    QVERIFY(page.openSearchPage());
    page.search(u"tartrazine"_s);
    QCOMPARE(page.window->boxText(1), u"E102"_s);
    QCOMPARE(page.window->boxText(16), u"4"_s);
    QCOMPARE(page.textColour(u"LblAd(2)"_s), QColor(255, 0, 0));

    page.search(u"xyz"_s);
    QCOMPARE(page.result(), u"Aucun additif trouvé."_s);
    QVERIFY(page.window->boxText(16).isEmpty());
    QCOMPARE(page.textColour(u"LblAd(2)"_s), QColor(128, 128, 128));
}

QTEST_MAIN(TestSearchPage)
#include "tst_searchpage.moc"
