#pragma once

// Shared helpers of the panes, the queue and the manager: the remote listing parser, the local
// file walk, path cutting, and size and time formatting. None keeps state.

#include <cstdint>
#include <string>
#include <vector>

// One line of a remote listing, cut into nine fields.
struct TDirAnalyze
{
    std::string Attributes; // UNIX permissions (first character gives the kind), or "<DIR>" / five spaces
    std::string Links;
    std::string Owner;
    std::string Group;
    std::string Size;
    std::string Month; // the date token in the DOS form
    std::string Day;
    std::string TimeOrYear;
    std::string Name;      // a link keeps "-> target" here
    std::string Unique;    // MLSD's "unique" fact: equal for two names of one directory
    int64_t Modified = -1; // MLSD's "modify" fact: seconds since 1970 (UTC); -1 without one

    bool IsFile() const { return !Attributes.empty() && (Attributes[0] == '-' || Attributes[0] == ' '); }
    bool IsDirectory() const { return !Attributes.empty() && (Attributes[0] == 'd' || Attributes[0] == '<'); }
    bool IsLink() const { return !Attributes.empty() && Attributes[0] == 'l'; }
    // The name without a link's "-> target".
    std::string EntryName() const;
    // A link's target, trimmed; empty for other entries.
    std::string LinkTarget() const;
};

// A file found by a walk.
struct TGetFileInfo
{
    std::string Path;
    int64_t Size = 0;
    // A remote walk's file below the directory the walk started in ("tree/inner/b.bin"), joined
    // from listed names that passed IsSafeEntryName only: the one part of a walk a local path
    // may be built from.
    std::string Relative;
    int64_t Modified = -1; // the server's time of it, where the listing told it (MLSD)
};

// Cuts a LIST or MLSD reply into entries, in line order. The form (MLSD when a line is facts
// and a name, DOS when the first starts with a digit, UNIX otherwise) is chosen once; UNIX
// totals, headers, "." and "..", and MLSD's entries of the directory itself and its parent are
// dropped.
std::vector<TDirAnalyze> ParseListing(const std::string& text);

// True for a name that can stand for one entry inside the directory it was listed in: not
// empty, not "." or "..", no "/", no NUL or other control character. Anything else from a
// server is never walked into, queued or used as a local name.
bool IsSafeEntryName(const std::string& name);

// True for a directory path a server reports (PWD) that names no "." or ".." part, no
// control character, and starts with "/".
bool IsPlainRemoteDir(const std::string& path);

// A size field as a 64-bit number; false (size 0) when it is not a plain decimal number.
bool ParseSize(const std::string& text, int64_t& size);

// Every file below directory (ending with "/"), recursively; directories that cannot be read
// are skipped, symbolic links are not followed.
std::vector<TGetFileInfo> WalkLocalDir(const std::string& directory);

// Creates path and every missing parent; false when it does not exist afterwards.
bool MakeLocalDirs(const std::string& path);

// Path helpers.
std::string FileExtension(const std::string& path);          // text after the last "."; "" when none
std::string ParentDirectory(const std::string& path);        // up to and including the "/" before the last part
std::string RemoteDirPart(const std::string& path);          // up to and including the last "/"
std::string EnsureTrailing(const std::string& text, char c); // "" stays ""
std::string ReplaceChar(std::string text, char from, char to);

// a + b, held at the largest (or smallest) 64-bit number instead of wrapping: sums of sizes a
// server reports.
int64_t SaturatingAdd(int64_t a, int64_t b);

// Formatting.
std::string FormatThousands(const std::string& digits); // 1234567 -> 1,234,567
std::string FormatThousands(int64_t value);
std::string RemoveSeparators(std::string text);
std::string ShortSize(int64_t bytes);   // 999, 1KB, 1MB, 123MB
std::string SizeInBytes(int64_t bytes); // 1,234 bytes
std::string TwoDigits(int64_t value);
std::string ElapsedTime(int64_t seconds); // 01:02:05

// Free bytes of the volume that holds directory; 0 when it cannot be told.
int64_t DiskFreeSpace(const std::string& directory);
