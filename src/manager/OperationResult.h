#pragma once

// How a remote operation or a transfer run ended, as data: whether it succeeded, the reply that
// ended it when it failed, and how each of its items fared. OperationDone and OperationFailed
// carry it; the window and quillftp-cli report from it, never from log text.

#include <cstdint>
#include <string>
#include <vector>

enum class TOperation : uint8_t
{
    Connect,
    ChangeDir,
    Refresh,
    Walk,
    MakeDirs,
    Rename,
    Delete,
    ChangeMode,
    CalculateSize,
    Transfer
};

// One item of an operation: a directory made, a file renamed, deleted, changed or transferred.
struct TItemOutcome
{
    std::string Name;  // the path or name the item acted on
    int Code = 0;      // 0 when it succeeded; else the failing reply code or socket error
    std::string Reply; // the failing reply line, or the reason the program found
    bool Kept = false; // a transfer kept in the run's broken list, to resume
    bool Succeeded() const { return Code == 0; }
};

struct TOperationResult
{
    TOperation Operation = TOperation::Connect;
    bool Success = true;
    int Code = 0;      // the failing reply code or socket error, when the operation itself failed
    std::string Reply; // that reply line
    // The command the operation failed at, where that says more than the reply ("FEAT", "PWD",
    // "MLSD of /pub/"), and whether a failed Connect had logged in before it.
    std::string Step;
    bool LoggedIn = false;
    std::vector<TItemOutcome> Items;
    int64_t Bytes = 0;     // bytes moved (a run) or counted (a size calculation)
    uint64_t Sequence = 0; // set by whoever keeps results: later results have larger numbers

    // The items that failed.
    std::vector<TItemOutcome> Failures() const
    {
        std::vector<TItemOutcome> failed;
        for (const TItemOutcome& item : Items)
            if (!item.Succeeded())
                failed.push_back(item);
        return failed;
    }
    // A failure of the whole operation, with its reply.
    static TOperationResult Failed(TOperation operation, int code, const std::string& reply)
    {
        TOperationResult result;
        result.Operation = operation;
        result.Success = false;
        result.Code = code;
        result.Reply = reply;
        return result;
    }
    // Success unless an item failed.
    static TOperationResult Of(TOperation operation, std::vector<TItemOutcome> items = {})
    {
        TOperationResult result;
        result.Operation = operation;
        result.Items = std::move(items);
        for (const TItemOutcome& item : result.Items)
            result.Success = result.Success && item.Succeeded();
        return result;
    }
};

// "MakeDirs", "Transfer", ...: for traces and messages.
const char* OperationName(TOperation operation);
