#pragma once

// An ini file read whole when opened and rewritten whole by one flush. Section and key names
// are compared without regard to letter case; sections and keys keep their order, and new
// ones are appended. Comment lines (";"), lines before the first section and lines without
// "=" are dropped on reading. Lines end with CR LF when written.

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

class IniFile
{
public:
    // Reads the file if it exists; a missing or unreadable file is an empty one.
    explicit IniFile(std::string path);
    // An empty file that is only written (through Text()).
    IniFile() = default;

    std::string ReadString(const std::string& section, const std::string& key, const std::string& fallback) const;
    // Decimal, or hexadecimal after "0x"/"0X" (values longer than two characters) or "$";
    // the fallback for a missing or unreadable value.
    int64_t ReadInt64(const std::string& section, const std::string& key, int64_t fallback) const;
    int ReadInteger(const std::string& section, const std::string& key, int fallback) const;
    // Any integer other than 0 is true.
    bool ReadBool(const std::string& section, const std::string& key, bool fallback) const;
    bool SectionExists(const std::string& section) const;

    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void WriteInt64(const std::string& section, const std::string& key, int64_t value);
    void WriteInteger(const std::string& section, const std::string& key, int value);
    void WriteBool(const std::string& section, const std::string& key, bool value);

    // Rewrites the whole file atomically (0600); false when it could not be written.
    bool UpdateFile() const;
    // The text UpdateFile writes.
    std::string Text() const;

    const std::string& Path() const { return m_path; }

private:
    struct Entry
    {
        std::string key;
        std::string value;
    };
    struct Section
    {
        std::string name;
        std::vector<Entry> entries;
        // Keys folded to lower case -> their entries: a section of many thousand keys (a
        // broken list) is read and written in time linear in its size.
        std::unordered_map<std::string, size_t> index;

        const Entry* Find(const std::string& key) const;
        void Set(const std::string& key, const std::string& value);
    };

    const Section* FindSection(const std::string& name) const;
    const std::string* FindValue(const std::string& section, const std::string& key) const;
    void Parse(const std::string& text);

    std::string m_path;
    std::vector<Section> m_sections;
};
