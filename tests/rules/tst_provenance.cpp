#include "additive.h"
#include "provenance.h"

#include <QTest>

using namespace korvelan;
using namespace Qt::StringLiterals;

namespace {

// Registers laid out as the shipped ones, with their columns in another order in the sources and an
// extra column, CR LF line ends, and rows that name no record or no field.
FactRegister sampleRegister()
{
    const QByteArray forced =
        "record\tcode\tfield\tshown\tworld\tsource\treason\r\n"
        "1\tE100\tAuthorisedEU\tInterdit\tOui\tRegulation (EC) No 1333/2008, Annex II/III as amended\tpin\r\n"
        "4\tE101\tAnimalOrigin\tOui\tNon or uncertain (made by fermentation)\tOpen Food Facts, additives taxonomy "
        "(ODbL 1.0) says vegan maybe\tcount\r\n"
        "604\tE950\tRiskLevel\t4\t2 or 3\tEFSA 2025\tpin\r\n"
        "0\tE0\tAuthorisedEU\tInterdit\tOui\tnowhere\tnone\r\n"
        "5\tE101a\tNoSuchField\tOui\tNon\tnowhere\tnone\r\n"
        "6\tE101i\tHalal\r\n";
    const QByteArray sources = "code\tsource\textra\tfield\trecord\tvalue\n"
                               "E950\tEFSA 2025 (acesulfame K)\tx\tDailyIntake\t604\t15\n"
                               "E950\tanother\tx\tDailyIntake\t604\t15\n";
    return FactRegister::parse(forced, sources);
}

} // namespace

class TestProvenance : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void readsTheRowsItCan();
    void notes_data();
    void notes();
    void frenchOfTheRegisters_data();
    void frenchOfTheRegisters();
};

void TestProvenance::readsTheRowsItCan()
{
    const FactRegister facts = sampleRegister();
    QCOMPARE(facts.forcedCount(), 3);
    QCOMPARE(facts.sourcedCount(), 1);
    QCOMPARE(facts.sourced(604, DailyIntake, u"15")->source, u"EFSA 2025 (acesulfame K)"_s); // the first row
    // A header without one of the columns gives nothing rather than misread cells.
    QCOMPARE(FactRegister::parse("record\tfield\tshown\n1\tAuthorisedEU\tInterdit\n", {}).forcedCount(), 0);
}

// What the window's box, the card line and the terminal's value say of one field of one record.
void TestProvenance::notes_data()
{
    QTest::addColumn<int>("record");
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("card");
    QTest::addColumn<QString>("realCard");
    QTest::addColumn<QString>("real");
    QTest::newRow("forced authorisation")
        << 1 << int(AuthorisedEU) << u"Interdit"_s
        << u"Valeur imposée par le format de la base. En réalité : Oui (règlement (CE) n° 1333/2008, annexes II et "
           u"III modifiées)."_s
        << u"  (en réalité : Oui ; règlement (CE) n° 1333/2008)"_s
        << u"  (valeur de la base : Interdit ; règlement (CE) n° 1333/2008)"_s << u"Oui"_s;
    QTest::newRow("forced, in English in the register")
        << 4 << int(AnimalOrigin) << u"Oui"_s
        << u"Valeur imposée par le format de la base. En réalité : Non ou incertain (made by fermentation) (Open "
           u"Food Facts, taxonomie des additifs (ODbL 1.0) le dit peut-être végane)."_s
        << u"  (en réalité : Non ou incertain (made by fermentation) ; Open Food Facts)"_s
        << u"  (valeur de la base : Oui ; Open Food Facts)"_s << u"Non ou incertain (made by fermentation)"_s;
    QTest::newRow("sourced daily intake")
        << 604 << int(DailyIntake) << u"15"_s << u"Source : EFSA 2025 (acesulfame K)"_s << QString() << QString()
        << u"15"_s;
    // The register describes another value than the one shown: it says nothing of this one.
    QTest::newRow("value the register does not list")
        << 1 << int(AuthorisedEU) << u"Oui"_s << QString() << QString() << QString() << u"Oui"_s;
    QTest::newRow("another record") << 2 << int(AuthorisedEU) << u"Interdit"_s << QString() << QString() << QString()
                                    << u"Interdit"_s;
    QTest::newRow("empty box") << 604 << int(DailyIntake) << QString() << QString() << QString() << QString()
                               << QString();
}

void TestProvenance::notes()
{
    QFETCH(int, record);
    QFETCH(int, field);
    QFETCH(QString, value);
    const FactRegister facts = sampleRegister();
    const Truth beside{&facts, false}, instead{&facts, true};
    QTEST(boxNote(facts, record, field, value), "box");
    QTEST(cardNote(beside, record, field, value), "card");
    QTEST(cardNote(instead, record, field, value), "realCard");
    QTEST(shownValue(instead, record, field, value), "real");
    QCOMPARE(shownValue(beside, record, field, value), value);
    QCOMPARE(shownValue(Truth{}, record, field, value), value);
    QCOMPARE(cardNote(Truth{}, record, field, value), QString());
}

void TestProvenance::frenchOfTheRegisters_data()
{
    QTest::addColumn<QString>("english");
    QTest::addColumn<QString>("french");
    QTest::newRow("regulation and annexes") << u"Regulation (EC) No 1333/2008, Annex II/III as amended"_s
                                            << u"règlement (CE) n° 1333/2008, annexes II et III modifiées"_s;
    QTest::newRow("functional classes") << u"Regulation (EC) No 1333/2008 Annex I functional classes"_s
                                        << u"règlement (CE) n° 1333/2008, annexe I (catégories fonctionnelles)"_s;
    QTest::newRow("two bodies") << u"EFSA 2019; JECFA 1982"_s << u"EFSA 2019 ; JECFA 1982"_s;
    QTest::newRow("colon and ADI") << u"EFSA 2004 and JECFA: no numerical ADI needed"_s
                                   << u"EFSA 2004 et JECFA : pas de DJA chiffrée nécessaire"_s;
    QTest::newRow("real value with its reason")
        << u"40 (EFSA 2019, phosphates as phosphorus); 70 is the MTDI of JECFA 1982"_s
        << u"40 (EFSA 2019, phosphates en phosphore) ; 70 est la DJMT du JECFA 1982"_s;
    QTest::newRow("French already") << u"Oui"_s << u"Oui"_s;
    QTest::newRow("name of a substance") << u"EFSA 2010 (curcumin)"_s << u"EFSA 2010 (curcumin)"_s;
}

void TestProvenance::frenchOfTheRegisters()
{
    QFETCH(QString, english);
    QTEST(frenchRegisterText(english), "french");
}

QTEST_MAIN(TestProvenance)
#include "tst_provenance.moc"
