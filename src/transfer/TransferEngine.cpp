#include "transfer/TransferEngine.h"

#include <algorithm>
#include <cstdio>

#include "manager/CommFunc.h"
#include "platform/AtomicFile.h"

namespace {

// Failures worth another try: replies that say "not now" and connections that broke
// (socket error numbers start at 10000).
bool worthRetrying(int error, bool connected)
{
    return !connected || (error >= 400 && error < 500) || error >= 10000;
}

} // namespace

int64_t ItemByteCount(const TTransferFileInfo& item)
{
    int64_t start = item.BeginPos < 0 ? 0 : item.BeginPos;
    int64_t end = item.EndPos < 0 ? item.FileSize : item.EndPos;
    return std::max<int64_t>(end - start, 0);
}

TTransferEngine::TTransferEngine(TFtpManager& manager, ITransferHost& host) : m_manager(manager), m_host(host)
{
    m_manager.SetTransferSink(this);
}

bool TTransferEngine::Transferring(int i) const
{
    const TConnectionSlot& slot = m_manager.Slot(i);
    return m_queue && (slot.Item || slot.Pending != ftpNoRequest || slot.Checking);
}

int TTransferEngine::FirstConnection() const
{
    return m_host.Settings().MainConnDownload ? 0 : 1;
}

bool TTransferEngine::Holds(int i) const
{
    return m_manager.Slot(i).Item != nullptr;
}

bool TTransferEngine::AnyItemHeld() const
{
    for (int i = FirstConnection(); i < m_manager.Count(); ++i)
        if (Holds(i) || m_manager.Slot(i).Checking)
            return true;
    return false;
}

void TTransferEngine::Request(int i, TFtpRequest rqType)
{
    m_manager.Slot(i).Pending = rqType;
    TFtpClient& client = *m_manager.Client(i);
    uint64_t startedBefore = client.RequestsStarted();
    switch (rqType) {
    case ftpOpenAsync:
        client.Open();
        break;
    case ftpUserAsync:
        client.User();
        break;
    case ftpPassAsync:
        client.Pass();
        break;
    case ftpPutAsync:
        client.Put();
        break;
    case ftpRestGetAsync:
        client.RestGet();
        break;
    case ftpSizeAsync:
        client.Size();
        break;
    case ftpQuoteAsync:
        client.Quote();
        break;
    case ftpMdtmAsync:
        client.Mdtm();
        break;
    case ftpMfmtAsync:
        client.Mfmt();
        break;
    case ftpUtf8Async:
        client.Utf8On();
        break;
    default:
        break;
    }
    // A request the client refused (its connection went while a synchronous call waited, say)
    // ends as a lost connection would, from the event loop, rather than never.
    if (client.RequestsStarted() == startedBefore)
        m_posted.post([this, i, rqType] { TransferStep(i, rqType, wsa::kNotConnected); });
}

// ---------------------------------------------------------------- the start of a run

void TTransferEngine::StartTransfers(TTransferQueue& queue, bool resuming)
{
    m_savedState = m_host.SessionState();
    m_queue = &queue;
    m_failed.clear();
    IncompleteItems = 0;
    FailedItems = 0;
    if (queue.empty()) {
        m_queue = nullptr;
        m_host.OperationDone(TOperationResult::Of(TOperation::Transfer));
        return;
    }
    m_manager.ClearMainAbort();
    DoneBytes = 0;
    MovedBytes = 0;
    Failures.clear();
    m_doneRanges.clear();
    m_wholeAgain.clear();
    const TSettings& settings = m_host.Settings();
    for (int i = 0; i < TFtpManager::kMaxConnections; ++i) {
        TConnectionSlot& slot = m_manager.Slot(i);
        slot.Item.reset();
        slot.Checking.reset();
        slot.Next.reset();
        slot.Ahead = nullptr;
        slot.Position = 0;
        slot.Pending = ftpNoRequest;
        slot.LoginsLeft = settings.ConnectionRetryTimes;
    }
    if (!resuming) {
        // A server known to ignore REST gets every file in one stream.
        if (!m_manager.RestIgnored())
            SplitBigDownloads(queue, m_manager.Count() - FirstConnection(), settings.MTFileSize, settings.TextExt);
        if (!CheckFreeSpace() || !ExistingFilePass())
            return;
    }
    TotalBytes = 0;
    for (auto& item : queue) {
        item->Attempts = 0;
        TotalBytes = SaturatingAdd(TotalBytes, ItemByteCount(*item));
    }
    m_host.RunStarting();
    FillIdleConnections(m_manager.Count());
    if (!settings.MainConnDownload) {
        m_host.SetTransfersRunning(true);
        m_host.OperationDone(TOperationResult::Of(TOperation::Transfer)); // the main connection browses again
    }
}

