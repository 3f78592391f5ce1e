#include "ui/MainWindow.h"

// Selections becoming queue items: the remote pane's files and walked directories for a
// download (or only counted, for Calculate Size), the local pane's for an upload; the checks
// that keep every local path inside the pane's directory; and the start of the run.

#include <algorithm>

#include <sys/stat.h>

#include "platform/LocalFiles.h"
#include "transfer/SplitDownload.h"

void TfmMain::AddToQueue(std::unique_ptr<TTransferFileInfo> item)
{
    if (item->FileSize > kLargestFileSize) {
        // A size no disk holds is a listing's lie or a broken one: no sum or offset is built on it.
        std::string why = "its size, " + FormatThousands(item->FileSize) + " bytes, is more than any file has";
        ShowLogLine(0, "! Not queued: " + item->HostPath + ": " + why);
        m_selectionProblems.push_back({item->HostPath, 550, why});
        return;
    }
    if (m_pendingAfterConnect == TPendingAfterConnect::CalculateSize) {
        m_sizeItems.push_back(std::move(item)); // sizes only: never mixed with a running queue
        return;
    }
    if (m_queueTree)
        m_queueTree->AddItem(*item);
    int transferConnections = m_settings.ConnectionCount - (m_settings.MainConnDownload ? 0 : 1);
    if (m_transfersRunning)
        m_engine.ItemAdded(*item);
    if (m_transfersRunning && !m_manager.RestIgnored() &&
        NeedsSplit(*item, m_settings.MTFileSize, transferConnections, m_settings.TextExt)) {
        // A running run takes a big download as ranges at its tail, the item itself last.
        for (auto& range : SplitIntoRanges(*item, transferConnections))
            m_queue.push_back(std::move(range));
        return;
    }
    m_queue.push_back(std::move(item));
}

void TfmMain::DownloadSelected()
{
    if (m_sessionState != ssConnected)
        return;
    m_selectionProblems.clear();
    m_selectionCursor = 0;
    SetSessionState(ssPreparing);
    SelectionPass();
}

bool TfmMain::DownloadUnlisted(const std::string& name)
{
    int64_t size = 0;
    if (m_sessionState != ssConnected || !IsSafeEntryName(name) || !m_manager.RemoteFileSize(m_remoteDir + name, size))
        return false;
    m_selectionProblems.clear();
    SetSessionState(ssPreparing);
    auto item = std::make_unique<TTransferFileInfo>();
    item->HostPath = m_remoteDir + name;
    item->LocalPath = m_local.Path() + name;
    item->FileSize = size;
    AddToQueue(std::move(item));
    FinishDownloadSelection();
    return true;
}

void TfmMain::CalculateSize()
{
    if (m_sessionState != ssConnected)
        return;
    SetPendingAfterConnect(TPendingAfterConnect::CalculateSize);
    m_sizeItems.clear();
    m_selectionProblems.clear();
    m_selectionCursor = 0;
    SetSessionState(ssPreparing);
    SelectionPass();
}

void TfmMain::SelectionPass()
{
    const auto& rows = m_remoteRows.Rows();
    for (; m_selectionCursor < rows.size(); ++m_selectionCursor) {
        if (!m_remoteRows.Selection()[m_selectionCursor])
            continue;
        const TlvFileInfo& entry = rows[m_selectionCursor];
        if (entry.IsParent() || !IsSafeEntryName(entry.Name))
            continue;
        if (entry.IsDir()) {
            m_manager.Walk(entry.Name, &m_walkResult); // OperationDone goes on from here
            return;
        }
        auto item = std::make_unique<TTransferFileInfo>();
        item->HostPath = m_remoteDir + entry.Name;
        item->LocalPath = m_local.Path() + entry.Name;
        item->FileSize = entry.Size;
        AddToQueue(std::move(item));
    }
    if (m_pendingAfterConnect == TPendingAfterConnect::CalculateSize)
        FinishSizeCalculation();
    else
        FinishDownloadSelection();
}

void TfmMain::QueueWalkResult()
{
    // What the walk could not enter is part of the selection's outcome.
    const TOperationResult& walk = LastResult(TOperation::Walk);
    for (const TItemOutcome& skipped : walk.Failures())
        m_selectionProblems.push_back(skipped);
    for (const TGetFileInfo& found : m_walkResult) {
        // The local path is the pane's directory and the names the walk checked, nothing the
        // server reported as a path.
        if (found.Relative.empty()) {
            ShowLogLine(0, "! Not queued: " + found.Path);
            m_selectionProblems.push_back({found.Path, 550, "no local name for it"});
            continue;
        }
        auto item = std::make_unique<TTransferFileInfo>();
        item->HostPath = found.Path;
        item->LocalPath = m_local.Path() + found.Relative;
        item->FileSize = found.Size;
        item->RemoteTime = found.Modified;
        AddToQueue(std::move(item));
    }
    m_walkResult.clear();
    ++m_selectionCursor;
    SelectionPass();
}

