#pragma once

// Checks on local paths before the program writes or reads them for a transfer, and the
// process's limit of open files.

#include <string>

namespace platform {

// True when path, with every symbolic link resolved (also a link at its end, and a path that
// does not exist yet through its nearest existing parent), lies inside directory.
bool isInsideDirectory(const std::string& path, const std::string& directory);

// True when path itself is a symbolic link (not followed).
bool isSymbolicLink(const std::string& path);

// True for a regular file (symbolic links followed).
bool isRegularFile(const std::string& path);

// Raises the soft limit of open files to the hard limit; the soft limit in effect afterwards.
int raiseDescriptorLimit();

} // namespace platform
