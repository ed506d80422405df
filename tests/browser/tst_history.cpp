#include "search.h"

#include <QRandomGenerator>
#include <QTest>

#include <algorithm>

using namespace korvelan;
using namespace Qt::StringLiterals;

namespace {

// The order the history is meant to have, written plainly: character codes from the left, a
// beginning before the longer word, an empty word last.
bool ordersBefore(const QString &a, const QString &b)
{
    if (a.isEmpty() || b.isEmpty())
        return !a.isEmpty() && b.isEmpty();
    for (qsizetype p = 0; p < std::min(a.size(), b.size()); ++p) {
        const int ca = historyCharacterCode(a[p]);
        const int cb = historyCharacterCode(b[p]);
        if (ca != cb)
            return ca < cb;
    }
    return a.size() < b.size();
}

// Records the words one after the other, as successive searches do, and returns the final list.
QStringList searchInTurn(SearchHistory &history, const QStringList &words)
{
    QStringList list;
    for (const QString &word : words)
        list = history.record(word, list).list;
    return list;
}

QString randomWord(QRandomGenerator &random, qsizetype maxLength)
{
    // Few distinct characters and short words, so that shared beginnings are common.
    static const QString alphabet = u"aAbB zZ09"_s;
    QString word;
    const qsizetype length = random.bounded(int(maxLength) + 1);
    for (qsizetype i = 0; i < length; ++i)
        word.append(alphabet[random.bounded(int(alphabet.size()))]);
    return word;
}

} // namespace

class TestHistory : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void searchesInTurn_data();
    void searchesInTurn();
    void sortsRandomSetsIntoTheOrder_data();
    void sortsRandomSetsIntoTheOrder();
    void accentsOrderByTheirCodePage();
    void thousandAndFirstWordIsRefused();
};

void TestHistory::searchesInTurn_data()
{
    QTest::addColumn<QStringList>("searched");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("capitals first") << QStringList{u"zinc"_s, u"acide"_s, u"Zinc"_s}
                                    << QStringList{u"Zinc"_s, u"acide"_s, u"zinc"_s};
    QTest::newRow("beginning first, ac then acide") << QStringList{u"ac"_s, u"acide"_s}
                                                    << QStringList{u"ac"_s, u"acide"_s};
    QTest::newRow("beginning first, acide then ac") << QStringList{u"acide"_s, u"ac"_s}
                                                    << QStringList{u"ac"_s, u"acide"_s};
    QTest::newRow("same word twice") << QStringList{u"acide"_s, u"acide"_s} << QStringList{u"acide"_s};
    QTest::newRow("same word, other case") << QStringList{u"acide"_s, u"ACIDE"_s}
                                           << QStringList{u"ACIDE"_s, u"acide"_s};
    QTest::newRow("empty word last") << QStringList{QString(), u"zz"_s, u"a"_s}
                                     << QStringList{u"a"_s, u"zz"_s, QString()};
    QTest::newRow("space and digits before letters")
        << QStringList{u"e100"_s, u"e 100"_s, u"E100"_s, u"e1000"_s, u"e10"_s}
        << QStringList{u"E100"_s, u"e 100"_s, u"e10"_s, u"e100"_s, u"e1000"_s};
    QTest::newRow("last word inserted at the front") << QStringList{u"m"_s, u"n"_s, u"o"_s, u"a"_s}
                                                     << QStringList{u"a"_s, u"m"_s, u"n"_s, u"o"_s};
    QTest::newRow("one word") << QStringList{u"zinc"_s} << QStringList{u"zinc"_s};
}

void TestHistory::searchesInTurn()
{
    QFETCH(QStringList, searched);
    QFETCH(QStringList, expected);
    SearchHistory history;
    QCOMPARE(searchInTurn(history, searched), expected);
}

void TestHistory::sortsRandomSetsIntoTheOrder_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("maxLength");
    QTest::addColumn<quint32>("seed");
    for (quint32 seed = 1; seed <= 40; ++seed)
        QTest::addRow("%u words, seed %u", seed * 7, seed) << int(seed * 7) << 1 + int(seed % 6) << seed;
    QTest::newRow("2 words") << 2 << 3 << 99u;
    QTest::newRow("1,000 words") << 1000 << 8 << 1234u;
}

// The exchange sort with its shortened inner loop must give the total order on any set of words,
// duplicates and empty words included.
void TestHistory::sortsRandomSetsIntoTheOrder()
{
    QFETCH(int, count);
    QFETCH(int, maxLength);
    QFETCH(quint32, seed);
    QRandomGenerator random(seed);
    QStringList words;
    SearchHistory history;
    for (int i = 1; i <= count; ++i) {
        words.append(randomWord(random, maxLength));
        history.setSearchHistorySlot(i, words.back());
    }
    history.setHistoryCount(count);
    history.SortHistory();

    std::sort(words.begin(), words.end(), ordersBefore);
    QCOMPARE(history.sortedWords(), words);
    for (int i = 1; i <= count; ++i)
        QCOMPARE(history.searchHistorySlot(i), words[i - 1]);
}

void TestHistory::accentsOrderByTheirCodePage()
{
    // "œ" is 0x9C and "é" 0xE9 in the code page, though their Unicode values order them the other way.
    QCOMPARE(historyCharacterCode(u'\u0153'), 0x9C);
    QCOMPARE(historyCharacterCode(u'é'), 0xE9);
    SearchHistory history;
    QCOMPARE(searchInTurn(history, {u"é"_s, u"\u0153"_s, u"z"_s}), (QStringList{u"z"_s, u"\u0153"_s, u"é"_s}));
}

// A full history takes no more words and stays as it is; words already in it are still found.
void TestHistory::thousandAndFirstWordIsRefused()
{
    // 999 words as the drop-down list holds them, then the thousandth by a search.
    SearchHistory history;
    QStringList list;
    for (int i = 1; i < SearchHistory::Capacity; ++i)
        list.append(u"w%1"_s.arg(i, 4, 10, QChar(u'0')));
    const SearchHistory::Update last = history.record(u"w1000"_s, list);
    QCOMPARE(last.outcome, SearchHistory::Outcome::Added);
    list = last.list;
    QCOMPARE(list.size(), SearchHistory::Capacity);
    QCOMPARE(history.HistoryCount(), SearchHistory::Capacity);
    QCOMPARE(list.front(), u"w0001"_s);
    QCOMPARE(list.back(), u"w1000"_s);

    const SearchHistory::Update refused = history.record(u"a"_s, list);
    QCOMPARE(refused.outcome, SearchHistory::Outcome::Refused);
    QCOMPARE(refused.list, list);
    QCOMPARE(history.HistoryCount(), SearchHistory::Capacity);
    QCOMPARE(history.sortedWords(), list);

    const SearchHistory::Update present = history.record(u"w0500"_s, list);
    QCOMPARE(present.outcome, SearchHistory::Outcome::AlreadyPresent);
    QCOMPARE(present.list, list);

    // A list longer than the tables is not copied into them.
    const SearchHistory::Update tooLong = history.record(u"b"_s, list + QStringList{u"x"_s});
    QCOMPARE(tooLong.outcome, SearchHistory::Outcome::Refused);
    QCOMPARE(history.HistoryCount(), SearchHistory::Capacity);
}

QTEST_APPLESS_MAIN(TestHistory)
#include "tst_history.moc"
