// The RTF reader: plain text, characters, character and paragraph formats, links, and the
// formatting of whole documents as LibreOffice and the simple editor write them.

#include "rtffixtures.h"

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
using namespace rtffixtures;

class TestRtfReader : public QObject {
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
    void libreOfficeFormatting();
    void richEditStyle();
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
    QTest::newRow("named symbols") << QByteArray(
                                          "{\\rtf1 \\bullet\\emdash\\endash\\lquote\\rquote\\ldblquote\\rdblquote}")
                                   << u"•—–‘’“”"_s;
    QTest::newRow("tab and line") << QByteArray("{\\rtf1 a\\tab b\\line c}") << u"a\tb\u2028c"_s;
    QTest::newRow("space ends a word") << QByteArray("{\\rtf1 \\b  a}") << u" a"_s;
    QTest::newRow("windows-1252 by default") << QByteArray("{\\rtf1\\ansi caf\\'e9 \\'9c\\'80\\'92}") << u"café œ€’"_s;
    QTest::newRow("windows-1250") << QByteArray("{\\rtf1\\ansi\\ansicpg1250 \\'9c\\'b9\\'e8}") << u"śąč"_s;
    QTest::newRow("windows-1251") << QByteArray("{\\rtf1\\ansi\\ansicpg1251 \\'cf\\'f0\\'e8}") << u"При"_s;
    QTest::newRow("windows-1253") << QByteArray("{\\rtf1\\ansi\\ansicpg1253 \\'e1\\'e2}") << u"αβ"_s;
    QTest::newRow("unknown code page reads as 1252") << QByteArray("{\\rtf1\\ansi\\ansicpg932 \\'e9}") << u"é"_s;
    QTest::newRow("raw high bytes") << QByteArray("{\\rtf1 caf\xe9}") << u"café"_s;
    QTest::newRow("font charset")
        << QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset204 Arial Cyr;}}\\f0\\'e9\\f1\\'e9}")
        << u"éй"_s;
    QTest::newRow("symbol font") << QByteArray(
                                        "{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset2 Symbol;}}{\\f1\\'b7}\\tab x}")
                                 << u"•\tx"_s;
    QTest::newRow("wingdings private use")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1 Wingdings;}}{\\f1\\u-3844?}x}") << u"\u2713x"_s;
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
    QTest::newRow("field result") << QByteArray(
                                         "{\\rtf1{\\field{\\*\\fldinst HYPERLINK \"https://x.fr\"}{\\fldrslt lien}}}")
                                  << u"lien"_s;
    QTest::newRow("unicode alternative") << QByteArray("{\\rtf1 {\\upr{ansi}{\\*\\ud{unicode}}}}") << u"unicode"_s;
    QTest::newRow("text after the document") << QByteArray("{\\rtf1 a}b{c}") << u"a"_s;
    QTest::newRow("shape picture fallback skipped")
        << QByteArray("{\\rtf1 a{\\nonshppict{\\pict\\wmetafile8 0102}}b}") << u"ab"_s;
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
    QTest::newRow("plain") << QByteArray("{\\rtf1 mot}") << u"mot"_s << false << false << false << false << 12.0 << none
                           << none;
    QTest::newRow("bold") << QByteArray("{\\rtf1 a{\\b gras}b}") << u"gras"_s << true << false << false << false << 12.0
                          << none << none;
    QTest::newRow("group ends bold") << QByteArray("{\\rtf1 {\\b gras} normal}") << u"normal"_s << false << false
                                     << false << false << 12.0 << none << none;
    QTest::newRow("b0") << QByteArray("{\\rtf1 \\b gras\\b0  normal}") << u"normal"_s << false << false << false
                        << false << 12.0 << none << none;
    QTest::newRow("italic") << QByteArray("{\\rtf1 \\i penche}") << u"penche"_s << false << true << false << false
                            << 12.0 << none << none;
    QTest::newRow("i0") << QByteArray("{\\rtf1 \\i a\\i0 droit}") << u"droit"_s << false << false << false << false
                        << 12.0 << none << none;
    QTest::newRow("underline") << QByteArray("{\\rtf1 \\ul dessous}") << u"dessous"_s << false << false << true << false
                               << 12.0 << none << none;
    QTest::newRow("double underline") << QByteArray("{\\rtf1 \\uldb dessous}") << u"dessous"_s << false << false << true
                                      << false << 12.0 << none << none;
    QTest::newRow("ulnone") << QByteArray("{\\rtf1 \\ul a\\ulnone b}") << u"b"_s << false << false << false << false
                            << 12.0 << none << none;
    QTest::newRow("ul0") << QByteArray("{\\rtf1 \\ul a\\ul0 b}") << u"b"_s << false << false << false << false << 12.0
                         << none << none;
    QTest::newRow("underline colour is not underline")
        << QByteArray("{\\rtf1 \\ulc1 b}") << u"b"_s << false << false << false << false << 12.0 << none << none;
    QTest::newRow("strike") << QByteArray("{\\rtf1 \\strike barre}") << u"barre"_s << false << false << false << true
                            << 12.0 << none << none;
    QTest::newRow("strike0") << QByteArray("{\\rtf1 \\strike a\\strike0 b}") << u"b"_s << false << false << false
                             << false << 12.0 << none << none;
    QTest::newRow("size") << QByteArray("{\\rtf1 \\fs36 grand}") << u"grand"_s << false << false << false << false
                          << 18.0 << none << none;
    QTest::newRow("associated bold ignored") << QByteArray("{\\rtf1 \\ab\\afs40 mot}") << u"mot"_s << false << false
                                             << false << false << 12.0 << none << none;
    QTest::newRow("colour") << QByteArray("{\\rtf1" + colours + "{\\cf1 rouge}}") << u"rouge"_s << false << false
                            << false << false << 12.0 << QColor(255, 0, 0) << none;
    QTest::newRow("cf0 is automatic") << QByteArray("{\\rtf1" + colours + "\\cf1 a\\cf0 auto}") << u"auto"_s << false
                                      << false << false << false << 12.0 << none << none;
    QTest::newRow("colour out of table") << QByteArray("{\\rtf1" + colours + "\\cf9 auto}") << u"auto"_s << false
                                         << false << false << false << 12.0 << none << none;
    QTest::newRow("highlight") << QByteArray("{\\rtf1" + colours + "{\\highlight2 jaune}}") << u"jaune"_s << false
                               << false << false << false << 12.0 << none << QColor(255, 255, 0);
    QTest::newRow("cb") << QByteArray("{\\rtf1" + colours + "{\\cb2 jaune}}") << u"jaune"_s << false << false << false
                        << false << 12.0 << none << QColor(255, 255, 0);
    QTest::newRow("plain resets") << QByteArray("{\\rtf1" + colours +
                                                "\\b\\i\\ul\\strike\\fs40\\cf1\\highlight2 x\\plain y}")
                                  << u"y"_s << false << false << false << false << 12.0 << none << none;
    QTest::newRow("everything") << QByteArray("{\\rtf1" + colours + "\\b\\i\\ul\\strike\\fs40\\cf1\\highlight2 x}")
                                << u"x"_s << true << true << true << true << 20.0 << QColor(255, 0, 0)
                                << QColor(255, 255, 0);
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
    QVERIFY(!formatOf(document, u"e"_s).hasProperty(QTextFormat::FontFamilies)); // no such font
}

