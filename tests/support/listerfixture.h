#pragma once

// A main window on made-up data, opened as the program opens it, with recorded message boxes and
// the end of the program and the browser caught.

#include "colourbutton.h"
#include "fixtures.h"
#include "frmlister.h"
#include "programconstants.h"
#include "recordingmessageboxes.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

struct ListerFixture {
    korvelan::ProgramData data;
    RecordingMessageBoxes boxes;
    QList<QUrl> opened;
    qint64 endedAt = -1;
    std::unique_ptr<korvelan::FrmLister> window;
    // The folder the windows read their documents from, as a descriptor; none by default.
    inline static int documentsFolder = -1;
    // The screen the window opens on, all of it free, in logical pixels.
    inline static QSize screen{1920, 1080};

    explicit ListerFixture(
        const QByteArray &database = fixtures::joinLines(fixtures::databaseLines(korvelan::RecordCount)),
        const QByteArray &keywords = fixtures::keywordWords(korvelan::KeywordTotal).join("\r\n"))
    {
        data.additives = korvelan::loadAdditiveTable(database).table;
        data.keywords = korvelan::loadKeywordIndex(keywords).index;
        window = std::make_unique<korvelan::FrmLister>(korvelan::FrmLister::Services{
            .data = &data,
            .boxes = &boxes,
            .documentsFolder = documentsFolder,
            .openUrl = [this](const QUrl &url) { opened.append(url); },
            .endProgram = [this] { endedAt = boxes.clock.elapsed(); },
            .screenSize = [] { return screen; },
            .startStep = {},
        });
    }

    // Loads the window and waits until it is shown, as after the splash window.
    bool open()
    {
        window->load(nullptr);
        if (!QTest::qWaitFor([this] { return window->isVisible(); }, 5000))
            return false;
        window->activateWindow();
        return QTest::qWaitForWindowActive(window.get());
    }

    template <typename T> T *find(const QString &name) const { return window->findChild<T *>(name); }
    QListWidget *list(const QString &name) const { return find<QListWidget>(name); }
    QString row(const QString &name, int i) const { return list(name)->item(i)->text(); }
    QColor textColour(const QString &name) const
    {
        QWidget *widget = find<QWidget>(name);
        return qobject_cast<QLabel *>(widget) ? widget->palette().color(QPalette::WindowText)
                                              : widget->palette().color(QPalette::Text);
    }
};
