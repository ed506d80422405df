#include "frmlister.h"

#include "colourbutton.h"
#include "colouring.h"
#include "detailpanel.h"
#include "documentpages.h"
#include "labelwindow.h"
#include "listpage.h"
#include "oneshottimer.h"
#include "palette.h"
#include "programconstants.h"
#include "recordlist.h"
#include "rownumber.h"
#include "searchpage.h"
#include "webaddress.h"
#include "widgets.h"
#include "windowcontrols.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QShortcut>

using namespace Qt::StringLiterals;

namespace korvelan {
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
    publishAsWindow(staticMetaObject.className());
    setWindowIcon(programIcon());
    setBackground(this, colour::LightGrey);
    buildWindow();
    connectPages();

    connect(T1Num, &OneShotTimer::tick, this, &FrmLister::fillNumberListStep);
    connect(T2Alpha, &OneShotTimer::tick, this, &FrmLister::fillAlphabeticalListStep);
    connect(TimDeb, &OneShotTimer::tick, this, &FrmLister::showWindowStep);
    connect(TimEND, &OneShotTimer::tick, this, &FrmLister::endProgramStep);
}

FrmLister::~FrmLister()
{
    // Closing the window while it is destroyed moves the focus, to which the search field would
    // react; nothing of the window may react any more.
    std::vector<QObject *> ours{this, m_panel};
    for (const PageEntry &entry : m_pages)
        ours.push_back(entry.page);
    for (RecordList *list : findChildren<RecordList *>())
        ours.push_back(list);
    for (QObject *child : findChildren<QObject *>())
        for (QObject *receiver : ours)
            QObject::disconnect(child, nullptr, receiver, nullptr);
}

void FrmLister::buildWindow()
{
    // Focus holder and default button: first in the keyboard order, parked below the visible area.
    m_focusButton = new QPushButton(u"Foc"_s, this);
    m_focusButton->setObjectName(u"Foc"_s);
    // The focus comes back here after most actions; a screen reader announces it by this name.
    m_focusButton->setAccessibleName(u"Fenêtre principale"_s);
    m_focusButton->setAccessibleDescription(
        u"Tab parcourt les onglets, les options, les listes et la fiche ; Entrée lance la recherche sur la page Rechercher"_s);
    m_focusButton->setGeometry(twipsRect(9000, 10080, 795, 315));
    // Enter clicks the default button wherever the focus is in the window.
    for (int key : {Qt::Key_Return, Qt::Key_Enter})
        connect(new QShortcut(QKeySequence(key), this), &QShortcut::activated, this, &FrmLister::onEnter);
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_L), this), &QShortcut::activated, this,
            &FrmLister::openLabelWindow);

    // The pages, in the order of their tab buttons: a page is one entry here.
    const ProgramData &data = *m_services.data;
    const std::vector<Page *> pages{
        m_listPage = new ListPage(data, this),
        m_searchPage = new SearchPage(data, *m_services.boxes, this),
        new InformationPage(this),
        m_aboutPage = new AboutPage(this),
    };
    // The buttons come after all the pages, so that each lies over them where they meet.
    for (Page *page : pages) {
        const int n = int(m_pages.size()) + 1;
        page->setObjectName(indexed(u"Fra", n));
        m_pages.push_back({page, buildTabButton(this, n, page->caption(), page->tooltip())});
    }
    m_quitButton = buildQuitButton(this).get<ColourButton>(u"CmdQuitte"_s);
    m_panel = new DetailPanel(data.additives, this);

    const Controls parked = buildParkedControls(this);
    m_pictureStore = parked.get<QLabel>(u"ImgM"_s);
    m_heightMarker = parked.get(u"LinHauteur"_s);
    m_widthMarker = parked.get(u"LinLargeur"_s);
    setKeyboardOrder();
}

void FrmLister::connectPages()
{
    // Direct connections: each reaction runs inside the one that caused it, in the order written.
    connect(m_focusButton, &QPushButton::clicked, m_searchPage, &SearchPage::searchOnEnter);
    for (size_t i = 0; i < m_pages.size(); ++i)
        connect(m_pages[i].tab, &QPushButton::clicked, this, [this, i] { openPage(i); });
    connect(m_quitButton, &QPushButton::clicked, this, [this] {
        m_focusButton->setFocus();
        close();
    });
    connect(m_aboutPage, &AboutPage::downloadClicked, this, &FrmLister::onDownload);
    connect(m_panel, &DetailPanel::legendRequested, this, [this](int legend) {
        m_services.boxes->show(MessageIcon::None, AppTitle, legend == 0 ? riskLegendText() : dailyIntakeLegendText(),
                               MessageButtons::Ok);
    });
    for (const PageEntry &entry : m_pages) {
        connect(entry.page, &Page::recordChosen, m_panel, &DetailPanel::showRecord);
        connect(entry.page, &Page::selectionError, this, &FrmLister::showSelectionError);
    }
    connect(m_listPage, &ListPage::panelCleared, m_panel, &DetailPanel::clear);
    connect(m_listPage, &ListPage::titleChanged, this, &QWidget::setWindowTitle);
    connect(m_listPage, &ListPage::optionDone, m_focusButton, qOverload<>(&QWidget::setFocus));
    connect(m_searchPage, &SearchPage::nothingFound, m_panel, &DetailPanel::clearWithGreyRisk);
}