void TestRtfReader::hyperlink()
{
    QTextDocument document;
    readRtf(
        "{\\rtf1 voir {\\field{\\*\\fldinst {HYPERLINK \"https://exemple.fr/page\" }}{\\fldrslt {\\ul le site}}} ou "
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
    QTest::addColumn<QList<qreal>>("margins"); // left, right, first line, before, after in pixels

    const QList<qreal> none{0, 0, 0, 0, 0};
    QTest::newRow("left by default") << QByteArray("{\\rtf1 a\\par}") << u"a"_s << int(Qt::AlignLeft) << none;
    QTest::newRow("centred") << QByteArray("{\\rtf1\\qc a\\par}") << u"a"_s << int(Qt::AlignHCenter) << none;
    QTest::newRow("right") << QByteArray("{\\rtf1\\qr a\\par}") << u"a"_s << int(Qt::AlignRight) << none;
    QTest::newRow("justified") << QByteArray("{\\rtf1\\qj a\\par}") << u"a"_s << int(Qt::AlignJustify) << none;
    QTest::newRow("indents and spacing") << QByteArray("{\\rtf1\\li1440\\ri720\\fi-360\\sb240\\sa120 a\\par}") << u"a"_s
                                         << int(Qt::AlignLeft) << QList<qreal>{96, 48, -24, 16, 8};
    QTest::newRow("properties apply at par")
        << QByteArray("{\\rtf1 a\\qr\\li150\\par}") << u"a"_s << int(Qt::AlignRight) << QList<qreal>{10, 0, 0, 0, 0};
    QTest::newRow("pard resets") << QByteArray("{\\rtf1\\qc\\li720 a\\par\\pard b\\par}") << u"b"_s
                                 << int(Qt::AlignLeft) << none;
    QTest::newRow("group restores") << QByteArray("{\\rtf1{\\qc a\\par}b\\par}") << u"b"_s << int(Qt::AlignLeft)
                                    << none;
    QTest::newRow("last paragraph without par")
        << QByteArray("{\\rtf1 a\\par\\qc b}") << u"b"_s << int(Qt::AlignHCenter) << none;
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
            "\\pard{\\pntext\\f1\\'B7\\tab}{\\*\\pn\\pnlvlblt\\pnf1\\pnindent0{\\pntxtb\\'B7}}\\fi-"
            "360\\li720\\sa200\\sl276\\slmult1 Un\\par\r\n"
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

QTEST_MAIN(TestRtfReader)
#include "tst_rtfreader.moc"
