#include "labelanalyser.h"

#include "resource.h"

#include <QSet>

#include <algorithm>
#include <array>
#include <vector>

using namespace Qt::StringLiterals;

namespace korvelan {

namespace {

// Words that labels print as foods, spices, nutrients or flavourings, which some name or synonym of
// the data happens to be (folded, singular): never taken for an additive on their own.
const QSet<QString> &stopNames()
{
    static const QSet<QString> names = {
        u"soja"_s,          u"coco"_s,
        u"vinaigre"_s,      u"avoine"_s,
        u"reglisse"_s,      u"raisin"_s,
        u"sucre"_s,         u"sel"_s,
        u"paprika"_s,       u"curcuma"_s,
        u"safran"_s,        u"caramel"_s,
        u"romarin"_s,       u"acide"_s,
        u"citrate"_s,       u"phosphate"_s,
        u"carbonate"_s,     u"lactate"_s,
        u"amidon"_s,        u"amidon modifie"_s,
        u"maltodextrine"_s, u"gelatine"_s,
        u"glucose"_s,       u"fructose"_s,
        u"lactose"_s,       u"dextrose"_s,
        u"lait"_s,          u"eau"_s,
        u"farine"_s,        u"huile"_s,
        u"beurre"_s,        u"cacao"_s,
        u"vanille"_s,       u"arome"_s,
        u"epice"_s,         u"levure"_s,
        u"miel"_s,          u"oeuf"_s,
        u"cafe"_s,          u"the"_s,
        u"malt"_s,          u"ble"_s,
        u"mai"_s,           u"riz"_s,
        u"ail"_s,           u"oignon"_s,
        u"poivre"_s,        u"cannelle"_s,
        u"gingembre"_s,     u"moutarde"_s,
        u"tomate"_s,        u"betterave"_s,
        u"carotte"_s,       u"citron"_s,
        u"orange"_s,        u"pomme"_s,
        u"fraise"_s,        u"chocolat"_s,
        u"creme"_s,         u"fromage"_s,
        u"alcool"_s,        u"calcium"_s,
        u"magnesium"_s,     u"fer"_s,
        u"zinc"_s,          u"iode"_s,
        u"potassium"_s,     u"sodium"_s,
        u"phosphore"_s,     u"cuivre"_s,
        u"azote"_s,         u"ascorbate"_s,
        u"gomme"_s,         u"cire"_s,
        u"argent"_s,        u"or"_s,
        u"vin"_s,           u"tanin"_s,
        u"fibre"_s,         u"inuline"_s,
        u"proteine"_s,      u"crocus"_s,
        u"indigo"_s,        u"orcanette"_s,
        u"enzyme"_s,        u"poudre a lever"_s,
        u"sel de fonte"_s,  u"levure chimique"_s,
        u"agent levant"_s,  u"vert naturel"_s,
        u"jaune"_s,         u"rouge"_s,
        u"noir"_s,          u"blanc"_s,
        u"bleu"_s,
    };
    return names;
}

// Colours that labels also print as foods: a name only under the heading "colorant(s)".
struct ColourWord {
    QStringView word;
    QStringView code;
};
constexpr std::array<ColourWord, 5> kColourWords = {{
    {u"caramel", u"e150"},
    {u"paprika", u"e160c"},
    {u"curcuma", u"e100"},
    {u"safran", u"e164"},
    {u"carmin", u"e120"},
}};

// Headings under which what follows is a nutrient of a fortified food, not an additive.
bool isNutrientHeading(QStringView head)
{
    static const std::array<QStringView, 18> heads = {
        u"vitamin",   u"provitamin", u"minera",    u"sels mineraux", u"oligo",     u"calcium",
        u"magnesium", u"fer",        u"zinc",      u"iode",          u"potassium", u"phosphore",
        u"cuivre",    u"selenium",   u"manganese", u"source de",     u"enrichi",   u"nutriment"};
    for (QStringView h : heads) {
        if (head.startsWith(h))
            return true;
    }
    return false;
}

constexpr std::array<QStringView, 8> kRomans = {u"i", u"ii", u"iii", u"iv", u"v", u"vi", u"vii", u"viii"};
bool isRoman(QStringView s)
{
    return std::find(kRomans.begin(), kRomans.end(), s) != kRomans.end();
}

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber();
}

// Characters that end one item of an ingredient list.
bool isItemSeparator(QChar c)
{
    return c == u',' || c == u';' || c == u':' || c == u'(' || c == u')' || c == u'[' || c == u']' || c == u'.' ||
        c == u'*' || c == u'/' || c == u'\n' || c == u'\r' || c == u'\t' || c == u'|' || c == u'•';
}

// The fold of one character, appended to `out`.
void foldChar(QChar c, QString &out)
{
    const char16_t u = c.unicode();
    switch (u) {
    case 0x00A0:
    case 0x2007:
    case 0x2009:
    case 0x200A:
    case 0x202F:
    case 0x2002:
    case 0x2003:
    case 0x3000: out += u' '; return;
    case 0x2019:
    case 0x2018:
    case 0x02BC:
    case 0x00B4:
    case 0x0060: out += u'\''; return;
    case 0x2010:
    case 0x2011:
    case 0x2012:
    case 0x2013:
    case 0x2014:
    case 0x2212: out += u'-'; return;
    case 0x0152:
    case 0x0153: out += u"oe"; return;
    case 0x00C6:
    case 0x00E6: out += u"ae"; return;
    case 0x00DF: out += u"ss"; return;
    default: break;
    }
    if (u < 0x80) {
        out += (u >= u'A' && u <= u'Z') ? QChar(u + 32) : c;
        return;
    }
    if (c.decompositionTag() == QChar::Canonical || c.decompositionTag() == QChar::Compat) {
        const QString d = c.decomposition();
        if (!d.isEmpty() && d.at(0).isLetter() && d.at(0).unicode() < 0x250) {
            out += d.at(0).toLower();
            return;
        }
    }
    out += c.toLower();
}

// A folded text with, for each of its characters, the place of the character it came from.
struct FoldedText {
    QString text;
    std::vector<qsizetype> origin; // one more than text.size(): the end maps to the end
};

FoldedText foldWithOrigins(QStringView text)
{
    FoldedText f;
    f.text.reserve(text.size() + 16);
    f.origin.reserve(size_t(text.size()) + 17);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype before = f.text.size();
        foldChar(text[i], f.text);
        for (qsizetype k = before; k < f.text.size(); ++k)
            f.origin.push_back(i);
    }
    f.origin.push_back(text.size());
    return f;
}

