#include "frmlister.h"

#include "colourbutton.h"
#include "colouring.h"
#include "controltable.h"
#include "detailpanel.h"
#include "documentpages.h"
#include "listpage.h"
#include "oneshottimer.h"
#include "palette.h"
#include "programconstants.h"
#include "recordlist.h"
#include "rownumber.h"
#include "searchpage.h"
#include "webaddress.h"
#include "widgets.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QShortcut>

using namespace Qt::StringLiterals;

namespace korvelan {
namespace {

using enum ControlKind;

// The window's outer size is read from two marker lines placed past its visible area. The frame
// that the desktop adds around the client area is allowed for at the usual width of a border and
// of a caption bar, so that the parked controls stay out of sight.
constexpr double kMarkerHeight = 10200, kMarkerWidth = 15060;
constexpr double kBorderTwips = 60, kCaptionTwips = 300;

const std::array<Control, 5> kButtons = {{
    {u"CmdOnglet(1)", Button, 0, 9120, 1635, 555, {}, colour::Silver, {}, u"Lister", u"Afficher la liste des additifs",
     u"Lister"},
    {u"CmdOnglet(2)", Button, 1620, 9120, 1635, 555, {}, colour::Silver, {}, u"Rechercher", u"Outil de recherche",
     u"Rechercher"},
    {u"CmdOnglet(3)", Button, 3240, 9120, 1635, 555, {}, colour::Silver, {}, u"Information",
     u"Informations sur les additifs", u"Information"},
    {u"CmdOnglet(4)", Button, 4860, 9120, 1635, 555, {}, colour::Silver, {}, u"A propos", u"A propos du programme",
     u"A propos"},
    {u"CmdQuitte", Button, 8760, 9210, 1575, 465, {}, colour::ButtonGrey, {}, u"Quitter ", u"Quitter le programme",
     u"Quitter"},
}};

// The picture store and the two marker lines lie outside the visible area; hidden, they keep their
// picture and geometry and stay out of the accessibility tree.
const std::array<Control, 3> kParked = {{
    {u"ImgM", Picture, 12180, 10260, 6345, 705},
    {u"LinHauteur", Picture, 0, kMarkerHeight, 1500, 15},
    {u"LinLargeur", Picture, kMarkerWidth, 0, 15, 1500},
}};

// The program's icon, in the sizes the desktop asks for (the resources hold them as pictures).
QIcon programIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(u":/pictures/korvelan_%1.png"_s.arg(size), QSize(size, size));
    return icon;
}

QPixmap aboutLogo(qreal devicePixelRatio)
{
    QPixmap logo = programPicture(u":/pictures/logo_about.png"_s, QSize(423, 47), devicePixelRatio);
    if (logo.isNull()) {
        logo = QPixmap(423, 47);
        logo.fill(bgrColor(colour::LightGrey));
    }
    return logo;
}

// Publishes the main window with the role of a window, so that screen readers announce it as one.
QAccessibleInterface *accessibleWindow(const QString &className, QObject *object)
{
    if (className == QLatin1StringView(FrmLister::staticMetaObject.className()) && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Window);
    return nullptr;
}

} // namespace

const QUrl &FrmLister::installerAddress()
{
    // Served over HTTPS: an executable fetched over plain HTTP could be swapped on the way.
    static const QUrl address(AboutPage::makerSite() + u"/download/korvelan/Installer_les_korvelan.exe"_s);
    return address;
}

