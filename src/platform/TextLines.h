#pragma once

#include <string>
#include <vector>

namespace platform {

// The lines of a text: split at LF, a CR before it removed. A last line without LF counts.
std::vector<std::string> SplitLines(const std::string& text);

} // namespace platform
