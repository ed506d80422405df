#include "additive.h"
#include "provenance.h"
#include "resource.h"

#include <QRegularExpression>
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
        "604\tE950\tAuthorisedEU\tInterdit\tOui\trule A: E950 is listed on the Union list (Regulation (EC) No "
        "1333/2008, Annex II, 2026-12-01)\tcount\r\n"
        "7\tE102\tHalal\tNon\tOui\trule H: plant, mineral or synthetic origin; Open Food Facts taxonomy (ODbL "
        "1.0): vegan\tcount\r\n"
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
    void shippedRegistersReadInFrench();
};

void TestProvenance::readsTheRowsItCan()
{
    const FactRegister facts = sampleRegister();
    QCOMPARE(facts.forcedCount(), 5);
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
        << u"  (en réalité : Non ou incertain (made by fermentation) ; Open Food Facts, taxonomie des additifs (ODbL "
           u"1.0) le dit peut-être végane)"_s
        << u"  (valeur de la base : Oui ; Open Food Facts, taxonomie des additifs (ODbL 1.0) le dit peut-être végane)"_s
        << u"Non ou incertain (made by fermentation)"_s;
    QTest::newRow("forced, a rule's sentence")
        << 604 << int(AuthorisedEU) << u"Interdit"_s
        << u"Valeur imposée par le format de la base. En réalité : Oui (E950 figure sur la liste de l'Union "
           u"(règlement (CE) n° 1333/2008, annexe II, 2026-12-01))."_s
        << u"  (en réalité : Oui ; règlement (CE) n° 1333/2008)"_s
        << u"  (valeur de la base : Interdit ; règlement (CE) n° 1333/2008)"_s << u"Oui"_s;
    QTest::newRow("forced, cited by its first statement")
        << 7 << int(Halal) << u"Non"_s
        << u"Valeur imposée par le format de la base. En réalité : Oui (origine végétale, minérale ou synthétique ; "
           u"taxonomie Open Food Facts (ODbL 1.0) : végane)."_s
        << u"  (en réalité : Oui ; origine végétale, minérale ou synthétique)"_s
        << u"  (valeur de la base : Non ; origine végétale, minérale ou synthétique)"_s << u"Oui"_s;
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
    QTest::newRow("rule, sub-code") << u"rule A: E160ai is a sub-code of E160a, which is listed on the Union list"_s
                                    << u"E160ai est un sous-code de E160a, qui figure sur la liste de l'Union"_s;
    QTest::newRow("rule, infants")
        << u"rule B: E100 is not listed (Regulation (EC) No 1333/2008, Annex II Part E, categories 13.1.1 to 13.1.5.2)"_s
        << u"E100 n'y figure pas (règlement (CE) n° 1333/2008, annexe II, partie E, catégories 13.1.1 à 13.1.5.2)"_s;
    QTest::newRow("rule, opinion") << u"rule J: EFSA 2025, EFSA Journal 2025;23(4):e9317 (replaces 9 set by SCF 2000)"_s
                                   << u"EFSA 2025, EFSA Journal 2025;23(4):e9317 (remplace 9 fixée par le SCF 2000)"_s;
}

void TestProvenance::frenchOfTheRegisters()
{
    QFETCH(QString, english);
    QTEST(frenchRegisterText(english), "french");
}

// Every source and real value of the registers the program carries reads in French once put into French:
// a new form of sentence in the data shows here before a reader meets it in English.
void TestProvenance::shippedRegistersReadInFrench()
{
    static const QRegularExpression english(
        uR"(\b(rule|is|are|listed|sub-code|known|taxonomy|vegan|ADI|origin|authorised|Annex|Regulation|Part|not|no|of|)"
        uR"(the|and|or|as|set|group|withdrawn|evaluated|confirmed)\b)"_s);
    static const QRegularExpression substanceName(uR"(\((?:[^()]|\([^()]*\))*\)$)"_s);
    int texts = 0;
    QStringList inEnglish;
    for (const ResourceId &id : {kForcedValuesResource, kSourcesResource}) {
        const std::optional<QByteArray> bytes = readEmbeddedResource(id);
        QVERIFY(bytes);
        const QStringList lines = QString::fromUtf8(*bytes).split(u'\n', Qt::SkipEmptyParts);
        const QStringList header = lines.constFirst().trimmed().split(u'\t');
        QList<qsizetype> columns{header.indexOf(u"source"_s)};
        if (header.contains(u"world"_s))
            columns.append(header.indexOf(u"world"_s));
        for (const QString &line : lines.sliced(1)) {
            const QStringList cells = line.trimmed().split(u'\t');
            for (qsizetype c : columns) {
                // Names of substances stay as the opinions write them, in brackets at the end.
                QString french = frenchRegisterText(cells.value(c));
                french.remove(substanceName);
                if (english.match(french).hasMatch() && !inEnglish.contains(french))
                    inEnglish.append(french);
                ++texts;
            }
        }
    }
    QVERIFY2(inEnglish.isEmpty(), qPrintable(inEnglish.join(u'\n')));
    QVERIFY(texts > 4000);
}

QTEST_MAIN(TestProvenance)
#include "tst_provenance.moc"
