#include "register.h"

#include "additive.h"

#include <QHash>
#include <QList>

#include <algorithm>
#include <array>
#include <optional>
#include <utility>

using namespace Qt::StringLiterals;

namespace korvelan {

namespace {

// The cells of one line of a tab-separated text, without its line end.
QList<QByteArrayView> cellsOf(QByteArrayView line)
{
    if (line.endsWith('\r'))
        line.chop(1);
    QList<QByteArrayView> cells;
    for (qsizetype tab; (tab = line.indexOf('\t')) >= 0; line = line.sliced(tab + 1))
        cells.append(line.first(tab));
    cells.append(line);
    return cells;
}

// Calls row(cells) for each data row of a tab-separated text, its cells in the order of `columns`;
// nothing when the header lacks one of the columns.
template <size_t N, typename Row>
void forEachRow(QByteArrayView text, const std::array<QByteArrayView, N> &columns, Row row)
{
    auto nextLine = [&text] {
        const qsizetype end = text.indexOf('\n');
        const QByteArrayView line = end < 0 ? text : text.first(end);
        text = end < 0 ? QByteArrayView() : text.sliced(end + 1);
        return line;
    };
    if (text.isEmpty())
        return;
    const QList<QByteArrayView> header = cellsOf(nextLine());
    std::array<qsizetype, N> at{};
    for (size_t c = 0; c < N; ++c) {
        at[c] = header.indexOf(columns[c]);
        if (at[c] < 0)
            return;
    }
    std::array<QByteArrayView, N> cells;
    while (!text.isEmpty()) {
        const QList<QByteArrayView> line = cellsOf(nextLine());
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
std::optional<std::pair<int, int>> place(QByteArrayView record, QByteArrayView field)
{
    bool number = false;
    const int r = record.trimmed().toInt(&number);
    const int k = fieldNumber(QString::fromUtf8(field.trimmed()));
    if (!number || !AdditiveTable::isSlot(r) || k == 0)
        return std::nullopt;
    return std::pair{r, k};
}

// Sorts rows by key and keeps the first row of each key, in the order the register gave them.
template <typename Rows> void keepFirstOfEachKey(Rows &rows)
{
    std::stable_sort(rows.begin(), rows.end(), [](const auto &a, const auto &b) { return a.key < b.key; });
    rows.erase(std::unique(rows.begin(), rows.end(), [](const auto &a, const auto &b) { return a.key == b.key; }),
               rows.end());
    rows.shrink_to_fit();
}

template <typename Rows> auto findKey(const Rows &rows, quint32 key)
{
    const auto found =
        std::lower_bound(rows.begin(), rows.end(), key, [](const auto &row, quint32 k) { return row.key < k; });
    return found != rows.end() && found->key == key ? &*found : nullptr;
}

} // namespace

// Puts each distinct text in the register's pool once. The texts it has seen are views into the
// register's source, which lives as long as the parse.
class RegisterBuilder {
public:
    explicit RegisterBuilder(FactRegister &facts) : m_facts(facts) { }

    FactRegister::Text intern(QByteArrayView text)
    {
        if (const auto seen = m_seen.constFind(text); seen != m_seen.cend())
            return *seen;
        const FactRegister::Text t{quint32(m_facts.m_pool.size()), quint32(text.size())};
        m_facts.m_pool.append(text);
        m_seen.insert(text, t);
        return t;
    }

private:
    FactRegister &m_facts;
    QHash<QByteArrayView, FactRegister::Text> m_seen;
};

FactRegister FactRegister::parse(QByteArrayView forcedValues, QByteArrayView sources)
{
    FactRegister facts;
    RegisterBuilder pool(facts);
    constexpr std::array<QByteArrayView, 6> forcedColumns = {"record", "field", "shown", "world", "source", "reason"};
    forEachRow(forcedValues, forcedColumns, [&](const auto &cells) {
        if (const auto at = place(cells[0], cells[1])) {
            facts.m_forced.push_back({key(at->first, at->second), pool.intern(cells[2]), pool.intern(cells[3]),
                                      pool.intern(cells[4]), pool.intern(cells[5])});
        }
    });
    constexpr std::array<QByteArrayView, 4> sourceColumns = {"record", "field", "value", "source"};
    forEachRow(sources, sourceColumns, [&](const auto &cells) {
        if (const auto at = place(cells[0], cells[1]))
            facts.m_sourced.push_back({key(at->first, at->second), pool.intern(cells[2]), pool.intern(cells[3])});
    });
    keepFirstOfEachKey(facts.m_forced);
    keepFirstOfEachKey(facts.m_sourced);
    facts.m_pool.squeeze();
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

QString FactRegister::text(Text t) const
{
    return QString::fromUtf8(QByteArrayView(m_pool).sliced(t.at, t.size));
}

std::optional<ForcedValue> FactRegister::forced(int r, int k, QStringView value) const
{
    const ForcedRow *row = findKey(m_forced, key(r, k));
    if (!row)
        return std::nullopt;
    QString shown = text(row->shown);
    if (shown != value)
        return std::nullopt;
    return ForcedValue{std::move(shown), text(row->world), text(row->source), text(row->reason)};
}

std::optional<SourcedValue> FactRegister::sourced(int r, int k, QStringView value) const
{
    const SourcedRow *row = findKey(m_sourced, key(r, k));
    if (!row)
        return std::nullopt;
    QString shown = text(row->value);
    if (shown != value)
        return std::nullopt;
    return SourcedValue{std::move(shown), text(row->source)};
}

} // namespace korvelan
