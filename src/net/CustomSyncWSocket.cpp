#include "net/CustomSyncWSocket.h"

#include "platform/EventLoop.h"

int TCustomSyncWSocket::Synchronize(const std::function<void()>& proc, bool& done)
{
    done = false;
    if (proc)
        proc();
    return WaitUntilReady(done);
}

int TCustomSyncWSocket::WaitUntilReady(const bool& done)
{
    int64_t stop = platform::tickCount() + Timeout;
    while (!done) {
        if (Timeout > 0 && platform::tickCount() > stop)
            return kWaitFailed;
        if (platform::applicationTerminating())
            return kWaitFailed;
        ProcessMessages();
    }
    return 0;
}
