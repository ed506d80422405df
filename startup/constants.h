#pragma once

#include "programconstants.h"

#include <QString>

namespace korvelan {

// A folder, held open. Its text, for display, is its path ending with "/"; its files are opened
// through the handle, so that the folder is found whatever the bytes of its name, and nothing is
// found once it is gone, even when another folder took its name.
class Folder {
public:
    Folder() = default; // no folder: nothing is found in it
    Folder(const Folder &) = delete;
    Folder &operator=(const Folder &) = delete;
    ~Folder();

    // The folder that `path` names now; none when there is no such folder.
    Folder &operator=(const QString &path);
    // The current folder, even when its name is not valid text or it was deleted.
    void openCurrent();

    const QString &text() const { return m_text; }
    // A descriptor of the folder for openat() and the like, or -1 when there is none.
    int handle() const { return m_handle; }

private:
    void open(const char *path, const QString &text);

    QString m_text;
    int m_handle = -1;
};

// The folder the program was started in: the documents are read from it.
inline Folder AppFolder;

// `path` followed by "/" unless it already ends with one.
QString appFolderFrom(const QString &path);

// Sets AppFolder to the current folder.
void setStartupConstants();

} // namespace korvelan
