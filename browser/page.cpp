#include "page.h"

#include "controltable.h"
#include "geometry.h"
#include "palette.h"
#include "widgets.h"

using namespace Qt::StringLiterals;

namespace korvelan {

Page::Page(int index, const QString &caption, QWidget *parent) : QFrame(parent)
{
    setObjectName(indexed(u"Fra", index));
    setGeometry(twipsRect(0, 0, 10395, 9195));
    setAccessibleName(u"Page "_s + caption);
    setBackground(this, colour::LightGrey);
}

} // namespace korvelan
