#pragma once

// The FTP client the program uses: the asynchronous requests plus synchronous variants that
// pump the event loop until their request is done. Other connections' handlers, timers and
// user input run inside such a call.

#include <functional>

#include "ftp/CustomFtpCli.h"

class TFtpClient : public TCustomFtpCli
{
public:
    TFtpClient() = default;

    // Limit of a synchronous wait in seconds; 0 or less waits without limit.
    int Timeout = 15;
    bool MultiThreaded = false;

    bool OpenSync()
    {
        return Synchronize([this] { Open(); });
    }
    bool QuoteSync()
    {
        return Synchronize([this] { Quote(); });
    }
    bool QuitSync()
    {
        return Synchronize([this] { Quit(); });
    }
    bool TypeBinarySync()
    {
        return Synchronize([this] { TypeBinary(); });
    }
    bool TypeAsciiSync()
    {
        return Synchronize([this] { TypeAscii(); });
    }
    bool AbortSync();

    // Runs one asynchronous request and waits for it; false when it failed, did not start,
    // or timed out (the connection is then aborted and ErrorMessage says "426 Timeout").
    bool Synchronize(const std::function<void()>& request);
    bool WaitUntilReady();

protected:
    // Every chunk moved puts the end of a synchronous wait further off.
    bool Progress() override;

private:
    int64_t m_stopTick = 0;
};
