// The pictures embedded in the program and the two documents delivered beside it.

#include <QColor>
#include <QFile>
#include <QImage>
#include <QObject>
#include <QString>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QImage picture(const QString &name)
{
    return QImage(u":/pictures/"_s + name);
}

// Gray level of the centre pixel, transparent parts counted as the window's light grey.
int centreGray(const QImage &image)
{
    const QColor c = image.pixelColor(image.width() / 2, image.height() / 2);
    const double a = c.alphaF();
    return qRound(qGray(c.rgb()) * a + 0xE0 * (1.0 - a));
}

} // namespace

class TstDeliveredFiles : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void windowPictures_data();
    void windowPictures();
    void optionMarksShowTheChoice();
    void applicationIcon_data();
    void applicationIcon();
    void windowIcon();
    void documents_data();
    void documents();
};

void TstDeliveredFiles::windowPictures_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("opaque");

    QTest::newRow("splash logo") << u"logo_splash"_s << QSize(345, 48) << true;
    QTest::newRow("about logo") << u"logo_about"_s << QSize(423, 47) << true;
    QTest::newRow("option not chosen") << u"option_off"_s << QSize(20, 20) << false;
    QTest::newRow("option chosen") << u"option_on"_s << QSize(20, 20) << false;
    QTest::newRow("information mark") << u"info"_s << QSize(13, 15) << false;
}

// Every window picture has its exact size and a twin at twice the size for high-DPI screens; the
// logos are plain 24-bit pictures like the windows they sit on.
void TstDeliveredFiles::windowPictures()
{
    QFETCH(QString, name);
    QFETCH(QSize, size);
    QFETCH(bool, opaque);

    const QImage normal = picture(name + u".png"_s);
    const QImage doubled = picture(name + u"@2x.png"_s);
    QVERIFY2(!normal.isNull(), qPrintable(name));
    QVERIFY2(!doubled.isNull(), qPrintable(name + u"@2x"_s));
    QCOMPARE(normal.size(), size);
    QCOMPARE(doubled.size(), size * 2);
    if (opaque) {
        QVERIFY(!normal.hasAlphaChannel());
        QVERIFY(!doubled.hasAlphaChannel());
    }
}

// The chosen mark covers the empty one, so the two must tell apart at a glance: a dark ball in the
// middle of one, a light well in the other.
void TstDeliveredFiles::optionMarksShowTheChoice()
{
    for (const QString &suffix : {u".png"_s, u"@2x.png"_s}) {
        const int chosen = centreGray(picture(u"option_on"_s + suffix));
        const int empty = centreGray(picture(u"option_off"_s + suffix));
        QVERIFY2(chosen < 100, qPrintable(suffix));
        QVERIFY2(empty > 200, qPrintable(suffix));
    }
}

void TstDeliveredFiles::applicationIcon_data()
{
    QTest::addColumn<int>("size");
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        QTest::addRow("%d px", size) << size;
}

void TstDeliveredFiles::applicationIcon()
{
    QFETCH(int, size);
    const QImage icon = picture(u"korvelan_%1.png"_s.arg(size));
    QVERIFY(!icon.isNull());
    QCOMPARE(icon.size(), QSize(size, size));
}

// The windows take their icon from the scalable picture, which must be embedded with the others.
void TstDeliveredFiles::windowIcon()
{
    const QByteArray svg = readAll(u":/pictures/korvelan.svg"_s);
    QVERIFY(svg.contains("<svg"));
}

void TstDeliveredFiles::documents_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("about page") << u"Licence.rtf"_s;
    QTest::newRow("information page") << u"Resume.rtf"_s;
}

// Both documents are 7-bit RTF in Windows-1252 whose groups all close, and the build has put the
// same bytes beside the program, where it reads them.
void TstDeliveredFiles::documents()
{
    QFETCH(QString, name);
    const QByteArray rtf = readAll(QStringLiteral(KORVELAN_DOCS_SOURCE_DIR "/") + name);
    QVERIFY2(!rtf.isEmpty(), qPrintable(name));

    QVERIFY(rtf.startsWith("{\\rtf1\\ansi"));
    QVERIFY(rtf.contains("\\ansicpg1252"));

    for (qsizetype i = 0; i < rtf.size(); ++i) {
        if (static_cast<unsigned char>(rtf[i]) >= 0x80)
            QFAIL(qPrintable(u"byte above 0x7F at offset %1"_s.arg(i)));
    }

    int depth = 0;
    qsizetype closedAt = -1;
    for (qsizetype i = 0; i < rtf.size(); ++i) {
        const char c = rtf[i];
        if (c == '\\') {
            ++i; // an escaped brace or backslash is text
        } else if (c == '{') {
            QVERIFY2(closedAt < 0, "text after the document's closing brace");
            ++depth;
        } else if (c == '}') {
            QVERIFY2(depth > 0, qPrintable(u"unmatched closing brace at offset %1"_s.arg(i)));
            if (--depth == 0)
                closedAt = i;
        }
    }
    QCOMPARE(depth, 0);
    QCOMPARE(rtf.mid(closedAt + 1).trimmed(), QByteArray());

    QCOMPARE(readAll(QStringLiteral(KORVELAN_PROGRAM_DIR "/") + name), rtf);
}

QTEST_MAIN(TstDeliveredFiles)
#include "tst_delivered_files.moc"
