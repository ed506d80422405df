#include "constants.h"
#include "listerfixture.h"
#include "listline.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QMap>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextDocument>

#include <algorithm>

using namespace korvelan;
using namespace Qt::StringLiterals;

namespace {

// Notes how full the two lists were when the window first became visible.
struct ShowWatcher : QObject {
    QListWidget *numbers = nullptr;
    QListWidget *alphabetical = nullptr;
    int numbersAtShow = -1, alphabeticalAtShow = -1;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Show && numbersAtShow < 0) {
            numbersAtShow = numbers->count();
            alphabeticalAtShow = alphabetical->count();
        }
        return false;
    }
};

quint32 backColour(const ListerFixture &f, int i)
{
    return f.find<ColourButton>(u"CmdOnglet(%1)"_s.arg(i))->backColour();
}

} // namespace

class TestFrmLister : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void opensLaidOutWithBothListsFilled();
    void listsFollowTheDataOrder();
    void tabs_data();
    void tabs();
    void titleStaysFromSearchToInformation();
    void quit_data();
    void quit();
    void missingDocumentLeavesItsBoxEmpty();
    void downloadOpensTheInstallerAddress();
    void enterDoesNothingOnTheListPage();
    void panelTitleOnItsOwnGround();
    void fitsTheScreen_data();
    void fitsTheScreen();

private:
    QTemporaryDir m_folder;
    Folder m_documents;
};

void TestFrmLister::initTestCase()
{
    // The documents come from the folder the program started in: here one holding only Resume.rtf.
    QVERIFY(QFile::copy(QStringLiteral(KORVELAN_DOCS_DIR) + u"/Resume.rtf"_s, m_folder.filePath(u"Resume.rtf"_s)));
    m_documents = m_folder.path();
    ListerFixture::documentsFolder = m_documents.handle();
}

void TestFrmLister::opensLaidOutWithBothListsFilled()
{
    ListerFixture f;
    ShowWatcher watcher;
    watcher.numbers = f.list(u"LstNumAdd"_s);
    watcher.alphabetical = f.list(u"LstAlpha"_s);
    f.window->installEventFilter(&watcher);
    f.window->load(nullptr);
    QVERIFY(!f.window->isVisible());
    QCOMPARE(f.window->windowTitle(), u"692 KORVELAN"_s);
    QTRY_VERIFY_WITH_TIMEOUT(f.window->isVisible(), 5000);

    QCOMPARE(watcher.numbersAtShow, RecordCount);
    QCOMPARE(watcher.alphabeticalAtShow, RecordCount);
    // 15060 by 10200 twips (1004 by 680 pixels) outside, centred on a 1920 by 1080 screen.
    QCOMPARE(f.window->pos(), QPoint(458, 200));
    QVERIFY(f.window->width() <= 1004 && f.window->height() <= 680);
    QVERIFY(f.window->rect().contains(f.find<QWidget>(u"LblFond"_s)->geometry()));
    QVERIFY(!f.window->rect().intersects(f.find<QWidget>(u"Foc"_s)->geometry()));
    QVERIFY(f.find<QWidget>(u"Fra(1)"_s)->isVisible());
    for (const QString &page : {u"Fra(2)"_s, u"Fra(3)"_s, u"Fra(4)"_s})
        QVERIFY(!f.find<QWidget>(page)->isVisible());
    QCOMPARE(backColour(f, 1), 0xC0C0C0u);
    for (int i = 2; i <= 4; ++i)
        QCOMPARE(backColour(f, i), 0xE0E0E0u);
    QCOMPARE(f.window->boxText(1), u"r1f1"_s);
    QCOMPARE(f.window->boxText(17), u"1"_s);
    QVERIFY(f.list(u"LstNumAdd"_s)->selectedItems().isEmpty());
    QVERIFY(f.list(u"LstAlpha"_s)->selectedItems().isEmpty());
    QVERIFY(!f.find<QWidget>(u"LstAlpha"_s)->isVisible());
    QCOMPARE(f.list(u"LstAlpha"_s)->height(), f.list(u"LstNumAdd"_s)->height());
    QVERIFY(f.find<QLabel>(u"LblNversion"_s)->text().startsWith(u"Version 1.00"_s));
    QVERIFY(f.boxes.boxes.isEmpty());
}

