#pragma once

// File fixtures: build a file of known content, compare files by hash.

#include <cstdint>
#include <string>

namespace testsupport {

// Writes size bytes of a repeatable pattern (seeded) to path; returns false on failure.
bool writePatternFile(const std::string& path, int64_t size, uint32_t seed = 1);

// SHA-256 of a file's bytes as hex, or empty when it cannot be read.
std::string fileHash(const std::string& path);

} // namespace testsupport
