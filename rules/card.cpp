#include "card.h"

#include "search.h"

using namespace Qt::StringLiterals;

namespace korvelan {

QString additiveCard(const AdditiveRecord &record)
{
    return additiveCard(record, 0, Truth{});
}

QString additiveCard(const AdditiveRecord &record, int r, const Truth &truth)
{
    QString card = u"FICHE DE L'ADDITIF "_s;
    card += shownValue(truth, r, ENumber, record[ENumber]);
    card += u'\n';
    card += shownValue(truth, r, AdditiveName, record[AdditiveName]);
    card += u'\n';
    for (const CaptionedField &box : DetailCaptions) {
        card += box.caption;
        card += QString(CardValueColumn - box.caption.size(), u' ');
        card += shownValue(truth, r, box.field, record[box.field]);
        card += cardNote(truth, r, box.field, record[box.field]);
        card += u'\n';
    }
    if (truth.real && truth.facts)
        card += RealValuesLine;
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
    return foundLine(record, 0, Truth{});
}

QString foundLine(const AdditiveRecord &record, int r, const Truth &truth)
{
    QString line;
    for (Field k : {ENumber, AdditiveName, Category, RiskLevel}) {
        if (!line.isEmpty())
            line += u'\t';
        line += shownValue(truth, r, k, record[k]);
    }
    line += u'\n';
    return line;
}

QString searchReport(QStringView word, const AdditiveTable &table, const Truth &truth)
{
    const SearchResult result = searchKeywords(word, table);
    QString report = resultCaption(int(result.records.size())) + u'\n';
    for (int r : result.records)
        report += foundLine(table.record(r), r, truth);
    return report;
}

} // namespace korvelan
