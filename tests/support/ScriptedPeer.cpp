#include "support/ScriptedPeer.h"

#include <chrono>

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace testsupport {

ScriptedPeer::~ScriptedPeer()
{
    finish(10000);
    if (m_thread.joinable())
        m_thread.join();
    ::close(m_listener);
}

bool ScriptedPeer::finish(int timeoutMs)
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < deadline) {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (m_done)
                break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_done;
}

std::vector<std::string> ScriptedPeer::failures()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_failures;
}

void ScriptedPeer::fail(const std::string& what)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_failures.push_back(what);
}

bool ScriptedPeer::readLine(int connection, std::string& line, int timeoutMs)
{
    line.clear();
    for (;;) {
        pollfd ready{connection, POLLIN, 0};
        if (::poll(&ready, 1, timeoutMs) <= 0)
            return false;
        char c;
        if (::recv(connection, &c, 1, 0) != 1)
            return false;
        if (c == '\n') {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            return true;
        }
        line += c;
    }
}

namespace {

int loopbackListener(int& port)
{
    int handle = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(handle, reinterpret_cast<sockaddr*>(&address), sizeof(address));
    ::listen(handle, 1);
    socklen_t length = sizeof(address);
    ::getsockname(handle, reinterpret_cast<sockaddr*>(&address), &length);
    port = ntohs(address.sin_port);
    return handle;
}

std::string pasvReply(const std::string& pattern, int port)
{
    std::string numbers = std::to_string(port / 256) + "," + std::to_string(port % 256);
    if (pattern.empty())
        return "227 Entering Passive Mode (127,0,0,1," + numbers + ")\r\n";
    // "{port}" as PASV writes it (two numbers), "{number}" as EPSV does.
    std::string reply = pattern;
    size_t at = reply.find("{port}");
    if (at != std::string::npos)
        reply.replace(at, 6, numbers);
    at = reply.find("{number}");
    if (at != std::string::npos)
        reply.replace(at, 8, std::to_string(port));
    return reply;
}

} // namespace

ScriptedPeer::ScriptedPeer(std::vector<PeerStep> script) : m_script(std::move(script))
{
    m_listener = loopbackListener(m_port);
    m_thread = std::thread([this] { run(); });
}

std::string peerPattern(size_t size)
{
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xff);
    return bytes;
}

void ScriptedPeer::closeData()
{
    if (m_data >= 0)
        ::close(m_data);
    m_data = -1;
}

void ScriptedPeer::runStep(const PeerStep& step, int connection, bool& stop)
{
    switch (step.kind) {
    case PeerStep::Send:
        ::send(connection, step.text.data(), step.text.size(), MSG_NOSIGNAL);
        break;
    case PeerStep::SendBytewise:
        for (char c : step.text) {
            ::send(connection, &c, 1, MSG_NOSIGNAL);
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        break;
    case PeerStep::Expect: {
        std::string line;
        bool read = readLine(connection, line, 10000);
        // The scripted peer is a server of PASV's time: it refuses EPSV as such a server does,
        // so every case that expects PASV also shows the client falling back to it.
        if (read && step.text.rfind("PASV", 0) == 0 && line.rfind("EPSV", 0) == 0) {
            static const std::string refusal = "502 Command not implemented.\r\n";
            ::send(connection, refusal.data(), refusal.size(), MSG_NOSIGNAL);
            read = readLine(connection, line, 10000);
        }
        // Nor does it speak TLS, unless the script is about that.
        if (read && step.text.rfind("AUTH", 0) != 0 && line.rfind("AUTH ", 0) == 0) {
            static const std::string refusal = "500 AUTH not understood.\r\n";
            ::send(connection, refusal.data(), refusal.size(), MSG_NOSIGNAL);
            read = readLine(connection, line, 10000);
        }
        if (!read) {
            fail("expected \"" + step.text + "\", got nothing");
            stop = true;
        } else if (line.rfind(step.text, 0) != 0) {
            fail("expected \"" + step.text + "\", got \"" + line + "\"");
        }
        break;
    }
    case PeerStep::Pause:
        std::this_thread::sleep_for(std::chrono::milliseconds(step.milliseconds));
        break;
    case PeerStep::Close:
        stop = true;
        break;
    case PeerStep::Pasv:
    case PeerStep::PasvClosed: {
        int port = 0;
        if (m_dataListener >= 0)
            ::close(m_dataListener);
        m_dataListener = loopbackListener(port);
        if (step.kind == PeerStep::PasvClosed) {
            ::close(m_dataListener); // the port stays free: nothing listens there now
            m_dataListener = -1;
        }
        std::string reply = pasvReply(step.text, port);
        ::send(connection, reply.data(), reply.size(), MSG_NOSIGNAL);
        break;
    }
    case PeerStep::Accept: {
        pollfd incoming{m_dataListener, POLLIN, 0};
        if (m_dataListener < 0 || ::poll(&incoming, 1, 10000) != 1) {
            fail("no data connection");
            stop = true;
            break;
        }
        m_data = ::accept4(m_dataListener, nullptr, nullptr, SOCK_CLOEXEC);
        break;
    }
    case PeerStep::SendData: {
        std::string bytes = peerPattern(static_cast<size_t>(step.milliseconds));
        size_t sent = 0;
        while (m_data >= 0 && sent < bytes.size()) {
            ssize_t n = ::send(m_data, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
            if (n <= 0)
                break; // the client closed its end: that may be what the case is about
            sent += static_cast<size_t>(n);
        }
        break;
    }
    case PeerStep::SendDataText:
        if (m_data >= 0)
            ::send(m_data, step.text.data(), step.text.size(), MSG_NOSIGNAL);
        break;
    case PeerStep::CloseData:
        closeData();
        break;
    case PeerStep::ExpectClose: {
        pollfd ready{connection, POLLIN, 0};
        char c;
        if (::poll(&ready, 1, 10000) <= 0 || ::recv(connection, &c, 1, 0) != 0)
            fail("the client sent something, or did not close");
        stop = true;
        break;
    }
    case PeerStep::ExpectBytes: {
        std::string got;
        while (got.size() < step.text.size()) {
            pollfd ready{connection, POLLIN, 0};
            char c;
            if (::poll(&ready, 1, 10000) <= 0 || ::recv(connection, &c, 1, 0) != 1)
                break;
            got += c;
        }
        if (got != step.text) {
            fail("expected " + std::to_string(step.text.size()) + " bytes, got " + std::to_string(got.size()) +
                 (got.size() == step.text.size() ? " that differ" : ""));
            stop = true;
        }
        break;
    }
    }
}

void ScriptedPeer::run()
{
    int connection = -1;
    pollfd incoming{m_listener, POLLIN, 0};
    if (::poll(&incoming, 1, 10000) == 1)
        connection = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
    if (connection < 0) {
        fail("no client connected");
    } else {
        bool stop = false;
        for (size_t i = 0; i < m_script.size() && !stop; ++i)
            runStep(m_script[i], connection, stop);
        closeData();
        ::close(connection);
    }
    if (m_dataListener >= 0)
        ::close(m_dataListener);
    std::lock_guard<std::mutex> lock(m_mutex);
    m_done = true;
}

std::string unescape(const std::string& text)
{
    std::string result;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            result += text[i];
            continue;
        }
        char next = text[++i];
        result += next == 'r' ? '\r' : next == 'n' ? '\n' : next == 't' ? '\t' : next;
    }
    return result;
}

} // namespace testsupport
