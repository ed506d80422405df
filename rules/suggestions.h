#pragma once

#include "keywords.h"

#include <QList>
#include <QStringView>

namespace korvelan {

// The keywords offered for a search text: those of the list of its first letter whose beginning,
// lower-cased, equals the text exactly. Nothing for a text shorter than 2 characters or one that
// does not begin with a letter a to z. The comparison is case-sensitive, so a text holding a
// capital or a space never matches. Keeps the order of the list; walks that one list only. The
// views point into the index.
QList<QStringView> SuggestKeywords(QStringView text, const KeywordIndex &index);

// The length of the longest keyword SuggestKeywords can offer: a longer text gets no suggestion,
// whatever it holds.
qsizetype longestKeyword(const KeywordIndex &index);

} // namespace korvelan
