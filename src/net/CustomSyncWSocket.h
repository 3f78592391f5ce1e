#pragma once

// A synchronous wait on top of the socket: run an operation, then pump the event loop until
// a flag is set or the time runs out.

#include <functional>

#include "net/CustomLineWSocket.h"

class TCustomSyncWSocket : public TCustomLineWSocket
{
public:
    static constexpr int kWaitFailed = 12001;

    int Timeout = 0; // milliseconds; 0 waits without limit

    // Clears done, runs the operation and waits for done: 0, or 12001 on timeout or quit.
    int Synchronize(const std::function<void()>& proc, bool& done);
    int WaitUntilReady(const bool& done);
};
