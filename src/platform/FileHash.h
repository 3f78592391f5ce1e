#pragma once

// Digests of local files, for comparing a downloaded file with the server's hash of it.

#include <string>

namespace platform {

// The lower-case hexadecimal digest of a file by algorithm ("SHA-256", "SHA-1", "MD5",
// "CRC32"); empty when the algorithm is unknown or the file cannot be read.
std::string FileDigest(const std::string& path, const std::string& algorithm);

} // namespace platform
