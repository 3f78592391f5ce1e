#pragma once

// A repeating timer on the event loop.

#include <functional>
#include <memory>

class QTimer;

namespace platform {

class Timer
{
public:
    std::function<void()> onTimeout;

    Timer();
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    void start(int intervalMs);
    void stop();
    bool active() const;
    int interval() const;

private:
    std::unique_ptr<QTimer> m_timer;
};

} // namespace platform
