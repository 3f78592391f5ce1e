#pragma once

// A speed limit shared by the connections of one direction of a run: bytes are spent as they
// move, credit grows at the rate, and a connection with none left waits for the next. Each read
// or write asks for an allowance: its fair share of a short slice of time (the slice over the
// connections that asked lately, moving or waiting), so that connections served in the same
// order every turn of the event loop still move alike.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <unordered_map>

namespace platform {

class Timer;

class TRateLimiter
{
public:
    TRateLimiter();
    ~TRateLimiter();
    TRateLimiter(const TRateLimiter&) = delete;
    TRateLimiter& operator=(const TRateLimiter&) = delete;

    // Bytes per second; 0 lifts the limit (and lets every waiter go).
    void SetRate(int64_t bytesPerSecond);
    int64_t Rate() const { return m_rate; }
    bool Limited() const { return m_rate > 0; }

    // What user may move now: 0 when it must wait, otherwise its share of a slice. Without a
    // limit, -1 (anything).
    int64_t Allowance(const void* user);
    void Spend(const void* user, int64_t bytes);
    // Calls resume once there is credit again; the number cancels the wait.
    uint64_t Wait(const void* user, std::function<void()> resume);
    void CancelWait(uint64_t wait);

private:
    void Refill();
    void WakeWaiters();

    static constexpr int64_t kSliceMs = 20;
    int64_t m_rate = 0;
    double m_credit = 0;
    int64_t m_lastRefill = 0;
    // Each user's last word and what it spent in this slice: those of the last slices share
    // the next.
    struct TUser
    {
        int64_t Asked = 0;
        int64_t Spent = 0;
    };
    std::unordered_map<const void*, TUser> m_users;
    int64_t m_sliceStart = 0;
    std::map<uint64_t, std::pair<const void*, std::function<void()>>> m_waiters;
    uint64_t m_nextWait = 1;
    std::unique_ptr<Timer> m_timer;
};

} // namespace platform
