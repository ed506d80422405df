#pragma once

#include "messagebox.h"
#include "programdata.h"

#include <QUrl>
#include <QWidget>

#include <array>
#include <functional>
#include <vector>

class QLabel;
class QPushButton;

namespace korvelan {

class AboutPage;
class ColourButton;
class DetailPanel;
class InformationPage;
class LabelWindow;
class ListPage;
class OneShotTimer;
class RecordList;
class SearchPage;

// The program's working window: four pages switched by the tab buttons along the bottom (the
// lists, the search, the information document and the about page), a detail panel on the right
// that shows one additive whatever the page, and the quit button.
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
        // The wait before each step of the chain that fills and shows the window, given the usual
        // one in milliseconds; the usual one when not set. A wait of 0 leaves the step to
        // runNextStep(), for tests and benchmarks that step the chain themselves.
        std::function<int(int)> stepDelay;
    };

    explicit FrmLister(Services services, QWidget *parent = nullptr);
    ~FrmLister() override;

    // The window's load: closes the splash window, prepares the pages and starts the chain of
    // steps that fills the lists and shows the window.
    void load(QWidget *splash);

    // Runs the step of the chain that waits to be run by hand; false when none waits.
    bool runNextStep();

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
    // The four lists of additives: by number, alphabetical, by flag, and the search results.
    std::vector<RecordList *> recordLists() const;
    void startStep(OneShotTimer *timer, int milliseconds);

    void onT1Num();
    void onT2Alpha();
    void onTimDeb();
    void onTimEnd();
    void onTab(int i);
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
    OneShotTimer *m_stepByHand = nullptr;

    ListPage *m_listPage = nullptr;
    SearchPage *m_searchPage = nullptr;
    InformationPage *m_informationPage = nullptr;
    AboutPage *m_aboutPage = nullptr;
    DetailPanel *m_panel = nullptr;
    LabelWindow *m_labelWindow = nullptr;        // made at the first Ctrl+L
    std::array<ColourButton *, 5> m_cmdOnglet{}; // CmdOnglet(1) to CmdOnglet(4)
    std::array<QWidget *, 5> m_fra{};            // Fra(1) to Fra(4)
    ColourButton *m_cmdQuitte = nullptr;
    QPushButton *m_foc = nullptr;
    QLabel *m_imgM = nullptr;
    QWidget *m_linHauteur = nullptr;
    QWidget *m_linLargeur = nullptr;
};

} // namespace korvelan
