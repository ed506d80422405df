#include "export.h"

#include <algorithm>
#include <array>

using namespace Qt::StringLiterals;

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

QString csvField(QStringView text)
{
    const bool quoted = std::any_of(text.begin(), text.end(),
                                    [](QChar c) { return c == u',' || c == u'"' || c == u'\r' || c == u'\n'; });
    if (!quoted)
        return text.toString();
    QString cell = text.toString();
    cell.replace(u'"', u"\"\""_s);
    return u'"' + cell + u'"';
}

QString exportCsv(const AdditiveTable &table)
{
    QString csv;
    for (int k = 1; k <= FieldCount; ++k) {
        if (k > 1)
            csv += u',';
        csv += fieldName(k);
    }
    csv += u"\r\n"_s;
    for (int r = 1; r <= RecordCount; ++r) {
        for (int k = 1; k <= FieldCount; ++k) {
            if (k > 1)
                csv += u',';
            csv += csvField(table.field(k, r));
        }
        csv += u"\r\n"_s;
    }
    return csv;
}

QString jsonString(QStringView text)
{
    QString out;
    out.reserve(text.size() + 2);
    out += u'"';
    for (QChar c : text) {
        switch (c.unicode()) {
        case u'"': out += u"\\\""_s; break;
        case u'\\': out += u"\\\\"_s; break;
        case u'\n': out += u"\\n"_s; break;
        case u'\r': out += u"\\r"_s; break;
        case u'\t': out += u"\\t"_s; break;
        default:
            if (c.unicode() < 0x20)
                out += u"\\u"_s + QString::number(c.unicode(), 16).rightJustified(4, u'0');
            else
                out += c;
        }
    }
    out += u'"';
    return out;
}

QString exportJson(const AdditiveTable &table)
{
    QString json = u"{\n"_s;
    json += u"  \"licence\": "_s + jsonString(DataLicence) + u",\n"_s;
    json += u"  \"licence_url\": "_s + jsonString(DataLicenceUrl) + u",\n"_s;
    json += u"  \"attribution\": "_s + jsonString(DataAttribution) + u",\n"_s;
    json += u"  \"date\": "_s + jsonString(DataDate) + u",\n"_s;
    json += u"  \"records\": [\n"_s;
    for (int r = 1; r <= RecordCount; ++r) {
        json += u"    {"_s;
        for (int k = 1; k <= FieldCount; ++k) {
            if (k > 1)
                json += u", "_s;
            json += jsonString(fieldName(k)) + u": "_s + jsonString(table.field(k, r));
        }
        json += r < RecordCount ? u"},\n"_s : u"}\n"_s;
    }
    json += u"  ]\n}\n"_s;
    return json;
}

} // namespace korvelan
