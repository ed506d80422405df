#include "rtfreader.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>
#include <QTextTable>
#include <QtTest>

#include <climits>
#include <limits>

using namespace Qt::StringLiterals;
using korvelan::readRtf;

namespace {

// Bytes of a literal, NUL bytes included.
template <std::size_t N>
QByteArray bytes(const char (&text)[N])
{
    return QByteArray(text, N - 1);
}

QByteArray fixture(const QString &name)
{
    QFile file(QStringLiteral(KORVELAN_RTF_FIXTURES) + u'/' + name);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing fixture %s", qPrintable(name));
    return file.readAll();
}

// The document's text with "|" between paragraphs, every other character as stored.
QString rawText(const QTextDocument &document)
{
    return document.toRawText().replace(QChar::ParagraphSeparator, u'|');
}

QString rawText(const QByteArray &rtf)
{
    QTextDocument document;
    readRtf(rtf, document);
    return rawText(document);
}

// The character format in the middle of the first occurrence of a text.
QTextCharFormat formatOf(const QTextDocument &document, const QString &text)
{
    QTextCursor cursor = document.find(text);
    if (cursor.isNull())
        return {};
    cursor.setPosition((cursor.selectionStart() + cursor.selectionEnd() + 1) / 2);
    return cursor.charFormat();
}

QTextBlock blockOf(const QTextDocument &document, const QString &text)
{
    const QTextCursor cursor = document.find(text);
    return cursor.isNull() ? QTextBlock() : cursor.block();
}

QList<QTextTable *> tablesOf(const QTextDocument &document)
{
    QList<QTextTable *> tables;
    for (QTextFrame *frame : document.rootFrame()->childFrames())
        if (auto *table = qobject_cast<QTextTable *>(frame))
            tables.append(table);
    return tables;
}

QString cellText(QTextTable *table, int row, int column)
{
    QTextCursor cursor = table->cellAt(row, column).firstCursorPosition();
    cursor.setPosition(table->cellAt(row, column).lastPosition(), QTextCursor::KeepAnchor);
    return cursor.selectedText();
}

QByteArray pictureHex(const char *format, QSize size = {4, 3})
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes.toHex();
}

} // namespace

class TestRtfReader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void notRtf_data();
    void notRtf();
    void text_data();
    void text();
    void characterFormat_data();
    void characterFormat();
    void fontFamily();
    void hyperlink();
    void paragraphFormat_data();
    void paragraphFormat();
    void table();
    void pictures_data();
    void pictures();
    void writers_data();
    void writers();
    void libreOfficeFormatting();
    void richEditStyle();
    void malformed_data();
    void malformed();
    void limits();
    void costlyDocumentsStayWithinLimits_data();
    void costlyDocumentsStayWithinLimits();
    void shippedDocumentsWithinLimits();
};

void TestRtfReader::notRtf_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("plain text") << QByteArray("Licence du programme");
    QTest::newRow("html") << QByteArray("<html><body>{\\rtf1 x}</body></html>");
    QTest::newRow("brace only") << QByteArray("{\\rt");
}

void TestRtfReader::notRtf()
{
    QFETCH(QByteArray, bytes);
    QTextDocument document;
    document.setPlainText(u"ancien contenu"_s);
    QVERIFY(!readRtf(bytes, document));
    QVERIFY(document.isEmpty());
}

