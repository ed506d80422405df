#pragma once

#include "codepages.h"
#include "rtflexer.h"

#include <QColor>
#include <QFont>
#include <QHash>
#include <QStringList>

#include <vector>

namespace korvelan::rtf {

struct FontEntry {
    QString name;
    QFont::StyleHint hint = QFont::AnyStyle;
    int codePage = 0; // 0: the document's
    SymbolKind symbol = SymbolKind::None;
};

// The document's tables of fonts and colours, filled from their groups, and the targets of its
// links, from its fields. Each is bounded, whatever the document declares.
class Tables {
public:
    // The font table: a \f word starts an entry, its text up to a semicolon is the font's name.
    void beginFonts() { m_fontBeingNamed = -1; }
    void fontWord(Word word, bool hasParam, int param);
    void fontBytes(const uchar *bytes, qsizetype count);
    void fontCharacter(char32_t c);
    void endFontName();

    // The colour table: each semicolon ends an entry, the automatic colour when nothing gave it one.
    void beginColours() { m_colourGiven = false; }
    void colourWord(Word word, int param);
    void colourBytes(const uchar *bytes, qsizetype count);

    // A field's instruction, and the link it makes: the index of the target of a HYPERLINK
    // field, or -1 for any other field or when there are too many links.
    void beginField() { m_fieldInstruction.clear(); }
    void fieldBytes(const uchar *bytes, qsizetype count, const char16_t *upperHalf);
    void fieldCharacter(char32_t c);
    int fieldLink();

    void setDefaultFont(int index) { m_defaultFont = index; }
    const FontEntry *font(int index) const; // -1: the default font
    QColor colour(int index) const;         // invalid for the automatic colour
    QString link(int index) const;          // empty when there is none

private:
    int m_defaultFont = 0;
    QHash<int, FontEntry> m_fonts;
    int m_fontBeingNamed = -1;
    QString m_fontName;
    std::vector<QColor> m_colours; // an invalid colour stands for "automatic"
    int m_red = 0, m_green = 0, m_blue = 0;
    bool m_colourGiven = false;
    QString m_fieldInstruction;
    QStringList m_links;
};

} // namespace korvelan::rtf
