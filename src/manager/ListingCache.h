#pragma once

// The listings of connection 0 by remote directory, so that changing into a directory listed
// before needs no LIST. Slots are added as directories are listed; a refreshed directory's old
// slot is disabled. When all slots are taken the oldest is used again.

#include <memory>
#include <string>
#include <vector>

#include "platform/Stream.h"

// Makes a received listing ready for the parser: a NUL inside a line ends that line (the
// rest of the line goes, the lines after it stay), and the listing ends with one NUL.
void FinishListing(platform::TMemoryStream& listing);

class TListingCache
{
public:
    static constexpr int kSlots = 8193;

    // The slot of a directory (path ending with "/"), or -1.
    int Find(const std::string& path) const;
    // Adds a listing for path; the stream becomes the current listing.
    void Add(const std::string& path, std::shared_ptr<platform::TMemoryStream> stream);
    // Makes a directory's slot unusable, so that its next listing comes from the server.
    void Disable(const std::string& path);
    void Clear();

    std::shared_ptr<platform::TMemoryStream> Stream(int slot) const
    {
        return m_slots[static_cast<size_t>(slot)].stream;
    }
    int Size() const { return static_cast<int>(m_slots.size()); }

    // The listing the remote pane shows: a cached one or one being fetched.
    std::shared_ptr<platform::TMemoryStream> Current;
    std::string CurrentText() const;

private:
    struct Slot
    {
        std::string path;
        std::shared_ptr<platform::TMemoryStream> stream;
    };
    std::vector<Slot> m_slots;
    size_t m_oldest = 0; // the slot reused next once all are taken
};
