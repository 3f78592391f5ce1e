#pragma once

// The file-system roots a desktop user expects to pick from: "/", the home directory and the
// mounted volumes, each ending with "/".

#include <string>
#include <vector>

namespace platform {

std::vector<std::string> volumeRoots();

// The name a file manager shows for one of those roots: "File System" for "/", "Home" for the
// home directory, a volume's label (or its folder's name) for the others.
std::string volumeName(const std::string& root);

// Moves a file or directory to the desktop's trash (reversible); false when it cannot.
bool moveToTrash(const std::string& path, std::string* reason = nullptr);

} // namespace platform
