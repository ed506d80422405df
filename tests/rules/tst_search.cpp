// Keyword suggestions, the input check of the search word, text replacement and the search.
#include "listline.h"
#include "rulesfixtures.h"
#include "search.h"
#include "suggestions.h"

#include <QRandomGenerator>
#include <QTest>

using namespace korvelan;
using namespace Qt::StringLiterals;

class TestSearch : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void suggestions_data();
    void suggestions();
    void changeCaractere_data();
    void changeCaractere();
    void inputCheck_data();
    void inputCheck();
    void removalStepByStep_data();
    void removalStepByStep();
    void matches_data();
    void matches();
    void search();
    void nothingFound();
};

void TestSearch::suggestions_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("expected");
    const QStringList none;
    QTest::newRow("ac") << u"ac"_s << QStringList{u"acacia"_s, u"acesulfame"_s, u"acetate"_s, u"acide"_s, u"Acajou"_s};
    QTest::newRow("AC, capitals never match") << u"AC"_s << none;
    QTest::newRow("e1") << u"e1"_s << QStringList{u"e100"_s, u"e1000"_s, u"e1001"_s, u"e100i"_s, u"e101"_s};
    QTest::newRow("e100") << u"e100"_s << QStringList{u"e100"_s, u"e1000"_s, u"e1001"_s, u"e100i"_s};
    QTest::newRow("zi, last keyword") << u"zi"_s << QStringList{u"zinc"_s};
    QTest::newRow("or, itself first") << u"or"_s << QStringList{u"or"_s, u"orange"_s};
    QTest::newRow("y has no list") << u"yo"_s << none;
    QTest::newRow("digit first") << u"1e"_s << none;
    QTest::newRow("space first") << u" a"_s << none;
    QTest::newRow("space inside") << u"acide c"_s << none;
    QTest::newRow("one character") << u"a"_s << none;
    QTest::newRow("longer than any word") << u"acetatex"_s << none;
    QTest::newRow("only the initial's list is walked") << u"be"_s << QStringList{u"beurre"_s};
}

void TestSearch::suggestions()
{
    QFETCH(QString, text);
    QFETCH(QStringList, expected);
    // "acier" and "e1" stand in the list of "b": only the list of the first letter may be read.
    static const KeywordIndex index = rulesfixtures::indexOf({
        {'a', {"acacia", "acesulfame", "acetate", "acide", "adipate", "Acajou", "agar"}},
        {'b', {"acier", "e1", "beurre"}},
        {'e', {"e100", "e1000", "e1001", "e100i", "e101", "e2", "ester"}},
        {'o', {"or", "orange", "oxyde"}},
        {'z', {"zeaxanthine", "zinc"}},
    });
    QStringList got;
    for (QStringView word : SuggestKeywords(text, index))
        got.append(word.toString());
    QCOMPARE(got, expected);
}

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
    QTest::newRow("spaces around a word") << u" a "_s << u" "_s << QString() << u"a"_s;
}

void TestSearch::changeCaractere()
{
    QFETCH(QString, text);
    QFETCH(QString, oldText);
    QFETCH(QString, newText);
    QFETCH(QString, expected);
    QCOMPARE(sChangeCaractere(text, oldText, newText), expected);
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
    QTest::newRow("no-break space") << u"a\u00A0b"_s << QStringList{u"\u00A0"_s} << u"ab"_s;
    QTest::newRow("surrogate pair is one character")
        << u"a\U0001F600b\U0001F600"_s << QStringList{u"\U0001F600"_s} << u"ab"_s;
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
    QCOMPARE(check.messages().size(), removed.size());
}

namespace {

// Text of `length` code units: allowed characters with, at random places, characters drawn from
// `disallowed` (a pair of surrogates when above the first plane).
QString mixedText(int length, char32_t firstDisallowed, int disallowed, int percentDisallowed)
{
    QRandomGenerator random(7);
    QString text;
    while (text.size() < length) {
        if (int(random.bounded(100)) < percentDisallowed) {
            const char32_t c = firstDisallowed + random.bounded(disallowed);
            text.append(QString::fromUcs4(&c, 1));
        } else {
            text.append(AllowedCharacters[random.bounded(int(AllowedCharacters.size()))]);
        }
    }
    return text;
}

} // namespace

