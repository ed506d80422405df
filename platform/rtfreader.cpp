// Reads RTF in one pass over the bytes. Groups are kept on an explicit stack of states, so deep
// nesting costs memory in proportion to the depth allowed and never recursion. Text is gathered
// in runs of one character format, runs into paragraphs, and paragraphs go to the document when
// they end (their paragraph format is only known then). Table rows are gathered whole and
// written as one table when the table ends.
#include "rtfreader.h"

#include "codepages.h"

#include <QBuffer>
#include <QColor>
#include <QFont>
#include <QHash>
#include <QImage>
#include <QImageReader>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <QUrl>

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <iterator>
#include <string_view>
#include <vector>

using namespace Qt::StringLiterals;

namespace korvelan {
namespace {

using rtf::codePageUpperHalf;

// ----------------------------------------------------------------------------------------------
// Control words this reader acts on. Every other word is read and ignored.

enum class Word : quint8 {
    Unknown,
    // Document
    Ansi, Ansicpg, Deff, Mac, Pc, Pca, U, Uc,
    // Destinations
    Colortbl, Field, Fldinst, Fldrslt, Fonttbl, Listtext, Pict, Pntext, Shppict, SkipGroup, Ud, Upr,
    // Font and colour tables
    Blue, Cpg, Fcharset, Fdecor, Fmodern, Fnil, Froman, Fscript, Fswiss, Ftech, Green, Red,
    // Character format
    B, Cb, Cf, F, Fs, Highlight, I, Nosupersub, Plain, Strike, Sub, Super, Ul, Ulnone, V,
    // Paragraph format
    Fi, Intbl, Li, Line, Par, Pard, Qc, Qd, Qj, Ql, Qr, Ri, Sa, Sb, Sl, Slmult, Tx,
    // Tables
    Cell, Cellx, Nestcell, Nestrow, Row, Trowd,
    // Characters
    Bullet, Emdash, Emspace, Endash, Enspace, Ldblquote, Lquote, Ltrmark, Qmspace, Rdblquote,
    Rquote, Rtlmark, Tab, Zwbo, Zwj, Zwnj,
    // Pictures
    Bin, Jpegblip, OtherBlip, Pichgoal, Picscalex, Picscaley, Picwgoal, Pngblip,
};

struct WordEntry {
    std::string_view name;
    Word word;
};

// Sorted by name for the binary search in lookupWord().
constexpr WordEntry kWords[] = {
    {"aftncn", Word::SkipGroup}, {"aftnsep", Word::SkipGroup}, {"aftnsepc", Word::SkipGroup},
    {"annotation", Word::SkipGroup}, {"ansi", Word::Ansi}, {"ansicpg", Word::Ansicpg},
    {"atnauthor", Word::SkipGroup}, {"atnid", Word::SkipGroup}, {"atnref", Word::SkipGroup},
    {"atntime", Word::SkipGroup}, {"b", Word::B}, {"background", Word::SkipGroup},
    {"bin", Word::Bin}, {"bkmkend", Word::SkipGroup}, {"bkmkstart", Word::SkipGroup},
    {"blue", Word::Blue}, {"bullet", Word::Bullet}, {"cb", Word::Cb}, {"cell", Word::Cell},
    {"cellx", Word::Cellx}, {"cf", Word::Cf}, {"colortbl", Word::Colortbl},
    {"comment", Word::SkipGroup}, {"cpg", Word::Cpg}, {"datastore", Word::SkipGroup},
    {"deff", Word::Deff}, {"dibitmap", Word::OtherBlip}, {"do", Word::SkipGroup},
    {"docvar", Word::SkipGroup}, {"emdash", Word::Emdash}, {"emfblip", Word::OtherBlip},
    {"emspace", Word::Emspace}, {"endash", Word::Endash}, {"enspace", Word::Enspace},
    {"f", Word::F}, {"fcharset", Word::Fcharset}, {"fdecor", Word::Fdecor}, {"fi", Word::Fi},
    {"field", Word::Field}, {"filetbl", Word::SkipGroup}, {"fldinst", Word::Fldinst},
    {"fldrslt", Word::Fldrslt}, {"fmodern", Word::Fmodern}, {"fnil", Word::Fnil},
    {"fonttbl", Word::Fonttbl}, {"footer", Word::SkipGroup}, {"footerf", Word::SkipGroup},
    {"footerl", Word::SkipGroup}, {"footerr", Word::SkipGroup}, {"footnote", Word::SkipGroup},
    {"froman", Word::Froman}, {"fs", Word::Fs}, {"fscript", Word::Fscript},
    {"fswiss", Word::Fswiss}, {"ftech", Word::Ftech}, {"ftncn", Word::SkipGroup},
    {"ftnsep", Word::SkipGroup}, {"ftnsepc", Word::SkipGroup}, {"generator", Word::SkipGroup},
    {"green", Word::Green}, {"header", Word::SkipGroup}, {"headerf", Word::SkipGroup},
    {"headerl", Word::SkipGroup}, {"headerr", Word::SkipGroup}, {"highlight", Word::Highlight},
    {"i", Word::I}, {"info", Word::SkipGroup}, {"intbl", Word::Intbl}, {"jpegblip", Word::Jpegblip},
    {"latentstyles", Word::SkipGroup}, {"ldblquote", Word::Ldblquote}, {"li", Word::Li},
    {"lin", Word::Li}, {"line", Word::Line}, {"listoverridetable", Word::SkipGroup},
    {"listpicture", Word::SkipGroup}, {"listtable", Word::SkipGroup}, {"listtext", Word::Listtext},
    {"lquote", Word::Lquote}, {"ltrmark", Word::Ltrmark}, {"mac", Word::Mac},
    {"macpict", Word::OtherBlip}, {"nestcell", Word::Nestcell}, {"nestrow", Word::Nestrow},
    {"nonshppict", Word::SkipGroup}, {"nosupersub", Word::Nosupersub}, {"object", Word::SkipGroup},
    {"page", Word::Par}, {"par", Word::Par}, {"pard", Word::Pard}, {"pc", Word::Pc},
    {"pca", Word::Pca}, {"pgdsctbl", Word::SkipGroup}, {"pichgoal", Word::Pichgoal},
    {"picscalex", Word::Picscalex}, {"picscaley", Word::Picscaley}, {"pict", Word::Pict},
    {"picwgoal", Word::Picwgoal}, {"plain", Word::Plain}, {"pmmetafile", Word::OtherBlip},
    {"pn", Word::SkipGroup}, {"pngblip", Word::Pngblip}, {"pntext", Word::Pntext},
    {"private", Word::SkipGroup}, {"qc", Word::Qc}, {"qd", Word::Qd}, {"qj", Word::Qj},
    {"ql", Word::Ql}, {"qmspace", Word::Qmspace}, {"qr", Word::Qr}, {"rdblquote", Word::Rdblquote},
    {"red", Word::Red}, {"revtbl", Word::SkipGroup}, {"ri", Word::Ri}, {"rin", Word::Ri},
    {"row", Word::Row}, {"rquote", Word::Rquote}, {"rsidtbl", Word::SkipGroup},
    {"rtlmark", Word::Rtlmark}, {"rxe", Word::SkipGroup}, {"sa", Word::Sa}, {"sb", Word::Sb},
    {"sect", Word::Par}, {"shpinst", Word::SkipGroup}, {"shppict", Word::Shppict},
    {"shprslt", Word::SkipGroup}, {"sl", Word::Sl}, {"slmult", Word::Slmult},
    {"strike", Word::Strike}, {"striked", Word::Strike}, {"stylesheet", Word::SkipGroup},
    {"sub", Word::Sub}, {"super", Word::Super}, {"tab", Word::Tab}, {"tc", Word::SkipGroup},
    {"template", Word::SkipGroup}, {"themedata", Word::SkipGroup}, {"trowd", Word::Trowd},
    {"tx", Word::Tx}, {"txe", Word::SkipGroup}, {"u", Word::U}, {"uc", Word::Uc}, {"ud", Word::Ud},
    {"ul", Word::Ul}, {"uld", Word::Ul}, {"uldash", Word::Ul}, {"uldashd", Word::Ul},
    {"uldashdd", Word::Ul}, {"uldb", Word::Ul}, {"ulhwave", Word::Ul}, {"ulldash", Word::Ul},
    {"ulnone", Word::Ulnone}, {"ulth", Word::Ul}, {"ulthd", Word::Ul}, {"ulthdash", Word::Ul},
    {"ulthdashd", Word::Ul}, {"ulthdashdd", Word::Ul}, {"ulthldash", Word::Ul},
    {"ululdbwave", Word::Ul}, {"ulw", Word::Ul}, {"ulwave", Word::Ul}, {"upr", Word::Upr},
    {"userprops", Word::SkipGroup}, {"v", Word::V}, {"wbitmap", Word::OtherBlip},
    {"wmetafile", Word::OtherBlip}, {"xe", Word::SkipGroup}, {"xmlnstbl", Word::SkipGroup},
    {"zwbo", Word::Zwbo}, {"zwj", Word::Zwj}, {"zwnj", Word::Zwnj},
};

constexpr bool wordsSorted()
{
    for (std::size_t i = 1; i < std::size(kWords); ++i)
        if (!(kWords[i - 1].name < kWords[i].name))
            return false;
    return true;
}
static_assert(wordsSorted(), "kWords must stay sorted by name");

Word lookupWord(std::string_view name)
{
    const auto *end = std::end(kWords);
    const auto *it = std::lower_bound(std::begin(kWords), end, name,
                                      [](const WordEntry &e, std::string_view n) { return e.name < n; });
    return it != end && it->name == name ? it->word : Word::Unknown;
}

// Destinations that an "ignorable" mark (\*) does not turn into skipped text: the ones read here.
bool isReadDestination(Word word)
{
    switch (word) {
    case Word::Fldinst:
    case Word::Shppict:
    case Word::Ud:
    case Word::Listtext:
    case Word::Pntext:
    case Word::Pict:
        return true;
    default:
        return false;
    }
}

// ----------------------------------------------------------------------------------------------
// State kept per group.

enum class Dest : quint8 { Text, Skip, FontTable, ColorTable, Picture, FieldInstruction, ListText };

struct CharState {
    int font = -1;  // -1: the document's default font
    int halfPoints = 24;
    int foreground = 0;  // colour table index; an undefined entry means the automatic colour
    int background = 0;
    int link = -1;  // index into the reader's link targets
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    bool hidden = false;
    quint8 vertical = 0;  // 1 superscript, 2 subscript
    bool operator==(const CharState &) const = default;
};

constexpr int kMaxTabStops = 32;

struct ParaState {
    Qt::Alignment alignment = Qt::AlignLeft;
    int left = 0;  // twips, like everything else here
    int right = 0;
    int firstLine = 0;
    int before = 0;
    int after = 0;
    int lineSpacing = 0;
    bool lineMultiple = false;
    bool inTable = false;
    int tabCount = 0;
    std::array<int, kMaxTabStops> tabs{};
};

struct State {
    Dest dest = Dest::Text;
    CharState ch;
    ParaState para;
    int unicodeSkip = 1;  // \uc: fallback characters that follow each \u
    bool upr = false;      // a \upr group: its plain part is skipped and its \ud part read
    bool resumable = false;  // a skipped part of a \upr group, read again from \ud on
    Dest resumeDest = Dest::Text;
    qsizetype listTextStart = 0;  // where this group's list text begins in the paragraph
};

// ----------------------------------------------------------------------------------------------
// Tables of fonts and colours, and what the reader gathers before it writes.

enum class SymbolKind : quint8 { None, Symbol, Wingdings, OtherSymbol };

struct FontEntry {
    QString name;
    QFont::StyleHint hint = QFont::AnyStyle;
    int codePage = 0;  // 0: the document's
    SymbolKind symbol = SymbolKind::None;
};

struct Item {
    QString text;
    QTextCharFormat format;
};

struct Paragraph {
    QTextBlockFormat block;
    QTextCharFormat blockChar;
    std::vector<Item> items;
};

struct Cell {
    std::vector<Paragraph> paragraphs;
};

struct Row {
    std::vector<Cell> cells;
    std::vector<int> boundaries;  // right edge of each cell, twips
};

constexpr int kMaxFonts = 1000;
constexpr int kMaxFontNameLength = 128;
constexpr int kMaxColours = 1000;
constexpr int kMaxLinks = 10000;
constexpr int kMaxFieldInstruction = 2048;
constexpr int kMaxTwips = 31680;  // 22 inches, more than any page
// 72 points: larger letters hold a handful to a line, and the layout and drawing of letters
// hundreds of points high take seconds each.
constexpr int kMaxHalfPoints = 144;

int clampTwips(int twips)
{
    return std::clamp(twips, -kMaxTwips, kMaxTwips);
}

qreal twipsToPixels(int twips)
{
    return twips / 15.0;  // 1440 twips an inch, 96 pixels an inch
}

int charsetToCodePage(int charset)
{
    switch (charset) {
    case 0: return 1252;
    case 77: return 10000;
    case 161: return 1253;
    case 162: return 1254;
    case 186: return 1257;
    case 204: return 1251;
    case 238: return 1250;
    case 255: return 437;
    default: return 0;
    }
}

// Symbol fonts draw their own glyphs at ordinary byte values. The common bullets and the Greek
// letters of the Symbol font are turned into the Unicode characters they show.
char16_t symbolCharacter(SymbolKind kind, unsigned byte)
{
    if (kind == SymbolKind::Symbol) {
        static constexpr char16_t kUpperGreek[] = u"ΑΒΧΔΕΦΓΗΙϑΚΛΜΝΟΠΘΡΣΤΥςΩΞΨΖ";
        static constexpr char16_t kLowerGreek[] = u"αβχδεφγηιϕκλμνοπθρστυϖωξψζ";
        if (byte >= 'A' && byte <= 'Z')
            return kUpperGreek[byte - 'A'];
        if (byte >= 'a' && byte <= 'z')
            return kLowerGreek[byte - 'a'];
        switch (byte) {
        case 0xB7: return u'\u2022';
        case 0x2D: return u'\u2212';
        case 0xA7: return u'\u2663';
        case 0xA8: return u'\u2666';
        case 0xA9: return u'\u2665';
        case 0xAA: return u'\u2660';
        case 0xAE: return u'\u2192';
        case 0xB0: return u'\u00B0';
        case 0xB1: return u'\u00B1';
        case 0xB4: return u'\u00D7';
        case 0xB8: return u'\u00F7';
        case 0xA3: return u'\u2264';
        case 0xB3: return u'\u2265';
        case 0xB9: return u'\u2260';
        default: break;
        }
    } else if (kind == SymbolKind::Wingdings) {
        switch (byte) {
        case 0x6C: return u'\u25CF';
        case 0x6E: return u'\u25A0';
        case 0x71: return u'\u2751';
        case 0x76: return u'\u2756';
        case 0x9F: return u'\u2022';
        case 0xA7: return u'\u25AA';
        case 0xD8: return u'\u27A2';
        case 0xFC: return u'\u2713';
        case 0xFB: return u'\u2717';
        default: break;
        }
    }
    return char16_t(byte < 0x80 ? byte : codePageUpperHalf(1252)[byte - 0x80]);
}

int hexValue(uchar c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

void appendCodePoint(QString &text, char32_t c)
{
    if (c > 0xFFFF) {
        text.append(QChar::highSurrogate(c));
        text.append(QChar::lowSurrogate(c));
    } else {
        text.append(QChar(char16_t(c)));
    }
}

bool isLetter(uchar c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(uchar c)
{
    return c >= '0' && c <= '9';
}

// The target of a HYPERLINK field instruction: its first quoted argument or, failing that, its
// first argument that is not a switch. A "\l" switch names a place in the document.
QString hyperlinkTarget(const QString &instruction)
{
    const QString text = instruction.trimmed();
    if (!text.startsWith(u"HYPERLINK"_s, Qt::CaseInsensitive))
        return {};
    const QStringView rest = QStringView(text).mid(9);
    bool local = false;
    qsizetype i = 0;
    while (i < rest.size()) {
        if (rest[i].isSpace()) {
            ++i;
        } else if (rest[i] == u'"') {
            const qsizetype close = rest.indexOf(u'"', i + 1);
            const QString target = rest.mid(i + 1, close < 0 ? -1 : close - i - 1).toString();
            return local ? u"#"_s + target : target;
        } else {
            qsizetype end = i;
            while (end < rest.size() && !rest[end].isSpace())
                ++end;
            const QStringView token = rest.mid(i, end - i);
            if (token == u"\\l")
                local = true;
            else if (!token.startsWith(u'\\'))
                return local ? u"#"_s + token.toString() : token.toString();
            i = end;
        }
    }
    return {};
}

// ----------------------------------------------------------------------------------------------

class Reader
{
public:
    Reader(QByteArrayView bytes, QTextDocument &document, const RtfLimits &limits)
        : m_pos(reinterpret_cast<const uchar *>(bytes.data()))
        , m_end(m_pos + std::min(bytes.size(), std::max<qsizetype>(limits.maxInputBytes, 0)))
        , m_limits(limits)
        , m_document(document)
        , m_cursor(&document)
    {
        m_stack.reserve(64);
        m_stack.emplace_back();  // outside every group; the document's group sits above it
    }

    void read();

private:
    State &state() { return m_stack.back(); }
    bool skipping() const { return m_skippedDepth > 0 || m_stack.back().dest == Dest::Skip; }

    void openGroup();
    void closeGroup();
    void controlWord();
    void controlSymbol(uchar symbol);
    void plainText();
    void handleWord(Word word, bool hasParam, int param);
    void textWord(Word word, bool hasParam, int param);
    void fontTableWord(Word word, bool hasParam, int param);
    void pictureWord(Word word, int param);
    void skipBinary(int count);

    void bytesOut(const uchar *bytes, qsizetype count);
    void charOut(char32_t c);
    qsizetype roomForText(qsizetype count);
    void commitFontName();

    void endRun();
    void endParagraph();
    void endCell();
    void pushCell();
    void endRow();
    void writeTable();
    void writeParagraph(QTextCursor &cursor, const Paragraph &paragraph, bool reuseBlock);
    void finishDocument();
    void finishPicture();
    void finishListText(qsizetype start);

    const FontEntry *font(int index) const;
    QTextCharFormat charFormat(const CharState &ch);
    QTextBlockFormat blockFormat(const ParaState &para) const;
    Paragraph takeParagraph();
    QColor colour(int index) const;

    const uchar *m_pos;
    const uchar *m_end;
    const RtfLimits &m_limits;
    QTextDocument &m_document;
    QTextCursor m_cursor;
    bool m_done = false;

    std::vector<State> m_stack;
    int m_skippedDepth = 0;  // groups past the depth limit, skipped whole
    int m_fallbackLeft = 0;  // characters still to skip after a \u
    bool m_ignorable = false;  // a \* was just read

    int m_codePage = 1252;
    int m_defaultFont = 0;
    QHash<int, FontEntry> m_fonts;
    int m_fontBeingNamed = -1;
    QString m_fontName;
    std::vector<QColor> m_colours;  // an invalid colour stands for "automatic"
    int m_red = 0, m_green = 0, m_blue = 0;
    bool m_colourGiven = false;

    QString m_fieldInstruction;
    QStringList m_links;

    QString m_run;
    CharState m_runChar;
    std::vector<Item> m_items;
    bool m_blockReusable = true;  // the cursor's block is empty and waits for the next paragraph
    int m_paragraphs = 0;
    qsizetype m_characters = 0;  // of text and paragraph ends, kept within maxCharacters
    qsizetype m_paragraphLength = 0;
    int m_runs = 0;

    std::vector<int> m_boundaries;
    Cell m_cell;
    Row m_row;
    std::vector<Row> m_rows;
    int m_tableCells = 0;

    QByteArray m_picture;
    QByteArray m_pictureFormat;
    bool m_pictureTooBig = false;
    int m_pictureNibble = -1;
    int m_pictureGoalWidth = 0, m_pictureGoalHeight = 0;
    int m_pictureScaleX = 100, m_pictureScaleY = 100;
    int m_pictures = 0;
    qint64 m_picturePixels = 0;

    struct CachedFormat {
        CharState key;
        QTextCharFormat format;
    };
    std::array<CachedFormat, 8> m_formatCache;
    int m_formatCacheSize = 0;
    int m_formatCacheNext = 0;
};

void Reader::read()
{
    m_cursor.beginEditBlock();
    while (m_pos < m_end && !m_done) {
        const uchar c = *m_pos;
        if (c == '{') {
            ++m_pos;
            openGroup();
        } else if (c == '}') {
            ++m_pos;
            closeGroup();
        } else if (c == '\\') {
            ++m_pos;
            controlWord();
        } else if (c == '\r' || c == '\n') {
            ++m_pos;
        } else {
            plainText();
        }
    }
    finishDocument();
    m_cursor.endEditBlock();
}

void Reader::openGroup()
{
    m_fallbackLeft = 0;
    m_ignorable = false;
    if (m_skippedDepth > 0 || int(m_stack.size()) > m_limits.maxGroupDepth) {
        ++m_skippedDepth;
        return;
    }
    State child = m_stack.back();
    child.resumable = false;
    if (child.upr) {
        child.resumable = true;
        child.resumeDest = child.dest;
        child.dest = Dest::Skip;
    }
    child.upr = false;
    m_stack.push_back(child);
}

void Reader::closeGroup()
{
    m_fallbackLeft = 0;
    m_ignorable = false;
    if (m_skippedDepth > 0) {
        --m_skippedDepth;
        return;
    }
    if (m_stack.size() <= 2) {
        // The document's own group ends the document; anything after it is not read.
        m_done = true;
        return;
    }
    const State &closing = m_stack.back();
    const Dest outer = m_stack[m_stack.size() - 2].dest;
    if (closing.dest == Dest::FontTable)
        commitFontName();
    if (closing.dest != outer) {
        if (closing.dest == Dest::Picture)
            finishPicture();
        else if (closing.dest == Dest::ListText)
            finishListText(closing.listTextStart);
    }
    m_stack.pop_back();
}

void Reader::controlWord()
{
    if (m_pos >= m_end)
        return;
    if (!isLetter(*m_pos)) {
        controlSymbol(*m_pos++);
        return;
    }
    const uchar *start = m_pos;
    while (m_pos < m_end && isLetter(*m_pos))
        ++m_pos;
    // Words longer than any real one are read whole and ignored.
    const std::size_t length = std::size_t(m_pos - start);
    const std::string_view name(reinterpret_cast<const char *>(start), length <= 32 ? length : 0);

    bool negative = false;
    if (m_pos + 1 < m_end && *m_pos == '-' && isDigit(m_pos[1])) {
        negative = true;
        ++m_pos;
    }
    bool hasParam = false;
    qint64 value = 0;
    while (m_pos < m_end && isDigit(*m_pos)) {
        if (value <= INT_MAX)  // saturates; further digits are still read
            value = value * 10 + (*m_pos - '0');
        hasParam = true;
        ++m_pos;
    }
    value = std::min<qint64>(value, INT_MAX);
    const int param = int(negative ? -value : value);
    if (m_pos < m_end && *m_pos == ' ')
        ++m_pos;  // the space that ends a word belongs to it
    handleWord(name.empty() ? Word::Unknown : lookupWord(name), hasParam, param);
}

void Reader::controlSymbol(uchar symbol)
{
    if (symbol == '\'') {
        // A character given by its byte in the code page, as two hex digits.
        const int high = m_pos < m_end ? hexValue(m_pos[0]) : -1;
        const int low = m_pos + 1 < m_end ? hexValue(m_pos[1]) : -1;
        if (high < 0 || low < 0) {
            if (high >= 0)
                ++m_pos;
            return;
        }
        m_pos += 2;
        if (skipping())
            return;
        if (m_fallbackLeft > 0) {
            --m_fallbackLeft;
            return;
        }
        const uchar byte = uchar(high * 16 + low);
        bytesOut(&byte, 1);
        return;
    }
    if (symbol == '*') {
        m_ignorable = true;
        return;
    }
    m_ignorable = false;
    if (skipping())
        return;
    if (m_fallbackLeft > 0) {
        --m_fallbackLeft;
        return;
    }
    switch (symbol) {
    case '\\':
    case '{':
    case '}':
        charOut(symbol);
        break;
    case '~':
        charOut(0x00A0);  // no-break space
        break;
    case '-':
        charOut(0x00AD);  // optional hyphen
        break;
    case '_':
        charOut(0x2011);  // no-break hyphen
        break;
    case '\t':
        charOut(u'\t');
        break;
    case '\r':
    case '\n':
        textWord(Word::Par, false, 0);
        break;
    default:
        break;
    }
}

void Reader::plainText()
{
    m_ignorable = false;
    if (m_fallbackLeft > 0 && !skipping()) {
        ++m_pos;
        --m_fallbackLeft;
        return;
    }
    const uchar *start = m_pos;
    while (m_pos < m_end) {
        const uchar c = *m_pos;
        if (c == '{' || c == '}' || c == '\\' || c == '\r' || c == '\n')
            break;
        ++m_pos;
    }
    if (!skipping())
        bytesOut(start, m_pos - start);
}

void Reader::handleWord(Word word, bool hasParam, int param)
{
    if (word == Word::Bin) {
        m_ignorable = false;
        skipBinary(hasParam ? param : 0);
        return;
    }
    if (m_skippedDepth > 0)
        return;
    State &s = state();
    if (s.dest == Dest::Skip) {
        if (word == Word::Ud && s.resumable) {
            s.dest = s.resumeDest;
            s.resumable = false;
        }
        m_ignorable = false;
        return;
    }
    if (m_fallbackLeft > 0) {
        --m_fallbackLeft;
        m_ignorable = false;
        return;
    }
    if (m_ignorable) {
        m_ignorable = false;
        if (!isReadDestination(word)) {
            s.dest = Dest::Skip;
            return;
        }
    }
    switch (s.dest) {
    case Dest::FontTable:
        fontTableWord(word, hasParam, param);
        return;
    case Dest::ColorTable:
        switch (word) {
        case Word::Red: m_red = std::clamp(param, 0, 255); m_colourGiven = true; break;
        case Word::Green: m_green = std::clamp(param, 0, 255); m_colourGiven = true; break;
        case Word::Blue: m_blue = std::clamp(param, 0, 255); m_colourGiven = true; break;
        default: break;
        }
        return;
    case Dest::Picture:
        pictureWord(word, param);
        return;
    case Dest::FieldInstruction:
        return;
    case Dest::Text:
    case Dest::ListText:
    case Dest::Skip:
        break;
    }
    textWord(word, hasParam, param);
}

void Reader::textWord(Word word, bool hasParam, int param)
{
    State &s = state();
    CharState &ch = s.ch;
    ParaState &para = s.para;
    const bool on = !hasParam || param != 0;
    switch (word) {
    // Document
    case Word::Ansi: m_codePage = 1252; break;
    case Word::Ansicpg: if (hasParam) m_codePage = param; break;
    case Word::Mac: m_codePage = 10000; break;
    case Word::Pc: m_codePage = 437; break;
    case Word::Pca: m_codePage = 850; break;
    case Word::Deff: m_defaultFont = param; break;
    case Word::Uc: s.unicodeSkip = std::clamp(param, 0, 255); break;
    case Word::U: {
        // A UTF-16 unit written as a signed 16-bit number; larger values are read as code points.
        int value = param;
        if (value < 0)
            value += 65536;
        if (value >= 0 && value <= 0x10FFFF)
            charOut(char32_t(value));
        m_fallbackLeft = s.unicodeSkip;
        break;
    }

    // Destinations
    case Word::Fonttbl: s.dest = Dest::FontTable; m_fontBeingNamed = -1; break;
    case Word::Colortbl: s.dest = Dest::ColorTable; m_colourGiven = false; break;
    case Word::SkipGroup: s.dest = Dest::Skip; break;
    case Word::Field: m_fieldInstruction.clear(); break;
    case Word::Fldinst: s.dest = Dest::FieldInstruction; m_fieldInstruction.clear(); break;
    case Word::Fldrslt: {
        const QString target = hyperlinkTarget(m_fieldInstruction);
        if (!target.isEmpty() && m_links.size() < kMaxLinks) {
            ch.link = int(m_links.size());
            m_links.append(target);
        }
        break;
    }
    case Word::Listtext:
    case Word::Pntext:
        endRun();
        s.dest = Dest::ListText;
        s.listTextStart = qsizetype(m_items.size());
        break;
    case Word::Pict:
        s.dest = Dest::Picture;
        m_picture.clear();
        m_pictureFormat.clear();
        m_pictureTooBig = false;
        m_pictureNibble = -1;
        m_pictureGoalWidth = m_pictureGoalHeight = 0;
        m_pictureScaleX = m_pictureScaleY = 100;
        break;
    case Word::Upr: s.upr = true; break;

    // Character format
    case Word::Plain: ch = CharState{}; break;
    case Word::B: ch.bold = on; break;
    case Word::I: ch.italic = on; break;
    case Word::Ul: ch.underline = on; break;
    case Word::Ulnone: ch.underline = false; break;
    case Word::Strike: ch.strike = on; break;
    case Word::V: ch.hidden = on; break;
    case Word::Fs: ch.halfPoints = hasParam && param > 0 ? std::min(param, kMaxHalfPoints) : 24; break;
    case Word::F: ch.font = hasParam ? std::max(param, 0) : -1; break;
    case Word::Cf: ch.foreground = std::max(param, 0); break;
    case Word::Cb:
    case Word::Highlight: ch.background = std::max(param, 0); break;
    case Word::Super: ch.vertical = 1; break;
    case Word::Sub: ch.vertical = 2; break;
    case Word::Nosupersub: ch.vertical = 0; break;

    // Paragraph format
    case Word::Par: endParagraph(); break;
    case Word::Pard: para = ParaState{}; break;
    case Word::Line: charOut(0x2028); break;
    case Word::Ql: para.alignment = Qt::AlignLeft; break;
    case Word::Qc: para.alignment = Qt::AlignHCenter; break;
    case Word::Qr: para.alignment = Qt::AlignRight; break;
    case Word::Qj:
    case Word::Qd: para.alignment = Qt::AlignJustify; break;
    case Word::Li: para.left = clampTwips(param); break;
    case Word::Ri: para.right = clampTwips(param); break;
    case Word::Fi: para.firstLine = clampTwips(param); break;
    case Word::Sb: para.before = std::clamp(param, 0, kMaxTwips); break;
    case Word::Sa: para.after = std::clamp(param, 0, kMaxTwips); break;
    case Word::Sl: para.lineSpacing = clampTwips(param); break;
    case Word::Slmult: para.lineMultiple = on; break;
    case Word::Tx:
        if (para.tabCount < kMaxTabStops)
            para.tabs[std::size_t(para.tabCount++)] = std::clamp(param, 0, kMaxTwips);
        break;
    case Word::Intbl: para.inTable = true; break;

    // Tables
    case Word::Trowd: m_boundaries.clear(); break;
    case Word::Cellx:
        if (int(m_boundaries.size()) < m_limits.maxTableColumns)
            m_boundaries.push_back(clampTwips(param));
        break;
    case Word::Cell: endCell(); break;
    case Word::Row: endRow(); break;
    case Word::Nestcell: charOut(u'\t'); break;
    case Word::Nestrow: charOut(0x2028); break;

    // Characters
    case Word::Tab: charOut(u'\t'); break;
    case Word::Bullet: charOut(0x2022); break;
    case Word::Emdash: charOut(0x2014); break;
    case Word::Endash: charOut(0x2013); break;
    case Word::Emspace: charOut(0x2003); break;
    case Word::Enspace: charOut(0x2002); break;
    case Word::Qmspace: charOut(0x2005); break;
    case Word::Lquote: charOut(0x2018); break;
    case Word::Rquote: charOut(0x2019); break;
    case Word::Ldblquote: charOut(0x201C); break;
    case Word::Rdblquote: charOut(0x201D); break;
    case Word::Zwbo: charOut(0x200B); break;
    case Word::Zwj: charOut(0x200D); break;
    case Word::Zwnj: charOut(0x200C); break;
    case Word::Ltrmark: charOut(0x200E); break;
    case Word::Rtlmark: charOut(0x200F); break;

    default:
        break;
    }
}

void Reader::fontTableWord(Word word, bool hasParam, int param)
{
    if (word == Word::F) {
        commitFontName();
        m_fontBeingNamed = -1;
        if (hasParam && (m_fonts.contains(param) || m_fonts.size() < kMaxFonts)) {
            m_fontBeingNamed = param;
            m_fonts[param] = FontEntry{};
        }
        return;
    }
    auto it = m_fonts.find(m_fontBeingNamed);
    if (it == m_fonts.end())
        return;
    FontEntry &entry = *it;
    switch (word) {
    case Word::Froman: entry.hint = QFont::Serif; break;
    case Word::Fswiss: entry.hint = QFont::SansSerif; break;
    case Word::Fmodern: entry.hint = QFont::TypeWriter; break;
    case Word::Fscript: entry.hint = QFont::Cursive; break;
    case Word::Fdecor: entry.hint = QFont::Decorative; break;
    case Word::Fnil:
    case Word::Ftech: entry.hint = QFont::AnyStyle; break;
    case Word::Fcharset:
        if (param == 2) {
            if (entry.symbol == SymbolKind::None)
                entry.symbol = SymbolKind::OtherSymbol;
        } else if (entry.codePage == 0) {
            entry.codePage = charsetToCodePage(param);
        }
        break;
    case Word::Cpg: entry.codePage = param; break;
    default: break;
    }
}

void Reader::commitFontName()
{
    auto it = m_fonts.find(m_fontBeingNamed);
    if (it == m_fonts.end() || m_fontName.isEmpty())
        return;
    it->name = m_fontName.trimmed();
    m_fontName.clear();
    if (it->name.compare(u"Symbol"_s, Qt::CaseInsensitive) == 0)
        it->symbol = SymbolKind::Symbol;
    else if (it->name.startsWith(u"Wingdings"_s, Qt::CaseInsensitive))
        it->symbol = SymbolKind::Wingdings;
    else if (it->name.compare(u"Webdings"_s, Qt::CaseInsensitive) == 0)
        it->symbol = SymbolKind::OtherSymbol;
    m_fontBeingNamed = -1;  // text after the name's semicolon is not part of it
}

void Reader::pictureWord(Word word, int param)
{
    switch (word) {
    case Word::Pngblip: m_pictureFormat = "png"; break;
    case Word::Jpegblip: m_pictureFormat = "jpeg"; break;
    case Word::OtherBlip: m_pictureFormat = "-"; m_picture.clear(); break;
    case Word::Picwgoal: m_pictureGoalWidth = std::clamp(param, 0, kMaxTwips); break;
    case Word::Pichgoal: m_pictureGoalHeight = std::clamp(param, 0, kMaxTwips); break;
    case Word::Picscalex: m_pictureScaleX = std::clamp(param, 1, 1000); break;
    case Word::Picscaley: m_pictureScaleY = std::clamp(param, 1, 1000); break;
    default: break;
    }
}

// \bin is followed by that many raw bytes, whatever they are; they count as one character when a
// \u fallback is being skipped.
void Reader::skipBinary(int count)
{
    const qsizetype n = std::min<qsizetype>(std::max(count, 0), m_end - m_pos);
    const bool fallback = m_fallbackLeft > 0;
    if (fallback)
        --m_fallbackLeft;
    if (!fallback && m_skippedDepth == 0 && state().dest == Dest::Picture && m_pictureFormat != "-") {
        if (m_picture.size() + n <= m_limits.maxPictureBytes)
            m_picture.append(reinterpret_cast<const char *>(m_pos), n);
        else
            m_pictureTooBig = true;
    }
    m_pos += n;
}

void Reader::bytesOut(const uchar *bytes, qsizetype count)
{
    State &s = state();
    switch (s.dest) {
    case Dest::Text:
    case Dest::ListText: {
        if (s.ch.hidden)
            return;
        const FontEntry *f = font(s.ch.font);
        const SymbolKind symbol = f ? f->symbol : SymbolKind::None;
        const char16_t *upper = codePageUpperHalf(f && f->codePage ? f->codePage : m_codePage);
        while (count > 0) {
            const qsizetype room = roomForText(count);
            if (room == 0)
                return;
            if (!m_run.isEmpty() && !(m_runChar == s.ch))
                endRun();
            m_runChar = s.ch;
            m_run.reserve(m_run.size() + room);
            for (qsizetype i = 0; i < room; ++i) {
                const uchar b = bytes[i];
                if (b < 0x20) {
                    if (b == '\t')
                        m_run.append(u'\t');
                    continue;  // other control bytes, NUL among them, show nothing
                }
                if (symbol != SymbolKind::None)
                    m_run.append(QChar(symbolCharacter(symbol, b)));
                else
                    m_run.append(QChar(b < 0x80 ? char16_t(b) : upper[b - 0x80]));
            }
            bytes += room;
            count -= room;
        }
        return;
    }
    case Dest::FontTable:
        for (qsizetype i = 0; i < count; ++i) {
            if (bytes[i] == ';')
                commitFontName();
            else if (m_fontBeingNamed >= 0 && m_fontName.size() < kMaxFontNameLength)
                m_fontName.append(QChar(bytes[i] < 0x80 ? char16_t(bytes[i]) : codePageUpperHalf(1252)[bytes[i] - 0x80]));
        }
        return;
    case Dest::ColorTable:
        for (qsizetype i = 0; i < count; ++i) {
            if (bytes[i] != ';')
                continue;
            if (int(m_colours.size()) < kMaxColours)
                m_colours.push_back(m_colourGiven ? QColor(m_red, m_green, m_blue) : QColor());
            m_red = m_green = m_blue = 0;
            m_colourGiven = false;
        }
        return;
    case Dest::Picture:
        if (m_pictureFormat == "-")
            return;
        for (qsizetype i = 0; i < count; ++i) {
            const int v = hexValue(bytes[i]);
            if (v < 0)
                continue;
            if (m_pictureNibble < 0) {
                m_pictureNibble = v;
            } else if (m_picture.size() < m_limits.maxPictureBytes) {
                m_picture.append(char(m_pictureNibble * 16 + v));
                m_pictureNibble = -1;
            } else {
                m_pictureTooBig = true;
                return;
            }
        }
        return;
    case Dest::FieldInstruction:
        for (qsizetype i = 0; i < count && m_fieldInstruction.size() < kMaxFieldInstruction; ++i)
            m_fieldInstruction.append(QChar(bytes[i] < 0x80 ? char16_t(bytes[i]) : codePageUpperHalf(m_codePage)[bytes[i] - 0x80]));
        return;
    case Dest::Skip:
        return;
    }
}

void Reader::charOut(char32_t c)
{
    State &s = state();
    if (c < 0x20 && c != u'\t')
        return;
    if (c == 0x2029)
        c = 0x2028;  // a paragraph separator inside the text would split the paragraph
    switch (s.dest) {
    case Dest::Text:
    case Dest::ListText: {
        if (s.ch.hidden)
            return;
        if (roomForText(1) == 0)
            return;
        if (const FontEntry *f = font(s.ch.font); f && f->symbol != SymbolKind::None && c >= 0xF020 && c <= 0xF0FF)
            c = symbolCharacter(f->symbol, c - 0xF000);  // symbol fonts' private-use code points
        if (!m_run.isEmpty() && !(m_runChar == s.ch))
            endRun();
        m_runChar = s.ch;
        appendCodePoint(m_run, c);
        return;
    }
    case Dest::FontTable:
        if (m_fontBeingNamed >= 0 && m_fontName.size() < kMaxFontNameLength)
            appendCodePoint(m_fontName, c);
        return;
    case Dest::FieldInstruction:
        if (m_fieldInstruction.size() < kMaxFieldInstruction)
            appendCodePoint(m_fieldInstruction, c);
        return;
    case Dest::ColorTable:
    case Dest::Picture:
    case Dest::Skip:
        return;
    }
}

// How many of `count` characters of text may go into the paragraph now; they are counted as
// taken. A paragraph that is full goes on in a new one first: a long run of letters without a
// space is laid out in a time that grows with the square of its length. Once the document is
// full, reading stops.
qsizetype Reader::roomForText(qsizetype count)
{
    if (m_paragraphLength >= m_limits.maxParagraphLength)
        endParagraph();
    if (m_done)
        return 0;
    const qsizetype room = std::clamp<qsizetype>(
        std::min(m_limits.maxCharacters - m_characters, m_limits.maxParagraphLength - m_paragraphLength), 0, count);
    m_characters += room;
    m_paragraphLength += room;
    if (m_characters >= m_limits.maxCharacters)
        m_done = true;
    return room;
}

const FontEntry *Reader::font(int index) const
{
    auto it = m_fonts.constFind(index >= 0 ? index : m_defaultFont);
    return it == m_fonts.constEnd() ? nullptr : &*it;
}

QColor Reader::colour(int index) const
{
    return index >= 0 && std::size_t(index) < m_colours.size() ? m_colours[std::size_t(index)] : QColor();
}

QTextCharFormat Reader::charFormat(const CharState &ch)
{
    for (int i = 0; i < m_formatCacheSize; ++i)
        if (m_formatCache[std::size_t(i)].key == ch)
            return m_formatCache[std::size_t(i)].format;

    QTextCharFormat format;
    format.setFontPointSize(ch.halfPoints / 2.0);
    format.setFontWeight(ch.bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(ch.italic);
    format.setFontUnderline(ch.underline);
    format.setFontStrikeOut(ch.strike);
    if (ch.vertical == 1)
        format.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    else if (ch.vertical == 2)
        format.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    // Symbol fonts are left out: their characters were turned into ordinary Unicode ones.
    if (const FontEntry *f = font(ch.font); f && f->symbol == SymbolKind::None && !f->name.isEmpty()) {
        format.setFontFamilies({f->name});
        format.setFontStyleHint(f->hint);
    }
    if (const QColor c = colour(ch.foreground); c.isValid())
        format.setForeground(c);
    if (const QColor c = colour(ch.background); c.isValid())
        format.setBackground(c);
    if (ch.link >= 0 && ch.link < m_links.size()) {
        format.setAnchor(true);
        format.setAnchorHref(m_links.at(ch.link));
    }

    CachedFormat &slot = m_formatCache[std::size_t(m_formatCacheNext)];
    slot = {ch, format};
    m_formatCacheNext = (m_formatCacheNext + 1) % int(m_formatCache.size());
    m_formatCacheSize = std::min(m_formatCacheSize + 1, int(m_formatCache.size()));
    return format;
}

QTextBlockFormat Reader::blockFormat(const ParaState &para) const
{
    QTextBlockFormat format;
    format.setAlignment(para.alignment);
    format.setLeftMargin(twipsToPixels(para.left));
    format.setRightMargin(twipsToPixels(para.right));
    format.setTextIndent(twipsToPixels(para.firstLine));
    format.setTopMargin(twipsToPixels(para.before));
    format.setBottomMargin(twipsToPixels(para.after));
    if (para.lineSpacing != 0) {
        if (para.lineMultiple)
            format.setLineHeight(std::clamp(para.lineSpacing * 100.0 / 240.0, 50.0, 500.0), QTextBlockFormat::ProportionalHeight);
        else if (para.lineSpacing > 0)
            format.setLineHeight(twipsToPixels(para.lineSpacing), QTextBlockFormat::MinimumHeight);
        else
            format.setLineHeight(twipsToPixels(-para.lineSpacing), QTextBlockFormat::FixedHeight);
    }
    // Tab stops are measured from the left edge of the text, but the layout measures them from
    // where the line starts: the first line's start, where tabs mostly are (after a list
    // item's bullet or number), is taken as their origin.
    const int origin = para.left + para.firstLine;
    QList<QTextOption::Tab> tabs;
    for (int i = 0; i < para.tabCount; ++i)
        if (const int position = para.tabs[std::size_t(i)] - origin; position > 0)
            tabs.append(QTextOption::Tab(twipsToPixels(position), QTextOption::LeftTab));
    if (para.firstLine < 0) {
        // A hanging indent, as for list items, is also a tab stop.
        tabs.append(QTextOption::Tab(twipsToPixels(-para.firstLine), QTextOption::LeftTab));
    }
    if (!tabs.isEmpty()) {
        std::sort(tabs.begin(), tabs.end(), [](const QTextOption::Tab &a, const QTextOption::Tab &b) { return a.position < b.position; });
        format.setTabPositions(tabs);
    }
    return format;
}

// Each run of text is laid out on its own, and the cost of a paragraph grows with the square of
// its runs: past the limits the text joins the run before it, and keeps its format.
void Reader::endRun()
{
    if (m_run.isEmpty())
        return;
    const bool tooMany = int(m_items.size()) >= m_limits.maxRunsPerParagraph || m_runs >= m_limits.maxRuns;
    if (tooMany && !m_items.empty() && !m_items.back().format.isImageFormat()) {
        m_items.back().text += m_run;
    } else {
        m_items.push_back(Item{m_run, charFormat(m_runChar)});
        ++m_runs;
    }
    m_run.clear();
}

// List text that is only white space (writers put a lone tab there for unnumbered headings) is
// dropped, so that such paragraphs do not start with a gap.
void Reader::finishListText(qsizetype start)
{
    endRun();
    if (start > qsizetype(m_items.size()))
        return;
    const bool blank = std::all_of(m_items.begin() + start, m_items.end(),
                                   [](const Item &item) { return item.text.trimmed().isEmpty(); });
    if (blank)
        m_items.erase(m_items.begin() + start, m_items.end());
}

Paragraph Reader::takeParagraph()
{
    endRun();
    Paragraph paragraph{blockFormat(state().para), charFormat(state().ch), std::move(m_items)};
    m_items.clear();
    m_paragraphLength = 0;
    return paragraph;
}

void Reader::endParagraph()
{
    if (m_paragraphs >= m_limits.maxParagraphs || m_characters >= m_limits.maxCharacters) {
        m_done = true;
        return;
    }
    ++m_paragraphs;
    ++m_characters;  // the paragraph's end
    Paragraph paragraph = takeParagraph();
    if (state().para.inTable) {
        m_cell.paragraphs.push_back(std::move(paragraph));
        return;
    }
    writeTable();
    writeParagraph(m_cursor, paragraph, m_blockReusable);
    m_blockReusable = false;
}

void Reader::endCell()
{
    if (m_tableCells >= m_limits.maxTableCells) {
        m_done = true;
        return;
    }
    ++m_tableCells;
    pushCell();
}

void Reader::pushCell()
{
    endRun();
    if (!m_items.empty() || m_cell.paragraphs.empty())
        m_cell.paragraphs.push_back(takeParagraph());
    if (int(m_row.cells.size()) < m_limits.maxTableColumns || m_row.cells.empty()) {
        m_row.cells.push_back(std::move(m_cell));
    } else {
        // Too many cells in a row: the extra ones are shown in the row's last cell.
        auto &last = m_row.cells.back().paragraphs;
        std::move(m_cell.paragraphs.begin(), m_cell.paragraphs.end(), std::back_inserter(last));
    }
    m_cell = Cell{};
}

void Reader::endRow()
{
    endRun();
    if (!m_items.empty() || !m_cell.paragraphs.empty())
        endCell();
    if (m_row.cells.empty())
        return;
    m_row.boundaries = m_boundaries;
    m_rows.push_back(std::move(m_row));
    m_row = Row{};
}

void Reader::writeTable()
{
    if (!m_cell.paragraphs.empty())
        pushCell();
    if (!m_row.cells.empty()) {
        m_row.boundaries = m_boundaries;
        m_rows.push_back(std::move(m_row));
        m_row = Row{};
    }
    if (m_rows.empty())
        return;

    const Row *widest = &m_rows.front();
    for (const Row &row : m_rows)
        if (row.cells.size() > widest->cells.size())
            widest = &row;
    const int columns = int(widest->cells.size());

    QTextTableFormat format;
    format.setBorder(1);
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    format.setBorderCollapse(true);
    format.setCellPadding(4);
    format.setCellSpacing(0);
    // Column widths from the cell edges when they make sense, else left to the layout.
    const std::vector<int> &edges = widest->boundaries;
    if (int(edges.size()) >= columns) {
        QList<QTextLength> widths;
        int previous = 0;
        for (int c = 0; c < columns; ++c) {
            const int edge = edges[std::size_t(c)];
            if (edge <= previous) {
                widths.clear();
                break;
            }
            widths.append(QTextLength(QTextLength::FixedLength, twipsToPixels(edge - previous)));
            previous = edge;
        }
        if (!widths.isEmpty())
            format.setColumnWidthConstraints(widths);
    }

    QTextTable *table = m_cursor.insertTable(int(m_rows.size()), columns, format);
    for (int r = 0; r < int(m_rows.size()); ++r) {
        const Row &row = m_rows[std::size_t(r)];
        for (int c = 0; c < int(row.cells.size()); ++c) {
            QTextCursor cursor = table->cellAt(r, c).firstCursorPosition();
            bool first = true;
            for (const Paragraph &paragraph : row.cells[std::size_t(c)].paragraphs) {
                writeParagraph(cursor, paragraph, first);
                first = false;
            }
        }
    }
    m_rows.clear();
    m_cursor.movePosition(QTextCursor::End);
    m_blockReusable = true;  // the empty block that follows every table
}

void Reader::writeParagraph(QTextCursor &cursor, const Paragraph &paragraph, bool reuseBlock)
{
    if (reuseBlock) {
        cursor.setBlockFormat(paragraph.block);
        cursor.setBlockCharFormat(paragraph.blockChar);
    } else {
        cursor.insertBlock(paragraph.block, paragraph.blockChar);
    }
    for (const Item &item : paragraph.items)
        cursor.insertText(item.text, item.format);
}

void Reader::finishDocument()
{
    endRun();
    if (!m_items.empty()) {
        Paragraph paragraph = takeParagraph();
        if (state().para.inTable || !m_cell.paragraphs.empty()) {
            m_cell.paragraphs.push_back(std::move(paragraph));
            writeTable();
        } else {
            writeTable();
            writeParagraph(m_cursor, paragraph, m_blockReusable);
            m_blockReusable = false;
        }
    }
    writeTable();
}

void Reader::finishPicture()
{
    if (m_pictureTooBig || m_picture.isEmpty() || m_pictures >= m_limits.maxPictures
        || (m_pictureFormat != "png" && m_pictureFormat != "jpeg"))
        return;
    ++m_pictures;
    QBuffer buffer(&m_picture);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, m_pictureFormat);
    reader.setAllocationLimit(int(qint64(m_limits.maxPicturePixels) * 4 / (1024 * 1024)) + 1);
    const QSize size = reader.size();
    const qint64 pixels = qint64(size.width()) * size.height();
    if (!size.isValid() || pixels > m_limits.maxPicturePixels || pixels > m_limits.maxTotalPicturePixels - m_picturePixels)
        return;
    m_picturePixels += pixels;

    // The size the document asks for (in twips), else the picture's own, each scaled.
    const qreal width = std::clamp((m_pictureGoalWidth > 0 ? twipsToPixels(m_pictureGoalWidth) : size.width()) * m_pictureScaleX / 100.0, 1.0, 4000.0);
    const qreal height = std::clamp((m_pictureGoalHeight > 0 ? twipsToPixels(m_pictureGoalHeight) : size.height()) * m_pictureScaleY / 100.0, 1.0, 4000.0);
    // A picture shown smaller than it is is kept at the size it is shown.
    const QSize shown(int(std::ceil(width)), int(std::ceil(height)));
    if (qint64(shown.width()) * shown.height() < pixels)
        reader.setScaledSize(shown.boundedTo(size));
    QImage image;
    if (!reader.read(&image) || image.isNull())
        return;

    const QString name = u"rtf-picture:"_s + QString::number(m_pictures);
    m_document.addResource(QTextDocument::ImageResource, QUrl(name), image);
    QTextImageFormat format;
    format.setName(name);
    format.setWidth(width);
    format.setHeight(height);
    endRun();
    m_items.push_back(Item{QString(QChar::ObjectReplacementCharacter), format});
    m_picture.clear();
}

} // namespace

bool looksLikeRtf(QByteArrayView bytes)
{
    qsizetype i = 0;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        i = 3;
    while (i < bytes.size() && (bytes[i] == ' ' || bytes[i] == '\t' || bytes[i] == '\r' || bytes[i] == '\n'))
        ++i;
    return bytes.sliced(i).startsWith("{\\rtf");
}

bool readRtf(QByteArrayView bytes, QTextDocument &document, const RtfLimits &limits)
{
    document.clear();
    if (!looksLikeRtf(bytes))
        return false;
    // The leading white space is skipped so that the first brace opens the document's group.
    const qsizetype start = bytes.indexOf('{');
    // Nobody undoes a load: without the undo history, and in one edit, filling is much quicker.
    const bool undo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    {
        Reader reader(bytes.sliced(start), document, limits);
        reader.read();
    }
    document.setUndoRedoEnabled(undo);
    return true;
}

} // namespace korvelan
