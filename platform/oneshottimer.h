#pragma once

#include <QObject>
#include <QTimer>

namespace korvelan {

// A timer driven by its interval, as the windows use it to cut work into steps: setting an
// interval above 0 starts it, setting 0 stops it. It ticks once, then waits to be started again.
class OneShotTimer : public QObject {
    Q_OBJECT

public:
    explicit OneShotTimer(const QString &name, QObject *parent = nullptr);

    void setInterval(int milliseconds);
    bool isActive() const { return m_timer.isActive(); }

Q_SIGNALS:
    void tick();

private:
    QTimer m_timer;
};

} // namespace korvelan
