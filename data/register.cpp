#include "register.h"

#include "additive.h"

#include <QList>

#include <array>
#include <optional>
#include <utility>

using namespace Qt::StringLiterals;

namespace korvelan {

namespace {

// Calls row(cells) for each data row of a tab-separated text, its cells in the order of `columns`;
// nothing when the header lacks one of the columns.
template <size_t N, typename Row> void forEachRow(QStringView text, const std::array<QStringView, N> &columns, Row row)
{
    const QList<QStringView> lines = text.split(u'\n');
    if (lines.isEmpty())
        return;
    auto cellsOf = [](QStringView line) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        return line.split(u'\t');
    };
    const QList<QStringView> header = cellsOf(lines.first());
    std::array<qsizetype, N> at{};
    for (size_t c = 0; c < N; ++c) {
        at[c] = header.indexOf(columns[c]);
        if (at[c] < 0)
            return;
    }
    std::array<QStringView, N> cells;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QList<QStringView> line = cellsOf(lines[i]);
        bool complete = true;
        for (size_t c = 0; c < N && complete; ++c) {
            complete = at[c] < line.size();
            if (complete)
                cells[c] = line[at[c]];
        }
        if (complete)
            row(cells);
    }
}

// The key parts of a row: its record slot and field number, or nothing.
std::optional<std::pair<int, int>> place(QStringView record, QStringView field)
{
    bool number = false;
    const int r = record.trimmed().toInt(&number);
    const int k = fieldNumber(field.trimmed());
    if (!number || !AdditiveTable::isSlot(r) || k == 0)
        return std::nullopt;
    return std::pair{r, k};
}

} // namespace

FactRegister FactRegister::parse(QByteArrayView forcedValues, QByteArrayView sources)
{
    FactRegister facts;
    facts.m_forcedText = QString::fromUtf8(forcedValues);
    facts.m_sourcesText = QString::fromUtf8(sources);
    constexpr std::array<QStringView, 6> forcedColumns = {u"record", u"field",  u"shown",
                                                          u"world",  u"source", u"reason"};
    forEachRow(facts.m_forcedText, forcedColumns, [&](const auto &cells) {
        const auto at = place(cells[0], cells[1]);
        if (at && !facts.m_forced.contains(key(at->first, at->second))) {
            facts.m_forced.insert(key(at->first, at->second), {cells[2], cells[3], cells[4], cells[5]});
        }
    });
    constexpr std::array<QStringView, 4> sourceColumns = {u"record", u"field", u"value", u"source"};
    forEachRow(facts.m_sourcesText, sourceColumns, [&](const auto &cells) {
        const auto at = place(cells[0], cells[1]);
        if (at && !facts.m_sourced.contains(key(at->first, at->second)))
            facts.m_sourced.insert(key(at->first, at->second), {cells[2], cells[3]});
    });
    return facts;
}

const FactRegister &FactRegister::embedded()
{
    static const FactRegister facts = [] {
        const std::optional<QByteArray> forced = readEmbeddedResource(kForcedValuesResource);
        const std::optional<QByteArray> sources = readEmbeddedResource(kSourcesResource);
        return parse(forced.value_or(QByteArray()), sources.value_or(QByteArray()));
    }();
    return facts;
}

const ForcedValue *FactRegister::forced(int r, int k, QStringView value) const
{
    const auto found = m_forced.constFind(key(r, k));
    return found != m_forced.cend() && found->shown == value ? &*found : nullptr;
}

const SourcedValue *FactRegister::sourced(int r, int k, QStringView value) const
{
    const auto found = m_sourced.constFind(key(r, k));
    return found != m_sourced.cend() && found->value == value ? &*found : nullptr;
}

} // namespace korvelan
