// Reads RTF in one pass over its tokens. Groups are kept on an explicit stack of states, so deep
// nesting costs memory in proportion to the depth allowed and never recursion. What each group's
// destination holds goes to the tables, the picture, or the text flow, which hands paragraphs and
// tables to the document builder.
#include "rtfreader.h"

#include "codepages.h"
#include "rtfbuilder.h"
#include "rtfflow.h"
#include "rtflexer.h"
#include "rtfpicture.h"
#include "rtfstate.h"
#include "rtftables.h"

#include <QTextDocument>

#include <algorithm>
#include <vector>

namespace korvelan {
namespace {

using namespace rtf;

// Destinations that an "ignorable" mark (\*) does not turn into skipped text: the ones read here.
bool isReadDestination(Word word)
{
    switch (word) {
    case Word::Fldinst:
    case Word::Shppict:
    case Word::Ud:
    case Word::Listtext:
    case Word::Pntext:
    case Word::Pict: return true;
    default: return false;
    }
}

// 72 points: larger letters hold a handful to a line, and the layout and drawing of letters
// hundreds of points high take seconds each.
constexpr int kMaxHalfPoints = 144;

int clampTwips(int twips)
{
    return std::clamp(twips, -kMaxTwips, kMaxTwips);
}

class Reader {
public:
    Reader(QByteArrayView bytes, QTextDocument &document, const RtfLimits &limits)
        : m_lexer(bytes.first(std::min(bytes.size(), std::max<qsizetype>(limits.maxInputBytes, 0)))), m_limits(limits),
          m_builder(document, m_tables), m_flow(limits, m_builder), m_picture(limits)
    {
        m_stack.reserve(64);
        m_stack.emplace_back(); // outside every group; the document's group sits above it
    }

    void read();

private:
    State &state() { return m_stack.back(); }
    bool skipping() const { return m_skippedDepth > 0 || m_stack.back().dest == Dest::Skip; }
    bool takeFallback();
    // Spacing before, after and between lines: never more than a page shows.
    int maxSpacing() const { return std::clamp(m_limits.maxSpacing, 0, kMaxTwips); }

    void openGroup();
    void closeGroup();
    void controlSymbol(uchar symbol);
    void character(uchar byte);
    void text(QByteArrayView bytes);
    void binary(QByteArrayView bytes);
    void handleWord(Word word, bool hasParam, int param);
    void textWord(Word word, bool hasParam, int param);

    void bytesOut(const uchar *bytes, qsizetype count);
    void charOut(char32_t c);
    void finishPicture();

    Lexer m_lexer;
    const RtfLimits &m_limits;
    Tables m_tables;
    DocumentBuilder m_builder;
    TextFlow m_flow;
    PictureReader m_picture;
    bool m_done = false;

    std::vector<State> m_stack;
    int m_skippedDepth = 0;   // groups past the depth limit, skipped whole
    int m_fallbackLeft = 0;   // characters still to skip after a \u
    bool m_ignorable = false; // a \* was just read