void TestRtfReader::text_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");

    QTest::newRow("plain") << QByteArray("{\\rtf1 Bonjour}") << u"Bonjour"_s;
    QTest::newRow("white space first") << QByteArray("\xEF\xBB\xBF \r\n{\\rtf1 a}") << u"a"_s;
    QTest::newRow("paragraphs") << QByteArray("{\\rtf1 un\\par deux\\par\ntrois}") << u"un|deux|trois"_s;
    QTest::newRow("final par adds no paragraph") << QByteArray("{\\rtf1 un\\par}") << u"un"_s;
    QTest::newRow("line ends are not text") << QByteArray("{\\rtf1 a\r\nb\nc}") << u"abc"_s;
    QTest::newRow("backslash before line end") << QByteArray("{\\rtf1 a\\\nb}") << u"a|b"_s;
    QTest::newRow("escapes") << QByteArray("{\\rtf1 a\\{b\\}c\\\\d}") << u"a{b}c\\d"_s;
    QTest::newRow("spaces and hyphens") << QByteArray("{\\rtf1 a\\~b\\-c\\_d}") << u"a\u00A0b\u00ADc\u2011d"_s;
    QTest::newRow("named symbols") << QByteArray("{\\rtf1 \\bullet\\emdash\\endash\\lquote\\rquote\\ldblquote\\rdblquote}")
                                   << u"•—–‘’“”"_s;
    QTest::newRow("tab and line") << QByteArray("{\\rtf1 a\\tab b\\line c}") << u"a\tb\u2028c"_s;
    QTest::newRow("space ends a word") << QByteArray("{\\rtf1 \\b  a}") << u" a"_s;
    QTest::newRow("windows-1252 by default") << QByteArray("{\\rtf1\\ansi caf\\'e9 \\'9c\\'80\\'92}") << u"café œ€’"_s;
    QTest::newRow("windows-1250") << QByteArray("{\\rtf1\\ansi\\ansicpg1250 \\'9c\\'b9\\'e8}") << u"śąč"_s;
    QTest::newRow("windows-1251") << QByteArray("{\\rtf1\\ansi\\ansicpg1251 \\'cf\\'f0\\'e8}") << u"При"_s;
    QTest::newRow("windows-1253") << QByteArray("{\\rtf1\\ansi\\ansicpg1253 \\'e1\\'e2}") << u"αβ"_s;
    QTest::newRow("unknown code page reads as 1252") << QByteArray("{\\rtf1\\ansi\\ansicpg932 \\'e9}") << u"é"_s;
    QTest::newRow("raw high bytes") << QByteArray("{\\rtf1 caf\xe9}") << u"café"_s;
    QTest::newRow("font charset") << QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset204 Arial Cyr;}}\\f0\\'e9\\f1\\'e9}")
                                  << u"éй"_s;
    QTest::newRow("symbol font") << QByteArray("{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset2 Symbol;}}{\\f1\\'b7}\\tab x}")
                                 << u"•\tx"_s;
    QTest::newRow("wingdings private use") << QByteArray("{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1 Wingdings;}}{\\f1\\u-3844?}x}")
                                           << u"\u2713x"_s;
    QTest::newRow("unicode with fallback") << QByteArray("{\\rtf1 \\u233?t\\u233\\'e9}") << u"été"_s;
    QTest::newRow("uc0") << QByteArray("{\\rtf1\\uc0 \\u233 t}") << u"ét"_s;
    QTest::newRow("uc2") << QByteArray("{\\rtf1\\uc2 \\u339\\'6f\\'65ur}") << u"œur"_s;
    QTest::newRow("fallback may be a control word") << QByteArray("{\\rtf1 \\u8226\\bullet x}") << u"•x"_s;
    QTest::newRow("fallback ends with the group") << QByteArray("{\\rtf1\\uc3 {\\u233}x}") << u"éx"_s;
    QTest::newRow("uc is kept per group") << QByteArray("{\\rtf1 {\\uc0 \\u233}\\u233?}") << u"éé"_s;
    QTest::newRow("negative unicode") << QByteArray("{\\rtf1 \\u-10179?\\u-8704?}") << u"\U0001F600"_s;
    QTest::newRow("ignorable destination") << QByteArray("{\\rtf1 a{\\*\\inconnu secret}b}") << u"ab"_s;
    QTest::newRow("unknown word keeps text") << QByteArray("{\\rtf1 a{\\inconnu b}c}") << u"abc"_s;
    QTest::newRow("long unknown word") << QByteArray("{\\rtf1 a\\" + QByteArray(100, 'x') + "12 b}") << u"ab"_s;
    QTest::newRow("skipped destinations")
        << QByteArray("{\\rtf1{\\info{\\title T}{\\author A}}{\\stylesheet{\\s0 Normal;}}{\\header H}{\\footer F}"
                      "{\\*\\generator G}{\\listtable{\\list{\\listlevel{\\leveltext \\'01\\u8226 ?;}}}}a}")
        << u"a"_s;
    QTest::newRow("hidden text") << QByteArray("{\\rtf1 a{\\v b}c\\v d\\v0 e}") << u"ace"_s;
    QTest::newRow("binary skipped") << QByteArray("{\\rtf1 a{\\*\\x\\bin5 }{\\}x}b}") << u"ab"_s;
    QTest::newRow("binary in text") << QByteArray("{\\rtf1 a\\bin3 }{\\b}") << u"ab"_s;
    QTest::newRow("nul bytes") << bytes("{\\rtf1 a\0b\\b\0c}") << u"abc"_s;
    QTest::newRow("list text") << QByteArray("{\\rtf1{\\listtext \\u8226\\'95\\tab}Item\\par{\\listtext\\tab}Titre}")
                               << u"•\tItem|Titre"_s;
    QTest::newRow("old list text") << QByteArray("{\\rtf1{\\pntext 1.\\tab}Un{\\*\\pn\\pnlvlbody{\\pntxta .}}\\par}")
                                   << u"1.\tUn"_s;
    QTest::newRow("field result") << QByteArray("{\\rtf1{\\field{\\*\\fldinst HYPERLINK \"https://x.fr\"}{\\fldrslt lien}}}")
                                  << u"lien"_s;
    QTest::newRow("unicode alternative") << QByteArray("{\\rtf1 {\\upr{ansi}{\\*\\ud{unicode}}}}") << u"unicode"_s;
    QTest::newRow("text after the document") << QByteArray("{\\rtf1 a}b{c}") << u"a"_s;
    QTest::newRow("shape picture fallback skipped") << QByteArray("{\\rtf1 a{\\nonshppict{\\pict\\wmetafile8 0102}}b}")
                                                    << u"ab"_s;
}

void TestRtfReader::text()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    QCOMPARE(rawText(rtf), expected);
}

