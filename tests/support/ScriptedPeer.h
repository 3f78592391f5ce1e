#pragma once

// A small TCP server on 127.0.0.1 that plays a script to the one client that connects: for the
// replies no real FTP server gives on demand (a 421 greeting, bytes one at a time, an
// over-long line, a close in the middle of a reply). It runs on its own thread with blocking
// sockets and bounded waits, so the client under test keeps the main thread to itself.

#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace testsupport {

struct PeerStep
{
    enum Kind
    {
        Send,         // text as it stands
        SendBytewise, // text one byte per send
        Expect,       // read one line from the client; it must start with text
        Pause,        // milliseconds
        Close
    };
    Kind kind;
    std::string text;
    int milliseconds = 0;
};

class ScriptedPeer
{
public:
    explicit ScriptedPeer(std::vector<PeerStep> script);
    ~ScriptedPeer();
    ScriptedPeer(const ScriptedPeer&) = delete;
    ScriptedPeer& operator=(const ScriptedPeer&) = delete;

    int port() const { return m_port; }
    std::string portText() const { return std::to_string(m_port); }
    // Waits for the script to end (at most timeoutMs); false if it is still running.
    bool finish(int timeoutMs = 10000);
    // What went against the script: lines that did not match, a client that never came.
    std::vector<std::string> failures();

private:
    void run();
    void fail(const std::string& what);
    bool readLine(int connection, std::string& line, int timeoutMs);

    std::vector<PeerStep> m_script;
    int m_listener = -1;
    int m_port = 0;
    bool m_done = false;
    std::mutex m_mutex;
    std::vector<std::string> m_failures;
    std::thread m_thread;
};

// "\r", "\n", "\t" and "\\" in a script text.
std::string unescape(const std::string& text);

} // namespace testsupport
