#pragma once

#include "palette.h"

#include <QPushButton>

namespace korvelan {

// A push button whose background colour the program sets while it runs (the tab buttons show the
// selected page by it). The colour is written 0x00BBGGRR.
class ColourButton : public QPushButton {
    Q_OBJECT
    Q_PROPERTY(quint32 backColour READ backColour WRITE setBackColour)

public:
    explicit ColourButton(const QString &text, QWidget *parent = nullptr);

    quint32 backColour() const { return m_backColour; }
    void setBackColour(quint32 colour);

private:
    quint32 m_backColour = colour::Silver;
};

} // namespace korvelan
