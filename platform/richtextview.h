#pragma once

#include "rtfreader.h"

#include <QTextBrowser>

namespace korvelan {

// A read-only view of an RTF document loaded from a file. Links in the document are not
// followed: activating one only emits anchorClicked(), for the window to decide.
class RichTextView : public QTextBrowser
{
    Q_OBJECT

public:
    explicit RichTextView(QWidget *parent = nullptr);

    // Shows the RTF document of that file. A missing or unreadable file, or one that is not
    // RTF, leaves the view empty without any message; returns whether the document was shown.
    bool loadFile(const QString &path);

    void setLimits(const RtfLimits &limits) { m_limits = limits; }

private:
    RtfLimits m_limits;
};

} // namespace korvelan
