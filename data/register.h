#pragma once

#include "resource.h"

#include <QByteArrayView>
#include <QHash>
#include <QString>
#include <QStringView>

namespace korvelan {

// The two registers that explain the data, embedded beside the database: the values that the fixed
// format of the database forces against the public facts, and the sources of the values.
inline const ResourceId kForcedValuesResource{QStringLiteral("FORCEES"), 104};
inline const ResourceId kSourcesResource{QStringLiteral("SOURCES"), 105};

// A value that the database must show although the facts say otherwise. The texts are those of the
// register, in English except the values themselves; they belong to the register they came from.
struct ForcedValue {
    QStringView shown;  // the value the database holds
    QStringView world;  // the value the public facts give
    QStringView source; // where that fact comes from
    QStringView reason; // the count or pinned record that forces the shown value
};

// Where a value of the database comes from.
struct SourcedValue {
    QStringView value;  // the value the database holds
    QStringView source; // the opinion (and year) or the regulation
};

// Both registers, read from their tab-separated text: a header line naming the columns (in any
// order; other columns are ignored), then one row per value, keyed by record number and field name.
// Rows that name no record slot or no field, or lack a column, are left out; of two rows for the same
// value the first counts.
class FactRegister {
public:
    FactRegister() = default;
    // Its entries are views into its own texts: it moves, it is not copied.
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
    const ForcedValue *forced(int r, int k, QStringView value) const;
    const SourcedValue *sourced(int r, int k, QStringView value) const;

    qsizetype forcedCount() const { return m_forced.size(); }
    qsizetype sourcedCount() const { return m_sourced.size(); }

private:
    static quint32 key(int r, int k) { return quint32(r) << 5 | quint32(k); }

    QString m_forcedText, m_sourcesText;
    QHash<quint32, ForcedValue> m_forced;
    QHash<quint32, SourcedValue> m_sourced;
};

} // namespace korvelan
