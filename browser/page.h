#pragma once

#include <QFrame>

namespace korvelan {

// One of the four pages the tab buttons switch: the size of the area above them, the window's grey.
class Page : public QFrame {
    Q_OBJECT

public:
    // Page `index` (1 to 4), named Fra(index) and, for a screen reader, "Page " and its tab's caption.
    Page(int index, const QString &caption, QWidget *parent);
};

} // namespace korvelan