void TfmMain::FinishSizeCalculation()
{
    SetPendingAfterConnect(TPendingAfterConnect::None);
    TOperationResult result = TOperationResult::Of(TOperation::CalculateSize, std::move(m_selectionProblems));
    m_selectionProblems.clear();
    for (const auto& item : m_sizeItems)
        result.Bytes = SaturatingAdd(result.Bytes, item->FileSize);
    m_sizeItems.clear();
    Record(result);
    m_view.ShowMessage("Total FileSize = " + FormatThousands(result.Bytes) + " bytes");
    SetSessionState(ssConnected);
}

void TfmMain::FinishDownloadSelection()
{
    KeepInsideLocalDirectory();
    std::vector<std::string> made;
    for (const auto& item : m_queue) {
        std::string directory = RemoteDirPart(item->LocalPath);
        if (!directory.empty() && std::find(made.begin(), made.end(), directory) == made.end()) {
            MakeLocalDirs(directory);
            made.push_back(directory);
        }
    }
    KeepInsideLocalDirectory(); // again, now that the directories exist: a link among them shows
    RunQueue();
}

void TfmMain::KeepInsideLocalDirectory()
{
    for (auto item = m_queue.begin(); item != m_queue.end();) {
        if (!(*item)->IsDownload || platform::isInsideDirectory((*item)->LocalPath, m_local.Path())) {
            ++item;
            continue;
        }
        ShowLogLine(0, "! Not queued: " + (*item)->LocalPath + " lies outside " + m_local.Path());
        m_selectionProblems.push_back({(*item)->HostPath, 550, "its local path lies outside " + m_local.Path()});
        item = m_queue.erase(item);
    }
}

void TfmMain::UploadSelected()
{
    std::vector<std::string> paths;
    for (const std::string& name : m_local.SelectedNames())
        paths.push_back(m_local.Path() + name);
    UploadPaths(paths);
}

void TfmMain::UploadPaths(const std::vector<std::string>& paths)
{
    if (m_sessionState != ssConnected)
        return;
    m_selectionProblems.clear();
    for (std::string path : paths) {
        while (path.size() > 1 && path.back() == '/')
            path.pop_back();
        // Each path goes into the remote directory under its own name.
        std::string parent = path.substr(0, path.rfind('/') + 1);
        std::string name = path.substr(parent.size());
        struct stat info = {};
        if (name.empty() || ::stat(path.c_str(), &info) != 0)
            continue;
        if (S_ISDIR(info.st_mode)) {
            for (const TGetFileInfo& found : WalkLocalDir(path + "/")) {
                auto item = std::make_unique<TTransferFileInfo>();
                item->IsDownload = false;
                item->LocalPath = found.Path;
                item->HostPath = m_remoteDir + found.Path.substr(parent.size());
                item->FileSize = found.Size;
                AddToQueue(std::move(item));
            }
        } else if (!S_ISREG(info.st_mode)) {
            // A FIFO or a device would block the program or never end.
            ShowLogLine(0, "! Not uploaded: " + path + " is not a regular file");
            m_selectionProblems.push_back({path, 550, "not a regular file"});
            m_view.ShowMessage("Not uploaded: " + name + " is not a regular file");
        } else {
            auto item = std::make_unique<TTransferFileInfo>();
            item->IsDownload = false;
            item->HostPath = m_remoteDir + name;
            item->LocalPath = path;
            item->FileSize = static_cast<int64_t>(info.st_size);
            AddToQueue(std::move(item));
        }
    }
    // The remote directories, parents first, each once.
    std::string base = EnsureTrailing(m_remoteDir, '/');
    std::vector<std::string> directories;
    for (const auto& item : m_queue) {
        if (item->IsDownload)
            continue;
        std::string directory = RemoteDirPart(item->HostPath);
        for (size_t slash = directory.find('/', base.size()); slash != std::string::npos;
             slash = directory.find('/', slash + 1)) {
            std::string prefix = directory.substr(0, slash + 1);
            if (std::find(directories.begin(), directories.end(), prefix) == directories.end())
                directories.push_back(prefix);
        }
    }
    // Then RunQueue: a new run, or the running one takes the items on its idle connections.
    SetSessionState(ssMakingUploadDirs);
    m_manager.MakeDirs(std::move(directories));
}

void TfmMain::RunQueue()
{
    if (!StartTransfers || m_transfersRunning) {
        // A background run takes what was added on its idle connections.
        if (m_transfersRunning)
            m_engine.FillIdleConnections(m_manager.Count());
        SetSessionState(ssConnected);
        return;
    }
    SetSessionState(ssTransfering);
    StartTransfers(m_queue, false);
}
