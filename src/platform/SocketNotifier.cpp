#include "platform/SocketNotifier.h"

#include <QSocketNotifier>

namespace platform {

SocketNotifier::SocketNotifier(int handle)
    : m_read(std::make_unique<QSocketNotifier>(handle, QSocketNotifier::Read)),
      m_write(std::make_unique<QSocketNotifier>(handle, QSocketNotifier::Write))
{
    m_read->setEnabled(false);
    m_write->setEnabled(false);
    // Handlers are looked up at each activation, so the owner may replace them at any time.
    QObject::connect(m_read.get(), &QSocketNotifier::activated, m_read.get(), [this] {
        if (onReadable)
            onReadable();
    });
    QObject::connect(m_write.get(), &QSocketNotifier::activated, m_write.get(), [this] {
        if (onWritable)
            onWritable();
    });
}

SocketNotifier::~SocketNotifier()
{
    // The owner may close its socket from inside an activation of these very notifiers:
    // unhook them now and let the event loop delete them once that activation has returned.
    for (auto* notifier : {m_read.release(), m_write.release()}) {
        notifier->setEnabled(false);
        QObject::disconnect(notifier, nullptr, nullptr, nullptr);
        notifier->deleteLater();
    }
}

void SocketNotifier::watchRead(bool on)
{
    m_read->setEnabled(on);
}

void SocketNotifier::watchWrite(bool on)
{
    m_write->setEnabled(on);
}

bool SocketNotifier::watchingWrite() const
{
    return m_write->isEnabled();
}

} // namespace platform