// One word of a folded text, in the form names are compared in: a final plural s or x taken off.
struct Word {
    qsizetype start;
    qsizetype end;
    QStringView key;
};

QStringView singular(QStringView w)
{
    if (w.size() > 3 && (w.endsWith(u's') || w.endsWith(u'x')) && !w.at(w.size() - 2).isDigit())
        return w.chopped(1);
    return w;
}

std::vector<Word> wordsOf(QStringView folded)
{
    std::vector<Word> words;
    qsizetype i = 0;
    const qsizetype n = folded.size();
    while (i < n) {
        if (!isWordChar(folded[i])) {
            ++i;
            continue;
        }
        qsizetype j = i;
        while (j < n && isWordChar(folded[j]))
            ++j;
        QStringView key = singular(folded.sliced(i, j - i));
        if (key == u"des" || key == u"du" || key == u"d")
            key = u"de"; // "complexes cuivriques des chlorophyllines", "de chlorophyllines", "d'..."
        words.push_back({i, j, key});
        i = j;
    }
    return words;
}

// The heading of the group that the place `pos` of a folded text stands in: the words before the
// unclosed "(" or the ":" that opens the group, back to the item before, and the place of that "(" or
// ":". Nothing at the top level of a sentence.
struct Heading {
    QString words;
    qsizetype opening = -1;
};

Heading headingAt(QStringView folded, qsizetype pos)
{
    int depth = 0;
    const qsizetype limit = std::max<qsizetype>(0, pos - 400);
    for (qsizetype i = pos - 1; i >= limit; --i) {
        const QChar c = folded[i];
        if (c == u')' || c == u']') {
            ++depth;
            continue;
        }
        if ((c == u'(' || c == u'[') && depth > 0) {
            --depth;
            continue;
        }
        if (depth > 0 || (c != u'(' && c != u'[' && c != u':' && c != u'.' && c != u';'))
            continue;
        if (c == u'.' || c == u';')
            return {};
        qsizetype s = i;
        while (s > 0 && !isItemSeparator(folded[s - 1]) && folded[s - 1] != u',')
            --s;
        return {folded.sliced(s, i - s).trimmed().toString(), i};
    }
    return {};
}

