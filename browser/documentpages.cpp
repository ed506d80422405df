#include "documentpages.h"

#include "controltable.h"
#include "palette.h"
#include "programconstants.h"
#include "richtextview.h"

#include <QLabel>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace korvelan {
namespace {

using enum ControlKind;
constexpr ControlFont kArial8{FontFace::Arial, 8};

// The tables keep one control a line, as a layout reads: the formatter leaves them as written.
// clang-format off
const std::array<Control, 1> kInformation = {{
    {u"Rtb2", RichText, 180, 300, 10035, 8715, {}, 0, {}, u"", u"", u"Informations sur les additifs"},
}};
// clang-format on

constexpr char16_t kMakerSite[] = u"https://korvelan.example.org";

// The three grey lines reach to the page's right edge so that the addresses are read whole.
// clang-format off
const std::array<Control, 7> kAbout = {{
    {u"ImgLogo", Picture, 360, 300, 6345, 705, {}, 0, {}, u"", u"", u"Les KORVELAN"},
    {u"LblNversion", Label, 7020, 300, 3315, 255, kArial8, colour::Grey, TopLeft},
    {u"Label2", Label, 7020, 600, 3315, 255, kArial8, colour::Grey, TopLeft, kMakerSite},
    {u"LblMail", Label, 7020, 900, 3315, 255, kArial8, colour::Grey, TopLeft, u"Contact: contact@korvelan.example.org"},
    {u"Rtb1", RichText, 240, 1440, 9915, 5295, {}, 0, {}, u"", u"", u"Licence et crédits"},
    {u"CmdTelecharger", Button, 2160, 6840, 6075, 705, {}, colour::ButtonGrey, {},
     u"Télécharger le programme d'installation   ", u"", u"Télécharger le programme d'installation"},
    {u"LblInfo", Label, 0, 7680, 10395, 1515, {FontFace::Arial, 12}, colour::Black, Qt::AlignHCenter | Qt::AlignVCenter},
}};
// clang-format on

// The five lines of advice on the about page, each followed by a line break.
const QStringList kAdvice = {
    u"Conservez précieusement les fichiers d'installation de ce programme : ils vous"_s,
    u"seront nécessaires pour toute nouvelle installation (nouvel ordinateur, système réinstallé)."_s,
    u"Nous vous conseillons de télécharger dès maintenant le programme d'installation"_s,
    u"avec le bouton ci-dessus, puis de l'enregistrer sur un support amovible"_s,
    u"(CD-ROM, clé USB) que vous garderez en lieu sûr."_s,
};

} // namespace

InformationPage::InformationPage(QWidget *parent) : Page(u"Information"_s, u"Informations sur les additifs"_s, parent)
{
    m_summary = buildControls(this, kInformation).get<RichTextView>(u"Rtb2"_s);
}

void InformationPage::windowShown(int documentsFolder)
{
    m_summary->loadFile(documentsFolder, u"Resume.rtf"_s);
}

std::vector<QWidget *> InformationPage::tabStops() const
{
    return {m_summary};
}

const QString &AboutPage::makerSite()
{
    static const QString site = QString::fromUtf16(kMakerSite);
    return site;
}

AboutPage::AboutPage(QWidget *parent) : Page(u"A propos"_s, u"A propos du programme"_s, parent)
{
    const Controls controls = buildControls(this, kAbout);
    m_logo = controls.get<QLabel>(u"ImgLogo"_s);
    m_version = controls.get<QLabel>(u"LblNversion"_s);
    m_licence = controls.get<RichTextView>(u"Rtb1"_s);
    m_advice = controls.get<QLabel>(u"LblInfo"_s);
    // The addresses can be selected, with the mouse or from the keyboard, to be copied.
    auto *site = controls.get<QLabel>(u"Label2"_s);
    auto *mail = controls.get<QLabel>(u"LblMail"_s);
    for (QLabel *address : {site, mail})
        address->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);

    auto *download = controls.get<QPushButton>(u"CmdTelecharger"_s);
    download->setAccessibleDescription(u"Ouvre l'adresse de téléchargement dans le navigateur"_s);
    connect(download, &QPushButton::clicked, this, &AboutPage::downloadClicked);

    m_advice->setAutoFillBackground(true);
    QPalette palette = m_advice->palette();
    palette.setColor(QPalette::Window, bgrColor(colour::White));
    m_advice->setPalette(palette);
    m_tabStops = {m_licence, download, site, mail};
}

std::vector<QWidget *> AboutPage::tabStops() const
{
    return m_tabStops;
}

void AboutPage::fill(const QPixmap &logo)
{
    m_logo->setPixmap(logo);
    m_version->setText(u"Version "_s + AppVersion + u" \u2013 additifs alimentaires"_s);
    QString advice;
    for (const QString &line : kAdvice)
        advice += line + LineBreak;
    m_advice->setText(advice.replace(LineBreak, u"\n"_s).trimmed());
    m_advice->setAccessibleDescription(m_advice->text());
}

void AboutPage::windowShown(int documentsFolder)
{
    m_licence->loadFile(documentsFolder, u"Licence.rtf"_s);
}

} // namespace korvelan
