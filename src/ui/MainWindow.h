#pragma once

// The main window's logic without widgets: the session and its state display, the tool-bar
// connection, the host history, the remote pane's rows and commands, the transfer queue and
// its runs, the status rows and the logs. The GUI and quillftp-cli show what it holds through
// the const accessors and give the user's actions to its commands.
//
// The functions live in files by topic: MainWindow.cpp (start, end, session, connecting, the
// connection count, local commands), RemoteCommands.cpp (the remote pane), TransferQueue.cpp
// (selections becoming queue items), TransferRuns.cpp (runs, their rows and progress, the
// journal, broken lists).

#include <array>
#include <deque>
#include <functional>
#include <map>
#include <set>
#include <memory>
#include <string>
#include <vector>

#include "config/CertificateTrust.h"
#include "config/Settings.h"
#include "manager/CommFunc.h"
#include "manager/FtpManager.h"
#include "platform/Keyring.h"
#include "platform/SerialWorker.h"
#include "platform/Timer.h"
#include "history/RunHistory.h"
#include "ui/TransferRows.h"
#include "transfer/RunJournal.h"
#include "transfer/TransferRun.h"
#include "ui/FtpUrl.h"
#include "ui/LocalPane.h"
#include "ui/LogPages.h"
#include "ui/MainView.h"
#include "ui/PaneRows.h"
#include "ui/QueueTree.h"

// One row of the status list: connection n's state.
struct TStatusRow
{
    int Connection = 0;
    std::string State = "Ready";
    std::string FileName;
    int64_t Count = -1; // the position its transfer reached; -1 shows nothing
    int ImageIndex = 0;
    int64_t LastTick = 0; // when Count was last shown: at most once a second
};

// The Caption and Count columns' texts.
std::string StatusCaptionText(const TStatusRow& row);
std::string StatusCountText(const TStatusRow& row);

// What connection 0 does once a login succeeds (numbers as stored by earlier versions).
enum class TPendingAfterConnect : uint8_t
{
    None = 0,
    ChangeDir = 1,        // change to the remote directory the address named
    ResumeBrokenList = 2, // run the queue a broken list filled
    CalculateSize = 3     // a selection pass counts sizes only
};

class TSyncWork;

class TfmMain : public IManagerHost, public ITransferHost
{
public:
    static constexpr const char* kTitle = "QuillFTP 2.3";

    TfmMain(IMainView& view, std::string dataDir, std::string programDir);
    ~TfmMain() override;
    TfmMain(const TfmMain&) = delete;
    TfmMain& operator=(const TfmMain&) = delete;

    // ---- start and end
    // Start-up, in order: default files, settings, logs, connections, queue tree, status rows.
    void FormCreate();
    // An address given on the command line connects at once and changes to its directory.
    void FormShow(const std::string& argument);
    // False when the user does not want to leave a connected session.
    bool CanClose();
    // Saves the settings; the end of the program.
    void FormDestroy();
    // Writes the broken lists to the data directory (FormDestroy does it too); their passwords
    // to the keyring when it keeps them.
    void SaveBrokenLists();
    // New settings (the preferences dialog): the connections are configured anew, the log
    // pages take the new line limit.
    void ApplySettings(const TSettings& settings);
    // The run's speed limits, bytes per second for all connections together (0: none): kept in
    // the settings and applied at once, also to a running run.
    void SetSpeedLimits(int64_t download, int64_t upload);
    // The desktop's keyring when the site book's passwords are kept there; null otherwise.
    platform::IPasswordStore* Keyring();
    // How the window is left (its place, splitters, columns), kept with the settings at the end.
    void SetWindowLayout(const TWindowLayout& layout);

