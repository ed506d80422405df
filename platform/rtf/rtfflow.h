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
    // Whether the character may follow the text before it: past the limit on combining marks
    // after one letter, it may not.
    bool takesCharacter(char32_t c);
    void endRun();
    Paragraph takeParagraph(const State &state);
    void dropParagraph();
    struct Lines {
        qint64 height;     // twips
        qint64 characters; // on one line
    };
    Lines lines(const State &state, int halfPoints) const;
    qint64 paragraphHeight(const State &state) const;
    qsizetype charactersInHeight(const State &state, int halfPoints) const;
    bool cellFull() const { return qsizetype(m_cell.paragraphs.size()) >= m_limits.maxParagraphsPerCell; }
    void countTableParagraph();
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
    int m_marks = 0;             // combining marks at the end of the text, after one letter
    int m_largestHalfPoints = 0; // of the paragraph's text
    qint64 m_objectsHeight = 0;  // twips, of the paragraph's pictures
    qint64 m_height = 0;         // twips, of the paragraphs written, as reckoned by paragraphHeight

    std::vector<int> m_boundaries;
    Cell m_cell;
    Row m_row;
    std::vector<Row> m_rows;
    int m_tableCells = 0;
    int m_tableParagraphs = 0;
};

} // namespace korvelan::rtf
