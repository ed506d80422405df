#pragma once

// Helpers of the RTF reader tests: the sample documents written by real word processors, and what
// a read document holds (its text, formats, tables and pictures). A test that reads the samples
// defines KORVELAN_RTF_FIXTURES, their folder.

#include "rtfreader.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QSize>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

#include <cstddef>

namespace rtffixtures {

using korvelan::readRtf;

// Bytes of a literal, NUL bytes included.
template <std::size_t N> inline QByteArray bytes(const char (&text)[N])
{
    return QByteArray(text, N - 1);
}

inline QByteArray fixture(const QString &name)
{
    QFile file(QStringLiteral(KORVELAN_RTF_FIXTURES) + u'/' + name);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing fixture %s", qPrintable(name));
    return file.readAll();
}

// The document's text with "|" between paragraphs, every other character as stored.
inline QString rawText(const QTextDocument &document)
{
    return document.toRawText().replace(QChar::ParagraphSeparator, u'|');
}

inline QString rawText(const QByteArray &rtf)
{
    QTextDocument document;
    readRtf(rtf, document);
    return rawText(document);
}

// The character format in the middle of the first occurrence of a text.
inline QTextCharFormat formatOf(const QTextDocument &document, const QString &text)
{
    QTextCursor cursor = document.find(text);
    if (cursor.isNull())
        return {};
    cursor.setPosition((cursor.selectionStart() + cursor.selectionEnd() + 1) / 2);
    return cursor.charFormat();
}

inline QTextBlock blockOf(const QTextDocument &document, const QString &text)
{
    const QTextCursor cursor = document.find(text);
    return cursor.isNull() ? QTextBlock() : cursor.block();
}

inline QList<QTextTable *> tablesOf(const QTextDocument &document)
{
    QList<QTextTable *> tables;
    for (QTextFrame *frame : document.rootFrame()->childFrames())
        if (auto *table = qobject_cast<QTextTable *>(frame))
            tables.append(table);
    return tables;
}

inline QString cellText(QTextTable *table, int row, int column)
{
    QTextCursor cursor = table->cellAt(row, column).firstCursorPosition();
    cursor.setPosition(table->cellAt(row, column).lastPosition(), QTextCursor::KeepAnchor);
    return cursor.selectedText();
}

inline QByteArray pictureHex(const char *format, QSize size = {4, 3})
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes.toHex();
}

} // namespace rtffixtures
