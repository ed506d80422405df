// The RTF reader on malformed and costly input: it never crashes or hangs, and keeps within its limits.

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

class TestRtfLimits : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void malformed_data();
    void malformed();
    void limits();
    void costlyDocumentsStayWithinLimits_data();
    void costlyDocumentsStayWithinLimits();
    void layoutStaysBounded_data();
    void layoutStaysBounded();
    void shippedDocumentsWithinLimits();
};

void TestRtfLimits::malformed_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected"); // what the document must still show

    QTest::newRow("header only") << QByteArray("{\\rtf") << QString();
    QTest::newRow("groups left open") << QByteArray("{\\rtf1 a{b{\\b c") << u"abc"_s;
    QTest::newRow("too many closing braces") << QByteArray("{\\rtf1 a}}}}b") << u"a"_s;
    QTest::newRow("closing brace first") << QByteArray("{\\rtf1}}a") << QString();
    QTest::newRow("deep nesting") << QByteArray("{\\rtf1 a" + QByteArray(100000, '{') + "x" + QByteArray(100000, '}') +
                                                "b}")
                                  << u"ab"_s;
    QTest::newRow("deep nesting left open") << QByteArray("{\\rtf1 a" + QByteArray(100000, '{') + "x") << u"a"_s;
    QTest::newRow("deep table of fonts") << QByteArray("{\\rtf1{\\fonttbl" + QByteArray(300, '{') + "\\f0 Arial;" +
                                                       QByteArray(300, '}') + "}a}")
                                         << u"a"_s;
    QTest::newRow("huge numbers")
        << QByteArray(
               "{\\rtf1\\fs99999999999999999999 a\\li-99999999999999 b\\u99999999999 c\\uc999999999 \\cf4294967296 d}")
        << u"abd"_s;
    QTest::newRow("huge indents") << QByteArray(
                                         "{\\rtf1\\li2147483647\\fi-2147483647\\sb2147483647\\tx2147483647 a\\par}")
                                  << u"a"_s;
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
    QTest::newRow("bad colour table")
        << QByteArray("{\\rtf1{\\colortbl;\\red300\\green-5\\blue9;}\\cf2147483647 a\\highlight-3 b}") << u"ab"_s;
    QTest::newRow("picture garbage") << QByteArray("{\\rtf1{\\pict\\pngblip 89504e47zz\\bin3 abc}a}") << u"a"_s;
    QTest::newRow("picture left open") << QByteArray("{\\rtf1 a{\\pict\\pngblip 8950") << u"a"_s;
    QTest::newRow("cells without rows") << QByteArray("{\\rtf1 a\\cell b\\cell") << u"ab"_s;
    QTest::newRow("rows without cells") << QByteArray("{\\rtf1 \\trowd\\row\\row x}") << u"x"_s;
    QTest::newRow("row left open") << QByteArray("{\\rtf1 \\trowd\\cellx100\\intbl a\\cell b") << u"ab"_s;
    QTest::newRow("cell boundaries backwards")
        << QByteArray("{\\rtf1 \\trowd\\cellx900\\cellx100\\cellx-5\\intbl a\\cell b\\cell c\\cell\\row}") << u"abc"_s;
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
void TestRtfLimits::malformed()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    QElapsedTimer timer;
    timer.start();
    QTextDocument document;
    QVERIFY(readRtf(rtf, document));
    const QString text = document.toPlainText().remove(u'\n'); // table cells are lines of their own
    QVERIFY2(timer.elapsed() < 20000, qPrintable(QString::number(timer.elapsed())));
    QVERIFY2(text.contains(expected), qPrintable(text.left(200)));
    QVERIFY(text.size() <= korvelan::RtfLimits{}.maxInputBytes);
}

void TestRtfLimits::limits()
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
                const QVariant image =
                    document.resource(QTextDocument::ImageResource, QUrl(run.format.toImageFormat().name()));
                cost.picturePixels += qint64(image.value<QImage>().width()) * image.value<QImage>().height();
            }
        }
    }
    for (QTextTable *table : tablesOf(document))
        cost.cells += table->rows() * table->columns();
    return cost;
}

