#include "ui/MainWindow.h"

// Selections becoming queue items: the remote pane's files and directories for a download
// (the run lists the directories on its connections; Calculate Size walks them on connection
// 0), the local pane's files and their remote directories for an upload; the checks that keep
// every local path inside the pane's directory; and the start of the run.

#include <algorithm>

#include <sys/stat.h>

#include "platform/LocalFiles.h"
#include "transfer/SplitDownload.h"
#include "platform/Translate.h"

using platform::Fill;
using platform::Tr;

void TfmMain::AddToQueue(std::unique_ptr<TTransferFileInfo> item)
{
    if (item->FileSize > kLargestFileSize) {
        // A size no disk holds is a listing's lie or a broken one: no sum or offset is built on it.
        std::string why =
            Fill(Tr("TfmMain", "its size, %1 bytes, is more than any file has"), {FormatThousands(item->FileSize)});
        ShowLogLine(0, Fill(Tr("TfmMain", "! Not queued: %1"), {item->HostPath + ": " + why}));
        m_selectionProblems.push_back({item->HostPath, 550, why});
        return;
    }
    if (m_pendingAfterConnect == TPendingAfterConnect::CalculateSize) {
        m_sizeItems.push_back(std::move(item)); // sizes only: never mixed with a running queue
        return;
    }
    if (m_queueTree && !item->IsDir)
        m_queueTree->AddItem(*item);
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
        if (entry.IsDir() && m_pendingAfterConnect == TPendingAfterConnect::CalculateSize) {
            m_manager.Walk(entry.Name, &m_walkResult); // OperationDone goes on from here
            return;
        }
        if (entry.IsDir()) {
            // Listed by the run's connections, as they are free.
            auto directory = std::make_unique<TTransferFileInfo>();
            directory->HostPath = m_remoteDir + entry.Name + "/";
            directory->LocalPath = m_local.Path() + entry.Name + "/";
            directory->IsDir = true;
            for (const TDirAnalyze& listed : ParseListing(m_manager.ListingText()))
                if (listed.EntryName() == entry.Name)
                    directory->Unique = listed.Unique;
            AddToQueue(std::move(directory));
            continue;
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
            ShowLogLine(0, Fill(Tr("TfmMain", "! Not queued: %1"), {found.Path}));
            m_selectionProblems.push_back({found.Path, 550, Tr("TfmMain", "no local name for it")});
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
    m_view.ShowMessage(Fill(Tr("TfmMain", "Total FileSize = %1 bytes"), {FormatThousands(result.Bytes)}));
    SetSessionState(ssConnected);
}

void TfmMain::FinishDownloadSelection()
{
    KeepInsideLocalDirectory();
    std::vector<std::string> made;
    for (const auto& item : m_queue) {
        if (item->IsDir)
            continue; // made when its listing finds a file for it
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
        ShowLogLine(0, Fill(Tr("TfmMain", "! Not queued: %1 lies outside %2"), {(*item)->LocalPath, m_local.Path()}));
        m_selectionProblems.push_back(
            {(*item)->HostPath, 550, Fill(Tr("TfmMain", "its local path lies outside %1"), {m_local.Path()})});
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
            ShowLogLine(0, Fill(Tr("TfmMain", "! Not uploaded: %1 is not a regular file"), {path}));
            m_selectionProblems.push_back({path, 550, Tr("TfmMain", "not a regular file")});
            m_view.ShowMessage(Fill(Tr("TfmMain", "Not uploaded: %1 is not a regular file"), {name}));
        } else {
            auto item = std::make_unique<TTransferFileInfo>();
            item->IsDownload = false;
            item->HostPath = m_remoteDir + name;
            item->LocalPath = path;
            item->FileSize = static_cast<int64_t>(info.st_size);
            AddToQueue(std::move(item));
        }
    }
    // The remote directories, parents first, each once: the run makes them on its
    // connections, and a file waits for its own only.
    std::string base = EnsureTrailing(m_remoteDir, '/');
    std::vector<std::pair<std::string, std::string>> directories; // remote, local
    for (const auto& item : m_queue) {
        if (item->IsDownload || item->IsDir)
            continue;
        std::string directory = RemoteDirPart(item->HostPath);
        for (size_t slash = directory.find('/', base.size()); slash != std::string::npos;
             slash = directory.find('/', slash + 1)) {
            std::string prefix = directory.substr(0, slash + 1);
            // Below the remote directory the local path has the same names.
            std::string local =
                item->LocalPath.substr(0, item->LocalPath.size() - (item->HostPath.size() - prefix.size()));
            if (std::none_of(directories.begin(), directories.end(), [&](const auto& d) { return d.first == prefix; }))
                directories.emplace_back(prefix, local);
        }
    }
    // The directories that change are listed again when the run ends.
    m_uploadDirs.insert(base);
    for (const auto& directory : directories)
        m_uploadDirs.insert(directory.first);
    for (auto directory = directories.rbegin(); directory != directories.rend(); ++directory) {
        auto item = std::make_unique<TTransferFileInfo>();
        item->IsDownload = false;
        item->IsDir = true;
        item->HostPath = directory->first;
        item->LocalPath = directory->second;
        m_queue.push_front(std::move(item));
    }
    RunQueue();
}

void TfmMain::RunQueuedItems()
{
    if (m_sessionState != ssConnected || m_queue.empty())
        return;
    m_selectionProblems.clear();
    for (const auto& item : m_queue)
        if (!item->IsDownload)
            m_uploadDirs.insert(item->IsDir ? item->HostPath : RemoteDirPart(item->HostPath));
    RunQueue();
}

void TfmMain::RunQueue()
{
    if (!StartTransfers || m_transfersRunning) {
        // A background run takes what was added on its idle connections.
        if (m_transfersRunning)
            m_run.Add(m_queue);
        SetSessionState(ssConnected);
        return;
    }
    SetSessionState(ssTransfering);
    StartTransfers(m_queue, false);
}