FrmLister::FrmLister(Services services, QWidget *parent)
    : QWidget(parent), m_services(std::move(services)), T1Num(new OneShotTimer(u"T1Num"_s, this)),
      T2Alpha(new OneShotTimer(u"T2Alpha"_s, this)), TimDeb(new OneShotTimer(u"TimDeb"_s, this)),
      TimEND(new OneShotTimer(u"TimEND"_s, this))
{
    setObjectName(u"FrmLister"_s);
    // No accessible name of its own: a screen reader reads the title, which carries the count of a
    // flag list. A plain widget would be published as a mere pane; it is the program's window.
    static const bool windowRole = (QAccessible::installFactory(accessibleWindow), true);
    Q_UNUSED(windowRole);
    setWindowIcon(programIcon());
    setBackground(this, colour::LightGrey);
    buildWindow();
    connectPages();

    connect(T1Num, &OneShotTimer::tick, this, &FrmLister::onT1Num);
    connect(T2Alpha, &OneShotTimer::tick, this, &FrmLister::onT2Alpha);
    connect(TimDeb, &OneShotTimer::tick, this, &FrmLister::onTimDeb);
    connect(TimEND, &OneShotTimer::tick, this, &FrmLister::onTimEnd);
}

FrmLister::~FrmLister()
{
    // Closing the window while it is destroyed moves the focus, to which the search field would
    // react; nothing of the window may react any more.
    std::vector<QObject *> ours{this, m_listPage, m_searchPage, m_informationPage, m_aboutPage, m_panel};
    for (RecordList *list : m_listPage->recordLists())
        ours.push_back(list);
    ours.push_back(m_searchPage->results());
    for (QObject *child : findChildren<QObject *>())
        for (QObject *receiver : ours)
            QObject::disconnect(child, nullptr, receiver, nullptr);
}

void FrmLister::buildWindow()
{
    // Focus holder and default button: first in the keyboard order, parked below the visible area.
    m_foc = new QPushButton(u"Foc"_s, this);
    m_foc->setObjectName(u"Foc"_s);
    // The focus comes back here after most actions; a screen reader announces it by this name.
    m_foc->setAccessibleName(u"Fenêtre principale"_s);
    m_foc->setAccessibleDescription(
        u"Tab parcourt les onglets, les options, les listes et la fiche ; Entrée lance la recherche sur la page Rechercher"_s);
    m_foc->setGeometry(twipsRect(9000, 10080, 795, 315));
    // Enter clicks the default button wherever the focus is in the window.
    for (int key : {Qt::Key_Return, Qt::Key_Enter})
        connect(new QShortcut(QKeySequence(key), this), &QShortcut::activated, this, &FrmLister::onEnter);

    const ProgramData &data = *m_services.data;
    m_fra[1] = m_listPage = new ListPage(data, QString::fromUtf16(kButtons[0].text), this);
    m_fra[2] = m_searchPage = new SearchPage(data, *m_services.boxes, QString::fromUtf16(kButtons[1].text), this);
    m_fra[3] = m_informationPage = new InformationPage(QString::fromUtf16(kButtons[2].text), this);
    m_fra[4] = m_aboutPage = new AboutPage(QString::fromUtf16(kButtons[3].text), this);

    const Controls buttons = buildControls(this, kButtons);
    for (int i = 1; i <= 4; ++i)
        m_cmdOnglet[static_cast<size_t>(i)] = buttons.get<ColourButton>(indexed(u"CmdOnglet", i));
    m_cmdQuitte = buttons.get<ColourButton>(u"CmdQuitte"_s);
    m_panel = new DetailPanel(data.additives, this);

    const Controls parked = buildControls(this, kParked);
    m_imgM = parked.get<QLabel>(u"ImgM"_s);
    m_imgM->setPixmap(aboutLogo(devicePixelRatio()));
    m_linHauteur = parked.get(u"LinHauteur"_s);
    m_linLargeur = parked.get(u"LinLargeur"_s);
    static_cast<QFrame *>(m_linHauteur)->setFrameShape(QFrame::HLine);
    static_cast<QFrame *>(m_linLargeur)->setFrameShape(QFrame::VLine);
    for (QWidget *widget : std::initializer_list<QWidget *>{m_imgM, m_linHauteur, m_linLargeur})
        widget->hide();
    setKeyboardOrder();
}

