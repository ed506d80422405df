#include "page.h"

#include "geometry.h"
#include "palette.h"
#include "recordlist.h"
#include "widgets.h"

using namespace Qt::StringLiterals;

namespace korvelan {

Page::Page(const QString &caption, const QString &tooltip, QWidget *parent)
    : QFrame(parent), m_caption(caption), m_tooltip(tooltip)
{
    setGeometry(twipsRect(0, 0, 10395, 9195));
    setAccessibleName(u"Page "_s + caption);
    setBackground(this, colour::LightGrey);
}

void Page::forwardChoices(RecordList *list)
{
    connect(list, &RecordList::recordChosen, this, &Page::recordChosen);
    connect(list, &RecordList::selectionError, this, &Page::selectionError);
}

} // namespace korvelan
