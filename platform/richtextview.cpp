#include "richtextview.h"

#include <QFile>
#include <QPointer>
#include <QTextDocument>

namespace korvelan {

RichTextView::RichTextView(QWidget *parent)
    : QTextBrowser(parent)
{
    setReadOnly(true);
    setOpenLinks(false);
    setOpenExternalLinks(false);
    setUndoRedoEnabled(false);
}

bool RichTextView::loadFile(const QString &path)
{
    clear();
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        return false;
    // No more than the reader would read: a huge file costs no more than a large one.
    const QByteArray bytes = file.read(m_limits.maxInputBytes);
    if (!looksLikeRtf(bytes))
        return false;
    // Built in a document of its own and then handed over, so that the view lays it out once.
    auto *document = new QTextDocument(this);
    document->setDefaultFont(font());
    readRtf(bytes, *document, m_limits);
    // The view deletes a document it made itself; one made here is deleted here.
    const QPointer<QTextDocument> previous = this->document();
    setDocument(document);
    if (previous && previous->parent() == this)
        delete previous;
    return true;
}

} // namespace korvelan
