#include "ftp/FtpReply.h"

#include <cctype>
#include <ctime>
#include <limits>

namespace {

bool isDigit(char c)
{
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// Position just past the reply code (and its sign and leading white space).
size_t skipCode(std::string_view line)
{
    size_t i = 0;
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r' || line[i] == '\n'))
        ++i;
    if (i < line.size() && (line[i] == '+' || line[i] == '-'))
        ++i;
    while (i < line.size() && isDigit(line[i]))
        ++i;
    return i;
}

} // namespace

bool ParseReplyCode(std::string_view line, int& code, bool& continued)
{
    size_t i = 0;
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r' || line[i] == '\n'))
        ++i;
    bool negative = false;
    if (i < line.size() && (line[i] == '+' || line[i] == '-')) {
        negative = line[i] == '-';
        ++i;
    }
    size_t digits = 0;
    long value = 0;
    for (; i < line.size() && isDigit(line[i]); ++i, ++digits)
        if (value < 1000000) // a code has three digits; anything longer is only kept bounded
            value = value * 10 + (line[i] - '0');
    code = static_cast<int>(negative ? -value : value);
    continued = i < line.size() && line[i] == '-';
    return digits > 0;
}

bool IsFinalReplyLine(std::string_view line)
{
    if (line.empty() || !isDigit(line[0]))
        return false;
    int code = 0;
    bool continued = false;
    ParseReplyCode(line, code, continued);
    return !continued;
}

bool HasValidReplyCode(std::string_view line)
{
    int code = 0;
    bool continued = false;
    return ParseReplyCode(line, code, continued) && code >= 100 && code <= 599;
}

std::string ParseQuotedDir(std::string_view line)
{
    size_t i = skipCode(line);
    while (i < line.size() && line[i] == ' ')
        ++i;
    std::string dir;
    if (i >= line.size() || line[i] != '"')
        return dir;
    for (++i; i < line.size(); ++i) {
        if (line[i] != '"') {
            dir += line[i];
        } else if (i + 1 < line.size() && line[i + 1] == '"') {
            dir += '"';
            ++i;
        } else {
            break;
        }
    }
    return dir;
}

bool ParseSizeReply(std::string_view line, int64_t& size)
{
    size_t i = skipCode(line);
    while (i < line.size() && line[i] == ' ')
        ++i;
    if (i >= line.size() || !isDigit(line[i]))
        return false;
    int64_t value = 0;
    for (; i < line.size() && isDigit(line[i]); ++i) {
        int digit = line[i] - '0';
        if (value > (std::numeric_limits<int64_t>::max() - digit) / 10)
            return false;
        value = value * 10 + digit;
    }
    size = value;
    return true;
}

bool ParseTimeReply(std::string_view line, int64_t& seconds)
{
    size_t i = skipCode(line);
    while (i < line.size() && line[i] == ' ')
        ++i;
    if (line.size() < i + 14)
        return false;
    int fields[6] = {};
    const int widths[6] = {4, 2, 2, 2, 2, 2};
    for (int field = 0; field < 6; ++field) {
        for (int k = 0; k < widths[field]; ++k, ++i) {
            if (!isDigit(line[i]))
                return false;
            fields[field] = fields[field] * 10 + (line[i] - '0');
        }
    }
    if (i < line.size() && line[i] != '.' && line[i] != ' ')
        return false;
    std::tm time{};
    time.tm_year = fields[0] - 1900;
    time.tm_mon = fields[1] - 1;
    time.tm_mday = fields[2];
    time.tm_hour = fields[3];
    time.tm_min = fields[4];
    time.tm_sec = fields[5];
    if (time.tm_mon < 0 || time.tm_mon > 11 || time.tm_mday < 1 || time.tm_mday > 31 || time.tm_hour > 23 ||
        time.tm_min > 59 || time.tm_sec > 60)
        return false;
    seconds = static_cast<int64_t>(timegm(&time));
    return true;
}
