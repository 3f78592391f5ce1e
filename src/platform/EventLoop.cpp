#include "platform/EventLoop.h"

#include <chrono>

#include <QCoreApplication>
#include <QEventLoop>
#include <QObject>
#include <QTimer>

namespace platform {

PostTarget::PostTarget() : m_token(std::make_shared<bool>(true)) {}

PostTarget::~PostTarget()
{
    *m_token = false;
}

namespace {

// Every call goes to the one application object, so calls run in posting order across all
// posters; the token drops the calls of a poster that is gone. No receiver object is ever
// destroyed while one of its own calls runs.
void postGuarded(std::weak_ptr<bool> token, std::function<void()> call)
{
    postToLoop([token = std::move(token), call = std::move(call)] {
        if (auto alive = token.lock(); alive && *alive)
            call();
    });
}

} // namespace

void PostTarget::post(std::function<void()> call)
{
    postGuarded(m_token, std::move(call));
}

std::function<void(std::function<void()>)> PostTarget::poster() const
{
    return [token = std::weak_ptr<bool>(m_token)](std::function<void()> call) { postGuarded(token, std::move(call)); };
}

void PostTarget::cancelPending()
{
    *m_token = false;
    m_token = std::make_shared<bool>(true);
}

void postToLoop(std::function<void()> call)
{
    if (auto* application = QCoreApplication::instance())
        QMetaObject::invokeMethod(application, std::move(call), Qt::QueuedConnection);
}

int64_t tickCount()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void pumpEvents(int maxWaitMs)
{
    if (!QCoreApplication::instance())
        return;
    // A single-shot timer bounds the wait: WaitForMoreEvents returns as soon as anything,
    // this timer included, has been processed.
    QTimer wake;
    wake.setSingleShot(true);
    wake.start(maxWaitMs < 0 ? 0 : maxWaitMs);
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

bool applicationTerminating()
{
    return !QCoreApplication::instance() || QCoreApplication::closingDown();
}

} // namespace platform