void TestSearch::removalStepByStep_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("nothing to take out") << u"Acide citrique 330"_s;
    QTest::newRow("empty") << QString();
    QTest::newRow("2,000 distinct among allowed ones") << mixedText(8000, 0x100, 2000, 50);
    QTest::newRow("few distinct, many times") << mixedText(8000, 0xE0, 12, 30);
    QTest::newRow("pairs of surrogates") << mixedText(3000, 0x1F600, 300, 40);
    QString manyFirst = QString(3000, QChar(0xE9)) + u"a b"_s;
    for (char16_t c = 0x100; c < 0x100 + 1500; ++c)
        manyFirst += QChar(c) + u"z"_s;
    QTest::newRow("one character many times, then many others") << manyFirst;
}

// Each step leaves the text that taking the characters out one by one with sChangeCaractere leaves.
void TestSearch::removalStepByStep()
{
    QFETCH(QString, text);
    DisallowedRemoval removal(text);
    const InputCheck check = checkSearchInput(text);
    QCOMPARE(removal.characters(), check.removed);
    QString expected = text;
    for (qsizetype step = 0;; ++step) {
        QCOMPARE(removal.removedCount(), step);
        QCOMPARE(removal.length(), expected.size());
        QString beginning = expected.left(20);
        if (expected.size() > 20 && beginning.back().isHighSurrogate())
            beginning.chop(1); // a pair is never cut
        QCOMPARE(removal.head(20), beginning);
        if (step % 97 == 0 || removal.finished())
            QCOMPARE(removal.text(), expected);
        if (removal.finished())
            break;
        expected = sChangeCaractere(expected, removal.characters()[step], QString());
        removal.removeNext();
    }
    QCOMPARE(removal.text(), check.text);
    for (QChar c : check.text)
        QVERIFY(AllowedCharacters.contains(c));
}

void TestSearch::matches_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("keywords");
    QTest::addColumn<bool>("expected");
    QTest::newRow("capital word") << u"E100"_s << u"e100 curcumine turmerique"_s << true;
    QTest::newRow("no word boundary") << u"e100"_s << u"e1000 acide cholique"_s << true;
    QTest::newRow("two words") << u"acide c"_s << u"e330 acide citrique"_s << true;
    QTest::newRow("leading space, first word") << u" e330"_s << u"e330 acide citrique"_s << false;
    QTest::newRow("leading space, later word") << u" acide"_s << u"e330 acide citrique"_s << true;
    QTest::newRow("absent") << u"xyz"_s << u"e330 acide citrique"_s << false;
}

void TestSearch::matches()
{
    QFETCH(QString, word);
    QFETCH(QString, keywords);
    QFETCH(bool, expected);
    QCOMPARE(MatchesKeyword(word, keywords), expected);
}

namespace {

AdditiveTable keywordTable()
{
    QList<QStringList> records;
    for (const QString &line : {u"e100 curcumine"_s, u"e330 acide citrique"_s, u"e1000 acide cholique"_s}) {
        records.append(rulesfixtures::recordFields(int(records.size()) + 1));
        records.back()[Keywords - 1] = line;
    }
    return rulesfixtures::tableOf(records);
}

} // namespace

void TestSearch::search()
{
    const AdditiveTable table = keywordTable();
    const SearchResult result = searchKeywords(u"E100", table);
    QCOMPARE(result.records, (QList<int>{1, 3}));
    QCOMPARE(result.rows, (QStringList{SearchLine(table, 1), SearchLine(table, 3)}));
    QCOMPARE(resultCaption(2), u"2 additifs trouvés."_s);
    QCOMPARE(resultCaption(1), u"Un additif trouvé."_s);
}

void TestSearch::nothingFound()
{
    const SearchResult result = searchKeywords(u"xyz", keywordTable());
    QVERIFY(result.records.isEmpty());
    QCOMPARE(result.rows, (QStringList{QString(), u"     Aucun additif trouvé avec le mot ''xyz''"_s}));
    QCOMPARE(resultCaption(0), u"Aucun additif trouvé."_s);
}

QTEST_APPLESS_MAIN(TestSearch)
#include "tst_search.moc"
