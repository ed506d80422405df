// The shipped resources as the program loads them: the facts the windows rely on.
#include "additive.h"
#include "flaglists.h"
#include "keywords.h"
#include "listline.h"
#include "resource.h"
#include "search.h"
#include "suggestions.h"

#include <QTest>

using namespace korvelan;
using namespace Qt::StringLiterals;

class TestShippedTables : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void pinnedFields_data();
    void pinnedFields();
    void listLines_data();
    void listLines();
    void alphabeticalOrderStarts();
    void flagLists_data();
    void flagLists();
    void letterLists();
    void searchesAndSuggestions_data();
    void searchesAndSuggestions();

private:
    DatabaseLoad m_database;
    KeywordLoad m_keywords;
};

void TestShippedTables::initTestCase()
{
    m_database = loadAdditiveTable(readEmbeddedResource);
    m_keywords = loadKeywordIndex(readEmbeddedResource);
    QCOMPARE(m_database.failure, std::nullopt);
    QCOMPARE(m_keywords.failure, std::nullopt);
    QCOMPARE(m_database.table.publishedCount(), RecordCount);
}

void TestShippedTables::pinnedFields_data()
{
    QTest::addColumn<int>("record");
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("value");
    QTest::newRow("1: code") << 1 << 1 << u"E100"_s;
    QTest::newRow("1: no risk group") << 1 << 14 << u" "_s;
    QTest::newRow("1: keywords") << 1 << 19 << u"e100 curcumine turmerique"_s;
    QTest::newRow("2: alphabetical position") << 2 << 18 << u"161"_s;
    QTest::newRow("392: code") << 392 << 1 << u"E472"_s;
    QTest::newRow("392: points back to 390") << 392 << 17 << u"390"_s;
    QTest::newRow("604: name") << 604 << 2 << u"Acésulfate de potassium"_s;
    QTest::newRow("636: keywords") << 636 << 19 << u"e1000 acide cholique"_s;
    QTest::newRow("692: code") << 692 << 1 << u"E1522"_s;
    QTest::newRow("693: empty slot") << 693 << 1 << QString();
}

void TestShippedTables::pinnedFields()
{
    QFETCH(int, record);
    QFETCH(int, field);
    QFETCH(QString, value);
    QCOMPARE(m_database.table.field(field, record).toString(), value);
}

void TestShippedTables::listLines_data()
{
    QTest::addColumn<int>("record");
    QTest::addColumn<QString>("line");
    QTest::newRow("1") << 1
                       << u"E100     Curcumine                Colorant                 3   Interdit  Oui        $1"_s;
    QTest::newRow("604")
        << 604 << u"E950     Acésulfate de potassi... Divers - Edulcorant      4   Interdit  Oui        $604"_s;
}

void TestShippedTables::listLines()
{
    QFETCH(int, record);
    QFETCH(QString, line);
    QCOMPARE(ListLine(m_database.table, record), line);
    // Record 55 has an eight-character code and "Interdit" in France: its "$" stands at 90.
    QCOMPARE(ListLine(m_database.table, 55).indexOf(u'$') + 1, 90);
    QVERIFY(ListLine(m_database.table, 62).contains(u"Lycopène de synthèse    "_s));
    QVERIFY(ListLine(m_database.table, 390).endsWith(u"$391"_s));
    QVERIFY(ListLine(m_database.table, 391).endsWith(u"$392"_s));
    QVERIFY(ListLine(m_database.table, 392).endsWith(u"$390"_s));
}

void TestShippedTables::alphabeticalOrderStarts()
{
    QCOMPARE(m_database.table.field(AlphaOrder, 1), u"604");
    QCOMPARE(m_database.table.field(AlphaOrder, 2), u"161");
    QCOMPARE(m_database.table.field(AlphaOrder, 3), u"160");
}

void TestShippedTables::flagLists_data()
{
    QTest::addColumn<int>("option");
    QTest::addColumn<int>("count");
    QTest::newRow("EU") << 2 << 195;
    QTest::newRow("France") << 3 << 405;
    QTest::newRow("organic") << 4 << 48;
    QTest::newRow("infants") << 5 << 66;
    QTest::newRow("animal") << 6 << 117;
    QTest::newRow("halal") << 7 << 126;
}

void TestShippedTables::flagLists()
{
    QFETCH(int, option);
    QFETCH(int, count);
    const DisplayOption shown = *displayOption(option);
    const FlagList records = buildFlagList(m_database.table, shown.field);
    QCOMPARE(records.size(), count);
    // The record the option shows in the panel is the first line of its list.
    QCOMPARE(records.first(), shown.panelRecord);
}

void TestShippedTables::letterLists()
{
    const KeywordIndex &index = m_keywords.index;
    QCOMPARE(index.forInitial(u'a').entry(1), u"abeille");
    QCOMPARE(index.forInitial(u'a').entry(2), u"acacia");
    QCOMPARE(index.forInitial(u'a').entry(3), u"acesulfame");
    QCOMPARE(index.forInitial(u'a').entry(64), u"azote");
    QCOMPARE(index.forInitial(u'b').entry(1), u"bacillus");
    QCOMPARE(index.forInitial(u'e').entry(1), u"e100");
    QCOMPARE(index.forInitial(u'e').entry(715), u"eucheuma");
    QCOMPARE(index.forInitial(u'z').entry(1), u"zeaxanthine");
    QCOMPARE(index.forInitial(u'z').entry(2), u"zinc");
    // Every entry begins with its letter: the counts match the list.
    for (int letter = 0; letter < LetterCount; ++letter)
        for (int s = 1; s <= index.letter(letter).size(); ++s)
            QCOMPARE(index.letter(letter).entry(s).front(), QChar(u'a' + letter));
}

void TestShippedTables::searchesAndSuggestions_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<int>("matches");
    QTest::addColumn<int>("suggestions");
    QTest::newRow("curcumine") << u"curcumine"_s << 2 << 1;
    QTest::newRow("acide citrique") << u"acide citrique"_s << 1 << 0;
    QTest::newRow("E100") << u"E100"_s << 11 << 0; // capitals: no suggestion, but the search ignores case
    QTest::newRow("e100") << u"e100"_s << 11 << 11;
    QTest::newRow("acide") << u"acide"_s << 84 << 1;
    QTest::newRow("leading space") << u" acide"_s << 81 << 0;
    QTest::newRow("xyz") << u"xyz"_s << 0 << 0;
}

void TestShippedTables::searchesAndSuggestions()
{
    QFETCH(QString, word);
    QFETCH(int, matches);
    QFETCH(int, suggestions);
    const SearchResult result = searchKeywords(word, m_database.table);
    QCOMPARE(result.records.size(), matches);
    QCOMPARE(SuggestKeywords(word, m_keywords.index).size(), suggestions);
}

QTEST_APPLESS_MAIN(TestShippedTables)
#include "tst_shipped_tables.moc"
