#include "colouring.h"

#include <QTest>

using namespace korvelan;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(std::optional<quint32>)

class TestColouring : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void namedColoursAreLaidOutBgr();
    void authorisation_data();
    void authorisation();
    void risk_data();
    void risk();
    void legends();
};

void TestColouring::namedColoursAreLaidOutBgr()
{
    QCOMPARE(colour::red(colour::Red), 255);
    QCOMPARE(colour::blue(colour::Red), 0);
    QCOMPARE(colour::red(colour::Orange), 255);
    QCOMPARE(colour::green(colour::Orange), 128);
    QCOMPARE(colour::blue(colour::Orange), 0);
    QCOMPARE(colour::red(colour::Brown), 128);
    QCOMPARE(colour::green(colour::Brown), 64);
}

void TestColouring::authorisation_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<quint32>("expected");
    QTest::newRow("Interdit") << u"Interdit"_s << colour::Red;
    QTest::newRow("Oui") << u"Oui"_s << colour::Black;
    QTest::newRow("lower case") << u"interdit"_s << colour::Black;
    QTest::newRow("trailing space") << u"Interdit "_s << colour::Black;
    QTest::newRow("leading space") << u" Interdit"_s << colour::Black;
    QTest::newRow("empty") << QString() << colour::Black;
}

void TestColouring::authorisation()
{
    QFETCH(QString, text);
    QFETCH(quint32, expected);
    QCOMPARE(authorisationColour(text), expected);
}

void TestColouring::risk_data()
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
    QTest::newRow("two classes") << u"12"_s << colour::Red << unchanged;
}

void TestColouring::risk()
{
    QFETCH(QString, text);
    QFETCH(quint32, box);
    QFETCH(std::optional<quint32>, caption);
    const RiskColours colours = riskColours(text);
    QCOMPARE(colours.box, box);
    QCOMPARE(colours.caption, caption);
}

void TestColouring::legends()
{
    QCOMPARE(riskLegendText(),
             u"1 = Additifs considérés à ce jour comme inoffensifs. Sans danger.\r\n"
             u"2 = Additifs dont les rapports scientifiques sont contradictoires.\r\n"
             u"       Sans danger à faible dose.\r\n"
             u"3 = Additifs douteux qu'il vaut mieux éviter, toxiques.\r\n"
             u"4 = Additifs dangereux et toxiques pour la santé."_s);
    QCOMPARE(riskLegendText().split(u"\r\n"_s).size(), 5);
    QCOMPARE(dailyIntakeLegendText(), u"DJA = dose journalière admissible (exprimée en mg/kg)."_s);
}

QTEST_APPLESS_MAIN(TestColouring)
#include "tst_colouring.moc"
