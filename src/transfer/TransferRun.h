#pragma once

// A transfer run: the work of a selection as jobs — list a directory, make a remote
// directory, move a segment of a file — taken by one worker per connection, each the next job
// it can do, and one record per file (TTransferFile) with its segments and verdict. Directories
// are listed by whichever connections are free, and the files they hold start moving while
// others are still being listed. A failed job is never counted as done: it is tried again from
// where it stopped, or kept for the run's broken list. The connections are sessions: nothing
// here knows the protocol.

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "config/Settings.h"
#include "manager/ManagerHost.h"
#include "manager/OperationResult.h"
#include "manager/Session.h"
#include "platform/EventLoop.h"
#include "platform/RateLimiter.h"
#include "transfer/SplitDownload.h"
#include "transfer/TransferFile.h"

// The answers to "This local file exists!"; Closed is the dialog shut without one (a Skip).
enum class TFileExistsChoice
{
    Overwrite,
    OverwriteAll,
    Skip,
    SkipAll,
    Closed
};

// What a run needs of the main window and of the connections.
class ITransferHost
{
public:
    virtual ~ITransferHost() = default;
    virtual TSessionState SessionState() const = 0;
    virtual void SetSessionState(TSessionState state) = 0;
    virtual void OperationDone(const TOperationResult& result) = 0;
    virtual bool TransfersRunning() const = 0;
    virtual void SetTransfersRunning(bool running) = 0;
    virtual const TSettings& Settings() const = 0;
    virtual void ShowMessage(const std::string& text) = 0;
    // The connections to the site: how many there are, and one as the run's session.
    virtual int ConnectionCount() const = 0;
    virtual ISession& RunSession(int connection) = 0;
    virtual void RunLog(int connection, const std::string& line) = 0;
    // Questions to the user: the answer comes later, through the call given.
    virtual void AskFileExists(const std::string& localPath, std::function<void(TFileExistsChoice)> answer) = 0;
    virtual void AskYesNo(const std::string& caption, const std::string& text, std::function<void(bool)> answer) = 0;
    // Free bytes of the volume holding directory; 0 when it cannot be told.
    virtual int64_t FreeSpace(const std::string& directory) = 0;
    // A file the run will move (the queue tree shows it).
    virtual void ItemFound(const TTransferFileInfo& /*item*/) {}
    // Queue tree marks and status rows of a segment that starts on, or leaves, a connection.
    virtual void ItemStarted(int connection, const TTransferFileInfo& item) = 0;
    virtual void ItemLeft(int connection, const TTransferFileInfo& item) = 0;
    virtual void ConnectionLostRow(int connection) = 0;
    virtual void PositionReported(int connection, int64_t position) = 0;
    // The run's work is settled and about to go to the connections: nothing has been written yet.
    virtual void RunStarting() {}
};

// An item that did not complete, and why.
struct TItemFailure
{
    std::string Path;
    std::string Reason;
};

// The once-a-second figures of a run.
struct TRunFigures
{
    int64_t Done = 0;
    int64_t Total = 0;
    int64_t Speed = 0;  // bytes per second since the start
    int64_t Remain = 0; // seconds, 0 while the speed is 0
    int Percent = 0;
};

// The codes of a run's items that did not complete: failed for good, or left when the run ended.
constexpr int kItemFailed = 550;
constexpr int kItemNotFinished = 426;

class TTransferWorker;

// One piece of work for whichever worker is free.
struct TJob
{
    enum class TKind : uint8_t
    {
        List,    // a remote directory, for a download
        MakeDir, // a remote directory, for an upload
        Segment  // bytes of a file
    };
    TKind Kind = TKind::Segment;
    std::string RemotePath; // a directory's path, ending with "/"
    std::string LocalPath;  // a listed directory's local path (checked names only), ending with "/"
    std::string Root;       // the local directory the selection went into: nothing lands outside
    int Depth = 0;
    std::string RemoteRoot; // the directory the selection listed: a link leading elsewhere is not walked
    bool Link = false;      // a symbolic link: it may name a file
    std::string Unique;     // the directory's unique fact, where its parent's listing gave one
    bool Repeated = false;  // a directory met before had the same unique fact
    int Attempts = 0;       // failed tries of a listing or a directory to make
    TTransferFile* File = nullptr;
    size_t Segment = 0;
};

class TTransferRun
{
public:
    static constexpr int kMaxWalkDepth = 64;

    explicit TTransferRun(ITransferHost& host);
    ~TTransferRun();
    TTransferRun(const TTransferRun&) = delete;
    TTransferRun& operator=(const TTransferRun&) = delete;

