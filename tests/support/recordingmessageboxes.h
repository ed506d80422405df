#pragma once

#include "messagebox.h"

#include <QElapsedTimer>
#include <QList>

#include <functional>

// Notes every message box the program asks for, with the moment it was asked, and answers each
// one as the test says (Ok, or the next queued answer for Yes/No boxes, Yes when none is queued).
// A box is answered at once unless the test says what happens while it is open.
class RecordingMessageBoxes : public korvelan::MessageBoxes {
public:
    struct Box {
        korvelan::MessageIcon icon;
        QString title;
        QString text;
        korvelan::MessageButtons buttons;
        qint64 atMs;
    };

    RecordingMessageBoxes() { clock.start(); }

    korvelan::MessageAnswer show(korvelan::MessageIcon icon, const QString &title, const QString &text,
                                 korvelan::MessageButtons buttons) override
    {
        boxes.append({icon, title, text, buttons, clock.elapsed()});
        if (whileOpen)
            whileOpen();
        if (buttons == korvelan::MessageButtons::Ok)
            return korvelan::MessageAnswer::Ok;
        return answers.isEmpty() ? korvelan::MessageAnswer::Yes : answers.takeFirst();
    }

    QList<Box> boxes;
    QList<korvelan::MessageAnswer> answers;
    // Runs while each box is open, before it is answered; a modal box goes on handling events.
    std::function<void()> whileOpen;
    QElapsedTimer clock;
};
