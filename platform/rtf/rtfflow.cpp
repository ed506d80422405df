#include "rtfflow.h"

#include "rtfbuilder.h"

#include <algorithm>
#include <iterator>

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
        m_run.reserve(m_run.size() + room);
        for (qsizetype i = 0; i < room; ++i) {
            const uchar b = bytes[i];
            if (b < 0x20) {
                if (b == '\t')
                    m_run.append(u'\t');
                continue; // other control bytes, NUL among them, show nothing
            }
            if (symbol != SymbolKind::None)
                m_run.append(QChar(symbolCharacter(symbol, b)));
            else
                m_run.append(QChar(b < 0x80 ? char16_t(b) : upperHalf[b - 0x80]));
        }
        bytes += room;
        count -= room;
    }
}

void TextFlow::addCharacter(const State &state, char32_t c)
{
    if (roomForText(state, 1) == 0)
        return;
    if (!m_run.isEmpty() && !(m_runChar == state.ch))
        endRun();
    m_runChar = state.ch;
    appendCodePoint(m_run, c);
}

void TextFlow::addObject(const QTextCharFormat &format)
{
    endRun();
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
    if (m_full)
        return 0;
    const qsizetype room = std::clamp<qsizetype>(
        std::min(m_limits.maxCharacters - m_characters, m_limits.maxParagraphLength - m_paragraphLength), 0, count);
    m_characters += room;
    m_paragraphLength += room;
    if (m_characters >= m_limits.maxCharacters)
        m_full = true;
    return room;
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

Paragraph TextFlow::takeParagraph(const State &state)
{
    endRun();
    Paragraph paragraph{DocumentBuilder::blockFormat(state.para), m_builder.charFormat(state.ch), std::move(m_items)};
    m_items.clear();
    m_paragraphLength = 0;
    return paragraph;
}

void TextFlow::endParagraph(const State &state)
{
    if (m_paragraphs >= m_limits.maxParagraphs || m_characters >= m_limits.maxCharacters) {
        m_full = true;
        return;
    }
    ++m_paragraphs;
    ++m_characters; // the paragraph's end
    Paragraph paragraph = takeParagraph(state);
    if (state.para.inTable) {
        m_cell.paragraphs.push_back(std::move(paragraph));
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
    if (!m_items.empty() || m_cell.paragraphs.empty())
        m_cell.paragraphs.push_back(takeParagraph(state));
    if (int(m_row.cells.size()) < m_limits.maxTableColumns || m_row.cells.empty()) {
        m_row.cells.push_back(std::move(m_cell));
    } else {
        // Too many cells in a row: the extra ones are shown in the row's last cell.
        auto &last = m_row.cells.back().paragraphs;
        std::move(m_cell.paragraphs.begin(), m_cell.paragraphs.end(), std::back_inserter(last));
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
