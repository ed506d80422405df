#include "frmlister.h"

#include "additive.h"
#include "constants.h"
#include "geometry.h"
#include "colouring.h"
#include "flaglists.h"
#include "listline.h"
#include "rownumber.h"
#include "suggestions.h"
#include "richtextview.h"
#include "webaddress.h"
#include "widgets.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace korvelan {
namespace {

constexpr quint32 kBackground = 0xE0E0E0; // window, pages, tab buttons not selected
constexpr quint32 kSelectedTab = 0xC0C0C0;
constexpr quint32 kButtonGrey = 0xE3DFE0;
constexpr quint32 kGrey = 0x808080;
constexpr quint32 kBlack = 0x000000;
constexpr quint32 kListBrown = 0x004080;

// The maker's site; the download address and the about page name it.
const QString kMakerSite = u"https://korvelan.example.org"_s;
const QString kMakerMail = u"contact@korvelan.example.org"_s;

// The window's outer size is read from two marker lines placed past its visible area. The frame
// that the desktop adds around the client area is allowed for at the usual width of a border and
// of a caption bar, so that the parked controls stay out of sight.
constexpr double kMarkerHeight = 10200, kMarkerWidth = 15060;
constexpr double kBorderTwips = 60, kCaptionTwips = 300;

struct TabPage {
    const char16_t *caption;
    const char16_t *tooltip;
};
constexpr std::array<TabPage, 4> kTabs = {{
    {u"Lister", u"Afficher la liste des additifs"},
    {u"Rechercher", u"Outil de recherche"},
    {u"Information", u"Informations sur les additifs"},
    {u"A propos", u"A propos du programme"},
}};

QString indexed(const char16_t *name, int i)
{
    return QString::fromUtf16(name) + u'(' + QString::number(i) + u')';
}

QListWidget *makeList(QWidget *parent, const QString &name, const QString &accessibleName, QRect geometry,
                      const QFont &font, quint32 colour)
{
    auto *list = new QListWidget(parent);
    list->setObjectName(name);
    list->setAccessibleName(accessibleName);
    list->setGeometry(geometry);
    list->setFont(font);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setSortingEnabled(false);
    list->setUniformItemSizes(true);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setTextElideMode(Qt::ElideNone);
    list->setWordWrap(false);
    QPalette palette = list->palette();
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Text, bgrColor(colour));
    list->setPalette(palette);
    chooseRowsWithKeys(list);
    return list;
}

ColourButton *makeButton(QWidget *parent, const QString &name, const QString &caption, const QString &tooltip,
                         QRect geometry, quint32 colour)
{
    auto *button = new ColourButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(geometry);
    button->setToolTip(tooltip);
    button->setAccessibleName(caption.trimmed());
    if (!tooltip.isEmpty())
        button->setAccessibleDescription(tooltip);
    button->setBackColour(colour);
    return button;
}

QPixmap aboutLogo(qreal devicePixelRatio)
{
    QPixmap logo = programPicture(u":/pictures/logo_about.png"_s, QSize(423, 47), devicePixelRatio);
    if (logo.isNull()) {
        logo = QPixmap(423, 47);
        logo.fill(bgrColor(kBackground));
    }
    return logo;
}

// The five lines of advice on the about page, each followed by a line break.
const QStringList kAdvice = {
    u"Conservez précieusement les fichiers d'installation de ce programme : ils vous"_s,
    u"seront nécessaires pour toute nouvelle installation (nouvel ordinateur, système réinstallé)."_s,
    u"Nous vous conseillons de télécharger dès maintenant le programme d'installation"_s,
    u"avec le bouton ci-dessus, puis de l'enregistrer sur un support amovible"_s,
    u"(CD-ROM, clé USB) que vous garderez en lieu sûr."_s,
};

// The program's icon, in the sizes the desktop asks for (the resources hold them as pictures).
QIcon programIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(u":/pictures/korvelan_%1.png"_s.arg(size), QSize(size, size));
    return icon;
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
    static const QUrl address(kMakerSite + u"/download/korvelan/Installer_les_korvelan.exe"_s);
    return address;
}

FrmLister::FrmLister(Services services, QWidget *parent)
    : QWidget(parent), T1Num(new OneShotTimer(u"T1Num"_s, this)), T2Alpha(new OneShotTimer(u"T2Alpha"_s, this)),
      TimDeb(new OneShotTimer(u"TimDeb"_s, this)), TimEND(new OneShotTimer(u"TimEND"_s, this)),
      m_services(std::move(services)), m_longestKeyword(longestKeyword(m_services.data->keywords))
{
    setObjectName(u"FrmLister"_s);
    // No accessible name of its own: a screen reader reads the title, which carries the count of a
    // flag list. A plain widget would be published as a mere pane; it is the program's window.
    static const bool windowRole = (QAccessible::installFactory(accessibleWindow), true);
    Q_UNUSED(windowRole);
    setWindowIcon(programIcon());
    setBackground(this, kBackground);
    buildWindow();

    connect(T1Num, &OneShotTimer::tick, this, &FrmLister::onT1Num);
    connect(T2Alpha, &OneShotTimer::tick, this, &FrmLister::onT2Alpha);
    connect(TimDeb, &OneShotTimer::tick, this, &FrmLister::onTimDeb);
    connect(TimEND, &OneShotTimer::tick, this, [this] {
        TimEND->setInterval(0);
        if (m_services.endProgram) {
            m_services.endProgram();
            return;
        }
        for (QWidget *window : QApplication::topLevelWidgets())
            window->hide();
        QCoreApplication::exit(0);
    });
}

