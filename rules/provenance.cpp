#include "provenance.h"

#include <array>
#include <utility>

using namespace Qt::StringLiterals;

namespace korvelan {

namespace {

// The common English forms of the registers and their French, longest first where one holds another.
// clang-format off
constexpr std::array<std::pair<QStringView, QStringView>, 49> kFrench = {{
    {u"Regulation (EC) No ", u"règlement (CE) n° "},
    {u"Regulation (EU) ", u"règlement (UE) "},
    {u"Annex II/III as amended", u"annexes II et III modifiées"},
    {u" Annex I functional classes", u", annexe I (catégories fonctionnelles)"},
    {u"Annex ", u"annexe "},
    {u"as amended", u"modifié"},
    {u"food category", u"catégorie d'aliments"},
    {u"does not list it", u"ne le cite pas"},
    {u"common knowledge of the substance", u"nature connue de la substance"},
    {u"the reference taxonomy wrongly says vegan", u"la taxonomie de référence le dit à tort végane"},
    {u"additives taxonomy", u"taxonomie des additifs"},
    {u"says vegan maybe", u"le dit peut-être végane"},
    {u"says vegan", u"le dit végane"},
    {u"(organic_eu=authorized)", u"(autorisé en bio dans l'UE)"},
    {u"our own indicative class", u"classe indicative propre au programme"},
    {u"EFSA / JECFA opinions on the base substance", u"avis de l'EFSA et du JECFA sur la substance de base"},
    {u"no numerical ADI needed", u"pas de DJA chiffrée nécessaire"},
    {u"no numerical ADI", u"pas de DJA chiffrée"},
    {u"ADI not specified", u"DJA non spécifiée"},
    {u"not specified", u"non spécifiée"},
    {u"no ADI known for", u"pas de DJA connue pour"},
    {u"no ADI for", u"pas de DJA pour"},
    {u"no ADI", u"pas de DJA"},
    {u"raised the ADI to", u"a porté la DJA à"},
    {u"group ADI", u"DJA de groupe"},
    {u"MTDI of", u"DJMT du"},
    {u"MTDI", u"DJMT"},
    {u"as phosphorus", u"en phosphore"},
    {u"never authorised in the EU", u"jamais autorisé dans l'UE"},
    {u"not authorised as a food additive in the EU", u"non autorisé comme additif alimentaire dans l'UE"},
    {u"not authorised in the EU", u"non autorisé dans l'UE"},
    {u"not authorised", u"non autorisé"},
    {u"authorised under its base code", u"autorisé sous son code de base"},
    {u"no public classification", u"pas de classement public"},
    {u"not evaluated", u"non évalué"},
    {u"no current evaluation confirmed", u"aucune évaluation actuelle confirmée"},
    {u"withdrawn in the EU in", u"retiré dans l'UE en"},
    {u"withdrawn by", u"retiré par"},
    {u"not confirmed for this source", u"non confirmée pour cette source"},
    {u"plant, mineral or synthetic source usual", u"source végétale, minérale ou synthétique habituelle"},
    {u"sequestrant or emulsifying salt for some", u"séquestrant ou sel de fusion pour certains"},
    {u"vegan: yes", u"végane : oui"},
    {u"Non or uncertain", u"Non ou incertain"},
    {u"uncertain", u"incertain"},
    {u" is the ", u" est la "},
    {u" gives ", u" donne "},
    {u" and JECFA", u" et JECFA"},
    {u"2 or 3", u"2 ou 3"},
    {u"3 or 4", u"3 ou 4"},
}};
// clang-format on

} // namespace

QString frenchRegisterText(QStringView text)
{
    QString french = text.toString();
    for (const auto &[english, translation] : kFrench)
        french.replace(english.data(), english.size(), translation.data(), translation.size());
    // French sets a space before the colon and the semicolon.
    QString spaced;
    spaced.reserve(french.size() + 4);
    for (qsizetype i = 0; i < french.size(); ++i) {
        const QChar c = french[i];
        if ((c == u':' || c == u';') && i > 0 && french[i - 1] != u' ' && i + 1 < french.size() &&
            french[i + 1] == u' ')
            spaced += u' ';
        spaced += c;
    }
    return spaced;
}

QString shortSource(QStringView source)
{
    int depth = 0;
    for (qsizetype i = 0; i < source.size(); ++i) {
        if (source[i] == u'(')
            ++depth;
        else if (source[i] == u')' && depth > 0)
            --depth;
        else if (source[i] == u',' && depth == 0)
            return source.first(i).trimmed().toString();
    }
    return source.trimmed().toString();
}

QString boxNote(const FactRegister &facts, int r, int k, QStringView value)
{
    if (value.isEmpty())
        return {};
    if (const ForcedValue *forced = facts.forced(r, k, value)) {
        return u"Valeur imposée par le format de la base. En réalité : "_s + frenchRegisterText(forced->world) +
            u" ("_s + frenchRegisterText(forced->source) + u")."_s;
    }
    if (const SourcedValue *sourced = facts.sourced(r, k, value))
        return u"Source : "_s + frenchRegisterText(sourced->source);
    return {};
}

QString shownValue(const Truth &truth, int r, int k, QStringView value)
{
    if (truth.real && truth.facts) {
        if (const ForcedValue *forced = truth.facts->forced(r, k, value))
            return frenchRegisterText(forced->world);
    }
    return value.toString();
}

QString cardNote(const Truth &truth, int r, int k, QStringView value)
{
    const ForcedValue *forced = truth.facts ? truth.facts->forced(r, k, value) : nullptr;
    if (!forced)
        return {};
    const QString source = shortSource(frenchRegisterText(forced->source));
    if (truth.real)
        return u"  (valeur de la base : "_s + value.toString() + u" ; "_s + source + u')';
    return u"  (en réalité : "_s + frenchRegisterText(forced->world) + u" ; "_s + source + u')';
}

} // namespace korvelan