    // ---- the session
    void SetSessionState(TSessionState state) override;
    void SetToolBar(const TToolBarFields& fields);
    void ConnectFromToolBar();
    void Reconnect();
    // Logs in with these fields and changes to directory (quillftp-cli's way in).
    void ConnectTo(const TToolBarFields& fields, const std::string& directory);
    void Disconnect();
    void Abort();
    // Ends the running transfer run now, without waiting for the connections; what is left is
    // kept as a broken list.
    void EndRunNow();
    // A new connection count: the table, the status rows and the log pages follow.
    void ResizeConnectionCount(int newCount);
    // The connection commands: one more, one less, and whether connection 0 transfers too.
    void IncreaseThreadNumber();
    void DecreaseThreadNumber();
    void ToggleMainConnDownload();
    std::string MainConnectionCaption() const;
    // "Copy All" and "Clear" of a log page.
    void CopyLog(int page);
    void ClearLog(int page);
    void ShowLogLine(int connection, const std::string& line) override;
    TCertificateChoice AskCertificate(const std::string& site, const TTlsCertificate& certificate) override
    {
        return m_view.AskCertificate(site, certificate);
    }
    std::string CertificateTrustFile() const override { return m_dataDir + TCertificateTrust::kFileName; }
    TCertificateChoice AskHostKey(const std::string& site, const std::string& type,
                                  const std::string& fingerprint) override
    {
        return m_view.AskHostKey(site, type, fingerprint);
    }
    std::string AskPassphrase(const std::string& keyPath) override { return m_view.AskPassphrase(keyPath); }
    std::string SshDir() const override;
    std::string KnownHostsFile() const override { return m_dataDir + "known_hosts"; }

    // ---- the local pane (its own commands are on Local())
    void LocalEdit();
    void LocalExecute();
    void LocalProperties();
    void LocalOpenCurrentDirectory();
    void LocalMakeDirectory();
    void LocalChangeDirectory();

    // ---- the remote pane
    void SortByColumn(int column);
    void SetRemoteSelected(size_t row, bool selected);
    // Selects these names and nothing else.
    void SelectRemoteNames(const std::vector<std::string>& names);
    void RemoteSelectAll();
    void RemoteInvertSelection();
    void RemoteDoubleClick(int row);
    void RemoteMakeDirectory();
    void RemoteChangeDirectory();
    void RemoteRefresh();
    // Delete: asks first where the settings say so, and then folders go with their contents.
    void RemoteDelete();
    // Deletes the selected rows without asking; folders with their contents when recursive,
    // else only when empty.
    void DeleteSelectedRemote(bool recursive);
    // The run's files into the history, as the transfers view shows them at its end.
    void RecordHistory();
    // A desktop notice of a run's end, when it took a while and the window is not in view.
    void NoticeOfRun(const TOperationResult& result);
    // A remote command's items that the server refused, told in one message.
    void TellRefusals(const TOperationResult& result);
    void RemoteRename();
    // Renames an entry of the current directory to a path (quillftp-cli's mv with a full path).
    void RemoteRenameTo(const std::string& name, const std::string& newPath);
    void RemoteMove();
    void RemoteChangeMode();
    void RemoteCopyUrl();
    void RemoteEdit();
    void RemoteChoosePath(int index);

    enum class TViewStyle
    {
        LargeIcons,
        SmallIcons,
        List,
        Details
    };
    void SetViewStyle(TPane pane, TViewStyle style);

    // ---- the queue
    void AddToQueue(std::unique_ptr<TTransferFileInfo> item);
    void DownloadSelected();
    // Downloads a file of the remote directory that its listing does not show, when SIZE finds
    // it there; false otherwise.
    bool DownloadUnlisted(const std::string& name);
    void CalculateSize();
    void UploadSelected();
    // Uploads local files and directories (dropped from a file manager) into the remote
    // directory shown; only while connected.
    void UploadPaths(const std::vector<std::string>& paths);
    // Runs the items queued by AddToQueue (a synchronization's), as a selection's run goes.
    void RunQueuedItems();
    // Compare and synchronize the local pane's folder with the remote one.
    TSyncWork& Sync() { return *m_sync; }
    const TSyncWork& Sync() const { return *m_sync; }
    // Broken lists: index is the list's position (its tree node is the top node index + 1).
    void ResumeBrokenList(size_t index);
    void DeleteBrokenList(size_t index);

