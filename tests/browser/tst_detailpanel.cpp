#include "listerfixture.h"
#include "listline.h"
#include "resource.h"

#include <QToolButton>

using namespace korvelan;
using namespace Qt::StringLiterals;

namespace {

const QColor kRed(255, 0, 0), kBlack(0, 0, 0), kGrey(128, 128, 128), kGreen(0, 128, 0);

} // namespace

class TestDetailPanel : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void rowSelection_data();
    void rowSelection();
    void colouringFollowsEveryChange();
    void sameRowAgainRefillsThePanel();
    void legends_data();
    void legends();
    void rowsFromTheKeyboard();
    void notesOfTheShippedData_data();
    void notesOfTheShippedData();
};

// Rows as the lists may hold them, and what a selection of each does.
void TestDetailPanel::rowSelection_data()
{
    QTest::addColumn<QString>("row");
    QTest::addColumn<QString>("firstBox");
    QTest::addColumn<int>("errorCode");
    QTest::newRow("record 604") << u"E950     Acésulfate de potassi...       $604"_s << u"r604f1"_s << 0;
    QTest::newRow("number with spaces") << u"x $ 12 "_s << u"r12f1"_s << 0;
    QTest::newRow("slot past the records") << u"x$695"_s << QString() << 0;
    QTest::newRow("no dollar") << u"     Aucun additif trouvé avec le mot ''xyz''"_s << u"r1f1"_s << 0;
    QTest::newRow("empty row") << QString() << u"r1f1"_s << 0;
    QTest::newRow("nothing after the dollar") << u"x$"_s << u"r1f1"_s << 0;
    QTest::newRow("zero") << u"x$0"_s << u"r1f1"_s << 9;
    QTest::newRow("past the table") << u"x$701"_s << u"r1f1"_s << 9;
    QTest::newRow("beyond 16 bits") << u"x$40000"_s << u"r1f1"_s << 6;
}

void TestDetailPanel::rowSelection()
{
    QFETCH(QString, row);
    QFETCH(QString, firstBox);
    QFETCH(int, errorCode);
    ListerFixture f;
    QVERIFY(f.open());
    QListWidget *results = f.list(u"LstC"_s);
    results->addItems({u"filler$2"_s, row});
    results->setCurrentRow(1);

    QCOMPARE(f.window->boxText(1), firstBox);
    if (errorCode == 0) {
        QVERIFY(f.boxes.boxes.isEmpty());
        return;
    }
    QCOMPARE(f.boxes.boxes.size(), 1);
    const RecordingMessageBoxes::Box box = f.boxes.boxes.first();
    QCOMPARE(box.title, u"Erreur programme"_s);
    QCOMPARE(box.icon, MessageIcon::Critical);
    QVERIFY(box.text.startsWith(u"Erreur programme %1\r\nInterne 101\r\n\r\n"_s.arg(errorCode)));
    QVERIFY(box.text.endsWith(u"."_s));
    QCOMPARE(results->currentRow(), 1); // the list and its selection are left alone
}

void TestDetailPanel::colouringFollowsEveryChange()
{
    ListerFixture f(fixtures::flagDatabase());
    QVERIFY(f.open());
    QListWidget *numbers = f.list(u"LstNumAdd"_s);
    // Record 3: both authorisations "Interdit", risk "4": both boxes, the risk box and its caption red.
    numbers->setCurrentRow(2);
    QCOMPARE(f.textColour(u"TxtADD(6)"_s), kRed);
    QCOMPARE(f.textColour(u"TxtADD(7)"_s), kRed);
    QCOMPARE(f.textColour(u"TxtADD(16)"_s), kRed);
    QCOMPARE(f.textColour(u"LblAd(2)"_s), kRed);
    // Emptying the panel: authorisations black, the risk box red, the caption as it was.
    QTest::mouseClick(f.find<QToolButton>(u"ImgD(1)"_s), Qt::LeftButton); // refills with record 604, risk "?"
    QCOMPARE(f.textColour(u"LblAd(2)"_s), kGrey);
    // Record 1: risk "2" orange, authorisations "oui" (not "Interdit") black.
    numbers->show();
    numbers->setCurrentRow(0);
    QCOMPARE(f.textColour(u"TxtADD(16)"_s), QColor(255, 128, 0));
    QCOMPARE(f.textColour(u"TxtADD(6)"_s), kBlack);
    // Record 5 has risk "1": green, caption grey.
    numbers->setCurrentRow(4);
    QCOMPARE(f.textColour(u"TxtADD(16)"_s), kGreen);
    QCOMPARE(f.textColour(u"LblAd(2)"_s), kGrey);
    // Record 4 has risk "?" (black); record 18, risk "4", turns the caption red, and the tab empties
    // the panel: the risk box goes red, the caption is set grey by the tab.
    numbers->setCurrentRow(3);
    QCOMPARE(f.textColour(u"TxtADD(16)"_s), kBlack);
    numbers->setCurrentRow(17);
    QCOMPARE(f.textColour(u"LblAd(2)"_s), kRed);
    QTest::mouseClick(f.find<QWidget>(u"CmdOnglet(3)"_s), Qt::LeftButton);
    QCOMPARE(f.textColour(u"TxtADD(16)"_s), kRed);
    QCOMPARE(f.textColour(u"TxtADD(6)"_s), kBlack);
    QCOMPARE(f.textColour(u"TxtADD(7)"_s), kBlack);
    QCOMPARE(f.textColour(u"LblAd(2)"_s), kRed); // the information tab leaves the caption alone
}

