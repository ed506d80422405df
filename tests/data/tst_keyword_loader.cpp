#include "fixtures.h"
#include "keywords.h"

#include <QTest>

using namespace korvelan;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(std::optional<korvelan::LoadFailure>)

namespace {

QByteArray keywordResource(int words, const QByteArray &tail = QByteArray("\0\0", 2))
{
    return fixtures::keywordWords(words).join("\r\n") + tail;
}

} // namespace

class TestKeywordLoader : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void letterCountsAddUp();
    void distribution_data();
    void distribution();
    void wordsLandInTheirLettersByPosition();
    void trailingNulsAreDropped_data();
    void trailingNulsAreDropped();
    void readsTheResourceThroughTheReader();
    void letterLookup_data();
    void letterLookup();
};

void TestKeywordLoader::letterCountsAddUp()
{
    QCOMPARE(KeywordTotal, 1385);
    QCOMPARE(KeywordLetterCounts[4], 715); // e
    QCOMPARE(KeywordLetterCounts[24], 0);  // y
}

// How many words the resource holds, and how many slots end up filled.
void TestKeywordLoader::distribution_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<std::optional<LoadFailure>>("failure");
    QTest::addColumn<int>("filled");

    const auto none = std::optional<LoadFailure>();
    const auto tooFew = std::optional(LoadFailure::TooFewKeywords);
    QTest::newRow("1,385 words") << keywordResource(1385) << none << 1385;
    QTest::newRow("1,400 words") << keywordResource(1400) << none << 1385;
    QTest::newRow("1,000 words") << keywordResource(1000) << tooFew << 1000;
    QTest::newRow("1,384 words") << keywordResource(1384) << tooFew << 1384;
    QTest::newRow("empty resource") << QByteArray() << tooFew << 0;
    QTest::newRow("only NUL bytes") << QByteArray(4, '\0') << tooFew << 0;
    QTest::newRow("one word") << QByteArray("abeille") << tooFew << 1;
    QTest::newRow("LF only") << fixtures::keywordWords(1385).join('\n') << tooFew << 1;
    QTest::newRow("CR LF at the end") << keywordResource(1385, "\r\n") << none << 1385;
}

void TestKeywordLoader::distribution()
{
    QFETCH(QByteArray, bytes);
    QFETCH(std::optional<LoadFailure>, failure);
    QFETCH(int, filled);

    const KeywordLoad load = loadKeywordIndex(bytes);
    QCOMPARE(load.failure, failure);
    QCOMPARE(load.index.filledCount(), filled);
    int slot = 0;
    for (int letter = 0; letter < LetterCount; ++letter) {
        const LetterList list = load.index.letter(letter);
        QCOMPARE(list.size(), KeywordLetterCounts[static_cast<size_t>(letter)]);
        for (int s = 1; s <= list.size(); ++s, ++slot)
            QVERIFY2(list.entry(s).isEmpty() == (slot >= filled),
                     qPrintable(u"letter %1 slot %2"_s.arg(QChar(u'a' + letter)).arg(s)));
    }
}

void TestKeywordLoader::wordsLandInTheirLettersByPosition()
{
    const KeywordLoad full = loadKeywordIndex(keywordResource(1385));
    QCOMPARE(full.index.forInitial(u'a').entry(1), u"a1");
    QCOMPARE(full.index.forInitial(u'a').entry(64), u"a64");
    QCOMPARE(full.index.forInitial(u'b').entry(1), u"b1");
    QCOMPARE(full.index.forInitial(u'e').entry(715), u"e715");
    QCOMPARE(full.index.forInitial(u'y').size(), 0);
    QVERIFY(full.index.forInitial(u'y').entry(1).isEmpty());
    QCOMPARE(full.index.forInitial(u'z').entry(2), u"z2");
    QCOMPARE(full.index.forInitial(u'z').entry(2).size(), 2);
    QVERIFY(full.index.forInitial(u'z').entry(3).isEmpty());
    QVERIFY(full.index.forInitial(u'a').entry(0).isEmpty());

    // 1,000 words fill "a" to "f" (960 words) and slots 1 to 40 of "g"; the rest stays empty.
    const KeywordLoad partial = loadKeywordIndex(keywordResource(1000));
    QCOMPARE(partial.index.forInitial(u'f').entry(15), u"f15");
    QCOMPARE(partial.index.forInitial(u'g').entry(40), u"g40");
    QVERIFY(partial.index.forInitial(u'g').entry(41).isEmpty());
    QVERIFY(partial.index.forInitial(u'h').entry(1).isEmpty());
    QVERIFY(partial.index.forInitial(u'z').entry(2).isEmpty());

    // The words are not inspected: an unsorted list puts words under the wrong letters silently.
    QList<QByteArray> words = fixtures::keywordWords(1385);
    words.swapItemsAt(0, 100);
    const KeywordLoad unsorted = loadKeywordIndex(words.join("\r\n"));
    QCOMPARE(unsorted.failure, std::nullopt);
    QCOMPARE(unsorted.index.forInitial(u'a').entry(1), u"b37");
}

