#include "ui/MainWindow.h"

// Transfer runs seen from the window: the status rows and queue tree marks of items that start
// and leave, the progress figures once a second, the journal of the running run, the end of a
// run with its broken list, and the broken-list commands.

#include <algorithm>
#include <ctime>

#include "platform/AtomicFile.h"
#include "ui/FtpUrl.h"
#include "ui/SyncWork.h"
#include "platform/Translate.h"

using platform::Fill;
using platform::Tr;

namespace {

// The time now, local or UTC.
std::string now(const char* format, bool utc = false)
{
    std::time_t seconds = std::time(nullptr);
    std::tm when{};
    if (utc)
        gmtime_r(&seconds, &when);
    else
        localtime_r(&seconds, &when);
    char text[32];
    std::strftime(text, sizeof text, format, &when);
    return text;
}

} // namespace

void TfmMain::EndOfRun(const TOperationResult& engineResult)
{
    EndProgress();
    for (size_t n = 0; n < m_statusRows.size(); ++n) {
        m_statusRows[n].State = n == 0 ? "Connected" : "Ready";
        m_statusRows[n].FileName.clear();
        m_statusRows[n].Count = -1;
        m_view.StatusRowChanged(n);
    }
    for (size_t i = 1; i <= 4; ++i)
        m_statusPanels[i].clear();
    m_view.ProgressChanged();
    m_lastBrokenKey.clear();
    if (!m_queue.empty() && SaveBrokenList) {
        SaveBrokenList(m_queue);
        // On disk at once, before the journal that held the same items goes.
        SaveBrokenLists();
        std::string name = m_brokenLists.Lists.empty() ? std::string() : m_brokenLists.Lists.back()->DateTime;
        // The ranges of a split file are one item to the user.
        std::set<std::pair<bool, std::string>> items;
        for (const auto& item : m_queue)
            items.insert({item->IsDownload, item->IsDir ? item->HostPath : item->LocalPath});
        m_view.ShowMessage(Fill(items.size() == 1
                                    ? Tr("TfmMain", "1 item did not complete; kept in the broken list %2 to resume")
                                    : Tr("TfmMain", "%1 items did not complete; kept in the broken list %2 to resume"),
                                {std::to_string(items.size()), name}));
    }
    m_journal.End();
    UpdateTransferRows(); // the finished files stay in view with their verdicts
    RecordHistory();
    // What the selection could not queue belongs to the run's outcome too.
    TOperationResult result = engineResult;
    result.Items.insert(result.Items.begin(), m_selectionProblems.begin(), m_selectionProblems.end());
    result.Success = result.Success && m_selectionProblems.empty();
    m_selectionProblems.clear();
    Record(result);
    if (m_sync)
        m_sync->RunEnded(result);
    NoticeOfRun(result);
    m_queue.clear();
    if (m_queueTree)
        m_queueTree->ClearTransfers();
    m_local.Refresh();
    // What the run put on the server is in the remote pane at once, whichever connections took it.
    bool uploadedHere = m_uploadDirs.count(EnsureTrailing(m_remoteDir, '/')) > 0;
    for (const std::string& directory : m_uploadDirs)
        m_manager.ForgetListing(directory);
    m_uploadDirs.clear();
    if (uploadedHere && !m_settings.MainConnDownload)
        m_posted.post([this] {
            if (m_sessionState == ssConnected) {
                SetSessionState(ssRefreshing);
                m_manager.Refresh(m_remoteDir);
            }
        });
    if (m_settings.MainConnDownload) {
        if (!m_manager.Connected(0)) {
            // The main connection was lost during the run and not won back: it logs in again,
            // from the event loop, since its close may still be under way.
            SetPendingAfterConnect(TPendingAfterConnect::ChangeDir);
            SetSessionState(ssConnecting);
            m_posted.post([this] { m_manager.ConnectMain(m_manager.SessionInfo()); });
            return;
        }
        SetSessionState(ssChangingDir);
        m_manager.ChangeDir(m_remoteDir);
    }
}

TRunHistory& TfmMain::History()
{
    m_historyWrites.Settle(); // what it shows includes the run that just ended
    if (!m_history)
        m_history = std::make_unique<TRunHistory>(m_dataDir + "history.sqlite");
    return *m_history;
}

