#pragma once

// Both sides of a synchronization as trees: every file and directory below a root by its
// relative path, what was learnt of it, and what could not be listed. A tree whose listing
// failed somewhere, or looks cut, is no ground for deleting anything.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "sync/Compare.h"

struct TSyncEntry
{
    bool Directory = false;
    bool Link = false;     // a symbolic link: never followed, never synchronized
    int64_t Size = -1;     // -1 when not known
    int64_t Time = -1;     // seconds since 1970, UTC; -1 when not known
    int64_t Precision = 1; // seconds the time is exact to
    bool ZoneKnown = true;
    std::string Hash; // the content's digest, when one was asked for
};

struct TSyncTree
{
    // By relative path ("a/b.txt", a directory without "/"), in byte order: a directory comes
    // before what it holds.
    std::map<std::string, TSyncEntry> Entries;
    // Directories that could not be listed, and listings that look cut short: "path: why".
    // Nothing below such a directory is known, so nothing there is replaced or deleted.
    std::vector<std::string> Failed;
    std::vector<std::string> FailedDirs; // their relative paths ("" the root)

    bool Complete() const { return Failed.empty(); }
    // True when path lies below a directory that could not be listed (directory names it).
    bool FailedAbove(const std::string& path, std::string& directory) const;
    void Fail(const std::string& directory, const std::string& why);
};

// A listing of exactly this many entries is what servers that cap listings give: it may hold
// only the first part of the directory.
bool LooksCut(size_t entries);

// Every entry below root (an absolute local directory), links not followed; a directory that
// cannot be read is named as failed. False with why when root itself is no readable directory.
bool ListLocalTree(const std::string& root, TSyncTree& tree, std::string& why);

// Both trees compared path by path (Compare's rows, by relative path); topLevel: only the
// folders' own entries.
std::vector<TComparedName> CompareTrees(const TSyncTree& here, const TSyncTree& there, bool topLevel = false);

// The relative paths' directory part ("" for the root's own entries) and last part.
std::string ParentOf(const std::string& path);
