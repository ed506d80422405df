#pragma once

#include "failure.h"
#include "resource.h"

#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <array>
#include <optional>
#include <vector>

namespace korvelan {

// Number of records the program reads from the database, whatever the resource holds.
inline constexpr int RecordCount = 692;
// Number of record slots in every table; slots past RecordCount stay empty.
inline constexpr int RecordCapacity = 700;
// Number of fields on a database line.
inline constexpr int FieldCount = 19;

// The fields of a record, numbered as on the database line.
enum Field : int {
    ENumber = 1,
    AdditiveName,
    Category,
    Synonyms,
    DailyIntake,
    AuthorisedEU,
    AuthorisedFR,
    AuthorisedOrganic,
    AnimalOrigin,
    AuthorisedInfants,
    Halal,
    Origin,
    Usage,
    RiskGroups,
    Symptoms,
    RiskLevel,
    SequenceNumber,
    AlphaOrder,
    Keywords,
};

// The name of field k (1 to 19), as in exported data and in the data registers: ENumber, AdditiveName,
// ... Keywords; the empty text for any other k.
QStringView fieldName(int k);
// The number of the field with that name; 0 for a name that is none.
int fieldNumber(QStringView name);

// One additive: its 19 fields, exactly as stored. The texts belong to the table it came from.
class AdditiveRecord {
public:
    AdditiveRecord() = default;
    explicit AdditiveRecord(const std::array<QStringView, FieldCount> &fields) : m_fields(fields) { }

    // Field k (1 to 19); the empty text for any other k.
    QStringView field(int k) const
    {
        return k >= 1 && k <= FieldCount ? m_fields[static_cast<size_t>(k - 1)] : QStringView();
    }
    QStringView operator[](Field k) const { return field(k); }

private:
    std::array<QStringView, FieldCount> m_fields{};
};

// All records of the database: field k of record r, for k = 1 to 19 and r = 1 to RecordCapacity.
// Filled once by loadAdditiveTable and read-only afterwards. Slots that were not filled (past
// RecordCount, or past a failure during loading) read as empty texts.
class AdditiveTable {
public:
    AdditiveTable();

    // Field k of record r; the empty text for an unfilled slot or for k, r out of range.
    QStringView field(int k, int r) const;
    AdditiveRecord record(int r) const;

    // True when r names a slot of the table (1 to RecordCapacity).
    static bool isSlot(int r) { return r >= 1 && r <= RecordCapacity; }

    // Records 1 to publishedCount() are filled; the others read as empty.
    int publishedCount() const { return m_published; }

    // Heap memory that the loaded table holds.
    size_t heapBytes() const;

private:
    friend struct DatabaseLoader;

    // Where the fields of one record lie in the decoded text: field k starts at bounds[k - 1] and
    // ends one character (its "$") before bounds[k]; bounds[19] lies one past the end of the line.
    using Slot = std::array<quint32, FieldCount + 1>;

    QString m_text;
    std::vector<Slot> m_slots; // index r - 1
    int m_published = 0;
};

struct DatabaseLoad {
    AdditiveTable table;
    std::optional<LoadFailure> failure;
};

// Turns the bytes of the database resource into the table: decodes them as Windows-1252, takes
// exactly recordCount lines (separated by CR LF) and cuts each at its first 18 "$". On a failure the
// records cut before it stay readable and the failure is returned beside the table.
DatabaseLoad loadAdditiveTable(QByteArrayView bytes, int recordCount = RecordCount);

// The same, reading the database resource first.
DatabaseLoad loadAdditiveTable(const ResourceReader &read, int recordCount = RecordCount);

} // namespace korvelan
