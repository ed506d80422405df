#include "oneshottimer.h"

namespace korvelan {

OneShotTimer::OneShotTimer(const QString &name, QObject *parent) : QObject(parent)
{
    setObjectName(name);
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        m_interval = 0;
        Q_EMIT tick();
    });
}

void OneShotTimer::setInterval(int milliseconds)
{
    m_interval = milliseconds > 0 ? milliseconds : 0;
    if (m_interval > 0)
        m_timer.start(m_interval);
    else
        m_timer.stop();
}

} // namespace korvelan
