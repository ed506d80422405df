#include "recordlist.h"

#include "rownumber.h"

#include <QKeyEvent>

namespace korvelan {

ChoiceList::ChoiceList(QWidget *parent) : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSortingEnabled(false);
    setUniformItemSizes(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTextElideMode(Qt::ElideNone);
    setWordWrap(false);
}

void ChoiceList::keyPressEvent(QKeyEvent *event)
{
    QItemSelectionModel *selection = selectionModel();
    const int rows = count();
    if ((event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier || rows == 0 || !selection)
        return QListWidget::keyPressEvent(event);
    int row;
    switch (event->key()) {
    case Qt::Key_Home: row = 0; break;
    case Qt::Key_End: row = rows - 1; break;
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (selection->hasSelection())
            return QListWidget::keyPressEvent(event); // the arrows move from the row chosen
        row = currentIndex().isValid() ? currentIndex().row() : 0;
        break;
    default: return QListWidget::keyPressEvent(event);
    }
    selection->clearSelection();
    selection->setCurrentIndex(model()->index(row, 0, rootIndex()), QItemSelectionModel::ClearAndSelect);
}

RecordList::RecordList(QWidget *parent) : ChoiceList(parent)
{
    connect(this, &QListWidget::itemSelectionChanged, this, [this] {
        if (!selectedItems().isEmpty())
            choose();
    });
    connect(this, &QListWidget::clicked, this, [this](const QModelIndex &index) {
        if (m_rowAtPress == index.row())
            choose();
    });
}

void RecordList::mousePressEvent(QMouseEvent *event)
{
    m_rowAtPress = currentRow();
    ChoiceList::mousePressEvent(event);
}

void RecordList::choose()
{
    QListWidgetItem *item = currentItem();
    if (!item)
        return;
    const RowNumber number = rowRecordNumber(item->text());
    if (number.error == TypeMismatch)
        return; // a row without a number, such as a message row: nothing to show
    if (!number.ok())
        Q_EMIT selectionError(number.error);
    else
        Q_EMIT recordChosen(number.record);
}

} // namespace korvelan