void FrmLister::connectPages()
{
    // Direct connections: each reaction runs inside the one that caused it, in the order written.
    connect(m_foc, &QPushButton::clicked, m_searchPage, &SearchPage::searchOnEnter);
    for (int i = 1; i <= 4; ++i)
        connect(m_cmdOnglet[static_cast<size_t>(i)], &QPushButton::clicked, this, [this, i] { onTab(i); });
    connect(m_cmdQuitte, &QPushButton::clicked, this, [this] {
        m_foc->setFocus();
        close();
    });
    connect(m_aboutPage, &AboutPage::downloadClicked, this, &FrmLister::onDownload);
    connect(m_panel, &DetailPanel::legendRequested, this, [this](int legend) {
        m_services.boxes->show(MessageIcon::None, AppTitle, legend == 0 ? riskLegendText() : dailyIntakeLegendText(),
                               MessageButtons::Ok);
    });
    std::vector<RecordList *> lists = m_listPage->recordLists();
    lists.push_back(m_searchPage->results());
    for (RecordList *list : lists) {
        connect(list, &RecordList::recordChosen, m_panel, &DetailPanel::showRecord);
        connect(list, &RecordList::selectionError, this, &FrmLister::showSelectionError);
    }
    connect(m_listPage, &ListPage::panelCleared, m_panel, &DetailPanel::clear);
    connect(m_listPage, &ListPage::recordChosen, m_panel, &DetailPanel::showRecord);
    connect(m_listPage, &ListPage::titleChanged, this, &QWidget::setWindowTitle);
    connect(m_listPage, &ListPage::optionDone, m_foc, qOverload<>(&QWidget::setFocus));
    connect(m_searchPage, &SearchPage::recordChosen, m_panel, &DetailPanel::showRecord);
    connect(m_searchPage, &SearchPage::nothingFound, m_panel, &DetailPanel::clearWithGreyRisk);
}