// True when the word from `start` to `end` of a folded text is a whole item of the list.
bool isWholeItem(QStringView folded, qsizetype start, qsizetype end)
{
    for (qsizetype i = start - 1; i >= 0 && !isItemSeparator(folded[i]); --i) {
        if (!folded[i].isSpace())
            return false;
    }
    for (qsizetype i = end; i < folded.size() && !isItemSeparator(folded[i]); ++i) {
        if (!folded[i].isSpace())
            return false;
    }
    return true;
}

// True when what stands between two words of a folded text may stand inside a name: spaces, hyphens,
// apostrophes, never the mark of another item.
bool joinsWords(QStringView folded, qsizetype from, qsizetype to)
{
    for (qsizetype k = from; k < to; ++k) {
        const QChar c = folded[k];
        if (c != u' ' && c != u'-' && c != u'\'')
            return false;
    }
    return true;
}

// True when the colour word at `start` stands in a list of colours: under the heading "colorant(s)",
// first after it or right after another additive of that list (which ended at `lastEnd`).
bool isColourItem(QStringView folded, qsizetype start, qsizetype lastEnd)
{
    const Heading heading = headingAt(folded, start);
    if (!heading.words.startsWith(u"colorant"))
        return false;
    const qsizetype from = std::max(heading.opening + 1, lastEnd);
    QStringView between = folded.sliced(from, start - from).trimmed();
    if (between.startsWith(u','))
        between = between.sliced(1).trimmed();
    if (between == u"et")
        between = {};
    return between.isEmpty();
}

// The digits of a code ("330" of "E330a"), to tell whether a name and a code nearby are the same.
QStringView codeDigits(QStringView code)
{
    qsizetype i = 1, j = 1;
    while (j < code.size() && code[j].isDigit())
        ++j;
    return code.sliced(i, j - i);
}

struct Match {
    qsizetype start; // in the folded text
    qsizetype end;
    int record;
    bool isCode;
};

// A code at `i` of the folded text ("e" not inside a word); its end and its suffix parts.
struct CodeAt {
    qsizetype end = -1;
    QStringView number, letter, roman;
};

CodeAt readCode(QStringView t, qsizetype i)
{
    CodeAt none;
    const qsizetype n = t.size();
    if (t[i] != u'e' || (i > 0 && isWordChar(t[i - 1])))
        return none;
    qsizetype p = i + 1;
    if (p < n && (t[p] == u' ' || t[p] == u'-'))
        ++p;
    const qsizetype digits = p;
    while (p < n && t[p].isDigit() && p - digits < 5)
        ++p;
    if (p - digits < 3 || p - digits > 4 || (p < n && t[p].isDigit()))
        return none;
    CodeAt code;
    code.number = t.sliced(digits, p - digits);
    // Letters glued to the digits: a letter a to j and/or a roman numeral, or not a code at all.
    qsizetype q = p;
    while (q < n && t[q].isLetter())
        ++q;
    if (q > p) {
        const QStringView run = t.sliced(p, q - p);
        if (isRoman(run)) {
            code.roman = run;
        } else if (run[0] >= u'a' && run[0] <= u'j' && (run.size() == 1 || isRoman(run.sliced(1)))) {
            code.letter = run.first(1);
            code.roman = run.sliced(1);
        } else {
            return none;
        }
        p = q;
    } else if (p + 1 < n && t[p] == u' ' && t[p + 1] >= u'a' && t[p + 1] <= u'j' &&
               (p + 2 >= n || !t[p + 2].isLetter())) {
        code.letter = t.sliced(p + 1, 1); // "E 160 a"
        p += 2;
    }
    // A roman numeral in brackets, or after one space: "E160a(ii)", "E420 (ii)", "E 160 a ii".
    if (code.roman.isEmpty()) {
        qsizetype r = p;
        if (r < n && t[r] == u' ')
            ++r;
        const bool bracket = r < n && t[r] == u'(';
        if (bracket) {
            ++r;
            if (r < n && t[r] == u' ')
                ++r;
        }
        qsizetype e = r;
        while (e < n && t[e].isLetter())
            ++e;
        if (e > r && isRoman(t.sliced(r, e - r))) {
            qsizetype after = e;
            bool ok = true;
            if (bracket) {
                if (after < n && t[after] == u' ')
                    ++after;
                ok = after < n && t[after] == u')';
                ++after;
            }
            if (ok && (bracket || after >= n || !isWordChar(t[after]))) {
                code.roman = t.sliced(r, e - r);
                p = after;
            }
        }
    }
    code.end = p;
    return code;
}

} // namespace

QString foldForComparison(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text)
        foldChar(c, out);
    return out;
}