    // A run of these items: files and ranges of files, and directories (IsDir) to list for a
    // download or to make for an upload. resuming: a broken list's items, taken as they are.
    void StartTransfers(TTransferQueue& queue, bool resuming);
    // Items that join the running (background) run.
    void Add(TTransferQueue& queue);
    // After the user's abort: what runs stops; the run ends once every connection has reported.
    void AbortRequested();
    // Ends the run now, without waiting for the connections: what is left, from the offsets
    // reached, becomes the run's broken list.
    void EndRun();
    // The connection count changed: connections that go hand their work back (from the offset
    // it reached); new ones take work at once.
    void ReleaseConnections(int newCount);
    void FillIdleConnections(int count);
    // A new site: what was learnt of the last one's server is forgotten.
    void NewSite() { m_offsetsIgnored = false; }

    bool Running() const { return m_running; }
    TRunFigures Figures(int64_t elapsedSeconds) const;
    // Copies of everything the run has not finished, as broken-list items: segments from the
    // offsets they reached, and the directories not listed or made yet.
    std::vector<std::unique_ptr<TTransferFileInfo>> Unfinished() const;
    // The files of the running (or last) run.
    const std::vector<std::unique_ptr<TTransferFile>>& Files() const { return m_files; }
    // The position the transfer on a connection reached; -1 when it moves no file's bytes.
    int64_t PositionOf(int connection) const;

    // A range on a connection now: how far it got.
    struct TLiveSegment
    {
        const TTransferFile* File = nullptr;
        size_t Segment = 0;
        int64_t Position = 0; // the byte of the file reached
        int Connection = 0;
    };
    std::vector<TLiveSegment> LiveSegments() const;
    // A file none of whose ranges has started leaves the run at the user's word (no part of its
    // broken list either); false when it has started or ended.
    bool SkipFile(const TTransferFile& file);
    // A failed file of the running run goes again from where its ranges stopped; false when
    // the run has ended or the file has not failed.
    bool RetryFile(const TTransferFile& file);
    // The server sent from byte 0 where an offset was asked: no ranges or resumes on this site.
    bool OffsetsIgnored() const { return m_offsetsIgnored; }

    // Speed limits in bytes per second for all the connections together, one per direction
    // (0: none); they apply at once, also to a running run.
    void SetSpeedLimits(int64_t download, int64_t upload);
    platform::TRateLimiter& SpeedLimit(bool download) { return download ? m_downloadLimit : m_uploadLimit; }
    const platform::TRateLimiter& SpeedLimit(bool download) const { return download ? m_downloadLimit : m_uploadLimit; }

    int64_t TotalBytes = 0;
    int64_t DoneBytes = 0;
    // Bytes that arrived or left on the data connections during the run, whatever became of them.
    int64_t MovedBytes = 0;
    std::vector<TItemFailure> Failures;
    size_t IncompleteItems = 0;
    size_t FailedItems = 0;

private:
    friend class TTransferWorker;

    int FirstConnection() const;
    int WorkerCount() const;
    // Files and directories of items join the run.
    void Admit(TTransferQueue& queue, bool resuming);
    // A file joins: split when big, asked about when its local file exists, queued.
    void AddFile(std::unique_ptr<TTransferFile> file, bool resuming);
    void QueueSegments(TTransferFile& file, bool front = false);
    // The run's own record of a file the window names; null when it is none of this run's.
    TTransferFile* Owned(const TTransferFile& file);
    // The file's ranges still waiting for a connection are taken off the run's list.
    void DropSegmentJobs(const TTransferFile& file);
    void AddJob(std::unique_ptr<TJob> job, bool front = false);
    // Every idle worker takes the next job it can do; the run ends once nothing is left.
    void Feed();
    // The job the next free worker should do; null when none can go now.
    std::unique_ptr<TJob> TakeJob();
    bool CanStart(const TJob& job) const;
    void EndWhenIdle();
    bool AnyWorkerBusy() const;
    void Log(int connection, const std::string& line) { m_host.RunLog(connection, line); }

