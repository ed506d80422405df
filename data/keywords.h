#pragma once

#include "failure.h"
#include "resource.h"

#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <array>
#include <optional>
#include <vector>

namespace korvelan {

inline constexpr int LetterCount = 26;

// How many keywords of the keyword list begin with each letter, a to z. The list is distributed
// into letters by these counts, in order, without looking at the words.
inline constexpr std::array<int, LetterCount> KeywordLetterCounts = {
    64, 45, 75, 46, 715, 15, 44, 27, 13, 3, 5, 30, 46, // a to m
    14, 23, 72, 2,  20,  59, 49, 1,  10, 1, 4, 0,  2,  // n to z
};

// Sum of KeywordLetterCounts: the number of words the index takes from the keyword list.
inline constexpr int KeywordTotal = [] {
    int total = 0;
    for (int count : KeywordLetterCounts)
        total += count;
    return total;
}();

// Index of a letter a to z (small or capital) in the tables, or -1 for any other character.
int letterIndex(QChar c);

// The keywords of one initial letter, in the order of the keyword list: entries 1 to
// KeywordLetterCounts of that letter. Slots that loading did not reach hold the empty text.
// A list is a view into its index and lives no longer than it.
class KeywordIndex;
class LetterList {
public:
    LetterList() = default;
    LetterList(const KeywordIndex *index, int first, int count) : m_index(index), m_first(first), m_count(count) { }

    int size() const { return m_count; }
    // Entry s (1-based); the empty text outside 1 to size().
    QStringView entry(int s) const;

private:
    const KeywordIndex *m_index = nullptr;
    int m_first = 0;
    int m_count = 0;
};

// The 26 letter lists built from the keyword list. Filled once by loadKeywordIndex, read-only
// afterwards.
class KeywordIndex {
public:
    KeywordIndex();

    // The list of letter index 0 (a) to 25 (z).
    LetterList letter(int index) const;
    // The list of the letter c, small or capital; an empty list for any other character.
    LetterList forInitial(QChar c) const { return letter(letterIndex(c)); }

    // Number of slots that loading filled, in letter order.
    int filledCount() const { return m_filled; }

    size_t heapBytes() const;

    // Slot n of all 1,385, in letter order (0-based); the empty text past the filled ones.
    QStringView slot(int n) const;

private:
    friend struct KeywordLoader;

    QString m_text;
    std::vector<std::pair<quint32, quint32>> m_words; // start and end of each slot, in letter order
    int m_filled = 0;
};

struct KeywordLoad {
    KeywordIndex index;
    std::optional<LoadFailure> failure;
};

// Turns the bytes of the keyword resource into the index: decodes them as Windows-1252, drops the
// NUL characters at the end, splits at CR LF and hands the pieces out to the letters by position.
KeywordLoad loadKeywordIndex(QByteArrayView bytes);

// The same, reading the keyword resource first.
KeywordLoad loadKeywordIndex(const ResourceReader &read);

} // namespace korvelan
