#pragma once

#include <QString>

namespace korvelan {

// Start-up constants, set before anything else and read everywhere.
inline const QString AppTitle = QStringLiteral("Les KORVELAN"); // title of every message box
inline const QString AppVersion = QStringLiteral("1.00");
inline const QString LineBreak = QStringLiteral("\r\n"); // joins the lines of multi-line messages

// The folder the program was started in, ending with "/": the documents are read from it.
inline QString AppFolder;

// `path` followed by "/" unless it already ends with one.
QString appFolderFrom(const QString &path);

// Sets AppFolder from the current folder.
void setStartupConstants();

} // namespace korvelan
