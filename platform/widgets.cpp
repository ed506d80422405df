#include "widgets.h"

#include "geometry.h"

#include <QApplication>
#include <QLabel>
#include <QScrollArea>
#include <QStyle>

#include <algorithm>
#include <vector>

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

QSize scrollContents(QWidget *window, QSize contentSize, QSize room)
{
    std::vector<std::pair<QWidget *, bool>> children;
    for (QWidget *child : window->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        if (!child->isWindow())
            children.emplace_back(child, !child->isHidden());

    auto *area = new QScrollArea(window);
    area->setObjectName(QStringLiteral("Defilement"));
    area->setFrameShape(QFrame::NoFrame);
    area->setAccessibleName(QStringLiteral("Contenu de la fenêtre"));
    auto *content = new QWidget;
    content->setObjectName(QStringLiteral("Contenu"));
    content->setPalette(window->palette());
    content->setAutoFillBackground(window->autoFillBackground());
    content->setFixedSize(contentSize);
    // Moving a widget to another parent hides it: each is shown again as it was.
    for (auto [child, shown] : children) {
        child->setParent(content);
        child->setVisible(shown);
    }
    area->setWidget(content);

    // The control that takes the focus is scrolled into view, unless it lies outside the content, as
    // controls parked out of sight do.
    QObject::connect(qApp, &QApplication::focusChanged, area, [area, content](QWidget *, QWidget *now) {
        if (now && content->isAncestorOf(now) &&
            content->rect().contains(QRect(now->mapTo(content, QPoint()), now->size())))
            area->ensureWidgetVisible(now, 0, 0);
    });

    const int bar = area->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, area);
    bool tall = contentSize.height() > room.height(), wide = contentSize.width() > room.width();
    // A scroll bar takes room from the other direction, which may then need one too.
    wide = wide || (tall && contentSize.width() + bar > room.width());
    tall = tall || (wide && contentSize.height() + bar > room.height());
    const QSize size(std::min(room.width(), contentSize.width() + (tall ? bar : 0)),
                     std::min(room.height(), contentSize.height() + (wide ? bar : 0)));
    area->setGeometry(QRect(QPoint(), size));
    area->show();
    return size;
}

} // namespace korvelan
