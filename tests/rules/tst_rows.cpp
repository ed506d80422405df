// List rows and the numbers read back from them, the colours of the detail panel, flag lists.
#include "colouring.h"
#include "flaglists.h"
#include "listline.h"
#include "rownumber.h"
#include "rulesfixtures.h"

#include <QTest>

using namespace korvelan;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(std::optional<quint32>)

class TestRows : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void listLine_data();
    void listLine();
    void searchLineHasOneMoreSpace();
    void rowNumber_data();
    void rowNumber();
    void errorText();
    void authorisationColour_data();
    void authorisationColour();
    void riskColours_data();
    void riskColours();
    void legendLayout();
    void flagListTakesExactOuiOnly_data();
    void flagListTakesExactOuiOnly();
    void flagListScansRecordsOnly();
    void flagOptions();
};

void TestRows::listLine_data()
{
    using rulesfixtures::recordFields;
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QString>("expected");
    QTest::newRow("record 1")
        << recordFields(1)
        << u"E100     Curcumine                Colorant                 3   Interdit  Oui        $1"_s;
    QTest::newRow("long name cut")
        << recordFields(604, u"E950"_s, u"Acésulfate de potassium"_s, u"Divers - Edulcorant"_s, u"4"_s)
        << u"E950     Acésulfate de potassi... Divers - Edulcorant      4   Interdit  Oui        $604"_s;
    QTest::newRow("8-character code, FR forbidden")
        << recordFields(55, u"E160aiii"_s, u"Carotènes"_s, u"Colorant"_s, u"2"_s, u"Oui"_s, u"Interdit"_s)
        << u"E160aiii Carotènes                Colorant                 2   Oui       Interdit        $55"_s;
    QTest::newRow("20-character name")
        << recordFields(62, u"E160d"_s, u"Lycopène de synthèse"_s)
        << u"E160d    Lycopène de synthèse     Colorant                 3   Interdit  Oui        $62"_s;
    QTest::newRow("21-character name, cut all the same")
        << recordFields(8, u"E212"_s, u"Benzoate de potassium"_s, u"Conservateur antioxydant"_s)
        << u"E212     Benzoate de potassium... Conservateur antioxyd... 3   Interdit  Oui        $8"_s;
    QTest::newRow("number is field 17")
        << recordFields(391, u"E472e"_s)
        << u"E472e    Curcumine                Colorant                 3   Interdit  Oui        $391"_s;
    QTest::newRow("code longer than 8 left whole")
        << recordFields(9, u"E1001viii"_s)
        << u"E1001viii Curcumine                Colorant                 3   Interdit  Oui        $9"_s;
    // Empty fields keep the padding: 8 + 1 + 24 + 1 + 24 + 4 + 5 + 2 + 2 + 6 spaces.
    QTest::newRow("empty record") << QStringList(FieldCount, QString()) << QString(77, u' ') + u'$';
}

void TestRows::listLine()
{
    QFETCH(QStringList, fields);
    QFETCH(QString, expected);
    const AdditiveTable table = rulesfixtures::tableOf({fields});
    const QString line = ListLine(table, 1);
    QCOMPARE(line, expected);
    // The row leads back to the record its field 17 names.
    const RowNumber number = rowRecordNumber(line);
    QCOMPARE(number.ok(), !fields[SequenceNumber - 1].isEmpty());
    if (number.ok())
        QCOMPARE(QString::number(number.record), fields[SequenceNumber - 1]);
}

void TestRows::searchLineHasOneMoreSpace()
{
    const QString line = SearchLine(rulesfixtures::tableOf({rulesfixtures::recordFields(1)}), 1);
    QCOMPARE(line, u"E100     Curcumine                Colorant                 3   Interdit  Oui         $1"_s);
    QCOMPARE(line.indexOf(u'$'), 85);
}

void TestRows::rowNumber_data()
{
    QTest::addColumn<QString>("row");
    QTest::addColumn<int>("record");
    QTest::addColumn<int>("error");
    QTest::newRow("$604") << u"E950     Acésulfate        $604"_s << 604 << 0;
    QTest::newRow("$695, an empty slot") << u"a$695"_s << 695 << 0;
    QTest::newRow("$700, the last slot") << u"a$700"_s << 700 << 0;
    QTest::newRow("spaces around") << u" $ 12 "_s << 12 << 0;
    QTest::newRow("no $, whole text read") << u"  42 "_s << 42 << 0;
    QTest::newRow("no $, message row") << u"     Aucun additif trouvé avec le mot ''xyz''"_s << 0 << 13;
    QTest::newRow("$ alone") << u"E100  $"_s << 0 << 13;
    QTest::newRow("second $") << u"a$12$5"_s << 0 << 13;
    QTest::newRow("$0") << u"a$0"_s << 0 << 9;
    QTest::newRow("$701") << u"a$701"_s << 0 << 9;
    QTest::newRow("$32767") << u"a$32767"_s << 0 << 9;
    QTest::newRow("$32768") << u"a$32768"_s << 0 << 6;
    QTest::newRow("$-32769") << u"a$-32769"_s << 0 << 6;
    QTest::newRow("$40000") << u"a$40000"_s << 0 << 6;
    QTest::newRow("many digits") << u"a$99999999999999999999999"_s << 0 << 6;
}

