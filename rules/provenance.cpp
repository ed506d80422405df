#include "provenance.h"

#include <QRegularExpression>

#include <array>
#include <utility>

using namespace Qt::StringLiterals;

namespace korvelan {

namespace {

// The common English forms of the registers and their French, longest first where one holds another.
// clang-format off
constexpr std::array<std::pair<QStringView, QStringView>, 136> kFrench = {{
    // The rules' sentences, longest first.
    {u", which is listed on the Union list", u", qui figure sur la liste de l'Union"},
    {u", which is listed", u", qui y figure"},
    {u" is not listed on the Union list", u" ne figure pas sur la liste de l'Union"},
    {u" is listed on the Union list", u" figure sur la liste de l'Union"},
    {u" is not listed", u" n'y figure pas"},
    {u" is listed", u" y figure"},
    {u"one form of ", u"une forme de "},
    {u" is a sub-code of ", u" est un sous-code de "},
    {u" is a form of ", u" est une forme de "},
    {u"Annex II Part E, categories 13.1.1 to 13.1.5.2", u"annexe II, partie E, catégories 13.1.1 à 13.1.5.2"},
    {u"Part A1", u"partie A1"},
    {u"no animal source known for the substance", u"aucune source animale connue pour la substance"},
    {u"no animal source known", u"aucune source animale connue"},
    {u"Open Food Facts taxonomy (ODbL 1.0): vegan no or maybe",
     u"taxonomie Open Food Facts (ODbL 1.0): végane « non » ou « peut-être »"},
    {u"Open Food Facts taxonomy (ODbL 1.0): vegan", u"taxonomie Open Food Facts (ODbL 1.0): végane"},
    {u"plant, mineral or synthetic origin", u"origine végétale, minérale ou synthétique"},
    {u"of animal or possibly animal origin, so not confirmed",
     u"d'origine animale ou peut-être animale, donc non confirmé"},
    {u"origin not documented, so not confirmed", u"origine non documentée, donc non confirmé"},
    {u"origin of the substance: insects (", u"origine de la substance: insectes ("},
    {u"), bees (", u"), abeilles ("},
    {u"), bones or hides (", u"), os ou peaux ("},
    {u"), whale (", u"), baleine ("},
    {u"), wool (", u"), laine ("},
    {u"), milk (", u"), lait ("},
    {u"), egg white (", u"), blanc d'œuf ("},
    {u"bee and egg products, taken without slaughter, are considered halal",
     u"produits des abeilles et œufs, obtenus sans abattage, considérés comme halal"},
    {u"ethanol: alcohol, not considered halal", u"éthanol: alcool, non considéré comme halal"},
    {u"not authorised in the EU and never evaluated there", u"non autorisé dans l'UE et jamais évalué"},
    {u"no ADI for this code could be confirmed", u"aucune DJA n'a pu être confirmée pour ce code"},
    {u"no ADI could be confirmed for this code", u"aucune DJA n'a pu être confirmée pour ce code"},
    {u"not evaluated for this form", u"non évalué sous cette forme"},
    {u"numerical ADI (EFSA 2025 raised it to 15 mg/kg)", u"DJA chiffrée (relevée à 15 mg/kg par l'avis EFSA 2025)"},
    // The opinions' words.
    {u"the ADI of 1,5 set by SCF 1983 was withdrawn", u"la DJA de 1,5 fixée par le SCF en 1983 a été retirée"},
    {u"temporary ADI set by SCF 1994, kept", u"DJA temporaire fixée par le SCF en 1994, maintenue"},
    {u"re-evaluation: its figure could not be confirmed", u"réévaluation dont le chiffre n'a pu être confirmé"},
    {u"could not set an ADI", u"n'a pas pu fixer de DJA"},
    {u"kept the ADI of 5 set by SCF 1996", u"a gardé la DJA de 5 fixée par le SCF en 1996"},
    {u"reconsideration of the ADI of", u"réexamen de la DJA de"},
    {u"group ADI as boron", u"DJA de groupe, en bore"},
    {u"re-evaluation: the ADI of 15 set by SCF 2000 is kept", u"réévaluation : la DJA de 15 fixée par le SCF en 2000 est maintenue"},
    {u", set in 2010 (EFSA Journal 2010;8(4):1537) and kept", u", fixée en 2010 (EFSA Journal 2010;8(4):1537) et maintenue"},
    {u"set no other figure", u"n'a pas fixé d'autre valeur"},
    {u"group ADI 0-5 of synthetic beta-carotene and beta-carotene from Blakeslea trispora", u"DJA de groupe 0-5 du bêta-carotène de synthèse et de Blakeslea trispora"},
    {u"group ADI of methyl and ethyl p-hydroxybenzoates and their sodium salts", u"DJA de groupe des p-hydroxybenzoates de méthyle et d'éthyle et de leurs sels de sodium"},
    {u"re-evaluation of saccharin and its salts", u"réévaluation de la saccharine et de ses sels"},
    {u"maximum tolerable daily intake of phosphates as phosphorus",
     u"dose journalière maximale tolérable des phosphates, en phosphore"},
    {u"these codes are not on the EU list, so EFSA 2019 does not cover them",
     u"ces codes ne sont pas sur la liste de l'UE : l'avis EFSA 2019 ne les couvre pas"},
    {u"group ADI of phosphates as phosphorus", u"DJA de groupe des phosphates, en phosphore"},
    {u"the temporary group ADI of 0,7 was withdrawn", u"la DJA de groupe temporaire de 0,7 a été retirée"},
    {u"sulphites have no ADI since", u"les sulfites n'ont plus de DJA depuis"},
    {u"temporary group ADI", u"DJA de groupe temporaire"},
    {u"individual ADI within the caramel group", u"DJA propre au sein du groupe des caramels"},
    {u"group ADI of the caramel colours", u"DJA de groupe des caramels"},
    {u"group ADI of lycopene from all sources", u"DJA de groupe du lycopène de toutes origines"},
    {u"no ADI could be set for", u"aucune DJA n'a pu être fixée pour"},
    {u"re-evaluation of the ADI of", u"réévaluation de la DJA de"},
    {u"re-evaluation of", u"réévaluation de"},
    {u"EFSA has given no later figure", u"l'EFSA n'a pas donné de chiffre plus récent"},
    {u"EFSA 2012 set none", u"l'EFSA n'en a fixé aucune en 2012"},
    {u"the lower figure is kept as it could not be confirmed", u"la valeur la plus basse est gardée faute de confirmation"},
    {u"the same limit", u"la même limite"},
    {u"pesticide evaluation of", u"évaluation comme pesticide du"},
    {u"replaces ", u"remplace "},
    {u" set by ", u" fixée par le "},
    {u" set in ", u" fixée en "},
    {u"for both types", u"pour les deux types"},
    {u"with benzoic acid and benzoates", u"avec l'acide benzoïque et les benzoates"},
    {u"as nitrite ion", u"en ion nitrite"},
    {u"as nitrate ion", u"en ion nitrate"},
    {u"as cyclamic acid", u"en acide cyclamique"},
    {u"as calcium disodium EDTA", u"en EDTA calcique disodique"},
    {u"as benzoic acid", u"en acide benzoïque"},
    {u"as adipic acid", u"en acide adipique"},
    {u"as glutamic acid", u"en acide glutamique"},
    {u"as sorbic acid", u"en acide sorbique"},
    {u"as steviol equivalents", u"en équivalents stéviol"},
    {u"as sucrose esters", u"en esters de saccharose"},
    {u"as saponins", u"en saponines"},
    {u"as propane-1,2-diol", u"en propane-1,2-diol"},
    {u"(0,16 as boron)", u"(0,16 en bore)"},
    {u"; withdrawn 2018)", u"; retiré en 2018)"},
    {u" kept 5", u" a gardé 5"},
    {u"not authorised as a food additive (", u"non autorisé comme additif alimentaire ("},
    {u"group ADI of ", u"DJA de groupe des "},
    // Older forms of the registers.
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
    {u"ADI ", u"DJA "},
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
    {u" and EFSA", u" et EFSA"},
    {u" and SCF", u" et SCF"},
    {u"2 or 3", u"2 ou 3"},
    {u"3 or 4", u"3 ou 4"},
}};
// clang-format on

} // namespace

QString frenchRegisterText(QStringView text)
{
    // "rule A: " names the rule of the data's documentation that gives the value; a reader of the
    // window or of a card needs the evidence that follows, not the letter.
    // Read by hand rather than by a regular expression: the window calls this for every record it
    // shows, and a pattern engine would be loaded for one prefix.
    if (text.size() >= 8 && text.startsWith(u"rule ") && text[5] >= u'A' && text[5] <= u'Z' &&
        text.sliced(6, 2) == u": ")
        text = text.sliced(8);
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
    // A regulation or an opinion, cited by its name and number or year.
    static const QRegularExpression cited(u"règlement \\((?:CE|UE)\\) (?:n° )?\\d+/\\d+|^(?:EFSA|JECFA|SCF) \\d{4}"_s);
    if (const QRegularExpressionMatch match = cited.match(source.toString()); match.hasMatch())
        return match.captured();
    // Otherwise the first statement: before the first semicolon outside parentheses.
    int depth = 0;
    for (qsizetype i = 0; i < source.size(); ++i) {
        if (source[i] == u'(')
            ++depth;
        else if (source[i] == u')' && depth > 0)
            --depth;
        else if (source[i] == u';' && depth == 0)
            return source.first(i).trimmed().toString();
    }
    return source.trimmed().toString();
}

QString boxNote(const FactRegister &facts, int r, int k, QStringView value)
{
    if (value.isEmpty())
        return {};
    if (const auto forced = facts.forced(r, k, value)) {
        return u"Valeur imposée par le format de la base. En réalité : "_s + frenchRegisterText(forced->world) +
            u" ("_s + frenchRegisterText(forced->source) + u")."_s;
    }
    if (const auto sourced = facts.sourced(r, k, value))
        return u"Source : "_s + frenchRegisterText(sourced->source);
    return {};
}

QString shownValue(const Truth &truth, int r, int k, QStringView value)
{
    if (truth.real && truth.facts) {
        if (const auto forced = truth.facts->forced(r, k, value))
            return frenchRegisterText(forced->world);
    }
    return value.toString();
}

QString cardNote(const Truth &truth, int r, int k, QStringView value)
{
    const std::optional<ForcedValue> forced = truth.facts ? truth.facts->forced(r, k, value) : std::nullopt;
    if (!forced)
        return {};
    const QString source = shortSource(frenchRegisterText(forced->source));
    if (truth.real)
        return u"  (valeur de la base : "_s + value.toString() + u" ; "_s + source + u')';
    return u"  (en réalité : "_s + frenchRegisterText(forced->world) + u" ; "_s + source + u')';
}

} // namespace korvelan
