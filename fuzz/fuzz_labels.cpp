// Feeds arbitrary text to the label reader and to the look-up of a code or name, on the shipped database.
#include "additive.h"
#include "labelanalyser.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const korvelan::AdditiveTable table = korvelan::loadAdditiveTable(korvelan::readEmbeddedResource).table;
    static const korvelan::LabelAnalyser analyser(table, korvelan::labelNamesText());
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    for (const korvelan::LabelFinding &f : analyser.analyse(text)) {
        if (f.record < 1 || f.record > table.publishedCount() || f.position < 0 || f.length <= 0 ||
            f.position + f.length > text.size() || text.sliced(f.position, f.length) != f.text)
            __builtin_trap();
    }
    (void)analyser.lookup(text);
    return 0;
}
