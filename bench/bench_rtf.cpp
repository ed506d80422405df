// How long the RTF reader takes to fill a document: a long one (about 100 KB) and a pair the
// size of the program's two documents (about 6 and 9 KB), made of the same things word
// processors write: tables of fonts, colours and styles, headings, formatted runs, accented
// letters as \'hh and \u, lists and a table. Then what the costliest documents take to read and
// to lay out whole at the width of the information page: each stays far within the second that the
// window may take to answer, whatever the document holds.
#include "rtfreader.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QByteArray>
#include <QGuiApplication>
#include <QImage>
#include <QTextDocument>

#include <benchmark/benchmark.h>

namespace {

QByteArray section(int n)
{
    const QByteArray number = QByteArray::number(n);
    QByteArray s;
    s += "\\pard\\plain \\s1\\sb240\\sa120\\keepn\\f1\\fs32\\b\\qc Partie " + number + " : les additifs\\par\n";
    s += "\\pard\\plain \\s0\\sa140\\sl276\\slmult1\\qj\\f0\\fs24 Un {\\b additif alimentaire} est une substance "
         "{\\i ajout\\'e9e} aux denr\\'e9es. L\\u8217\\'92\\u233\\'e9t\\u233\\'e9, la cr\\u232\\'e8me "
         "br\\u251\\'fbl\\u233\\'e9e, "
         "le c\\u339\\'9cur du probl\\u232\\'e8me \\u224\\'e0 No\\u235\\'ebl. {\\cf2 Texte en rouge} et {\\cf3\\ul "
         "texte "
         "soulign\\'e9 en bleu}, {\\highlight4 surlign\\'e9}, {\\strike barr\\'e9}.\\par\n";
    for (const char *item : {"Colorants", "Conservateurs", "Antioxydants"})
        s +=
            "\\pard\\plain \\s2\\li720\\fi-360\\tx720\\sa0{\\listtext\\pard\\plain \\f2 \\u8226\\'95\\tab}\\ls1 \\f0 " +
            QByteArray(item) + "\\par\n";
    for (int i = 1; i <= 3; ++i)
        s += "\\pard\\plain \\s2\\li720\\fi-360\\tx720\\sa0{\\listtext\\pard\\plain " + QByteArray::number(i) +
            ".\\tab}\\ls2 \\f0 \\u201\\'c9tape num\\'e9ro " + QByteArray::number(i) + "\\par\n";
    for (int r = 0; r < 3; ++r) {
        s += "\\trowd\\trgaph108\\cellx2000\\cellx5000\\cellx8000";
        for (int c = 0; c < 3; ++c)
            s += "\\pard\\plain \\intbl\\ql\\f0\\fs20 E" + QByteArray::number(100 * (r + 1) + c) +
                " cat\\'e9gorie\\cell";
        s += "\\row\n";
    }
    s += "\\pard\\plain \\sa140\\f0 Fin de la partie " + number +
        " \\emdash  avec des guillemets \\ldblquote doubles\\rdblquote .\\par\n";
    return s;
}

QByteArray makeDocument(qsizetype bytes)
{
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\n"
                     "{\\fonttbl{\\f0\\froman\\fcharset0 Times New Roman;}{\\f1\\fswiss\\fcharset0 Arial;}"
                     "{\\f2\\fnil\\fcharset2 Symbol;}}\n"
                     "{\\colortbl;\\red0\\green0\\blue0;\\red255\\green0\\blue0;\\red0\\green0\\blue255;"
                     "\\red255\\green255\\blue0;}\n"
                     "{\\stylesheet{\\s0 Normal;}{\\s1\\sbasedon0 heading 1;}{\\s2\\sbasedon0 List;}}\n"
                     "{\\info{\\title Document}{\\author Auteur}}\n";
    for (int n = 1; rtf.size() < bytes; ++n)
        rtf += section(n);
    return rtf + "}";
}

void readInto(benchmark::State &state, const QList<QByteArray> &documents)
{
    qint64 bytes = 0;
    for (const QByteArray &d : documents)
        bytes += d.size();
    for (auto _ : state) {
        for (const QByteArray &rtf : documents) {
            QTextDocument document;
            korvelan::readRtf(rtf, document);
            benchmark::DoNotOptimize(document.characterCount());
        }
    }
    state.SetBytesProcessed(state.iterations() * bytes);
    state.counters["KB"] = double(bytes) / 1024;
}

void BM_LongDocument(benchmark::State &state)
{
    readInto(state, {makeDocument(100 * 1024)});
}
BENCHMARK(BM_LongDocument)->Unit(benchmark::kMillisecond);

void BM_TwoShippedSizedDocuments(benchmark::State &state)
{
    readInto(state, {makeDocument(6 * 1024), makeDocument(9 * 1024)});
}
BENCHMARK(BM_TwoShippedSizedDocuments)->Unit(benchmark::kMillisecond);

QByteArray rtf(const QByteArray &body)
{
    return "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\\f0\\fs20 " + body + "}";
}

QByteArray words(qsizetype size)
{
    const QByteArray text = "additif alimentaire colorant conservateur ";
    return text.repeated(size / text.size() + 1).left(size);
}

QByteArray pictures(int count, int side)
{
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(Qt::gray);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return ("{\\pict\\pngblip " + png.toHex() + "}\\par ").repeated(count);
}

QByteArray tableRows(int cells)
{
    const QByteArray row = "\\trowd\\cellx1500\\cellx3000\\cellx4500\\cellx6000\\cellx7500" +
        QByteArray("\\pard\\intbl E100\\cell ").repeated(5) + "\\row\n";
    return row.repeated(cells / 5) + "\\pard\\par ";
}

QByteArray runParagraphs(int runs, int perParagraph)
{
    return (QByteArray("{\\b a}{\\i b}").repeated(perParagraph / 2) + "\\par\n").repeated(runs / perParagraph);
}

constexpr qsizetype kMB = 1024 * 1024;

// Read, then laid out whole at the width of the information page's box, as the view would.
void BM_CostlyDocument(benchmark::State &state, QByteArray (*make)())
{
    const QByteArray rtf = make();
    for (auto _ : state) {
        QTextDocument document;
        korvelan::readRtf(rtf, document);
        document.setTextWidth(669);
        benchmark::DoNotOptimize(document.documentLayout()->documentSize());
    }
    state.counters["MB"] = double(rtf.size()) / kMB;
}

BENCHMARK_CAPTURE(BM_CostlyDocument, letters_1638_points_32KB, [] {
    return rtf("\\fs3276 " + words(32 * 1024));
})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CostlyDocument, paragraph_8MB, [] {
    return rtf(words(8 * kMB - 100));
})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CostlyDocument, letters_without_space_8MB, [] {
    return rtf(QByteArray(8 * kMB - 100, 'a'));
})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CostlyDocument, runs_300000_one_paragraph, [] {
    return rtf(runParagraphs(300000, 300000));
})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CostlyDocument, runs_300000_paragraphs_of_100, [] {
    return rtf(runParagraphs(300000, 100));
})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CostlyDocument, table_20000_cells, [] {
    return rtf(tableRows(20000));
})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CostlyDocument, png_16_of_4096, [] {
    return rtf(pictures(16, 4096));
})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CostlyDocument, png_40_of_2048, [] {
    return rtf(pictures(40, 2048));
})->Unit(benchmark::kMillisecond);
// As much of everything as a document may hold: pictures, runs, a table short of the limit on
// cells (which stops the reading), then letters without a space up to the limit on text.
BENCHMARK_CAPTURE(BM_CostlyDocument, everything, [] {
    return rtf(pictures(4, 2048) + runParagraphs(40000, 100) + tableRows(450) + QByteArray(7 * kMB, 'x'));
})->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    // Fonts are there as they are in the program: with an application on the offscreen platform.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
