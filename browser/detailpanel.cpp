#include "detailpanel.h"

#include "colouring.h"
#include "controltable.h"
#include "palette.h"
#include "provenance.h"
#include "widgets.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace korvelan {
namespace {

using enum ControlKind;
constexpr ControlFont kVerdana12Bold{FontFace::Verdana, 12, true};

// The panel's corner in the window; its controls are placed in the window's twips.
constexpr QPointF kOrigin(10440, 90);

// The tables keep one control a line, as a layout reads: the formatter leaves them as written.
// clang-format off
const std::array<Control, 33> kControls = {{
    {u"LblFond", Picture, 10440, 90, 4455, 9675},
    {u"Lbl(6)", Label, 10920, 180, 2415, 315, {FontFace::Arial, 12, true}, colour::Black, TopLeft,
     u"FICHE DE L'ADDITIF "},
    {u"TxtADD(1)", LineBox, 13380, 135, 1095, 315, {FontFace::Arial, 14.25, true}, colour::Red, Qt::AlignHCenter,
     u"", u"", u"Numéro"},
    {u"TxtADD(2)", TextBox, 10500, 540, 4335, 855, kVerdana12Bold, colour::Blue, TopLeft, u"", u"", u"Nom"},
    {u"TxtADD(3)", TextBox, 10500, 1650, 4335, 645, Arial12, colour::Black, TopLeft, u"", u"", u"Catégorie"},
    {u"TxtADD(4)", TextBox, 10500, 2520, 4335, 1185, Arial12, colour::Black, TopLeft, u"", u"", u"Synonymes"},
    {u"TxtADD(5)", LineBox, 12000, 4080, 1335, 345, Arial12, colour::Black, Qt::AlignHCenter, u"", u"", u"DJA"},
    {u"TxtADD(6)", LineBox, 10680, 4740, 1335, 345, Arial12, colour::Black, Qt::AlignHCenter, u"", u"",
     u"Autorisé UE"},
    {u"TxtADD(7)", LineBox, 12000, 4740, 1335, 345, Arial12, colour::Black, Qt::AlignHCenter, u"", u"",
     u"Autorisé FR"},
    {u"TxtADD(8)", LineBox, 13320, 4740, 1335, 345, Arial12, colour::Black, Qt::AlignHCenter, u"", u"",
     u"Autorisé AB"},
    {u"TxtADD(9)", LineBox, 10680, 5400, 1335, 345, Arial12, colour::Black, Qt::AlignHCenter, u"", u"",
     u"Origine AN"},
    {u"TxtADD(10)", LineBox, 12000, 5400, 1335, 345, Arial12, colour::Black, Qt::AlignHCenter, u"", u"",
     u"Autorisé BB"},
    {u"TxtADD(11)", LineBox, 13320, 5400, 1335, 345, Arial12, colour::Black, Qt::AlignHCenter, u"", u"", u"Halal"},
    {u"TxtADD(12)", LineBox, 13320, 4080, 1335, 345, Arial12, colour::Black, Qt::AlignHCenter, u"", u"",
     u"Naturel ou chimique"},
    {u"TxtADD(13)", TextBox, 10500, 6090, 4335, 885, Arial12, colour::Black, TopLeft, u"", u"", u"Utilisation"},
    {u"TxtADD(14)", TextBox, 10500, 7290, 4335, 885, Arial12, colour::Black, TopLeft, u"", u"", u"Groupes à risques"},
    {u"TxtADD(15)", TextBox, 10500, 8490, 4335, 1185, Arial12, colour::DarkRed, TopLeft, u"", u"", u"Symptômes"},
    {u"TxtADD(16)", LineBox, 10680, 4080, 1335, 345, kVerdana12Bold, colour::Red, Qt::AlignHCenter, u"", u"",
     u"Risque"},
    {u"TxtADD(17)", LineBox, 13500, 7920, 675, 345, Arial12, colour::Black, Qt::AlignHCenter, u"", u"",
     u"Numéro d'ordre"},
    {u"LblAd(0)", Label, 10500, 1380, 4335, 300, Arial12, colour::Grey, TopLeft, u"Catégorie:"},
    {u"LblAd(1)", Label, 10500, 2220, 4335, 300, Arial12, colour::Grey, TopLeft, u"Synonymes:"},
    {u"LblAd(2)", Label, 10680, 3780, 1335, 300, Arial12, colour::Grey, TopCentred, u"Risque"},
    {u"LblAd(3)", Label, 12000, 3780, 1335, 300, Arial12, colour::Grey, TopCentred, u"DJA"},
    {u"LblAd(4)", Label, 13320, 3780, 1335, 300, {FontFace::Arial, 11.25}, colour::Grey, TopCentred, u"Naturel/Chim."},
    {u"LblAd(5)", Label, 10680, 4440, 1335, 300, Arial12, colour::Grey, TopCentred, u"Autorisé UE"},
    {u"LblAd(6)", Label, 12000, 4440, 1335, 300, Arial12, colour::Grey, TopCentred, u"Autorisé FR"},
    {u"LblAd(7)", Label, 13320, 4440, 1335, 300, Arial12, colour::Grey, TopCentred, u"Autorisé AB"},
    {u"LblAd(8)", Label, 10680, 5100, 1335, 300, Arial12, colour::Grey, TopCentred, u"Origine AN"},
    {u"LblAd(9)", Label, 12000, 5100, 1335, 300, Arial12, colour::Grey, TopCentred, u"Autorisé BB"},
    {u"LblAd(10)", Label, 13320, 5100, 1335, 300, Arial12, colour::Grey, TopCentred, u"Halal"},
    {u"LblAd(11)", Label, 10500, 5820, 4335, 300, Arial12, colour::Grey, TopLeft, u"Utilisation:"},
    {u"LblAd(12)", Label, 10500, 7020, 4335, 300, Arial12, colour::Grey, TopLeft, u"Groupes à risques:"},
    {u"LblAd(13)", Label, 10500, 8220, 4335, 300, Arial12, colour::Grey, TopLeft, u"Symptômes:"},
}};
// clang-format on

} // namespace

