#include "suggestions.h"

#include <algorithm>

namespace korvelan {

namespace {

// True when the first text.size() characters of `word`, lower-cased, are exactly `text`.
bool beginsWithLowered(QStringView word, QStringView text)
{
    if (word.size() < text.size())
        return false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = word[i].unicode();
        // Keywords are plain ASCII; other characters take the general case mapping.
        const char16_t lowered =
            c < 0x80 ? (c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c) : word[i].toLower().unicode();
        if (lowered != text[i].unicode())
            return false;
    }
    return true;
}

} // namespace

QList<QStringView> SuggestKeywords(QStringView text, const KeywordIndex &index)
{
    QList<QStringView> result;
    if (text.size() < 2)
        return result;
    const int letter = letterIndex(text.front());
    if (letter < 0)
        return result;

    // The number of entries comes from the letter counts, as the list was cut by them.
    const LetterList list = index.letter(letter);
    const int count = KeywordLetterCounts[static_cast<size_t>(letter)];
    for (int s = 1; s <= count; ++s) {
        const QStringView word = list.entry(s);
        if (beginsWithLowered(word, text))
            result.append(word);
    }
    return result;
}

qsizetype longestKeyword(const KeywordIndex &index)
{
    qsizetype longest = 0;
    for (int letter = 0; letter < LetterCount; ++letter) {
        const LetterList list = index.letter(letter);
        for (int s = 1; s <= KeywordLetterCounts[static_cast<size_t>(letter)]; ++s)
            longest = std::max(longest, list.entry(s).size());
    }
    return longest;
}

} // namespace korvelan