LabelAnalyser::LabelAnalyser(const AdditiveTable &table, QStringView extraNames)
{
    m_codeOf.resize(size_t(table.publishedCount()) + 1);
    for (int r = 1; r <= table.publishedCount(); ++r) {
        const QString code = table.field(ENumber, r).trimmed().toString().toLower();
        m_codeOf[size_t(r)] = code;
        if (!code.isEmpty() && !m_codes.contains(code))
            m_codes.insert(code, r);
    }
    for (int r = 1; r <= table.publishedCount(); ++r) {
        addName(table.field(AdditiveName, r), r, 0, table);
        for (QStringView synonym : table.field(Synonyms, r).split(u", "))
            addName(synonym, r, 1, table);
    }
    for (QStringView line : extraNames.split(u'\n')) {
        const qsizetype tab = line.indexOf(u'\t');
        if (tab <= 1)
            continue;
        const QStringView code = line.first(tab).trimmed();
        int r = recordOfCode(code);
        // A code the database lacks: its group ("E160aiii" -> "E160a" -> "E160").
        for (qsizetype keep = code.size() - 1; r == 0 && keep >= 4; --keep)
            r = recordOfCode(code.first(keep));
        if (r == 0)
            continue;
        for (QStringView name : line.sliced(tab + 1).split(u", "))
            addName(name, r, 2, table);
    }
}

void LabelAnalyser::addName(QStringView name, int record, int rank, const AdditiveTable &table)
{
    const QString folded = foldForComparison(name.trimmed());
    const std::vector<Word> words = wordsOf(folded);
    if (words.empty())
        return;
    QString key;
    bool hasLetters = false;
    for (const Word &w : words) {
        // A code or a registry number inside a name is read as a code, not as a name.
        if (w.key.size() > 1 && w.key[0] == u'e' && w.key[1].isDigit())
            return;
        hasLetters = hasLetters || !w.key[0].isDigit();
        if (!key.isEmpty())
            key += u' ';
        key += w.key;
    }
    if (!hasLetters)
        return;
    // "Lécithine de soja": the source a label adds to a name is no name of its own.
    static const QSet<QStringView> sources = {
        u"soja", u"tournesol", u"colza", u"oeuf",    u"mai",  u"arachide", u"ble",   u"avoine", u"poi",  u"palme",
        u"coco", u"porc",      u"boeuf", u"poisson", u"lait", u"riz",      u"pomme", u"agrume", u"colza"};
    if (words.size() >= 3 && words[words.size() - 2].key == u"de" && sources.contains(words.back().key))
        return;
    // Foods, nutrients and flavourings are names to look up, never to read off a label.
    const bool food = stopNames().contains(key) || key.startsWith(u"vitamin") || key.startsWith(u"provitamin");
    const Name candidate{record, rank, int(table.field(ENumber, record).trimmed().size()), true, food};
    auto it = m_names.find(key);
    if (it == m_names.end() || !it->whole) {
        m_names.insert(key, candidate);
    } else if (std::tie(candidate.rank, candidate.codeLength, candidate.record) <
               std::tie(it->rank, it->codeLength, it->record)) {
        *it = candidate;
    }
    // Every beginning of the name, so that a reading stops as soon as no name can follow.
    QString prefix;
    for (size_t k = 0; k + 1 < words.size(); ++k) {
        if (!prefix.isEmpty())
            prefix += u' ';
        prefix += words[k].key;
        if (!m_names.contains(prefix))
            m_names.insert(prefix, Name{});
    }
    m_longestName = std::max(m_longestName, int(words.size()));
}

int LabelAnalyser::mostSpecificCode(QStringView number, QStringView letter, QStringView roman) const
{
    QString code = u"e"_s;
    code += number;
    const qsizetype base = code.size();
    code += letter;
    const qsizetype withLetter = code.size();
    code += roman;
    if (int r = m_codes.value(code))
        return r;
    code.truncate(withLetter);
    if (int r = m_codes.value(code))
        return r;
    code.truncate(base);
    return m_codes.value(code);
}

