#pragma once

#include "page.h"

#include <QPixmap>
#include <QUrl>

#include <vector>

class QLabel;

namespace korvelan {

class RichTextView;

// The information page, Fra(3): the document Resume.rtf in Rtb2.
class InformationPage : public Page {
    Q_OBJECT

public:
    explicit InformationPage(QWidget *parent);

    // Reads the document from the folder of the documents; a missing one leaves the box empty.
    void windowShown(int documentsFolder) override;
    // The document.
    std::vector<QWidget *> tabStops() const override;

private:
    RichTextView *m_summary = nullptr; // Rtb2
};

// The about page, Fra(4): the logo, the version and the maker's addresses, the licence Licence.rtf
// in Rtb1, the download button and the advice under it.
class AboutPage : public Page {
    Q_OBJECT

public:
    explicit AboutPage(QWidget *parent);

    // The maker's site; the download address and the page name it.
    static const QString &makerSite();

    // The logo, the version line and the advice, as the window loads.
    void fill(const QPixmap &logo);
    // Reads the licence from the folder of the documents; a missing one leaves the box empty.
    void windowShown(int documentsFolder) override;
    // The licence, the download button and the two addresses, for the keyboard.
    std::vector<QWidget *> tabStops() const override;

Q_SIGNALS:
    void downloadClicked();

private:
    QLabel *m_logo = nullptr;          // ImgLogo
    QLabel *m_version = nullptr;       // LblNversion
    QLabel *m_advice = nullptr;        // LblInfo
    RichTextView *m_licence = nullptr; // Rtb1
    std::vector<QWidget *> m_tabStops;
};

} // namespace korvelan