    // ---- what the view shows
    std::string Caption() const;
    TSessionState SessionState() const override { return m_sessionState; }
    const TSettings& Settings() const override { return m_settings; }
    const std::string& DataDir() const { return m_dataDir; }
    const TToolBarFields& ToolBar() const { return m_toolBar; }
    TPendingAfterConnect PendingAfterConnect() const { return m_pendingAfterConnect; }
    bool Busy() const { return m_busy; }
    std::string StatusPanel(int index) const { return m_statusPanels[static_cast<size_t>(index)]; }
    // The gauge of the status bar: shown during a run, with the run's percentage.
    bool GaugeVisible() const { return m_gaugeVisible; }
    // The transfer history of the data directory.
    TRunHistory& History();
    // How long the last run took, its questions' waits left out.
    int64_t LastRunMs() const { return m_lastRunMs; }
    int GaugePercent() const { return m_gaugePercent; }
    bool DraggingOn() const { return m_sessionState == ssConnected; }
    bool AntiIdleRunning() const { return m_antiIdle.active(); }
    const std::string& RemoteDir() const { return m_remoteDir; }
    const std::vector<TlvFileInfo>& RemoteEntries() const { return m_remoteRows.Rows(); }
    const std::vector<bool>& RemoteSelection() const { return m_remoteRows.Selection(); }
    const std::vector<std::string>& RemotePathItems() const { return m_remotePathItems; }
    int RemoteSortColumn() const { return m_remoteRows.SortColumn(); }
    bool RemoteSortAscending() const { return m_remoteRows.SortAscending(); }
    const std::string& RemoteSummary() const { return m_remoteSummary; }
    TViewStyle ViewStyle(TPane pane) const { return pane == TPane::Remote ? m_remoteViewStyle : m_localViewStyle; }
    const std::vector<TStatusRow>& StatusRows() const { return m_statusRows; }
    const TLogPages& Logs() const { return m_logs; }
    const TQueueTree& QueueTree() const { return *m_queueTree; }
    const TTransferQueue& Queue() const { return m_queue; }
    const TBrokenLists& BrokenLists() const { return m_brokenLists; }
    const TFtpManager& Manager() const { return m_manager; }
    const TTransferRun& Run() const { return m_run; }

    // The transfers view: a row per file of the run, the filter, and the rows' commands (a row
    // is an index into the shown rows).
    const TTransferRows& TransferRows() const { return m_transferRows; }
    void SetTransferFilter(TTransferFilter filter);
    // A failed file goes again: in the running run, or in a new one from where it stopped.
    void RetryTransfer(size_t row);
    // A file not started yet is left out of the run.
    void SkipTransfer(size_t row);
    void OpenTransferFolder(size_t row);
    void CopyTransferAddress(size_t row);
    TLocalPane& Local() { return m_local; }
    const TLocalPane& Local() const { return m_local; }
    const std::string& TmpDir() const { return m_tmpDir; }
    const std::string& EditFile() const { return m_editFile; }
    bool TransfersRunning() const override { return m_transfersRunning; }
    // The last result of each kind of operation (Connect, MakeDirs, Transfer, ...); an empty
    // successful one before the first.
    const TOperationResult& LastResult(TOperation operation) const;
    // The number `quillftp-cli broken` gives the broken list the last run made (1 for the
    // first), 0 when it made none.
    size_t LastBrokenListNumber() const;
    // The most connections the limit of open files allows.
    int ConnectionLimit() const { return m_connectionLimit; }

