#include "card.h"

#include "search.h"

using namespace Qt::StringLiterals;

namespace korvelan {

QString additiveCard(const AdditiveRecord &record)
{
    QString card = u"FICHE DE L'ADDITIF "_s;
    card += record[ENumber];
    card += u'\n';
    card += record[AdditiveName];
    card += u'\n';
    for (const CaptionedField &box : DetailCaptions) {
        card += box.caption;
        card += QString(CardValueColumn - box.caption.size(), u' ');
        card += record[box.field];
        card += u'\n';
    }
    return card;
}

QList<int> recordsWithCode(QStringView code, const AdditiveTable &table)
{
    QList<int> records;
    for (int r = 1; r <= table.publishedCount(); ++r) {
        if (table.field(ENumber, r).compare(code, Qt::CaseInsensitive) == 0)
            records.append(r);
    }
    return records;
}

QString foundLine(const AdditiveRecord &record)
{
    QString line;
    for (Field k : {ENumber, AdditiveName, Category, RiskLevel}) {
        if (!line.isEmpty())
            line += u'\t';
        line += record[k];
    }
    line += u'\n';
    return line;
}

QString searchReport(QStringView word, const AdditiveTable &table)
{
    const SearchResult result = searchKeywords(word, table);
    QString report = resultCaption(int(result.records.size())) + u'\n';
    for (int r : result.records)
        report += foundLine(table.record(r));
    return report;
}

} // namespace korvelan
