#include "search.h"

#include "listline.h"
#include "win1252.h"

#include <algorithm>
#include <utility>

using namespace Qt::StringLiterals;

namespace korvelan {

QString sChangeCaractere(QString laChaine, QString old_car, QString new_car)
{
    if (old_car.isEmpty())
        return laChaine;
    if (std::all_of(laChaine.cbegin(), laChaine.cend(), [](QChar c) { return c == u' '; }))
        return laChaine; // empty, or spaces only

    QString result;
    qsizetype from = 0;
    for (qsizetype found = laChaine.indexOf(old_car, from); found >= 0; found = laChaine.indexOf(old_car, from)) {
        result.append(QStringView(laChaine).sliced(from, found - from));
        result.append(new_car);
        from = found + old_car.size();
    }
    result.append(QStringView(laChaine).sliced(from));
    return result;
}

bool MatchesKeyword(QStringView word, QStringView keywords)
{
    return keywords.contains(word, Qt::CaseInsensitive);
}

bool MatchesKeyword(QStringView word, const AdditiveTable &table, int r)
{
    return MatchesKeyword(word, table.field(Keywords, r));
}

QString disallowedCharacterMessage()
{
    return u"Seuls les caractères:\r\n\r\n"
           u"ABCDEFGHIJKLMNOPQRSTUVWXYZ\r\n"
           u"abcdefghijklmnopqrstuvwxyz\r\n"
           u"0123456789\r\n\r\n"
           u"sont autorisés."_s;
}

QStringList InputCheck::messages() const
{
    return QStringList(removed.size(), disallowedCharacterMessage());
}

InputCheck checkSearchInput(QStringView text)
{
    // Removing a disallowed character takes out all its occurrences at once, so each one is
    // reported once, where it first appears.
    InputCheck check;
    check.text.reserve(text.size());
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype width = text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2 : 1;
        const QStringView character = text.sliced(i, width);
        if (width == 1 && AllowedCharacters.contains(character.front())) {
            check.text.append(character);
        } else if (!check.removed.contains(character)) {
            check.removed.append(character.toString());
        }
        i += width;
    }
    return check;
}

QString resultCaption(int count)
{
    if (count == 0)
        return u"Aucun additif trouvé."_s;
    if (count == 1)
        return u"Un additif trouvé."_s;
    return QString::number(count) + u" additifs trouvés."_s;
}

QString noResultRow(QStringView word)
{
    return u"     Aucun additif trouvé avec le mot ''"_s + word.toString() + u"''"_s;
}

SearchResult searchKeywords(QStringView word, const AdditiveTable &table)
{
    SearchResult result;
    for (int r = 1; r <= RecordCount; ++r) {
        if (MatchesKeyword(word, table, r)) {
            result.records.append(r);
            result.rows.append(SearchLine(table, r));
        }
    }
    if (result.records.isEmpty())
        result.rows = QStringList{QString(), noResultRow(word)};
    return result;
}

int historyCharacterCode(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return u;
    for (int byte = 0x80; byte < 0xA0; ++byte) {
        if (windows1252ToUnicode(static_cast<unsigned char>(byte)) == u)
            return byte;
    }
    return 258 + u; // after every code of the code page and after the "no character" code 257
}

namespace {

constexpr int kNoCharacter = 257;

int codeAt(const QString &word, int p)
{
    return p <= word.size() ? historyCharacterCode(word[p - 1]) : kNoCharacter;
}

} // namespace

SearchHistory::Update SearchHistory::record(const QString &word, const QStringList &currentList)
{
    if (currentList.isEmpty())
        return {Outcome::Added, QStringList{word}};
    if (currentList.contains(word, Qt::CaseSensitive))
        return {Outcome::AlreadyPresent, currentList};
    // The new word would need slot m + 1: past the tables, the word is turned away.
    const qsizetype m = currentList.size();
    if (m >= Capacity)
        return {Outcome::Refused, currentList};

    for (int i = 1; i <= m; ++i)
        m_searchHistory[static_cast<size_t>(i - 1)] = currentList[i - 1];
    m_searchHistory[static_cast<size_t>(m)] = word;
    m_count = int(m) + 1;
    SortHistory();
    return {Outcome::Added, sortedWords()};
}

// An exchange sort: for every slot i, each other slot j is compared with it and the two are
// exchanged when slot i orders before slot j. j stops one short of the last slot; the last pass
// (i on the last slot) still inserts that slot's word into the sorted rest.
void SearchHistory::SortHistory()
{
    const int n = m_count;
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n - 1; ++j) {
            if (j == i)
                continue;
            QString &a = m_searchHistory[static_cast<size_t>(i - 1)];
            QString &b = m_searchHistory[static_cast<size_t>(j - 1)];
            for (int p = 1;; ++p) {
                const int ci = codeAt(a, p);
                const int cj = codeAt(b, p);
                if (ci < cj) {
                    std::swap(a, b);
                    break;
                }
                if (ci > cj)
                    break;
                if (p < a.size()) {
                    if (p == b.size())
                        break; // slot j is a beginning of slot i
                    continue;
                }
                if (p == a.size() && a.size() < b.size())
                    std::swap(a, b); // slot i is a proper beginning of slot j
                break;
            }
        }
    }
    for (int i = 1; i <= n; ++i)
        m_sortedHistory[static_cast<size_t>(i - 1)] = m_searchHistory[static_cast<size_t>(i - 1)];
}

void SearchHistory::setHistoryCount(int count)
{
    m_count = std::clamp(count, 0, Capacity);
}

QString SearchHistory::searchHistorySlot(int i) const
{
    return i >= 1 && i <= Capacity ? m_searchHistory[static_cast<size_t>(i - 1)] : QString();
}

void SearchHistory::setSearchHistorySlot(int i, const QString &word)
{
    if (i >= 1 && i <= Capacity)
        m_searchHistory[static_cast<size_t>(i - 1)] = word;
}

QString SearchHistory::sortedHistorySlot(int i) const
{
    return i >= 1 && i <= Capacity ? m_sortedHistory[static_cast<size_t>(i - 1)] : QString();
}

QStringList SearchHistory::sortedWords() const
{
    return QStringList(m_sortedHistory.cbegin(), m_sortedHistory.cbegin() + m_count);
}

} // namespace korvelan
