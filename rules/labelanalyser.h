#pragma once

#include "additive.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringView>

#include <vector>

namespace korvelan {

// The longest text the label reader looks at; what follows is ignored.
inline constexpr qsizetype LabelTextLimit = 100000;

// One additive named on a label: the record that holds it and the piece of the text that named it,
// with its place (in UTF-16 units) in the text.
struct LabelFinding {
    int record = 0;
    QString text;
    qsizetype position = 0;
    qsizetype length = 0;

    bool operator==(const LabelFinding &) const = default;
};

// Letters of a text folded for comparison: lower case, accents taken off, ligatures spelt out (œ as
// oe), every kind of space and apostrophe turned into the plain one.
QString foldForComparison(QStringView text);

// Reads an ingredient list as a label prints it and finds the additives it names: their codes in every
// printed form (E330, E 330, E-330, e330, E160a(ii), E 160 a, with ordinary or no-break spaces), and
// their names (the database's names and synonyms and the names labels print, letter case, accents and
// plural ignored, with the qualifiers labels add after them). Bare food words, spices, nutrients of a
// fortified food and flavourings are not taken for additives; where a mention is ambiguous it says
// nothing. Built once from the table; reading a label then costs time in proportion to its length.
class LabelAnalyser {
public:
    // `extraNames`: lines "code<TAB>name, name, ..." of names that labels print, in UTF-8 text; codes
    // the table does not hold fall back on the most specific code it does.
    explicit LabelAnalyser(const AdditiveTable &table, QStringView extraNames = {});

    // The distinct additives that `text` names, in the order of their first mention.
    QList<LabelFinding> analyse(QStringView text) const;

    // The record that a code ("E950", "e950", "950", "E160a(ii)") or a whole name or synonym
    // ("aspartame", "Acésulfame K") stands for; 0 when none does.
    int lookup(QStringView codeOrName) const;

    // The record of a code as the database writes it (any letter case, no spaces); 0 when none.
    int recordOfCode(QStringView code) const { return m_codes.value(code.toString().toLower()); }

private:
    struct Name {
        int record = 0;
        int rank = 0;       // lower wins: 0 database name, 1 synonym, 2 label name
        int codeLength = 0; // shorter wins among equal ranks: the group code before its members
        bool whole = false; // a key in its own right, not only the beginning of a longer one
        bool food = false;  // a food, nutrient or flavouring: looked up by name, never read off a label
    };
    void addName(QStringView name, int record, int rank, const AdditiveTable &table);
    int mostSpecificCode(QStringView number, QStringView letter, QStringView roman) const;

    QHash<QString, int> m_codes;   // lower-case code -> first record holding it
    std::vector<QString> m_codeOf; // record -> its lower-case code
    QHash<QString, Name> m_names;  // folded words joined by single spaces -> record; prefixes too
    int m_longestName = 0;         // in words
};

// The French names that labels print, carried inside the program (UTF-8 "code<TAB>names" lines).
QString labelNamesText();

// The line under the list of additives found: "Aucun additif trouvé", "1 additif trouvé" or
// "N additifs trouvés".
QString labelCountCaption(qsizetype count);

} // namespace korvelan
