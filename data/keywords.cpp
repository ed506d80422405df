#include "keywords.h"

#include "separators.h"
#include "win1252.h"

#include <limits>

namespace korvelan {
namespace {

// Where the list of each letter starts among all the slots.
constexpr std::array<int, LetterCount> kLetterStarts = [] {
    std::array<int, LetterCount> starts{};
    int start = 0;
    for (size_t i = 0; i < starts.size(); ++i) {
        starts[i] = start;
        start += KeywordLetterCounts[i];
    }
    return starts;
}();

} // namespace

int letterIndex(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'a' && u <= u'z')
        return u - u'a';
    if (u >= u'A' && u <= u'Z')
        return u - u'A';
    return -1;
}

QStringView LetterList::entry(int s) const
{
    if (!m_index || s < 1 || s > m_count)
        return {};
    return m_index->slot(m_first + s - 1);
}

KeywordIndex::KeywordIndex() : m_words(KeywordTotal, {0, 0})
{ }

LetterList KeywordIndex::letter(int index) const
{
    if (index < 0 || index >= LetterCount)
        return {};
    const auto i = static_cast<size_t>(index);
    return LetterList(this, kLetterStarts[i], KeywordLetterCounts[i]);
}

QStringView KeywordIndex::slot(int n) const
{
    if (n < 0 || n >= m_filled)
        return {};
    const auto [start, end] = m_words[static_cast<size_t>(n)];
    return QStringView(m_text).sliced(start, end - start);
}

size_t KeywordIndex::heapBytes() const
{
    return static_cast<size_t>(m_text.capacity()) * sizeof(QChar) + m_words.capacity() * sizeof(m_words[0]);
}

struct KeywordLoader {
    static KeywordLoad load(QByteArrayView bytes)
    {
        KeywordLoad result;
        KeywordIndex &index = result.index;
        if (bytes.size() > std::numeric_limits<qint32>::max()) {
            result.failure = LoadFailure::ResourceUnavailable;
            return result;
        }
        // NUL bytes at the end close the resource; they belong to no word.
        qsizetype size = bytes.size();
        while (size > 0 && bytes[size - 1] == '\0')
            --size;
        index.m_text = decodeWindows1252(bytes.first(size));

        // Hand the pieces between CR LF to the letters in order: the first 64 to "a", and so on.
        qsizetype pieceStart = 0;
        bool morePieces = size > 0;
        for (int n = 0; n < KeywordTotal; ++n) {
            if (!morePieces) {
                result.failure = LoadFailure::TooFewKeywords;
                return result;
            }
            qsizetype end = findLineEnd(bytes.first(size), pieceStart);
            if (end < 0) {
                end = size;
                morePieces = false;
            }
            index.m_words[static_cast<size_t>(n)] = {static_cast<quint32>(pieceStart), static_cast<quint32>(end)};
            index.m_filled = n + 1;
            pieceStart = end + 2;
        }
        return result;
    }
};

KeywordLoad loadKeywordIndex(QByteArrayView bytes)
{
    return KeywordLoader::load(bytes);
}

KeywordLoad loadKeywordIndex(const ResourceReader &read)
{
    const std::optional<QByteArray> bytes = read ? read(kKeywordResource) : std::nullopt;
    if (!bytes) {
        KeywordLoad result;
        result.failure = LoadFailure::ResourceUnavailable;
        return result;
    }
    return loadKeywordIndex(*bytes);
}

} // namespace korvelan
