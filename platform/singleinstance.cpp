#include "singleinstance.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace korvelan {

namespace {

// Why a lock could not be made, as the user reads it: the common system errors in French, the
// others by their number, never in the system's own language.
QString reasonText(int error)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR: return u"dossier introuvable"_s;
    case EACCES:
    case EPERM: return u"accès refusé"_s;
    case EROFS: return u"disque en lecture seule"_s;
    case ENOSPC:
    case EDQUOT: return u"disque plein"_s;
    case ELOOP: return u"le chemin est un lien symbolique"_s;
    case EISDIR: return u"le chemin est un dossier"_s;
    case ENXIO:
    case ENODEV:
    case ETXTBSY: return u"le chemin n'est pas un fichier ordinaire"_s;
    case ENAMETOOLONG: return u"chemin trop long"_s;
    case EMFILE:
    case ENFILE: return u"trop de fichiers ouverts"_s;
    case ENOMEM: return u"mémoire insuffisante"_s;
    case EIO: return u"erreur de lecture ou d'écriture du disque"_s;
    case EBUSY: return u"fichier occupé"_s;
    case ENOLCK:
    case EOPNOTSUPP:
    case EINVAL: return u"verrouillage impossible sur ce disque"_s;
    default: return u"erreur système n° %1"_s.arg(error);
    }
}

void reportNoLock(const QString &path, const QString &reason)
{
    const QString text = u"Les KORVELAN : le verrou « %1 » ne peut pas être créé (%2) ; le programme démarre "
                         u"sans pouvoir reconnaître un second lancement.\n"_s.arg(path, reason);
    std::fputs(text.toUtf8().constData(), stderr);
    std::fflush(stderr);
}

// Why the opened file cannot serve as our lock, or nothing when it can: only an ordinary file of this
// user, with no other name, may be locked and written. A FIFO or a device is not waited on, another
// user's file is not ours to lock, and writing into a hard link would destroy the file it names.
QString refusalOf(int fd, struct stat &opened)
{
    if (::fstat(fd, &opened) != 0)
        return reasonText(errno);
    if (S_ISDIR(opened.st_mode))
        return u"le chemin est un dossier"_s;
    if (!S_ISREG(opened.st_mode))
        return u"le chemin n'est pas un fichier ordinaire"_s;
    if (opened.st_uid != ::geteuid())
        return u"le fichier appartient à un autre utilisateur"_s;
    if (opened.st_nlink != 1)
        return u"le fichier a un autre nom (lien physique)"_s;
    return {};
}

bool sameFile(const struct stat &a, const struct stat &b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

} // namespace

SingleInstance::SingleInstance(const QString &lockPath) : m_path(lockPath.isEmpty() ? defaultLockPath() : lockPath)
{ }

SingleInstance::~SingleInstance()
{
    if (m_fd < 0)
        return;
    // The file goes while the lock is still held, and only if it is still ours; an instance that opened
    // it meanwhile finds it gone from the folder and makes a new one.
    const QByteArray path = QFile::encodeName(m_path);
    struct stat held {
    }, named{};
    if (::fstat(m_fd, &held) == 0 && ::stat(path.constData(), &named) == 0 && sameFile(held, named))
        ::unlink(path.constData());
    ::close(m_fd);
}

bool SingleInstance::acquire()
{
    if (m_fd >= 0)
        return true;
    const QByteArray path = QFile::encodeName(m_path);
    // A few rounds at most: a round is lost only when the holder ends and removes the file between our
    // opening it and our locking it.
    for (int round = 0; round < 8; ++round) {
        // Close-on-exec: a web browser started from the program must not keep its lock after it ends.
        // Never waiting: a FIFO at the path would otherwise hold the start until someone writes into it.
        // A symbolic link is not followed, and whatever was opened is checked below before any use.
        constexpr int kFlags = O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY;
        int fd = ::open(path.constData(), O_RDWR | O_CREAT | kFlags, 0600);
        const int openError = errno;
        if (fd < 0 && (openError == EACCES || openError == EROFS))
            fd = ::open(path.constData(), O_RDONLY | kFlags); // a lock needs no writing
        if (fd < 0) {
            reportNoLock(m_path, reasonText(openError));
            return true;
        }
        struct stat opened { };
        if (const QString refusal = refusalOf(fd, opened); !refusal.isEmpty()) {
            ::close(fd);
            reportNoLock(m_path, refusal);
            return true;
        }
        int locked;
        do
            locked = ::flock(fd, LOCK_EX | LOCK_NB);
        while (locked != 0 && errno == EINTR);
        if (locked != 0) {
            const int error = errno;
            ::close(fd);
            if (error == EWOULDBLOCK)
                return false; // a live instance holds it
            reportNoLock(m_path, reasonText(error));
            return true;
        }
        struct stat named { };
        if (::stat(path.constData(), &named) == 0 && sameFile(opened, named)) {
            m_fd = fd;
            // What the file holds is only for people who look at it: the process that holds it. It is
            // written only while the file is still ours alone.
            if (refusalOf(fd, opened).isEmpty() && ::ftruncate(fd, 0) == 0) {
                const QByteArray pid = QByteArray::number(qint64(::getpid())) + '\n';
                [[maybe_unused]] const auto written = ::write(fd, pid.constData(), size_t(pid.size()));
            }
            return true;
        }
        ::close(fd);
    }
    reportNoLock(m_path, u"le fichier change sans cesse"_s);
    return true;
}

QString SingleInstance::defaultLockPath()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (QDir::isAbsolutePath(runtime) && QFileInfo(runtime).isDir())
        return QDir(runtime).filePath(u"korvelan.lock"_s);
    return QDir(QDir::tempPath()).filePath(u"korvelan-%1.lock"_s.arg(::geteuid()));
}

} // namespace korvelan