void TestRows::rowNumber()
{
    QFETCH(QString, row);
    QFETCH(int, record);
    QFETCH(int, error);
    const RowNumber number = rowRecordNumber(row);
    QCOMPARE(number.error, error);
    QCOMPARE(number.record, record);
}

void TestRows::errorText()
{
    QCOMPARE(selectionErrorText(9),
             u"Erreur programme 9\r\nInterne 101\r\n\r\nL'indice n'appartient pas à la sélection."_s);
    QCOMPARE(selectionErrorText(6), u"Erreur programme 6\r\nInterne 101\r\n\r\nDépassement de capacité."_s);
}

void TestRows::authorisationColour_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<quint32>("expected");
    QTest::newRow("Interdit") << u"Interdit"_s << colour::Red;
    QTest::newRow("Oui") << u"Oui"_s << colour::Black;
    QTest::newRow("lower case") << u"interdit"_s << colour::Black;
    QTest::newRow("trailing space") << u"Interdit "_s << colour::Black;
    QTest::newRow("empty") << QString() << colour::Black;
}

void TestRows::authorisationColour()
{
    QFETCH(QString, text);
    QFETCH(quint32, expected);
    QCOMPARE(korvelan::authorisationColour(text), expected);
}

void TestRows::riskColours_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<quint32>("box");
    QTest::addColumn<std::optional<quint32>>("caption");
    const std::optional<quint32> unchanged;
    QTest::newRow("1") << u"1"_s << colour::Green << std::optional(colour::Grey);
    QTest::newRow("2") << u"2"_s << colour::Orange << std::optional(colour::Grey);
    QTest::newRow("3") << u"3"_s << colour::Magenta << std::optional(colour::Grey);
    QTest::newRow("4") << u"4"_s << colour::Red << std::optional(colour::Red);
    QTest::newRow("?") << u"?"_s << colour::Black << std::optional(colour::Grey);
    QTest::newRow("5") << u"5"_s << colour::Red << unchanged;
    QTest::newRow("1 with a space") << u"1 "_s << colour::Red << unchanged;
    QTest::newRow("empty") << QString() << colour::Red << unchanged;
}

void TestRows::riskColours()
{
    QFETCH(QString, text);
    QFETCH(quint32, box);
    QFETCH(std::optional<quint32>, caption);
    QCOMPARE(korvelan::riskColours(text), (RiskColours{box, caption}));
}

void TestRows::legendLayout()
{
    const QStringList lines = riskLegendText().split(u"\r\n"_s);
    QCOMPARE(lines.size(), 5);
    QCOMPARE(lines[2], u"       Sans danger à faible dose."_s);
    QVERIFY(lines[4].endsWith(u"santé."_s));
    QVERIFY(!dailyIntakeLegendText().contains(u'\n'));
}

void TestRows::flagListTakesExactOuiOnly_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<QList<int>>("expected");
    QTest::newRow("EU") << int(AuthorisedEU) << QStringList{u"Oui"_s, u"Interdit"_s, u"Oui"_s} << QList<int>{1, 3};
    QTest::newRow("case and spaces") << int(AuthorisedFR)
                                     << QStringList{u"oui"_s, u"Oui "_s, u" Oui"_s, u"OUI"_s, u"Oui"_s}
                                     << QList<int>{5};
    QTest::newRow("none") << int(Halal) << QStringList{u"Non"_s, QString()} << QList<int>{};
}

void TestRows::flagListTakesExactOuiOnly()
{
    QFETCH(int, field);
    QFETCH(QStringList, values);
    QFETCH(QList<int>, expected);
    QList<QStringList> records;
    for (const QString &value : values) {
        records.append(rulesfixtures::recordFields(int(records.size()) + 1));
        records.back()[field - 1] = value;
    }
    const AdditiveTable table = rulesfixtures::tableOf(records);
    const FlagList list = buildFlagList(table, field);
    QCOMPARE(list, expected);
    QCOMPARE(listLines(table, list).size(), expected.size());
}

// The scan covers records 1 to 692, not the spare slots behind them.
void TestRows::flagListScansRecordsOnly()
{
    QList<QStringList> records;
    for (int r = 1; r <= RecordCapacity; ++r) {
        records.append(rulesfixtures::recordFields(r));
        records.back()[AnimalOrigin - 1] = (r == 1 || r == RecordCount || r > RecordCount) ? u"Oui"_s : u"Non"_s;
    }
    QCOMPARE(buildFlagList(rulesfixtures::tableOf(records), AnimalOrigin), (QList<int>{1, RecordCount}));
}

// Options 5 and 6 are not in field order; the title is the count and the suffix.
void TestRows::flagOptions()
{
    QCOMPARE(displayOption(5)->field, int(AuthorisedInfants));
    QCOMPARE(displayOption(6)->field, int(AnimalOrigin));
    QCOMPARE(displayOption(1)->panelRecord, 604);
    QVERIFY(!displayOption(8));
    QCOMPARE(flagListTitle(195, displayOption(2)->titleSuffix), u"195 additifs autorisés dans l'UE"_s);
    QCOMPARE(flagListTitle(405, displayOption(3)->titleSuffix), u"405 additifs autorisés en france"_s);
}

QTEST_APPLESS_MAIN(TestRows)
#include "tst_rows.moc"
