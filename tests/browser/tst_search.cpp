#include "listline.h"
#include "rulesfixtures.h"
#include "search.h"

#include <QTest>

using namespace korvelan;
using namespace Qt::StringLiterals;

namespace {

AdditiveTable keywordTable()
{
    const QStringList lines{
        u"e100 curcumine turmerique"_s, u"e100i curcumine"_s, u"e330 acide citrique"_s,
        u"e1000 acide cholique"_s,      u"e260 acide acetique"_s, u"e200 sorbique"_s,
    };
    QList<QStringList> records;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QStringList fields = rulesfixtures::recordFields(int(i) + 1);
        fields[Keywords - 1] = lines[i];
        records.append(fields);
    }
    return rulesfixtures::tableOf(records);
}

} // namespace

class TestSearch : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void changeCaractere_data();
    void changeCaractere();
    void matches_data();
    void matches();
    void search_data();
    void search();
    void nothingFound();
    void captions_data();
    void captions();
    void inputCheck_data();
    void inputCheck();
};

void TestSearch::changeCaractere_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("oldText");
    QTest::addColumn<QString>("newText");
    QTest::addColumn<QString>("expected");
    QTest::newRow("remove every X") << u"aXbXc"_s << u"X"_s << QString() << u"abc"_s;
    QTest::newRow("no overlaps") << u"aaa"_s << u"aa"_s << u"b"_s << u"ba"_s;
    QTest::newRow("replacement not searched again") << u"abc"_s << u"b"_s << u"bb"_s << u"abbc"_s;
    QTest::newRow("case significant") << u"aXbxc"_s << u"x"_s << QString() << u"aXbc"_s;
    QTest::newRow("empty old text") << u"abc"_s << QString() << u"z"_s << u"abc"_s;
    QTest::newRow("spaces only") << u"   "_s << u" "_s << QString() << u"   "_s;
    QTest::newRow("empty text") << QString() << u"a"_s << u"b"_s << QString();
    QTest::newRow("spaces around a word") << u" a "_s << u" "_s << QString() << u"a"_s;
    QTest::newRow("occurrence at both ends") << u"&a&"_s << u"&"_s << QString() << u"a"_s;
    QTest::newRow("not found") << u"abc"_s << u"z"_s << u"y"_s << u"abc"_s;
}

void TestSearch::changeCaractere()
{
    QFETCH(QString, text);
    QFETCH(QString, oldText);
    QFETCH(QString, newText);
    QFETCH(QString, expected);
    QCOMPARE(sChangeCaractere(text, oldText, newText), expected);
}

void TestSearch::matches_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("keywords");
    QTest::addColumn<bool>("expected");
    QTest::newRow("capital word") << u"E100"_s << u"e100 curcumine turmerique"_s << true;
    QTest::newRow("no word boundary") << u"e100"_s << u"e1000 acide cholique"_s << true;
    QTest::newRow("middle of a word") << u"urcum"_s << u"e100 curcumine"_s << true;
    QTest::newRow("two words") << u"acide c"_s << u"e330 acide citrique"_s << true;
    QTest::newRow("leading space, first word") << u" e330"_s << u"e330 acide citrique"_s << false;
    QTest::newRow("leading space, later word") << u" acide"_s << u"e330 acide citrique"_s << true;
    QTest::newRow("absent") << u"xyz"_s << u"e330 acide citrique"_s << false;
    QTest::newRow("longer than the line") << u"e330 acide citriques"_s << u"e330 acide citrique"_s << false;
    QTest::newRow("empty keyword line") << u"ac"_s << QString() << false;
}

void TestSearch::matches()
{
    QFETCH(QString, word);
    QFETCH(QString, keywords);
    QFETCH(bool, expected);
    QCOMPARE(MatchesKeyword(word, keywords), expected);
}

void TestSearch::search_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<QList<int>>("records");
    QTest::newRow("curcumine") << u"curcumine"_s << QList<int>{1, 2};
    QTest::newRow("E100 by substring") << u"E100"_s << QList<int>{1, 2, 4};
    QTest::newRow("acide") << u"acide"_s << QList<int>{3, 4, 5};
    QTest::newRow("acide citrique") << u"acide citrique"_s << QList<int>{3};
    QTest::newRow("que, last of several") << u"que"_s << QList<int>{1, 3, 4, 5, 6};
}