void TfmMain::RecordHistory()
{
    if (m_sessionState == ssEditing || m_transferRows.All().empty() || m_settings.HistoryFiles <= 0)
        return;
    std::string site = RemoteAddress(m_manager.SessionInfo(), "");
    std::vector<THistoryFile> files;
    files.reserve(m_transferRows.All().size());
    for (const TTransferRow& row : m_transferRows.All()) {
        THistoryFile file;
        file.Started = m_runStarted;
        file.Site = site;
        file.Download = row.Download;
        file.RemotePath = row.RemotePath;
        file.LocalPath = row.LocalPath;
        file.Size = row.Size;
        file.Bytes = row.Done;
        file.Connections = static_cast<int>(row.ConnectionsUsed);
        file.Seconds = row.Milliseconds > 0 ? static_cast<double>(row.Milliseconds) / 1000.0 : 0.0;
        file.State = row.StateText;
        file.Verdict = row.Verdict;
        files.push_back(std::move(file));
    }
    // Committed on a thread of its own: a run of tens of thousands of files takes a moment.
    m_historyWrites.Run([path = m_dataDir + "history.sqlite", files = std::move(files), most = m_settings.HistoryFiles,
                         post = m_posted.poster(), this] {
        TRunHistory history(path);
        std::string error;
        if (!history.Record(files, most, error))
            post([this, error] { ShowLogLine(0, "! " + error); }); // the run itself is not the worse for it
    });
}

void TfmMain::NoticeOfRun(const TOperationResult& result)
{
    // Only a run long enough for the user to have turned to something else, and only when
    // the window is not what they look at.
    constexpr int64_t kNoticeAfterMs = 5000;
    if (m_lastRunMs < kNoticeAfterMs || m_sessionState == ssEditing || m_view.WindowActive())
        return;
    size_t failed = result.Failures().size();
    std::string body =
        Fill(Tr("TfmMain", "%1 bytes in %2"), {FormatThousands(result.Bytes), ElapsedTime(m_lastRunMs / 1000)});
    if (failed > 0)
        body += "; " + Fill(failed == 1 ? Tr("TfmMain", "1 item did not complete")
                                        : Tr("TfmMain", "%1 items did not complete"),
                            {std::to_string(failed)});
    m_view.NotifyDesktop(failed > 0 ? Tr("TfmMain", "QuillFTP: transfers ended, some did not complete")
                                    : Tr("TfmMain", "QuillFTP: transfers done"),
                         body);
}

size_t TfmMain::LastBrokenListNumber() const
{
    for (size_t n = 0; n < m_brokenLists.Lists.size() && !m_lastBrokenKey.empty(); ++n)
        if (m_brokenLists.Lists[n]->Key() == m_lastBrokenKey)
            return n + 1;
    return 0;
}

// ---------------------------------------------------------------- rows and marks

void TfmMain::SetStatusRow(int connection, const std::string& state, const std::string& fileName, int image)
{
    if (connection >= static_cast<int>(m_statusRows.size()))
        return;
    TStatusRow& row = m_statusRows[static_cast<size_t>(connection)];
    if (state != "Transfering")
        row.Count = -1; // a starting item keeps the count until its first report
    row.State = state;
    row.FileName = fileName;
    if (image >= 0)
        row.ImageIndex = image;
    m_view.StatusRowChanged(static_cast<size_t>(connection));
}

void TfmMain::ItemFound(const TTransferFileInfo& item)
{
    if (m_queueTree)
        m_queueTree->AddItem(item);
}

void TfmMain::AskFileExists(const std::string& localPath, std::function<void(TFileExistsChoice)> answer)
{
    m_posted.post([this, localPath, answer = std::move(answer)] {
        TFileExistsChoice choice = OffTheClock([&] { return m_view.AskFileExists(localPath); });
        answer(choice);
    });
}

void TfmMain::AskYesNo(const std::string& caption, const std::string& text, std::function<void(bool)> answer)
{
    m_posted.post([this, caption, text, answer = std::move(answer)] {
        bool yes = OffTheClock([&] { return m_view.AskYesNo(caption, text); });
        answer(yes);
    });
}