FrmLister::~FrmLister()
{
    // Closing the window while it is destroyed moves the focus, to which the search field would
    // react; nothing of the window may react any more.
    for (QObject *child : findChildren<QObject *>())
        QObject::disconnect(child, nullptr, this, nullptr);
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
    connect(m_foc, &QPushButton::clicked, this, &FrmLister::onFoc);
    // Enter clicks the default button wherever the focus is in the window.
    for (int key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto *enter = new QShortcut(QKeySequence(key), this);
        connect(enter, &QShortcut::activated, this, &FrmLister::onEnter);
    }

    for (int i = 1; i <= 4; ++i) {
        auto *page = new QFrame(this);
        page->setObjectName(indexed(u"Fra", i));
        page->setGeometry(twipsRect(0, 0, 10395, 9195));
        page->setAccessibleName(u"Page "_s + QString::fromUtf16(kTabs[static_cast<size_t>(i - 1)].caption));
        setBackground(page, kBackground);
        m_fra[static_cast<size_t>(i)] = page;
    }
    buildListPage();
    buildSearchPage();

    m_rtb2 = new RichTextView(m_fra[3]);
    m_rtb2->setObjectName(u"Rtb2"_s);
    m_rtb2->setAccessibleName(u"Informations sur les additifs"_s);
    m_rtb2->setGeometry(twipsRect(180, 300, 10035, 8715));
    buildAboutPage();

    for (int i = 1; i <= 4; ++i) {
        const TabPage &tab = kTabs[static_cast<size_t>(i - 1)];
        ColourButton *button = makeButton(this, indexed(u"CmdOnglet", i), QString::fromUtf16(tab.caption),
                                          QString::fromUtf16(tab.tooltip),
                                          twipsRect(1620.0 * (i - 1), 9120, 1635, 555), kSelectedTab);
        connect(button, &QPushButton::clicked, this, [this, i] { onTab(i); });
        m_cmdOnglet[static_cast<size_t>(i)] = button;
    }
    m_cmdQuitte = makeButton(this, u"CmdQuitte"_s, u"Quitter "_s, u"Quitter le programme"_s,
                             twipsRect(8760, 9210, 1575, 465), kButtonGrey);
    connect(m_cmdQuitte, &QPushButton::clicked, this, &FrmLister::onQuitClicked);

    buildDetailPanel();

    m_imgM = new QLabel(this);
    m_imgM->setObjectName(u"ImgM"_s);
    m_imgM->setGeometry(twipsRect(12180, 10260, 6345, 705));
    m_imgM->setPixmap(aboutLogo(devicePixelRatio()));
    // The picture store and the two marker lines lie outside the visible area; hidden, they keep
    // their picture and geometry and stay out of the accessibility tree.
    m_imgM->hide();

    m_linHauteur = new QFrame(this);
    m_linHauteur->setObjectName(u"LinHauteur"_s);
    m_linHauteur->setFrameShape(QFrame::HLine);
    m_linHauteur->setGeometry(twipsRect(0, kMarkerHeight, 1500, 15));
    m_linLargeur = new QFrame(this);
    m_linLargeur->setObjectName(u"LinLargeur"_s);
    m_linLargeur->setFrameShape(QFrame::VLine);
    m_linLargeur->setGeometry(twipsRect(kMarkerWidth, 0, 15, 1500));
    m_linHauteur->hide();
    m_linLargeur->hide();

    setKeyboardOrder();
}

