#pragma once

// Made-up databases and keyword lists in the shape of the shipped ones, for the loader tests.

#include "additive.h"
#include "keywords.h"

#include <QByteArray>
#include <QList>

namespace fixtures {

// One database line with 19 fields whose texts say where they come from ("r7f3" is field 3 of
// record 7), field 17 the record number and field 19 a keyword line.
inline QByteArray databaseLine(int r)
{
    QByteArray line;
    for (int k = 1; k <= 16; ++k)
        line += 'r' + QByteArray::number(r) + 'f' + QByteArray::number(k) + '$';
    line += QByteArray::number(r) + '$' + QByteArray::number(korvelan::RecordCount + 1 - r) + "$e" +
        QByteArray::number(r) + " mot";
    return line;
}

inline QByteArray joinLines(const QList<QByteArray> &lines)
{
    return lines.join("\r\n");
}

// A database of `count` lines, without CR LF after the last.
inline QList<QByteArray> databaseLines(int count)
{
    QList<QByteArray> lines;
    for (int r = 1; r <= count; ++r)
        lines.append(databaseLine(r));
    return lines;
}

// A keyword list of `count` words laid out as the letter counts say ("a1", "a2", ... then "b1"),
// continuing past the counted 1,385 with words of "z".
inline QList<QByteArray> keywordWords(int count)
{
    QList<QByteArray> words;
    for (int letter = 0; letter < korvelan::LetterCount && words.size() < count; ++letter)
        for (int s = 1; s <= korvelan::KeywordLetterCounts[static_cast<size_t>(letter)] && words.size() < count; ++s)
            words.append(char('a' + letter) + QByteArray::number(s));
    while (words.size() < count)
        words.append("zz" + QByteArray::number(words.size()));
    return words;
}

// A database whose six yes/no fields say "Oui" when the record number is a multiple of the field
// number, and near misses ("oui", "Oui ") just after; the risk classes cycle.
inline QByteArray flagDatabase()
{
    QList<QByteArray> lines;
    const QByteArray risks[] = {"1", "2", "3", "4", "?"};
    for (int r = 1; r <= korvelan::RecordCount; ++r) {
        QList<QByteArray> fields;
        for (int k = 1; k <= 19; ++k)
            fields.append('r' + QByteArray::number(r) + 'f' + QByteArray::number(k));
        for (int k = 6; k <= 11; ++k)
            fields[k - 1] = r % k == 0 ? "Oui" : r % k == 1 ? "oui" : r % k == 2 ? "Oui " : k <= 7 ? "Interdit" : "Non";
        fields[15] = risks[r % 5];
        fields[16] = QByteArray::number(r);
        fields[17] = QByteArray::number(korvelan::RecordCount + 1 - r);
        lines.append(fields.join('$'));
    }
    return joinLines(lines);
}

} // namespace fixtures
