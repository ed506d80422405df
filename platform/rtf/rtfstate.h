#pragma once

// What the reader keeps per group, and the content it gathers before the document is written.

#include <QTextFormat>

#include <array>
#include <vector>

namespace korvelan::rtf {

enum class Dest : quint8 { Text, Skip, FontTable, ColorTable, Picture, FieldInstruction, ListText };

struct CharState {
    int font = -1; // -1: the document's default font
    int halfPoints = 24;
    int foreground = 0; // colour table index; an undefined entry means the automatic colour
    int background = 0;
    int link = -1; // index into the document's link targets
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    bool hidden = false;
    quint8 vertical = 0; // 1 superscript, 2 subscript
    bool operator==(const CharState &) const = default;
};

constexpr int kMaxTabStops = 32;

struct ParaState {
    Qt::Alignment alignment = Qt::AlignLeft;
    int left = 0; // twips, like everything else here
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
    int unicodeSkip = 1;    // \uc: fallback characters that follow each \u
    bool upr = false;       // a \upr group: its plain part is skipped and its \ud part read
    bool resumable = false; // a skipped part of a \upr group, read again from \ud on
    Dest resumeDest = Dest::Text;
    qsizetype listTextStart = 0; // where this group's list text begins in the paragraph
};

constexpr int kMaxTwips = 31680; // 22 inches, more than any page

// A run of text in one format, or a picture.
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
    std::vector<int> boundaries; // right edge of each cell, twips
};

} // namespace korvelan::rtf
