#pragma once

// The program's one message loop, seen from the logic below the widgets: posted calls that
// run later in posting order, a millisecond tick, and nested pumping for synchronous waits.

#include <cstdint>
#include <functional>
#include <memory>

namespace platform {

// Receiver of posted calls. A call posted through a PostTarget runs on the main thread from
// the event loop, after every call posted before it; calls still queued when the target is
// destroyed are dropped, so a posted call never reaches a destroyed owner.
class PostTarget
{
public:
    PostTarget();
    ~PostTarget();
    PostTarget(const PostTarget&) = delete;
    PostTarget& operator=(const PostTarget&) = delete;

    void post(std::function<void()> call);
    // A way to post to this target from another thread: the target is taken now, on the
    // loop's thread, and the calls are dropped as post drops them.
    std::function<void(std::function<void()>)> poster() const;

    // Drops every call posted so far that has not run yet.
    void cancelPending();

private:
    std::shared_ptr<bool> m_token;
};

// Posts a call that runs whatever becomes of its poster: for calls that destroy their poster.
void postToLoop(std::function<void()> call);

// Milliseconds from a fixed point; only differences mean anything.
int64_t tickCount();

// Runs what the event loop has pending; waits at most maxWaitMs for something to arrive when
// nothing is pending. Used by the synchronous waits, so every handler must tolerate re-entry.
void pumpEvents(int maxWaitMs);

// True once the application has begun to quit: synchronous waits give up then.
bool applicationTerminating();

} // namespace platform
