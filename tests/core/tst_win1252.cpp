#include "win1252.h"

#include <QTest>

using namespace korvelan;

class TestWin1252 : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void namedBytes_data();
    void namedBytes();
    void everyByteMatchesTheCodePage();
    void decodesAWholeText();
};

void TestWin1252::namedBytes_data()
{
    QTest::addColumn<int>("byte");
    QTest::addColumn<int>("expected");
    QTest::newRow("right single quote") << 0x92 << 0x2019;
    QTest::newRow("oe ligature") << 0x9C << 0x0153;
    QTest::newRow("no-break space stays one") << 0xA0 << 0x00A0;
    QTest::newRow("euro") << 0x80 << 0x20AC;
    QTest::newRow("degree") << 0xB0 << 0x00B0;
    QTest::newRow("e acute") << 0xE9 << 0x00E9;
    QTest::newRow("undefined 0x81") << 0x81 << 0x0081;
    QTest::newRow("undefined 0x9D") << 0x9D << 0x009D;
    QTest::newRow("NUL") << 0x00 << 0x0000;
}

void TestWin1252::namedBytes()
{
    QFETCH(int, byte);
    QFETCH(int, expected);
    QCOMPARE(int(windows1252ToUnicode(static_cast<unsigned char>(byte))), expected);
}

// Reference: the code page as published, written out as characters. Every byte outside 0x80-0x9F is
// the code point of the same value; the five undefined bytes stand for the C1 controls.
void TestWin1252::everyByteMatchesTheCodePage()
{
    const QString high = QStringLiteral(u"€\u0081‚ƒ„…†‡ˆ‰Š‹Œ\u008DŽ\u008F\u0090‘’“”•–—˜™š›œ\u009DžŸ");
    QCOMPARE(high.size(), 32);
    for (int byte = 0; byte < 256; ++byte) {
        const char16_t expected = byte >= 0x80 && byte < 0xA0 ? high[byte - 0x80].unicode() : char16_t(byte);
        QVERIFY2(windows1252ToUnicode(static_cast<unsigned char>(byte)) == expected,
                 qPrintable(QString::number(byte, 16)));
        const char one = static_cast<char>(byte);
        QCOMPARE(decodeWindows1252(QByteArrayView(&one, 1)), QString(QChar(expected)));
    }
}

void TestWin1252::decodesAWholeText()
{
    QCOMPARE(decodeWindows1252("\x9C"
                               "d\xE8mes l\x92"
                               "eau\xA0?"),
             QStringLiteral(u"œdèmes l’eau\u00A0?"));
    QCOMPARE(decodeWindows1252(QByteArrayView()), QString());
    QCOMPARE(decodeWindows1252(QByteArray("a\0b", 3)).size(), 3);
}

QTEST_APPLESS_MAIN(TestWin1252)
#include "tst_win1252.moc"