void TestFrmLister::listsFollowTheDataOrder()
{
    // Field 18 of the fixture reverses the records; one value names no slot and is passed over.
    QList<QByteArray> lines = fixtures::databaseLines(RecordCount);
    lines[2].replace("$690$", "$x$");
    ListerFixture f(fixtures::joinLines(lines));
    QVERIFY(f.open());
    const AdditiveTable &table = f.data.additives;
    QCOMPARE(f.list(u"LstNumAdd"_s)->count(), RecordCount);
    QCOMPARE(f.row(u"LstNumAdd"_s, 0), ListLine(table.record(1)));
    QCOMPARE(f.row(u"LstNumAdd"_s, 691), ListLine(table.record(692)));
    QCOMPARE(f.list(u"LstAlpha"_s)->count(), RecordCount - 1);
    QCOMPARE(f.row(u"LstAlpha"_s, 0), ListLine(table.record(692)));
    QCOMPARE(f.row(u"LstAlpha"_s, 1), ListLine(table.record(691)));
    QCOMPARE(f.row(u"LstAlpha"_s, 2), ListLine(table.record(689)));
}

// One row per tab button: what the window shows after it is clicked.
void TestFrmLister::tabs_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<QColor>("headingColour");
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("captionGrey");
    QTest::addColumn<QString>("focus");
    QTest::newRow("list") << 1 << QColor(0, 0, 0) << u"Les KORVELAN"_s << true << u"Foc"_s;
    QTest::newRow("search") << 2 << QColor(0, 0, 0) << u"Les KORVELAN"_s << true << u"Cbo2"_s;
    QTest::newRow("information") << 3 << QColor(192, 192, 192) << u"692 KORVELAN"_s << false << u"Foc"_s;
    QTest::newRow("about") << 4 << QColor(192, 192, 192) << u"692 KORVELAN"_s << false << u"Foc"_s;
}

void TestFrmLister::tabs()
{
    QFETCH(int, tab);
    QFETCH(QColor, headingColour);
    QFETCH(QString, title);
    QFETCH(bool, captionGrey);
    QFETCH(QString, focus);

    ListerFixture f;
    QVERIFY(f.open());
    auto *numbers = f.list(u"LstNumAdd"_s);
    numbers->setCurrentRow(5);
    // The caption "Risque" red, as a class-4 additive leaves it; the list and information tabs set it grey.
    QPalette red = f.find<QLabel>(u"LblAd(2)"_s)->palette();
    red.setColor(QPalette::WindowText, QColor(255, 0, 0));
    f.find<QLabel>(u"LblAd(2)"_s)->setPalette(red);

    for (int round = 0; round < 2; ++round) { // clicking the tab already shown runs it again in full
        QTest::mouseClick(f.find<ColourButton>(u"CmdOnglet(%1)"_s.arg(tab)), Qt::LeftButton);
        for (int i = 1; i <= 4; ++i) {
            QCOMPARE(backColour(f, i), i == tab ? 0xC0C0C0u : 0xE0E0E0u);
            QCOMPARE(f.find<QWidget>(u"Fra(%1)"_s.arg(i))->isVisible(), i == tab);
        }
        QCOMPARE(f.textColour(u"Lbl(6)"_s), headingColour);
        QCOMPARE(f.window->windowTitle(), title);
        for (int k = 1; k <= 17; ++k)
            QVERIFY(f.window->boxText(k).isEmpty());
        QCOMPARE(f.textColour(u"LblAd(2)"_s), captionGrey ? QColor(128, 128, 128) : QColor(255, 0, 0));
        QVERIFY2(f.find<QWidget>(focus)->hasFocus(), qPrintable(focus));
    }
    // The lists keep their rows and their selection.
    QCOMPARE(numbers->count(), RecordCount);
    QCOMPARE(numbers->currentRow(), 5);
}