void FrmLister::setKeyboardOrder()
{
    // Foc first; then the tab buttons and the quit button along the bottom, the display options,
    // the lists, the legends, the search, the two documents and the download button; the detail
    // boxes last. Tab skips whatever lies on a hidden page.
    std::vector<QWidget *> order{m_foc};
    for (int i = 1; i <= 4; ++i)
        order.push_back(m_cmdOnglet[static_cast<size_t>(i)]);
    order.push_back(m_cmdQuitte);
    for (QToolButton *ring : m_imgD)
        order.push_back(ring);
    for (QWidget *list : {m_lstNumAdd, m_lstAlpha, m_lstTri})
        order.push_back(list);
    for (QToolButton *legend : m_imgInfo)
        order.push_back(legend);
    for (QWidget *search : std::initializer_list<QWidget *>{m_cbo2, m_lst12, m_cmdCherche, m_lstC})
        order.push_back(search);
    for (QWidget *about : std::initializer_list<QWidget *>{m_rtb2, m_rtb1, m_cmdTelecharger, m_label2, m_lblMail})
        order.push_back(about);
    // The detail boxes in reading order: left to right, row by row.
    for (int k : {1, 2, 3, 4, 16, 5, 12, 6, 7, 8, 9, 10, 11, 13, 14, 15})
        order.push_back(m_txtAdd[static_cast<size_t>(k)]);
    for (size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

void FrmLister::buildListPage()
{
    QFrame *page = m_fra[1];
    const QFont headingFont = programFont(FontFace::Arial, 9);
    const std::array<std::pair<const char16_t *, double>, 6> headings = {{
        {u"Numéro", 90}, {u"Nom", 1980}, {u"Catégorie", 4170}, {u"Risque", 6840}, {u"Autorisé UE", 7560},
        {u"Autorisé FR", 8760}}};
    for (size_t i = 0; i < headings.size(); ++i)
        makeLabel(page, indexed(u"LblLab", int(i)), QString::fromUtf16(headings[i].first),
                  twipsRect(headings[i].second, 180, 1500, 255), headingFont, kBlack);

    m_lstNumAdd = makeList(page, u"LstNumAdd"_s, u"Additifs par numéro"_s, twipsRect(60, 465, 10215, 7230),
                           listFont(), kListBrown);
    m_lstAlpha = makeList(page, u"LstAlpha"_s, u"Additifs par ordre alphabétique"_s,
                          twipsRect(60, 480, 10215, 6105), listFont(), kListBrown);
    m_lstAlpha->hide();
    m_lstTri = makeList(page, u"LstTri"_s, u"Additifs choisis par l'option d'affichage"_s,
                        twipsRect(60, 480, 10215, 6105), listFont(), 0xFF0000);
    m_lstTri->hide();
    for (QListWidget *list : {m_lstNumAdd, m_lstAlpha, m_lstTri})
        connectSelection(list);
    buildDisplayOptions();
}

void FrmLister::buildDisplayOptions()
{
    QFrame *page = m_fra[1];
    makeLabel(page, u"LblAd(14)"_s, u"Options d'affichage, trier en fonction de:"_s, twipsRect(120, 7860, 6000, 300),
              programFont(FontFace::Arial, 9, true), kBlack);
    struct Option {
        double left, top;
        int caption;
        const char16_t *text;
    };
    const std::array<Option, 8> options = {{
        {240, 8220, 14, u"Numéro d'additif"}, {2640, 8220, 15, u"Ordre alphabét."},
        {5040, 8220, 16, u"Autorisé dans l'UE"}, {7500, 8220, 18, u"Autorisé en France"},
        {240, 8640, 19, u"Autorisé en bio"}, {2640, 8640, 20, u"Autorisé nourrisson"},
        {5040, 8640, 21, u"D'origine animale"}, {7500, 8640, 22, u"Considéré halal"},
    }};
    const QIcon ring(u":/pictures/option_off.png"_s);
    const QPixmap mark = QIcon(u":/pictures/option_on.png"_s).pixmap(QSize(20, 20), devicePixelRatio());
    for (int i = 0; i < 8; ++i) {
        const Option &option = options[static_cast<size_t>(i)];
        const QString text = QString::fromUtf16(option.text);
        auto *image = new QToolButton(page);
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
                             u" QToolButton:focus { border: 1px dotted #000; }"_s);
        connect(image, &QToolButton::clicked, this, [this, i] { onImgD(i); });
        m_imgD[static_cast<size_t>(i)] = image;

        // The mark lies over its ring and lets clicks through to it, so choosing the option that is
        // already marked runs it again.
        auto *chosen = new QLabel(page);
        chosen->setObjectName(indexed(u"ImgB", i));
        chosen->setAccessibleName(u"Option choisie : "_s + text);
        chosen->setPixmap(mark);
        chosen->setGeometry(image->geometry());
        chosen->setAttribute(Qt::WA_TransparentForMouseEvents);
        chosen->setVisible(i == 0);
        m_imgB[static_cast<size_t>(i)] = chosen;

        auto *caption = makeLabel(page, indexed(u"LblLab", option.caption), text,
                                  twipsRect(option.left + 360, option.top + 15, 2040, 285),
                                  programFont(FontFace::Arial, 9), kBlack);
        caption->setBuddy(image);
    }
}

void FrmLister::connectSelection(QListWidget *list)
{
    // A move of the selection, by mouse or keyboard, shows the additive; so does a click on the row
    // that is already selected, which changes no selection.
    // A list that takes the focus from the Tab key makes its first row current without selecting
    // it: that is no choice of the user's, and shows nothing.
    connect(list, &QListWidget::itemSelectionChanged, this, [this, list] {
        if (!list->selectedItems().isEmpty())
            onListSelection(list);
    });
    list->viewport()->installEventFilter(this);
    connect(list, &QListWidget::clicked, this, [this, list](const QModelIndex &index) {
        if (m_rowAtPress.value(list->viewport(), -1) == index.row())
            onListSelection(list);
    });
}

bool FrmLister::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress)
        if (auto *list = qobject_cast<QListWidget *>(watched->parent()))
            m_rowAtPress[watched] = list->currentRow();
    return QWidget::eventFilter(watched, event);
}

