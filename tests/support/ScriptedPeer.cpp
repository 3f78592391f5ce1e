#include "support/ScriptedPeer.h"

#include <chrono>

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace testsupport {

ScriptedPeer::ScriptedPeer(std::vector<PeerStep> script) : m_script(std::move(script))
{
    m_listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof(address));
    ::listen(m_listener, 1);
    socklen_t length = sizeof(address);
    ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length);
    m_port = ntohs(address.sin_port);
    m_thread = std::thread([this] { run(); });
}

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

void ScriptedPeer::run()
{
    int connection = -1;
    pollfd incoming{m_listener, POLLIN, 0};
    if (::poll(&incoming, 1, 10000) == 1)
        connection = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
    if (connection < 0) {
        fail("no client connected");
    } else {
        for (const PeerStep& step : m_script) {
            if (step.kind == PeerStep::Send) {
                ::send(connection, step.text.data(), step.text.size(), MSG_NOSIGNAL);
            } else if (step.kind == PeerStep::SendBytewise) {
                for (char c : step.text) {
                    ::send(connection, &c, 1, MSG_NOSIGNAL);
                    std::this_thread::sleep_for(std::chrono::milliseconds(2));
                }
            } else if (step.kind == PeerStep::Expect) {
                std::string line;
                if (!readLine(connection, line, 10000)) {
                    fail("expected \"" + step.text + "\", got nothing");
                    break;
                }
                if (line.rfind(step.text, 0) != 0)
                    fail("expected \"" + step.text + "\", got \"" + line + "\"");
            } else if (step.kind == PeerStep::Pause) {
                std::this_thread::sleep_for(std::chrono::milliseconds(step.milliseconds));
            } else if (step.kind == PeerStep::Close) {
                break;
            }
        }
        ::close(connection);
    }
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