QList<LabelFinding> LabelAnalyser::analyse(QStringView text) const
{
    text = text.first(std::min(text.size(), LabelTextLimit));
    const FoldedText folded = foldWithOrigins(text);
    const QStringView t = folded.text;
    std::vector<Match> matches;

    // Codes.
    for (qsizetype i = t.indexOf(u'e'); i >= 0 && i < t.size(); i = t.indexOf(u'e', i + 1)) {
        const CodeAt code = readCode(t, i);
        if (code.end < 0)
            continue;
        if (const int r = mostSpecificCode(code.number, code.letter, code.roman))
            matches.push_back({i, code.end, r, true});
    }

    // Names: at each word, the longest name that begins there.
    const std::vector<Word> words = wordsOf(t);
    qsizetype lastEnd = -1; // end of the last name read
    QString key;
    for (size_t i = 0; i < words.size();) {
        key.clear();
        int found = 0;
        size_t foundEnd = i;
        for (size_t j = i; j < words.size() && int(j - i) < m_longestName; ++j) {
            if (j > i) {
                if (!joinsWords(t, words[j - 1].end, words[j].start))
                    break;
                key += u' ';
            }
            key += words[j].key;
            const auto it = m_names.constFind(key);
            if (it == m_names.cend())
                break;
            if (it->whole && !it->food) {
                found = it->record;
                foundEnd = j + 1;
            }
        }
        const qsizetype start = words[i].start;
        if (found == 0 && isWholeItem(t, start, words[i].end)) {
            // A colour that is also a food counts under the heading "colorant(s)" only.
            for (const ColourWord &colour : kColourWords) {
                if (words[i].key == colour.word && isColourItem(t, start, lastEnd)) {
                    found = m_codes.value(colour.code.toString());
                    foundEnd = i + 1;
                }
            }
        }
        if (found == 0) {
            ++i;
            continue;
        }
        const qsizetype end = words[foundEnd - 1].end;
        const bool oneShortWord = foundEnd == i + 1 && words[i].key.size() < 5;
        if ((!oneShortWord || isWholeItem(t, start, end)) && !isNutrientHeading(headingAt(t, start).words)) {
            matches.push_back({start, end, found, false});
            lastEnd = end;
        }
        i = foundEnd;
    }

    std::sort(matches.begin(), matches.end(), [](const Match &a, const Match &b) { return a.start < b.start; });

    // A name next to its own code, within one item ("diphosphates (E450i)"): the code says more.
    auto sameItem = [&](qsizetype from, qsizetype to) {
        for (qsizetype k = from; k < to; ++k) {
            const QChar c = t[k];
            if (c == u',' || c == u';' || c == u'.' || c == u'\n')
                return false;
        }
        return to - from <= 40;
    };
    std::vector<bool> dropped(matches.size(), false);
    for (size_t a = 0; a + 1 < matches.size(); ++a) {
        const Match &m = matches[a], &next = matches[a + 1];
        if (m.isCode == next.isCode || !sameItem(m.end, next.start))
            continue;
        const int nameRecord = m.isCode ? next.record : m.record;
        const int codeRecord = m.isCode ? m.record : next.record;
        if (nameRecord != codeRecord && codeDigits(m_codeOf[nameRecord]) == codeDigits(m_codeOf[codeRecord]))
            dropped[m.isCode ? a + 1 : a] = true;
    }

    QList<LabelFinding> findings;
    QSet<int> seen;
    for (size_t a = 0; a < matches.size(); ++a) {
        const Match &m = matches[a];
        if (dropped[a] || seen.contains(m.record))
            continue;
        seen.insert(m.record);
        const qsizetype from = folded.origin[size_t(m.start)];
        const qsizetype to = folded.origin[size_t(m.end - 1)] + 1;
        findings.append({m.record, text.sliced(from, to - from).toString(), from, to - from});
    }
    return findings;
}

int LabelAnalyser::lookup(QStringView codeOrName) const
{
    const QString folded = foldForComparison(codeOrName.trimmed());
    if (folded.isEmpty())
        return 0;
    // A code, with or without its E.
    const QString asCode = folded.front().isDigit() ? u"e"_s + folded : folded;
    const CodeAt code = readCode(asCode, 0);
    if (code.end == asCode.size())
        return mostSpecificCode(code.number, code.letter, code.roman);
    QString key;
    for (const Word &w : wordsOf(folded)) {
        if (!key.isEmpty())
            key += u' ';
        key += w.key;
    }
    const auto it = m_names.constFind(key);
    return it != m_names.cend() && it->whole ? it->record : 0;
}

QString labelNamesText()
{
    const std::optional<QByteArray> bytes = readEmbeddedResource({u"NOMS"_s, 103});
    return bytes ? QString::fromUtf8(*bytes) : QString();
}

QString labelCountCaption(qsizetype count)
{
    if (count == 0)
        return u"Aucun additif trouvé"_s;
    if (count == 1)
        return u"1 additif trouvé"_s;
    return u"%1 additifs trouvés"_s.arg(count);
}

} // namespace korvelan
