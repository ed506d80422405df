#pragma once

#include "messagebox.h"
#include "oneshottimer.h"
#include "programdata.h"
#include "resource.h"

#include <QRectF>
#include <QWidget>

#include <functional>

class QLabel;

namespace korvelan {

// Where the splash window goes on a screen of the given size, both in twips: as large as its
// frame plus a margin, centred horizontally and a quarter of the free height from the top.
QRectF splashGeometry(QSizeF screenTwips);

// The splash window. It shows the logo and "Chargement de la base de données" while its chain of
// one-shot timers loads the two resources, then has the main window loaded.
class FrmBDem : public QWidget {
    Q_OBJECT

public:
    struct Services {
        ProgramData *data = nullptr;
        ResourceReader read;
        MessageBoxes *boxes = nullptr;
        // Loads the main window; its load closes this window.
        std::function<void(FrmBDem &)> loadMainWindow;
        // The screen size in logical pixels; the primary screen's when not set.
        std::function<QSize()> screenSize;
        // Starts the next step of the chain, `step`, due after `milliseconds`. When not set, the
        // step's timer waits that long; tests and benchmarks may run the step sooner, or keep it
        // and run it when they like.
        StepStarter startStep = {};
    };

    explicit FrmBDem(Services services, QWidget *parent = nullptr);

    // The window's load: prepares it without showing it and starts the chain.
    void load();

private:
    // The ticks of the timers, the steps of the chain.
    void showStep();           // TimDeb
    void loadDatabaseStep();   // TimBDD
    void loadKeywordsStep();   // TimMotCle
    void openMainWindowStep(); // TimFin
    void reportFailure(LoadFailure failure, int code);

    // The timers of the chain, in their order.
    OneShotTimer *TimDeb;
    OneShotTimer *TimBDD;
    OneShotTimer *TimMotCle;
    OneShotTimer *TimFin;
    Services m_services;
    QLabel *m_logo;         // ImgLogo
    QLabel *m_version;      // LblVersion
    QLabel *m_pictureStore; // ImgM
};

} // namespace korvelan
