#include "listline.h"
#include "rownumber.h"
#include "rulesfixtures.h"

#include <QTest>

using namespace korvelan;
using namespace Qt::StringLiterals;

class TestListLine : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void fitsTo24_data();
    void fitsTo24();
    void listLine_data();
    void listLine();
    void searchLineHasOneMoreSpace();
    void tableOverloadReadsTheRecord();
    void rowLeadsBackToItsRecord();
};

void TestListLine::fitsTo24_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("empty") << QString() << QString(24, u' ');
    QTest::newRow("19 characters") << u"Acide sorbique pur."_s << u"Acide sorbique pur.     "_s;
    QTest::newRow("20 characters") << u"Lycopène de synthèse"_s << u"Lycopène de synthèse    "_s;
    QTest::newRow("21 characters, cut all the same") << u"Benzoate de potassium"_s << u"Benzoate de potassium..."_s;
    QTest::newRow("24 characters, cut") << u"Acésulfate de potassium!"_s << u"Acésulfate de potassi..."_s;
    QTest::newRow("long") << u"Acésulfate de potassium"_s << u"Acésulfate de potassi..."_s;
    QTest::newRow("trailing space kept") << u"Phosphate "_s << u"Phosphate               "_s;
}

void TestListLine::fitsTo24()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    const QString fitted = fitTo24(text);
    QCOMPARE(fitted, expected);
    QCOMPARE(fitted.size(), 24);
}

void TestListLine::listLine_data()
{
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("dollarPosition"); // 1-based

    QTest::newRow("record 1")
        << rulesfixtures::recordFields(1)
        << u"E100     Curcumine                Colorant                 3   Interdit  Oui        $1"_s << 85;
    QTest::newRow("long name cut")
        << rulesfixtures::recordFields(604, u"E950"_s, u"Acésulfate de potassium"_s, u"Divers - Edulcorant"_s, u"4"_s)
        << u"E950     Acésulfate de potassi... Divers - Edulcorant      4   Interdit  Oui        $604"_s << 85;
    QTest::newRow("8-character code, FR forbidden")
        << rulesfixtures::recordFields(55, u"E160aiii"_s, u"Carotènes"_s, u"Colorant"_s, u"2"_s, u"Oui"_s, u"Interdit"_s)
        << u"E160aiii Carotènes                Colorant                 2   Oui       Interdit        $55"_s << 90;
    QTest::newRow("20-character name")
        << rulesfixtures::recordFields(62, u"E160d"_s, u"Lycopène de synthèse"_s)
        << u"E160d    Lycopène de synthèse     Colorant                 3   Interdit  Oui        $62"_s << 85;
    QTest::newRow("19-character name")
        << rulesfixtures::recordFields(7, u"E101"_s, u"Acide sorbique pur."_s)
        << u"E101     Acide sorbique pur.      Colorant                 3   Interdit  Oui        $7"_s << 85;
    QTest::newRow("21-character name and category")
        << rulesfixtures::recordFields(8, u"E212"_s, u"Benzoate de potassium"_s, u"Conservateur antioxyda"_s)
        << u"E212     Benzoate de potassium... Conservateur antioxyd... 3   Interdit  Oui        $8"_s << 85;
    QTest::newRow("number is field 17, not the position")
        << rulesfixtures::recordFields(391, u"E472e"_s)
        << u"E472e    Curcumine                Colorant                 3   Interdit  Oui        $391"_s << 85;
    QTest::newRow("code longer than 8 left whole")
        << rulesfixtures::recordFields(9, u"E1001viii"_s)
        << u"E1001viii Curcumine                Colorant                 3   Interdit  Oui        $9"_s << 86;
    // Empty fields leave the padding alone: 8 + 1 + 24 + 1 + 24 + 4 + 5 + 2 + 2 + 6 spaces.
    QTest::newRow("empty record") << QStringList(19, QString()) << QString(77, u' ') + u'$'
        << 78;
}

void TestListLine::listLine()
{
    QFETCH(QStringList, fields);
    QFETCH(QString, expected);
    QFETCH(int, dollarPosition);

    std::array<QStringView, FieldCount> views;
    for (int k = 0; k < FieldCount; ++k)
        views[static_cast<size_t>(k)] = fields[k];
    const QString line = ListLine(AdditiveRecord(views));
    QCOMPARE(line, expected);
    QCOMPARE(line.indexOf(u'$') + 1, dollarPosition);
    QCOMPARE(line.count(u'$'), 1);
}

void TestListLine::searchLineHasOneMoreSpace()
{
    const AdditiveTable table = rulesfixtures::tableOf({rulesfixtures::recordFields(1)});
    const QString line = SearchLine(table, 1);
    QCOMPARE(line, u"E100     Curcumine                Colorant                 3   Interdit  Oui         $1"_s);
    QCOMPARE(line.size(), 87);
    QCOMPARE(line.indexOf(u'$') + 1, 86);
}

void TestListLine::tableOverloadReadsTheRecord()
{
    const AdditiveTable table = rulesfixtures::tableOf({rulesfixtures::recordFields(1),
                                                        rulesfixtures::recordFields(2, u"E100i"_s)});
    QCOMPARE(ListLine(table, 2), ListLine(table.record(2)));
    QVERIFY(ListLine(table, 2).startsWith(u"E100i    Curcumine"_s));
    QCOMPARE(ListLine(table, 1).size(), 86);
}

// The number a row carries is the record a click on it shows.
void TestListLine::rowLeadsBackToItsRecord()
{
    const AdditiveTable table = rulesfixtures::tableOf({rulesfixtures::recordFields(1),
                                                        rulesfixtures::recordFields(390, u"E472e"_s)});
    QCOMPARE(rowRecordNumber(ListLine(table, 1)).record, 1);
    QCOMPARE(rowRecordNumber(ListLine(table, 2)).record, 390);
    QCOMPARE(rowRecordNumber(SearchLine(table, 2)).record, 390);
}

QTEST_APPLESS_MAIN(TestListLine)
#include "tst_listline.moc"
