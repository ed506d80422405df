#include "rulesfixtures.h"
#include "suggestions.h"

#include <QTest>

using namespace korvelan;
using namespace Qt::StringLiterals;

namespace {

const KeywordIndex &index()
{
    static const KeywordIndex built = rulesfixtures::indexOf({
        {'a', {"acacia", "acesulfame", "acesulfate", "acetate", "acetique", "acetoglyceride", "acetone", "acetyle",
               "acide", "adipate", "Acajou", "agar"}},
        // Words of another initial in the list of "b": only the list of the first letter counts.
        {'b', {"acier", "e1", "beurre"}},
        {'e', {"e100", "e1000", "e1001", "e1001i", "e1001ii", "e100i", "e100ii", "e101", "e2", "ester"}},
        {'o', {"or", "orange", "orcanette", "oxyde"}},
        {'z', {"zeaxanthine", "zinc"}},
    });
    return built;
}

} // namespace

class TestSuggestions : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void suggestions_data();
    void suggestions();
    void viewsPointIntoTheIndex();
};

void TestSuggestions::suggestions_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("expected");
    const QStringList none;
    QTest::newRow("ac") << u"ac"_s
                        << QStringList{u"acacia"_s, u"acesulfame"_s, u"acesulfate"_s, u"acetate"_s, u"acetique"_s,
                                       u"acetoglyceride"_s, u"acetone"_s, u"acetyle"_s, u"acide"_s, u"Acajou"_s};
    QTest::newRow("AC, capitals never match") << u"AC"_s << none;
    QTest::newRow("aC") << u"aC"_s << none;
    QTest::newRow("acide") << u"acide"_s << QStringList{u"acide"_s};
    QTest::newRow("e1") << u"e1"_s
                        << QStringList{u"e100"_s, u"e1000"_s, u"e1001"_s, u"e1001i"_s, u"e1001ii"_s, u"e100i"_s,
                                       u"e100ii"_s, u"e101"_s};
    QTest::newRow("e100") << u"e100"_s
                          << QStringList{u"e100"_s, u"e1000"_s, u"e1001"_s, u"e1001i"_s, u"e1001ii"_s, u"e100i"_s,
                                         u"e100ii"_s};
    QTest::newRow("zi, last keyword") << u"zi"_s << QStringList{u"zinc"_s};
    QTest::newRow("or, itself first") << u"or"_s << QStringList{u"or"_s, u"orange"_s, u"orcanette"_s};
    QTest::newRow("y has no list") << u"yo"_s << none;
    QTest::newRow("digit") << u"1e"_s << none;
    QTest::newRow("space first") << u" a"_s << none;
    QTest::newRow("space inside") << u"acide c"_s << none;
    QTest::newRow("one character") << u"a"_s << none;
    QTest::newRow("empty") << QString() << none;
    QTest::newRow("accented initial") << u"éc"_s << none;
    QTest::newRow("longer than any word") << u"acetoglyceridex"_s << none;
    QTest::newRow("other letter's list is not walked") << u"be"_s << QStringList{u"beurre"_s};
}

void TestSuggestions::suggestions()
{
    QFETCH(QString, text);
    QFETCH(QStringList, expected);
    QStringList got;
    for (QStringView word : SuggestKeywords(text, index()))
        got.append(word.toString());
    QCOMPARE(got, expected);
}

void TestSuggestions::viewsPointIntoTheIndex()
{
    const QList<QStringView> words = SuggestKeywords(u"zi", index());
    QCOMPARE(words.size(), 1);
    QCOMPARE(words[0].data(), index().letter(25).entry(2).data());
}

QTEST_APPLESS_MAIN(TestSuggestions)
#include "tst_suggestions.moc"
