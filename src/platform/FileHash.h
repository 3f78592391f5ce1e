#pragma once

// Digests of local files, for comparing a downloaded file with the server's hash of it.

#include <functional>
#include <string>

namespace platform {

// The lower-case hexadecimal digest of a file by algorithm ("SHA-256", "SHA-1", "MD5",
// "CRC32"); empty when the algorithm is unknown or the file cannot be read.
std::string FileDigest(const std::string& path, const std::string& algorithm);

// The same, read on a thread of its own (a big file takes seconds); done gets the digest on the
// event loop's thread. The caller drops answers it no longer wants.
void FileDigestInBackground(const std::string& path, const std::string& algorithm,
                            std::function<void(std::string digest)> done);

} // namespace platform
