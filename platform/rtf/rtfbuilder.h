#pragma once

#include "rtfstate.h"

#include <QTextCursor>

#include <array>
#include <vector>

class QImage;
class QTextDocument;

namespace korvelan::rtf {

class Tables;

// Turns what the reader gathered into the document: formats from the reader's states, then
// paragraphs, tables and pictures written at the end of the document, all in one edit.
class DocumentBuilder {
public:
    DocumentBuilder(QTextDocument &document, const Tables &tables);

    void begin();
    void end();

    QTextCharFormat charFormat(const CharState &ch);
    static QTextBlockFormat blockFormat(const ParaState &para);

    void writeParagraph(const Paragraph &paragraph);
    void writeTable(const std::vector<Row> &rows);
    // Adds the picture to the document's resources under its number, shown at the size given in
    // pixels, and returns the format that places it in the text.
    QTextImageFormat addPicture(const QImage &image, int number, qreal width, qreal height);

private:
    static void writeParagraph(QTextCursor &cursor, const Paragraph &paragraph, bool reuseBlock);

    QTextDocument &m_document;
    const Tables &m_tables;
    QTextCursor m_cursor;
    bool m_blockReusable = true; // the cursor's block is empty and waits for the next paragraph

    struct CachedFormat {
        CharState key;
        QTextCharFormat format;
    };
    std::array<CachedFormat, 8> m_formatCache;
    int m_formatCacheSize = 0;
    int m_formatCacheNext = 0;
};

} // namespace korvelan::rtf
