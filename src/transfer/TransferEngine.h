#pragma once

// A transfer run: the queue's items handed to the transfer connections, each logging in by
// itself, taking the head of the queue, moving it, and taking the next on the same login until
// the queue is empty. Foreground (connection 0 transfers too) or background (it stays free).
// A failed item is never counted as done: it is tried again from where it stopped, or kept
// for the run's broken list.

#include <array>
#include <bitset>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "manager/FtpManager.h"
#include "transfer/SplitDownload.h"

// The answers to "This local file exists!"; Closed is the dialog shut without one (a Skip).
enum class TFileExistsChoice
{
    Overwrite,
    OverwriteAll,
    Skip,
    SkipAll,
    Closed
};

// What a run needs of the main window.
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
    virtual bool AskYesNo(const std::string& caption, const std::string& text) = 0;
    virtual TFileExistsChoice AskFileExists(const std::string& localPath) = 0;
    // Free bytes of the volume holding directory; 0 when it cannot be told.
    virtual int64_t FreeSpace(const std::string& directory) = 0;
    // Queue tree marks and status rows of an item that starts on, or leaves, a connection.
    virtual void ItemStarted(int connection, const TTransferFileInfo& item) = 0;
    virtual void ItemLeft(int connection, const TTransferFileInfo& item) = 0;
    virtual void ConnectionLostRow(int connection) = 0;
    virtual void PositionReported(int connection, int64_t position) = 0;
    // The run's items are settled and about to go to the connections: nothing has been written yet.
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

class TTransferEngine : public ITransferSink
{
public:
    // Takes the completions of the manager's connections that transfer.
    TTransferEngine(TFtpManager& manager, ITransferHost& host);

    void StartTransfers(TTransferQueue& queue, bool resuming);
    // ITransferSink: a completion of connection i in transfer mode, its progress, its loss.
    void TransferStep(int i, TFtpRequest rqType, int error) override;
    void TransferProgress(int i, int64_t position) override;
    void TransferConnectionLost(int i) override;
    bool Transferring(int i) const override;
    void TransferDataEnded(int i) override;
    void FillIdleConnections(int count);
    std::unique_ptr<TTransferFileInfo> TakeNextItem(int i);
    // Before the table shrinks to newCount: the items of the connections that go return to the
    // tail of the queue with their reached offsets.
    void ReleaseConnections(int newCount);
    // After the user's abort: ends the run at once when no connection has anything to report.
    void AbortRequested();
    // Ends the run now, without waiting for the connections: what is left, the held items from
    // their reached offsets included, becomes the run's broken list.
    void EndRun();
    // A download or upload that joins a background run.
    void ItemAdded(const TTransferFileInfo& item) { TotalBytes += item.FileSize; }
    TRunFigures Figures(int64_t elapsedSeconds) const;

    int64_t TotalBytes = 0;
    int64_t DoneBytes = 0;
    // Bytes that arrived or left on the data connections during the run, whatever became of them.
    int64_t MovedBytes = 0;
    // The items that failed for good in the last run, with the reply or error that ended them.
    std::vector<TItemFailure> Failures;
    // Items the last run left unfinished (they are in its broken list), and of those the ones
    // that failed for good or ran out of retries.
    size_t IncompleteItems = 0;
    size_t FailedItems = 0;
    bool Running() const { return m_queue != nullptr; }
    // Copies of every item the run has not finished: queued, on a connection (from the offset it
    // reached), failed, or waiting to be fetched again. What a broken list made now would hold.
    std::vector<std::unique_ptr<TTransferFileInfo>> Unfinished() const;

private:
    int FirstConnection() const;
    bool AnyItemHeld() const;
    bool Holds(int i) const;
    void Request(int i, TFtpRequest rqType);
    void StartItem(int i);
    void ItemDone(int i);
    void ItemFailed(int i, int error, const std::string& reason);
    void KeepReachedOffset(TTransferFileInfo& item, int64_t position) const;
    void NextItemOrEnd(int i);
    void GiveItems(int count, bool openClosed);
    void HandBack(int i);
    void ReturnToTail(int i);
    void AllFailedCheck();
    void AbortStep(int i);
    bool CheckFreeSpace();
    bool ExistingFilePass();
    void LoginStep(int i, TFtpRequest rqType, int error);
    // Connection i logs in again after it was lost, taking the head of the queue.
    void LogInAgain(int i);

