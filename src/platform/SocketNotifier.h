#pragma once

// Readiness of one non-blocking socket handle, reported on the main thread.

#include <functional>
#include <memory>

class QSocketNotifier;

namespace platform {

class SocketNotifier
{
public:
    std::function<void()> onReadable;
    std::function<void()> onWritable;

    explicit SocketNotifier(int handle);
    ~SocketNotifier();
    SocketNotifier(const SocketNotifier&) = delete;
    SocketNotifier& operator=(const SocketNotifier&) = delete;

    // Readiness is level-triggered: a watched handle keeps reporting while it stays ready.
    void watchRead(bool on);
    void watchWrite(bool on);
    bool watchingWrite() const;

private:
    std::unique_ptr<QSocketNotifier> m_read;
    std::unique_ptr<QSocketNotifier> m_write;
};

} // namespace platform
