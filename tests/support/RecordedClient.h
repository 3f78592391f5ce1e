#pragma once

// An FTP client whose log lines and completions are recorded, with a helper that runs one
// request to its completion.

#include <algorithm>
#include <functional>
#include <iostream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "ftp/FtpClient.h"
#include "support/WaitFor.h"

namespace testsupport {

struct RecordedClient
{
    TFtpClient client;
    std::vector<std::string> log;
    std::vector<std::pair<int, int>> done; // request type, error

    RecordedClient(const std::string& host, const std::string& port)
    {
        client.HostName = host;
        client.Port = port;
        client.OnDisplay = [this](TCustomFtpCli*, std::string& msg) { log.push_back(msg); };
        client.OnRequestDone = [this](TCustomFtpCli*, TFtpRequest rq, int error) { done.emplace_back(rq, error); };
    }

    // Runs one request and waits for its completion; the error code, or -1 when none came.
    int run(const std::function<void()>& request, int timeoutMs = 30000)
    {
        // The completion of a synchronous call may still be on its way: let it land first.
        waitFor([&] { return client.RequestsDone() == client.RequestsStarted(); });
        size_t before = done.size();
        request();
        if (!waitFor([&] { return done.size() > before; }, timeoutMs))
            return -1;
        return done.back().second;
    }

    bool logged(const std::string& line) const { return std::find(log.begin(), log.end(), line) != log.end(); }

    // At a test's end: the log shown when it failed, the connection dropped, and every request
    // it started ended.
    void finish(bool failed)
    {
        if (failed)
            for (const std::string& line : log)
                std::cerr << "    log: " << line << "\n";
        if (client.Connected())
            client.Abort();
        EXPECT_TRUE(waitFor([&] { return client.RequestsDone() == client.RequestsStarted(); }));
    }
};

} // namespace testsupport
