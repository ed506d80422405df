#pragma once

#include <QObject>
#include <QTimer>

#include <functional>

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

// Starts the next step of a window's chain of timers, `step`, due after `milliseconds`. Tests and
// benchmarks give one to run the step sooner, or to keep it and run it when they like.
using StepStarter = std::function<void(int milliseconds, std::function<void()> step)>;

// Starts a step of a chain: `timer` waits `milliseconds` when there is no starter. Otherwise the
// starter gets the step, which runs as the timer's tick would, and not at all once the timer is gone.
void startStep(OneShotTimer *timer, int milliseconds, const StepStarter &starter);

} // namespace korvelan
