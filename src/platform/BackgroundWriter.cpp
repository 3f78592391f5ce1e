#include "platform/BackgroundWriter.h"

#include "platform/AtomicFile.h"

namespace platform {

void TBackgroundWriter::Write(const std::string& path, std::string bytes)
{
    bool queued = false;
    {
        std::lock_guard<std::mutex> lock(m_slot->Mutex);
        queued = m_slot->Waiting;
        m_slot->Path = path;
        m_slot->Bytes = std::move(bytes);
        m_slot->Waiting = true;
    }
    if (queued)
        return; // the write already handed over takes these bytes
    m_worker.Run([slot = m_slot] {
        std::string path;
        std::string bytes;
        {
            std::lock_guard<std::mutex> lock(slot->Mutex);
            if (!slot->Waiting)
                return; // dropped
            path = slot->Path;
            bytes = std::move(slot->Bytes);
            slot->Waiting = false;
        }
        bool written = writeFileAtomically(path, bytes);
        std::lock_guard<std::mutex> lock(slot->Mutex);
        slot->LastWritten = written;
    });
}

bool TBackgroundWriter::Settle()
{
    m_worker.Settle();
    std::lock_guard<std::mutex> lock(m_slot->Mutex);
    return m_slot->LastWritten;
}

void TBackgroundWriter::Drop()
{
    {
        std::lock_guard<std::mutex> lock(m_slot->Mutex);
        m_slot->Waiting = false;
        m_slot->Bytes.clear();
    }
    m_worker.Settle();
}

} // namespace platform
