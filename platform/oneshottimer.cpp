#include "oneshottimer.h"

#include <QPointer>

namespace korvelan {

OneShotTimer::OneShotTimer(const QString &name, QObject *parent) : QObject(parent)
{
    setObjectName(name);
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &OneShotTimer::tick);
}

void OneShotTimer::setInterval(int milliseconds)
{
    if (milliseconds > 0)
        m_timer.start(milliseconds);
    else
        m_timer.stop();
}

void startStep(OneShotTimer *timer, int milliseconds, const StepStarter &starter)
{
    if (!starter) {
        timer->setInterval(milliseconds);
        return;
    }
    starter(milliseconds, [timer = QPointer(timer)] {
        if (timer)
            Q_EMIT timer->tick();
    });
}

} // namespace korvelan