void TestRtfLimits::costlyDocumentsStayWithinLimits_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<qint64>("picturePixels"); // at most, when less than the limit

    const QByteArray words = QByteArray("additif alimentaire colorant ").repeated(10000);
    const QByteArray picture = "{\\pict\\pngblip " + pictureHex("PNG", {2048, 2048}) + "}";
    QTest::newRow("letters 1638 points high") << QByteArray("{\\rtf1\\fs3276 grand}") << qint64(0);
    QTest::newRow("one long paragraph") << "{\\rtf1 " + words + "}" << qint64(0);
    QTest::newRow("letters without a space") << "{\\rtf1 " + QByteArray(20000, 'a') + "}" << qint64(0);
    QTest::newRow("many runs in a paragraph")
        << "{\\rtf1 " + QByteArray("{\\b a}{\\i b}").repeated(5000) + "}" << qint64(0);
    QTest::newRow("many runs") << "{\\rtf1 " + (QByteArray("{\\b a}{\\i b}").repeated(50) + "\\par ").repeated(500) +
            "}" << qint64(0);
    QTest::newRow("many short paragraphs") << "{\\rtf1 " + QByteArray("a\\par ").repeated(200000) + "}" << qint64(0);
    QTest::newRow("table of 25,000 cells") << "{\\rtf1 " +
            ("\\trowd\\cellx1000\\cellx2000\\cellx3000\\cellx4000\\cellx5000" +
             QByteArray("\\pard\\intbl E100\\cell ").repeated(5) + "\\row\n")
                .repeated(5000) +
            "}" << qint64(0);
    QTest::newRow("three large pictures") << "{\\rtf1 " + picture.repeated(3) + "}" << qint64(0);
    QTest::newRow("a large picture shown small")
        << "{\\rtf1 {\\pict\\pngblip\\picwgoal1500\\pichgoal750 " + pictureHex("PNG", {2048, 2048}) + "}}"
        << qint64(100 * 50);
}

// Whatever a document holds, what it costs to lay out and to keep stays within the limits: the
// largest letters, the text, the longest paragraph, the runs of one format, the table cells and
// the decoded pictures, which are kept at the size they are shown when that is smaller.
void TestRtfLimits::costlyDocumentsStayWithinLimits()
{
    QFETCH(QByteArray, rtf);
    QFETCH(qint64, picturePixels);
    const korvelan::RtfLimits limits;
    QTextDocument document;
    QVERIFY(readRtf(rtf, document));
    const Cost cost = costOf(document);
    QVERIFY2(cost.largestPoints <= 72, qPrintable(QString::number(cost.largestPoints)));
    QVERIFY2(cost.characters <= limits.maxCharacters + limits.maxTableCells + 1,
             qPrintable(QString::number(cost.characters)));
    QVERIFY2(cost.longestParagraph <= limits.maxParagraphLength, qPrintable(QString::number(cost.longestParagraph)));
    QVERIFY2(cost.mostRunsInAParagraph <= limits.maxRunsPerParagraph,
             qPrintable(QString::number(cost.mostRunsInAParagraph)));
    QVERIFY2(cost.runs <= limits.maxRuns + document.blockCount(), qPrintable(QString::number(cost.runs)));
    // A table is laid out whole, in one step that the window waits for: a thousand cells already
    // take a tenth of a second or more.
    QVERIFY2(cost.cells <= 1000, qPrintable(QString::number(cost.cells)));
    QVERIFY2(cost.picturePixels <= (picturePixels > 0 ? picturePixels : limits.maxTotalPicturePixels),
             qPrintable(QString::number(cost.picturePixels)));
    // What fits is shown: the document is cut, not emptied.
    QVERIFY(cost.characters > 1);
}

constexpr double kTwipsPerPixel = 15; // at 96 dots per inch

// The longest run of combining marks (and joiners) after one character: the layout of a cluster
// costs the square of its length.
int longestCluster(const QString &text)
{
    int longest = 0, marks = 0;
    for (QChar c : text) {
        const bool extends = c.isMark() || c == QChar(0x200C) || c == QChar(0x200D);
        marks = extends ? marks + 1 : 0;
        longest = std::max(longest, marks);
    }
    return longest;
}

