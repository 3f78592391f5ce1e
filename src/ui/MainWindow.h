#pragma once

// The main window's logic without widgets: the session and its state display, the tool-bar
// connection, the host history, the remote pane's rows and commands, the status rows and the
// logs. The GUI and quillftp-cli show what it holds and forward the user's actions to it.

#include <array>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "config/Settings.h"
#include "manager/CommFunc.h"
#include "manager/FtpManager.h"
#include "platform/Timer.h"
#include "transfer/RunJournal.h"
#include "transfer/TransferEngine.h"
#include "ui/FtpUrl.h"
#include "ui/LocalPane.h"
#include "ui/LogPages.h"
#include "ui/MainView.h"
#include "ui/PaneRows.h"
#include "ui/QueueTree.h"

// One row of the status list: connection n's state.
struct TStatusRow
{
    std::string Caption;
    std::string State = "Ready";
    std::string FileName;
    std::string Count;
    int ImageIndex = 0;
};

class TfmMain : public IManagerHost, public ITransferHost
{
public:
    static constexpr const char* kTitle = "QuillFTP 2.3";

    TfmMain(IMainView& view, std::string dataDir, std::string programDir);
    ~TfmMain() override;
    TfmMain(const TfmMain&) = delete;
    TfmMain& operator=(const TfmMain&) = delete;

    // Start-up, in order: default files, settings, logs, connections, queue tree, status rows.
    void FormCreate();
    // An address given on the command line connects at once and changes to its directory.
    void FormShow(const std::string& argument);
    // False when the user does not want to leave a connected session.
    bool CanClose();
    // Saves the settings; the end of the program.
    void FormDestroy();
    // Writes the broken lists to the data directory (FormDestroy does it too).
    void SaveBrokenLists();

    void SetSessionState(TSessionState state) override;
    void ResetSessionView();
    void ConnectFromToolBar();
    void Reconnect();
    void Disconnect();
    void Abort();
    void AddHostHistory();
    void CreateStatusRows();
    // A new connection count: the table, the status rows and the log pages follow.
    void ResizeConnectionCount(int newCount);
    // The connection commands: one more, one less, and whether connection 0 transfers too.
    void IncreaseThreadNumber();
    void DecreaseThreadNumber();
    void ToggleMainConnDownload();
    std::string MainConnectionCaption() const;
    // "Copy All" of a log page.
    void CopyLog(int page);

    // Local commands handed to the desktop.
    void LocalEdit();
    void LocalExecute();
    void LocalProperties();
    void LocalOpenCurrentDirectory();

    // The remote pane.
    void ShowRemoteListing();
    void SelectRemotePath(const std::string& path);
    void SortByColumn(int column);
    void RemoteDoubleClick(int row);
    void RemoteMakeDirectory();
    void RemoteChangeDirectory();
    void RemoteRefresh();
    void RemoteDelete();
    void RemoteRename();
    void RemoteMove();
    void RemoteChangeMode();
    void RemoteCopyUrl();
    void RemoteInvertSelection();
    void RemoteSelectAll();
    void RemoteEdit();
    void RemoteChoosePath(int index);
    // Broken lists: index is the list's position (its tree node is Roots()[index + 1]).
    void CreateBrokenList(TTransferQueue& leftover);
    void ResumeBrokenList(size_t index);
    void DeleteBrokenList(size_t index);
    void LocalMakeDirectory();
    void LocalChangeDirectory();

    enum class TViewStyle
    {
        LargeIcons,
        SmallIcons,
        List,
        Details
    };
    TViewStyle RemoteViewStyle = TViewStyle::Details;
    TViewStyle LocalViewStyle = TViewStyle::Details;
    std::string RemoteSummary() const { return m_remoteSummary; }

    // Downloads of the last selection left out of the queue, and why (a local path that would
    // lie outside the pane's directory).
    std::vector<std::pair<std::string, std::string>> NotQueued;

    // The transfer queue: selection passes over the panes.
    void AddToQueue(std::unique_ptr<TTransferFileInfo> item);
    void DownloadSelected();
    void CalculateSize();
    void UploadSelected();

    // IManagerHost.
    void OperationDone() override;
    void OperationFailed() override;
    TSessionState SessionState() const override { return m_sessionState; }
    bool TransfersRunning() const override { return m_transfersRunning; }
    // Set by the transfer engine while a run uses the extra connections in the background.
    void SetTransfersRunning(bool running) override { m_transfersRunning = running; }
    const TSettings& Settings() const override { return settings; }
    void ShowLogLine(int connection, const std::string& line) override;
    void TransferStep(int connection, TFtpRequest rqType, int error) override;
    void TransferProgress(int connection, int64_t position) override;
    void TransferConnectionLost(int connection) override;

    // ITransferHost.
    void ShowMessage(const std::string& text) override { m_view.ShowMessage(text); }
    bool AskYesNo(const std::string& caption, const std::string& text) override
    {
        return m_view.AskYesNo(caption, text);
    }
    TFileExistsChoice AskFileExists(const std::string& localPath) override { return m_view.AskFileExists(localPath); }
    int64_t FreeSpace(const std::string& directory) override { return FreeSpaceOf(directory); }
    void ItemStarted(int connection, const TTransferFileInfo& item) override;
    void ItemLeft(int connection, const TTransferFileInfo& item) override;
    void ConnectionLostRow(int connection) override;
    void PositionReported(int connection, int64_t position) override;
    void RunStarting() override;

