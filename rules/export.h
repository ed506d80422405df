#pragma once

#include "additive.h"
#include "provenance.h"

#include <QString>
#include <QStringView>

namespace korvelan {

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
// database order; lines end with CR LF. With truth.real, the real values in place of forced ones.
QString exportCsv(const AdditiveTable &table, const Truth &truth = {});

// A text as a JSON string, quotation marks included. Characters outside ASCII are kept as they are.
QString jsonString(QStringView text);

// What the registers' entries of each exported record mean, and which values the export holds.
inline constexpr QStringView CorrectionsMeaning =
    u"Par champ, les valeurs que le format de la base impose contre les faits publics : shown, la valeur de "
    u"la base ; world, la valeur réelle ; source, d'où vient le fait ; reason, le compte ou la fiche fixée "
    u"qui l'impose. Textes du registre forced-values.tsv, en anglais.";
inline constexpr QStringView SourcesMeaning =
    u"Par champ, la source de la valeur de la base : l'avis de l'EFSA ou du JECFA et son année, ou le "
    u"règlement. Textes du registre sources.tsv, en anglais.";
inline constexpr QStringView StoredValuesMeaning =
    u"Les valeurs de la base telles qu'elles sont enregistrées, valeurs imposées comprises.";
inline constexpr QStringView RealValuesMeaning =
    u"Les valeurs réelles : chaque valeur imposée par le format de la base est remplacée par sa valeur réelle.";

// Records 1 to RecordCount as one JSON object: the licence, the attribution, the date of the data,
// what the values, "corrections" and "sources" are, and "records", an array of objects with the 19
// fields by name, then "corrections" (by field name, each forced value: shown, world, source, reason)
// and "sources" (by field name, the source of each sourced value), in database order, one per line.
QString exportJson(const AdditiveTable &table, const Truth &truth = {});

} // namespace korvelan
