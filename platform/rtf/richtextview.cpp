#include "richtextview.h"

#include "rtfreader.h"

#include <QFile>
#include <QPointer>
#include <QTextDocument>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace korvelan {

namespace {

// At most `limit` bytes of the ordinary file `name` in `folder`; nothing for any other kind of
// file. The kind is checked before opening, so that a device is never opened, and again on what
// was opened, in case the name changed hands between the two; opening does not wait for a pipe
// that has no writer.
bool readOrdinaryFile(int folder, const QByteArray &name, qsizetype limit, QByteArray &bytes)
{
    struct stat status { };
    if (folder == -1 || name.isEmpty() || fstatat(folder, name.constData(), &status, 0) != 0 ||
        !S_ISREG(status.st_mode))
        return false;
    const int fd = openat(folder, name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return false;
    bool ordinary = fstat(fd, &status) == 0 && S_ISREG(status.st_mode);
    if (ordinary) {
        bytes.resize(std::min<qsizetype>(limit, status.st_size));
        qsizetype done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::read(fd, bytes.data() + done, size_t(bytes.size() - done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            done += n;
        }
        bytes.truncate(done);
    }
    ::close(fd);
    return ordinary;
}

} // namespace

RichTextView::RichTextView(QWidget *parent) : QTextBrowser(parent)
{
    setReadOnly(true);
    setOpenLinks(false);
    setOpenExternalLinks(false);
    setUndoRedoEnabled(false);
}

bool RichTextView::loadFile(const QString &path)
{
    return loadFile(AT_FDCWD, path);
}

bool RichTextView::loadFile(int folder, const QString &name)
{
    clear();
    const RtfLimits limits;
    // No more than the reader would read: a huge file costs no more than a large one.
    QByteArray bytes;
    if (!readOrdinaryFile(folder, QFile::encodeName(name), limits.maxInputBytes, bytes) || !looksLikeRtf(bytes))
        return false;
    // Built in a document of its own and then handed over, so that the view lays it out once.
    auto *document = new QTextDocument(this);
    document->setDefaultFont(font());
    readRtf(bytes, *document, limits);
    // The view deletes a document it made itself; one made here is deleted here.
    const QPointer<QTextDocument> previous = this->document();
    setDocument(document);
    if (previous && previous->parent() == this)
        delete previous;
    return true;
}

} // namespace korvelan