void TestFrmLister::titleStaysFromSearchToInformation()
{
    ListerFixture f;
    QVERIFY(f.open());
    QTest::mouseClick(f.find<ColourButton>(u"CmdOnglet(2)"_s), Qt::LeftButton);
    QTest::mouseClick(f.find<ColourButton>(u"CmdOnglet(3)"_s), Qt::LeftButton);
    QCOMPARE(f.window->windowTitle(), u"Les KORVELAN"_s);
    QTest::mouseClick(f.find<ColourButton>(u"CmdOnglet(1)"_s), Qt::LeftButton);
    QCOMPARE(f.textColour(u"Lbl(6)"_s), QColor(0, 0, 0));
}

void TestFrmLister::quit_data()
{
    QTest::addColumn<bool>("fromButton");
    QTest::addColumn<bool>("yes");
    QTest::newRow("button, No") << true << false;
    QTest::newRow("button, Yes") << true << true;
    QTest::newRow("close box, No") << false << false;
    QTest::newRow("close box, Yes") << false << true;
}

void TestFrmLister::quit()
{
    QFETCH(bool, fromButton);
    QFETCH(bool, yes);
    ListerFixture f;
    QVERIFY(f.open());
    f.boxes.answers = {yes ? MessageAnswer::Yes : MessageAnswer::No};
    if (fromButton)
        QTest::mouseClick(f.find<ColourButton>(u"CmdQuitte"_s), Qt::LeftButton);
    else
        f.window->close();

    QCOMPARE(f.boxes.boxes.size(), 1);
    const RecordingMessageBoxes::Box box = f.boxes.boxes.first();
    QCOMPARE(box.text, u"        Quitter le programme ?                    "_s);
    QCOMPARE(box.title, u"Les KORVELAN"_s);
    QCOMPARE(box.icon, MessageIcon::Question);
    QCOMPARE(box.buttons, MessageButtons::YesNo);
    QVERIFY(f.window->isVisible()); // the close itself is always cancelled
    if (yes) {
        QTRY_VERIFY_WITH_TIMEOUT(f.endedAt >= 0, 3000);
        QVERIFY2(f.endedAt - box.atMs >= 499, qPrintable(QString::number(f.endedAt - box.atMs)));
    } else {
        QTest::qWait(700);
        QCOMPARE(f.endedAt, -1);
        QCOMPARE(f.window->boxText(1), u"r1f1"_s);
    }
}

void TestFrmLister::missingDocumentLeavesItsBoxEmpty()
{
    ListerFixture f;
    QVERIFY(f.open());
    QVERIFY(f.find<QTextEdit>(u"Rtb1"_s)->document()->isEmpty());
    QVERIFY(f.find<QTextEdit>(u"Rtb2"_s)->toPlainText().contains(u"additif"_s));
    QVERIFY(f.boxes.boxes.isEmpty());
}

void TestFrmLister::downloadOpensTheInstallerAddress()
{
    ListerFixture f;
    QVERIFY(f.open());
    QTest::mouseClick(f.find<ColourButton>(u"CmdOnglet(4)"_s), Qt::LeftButton);
    QTest::mouseClick(f.find<ColourButton>(u"CmdTelecharger"_s), Qt::LeftButton);
    QCOMPARE(f.opened.size(), 1);
    QCOMPARE(f.opened[0].scheme(), u"https"_s);
    QCOMPARE(f.opened[0].path(), u"/download/korvelan/Installer_les_korvelan.exe"_s);
    QVERIFY(f.find<QWidget>(u"Foc"_s)->hasFocus());
}

void TestFrmLister::enterDoesNothingOnTheListPage()
{
    ListerFixture f;
    QVERIFY(f.open());
    QTest::keyClick(f.window.get(), Qt::Key_Return);
    QVERIFY(f.boxes.boxes.isEmpty());
    QCOMPARE(f.window->boxText(1), u"r1f1"_s);
}