// Asks until the downloads fit on the disk; declining keeps the whole queue as a broken list.
bool TTransferEngine::CheckFreeSpace()
{
    int64_t need = 0;
    std::string directory;
    for (const auto& item : *m_queue) {
        if (!item->IsDownload)
            continue;
        need = SaturatingAdd(need, ItemByteCount(*item));
        if (directory.empty())
            directory = ParentDirectory(item->LocalPath);
    }
    if (need == 0)
        return true;
    for (int64_t free = m_host.FreeSpace(directory); free < need; free = m_host.FreeSpace(directory)) {
        std::string text = "Disk free space not enough !\rNeed space = " + ShortSize(need) +
                           "\rWe have free space = " + ShortSize(free) +
                           "\rPlease free some space then click Yes or click No for cancelling";
        if (!m_host.AskYesNo("Space not enough", text)) {
            EndRun();
            return false;
        }
    }
    return true;
}

// Downloads onto existing local files: delete and fetch anew, or leave the file and drop them.
bool TTransferEngine::ExistingFilePass()
{
    TTransferQueue& queue = *m_queue;
    bool overwriteAll = false;
    bool skipAll = false;
    for (size_t k = 0; k < queue.size();) {
        const std::string path = queue[k]->LocalPath;
        if (!queue[k]->IsDownload || queue[k]->Partial || !platform::fileExists(path)) {
            ++k;
            continue;
        }
        TFileExistsChoice choice = overwriteAll ? TFileExistsChoice::Overwrite
                                   : skipAll    ? TFileExistsChoice::Skip
                                                : m_host.AskFileExists(path);
        if (choice == TFileExistsChoice::Overwrite || choice == TFileExistsChoice::OverwriteAll) {
            if (std::remove(path.c_str()) != 0) {
                m_host.ShowMessage("Local file can't access!");
                EndRun();
                return false;
            }
            overwriteAll |= choice == TFileExistsChoice::OverwriteAll;
            ++k;
            continue;
        }
        skipAll |= choice == TFileExistsChoice::SkipAll;
        queue.erase(std::remove_if(queue.begin() + static_cast<long>(k), queue.end(),
                                   [&path](const auto& item) { return item->LocalPath == path; }),
                    queue.end());
    }
    if (queue.empty()) {
        EndRun();
        return false;
    }
    return true;
}

// ---------------------------------------------------------------- handing out items

std::unique_ptr<TTransferFileInfo> TTransferEngine::TakeNextItem(int i)
{
    if (!m_queue)
        return nullptr;
    // On a server that ignores REST, a range or a resume would be written from the wrong bytes:
    // its file comes whole instead (which puts a whole item at the head, or waits for the ranges
    // still on connections).
    while (!m_queue->empty() && NeedsOffset(*m_queue->front()))
        FetchAgainWhole(*m_queue->front(), "");
    if (m_queue->empty())
        return nullptr;
    std::unique_ptr<TTransferFileInfo> item = std::move(m_queue->front());
    m_queue->pop_front();
    m_manager.Slot(i).Position = 0; // no stale offset from the item before
    m_host.ItemStarted(i, *item);
    return item;
}

void TTransferEngine::FillIdleConnections(int count)
{
    GiveItems(count, true);
}

// Idle connections F..count-1 take the head of the queue: logged-in ones start it at once,
// closed ones (when openClosed) log in first.
void TTransferEngine::GiveItems(int count, bool openClosed)
{
    if (!m_queue)
        return;
    for (int i = FirstConnection(); i < count && i < m_manager.Count() && !m_queue->empty(); ++i) {
        TFtpClient& client = *m_manager.Client(i);
        if (Holds(i) || m_manager.Slot(i).Pending != ftpNoRequest || (!openClosed && !client.Connected()))
            continue;
        m_manager.Slot(i).Item = TakeNextItem(i);
        const THostInfo& session = m_manager.SessionInfo();
        client.HostName = session.HostName;
        client.Port = session.HostPort;
        client.UserName = session.UserName;
        client.PassWord = session.PassWord;
        m_manager.SetMode(i, cmTransfer);
        if (client.Connected())
            StartItem(i);
        else
            Request(i, ftpOpenAsync);
    }
}

