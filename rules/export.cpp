#include "export.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace korvelan {

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

QString exportCsv(const AdditiveTable &table, const Truth &truth)
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
            csv += csvField(shownValue(truth, r, k, table.field(k, r)));
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

namespace {

// The "corrections" and "sources" objects of record r.
QString registerEntries(const AdditiveTable &table, int r, const FactRegister *facts)
{
    QString corrections, sources;
    for (int k = 1; facts && k <= FieldCount; ++k) {
        const QStringView value = table.field(k, r);
        const QString name = jsonString(fieldName(k));
        if (const auto forced = facts->forced(r, k, value)) {
            corrections += (corrections.isEmpty() ? u""_s : u", "_s) + name + u": {\"shown\": "_s +
                jsonString(forced->shown) + u", \"world\": "_s + jsonString(forced->world) + u", \"source\": "_s +
                jsonString(forced->source) + u", \"reason\": "_s + jsonString(forced->reason) + u'}';
        }
        if (const auto sourced = facts->sourced(r, k, value))
            sources += (sources.isEmpty() ? u""_s : u", "_s) + name + u": "_s + jsonString(sourced->source);
    }
    return u", \"corrections\": {"_s + corrections + u"}, \"sources\": {"_s + sources + u'}';
}

} // namespace

QString exportJson(const AdditiveTable &table, const Truth &truth)
{
    QString json = u"{\n"_s;
    json += u"  \"licence\": "_s + jsonString(DataLicence) + u",\n"_s;
    json += u"  \"licence_url\": "_s + jsonString(DataLicenceUrl) + u",\n"_s;
    json += u"  \"attribution\": "_s + jsonString(DataAttribution) + u",\n"_s;
    json += u"  \"date\": "_s + jsonString(DataDate) + u",\n"_s;
    json += u"  \"values\": "_s + jsonString(truth.real && truth.facts ? RealValuesMeaning : StoredValuesMeaning) +
        u",\n"_s;
    json += u"  \"corrections\": "_s + jsonString(CorrectionsMeaning) + u",\n"_s;
    json += u"  \"sources\": "_s + jsonString(SourcesMeaning) + u",\n"_s;
    json += u"  \"records\": [\n"_s;
    for (int r = 1; r <= RecordCount; ++r) {
        json += u"    {"_s;
        for (int k = 1; k <= FieldCount; ++k) {
            if (k > 1)
                json += u", "_s;
            json += jsonString(fieldName(k)) + u": "_s + jsonString(shownValue(truth, r, k, table.field(k, r)));
        }
        json += registerEntries(table, r, truth.facts);
        json += r < RecordCount ? u"},\n"_s : u"}\n"_s;
    }
    json += u"  ]\n}\n"_s;
    return json;
}

} // namespace korvelan
