#include "additive.h"

#include "win1252.h"

#include <limits>

namespace korvelan {

AdditiveTable::AdditiveTable() : m_slots(RecordCapacity) {}

QStringView AdditiveTable::field(int k, int r) const
{
    if (k < 1 || k > FieldCount || r < 1 || r > m_published)
        return {};
    const Slot &slot = m_slots[static_cast<size_t>(r - 1)];
    const auto i = static_cast<size_t>(k - 1);
    return QStringView(m_text).sliced(slot.start[i], slot.end[i] - slot.start[i]);
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
        // Field positions are kept in 32 bits; no real database comes near that size.
        if (bytes.size() > std::numeric_limits<qint32>::max()) {
            result.failure = LoadFailure::ResourceUnavailable;
            return result;
        }
        table.m_text = decodeWindows1252(bytes);
        const QStringView text(table.m_text);

        // Record and position counters are 16-bit; a count beyond that cannot be looped over.
        if (recordCount > std::numeric_limits<qint16>::max()) {
            result.failure = LoadFailure::TooManyRecords;
            return result;
        }

        struct Line {
            qsizetype begin;
            qsizetype end;
        };
        std::array<Line, RecordCapacity> lines;
        qsizetype pieceStart = 0;
        bool morePieces = !text.isEmpty(); // an empty text splits into no piece at all
        for (int i = 1; i <= recordCount; ++i) {
            if (!morePieces) {
                result.failure = LoadFailure::TooFewLines;
                return result;
            }
            if (i > RecordCapacity) {
                result.failure = LoadFailure::TooManyRecords;
                return result;
            }
            qsizetype end = text.indexOf(u"\r\n", pieceStart);
            if (end < 0) {
                end = text.size();
                morePieces = false;
            }
            lines[static_cast<size_t>(i - 1)] = {pieceStart, end};
            pieceStart = end + 2;
        }

        const int lineCount = recordCount < 0 ? 0 : recordCount;
        for (int i = 1; i <= lineCount; ++i) {
            const Line line = lines[static_cast<size_t>(i - 1)];
            AdditiveTable::Slot &slot = table.m_slots[static_cast<size_t>(i - 1)];
            qsizetype rest = line.begin;
            for (size_t k = 0; k + 1 < FieldCount; ++k) {
                const qsizetype dollar = text.sliced(0, line.end).indexOf(u'$', rest);
                if (dollar < 0) {
                    result.failure = LoadFailure::MissingSeparator;
                    return result;
                }
                // The position of the "$" in what remains of the line must fit in 16 bits.
                if (dollar - rest + 1 > std::numeric_limits<qint16>::max()) {
                    result.failure = LoadFailure::LineTooLong;
                    return result;
                }
                slot.start[k] = static_cast<quint32>(rest);
                slot.end[k] = static_cast<quint32>(dollar);
                rest = dollar + 1;
            }
            slot.start[FieldCount - 1] = static_cast<quint32>(rest);
            slot.end[FieldCount - 1] = static_cast<quint32>(line.end);
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