void TfmMain::ItemStarted(int connection, const TTransferFileInfo& item)
{
    if (m_queueTree)
        m_queueTree->MarkRunning(item, connection);
    SetStatusRow(connection, "Transfering", item.LocalPath.substr(item.LocalPath.rfind('/') + 1), 1);
}

void TfmMain::ItemLeft(int connection, const TTransferFileInfo& item)
{
    if (m_queueTree)
        m_queueTree->MarkLeft(item, connection);
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
    if (connection >= static_cast<int>(m_statusRows.size()))
        return;
    int64_t tick = platform::tickCount();
    int64_t& last = m_statusRows[static_cast<size_t>(connection)].LastTick;
    if (tick - last < 1000)
        return;
    last = tick;
    m_statusRows[static_cast<size_t>(connection)].Count = position;
    m_view.StatusRowChanged(static_cast<size_t>(connection));
}

// ---------------------------------------------------------------- progress

void TfmMain::BeginProgress()
{
    m_runStartTick = platform::tickCount();
    m_runStarted = now("%Y-%m-%d %H:%M:%S", true);
    m_questionMs = 0;
    m_transferRows.Clear();
    m_gaugePercent = 0;
    // A file fetched for Edit/View shows no gauge and no run figures.
    m_gaugeVisible = m_sessionState != ssEditing;
    if (m_gaugeVisible)
        m_progressTimer.start(1000);
    m_transfersTimer.start(250); // the transfers view: at most four times a second
    m_view.ProgressChanged();
}

// Once a second: bytes done, speed and times in the status bar, the gauge's percentage.
void TfmMain::ProgressTick()
{
    if (!m_run.Running())
        return;
    int64_t elapsed = std::max<int64_t>((platform::tickCount() - m_runStartTick - m_questionMs) / 1000, 1);
    TRunFigures figures = m_run.Figures(elapsed);
    m_statusPanels[1] =
        ShortSize(figures.Done) + "/" + ShortSize(figures.Total) + "(" + ShortSize(figures.Speed) + "/s)";
    m_gaugePercent = figures.Percent;
    m_statusPanels[3] = Tr("TfmMain", "Elapsed: ") + ElapsedTime(elapsed);
    m_statusPanels[4] = Tr("TfmMain", "Remain: ") + ElapsedTime(figures.Remain);
    m_view.ProgressChanged();
    WriteJournal(false);
}

void TfmMain::EndProgress()
{
    if (m_progressTimer.active())
        m_lastRunMs = platform::tickCount() - m_runStartTick - m_questionMs;
    m_progressTimer.stop();
    m_transfersTimer.stop();
    m_gaugeVisible = false;
    m_gaugePercent = 0;
    m_view.ProgressChanged();
}

// ---------------------------------------------------------------- the journal

void TfmMain::RunStarting()
{
    if (m_sessionState == ssEditing)
        return; // a file fetched for viewing is not worth resuming
    m_journalDate = now("%Y-%m-%d %H:%M:%S");
    m_journal.Begin(m_dataDir);
    WriteJournal(true);
    // What this run took out of the broken lists (a resumed list, adopted half-written files)
    // is in the journal once it is written: the broken-list file may forget it then.
    if (m_brokenListsChanged) {
        m_journal.Settle();
        SaveBrokenLists();
    }
}

void TfmMain::WriteJournal(bool force)
{
    if (!m_journal.Active() || !m_run.Running())
        return;
    int64_t tick = platform::tickCount();
    if (!force && tick - m_lastJournalTick < 250)
        return;
    m_lastJournalTick = tick;
    TOldQuene list;
    list.DateTime = m_journalDate;
    const THostInfo& session = m_manager.SessionInfo();
    list.HostName = session.HostName;
    list.HostPort = session.HostPort;
    list.UserName = session.UserName;
    list.PassWord = session.PassWord;
    list.Sftp = session.Sftp;
    for (auto& item : m_run.Unfinished())
        list.Items.push_back(std::move(item));
    list.SetDirectoriesFromItems();
    m_journal.Write(list);
}