void FrmLister::openLabelWindow()
{
    // Its rows show their additive in the panel by the same road as the rows of the four lists.
    if (!m_labelWindow) {
        m_labelWindow = new LabelWindow(m_services.data->additives, this);
        connect(m_labelWindow, &LabelWindow::recordChosen, m_panel, &DetailPanel::showRecord);
        connect(m_labelWindow, &LabelWindow::selectionError, this, &FrmLister::showSelectionError);
    }
    m_labelWindow->showBeside(*this);
}

void FrmLister::setKeyboardOrder()
{
    // Foc first; then the tab buttons and the quit button along the bottom; the controls of the
    // first page (the display options and the lists), the legends, and those of the other pages;
    // the detail boxes last. Tab skips whatever lies on a hidden page, so on every page but the
    // first the legends come before the page's own controls.
    std::vector<QWidget *> order{m_focusButton};
    for (const PageEntry &entry : m_pages)
        order.push_back(entry.tab);
    order.push_back(m_quitButton);
    const auto append = [&order](const std::vector<QWidget *> &stops) {
        order.insert(order.end(), stops.begin(), stops.end());
    };
    for (size_t i = 0; i < m_pages.size(); ++i) {
        append(m_pages[i].page->tabStops());
        if (i == 0)
            append(m_panel->legends());
    }
    append(m_panel->tabStops());
    for (size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

void FrmLister::load(QWidget *splash)
{
    if (splash)
        splash->close();
    setWindowTitle(QString::number(RecordCount) + u" KORVELAN"_s);
    // The first page is shown; the buttons of the others are lighter.
    for (size_t i = 1; i < m_pages.size(); ++i)
        m_pages[i].tab->setBackColour(colour::LightGrey);
    m_pages.front().page->show();
    for (size_t i = 1; i < m_pages.size(); ++i)
        m_pages[i].page->hide();
    m_aboutPage->fill(m_pictureStore->pixmap());
    startStep(T1Num, 20, m_services.startStep);
}

void FrmLister::fillNumberListStep()
{
    T1Num->setInterval(0);
    m_listPage->fillNumbers();
    m_panel->showRecord(1);
    startStep(T2Alpha, 200, m_services.startStep);
}

void FrmLister::fillAlphabeticalListStep()
{
    T2Alpha->setInterval(0);
    m_listPage->fillAlphabetical();
    startStep(TimDeb, 200, m_services.startStep);
}

void FrmLister::showWindowStep()
{
    TimDeb->setInterval(0);
    m_listPage->matchListHeights();

    const QSize screen = m_services.screenSize ? m_services.screenSize() : korvelan::screenSize();
    const QRect whole = windowPlace(m_heightMarker->geometry(), m_widthMarker->geometry(), screen);
    // On a screen too small for it, the window fits the screen and its content scrolls.
    const QRect available = m_services.screenSize ? QRect(QPoint(), screen) : availableScreenArea();
    QRect place = fitWindow(whole, available);
    if (place.size() != whole.size()) {
        place = fitWindow(QRect(place.topLeft(), scrollContents(this, whole.size(), clientRoom(available))), available);
        setKeyboardOrder(); // the controls moved into the scroll area keep their order
    }
    setFixedSize(place.size());
    move(place.topLeft());
    show();

    // A missing or unreadable document leaves its box empty, silently.
    for (const PageEntry &entry : m_pages)
        entry.page->windowShown(m_services.documentsFolder);
}

void FrmLister::endProgramStep()
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

void FrmLister::openPage(size_t shown)
{
    for (const PageEntry &entry : m_pages)
        entry.tab->setBackColour(colour::LightGrey);
    m_pages[shown].tab->setBackColour(colour::Silver);
    for (const PageEntry &entry : m_pages)
        entry.page->hide();
    Page *page = m_pages[shown].page;
    page->show();

    const bool choosesAdditives = page->choosesAdditives();
    m_panel->setTitleColour(choosesAdditives ? colour::Black : colour::Silver);
    if (choosesAdditives) {
        setWindowTitle(AppTitle);
        m_panel->clearWithGreyRisk();
    } else {
        m_panel->clear();
    }
    if (QWidget *focus = page->focusOnOpening())
        focus->setFocus();
    else
        m_focusButton->setFocus();
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
        m_services.boxes->show(MessageIcon::Question, AppTitle, u"        Quitter le programme ?                    "_s,
                               MessageButtons::YesNo);
    if (answer != MessageAnswer::No)
        TimEND->setInterval(500);
}

void FrmLister::onDownload()
{
    if (m_services.openUrl)
        m_services.openUrl(installerAddress());
    else
        openWebAddress(installerAddress());
    m_focusButton->setFocus();
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
        button && button != m_focusButton && isAncestorOf(button)) {
        button->click();
        return;
    }
    m_focusButton->click();
}

QString FrmLister::boxText(int k) const
{
    return m_panel->boxText(k);
}

} // namespace korvelan
