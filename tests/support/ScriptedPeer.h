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
        Close,
        Pasv,         // open a data listener and send its 227 reply; a text replaces the reply,
                      // with {port} standing for "p1,p2" of the listener
        PasvClosed,   // a 227 reply naming a port where nothing listens
        Accept,       // take the client's data connection
        SendData,     // that many bytes (the number field) of peerPattern on the data connection
        SendDataText, // text on the data connection
        CloseData,
        ExpectBytes, // read exactly as many bytes as text holds; they must be those
        ExpectClose  // the client closes without sending anything more
    };
    Kind kind;
    std::string text;
    int milliseconds = 0; // also the byte count of SendData
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
    void runStep(const PeerStep& step, int connection, bool& stop);
    void closeData();

    std::vector<PeerStep> m_script;
    int m_listener = -1;
    int m_port = 0;
    int m_dataListener = -1;
    int m_data = -1;
    bool m_done = false;
    std::mutex m_mutex;
    std::vector<std::string> m_failures;
    std::thread m_thread;
};

// The bytes the peer sends for SendData: byte i is (i * 7 + i / 251) & 0xff.
std::string peerPattern(size_t size);

// "\r", "\n", "\t" and "\\" in a script text.
std::string unescape(const std::string& text);

} // namespace testsupport