void FrmLister::onListSelection(QListWidget *list)
{
    QListWidgetItem *item = list->currentItem();
    if (!item)
        return;
    const RowNumber number = rowRecordNumber(item->text());
    if (number.error == TypeMismatch)
        return; // a row without a number, such as a message row: nothing to show
    if (!number.ok()) {
        m_services.boxes->show(MessageIcon::Critical, SelectionErrorTitle.toString(),
                               selectionErrorText(number.error), MessageButtons::Ok);
        return;
    }
    showRecord(number.record);
}

void FrmLister::onImgD(int i)
{
    const std::optional<DisplayOption> option = displayOption(i);
    if (!option)
        return;
    for (QLabel *mark : m_imgB)
        mark->hide();
    m_imgB[static_cast<size_t>(i)]->show();
    for (size_t ring = 0; ring < m_imgD.size(); ++ring)
        m_imgD[ring]->setChecked(ring == static_cast<size_t>(i));
    for (int k = 1; k <= 17; ++k)
        setBoxText(k, QString());

    m_lstAlpha->setVisible(option->list == ShownList::Alphabetical);
    m_lstNumAdd->setVisible(option->list == ShownList::Numbers);
    if (option->list != ShownList::Flags) {
        m_lstTri->hide();
        showRecord(option->panelRecord);
    } else {
        // The flag list is built anew on each choice, in one pass over the table.
        m_lstTri->clear();
        m_lstTri->show();
        QPalette palette = m_lstTri->palette();
        palette.setColor(QPalette::Text, bgrColor(option->listColour));
        m_lstTri->setPalette(palette);
        const AdditiveTable &table = m_services.data->additives;
        const FlagList records = buildFlagList(table, option->field);
        m_lstTri->addItems(listLines(table, records));
        showRecord(option->panelRecord);
        setWindowTitle(flagListTitle(int(records.size()), option->titleSuffix));
        m_lstTri->show();
    }
    m_foc->setFocus();
}

void FrmLister::buildSearchPage()
{
    QFrame *page = m_fra[2];
    const QFont font = programFont(FontFace::Arial, 9);
    const std::array<std::pair<int, double>, 6> headings = {{{10, 90}, {11, 1200}, {9, 4170}, {8, 6840}, {7, 7560},
                                                              {6, 8760}}};
    const std::array<const char16_t *, 6> headingTexts = {u"Numéro", u"Nom", u"Catégorie", u"Risque",
                                                          u"Autorisé UE", u"Autorisé FR"};
    for (size_t i = 0; i < headings.size(); ++i)
        makeLabel(page, indexed(u"LblLab", headings[i].first), QString::fromUtf16(headingTexts[i]),
                  twipsRect(headings[i].second, 180, 1500, 255), font, kBlack);

    m_lstC = makeList(page, u"LstC"_s, u"Additifs trouvés"_s, twipsRect(60, 465, 10215, 4305), listFont(),
                      kListBrown);
    connectSelection(m_lstC);
    m_lblAd[15] = makeLabel(page, u"LblAd(15)"_s, u"Recherche par mot clé:"_s, twipsRect(60, 4920, 2775, 345),
                            programFont(FontFace::Arial, 12, true), kBlack);
    m_lblAd[16] = makeLabel(page, u"LblAd(16)"_s,
                            u"saisir un mot dans la zone de texte puis cliquer sur un des éléments de la liste."_s,
                            twipsRect(2820, 4980, 7455, 285), font, kBlack);

    m_cbo2 = new QComboBox(page);
    m_cbo2->setObjectName(u"Cbo2"_s);
    // A screen reader reads the word typed as the combo box's name, and its caption as its label.
    m_lblAd[15]->setBuddy(m_cbo2);
    m_cbo2->setAccessibleName(u"Mot clé à rechercher"_s);
    m_cbo2->setEditable(true);
    m_cbo2->setInsertPolicy(QComboBox::NoInsert);
    m_cbo2->setCompleter(nullptr); // the word is what the user types, never completed behind their back
    m_cbo2->setFont(programFont(FontFace::Arial, 18));
    setTextColour(m_cbo2, 0x000080);
    m_cbo2->setGeometry(twipsRect(1020, 5400, 3615, 480));

    m_lst12 = makeList(page, u"Lst12"_s, u"Mots clés proposés"_s, twipsRect(5700, 5400, 3615, 3675),
                       programFont(FontFace::CourierNew, 18), kBlack);

    m_cmdCherche = makeButton(page, u"CmdCherche"_s, u"Rechercher"_s, u"Lancer la recherche"_s,
                              twipsRect(1680, 6060, 2235, 495), kButtonGrey);
    m_cmdCherche->setEnabled(false);
    connect(m_cmdCherche, &QPushButton::clicked, this, &FrmLister::onCmdCherche);

    m_lblResultat = makeLabel(page, u"LblResultat"_s, QString(), twipsRect(900, 6720, 3855, 375),
                              programFont(FontFace::Arial, 12, true), 0x0080FF);
    // Its text is what a screen reader reads, and announces when it changes.
    m_lblResultat->setAccessibleDescription(u"Résultat de la recherche"_s);
    makeLabel(page, u"LblLab(12)"_s, u"Remarque: un seul mot clé est autorisé."_s, twipsRect(660, 7200, 4335, 315),
              font, 0x404040);

    // Typing changes the text; the program's own changes go through setCbo2Text, which runs the
    // same reaction at once.
    connect(m_cbo2, &QComboBox::editTextChanged, this, [this] { onCbo2TextChanged(); });
    connect(m_cbo2, &QComboBox::activated, this, [this] { onHistoryChosen(); });
    // A suggestion is chosen by selecting it: a click, the arrows, Home, End, or Space on the
    // current row. The choice rebuilds the list with nothing selected, so every later click or
    // arrow selects anew. Taking the focus with Tab only makes the first row current: it chooses
    // nothing, or Tab could never get past the list, each search sending the focus back to the word;
    // the first arrow then chooses that row.
    connect(m_lst12, &QListWidget::itemSelectionChanged, this, [this] {
        const QList<QListWidgetItem *> chosen = m_lst12->selectedItems();
        if (!chosen.isEmpty() && !m_fillingSuggestions)
            onSuggestionChosen(chosen.first());
    });
}

