#include "rtftables.h"

#include "win1252.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace korvelan::rtf {
namespace {

constexpr int kMaxFonts = 1000;
constexpr int kMaxFontNameLength = 128;
constexpr int kMaxColours = 1000;
constexpr int kMaxLinks = 10000;
constexpr int kMaxFieldInstruction = 2048;

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

} // namespace

void Tables::fontWord(Word word, bool hasParam, int param)
{
    if (word == Word::F) {
        endFontName();
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

void Tables::fontBytes(const uchar *bytes, qsizetype count)
{
    for (qsizetype i = 0; i < count; ++i) {
        if (bytes[i] == ';')
            endFontName();
        else if (m_fontBeingNamed >= 0 && m_fontName.size() < kMaxFontNameLength)
            m_fontName.append(QChar(windows1252ToUnicode(bytes[i])));
    }
}

void Tables::fontCharacter(char32_t c)
{
    if (m_fontBeingNamed >= 0 && m_fontName.size() < kMaxFontNameLength)
        appendCodePoint(m_fontName, c);
}

void Tables::endFontName()
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
    m_fontBeingNamed = -1; // text after the name's semicolon is not part of it
}

void Tables::colourWord(Word word, int param)
{
    switch (word) {
    case Word::Red:
        m_red = std::clamp(param, 0, 255);
        m_colourGiven = true;
        break;
    case Word::Green:
        m_green = std::clamp(param, 0, 255);
        m_colourGiven = true;
        break;
    case Word::Blue:
        m_blue = std::clamp(param, 0, 255);
        m_colourGiven = true;
        break;
    default: break;
    }
}

void Tables::colourBytes(const uchar *bytes, qsizetype count)
{
    for (qsizetype i = 0; i < count; ++i) {
        if (bytes[i] != ';')
            continue;
        if (int(m_colours.size()) < kMaxColours)
            m_colours.push_back(m_colourGiven ? QColor(m_red, m_green, m_blue) : QColor());
        m_red = m_green = m_blue = 0;
        m_colourGiven = false;
    }
}

void Tables::fieldBytes(const uchar *bytes, qsizetype count, const char16_t *upperHalf)
{
    for (qsizetype i = 0; i < count && m_fieldInstruction.size() < kMaxFieldInstruction; ++i)
        m_fieldInstruction.append(QChar(bytes[i] < 0x80 ? char16_t(bytes[i]) : upperHalf[bytes[i] - 0x80]));
}

void Tables::fieldCharacter(char32_t c)
{
    if (m_fieldInstruction.size() < kMaxFieldInstruction)
        appendCodePoint(m_fieldInstruction, c);
}

int Tables::fieldLink()
{
    const QString target = hyperlinkTarget(m_fieldInstruction);
    if (target.isEmpty() || m_links.size() >= kMaxLinks)
        return -1;
    m_links.append(target);
    return int(m_links.size() - 1);
}

const FontEntry *Tables::font(int index) const
{
    auto it = m_fonts.constFind(index >= 0 ? index : m_defaultFont);
    return it == m_fonts.constEnd() ? nullptr : &*it;
}

QColor Tables::colour(int index) const
{
    return index >= 0 && std::size_t(index) < m_colours.size() ? m_colours[std::size_t(index)] : QColor();
}

QString Tables::link(int index) const
{
    return index >= 0 && index < m_links.size() ? m_links.at(index) : QString();
}

} // namespace korvelan::rtf
