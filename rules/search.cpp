#include "search.h"

#include "listline.h"
#include "win1252.h"

#include <QHash>

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
    DisallowedRemoval removal(text);
    while (!removal.finished())
        removal.removeNext();
    return {removal.characters(), removal.text()};
}

namespace {

bool isAllowed(QStringView character)
{
    // The allowed characters are all ASCII: a table lookup instead of a search of the 63.
    static const std::array<bool, 128> allowed = [] {
        std::array<bool, 128> table{};
        for (QChar c : AllowedCharacters)
            table[c.unicode()] = true;
        return table;
    }();
    return character.size() == 1 && character.front().unicode() < 128 && allowed[character.front().unicode()];
}

} // namespace

DisallowedRemoval::DisallowedRemoval(QStringView text) : m_text(text.toString()), m_length(text.size())
{
    // Each character gets the step that takes it out: the rank of its first appearance among the
    // disallowed characters, found in a hash table.
    std::vector<qsizetype> stepOf; // per character of m_all; -1 when allowed
    QHash<char32_t, qsizetype> steps;
    std::vector<qsizetype> occurrences;
    for (qsizetype i = 0; i < m_text.size();) {
        const QChar c = m_text[i];
        const qsizetype width = c.isHighSurrogate() && i + 1 < m_text.size() && m_text[i + 1].isLowSurrogate() ? 2 : 1;
        const QStringView character = QStringView(m_text).sliced(i, width);
        qsizetype step = -1;
        if (!isAllowed(character)) {
            const char32_t code = width == 2 ? QChar::surrogateToUcs4(c, m_text[i + 1]) : c.unicode();
            const auto found = steps.constFind(code);
            if (found == steps.cend()) {
                step = m_characters.size();
                steps.insert(code, step);
                m_characters.append(character.toString());
                occurrences.push_back(0);
            } else {
                step = *found;
            }
            ++occurrences[static_cast<size_t>(step)];
        }
        m_all.push_back({i, width});
        stepOf.push_back(step);
        i += width;
    }

    // The places of each step's character, grouped by step (a counting sort).
    m_groupStart.assign(occurrences.size() + 1, 0);
    for (size_t s = 0; s < occurrences.size(); ++s)
        m_groupStart[s + 1] = m_groupStart[s] + occurrences[s];
    m_byRemoval.resize(static_cast<size_t>(m_groupStart.back()));
    std::vector<qsizetype> filled(m_groupStart.begin(), m_groupStart.end() - 1);
    for (size_t k = 0; k < m_all.size(); ++k) {
        if (stepOf[k] >= 0)
            m_byRemoval[static_cast<size_t>(filled[static_cast<size_t>(stepOf[k])]++)] = qsizetype(k);
    }

    // A list of the characters still there, with an end slot that also stands for its start.
    const qsizetype end = qsizetype(m_all.size());
    m_next.resize(m_all.size() + 1);
    m_previous.resize(m_all.size() + 1);
    for (qsizetype k = 0; k <= end; ++k) {
        m_next[static_cast<size_t>(k)] = k == end ? 0 : k + 1;
        m_previous[static_cast<size_t>(k)] = k == 0 ? end : k - 1;
    }
}

void DisallowedRemoval::removeNext()
{
    if (finished())
        return;
    const size_t step = static_cast<size_t>(m_step++);
    for (qsizetype p = m_groupStart[step]; p < m_groupStart[step + 1]; ++p) {
        const auto k = static_cast<size_t>(m_byRemoval[static_cast<size_t>(p)]);
        m_next[static_cast<size_t>(m_previous[k])] = m_next[k];
        m_previous[static_cast<size_t>(m_next[k])] = m_previous[k];
        m_length -= m_all[k].width;
    }
}

QString DisallowedRemoval::head(qsizetype units) const
{
    QString result;
    result.reserve(std::min(units, m_length));
    const auto end = qsizetype(m_all.size());
    for (qsizetype k = m_next[static_cast<size_t>(end)]; k != end; k = m_next[static_cast<size_t>(k)]) {
        const Character &c = m_all[static_cast<size_t>(k)];
        if (result.size() + c.width > units)
            break;
        result.append(QStringView(m_text).sliced(c.start, c.width));
    }
    return result;
}

QString DisallowedRemoval::text() const
{
    return head(m_length);
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

SearchHistory::Outcome SearchHistory::record(const QString &word)
{
    const int m = m_count;
    if (m == 0) {
        m_searchHistory[0] = m_sortedHistory[0] = word;
        m_count = 1;
        return Outcome::Added;
    }
    const auto sorted = m_sortedHistory.cbegin();
    if (std::find(sorted, sorted + m, word) != sorted + m)
        return Outcome::AlreadyPresent;
    // The new word would need slot m + 1: past the tables, the word is turned away.
    if (m >= Capacity)
        return Outcome::Refused;

    // The working table starts from the words as the list shows them, sorted.
    std::copy(sorted, sorted + m, m_searchHistory.begin());
    m_searchHistory[static_cast<size_t>(m)] = word;
    m_count = m + 1;
    SortHistory();
    return Outcome::Added;
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
