#include "oneshottimer.h"

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

} // namespace korvelan