void FrmLister::buildAboutPage()
{
    QFrame *page = m_fra[4];
    m_imgLogo = new QLabel(page);
    m_imgLogo->setObjectName(u"ImgLogo"_s);
    m_imgLogo->setGeometry(twipsRect(360, 300, 6345, 705));
    m_imgLogo->setAccessibleName(u"Les KORVELAN"_s);

    // The three grey lines reach to the page's right edge so that the addresses are read whole.
    const QFont grey = programFont(FontFace::Arial, 8);
    m_lblNversion = makeLabel(page, u"LblNversion"_s, QString(), twipsRect(7020, 300, 3315, 255), grey, kGrey);
    // The addresses can be selected, with the mouse or from the keyboard, to be copied.
    m_label2 = makeLabel(page, u"Label2"_s, kMakerSite, twipsRect(7020, 600, 3315, 255), grey, kGrey);
    m_label2->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_lblMail = makeLabel(page, u"LblMail"_s, u"Contact: "_s + kMakerMail, twipsRect(7020, 900, 3315, 255), grey,
                          kGrey);
    m_lblMail->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);

    m_rtb1 = new RichTextView(page);
    m_rtb1->setObjectName(u"Rtb1"_s);
    m_rtb1->setAccessibleName(u"Licence et crédits"_s);
    m_rtb1->setGeometry(twipsRect(240, 1440, 9915, 5295));

    ColourButton *download = m_cmdTelecharger =
        makeButton(page, u"CmdTelecharger"_s, u"Télécharger le programme d'installation   "_s, QString(),
                   twipsRect(2160, 6840, 6075, 705), kButtonGrey);
    download->setAccessibleDescription(u"Ouvre l'adresse de téléchargement dans le navigateur"_s);
    connect(download, &QPushButton::clicked, this, &FrmLister::onDownload);

    m_lblInfo = makeLabel(page, u"LblInfo"_s, QString(), twipsRect(0, 7680, 10395, 1515),
                          programFont(FontFace::Arial, 12), kBlack, Qt::AlignHCenter | Qt::AlignVCenter);
    m_lblInfo->setAutoFillBackground(true);
    QPalette palette = m_lblInfo->palette();
    palette.setColor(QPalette::Window, Qt::white);
    m_lblInfo->setPalette(palette);
}

