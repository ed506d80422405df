// What the command line prints of the table: an additive's card, the records of a code, a search.
#include "card.h"
#include "rulesfixtures.h"

#include <QTest>

using namespace korvelan;
using namespace Qt::StringLiterals;

class TestCard : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cardLaysOutEveryShownField();
    void recordsWithCode_data();
    void recordsWithCode();
    void searchReport_data();
    void searchReport();
};

void TestCard::cardLaysOutEveryShownField()
{
    // Every field different, blank ones as one space, a name with a trailing space and symptoms with a
    // leading one: the card shows each exactly under its own caption.
    // clang-format off
    const QStringList fields = {u"E950"_s, u"Acésulfate de potassium "_s, u"Divers - Edulcorant"_s,
                                u"acésulfame K"_s, u"9"_s, u"Interdit"_s, u"Oui"_s, u"Non"_s, u"Non"_s,
                                u"Non"_s, u"Oui"_s, u"Chimique"_s, u"Boissons light."_s, u" "_s,
                                u" Maux de tête."_s, u"4"_s, u"604"_s, u"5"_s, u"e950 acesulfame"_s};
    // clang-format on
    const AdditiveTable table = rulesfixtures::tableOf({fields});
    QCOMPARE(additiveCard(table.record(1)),
             u"FICHE DE L'ADDITIF E950\n"
             u"Acésulfate de potassium \n"
             u"Catégorie:          Divers - Edulcorant\n"
             u"Synonymes:          acésulfame K\n"
             u"Risque              4\n"
             u"DJA                 9\n"
             u"Naturel/Chim.       Chimique\n"
             u"Autorisé UE         Interdit\n"
             u"Autorisé FR         Oui\n"
             u"Autorisé AB         Non\n"
             u"Origine AN          Non\n"
             u"Autorisé BB         Non\n"
             u"Halal               Oui\n"
             u"Utilisation:        Boissons light.\n"
             u"Groupes à risques:   \n"
             u"Symptômes:           Maux de tête.\n"_s);
}

void TestCard::recordsWithCode_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QList<int>>("records");
    QTest::newRow("exact") << u"E472"_s << QList<int>{3};
    QTest::newRow("any letter case") << u"e450III"_s << QList<int>{1, 4};
    QTest::newRow("a code that begins another is not it") << u"E472e"_s << QList<int>{2};
    QTest::newRow("part of a code") << u"E45"_s << QList<int>{};
    QTest::newRow("empty") << QString() << QList<int>{};
}

void TestCard::recordsWithCode()
{
    QFETCH(QString, code);
    QFETCH(QList<int>, records);
    using rulesfixtures::recordFields;
    const AdditiveTable table = rulesfixtures::tableOf({recordFields(1, u"E450iii"_s), recordFields(2, u"E472e"_s),
                                                        recordFields(3, u"E472"_s), recordFields(4, u"E450iii"_s)});
    QCOMPARE(korvelan::recordsWithCode(code, table), records);
}

void TestCard::searchReport_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("report");
    QTest::newRow("two, any case") << u"CURCUMINE"_s
                                   << u"2 additifs trouvés.\n"
                                      u"E100\tCurcumine\tColorant\t3\n"
                                      u"E101\tRiboflavine \tColorant\t?\n"_s;
    QTest::newRow("one") << u"e101"_s << u"Un additif trouvé.\nE101\tRiboflavine \tColorant\t?\n"_s;
    QTest::newRow("none") << u"xyz"_s << u"Aucun additif trouvé.\n"_s;
}

void TestCard::searchReport()
{
    QFETCH(QString, word);
    QFETCH(QString, report);
    using rulesfixtures::recordFields;
    QStringList second = recordFields(2, u"E101"_s, u"Riboflavine "_s, u"Colorant"_s, u"?"_s);
    second[Keywords - 1] = u"e101 riboflavine curcumine"_s;
    QList<QStringList> records{recordFields(1), second, recordFields(3, u"E102"_s, u"Tartrazine"_s)};
    records[2][Keywords - 1] = u"e102 tartrazine"_s;
    while (records.size() < RecordCount)
        records.append(recordFields(int(records.size()) + 1, u"E999"_s, u"Quillaia"_s));
    for (qsizetype i = 3; i < records.size(); ++i)
        records[i][Keywords - 1] = u"e999 quillaia"_s;
    QCOMPARE(korvelan::searchReport(word, rulesfixtures::tableOf(records)), report);
}

QTEST_GUILESS_MAIN(TestCard)
#include "tst_card.moc"
