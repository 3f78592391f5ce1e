#include "platform/RateLimiter.h"

#include <algorithm>
#include <iterator>

#include "platform/EventLoop.h"
#include "platform/Timer.h"

namespace platform {

TRateLimiter::TRateLimiter() : m_timer(std::make_unique<Timer>())
{
    m_timer->onTimeout = [this] { WakeWaiters(); };
}

TRateLimiter::~TRateLimiter() = default;

void TRateLimiter::SetRate(int64_t bytesPerSecond)
{
    Refill();
    m_rate = std::max<int64_t>(bytesPerSecond, 0);
    m_credit = std::min(m_credit, static_cast<double>(m_rate) * kSliceMs / 1000.0);
    if (!m_waiters.empty())
        m_timer->start(m_rate > 0 ? static_cast<int>(kSliceMs) : 0);
}

void TRateLimiter::Refill()
{
    int64_t now = tickCount();
    if (m_lastRefill > 0 && m_rate > 0) {
        m_credit += static_cast<double>(m_rate) * static_cast<double>(now - m_lastRefill) / 1000.0;
        // Credit saved while nothing moved is not spent in one burst: at most two slices' worth.
        m_credit = std::min(m_credit, static_cast<double>(m_rate) * 2 * kSliceMs / 1000.0);
    }
    m_lastRefill = now;
}

int64_t TRateLimiter::Allowance(const void* user)
{
    if (m_rate <= 0)
        return -1;
    Refill();
    // A new slice: what each spent starts again, and users silent for three slices no longer
    // share (once a slice, not on every read).
    int64_t now = tickCount();
    if (now - m_sliceStart >= kSliceMs) {
        m_sliceStart = now;
        for (auto it = m_users.begin(); it != m_users.end();) {
            it->second.Spent = 0;
            it = now - it->second.Asked > 3 * kSliceMs ? m_users.erase(it) : std::next(it);
        }
    }
    TUser& self = m_users[user];
    self.Asked = now;
    if (m_credit <= 0)
        return 0;
    // A slice's share, or of the credit when more is there (a slice that lasted longer).
    auto users = static_cast<int64_t>(m_users.size());
    int64_t share = std::max({m_rate * kSliceMs / 1000 / users, static_cast<int64_t>(m_credit) / users, int64_t{512}});
    // One that has had its share of this slice waits for the next, however often its socket
    // is ready meanwhile.
    return std::max<int64_t>(share - self.Spent, 0);
}

void TRateLimiter::Spend(const void* user, int64_t bytes)
{
    if (m_rate <= 0 || bytes <= 0)
        return;
    Refill();
    m_credit -= static_cast<double>(bytes);
    TUser& seen = m_users[user];
    seen.Asked = tickCount();
    seen.Spent += bytes;
}

uint64_t TRateLimiter::Wait(const void* user, std::function<void()> resume)
{
    uint64_t id = m_nextWait++;
    m_waiters.emplace(id, std::pair{user, std::move(resume)});
    if (!m_timer->active())
        m_timer->start(m_rate > 0 ? static_cast<int>(kSliceMs) : 0);
    return id;
}

void TRateLimiter::CancelWait(uint64_t wait)
{
    m_waiters.erase(wait);
    if (m_waiters.empty())
        m_timer->stop();
}

void TRateLimiter::WakeWaiters()
{
    Refill();
    if (m_rate > 0 && m_credit <= 0)
        return; // the next slice, then
    m_timer->stop();
    // Each waiter asks for its allowance again when its turn comes; one that finds none waits anew.
    std::map<uint64_t, std::pair<const void*, std::function<void()>>> waking;
    waking.swap(m_waiters);
    for (auto& [id, waiter] : waking)
        waiter.second();
}

} // namespace platform