void FrmLister::buildDetailPanel()
{
    auto *ground = new QLabel(this);
    ground->setObjectName(u"LblFond"_s);
    ground->setGeometry(twipsRect(10440, 90, 4455, 9675));
    ground->setAutoFillBackground(true);
    QPalette palette = ground->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::Base));
    ground->setPalette(palette);

    m_lbl6 = makeLabel(this, u"Lbl(6)"_s, u"FICHE DE L'ADDITIF "_s, twipsRect(10920, 180, 2415, 315),
                       programFont(FontFace::Arial, 12, true), kBlack);
    setBackground(m_lbl6, kBackground); // its own grey over the white ground of the panel

    struct Box {
        int k;
        double left, top, width, height;
        FontFace face;
        double points;
        bool bold;
        quint32 colour;
        const char16_t *accessibleName;
    };
    const std::array<Box, 17> boxes = {{
        {1, 13380, 135, 1095, 315, FontFace::Arial, 14.25, true, 0x0000FF, u"Numéro"},
        {2, 10500, 540, 4335, 855, FontFace::Verdana, 12, true, 0xFF0000, u"Nom"},
        {3, 10500, 1650, 4335, 645, FontFace::Arial, 12, false, kBlack, u"Catégorie"},
        {4, 10500, 2520, 4335, 1185, FontFace::Arial, 12, false, kBlack, u"Synonymes"},
        {5, 12000, 4080, 1335, 345, FontFace::Arial, 12, false, kBlack, u"DJA"},
        {6, 10680, 4740, 1335, 345, FontFace::Arial, 12, false, kBlack, u"Autorisé UE"},
        {7, 12000, 4740, 1335, 345, FontFace::Arial, 12, false, kBlack, u"Autorisé FR"},
        {8, 13320, 4740, 1335, 345, FontFace::Arial, 12, false, kBlack, u"Autorisé AB"},
        {9, 10680, 5400, 1335, 345, FontFace::Arial, 12, false, kBlack, u"Origine AN"},
        {10, 12000, 5400, 1335, 345, FontFace::Arial, 12, false, kBlack, u"Autorisé BB"},
        {11, 13320, 5400, 1335, 345, FontFace::Arial, 12, false, kBlack, u"Halal"},
        {12, 13320, 4080, 1335, 345, FontFace::Arial, 12, false, kBlack, u"Naturel ou chimique"},
        {13, 10500, 6090, 4335, 885, FontFace::Arial, 12, false, kBlack, u"Utilisation"},
        {14, 10500, 7290, 4335, 885, FontFace::Arial, 12, false, kBlack, u"Groupes à risques"},
        {15, 10500, 8490, 4335, 1185, FontFace::Arial, 12, false, 0x000080, u"Symptômes"},
        {16, 10680, 4080, 1335, 345, FontFace::Verdana, 12, true, 0x0000FF, u"Risque"},
        {17, 13500, 7920, 675, 345, FontFace::Arial, 12, false, kBlack, u"Numéro d'ordre"},
    }};
    for (const Box &box : boxes) {
        QWidget *widget;
        if (box.height > 400) {
            auto *text = new QPlainTextEdit(this);
            text->setReadOnly(true);
            text->setLineWrapMode(QPlainTextEdit::WidgetWidth);
            text->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
            text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            text->document()->setDocumentMargin(2);
            widget = text;
        } else {
            auto *line = new QLineEdit(this);
            line->setReadOnly(true);
            line->setAlignment(box.width < 1400 ? Qt::AlignHCenter : Qt::AlignLeft);
            widget = line;
        }
        widget->setObjectName(indexed(u"TxtADD", box.k));
        widget->setAccessibleName(QString::fromUtf16(box.accessibleName));
        widget->setGeometry(twipsRect(box.left, box.top, box.width, box.height));
        widget->setFont(programFont(box.face, box.points, box.bold));
        QPalette palette = widget->palette();
        palette.setColor(QPalette::Base, Qt::white);
        palette.setColor(QPalette::Text, bgrColor(box.colour));
        widget->setPalette(palette);
        m_txtAdd[static_cast<size_t>(box.k)] = widget;
    }
    m_txtAdd[17]->hide(); // holds the number of the record shown; never visible

    struct Caption {
        int i;
        const char16_t *text;
        double left, top, width;
    };
    const std::array<Caption, 14> captions = {{
        {0, u"Catégorie:", 10500, 1380, 4335}, {1, u"Synonymes:", 10500, 2220, 4335},
        {2, u"Risque", 10680, 3780, 1335},     {3, u"DJA", 12000, 3780, 1335},
        {4, u"Naturel/Chim.", 13320, 3780, 1335}, {5, u"Autorisé UE", 10680, 4440, 1335},
        {6, u"Autorisé FR", 12000, 4440, 1335}, {7, u"Autorisé AB", 13320, 4440, 1335},
        {8, u"Origine AN", 10680, 5100, 1335},  {9, u"Autorisé BB", 12000, 5100, 1335},
        {10, u"Halal", 13320, 5100, 1335},      {11, u"Utilisation:", 10500, 5820, 4335},
        {12, u"Groupes à risques:", 10500, 7020, 4335}, {13, u"Symptômes:", 10500, 8220, 4335},
    }};
    for (const Caption &caption : captions) {
        const bool small = caption.width < 1400;
        m_lblAd[static_cast<size_t>(caption.i)] =
            makeLabel(this, indexed(u"LblAd", caption.i), QString::fromUtf16(caption.text),
                      twipsRect(caption.left, caption.top, caption.width, 300),
                      programFont(FontFace::Arial, caption.i == 4 ? 11.25 : 12), kGrey,
                      small ? Qt::AlignHCenter | Qt::AlignTop : Qt::AlignLeft | Qt::AlignTop);
    }
    m_lbl6->raise();

    // The question marks at the right end of the captions "Risque" and "DJA" open the legends.
    const QIcon info(u":/pictures/info.png"_s);
    const std::array<std::pair<int, const char16_t *>, 2> legends = {{{2, u"Légende des classes de risque"},
                                                                      {3, u"Légende de la DJA"}}};
    for (int i = 0; i < 2; ++i) {
        QLabel *caption = m_lblAd[static_cast<size_t>(legends[static_cast<size_t>(i)].first)];
        const int textWidth = caption->fontMetrics().horizontalAdvance(caption->text());
        auto *image = new QToolButton(this);
        image->setObjectName(indexed(u"ImgInfo", i));
        image->setToolTip(u"Plus d'informations"_s);
        image->setAccessibleName(QString::fromUtf16(legends[static_cast<size_t>(i)].second));
        image->setAccessibleDescription(u"Plus d'informations"_s);
        image->setIcon(info);
        image->setIconSize(QSize(13, 15));
        image->setAutoRaise(true);
        image->setCursor(Qt::PointingHandCursor);
        image->setStyleSheet(u"QToolButton { border: none; padding: 0; } QToolButton:focus { border: 1px dotted #000; }"_s);
        image->setGeometry(caption->x() + (caption->width() + textWidth) / 2 + 3, caption->y() + 2, 15, 17);
        connect(image, &QToolButton::clicked, this, [this, i] { onImgInfo(i); });
        m_imgInfo[static_cast<size_t>(i)] = image;
    }
}