DetailPanel::DetailPanel(const AdditiveTable &table, QWidget *parent) : QWidget(parent), m_table(table)
{
    setGeometry(twipsRect(kOrigin.x(), kOrigin.y(), 4455, 9675));
    const Controls controls = buildControls(this, kControls, kOrigin);
    auto *ground = controls.get<QLabel>(u"LblFond"_s);
    ground->setAutoFillBackground(true);
    QPalette palette = ground->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::Base));
    ground->setPalette(palette);
    m_title = controls.get<QLabel>(u"Lbl(6)"_s);
    setBackground(m_title, colour::LightGrey); // its own grey over the white ground of the panel
    for (int k = ENumber; k <= SequenceNumber; ++k)
        m_boxes[static_cast<size_t>(k)] = controls.get(indexed(u"TxtADD", k));
    m_boxes[SequenceNumber]->hide(); // holds the number of the record shown; never visible
    m_riskCaption = controls.get<QLabel>(u"LblAd(2)"_s);
    m_title->raise();
    addLegends();
}

void DetailPanel::addLegends()
{
    // The question marks at the right end of the captions "Risque" and "DJA" open the legends.
    const QIcon info = pictureIcon(u":/pictures/info.png"_s);
    const std::array<std::pair<const char16_t *, const char16_t *>, 2> legends = {
        {{u"LblAd(2)", u"Légende des classes de risque"}, {u"LblAd(3)", u"Légende de la DJA"}}};
    const QString focusFrame = bgrColor(colour::Black).name();
    for (int i = 0; i < 2; ++i) {
        const auto &[captionName, name] = legends[static_cast<size_t>(i)];
        auto *caption = findChild<QLabel *>(QString::fromUtf16(captionName));
        const int textWidth = caption->fontMetrics().horizontalAdvance(caption->text());
        auto *image = new QToolButton(this);
        image->setObjectName(indexed(u"ImgInfo", i));
        image->setToolTip(u"Plus d'informations"_s);
        image->setAccessibleName(QString::fromUtf16(name));
        image->setAccessibleDescription(u"Plus d'informations"_s);
        image->setIcon(info);
        image->setIconSize(QSize(13, 15));
        image->setAutoRaise(true);
        image->setCursor(Qt::PointingHandCursor);
        image->setStyleSheet(
            u"QToolButton { border: none; padding: 0; } QToolButton:focus { border: 1px dotted %1; }"_s.arg(
                focusFrame));
        image->setGeometry(caption->x() + (caption->width() + textWidth) / 2 + 3, caption->y() + 2, 15, 17);
        connect(image, &QToolButton::clicked, this, [this, i] { Q_EMIT legendRequested(i); });
        m_legends[static_cast<size_t>(i)] = image;
    }
}

std::vector<QWidget *> DetailPanel::tabStops() const
{
    std::vector<QWidget *> order;
    for (Field k :
         {ENumber, AdditiveName, Category, Synonyms, RiskLevel, DailyIntake, Origin, AuthorisedEU, AuthorisedFR,
          AuthorisedOrganic, AnimalOrigin, AuthorisedInfants, Halal, Usage, RiskGroups, Symptoms})
        order.push_back(m_boxes[static_cast<size_t>(k)]);
    return order;
}

std::vector<QWidget *> DetailPanel::legends() const
{
    return {m_legends.begin(), m_legends.end()};
}

QString DetailPanel::boxText(int k) const
{
    if (k < ENumber || k > SequenceNumber)
        return {};
    QWidget *box = m_boxes[static_cast<size_t>(k)];
    if (auto *line = qobject_cast<QLineEdit *>(box))
        return line->text();
    return static_cast<QPlainTextEdit *>(box)->toPlainText();
}

void DetailPanel::setBoxText(int k, const QString &text, int r)
{
    QWidget *box = m_boxes[static_cast<size_t>(k)];
    // What a screen reader announces goes with the text: a forced value's real value, a value's source.
    const QString note = boxNote(FactRegister::embedded(), r, k, text);
    box->setToolTip(note);
    box->setAccessibleDescription(note);
    if (auto *line = qobject_cast<QLineEdit *>(box)) {
        line->setText(text);
        line->setCursorPosition(0);
    } else {
        static_cast<QPlainTextEdit *>(box)->setPlainText(text);
    }
    colourBox(k);
}

void DetailPanel::colourBox(int k)
{
    if (k == AuthorisedEU || k == AuthorisedFR) {
        setTextColour(m_boxes[static_cast<size_t>(k)], authorisationColour(boxText(k)));
    } else if (k == RiskLevel) {
        const RiskColours colours = riskColours(boxText(RiskLevel));
        if (colours.caption)
            setTextColour(m_riskCaption, *colours.caption);
        setTextColour(m_boxes[RiskLevel], colours.box);
    }
}

void DetailPanel::showRecord(int r)
{
    for (int k = ENumber; k <= SequenceNumber; ++k)
        setBoxText(k, m_table.field(k, r).toString(), r);
}

void DetailPanel::clear()
{
    for (int k = ENumber; k <= SequenceNumber; ++k)
        setBoxText(k, QString());
}

void DetailPanel::clearWithGreyRisk()
{
    clear();
    setTextColour(m_riskCaption, colour::Grey);
}

void DetailPanel::setTitleColour(quint32 colour)
{
    setTextColour(m_title, colour);
}

} // namespace korvelan
