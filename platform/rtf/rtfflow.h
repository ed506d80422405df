#pragma once

#include "codepages.h"
#include "rtfreader.h"
#include "rtfstate.h"

#include <vector>

namespace korvelan::rtf {

class DocumentBuilder;

// The text of the document on its way to the builder: characters gathered in runs of one
// format, runs into paragraphs, which go to the builder when they end (their paragraph format is
// only known then). Paragraphs of a table are gathered into cells and rows, and the whole table
// goes to the builder when it ends. The limits on text, paragraphs, runs and cells are kept here:
// past some, the flow is full and reading stops.
class TextFlow {
public:
    TextFlow(const RtfLimits &limits, DocumentBuilder &builder);

    bool full() const { return m_full; }

    // Bytes of text in the group's code page, or drawn by a symbol font.
    void addBytes(const State &state, const uchar *bytes, qsizetype count, SymbolKind symbol,
                  const char16_t *upperHalf);
    void addCharacter(const State &state, char32_t c);
    // A picture, as the format that shows it.
    void addObject(const QTextCharFormat &format);

    // List text (a bullet or a number) is written with the paragraph, unless it is only white
    // space; begin returns where it starts.
    qsizetype beginListText();
    void endListText(qsizetype start);

    void endParagraph(const State &state);
    void startRow() { m_boundaries.clear(); }
    void addCellEdge(int twips);
    void endCell(const State &state);
    void endRow(const State &state);
    // Writes what is left at the end of the input.
    void finish(const State &state);

private:
    qsizetype roomForText(const State &state, qsizetype count);
    void endRun();
    Paragraph takeParagraph(const State &state);
    void pushCell(const State &state);
    void writeTable(const State &state);

    const RtfLimits &m_limits;
    DocumentBuilder &m_builder;
    bool m_full = false;

    QString m_run;
    CharState m_runChar;
    std::vector<Item> m_items;
    int m_paragraphs = 0;
    qsizetype m_characters = 0; // of text and paragraph ends, kept within maxCharacters
    qsizetype m_paragraphLength = 0;
    int m_runs = 0;

    std::vector<int> m_boundaries;
    Cell m_cell;
    Row m_row;
    std::vector<Row> m_rows;
    int m_tableCells = 0;
};

} // namespace korvelan::rtf
