#include "support/WaitFor.h"

#include "platform/EventLoop.h"

namespace testsupport {

bool waitFor(const std::function<bool()>& predicate, int timeoutMs)
{
    int64_t deadline = platform::tickCount() + timeoutMs;
    while (!predicate()) {
        int64_t left = deadline - platform::tickCount();
        if (left <= 0)
            return predicate();
        platform::pumpEvents(static_cast<int>(left < 50 ? left : 50));
    }
    return true;
}

void pumpFor(int ms)
{
    waitFor([] { return false; }, ms);
}

} // namespace testsupport
