#include "frmbdem.h"
#include "geometry.h"

#include <QFontInfo>
#include <QTest>

using namespace korvelan;

class TestGeometry : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void twips_data();
    void twips();
    void colours_data();
    void colours();
    void splashPlacement_data();
    void splashPlacement();
    void mainWindowIsCentred_data();
    void mainWindowIsCentred();
    void fontsFallBackToInstalledFamilies_data();
    void fontsFallBackToInstalledFamilies();
};

void TestGeometry::twips_data()
{
    QTest::addColumn<double>("twips");
    QTest::addColumn<int>("pixels");
    QTest::newRow("one pixel") << 15.0 << 1;
    QTest::newRow("main window width") << 15060.0 << 1004;
    QTest::newRow("main window height") << 10200.0 << 680;
    QTest::newRow("splash width") << 5475.0 << 365;
    QTest::newRow("splash height") << 4305.0 << 287;
    QTest::newRow("half a pixel rounds up") << 7.5 << 1;
    QTest::newRow("a little less rounds down") << 7.4 << 0;
    QTest::newRow("quarter-screen top") << 2973.75 << 198;
}

void TestGeometry::twips()
{
    QFETCH(double, twips);
    QFETCH(int, pixels);
    QCOMPARE(twipsToPixels(twips), pixels);
}

// The colour values of the windows, written 0x00BBGGRR, and what they are on screen.
void TestGeometry::colours_data()
{
    QTest::addColumn<quint32>("value");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("red") << quint32(0x0000FF) << QColor(255, 0, 0);
    QTest::newRow("blue") << quint32(0xFF0000) << QColor(0, 0, 255);
    QTest::newRow("orange") << quint32(0x0080FF) << QColor(255, 128, 0);
    QTest::newRow("brown") << quint32(0x004080) << QColor(128, 64, 0);
    QTest::newRow("dark red") << quint32(0x000080) << QColor(128, 0, 0);
    QTest::newRow("dark blue") << quint32(0xC00000) << QColor(0, 0, 192);
    QTest::newRow("button grey") << quint32(0xE3DFE0) << QColor(224, 223, 227);
    QTest::newRow("top byte ignored") << quint32(0xFF008000) << QColor(0, 128, 0);
}

void TestGeometry::colours()
{
    QFETCH(quint32, value);
    QFETCH(QColor, colour);
    QCOMPARE(bgrColor(value), colour);
}

void TestGeometry::splashPlacement_data()
{
    QTest::addColumn<QSizeF>("screen");
    QTest::addColumn<QRectF>("expected");
    QTest::newRow("1920 by 1080") << QSizeF(28800, 16200) << QRectF(11662.5, 2973.75, 5475, 4305);
    QTest::newRow("1024 by 768") << QSizeF(15360, 11520) << QRectF(4942.5, 1803.75, 5475, 4305);
    QTest::newRow("800 by 600") << QSizeF(12000, 9000) << QRectF(3262.5, 1173.75, 5475, 4305);
    // The top-left corner stays on the screen, so that the window can be seen and moved.
    QTest::newRow("screen smaller than the window") << QSizeF(3000, 3000) << QRectF(0, 0, 5475, 4305);
    QTest::newRow("screen too low only") << QSizeF(6000, 3600) << QRectF(262.5, 0, 5475, 4305);
}

void TestGeometry::splashPlacement()
{
    QFETCH(QSizeF, screen);
    QFETCH(QRectF, expected);
    QCOMPARE(splashGeometry(screen), expected);
}

void TestGeometry::mainWindowIsCentred_data()
{
    QTest::addColumn<QSizeF>("screen");
    QTest::addColumn<QPointF>("expected");
    QTest::newRow("1920 by 1080") << QSizeF(28800, 16200) << QPointF(6870, 3000);
    QTest::newRow("1024 by 768") << QSizeF(15360, 11520) << QPointF(150, 660);
    QTest::newRow("1920 by 1080 at scale 2") << QSizeF(14400, 8100) << QPointF(0, 0);
    QTest::newRow("800 by 600") << QSizeF(12000, 9000) << QPointF(0, 0);
    QTest::newRow("1280 by 600") << QSizeF(19200, 9000) << QPointF(2070, 0);
}

void TestGeometry::mainWindowIsCentred()
{
    QFETCH(QSizeF, screen);
    QFETCH(QPointF, expected);
    QCOMPARE(placeOnScreen(screen, QSizeF(15060, 10200), 2.0), expected);
}

void TestGeometry::fontsFallBackToInstalledFamilies_data()
{
    QTest::addColumn<int>("face");
    QTest::addColumn<bool>("fixedPitch");
    QTest::newRow("Arial") << int(FontFace::Arial) << false;
    QTest::newRow("Courier New") << int(FontFace::CourierNew) << true;
    QTest::newRow("MS Sans Serif") << int(FontFace::MsSansSerif) << false;
    QTest::newRow("Verdana") << int(FontFace::Verdana) << false;
    QTest::newRow("Calibri") << int(FontFace::Calibri) << false;
    QTest::newRow("fixed pitch") << int(FontFace::FixedPitch) << true;
}

void TestGeometry::fontsFallBackToInstalledFamilies()
{
    QFETCH(int, face);
    QFETCH(bool, fixedPitch);
    const QFont font = programFont(FontFace(face), 12);
    QCOMPARE(font.pixelSize(), 16);
    const QFontInfo info(font);
    QCOMPARE(info.fixedPitch(), fixedPitch);
    QVERIFY2(font.families().contains(info.family()), qPrintable(info.family()));
}

QTEST_MAIN(TestGeometry)
#include "tst_geometry.moc"
