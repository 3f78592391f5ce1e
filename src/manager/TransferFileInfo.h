#pragma once

// One item of the transfer queue: a whole file, or a byte range of one.

#include <cstdint>
#include <string>

struct TTransferFileInfo
{
    bool IsDownload = true;
    std::string HostPath;    // full remote path, "/" separators
    std::string LocalPath;   // full local path
    int64_t FileSize = 0;    // the whole file
    int64_t BeginPos = -1;   // first byte still to move, -1 for byte 0
    int64_t EndPos = -1;     // end of the range (exclusive), -1 for the end of the file
    bool IsDir = false;      // kept through broken lists
    int Attempts = 0;        // failed tries in this run (not kept)
    bool Partial = false;    // resumes a half-written local file of an unfinished run (not kept)
    int64_t RemoteTime = -1; // the server's time of the file when its listing told it (not kept)
};