    // The number `quillftp-cli broken` gives the broken list the last run made (1 for the
    // first), 0 when it made none.
    size_t LastBrokenListNumber() const;
    // The most connections the limit of open files allows.
    int ConnectionLimit() const { return m_connectionLimit; }

    std::string Caption() const;
    std::string StatusPanel(int index) const { return m_statusPanels[static_cast<size_t>(index)]; }
    bool Busy() const { return m_busy; }
    // The gauge of the status bar: shown during a run, with the run's percentage.
    bool GaugeVisible() const { return m_gaugeVisible; }
    int GaugePercent() const { return m_gaugePercent; }
    bool DraggingOn() const { return m_sessionState == ssConnected; }
    bool AntiIdleRunning() const { return m_antiIdle.active(); }

    TSettings settings;
    TToolBarFields ToolBar{"", "21", "anonymous", ""};
    uint8_t PendingAfterConnect = 0;
    std::string RemoteDir;
    std::vector<TlvFileInfo> RemoteEntries;
    std::vector<bool> RemoteSelected;
    std::vector<std::string> RemotePathItems; // the remote path box
    int RemoteSortColumn = 0;
    bool RemoteSortAscending = true;
    std::string MoveTarget;
    std::string TmpDir;   // where remote files are fetched for viewing
    std::string EditFile; // the file last fetched for viewing
    std::deque<std::unique_ptr<TTransferFileInfo>> EditList;
    std::vector<TStatusRow> StatusRows;
    TLogPages Logs;
    std::unique_ptr<TQueueTree> QueueTree;
    TFtpManager Manager{*this};
    TTransferEngine Engine{Manager, *this};
    TBrokenLists BrokenLists;
    TRunJournal Journal;
    TLocalPane Local{m_view};
    std::deque<std::unique_ptr<TTransferFileInfo>> Queue;
    // Runs the queue on the connections (the transfer engine); resuming is set for a broken
    // list. Until one is attached the items stay queued and the session returns to ssConnected.
    std::function<void(std::deque<std::unique_ptr<TTransferFileInfo>>& list, bool resuming)> StartTransfers =
        [this](TTransferQueue& list, bool resuming) {
            if (!resuming && &list == &Queue)
                AdoptPartialFiles();
            BeginProgress();
            Engine.StartTransfers(list, resuming);
        };
    // Free bytes of the volume holding a directory (tests give their own).
    std::function<int64_t(const std::string& directory)> FreeSpaceOf = DiskFreeSpace;
    // Keeps what a run left over as a broken list.
    std::function<void(TTransferQueue& leftover)> SaveBrokenList = [this](TTransferQueue& leftover) {
        CreateBrokenList(leftover);
    };
    // Changes the settings just read, before anything is built from them (quillftp-cli's options).
    std::function<void(TSettings& settings)> AdjustSettings;
    // Opens the site manager when the ShowSiteManager setting is on, after FormShow.
    std::function<void()> OpenSiteManager;

private:
    std::vector<std::string> SelectedRemoteNames() const;
    void SelectionPass();
    void QueueWalkResult();
    void FinishDownloadSelection();
    void RunQueue();
    void EndOfRun();
    void BeginProgress();
    void ProgressTick();
    void EndProgress();
    // A status row's state and file name; the image is kept when -1.
    void SetStatusRow(int connection, const std::string& state, const std::string& fileName, int image);
    bool ValidHostInfo(THostInfo& info) const;
    std::string SettingsPath() const { return m_dataDir + "quillftp.ini"; }
    std::string BrokenListsPath() const { return m_dataDir + "oldquene.ini"; }
    std::string FirstSelectedLocalPath() const;
    // Writes the running run's unfinished items to its journal; unless forced, not again within
    // a quarter of a second.
    void WriteJournal(bool force);
    // Downloads onto half-written files of an unfinished run (a broken list, or the journal of a
    // run that crashed) take that run's items instead: resumed from where they stopped, never
    // asked about or skipped.
    void AdoptPartialFiles();
    // Drops downloads whose local file would land outside the pane's directory.
    void KeepInsideLocalDirectory();
    // The connection count the descriptors allow, told when it is less than asked.
    int AllowedConnections(int wanted);
    // Journals of runs that died are kept as broken lists.
    void RecoverJournals();

    IMainView& m_view;
    std::string m_dataDir;
    std::string m_programDir;
    TSessionState m_sessionState = ssReady;
    bool m_transfersRunning = false;
    bool m_busy = false;
    std::array<std::string, 6> m_statusPanels;
    std::string m_remoteSummary;
    platform::Timer m_antiIdle;
    platform::Timer m_progressTimer;
    int64_t m_runStartTick = 0;
    bool m_gaugeVisible = false;
    int m_gaugePercent = 0;
    size_t m_selectionCursor = 0;
    std::vector<TGetFileInfo> m_walkResult;
    std::vector<std::unique_ptr<TTransferFileInfo>> m_sizeItems; // Calculate Size's own list
    std::array<int64_t, TFtpManager::kMaxConnections> m_lastProgressTick{};
    int64_t m_lastJournalTick = 0;
    bool m_brokenListsChanged = false; // lists taken or changed since they were last saved
    std::string m_journalDate;
    std::string m_lastBrokenKey;
    int m_connectionLimit = TFtpManager::kMaxConnections - 1;
    platform::PostTarget m_posted;
};