    // ---- hooks a test or quillftp-cli may replace
    // Runs the queue on the connections (the transfer engine); resuming is set for a broken
    // list.
    std::function<void(TTransferQueue& list, bool resuming)> StartTransfers = [this](TTransferQueue& list,
                                                                                     bool resuming) {
        if (!resuming && &list == &m_queue)
            AdoptPartialFiles();
        BeginProgress();
        m_run.StartTransfers(list, resuming);
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

    // ---- IManagerHost and ITransferHost
    void OperationDone(const TOperationResult& result) override;
    void OperationFailed(const TOperationResult& result) override;
    void SetTransfersRunning(bool running) override { m_transfersRunning = running; }
    void ShowMessage(const std::string& text) override { m_view.ShowMessage(text); }
    int ConnectionCount() const override { return m_manager.Count(); }
    ISession& RunSession(int connection) override { return m_manager.RunSession(connection); }
    void RunLog(int connection, const std::string& line) override { ShowLogLine(connection, line); }
    // The run's questions are asked from the event loop, never inside the run's own calls.
    void AskFileExists(const std::string& localPath, std::function<void(TFileExistsChoice)> answer) override;
    void AskYesNo(const std::string& caption, const std::string& text, std::function<void(bool)> answer) override;
    int64_t FreeSpace(const std::string& directory) override { return FreeSpaceOf(directory); }
    void ItemFound(const TTransferFileInfo& item) override;
    void ItemStarted(int connection, const TTransferFileInfo& item) override;
    void ItemLeft(int connection, const TTransferFileInfo& item) override;
    void ConnectionLostRow(int connection) override;
    void PositionReported(int connection, int64_t position) override;
    void RunStarting() override;

private:
    void SetPendingAfterConnect(TPendingAfterConnect pending);
    void ResetSessionView();
    void AddHostHistory();
    void CreateStatusRows();
    // Keeps a result as the last of its kind and tells the view.
    void Record(const TOperationResult& result);
    void ShowRemoteListing();
    void SelectRemotePath(const std::string& path);
    void SelectionPass();
    void QueueWalkResult();
    void FinishDownloadSelection();
    void FinishSizeCalculation();
    void RunQueue();
    void EndOfRun(const TOperationResult& result);
    void BeginProgress();
    void ProgressTick();
    void EndProgress();
    // A status row's state and file name; the image is kept when -1.
    void SetStatusRow(int connection, const std::string& state, const std::string& fileName, int image);
    // The tool bar's login, anonymous where no user is named; false (the user told what is
    // missing) when it cannot log in.
    bool ValidHostInfo(THostInfo& info);
    std::string SettingsPath() const { return m_dataDir + "quillftp.ini"; }
    std::string BrokenListsPath() const { return m_dataDir + "oldquene.ini"; }
    std::string FirstSelectedLocalPath() const;
    void CreateBrokenList(TTransferQueue& leftover);
    // The lists' passwords the file does not hold, from the keyring.
    void FillBrokenListPasswords();
    // quillftp.ini, the host history's passwords in the keyring when it keeps them.
    void SaveSettingsFile();
    void FillHostHistoryPasswords();
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
    TSettings m_settings;
    TToolBarFields m_toolBar{"", "21", "anonymous", ""};
    TSessionState m_sessionState = ssReady;
    TPendingAfterConnect m_pendingAfterConnect = TPendingAfterConnect::None;
    bool m_transfersRunning = false;
    bool m_busy = false;
    std::array<std::string, 6> m_statusPanels;

    std::string m_remoteDir;
    TPaneRowSet m_remoteRows;
    std::vector<std::string> m_remotePathItems; // the remote path box
    std::string m_remoteSummary;
    TViewStyle m_remoteViewStyle = TViewStyle::Details;
    TViewStyle m_localViewStyle = TViewStyle::Details;
    std::string m_moveTarget;
    std::string m_tmpDir;   // where remote files are fetched for viewing
    std::string m_editFile; // the file last fetched for viewing
    TTransferQueue m_editList;

    std::vector<TStatusRow> m_statusRows;
    TLogPages m_logs;
    std::unique_ptr<TQueueTree> m_queueTree;
    TFtpManager m_manager{*this};
    TTransferRun m_run{*this};
    TBrokenLists m_brokenLists;
    TRunJournal m_journal;
    TLocalPane m_local{m_view};
    TTransferQueue m_queue;
    std::map<TOperation, TOperationResult> m_results;
    uint64_t m_resultSequence = 0;

    platform::Timer m_antiIdle;
    platform::Timer m_progressTimer;
    platform::Timer m_transfersTimer;
    int64_t m_runStartTick = 0;
    // The time the run's questions waited for the user: not the transfer's, so not counted.
    int64_t m_questionMs = 0;
    int64_t m_lastRunMs = 0;
    TTransferRows m_transferRows;
    std::string m_runStarted; // UTC
    std::unique_ptr<TRunHistory> m_history;
    // The rows read the run's files again, and the view hears of it.
    void UpdateTransferRows();
    // Asks the user, keeping the wait off the run's clock.
    template <typename Ask> auto OffTheClock(Ask ask)
    {
        int64_t asked = platform::tickCount();
        auto answer = ask();
        m_questionMs += platform::tickCount() - asked;
        return answer;
    }
    bool m_gaugeVisible = false;
    int m_gaugePercent = 0;
    size_t m_selectionCursor = 0;
    std::vector<TGetFileInfo> m_walkResult;
    // The selection pass's own findings: what could not be queued, what the walks left out,
    // and for Calculate Size the items counted (never mixed with a running queue).
    std::vector<TItemOutcome> m_selectionProblems;
    // The remote directories the run's uploads go into: listed again when it ends.
    std::set<std::string> m_uploadDirs;
    std::vector<std::unique_ptr<TTransferFileInfo>> m_sizeItems;
    int64_t m_lastJournalTick = 0;
    bool m_brokenListsChanged = false; // lists taken or changed since they were last saved
    std::string m_journalDate;
    std::string m_lastBrokenKey;
    int m_connectionLimit = TFtpManager::kMaxConnections - 1;
    platform::PostTarget m_posted;
    std::unique_ptr<TSyncWork> m_sync;
    std::unique_ptr<platform::IPasswordStore> m_keyring;
    platform::TSerialWorker m_historyWrites; // last: what it was handed is written before the rest goes
};