    // Commands sent ahead (TransferAhead.cpp): an item's TYPE, EPSV and RETR or STOR go out
    // together, and the next item's go out while the current download's final reply is due.
    bool CanSendAhead(int i, const TTransferFileInfo& item);
    // Sends item's commands unless they are out already; false when they go one at a time.
    bool SendItemAhead(int i, const TTransferFileInfo& item);
    // While a login's USER (withPass) or PASS is answered: the rest of the login (PASS, OPTS
    // UTF8) and the first item's commands.
    void SendLoginAhead(int i, bool withPass);
    // USER answered: a PASS sent ahead that the server did not ask for (unwanted) is not
    // waited for.
    void DropPassAhead(int i, bool unwanted);
    // The head of the queue becomes connection i's Next, its commands sent ahead.
    void SendNextAhead(int i);
    // Next, and the item whose commands are out, go back to the head of the queue; commands
    // still ahead on a connection that stays cannot be taken back: it closes.
    void ReturnNext(int i);
    // The item that follows on connection i: Next, else the head of the queue.
    std::unique_ptr<TTransferFileInfo> TakeFollowing(int i);

    // The checks of a finished download (TransferChecks.cpp): the bytes that arrived against
    // those expected, the server's size when they differ, a file fetched in ranges against the
    // server's hash, and a server that ignored REST.
    void DownloadEnded(int i, int error);
    void SizeAnswered(int i, int error);
    // The item of connection i goes into the run's broken list as failed, with why.
    void FailForGood(int i, const std::string& reason);
    void HashAnswered(int i, int error);
    // Runs the hash check when the item just done was the last range of its file.
    bool CheckHashWhenComplete(int i, const TTransferFileInfo& item);
    // The file was fetched in ranges, this was its last, and the server offers a hash.
    bool HashCheckDue(const TTransferFileInfo& item) const;
    // A file complete on disk takes the server's modification time: the one its listing gave
    // (MLSD), else it asks MDTM, true while the answer is awaited (TimeAnswered then goes on
    // with the hash check).
    bool KeepRemoteTime(int i, const TTransferFileInfo& item);
    void TimeAnswered(int i, int error);
    void SetLocalTime(int i, const std::string& path, int64_t seconds);
    // An upload's end: done or failed; a file sent whole gives the server its local time (MFMT).
    void UploadEnded(int i, int error);
    // Every range of the file is dropped; the file comes again from byte 0 in one stream.
    void FetchAgainWhole(const TTransferFileInfo& item, const std::string& why);
    // True when an item needs the offset a server that ignores REST cannot give.
    bool NeedsOffset(const TTransferFileInfo& item) const;
    bool FileHasOtherItems(const std::string& localPath, int except) const;
    void QueueWholeFileWhenFree(const std::string& localPath);

    TFtpManager& m_manager;
    ITransferHost& m_host;
    TTransferQueue* m_queue = nullptr;
    TTransferQueue m_failed; // failed for good: they go into the broken list at the end
    TSessionState m_savedState = ssConnected;
    // The connections that must still report after the user's abort.
    std::bitset<TFtpManager::kMaxConnections> m_awaitingAbort;
    // Bytes counted as done of the ranges of each file fetched in ranges, by local path.
    std::map<std::string, int64_t> m_doneRanges;
    // Files to be fetched again whole once none of their ranges is on a connection any more.
    std::map<std::string, std::unique_ptr<TTransferFileInfo>> m_wholeAgain;
    platform::PostTarget m_posted;
};

// The byte count of an item: from BeginPos (or 0) to EndPos (or the file's end).
int64_t ItemByteCount(const TTransferFileInfo& item);