// ---------------------------------------------------------------- one connection's steps

void TTransferEngine::TransferStep(int i, TFtpRequest rqType, int error)
{
    auto& pending = m_manager.Slot(i).Pending;
    if (!m_queue || rqType != pending)
        return; // a synchronous call's completion, or one of a request given up
    pending = ftpNoRequest;
    // A foreground run stops with the main connection's abort; a background run only with its
    // own, not when the user stops a directory change on connection 0.
    bool foreground = m_host.Settings().MainConnDownload;
    if (foreground ? m_manager.MainAborted() : m_manager.TransferAborted()) {
        AbortStep(i);
        return;
    }
    switch (rqType) {
    case ftpOpenAsync:
    case ftpUserAsync:
    case ftpPassAsync:
    case ftpUtf8Async:
        LoginStep(i, rqType, error);
        break;
    case ftpPutAsync:
        UploadEnded(i, error);
        break;
    case ftpRestGetAsync:
        DownloadEnded(i, error);
        break;
    case ftpSizeAsync:
        SizeAnswered(i, error);
        break;
    case ftpQuoteAsync:
        HashAnswered(i, error);
        break;
    case ftpMdtmAsync:
        TimeAnswered(i, error);
        break;
    case ftpMfmtAsync:
        m_manager.Slot(i).Checking.reset();
        if (error != 0)
            m_manager.Log(i, "! The server did not take the file's time");
        NextItemOrEnd(i);
        break;
    default:
        break;
    }
}

void TTransferEngine::LoginStep(int i, TFtpRequest rqType, int error)
{
    TFtpClient& client = *m_manager.Client(i);
    if (rqType == ftpUserAsync)
        DropPassAhead(i, error == 0 && client.StatusCode() == 230); // dropped when in without a password
    // A server may refuse OPTS UTF8 (names are then what it makes of them): only a lost
    // connection ends the login there.
    if (error != 0 && !(rqType == ftpUtf8Async && client.Connected())) {
        // Refused or unreachable (a server's connection limit, say): the others carry on.
        m_manager.Log(i, "! Login failed: " + client.ErrorMessage());
        HandBack(i);
        client.AbortSync();
        GiveItems(m_manager.Count(), false); // what was handed back
        AllFailedCheck();
    } else if (rqType == ftpOpenAsync) {
        Request(i, ftpUserAsync);
        SendLoginAhead(i, true);
    } else if (rqType == ftpUserAsync && client.StatusCode() != 230) {
        Request(i, ftpPassAsync);
        SendLoginAhead(i, false);
    } else if (rqType != ftpUtf8Async && m_manager.Features().Utf8) {
        Request(i, ftpUtf8Async); // as connection 0 did
        SendItemAhead(i, *m_manager.Slot(i).Item);
    } else {
        StartItem(i); // logged in
    }
}

void TTransferEngine::StartItem(int i)
{
    TFtpClient& client = *m_manager.Client(i);
    TConnectionSlot& slot = m_manager.Slot(i);
    TTransferFileInfo& item = *slot.Item;
    // What was sent ahead and will not be asked for goes (a login's OPTS UTF8 that is not
    // wanted any more); the item's own commands stay.
    client.DiscardAhead(slot.Ahead == &item ? slot.AheadCommands : 0);
    SendItemAhead(i, item);
    slot.Ahead = nullptr;
    client.HostFileName = item.HostPath;
    client.SetLocalFileName(item.LocalPath);
    m_manager.SetTransferType(client, !IsTextTransfer(item.LocalPath, m_host.Settings().TextExt));
    // The run ended, the connection was released, or it was lost and took another item to log
    // in again with, while TYPE was waited for: this item is no longer its business.
    if (!m_queue || i >= m_manager.Count() || m_manager.Slot(i).Item.get() != &item)
        return;
    if (!item.IsDownload) {
        client.ResumeAt = 0;
        Request(i, ftpPutAsync);
        return;
    }
    // From byte 0 no REST is sent (-1): one round trip less per file, and servers that refuse
    // REST in ASCII mode still deliver.
    client.ResumeAt = item.BeginPos > 0 ? item.BeginPos : -1;
    // A range inside the file stops at its end by itself: nothing beyond it is written. What
    // runs to the file's end from an offset must end exactly there: more bytes would mean the
    // server sent from elsewhere than REST asked. From byte 0 a file may have grown since it
    // was listed.
    bool toFileEnd = item.EndPos < 0 || item.EndPos >= item.FileSize;
    client.TransferEnd = toFileEnd ? -1 : item.EndPos;
    client.FileEnd = toFileEnd && item.BeginPos > 0 ? item.FileSize : -1;
    Request(i, ftpRestGetAsync);
}