void FrmLister::onImgInfo(int i)
{
    m_services.boxes->show(MessageIcon::None, AppTitle, i == 0 ? riskLegendText() : dailyIntakeLegendText(),
                           MessageButtons::Ok);
}

void FrmLister::onBoxTextChanged(int k)
{
    if (k == 6 || k == 7) {
        setTextColour(m_txtAdd[static_cast<size_t>(k)], authorisationColour(boxText(k)));
    } else if (k == 16) {
        const RiskColours colours = riskColours(boxText(16));
        if (colours.caption)
            setTextColour(m_lblAd[2], *colours.caption);
        setTextColour(m_txtAdd[16], colours.box);
    }
}

void FrmLister::load(QWidget *splash)
{
    if (splash)
        splash->close();
    setWindowTitle(QString::number(RecordCount) + u" KORVELAN"_s);
    for (int i = 2; i <= 4; ++i)
        m_cmdOnglet[static_cast<size_t>(i)]->setBackColour(kBackground);
    m_imgLogo->setPixmap(m_imgM->pixmap());
    m_fra[1]->show();
    for (int i = 2; i <= 4; ++i)
        m_fra[static_cast<size_t>(i)]->hide();
    m_lblNversion->setText(u"Version "_s + AppVersion + u" \u2013 additifs alimentaires"_s);
    QString advice;
    for (const QString &line : kAdvice)
        advice += line + LineBreak;
    m_lblInfo->setText(advice.replace(LineBreak, u"\n"_s).trimmed());
    m_lblInfo->setAccessibleDescription(m_lblInfo->text());
    T1Num->setInterval(20);
}

void FrmLister::onT1Num()
{
    T1Num->setInterval(0);
    const AdditiveTable &table = m_services.data->additives;
    QStringList rows;
    rows.reserve(RecordCount);
    for (qint16 r = 1; r <= qint16(RecordCount); ++r)
        rows.append(ListLine(table.record(r)));
    m_lstNumAdd->addItems(rows);
    showRecord(1);
    T2Alpha->setInterval(200);
}

void FrmLister::onT2Alpha()
{
    T2Alpha->setInterval(0);
    const AdditiveTable &table = m_services.data->additives;
    QStringList rows;
    rows.reserve(RecordCount);
    for (qint16 p = 1; p <= qint16(RecordCount); ++p) {
        // The alphabetical order is the data's: row p shows the record that field 18 of record p
        // names. A value that names no slot of the table is passed over rather than shown.
        bool isNumber = false;
        const int j = table.field(AlphaOrder, p).trimmed().toInt(&isNumber);
        if (!isNumber || !AdditiveTable::isSlot(j))
            continue;
        rows.append(ListLine(table.record(j)));
    }
    m_lstAlpha->addItems(rows);
    TimDeb->setInterval(200);
}

void FrmLister::onTimDeb()
{
    TimDeb->setInterval(0);
    m_lstAlpha->resize(m_lstAlpha->width(), m_lstNumAdd->height());
    m_lstTri->resize(m_lstTri->width(), m_lstNumAdd->height());

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
    m_rtb1->loadFile(AppFolder.handle(), u"Licence.rtf"_s);
    m_rtb2->loadFile(AppFolder.handle(), u"Resume.rtf"_s);
}

void FrmLister::onTab(int i)
{
    for (int t = 1; t <= 4; ++t)
        m_cmdOnglet[static_cast<size_t>(t)]->setBackColour(kBackground);
    m_cmdOnglet[static_cast<size_t>(i)]->setBackColour(kSelectedTab);
    for (int t = 1; t <= 4; ++t)
        m_fra[static_cast<size_t>(t)]->hide();
    m_fra[static_cast<size_t>(i)]->show();

    const bool listOrSearch = i == 1 || i == 2;
    setTextColour(m_lbl6, listOrSearch ? kBlack : kSelectedTab);
    if (listOrSearch)
        setWindowTitle(AppTitle);
    for (int k = 1; k <= 17; ++k)
        setBoxText(k, QString());
    if (listOrSearch)
        setTextColour(m_lblAd[2], kGrey);
    if (i == 2)
        m_cbo2->setFocus();
    else
        m_foc->setFocus();
}

