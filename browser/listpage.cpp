#include "listpage.h"

#include "controltable.h"
#include "flaglists.h"
#include "listline.h"
#include "palette.h"
#include "recordlist.h"
#include "widgets.h"

#include <QLabel>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace korvelan {
namespace {

using enum ControlKind;

// The tables keep one control a line, as a layout reads: the formatter leaves them as written.
// clang-format off
const std::array<Control, 10> kControls = {{
    {u"LblLab(0)", Label, 90, 180, 1500, 255, Arial9, colour::Black, TopLeft, u"Numéro"},
    {u"LblLab(1)", Label, 1980, 180, 1500, 255, Arial9, colour::Black, TopLeft, u"Nom"},
    {u"LblLab(2)", Label, 4170, 180, 1500, 255, Arial9, colour::Black, TopLeft, u"Catégorie"},
    {u"LblLab(3)", Label, 6840, 180, 1500, 255, Arial9, colour::Black, TopLeft, u"Risque"},
    {u"LblLab(4)", Label, 7560, 180, 1500, 255, Arial9, colour::Black, TopLeft, u"Autorisé UE"},
    {u"LblLab(5)", Label, 8760, 180, 1500, 255, Arial9, colour::Black, TopLeft, u"Autorisé FR"},
    {u"LstNumAdd", RecordRows, 60, 465, 10215, 7230, ListColumns, colour::Brown, {}, u"", u"",
     u"Additifs par numéro"},
    {u"LstAlpha", RecordRows, 60, 480, 10215, 6105, ListColumns, colour::Brown, {}, u"", u"",
     u"Additifs par ordre alphabétique"},
    {u"LstTri", RecordRows, 60, 480, 10215, 6105, ListColumns, colour::Blue, {}, u"", u"",
     u"Additifs choisis par l'option d'affichage"},
    {u"LblAd(14)", Label, 120, 7860, 6000, 300, {FontFace::Arial, 9, true}, colour::Black,
     TopLeft, u"Options d'affichage, trier en fonction de:"},
}};
// clang-format on

// Where each display option stands: the place of its ring and the index of its caption LblLab(n).
// What the options are and do is the rules' table, DisplayOptions; this one follows it, row by row.
struct OptionPlace {
    double left, top;
    int caption;
};
constexpr OptionPlace kOptionPlaces[] = {
    {240, 8220, 14}, {2640, 8220, 15}, {5040, 8220, 16}, {7500, 8220, 18},
    {240, 8640, 19}, {2640, 8640, 20}, {5040, 8640, 21}, {7500, 8640, 22},
};
static_assert(std::size(kOptionPlaces) == DisplayOptions.size(), "one place for each display option");

} // namespace

ListPage::ListPage(const ProgramData &data, QWidget *parent)
    : Page(u"Lister"_s, u"Afficher la liste des additifs"_s, parent), m_data(data)
{
    const Controls controls = buildControls(this, std::span(kControls).first(9));
    m_numberList = controls.get<RecordList>(u"LstNumAdd"_s);
    m_alphabeticalList = controls.get<RecordList>(u"LstAlpha"_s);
    m_flagList = controls.get<RecordList>(u"LstTri"_s);
    m_alphabeticalList->hide();
    m_flagList->hide();
    for (RecordList *list : recordLists())
        forwardChoices(list);
    addDisplayOptions();
}