void TestRtfReader::characterFormat_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("word");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("italic");
    QTest::addColumn<bool>("underline");
    QTest::addColumn<bool>("strike");
    QTest::addColumn<qreal>("points");
    QTest::addColumn<QColor>("foreground");
    QTest::addColumn<QColor>("background");

    const QByteArray colours = "{\\colortbl;\\red255\\green0\\blue0;\\red255\\green255\\blue0;}";
    const QColor none;
    QTest::newRow("plain") << QByteArray("{\\rtf1 mot}") << u"mot"_s << false << false << false << false << 12.0 << none << none;
    QTest::newRow("bold") << QByteArray("{\\rtf1 a{\\b gras}b}") << u"gras"_s << true << false << false << false << 12.0 << none << none;
    QTest::newRow("group ends bold") << QByteArray("{\\rtf1 {\\b gras} normal}") << u"normal"_s << false << false << false << false << 12.0 << none << none;
    QTest::newRow("b0") << QByteArray("{\\rtf1 \\b gras\\b0  normal}") << u"normal"_s << false << false << false << false << 12.0 << none << none;
    QTest::newRow("italic") << QByteArray("{\\rtf1 \\i penche}") << u"penche"_s << false << true << false << false << 12.0 << none << none;
    QTest::newRow("i0") << QByteArray("{\\rtf1 \\i a\\i0 droit}") << u"droit"_s << false << false << false << false << 12.0 << none << none;
    QTest::newRow("underline") << QByteArray("{\\rtf1 \\ul dessous}") << u"dessous"_s << false << false << true << false << 12.0 << none << none;
    QTest::newRow("double underline") << QByteArray("{\\rtf1 \\uldb dessous}") << u"dessous"_s << false << false << true << false << 12.0 << none << none;
    QTest::newRow("ulnone") << QByteArray("{\\rtf1 \\ul a\\ulnone b}") << u"b"_s << false << false << false << false << 12.0 << none << none;
    QTest::newRow("ul0") << QByteArray("{\\rtf1 \\ul a\\ul0 b}") << u"b"_s << false << false << false << false << 12.0 << none << none;
    QTest::newRow("underline colour is not underline") << QByteArray("{\\rtf1 \\ulc1 b}") << u"b"_s << false << false << false << false << 12.0 << none << none;
    QTest::newRow("strike") << QByteArray("{\\rtf1 \\strike barre}") << u"barre"_s << false << false << false << true << 12.0 << none << none;
    QTest::newRow("strike0") << QByteArray("{\\rtf1 \\strike a\\strike0 b}") << u"b"_s << false << false << false << false << 12.0 << none << none;
    QTest::newRow("size") << QByteArray("{\\rtf1 \\fs36 grand}") << u"grand"_s << false << false << false << false << 18.0 << none << none;
    QTest::newRow("associated bold ignored") << QByteArray("{\\rtf1 \\ab\\afs40 mot}") << u"mot"_s << false << false << false << false << 12.0 << none << none;
    QTest::newRow("colour") << QByteArray("{\\rtf1" + colours + "{\\cf1 rouge}}") << u"rouge"_s << false << false << false << false << 12.0 << QColor(255, 0, 0) << none;
    QTest::newRow("cf0 is automatic") << QByteArray("{\\rtf1" + colours + "\\cf1 a\\cf0 auto}") << u"auto"_s << false << false << false << false << 12.0 << none << none;
    QTest::newRow("colour out of table") << QByteArray("{\\rtf1" + colours + "\\cf9 auto}") << u"auto"_s << false << false << false << false << 12.0 << none << none;
    QTest::newRow("highlight") << QByteArray("{\\rtf1" + colours + "{\\highlight2 jaune}}") << u"jaune"_s << false << false << false << false << 12.0 << none << QColor(255, 255, 0);
    QTest::newRow("cb") << QByteArray("{\\rtf1" + colours + "{\\cb2 jaune}}") << u"jaune"_s << false << false << false << false << 12.0 << none << QColor(255, 255, 0);
    QTest::newRow("plain resets") << QByteArray("{\\rtf1" + colours + "\\b\\i\\ul\\strike\\fs40\\cf1\\highlight2 x\\plain y}") << u"y"_s << false << false << false << false << 12.0 << none << none;
    QTest::newRow("everything") << QByteArray("{\\rtf1" + colours + "\\b\\i\\ul\\strike\\fs40\\cf1\\highlight2 x}") << u"x"_s << true << true << true << true << 20.0 << QColor(255, 0, 0) << QColor(255, 255, 0);
}

void TestRtfReader::characterFormat()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, word);
    QTextDocument document;
    QVERIFY(readRtf(rtf, document));
    const QTextCharFormat format = formatOf(document, word);
    QVERIFY2(format.isValid(), qPrintable(rawText(document)));
    QTEST(format.fontWeight() == QFont::Bold, "bold");
    QTEST(format.fontItalic(), "italic");
    QTEST(format.fontUnderline(), "underline");
    QTEST(format.fontStrikeOut(), "strike");
    QTEST(format.fontPointSize(), "points");
    QFETCH(QColor, foreground);
    QFETCH(QColor, background);
    QCOMPARE(format.hasProperty(QTextFormat::ForegroundBrush) ? format.foreground().color() : QColor(), foreground);
    QCOMPARE(format.hasProperty(QTextFormat::BackgroundBrush) ? format.background().color() : QColor(), background);
}

void TestRtfReader::fontFamily()
{
    QTextDocument document;
    readRtf("{\\rtf1\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\froman\\fcharset0 Times New Roman{\\*\\falt Times};}}"
            "a\\f1 b{\\f0 c}\\plain d\\f7 e}",
            document);
    QCOMPARE(rawText(document), u"abcde"_s);
    QCOMPARE(formatOf(document, u"a"_s).fontFamilies().toStringList(), QStringList{u"Arial"_s});
    QCOMPARE(formatOf(document, u"b"_s).fontFamilies().toStringList(), QStringList{u"Times New Roman"_s});
    QCOMPARE(formatOf(document, u"b"_s).fontStyleHint(), QFont::Serif);
    QCOMPARE(formatOf(document, u"c"_s).fontFamilies().toStringList(), QStringList{u"Arial"_s});
    QCOMPARE(formatOf(document, u"d"_s).fontFamilies().toStringList(), QStringList{u"Arial"_s});
    QVERIFY(!formatOf(document, u"e"_s).hasProperty(QTextFormat::FontFamilies));  // no such font
}

void TestRtfReader::hyperlink()
{
    QTextDocument document;
    readRtf("{\\rtf1 voir {\\field{\\*\\fldinst {HYPERLINK \"https://exemple.fr/page\" }}{\\fldrslt {\\ul le site}}} ou "
            "{\\field{\\*\\fldinst PAGE}{\\fldrslt 3}}.}",
            document);
    QCOMPARE(rawText(document), u"voir le site ou 3."_s);
    const QTextCharFormat link = formatOf(document, u"site"_s);
    QVERIFY(link.isAnchor());
    QCOMPARE(link.anchorHref(), u"https://exemple.fr/page"_s);
    QVERIFY(!formatOf(document, u"ou"_s).isAnchor());
    QVERIFY(!formatOf(document, u"3"_s).isAnchor());
}

