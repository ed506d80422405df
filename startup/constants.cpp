#include "constants.h"

#include <QDir>
#include <QFile>

#include <fcntl.h>
#include <unistd.h>

namespace korvelan {

QString appFolderFrom(const QString &path)
{
    return path.endsWith(u'/') ? path : path + u'/';
}

Folder::~Folder()
{
    if (m_handle >= 0)
        ::close(m_handle);
}

void Folder::open(const char *path, const QString &text)
{
    if (m_handle >= 0)
        ::close(m_handle);
    // O_PATH: a folder that may be searched but not listed is still a folder to open files in.
    m_handle = ::open(path, O_PATH | O_DIRECTORY | O_CLOEXEC);
    m_text = m_handle >= 0 ? text : QString();
}

Folder &Folder::operator=(const QString &path)
{
    open(QFile::encodeName(path).constData(), appFolderFrom(path));
    return *this;
}

void Folder::openCurrent()
{
    // The name is only shown: a folder that was deleted has none, and one that is not valid
    // text shows with replacement characters; the handle finds it all the same.
    const QString current = QDir::currentPath();
    open(".", current.isEmpty() ? QString() : appFolderFrom(current));
}

void setStartupConstants()
{
    AppFolder.openCurrent();
}

} // namespace korvelan
