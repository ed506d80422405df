#include "flaglists.h"

#include "listline.h"

namespace korvelan {

std::optional<DisplayOption> displayOption(int option)
{
    if (option < 0 || option >= DisplayOptionCount)
        return std::nullopt;
    return DisplayOptions[static_cast<size_t>(option)];
}

FlagList buildFlagList(const AdditiveTable &table, int field)
{
    FlagList records;
    for (int r = 1; r <= RecordCount; ++r) {
        if (table.field(field, r) == u"Oui")
            records.append(r);
    }
    return records;
}

QStringList listLines(const AdditiveTable &table, const QList<int> &records)
{
    QStringList lines;
    lines.reserve(records.size());
    for (int r : records)
        lines.append(ListLine(table, r));
    return lines;
}

QString flagListTitle(int count, QStringView suffix)
{
    return QString::number(count).append(suffix);
}

} // namespace korvelan
