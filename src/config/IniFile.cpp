#include "config/IniFile.h"

#include <cctype>
#include <limits>

#include "platform/AtomicFile.h"
#include "platform/TextLines.h"

namespace {

bool sameName(const std::string& a, const std::string& b)
{
    return platform::EqualsIgnoringCase(a, b);
}

std::string trimmed(const std::string& text)
{
    return platform::TrimBlanks(text);
}

// Parses a whole number with overflow checks; false when the text is not one.
bool parseNumber(const std::string& raw, int64_t& result)
{
    std::string text = trimmed(raw);
    int base = 10;
    size_t start = 0;
    bool negative = false;
    if (!text.empty() && text[0] == '$') {
        base = 16;
        start = 1;
    } else if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        start = 2;
    } else if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
        negative = text[0] == '-';
        start = 1;
    }
    if (start >= text.size())
        return false;
    uint64_t value = 0;
    for (size_t i = start; i < text.size(); ++i) {
        int digit = std::isdigit(static_cast<unsigned char>(text[i])) ? text[i] - '0'
                    : base == 16 && std::isxdigit(static_cast<unsigned char>(text[i]))
                        ? std::tolower(static_cast<unsigned char>(text[i])) - 'a' + 10
                        : -1;
        if (digit < 0)
            return false;
        if (value > (std::numeric_limits<uint64_t>::max() - static_cast<uint64_t>(digit)) / base)
            return false;
        value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
    }
    if (base == 16) {
        // Hexadecimal spells the bits: FFFFFFFF is -1 as a 32-bit number, as it was written.
        if (value <= std::numeric_limits<uint32_t>::max())
            result = static_cast<int32_t>(static_cast<uint32_t>(value));
        else
            result = static_cast<int64_t>(value);
        return true;
    }
    if (value > static_cast<uint64_t>(std::numeric_limits<int64_t>::max()) + (negative ? 1 : 0))
        return false;
    result = negative ? static_cast<int64_t>(0 - value) : static_cast<int64_t>(value);
    return true;
}

} // namespace

IniFile::IniFile(std::string path) : m_path(std::move(path))
{
    std::string text;
    if (platform::readWholeFile(m_path, text))
        Parse(text);
}

void IniFile::Parse(const std::string& text)
{
    Section* current = nullptr;
    for (const std::string& line : platform::SplitLines(text)) {
        std::string content = trimmed(line);
        if (content.empty() || content[0] == ';')
            continue;
        if (content.front() == '[' && content.back() == ']' && content.size() >= 2) {
            std::string name = content.substr(1, content.size() - 2);
            current = nullptr;
            for (Section& section : m_sections)
                if (sameName(section.name, name))
                    current = &section;
            if (!current) {
                m_sections.push_back({name, {}, {}});
                current = &m_sections.back();
            }
            continue;
        }
        size_t equals = line.find('=');
        if (!current || equals == std::string::npos)
            continue; // before the first section, or no entry at all
        std::string key = trimmed(line.substr(0, equals));
        std::string value = line.substr(equals + 1);
        current->Set(key, value);
    }
}

static std::string folded(const std::string& key)
{
    std::string lower = key;
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

const IniFile::Entry* IniFile::Section::Find(const std::string& key) const
{
    auto found = index.find(folded(key));
    return found == index.end() ? nullptr : &entries[found->second];
}

void IniFile::Section::Set(const std::string& key, const std::string& value)
{
    auto [found, added] = index.emplace(folded(key), entries.size());
    if (added)
        entries.push_back({key, value});
    else
        entries[found->second].value = value;
}

const IniFile::Section* IniFile::FindSection(const std::string& name) const
{
    for (const Section& section : m_sections)
        if (sameName(section.name, name))
            return &section;
    return nullptr;
}

const std::string* IniFile::FindValue(const std::string& section, const std::string& key) const
{
    const Section* found = FindSection(section);
    if (!found)
        return nullptr;
    const Entry* entry = found->Find(key);
    return entry ? &entry->value : nullptr;
}

bool IniFile::SectionExists(const std::string& section) const
{
    return FindSection(section) != nullptr;
}

std::string IniFile::ReadString(const std::string& section, const std::string& key, const std::string& fallback) const
{
    const std::string* value = FindValue(section, key);
    return value ? *value : fallback;
}

int64_t IniFile::ReadInt64(const std::string& section, const std::string& key, int64_t fallback) const
{
    const std::string* value = FindValue(section, key);
    int64_t number = 0;
    return value && parseNumber(*value, number) ? number : fallback;
}

int IniFile::ReadInteger(const std::string& section, const std::string& key, int fallback) const
{
    int64_t number = ReadInt64(section, key, fallback);
    if (number < std::numeric_limits<int>::min() || number > std::numeric_limits<int>::max())
        return fallback;
    return static_cast<int>(number);
}

bool IniFile::ReadBool(const std::string& section, const std::string& key, bool fallback) const
{
    return ReadInt64(section, key, fallback ? 1 : 0) != 0;
}

void IniFile::WriteString(const std::string& section, const std::string& key, const std::string& value)
{
    Section* target = const_cast<Section*>(FindSection(section));
    if (!target) {
        m_sections.push_back({section, {}, {}});
        target = &m_sections.back();
    }
    target->Set(key, value);
}

void IniFile::WriteInt64(const std::string& section, const std::string& key, int64_t value)
{
    WriteString(section, key, std::to_string(value));
}

void IniFile::WriteInteger(const std::string& section, const std::string& key, int value)
{
    WriteString(section, key, std::to_string(value));
}

void IniFile::WriteBool(const std::string& section, const std::string& key, bool value)
{
    WriteString(section, key, value ? "1" : "0");
}

std::string IniFile::Text() const
{
    std::string text;
    for (const Section& section : m_sections) {
        text += "[" + section.name + "]\r\n";
        for (const Entry& entry : section.entries)
            text += entry.key + "=" + entry.value + "\r\n";
        text += "\r\n";
    }
    return text;
}

bool IniFile::UpdateFile() const
{
    return platform::writeFileAtomically(m_path, Text());
}
