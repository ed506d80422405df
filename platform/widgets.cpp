#include "widgets.h"

#include "geometry.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QLabel>

namespace korvelan {

void setTextColour(QWidget *widget, quint32 colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, bgrColor(colour));
    palette.setColor(QPalette::Text, bgrColor(colour));
    palette.setColor(QPalette::ButtonText, bgrColor(colour));
    widget->setPalette(palette);
}

void setBackground(QWidget *widget, quint32 colour)
{
    widget->setAutoFillBackground(true);
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, bgrColor(colour));
    widget->setPalette(palette);
}

QLabel *makeLabel(QWidget *parent, const QString &name, const QString &text, QRect geometry, const QFont &font,
                  quint32 colour, Qt::Alignment alignment)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    label->setFont(font);
    label->setAlignment(alignment);
    setTextColour(label, colour);
    return label;
}

namespace {

class RowKeys : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto *key = static_cast<QKeyEvent *>(event);
        auto *list = static_cast<QAbstractItemView *>(watched);
        QItemSelectionModel *selection = list->selectionModel();
        const int rows = list->model() ? list->model()->rowCount(list->rootIndex()) : 0;
        if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier || rows == 0 || !selection)
            return false;
        int row;
        switch (key->key()) {
        case Qt::Key_Home:
            row = 0;
            break;
        case Qt::Key_End:
            row = rows - 1;
            break;
        case Qt::Key_Up:
        case Qt::Key_Down:
            if (selection->hasSelection())
                return false; // the arrows move from the row chosen
            row = list->currentIndex().isValid() ? list->currentIndex().row() : 0;
            break;
        default:
            return false;
        }
        const QModelIndex index = list->model()->index(row, 0, list->rootIndex());
        selection->clearSelection();
        selection->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
        return true;
    }
};

} // namespace

void chooseRowsWithKeys(QAbstractItemView *list)
{
    list->installEventFilter(new RowKeys(list));
}

} // namespace korvelan
