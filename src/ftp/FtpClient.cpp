#include "ftp/FtpClient.h"

#include <algorithm>

#include "platform/EventLoop.h"

bool TFtpClient::Synchronize(const std::function<void()>& request)
{
    uint64_t startedBefore = RequestsStarted();
    try {
        request();
    } catch (const std::exception&) {
        return false;
    }
    // A request refused through the error event never started: it cannot have succeeded.
    if (RequestsStarted() == startedBefore)
        return false;
    return WaitUntilReady();
}

bool TFtpClient::WaitUntilReady()
{
    m_stopTick = platform::tickCount() + static_cast<int64_t>(Timeout) * 1000;
    for (;;) {
        if (m_state == ftpReady)
            return m_requestResult == 0;
        if (platform::applicationTerminating())
            break;
        int64_t left = m_stopTick - platform::tickCount();
        if (Timeout > 0 && left <= 0)
            break;
        platform::pumpEvents(Timeout > 0 ? static_cast<int>(std::min<int64_t>(left, 100)) : 100);
    }
    Abort();
    m_errorMessage = "426 Timeout";
    m_statusCode = 426;
    return false;
}

bool TFtpClient::AbortSync()
{
    Abort();
    return WaitUntilReady();
}

bool TFtpClient::Progress()
{
    if (Timeout > 0)
        m_stopTick = platform::tickCount() + static_cast<int64_t>(Timeout) * 1000;
    return TCustomFtpCli::Progress();
}
