#pragma once

// The two tables of the site book file book20.dat, byte for byte: 50 class entries of 50 bytes,
// then 500 site records of 416 bytes; little-endian, no header, always 210,500 bytes written.

#include <array>
#include <cstdint>
#include <string>

class TSiteBookTables
{
public:
    static constexpr int kMaxClasses = 50;
    static constexpr int kClassEntrySize = 50;
    static constexpr int kMaxSites = 500;
    static constexpr int kRecordSize = 416;
    static constexpr int kClassTableSize = kMaxClasses * kClassEntrySize; // 2,500
    static constexpr int kSiteTableSize = kMaxSites * kRecordSize;        // 208,000
    static constexpr int kFileSize = kClassTableSize + kSiteTableSize;    // 210,500

    // A text field of a site record: its offset and width (the text holds width - 1 bytes).
    struct Field
    {
        int offset;
        int width;
    };
    static constexpr Field kName{4, 50};
    static constexpr Field kHost{54, 50};
    static constexpr Field kPort{104, 10};
    static constexpr Field kUser{114, 50};
    static constexpr Field kPassword{164, 50};
    static constexpr Field kDescription{214, 200};

    // Fills the tables from a file's bytes: a shorter file leaves the rest zero, a longer one
    // has its tail ignored.
    void Load(const std::string& bytes);
    std::string Bytes() const;
    void Clear();

    // Entries and records are numbered from 1.
    std::string ClassName(int entry) const;
    // False when the name had to be cut to fit.
    bool SetClassName(int entry, const std::string& name);

    int32_t ClassNumber(int record) const;
    void SetClassNumber(int record, int32_t number);
    std::string Text(int record, Field field) const;
    bool SetText(int record, Field field, const std::string& text);
    // Copies a whole record, padding included.
    void CopyRecord(int record, const TSiteBookTables& from, int fromRecord);

    // The longest prefix of text that fits width - 1 bytes without splitting a UTF-8 character.
    static std::string Fit(const std::string& text, int width);

private:
    unsigned char* Record(int record) { return m_sites.data() + (record - 1) * kRecordSize; }
    const unsigned char* Record(int record) const { return m_sites.data() + (record - 1) * kRecordSize; }

    std::array<unsigned char, kClassTableSize> m_classes{};
    std::array<unsigned char, kSiteTableSize> m_sites{};
};
