#pragma once

#include "additive.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>
#include <vector>

namespace korvelan {

// Replaces every occurrence of old_car in laChaine by new_car, from the left, without overlaps and
// without searching the replacement text again. An empty old_car, and a text that is empty or
// holds spaces only, give laChaine unchanged.
QString sChangeCaractere(QString laChaine, QString old_car, QString new_car);

// True when `word` occurs anywhere in `keywords`, letter case ignored. There is no word boundary:
// "e100" occurs in "e1000 acide", and a space must match a space.
bool MatchesKeyword(QStringView word, QStringView keywords);
// The same against the keyword line of record r.
bool MatchesKeyword(QStringView word, const AdditiveTable &table, int r);

// The characters a search word may hold: letters without accents, digits and the space.
inline constexpr QStringView AllowedCharacters = u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789 ";

// Shortest word the search page searches: its button and the Enter key wait for a second character.
// The terminal's search asks the same.
inline constexpr qsizetype MinimumSearchLength = 2;

// Text of the message shown for each disallowed character typed into the search word.
QString disallowedCharacterMessage();

// Outcome of checking a search word: the characters taken out, each once in the order of their
// first appearance (one message is due for each), and the text left with allowed characters only.
// Every character is checked, however long the text.
struct InputCheck {
    QStringList removed; // one character each (a pair of surrogates counts as one)
    QString text;

    // One message text per removed character.
    QStringList messages() const;
};
InputCheck checkSearchInput(QStringView text);

// The taking out of the disallowed characters of a search word, one character after another: each
// step takes every occurrence of the next character out of the text as it stands, as a removal
// with sChangeCaractere would, in the order of their first appearance. One pass over the text finds
// them all; a step then costs time in proportion to the occurrences it takes out, and the length
// and the beginning of the text are known at each step without going over the rest of it.
class DisallowedRemoval {
public:
    explicit DisallowedRemoval(QStringView text);

    // The distinct disallowed characters in order (one character each, a pair of surrogates
    // counting as one), and how many of them the steps have taken out so far.
    const QStringList &characters() const { return m_characters; }
    qsizetype removedCount() const { return m_step; }
    bool finished() const { return m_step == m_characters.size(); }

    // Takes every occurrence of the next character out; nothing once finished.
    void removeNext();

    // The text as it now stands: its length, its first characters up to `units` UTF-16 units (a
    // pair of surrogates is never cut), and the whole of it.
    qsizetype length() const { return m_length; }
    QString head(qsizetype units) const;
    QString text() const;

private:
    struct Character {
        qsizetype start;
        qsizetype width; // 1, or 2 for a pair of surrogates
    };
    QString m_text;
    QStringList m_characters;
    std::vector<Character> m_all;              // every character of the text, in order
    std::vector<qsizetype> m_byRemoval;        // the places in m_all of each disallowed character, grouped
    std::vector<qsizetype> m_groupStart;       // by its step: step s owns [m_groupStart[s], m_groupStart[s + 1])
    std::vector<qsizetype> m_next, m_previous; // the characters still there, linked; the last slot is the end
    qsizetype m_length = 0;
    qsizetype m_step = 0;
};

// Caption under the search results: "Aucun additif trouvé.", "Un additif trouvé." or
// "N additifs trouvés.".
QString resultCaption(int count);

// The row shown for a word that matches nothing; the result list shows an empty row before it.
QString noResultRow(QStringView word);

// The outcome of a keyword search over records 1 to RecordCount: the matching records in
// ascending order, and the rows of the result list (the search rows of the matches, or an empty
// row and the no-result row). The panel shows the first match, records.value(0) when there is one.
struct SearchResult {
    QList<int> records;
    QStringList rows;
};
SearchResult searchKeywords(QStringView word, const AdditiveTable &table);

// The history of searched words: the working table that gets sorted, its sorted copy and the
// number of words it holds. The drop-down list of searched words shows the sorted copy, and is
// rebuilt from it each time a new word comes in.
class SearchHistory {
public:
    static constexpr int Capacity = 1000;

    enum class Outcome {
        Added,          // the word was new: sortedWords() holds it, in its place
        AlreadyPresent, // the history holds the word already and is unchanged
        Refused,        // the history is full: the word is not recorded
    };

    // Records a searched word. An empty history simply becomes the one word. Otherwise a word
    // already in it (exact comparison, case significant) changes nothing; a new one is added to the
    // words and everything is sorted again. A history that already holds Capacity words takes no more.
    Outcome record(const QString &word);

    // Orders slots 1 to HistoryCount() of the working table in place, then copies them to the
    // sorted table. Order: character by character, by the single-byte code of each character; a
    // word before any longer word that begins with it; capitals before small letters; an empty
    // word after every other.
    void SortHistory();

    int HistoryCount() const { return m_count; }
    void setHistoryCount(int count);

    // Slot i (1 to Capacity) of the working table and of the sorted table; empty outside.
    QString searchHistorySlot(int i) const;
    void setSearchHistorySlot(int i, const QString &word);
    QString sortedHistorySlot(int i) const;

    // Slots 1 to HistoryCount() of the sorted table.
    QStringList sortedWords() const;

private:
    std::array<QString, Capacity> m_searchHistory; // the working table, sorted in place
    std::array<QString, Capacity> m_sortedHistory;
    int m_count = 0;
};

// The code by which SortHistory orders a character: its Windows-1252 byte. A character outside
// that code page (the input check lets none through) orders after all of them, by its Unicode value.
int historyCharacterCode(QChar c);

} // namespace korvelan