void TTransferEngine::ItemDone(int i)
{
    m_manager.Client(i)->SetLocalStream(nullptr);
    auto& slot = m_manager.Slot(i).Item;
    if (!slot)
        return;
    DoneBytes = SaturatingAdd(DoneBytes, ItemByteCount(*slot));
    if (slot->EndPos >= 0) {
        int64_t& ranges = m_doneRanges[slot->LocalPath];
        ranges = SaturatingAdd(ranges, ItemByteCount(*slot));
    }
    m_manager.Slot(i).LoginsLeft = m_host.Settings().ConnectionRetryTimes;
    std::unique_ptr<TTransferFileInfo> done = std::move(slot); // no longer unfinished when the host looks
    m_host.ItemLeft(i, *done);
}

// A refused or broken transfer keeps its item: tried again from where it stopped while retries
// are left and the cause may pass, kept for the broken list otherwise.
void TTransferEngine::ItemFailed(int i, int error, const std::string& reason)
{
    TFtpClient& client = *m_manager.Client(i);
    client.SetLocalStream(nullptr);
    auto& slot = m_manager.Slot(i).Item;
    if (!slot)
        return;
    m_host.ItemLeft(i, *slot);
    if (slot->IsDownload)
        KeepReachedOffset(*slot, client.TransferStart() + client.ByteCount());
    ++slot->Attempts;
    if (worthRetrying(error, client.Connected()) && slot->Attempts <= m_host.Settings().ConnectionRetryTimes) {
        m_manager.Log(i, "Will try " + slot->HostPath + " again (" + std::to_string(slot->Attempts) + " of " +
                             std::to_string(m_host.Settings().ConnectionRetryTimes) + ")");
        m_queue->push_back(std::move(slot));
    } else {
        m_manager.Log(i, "Not completed: " + slot->HostPath + (reason.empty() ? "" : " (" + reason + ")"));
        Failures.push_back({slot->HostPath, reason.empty() ? "error " + std::to_string(error) : reason});
        m_failed.push_back(std::move(slot));
    }
}

void TTransferEngine::KeepReachedOffset(TTransferFileInfo& item, int64_t position) const
{
    int64_t end = item.EndPos < 0 ? item.FileSize : item.EndPos;
    if (std::max<int64_t>(item.BeginPos, 0) < position && position < end)
        item.BeginPos = position; // the bytes before it are on disk
}

// After an item left connection i: the next one on the same login, or the end of the run once
// nothing is held, also when this connection has closed.
void TTransferEngine::NextItemOrEnd(int i)
{
    if (!m_queue)
        return;
    if (m_manager.Client(i)->Connected() && (m_manager.Slot(i).Next || !m_queue->empty())) {
        m_manager.Slot(i).Item = TakeFollowing(i);
        if (m_manager.Slot(i).Item) {
            StartItem(i);
            return;
        }
    }
    ReturnNext(i);
    if (AnyItemHeld())
        return;
    if (m_queue->empty()) {
        EndRun();
        return;
    }
    GiveItems(m_manager.Count(), false); // what was handed back
    AllFailedCheck();
}

void TTransferEngine::HandBack(int i)
{
    ReturnNext(i);
    auto& slot = m_manager.Slot(i).Item;
    if (!slot)
        return;
    m_host.ItemLeft(i, *slot);
    m_queue->push_front(std::move(slot));
}

void TTransferEngine::AllFailedCheck()
{
    if (!m_queue || AnyItemHeld())
        return;
    m_host.ShowMessage("DOWNLOAD FAILED ! Check status to see more information");
    EndRun();
}

void TTransferEngine::TransferProgress(int i, int64_t position)
{
    if (!m_queue || m_manager.Mode(i) != cmTransfer)
        return;
    m_manager.Slot(i).Position = position;
    m_host.PositionReported(i, position);
}