    int m_codePage = 1252;
};

void Reader::read()
{
    m_builder.begin();
    while (!m_done && !m_flow.full()) {
        const Token token = m_lexer.next();
        switch (token.kind) {
        case Token::Kind::End: m_done = true; break;
        case Token::Kind::OpenGroup: openGroup(); break;
        case Token::Kind::CloseGroup: closeGroup(); break;
        case Token::Kind::ControlWord: handleWord(token.word, token.hasParam, token.param); break;
        case Token::Kind::Unicode: handleWord(Word::U, token.hasParam, token.param); break;
        case Token::Kind::ControlSymbol: controlSymbol(token.symbol); break;
        case Token::Kind::Character: character(token.symbol); break;
        case Token::Kind::Text: text(token.bytes); break;
        case Token::Kind::Binary: binary(token.bytes); break;
        }
    }
    m_flow.finish(state());
    m_builder.end();
}

// After a \u, the characters that stand in for it in older readers are skipped: true for one.
bool Reader::takeFallback()
{
    if (m_fallbackLeft == 0)
        return false;
    --m_fallbackLeft;
    return true;
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
        m_tables.endFontName();
    if (closing.dest != outer) {
        if (closing.dest == Dest::Picture)
            finishPicture();
        else if (closing.dest == Dest::ListText)
            m_flow.endListText(closing.listTextStart);
    }
    m_stack.pop_back();
}

void Reader::character(uchar byte)
{
    if (skipping() || takeFallback())
        return;
    bytesOut(&byte, 1);
}

void Reader::controlSymbol(uchar symbol)
{
    if (symbol == '*') {
        m_ignorable = true;
        return;
    }
    m_ignorable = false;
    if (skipping() || takeFallback())
        return;
    switch (symbol) {
    case '\\':
    case '{':
    case '}': charOut(symbol); break;
    case '~':
        charOut(0x00A0); // no-break space
        break;
    case '-':
        charOut(0x00AD); // optional hyphen
        break;
    case '_':
        charOut(0x2011); // no-break hyphen
        break;
    case '\t': charOut(u'\t'); break;
    case '\r':
    case '\n': textWord(Word::Par, false, 0); break;
    default: break;
    }
}

// Each byte of text stands for one fallback character still to skip.
void Reader::text(QByteArrayView bytes)
{
    m_ignorable = false;
    if (!skipping())
        while (!bytes.isEmpty() && takeFallback())
            bytes = bytes.sliced(1);
    if (!skipping() && !bytes.isEmpty())
        bytesOut(reinterpret_cast<const uchar *>(bytes.data()), bytes.size());
}

// The raw bytes after \bin count as one character when a \u fallback is being skipped.
void Reader::binary(QByteArrayView bytes)
{
    m_ignorable = false;
    if (!takeFallback() && m_skippedDepth == 0 && state().dest == Dest::Picture)
        m_picture.binaryBytes(bytes);
}

void Reader::handleWord(Word word, bool hasParam, int param)
{
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
    if (takeFallback()) {
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
    case Dest::FontTable: m_tables.fontWord(word, hasParam, param); return;
    case Dest::ColorTable: m_tables.colourWord(word, param); return;
    case Dest::Picture: m_picture.word(word, param); return;
    case Dest::FieldInstruction: return;
    case Dest::Text:
    case Dest::ListText:
    case Dest::Skip: break;
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
    case Word::Ansicpg:
        if (hasParam)
            m_codePage = param;
        break;
    case Word::Mac: m_codePage = 10000; break;
    case Word::Pc: m_codePage = 437; break;
    case Word::Pca: m_codePage = 850; break;
    case Word::Deff: m_tables.setDefaultFont(param); break;
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
    case Word::Fonttbl:
        s.dest = Dest::FontTable;
        m_tables.beginFonts();
        break;
    case Word::Colortbl:
        s.dest = Dest::ColorTable;
        m_tables.beginColours();
        break;
    case Word::SkipGroup: s.dest = Dest::Skip; break;
    case Word::Field: m_tables.beginField(); break;
    case Word::Fldinst:
        s.dest = Dest::FieldInstruction;
        m_tables.beginField();
        break;
    case Word::Fldrslt:
        if (const int link = m_tables.fieldLink(); link >= 0)
            ch.link = link;
        break;
    case Word::Listtext:
    case Word::Pntext:
        s.listTextStart = m_flow.beginListText();
        s.dest = Dest::ListText;
        break;
    case Word::Pict:
        s.dest = Dest::Picture;
        m_picture.begin();
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
    case Word::Par: m_flow.endParagraph(s); break;
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
    case Word::Sb: para.before = std::clamp(param, 0, maxSpacing()); break;
    case Word::Sa: para.after = std::clamp(param, 0, maxSpacing()); break;
    case Word::Sl: para.lineSpacing = std::clamp(param, -maxSpacing(), maxSpacing()); break;
    case Word::Slmult: para.lineMultiple = on; break;
    case Word::Tx:
        if (para.tabCount < kMaxTabStops)
            para.tabs[std::size_t(para.tabCount++)] = std::clamp(param, 0, kMaxTwips);
        break;
    case Word::Intbl: para.inTable = true; break;

    // Tables
    case Word::Trowd: m_flow.startRow(); break;
    case Word::Cellx: m_flow.addCellEdge(clampTwips(param)); break;
    case Word::Cell: m_flow.endCell(s); break;
    case Word::Row: m_flow.endRow(s); break;
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

    default: break;
    }
}

void Reader::bytesOut(const uchar *bytes, qsizetype count)
{
    State &s = state();
    switch (s.dest) {
    case Dest::Text:
    case Dest::ListText: {
        if (s.ch.hidden)
            return;
        const FontEntry *f = m_tables.font(s.ch.font);
        const SymbolKind symbol = f ? f->symbol : SymbolKind::None;
        m_flow.addBytes(s, bytes, count, symbol, codePageUpperHalf(f && f->codePage ? f->codePage : m_codePage));
        return;
    }
    case Dest::FontTable: m_tables.fontBytes(bytes, count); return;
    case Dest::ColorTable: m_tables.colourBytes(bytes, count); return;
    case Dest::Picture: m_picture.hexBytes(bytes, count); return;
    case Dest::FieldInstruction: m_tables.fieldBytes(bytes, count, codePageUpperHalf(m_codePage)); return;
    case Dest::Skip: return;
    }
}

void Reader::charOut(char32_t c)
{
    State &s = state();
    if (c < 0x20 && c != u'\t')
        return;
    if (c == 0x2029)
        c = 0x2028; // a paragraph separator inside the text would split the paragraph
    switch (s.dest) {
    case Dest::Text:
    case Dest::ListText:
        if (s.ch.hidden)
            return;
        if (const FontEntry *f = m_tables.font(s.ch.font);
            f && f->symbol != SymbolKind::None && c >= 0xF020 && c <= 0xF0FF)
            c = symbolCharacter(f->symbol, c - 0xF000); // symbol fonts' private-use code points
        m_flow.addCharacter(s, c);
        return;
    case Dest::FontTable: m_tables.fontCharacter(c); return;
    case Dest::FieldInstruction: m_tables.fieldCharacter(c); return;
    case Dest::ColorTable:
    case Dest::Picture:
    case Dest::Skip: return;
    }
}

void Reader::finishPicture()
{
    PictureReader::Picture picture;
    if (m_picture.finish(picture))
        m_flow.addObject(m_builder.addPicture(picture.image, picture.number, picture.width, picture.height));
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