    // What the workers report (TransferWork.cpp).
    enum class TAfter : uint8_t
    {
        Nothing,   // the worker takes its next job
        CheckSize, // a whole file's length disagrees with its listing: its size decides
        CheckFile  // every byte of the file is in: its time and hash
    };
    void Listed(int connection, std::unique_ptr<TJob> job, const TSessionResult& result,
                std::vector<TRemoteEntry> entries);
    // Listings that arrived, gone through a few each turn of the event loop.
    void WalkArrived();
    void Walk(int connection, std::unique_ptr<TJob> job, const std::vector<TRemoteEntry>& entries);
    void HandBackArrived();
    void DirectoryMade(int connection, std::unique_ptr<TJob> job, const TSessionResult& result);
    TAfter SegmentEnded(int connection, std::unique_ptr<TJob> job, const TTransferResult& result);
    // The server's size of a whole file whose length disagreed with its listing; true when the
    // file is complete after all.
    bool SizeAnswered(int connection, TTransferFile& file, const TSessionResult& result, int64_t size, int64_t reached);
    // The server's hash of a complete file, compared with the local file's on its own thread.
    void CompareHash(int connection, TTransferFile& file, const std::string& algorithm, const std::string& remote);
    void HashCompared(int connection, TTransferFile& file, const std::string& algorithm, bool same);
    // A job goes back to the queue (its worker lost its connection, was let go, or stopped).
    void HandBack(std::unique_ptr<TJob> job, bool front);
    void SegmentFailed(int connection, std::unique_ptr<TJob> job, TFailure failure, const std::string& reason);
    void FileFailed(TTransferFile& file, const std::string& reason);
    void FileDone(TTransferFile& file);
    void SegmentFinished(TTransferFile& file, TSegment& segment);
    // Every segment of the file goes: it comes again from byte 0 in one stream.
    void FetchAgainWhole(TTransferFile& file, const std::string& why);
    void QueueWholeWhenFree(TTransferFile& file);
    bool FileBusy(const TTransferFile& file) const;
    void WalkSkip(const std::string& path, int code, const std::string& reason);
    // A link's directory by its path: empty (and named as left out) when it leads out of the
    // walked tree or to a directory walked already.
    std::string LinkDirectory(const TJob& parent, const TRemoteEntry& entry);

    // Questions (TransferQuestions.cpp): existing local files and the free space, one at a time.
    void AskAboutExisting(TTransferFile& file);
    void NextQuestion();
    void ExistingAnswered(TTransferFile* file, TFileExistsChoice choice);
    void CheckFreeSpace();

    ITransferHost& m_host;
    platform::TRateLimiter m_downloadLimit;
    platform::TRateLimiter m_uploadLimit;
    bool m_running = false;
    bool m_aborting = false;
    bool m_offsetsIgnored = false;
    bool m_background = false;
    TSessionState m_savedState = ssConnected;
    std::vector<std::unique_ptr<TTransferFile>> m_files;
    TTransferQueue* m_queue = nullptr; // the caller's queue: what is left goes back into it
    // Ready jobs by kind: listings first (they find more work), then directories, then bytes.
    std::deque<std::unique_ptr<TJob>> m_listJobs;
    std::deque<std::unique_ptr<TJob>> m_dirJobs;
    std::deque<std::unique_ptr<TJob>> m_segmentJobs;
    std::set<std::string> m_walked; // directories listed or queued for listing
    struct TArrivedListing
    {
        int Connection = 0;
        std::unique_ptr<TJob> Job;
        std::vector<TRemoteEntry> Entries;
    };
    std::deque<TArrivedListing> m_arrived; // listed, not yet walked
    platform::PostTarget m_arrivedPost;
    // Directories whose unique fact was met before: listed once the rest is, and left out when
    // their listing shows the directory met before again.
    std::deque<std::unique_ptr<TJob>> m_repeated;
    struct TUniqueSeen
    {
        std::string Path;
        std::string Contents;
        bool Listed = false;
    };
    std::map<std::string, TUniqueSeen> m_uniques;
    // Remote directories of an upload: being made, made (their files may go).
    std::set<std::string> m_dirsMaking;
    std::set<std::string> m_dirsMade;
    std::vector<TItemOutcome> m_skipped; // what the walk left out, named in the result
    std::vector<std::unique_ptr<TTransferWorker>> m_workers;
    // Questions waiting for the user, and whether one is open.
    std::deque<TTransferFile*> m_questions;
    bool m_asking = false;
    bool m_overwriteAll = false;
    bool m_skipAll = false;
    bool m_spaceQuestion = false; // downloads wait while the free-space question is open
    int64_t m_spaceKnown = -1;    // the free space last found
    std::string m_spaceDirectory;
    int m_hashesPending = 0;     // local hashes computing on their own thread
    int64_t m_downloadFound = 0; // bytes of downloads found, and of those on disk
    int64_t m_downloadDone = 0;
    bool m_feeding = false;
    uint64_t m_generation = 0; // counts runs: answers of an ended run are dropped
};
