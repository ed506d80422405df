// Times of the label reader on the shipped database and the names labels print: reading a 2 KB
// ingredient list (target < 1 ms), reading the longest text it takes (100,000 characters), and
// building the reader from the tables, which the window and the terminal do once.
#include "additive.h"
#include "labelanalyser.h"

#include <benchmark/benchmark.h>

using namespace korvelan;
using namespace Qt::StringLiterals;

namespace {

const AdditiveTable &table()
{
    static const AdditiveTable loaded = loadAdditiveTable(readEmbeddedResource).table;
    return loaded;
}

// A long label of a ready meal, with codes and names, foods, nutrients and the maker's address.
const QString &label()
{
    static const QString text = [] {
        const QString part =
            u"Ingrédients : pâtes 30% (semoule de BLÉ dur, ŒUFS), viande de bœuf 20%, sauce tomate (tomates, "
            u"oignons, huile d'olive, sel, sucre, ail), béchamel (LAIT, farine de BLÉ, BEURRE, amidon modifié, "
            u"sel, noix de muscade), jambon cuit (jambon de porc, sel, dextrose, stabilisant : triphosphates, "
            u"antioxydant : ascorbate de sodium, conservateur : nitrite de sodium), EMMENTAL 5%, émulsifiant : "
            u"lécithines de SOJA, mono- et diglycérides d'acides gras, épaississants : gomme xanthane, E 412, "
            u"colorants : E160a (ii), caramel ordinaire, paprika, curcuma, vitamines (C, E, B6), minéraux "
            u"(carbonate de calcium, fer). Fabriqué en France par Exemple SA, 3 rue de l'Église, 35000 Rennes. "_s;
        QString t;
        while (t.size() < 2048)
            t += part;
        return t.first(2048);
    }();
    return text;
}

void BM_AnalyseLabel2K(benchmark::State &state)
{
    const LabelAnalyser analyser(table(), labelNamesText());
    for (auto _ : state)
        benchmark::DoNotOptimize(analyser.analyse(label()));
    state.SetBytesProcessed(state.iterations() * label().size() * 2);
}
BENCHMARK(BM_AnalyseLabel2K)->Unit(benchmark::kMicrosecond);

void BM_AnalyseLongestText(benchmark::State &state)
{
    const LabelAnalyser analyser(table(), labelNamesText());
    QString text;
    while (text.size() < LabelTextLimit)
        text += label();
    text.truncate(LabelTextLimit);
    for (auto _ : state)
        benchmark::DoNotOptimize(analyser.analyse(text));
}
BENCHMARK(BM_AnalyseLongestText)->Unit(benchmark::kMillisecond);

void BM_BuildAnalyser(benchmark::State &state)
{
    const QString names = labelNamesText();
    for (auto _ : state)
        benchmark::DoNotOptimize(LabelAnalyser(table(), names));
}
BENCHMARK(BM_BuildAnalyser)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
