#pragma once

// Work done on a thread of its own, one piece after another in the order handed over: for what
// would stall the event loop (a file flushed to disk while many others are written, a history
// of thousands of rows committed) and may finish a moment later.

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace platform {

class TSerialWorker
{
public:
    TSerialWorker() = default;
    // Does what was handed over, then ends its thread.
    ~TSerialWorker();
    TSerialWorker(const TSerialWorker&) = delete;
    TSerialWorker& operator=(const TSerialWorker&) = delete;

    void Run(std::function<void()> work);
    // Waits until everything handed over is done.
    void Settle();

private:
    void Loop();

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_settled;
    std::deque<std::function<void()>> m_work;
    bool m_busy = false;
    bool m_stopping = false;
    std::thread m_thread;
};

} // namespace platform
