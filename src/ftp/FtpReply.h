#pragma once

// Parsing of FTP reply lines.

#include <cstdint>
#include <string>
#include <string_view>

// The reply code at the start of a line: blanks, tabs, CR and LF are skipped, then an optional
// sign and the decimal digits. continued is true when the code is followed by '-', which marks
// a line that is not the last of its reply. Returns false when no digit follows.
bool ParseReplyCode(std::string_view line, int& code, bool& continued);

// True when the line is the last line of a reply: it starts with a digit and its code is not
// followed by '-'.
bool IsFinalReplyLine(std::string_view line);

// True when the line's code is an FTP reply code: 100 to 599.
bool HasValidReplyCode(std::string_view line);

// The quoted directory name after the reply code ("257 "/a ""b""" is here" gives /a "b");
// empty when no opening double quote follows the code and its blanks.
std::string ParseQuotedDir(std::string_view line);

// The number after the reply code of a SIZE reply; false when there is none or it overflows.
bool ParseSizeReply(std::string_view line, int64_t& size);
// "213 YYYYMMDDHHMMSS[.fraction]" (MDTM, always UTC): seconds since 1970; false for anything else.
bool ParseTimeReply(std::string_view line, int64_t& seconds);
