#pragma once

#include "messagebox.h"
#include "programdata.h"

#include <QWidget>

namespace korvelan {

// The program's working window. For now it opens with its title once the data is loaded.
class FrmLister : public QWidget {
    Q_OBJECT

public:
    FrmLister(const ProgramData &data, MessageBoxes &boxes, QWidget *parent = nullptr);

    // The window's load: closes the splash window and shows the window.
    void load(QWidget *splash);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    const ProgramData &m_data;
    MessageBoxes &m_boxes;
};

} // namespace korvelan
