#pragma once

// The desktop's choice of application for a file, as the freedesktop.org specifications keep
// it: mimeapps.list in the configuration and data directories, and the applications' desktop
// entries.

#include <optional>
#include <string>
#include <vector>

namespace platform {

// Whether the file's content type is text (text/plain or a type derived from it).
bool isTextFile(const std::string& path);

// The command line of the desktop's default text editor (the text/plain handler) opening path;
// nothing when no usable one is set (none named, its entry missing, or it needs a terminal).
std::optional<std::vector<std::string>> textEditorCommand(const std::string& path);

} // namespace platform
