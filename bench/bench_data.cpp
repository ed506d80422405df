// Load times of the two resources and of the registers, beside a plain copy of the same bytes as a yardstick.
// Uses the shipped resources when they hold a full database, otherwise a generated one of the
// shipped size (692 lines, 138,948 bytes; 1,385 keywords, 12,300 bytes).
#include "additive.h"
#include "keywords.h"
#include "register.h"
#include "resource.h"

#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QList>

#include <cstring>

using namespace korvelan;

namespace {

QByteArray generatedDatabase()
{
    // Lines of realistic shape, padded so the whole is exactly the shipped size.
    constexpr qsizetype kTarget = 138948;
    QList<QByteArray> lines;
    for (int r = 1; r <= RecordCount; ++r) {
        QByteArray line = "E" + QByteArray::number(99 + r) + "$Nom de l'additif num\xE9ro " + QByteArray::number(r) +
            "$Colorant$synonyme un, synonyme deux$nc$Interdit$Oui$Non$Non$Non$Oui$?$"
            "Confiseries, boissons.$ $ Peut provoquer des \x9C"
            "d\xE8mes.$3$" +
            QByteArray::number(r) + '$' + QByteArray::number(RecordCount + 1 - r) + "$e" + QByteArray::number(99 + r) +
            " nom additif numero";
        lines.append(line);
    }
    QByteArray text = lines.join("\r\n");
    // Spread the remaining bytes over the usage fields.
    const qsizetype missing = kTarget - text.size();
    for (int r = 0; r < RecordCount; ++r) {
        const qsizetype extra = missing / RecordCount + (r < missing % RecordCount ? 1 : 0);
        lines[r].replace("boissons.", "boissons." + QByteArray(extra, 'x'));
    }
    return lines.join("\r\n");
}

QByteArray generatedKeywords()
{
    QList<QByteArray> words;
    for (int letter = 0; letter < LetterCount; ++letter)
        for (int s = 1; s <= KeywordLetterCounts[static_cast<size_t>(letter)]; ++s)
            words.append(char('a' + letter) + QByteArray("mot") + QByteArray::number(s));
    return words.join("\r\n") + QByteArray(2, '\0');
}

const QByteArray &databaseBytes()
{
    static const QByteArray bytes = [] {
        const std::optional<QByteArray> shipped = readEmbeddedResource(kDatabaseResource);
        if (shipped && !loadAdditiveTable(*shipped).failure)
            return *shipped;
        return generatedDatabase();
    }();
    return bytes;
}

const QByteArray &keywordBytes()
{
    static const QByteArray bytes = [] {
        const std::optional<QByteArray> shipped = readEmbeddedResource(kKeywordResource);
        if (shipped && !loadKeywordIndex(*shipped).failure)
            return *shipped;
        return generatedKeywords();
    }();
    return bytes;
}

void BM_CopyDatabaseBytes(benchmark::State &state)
{
    const QByteArray &source = databaseBytes();
    for (auto _ : state) {
        QByteArray copy(source.constData(), source.size());
        benchmark::DoNotOptimize(copy.data());
    }
    state.SetBytesProcessed(state.iterations() * source.size());
}

void BM_LoadDatabase(benchmark::State &state)
{
    const QByteArray &source = databaseBytes();
    size_t heap = 0;
    for (auto _ : state) {
        DatabaseLoad load = loadAdditiveTable(source);
        if (load.failure)
            state.SkipWithError("the database did not load");
        heap = load.table.heapBytes();
        benchmark::DoNotOptimize(load);
    }
    state.SetBytesProcessed(state.iterations() * source.size());
    state.counters["bytes"] = double(source.size());
    state.counters["heap_bytes"] = double(heap);
}

void BM_CopyKeywordBytes(benchmark::State &state)
{
    const QByteArray &source = keywordBytes();
    for (auto _ : state) {
        QByteArray copy(source.constData(), source.size());
        benchmark::DoNotOptimize(copy.data());
    }
}

void BM_LoadKeywords(benchmark::State &state)
{
    const QByteArray &source = keywordBytes();
    size_t heap = 0;
    for (auto _ : state) {
        KeywordLoad load = loadKeywordIndex(source);
        if (load.failure)
            state.SkipWithError("the keyword list did not load");
        heap = load.index.heapBytes();
        benchmark::DoNotOptimize(load);
    }
    state.counters["bytes"] = double(source.size());
    state.counters["heap_bytes"] = double(heap);
}

// The registers of forced values and sources, read once, on the first record shown or first terminal answer.
void BM_LoadRegisters(benchmark::State &state)
{
    const QByteArray forced = readEmbeddedResource(kForcedValuesResource).value_or(QByteArray());
    const QByteArray sources = readEmbeddedResource(kSourcesResource).value_or(QByteArray());
    qsizetype entries = 0;
    for (auto _ : state) {
        const FactRegister facts = FactRegister::parse(forced, sources);
        entries = facts.forcedCount() + facts.sourcedCount();
        benchmark::DoNotOptimize(entries);
    }
    state.counters["bytes"] = double(forced.size() + sources.size());
    state.counters["entries"] = double(entries);
}

} // namespace

BENCHMARK(BM_CopyDatabaseBytes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadDatabase)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CopyKeywordBytes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadKeywords)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadRegisters)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
