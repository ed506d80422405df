#pragma once

#include "resource.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <optional>
#include <vector>

namespace korvelan {

// The two registers that explain the data, embedded beside the database: the values that the fixed
// format of the database forces against the public facts, and the sources of the values.
inline const ResourceId kForcedValuesResource{QStringLiteral("FORCEES"), 104};
inline const ResourceId kSourcesResource{QStringLiteral("SOURCES"), 105};

// A value that the database must show although the facts say otherwise. The texts are those of the
// register, in English except the values themselves.
struct ForcedValue {
    QString shown;  // the value the database holds
    QString world;  // the value the public facts give
    QString source; // where that fact comes from
    QString reason; // the count or pinned record that forces the shown value
};

// Where a value of the database comes from.
struct SourcedValue {
    QString value;  // the value the database holds
    QString source; // the opinion (and year) or the regulation
};

// Both registers, read from their tab-separated text: a header line naming the columns (in any
// order; other columns are ignored), then one row per value, keyed by record number and field name.
// Rows that name no record slot or no field, or lack a column, are left out; of two rows for the same
// value the first counts.
//
// The registers hold some 4,500 rows, but a session reads a few of them: each distinct text is kept
// once, in UTF-8, and turned into a QString only when asked for (about a quarter of the memory that
// whole QStrings would take).
class FactRegister {
public:
    FactRegister() = default;
    // Large and never needed twice: it moves, it is not copied.
    FactRegister(FactRegister &&) = default;
    FactRegister &operator=(FactRegister &&) = default;
    FactRegister(const FactRegister &) = delete;
    FactRegister &operator=(const FactRegister &) = delete;

    // Forced values: columns record, field, shown, world, source, reason. Sources: columns record,
    // field, value, source. Both UTF-8.
    static FactRegister parse(QByteArrayView forcedValues, QByteArrayView sources);

    // The registers the program carries, read on first use; empty when they cannot be read.
    static const FactRegister &embedded();

    // What the register says of field k of record r while it shows `value`: nothing when it lists
    // another value for it (the register then no longer describes what is shown).
    std::optional<ForcedValue> forced(int r, int k, QStringView value) const;
    std::optional<SourcedValue> sourced(int r, int k, QStringView value) const;

    qsizetype forcedCount() const { return qsizetype(m_forced.size()); }
    qsizetype sourcedCount() const { return qsizetype(m_sourced.size()); }

private:
    // A text of the pool: where it starts and how many bytes it has.
    struct Text {
        quint32 at = 0;
        quint32 size = 0;
    };
    struct ForcedRow {
        quint32 key;
        Text shown, world, source, reason;
    };
    struct SourcedRow {
        quint32 key;
        Text value, source;
    };
    friend class RegisterBuilder;

    static quint32 key(int r, int k) { return quint32(r) << 5 | quint32(k); }
    QString text(Text t) const;

    QByteArray m_pool;                 // every distinct text once, UTF-8
    std::vector<ForcedRow> m_forced;   // sorted by key, one row per key
    std::vector<SourcedRow> m_sourced; // sorted by key, one row per key
};

} // namespace korvelan
