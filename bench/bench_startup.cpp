// Start-up as the program runs it, on the shipped data and Qt's offscreen platform: the splash
// window's chain (30 + 500 + 500 + 500 ms of delays) and the main window's (20 + 200 + 200 ms),
// printing how long each part took beyond its delays.
#include "constants.h"
#include "frmbdem.h"
#include "frmlister.h"
#include "recordingmessageboxes.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>

#include <cstdio>

using namespace korvelan;

namespace {

struct Watcher : QObject {
    std::function<void()> onShow;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Show && onShow)
            onShow();
        return false;
    }
};

} // namespace

int main(int argc, char **argv)
{
    QElapsedTimer sinceStart;
    sinceStart.start();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    setStartupConstants();
    const qint64 applicationReady = sinceStart.elapsed();

    std::printf("Milliseconds from the splash window's load (delays: 30, then 500 each, then 420 in all):\n");
    std::printf("%-6s %8s %10s %10s %8s %12s %18s\n", "run", "splash", "database", "keywords", "TimFin", "main shown",
                "beyond delays");
    for (int run = 1; run <= 5; ++run) {
        RecordingMessageBoxes boxes;
        ProgramData data;
        std::unique_ptr<FrmLister> lister;
        Watcher splashWatcher, listerWatcher;
        qint64 splashShown = -1, databaseRead = -1, keywordsRead = -1, timFin = -1, mainShown = -1;
        QElapsedTimer clock;
        FrmBDem splash({.data = &data,
                        .read =
                            [&](const ResourceId &id) {
                                (id.number == kDatabaseResource.number ? databaseRead : keywordsRead) =
                                    clock.elapsed();
                                return readEmbeddedResource(id);
                            },
                        .boxes = &boxes,
                        .loadMainWindow =
                            [&](FrmBDem &self) {
                                timFin = clock.elapsed();
                                FrmLister::Services services;
                                services.data = &data;
                                services.boxes = &boxes;
                                lister = std::make_unique<FrmLister>(std::move(services));
                                lister->installEventFilter(&listerWatcher);
                                lister->load(&self);
                            },
                        .screenSize = {}});
        splashWatcher.onShow = [&] { splashShown = clock.elapsed(); };
        listerWatcher.onShow = [&] { mainShown = clock.elapsed(); };
        splash.installEventFilter(&splashWatcher);
        clock.start();
        splash.load();
        if (!QTest::qWaitFor([&] { return mainShown >= 0; }, 10000))
            return 1;
        std::printf("%-6d %8lld %10lld %10lld %8lld %12lld %15lld ms\n", run, splashShown, databaseRead, keywordsRead,
                    timFin, mainShown, mainShown - (30 + 500 + 500 + 500 + 20 + 200 + 200));
    }
    std::printf("process start to application ready: %lld ms\n", applicationReady);
    return 0;
}
