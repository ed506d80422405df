#include "listline.h"

#include <algorithm>

namespace korvelan {

namespace {

constexpr qsizetype kColumn = 24;
constexpr qsizetype kKeptWhole = 20; // longest text that is padded rather than cut
constexpr qsizetype kKeptWhenCut = 21;

// Appends spaces from a constant run, so that padding costs no allocation.
void appendSpaces(QString &out, qsizetype count)
{
    static constexpr QStringView spaces = u"                        "; // the widest padding, 24
    while (count > 0) {
        const qsizetype run = std::min(count, spaces.size());
        out.append(spaces.first(run));
        count -= run;
    }
}

void appendFitted(QString &out, QStringView s)
{
    if (s.size() > kKeptWhole) {
        out.append(s.first(kKeptWhenCut));
        out.append(u"...");
    } else {
        out.append(s);
        appendSpaces(out, kColumn - s.size());
    }
}

} // namespace

QString rowLine(const AdditiveRecord &record, int separatorSpaces)
{
    const QStringView code = record[ENumber];
    const QStringView eu = record[AuthorisedEU];
    const QStringView fr = record[AuthorisedFR];
    const QStringView number = record[SequenceNumber];

    QString line;
    line.reserve(100 + code.size() + eu.size() + fr.size() + number.size());

    // The code is padded to 8 characters; a longer one is left whole.
    line.append(code);
    appendSpaces(line, 8 - code.size());
    line.append(u' ');
    appendFitted(line, record[AdditiveName]);
    line.append(u' ');
    appendFitted(line, record[Category]);
    line.append(u' ');
    line.append(record[RiskLevel]);
    line.append(u"   ");
    // A short EU authorisation ("Oui") gets five spaces, once, so that it lines up with "Interdit".
    line.append(eu);
    if (eu.size() < 8)
        appendSpaces(line, 5);
    line.append(u"  ");
    // The French authorisation is not padded: the "$" moves with it.
    line.append(fr);
    line.append(u"  ");
    appendSpaces(line, separatorSpaces);
    line.append(u'$');
    line.append(number);
    return line;
}

QString ListLine(const AdditiveRecord &record)
{
    return rowLine(record, ListSeparatorSpaces);
}

QString ListLine(const AdditiveTable &table, int r)
{
    return ListLine(table.record(r));
}

QString SearchLine(const AdditiveRecord &record)
{
    return rowLine(record, SearchSeparatorSpaces);
}

QString SearchLine(const AdditiveTable &table, int r)
{
    return SearchLine(table.record(r));
}

} // namespace korvelan
