#pragma once

// Files that hold the user's data are replaced whole: the new content goes to a temporary file
// in the same directory, is flushed to disk and renamed over the old one, so a crash leaves the
// old file or the new one, never a truncated one. They are created readable by the owner only,
// since they hold passwords.

#include <functional>
#include <string>

namespace platform {

// Writes bytes to path atomically with permissions 0600; false on failure (the old file stays).
// beforeRename, when given, runs between the flush and the rename; returning false abandons the
// save there (a test's way to interrupt it).
bool writeFileAtomically(const std::string& path, const std::string& bytes,
                         const std::function<bool()>& beforeRename = {});

// The whole content of a file; false when it cannot be read.
bool readWholeFile(const std::string& path, std::string& bytes);

// Copies a file over another atomically; false when the source cannot be read or the target written.
bool copyFileAtomically(const std::string& from, const std::string& to);

bool fileExists(const std::string& path);

} // namespace platform