void ListPage::addDisplayOptions()
{
    buildControls(this, std::span(kControls).last(1));
    const QIcon ring = pictureIcon(u":/pictures/option_off.png"_s);
    const QPixmap mark = pictureIcon(u":/pictures/option_on.png"_s).pixmap(QSize(20, 20), devicePixelRatio());
    const QString focusFrame = bgrColor(colour::Black).name();
    for (int i = 0; i < DisplayOptionCount; ++i) {
        const OptionPlace &option = kOptionPlaces[i];
        const QString text = DisplayOptions[static_cast<size_t>(i)].caption.toString();
        auto *image = new QToolButton(this);
        image->setObjectName(indexed(u"ImgD", i));
        image->setAccessibleName(text);
        image->setAccessibleDescription(u"Option d'affichage"_s);
        image->setIcon(ring);
        image->setIconSize(QSize(20, 20));
        // The chosen ring is checked, which screen readers announce; the marks show it. Each ring
        // stays a stop of the Tab key (an exclusive group would only stop on the chosen one).
        image->setCheckable(true);
        image->setChecked(i == 0);
        image->setAutoRaise(true);
        image->setCursor(Qt::PointingHandCursor);
        image->setGeometry(twipsRect(option.left, option.top, 300, 300));
        image->setStyleSheet(u"QToolButton { border: none; padding: 0; background: transparent; }"
                             u" QToolButton:focus { border: 1px dotted %1; }"_s.arg(focusFrame));
        connect(image, &QToolButton::clicked, this, [this, i] { chooseOption(i); });
        m_optionRings[static_cast<size_t>(i)] = image;

        // The mark lies over its ring and lets clicks through to it, so choosing the option that is
        // already marked runs it again.
        auto *chosen = new QLabel(this);
        chosen->setObjectName(indexed(u"ImgB", i));
        chosen->setAccessibleName(u"Option choisie : "_s + text);
        chosen->setPixmap(mark);
        chosen->setGeometry(image->geometry());
        chosen->setAttribute(Qt::WA_TransparentForMouseEvents);
        chosen->setVisible(i == 0);
        m_optionMarks[static_cast<size_t>(i)] = chosen;

        QLabel *caption = makeLabel(this, indexed(u"LblLab", option.caption), text,
                                    twipsRect(option.left + 360, option.top + 15, 2040, 285),
                                    programFont(Arial9.face, Arial9.points), colour::Black);
        caption->setBuddy(image);
    }
}

std::vector<QWidget *> ListPage::tabStops() const
{
    std::vector<QWidget *> order(m_optionRings.begin(), m_optionRings.end());
    for (QWidget *list : recordLists())
        order.push_back(list);
    return order;
}

QString ListPage::row(int r)
{
    if (!AdditiveTable::isSlot(r))
        return ListLine(m_data.additives.record(r));
    if (m_rows.empty())
        m_rows.resize(RecordCapacity + 1);
    QString &line = m_rows[static_cast<size_t>(r)];
    if (line.isNull())
        line = ListLine(m_data.additives.record(r));
    return line;
}

void ListPage::fillNumbers()
{
    QStringList rows;
    rows.reserve(RecordCount);
    for (qint16 r = 1; r <= qint16(RecordCount); ++r)
        rows.append(row(r));
    m_numberList->addItems(rows);
}

void ListPage::fillAlphabetical()
{
    const AdditiveTable &table = m_data.additives;
    QStringList rows;
    rows.reserve(RecordCount);
    for (qint16 p = 1; p <= qint16(RecordCount); ++p) {
        // The alphabetical order is the data's: row p shows the record that field 18 of record p
        // names. A value that names no slot of the table is passed over rather than shown.
        bool isNumber = false;
        const int j = table.field(AlphaOrder, p).trimmed().toInt(&isNumber);
        if (!isNumber || !AdditiveTable::isSlot(j))
            continue;
        rows.append(row(j));
    }
    m_alphabeticalList->addItems(rows);
}

void ListPage::matchListHeights()
{
    m_alphabeticalList->resize(m_alphabeticalList->width(), m_numberList->height());
    m_flagList->resize(m_flagList->width(), m_numberList->height());
}

void ListPage::chooseOption(int i)
{
    const std::optional<DisplayOption> option = displayOption(i);
    if (!option)
        return;
    for (QLabel *mark : m_optionMarks)
        mark->hide();
    m_optionMarks[static_cast<size_t>(i)]->show();
    for (size_t ring = 0; ring < m_optionRings.size(); ++ring)
        m_optionRings[ring]->setChecked(ring == static_cast<size_t>(i));
    Q_EMIT panelCleared();

    m_alphabeticalList->setVisible(option->list == ShownList::Alphabetical);
    m_numberList->setVisible(option->list == ShownList::Numbers);
    if (option->list != ShownList::Flags) {
        m_flagList->hide();
        Q_EMIT recordChosen(option->panelRecord);
    } else {
        // The flag list is built anew on each choice, in one pass over the table.
        m_flagList->clear();
        m_flagList->show();
        QPalette palette = m_flagList->palette();
        palette.setColor(QPalette::Text, bgrColor(option->listColour));
        m_flagList->setPalette(palette);
        const AdditiveTable &table = m_data.additives;
        const FlagList records = buildFlagList(table, option->field);
        QStringList rows;
        rows.reserve(records.size());
        for (int r : records)
            rows.append(row(r));
        m_flagList->addItems(rows);
        Q_EMIT recordChosen(option->panelRecord);
        Q_EMIT titleChanged(flagListTitle(int(records.size()), option->titleSuffix));
        m_flagList->show();
    }
    Q_EMIT optionDone();
}

} // namespace korvelan
