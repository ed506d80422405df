#include "frmlister.h"

#include "additive.h"

#include <QCloseEvent>
#include <QCoreApplication>

using namespace Qt::StringLiterals;

namespace korvelan {

FrmLister::FrmLister(const ProgramData &data, MessageBoxes &boxes, QWidget *parent)
    : QWidget(parent), m_data(data), m_boxes(boxes)
{
    setObjectName(u"FrmLister"_s);
}

void FrmLister::load(QWidget *splash)
{
    if (splash)
        splash->close();
    setWindowTitle(QString::number(RecordCount) + u" KORVELAN"_s);
    resize(1004, 680);
    show();
}

void FrmLister::closeEvent(QCloseEvent *event)
{
    event->accept();
    QCoreApplication::exit(0);
}

} // namespace korvelan
