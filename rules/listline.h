#pragma once

#include "additive.h"

#include <QString>
#include <QStringView>

namespace korvelan {

// Spaces before the "$" of a row: six in the additive lists, seven in the search results.
inline constexpr int ListSeparatorSpaces = 6;
inline constexpr int SearchSeparatorSpaces = 7;

// The row of one additive: code, name, category, risk class and the two authorisations in padded
// columns, then `separatorSpaces` spaces, "$" and the record's sequence number. Lengths count
// characters, not bytes.
QString rowLine(const AdditiveRecord &record, int separatorSpaces);

// The row of every additive list (six spaces before the "$").
QString ListLine(const AdditiveRecord &record);
QString ListLine(const AdditiveTable &table, int r);

// The row of the search results (seven spaces before the "$").
QString SearchLine(const AdditiveRecord &record);
QString SearchLine(const AdditiveTable &table, int r);

} // namespace korvelan