void TestRtfReader::paragraphFormat_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("alignment");
    QTest::addColumn<QList<qreal>>("margins");  // left, right, first line, before, after in pixels

    const QList<qreal> none{0, 0, 0, 0, 0};
    QTest::newRow("left by default") << QByteArray("{\\rtf1 a\\par}") << u"a"_s << int(Qt::AlignLeft) << none;
    QTest::newRow("centred") << QByteArray("{\\rtf1\\qc a\\par}") << u"a"_s << int(Qt::AlignHCenter) << none;
    QTest::newRow("right") << QByteArray("{\\rtf1\\qr a\\par}") << u"a"_s << int(Qt::AlignRight) << none;
    QTest::newRow("justified") << QByteArray("{\\rtf1\\qj a\\par}") << u"a"_s << int(Qt::AlignJustify) << none;
    QTest::newRow("indents and spacing") << QByteArray("{\\rtf1\\li1440\\ri720\\fi-360\\sb240\\sa120 a\\par}") << u"a"_s
                                         << int(Qt::AlignLeft) << QList<qreal>{96, 48, -24, 16, 8};
    QTest::newRow("properties apply at par") << QByteArray("{\\rtf1 a\\qr\\li150\\par}") << u"a"_s << int(Qt::AlignRight)
                                             << QList<qreal>{10, 0, 0, 0, 0};
    QTest::newRow("pard resets") << QByteArray("{\\rtf1\\qc\\li720 a\\par\\pard b\\par}") << u"b"_s << int(Qt::AlignLeft) << none;
    QTest::newRow("group restores") << QByteArray("{\\rtf1{\\qc a\\par}b\\par}") << u"b"_s << int(Qt::AlignLeft) << none;
    QTest::newRow("last paragraph without par") << QByteArray("{\\rtf1 a\\par\\qc b}") << u"b"_s << int(Qt::AlignHCenter) << none;
}

void TestRtfReader::paragraphFormat()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, text);
    QFETCH(int, alignment);
    QFETCH(QList<qreal>, margins);
    QTextDocument document;
    readRtf(rtf, document);
    const QTextBlockFormat format = blockOf(document, text).blockFormat();
    QCOMPARE(int(format.alignment() & Qt::AlignHorizontal_Mask), alignment);
    const QList<qreal> actual{format.leftMargin(), format.rightMargin(), format.textIndent(), format.topMargin(),
                              format.bottomMargin()};
    QCOMPARE(actual, margins);
}

void TestRtfReader::table()
{
    // Laid out as word processors write tables: each row defines its cells, then gives them.
    QTextDocument document;
    readRtf("{\\rtf1 avant\\par"
            "\\trowd\\cellx1500\\cellx4500\\pard\\intbl un\\cell deux\\par encore\\cell\\row"
            "\\trowd\\cellx1500\\cellx4500\\pard\\intbl {\\b trois}\\cell\\cell\\row"
            "\\pard apr\\'e8s\\par}",
            document);
    const QList<QTextTable *> tables = tablesOf(document);
    QCOMPARE(tables.size(), 1);
    QTextTable *table = tables.first();
    QCOMPARE(table->rows(), 2);
    QCOMPARE(table->columns(), 2);
    QCOMPARE(cellText(table, 0, 0), u"un"_s);
    QCOMPARE(cellText(table, 0, 1), u"deux\u2029encore"_s);
    QCOMPARE(cellText(table, 1, 0), u"trois"_s);
    QCOMPARE(cellText(table, 1, 1), QString());
    QVERIFY(formatOf(document, u"trois"_s).fontWeight() == QFont::Bold);
    const QList<QTextLength> widths = table->format().columnWidthConstraints();
    QCOMPARE(widths.size(), 2);
    QCOMPARE(widths[0].rawValue(), 100.0);
    QCOMPARE(widths[1].rawValue(), 200.0);
    // The paragraphs around the table stay outside it, in order.
    QVERIFY(blockOf(document, u"avant"_s).position() < table->firstPosition());
    QVERIFY(blockOf(document, u"après"_s).position() > table->lastPosition());
    QVERIFY(!table->cellAt(blockOf(document, u"après"_s).position()).isValid());
}

void TestRtfReader::pictures_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QSizeF>("size");  // shown size in pixels, empty for no picture

    QTest::newRow("png at its size") << "{\\rtf1 a{\\pict\\pngblip " + pictureHex("PNG") + "}b}" << QSizeF(4, 3);
    QTest::newRow("png at the asked size") << "{\\rtf1 a{\\pict\\pngblip\\picwgoal1500\\pichgoal750\n" + pictureHex("PNG") + "}b}"
                                           << QSizeF(100, 50);
    QTest::newRow("scaled") << "{\\rtf1 a{\\pict\\picscalex200\\picscaley50\\pngblip " + pictureHex("PNG") + "}b}" << QSizeF(8, 1.5);
    QTest::newRow("jpeg") << "{\\rtf1 a{\\*\\shppict{\\pict{\\*\\picprop{\\sp{\\sn x}{\\sv 1}}}\\jpegblip "
                                 + pictureHex("JPG") + "}}b}"
                          << QSizeF(4, 3);
    QTest::newRow("binary png") << "{\\rtf1 a{\\pict\\pngblip\\bin" + QByteArray::number(QByteArray::fromHex(pictureHex("PNG")).size())
                                       + " " + QByteArray::fromHex(pictureHex("PNG")) + "}b}"
                                << QSizeF(4, 3);
    QTest::newRow("metafile left out") << QByteArray("{\\rtf1 a{\\pict\\wmetafile8\\picw10\\pich10 0100090000}b}") << QSizeF();
    QTest::newRow("broken png left out") << QByteArray("{\\rtf1 a{\\pict\\pngblip 89504e470d0a1a0a0000}b}") << QSizeF();
    QTest::newRow("truncated png left out") << "{\\rtf1 a{\\pict\\pngblip " + pictureHex("PNG").left(80) + "}b}" << QSizeF();
}

