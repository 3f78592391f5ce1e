#include "manager/ListingCache.h"

namespace {

// No directory path can equal this.
const char* const kDisabledPath = "------------------";

} // namespace

void FinishListing(platform::TMemoryStream& listing)
{
    std::string_view data = listing.Data();
    if (data.find('\0') != std::string_view::npos) {
        std::string cleaned;
        cleaned.reserve(data.size());
        bool cut = false;
        for (char c : data) {
            if (c == '\n')
                cut = false;
            else if (c == '\0')
                cut = true;
            if (!cut)
                cleaned += c;
        }
        listing.Clear();
        listing.Write(cleaned.data(), static_cast<int64_t>(cleaned.size()));
    }
    listing.Seek(listing.Size());
    listing.Write("", 1);
}

int TListingCache::Find(const std::string& path) const
{
    for (size_t i = 0; i < m_slots.size(); ++i)
        if (m_slots[i].path == path)
            return static_cast<int>(i);
    return -1;
}

void TListingCache::Add(const std::string& path, std::shared_ptr<platform::TMemoryStream> stream)
{
    Current = stream;
    if (m_slots.size() < static_cast<size_t>(kSlots)) {
        m_slots.push_back({path, std::move(stream)});
        return;
    }
    m_slots[m_oldest] = {path, std::move(stream)};
    m_oldest = (m_oldest + 1) % m_slots.size();
}

void TListingCache::Disable(const std::string& path)
{
    int slot = Find(path);
    if (slot >= 0)
        m_slots[static_cast<size_t>(slot)].path = kDisabledPath;
}

void TListingCache::Clear()
{
    m_slots.clear();
    m_oldest = 0;
    Current.reset();
}

std::string TListingCache::CurrentText() const
{
    if (!Current)
        return {};
    std::string_view data = Current->Data();
    // The stored listing ends with a NUL, as the parser expects it; the text stops there.
    return std::string(data.substr(0, data.find('\0')));
}
