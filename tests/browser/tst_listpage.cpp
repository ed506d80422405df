// The list page's display options: the flag lists, the full lists, the marks, from the mouse and
// the keyboard.
#include "listerfixture.h"
#include "listline.h"

#include <QToolButton>

using namespace korvelan;
using namespace Qt::StringLiterals;

class TestListPage : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void options_data();
    void options();
    void fullListsKeepSelectionAndTitle();
    void optionsFromTheKeyboard();
};

void TestListPage::options_data()
{
    QTest::addColumn<int>("option");
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<int>("panelRecord");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("EU") << 2 << 6 << u" additifs autorisés dans l'UE"_s << 17 << QColor(0, 0, 255);
    QTest::newRow("France") << 3 << 7 << u" additifs autorisés en france"_s << 1 << QColor(0, 0, 192);
    QTest::newRow("organic") << 4 << 8 << u" additifs autorisés en bio"_s << 48 << QColor(0, 128, 0);
    QTest::newRow("infants") << 5 << 10 << u" additifs autorisés pour le nourrisson"_s << 97 << QColor(255, 0, 255);
    QTest::newRow("animal") << 6 << 9 << u" additifs d'origine animale"_s << 4 << QColor(128, 64, 0);
    QTest::newRow("halal") << 7 << 11 << u" additifs considérés halal"_s << 1 << QColor(255, 128, 0);
}

void TestListPage::options()
{
    QFETCH(int, option);
    QFETCH(int, field);
    QFETCH(QString, suffix);
    QFETCH(int, panelRecord);
    QFETCH(QColor, colour);
    ListerFixture f(fixtures::flagDatabase());
    QVERIFY(f.open());
    for (int round = 0; round < 2; ++round) { // the option already marked runs again
        QTest::mouseClick(f.find<QToolButton>(u"ImgD(%1)"_s.arg(option)), Qt::LeftButton);
        QListWidget *flags = f.list(u"LstTri"_s);
        const int expected = RecordCount / field; // multiples of the field number; "oui" and "Oui " fail
        QCOMPARE(flags->count(), expected);
        QCOMPARE(flags->item(0)->text(), ListLine(f.data.additives.record(field)));
        QCOMPARE(flags->item(expected - 1)->text(), ListLine(f.data.additives.record(expected * field)));
        QCOMPARE(f.window->windowTitle(), QString::number(expected) + suffix);
        QCOMPARE(flags->palette().color(QPalette::Text), colour);
        QVERIFY(flags->isVisible());
        QVERIFY(!f.list(u"LstNumAdd"_s)->isVisible());
        QVERIFY(!f.list(u"LstAlpha"_s)->isVisible());
        QCOMPARE(f.window->boxText(1), u"r%1f1"_s.arg(panelRecord));
        for (int i = 0; i < 8; ++i)
            QCOMPARE(f.find<QWidget>(u"ImgB(%1)"_s.arg(i))->isVisible(), i == option);
        QVERIFY(f.find<QWidget>(u"Foc"_s)->hasFocus());
    }
}

void TestListPage::fullListsKeepSelectionAndTitle()
{
    ListerFixture f(fixtures::flagDatabase());
    QVERIFY(f.open());
    f.list(u"LstNumAdd"_s)->setCurrentRow(7);
    QTest::mouseClick(f.find<QToolButton>(u"ImgD(2)"_s), Qt::LeftButton);
    const QString title = f.window->windowTitle();
    QTest::mouseClick(f.find<QToolButton>(u"ImgD(0)"_s), Qt::LeftButton);
    QVERIFY(f.list(u"LstNumAdd"_s)->isVisible());
    QVERIFY(!f.list(u"LstTri"_s)->isVisible());
    QCOMPARE(f.list(u"LstNumAdd"_s)->currentRow(), 7);
    QCOMPARE(f.window->windowTitle(), title);
    QCOMPARE(f.window->boxText(1), u"r1f1"_s);
    QTest::mouseClick(f.find<QToolButton>(u"ImgD(1)"_s), Qt::LeftButton);
    QVERIFY(f.list(u"LstAlpha"_s)->isVisible());
    QCOMPARE(f.window->boxText(1), u"r604f1"_s);
    QCOMPARE(f.list(u"LstTri"_s)->count(), RecordCount / 6); // hidden, its rows kept
}

void TestListPage::optionsFromTheKeyboard()
{
    ListerFixture f(fixtures::flagDatabase());
    QVERIFY(f.open());
    auto *halal = f.find<QToolButton>(u"ImgD(7)"_s);
    halal->setFocus();
    QTest::keyClick(halal, Qt::Key_Space);
    QCOMPARE(f.window->windowTitle(), u"62 additifs considérés halal"_s);
    auto *organic = f.find<QToolButton>(u"ImgD(4)"_s);
    organic->setFocus();
    QTest::keyClick(organic, Qt::Key_Return);
    QCOMPARE(f.window->windowTitle(), u"86 additifs autorisés en bio"_s);
}

QTEST_MAIN(TestListPage)
#include "tst_listpage.moc"
