#include "rtfbuilder.h"

#include "geometry.h"
#include "rtftables.h"

#include <QImage>
#include <QTextDocument>
#include <QTextTable>
#include <QUrl>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace korvelan::rtf {

DocumentBuilder::DocumentBuilder(QTextDocument &document, const Tables &tables)
    : m_document(document), m_tables(tables), m_cursor(&document)
{ }

void DocumentBuilder::begin()
{
    m_cursor.beginEditBlock();
}

void DocumentBuilder::end()
{
    m_cursor.endEditBlock();
}

QTextCharFormat DocumentBuilder::charFormat(const CharState &ch)
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
    if (const FontEntry *f = m_tables.font(ch.font); f && f->symbol == SymbolKind::None && !f->name.isEmpty()) {
        format.setFontFamilies({f->name});
        format.setFontStyleHint(f->hint);
    }
    if (const QColor c = m_tables.colour(ch.foreground); c.isValid())
        format.setForeground(c);
    if (const QColor c = m_tables.colour(ch.background); c.isValid())
        format.setBackground(c);
    if (const QString target = m_tables.link(ch.link); !target.isEmpty()) {
        format.setAnchor(true);
        format.setAnchorHref(target);
    }

    CachedFormat &slot = m_formatCache[std::size_t(m_formatCacheNext)];
    slot = {ch, format};
    m_formatCacheNext = (m_formatCacheNext + 1) % int(m_formatCache.size());
    m_formatCacheSize = std::min(m_formatCacheSize + 1, int(m_formatCache.size()));
    return format;
}

// Lengths in twips become logical pixels unrounded: text is laid out to fractions of a pixel.
QTextBlockFormat DocumentBuilder::blockFormat(const ParaState &para)
{
    QTextBlockFormat format;
    format.setAlignment(para.alignment);
    format.setLeftMargin(para.left / kTwipsPerPixel);
    format.setRightMargin(para.right / kTwipsPerPixel);
    format.setTextIndent(para.firstLine / kTwipsPerPixel);
    format.setTopMargin(para.before / kTwipsPerPixel);
    format.setBottomMargin(para.after / kTwipsPerPixel);
    if (para.lineSpacing != 0) {
        if (para.lineMultiple)
            format.setLineHeight(std::clamp(para.lineSpacing * 100.0 / 240.0, 50.0, 500.0),
                                 QTextBlockFormat::ProportionalHeight);
        else if (para.lineSpacing > 0)
            format.setLineHeight(para.lineSpacing / kTwipsPerPixel, QTextBlockFormat::MinimumHeight);
        else
            format.setLineHeight(-para.lineSpacing / kTwipsPerPixel, QTextBlockFormat::FixedHeight);
    }
    // Tab stops are measured from the left edge of the text, but the layout measures them from
    // where the line starts: the first line's start, where tabs mostly are (after a list
    // item's bullet or number), is taken as their origin.
    const int origin = para.left + para.firstLine;
    QList<QTextOption::Tab> tabs;
    for (int i = 0; i < para.tabCount; ++i)
        if (const int position = para.tabs[std::size_t(i)] - origin; position > 0)
            tabs.append(QTextOption::Tab(position / kTwipsPerPixel, QTextOption::LeftTab));
    if (para.firstLine < 0) {
        // A hanging indent, as for list items, is also a tab stop.
        tabs.append(QTextOption::Tab(-para.firstLine / kTwipsPerPixel, QTextOption::LeftTab));
    }
    if (!tabs.isEmpty()) {
        std::sort(tabs.begin(), tabs.end(),
                  [](const QTextOption::Tab &a, const QTextOption::Tab &b) { return a.position < b.position; });
        format.setTabPositions(tabs);
    }
    return format;
}

void DocumentBuilder::writeParagraph(const Paragraph &paragraph)
{
    writeParagraph(m_cursor, paragraph, m_blockReusable);
    m_blockReusable = false;
}

void DocumentBuilder::writeParagraph(QTextCursor &cursor, const Paragraph &paragraph, bool reuseBlock)
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

void DocumentBuilder::writeTable(const std::vector<Row> &rows)
{
    const Row *widest = &rows.front();
    for (const Row &row : rows)
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
            widths.append(QTextLength(QTextLength::FixedLength, (edge - previous) / kTwipsPerPixel));
            previous = edge;
        }
        if (!widths.isEmpty())
            format.setColumnWidthConstraints(widths);
    }

    QTextTable *table = m_cursor.insertTable(int(rows.size()), columns, format);
    for (int r = 0; r < int(rows.size()); ++r) {
        const Row &row = rows[std::size_t(r)];
        for (int c = 0; c < int(row.cells.size()); ++c) {
            QTextCursor cursor = table->cellAt(r, c).firstCursorPosition();
            bool first = true;
            for (const Paragraph &paragraph : row.cells[std::size_t(c)].paragraphs) {
                writeParagraph(cursor, paragraph, first);
                first = false;
            }
        }
    }
    m_cursor.movePosition(QTextCursor::End);
    m_blockReusable = true; // the empty block that follows every table
}

QTextImageFormat DocumentBuilder::addPicture(const QImage &image, int number, qreal width, qreal height)
{
    const QString name = u"rtf-picture:"_s + QString::number(number);
    m_document.addResource(QTextDocument::ImageResource, QUrl(name), image);
    QTextImageFormat format;
    format.setName(name);
    format.setWidth(width);
    format.setHeight(height);
    return format;
}

} // namespace korvelan::rtf