void TestKeywordLoader::trailingNulsAreDropped_data()
{
    QTest::addColumn<QByteArray>("tail");
    QTest::addColumn<QString>("lastWord");
    QTest::newRow("two NULs") << QByteArray("\0\0", 2) << u"z2"_s;
    QTest::newRow("one NUL") << QByteArray("\0", 1) << u"z2"_s;
    QTest::newRow("no NUL") << QByteArray() << u"z2"_s;
    QTest::newRow("NULs after a CR LF") << QByteArray("\r\n\0\0", 4) << u"z2"_s;
    QTest::newRow("NUL inside the word stays") << QByteArray("\0x", 2) << u"z2\0x"_s;
}

void TestKeywordLoader::trailingNulsAreDropped()
{
    QFETCH(QByteArray, tail);
    QFETCH(QString, lastWord);
    const KeywordLoad load = loadKeywordIndex(keywordResource(1385, tail));
    QCOMPARE(load.failure, std::nullopt);
    QCOMPARE(load.index.forInitial(u'z').entry(2), lastWord);
}

void TestKeywordLoader::readsTheResourceThroughTheReader()
{
    QList<ResourceId> asked;
    const KeywordLoad load = loadKeywordIndex([&](const ResourceId &id) -> std::optional<QByteArray> {
        asked.append(id);
        return keywordResource(1385);
    });
    QCOMPARE(load.failure, std::nullopt);
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked[0].type, u"MOTCLE");
    QCOMPARE(asked[0].number, 102);

    const KeywordLoad missing = loadKeywordIndex([](const ResourceId &) { return std::optional<QByteArray>(); });
    QCOMPARE(missing.failure, LoadFailure::ResourceUnavailable);
    QCOMPARE(missing.index.filledCount(), 0);
    QVERIFY(missing.index.forInitial(u'a').entry(1).isEmpty());
}

void TestKeywordLoader::letterLookup_data()
{
    QTest::addColumn<QChar>("c");
    QTest::addColumn<int>("index");
    QTest::newRow("a") << QChar(u'a') << 0;
    QTest::newRow("A") << QChar(u'A') << 0;
    QTest::newRow("z") << QChar(u'z') << 25;
    QTest::newRow("Z") << QChar(u'Z') << 25;
    QTest::newRow("digit") << QChar(u'1') << -1;
    QTest::newRow("space") << QChar(u' ') << -1;
    QTest::newRow("accented") << QChar(u'é') << -1;
    QTest::newRow("before a") << QChar(u'`') << -1;
    QTest::newRow("after Z") << QChar(u'[') << -1;
}

void TestKeywordLoader::letterLookup()
{
    QFETCH(QChar, c);
    QFETCH(int, index);
    QCOMPARE(letterIndex(c), index);
    const KeywordLoad load = loadKeywordIndex(keywordResource(1385));
    QCOMPARE(load.index.forInitial(c).size(), index < 0 ? 0 : KeywordLetterCounts[static_cast<size_t>(index)]);
}

QTEST_APPLESS_MAIN(TestKeywordLoader)
#include "tst_keyword_loader.moc"