void TestRtfReader::pictures()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QSizeF, size);
    QTextDocument document;
    readRtf(rtf, document);
    const QString text = rawText(document);
    if (size.isEmpty()) {
        QCOMPARE(text, u"ab"_s);
        return;
    }
    QCOMPARE(text, u"a\uFFFCb"_s);
    QTextCursor cursor(&document);
    cursor.setPosition(2);
    const QTextImageFormat format = cursor.charFormat().toImageFormat();
    QVERIFY(format.isValid());
    QCOMPARE(QSizeF(format.width(), format.height()), size);
    const QImage image = document.resource(QTextDocument::ImageResource, QUrl(format.name())).value<QImage>();
    QCOMPARE(image.size(), QSize(4, 3));
}

void TestRtfReader::writers_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("phrases");
    QTest::addColumn<QString>("bold");
    QTest::addColumn<QString>("italic");
    QTest::addColumn<QString>("bulleted");
    QTest::addColumn<QString>("numbered");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("columns");
    QTest::addColumn<QString>("lastCell");

    const QStringList resume{u"Les additifs alimentaires"_s, u"Un additif alimentaire est une substance ajoutée aux denrées."_s,
                             u"« E » : l’été, la crème brûlée, le cœur du problème à Noël."_s,
                             u"Texte final — avec un tiret cadratin et des guillemets “doubles”."_s};
    const QStringList licence{u"Licence d’utilisation"_s, u"Les KORVELAN — version 1.00"_s,
                              u"L’auteur décline toute responsabilité : à vous de vérifier"_s, u"Œuvre protégée."_s,
                              u"Fin de la licence."_s};
    for (const char *writer : {"pandoc", "libreoffice"}) {
        const QString w = QString::fromLatin1(writer);
        QTest::addRow("résumé by %s", writer) << u"resume-"_s + w + u".rtf"_s << resume << u"additif alimentaire"_s
                                              << u"ajoutée"_s << u"Conservateurs"_s << u"Chercher les numéros E"_s << 3
                                              << 3 << u"Conservateur"_s;
        QTest::addRow("licence by %s", writer) << u"licence-"_s + w + u".rtf"_s << licence << u"Les KORVELAN"_s
                                               << u"tel quel"_s << u"Deuxième point"_s << u"Étape deux"_s << 2 << 2
                                               << u"Élevé"_s;
    }
}

void TestRtfReader::writers()
{
    QFETCH(QString, file);
    QFETCH(QStringList, phrases);
    QTextDocument document;
    QVERIFY(readRtf(fixture(file), document));
    const QString text = document.toPlainText();
    for (const QString &phrase : phrases)
        QVERIFY2(text.contains(phrase), qPrintable(phrase + u" not in:\n"_s + text));
    // Nothing of the tables, styles and document information that come before the text.
    for (const QString &hidden : {u"Normal"_s, u"Heading"_s, u"Times New Roman"_s, u"Helvetica"_s, u"LibreOffice"_s, u"PAGE"_s})
        QVERIFY2(!text.contains(hidden), qPrintable(hidden));

    QFETCH(QString, bold);
    QFETCH(QString, italic);
    QCOMPARE(formatOf(document, bold).fontWeight(), int(QFont::Bold));
    QVERIFY(!formatOf(document, bold).fontItalic());
    QVERIFY(formatOf(document, italic).fontItalic());
    QCOMPARE(formatOf(document, italic).fontWeight(), int(QFont::Normal));

    // List items keep the bullet or number that the writer put before them, with an indent.
    QFETCH(QString, bulleted);
    QFETCH(QString, numbered);
    const QTextBlock bulletBlock = blockOf(document, bulleted);
    QVERIFY2(bulletBlock.text().trimmed().startsWith(u'•'), qPrintable(bulletBlock.text()));
    QVERIFY(bulletBlock.blockFormat().leftMargin() > 0);
    QVERIFY(bulletBlock.blockFormat().textIndent() < 0);
    // The item's text starts at the indent, past the bullet's tab.
    document.setTextWidth(600);
    (void)document.documentLayout()->documentSize();
    const qreal textX = bulletBlock.layout()->lineAt(0).cursorToX(bulletBlock.text().indexOf(u'\t') + 1);
    QVERIFY2(qAbs(textX - bulletBlock.blockFormat().leftMargin()) < 1, qPrintable(QString::number(textX)));
    const QTextBlock numberBlock = blockOf(document, numbered);
    QVERIFY2(numberBlock.text().trimmed().startsWith(u"2."_s), qPrintable(numberBlock.text()));
    QVERIFY(numberBlock.blockFormat().leftMargin() > 0);

    QFETCH(int, rows);
    QFETCH(int, columns);
    QFETCH(QString, lastCell);
    const QList<QTextTable *> tables = tablesOf(document);
    QCOMPARE(tables.size(), 1);
    QCOMPARE(tables[0]->rows(), rows);
    QCOMPARE(tables[0]->columns(), columns);
    QCOMPARE(cellText(tables[0], 0, 0), u"Numéro"_s);
    QCOMPARE(cellText(tables[0], rows - 1, columns - 1), lastCell);
}

