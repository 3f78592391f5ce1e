#pragma once

// One item of the transfer queue: a whole file, or a byte range of one.

#include <cstdint>
#include <string>

// Larger than any file a disk holds (8 PiB): a listed size beyond it is refused, so that sums
// and offsets of sizes stay far from the 64-bit limit.
constexpr int64_t kLargestFileSize = int64_t(1) << 53;

struct TTransferFileInfo
{
    bool IsDownload = true;
    std::string HostPath;  // full remote path, "/" separators
    std::string LocalPath; // full local path
    int64_t FileSize = 0;  // the whole file
    int64_t BeginPos = -1; // first byte still to move, -1 for byte 0
    int64_t EndPos = -1;   // end of the range (exclusive), -1 for the end of the file
    bool IsDir = false;    // kept through broken lists
    // A directory's "unique" fact from the listing it was chosen in (not kept): a link back
    // to it is known for what it is.
    std::string Unique{};
    int Attempts = 0;        // failed tries in this run (not kept)
    bool Partial = false;    // resumes a half-written local file of an unfinished run (not kept)
    bool Replace = false;    // replaces its local file without asking: a reviewed plan chose it (not kept)
    int64_t RemoteTime = -1; // the server's time of the file when its listing told it (not kept)
    // Its length disagreed with its listing and SIZE did not settle it: it comes once more
    // whole, and fails if it disagrees again (not kept).
    bool FetchedAgain = false;
    // Its length disagreed with its listing and SIZE confirmed the length: the server's hash,
    // where offered, has the last word (not kept).
    bool SizeDisputed = false;
};
