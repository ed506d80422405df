#include "additive.h"

#include "separators.h"
#include "win1252.h"

#include <algorithm>
#include <limits>

namespace korvelan {

namespace {

constexpr std::array<QStringView, FieldCount> kFieldNames = {
    u"ENumber",      u"AdditiveName",      u"Category",     u"Synonyms",          u"DailyIntake",    u"AuthorisedEU",
    u"AuthorisedFR", u"AuthorisedOrganic", u"AnimalOrigin", u"AuthorisedInfants", u"Halal",          u"Origin",
    u"Usage",        u"RiskGroups",        u"Symptoms",     u"RiskLevel",         u"SequenceNumber", u"AlphaOrder",
    u"Keywords",
};

} // namespace

QStringView fieldName(int k)
{
    return k >= 1 && k <= FieldCount ? kFieldNames[static_cast<size_t>(k - 1)] : QStringView();
}

int fieldNumber(QStringView name)
{
    const auto found = std::find(kFieldNames.begin(), kFieldNames.end(), name);
    return found == kFieldNames.end() ? 0 : int(found - kFieldNames.begin()) + 1;
}

AdditiveTable::AdditiveTable() : m_slots(RecordCapacity)
{ }

QStringView AdditiveTable::field(int k, int r) const
{
    if (k < 1 || k > FieldCount || r < 1 || r > m_published)
        return {};
    const Slot &bounds = m_slots[static_cast<size_t>(r - 1)];
    const quint32 start = bounds[static_cast<size_t>(k - 1)];
    return QStringView(m_text).sliced(start, bounds[static_cast<size_t>(k)] - 1 - start);
}

AdditiveRecord AdditiveTable::record(int r) const
{
    std::array<QStringView, FieldCount> fields;
    for (int k = 1; k <= FieldCount; ++k)
        fields[static_cast<size_t>(k - 1)] = field(k, r);
    return AdditiveRecord(fields);
}

size_t AdditiveTable::heapBytes() const
{
    return static_cast<size_t>(m_text.capacity()) * sizeof(QChar) + m_slots.capacity() * sizeof(Slot);
}

// Builds the table in two passes, as the loading is defined: first every line is taken (a missing
// line fails before anything is cut), then each line is cut into fields and published whole.
struct DatabaseLoader {
    static DatabaseLoad load(QByteArrayView bytes, int recordCount)
    {
        DatabaseLoad result;
        AdditiveTable &table = result.table;
        // Positions are kept in 32 bits; no real database comes near that size.
        if (bytes.size() >= std::numeric_limits<qint32>::max()) {
            result.failure = LoadFailure::ResourceUnavailable;
            return result;
        }
        table.m_text = decodeWindows1252(bytes);

        // Record counters are 16-bit: a count beyond that cannot be looped over.
        if (recordCount > std::numeric_limits<qint16>::max()) {
            result.failure = LoadFailure::TooManyRecords;
            return result;
        }

        // Take the lines: each runs to the next CR LF, or to the end of the text for the last piece.
        struct Line {
            qsizetype begin;
            qsizetype end;
        };
        std::array<Line, RecordCapacity> lines;
        qsizetype pieceStart = 0;
        bool morePieces = !bytes.isEmpty(); // an empty text splits into no piece at all
        for (int i = 1; i <= recordCount; ++i) {
            if (!morePieces) {
                result.failure = LoadFailure::TooFewLines;
                return result;
            }
            if (i > RecordCapacity) {
                result.failure = LoadFailure::TooManyRecords;
                return result;
            }
            qsizetype end = findLineEnd(bytes, pieceStart);
            if (end < 0) {
                end = bytes.size();
                morePieces = false;
            }
            lines[static_cast<size_t>(i - 1)] = {pieceStart, end};
            pieceStart = end + 2;
        }

        // Cut each line at its first 18 "$"; the last field takes the rest, further "$" included.
        for (int i = 1; i <= recordCount; ++i) {
            const Line &line = lines[static_cast<size_t>(i - 1)];
            std::array<qsizetype, FieldCount - 1> dollars;
            const int found = findFirst(bytes, line.begin, line.end, '$', dollars.data(), FieldCount - 1);
            AdditiveTable::Slot &bounds = table.m_slots[static_cast<size_t>(i - 1)];
            qsizetype rest = line.begin;
            for (int k = 0; k < FieldCount - 1; ++k) {
                if (k == found) {
                    result.failure = LoadFailure::MissingSeparator;
                    return result;
                }
                // The position of the "$" in what remains of the line must fit in 16 bits.
                const qsizetype dollar = dollars[static_cast<size_t>(k)];
                if (dollar - rest + 1 > std::numeric_limits<qint16>::max()) {
                    result.failure = LoadFailure::LineTooLong;
                    return result;
                }
                bounds[static_cast<size_t>(k)] = static_cast<quint32>(rest);
                rest = dollar + 1;
            }
            bounds[FieldCount - 1] = static_cast<quint32>(rest);
            bounds[FieldCount] = static_cast<quint32>(line.end + 1);
            table.m_published = i; // the record becomes readable only once all its fields are cut
        }
        return result;
    }
};

DatabaseLoad loadAdditiveTable(QByteArrayView bytes, int recordCount)
{
    return DatabaseLoader::load(bytes, recordCount);
}

DatabaseLoad loadAdditiveTable(const ResourceReader &read, int recordCount)
{
    const std::optional<QByteArray> bytes = read ? read(kDatabaseResource) : std::nullopt;
    if (!bytes) {
        DatabaseLoad result;
        result.failure = LoadFailure::ResourceUnavailable;
        return result;
    }
    return loadAdditiveTable(*bytes, recordCount);
}

} // namespace korvelan