// Colours, alignment and the other character formats, as LibreOffice writes them from HTML.
void TestRtfReader::libreOfficeFormatting()
{
    QTextDocument document;
    QVERIFY(readRtf(fixture(u"licence-libreoffice.rtf"_s), document));
    QCOMPARE(formatOf(document, u"Texte en rouge"_s).foreground().color(), QColor(255, 0, 0));
    QCOMPARE(formatOf(document, u"texte en bleu"_s).foreground().color(), QColor(0, 0, 255));
    QVERIFY(!formatOf(document, u" et "_s).hasProperty(QTextFormat::ForegroundBrush));
    QCOMPARE(blockOf(document, u"Licence d’utilisation"_s).blockFormat().alignment(), Qt::Alignment(Qt::AlignHCenter));
    QCOMPARE(blockOf(document, u"Ce logiciel"_s).blockFormat().alignment(), Qt::Alignment(Qt::AlignJustify));
    QCOMPARE(blockOf(document, u"Texte en rouge"_s).blockFormat().alignment(), Qt::Alignment(Qt::AlignRight));
    QCOMPARE(blockOf(document, u"Fin de la licence"_s).blockFormat().alignment(), Qt::Alignment(Qt::AlignLeft));
    QCOMPARE(formatOf(document, u"Licence d’utilisation"_s).fontPointSize(), 24.0);
    QVERIFY(formatOf(document, u"Souligné"_s).fontUnderline());
    QVERIFY(formatOf(document, u"barré"_s).fontStrikeOut());
    QVERIFY(!formatOf(document, u"barré"_s).fontUnderline());
    QCOMPARE(formatOf(document, u"gras italique"_s).fontWeight(), int(QFont::Bold));
    QVERIFY(formatOf(document, u"gras italique"_s).fontItalic());
}

// The shape of what the system's simple editor writes: no groups around formatting, lists in
// the older numbering words, paragraph properties repeated for each paragraph.
void TestRtfReader::richEditStyle()
{
    QTextDocument document;
    readRtf("{\\rtf1\\ansi\\ansicpg1252\\deff0\\nouicompat\\deflang1036{\\fonttbl{\\f0\\fnil\\fcharset0 Calibri;}"
            "{\\f1\\fnil\\fcharset2 Symbol;}}\r\n"
            "{\\colortbl ;\\red255\\green0\\blue0;}\r\n"
            "{\\*\\generator Riched20 10.0.19041}\\viewkind4\\uc1 \r\n"
            "\\pard\\sa200\\sl276\\slmult1\\qc\\b\\f0\\fs22\\lang12 Titre\\b0\\par\r\n"
            "\\pard\\sa200\\sl276\\slmult1\\cf1 Texte en rouge \\'e9t\\'e9\\cf0\\par\r\n"
            "\\pard{\\pntext\\f1\\'B7\\tab}{\\*\\pn\\pnlvlblt\\pnf1\\pnindent0{\\pntxtb\\'B7}}\\fi-360\\li720\\sa200\\sl276\\slmult1 Un\\par\r\n"
            "{\\pntext\\f1\\'B7\\tab}Deux\\par\r\n"
            "\\pard\\sa200\\sl276\\slmult1\\par\r\n}\r\n\0",
            document);
    QCOMPARE(rawText(document), u"Titre|Texte en rouge été|•\tUn|•\tDeux|"_s);
    QCOMPARE(formatOf(document, u"Titre"_s).fontWeight(), int(QFont::Bold));
    QCOMPARE(formatOf(document, u"Titre"_s).fontPointSize(), 11.0);
    QCOMPARE(blockOf(document, u"Titre"_s).blockFormat().alignment(), Qt::Alignment(Qt::AlignHCenter));
    QCOMPARE(blockOf(document, u"Titre"_s).blockFormat().lineHeight(), 115.0);
    QCOMPARE(formatOf(document, u"rouge"_s).foreground().color(), QColor(255, 0, 0));
    QCOMPARE(formatOf(document, u"rouge"_s).fontWeight(), int(QFont::Normal));
    QCOMPARE(blockOf(document, u"Deux"_s).blockFormat().leftMargin(), 48.0);
}

