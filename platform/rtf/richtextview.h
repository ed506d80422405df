#pragma once

#include <QTextBrowser>

namespace korvelan {

// A read-only view of an RTF document loaded from a file. Links in the document are not
// followed: activating one only emits anchorClicked(), for the window to decide.
class RichTextView : public QTextBrowser {
    Q_OBJECT

public:
    explicit RichTextView(QWidget *parent = nullptr);

    // Shows the RTF document of the file `name` in the folder open as `folder` (a descriptor, or
    // AT_FDCWD for the current folder). Only an ordinary file is read, and opening it never waits:
    // a missing file, a folder, a pipe, a device, an unreadable file or one that is not RTF leaves
    // the view empty without any message, and so does a folder of -1. Returns whether the
    // document was shown.
    bool loadFile(int folder, const QString &name);
    // The same for a file named by its path, from the current folder.
    bool loadFile(const QString &path);
};

} // namespace korvelan
