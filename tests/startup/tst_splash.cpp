#include "constants.h"
#include "fixtures.h"
#include "frmbdem.h"
#include "recordingmessageboxes.h"

#include <QEventLoop>
#include <QLabel>
#include <QTest>
#include <QTimer>

using namespace korvelan;
using namespace Qt::StringLiterals;

namespace {

// One run of the splash window with made-up resources, noting when each step happened.
struct SplashRun {
    ProgramData data;
    RecordingMessageBoxes boxes;
    std::optional<QByteArray> database = fixtures::joinLines(fixtures::databaseLines(RecordCount));
    std::optional<QByteArray> keywords = fixtures::keywordWords(KeywordTotal).join("\r\n") + QByteArray(2, '\0');
    qint64 shownAt = -1, databaseAt = -1, keywordsAt = -1, mainWindowAt = -1;
    Qt::CursorShape cursorWhileLoading = Qt::ArrowCursor, cursorAtMainWindow = Qt::WaitCursor;
    bool visibleWhileLoading = false, visibleAtMainWindow = false;
    // How the steps of the chain are started; their timers with the designed delays when not set.
    std::function<void(int, std::function<void()>)> startStep;
    std::unique_ptr<FrmBDem> splash;

    void start()
    {
        splash = std::make_unique<FrmBDem>(FrmBDem::Services{
            .data = &data,
            .read =
                [this](const ResourceId &id) {
                    const qint64 now = boxes.clock.elapsed();
                    (id.type == u"KORVELAN" ? databaseAt : keywordsAt) = now;
                    cursorWhileLoading = splash->cursor().shape();
                    visibleWhileLoading = splash->isVisible();
                    return id.type == u"KORVELAN" ? database : keywords;
                },
            .boxes = &boxes,
            .loadMainWindow =
                [this](FrmBDem &self) {
                    mainWindowAt = boxes.clock.elapsed();
                    cursorAtMainWindow = self.cursor().shape();
                    visibleAtMainWindow = self.isVisible();
                    self.close();
                },
            .screenSize = [] { return QSize(1920, 1080); },
            .startStep = startStep,
        });
        splash->installEventFilter(&showWatcher);
        showWatcher.onShow = [this] { shownAt = boxes.clock.elapsed(); };
        boxes.clock.restart();
        splash->load();
    }

    struct ShowWatcher : QObject {
        std::function<void()> onShow;
        bool eventFilter(QObject *, QEvent *event) override
        {
            if (event->type() == QEvent::Show && onShow)
                onShow();
            return false;
        }
    } showWatcher;
};

// A delay between two steps: never shorter than asked, and not much longer on a busy machine.
void verifyDelay(qint64 from, qint64 to, int milliseconds)
{
    QVERIFY2(from >= 0 && to >= 0, "a step did not run");
    QVERIFY2(to - from >= milliseconds - 1, qPrintable(u"%1 ms instead of %2"_s.arg(to - from).arg(milliseconds)));
    QVERIFY2(to - from <= milliseconds + 250, qPrintable(u"%1 ms instead of %2"_s.arg(to - from).arg(milliseconds)));
}

} // namespace

class TestSplash : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { setStartupConstants(); }
    void windowContent();
    void chainLoadsTheDataThenTheMainWindow();
    void failingLoadsAreReportedAndTheChainGoesOn_data();
    void failingLoadsAreReportedAndTheChainGoesOn();
    void failureBoxHoldsUpTheNextStep_data() { failingLoadsAreReportedAndTheChainGoesOn_data(); }
    void failureBoxHoldsUpTheNextStep();
};

void TestSplash::windowContent()
{
    SplashRun run;
    run.start();
    FrmBDem &splash = *run.splash;
    QVERIFY(!splash.isVisible()); // loaded, not shown yet
    QVERIFY(splash.windowTitle().isEmpty());
    const auto text = [&](const char *name) {
        auto *label = splash.findChild<QLabel *>(QString::fromLatin1(name));
        return label ? label->text() : u"<missing>"_s;
    };
    QCOMPARE(text("Lbl(0)"), u"Chargement de la base de données"_s);
    QCOMPARE(text("Lbl(1)"), u"Patientez..."_s);
    QCOMPARE(text("Lbl(2)"), u"Utilitaire sur les additifs alimentaires"_s);
    QVERIFY(text("LblVersion").startsWith(u"Version 1.00"_s));
    auto *logo = splash.findChild<QLabel *>(u"ImgLogo"_s);
    QVERIFY(logo);
    QCOMPARE(logo->pixmap().size(), QSize(345, 48));
    QCOMPARE(splash.findChild<QLabel *>(u"ImgM"_s)->pixmap().toImage(), logo->pixmap().toImage());
    // The program's own picture, which the start-up library carries: not a stand-in of the same size.
    const QImage picture(u":/pictures/logo_splash.png"_s);
    QVERIFY2(!picture.isNull(), "the splash window's picture is not built in");
    QCOMPARE(logo->pixmap().toImage().convertToFormat(QImage::Format_RGB32),
             picture.convertToFormat(QImage::Format_RGB32));

    QTRY_VERIFY(splash.isVisible());
    // 5475 by 4305 twips at 11,662.5 and 2,973.75 on a 1920 by 1080 screen.
    QCOMPARE(splash.geometry(), QRect(778, 198, 365, 287));
    QCOMPARE(splash.cursor().shape(), Qt::WaitCursor);
    // The picture store lies outside what stays visible of the window.
    QVERIFY(!splash.rect().intersects(splash.findChild<QLabel *>(u"ImgM"_s)->geometry()));
}

