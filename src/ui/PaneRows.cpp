#include "ui/PaneRows.h"

#include <algorithm>
#include <cctype>

#include "manager/CommFunc.h"

namespace {

std::string trimmed(const std::string& text)
{
    size_t first = text.find_first_not_of(' ');
    size_t last = text.find_last_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

std::string upperAscii(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

int64_t sizeOf(const TlvFileInfo& row)
{
    int64_t size = 0;
    ParseSize(RemoveSeparators(row.SizeText), size);
    return size;
}

std::string monthNumber(const std::string& word)
{
    static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    for (int i = 0; i < 12; ++i)
        if (word == kMonths[i])
            return TwoDigits(i + 1);
    return "00";
}

} // namespace

std::string TimeSortKey(const std::string& text, const std::string& currentYear)
{
    if (text.find('-') != std::string::npos) {
        std::string key = text;
        size_t dash = key.find('-');
        size_t colon = key.find(':');
        if (colon == std::string::npos || dash > colon) {
            size_t blank = key.find(' ');
            if (blank != std::string::npos)
                key = key.substr(blank + 1) + key.substr(0, blank);
        }
        int century = 0;
        if (key.size() >= 2 && std::isdigit(static_cast<unsigned char>(key[0])) &&
            std::isdigit(static_cast<unsigned char>(key[1])))
            century = (key[0] - '0') * 10 + (key[1] - '0');
        return (century >= 50 ? "19" : "20") + key;
    }
    std::vector<std::string> words;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find(' ', start);
        if (end == std::string::npos)
            end = text.size();
        if (end > start)
            words.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    words.resize(std::max<size_t>(words.size(), 3));
    std::string day = words[2].size() == 1 ? "0" + words[2] : words[2];
    if (text.find(':') != std::string::npos)
        return currentYear + monthNumber(words[1]) + day + words[0];
    return words[0] + monthNumber(words[1]) + day;
}

void SortRows(std::vector<TlvFileInfo>& rows, bool ascending, int column, const std::string& currentYear)
{
    auto keyLess = [&](const TlvFileInfo& a, const TlvFileInfo& b) {
        switch (column) {
        case 1:
            return sizeOf(a) < sizeOf(b);
        case 2:
            return TimeSortKey(a.TimeText, currentYear) < TimeSortKey(b.TimeText, currentYear);
        default:
            return upperAscii(a.Name) < upperAscii(b.Name);
        }
    };
    std::stable_sort(rows.begin(), rows.end(), [&](const TlvFileInfo& a, const TlvFileInfo& b) {
        bool aUp = a.Name == "..";
        bool bUp = b.Name == "..";
        if (aUp != bUp)
            return aUp;
        if (a.IsDir != b.IsDir)
            return a.IsDir;
        return ascending ? keyLess(a, b) : keyLess(b, a);
    });
}

std::string TRemoteRows::Summary() const
{
    return std::to_string(Folders) + " folder(s) " + std::to_string(Files) + " file(s) " + FormatThousands(TotalBytes) +
           " byte(s) listed";
}

TRemoteRows RemoteRowsFromListing(const std::string& listing, bool ascending, int column,
                                  const std::string& currentYear)
{
    TRemoteRows result;
    TlvFileInfo up;
    up.Name = "..";
    up.IsDir = true;
    result.Rows.push_back(up);
    for (const TDirAnalyze& entry : ParseListing(listing)) {
        TlvFileInfo row;
        size_t arrow = entry.Name.find("->"); // a link shows without its target
        row.Name = arrow == std::string::npos ? entry.Name : trimmed(entry.Name.substr(0, arrow));
        int64_t size = 0;
        ParseSize(entry.Size, size); // a size that is no number counts 0
        row.SizeText = FormatThousands(size);
        row.TimeText = entry.TimeOrYear + " " + entry.Month + " " + entry.Day;
        row.AttrText = entry.Attributes;
        char kind = entry.Attributes.empty() ? ' ' : entry.Attributes[0];
        row.IsDir = kind == '<' || kind == 'd' || kind == 'l';
        if (row.IsDir)
            ++result.Folders;
        else
            ++result.Files;
        result.TotalBytes += size;
        result.Rows.push_back(row);
    }
    SortRows(result.Rows, ascending, column, currentYear);
    return result;
}
