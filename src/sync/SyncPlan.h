#pragma once

// A synchronization's plan: every action with its reason, built from both trees as listed, the
// direction asked for and the state of the last synchronization. Nothing is deleted unless
// deletions were asked for, none because of a time alone, and none at all when a listing of
// either side failed or looks cut; a file changed on both sides is a conflict the plan names
// and leaves alone.

#include <cstdint>
#include <string>
#include <vector>

#include "sync/SyncState.h"
#include "sync/SyncTree.h"

enum class TSyncDirection : uint8_t
{
    Up,   // the remote folder becomes like the local one
    Down, // the local folder becomes like the remote one
    Both  // each side takes what changed on the other
};

struct TSyncOptions
{
    TSyncDirection Direction = TSyncDirection::Both;
    bool Delete = false; // what is gone on the side that leads goes on the other too
};

enum class TSyncActionKind : uint8_t
{
    Upload,
    Download,
    MakeDirThere,
    MakeDirHere,
    DeleteThere,
    DeleteHere,
    Skip,    // differs, and is left as it is: why says so
    Conflict // changed on both sides, or which side leads cannot be told
};

struct TSyncAction
{
    TSyncActionKind Kind = TSyncActionKind::Skip;
    std::string Path; // relative to both folders
    bool Directory = false;
    std::string Why;
    // Both sides as the plan saw them: a plan applied later is refused when either changed.
    TSyncFacts Here;
    TSyncFacts There;
    bool Checked = true; // the user may leave an action out before it runs

    // It changes something (not a skip or a conflict).
    bool Acts() const { return Kind != TSyncActionKind::Skip && Kind != TSyncActionKind::Conflict; }
};

struct TSyncPlan
{
    std::string Local;  // the local folder, ending with "/"
    std::string Remote; // the remote folder's address, without a password, ending with "/"
    TSyncOptions Options;
    std::vector<TSyncAction> Actions; // in path order: a directory before what it holds
    size_t Unchanged = 0;             // files alike on both sides
    // Why deletions were refused (a failed or cut listing); empty when they were not.
    std::string DeletionsRefused;

    struct TTotals
    {
        size_t Count = 0;
        int64_t Bytes = 0;
    };
    // The checked actions of a kind, and the bytes they move.
    TTotals Totals(TSyncActionKind kind) const;
};

TSyncPlan BuildSyncPlan(const TSyncTree& here, const TSyncTree& there, const TSyncState& last,
                        const TSyncOptions& options);

// The checked actions in words: "3 to upload (12,345 bytes), 1 remote directory to make,
// 2 skipped, 1 conflict (left as it is), 40 unchanged".
std::string SyncPlanTotalsText(const TSyncPlan& plan);

// The word for an action, as plans and the CLI name it ("upload", "mkdir-there", ...).
const char* SyncActionWord(TSyncActionKind kind);
bool SyncActionOfWord(const std::string& word, TSyncActionKind& kind);
const char* SyncDirectionWord(TSyncDirection direction);

// Paths of the plan's checked actions whose sides no longer are as the plan saw them.
std::vector<std::string> ChangedSincePlan(const TSyncPlan& plan, const TSyncTree& here, const TSyncTree& there);
