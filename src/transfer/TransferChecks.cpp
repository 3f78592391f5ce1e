#include "transfer/TransferEngine.h"

// The end of a download: it is done only when the bytes that arrived are the bytes expected.
// A short transfer is tried again from where it stopped (after asking the server for the
// file's size, when the listing may have been wrong); a server that sent more than the file
// holds from an offset ignored REST, and the file comes again whole; a file fetched in ranges
// is compared with the server's hash when the server offers one, and a complete file takes the
// server's modification time.

#include <algorithm>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/FileHash.h"

namespace {

// A whole file written over a longer one it replaced keeps none of the old tail.
void CutToSize(const std::string& path, int64_t size)
{
    struct stat info = {};
    if (::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && info.st_size > size)
        ::truncate(path.c_str(), size);
}

// A short transfer or a failed check: worth another try, as a "not now" reply is.
constexpr int kIncomplete = 426;

} // namespace

bool TTransferEngine::NeedsOffset(const TTransferFileInfo& item) const
{
    return m_manager.RestIgnored() && item.IsDownload &&
           (item.BeginPos > 0 || (item.EndPos >= 0 && item.EndPos < item.FileSize));
}

bool TTransferEngine::FileHasOtherItems(const std::string& localPath, int except) const
{
    auto same = [&](const auto& item) { return item && item->LocalPath == localPath; };
    for (int j = 0; j < m_manager.Count(); ++j)
        if ((j != except && same(m_manager.Slot(j).Item)) || same(m_manager.Slot(j).Next))
            return true;
    return std::any_of(m_queue->begin(), m_queue->end(), same) || std::any_of(m_failed.begin(), m_failed.end(), same) ||
           m_wholeAgain.count(localPath) != 0;
}

void TTransferEngine::DownloadEnded(int i, int error)
{
    TFtpClient& client = *m_manager.Client(i);
    MovedBytes += client.ByteCount();
    auto& slot = m_manager.Slot(i).Item;
    if (!slot) {
        NextItemOrEnd(i);
        return;
    }
    if (m_wholeAgain.count(slot->LocalPath) != 0) {
        // A range of a file that comes again whole: what it wrote does not count.
        std::string path = slot->LocalPath;
        client.SetLocalStream(nullptr);
        m_host.ItemLeft(i, *slot);
        slot.reset();
        QueueWholeFileWhenFree(path);
        NextItemOrEnd(i);
        return;
    }
    if (client.Overrun()) {
        client.SetLocalStream(nullptr);
        m_manager.SetRestIgnored();
        FetchAgainWhole(*slot, "the server ignored REST");
        NextItemOrEnd(i);
        return;
    }
    if (error != 0) {
        ItemFailed(i, error, client.ErrorMessage());
        NextItemOrEnd(i);
        return;
    }
    TTransferFileInfo& item = *slot;
    int64_t reached = client.TransferStart() + client.ByteCount();
    int64_t end = item.EndPos < 0 ? item.FileSize : item.EndPos;
    bool text = IsTextTransfer(item.LocalPath, m_host.Settings().TextExt);
    if (reached == end || (text && reached > end)) {
        // Text mode turns line ends into CR LF on the way: more bytes than listed are whole.
        if (item.EndPos < 0)
            CutToSize(item.LocalPath, reached);
        TTransferFileInfo done = item; // ItemDone frees the item
        ItemDone(i);
        if (!KeepRemoteTime(i, done) && !CheckHashWhenComplete(i, done))
            NextItemOrEnd(i);
        return;
    }
    if (text || item.EndPos >= 0) {
        // A range stops at its end by itself: it can only be short, and goes on from there.
        m_manager.Log(i, "! Only " + std::to_string(reached) + " of " + std::to_string(end) + " bytes of " +
                             item.HostPath + " arrived");
        ItemFailed(i, kIncomplete,
                   "only " + std::to_string(reached - std::max<int64_t>(item.BeginPos, 0)) + " of " +
                       std::to_string(ItemByteCount(item)) + " bytes received");
        NextItemOrEnd(i);
        return;
    }
    // A whole file that is longer or shorter than listed, though the server called it complete:
    // the listing may be old, or the bytes may not be the file's. The server's SIZE decides.
    client.HostFileName = item.HostPath;
    Request(i, ftpSizeAsync);
}