void TTransferEngine::TransferConnectionLost(int i)
{
    if (m_manager.Client(i)->AheadStalled() && !m_manager.PipeliningRefused()) {
        m_manager.SetPipeliningRefused();
        m_manager.Log(i, "! The server did not take commands sent together: one command at a time from now on");
    }
    ReturnNext(i);
    auto& pending = m_manager.Slot(i).Pending;
    bool transferring = pending == ftpRestGetAsync || pending == ftpPutAsync;
    pending = ftpNoRequest; // the completion that follows the close is not waited for
    if (transferring)
        MovedBytes += m_manager.Client(i)->ByteCount();
    auto& slot = m_manager.Slot(i).Item;
    if (!m_queue || !slot)
        return;
    if (slot->IsDownload)
        KeepReachedOffset(*slot, m_manager.Slot(i).Position);
    slot->Attempts += transferring ? 1 : 0;
    m_manager.Client(i)->SetLocalStream(nullptr);
    if (m_wholeAgain.count(slot->LocalPath) != 0) {
        std::string path = slot->LocalPath; // a range of a file that comes again whole: it goes
        m_host.ItemLeft(i, *slot);
        slot.reset();
        QueueWholeFileWhenFree(path);
    } else if (slot->Attempts > m_host.Settings().ConnectionRetryTimes) {
        m_manager.Log(i, "Not completed: " + slot->HostPath + " (the connection was lost)");
        Failures.push_back({slot->HostPath, "the connection was lost " + std::to_string(slot->Attempts) + " times"});
        m_host.ItemLeft(i, *slot);
        m_failed.push_back(std::move(slot));
    } else {
        HandBack(i);
    }
    m_host.ConnectionLostRow(i);
    auto& logins = m_manager.Slot(i).LoginsLeft;
    if (logins > 0 && !m_queue->empty()) {
        --logins;
        LogInAgain(i);
        return;
    }
    GiveItems(m_manager.Count(), false); // what was handed back
    AllFailedCheck();
}

void TTransferEngine::LogInAgain(int i)
{
    m_manager.Log(i, "Logging in again");
    m_manager.Slot(i).Item = TakeNextItem(i);
    if (!m_manager.Slot(i).Item)
        return;
    m_manager.SetMode(i, cmTransfer);
    m_manager.Slot(i).Pending = ftpOpenAsync;
    // The client is still reporting its close: it opens again from the event loop.
    m_posted.post([this, i] {
        if (!m_queue || m_manager.Slot(i).Pending != ftpOpenAsync || i >= m_manager.Count())
            return;
        Request(i, ftpOpenAsync);
    });
}

void TTransferEngine::ReleaseConnections(int newCount)
{
    if (!m_queue)
        return;
    for (int i = std::max(newCount, 0); i < m_manager.Count(); ++i) {
        m_manager.Slot(i).Pending = ftpNoRequest;
        ReturnToTail(i);
    }
}

// The item of connection i goes to the tail of the queue, from the offset it reached.
void TTransferEngine::ReturnToTail(int i)
{
    ReturnNext(i);
    auto& slot = m_manager.Slot(i).Item;
    if (!slot)
        return;
    KeepReachedOffset(*slot, m_manager.Slot(i).Position);
    m_host.ItemLeft(i, *slot);
    m_queue->push_back(std::move(slot));
}

// ---------------------------------------------------------------- abort and the end

void TTransferEngine::AbortRequested()
{
    if (!m_queue)
        return;
    // Every connection with a request under way reports, connection 0 included when it
    // transfers; idle ones are not waited for.
    m_awaitingAbort.reset();
    for (int i = FirstConnection(); i < m_manager.Count(); ++i)
        if (m_manager.Slot(i).Pending != ftpNoRequest)
            m_awaitingAbort.set(static_cast<size_t>(i));
    if (m_awaitingAbort.none()) {
        m_manager.ClearTransferAbort();
        EndRun();
    }
}

void TTransferEngine::AbortStep(int i)
{
    m_manager.Client(i)->SetLocalStream(nullptr);
    m_awaitingAbort.reset(static_cast<size_t>(i));
    ReturnToTail(i);
    if (m_awaitingAbort.none()) {
        m_manager.ClearTransferAbort();
        EndRun();
    }
}

