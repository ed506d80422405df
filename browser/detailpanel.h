#pragma once

#include "additive.h"

#include <QWidget>

#include <array>
#include <vector>

class QLabel;
class QToolButton;

namespace korvelan {

// The panel on the right of the window that shows one additive, whatever the page: its seventeen
// boxes TxtADD(1) to TxtADD(17) under their captions, the title Lbl(6) and the two legends. It
// colours the authorisations and the risk class as they are shown.
class DetailPanel : public QWidget {
    Q_OBJECT

public:
    DetailPanel(const AdditiveTable &table, QWidget *parent);

    // The text of box k (1 to 17); empty for any other k.
    QString boxText(int k) const;

    // The boxes in reading order, for the keyboard: left to right, row by row.
    std::vector<QWidget *> tabStops() const;
    // The two question marks that open the legends.
    std::vector<QWidget *> legends() const;

public Q_SLOTS:
    // Fills the boxes with the fields of record r.
    void showRecord(int r);
    // Empties every box.
    void clear();
    // Empties every box and greys the caption "Risque", as a page with no additive to show does.
    void clearWithGreyRisk();
    // The title in its colour: black on the pages that choose additives, grey on the others.
    void setTitleColour(quint32 colour);

Q_SIGNALS:
    // A question mark was clicked: 0 the legend of the risk classes, 1 that of the daily intake.
    void legendRequested(int legend);

private:
    // Sets the text of box k, shown as field k of record r (0 for none), with what the registers say of
    // it as tooltip and accessible description, and runs the box's reaction to the change.
    void setBoxText(int k, const QString &text, int r = 0);
    void colourBox(int k);
    void addLegends();

    const AdditiveTable &m_table;
    std::array<QWidget *, SequenceNumber + 1> m_boxes{}; // TxtADD(1) to TxtADD(17), by field
    QLabel *m_riskCaption = nullptr;                     // LblAd(2), the caption "Risque"
    QLabel *m_title = nullptr;                           // Lbl(6)
    std::array<QToolButton *, 2> m_legends{};            // ImgInfo(0), ImgInfo(1): the legends
};

} // namespace korvelan
