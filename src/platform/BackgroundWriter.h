#pragma once

// A file saved often (a run's journal, several times a second) written on a thread of its own:
// flushing it to disk can take a long moment while other files are being written, and the
// window and the transfers must not wait for that. The newest content replaces any still
// waiting to be written; each write is atomic, as writeFileAtomically makes it.

#include <memory>
#include <mutex>
#include <string>

#include "platform/SerialWorker.h"

namespace platform {

class TBackgroundWriter
{
public:
    void Write(const std::string& path, std::string bytes);
    // Waits until everything handed over is written; false when the last write failed.
    bool Settle();
    // What waits to be written is not written; a write under way is waited for.
    void Drop();

private:
    struct TSlot
    {
        std::mutex Mutex;
        std::string Path;
        std::string Bytes;
        bool Waiting = false;
        bool LastWritten = true;
    };
    std::shared_ptr<TSlot> m_slot = std::make_shared<TSlot>();
    TSerialWorker m_worker; // last: its thread ends before the slot goes
};

} // namespace platform
