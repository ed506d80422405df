#pragma once

#include <QString>

namespace korvelan {

// Program-wide constants, read by the windows and by the terminal answers alike.
inline const QString AppTitle = QStringLiteral("Les KORVELAN"); // title of every message box
inline const QString AppVersion = QStringLiteral("1.00");
inline const QString LineBreak = QStringLiteral("\r\n"); // joins the lines of multi-line messages

} // namespace korvelan