void TTransferEngine::SizeAnswered(int i, int error)
{
    TFtpClient& client = *m_manager.Client(i);
    auto& slot = m_manager.Slot(i).Item;
    if (!slot) {
        NextItemOrEnd(i);
        return;
    }
    TTransferFileInfo& item = *slot;
    int64_t reached = client.TransferStart() + client.ByteCount();
    bool sized = error == 0 && client.StatusCode() == 213;
    if (sized && client.SizeResult() == reached) {
        m_manager.Log(i, "! " + item.HostPath + " has " + std::to_string(reached) + " bytes, not " +
                             std::to_string(item.FileSize) + " as listed");
        TotalBytes = SaturatingAdd(TotalBytes, reached - item.FileSize);
        item.FileSize = reached;
        item.SizeDisputed = true; // the server's hash, where it offers one, checks the bytes too
        CutToSize(item.LocalPath, reached);
        TTransferFileInfo done = item; // ItemDone frees the item
        ItemDone(i);
        if (!KeepRemoteTime(i, done) && !CheckHashWhenComplete(i, done))
            NextItemOrEnd(i);
        return;
    }
    int64_t expected = sized ? client.SizeResult() : item.FileSize;
    std::string why = "it ended at byte " + std::to_string(reached) + ", not " + std::to_string(expected);
    m_manager.Log(i, "! " + item.HostPath + " " + why.substr(3));
    if (item.FetchedAgain) {
        FailForGood(i, why + ", twice");
    } else {
        // What arrived is not trusted as a start to go on from: the file comes once more whole.
        if (sized && expected != item.FileSize) {
            TotalBytes = SaturatingAdd(TotalBytes, expected - item.FileSize);
            item.FileSize = expected;
        }
        item.FetchedAgain = true;
        m_manager.Log(i, "Will fetch " + item.HostPath + " once more from byte 0");
        FetchAgainWhole(item, "");
    }
    NextItemOrEnd(i);
}

void TTransferEngine::FailForGood(int i, const std::string& reason)
{
    m_manager.Client(i)->SetLocalStream(nullptr);
    auto& slot = m_manager.Slot(i).Item;
    if (!slot)
        return;
    m_host.ItemLeft(i, *slot);
    m_manager.Log(i, "Not completed: " + slot->HostPath + " (" + reason + ")");
    Failures.push_back({slot->HostPath, reason});
    m_failed.push_back(std::move(slot));
}

bool TTransferEngine::KeepRemoteTime(int i, const TTransferFileInfo& item)
{
    // A file fetched in ranges takes it with its last range.
    if (!m_host.Settings().KeepRemoteTimes || FileHasOtherItems(item.LocalPath, -1) ||
        !m_manager.Client(i)->Connected())
        return false;
    if (item.RemoteTime >= 0) { // the listing told it: no question needed
        SetLocalTime(i, item.LocalPath, item.RemoteTime);
        return false;
    }
    // Held as a check is: the connection is busy with the file until the answer comes.
    m_manager.Slot(i).Checking = std::make_unique<TTransferFileInfo>(item);
    m_manager.Client(i)->HostFileName = item.HostPath;
    Request(i, ftpMdtmAsync);
    if (!HashCheckDue(item))
        SendNextAhead(i); // its commands go out while the server looks up the time
    return true;
}

void TTransferEngine::TimeAnswered(int i, int error)
{
    std::unique_ptr<TTransferFileInfo> file = std::move(m_manager.Slot(i).Checking);
    if (!file) {
        NextItemOrEnd(i);
        return;
    }
    const TTransferFileInfo& item = *file;
    int64_t seconds = m_manager.Client(i)->ModifiedResult();
    if (error == 0 && seconds >= 0) {
        SetLocalTime(i, item.LocalPath, seconds);
    } else {
        m_manager.Log(i, "! No modification time of " + item.HostPath + " from the server");
    }
    if (!CheckHashWhenComplete(i, item))
        NextItemOrEnd(i);
}

void TTransferEngine::SetLocalTime(int i, const std::string& path, int64_t seconds)
{
    timespec times[2] = {{0, UTIME_OMIT}, {static_cast<time_t>(seconds), 0}};
    if (::utimensat(AT_FDCWD, path.c_str(), times, 0) != 0)
        m_manager.Log(i, "! The time of " + path + " could not be set");
}

void TTransferEngine::UploadEnded(int i, int error)
{
    TFtpClient& client = *m_manager.Client(i);
    MovedBytes += client.ByteCount();
    if (error != 0 || !m_manager.Slot(i).Item) {
        if (error != 0)
            ItemFailed(i, error, client.ErrorMessage());
        NextItemOrEnd(i);
        return;
    }
    TTransferFileInfo item = *m_manager.Slot(i).Item; // ItemDone frees the item
    ItemDone(i);
    struct stat info
    {
    };
    if (!m_host.Settings().KeepRemoteTimes || !m_manager.Features().Mfmt || !client.Connected() ||
        ::stat(item.LocalPath.c_str(), &info) != 0) {
        NextItemOrEnd(i);
        return;
    }
    // Held as a check is, until the server answers.
    m_manager.Slot(i).Checking = std::make_unique<TTransferFileInfo>(item);
    client.HostFileName = item.HostPath;
    client.FileTime = info.st_mtime;
    Request(i, ftpMfmtAsync);
    SendNextAhead(i); // its commands go out while the server sets the time
}

bool TTransferEngine::HashCheckDue(const TTransferFileInfo& item) const
{
    return !m_manager.Features().Hash.Command.empty() &&
           (m_doneRanges.count(item.LocalPath) != 0 || item.SizeDisputed) && !FileHasOtherItems(item.LocalPath, -1);
}

