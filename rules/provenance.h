#pragma once

#include "register.h"

#include <QString>
#include <QStringView>

namespace korvelan {

// What the terminal answers do with the values that the format of the database forces: without a
// register they show the database alone; with one they show each forced value with its real value
// beside it, or, when `real` is set, the real value in its place.
struct Truth {
    const FactRegister *facts = nullptr;
    bool real = false;
};

// A text of the registers (a source, a real value) in French: the registers write them in English,
// and the common forms are translated ("Regulation (EC) No 1333/2008" becomes "règlement (CE)
// n° 1333/2008"); the rest, names of substances and bodies, stays as written. The rule letter that
// opens a source ("rule A: ") is left out.
QString frenchRegisterText(QStringView text);

// A source (in French) as a card line cites it: the first regulation it names ("règlement (CE)
// n° 1333/2008"), else the opinion it opens with ("EFSA 2019"), else its first statement, up to a
// semicolon outside parentheses.
QString shortSource(QStringView source);

// The tooltip and accessible description of the detail box that shows `value` as field k of record
// r: for a forced value what it is in reality and where that comes from ("Valeur imposée par le
// format de la base. En réalité : Oui (…)."), for a sourced value its source ("Source : EFSA 2025"),
// and the empty text for any other value and for an empty box.
QString boxNote(const FactRegister &facts, int r, int k, QStringView value);

// What a terminal shows of field k of record r: the value itself, or its real value when the value
// is forced and truth.real is set.
QString shownValue(const Truth &truth, int r, int k, QStringView value);

// The end of a card line that shows field k of record r: for a forced value, its real value and
// short source ("  (en réalité : Oui ; règlement (CE) n° 1333/2008)"), or with truth.real the
// database's value that the line replaces ("  (valeur de la base : Interdit ; …)"); empty otherwise.
QString cardNote(const Truth &truth, int r, int k, QStringView value);

// The last line of a card that shows real values, "\n" included.
inline constexpr QStringView RealValuesLine =
    u"Valeurs réelles : chaque valeur imposée par le format de la base est remplacée par la valeur réelle.\n";

} // namespace korvelan
