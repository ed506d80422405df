#pragma once

#include "additive.h"
#include "provenance.h"

#include <QList>
#include <QString>
#include <QStringView>

#include <array>

namespace korvelan {

// A field of the detail panel with the caption above its box.
struct CaptionedField {
    Field field;
    QStringView caption;
};

// The captioned boxes of the detail panel, in reading order: left to right, top to bottom.
inline constexpr std::array<CaptionedField, 14> DetailCaptions = {{
    {Category, u"Catégorie:"},
    {Synonyms, u"Synonymes:"},
    {RiskLevel, u"Risque"},
    {DailyIntake, u"DJA"},
    {Origin, u"Naturel/Chim."},
    {AuthorisedEU, u"Autorisé UE"},
    {AuthorisedFR, u"Autorisé FR"},
    {AuthorisedOrganic, u"Autorisé AB"},
    {AnimalOrigin, u"Origine AN"},
    {AuthorisedInfants, u"Autorisé BB"},
    {Halal, u"Halal"},
    {Usage, u"Utilisation:"},
    {RiskGroups, u"Groupes à risques:"},
    {Symptoms, u"Symptômes:"},
}};

// Column at which the values of a card start: the widest caption and two spaces.
inline constexpr qsizetype CardValueColumn = 20;

// The card of one additive as text for a terminal: the heading "FICHE DE L'ADDITIF " and the code,
// the name on the next line, then one line per captioned box: the caption padded to
// CardValueColumn characters and the field exactly as stored. Lines end with "\n".
QString additiveCard(const AdditiveRecord &record);
// The card of record r with what the register says of its values (see Truth): each line whose value is
// forced ends with cardNote; with truth.real the values are the real ones and a last line,
// RealValuesLine, says so.
QString additiveCard(const AdditiveRecord &record, int r, const Truth &truth);

// The loaded records (ascending) whose code equals `code`, letter case ignored; the database holds a
// few codes twice.
QList<int> recordsWithCode(QStringView code, const AdditiveTable &table);

// One additive found by a search, for a terminal: code, name, category and risk class, separated by
// tabs, ending with "\n".
QString foundLine(const AdditiveRecord &record);
// The same for record r, with the real values in place of forced ones when truth.real is set.
QString foundLine(const AdditiveRecord &record, int r, const Truth &truth);

// A keyword search as a terminal shows it: the caption of the search page ("2 additifs
// trouvés.") and one foundLine per additive found, in record order.
QString searchReport(QStringView word, const AdditiveTable &table, const Truth &truth = {});

} // namespace korvelan
