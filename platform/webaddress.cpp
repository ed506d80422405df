#include "webaddress.h"

#include <QDesktopServices>

namespace korvelan {

void openWebAddress(const QUrl &address)
{
    QDesktopServices::openUrl(address);
}

} // namespace korvelan