bool TTransferEngine::CheckHashWhenComplete(int i, const TTransferFileInfo& item)
{
    const TRemoteHash& hash = m_manager.Features().Hash;
    if (!HashCheckDue(item))
        return false;
    TFtpClient& client = *m_manager.Client(i);
    if (!client.Connected())
        return false;
    // The file's ranges are all in: one question settles whether they make the server's file.
    auto whole = std::make_unique<TTransferFileInfo>(item);
    whole->BeginPos = -1;
    whole->EndPos = -1;
    whole->Attempts = item.Attempts;
    m_wholeAgain.erase(item.LocalPath);
    m_manager.Slot(i).Checking = std::move(whole);
    client.SetLocalFileName(hash.Command + " " + item.HostPath);
    Request(i, ftpQuoteAsync);
    return true;
}

void TTransferEngine::HashAnswered(int i, int error)
{
    TFtpClient& client = *m_manager.Client(i);
    std::unique_ptr<TTransferFileInfo> file = std::move(m_manager.Slot(i).Checking);
    if (!file) {
        NextItemOrEnd(i);
        return;
    }
    const TRemoteHash& hash = m_manager.Features().Hash;
    std::string remote = error == 0 ? ParseHashReply(client.LastResponse(), hash.Algorithm) : "";
    if (remote.empty()) {
        m_manager.Log(i, "! No " + hash.Algorithm + " of " + file->HostPath + " from the server: not checked");
    } else if (platform::FileDigest(file->LocalPath, hash.Algorithm) == remote) {
        m_manager.Log(i, "! " + file->HostPath + ": " + hash.Algorithm + " matches the server's");
    } else {
        m_manager.Log(i, "! " + file->HostPath + ": " + hash.Algorithm + " differs from the server's");
        auto ranges = m_doneRanges.find(file->LocalPath);
        DoneBytes -= ranges != m_doneRanges.end() ? ranges->second : ItemByteCount(*file);
        if (ranges != m_doneRanges.end())
            m_doneRanges.erase(ranges);
        ++file->Attempts;
        if (file->FetchedAgain) {
            // It came whole once more already, and still is not the server's file.
            m_manager.Log(i, "Not completed: " + file->HostPath + " (its hash differs from the server's)");
            Failures.push_back({file->HostPath, hash.Algorithm + " differs from the server's, twice"});
            m_failed.push_back(std::move(file));
        } else {
            m_manager.Log(i, "Will try " + file->HostPath + " again in one stream");
            file->FetchedAgain = true;
            file->SizeDisputed = false;
            m_queue->push_front(std::move(file));
        }
    }
    if (file)
        m_doneRanges.erase(file->LocalPath); // checked: nothing more to undo
    NextItemOrEnd(i);
}

void TTransferEngine::FetchAgainWhole(const TTransferFileInfo& item, const std::string& why)
{
    std::string path = item.LocalPath;
    auto whole = std::make_unique<TTransferFileInfo>(item);
    whole->BeginPos = -1;
    whole->EndPos = -1;
    if (!why.empty())
        m_manager.Log(0, "! " + item.HostPath + ": " + why +
                             "; it comes again from byte 0 in one stream, and nothing more is fetched from an "
                             "offset on this server");
    // Every range of the file goes, wherever it is: the queue, the failed, the connections
    // (their data connections are cut; their completions drop them).
    auto ofFile = [&](const auto& other) { return other && other->LocalPath == path; };
    for (TTransferQueue* list : {m_queue, &m_failed})
        list->erase(std::remove_if(list->begin(), list->end(), ofFile), list->end());
    for (int j = 0; j < m_manager.Count(); ++j) {
        auto& slot = m_manager.Slot(j).Item;
        if (!ofFile(slot))
            continue;
        if (slot.get() == &item || m_manager.Slot(j).Pending == ftpNoRequest) {
            m_host.ItemLeft(j, *slot);
            slot.reset();
        } else {
            m_manager.Client(j)->DataSocket()->Close();
        }
    }
    // item may be gone by now: only the copies above are used.
    DoneBytes -= m_doneRanges[path];
    m_doneRanges.erase(path);
    m_wholeAgain[path] = std::move(whole);
    QueueWholeFileWhenFree(path);
}

void TTransferEngine::QueueWholeFileWhenFree(const std::string& localPath)
{
    auto waiting = m_wholeAgain.find(localPath);
    if (waiting == m_wholeAgain.end())
        return;
    for (int j = 0; j < m_manager.Count(); ++j) {
        const auto& slot = m_manager.Slot(j).Item;
        if (slot && slot->LocalPath == localPath)
            return; // a range still writes into the file
    }
    std::unique_ptr<TTransferFileInfo> whole = std::move(waiting->second);
    m_wholeAgain.erase(waiting);
    m_queue->push_front(std::move(whole));
}
