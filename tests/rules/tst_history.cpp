// The ordering of the searched words and the limit of the history.
#include "historyrows.h"
#include "search.h"

#include <QRandomGenerator>
#include <QTest>

#include <algorithm>

using namespace korvelan;
using namespace Qt::StringLiterals;

namespace {

// The intended order, written plainly: codes from the left, a beginning before the longer word,
// an empty word last.
bool ordersBefore(const QString &a, const QString &b)
{
    if (a.isEmpty() || b.isEmpty())
        return !a.isEmpty() && b.isEmpty();
    for (qsizetype p = 0; p < std::min(a.size(), b.size()); ++p) {
        if (historyCharacterCode(a[p]) != historyCharacterCode(b[p]))
            return historyCharacterCode(a[p]) < historyCharacterCode(b[p]);
    }
    return a.size() < b.size();
}

} // namespace

class TestHistory : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void searchesInTurn_data();
    void searchesInTurn();
    void sortsRandomSets();
    void thousandAndFirstWordIsRefused();
};

void TestHistory::searchesInTurn_data()
{
    QTest::addColumn<QStringList>("searched");
    QTest::addColumn<QStringList>("expected");
    fixtures::addHistoryRows();
    QTest::newRow("empty word last") << QStringList{QString(), u"zz"_s, u"a"_s}
                                     << QStringList{u"a"_s, u"zz"_s, QString()};
    QTest::newRow("space and digits before letters") << QStringList{u"e100"_s, u"e 100"_s, u"E100"_s, u"e10"_s}
                                                     << QStringList{u"E100"_s, u"e 100"_s, u"e10"_s, u"e100"_s};
    QTest::newRow("code page, not Unicode")
        << QStringList{u"é"_s, u"\u0153"_s, u"z"_s} << QStringList{u"z"_s, u"\u0153"_s, u"é"_s};
}

void TestHistory::searchesInTurn()
{
    QFETCH(QStringList, searched);
    QFETCH(QStringList, expected);
    SearchHistory history;
    for (const QString &word : searched)
        history.record(word);
    QCOMPARE(history.sortedWords(), expected);
}

// The exchange sort, whose inner loop stops one short, must still give the full order on any set,
// duplicates and empty words included.
void TestHistory::sortsRandomSets()
{
    QRandomGenerator random(7);
    const QString alphabet = u"aAbB zZ09"_s; // few characters, so that shared beginnings are common
    for (int round = 1; round <= 40; ++round) {
        const int count = round == 40 ? SearchHistory::Capacity : 1 + random.bounded(60);
        QStringList words;
        SearchHistory history;
        for (int i = 1; i <= count; ++i) {
            QString word;
            for (int length = random.bounded(1 + round % 7); length > 0; --length)
                word.append(alphabet[random.bounded(int(alphabet.size()))]);
            words.append(word);
            history.setSearchHistorySlot(i, word);
        }
        history.setHistoryCount(count);
        history.SortHistory();
        std::sort(words.begin(), words.end(), ordersBefore);
        QCOMPARE(history.sortedWords(), words);
    }
}

// A full history takes no new word and stays as it is.
void TestHistory::thousandAndFirstWordIsRefused()
{
    SearchHistory history;
    for (int i = 1; i < SearchHistory::Capacity; ++i)
        history.setSearchHistorySlot(i, u"w%1"_s.arg(i, 4, 10, QChar(u'0')));
    history.setHistoryCount(SearchHistory::Capacity - 1);
    history.SortHistory();
    history.record(u"w1000"_s);
    const QStringList list = history.sortedWords();
    QCOMPARE(list.size(), SearchHistory::Capacity);

    const SearchHistory::Outcome refused = history.record(u"a"_s);
    QCOMPARE(refused, SearchHistory::Outcome::Refused);
    QCOMPARE(history.sortedWords(), list);
    QCOMPARE(history.HistoryCount(), SearchHistory::Capacity);
    QCOMPARE(history.sortedWords(), list);
    QCOMPARE(history.record(u"w0500"_s), SearchHistory::Outcome::AlreadyPresent);
}

QTEST_APPLESS_MAIN(TestHistory)
#include "tst_history.moc"
