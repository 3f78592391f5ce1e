#include "ui/MainWindow.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

#include <sys/stat.h>

#include "config/DataFiles.h"
#include "platform/AtomicFile.h"
#include "platform/LocalFiles.h"
#include "platform/TextLines.h"
#include "transfer/SplitDownload.h"
#include "manager/CommFunc.h"

namespace {

std::string currentYear()
{
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return std::to_string(local.tm_year + 1900);
}

std::string today()
{
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d", &local);
    return text;
}

} // namespace

TfmMain::TfmMain(IMainView& view, std::string dataDir, std::string programDir)
    : m_view(view), m_dataDir(std::move(dataDir)), m_programDir(std::move(programDir))
{
    m_antiIdle.onTimeout = [this] { Manager.AntiIdleTick(); };
    m_progressTimer.onTimeout = [this] { ProgressTick(); };
    Logs.OnPageChanged = [this](int page) { m_view.LogChanged(page); };
}

TfmMain::~TfmMain() = default;

// ---------------------------------------------------------------- start and end

void TfmMain::FormCreate()
{
    datafiles::EnsureDefaultFiles(m_dataDir, m_programDir);
    LoadSettings(settings, SettingsPath(), m_programDir);
    if (AdjustSettings)
        AdjustSettings(settings);
    // Each connection may hold six descriptors (control, data, listener, a pipe, the file).
    m_connectionLimit = std::clamp((platform::raiseDescriptorLimit() - 64) / 6, 1, TFtpManager::kMaxConnections - 1);
    settings.ConnectionCount = AllowedConnections(std::clamp(settings.ConnectionCount, 1, 255));
    BrokenLists.Load(BrokenListsPath());
    RecoverJournals();
    Logs.CreateLogPages(settings.ConnectionCount);
    struct stat info = {};
    bool localPathExists = ::stat(settings.LocalPath.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
    Local.SetPath(localPathExists ? settings.LocalPath : m_programDir);
    Manager.InitConnections(settings.ConnectionCount);
    // Files fetched for viewing live in tmp/ of the data directory, emptied at every start.
    TmpDir = m_dataDir + "tmp/";
    MakeLocalDirs(TmpDir);
    for (const TGetFileInfo& file : WalkLocalDir(TmpDir))
        std::remove(file.Path.c_str());
    QueueTree = std::make_unique<TQueueTree>(today());
    for (const auto& list : BrokenLists.Lists)
        QueueTree->AddBrokenList(*list);
    QueueTree->OnChanged = [this] { m_view.QueueTreeChanged(); };
    CreateStatusRows();
    SetSessionState(ssReady);
    ToolBar.Pass = settings.AnonymousEmail;
}

void TfmMain::FormShow(const std::string& argument)
{
    if (!argument.empty()) {
        ParseFtpUrl(argument, ToolBar, RemoteDir);
        Reconnect();
    }
    if (settings.ShowSiteManager && OpenSiteManager)
        OpenSiteManager();
}

bool TfmMain::CanClose()
{
    return m_sessionState == ssReady || m_view.AskYesNo("Quit", "Still connected to host, Quit anyway?");
}

void TfmMain::FormDestroy()
{
    Manager.DisconnectAll();
    settings.LocalPath = Local.LocalPath;
    SaveSettings(settings, SettingsPath());
    SaveBrokenLists();
}

void TfmMain::SaveBrokenLists()
{
    BrokenLists.Save(BrokenListsPath());
    m_brokenListsChanged = false;
}

void TfmMain::RecoverJournals()
{
    std::vector<std::string> files;
    auto lists = TRunJournal::Orphans(m_dataDir, files);
    if (files.empty())
        return;
    for (auto& list : lists)
        BrokenLists.Lists.push_back(std::move(list));
    // The journals go only once their lists are safe in the broken-list file.
    if (BrokenLists.Save(BrokenListsPath()))
        TRunJournal::Forget(files);
}

int TfmMain::AllowedConnections(int wanted)
{
    if (wanted <= m_connectionLimit)
        return wanted;
    m_view.ShowMessage("Using " + std::to_string(m_connectionLimit) + " connections, not " + std::to_string(wanted) +
                       ": the limit of open files allows no more");
    return m_connectionLimit;
}

// ---------------------------------------------------------------- session state

std::string TfmMain::Caption() const
{
    if (m_sessionState == ssReady)
        return std::string(kTitle) + " - Not connected";
    return std::string(kTitle) + " - " + Manager.SessionInfo().HostName;
}

void TfmMain::SetSessionState(TSessionState state)
{
    m_sessionState = state;
    struct Display
    {
        const char* panel;
        const char* row;
        int image;
    };
    // Panel 0 and status row 0 by state; states after ssPreparing leave them as they are.
    static const Display kDisplays[] = {{"Ready", "Ready", 0},         {"Connecting", "Connecting", 1},
                                        {"Connected", "Connected", 2}, {"Changing dir", "ChangingDir", 1},
                                        {"Preparing", "Preparing", 1}, {"Transfering", nullptr, 0}};
    if (state <= ssTransfering) {
        const Display& display = kDisplays[state];
        m_statusPanels[0] = display.panel;
        if (display.row && !StatusRows.empty()) {
            StatusRows[0].State = display.row;
            StatusRows[0].ImageIndex = display.image;
        }
    }
    m_busy = state != ssReady && state != ssConnected;
    m_view.CaptionChanged();
    if (state == ssReady && !m_transfersRunning)
        ResetSessionView();
    if (state == ssConnected && settings.AntiIdleEnable && settings.Interval > 0)
        m_antiIdle.start(settings.Interval * 1000);
    else
        m_antiIdle.stop();
    m_view.StatusRowsChanged();
}

void TfmMain::ResetSessionView()
{
    RemoteEntries.clear();
    RemoteSelected.clear();
    RemotePathItems.clear();
    m_remoteSummary.clear();
    for (TStatusRow& row : StatusRows) {
        row.State = "Ready";
        row.FileName.clear();
        row.Count.clear();
    }
    for (size_t i = 1; i <= 4; ++i)
        m_statusPanels[i].clear();
    if (PendingAfterConnect != 2 && QueueTree)
        QueueTree->ClearTransfers();
    m_transfersRunning = false;
    m_view.RemotePaneChanged();
    m_view.StatusRowsChanged();
}

void TfmMain::CreateStatusRows()
{
    StatusRows.clear();
    for (int n = 0; n < settings.ConnectionCount; ++n) {
        TStatusRow row;
        row.Caption = std::to_string(n);
        StatusRows.push_back(row);
    }
    m_view.StatusRowsChanged();
}

// ---------------------------------------------------------------- connecting

bool TfmMain::ValidHostInfo(THostInfo& info) const
{
    info = {platform::TrimBlanks(ToolBar.HostName), platform::TrimBlanks(ToolBar.Port),
            platform::TrimBlanks(ToolBar.User), platform::TrimBlanks(ToolBar.Pass)};
    return !info.HostName.empty() && !info.HostPort.empty() && !info.UserName.empty() && !info.PassWord.empty();
}

void TfmMain::ConnectFromToolBar()
{
    if (m_sessionState != ssReady && !m_view.AskYesNo("Confirm", "Break current connection ?"))
        return;
    if (m_transfersRunning) {
        const THostInfo& session = Manager.SessionInfo();
        if (session.HostName + session.HostPort + session.UserName + session.PassWord !=
            ToolBar.HostName + ToolBar.Port + ToolBar.User + ToolBar.Pass) {
            m_view.ShowMessage("Sorry, Can't connect to different host while transfering file background");
            return;
        }
        Manager.ConnectMain(Manager.SessionInfo());
        SetSessionState(ssConnecting);
        return;
    }
    ResetSessionView();
    const std::string& host = ToolBar.HostName;
    bool address = host.find(':') != std::string::npos || host.find("ftp://") != std::string::npos ||
                   host.find('/') != std::string::npos || host.find('@') != std::string::npos;
    if (address) {
        RemoteDir.clear();
        std::string text = host;
        if (host.find("********") != std::string::npos) {
            // A masked history item stands for its stored entry; an item the user edited
            // is no longer one of them and is taken as it stands.
            auto item = std::find(settings.HostItems.begin(), settings.HostItems.end(), host);
            if (item != settings.HostItems.end())
                text = settings.HostHistory[static_cast<size_t>(item - settings.HostItems.begin())];
        }
        ParseFtpUrl(text, ToolBar, RemoteDir);
        if (!RemoteDir.empty()) {
            THostInfo info;
            if (ValidHostInfo(info)) {
                PendingAfterConnect = 1;
                Manager.ConnectMain(info);
                SetSessionState(ssConnecting);
            }
            return;
        }
    }
    THostInfo info;
    if (ValidHostInfo(info)) {
        Manager.ConnectMain(info);
        SetSessionState(ssConnecting);
    }
}

void TfmMain::Reconnect()
{
    PendingAfterConnect = 1;
    ConnectFromToolBar();
}

void TfmMain::Disconnect()
{
    Manager.DisconnectAll();
    Queue.clear();
    SetSessionState(ssReady);
}

void TfmMain::Abort()
{
    Manager.AbortCurrent();
    if (Engine.Running() && (Manager.TransferAbortFlag || (settings.MainConnDownload && Manager.AbortMainFlag)))
        Engine.AbortRequested();
    if (m_sessionState != ssTransfering)
        SetSessionState(m_sessionState);
}

void TfmMain::AddHostHistory()
{
    std::string entry = platform::TrimBlanks(ToolBar.HostName) + ":" + platform::TrimBlanks(ToolBar.Port) + ":" +
                        platform::TrimBlanks(ToolBar.User) + ":" + platform::TrimBlanks(ToolBar.Pass);
    std::string masked = MaskHostEntry(entry);
    for (const std::string& item : settings.HostItems)
        if (platform::EqualsIgnoringCase(item, masked))
            return;
    settings.HostItems.push_back(masked);
    settings.HostHistory.push_back(entry);
}

void TfmMain::ResizeConnectionCount(int newCount)
{
    newCount = AllowedConnections(std::clamp(newCount, 1, TFtpManager::kMaxConnections - 1));
    if (newCount == settings.ConnectionCount && newCount == Manager.Count)
        return;
    // Items on connections that go return to the queue with their reached offsets.
    Engine.ReleaseConnections(newCount);
    Logs.ResizeLogPages(std::max(newCount, Manager.Count)); // pages for the lines of new connections
    Manager.SetConnectionCount(newCount);
    settings.ConnectionCount = newCount;
    Logs.ResizeLogPages(newCount);
    while (static_cast<int>(StatusRows.size()) > newCount)
        StatusRows.pop_back();
    while (static_cast<int>(StatusRows.size()) < newCount) {
        TStatusRow row;
        row.Caption = std::to_string(StatusRows.size());
        StatusRows.push_back(row);
    }
    Engine.FillIdleConnections(newCount); // during a run, new connections take items at once
    m_view.StatusRowsChanged();
}

void TfmMain::IncreaseThreadNumber()
{
    if (settings.ConnectionCount < std::min(255, m_connectionLimit))
        ResizeConnectionCount(settings.ConnectionCount + 1);
}

void TfmMain::DecreaseThreadNumber()
{
    // Without connection 0 transferring, a run needs two connections at least.
    int least = settings.MainConnDownload ? 2 : 3;
    if (settings.ConnectionCount >= least)
        ResizeConnectionCount(settings.ConnectionCount - 1);
}

void TfmMain::ToggleMainConnDownload()
{
    if (settings.MainConnDownload && settings.ConnectionCount == 1) {
        m_view.ShowMessage("Can't set Main-Connection idle when only 1 connection");
        return;
    }
    settings.MainConnDownload = !settings.MainConnDownload;
    m_view.ShowMessage(settings.MainConnDownload
                           ? "USE MAIN CONNECTION TRANSFER means use all FTP connection to transfer files"
                           : "NOT USE MAIN CONNECTION TRANSFER means remain main FTP connection to do other things, "
                             "such as CHANGING DIR, DRAG MORE FILES TO TRANSFER, etc.");
}

std::string TfmMain::MainConnectionCaption() const
{
    return settings.MainConnDownload ? "NOT Use Main Connection to Transfer" : "Use Main Connection to Transfer";
}

void TfmMain::CopyLog(int page)
{
    m_view.SetClipboardText(Logs.AllText(page));
}

std::string TfmMain::FirstSelectedLocalPath() const
{
    std::vector<std::string> names = Local.SelectedNames();
    return names.empty() ? std::string() : Local.LocalPath + names.front();
}

void TfmMain::LocalEdit()
{
    if (std::string path = FirstSelectedLocalPath(); !path.empty())
        m_view.OpenWithDefaultApplication(path);
}

void TfmMain::LocalExecute()
{
    if (std::string path = FirstSelectedLocalPath(); !path.empty())
        m_view.RunProgram(path);
}

void TfmMain::LocalProperties()
{
    if (std::string path = FirstSelectedLocalPath(); !path.empty())
        m_view.ShowProperties(path);
}

void TfmMain::LocalOpenCurrentDirectory()
{
    m_view.OpenWithDefaultApplication(Local.LocalPath);
}

void TfmMain::ShowLogLine(int connection, const std::string& line)
{
    Logs.ShowLogLine(connection, line);
}

// ---------------------------------------------------------------- completions

void TfmMain::OperationDone()
{
    switch (m_sessionState) {
    case ssConnecting:
        SetSessionState(ssConnected);
        AddHostHistory();
        if (PendingAfterConnect == 2) {
            // A broken list resumes: its ranges go on where they were, no questions.
            PendingAfterConnect = 0;
            RemoteDir = Manager.CurrentRemoteDir;
            SelectRemotePath(RemoteDir);
            ShowRemoteListing();
            SetSessionState(ssTransfering);
            StartTransfers(Queue, true);
            return;
        }
        if (PendingAfterConnect == 1) {
            PendingAfterConnect = 0;
            SetSessionState(ssChangingDir);
            Manager.ChangeDir(RemoteDir.empty() ? Manager.CurrentRemoteDir : RemoteDir);
            return;
        }
        RemoteDir = Manager.CurrentRemoteDir;
        SelectRemotePath(RemoteDir);
        ShowRemoteListing();
        break;
    case ssChangingDir:
        SetSessionState(ssConnected);
        RemoteDir = Manager.CurrentRemoteDir;
        SelectRemotePath(RemoteDir);
        ShowRemoteListing();
        break;
    case ssRefreshing:
        SetSessionState(ssConnected);
        ShowRemoteListing();
        break;
    case ssMakingDir:
    case ssDeleting:
    case ssChangingMode:
    case ssRenaming:
        SetSessionState(ssRefreshing);
        Manager.Refresh(RemoteDir);
        break;
    case ssMoving:
        SetSessionState(ssChangingDir);
        Manager.ChangeDir(MoveTarget);
        break;
    case ssTransfering:
        if (m_transfersRunning) {
            SetSessionState(ssConnected); // a background run has just been launched
            break;
        }
        EndOfRun();
        break;
    case ssEditing:
        EndProgress();
        if (platform::fileExists(EditFile))
            m_view.OpenWithDefaultApplication(EditFile);
        SetSessionState(ssConnected);
        break;
    case ssPreparing:
        QueueWalkResult();
        break;
    case ssMakingUploadDirs:
        RunQueue();
        break;
    default:
        // The transfer and editing states end in the transfer engine's steps.
        SetSessionState(ssConnected);
        break;
    }
}

void TfmMain::OperationFailed()
{
    if (PendingAfterConnect == 2) {
        // A broken list being resumed could not log in: it stays a broken list.
        PendingAfterConnect = 0;
        if (SaveBrokenList)
            SaveBrokenList(Queue);
        Queue.clear();
    }
    SetSessionState(m_sessionState == ssConnecting ? ssReady : ssConnected);
}

// ---------------------------------------------------------------- the remote pane

void TfmMain::ShowRemoteListing()
{
    TRemoteRows rows =
        RemoteRowsFromListing(Manager.ListingText(), RemoteSortAscending, RemoteSortColumn, currentYear());
    RemoteEntries = std::move(rows.Rows);
    RemoteSelected.assign(RemoteEntries.size(), false);
    m_remoteSummary = rows.Summary();
    m_view.RemotePaneChanged();
}

void TfmMain::SelectRemotePath(const std::string& path)
{
    if (std::find(RemotePathItems.begin(), RemotePathItems.end(), path) == RemotePathItems.end())
        RemotePathItems.push_back(path);
}

void TfmMain::SortByColumn(int column)
{
    if (column == RemoteSortColumn) {
        RemoteSortAscending = !RemoteSortAscending;
    } else {
        RemoteSortColumn = column;
        RemoteSortAscending = true;
    }
    SortRows(RemoteEntries, RemoteSortAscending, RemoteSortColumn, currentYear());
    RemoteSelected.assign(RemoteEntries.size(), false);
    m_view.RemotePaneChanged();
}

std::vector<std::string> TfmMain::SelectedRemoteNames() const
{
    std::vector<std::string> names;
    for (size_t i = 0; i < RemoteEntries.size() && i < RemoteSelected.size(); ++i)
        if (RemoteSelected[i] && RemoteEntries[i].Name != "..")
            names.push_back(RemoteEntries[i].Name);
    return names;
}

void TfmMain::RemoteDoubleClick(int row)
{
    if (m_busy || row < 0 || row >= static_cast<int>(RemoteEntries.size()) ||
        !RemoteEntries[static_cast<size_t>(row)].IsDir)
        return;
    SetSessionState(ssChangingDir);
    Manager.ChangeDir(RemoteEntries[static_cast<size_t>(row)].Name);
}

void TfmMain::RemoteMakeDirectory()
{
    std::string name;
    if (m_sessionState != ssConnected || !m_view.InputQuery("Make Directory", "Name: ", name))
        return;
    SetSessionState(ssMakingDir);
    Manager.MakeDirs({name});
}

void TfmMain::RemoteChangeDirectory()
{
    std::string name;
    if (m_sessionState != ssConnected || !m_view.InputQuery("Change Directory", "Name: ", name))
        return;
    SetSessionState(ssChangingDir);
    Manager.ChangeDir(name);
}

void TfmMain::RemoteRefresh()
{
    if (m_sessionState != ssConnected)
        return;
    SetSessionState(ssRefreshing);
    Manager.Refresh(RemoteDir);
}

void TfmMain::RemoteDelete()
{
    if (m_sessionState != ssConnected)
        return;
    std::vector<TDelFileInfo> entries;
    for (size_t i = 0; i < RemoteEntries.size() && i < RemoteSelected.size(); ++i)
        if (RemoteSelected[i] && RemoteEntries[i].Name != "..")
            entries.push_back({RemoteEntries[i].Name, RemoteEntries[i].IsDir});
    SetSessionState(ssDeleting);
    Manager.DeleteFiles(std::move(entries));
}

void TfmMain::RemoteRename()
{
    std::vector<std::string> names = SelectedRemoteNames();
    std::string answer;
    if (m_sessionState != ssConnected || names.empty() || !m_view.InputQuery("Rename", "New Name: ", answer))
        return;
    SetSessionState(ssRenaming);
    Manager.RenameFiles({{RemoteDir + names.front(), RemoteDir + answer}});
}

void TfmMain::RemoteMove()
{
    std::vector<std::string> names = SelectedRemoteNames();
    std::string answer = RemoteDir;
    if (m_sessionState != ssConnected || names.empty() ||
        !m_view.InputQuery("Move File", "Destination Directory: ", answer))
        return;
    MoveTarget = answer;
    std::string target = EnsureTrailing(answer, '/');
    std::vector<THostMoveFileInfo> pairs;
    for (const std::string& name : names)
        pairs.push_back({RemoteDir + name, target + name});
    SetSessionState(ssMoving);
    Manager.RenameFiles(std::move(pairs));
}

void TfmMain::RemoteChangeMode()
{
    std::vector<std::string> names = SelectedRemoteNames();
    std::string mode;
    if (m_sessionState != ssConnected || !m_view.InputQuery("Change Mode", "New Mode: ", mode))
        return;
    SetSessionState(ssChangingMode);
    Manager.ChangeModes(std::move(names), mode);
}

void TfmMain::RemoteCopyUrl()
{
    std::vector<std::string> names = SelectedRemoteNames();
    if (!names.empty())
        m_view.SetClipboardText(RemoteDir + names.front());
}

void TfmMain::RemoteSelectAll()
{
    for (size_t i = 0; i < RemoteSelected.size(); ++i)
        RemoteSelected[i] = RemoteEntries[i].Name != "..";
    m_view.RemotePaneChanged();
}

void TfmMain::RemoteInvertSelection()
{
    for (size_t i = 0; i < RemoteSelected.size(); ++i)
        if (RemoteEntries[i].Name != "..")
            RemoteSelected[i] = !RemoteSelected[i];
    m_view.RemotePaneChanged();
}

// ---------------------------------------------------------------- the queue

void TfmMain::AddToQueue(std::unique_ptr<TTransferFileInfo> item)
{
    if (PendingAfterConnect == 3) {
        m_sizeItems.push_back(std::move(item)); // sizes only: never mixed with a running queue
        return;
    }
    if (QueueTree)
        QueueTree->AddItem(*item);
    int transferConnections = settings.ConnectionCount - (settings.MainConnDownload ? 0 : 1);
    if (m_transfersRunning)
        Engine.ItemAdded(*item);
    if (m_transfersRunning && NeedsSplit(*item, settings.MTFileSize, transferConnections, settings.TextExt)) {
        // A running run takes a big download as ranges at its tail, the item itself last.
        for (auto& range : SplitIntoRanges(*item, transferConnections))
            Queue.push_back(std::move(range));
        return;
    }
    Queue.push_back(std::move(item));
}

void TfmMain::DownloadSelected()
{
    if (m_sessionState != ssConnected)
        return;
    Manager.WalkSkipped.clear();
    NotQueued.clear();
    m_selectionCursor = 0;
    SetSessionState(ssPreparing);
    SelectionPass();
}

void TfmMain::CalculateSize()
{
    if (m_sessionState != ssConnected)
        return;
    PendingAfterConnect = 3;
    m_sizeItems.clear();
    m_selectionCursor = 0;
    SetSessionState(ssPreparing);
    SelectionPass();
}

void TfmMain::SelectionPass()
{
    for (; m_selectionCursor < RemoteEntries.size(); ++m_selectionCursor) {
        if (m_selectionCursor >= RemoteSelected.size() || !RemoteSelected[m_selectionCursor])
            continue;
        const TlvFileInfo& entry = RemoteEntries[m_selectionCursor];
        if (entry.Name == ".." || !IsSafeEntryName(entry.Name))
            continue;
        if (entry.IsDir) {
            Manager.Walk(entry.Name, &m_walkResult); // OperationDone goes on from here
            return;
        }
        auto item = std::make_unique<TTransferFileInfo>();
        item->HostPath = RemoteDir + entry.Name;
        item->LocalPath = Local.LocalPath + entry.Name;
        ParseSize(RemoveSeparators(entry.SizeText), item->FileSize); // no number: size 0
        AddToQueue(std::move(item));
    }
    FinishDownloadSelection();
}

void TfmMain::QueueWalkResult()
{
    for (const TGetFileInfo& found : m_walkResult) {
        // The local path is the pane's directory and the names the walk checked, nothing the
        // server reported as a path.
        if (found.Relative.empty()) {
            ShowLogLine(0, "! Not queued: " + found.Path);
            NotQueued.emplace_back(found.Path, "no local name for it");
            continue;
        }
        auto item = std::make_unique<TTransferFileInfo>();
        item->HostPath = found.Path;
        item->LocalPath = Local.LocalPath + found.Relative;
        item->FileSize = found.Size;
        AddToQueue(std::move(item));
    }
    m_walkResult.clear();
    ++m_selectionCursor;
    SelectionPass();
}

void TfmMain::FinishDownloadSelection()
{
    if (PendingAfterConnect == 3) {
        PendingAfterConnect = 0;
        int64_t total = 0;
        for (const auto& item : m_sizeItems)
            total += item->FileSize;
        m_sizeItems.clear();
        m_view.ShowMessage("Total FileSize = " + FormatThousands(total) + " bytes");
        SetSessionState(ssConnected);
        return;
    }
    KeepInsideLocalDirectory();
    std::vector<std::string> made;
    for (const auto& item : Queue) {
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
    for (auto item = Queue.begin(); item != Queue.end();) {
        if (!(*item)->IsDownload || platform::isInsideDirectory((*item)->LocalPath, Local.LocalPath)) {
            ++item;
            continue;
        }
        ShowLogLine(0, "! Not queued: " + (*item)->LocalPath + " lies outside " + Local.LocalPath);
        NotQueued.emplace_back((*item)->HostPath, "its local path lies outside " + Local.LocalPath);
        item = Queue.erase(item);
    }
}

void TfmMain::UploadSelected()
{
    if (m_sessionState != ssConnected)
        return;
    for (const std::string& name : Local.SelectedNames()) {
        const TlvFileInfo* entry = nullptr;
        for (const TlvFileInfo& row : Local.LocalEntries)
            if (row.Name == name)
                entry = &row;
        if (entry && entry->IsDir) {
            for (const TGetFileInfo& found : WalkLocalDir(Local.LocalPath + name + "/")) {
                auto item = std::make_unique<TTransferFileInfo>();
                item->IsDownload = false;
                item->LocalPath = found.Path;
                item->HostPath = RemoteDir + found.Path.substr(Local.LocalPath.size());
                item->FileSize = found.Size;
                AddToQueue(std::move(item));
            }
        } else if (entry && !platform::isRegularFile(Local.LocalPath + name)) {
            // A FIFO or a device would block the program or never end.
            ShowLogLine(0, "! Not uploaded: " + Local.LocalPath + name + " is not a regular file");
            m_view.ShowMessage("Not uploaded: " + name + " is not a regular file");
        } else if (entry) {
            auto item = std::make_unique<TTransferFileInfo>();
            item->IsDownload = false;
            item->HostPath = RemoteDir + name;
            item->LocalPath = Local.LocalPath + name;
            ParseSize(RemoveSeparators(entry->SizeText), item->FileSize);
            AddToQueue(std::move(item));
        }
    }
    // The remote directories, parents first, each once.
    std::string base = EnsureTrailing(RemoteDir, '/');
    std::vector<std::string> directories;
    for (const auto& item : Queue) {
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
    Manager.MakeDirs(std::move(directories));
}

void TfmMain::RunQueue()
{
    if (!StartTransfers || m_transfersRunning) {
        // A background run takes what was added on its idle connections.
        if (m_transfersRunning)
            Engine.FillIdleConnections(Manager.Count);
        SetSessionState(ssConnected);
        return;
    }
    SetSessionState(ssTransfering);
    StartTransfers(Queue, false);
}

void TfmMain::RemoteEdit()
{
    std::vector<std::string> names = SelectedRemoteNames();
    if (m_sessionState != ssConnected || names.empty())
        return;
    const TlvFileInfo* entry = nullptr;
    for (const TlvFileInfo& row : RemoteEntries)
        if (row.Name == names.front())
            entry = &row;
    auto item = std::make_unique<TTransferFileInfo>();
    item->HostPath = RemoteDir + names.front();
    item->LocalPath = TmpDir + names.front();
    if (entry)
        ParseSize(RemoveSeparators(entry->SizeText), item->FileSize);
    EditFile = item->LocalPath;
    EditList.clear();
    EditList.push_back(std::move(item));
    SetSessionState(ssEditing);
    if (StartTransfers)
        StartTransfers(EditList, true);
    else
        SetSessionState(ssConnected);
}

void TfmMain::RemoteChoosePath(int index)
{
    if (index < 0 || index >= static_cast<int>(RemotePathItems.size()) || m_sessionState != ssConnected)
        return;
    SetSessionState(ssChangingDir);
    Manager.ChangeDir(RemotePathItems[static_cast<size_t>(index)]);
}

void TfmMain::LocalMakeDirectory()
{
    if (m_sessionState == ssReady || m_sessionState == ssConnected)
        Local.MakeDirectory();
}

void TfmMain::LocalChangeDirectory()
{
    if (m_sessionState == ssReady || m_sessionState == ssConnected)
        Local.ChangeDirectory();
}

// ---------------------------------------------------------------- transfer runs

void TfmMain::EndOfRun()
{
    EndProgress();
    for (size_t n = 0; n < StatusRows.size(); ++n) {
        StatusRows[n].State = n == 0 ? "Connected" : "Ready";
        StatusRows[n].FileName.clear();
        StatusRows[n].Count.clear();
    }
    for (size_t i = 1; i <= 4; ++i)
        m_statusPanels[i].clear();
    m_lastBrokenKey.clear();
    if (!Queue.empty() && SaveBrokenList) {
        SaveBrokenList(Queue);
        // On disk at once, before the journal that held the same items goes.
        SaveBrokenLists();
        std::string name = BrokenLists.Lists.empty() ? std::string() : BrokenLists.Lists.back()->DateTime;
        m_view.ShowMessage(std::to_string(Queue.size()) + (Queue.size() == 1 ? " item" : " items") +
                           " did not complete; kept in the broken list " + name + " to resume");
    }
    Journal.End();
    Queue.clear();
    if (QueueTree)
        QueueTree->ClearTransfers();
    Local.ShowLocalListing();
    m_view.StatusRowsChanged();
    if (settings.MainConnDownload) {
        if (!Manager.Client(0)->Connected()) {
            // The main connection was lost during the run and not won back: it logs in again,
            // from the event loop, since its close may still be under way.
            PendingAfterConnect = 1;
            SetSessionState(ssConnecting);
            m_posted.post([this] { Manager.ConnectMain(Manager.SessionInfo()); });
            return;
        }
        SetSessionState(ssChangingDir);
        Manager.ChangeDir(RemoteDir);
    }
}

size_t TfmMain::LastBrokenListNumber() const
{
    for (size_t n = 0; n < BrokenLists.Lists.size() && !m_lastBrokenKey.empty(); ++n)
        if (BrokenLists.Lists[n]->Key() == m_lastBrokenKey)
            return n + 1;
    return 0;
}

void TfmMain::RunStarting()
{
    if (m_sessionState == ssEditing)
        return; // a file fetched for viewing is not worth resuming
    char text[32];
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    m_journalDate = text;
    Journal.Begin(m_dataDir);
    WriteJournal(true);
    // What this run took out of the broken lists (a resumed list, adopted half-written files)
    // is now in the journal: the broken-list file may forget it.
    if (m_brokenListsChanged)
        SaveBrokenLists();
}

void TfmMain::WriteJournal(bool force)
{
    if (!Journal.Active() || !Engine.Running())
        return;
    int64_t now = platform::tickCount();
    if (!force && now - m_lastJournalTick < 250)
        return;
    m_lastJournalTick = now;
    TOldQuene list;
    list.DateTime = m_journalDate;
    const THostInfo& session = Manager.SessionInfo();
    list.HostName = session.HostName;
    list.HostPort = session.HostPort;
    list.UserName = session.UserName;
    list.PassWord = session.PassWord;
    for (auto& item : Engine.Unfinished())
        list.Items.push_back(std::move(item));
    Journal.Write(list);
}

void TfmMain::AdoptPartialFiles()
{
    const THostInfo& session = Manager.SessionInfo();
    TTransferQueue adopted;
    for (auto item = Queue.begin(); item != Queue.end();) {
        const TTransferFileInfo& wanted = **item;
        bool taken = false;
        if (wanted.IsDownload && platform::fileExists(wanted.LocalPath)) {
            for (size_t n = 0; n < BrokenLists.Lists.size(); ++n) {
                TOldQuene& list = *BrokenLists.Lists[n];
                if (list.HostName != session.HostName || list.HostPort != session.HostPort)
                    continue;
                auto& items = list.Items;
                for (auto old = items.begin(); old != items.end();) {
                    if ((*old)->LocalPath == wanted.LocalPath && (*old)->HostPath == wanted.HostPath) {
                        (*old)->Partial = true;
                        adopted.push_back(std::move(*old));
                        old = items.erase(old);
                        taken = true;
                    } else {
                        ++old;
                    }
                }
                if (items.empty()) {
                    BrokenLists.Remove(n);
                    if (QueueTree)
                        QueueTree->RemoveRoot(n + 1);
                    --n;
                }
            }
        }
        if (taken) {
            m_brokenListsChanged = true;
            ShowLogLine(0, "! Resuming the half-written " + wanted.LocalPath);
            item = Queue.erase(item);
        } else {
            ++item;
        }
    }
    for (auto& item : adopted)
        Queue.push_front(std::move(item));
}

void TfmMain::TransferStep(int connection, TFtpRequest rqType, int error)
{
    Engine.TransferStep(connection, rqType, error);
}

void TfmMain::TransferProgress(int connection, int64_t position)
{
    if (m_sessionState != ssTransfering && !m_transfersRunning)
        return;
    Engine.Progress(connection, position);
}

void TfmMain::TransferConnectionLost(int connection)
{
    Engine.ConnectionLost(connection);
}

void TfmMain::SetStatusRow(int connection, const std::string& state, const std::string& fileName, int image)
{
    if (connection >= static_cast<int>(StatusRows.size()))
        return;
    TStatusRow& row = StatusRows[static_cast<size_t>(connection)];
    if (state != "Transfering")
        row.Count.clear(); // a starting item keeps the count until its first report
    row.State = state;
    row.FileName = fileName;
    if (image >= 0)
        row.ImageIndex = image;
    m_view.StatusRowsChanged();
}

void TfmMain::ItemStarted(int connection, const TTransferFileInfo& item)
{
    if (QueueTree)
        QueueTree->MarkRunning(item, connection);
    SetStatusRow(connection, "Transfering", item.LocalPath.substr(item.LocalPath.rfind('/') + 1), 1);
}

void TfmMain::ItemLeft(int connection, const TTransferFileInfo& item)
{
    if (QueueTree)
        QueueTree->MarkLeft(item, connection);
    SetStatusRow(connection, "Ready", "", 0);
    WriteJournal(false);
}

void TfmMain::ConnectionLostRow(int connection)
{
    SetStatusRow(connection, "disconnected", "", -1);
}

void TfmMain::PositionReported(int connection, int64_t position)
{
    // The rows change at most once a second per connection.
    int64_t now = platform::tickCount();
    auto& last = m_lastProgressTick[static_cast<size_t>(connection)];
    if (now - last < 1000 || connection >= static_cast<int>(StatusRows.size()))
        return;
    last = now;
    StatusRows[static_cast<size_t>(connection)].Count = std::to_string(position);
    m_view.StatusRowsChanged();
}

void TfmMain::BeginProgress()
{
    m_runStartTick = platform::tickCount();
    m_gaugePercent = 0;
    m_gaugeVisible = true;
    m_progressTimer.start(1000);
    m_view.ProgressChanged();
}

// Once a second: bytes done, speed and times in the status bar, the gauge's percentage.
void TfmMain::ProgressTick()
{
    if (!Engine.Running())
        return;
    int64_t elapsed = std::max<int64_t>((platform::tickCount() - m_runStartTick) / 1000, 1);
    TRunFigures figures = Engine.Figures(elapsed);
    m_statusPanels[1] =
        ShortSize(figures.Done) + "/" + ShortSize(figures.Total) + "(" + ShortSize(figures.Speed) + "/s)";
    m_gaugePercent = figures.Percent;
    m_statusPanels[3] = "Elapsed: " + ElapsedTime(elapsed);
    m_statusPanels[4] = "Remain: " + ElapsedTime(figures.Remain);
    m_view.ProgressChanged();
    WriteJournal(false);
}

void TfmMain::EndProgress()
{
    m_progressTimer.stop();
    m_gaugeVisible = false;
    m_gaugePercent = 0;
    m_view.ProgressChanged();
}

// ---------------------------------------------------------------- broken lists

void TfmMain::CreateBrokenList(TTransferQueue& leftover)
{
    auto list = std::make_unique<TOldQuene>();
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    list->DateTime = text;
    const THostInfo& session = Manager.SessionInfo();
    list->HostName = session.HostName;
    list->HostPort = session.HostPort;
    list->UserName = session.UserName;
    list->PassWord = session.PassWord;
    for (const auto& item : leftover)
        list->Items.push_back(std::make_unique<TTransferFileInfo>(*item));
    if (QueueTree)
        QueueTree->AddBrokenList(*list);
    m_lastBrokenKey = list->Key();
    BrokenLists.Lists.push_back(std::move(list));
}

void TfmMain::ResumeBrokenList(size_t index)
{
    if ((m_sessionState != ssConnected && m_sessionState != ssReady) || index >= BrokenLists.Lists.size()) {
        m_view.ShowMessage("Please select a broken list !");
        return;
    }
    std::unique_ptr<TOldQuene> list = BrokenLists.Remove(index);
    m_brokenListsChanged = true;
    if (QueueTree)
        QueueTree->RemoveRoot(index + 1);
    Queue.clear();
    for (auto& item : list->Items)
        AddToQueue(std::move(item));
    ToolBar = {list->HostName, list->HostPort, list->UserName, list->PassWord};
    PendingAfterConnect = 2;
    ConnectFromToolBar();
}

void TfmMain::DeleteBrokenList(size_t index)
{
    if ((m_sessionState != ssConnected && m_sessionState != ssReady) || index >= BrokenLists.Lists.size()) {
        m_view.ShowMessage("Please select a broken list !");
        return;
    }
    BrokenLists.Remove(index);
    if (QueueTree)
        QueueTree->RemoveRoot(index + 1);
}
