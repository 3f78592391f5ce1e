#pragma once

// What both sides held when a pair of folders was last synchronized: per path, the facts of
// each side. Against it a later run tells "changed here" from "changed there", and a file
// deleted on one side from one that is new on the other. Kept in the data directory, one file
// per pair of folders.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "sync/SyncTree.h"

// One side's facts of a path; Exists false where the path was not there.
struct TSyncFacts
{
    bool Exists = false;
    bool Directory = false;
    int64_t Size = -1;
    int64_t Time = -1;
};

TSyncFacts FactsOf(const TSyncTree& tree, const std::string& path);

// The side is as it was: the same kind and size, and the same time where both times are known.
bool Unchanged(const TSyncFacts& now, const TSyncFacts& then);

struct TSyncRecord
{
    TSyncFacts Here;
    TSyncFacts There;
};

struct TSyncState
{
    std::string Local;  // the local folder
    std::string Remote; // the remote folder's address, without a password
    std::map<std::string, TSyncRecord> Paths;

    bool Empty() const { return Paths.empty(); }
    // The state after a synchronization: paths alike on both sides, and those it settled (moved
    // or made), as both trees now stand; the others keep what the state before said of them,
    // so that a difference left alone is seen again next time.
    void Update(const TSyncTree& here, const TSyncTree& there, const std::vector<std::string>& settled);
};

// The state file of a pair of folders in the data directory (its "sync/" directory).
std::string SyncStatePath(const std::string& dataDir, const std::string& local, const std::string& remote);

// Reads the pair's state; an empty state when none was kept (or it is of another pair).
TSyncState LoadSyncState(const std::string& dataDir, const std::string& local, const std::string& remote);
bool SaveSyncState(const std::string& dataDir, const TSyncState& state);
