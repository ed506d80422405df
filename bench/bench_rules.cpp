// Times of the main window's rules on data of the shipped size: the rows of all 692 records, the
// suggestions for "e1" on a 715-word "e" list, a keyword search over 692 keyword lines, the
// ordering of a full history of 1,000 words, a flag list of 405 rows, and the taking out of the
// disallowed characters of a 32,767-character search word, step by step.
// Targets: rows < 0.5 ms, suggestions < 20 us, search < 3 ms, history < 30 ms, flag list < 5 ms,
// input check < 10 ms.
#include "additive.h"
#include "flaglists.h"
#include "keywords.h"
#include "listline.h"
#include "search.h"
#include "suggestions.h"

#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QList>
#include <QRandomGenerator>

#include <algorithm>

using namespace korvelan;
using namespace Qt::StringLiterals;

namespace {

// 692 records of realistic shape: names of 9 to 40 characters, 405 "Oui" in the French
// authorisation, keyword lines with "acide" in about one record of eight.
const AdditiveTable &table()
{
    static const AdditiveTable built = [] {
        static const QList<QByteArray> names = {"Curcumine",
                                                "Ac\xE9sulfate de potassium",
                                                "Lycop\xE8ne de synth\xE8se",
                                                "Phosphate de diamidon ac\xE9tyl\xE9 ",
                                                "Oxydes de fer",
                                                "Ester glyc\xE9rique de r\xE9sine de bois"};
        static const QList<QByteArray> categories = {"Colorant", "Divers - Edulcorant", "Agent de texture",
                                                     "Antioxydant", "Conservateur"};
        QList<QByteArray> lines;
        for (int r = 1; r <= RecordCount; ++r) {
            const QByteArray code = 'E' + QByteArray::number(99 + r) + (r % 5 == 0 ? "aiii" : "");
            const QByteArray keywords = code.toLower() + (r % 8 == 0 ? " ester acide gras" : " colorant naturel") +
                " mot" + QByteArray::number(r);
            lines.append(code + '$' + names[r % names.size()] + '$' + categories[r % categories.size()] +
                         "$synonyme un, synonyme deux$nc$" + (r % 3 == 0 ? "Oui" : "Interdit") + '$' +
                         (r <= 405 ? "Oui" : "Interdit") + "$Non$Non$Non$Oui$?$Confiseries.$ $ $" +
                         QByteArray::number(1 + r % 4) + '$' + QByteArray::number(r) + '$' +
                         QByteArray::number(RecordCount + 1 - r) + '$' + keywords);
        }
        DatabaseLoad load = loadAdditiveTable(lines.join("\r\n"));
        return std::move(load.table);
    }();
    return built;
}

// A keyword index whose "e" list holds 715 E-codes in character-code order, 167 of them
// beginning with "e1".
const KeywordIndex &keywordIndex()
{
    static const KeywordIndex built = [] {
        QList<QByteArray> eWords;
        for (int n = 100; eWords.size() < 167; ++n)
            eWords.append("e1" + QByteArray::number(n));
        for (int n = 200; eWords.size() < 715; ++n)
            eWords.append('e' + QByteArray::number(n));
        std::sort(eWords.begin(), eWords.end());
        QList<QByteArray> words;
        for (int letter = 0; letter < LetterCount; ++letter) {
            if (letter == 4) {
                words.append(eWords);
                continue;
            }
            for (int s = 1; s <= KeywordLetterCounts[static_cast<size_t>(letter)]; ++s)
                words.append(char('a' + letter) + QByteArray("mot") + QByteArray::number(s));
        }
        KeywordLoad load = loadKeywordIndex(words.join("\r\n") + QByteArray(2, '\0'));
        return std::move(load.index);
    }();
    return built;
}

void BM_ListLinesOfAllRecords(benchmark::State &state)
{
    const AdditiveTable &data = table();
    for (auto _ : state) {
        for (int r = 1; r <= RecordCount; ++r) {
            QString line = ListLine(data, r);
            benchmark::DoNotOptimize(line);
        }
    }
}
BENCHMARK(BM_ListLinesOfAllRecords)->Unit(benchmark::kMicrosecond);

void BM_SuggestE1(benchmark::State &state)
{
    const KeywordIndex &index = keywordIndex();
    qsizetype found = 0;
    for (auto _ : state) {
        QList<QStringView> words = SuggestKeywords(u"e1", index);
        found = words.size();
        benchmark::DoNotOptimize(words);
    }
    state.counters["rows"] = double(found);
}
BENCHMARK(BM_SuggestE1)->Unit(benchmark::kMicrosecond);

void BM_SearchAcide(benchmark::State &state)
{
    const AdditiveTable &data = table();
    qsizetype found = 0;
    for (auto _ : state) {
        SearchResult result = searchKeywords(u"acide", data);
        found = result.records.size();
        benchmark::DoNotOptimize(result);
    }
    state.counters["rows"] = double(found);
}
BENCHMARK(BM_SearchAcide)->Unit(benchmark::kMicrosecond);

void BM_SearchNothingFound(benchmark::State &state)
{
    const AdditiveTable &data = table();
    for (auto _ : state) {
        SearchResult result = searchKeywords(u"xyz", data);
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK(BM_SearchNothingFound)->Unit(benchmark::kMicrosecond);

// Each run refills the working table (a few microseconds) and sorts its 1,000 words.
void BM_SortHistoryOf1000Words(benchmark::State &state)
{
    QRandomGenerator random(42);
    static const QString alphabet = u"abcdefghijklmnopqrstuvwxyzABCZ0123456789 "_s;
    QStringList words;
    while (words.size() < SearchHistory::Capacity) {
        QString word;
        const int length = 2 + random.bounded(12);
        for (int i = 0; i < length; ++i)
            word.append(alphabet[random.bounded(int(alphabet.size()))]);
        if (!words.contains(word))
            words.append(word);
    }
    SearchHistory history;
    for (auto _ : state) {
        for (int i = 1; i <= SearchHistory::Capacity; ++i)
            history.setSearchHistorySlot(i, words[i - 1]);
        history.setHistoryCount(SearchHistory::Capacity);
        history.SortHistory();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_SortHistoryOf1000Words)->Unit(benchmark::kMillisecond);

void BM_FlagListOf405Rows(benchmark::State &state)
{
    const AdditiveTable &data = table();
    qsizetype rows = 0;
    for (auto _ : state) {
        QStringList lines = listLines(data, buildFlagList(data, AuthorisedFR));
        rows = lines.size();
        benchmark::DoNotOptimize(lines);
    }
    state.counters["rows"] = double(rows);
}
BENCHMARK(BM_FlagListOf405Rows)->Unit(benchmark::kMicrosecond);

// Every step of the removal for a word of 32,767 characters, as the reaction to a paste takes them:
// the length and the beginning of the word after each step, the whole word at the end.
void BM_RemovalStepByStep(benchmark::State &state)
{
    QRandomGenerator random(15);
    QString text;
    const int distinct = int(state.range(0));
    while (text.size() < 32767) {
        if (random.bounded(2) == 0)
            text.append(QChar(char16_t(0x100 + random.bounded(distinct))));
        else
            text.append(AllowedCharacters[random.bounded(int(AllowedCharacters.size()))]);
    }
    qsizetype steps = 0;
    for (auto _ : state) {
        DisallowedRemoval removal(text);
        while (!removal.finished()) {
            removal.removeNext();
            QString beginning = removal.head(std::min<qsizetype>(removal.length(), 28));
            benchmark::DoNotOptimize(beginning);
        }
        QString left = removal.text();
        benchmark::DoNotOptimize(left);
        steps = removal.removedCount();
    }
    state.counters["steps"] = double(steps);
}
BENCHMARK(BM_RemovalStepByStep)->Arg(10)->Arg(3000)->Arg(16000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
