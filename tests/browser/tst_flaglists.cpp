#include "flaglists.h"
#include "listline.h"
#include "rulesfixtures.h"

#include <QTest>

using namespace korvelan;
using namespace Qt::StringLiterals;

namespace {

// A table whose records carry the given texts in one field, everything else as record 1.
AdditiveTable tableWithField(int field, const QStringList &values)
{
    QList<QStringList> records;
    for (qsizetype i = 0; i < values.size(); ++i) {
        QStringList fields = rulesfixtures::recordFields(int(i) + 1);
        fields[field - 1] = values[i];
        records.append(fields);
    }
    return rulesfixtures::tableOf(records);
}

} // namespace

class TestFlagLists : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void onlyExactOuiPasses_data();
    void onlyExactOuiPasses();
    void scanStopsAtTheLastRecord();
    void linesAreTheListLines();
    void title_data();
    void title();
    void optionTable();
};

void TestFlagLists::onlyExactOuiPasses_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<QList<int>>("expected");
    QTest::newRow("EU") << int(AuthorisedEU) << QStringList{u"Oui"_s, u"Interdit"_s, u"Oui"_s} << QList<int>{1, 3};
    QTest::newRow("case and spaces")
        << int(AuthorisedFR) << QStringList{u"oui"_s, u"Oui "_s, u" Oui"_s, u"OUI"_s, u"Oui"_s} << QList<int>{5};
    QTest::newRow("halal, none") << int(Halal) << QStringList{u"Non"_s, u""_s, u"Non"_s} << QList<int>{};
    QTest::newRow("infants, all") << int(AuthorisedInfants) << QStringList{u"Oui"_s, u"Oui"_s} << QList<int>{1, 2};
}

void TestFlagLists::onlyExactOuiPasses()
{
    QFETCH(int, field);
    QFETCH(QStringList, values);
    QFETCH(QList<int>, expected);
    QCOMPARE(buildFlagList(tableWithField(field, values), field), expected);
}

// The scan covers the published records, 1 to 692, and none of the spare slots behind them.
void TestFlagLists::scanStopsAtTheLastRecord()
{
    QStringList values(RecordCapacity, u"Non"_s);
    values[0] = u"Oui"_s;
    values[RecordCount - 1] = u"Oui"_s;
    values[RecordCount] = u"Oui"_s;
    values[RecordCapacity - 1] = u"Oui"_s;
    QCOMPARE(buildFlagList(tableWithField(AnimalOrigin, values), AnimalOrigin), (QList<int>{1, RecordCount}));
}

void TestFlagLists::linesAreTheListLines()
{
    const AdditiveTable table = tableWithField(AuthorisedOrganic, {u"Non"_s, u"Oui"_s, u"Oui"_s});
    const QStringList lines = listLines(table, buildFlagList(table, AuthorisedOrganic));
    QCOMPARE(lines, (QStringList{ListLine(table, 2), ListLine(table, 3)}));
    QVERIFY(lines[0].endsWith(u"        $2"_s));
}

void TestFlagLists::title_data()
{
    QTest::addColumn<int>("option");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("expected");
    QTest::newRow("EU") << 2 << 195 << u"195 additifs autorisés dans l'UE"_s;
    QTest::newRow("France, small f") << 3 << 405 << u"405 additifs autorisés en france"_s;
    QTest::newRow("organic") << 4 << 48 << u"48 additifs autorisés en bio"_s;
    QTest::newRow("option 5 is infants") << 5 << 66 << u"66 additifs autorisés pour le nourrisson"_s;
    QTest::newRow("option 6 is animal") << 6 << 117 << u"117 additifs d'origine animale"_s;
    QTest::newRow("halal") << 7 << 126 << u"126 additifs considérés halal"_s;
    QTest::newRow("none") << 7 << 0 << u"0 additifs considérés halal"_s;
}

void TestFlagLists::title()
{
    QFETCH(int, option);
    QFETCH(int, count);
    QFETCH(QString, expected);
    QCOMPARE(flagListTitle(count, displayOption(option)->titleSuffix), expected);
}

// The cross-wiring of options 5 and 6, the panel records and the colours.
void TestFlagLists::optionTable()
{
    const QList<int> fields{0, 0, 6, 7, 8, 10, 9, 11};
    const QList<int> panels{1, 604, 17, 1, 48, 97, 4, 1};
    const QList<quint32> colours{0, 0, 0xFF0000, 0xC00000, 0x008000, 0xFF00FF, 0x004080, 0x0080FF};
    for (int i = 0; i < DisplayOptionCount; ++i) {
        const DisplayOption option = *displayOption(i);
        QCOMPARE(option.field, fields[i]);
        QCOMPARE(option.panelRecord, panels[i]);
        if (option.list == ShownList::Flags) {
            QCOMPARE(option.listColour, colours[i]);
            // The number in the procedure's name is its field: "Sub6UE" tests field 6.
            const QStringView rest = option.procedure.sliced(3);
            qsizetype digits = 0;
            while (digits < rest.size() && rest[digits].isDigit())
                ++digits;
            QCOMPARE(rest.first(digits).toInt(), option.field);
        }
    }
    QCOMPARE(displayOption(0)->list, ShownList::Numbers);
    QCOMPARE(displayOption(1)->list, ShownList::Alphabetical);
    QVERIFY(!displayOption(8));
    QVERIFY(!displayOption(-1));
}

QTEST_APPLESS_MAIN(TestFlagLists)
#include "tst_flaglists.moc"