void TestSplash::chainLoadsTheDataThenTheMainWindow()
{
    SplashRun run;
    run.start();
    QTRY_VERIFY_WITH_TIMEOUT(run.mainWindowAt >= 0, 5000);
    verifyDelay(0, run.shownAt, 30);
    verifyDelay(run.shownAt, run.databaseAt, 500);
    verifyDelay(run.databaseAt, run.keywordsAt, 500);
    verifyDelay(run.keywordsAt, run.mainWindowAt, 500);
    QVERIFY(run.visibleWhileLoading);
    QCOMPARE(run.cursorWhileLoading, Qt::WaitCursor);
    QVERIFY(run.visibleAtMainWindow);
    QCOMPARE(run.cursorAtMainWindow, Qt::ArrowCursor);
    QVERIFY(run.boxes.boxes.isEmpty());
    QCOMPARE(run.data.additives.publishedCount(), RecordCount);
    QCOMPARE(run.data.keywords.filledCount(), KeywordTotal);
    const QList<OneShotTimer *> timers = run.splash->findChildren<OneShotTimer *>();
    QCOMPARE(timers.size(), 4);
    for (const OneShotTimer *timer : timers)
        QVERIFY2(!timer->isActive(), qPrintable(timer->objectName()));
}

void TestSplash::failingLoadsAreReportedAndTheChainGoesOn_data()
{
    QTest::addColumn<bool>("databaseFails");
    QTest::addColumn<bool>("keywordsFail");
    QTest::newRow("database missing") << true << false;
    QTest::newRow("keyword list of 1,000 words") << false << true;
}

// Takes the database away, or gives the keyword list 1,000 words where the index expects more.
static void breakLoads(SplashRun &run, bool databaseFails, bool keywordsFail)
{
    if (databaseFails)
        run.database.reset();
    if (keywordsFail)
        run.keywords = fixtures::keywordWords(1000).join("\r\n");
}

void TestSplash::failingLoadsAreReportedAndTheChainGoesOn()
{
    QFETCH(bool, databaseFails);
    QFETCH(bool, keywordsFail);
    SplashRun run;
    breakLoads(run, databaseFails, keywordsFail);
    run.start();
    QTRY_VERIFY_WITH_TIMEOUT(run.mainWindowAt >= 0, 5000);

    QCOMPARE(run.boxes.boxes.size(), 1);
    const RecordingMessageBoxes::Box box = run.boxes.boxes.first();
    QCOMPARE(box.icon, MessageIcon::Critical);
    QCOMPARE(box.buttons, MessageButtons::Ok);
    QCOMPARE(box.title, u"Les KORVELAN"_s);
    const QStringList lines = box.text.split(u"\r\n"_s);
    QCOMPARE(lines.size(), 2);
    QVERIFY(lines[0].endsWith(QString(17, u' ')));
    QVERIFY(lines[1].startsWith(databaseFails ? u"Erreur interne 100 - "_s : u"Erreur interne 102 - "_s));

    // The next step comes 500 ms after the box is closed (the recorder closes it at once).
    verifyDelay(box.atMs, databaseFails ? run.keywordsAt : run.mainWindowAt, 500);
    QCOMPARE(run.data.additives.publishedCount(), databaseFails ? 0 : RecordCount);
    QCOMPARE(run.data.keywords.filledCount(), keywordsFail ? 1000 : KeywordTotal);
}

void TestSplash::failureBoxHoldsUpTheNextStep()
{
    QFETCH(bool, databaseFails);
    QFETCH(bool, keywordsFail);
    SplashRun run;
    breakLoads(run, databaseFails, keywordsFail);
    // Every step is due at once: one started before the box would run while the box is open.
    QList<int> delays;
    run.startStep = [&](int milliseconds, std::function<void()> step) {
        delays.append(milliseconds);
        QTimer::singleShot(0, run.splash.get(), std::move(step));
    };
    const qint64 &nextStepAt = databaseFails ? run.keywordsAt : run.mainWindowAt;
    bool nextStepRanWhileOpen = false;
    run.boxes.whileOpen = [&] {
        // The user takes a moment to close the box; the program handles its events meanwhile.
        QEventLoop open;
        QTimer::singleShot(20, &open, &QEventLoop::quit);
        open.exec();
        nextStepRanWhileOpen = nextStepAt >= 0;
    };
    run.start();
    QTRY_VERIFY_WITH_TIMEOUT(run.mainWindowAt >= 0, 5000);

    QCOMPARE(run.boxes.boxes.size(), 1);
    QVERIFY2(!nextStepRanWhileOpen, "the next step ran while the box was open");
    QCOMPARE(delays, (QList<int>{30, 500, 500, 500}));
}

QTEST_MAIN(TestSplash)
#include "tst_splash.moc"
