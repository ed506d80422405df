#pragma once

#include "additive.h"

#include <QString>
#include <QStringView>

namespace korvelan {

// The name of field k (1 to 19) in exported data: ENumber, AdditiveName, ... Keywords.
QStringView fieldName(int k);

// What whoever reuses the exported database must know: its licence (SPDX identifier) and whom to credit.
inline constexpr QStringView DataLicence = u"ODbL-1.0";
inline constexpr QStringView DataLicenceUrl = u"https://opendatacommons.org/licenses/odbl/1-0/";
inline constexpr QStringView DataAttribution =
    u"Les KORVELAN ; base tirée en partie de la taxonomie des additifs du projet Open Food Facts "
    u"(https://world.openfoodfacts.org), publiée sous la licence ODbL 1.0.";
// The date of the shipped data: the date of the release that carries it.
inline constexpr QStringView DataDate = u"2026-12-08";

// One field as a CSV cell: quoted, with its quotation marks doubled, when it holds a comma, a
// quotation mark, CR or LF; as it stands otherwise (spaces included).
QString csvField(QStringView text);

// Records 1 to RecordCount as CSV: a header line of the 19 field names, then one line per record in
// database order; lines end with CR LF.
QString exportCsv(const AdditiveTable &table);

// A text as a JSON string, quotation marks included. Characters outside ASCII are kept as they are.
QString jsonString(QStringView text);

// Records 1 to RecordCount as one JSON object: the licence, the attribution, the date of the data and
// "records", an array of objects with the 19 fields by name, in database order, one per line.
QString exportJson(const AdditiveTable &table);

} // namespace korvelan
