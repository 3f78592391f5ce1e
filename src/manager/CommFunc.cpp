#include "manager/CommFunc.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <limits>

#include <dirent.h>
#include <sys/stat.h>
#include <sys/statvfs.h>

namespace {

bool isTrimmed(char c)
{
    return static_cast<unsigned char>(c) <= ' ';
}

std::string trim(const std::string& text)
{
    size_t first = 0;
    size_t last = text.size();
    while (first < last && isTrimmed(text[first]))
        ++first;
    while (last > first && isTrimmed(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

// Lines split at CR, LF or CR LF.
std::vector<std::string> listingLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::string line;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(line);
            line.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else if (c == '\0') {
            break; // the listing ends at its NUL
        } else {
            line += c;
        }
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

TDirAnalyze parseUnixLine(std::string rest)
{
    std::string* fields[8];
    TDirAnalyze entry;
    fields[0] = &entry.Attributes;
    fields[1] = &entry.Links;
    fields[2] = &entry.Owner;
    fields[3] = &entry.Group;
    fields[4] = &entry.Size;
    fields[5] = &entry.Month;
    fields[6] = &entry.Day;
    fields[7] = &entry.TimeOrYear;
    for (std::string* field : fields) {
        size_t space = rest.find(' ');
        if (space == std::string::npos)
            continue; // no separator: the field stays empty and the rest whole
        *field = trim(rest.substr(0, space + 1));
        rest = trim(rest.substr(space));
    }
    entry.Name = trim(rest);
    return entry;
}

// "type=file;size=1024;modify=20261207051500;UNIX.mode=0644; name": facts carry no blanks and
// end at the first "; "; the name after it is taken exactly as sent.
bool isMlsdLine(const std::string& line)
{
    size_t end = line.find("; ");
    if (end == std::string::npos || end == 0)
        return false;
    std::string facts = line.substr(0, end);
    return facts.find('=') != std::string::npos && facts.find(' ') == std::string::npos;
}

std::string lowered(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// "0644" as "rw-r--r--"; empty when it is no octal mode.
std::string permissionText(const std::string& mode)
{
    if (mode.size() < 3 || mode.find_first_not_of("01234567") != std::string::npos)
        return {};
    std::string text;
    for (size_t i = mode.size() - 3; i < mode.size(); ++i) {
        int bits = mode[i] - '0';
        text += (bits & 4) ? 'r' : '-';
        text += (bits & 2) ? 'w' : '-';
        text += (bits & 1) ? 'x' : '-';
    }
    return text;
}

// A UTC time of the form YYYYMMDDHHMMSS as a listing's local month, day and time (this year's
// half) or year, as UNIX listings show them.
void setListedTime(const std::string& modify, TDirAnalyze& entry)
{
    if (modify.size() < 14 || modify.find_first_not_of("0123456789") < 14)
        return;
    std::tm utc{};
    utc.tm_year = std::stoi(modify.substr(0, 4)) - 1900;
    utc.tm_mon = std::stoi(modify.substr(4, 2)) - 1;
    utc.tm_mday = std::stoi(modify.substr(6, 2));
    utc.tm_hour = std::stoi(modify.substr(8, 2));
    utc.tm_min = std::stoi(modify.substr(10, 2));
    utc.tm_sec = std::stoi(modify.substr(12, 2));
    std::time_t when = ::timegm(&utc);
    std::tm local{};
    if (when == -1 || !::localtime_r(&when, &local))
        return;
    entry.Modified = when;
    static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    entry.Month = kMonths[local.tm_mon];
    entry.Day = std::to_string(local.tm_mday);
    char text[16];
    if (std::abs(std::difftime(std::time(nullptr), when)) < 180.0 * 24 * 3600)
        std::snprintf(text, sizeof text, "%02d:%02d", local.tm_hour, local.tm_min);
    else
        std::snprintf(text, sizeof text, "%d", local.tm_year + 1900);
    entry.TimeOrYear = text;
}

// One MLSD line; false for the directory itself, its parent and kinds that are no file,
// directory or link.
bool parseMlsdLine(const std::string& line, TDirAnalyze& entry)
{
    size_t end = line.find("; ");
    entry.Name = line.substr(end + 2);
    char kind = 0;
    std::string target;
    std::string mode;
    std::string modify;
    entry.Size = "0";
    size_t start = 0;
    std::string facts = line.substr(0, end);
    while (start < facts.size()) {
        size_t semicolon = facts.find(';', start);
        std::string fact = facts.substr(start, semicolon == std::string::npos ? std::string::npos : semicolon - start);
        start = semicolon == std::string::npos ? facts.size() : semicolon + 1;
        size_t equals = fact.find('=');
        if (equals == std::string::npos)
            continue;
        std::string key = lowered(fact.substr(0, equals));
        std::string value = fact.substr(equals + 1);
        if (key == "type") {
            std::string type = lowered(value);
            if (type == "file")
                kind = '-';
            else if (type == "dir")
                kind = 'd';
            else if (type.rfind("os.unix=slink", 0) == 0 || type.rfind("os.unix=symlink", 0) == 0) {
                kind = 'l';
                size_t colon = value.find(':');
                target = colon == std::string::npos ? std::string() : value.substr(colon + 1);
            } else {
                return false; // cdir, pdir, devices
            }
        } else if (key == "size" || key == "sizd") {
            entry.Size = value;
        } else if (key == "modify") {
            modify = value;
        } else if (key == "unix.mode") {
            mode = value.rfind("0o", 0) == 0 ? value.substr(2) : value; // "0o644" from some servers
        } else if (key == "unique") {
            entry.Unique = value;
        }
    }
    if (kind == 0)
        return false;
    entry.Attributes = std::string(1, kind) + permissionText(mode);
    setListedTime(modify, entry);
    if (kind == 'l' && !target.empty())
        entry.Name += " -> " + target;
    return true;
}

TDirAnalyze parseDosLine(const std::string& line)
{
    std::string rest = trim(line);
    std::string tokens[3];
    for (std::string& token : tokens) {
        size_t space = rest.find(' ');
        if (space == std::string::npos)
            continue;
        token = rest.substr(0, space);
        rest = trim(rest.substr(space));
    }
    TDirAnalyze entry;
    bool directory = tokens[2] == "<DIR>";
    entry.Attributes = directory ? "<DIR>" : "     ";
    entry.Size = directory ? "0" : tokens[2];
    entry.Month = tokens[0];
    entry.TimeOrYear = tokens[1].substr(0, 5);
    entry.Name = trim(rest);
    return entry;
}

} // namespace

std::string TDirAnalyze::EntryName() const
{
    if (!IsLink())
        return Name;
    size_t arrow = Name.find(" -> ");
    return arrow == std::string::npos ? Name : trim(Name.substr(0, arrow));
}

std::string TDirAnalyze::LinkTarget() const
{
    size_t arrow = Name.find("->");
    return IsLink() && arrow != std::string::npos ? trim(Name.substr(arrow + 2)) : std::string();
}

std::vector<TDirAnalyze> ParseListing(const std::string& text)
{
    std::vector<TDirAnalyze> entries;
    std::vector<std::string> lines = listingLines(text);
    if (lines.empty())
        return entries;
    // No line of another form passes as MLSD: their first "; " comes after a blank.
    if (std::any_of(lines.begin(), lines.end(), isMlsdLine)) {
        for (const std::string& line : lines) {
            TDirAnalyze entry;
            if (isMlsdLine(line) && parseMlsdLine(line, entry))
                entries.push_back(std::move(entry));
        }
        return entries;
    }
    bool dos = !lines[0].empty() && lines[0][0] >= '0' && lines[0][0] <= '9';
    for (const std::string& line : lines) {
        if (dos) {
            entries.push_back(parseDosLine(line));
            continue;
        }
        if (line.empty() || (line[0] != '-' && line[0] != 'd' && line[0] != 'l'))
            continue;
        TDirAnalyze entry = parseUnixLine(line);
        if (entry.Name != "." && entry.Name != "..")
            entries.push_back(std::move(entry));
    }
    return entries;
}

bool IsSafeEntryName(const std::string& name)
{
    if (name.empty() || name == "." || name == "..")
        return false;
    for (char c : name)
        if (c == '/' || static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            return false;
    return true;
}

bool IsPlainRemoteDir(const std::string& path)
{
    if (path.empty() || path[0] != '/')
        return false;
    size_t start = 1;
    while (start < path.size()) {
        size_t slash = path.find('/', start);
        std::string part = path.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
        if (!part.empty() && !IsSafeEntryName(part))
            return false;
        if (slash == std::string::npos)
            break;
        start = slash + 1;
    }
    return true;
}

bool ParseSize(const std::string& text, int64_t& size)
{
    size = 0;
    std::string digits = trim(text);
    if (digits.empty())
        return false;
    int64_t value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            return false;
        if (value > (std::numeric_limits<int64_t>::max() - (c - '0')) / 10)
            return false;
        value = value * 10 + (c - '0');
    }
    size = value;
    return true;
}

std::vector<TGetFileInfo> WalkLocalDir(const std::string& directory)
{
    std::vector<TGetFileInfo> files;
    std::vector<std::string> pending{EnsureTrailing(directory, '/')};
    while (!pending.empty()) {
        std::string current = pending.back();
        pending.pop_back();
        DIR* handle = ::opendir(current.c_str());
        if (!handle)
            continue;
        while (dirent* entry = ::readdir(handle)) {
            std::string name = entry->d_name;
            if (name == "." || name == "..")
                continue;
            struct stat info
            {
            };
            if (::lstat((current + name).c_str(), &info) != 0)
                continue;
            if (S_ISDIR(info.st_mode))
                pending.push_back(current + name + "/");
            else if (S_ISREG(info.st_mode))
                files.push_back({current + name, static_cast<int64_t>(info.st_size), {}});
        }
        ::closedir(handle);
    }
    return files;
}

bool MakeLocalDirs(const std::string& path)
{
    std::string full = EnsureTrailing(path, '/');
    // Most are one level below one that exists: the parents are made only when that fails.
    if (::mkdir(full.c_str(), 0755) != 0 && errno == ENOENT)
        for (size_t slash = full.find('/', 1); slash != std::string::npos; slash = full.find('/', slash + 1))
            ::mkdir(full.substr(0, slash).c_str(), 0755); // errors show in the check below
    struct stat info
    {
    };
    return ::stat(full.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string FileExtension(const std::string& path)
{
    size_t dot = path.rfind('.');
    size_t slash = path.rfind('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return {};
    return path.substr(dot + 1);
}

std::string ParentDirectory(const std::string& path)
{
    std::string cut = path;
    if (!cut.empty() && cut.back() == '/')
        cut.pop_back();
    size_t slash = cut.rfind('/');
    return slash == std::string::npos ? std::string() : cut.substr(0, slash + 1);
}

std::string RemoteDirPart(const std::string& path)
{
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

int64_t SaturatingAdd(int64_t a, int64_t b)
{
    int64_t sum = 0;
    if (__builtin_add_overflow(a, b, &sum))
        return b > 0 ? std::numeric_limits<int64_t>::max() : std::numeric_limits<int64_t>::min();
    return sum;
}

std::string EnsureTrailing(const std::string& text, char c)
{
    if (text.empty() || text.back() == c)
        return text;
    return text + c;
}

std::string ReplaceChar(std::string text, char from, char to)
{
    for (char& c : text)
        if (c == from)
            c = to;
    return text;
}

std::string FormatThousands(const std::string& digits)
{
    size_t start = !digits.empty() && digits[0] == '-' ? 1 : 0;
    std::string result;
    for (size_t i = digits.size(), count = 0; i > start; --i, ++count) {
        if (count > 0 && count % 3 == 0)
            result += ',';
        result += digits[i - 1];
    }
    result.append(digits.substr(0, start));
    return std::string(result.rbegin(), result.rend());
}

std::string FormatThousands(int64_t value)
{
    return FormatThousands(std::to_string(value));
}

std::string RemoveSeparators(std::string text)
{
    text.erase(std::remove(text.begin(), text.end(), ','), text.end());
    return text;
}

std::string ShortSize(int64_t bytes)
{
    std::string digits = std::to_string(bytes);
    if (digits.size() > 6)
        return FormatThousands(digits.substr(0, digits.size() - 6)) + "MB";
    if (digits.size() > 3)
        return FormatThousands(digits.substr(0, digits.size() - 3)) + "KB";
    return digits;
}

std::string SizeInBytes(int64_t bytes)
{
    return FormatThousands(bytes) + " bytes";
}

std::string TwoDigits(int64_t value)
{
    std::string text = std::to_string(value);
    return text.size() == 1 ? "0" + text : text;
}

std::string ElapsedTime(int64_t seconds)
{
    return TwoDigits(seconds / 3600) + ":" + TwoDigits(seconds % 3600 / 60) + ":" + TwoDigits(seconds % 60);
}

int64_t DiskFreeSpace(const std::string& directory)
{
    struct statvfs info
    {
    };
    if (::statvfs(directory.c_str(), &info) != 0)
        return 0;
    return static_cast<int64_t>(info.f_bavail) * static_cast<int64_t>(info.f_frsize);
}
