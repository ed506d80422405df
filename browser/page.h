#pragma once

#include <QFrame>

#include <vector>

namespace korvelan {

class RecordList;

// One of the pages the tab buttons switch: the size of the area above them, the window's grey. A page
// says what the window needs of it; the window names it Fra(n) and gives it the tab button
// CmdOnglet(n), n being its place in the window's list of pages.
class Page : public QFrame {
    Q_OBJECT

public:
    // `caption` is its tab button's caption, which also names the page for a screen reader ("Page "
    // and the caption); `tooltip` is the button's tooltip.
    Page(const QString &caption, const QString &tooltip, QWidget *parent);

    const QString &caption() const { return m_caption; }
    const QString &tooltip() const { return m_tooltip; }

    // Whether the page chooses the additives the detail panel shows. Opening such a page shows the
    // panel's title in black, gives the window back its own title and greys the caption "Risque";
    // the other pages grey the panel's title.
    virtual bool choosesAdditives() const { return false; }
    // The control that gets the keyboard when the page is opened; none leaves it on the window's
    // focus button.
    virtual QWidget *focusOnOpening() const { return nullptr; }
    // Its controls in the order of the Tab key.
    virtual std::vector<QWidget *> tabStops() const = 0;
    // Once, when the window is first shown: what the page reads then, from the folder of the
    // documents (a descriptor; none when -1).
    virtual void windowShown(int documentsFolder) { Q_UNUSED(documentsFolder); }

Q_SIGNALS:
    // A record chosen on the page, to be shown in the detail panel: the only road a choice takes.
    void recordChosen(int record);
    // A row whose number is wrong; `error` is the code of the fault (see rownumber.h).
    void selectionError(int error);

protected:
    // What the list chooses, the page passes on as its own choice.
    void forwardChoices(RecordList *list);

private:
    QString m_caption;
    QString m_tooltip;
};

} // namespace korvelan