void TestSearch::search()
{
    QFETCH(QString, word);
    QFETCH(QList<int>, records);
    const AdditiveTable table = keywordTable();
    const SearchResult result = searchKeywords(word, table);
    QCOMPARE(result.records, records);
    QCOMPARE(result.rows.size(), records.size());
    for (qsizetype i = 0; i < records.size(); ++i)
        QCOMPARE(result.rows[i], SearchLine(table, records[i]));
    QCOMPARE(MatchesKeyword(word, table, records[0]), true);
}

void TestSearch::nothingFound()
{
    const SearchResult result = searchKeywords(u"xyz", keywordTable());
    QVERIFY(result.records.isEmpty());
    QCOMPARE(result.rows, (QStringList{QString(), u"     Aucun additif trouvé avec le mot ''xyz''"_s}));
    QCOMPARE(resultCaption(int(result.records.size())), u"Aucun additif trouvé."_s);
}

void TestSearch::captions_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("expected");
    QTest::newRow("0") << 0 << u"Aucun additif trouvé."_s;
    QTest::newRow("1") << 1 << u"Un additif trouvé."_s;
    QTest::newRow("2") << 2 << u"2 additifs trouvés."_s;
    QTest::newRow("692") << 692 << u"692 additifs trouvés."_s;
}

void TestSearch::captions()
{
    QFETCH(int, count);
    QFETCH(QString, expected);
    QCOMPARE(resultCaption(count), expected);
}

void TestSearch::inputCheck_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("removed");
    QTest::addColumn<QString>("left");
    QTest::newRow("allowed only") << u"Acide citrique 330"_s << QStringList{} << u"Acide citrique 330"_s;
    QTest::newRow("e acute") << u"é"_s << QStringList{u"é"_s} << QString();
    QTest::newRow("ampersand twice, one message") << u"a&b&c"_s << QStringList{u"&"_s} << u"abc"_s;
    QTest::newRow("two characters, in order") << u"x#y!"_s << QStringList{u"#"_s, u"!"_s} << u"xy"_s;
    QTest::newRow("order of first appearance") << u"!a#b!"_s << QStringList{u"!"_s, u"#"_s} << u"ab"_s;
    QTest::newRow("no-break space is not a space") << u"a\u00A0b"_s << QStringList{u"\u00A0"_s} << u"ab"_s;
    QTest::newRow("tab") << u"a\tb"_s << QStringList{u"\t"_s} << u"ab"_s;
    QTest::newRow("surrogate pair is one character")
        << u"a\U0001F600b\U0001F600"_s << QStringList{u"\U0001F600"_s} << u"ab"_s;
    QTest::newRow("lone surrogate") << u"a\xD800"_s << QStringList{u"\xD800"_s} << u"a"_s;
    QTest::newRow("empty") << QString() << QStringList{} << QString();

    // Every position is checked, not only the first hundred.
    QString longText(150, u'a');
    longText[119] = u'$';
    QTest::newRow("150 characters, $ at 120") << longText << QStringList{u"$"_s} << QString(149, u'a');
}

void TestSearch::inputCheck()
{
    QFETCH(QString, text);
    QFETCH(QStringList, removed);
    QFETCH(QString, left);
    const InputCheck check = checkSearchInput(text);
    QCOMPARE(check.removed, removed);
    QCOMPARE(check.text, left);
    QCOMPARE(check.messages(), QStringList(removed.size(), disallowedCharacterMessage()));
    QCOMPARE(disallowedCharacterMessage(),
             u"Seuls les caractères:\r\n\r\nABCDEFGHIJKLMNOPQRSTUVWXYZ\r\nabcdefghijklmnopqrstuvwxyz\r\n0123456789\r\n\r\n"
             u"sont autorisés."_s);
}

QTEST_APPLESS_MAIN(TestSearch)
#include "tst_search.moc"
