#include "rtfflow.h"

#include "rtfbuilder.h"

#include "geometry.h"

#include <algorithm>
#include <iterator>
#include <limits>

namespace korvelan::rtf {

TextFlow::TextFlow(const RtfLimits &limits, DocumentBuilder &builder) : m_limits(limits), m_builder(builder)
{ }

void TextFlow::addBytes(const State &state, const uchar *bytes, qsizetype count, SymbolKind symbol,
                        const char16_t *upperHalf)
{
    while (count > 0) {
        const qsizetype room = roomForText(state, count);
        if (room == 0)
            return;
        if (!m_run.isEmpty() && !(m_runChar == state.ch))
            endRun();
        m_runChar = state.ch;
        m_largestHalfPoints = std::max(m_largestHalfPoints, state.ch.halfPoints);
        m_run.reserve(m_run.size() + room);
        for (qsizetype i = 0; i < room; ++i) {
            const uchar b = bytes[i];
            if (b < 0x20) {
                if (b == '\t')
                    m_run.append(u'\t');
                m_marks = 0;
                continue; // other control bytes, NUL among them, show nothing
            }
            if (symbol != SymbolKind::None) {
                m_marks = 0;
                m_run.append(QChar(symbolCharacter(symbol, b)));
            } else if (b < 0x80) {
                m_marks = 0;
                m_run.append(QChar(char16_t(b)));
            } else if (takesCharacter(upperHalf[b - 0x80])) {
                m_run.append(QChar(upperHalf[b - 0x80]));
            }
        }
        bytes += room;
        count -= room;
    }
}

void TextFlow::addCharacter(const State &state, char32_t c)
{
    if (roomForText(state, 1) == 0 || !takesCharacter(c))
        return;
    if (!m_run.isEmpty() && !(m_runChar == state.ch))
        endRun();
    m_runChar = state.ch;
    m_largestHalfPoints = std::max(m_largestHalfPoints, state.ch.halfPoints);
    appendCodePoint(m_run, c);
}

// Combining marks and joiners after a letter make one cluster with it, laid out in a time that
// grows with the square of its length.
bool TextFlow::takesCharacter(char32_t c)
{
    if (!QChar::isMark(c) && c != 0x200C && c != 0x200D) {
        m_marks = 0;
        return true;
    }
    if (m_marks >= m_limits.maxMarksPerCluster)
        return false;
    ++m_marks;
    return true;
}

void TextFlow::addObject(const QTextCharFormat &format)
{
    endRun();
    m_marks = 0;
    m_objectsHeight += qint64(format.toImageFormat().height() * kTwipsPerPixel);
    m_items.push_back(Item{QString(QChar::ObjectReplacementCharacter), format});
}

// How many of `count` characters of text may go into the paragraph now; they are counted as
// taken. A paragraph that is full goes on in a new one first: a long run of letters without a
// space is laid out in a time that grows with the square of its length. Once the document is
// full, reading stops.
qsizetype TextFlow::roomForText(const State &state, qsizetype count)
{
    if (m_paragraphLength >= m_limits.maxParagraphLength)
        endParagraph(state);
    if (m_full || (state.para.inTable && cellFull()))
        return 0; // the rest of a full cell is left out
    const qsizetype fitting = charactersInHeight(state, state.ch.halfPoints);
    const qsizetype room = std::clamp<qsizetype>(
        std::min({m_limits.maxCharacters - m_characters, m_limits.maxParagraphLength - m_paragraphLength, fitting}), 0,
        count);
    m_characters += room;
    m_paragraphLength += room;
    if (m_characters >= m_limits.maxCharacters || room == fitting)
        m_full = true;
    return room;
}

// The page the height of a paragraph is reckoned on: about the width of the box that shows a document.
constexpr int kPageWidth = 9600; // twips

// The lines of the paragraph as the layout will make them, near enough to bound the height of the
// whole document: at its largest letters (or `halfPoints`), of about 0.7 of their size wide each.
TextFlow::Lines TextFlow::lines(const State &state, int halfPoints) const
{
    const ParaState &para = state.para;
    const qint64 size = std::max({m_largestHalfPoints, halfPoints, 2});
    const qint64 fontLine = size * 12; // 1.2 times the size, in twips
    Lines lines{fontLine, 1};
    if (para.lineSpacing != 0 && para.lineMultiple)
        lines.height = fontLine * std::clamp(para.lineSpacing, 120, 1200) / 240;
    else if (para.lineSpacing != 0)
        lines.height = std::max<qint64>(fontLine, std::abs(para.lineSpacing));
    const qint64 width = std::max(1440, kPageWidth - std::max(para.left, 0) - std::max(para.right, 0));
    lines.characters = std::max<qint64>(1, width / (size * 7));
    return lines;
}

// The height the paragraph will take once laid out, in twips: its spacing, its lines and its pictures.
qint64 TextFlow::paragraphHeight(const State &state) const
{
    const Lines l = lines(state, state.ch.halfPoints);
    return state.para.before + state.para.after + (1 + m_paragraphLength / l.characters) * l.height + m_objectsHeight;
}

// How many more characters of that size the paragraph may take before the document is as high as
// it may be.
qsizetype TextFlow::charactersInHeight(const State &state, int halfPoints) const
{
    const Lines l = lines(state, halfPoints);
    const qint64 left = m_limits.maxHeight - m_height - state.para.before - state.para.after - m_objectsHeight;
    const qint64 lineCount = left / l.height;
    if (lineCount > std::numeric_limits<qint64>::max() / l.characters)
        return std::numeric_limits<qsizetype>::max(); // no limit worth the name
    return std::max<qint64>(0, lineCount * l.characters - m_paragraphLength);
}

// Each run of text is laid out on its own, and the cost of a paragraph grows with the square of
// its runs: past the limits the text joins the run before it, and keeps its format.
void TextFlow::endRun()
{
    if (m_run.isEmpty())
        return;
    const bool tooMany = int(m_items.size()) >= m_limits.maxRunsPerParagraph || m_runs >= m_limits.maxRuns;
    if (tooMany && !m_items.empty() && !m_items.back().format.isImageFormat()) {
        m_items.back().text += m_run;
    } else {
        m_items.push_back(Item{m_run, m_builder.charFormat(m_runChar)});
        ++m_runs;
    }
    m_run.clear();
}

qsizetype TextFlow::beginListText()
{
    endRun();
    return qsizetype(m_items.size());
}

// List text that is only white space (writers put a lone tab there for unnumbered headings) is
// dropped, so that such paragraphs do not start with a gap.
void TextFlow::endListText(qsizetype start)
{
    endRun();
    if (start > qsizetype(m_items.size()))
        return;
    const bool blank = std::all_of(m_items.begin() + start, m_items.end(),
                                   [](const Item &item) { return item.text.trimmed().isEmpty(); });
    if (blank)
        m_items.erase(m_items.begin() + start, m_items.end());
}

// Past the height a document may take, reading stops: a document thousands of pages high takes
// minutes to lay out, and beyond the layout's own coordinates it never ends.
Paragraph TextFlow::takeParagraph(const State &state)
{
    endRun();
    m_height += paragraphHeight(state);
    if (m_height >= m_limits.maxHeight)
        m_full = true;
    Paragraph paragraph{DocumentBuilder::blockFormat(state.para), m_builder.charFormat(state.ch), std::move(m_items)};
    m_items.clear();
    m_paragraphLength = 0;
    m_largestHalfPoints = 0;
    m_objectsHeight = 0;
    m_marks = 0;
    return paragraph;
}

void TextFlow::dropParagraph()
{
    m_run.clear();
    m_items.clear();
    m_paragraphLength = 0;
    m_largestHalfPoints = 0;
    m_objectsHeight = 0;
    m_marks = 0;
}

// A table is laid out whole, and each paragraph of a cell lays out the cell again: past the limit
// on the paragraphs of all tables, reading stops.
void TextFlow::countTableParagraph()
{
    if (++m_tableParagraphs >= m_limits.maxTableParagraphs)
        m_full = true;
}

void TextFlow::endParagraph(const State &state)
{
    if (m_paragraphs >= m_limits.maxParagraphs || m_characters >= m_limits.maxCharacters) {
        m_full = true;
        return;
    }
    if (state.para.inTable && cellFull()) {
        dropParagraph();
        return;
    }
    ++m_paragraphs;
    ++m_characters; // the paragraph's end
    Paragraph paragraph = takeParagraph(state);
    if (state.para.inTable) {
        m_cell.paragraphs.push_back(std::move(paragraph));
        countTableParagraph();
        return;
    }
    writeTable(state);
    m_builder.writeParagraph(paragraph);
}

void TextFlow::addCellEdge(int twips)
{
    if (int(m_boundaries.size()) < m_limits.maxTableColumns)
        m_boundaries.push_back(twips);
}

void TextFlow::endCell(const State &state)
{
    if (m_tableCells >= m_limits.maxTableCells) {
        m_full = true;
        return;
    }
    ++m_tableCells;
    pushCell(state);
}

void TextFlow::pushCell(const State &state)
{
    endRun();
    if (m_cell.paragraphs.empty() || (!m_items.empty() && !cellFull())) {
        m_cell.paragraphs.push_back(takeParagraph(state));
        countTableParagraph();
    } else {
        dropParagraph();
    }
    if (int(m_row.cells.size()) < m_limits.maxTableColumns || m_row.cells.empty()) {
        m_row.cells.push_back(std::move(m_cell));
    } else {
        // Too many cells in a row: the extra ones are shown in the row's last cell, as far as it
        // has room.
        auto &last = m_row.cells.back().paragraphs;
        const qsizetype room = std::max<qsizetype>(0, m_limits.maxParagraphsPerCell - qsizetype(last.size()));
        const auto moved = std::min(room, qsizetype(m_cell.paragraphs.size()));
        std::move(m_cell.paragraphs.begin(), m_cell.paragraphs.begin() + moved, std::back_inserter(last));
    }
    m_cell = Cell{};
}

void TextFlow::endRow(const State &state)
{
    endRun();
    if (!m_items.empty() || !m_cell.paragraphs.empty())
        endCell(state);
    if (m_row.cells.empty())
        return;
    m_row.boundaries = m_boundaries;
    m_rows.push_back(std::move(m_row));
    m_row = Row{};
}

// The table gathered so far, if any, goes to the document.
void TextFlow::writeTable(const State &state)
{
    if (!m_cell.paragraphs.empty())
        pushCell(state);
    if (!m_row.cells.empty()) {
        m_row.boundaries = m_boundaries;
        m_rows.push_back(std::move(m_row));
        m_row = Row{};
    }
    if (m_rows.empty())
        return;
    m_builder.writeTable(m_rows);
    m_rows.clear();
}

void TextFlow::finish(const State &state)
{
    endRun();
    if (!m_items.empty()) {
        Paragraph paragraph = takeParagraph(state);
        if (state.para.inTable || !m_cell.paragraphs.empty()) {
            if (!cellFull())
                m_cell.paragraphs.push_back(std::move(paragraph));
            writeTable(state);
        } else {
            writeTable(state);
            m_builder.writeParagraph(paragraph);
        }
    }
    writeTable(state);
}

} // namespace korvelan::rtf
