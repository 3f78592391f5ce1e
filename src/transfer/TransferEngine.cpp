#include "transfer/TransferEngine.h"

#include <algorithm>
#include <cctype>

#include "manager/CommFunc.h"

namespace {

std::string upper(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

} // namespace

int64_t ItemByteCount(const TTransferFileInfo& item)
{
    int64_t start = item.BeginPos < 0 ? 0 : item.BeginPos;
    int64_t end = item.EndPos < 0 ? item.FileSize : item.EndPos;
    return std::max<int64_t>(end - start, 0);
}

TTransferEngine::TTransferEngine(TFtpManager& manager, ITransferHost& host) : m_manager(manager), m_host(host) {}

int TTransferEngine::FirstConnection() const
{
    return m_host.Settings().MainConnDownload ? 0 : 1;
}

bool TTransferEngine::AnyItemHeld() const
{
    for (int i = FirstConnection(); i < m_manager.Count; ++i)
        if (m_manager.Item[static_cast<size_t>(i)])
            return true;
    return false;
}

// ---------------------------------------------------------------- the run

void TTransferEngine::StartTransfers(TTransferQueue& queue, bool resuming)
{
    m_savedState = m_host.SessionState();
    m_queue = &queue;
    if (queue.empty()) {
        m_queue = nullptr;
        m_host.OperationDone();
        return;
    }
    m_manager.AbortMainFlag = 0;
    DoneBytes = 0;
    m_manager.Position.fill(0);
    const TSettings& settings = m_host.Settings();
    if (!resuming)
        SplitBigDownloads(queue, m_manager.Count - FirstConnection(), settings.MTFileSize);
    TotalBytes = 0;
    for (const auto& item : queue)
        TotalBytes += ItemByteCount(*item);
    for (auto& item : m_manager.Item)
        item.reset();
    FillIdleConnections(m_manager.Count);
    if (!settings.MainConnDownload) {
        m_host.SetTransfersRunning(true);
        m_host.OperationDone(); // the main connection is free to browse again
    }
}

std::unique_ptr<TTransferFileInfo> TTransferEngine::TakeNextItem(int i)
{
    if (!m_queue || m_queue->empty())
        return nullptr;
    std::unique_ptr<TTransferFileInfo> item = std::move(m_queue->front());
    m_queue->pop_front();
    m_host.ItemStarted(i, *item);
    return item;
}

void TTransferEngine::FillIdleConnections(int count)
{
    for (int i = FirstConnection(); i < count && i < m_manager.Count; ++i) {
        if (m_manager.Item[static_cast<size_t>(i)])
            continue;
        auto item = TakeNextItem(i);
        if (!item)
            break;
        m_manager.Item[static_cast<size_t>(i)] = std::move(item);
        m_manager.Position[static_cast<size_t>(i)] = 0; // no stale offset from the item before
        TFtpClient& client = *m_manager.Client(i);
        const THostInfo& session = m_manager.SessionInfo();
        client.HostName = session.HostName;
        client.Port = session.HostPort;
        client.UserName = session.UserName;
        client.PassWord = session.PassWord;
        m_manager.Mode[static_cast<size_t>(i)] = cmTransfer;
        if (client.Connected())
            StartItem(i);
        else
            client.Open();
    }
}

void TTransferEngine::TransferStep(int i, TFtpRequest rqType, int error)
{
    if (!m_queue)
        return;
    if (m_manager.AbortMainFlag || (!m_host.Settings().MainConnDownload && m_manager.TransferAbortFlag)) {
        AbortStep(i);
        return;
    }
    TFtpClient& client = *m_manager.Client(i);
    switch (rqType) {
    case ftpOpenAsync:
    case ftpUserAsync:
        if (error != 0) {
            HandBack(i);
            client.AbortSync();
            AllFailedCheck();
        } else if (rqType == ftpOpenAsync) {
            client.User();
        } else if (client.StatusCode() == 230) {
            StartItem(i); // logged in without a password
        } else {
            client.Pass();
        }
        break;
    case ftpPassAsync:
        if (error != 0) {
            HandBack(i);
            client.AbortSync();
            return;
        }
        StartItem(i);
        break;
    case ftpPutAsync:
    case ftpRestGetAsync:
        FinishItem(i);
        break;
    default:
        break; // a synchronous call's completion
    }
}

void TTransferEngine::StartItem(int i)
{
    TFtpClient& client = *m_manager.Client(i);
    TTransferFileInfo& item = *m_manager.Item[static_cast<size_t>(i)];
    client.HostFileName = item.HostPath;
    client.SetLocalFileName(item.LocalPath);
    std::string extension = upper(FileExtension(item.LocalPath));
    bool ascii = false;
    for (const std::string& text : m_host.Settings().TextExt)
        ascii |= !extension.empty() && upper(text) == extension;
    m_manager.SetTransferType(client, !ascii);
    if (!item.IsDownload) {
        client.ResumeAt = 0;
        client.Put();
        return;
    }
    client.ResumeAt = item.BeginPos < 0 ? 0 : item.BeginPos;
    // A range stops at its end by itself: nothing beyond it is written.
    client.TransferEnd = item.EndPos < 0 ? -1 : item.EndPos;
    client.RestGet();
}

void TTransferEngine::FinishItem(int i)
{
    TFtpClient& client = *m_manager.Client(i);
    client.SetLocalStream(nullptr);
    auto& slot = m_manager.Item[static_cast<size_t>(i)];
    if (slot) {
        DoneBytes += ItemByteCount(*slot);
        m_host.ItemLeft(i, *slot);
        slot.reset();
    }
    if (!client.Connected())
        return;
    slot = TakeNextItem(i);
    if (slot) {
        m_manager.Position[static_cast<size_t>(i)] = 0;
        StartItem(i);
        return;
    }
    if (!AnyItemHeld())
        EndRun();
}

void TTransferEngine::HandBack(int i)
{
    auto& slot = m_manager.Item[static_cast<size_t>(i)];
    if (!slot)
        return;
    m_host.ItemLeft(i, *slot);
    m_queue->push_front(std::move(slot));
}

void TTransferEngine::AllFailedCheck()
{
    if (AnyItemHeld())
        return;
    m_host.ShowMessage("DOWNLOAD FAILED ! Check status to see more information");
    EndRun();
}

void TTransferEngine::Progress(int i, int64_t position)
{
    if (!m_queue || m_manager.Mode[static_cast<size_t>(i)] != cmTransfer)
        return;
    m_manager.Position[static_cast<size_t>(i)] = position;
    m_host.PositionReported(i, position);
}

void TTransferEngine::ConnectionLost(int i)
{
    auto& slot = m_manager.Item[static_cast<size_t>(i)];
    if (!m_queue || !slot)
        return;
    int64_t position = m_manager.Position[static_cast<size_t>(i)];
    if (position > std::max<int64_t>(slot->BeginPos, 0))
        slot->BeginPos = position; // the bytes before it are on disk
    HandBack(i);
    m_host.ConnectionLostRow(i);
    AllFailedCheck();
}

void TTransferEngine::AbortStep(int i)
{
    m_manager.Client(i)->SetLocalStream(nullptr);
    m_manager.AbortSet.reset(static_cast<size_t>(i));
    auto& slot = m_manager.Item[static_cast<size_t>(i)];
    if (slot) {
        int64_t position = m_manager.Position[static_cast<size_t>(i)];
        int64_t end = slot->EndPos < 0 ? slot->FileSize : slot->EndPos;
        if (slot->BeginPos < position && position < end)
            slot->BeginPos = position;
        m_host.ItemLeft(i, *slot);
        m_queue->push_back(std::move(slot));
    }
    if (m_manager.AbortSet.none()) {
        m_manager.TransferAbortFlag = 0;
        EndRun();
    }
}

void TTransferEngine::EndRun()
{
    if (!m_queue)
        return;
    m_queue = nullptr;
    TSessionState state = m_host.SessionState();
    bool background = !m_host.Settings().MainConnDownload;
    if (background) {
        m_manager.TransferAbortFlag = 0;
        m_host.SetSessionState(m_savedState);
        m_host.SetTransfersRunning(false);
    }
    m_host.OperationDone();
    if (background)
        m_host.SetSessionState(state == ssTransfering ? ssConnected : state);
}