void TestRtfReader::malformed_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");  // what the document must still show

    QTest::newRow("header only") << QByteArray("{\\rtf") << QString();
    QTest::newRow("groups left open") << QByteArray("{\\rtf1 a{b{\\b c") << u"abc"_s;
    QTest::newRow("too many closing braces") << QByteArray("{\\rtf1 a}}}}b") << u"a"_s;
    QTest::newRow("closing brace first") << QByteArray("{\\rtf1}}a") << QString();
    QTest::newRow("deep nesting")
        << QByteArray("{\\rtf1 a" + QByteArray(100000, '{') + "x" + QByteArray(100000, '}') + "b}") << u"ab"_s;
    QTest::newRow("deep nesting left open") << QByteArray("{\\rtf1 a" + QByteArray(100000, '{') + "x") << u"a"_s;
    QTest::newRow("deep table of fonts")
        << QByteArray("{\\rtf1{\\fonttbl" + QByteArray(300, '{') + "\\f0 Arial;" + QByteArray(300, '}') + "}a}") << u"a"_s;
    QTest::newRow("huge numbers")
        << QByteArray("{\\rtf1\\fs99999999999999999999 a\\li-99999999999999 b\\u99999999999 c\\uc999999999 \\cf4294967296 d}")
        << u"abd"_s;
    QTest::newRow("huge indents") << QByteArray("{\\rtf1\\li2147483647\\fi-2147483647\\sb2147483647\\tx2147483647 a\\par}") << u"a"_s;
    QTest::newRow("bin past the end") << QByteArray("{\\rtf1 a\\bin999999 xyz") << u"a"_s;
    QTest::newRow("bin huge") << QByteArray("{\\rtf1 a\\bin99999999999999999999 xyz}") << u"a"_s;
    QTest::newRow("bin negative") << QByteArray("{\\rtf1 a\\bin-5 b}") << u"ab"_s;
    QTest::newRow("truncated hex") << QByteArray("{\\rtf1 a\\'e") << u"a"_s;
    QTest::newRow("hex without digits") << QByteArray("{\\rtf1 a\\'") << u"a"_s;
    QTest::newRow("bad hex") << QByteArray("{\\rtf1 a\\'zzb}") << u"azzb"_s;
    QTest::newRow("truncated unicode") << QByteArray("{\\rtf1 a\\u") << u"a"_s;
    QTest::newRow("unicode without number") << QByteArray("{\\rtf1 a\\u-b") << u"ab"_s;
    QTest::newRow("unicode at the end") << QByteArray("{\\rtf1 a\\u233") << u"aé"_s;
    QTest::newRow("backslash at the end") << QByteArray("{\\rtf1 a\\") << u"a"_s;
    QTest::newRow("nul bytes everywhere") << bytes("{\\rtf1 \0\\b\0 a\0{\0}\\'\0b}") << u"ab"_s;
    QTest::newRow("font table left open") << QByteArray("{\\rtf1{\\fonttbl{\\f0 Arial") << QString();
    QTest::newRow("bad colour table") << QByteArray("{\\rtf1{\\colortbl;\\red300\\green-5\\blue9;}\\cf2147483647 a\\highlight-3 b}")
                                      << u"ab"_s;
    QTest::newRow("picture garbage") << QByteArray("{\\rtf1{\\pict\\pngblip 89504e47zz\\bin3 abc}a}") << u"a"_s;
    QTest::newRow("picture left open") << QByteArray("{\\rtf1 a{\\pict\\pngblip 8950") << u"a"_s;
    QTest::newRow("cells without rows") << QByteArray("{\\rtf1 a\\cell b\\cell") << u"ab"_s;
    QTest::newRow("rows without cells") << QByteArray("{\\rtf1 \\trowd\\row\\row x}") << u"x"_s;
    QTest::newRow("row left open") << QByteArray("{\\rtf1 \\trowd\\cellx100\\intbl a\\cell b") << u"ab"_s;
    QTest::newRow("cell boundaries backwards") << QByteArray("{\\rtf1 \\trowd\\cellx900\\cellx100\\cellx-5\\intbl a\\cell b\\cell c\\cell\\row}")
                                               << u"abc"_s;
    QTest::newRow("many cells in a row") << "{\\rtf1 " + QByteArray("c\\cell ").repeated(1000) + "\\row}" << u"c"_s;
    QTest::newRow("many fonts") << "{\\rtf1{\\fonttbl" + QByteArray("{\\f1 X;}").repeated(5000) + "}a}" << u"a"_s;
    QTest::newRow("upr left open") << QByteArray("{\\rtf1 {\\upr{a") << QString();
    QTest::newRow("fallback past the end") << QByteArray("{\\rtf1\\uc9 \\u233") << u"é"_s;
    QTest::newRow("ignorable mark alone") << QByteArray("{\\rtf1 \\* a{\\*}b}") << u"ab"_s;
    QTest::newRow("many paragraphs") << "{\\rtf1 " + QByteArray("\\par").repeated(1000000) + "}" << QString();
    QTest::newRow("many groups") << "{\\rtf1 " + QByteArray("{}").repeated(2000000) + "a}" << u"a"_s;
    QTest::newRow("50 MB of text") << "{\\rtf1 " + QByteArray(50 * 1024 * 1024, 'a') + "}" << QString(1000, u'a');
}

// Malformed input never crashes or hangs the reader; it shows what it could read.
void TestRtfReader::malformed()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    QElapsedTimer timer;
    timer.start();
    QTextDocument document;
    QVERIFY(readRtf(rtf, document));
    const QString text = document.toPlainText().remove(u'\n');  // table cells are lines of their own
    QVERIFY2(timer.elapsed() < 20000, qPrintable(QString::number(timer.elapsed())));
    QVERIFY2(text.contains(expected), qPrintable(text.left(200)));
    QVERIFY(text.size() <= korvelan::RtfLimits{}.maxInputBytes);
}

void TestRtfReader::limits()
{
    korvelan::RtfLimits limits;
    limits.maxGroupDepth = 3;
    limits.maxParagraphs = 2;
    QTextDocument document;
    readRtf("{\\rtf1 a{b{c{d}}}e\\par f\\par g\\par h}", document, limits);
    QCOMPARE(rawText(document), u"abce|f|g"_s);

    limits = {};
    limits.maxInputBytes = 10;
    readRtf("{\\rtf1 abcdefgh}", document, limits);
    QCOMPARE(rawText(document), u"abc"_s);

    limits = {};
    limits.maxPictures = 1;
    const QByteArray picture = "{\\pict\\pngblip " + pictureHex("PNG") + "}";
    readRtf("{\\rtf1 " + picture + picture + "}", document, limits);
    QCOMPARE(rawText(document), u"\uFFFC"_s);

    limits = {};
    limits.maxPictureBytes = 20;
    readRtf("{\\rtf1 " + picture + "x}", document, limits);
    QCOMPARE(rawText(document), u"x"_s);

    limits = {};
    limits.maxTableColumns = 2;
    readRtf("{\\rtf1 \\intbl a\\cell b\\cell c\\cell\\row}", document, limits);
    QCOMPARE(tablesOf(document).size(), 1);
    QCOMPARE(tablesOf(document)[0]->columns(), 2);
    QCOMPARE(cellText(tablesOf(document)[0], 0, 1), u"b\u2029c"_s);
}

// What a document costs to lay out and to keep: letters, the longest paragraph, runs of one
// format, table cells, decoded picture pixels and the largest letters.
struct Cost {
    int characters = 0;
    int longestParagraph = 0;
    int mostRunsInAParagraph = 0;
    int runs = 0;
    int cells = 0;
    qint64 picturePixels = 0;
    qreal largestPoints = 0;
};

