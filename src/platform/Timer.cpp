#include "platform/Timer.h"

#include <QTimer>

namespace platform {

Timer::Timer() : m_timer(std::make_unique<QTimer>())
{
    QObject::connect(m_timer.get(), &QTimer::timeout, m_timer.get(), [this] {
        if (onTimeout)
            onTimeout();
    });
}

Timer::~Timer() = default;

void Timer::start(int intervalMs)
{
    m_timer->start(intervalMs);
}

void Timer::stop()
{
    m_timer->stop();
}

bool Timer::active() const
{
    return m_timer->isActive();
}

int Timer::interval() const
{
    return m_timer->interval();
}

} // namespace platform
