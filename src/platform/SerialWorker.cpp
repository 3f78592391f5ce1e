#include "platform/SerialWorker.h"

namespace platform {

TSerialWorker::~TSerialWorker()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_one();
    if (m_thread.joinable())
        m_thread.join();
}

void TSerialWorker::Run(std::function<void()> work)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_work.push_back(std::move(work));
        if (!m_thread.joinable())
            m_thread = std::thread([this] { Loop(); });
    }
    m_wake.notify_one();
}

void TSerialWorker::Settle()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_settled.wait(lock, [this] { return m_work.empty() && !m_busy; });
}

void TSerialWorker::Loop()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return !m_work.empty() || m_stopping; });
        if (m_work.empty())
            return;
        std::function<void()> work = std::move(m_work.front());
        m_work.pop_front();
        m_busy = true;
        lock.unlock();
        work();
        lock.lock();
        m_busy = false;
        m_settled.notify_all();
    }
}

} // namespace platform
