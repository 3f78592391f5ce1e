#pragma once

// The transfers view's rows: one per file of the run (kept after it ends, until the next run
// starts), with its progress, speed, time left, connections, state and verdict, and the map of
// its ranges. Made from the run's file records at each progress tick; the view shows them.

#include <cstdint>
#include <string>
#include <vector>

#include "transfer/TransferRun.h"

// Which rows the view shows: every file, the ones still to finish, the failed, the finished.
enum class TTransferFilter : uint8_t
{
    All,
    Queued,
    Failed,
    Done
};

// One range of a split file, as its map draws it.
struct TSegmentCell
{
    double From = 0; // the share of the file before it (0 to 1)
    double To = 0;   // the share of the file up to its end
    double Done = 0; // the share of the file up to where it got
    TSegmentState State = TSegmentState::Waiting;
    int Connection = -1; // moving it, or -1
};

struct TTransferRow
{
    const TTransferFile* File = nullptr;
    bool Download = true;
    std::string Name; // the file's name
    std::string RemotePath;
    std::string LocalPath;
    int64_t Size = 0;
    int64_t Done = 0;
    int Percent = 0;
    int64_t Speed = 0;       // bytes per second over the last tick; 0 when not moving
    int64_t Left = -1;       // seconds; -1 when unknown
    std::string Connections; // "1, 3"
    TFileState State = TFileState::Queued;
    std::string StateText; // "Transferring", "Failed: 550 No such file" ...
    std::string Verdict;   // "300,000 bytes checked; MD5 matches; time kept"
    bool Split = false;
    std::vector<TSegmentCell> Segments;
    // From its first byte to its end (or to now while it moves); -1 before it started.
    int64_t Milliseconds = -1;
    size_t ConnectionsUsed = 0; // how many connections moved some of it
    // The file's own state and end when the row was made: a row of an ended file is made once.
    TFileState FileState = TFileState::Queued;
    int64_t EndedMs = -1;
};

class TTransferRows
{
public:
    // Made anew from the run's files; tick: the time now in milliseconds.
    void Update(const TTransferRun& run, int64_t tick);
    void Clear();

    void SetFilter(TTransferFilter filter);
    TTransferFilter Filter() const { return m_filter; }
    // The rows the filter shows, and every row.
    const std::vector<const TTransferRow*>& Shown() const { return m_shown; }
    const std::vector<TTransferRow>& All() const { return m_rows; }
    size_t Count(TTransferFilter filter) const;

private:
    void Filter();

    std::vector<TTransferRow> m_rows;
    std::vector<const TTransferRow*> m_shown;
    TTransferFilter m_filter = TTransferFilter::All;
    int64_t m_lastTick = 0; // of the last update, for the speeds
};

// The filter a row belongs to (besides All).
TTransferFilter FilterOf(TFileState state);