void TfmMain::AdoptPartialFiles()
{
    const THostInfo& session = m_manager.SessionInfo();
    TTransferQueue adopted;
    for (auto item = m_queue.begin(); item != m_queue.end();) {
        const TTransferFileInfo& wanted = **item;
        bool taken = false;
        if (wanted.IsDownload && platform::fileExists(wanted.LocalPath)) {
            for (size_t n = 0; n < m_brokenLists.Lists.size(); ++n) {
                TOldQuene& list = *m_brokenLists.Lists[n];
                if (list.HostName != session.HostName || list.HostPort != session.HostPort || list.Sftp != session.Sftp)
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
                    m_brokenLists.Remove(n);
                    if (m_queueTree)
                        m_queueTree->RemoveRoot(n + 1);
                    --n;
                }
            }
        }
        if (taken) {
            m_brokenListsChanged = true;
            ShowLogLine(0, Fill(Tr("TfmMain", "! Resuming the half-written %1"), {wanted.LocalPath}));
            item = m_queue.erase(item);
        } else {
            ++item;
        }
    }
    for (auto& item : adopted)
        m_queue.push_front(std::move(item));
}

// ---------------------------------------------------------------- broken lists

void TfmMain::CreateBrokenList(TTransferQueue& leftover)
{
    auto list = std::make_unique<TOldQuene>();
    list->DateTime = now("%Y-%m-%d %H:%M:%S");
    const THostInfo& session = m_manager.SessionInfo();
    list->HostName = session.HostName;
    list->HostPort = session.HostPort;
    list->UserName = session.UserName;
    list->PassWord = session.PassWord;
    list->Sftp = session.Sftp;
    for (const auto& item : leftover)
        list->Items.push_back(std::make_unique<TTransferFileInfo>(*item));
    list->SetDirectoriesFromItems();
    if (m_queueTree)
        m_queueTree->AddBrokenList(*list);
    m_lastBrokenKey = list->Key();
    m_brokenLists.Lists.push_back(std::move(list));
}

void TfmMain::ResumeBrokenList(size_t index)
{
    if ((m_sessionState != ssConnected && m_sessionState != ssReady) || index >= m_brokenLists.Lists.size()) {
        m_view.ShowMessage(Tr("TfmMain", "Please select a broken list !"));
        return;
    }
    std::unique_ptr<TOldQuene> list = m_brokenLists.Remove(index);
    m_brokenListsChanged = true;
    if (m_queueTree)
        m_queueTree->RemoveRoot(index + 1);
    m_queue.clear();
    // The list is data, not orders: only what lies inside the directory it was made for
    // resumes; anything else is named and left out.
    m_selectionProblems = list->Refused;
    for (auto& item : list->Items) {
        std::string problem = StoredItemProblem(*item, list->LocalDir);
        if (problem.empty()) {
            AddToQueue(std::move(item));
            continue;
        }
        ShowLogLine(0, Fill(Tr("TfmMain", "! Not resumed: %1"), {item->LocalPath + ": " + problem}));
        m_selectionProblems.push_back({item->LocalPath, 550, problem});
    }
    for (const TItemOutcome& refused : list->Refused)
        ShowLogLine(0, Fill(Tr("TfmMain", "! Not resumed: %1"), {refused.Name + ": " + refused.Reply}));
    if (!m_selectionProblems.empty())
        m_view.ShowMessage(Fill(m_selectionProblems.size() == 1
                                    ? Tr("TfmMain", "1 item of the broken list will not be resumed: %2")
                                    : Tr("TfmMain", "%1 items of the broken list will not be resumed: %2"),
                                {std::to_string(m_selectionProblems.size()),
                                 m_selectionProblems.front().Name + ": " + m_selectionProblems.front().Reply +
                                     (m_selectionProblems.size() > 1 ? ", ..." : "")}));
    m_toolBar = {list->HostName, list->HostPort, list->UserName, list->PassWord, -1, list->Sftp};
    SetPendingAfterConnect(TPendingAfterConnect::ResumeBrokenList);
    ConnectFromToolBar();
}

void TfmMain::DeleteBrokenList(size_t index)
{
    if ((m_sessionState != ssConnected && m_sessionState != ssReady) || index >= m_brokenLists.Lists.size()) {
        m_view.ShowMessage(Tr("TfmMain", "Please select a broken list !"));
        return;
    }
    m_brokenLists.Remove(index);
    m_brokenListsChanged = true;
    if (m_queueTree)
        m_queueTree->RemoveRoot(index + 1);
}
