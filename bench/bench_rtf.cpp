// How long the RTF reader takes to fill a document: a long one (about 100 KB) and a pair the
// size of the program's two documents (about 6 and 9 KB), made of the same things word
// processors write: tables of fonts, colours and styles, headings, formatted runs, accented
// letters as \'hh and \u, lists and a table.
#include "rtfreader.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QTextDocument>

#include <benchmark/benchmark.h>

namespace {

QByteArray section(int n)
{
    const QByteArray number = QByteArray::number(n);
    QByteArray s;
    s += "\\pard\\plain \\s1\\sb240\\sa120\\keepn\\f1\\fs32\\b\\qc Partie " + number + " : les additifs\\par\n";
    s += "\\pard\\plain \\s0\\sa140\\sl276\\slmult1\\qj\\f0\\fs24 Un {\\b additif alimentaire} est une substance "
         "{\\i ajout\\'e9e} aux denr\\'e9es. L\\u8217\\'92\\u233\\'e9t\\u233\\'e9, la cr\\u232\\'e8me br\\u251\\'fbl\\u233\\'e9e, "
         "le c\\u339\\'9cur du probl\\u232\\'e8me \\u224\\'e0 No\\u235\\'ebl. {\\cf2 Texte en rouge} et {\\cf3\\ul texte "
         "soulign\\'e9 en bleu}, {\\highlight4 surlign\\'e9}, {\\strike barr\\'e9}.\\par\n";
    for (const char *item : {"Colorants", "Conservateurs", "Antioxydants"})
        s += "\\pard\\plain \\s2\\li720\\fi-360\\tx720\\sa0{\\listtext\\pard\\plain \\f2 \\u8226\\'95\\tab}\\ls1 \\f0 "
             + QByteArray(item) + "\\par\n";
    for (int i = 1; i <= 3; ++i)
        s += "\\pard\\plain \\s2\\li720\\fi-360\\tx720\\sa0{\\listtext\\pard\\plain " + QByteArray::number(i)
             + ".\\tab}\\ls2 \\f0 \\u201\\'c9tape num\\'e9ro " + QByteArray::number(i) + "\\par\n";
    for (int r = 0; r < 3; ++r) {
        s += "\\trowd\\trgaph108\\cellx2000\\cellx5000\\cellx8000";
        for (int c = 0; c < 3; ++c)
            s += "\\pard\\plain \\intbl\\ql\\f0\\fs20 E" + QByteArray::number(100 * (r + 1) + c) + " cat\\'e9gorie\\cell";
        s += "\\row\n";
    }
    s += "\\pard\\plain \\sa140\\f0 Fin de la partie " + number + " \\emdash  avec des guillemets \\ldblquote doubles\\rdblquote .\\par\n";
    return s;
}

QByteArray makeDocument(qsizetype bytes)
{
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\n"
                     "{\\fonttbl{\\f0\\froman\\fcharset0 Times New Roman;}{\\f1\\fswiss\\fcharset0 Arial;}"
                     "{\\f2\\fnil\\fcharset2 Symbol;}}\n"
                     "{\\colortbl;\\red0\\green0\\blue0;\\red255\\green0\\blue0;\\red0\\green0\\blue255;\\red255\\green255\\blue0;}\n"
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
