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
    for (RecordList *list : recordLists())
        ours.push_back(list);
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
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_L), this), &QShortcut::activated, this,
            &FrmLister::openLabelWindow);

    const ProgramData &data = *m_services.data;
    m_fra[1] = m_listPage = new ListPage(data, tabCaption(1), this);
    m_fra[2] = m_searchPage = new SearchPage(data, *m_services.boxes, tabCaption(2), this);
    m_fra[3] = m_informationPage = new InformationPage(tabCaption(3), this);
    m_fra[4] = m_aboutPage = new AboutPage(tabCaption(4), this);

    const Controls buttons = buildWindowButtons(this);
    for (int i = 1; i <= 4; ++i)
        m_cmdOnglet[static_cast<size_t>(i)] = buttons.get<ColourButton>(indexed(u"CmdOnglet", i));
    m_cmdQuitte = buttons.get<ColourButton>(u"CmdQuitte"_s);
    m_panel = new DetailPanel(data.additives, this);

    const Controls parked = buildParkedControls(this);
    m_imgM = parked.get<QLabel>(u"ImgM"_s);
    m_linHauteur = parked.get(u"LinHauteur"_s);
    m_linLargeur = parked.get(u"LinLargeur"_s);
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
    for (RecordList *list : recordLists()) {
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

std::vector<RecordList *> FrmLister::recordLists() const
{
    std::vector<RecordList *> lists = m_listPage->recordLists();
    lists.push_back(m_searchPage->results());
    return lists;
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

    const QSize screen = m_services.screenSize ? m_services.screenSize() : korvelan::screenSize();
    const QRect whole = windowPlace(m_linHauteur->geometry(), m_linLargeur->geometry(), screen);
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