// The title of the detail panel is drawn on the window's grey, not on the panel's white, whatever
// the colour of its text.
void TestFrmLister::panelTitleOnItsOwnGround()
{
    ListerFixture f;
    QVERIFY(f.open());
    auto *title = f.find<QLabel>(u"Lbl(6)"_s);
    for (int tab : {1, 3}) {
        QTest::mouseClick(f.find<QWidget>(u"CmdOnglet(%1)"_s.arg(tab)), Qt::LeftButton);
        const QImage drawn = title->parentWidget()->grab(title->geometry()).toImage();
        QMap<QRgb, int> pixels;
        for (int y = 0; y < drawn.height(); ++y)
            for (int x = 0; x < drawn.width(); ++x)
                ++pixels[drawn.pixel(x, y)];
        const QRgb ground = std::max_element(pixels.keyValueBegin(), pixels.keyValueEnd(), [](auto a, auto b) {
                                return a.second < b.second;
                            })->first;
        QCOMPARE(QColor(ground), QColor(0xE0, 0xE0, 0xE0));
    }
}

// On a screen that cannot hold the window, the window fits the screen with its frame, and its content
// scrolls, so that every control, the tab row and the quit button along the bottom among them, can be
// reached by the mouse and by the keyboard. On a screen that holds it, nothing changes.
void TestFrmLister::fitsTheScreen_data()
{
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<bool>("scrolls");
    QTest::newRow("1920 x 1080") << QSize(1920, 1080) << false;
    QTest::newRow("1024 x 768") << QSize(1024, 768) << false;
    QTest::newRow("1024 x 600, a netbook's") << QSize(1024, 600) << true;
    QTest::newRow("800 x 600") << QSize(800, 600) << true;
    QTest::newRow("1280 x 640") << QSize(1280, 640) << true;
}

void TestFrmLister::fitsTheScreen()
{
    QFETCH(QSize, screen);
    QFETCH(bool, scrolls);
    const QSize saved = std::exchange(ListerFixture::screen, screen);
    ListerFixture f;
    const bool opened = f.open();
    ListerFixture::screen = saved;
    QVERIFY(opened);
    // The frame a desktop adds, as the window allows for it: 4 pixels of border, 20 of caption.
    const QRect outer(f.window->pos(), f.window->size() + QSize(8, 28));
    QVERIFY2(QRect(QPoint(), screen).contains(outer),
             qPrintable(u"%1,%2 %3x%4"_s.arg(outer.x()).arg(outer.y()).arg(outer.width()).arg(outer.height())));
    auto *area = f.window->findChild<QScrollArea *>();
    QCOMPARE(area != nullptr, scrolls);
    if (!scrolls) {
        QCOMPARE(f.window->size(), QSize(996, 652));
        return;
    }
    QCOMPARE(area->widget()->size(), QSize(996, 652));
    // The keyboard reaches the controls along the bottom, and the content scrolls to show them.
    for (const QString &name : {u"CmdOnglet(4)"_s, u"CmdQuitte"_s, u"CmdOnglet(1)"_s}) {
        auto *control = f.find<QWidget>(name);
        control->setFocus(Qt::TabFocusReason);
        QVERIFY(control->hasFocus());
        const QRect shown(control->mapTo(area->viewport(), QPoint()), control->size());
        QVERIFY2(area->viewport()->rect().contains(shown), qPrintable(name));
    }
    // And the mouse: a click on a tab button, once scrolled there, switches the page.
    area->verticalScrollBar()->setValue(area->verticalScrollBar()->maximum());
    area->horizontalScrollBar()->setValue(0);
    auto *information = f.find<QWidget>(u"CmdOnglet(3)"_s);
    const QPoint centre = information->mapTo(area->viewport(), information->rect().center());
    QVERIFY(area->viewport()->rect().contains(centre));
    QTest::mouseClick(information, Qt::LeftButton);
    QVERIFY(f.find<QWidget>(u"Fra(3)"_s)->isVisible());
}

QTEST_MAIN(TestFrmLister)
#include "tst_frmlister.moc"
