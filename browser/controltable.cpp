#include "controltable.h"

#include "colourbutton.h"
#include "palette.h"
#include "recordlist.h"
#include "richtextview.h"
#include "widgets.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSet>

#include <stdexcept>

namespace korvelan {

void setBoxColours(QWidget *widget, quint32 colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Base, bgrColor(colour::White));
    palette.setColor(QPalette::Text, bgrColor(colour));
    widget->setPalette(palette);
}

QString indexed(const char16_t *name, int i)
{
    return QString::fromUtf16(name) + u'(' + QString::number(i) + u')';
}

namespace {

QFont fontOf(const ControlFont &font)
{
    return font.listColumns ? listFont() : programFont(font.face, font.points, font.bold);
}

QWidget *build(QWidget *parent, const Control &c, QRect geometry)
{
    const QString text = QString::fromUtf16(c.text);
    switch (c.kind) {
    case ControlKind::Label: return makeLabel(parent, QString(), text, geometry, fontOf(c.font), c.colour, c.alignment);
    case ControlKind::Picture: return new QLabel(parent);
    case ControlKind::Button: {
        auto *button = new ColourButton(text, parent);
        button->setToolTip(QString::fromUtf16(c.tooltip));
        if (*c.tooltip)
            button->setAccessibleDescription(button->toolTip());
        button->setBackColour(c.colour);
        return button;
    }
    case ControlKind::ChoiceRows:
    case ControlKind::RecordRows: {
        ChoiceList *list = c.kind == ControlKind::RecordRows ? new RecordList(parent) : new ChoiceList(parent);
        list->setFont(fontOf(c.font));
        setBoxColours(list, c.colour);
        return list;
    }
    case ControlKind::LineBox: {
        auto *line = new QLineEdit(parent);
        line->setReadOnly(true);
        line->setAlignment(c.alignment);
        line->setFont(fontOf(c.font));
        setBoxColours(line, c.colour);
        return line;
    }
    case ControlKind::TextBox: {
        auto *box = new QPlainTextEdit(parent);
        box->setReadOnly(true);
        box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        box->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        box->document()->setDocumentMargin(2);
        box->setFont(fontOf(c.font));
        setBoxColours(box, c.colour);
        return box;
    }
    case ControlKind::RichText: return new RichTextView(parent);
    case ControlKind::WordBox: {
        auto *combo = new QComboBox(parent);
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->setCompleter(nullptr); // the word is what the user types, never completed behind their back
        combo->setFont(fontOf(c.font));
        setTextColour(combo, c.colour);
        return combo;
    }
    }
    return nullptr;
}

} // namespace

Controls buildControls(QWidget *parent, std::span<const Control> table, QPointF origin)
{
    QSet<QStringView> names;
    for (const Control &c : table) {
        if (names.contains(QStringView(c.name)))
            throw std::invalid_argument("control named twice: " + QString::fromUtf16(c.name).toStdString());
        names.insert(QStringView(c.name));
    }
    const QPoint corner = twipsRect(origin.x(), origin.y(), 0, 0).topLeft();
    Controls controls;
    for (const Control &c : table) {
        const QString name = QString::fromUtf16(c.name);
        const QRect geometry = twipsRect(c.left, c.top, c.width, c.height).translated(-corner);
        QWidget *widget = build(parent, c, geometry);
        widget->setObjectName(name);
        widget->setGeometry(geometry);
        if (*c.accessibleName)
            widget->setAccessibleName(QString::fromUtf16(c.accessibleName));
        controls.insert(name, widget);
    }
    return controls;
}

} // namespace korvelan
