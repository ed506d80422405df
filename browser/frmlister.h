#pragma once

#include "messagebox.h"
#include "oneshottimer.h"
#include "programdata.h"

#include <QUrl>
#include <QWidget>

#include <functional>
#include <vector>

class QLabel;
class QPushButton;

namespace korvelan {

class AboutPage;
class ColourButton;
class DetailPanel;
class LabelWindow;
class ListPage;
class Page;
class SearchPage;

// The program's working window: pages switched by the tab buttons along the bottom (the lists, the
// search, the information document and the about page), a detail panel on the right that shows one
// additive whatever the page, and the quit button.
class FrmLister : public QWidget {
    Q_OBJECT

public:
    struct Services {
        const ProgramData *data = nullptr;
        MessageBoxes *boxes = nullptr;
        // The folder the documents are read from, as a descriptor; none when -1.
        int documentsFolder = -1;
        // Opens a web address in the browser; the system's default when not set.
        std::function<void(const QUrl &)> openUrl;
        // Ends the whole program at once; hides every window and leaves the event loop when not set.
        std::function<void()> endProgram;
        // The screen size in logical pixels; the primary screen's when not set.
        std::function<QSize()> screenSize;
        // Starts each step of the chain that fills and shows the window; when not set, the step's
        // timer waits the usual time.
        StepStarter startStep;
    };

    explicit FrmLister(Services services, QWidget *parent = nullptr);
    ~FrmLister() override;

    // The window's load: closes the splash window, prepares the pages and starts the chain of
    // steps that fills the lists and shows the window.
    void load(QWidget *splash);

    // The text of detail box k (1 to 17).
    QString boxText(int k) const;

    // The address the download button opens.
    static const QUrl &installerAddress();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildWindow();
    void connectPages();
    void setKeyboardOrder();

    // The ticks of the timers: the steps of the chain, and the end of the program.
    void fillNumberListStep();       // T1Num
    void fillAlphabeticalListStep(); // T2Alpha
    void showWindowStep();           // TimDeb
    void endProgramStep();           // TimEND
    void openPage(size_t shown);
    void confirmQuit();
    void onDownload();
    void onEnter();
    void showSelectionError(int error);
    void openLabelWindow();

    Services m_services;
    // The chain of steps and the end of the program.
    OneShotTimer *T1Num;
    OneShotTimer *T2Alpha;
    OneShotTimer *TimDeb;
    OneShotTimer *TimEND;

    // The pages in the order of their tab buttons, each with its button; the first is shown at start.
    struct PageEntry {
        Page *page;
        ColourButton *tab;
    };
    std::vector<PageEntry> m_pages;
    ListPage *m_listPage = nullptr;
    SearchPage *m_searchPage = nullptr;
    AboutPage *m_aboutPage = nullptr;
    DetailPanel *m_panel = nullptr;
    LabelWindow *m_labelWindow = nullptr; // made at the first Ctrl+L
    ColourButton *m_quitButton = nullptr; // CmdQuitte
    QPushButton *m_focusButton = nullptr; // Foc, the default button
    QLabel *m_pictureStore = nullptr;     // ImgM
    QWidget *m_heightMarker = nullptr;    // LinHauteur
    QWidget *m_widthMarker = nullptr;     // LinLargeur
};

} // namespace korvelan