void TestDetailPanel::sameRowAgainRefillsThePanel()
{
    ListerFixture f;
    QVERIFY(f.open());
    QListWidget *numbers = f.list(u"LstNumAdd"_s);
    const QRect third = numbers->visualItemRect(numbers->item(2));
    QTest::mouseClick(numbers->viewport(), Qt::LeftButton, {}, third.center());
    QCOMPARE(f.window->boxText(1), u"r3f1"_s);
    QTest::mouseClick(f.find<QWidget>(u"CmdOnglet(1)"_s), Qt::LeftButton);
    QCOMPARE(f.window->boxText(1), QString());
    QTest::mouseClick(numbers->viewport(), Qt::LeftButton, {}, third.center());
    QCOMPARE(f.window->boxText(1), u"r3f1"_s);
    QCOMPARE(f.window->boxText(17), u"3"_s);
}

void TestDetailPanel::legends_data()
{
    QTest::addColumn<int>("image");
    QTest::addColumn<QString>("text");
    QTest::newRow("risk") << 0
                          << u"1 = Additifs considérés à ce jour comme inoffensifs. Sans danger.\r\n"
                             "2 = Additifs dont les rapports scientifiques sont contradictoires.\r\n"
                             "       Sans danger à faible dose.\r\n"
                             "3 = Additifs douteux qu'il vaut mieux éviter, toxiques.\r\n"
                             "4 = Additifs dangereux et toxiques pour la santé."_s;
    QTest::newRow("daily intake") << 1 << u"DJA = dose journalière admissible (exprimée en mg/kg)."_s;
}

void TestDetailPanel::legends()
{
    QFETCH(int, image);
    QFETCH(QString, text);
    ListerFixture f;
    QVERIFY(f.open());
    auto *button = f.find<QToolButton>(u"ImgInfo(%1)"_s.arg(image));
    QCOMPARE(button->toolTip(), u"Plus d'informations"_s);
    QVERIFY(button->focusPolicy() & Qt::TabFocus);
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(f.boxes.boxes.size(), 1);
    QCOMPARE(f.boxes.boxes[0].text, text);
    QCOMPARE(f.boxes.boxes[0].icon, MessageIcon::None);
    QCOMPARE(f.boxes.boxes[0].buttons, MessageButtons::Ok);
    QCOMPARE(f.boxes.boxes[0].title, u"Les KORVELAN"_s);
}

void TestDetailPanel::rowsFromTheKeyboard()
{
    ListerFixture f;
    QVERIFY(f.open());
    QTest::mouseClick(f.find<QWidget>(u"CmdOnglet(1)"_s), Qt::LeftButton);
    QCOMPARE(f.window->boxText(1), QString());
    // The list that Tab reaches makes its first row current but selects nothing: the panel stays
    // as it was; the first arrow chooses that row, the next ones move from it.
    QListWidget *numbers = f.list(u"LstNumAdd"_s);
    numbers->setFocus(Qt::TabFocusReason);
    QVERIFY(numbers->hasFocus());
    QCOMPARE(f.window->boxText(1), QString());
    QTest::keyClick(numbers, Qt::Key_Down);
    QCOMPARE(f.window->boxText(1), u"r1f1"_s);
    QTest::keyClick(numbers, Qt::Key_Down);
    QCOMPARE(f.window->boxText(1), u"r2f1"_s);
    QTest::keyClick(numbers, Qt::Key_Up);
    QCOMPARE(f.window->boxText(1), u"r1f1"_s);
}

// On the shipped data, the boxes whose value is forced or sourced say so in their tooltip and to a screen
// reader alike; an empty box says nothing. Row -1: the record shown at start; -2: after a tab empties the
// panel.
void TestDetailPanel::notesOfTheShippedData_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("box");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("contains");
    const QString forced = u"Valeur imposée par le format de la base. En réalité : "_s;
    QTest::newRow("E100 at start, EU") << -1 << 6 << forced + u"Oui ("_s << u"1333/2008"_s;
    QTest::newRow("E950, EU") << 603 << 6 << forced + u"Oui ("_s << u"1333/2008"_s;
    QTest::newRow("E950, risk class") << 603 << 16 << forced << u"EFSA 2025"_s;
    QTest::newRow("E950, sourced daily intake") << 603 << 5 << u"Source : EFSA 2025"_s << QString();
    QTest::newRow("empty EU box") << -2 << 6 << QString() << QString();
    QTest::newRow("empty daily intake box") << -2 << 5 << QString() << QString();
}

void TestDetailPanel::notesOfTheShippedData()
{
    QFETCH(int, row);
    QFETCH(int, box);
    QFETCH(QString, start);
    QFETCH(QString, contains);
    ListerFixture f(*readEmbeddedResource(kDatabaseResource));
    QVERIFY(f.open());
    QTRY_COMPARE(f.window->boxText(1), u"E100"_s);
    if (row >= 0)
        f.list(u"LstNumAdd"_s)->setCurrentRow(row);
    else if (row == -2)
        QTest::mouseClick(f.find<QWidget>(u"CmdOnglet(3)"_s), Qt::LeftButton);
    QWidget *txtAdd = f.find<QWidget>(u"TxtADD(%1)"_s.arg(box));
    QCOMPARE(txtAdd->accessibleDescription(), txtAdd->toolTip());
    if (start.isEmpty()) {
        QCOMPARE(f.window->boxText(box), QString());
        QCOMPARE(txtAdd->toolTip(), QString());
        return;
    }
    QVERIFY2(txtAdd->toolTip().startsWith(start), qPrintable(txtAdd->toolTip()));
    QVERIFY2(txtAdd->toolTip().contains(contains), qPrintable(txtAdd->toolTip()));
}

QTEST_MAIN(TestDetailPanel)
#include "tst_detailpanel.moc"
