#include "config/SiteBookTables.h"

#include <algorithm>
#include <cstring>

namespace {

// A zero-terminated text in a field of the given width; a field without a zero ends at its end.
std::string readText(const unsigned char* field, int width)
{
    const unsigned char* end = static_cast<const unsigned char*>(std::memchr(field, 0, static_cast<size_t>(width)));
    return std::string(reinterpret_cast<const char*>(field), end ? static_cast<size_t>(end - field) : width);
}

// Writes the text and zeroes the rest of the field; false when the text had to be cut.
bool writeText(unsigned char* field, int width, const std::string& text)
{
    std::string fitted = TSiteBookTables::Fit(text, width);
    std::memset(field, 0, static_cast<size_t>(width));
    std::memcpy(field, fitted.data(), fitted.size());
    return fitted.size() == text.size();
}

} // namespace

std::string TSiteBookTables::Fit(const std::string& text, int width)
{
    size_t room = static_cast<size_t>(width - 1);
    if (text.size() <= room)
        return text;
    size_t cut = room;
    // Step back over continuation bytes so that no character is split.
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut;
    return text.substr(0, cut);
}

void TSiteBookTables::Load(const std::string& bytes)
{
    Clear();
    size_t classBytes = std::min<size_t>(bytes.size(), kClassTableSize);
    std::memcpy(m_classes.data(), bytes.data(), classBytes);
    if (bytes.size() > static_cast<size_t>(kClassTableSize)) {
        size_t siteBytes = std::min<size_t>(bytes.size() - kClassTableSize, kSiteTableSize);
        std::memcpy(m_sites.data(), bytes.data() + kClassTableSize, siteBytes);
    }
}

std::string TSiteBookTables::Bytes() const
{
    std::string bytes(reinterpret_cast<const char*>(m_classes.data()), m_classes.size());
    bytes.append(reinterpret_cast<const char*>(m_sites.data()), m_sites.size());
    return bytes;
}

void TSiteBookTables::Clear()
{
    m_classes.fill(0);
    m_sites.fill(0);
}

std::string TSiteBookTables::ClassName(int entry) const
{
    if (entry < 1 || entry > kMaxClasses)
        return {};
    return readText(m_classes.data() + (entry - 1) * kClassEntrySize, kClassEntrySize);
}

bool TSiteBookTables::SetClassName(int entry, const std::string& name)
{
    if (entry < 1 || entry > kMaxClasses)
        return false;
    return writeText(m_classes.data() + (entry - 1) * kClassEntrySize, kClassEntrySize, name);
}

int32_t TSiteBookTables::ClassNumber(int record) const
{
    if (record < 1 || record > kMaxSites)
        return 0;
    const unsigned char* bytes = Record(record);
    return static_cast<int32_t>(static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
                                static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24);
}

void TSiteBookTables::SetClassNumber(int record, int32_t number)
{
    if (record < 1 || record > kMaxSites)
        return;
    unsigned char* bytes = Record(record);
    auto value = static_cast<uint32_t>(number);
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<unsigned char>(value >> (8 * i));
}

std::string TSiteBookTables::Text(int record, Field field) const
{
    if (record < 1 || record > kMaxSites)
        return {};
    return readText(Record(record) + field.offset, field.width);
}

bool TSiteBookTables::SetText(int record, Field field, const std::string& text)
{
    if (record < 1 || record > kMaxSites)
        return false;
    return writeText(Record(record) + field.offset, field.width, text);
}

void TSiteBookTables::CopyRecord(int record, const TSiteBookTables& from, int fromRecord)
{
    if (record < 1 || record > kMaxSites || fromRecord < 1 || fromRecord > kMaxSites)
        return;
    std::memcpy(Record(record), from.Record(fromRecord), kRecordSize);
}
