#pragma once

#include "additive.h"
#include "colouring.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>
#include <optional>

namespace korvelan {

// Which list a display option shows.
enum class ShownList { Numbers, Alphabetical, Flags };

// One of the eight display options under the additive lists. The first two show a full list and
// fill the panel with its first record; the six others build the list of the additives that hold
// "Oui" in one field, in their own colour, and put the count and a suffix into the window title.
struct DisplayOption {
    ShownList list;
    int panelRecord;         // record shown in the detail panel afterwards
    int field;               // field tested for "Oui"; 0 for full lists
    QStringView titleSuffix; // follows the count in the window title; empty for full lists
    quint32 listColour;      // text colour of the flag list; unused for full lists
    QStringView caption;     // the caption beside the option's ring
};

// Indexed by the option (0 to 7). Note that options 5 and 6 are not in field order. Everything that
// has one thing per option is sized from this table.
inline constexpr auto DisplayOptions = std::to_array<DisplayOption>({
    {ShownList::Numbers, 1, 0, {}, colour::Blue, u"Numéro d'additif"},
    {ShownList::Alphabetical, 604, 0, {}, colour::Blue, u"Ordre alphabét."},
    {ShownList::Flags, 17, AuthorisedEU, u" additifs autorisés dans l'UE", colour::Blue, u"Autorisé dans l'UE"},
    {ShownList::Flags, 1, AuthorisedFR, u" additifs autorisés en france", colour::DarkBlue, u"Autorisé en France"},
    {ShownList::Flags, 48, AuthorisedOrganic, u" additifs autorisés en bio", colour::Green, u"Autorisé en bio"},
    {ShownList::Flags, 97, AuthorisedInfants, u" additifs autorisés pour le nourrisson", colour::Magenta,
     u"Autorisé nourrisson"},
    {ShownList::Flags, 4, AnimalOrigin, u" additifs d'origine animale", colour::Brown, u"D'origine animale"},
    {ShownList::Flags, 1, Halal, u" additifs considérés halal", colour::Orange, u"Considéré halal"},
});
inline constexpr int DisplayOptionCount = int(DisplayOptions.size());

// The option of index 0 to 7, or nothing for any other index.
std::optional<DisplayOption> displayOption(int option);

// Record numbers, in ascending order, of the records 1 to RecordCount whose `field` is exactly
// "Oui" (case-sensitive, whole text).
using FlagList = QList<int>;
FlagList buildFlagList(const AdditiveTable &table, int field);

// The list rows of the given records, in their order.
QStringList listLines(const AdditiveTable &table, const QList<int> &records);

// Window title of a flag list: the count in plain decimal digits, then the suffix.
QString flagListTitle(int count, QStringView suffix);

} // namespace korvelan