void TTransferEngine::EndRun()
{
    if (!m_queue)
        return;
    // Whatever a connection still holds, and what failed for good, goes into the broken list
    // with the rest; a file due to come again whole goes in whole, without its ranges.
    for (int i = 0; i < m_manager.Count(); ++i) {
        auto& slot = m_manager.Slot(i).Item;
        if (slot && m_wholeAgain.count(slot->LocalPath) != 0) {
            m_host.ItemLeft(i, *slot);
            slot.reset();
        }
        ReturnToTail(i);
    }
    for (auto& [path, item] : m_wholeAgain)
        m_queue->push_front(std::move(item));
    m_wholeAgain.clear();
    for (auto& item : m_failed)
        m_queue->push_front(std::move(item));
    FailedItems = m_failed.size();
    m_failed.clear();
    IncompleteItems = m_queue->size();
    // The run's result: every item left over, with why when it failed for good.
    std::vector<TItemOutcome> outcomes;
    for (const auto& item : *m_queue) {
        auto failure = std::find_if(Failures.begin(), Failures.end(),
                                    [&](const TItemFailure& f) { return f.Path == item->HostPath; });
        if (failure != Failures.end())
            outcomes.push_back({item->HostPath, kItemFailed, failure->Reason, true});
        else
            outcomes.push_back({item->HostPath, kItemNotFinished, "not finished", true});
    }
    TOperationResult result = TOperationResult::Of(TOperation::Transfer, std::move(outcomes));
    result.Bytes = MovedBytes;
    m_queue = nullptr;
    for (int i = 0; i < TFtpManager::kMaxConnections; ++i) {
        m_manager.Slot(i).Pending = ftpNoRequest;
        m_manager.Slot(i).Checking.reset(); // a hash not answered leaves the file as it came
        m_manager.Slot(i).Ahead = nullptr;
    }
    TSessionState state = m_host.SessionState();
    bool background = !m_host.Settings().MainConnDownload;
    if (background) {
        m_manager.ClearTransferAbort();
        m_host.SetSessionState(m_savedState);
        m_host.SetTransfersRunning(false);
    }
    m_host.OperationDone(result);
    if (background)
        m_host.SetSessionState(state == ssTransfering ? ssConnected : state);
}

std::vector<std::unique_ptr<TTransferFileInfo>> TTransferEngine::Unfinished() const
{
    std::vector<std::unique_ptr<TTransferFileInfo>> items;
    if (!m_queue)
        return items;
    for (const auto& item : m_failed)
        items.push_back(std::make_unique<TTransferFileInfo>(*item));
    for (const auto& [path, item] : m_wholeAgain)
        items.push_back(std::make_unique<TTransferFileInfo>(*item));
    for (int i = 0; i < m_manager.Count(); ++i) {
        if (const auto& next = m_manager.Slot(i).Next)
            items.push_back(std::make_unique<TTransferFileInfo>(*next));
        const auto& slot = m_manager.Slot(i).Item;
        if (!slot || m_wholeAgain.count(slot->LocalPath) != 0)
            continue;
        auto copy = std::make_unique<TTransferFileInfo>(*slot);
        if (copy->IsDownload)
            KeepReachedOffset(*copy, m_manager.Slot(i).Position);
        items.push_back(std::move(copy));
    }
    for (const auto& item : *m_queue)
        items.push_back(std::make_unique<TTransferFileInfo>(*item));
    return items;
}

TRunFigures TTransferEngine::Figures(int64_t elapsedSeconds) const
{
    TRunFigures figures;
    figures.Total = TotalBytes;
    figures.Done = DoneBytes;
    for (int i = FirstConnection(); i < m_manager.Count(); ++i) {
        const auto& slot = m_manager.Slot(i).Item;
        if (!slot)
            continue;
        int64_t moved = m_manager.Slot(i).Position - std::max<int64_t>(slot->BeginPos, 0);
        figures.Done = SaturatingAdd(figures.Done, std::clamp<int64_t>(moved, 0, ItemByteCount(*slot)));
    }
    figures.Speed = elapsedSeconds > 0 ? figures.Done / elapsedSeconds : 0;
    figures.Remain = figures.Speed > 0 ? std::max<int64_t>(figures.Total - figures.Done, 0) / figures.Speed : 0;
    figures.Percent = figures.Total > 0 ? static_cast<int>(std::min(100.0 * figures.Done / figures.Total, 100.0)) : 0;
    return figures;
}
