#pragma once

#include "colourbutton.h"
#include "messagebox.h"
#include "oneshottimer.h"
#include "programdata.h"
#include "search.h"

#include <QMap>
#include <QUrl>
#include <QWidget>

#include <array>
#include <functional>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidgetItem;
class QListWidget;
class QPushButton;
class QToolButton;

namespace korvelan {

class RichTextView;

// The program's working window: four pages switched by the tab buttons along the bottom (the
// lists, the search, the information document and the about page), a detail panel on the right
// that shows one additive whatever the page, and the quit button.
class FrmLister : public QWidget {
    Q_OBJECT

public:
    struct Services {
        const ProgramData *data = nullptr;
        MessageBoxes *boxes = nullptr;
        // Opens a web address in the browser; the system's default when not set.
        std::function<void(const QUrl &)> openUrl;
        // Ends the whole program at once; hides every window and leaves the event loop when not set.
        std::function<void()> endProgram;
        // The screen size in logical pixels; the primary screen's when not set.
        std::function<QSize()> screenSize;
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

    // The chain of steps and the end of the program.
    OneShotTimer *T1Num;
    OneShotTimer *T2Alpha;
    OneShotTimer *TimDeb;
    OneShotTimer *TimEND;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildWindow();
    void buildListPage();
    void buildSearchPage();
    void buildAboutPage();
    void buildDetailPanel();
    void setKeyboardOrder();

    void onT1Num();
    void onT2Alpha();
    void onTimDeb();
    void onTab(int i);
    void onQuitClicked();
    void confirmQuit();
    void onDownload();
    void onFoc();
    void onEnter();

    // The search page: the reaction to a change of the search word, the choice of a history word
    // or of a suggestion, the search itself.
    void setCbo2Text(const QString &text);
    void onCbo2TextChanged();
    void onHistoryChosen();
    void setTxt2Text(const QString &text);
    void rebuildSuggestions(QStringView text);
    void onSuggestionChosen(QListWidgetItem *item);
    void onCmdCherche();

    // Reactions of the detail panel, the list rows and the display options.
    void onBoxTextChanged(int k);
    void onImgInfo(int i);
    void onListSelection(QListWidget *list);
    void onImgD(int i);
    void buildDisplayOptions();
    void connectSelection(QListWidget *list);
    bool eventFilter(QObject *watched, QEvent *event) override;

    // Sets the text of detail box k and runs the box's reaction to the change.
    void setBoxText(int k, const QString &text);
    void showRecord(int r);

    Services m_services;
    qsizetype m_longestKeyword = 0; // a longer search word gets no suggestion
    std::array<QFrame *, 5> m_fra{};           // Fra(1) to Fra(4)
    std::array<ColourButton *, 5> m_cmdOnglet{}; // CmdOnglet(1) to CmdOnglet(4)
    std::array<QWidget *, 18> m_txtAdd{};       // TxtADD(1) to TxtADD(17)
    std::array<QLabel *, 17> m_lblAd{};         // LblAd(0) to LblAd(16)
    QLabel *m_lbl6 = nullptr;
    std::array<QToolButton *, 8> m_imgD{}; // ImgD(0) to ImgD(7): the option rings
    std::array<QLabel *, 8> m_imgB{};      // ImgB(0) to ImgB(7): the mark of the chosen option
    std::array<QToolButton *, 2> m_imgInfo{}; // ImgInfo(0), ImgInfo(1): the legends
    QMap<QObject *, int> m_rowAtPress;     // the current row of a list when a mouse button went down
    QPushButton *m_foc = nullptr;
    ColourButton *m_cmdQuitte = nullptr;
    ColourButton *m_cmdTelecharger = nullptr;
    QLabel *m_label2 = nullptr;
    QLabel *m_lblMail = nullptr;
    QFrame *m_linHauteur = nullptr;
    QFrame *m_linLargeur = nullptr;
    QLabel *m_imgM = nullptr;
    QLabel *m_imgLogo = nullptr;
    QLabel *m_lblNversion = nullptr;
    QLabel *m_lblInfo = nullptr;
    QListWidget *m_lstNumAdd = nullptr;
    QListWidget *m_lstAlpha = nullptr;
    QListWidget *m_lstTri = nullptr;
    QListWidget *m_lstC = nullptr;
    QListWidget *m_lst12 = nullptr;
    QComboBox *m_cbo2 = nullptr;
    ColourButton *m_cmdCherche = nullptr;
    QLabel *m_lblResultat = nullptr;
    SearchHistory m_history;
    bool m_fillingSuggestions = false;
    RichTextView *m_rtb1 = nullptr;
    RichTextView *m_rtb2 = nullptr;
};

} // namespace korvelan
