#include "constants.h"

#include <QDir>

namespace korvelan {

QString appFolderFrom(const QString &path)
{
    return path.endsWith(u'/') ? path : path + u'/';
}

void setStartupConstants()
{
    AppFolder = appFolderFrom(QDir::currentPath());
}

} // namespace korvelan