void TestRtfLimits::layoutStaysBounded_data()
{
    QTest::addColumn<QByteArray>("rtf");

    const auto paragraphs = [](const QByteArray &paragraph, int count) {
        return "{\\rtf1 " + paragraph.repeated(count) + "}";
    };
    const auto cells = [](int count, int paragraphsEach) {
        return "{\\rtf1 " +
            ("\\trowd\\cellx5000\\pard\\intbl " + QByteArray("x\\par ").repeated(paragraphsEach - 1) + "x\\cell\\row\n")
                .repeated(count) +
            "}";
    };
    QTest::newRow("largest spacing before, after and between lines")
        << paragraphs("\\pard\\sb31680\\sa31680\\sl31680 x\\par\n", 2000);
    QTest::newRow("largest spacing before") << paragraphs("\\pard\\sb31680 x\\par\n", 6500);
    QTest::newRow("largest spacing after") << paragraphs("\\pard\\sa31680 x\\par\n", 6500);
    QTest::newRow("largest exact line height") << paragraphs("\\pard\\sl-31680 x\\par\n", 6500);
    QTest::newRow("many paragraphs with spacing after") << paragraphs("\\pard\\sa3000 x\\par\n", 99000);
    QTest::newRow("one cell of 49,000 paragraphs") << cells(1, 49000);
    QTest::newRow("499 cells of 100 paragraphs") << cells(499, 100);
    QTest::newRow("a cell of 100 paragraphs and a picture, left open") << "{\\rtf1 \\trowd\\cellx5000\\pard\\intbl " +
            QByteArray("x\\par ").repeated(100) + "{\\pict\\pngblip " + pictureHex("PNG") + "}";
    QTest::newRow("a letter and 4,998 combining accents")
        << paragraphs("a" + QByteArray("\\u769?").repeated(4998) + "\\par\n", 20);
    QTest::newRow("a letter and 5,000 joiners")
        << paragraphs("a" + QByteArray("\\u8205?").repeated(5000) + "\\par\n", 20);
    QTest::newRow("2,000,000 paragraph ends") << paragraphs("\\par", 2000000);
    QTest::newRow("letters 72 points high")
        << paragraphs("\\fs144 " + QByteArray("mot ").repeated(4000) + "\\par\n", 25);
}

// Whatever a document holds, the layout it asks for stays bounded: the height its paragraphs take,
// the paragraphs of a table and of one cell, the combining marks of one letter, and the paragraphs
// in all, so that the window lays it out as quickly as the program's own documents.
void TestRtfLimits::layoutStaysBounded()
{
    QFETCH(QByteArray, rtf);
    const korvelan::RtfLimits limits;
    QTextDocument document;
    QVERIFY(readRtf(rtf, document));
    QVERIFY2(document.blockCount() <= limits.maxParagraphs + limits.maxTableCells + 2,
             qPrintable(QString::number(document.blockCount())));
    QVERIFY2(longestCluster(document.toRawText()) <= limits.maxMarksPerCluster,
             qPrintable(QString::number(longestCluster(document.toRawText()))));
    int tableParagraphs = 0;
    for (QTextTable *table : tablesOf(document))
        for (int r = 0; r < table->rows(); ++r)
            for (int c = 0; c < table->columns(); ++c) {
                const QTextTableCell cell = table->cellAt(r, c);
                const int count =
                    cell.lastCursorPosition().blockNumber() - cell.firstCursorPosition().blockNumber() + 1;
                QVERIFY2(count <= limits.maxParagraphsPerCell, qPrintable(QString::number(count)));
                tableParagraphs += count;
            }
    QVERIFY2(tableParagraphs <= limits.maxTableParagraphs, qPrintable(QString::number(tableParagraphs)));
    // The spacing the paragraphs ask for, before anything is laid out.
    const double page = limits.maxSpacing / kTwipsPerPixel;
    double spacing = 0;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QTextBlockFormat format = block.blockFormat();
        QVERIFY(format.topMargin() <= page && format.bottomMargin() <= page);
        QVERIFY(format.lineHeightType() == QTextBlockFormat::ProportionalHeight || format.lineHeight() <= page);
        spacing += format.topMargin() + format.bottomMargin() + format.lineHeight();
    }
    const double height = limits.maxHeight / kTwipsPerPixel;
    QVERIFY2(spacing <= height + 3 * page, qPrintable(QString::number(spacing))); // the last paragraph's
    // And laid out at the width of the box that shows a document, the height it takes: the last
    // paragraph may go past the limit, by a page at most.
    document.setTextWidth(669);
    const double laidOut = document.documentLayout()->documentSize().height();
    QVERIFY2(laidOut <= height + page, qPrintable(QString::number(laidOut)));
    QVERIFY(document.characterCount() > 1); // cut, not emptied
}

// The program's own documents are far within every limit: the limits change nothing of them.
void TestRtfLimits::shippedDocumentsWithinLimits()
{
    korvelan::RtfLimits unlimited;
    unlimited.maxParagraphs = unlimited.maxRuns = unlimited.maxRunsPerParagraph = unlimited.maxTableCells = INT_MAX;
    unlimited.maxCharacters = unlimited.maxParagraphLength = unlimited.maxInputBytes;
    unlimited.maxTotalPicturePixels = unlimited.maxHeight = std::numeric_limits<qint64>::max();
    unlimited.maxParagraphsPerCell = unlimited.maxTableParagraphs = unlimited.maxMarksPerCluster = INT_MAX;
    unlimited.maxSpacing = INT_MAX;
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

QTEST_MAIN(TestRtfLimits)
#include "tst_rtflimits.moc"
