#pragma once

#include <string>
#include <vector>

namespace platform {

// The lines of a text: split at LF, a CR before it removed. A last line without LF counts.
std::vector<std::string> SplitLines(const std::string& text);

// The text without leading and trailing blanks and tabs.
std::string TrimBlanks(const std::string& text);

// Equal but for the case of ASCII letters.
bool EqualsIgnoringCase(const std::string& a, const std::string& b);

} // namespace platform
