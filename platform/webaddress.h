#pragma once

#include <QUrl>

namespace korvelan {

// Asks the system to open a web address with its default browser. The answer is not looked at.
void openWebAddress(const QUrl &address);

} // namespace korvelan