void FrmLister::setKeyboardOrder()
{
    // Foc first; then the tab buttons and the quit button along the bottom, the display options,
    // the lists, the legends, the search, the two documents and the download button; the detail
    // boxes last. Tab skips whatever lies on a hidden page.
    std::vector<QWidget *> order{m_foc};
    order.insert(order.end(), m_cmdOnglet.begin() + 1, m_cmdOnglet.end());
    order.push_back(m_cmdQuitte);
    for (const std::vector<QWidget *> &stops :
         {m_listPage->tabStops(), m_panel->legends(), m_searchPage->tabStops(),
          std::vector<QWidget *>{m_informationPage->document()}, m_aboutPage->tabStops(), m_panel->tabStops()})
        order.insert(order.end(), stops.begin(), stops.end());
    for (size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

void FrmLister::startStep(OneShotTimer *timer, int milliseconds)
{
    const int delay = m_services.stepDelay ? m_services.stepDelay(milliseconds) : milliseconds;
    m_stepByHand = delay > 0 ? nullptr : timer;
    timer->setInterval(delay);
}

bool FrmLister::runNextStep()
{
    OneShotTimer *step = std::exchange(m_stepByHand, nullptr);
    if (step)
        Q_EMIT step->tick();
    return step;
}

void FrmLister::load(QWidget *splash)
{
    if (splash)
        splash->close();
    setWindowTitle(QString::number(RecordCount) + u" KORVELAN"_s);
    for (int i = 2; i <= 4; ++i)
        m_cmdOnglet[static_cast<size_t>(i)]->setBackColour(colour::LightGrey);
    m_fra[1]->show();
    for (int i = 2; i <= 4; ++i)
        m_fra[static_cast<size_t>(i)]->hide();
    m_aboutPage->fill(m_imgM->pixmap());
    startStep(T1Num, 20);
}

void FrmLister::onT1Num()
{
    T1Num->setInterval(0);
    m_listPage->fillNumbers();
    m_panel->showRecord(1);
    startStep(T2Alpha, 200);
}

void FrmLister::onT2Alpha()
{
    T2Alpha->setInterval(0);
    m_listPage->fillAlphabetical();
    startStep(TimDeb, 200);
}

void FrmLister::onTimDeb()
{
    TimDeb->setInterval(0);
    m_listPage->matchListHeights();

    // The outer size comes from the marker lines; the client area is that less the frame.
    const double outerWidth = m_linLargeur->geometry().x() * kTwipsPerPixel;
    const double outerHeight = m_linHauteur->geometry().y() * kTwipsPerPixel;
    const QSize screen = m_services.screenSize ? m_services.screenSize() : korvelan::screenSize();
    const QPointF place = placeOnScreen(QSizeF(screen.width() * kTwipsPerPixel, screen.height() * kTwipsPerPixel),
                                        QSizeF(outerWidth, outerHeight), 2.0);
    setFixedSize(twipsToPixels(outerWidth - 2 * kBorderTwips),
                 twipsToPixels(outerHeight - 2 * kBorderTwips - kCaptionTwips));
    move(twipsToPixels(place.x()), twipsToPixels(place.y()));
    show();

    // A missing or unreadable document leaves its box empty, silently.
    m_aboutPage->loadDocument(m_services.documentsFolder);
    m_informationPage->loadDocument(m_services.documentsFolder);
}

void FrmLister::onTimEnd()
{
    TimEND->setInterval(0);
    if (m_services.endProgram) {
        m_services.endProgram();
        return;
    }
    for (QWidget *window : QApplication::topLevelWidgets())
        window->hide();
    QCoreApplication::exit(0);
}

void FrmLister::onTab(int i)
{
    for (int t = 1; t <= 4; ++t)
        m_cmdOnglet[static_cast<size_t>(t)]->setBackColour(colour::LightGrey);
    m_cmdOnglet[static_cast<size_t>(i)]->setBackColour(colour::Silver);
    for (int t = 1; t <= 4; ++t)
        m_fra[static_cast<size_t>(t)]->hide();
    m_fra[static_cast<size_t>(i)]->show();

    const bool listOrSearch = i == 1 || i == 2;
    m_panel->setTitleColour(listOrSearch ? colour::Black : colour::Silver);
    if (listOrSearch) {
        setWindowTitle(AppTitle);
        m_panel->clearWithGreyRisk();
    } else {
        m_panel->clear();
    }
    if (i == 2)
        m_searchPage->focusWord();
    else
        m_foc->setFocus();
}

void FrmLister::closeEvent(QCloseEvent *event)
{
    // The window is never closed: the only way out is the question, which ends the whole program.
    event->ignore();
    confirmQuit();
}

void FrmLister::confirmQuit()
{
    const MessageAnswer answer =
        m_services.boxes->show(MessageIcon::Question, AppTitle,
                               u"        Quitter le programme ?                    "_s, MessageButtons::YesNo);
    if (answer != MessageAnswer::No)
        TimEND->setInterval(500);
}

void FrmLister::onDownload()
{
    if (m_services.openUrl)
        m_services.openUrl(installerAddress());
    else
        openWebAddress(installerAddress());
    m_foc->setFocus();
}

void FrmLister::showSelectionError(int error)
{
    m_services.boxes->show(MessageIcon::Critical, SelectionErrorTitle.toString(), selectionErrorText(error),
                           MessageButtons::Ok);
}

void FrmLister::onEnter()
{
    // Enter clicks the button that has the focus, as on any dialog; elsewhere it clicks the
    // default button Foc.
    if (auto *button = qobject_cast<QAbstractButton *>(QApplication::focusWidget());
        button && button != m_foc && isAncestorOf(button)) {
        button->click();
        return;
    }
    m_foc->click();
}

QString FrmLister::boxText(int k) const
{
    return m_panel->boxText(k);
}

} // namespace korvelan
