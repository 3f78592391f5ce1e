#pragma once

// One file of a transfer run as a whole: where it comes from and goes to, its size, the byte
// ranges (segments) it moves in, and its verdict once they are all in. Queue items, the rows
// of broken lists and of the journal are views of its segments; the window reads it.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "manager/TransferFileInfo.h"

enum class TSegmentState : uint8_t
{
    Waiting, // in the run's queue, or about to be
    Running, // a connection moves it
    Done,
    Failed // for good: kept for the broken list
};

struct TSegment
{
    int64_t Begin = 0; // its first byte in the file
    int64_t End = -1;  // its end (exclusive); -1: the end of the file, whatever it turns out to be
    int64_t Done = 0;  // bytes from Begin that are on disk (a download) or on the server
    int Connection = -1;
    TSegmentState State = TSegmentState::Waiting;
    int Attempts = 0; // failed tries in this run
};

enum class TFileState : uint8_t
{
    Waiting,  // for its remote directory, or for the user's word on an existing local file
    Queued,   // its segments wait for connections
    Moving,   // some segment moves
    Checking, // all bytes in; its size, time or hash is being asked
    Done,
    Failed,
    Skipped // left alone at the user's word
};

struct TTransferFile
{
    bool Download = true;
    std::string RemotePath;
    std::string LocalPath;
    int64_t Size = 0;
    int64_t RemoteTime = -1; // the server's time of it, when its listing told it
    bool Text = false;       // moves in text mode (line ends converted)
    std::vector<TSegment> Segments;
    TFileState State = TFileState::Queued;
    std::string Reason; // why it failed

    // Its verdict: the bytes found whole, the hash compared (algorithm and outcome), the time kept.
    int64_t BytesChecked = 0;
    std::string HashAlgorithm;
    bool HashMatched = false;
    bool TimeKept = false;

    // When its first range started and when it ended (done or failed), in milliseconds of
    // the monotonic clock; -1 until then. The connections that moved any of it, in order.
    int64_t StartedMs = -1;
    int64_t EndedMs = -1;
    std::vector<int> Connections;

    // Resumes a half-written file of an unfinished run: never asked about.
    bool Partial = false;
    // Replaces an existing local file without asking: the user chose it beforehand.
    bool Replace = false;
    // Its length disagreed with its listing and SIZE did not settle it: it comes once more
    // whole, and fails if it disagrees again.
    bool FetchedAgain = false;
    // Its length disagreed with its listing and SIZE confirmed the length: the server's hash,
    // where offered, has the last word.
    bool SizeDisputed = false;
    // An upload waiting for this remote directory to be made.
    std::string AwaitsDirectory;
    // It comes again whole once the segments still moving have ended.
    bool RefetchPending = false;

    bool Split() const { return Segments.size() > 1 || (Segments.size() == 1 && Segments[0].End >= 0); }
    bool AllDone() const;
    // The bytes of it that are in: done segments whole, the others as far as they got.
    int64_t BytesDone() const;
    // The bytes still to move.
    int64_t BytesLeft() const;
    // The end of a segment in the file.
    int64_t EndOf(const TSegment& segment) const { return segment.End < 0 ? Size : segment.End; }
};

// A segment as the queue, the status rows and the broken lists see it: BeginPos the first byte
// still to move (-1 for byte 0), EndPos the range's end (-1 for the file's end).
TTransferFileInfo SegmentItem(const TTransferFile& file, const TSegment& segment);
// The file an item (or the items of one local file, ranges of it) stands for. Items of one
// local path in one direction are one file.
std::vector<std::unique_ptr<TTransferFile>> FilesOfItems(const std::vector<const TTransferFileInfo*>& items);
// The byte count of an item: from BeginPos (or 0) to EndPos (or the file's end).
int64_t ItemByteCount(const TTransferFileInfo& item);
// A whole file cut into count ranges, the last carrying the remainder.
void SplitIntoSegments(TTransferFile& file, int count);