void FrmLister::onQuitClicked()
{
    m_foc->setFocus();
    close();
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

void FrmLister::setCbo2Text(const QString &text)
{
    {
        // The drop-down list's current entry follows the text, so that leaving the field is not
        // taken for the choice of a history word.
        // Setting the index writes the entry's text into the field (the empty text for none), so
        // it is set only when it moves.
        const QSignalBlocker quiet(m_cbo2);
        const int entry = m_cbo2->findText(text, Qt::MatchFixedString | Qt::MatchCaseSensitive);
        if (entry != m_cbo2->currentIndex())
            m_cbo2->setCurrentIndex(entry);
        m_cbo2->setEditText(text);
    }
    onCbo2TextChanged();
}

void FrmLister::onCbo2TextChanged()
{
    const QString text = m_cbo2->currentText();
    setTxt2Text(text.toLower());
    m_lblResultat->clear();
    m_cmdCherche->setEnabled(text.size() >= 2);

    // Each disallowed character is reported once, in the order of the text, then taken out of the
    // whole text; taking it out is itself a change of the word, whose reaction reports the next
    // one, until only allowed characters are left. One pass finds all the characters, and each
    // step costs only its own occurrences. Writing a text into the field costs time in proportion
    // to its length, so the field gets the word once, when the last character is out; the
    // reactions in between show what depends on the word left: the button, and the suggestions,
    // which only a word no longer than a keyword can have.
    DisallowedRemoval removal(text);
    if (removal.finished())
        return;
    for (;;) {
        m_services.boxes->show(MessageIcon::Information, AppTitle, disallowedCharacterMessage(),
                               MessageButtons::Ok);
        removal.removeNext();
        if (removal.finished())
            break;
        const qsizetype length = removal.length();
        rebuildSuggestions(length <= m_longestKeyword ? removal.head(length).toLower() : QString());
        m_lblResultat->clear();
        m_cmdCherche->setEnabled(length >= 2);
    }
    setCbo2Text(removal.text());
    m_cbo2->lineEdit()->end(false);
}

void FrmLister::onHistoryChosen()
{
    // A word from the history passed the input check when it was searched: no check here.
    m_cmdCherche->setEnabled(true);
    m_lblResultat->clear();
    setTxt2Text(m_cbo2->currentText().toLower());
}

// Txt2 holds the search word in small letters, and only the suggestions read it: a change of it
// is the rebuild of the suggestions. It is never shown, so it is no text box, which would lay out
// every text it is given.
void FrmLister::setTxt2Text(const QString &text)
{
    rebuildSuggestions(text);
}

void FrmLister::rebuildSuggestions(QStringView text)
{
    QStringList rows;
    for (QStringView word : SuggestKeywords(text, m_services.data->keywords))
        rows.append(word.toString());
    if (rows.isEmpty() && m_lst12->count() == 0)
        return; // empty it stays: no need to empty it again
    m_fillingSuggestions = true;
    m_lst12->clear();
    m_lst12->addItems(rows);
    m_lst12->setCurrentRow(-1);
    m_fillingSuggestions = false;
}

void FrmLister::onSuggestionChosen(QListWidgetItem *item)
{
    if (m_fillingSuggestions || !item)
        return;
    const QString keyword = item->text(); // the list is rebuilt by what follows
    setCbo2Text(keyword);
    onCmdCherche();
}

void FrmLister::onCmdCherche()
{
    m_lstC->clear();
    m_cmdCherche->setEnabled(false);
    const QString word = m_cbo2->currentText();

    QStringList entries;
    for (int i = 0; i < m_cbo2->count(); ++i)
        entries.append(m_cbo2->itemText(i));
    const SearchHistory::Update update = m_history.record(word, entries);
    if (update.outcome == SearchHistory::Outcome::Added) {
        const QSignalBlocker quiet(m_cbo2);
        m_cbo2->clear();
        m_cbo2->addItems(update.list);
    }
    setCbo2Text(word);

    const AdditiveTable &table = m_services.data->additives;
    const SearchResult result = searchKeywords(word, table);
    m_lstC->addItems(result.rows);
    if (!result.records.isEmpty()) {
        showRecord(result.records.first());
        m_lblResultat->setText(resultCaption(int(result.records.size())));
    } else {
        m_lblResultat->setText(resultCaption(0));
        for (int k = 1; k <= 17; ++k) {
            setBoxText(k, QString());
            setTextColour(m_lblAd[2], kGrey);
        }
    }
    m_cmdCherche->setEnabled(false);
    m_cbo2->setFocus();
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

void FrmLister::onFoc()
{
    // Enter searches on the search page once the word has two characters; elsewhere it does nothing.
    if (m_fra[2]->isVisible() && m_cbo2->currentText().size() >= 2)
        onCmdCherche();
}

QString FrmLister::boxText(int k) const
{
    if (k < 1 || k > 17)
        return {};
    QWidget *box = m_txtAdd[static_cast<size_t>(k)];
    if (auto *line = qobject_cast<QLineEdit *>(box))
        return line->text();
    return static_cast<QPlainTextEdit *>(box)->toPlainText();
}

void FrmLister::setBoxText(int k, const QString &text)
{
    QWidget *box = m_txtAdd[static_cast<size_t>(k)];
    if (auto *line = qobject_cast<QLineEdit *>(box)) {
        line->setText(text);
        line->setCursorPosition(0);
    } else {
        static_cast<QPlainTextEdit *>(box)->setPlainText(text);
    }
    onBoxTextChanged(k);
}

void FrmLister::showRecord(int r)
{
    const AdditiveTable &table = m_services.data->additives;
    for (int k = 1; k <= 17; ++k)
        setBoxText(k, table.field(k, r).toString());
}

} // namespace korvelan