Cost costOf(const QTextDocument &document)
{
    Cost cost;
    cost.characters = document.characterCount();
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        cost.longestParagraph = std::max(cost.longestParagraph, block.length() - 1);
        const QList<QTextLayout::FormatRange> runs = block.textFormats();
        cost.mostRunsInAParagraph = std::max(cost.mostRunsInAParagraph, int(runs.size()));
        cost.runs += int(runs.size());
        for (const QTextLayout::FormatRange &run : runs) {
            cost.largestPoints = std::max(cost.largestPoints, run.format.fontPointSize());
            if (run.format.isImageFormat()) {
                const QVariant image = document.resource(QTextDocument::ImageResource, QUrl(run.format.toImageFormat().name()));
                cost.picturePixels += qint64(image.value<QImage>().width()) * image.value<QImage>().height();
            }
        }
    }
    for (QTextTable *table : tablesOf(document))
        cost.cells += table->rows() * table->columns();
    return cost;
}

void TestRtfReader::costlyDocumentsStayWithinLimits_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<qint64>("picturePixels");  // at most, when less than the limit

    const QByteArray words = QByteArray("additif alimentaire colorant ").repeated(10000);
    const QByteArray picture = "{\\pict\\pngblip " + pictureHex("PNG", {2048, 2048}) + "}";
    QTest::newRow("letters 1638 points high") << QByteArray("{\\rtf1\\fs3276 grand}") << qint64(0);
    QTest::newRow("one long paragraph") << "{\\rtf1 " + words + "}" << qint64(0);
    QTest::newRow("letters without a space") << "{\\rtf1 " + QByteArray(20000, 'a') + "}" << qint64(0);
    QTest::newRow("many runs in a paragraph") << "{\\rtf1 " + QByteArray("{\\b a}{\\i b}").repeated(5000) + "}" << qint64(0);
    QTest::newRow("many runs") << "{\\rtf1 " + (QByteArray("{\\b a}{\\i b}").repeated(50) + "\\par ").repeated(500) + "}" << qint64(0);
    QTest::newRow("many short paragraphs") << "{\\rtf1 " + QByteArray("a\\par ").repeated(200000) + "}" << qint64(0);
    QTest::newRow("table of 25,000 cells")
        << "{\\rtf1 " + ("\\trowd\\cellx1000\\cellx2000\\cellx3000\\cellx4000\\cellx5000"
                           + QByteArray("\\pard\\intbl E100\\cell ").repeated(5) + "\\row\n").repeated(5000) + "}"
        << qint64(0);
    QTest::newRow("three large pictures") << "{\\rtf1 " + picture.repeated(3) + "}" << qint64(0);
    QTest::newRow("a large picture shown small")
        << "{\\rtf1 {\\pict\\pngblip\\picwgoal1500\\pichgoal750 " + pictureHex("PNG", {2048, 2048}) + "}}" << qint64(100 * 50);
}

// Whatever a document holds, what it costs to lay out and to keep stays within the limits: the
// largest letters, the text, the longest paragraph, the runs of one format, the table cells and
// the decoded pictures, which are kept at the size they are shown when that is smaller.
void TestRtfReader::costlyDocumentsStayWithinLimits()
{
    QFETCH(QByteArray, rtf);
    QFETCH(qint64, picturePixels);
    const korvelan::RtfLimits limits;
    QTextDocument document;
    QVERIFY(readRtf(rtf, document));
    const Cost cost = costOf(document);
    QVERIFY2(cost.largestPoints <= 72, qPrintable(QString::number(cost.largestPoints)));
    QVERIFY2(cost.characters <= limits.maxCharacters + limits.maxTableCells + 1, qPrintable(QString::number(cost.characters)));
    QVERIFY2(cost.longestParagraph <= limits.maxParagraphLength, qPrintable(QString::number(cost.longestParagraph)));
    QVERIFY2(cost.mostRunsInAParagraph <= limits.maxRunsPerParagraph, qPrintable(QString::number(cost.mostRunsInAParagraph)));
    QVERIFY2(cost.runs <= limits.maxRuns + document.blockCount(), qPrintable(QString::number(cost.runs)));
    // A table is laid out whole, in one step that the window waits for: a thousand cells already
    // take a tenth of a second or more.
    QVERIFY2(cost.cells <= 1000, qPrintable(QString::number(cost.cells)));
    QVERIFY2(cost.picturePixels <= (picturePixels > 0 ? picturePixels : limits.maxTotalPicturePixels),
             qPrintable(QString::number(cost.picturePixels)));
    // What fits is shown: the document is cut, not emptied.
    QVERIFY(cost.characters > 1);
}

// The program's own documents are far within every limit: the limits change nothing of them.
void TestRtfReader::shippedDocumentsWithinLimits()
{
    korvelan::RtfLimits unlimited;
    unlimited.maxParagraphs = unlimited.maxRuns = unlimited.maxRunsPerParagraph = unlimited.maxTableCells = INT_MAX;
    unlimited.maxCharacters = unlimited.maxParagraphLength = unlimited.maxInputBytes;
    unlimited.maxTotalPicturePixels = std::numeric_limits<qint64>::max();
    for (const char *name : {"Licence.rtf", "Resume.rtf"}) {
        QFile file(QStringLiteral(KORVELAN_DOCS_DIR "/") + QLatin1StringView(name));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray rtf = file.readAll();
        QTextDocument limited;
        QTextDocument whole;
        readRtf(rtf, limited);
        readRtf(rtf, whole, unlimited);
        QVERIFY(costOf(limited).largestPoints <= 72);
        QCOMPARE(limited.toHtml(), whole.toHtml());
    }
}

QTEST_MAIN(TestRtfReader)
#include "tst_rtfreader.moc"
