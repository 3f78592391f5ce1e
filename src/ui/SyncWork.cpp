#include "ui/SyncWork.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string_view>
#include <cerrno>
#include <cstring>
#include <map>
#include <thread>

#include "manager/CommFunc.h"
#include "platform/EventLoop.h"
#include "platform/FileHash.h"
#include "platform/LocalFiles.h"
#include "ui/FtpUrl.h"
#include "ui/MainWindow.h"
#include "platform/Translate.h"

using platform::Fill;
using platform::Tr;

namespace {
const char* const kDiffersInside = QT_TRANSLATE_NOOP("TSyncWork", "differs inside: ");
}

std::string CompareMarkText(const TComparedName& mark)
{
    // In the order of TCompared.
    static const char* const kStates[] = {QT_TRANSLATE_NOOP("TSyncWork", "alike on both sides"),
                                          QT_TRANSLATE_NOOP("TSyncWork", "only in the local folder"),
                                          QT_TRANSLATE_NOOP("TSyncWork", "only in the remote folder"),
                                          QT_TRANSLATE_NOOP("TSyncWork", "newer here (local)"),
                                          QT_TRANSLATE_NOOP("TSyncWork", "newer there (remote)"),
                                          QT_TRANSLATE_NOOP("TSyncWork", "size differs"),
                                          QT_TRANSLATE_NOOP("TSyncWork", "kind differs"),
                                          QT_TRANSLATE_NOOP("TSyncWork", "cannot be told")};
    bool differsInside = mark.Why.rfind(kDiffersInside, 0) == 0;
    std::string text = mark.State == TCompared::Same && differsInside
                           ? std::string()
                           : Tr("TSyncWork", kStates[static_cast<size_t>(mark.State)]);
    if (mark.Why.empty())
        return Tr("TSyncWork", "Compared: ") + text;
    // A directory's mark names the first difference below it, in the user's words.
    std::string why = differsInside
                          ? Tr("TSyncWork", kDiffersInside) + mark.Why.substr(std::string_view(kDiffersInside).size())
                          : mark.Why;
    return Tr("TSyncWork", "Compared: ") + text + (text.empty() ? "" : ": ") + why;
}

int CompareTintState(const TComparedName& mark)
{
    if (mark.State == TCompared::Same)
        return mark.Why.rfind(kDiffersInside, 0) == 0 ? 8 : 0;
    return static_cast<int>(mark.State);
}

TSyncWork::TSyncWork(TfmMain& window) : m_window(window)
{
    m_idleTimer.onTimeout = [this] {
        if (m_window.SessionState() != ssConnected || m_window.TransfersRunning())
            return;
        m_idleTimer.stop();
        auto next = std::move(m_whenIdle);
        m_whenIdle = nullptr;
        next();
    };
}

TSyncWork::~TSyncWork()
{
    *m_alive = false;
}

const TSyncTree& TSyncWork::There() const
{
    static const TSyncTree kNone;
    return m_remote ? m_remote->Tree() : kNone;
}

void TSyncWork::SetChecked(size_t action, bool checked)
{
    if (action < m_plan.Actions.size() && m_plan.Actions[action].Acts())
        m_plan.Actions[action].Checked = checked;
}

std::pair<int, int> TSyncWork::Connections() const
{
    int count = m_window.ConnectionCount();
    int first = m_window.Settings().MainConnDownload || count < 2 ? 0 : 1;
    return {first, count - first};
}

std::string TSyncWork::LocalPath(const std::string& path, bool directory) const
{
    return m_localDir + path + (directory ? "/" : "");
}

// ---------------------------------------------------------------- comparing

void TSyncWork::Compare(const std::string& localDir, const TSyncOptions& options, bool byHash,
                        std::function<void()> done)
{
    m_options = options;
    m_byHash = byHash;
    m_done = std::move(done);
    m_error.clear();
    m_plan = {};
    m_localDir = EnsureTrailing(localDir, '/');
    m_remoteDir = EnsureTrailing(m_window.RemoteDir(), '/');
    m_stateKey = RemoteAddress(m_window.Manager().SessionInfo(), m_remoteDir);
    m_last = LoadSyncState(m_window.DataDir(), m_localDir, m_stateKey);
    StartListing(false, [this](bool listed) {
        if (listed)
            Planned();
    });
}

void TSyncWork::Reload(TSyncPlan plan, bool byHash, std::function<void()> done)
{
    m_reviewed = std::move(plan);
    m_options = m_reviewed.Options;
    m_byHash = byHash;
    m_done = std::move(done);
    m_error.clear();
    m_plan = {};
    m_localDir = EnsureTrailing(m_reviewed.Local, '/');
    m_remoteDir = EnsureTrailing(m_window.RemoteDir(), '/');
    m_stateKey = RemoteAddress(m_window.Manager().SessionInfo(), m_remoteDir);
    if (m_stateKey != m_reviewed.Remote) {
        Fail(Fill(Tr("TSyncWork", "the plan is for %1, not %2"), {m_reviewed.Remote, m_stateKey}));
        return;
    }
    m_last = LoadSyncState(m_window.DataDir(), m_localDir, m_stateKey);
    StartListing(false, [this](bool listed) {
        if (!listed)
            return;
        std::vector<std::string> changed = ChangedSincePlan(m_reviewed, m_here, There());
        if (!changed.empty()) {
            std::string names;
            for (size_t k = 0; k < changed.size() && k < 5; ++k)
                names += (k ? ", " : "") + changed[k];
            if (changed.size() > 5)
                names += Fill(Tr("TSyncWork", " and %1 more"), {std::to_string(changed.size() - 5)});
            Fail(Fill(changed.size() == 1
                          ? Tr("TSyncWork", "the plan is refused: 1 path changed since it was made: %2")
                          : Tr("TSyncWork", "the plan is refused: %1 paths changed since it was made: %2"),
                      {std::to_string(changed.size()), names}));
            return;
        }
        Hold(false);
        m_plan = std::move(m_reviewed);
        m_phase = TPhase::Planned;
        auto done = std::move(m_done);
        m_done = nullptr;
        done();
    });
}

void TSyncWork::StartListing(bool again, std::function<void(bool)> listed)
{
    m_phase = again ? TPhase::Relisting : TPhase::Listing;
    if (m_window.SessionState() != ssConnected && !m_holding) {
        Fail(Tr("TSyncWork", "not connected"));
        return;
    }
    Hold(true);
    m_here = {};
    std::string why;
    if (!ListLocalTree(m_localDir, m_here, why)) {
        Fail(why);
        return;
    }
    if (m_phase == TPhase::Relisting && !m_remoteChanged) {
        listed(true);
        return;
    }
    auto [first, count] = Connections();
    m_remote = std::make_unique<TRemoteTree>(
        count, [this, first = first](int k) -> ISession& { return m_window.RunSession(first + k); },
        [this, first = first](int k, const std::string& line) { m_window.ShowLogLine(first + k, line); });
    m_remote->List(m_remoteDir, [this, listed = std::move(listed)]() mutable { RemoteListed(std::move(listed)); });
}

void TSyncWork::RemoteListed(std::function<void(bool)> listed)
{
    const std::vector<std::string>& failed = There().FailedDirs;
    if (std::find(failed.begin(), failed.end(), std::string()) != failed.end()) {
        if (!m_remote->NoConnection().empty() && There().Entries.empty())
            Fail(Tr("TSyncWork", "no connection could list the remote folder: ") + m_remote->NoConnection());
        else
            Fail(Tr("TSyncWork", "the remote folder could not be listed: ") + There().Failed.front());
        return;
    }
    AskDetails(std::move(listed));
}

void TSyncWork::AskDetails(std::function<void(bool)> listed)
{
    // A file on both sides is compared by time where the sizes leave it open: the time the
    // listing did not give is asked. Hashes, when asked for, settle files of one size.
    std::vector<std::string> times, hashes;
    const TSyncTree& there = There();
    for (const auto& [path, remote] : there.Entries) {
        auto local = m_here.Entries.find(path);
        if (remote.Directory || remote.Link || local == m_here.Entries.end() || local->second.Directory ||
            local->second.Link)
            continue;
        if (remote.Time < 0)
            times.push_back(path);
        if (m_byHash && remote.Size == local->second.Size)
            hashes.push_back(path);
    }
    if (times.empty() && (hashes.empty() || m_remote->HashAlgorithm().empty())) {
        listed(true);
        return;
    }
    m_remote->Ask(times, hashes, [this, hashes, listed = std::move(listed)]() mutable {
        CompareLocalHashes(hashes, [listed = std::move(listed)] { listed(true); });
    });
}

void TSyncWork::CompareLocalHashes(std::vector<std::string> paths, std::function<void()> done)
{
    std::string algorithm = m_remote->HashAlgorithm();
    std::vector<std::string> files;
    for (const std::string& path : paths)
        if (!There().Entries.at(path).Hash.empty())
            files.push_back(path);
    if (algorithm.empty() || files.empty()) {
        done();
        return;
    }
    // On a thread of their own: big files take a while.
    std::thread([alive = std::weak_ptr<bool>(m_alive), this, files, algorithm, base = m_localDir,
                 done = std::move(done)]() mutable {
        std::vector<std::string> digests;
        for (const std::string& path : files)
            digests.push_back(platform::FileDigest(base + path, algorithm));
        platform::postToLoop([alive, this, files, digests = std::move(digests), done = std::move(done)] {
            if (auto living = alive.lock(); !living || !*living)
                return;
            for (size_t k = 0; k < files.size(); ++k)
                m_here.Entries[files[k]].Hash = digests[k];
            done();
        });
    }).detach();
}

void TSyncWork::Planned()
{
    Hold(false);
    Replan(m_options);
    MarkTopLevel();
    auto done = std::move(m_done);
    m_done = nullptr;
    done();
}

void TSyncWork::Replan(const TSyncOptions& options)
{
    m_options = options;
    m_plan = BuildSyncPlan(m_here, There(), m_last, m_options);
    m_plan.Local = m_localDir;
    m_plan.Remote = m_stateKey;
    m_phase = TPhase::Planned;
}

void TSyncWork::MarkTopLevel()
{
    // The folders' own entries, each as Compare finds it; a directory alike on both sides is
    // marked by the first difference below it.
    m_marks.clear();
    for (TComparedName& row : CompareTrees(m_here, There(), true))
        m_marks[row.Name] = std::move(row);
    for (const TSyncAction& action : m_plan.Actions) {
        std::string top = action.Path.substr(0, action.Path.find('/'));
        TComparedName& mark = m_marks[top];
        if (top != action.Path && mark.State == TCompared::Same && mark.Why.empty())
            mark.Why = kDiffersInside + action.Path + " (" + action.Why + ")";
    }
    m_marking = true;
}

const TComparedName* TSyncWork::MarkOf(TPane pane, const std::string& name) const
{
    if (!m_marking)
        return nullptr;
    // Asked for every row the panes paint: the folder is matched without making strings.
    const std::string& shown = pane == TPane::Local ? m_window.Local().Path() : m_window.RemoteDir();
    const std::string& compared = pane == TPane::Local ? m_localDir : m_remoteDir;
    bool same =
        shown == compared || (shown.size() + 1 == compared.size() && compared.compare(0, shown.size(), shown) == 0);
    auto mark = same ? m_marks.find(name) : m_marks.end();
    return mark != m_marks.end() ? &mark->second : nullptr;
}

void TSyncWork::Hold(bool on)
{
    if (on && !m_holding && m_window.SessionState() == ssConnected) {
        m_holding = true;
        m_window.SetSessionState(ssPreparing);
    } else if (!on && m_holding) {
        m_holding = false;
        if (m_window.SessionState() == ssPreparing)
            m_window.SetSessionState(ssConnected);
    }
}

void TSyncWork::Fail(const std::string& why)
{
    Hold(false);
    m_error = why;
    m_phase = TPhase::Idle;
    if (m_remote)
        m_remote->Cancel();
    auto done = std::move(m_done);
    m_done = nullptr;
    if (done)
        done();
}

void TSyncWork::Cancel()
{
    m_idleTimer.stop();
    m_whenIdle = nullptr;
    m_plan.Actions.clear();
    m_marking = false;
    Fail(kStopped);
}

// ---------------------------------------------------------------- carrying out the plan

void TSyncWork::Execute(std::function<void()> done)
{
    if (m_phase != TPhase::Planned)
        return;
    m_done = std::move(done);
    if (m_window.SessionState() != ssConnected || m_window.TransfersRunning()) {
        Fail(Tr("TSyncWork", "not connected, or a run is going on"));
        return;
    }
    m_outcome = {};
    m_settled.clear();
    m_remoteChanged = false;
    MakeLocalDirectories();
    QueueTransfers();
}

void TSyncWork::MakeLocalDirectories()
{
    for (const TSyncAction& action : m_plan.Actions) {
        if (action.Kind != TSyncActionKind::MakeDirHere || !action.Checked)
            continue;
        std::string path = LocalPath(action.Path, true);
        if (platform::isInsideDirectory(path, m_localDir) && MakeLocalDirs(path)) {
            ++m_outcome.Done;
            m_settled.push_back(action.Path);
        } else {
            m_outcome.Failures.push_back({action.Path, 550, Tr("TSyncWork", "cannot create the local directory")});
        }
    }
}

void TSyncWork::QueueTransfers()
{
    size_t queued = 0;
    for (const TSyncAction& action : m_plan.Actions) {
        if (!action.Checked)
            continue;
        auto item = std::make_unique<TTransferFileInfo>();
        item->HostPath = m_remoteDir + action.Path;
        item->LocalPath = LocalPath(action.Path, false);
        switch (action.Kind) {
        case TSyncActionKind::MakeDirThere:
            item->IsDownload = false;
            item->IsDir = true;
            item->HostPath += "/";
            item->LocalPath += "/";
            m_remoteChanged = true;
            break;
        case TSyncActionKind::Upload:
            item->IsDownload = false;
            item->FileSize = action.Here.Size;
            m_remoteChanged = true;
            break;
        case TSyncActionKind::Download:
            // Nothing lands outside the local folder, whatever a link below it says.
            if (!platform::isInsideDirectory(item->LocalPath, m_localDir)) {
                m_outcome.Failures.push_back(
                    {action.Path, 550, Fill(Tr("TSyncWork", "its local path lies outside %1"), {m_localDir})});
                continue;
            }
            item->FileSize = action.There.Size;
            item->RemoteTime = action.There.Time;
            item->Replace = true; // the plan said so
            break;
        default:
            continue;
        }
        m_window.AddToQueue(std::move(item));
        ++queued;
    }
    if (queued == 0) {
        AfterRun();
        return;
    }
    m_phase = TPhase::Running;
    Hold(false); // the run is the window's
    m_window.RunQueuedItems();
}

void TSyncWork::RunEnded(const TOperationResult& result)
{
    if (m_phase != TPhase::Running)
        return;
    bool unfinished = false;
    for (const TItemOutcome& failure : result.Failures())
        unfinished = unfinished || failure.Code == kItemNotFinished;
    std::map<std::string, const TTransferFile*> files;
    for (const auto& file : m_window.Run().Files())
        files[file->LocalPath] = file.get();
    for (const TSyncAction& action : m_plan.Actions) {
        if (!action.Checked || (action.Kind != TSyncActionKind::Upload && action.Kind != TSyncActionKind::Download &&
                                action.Kind != TSyncActionKind::MakeDirThere))
            continue;
        if (action.Kind == TSyncActionKind::MakeDirThere) {
            ++m_outcome.Done; // a directory not made fails its files, which are named
            continue;
        }
        auto file = files.find(LocalPath(action.Path, false));
        if (file != files.end() && file->second->State == TFileState::Done) {
            ++m_outcome.Done;
            m_settled.push_back(action.Path);
        } else if (file != files.end() || !unfinished) {
            std::string why = file == files.end() ? std::string() : file->second->Reason;
            m_outcome.Failures.push_back({action.Path, 550, why.empty() ? Tr("TSyncWork", "not transferred") : why});
        }
    }
    if (unfinished) {
        // The user stopped the run, or it could not finish: nothing more is done, nothing deleted.
        m_outcome.Failures.push_back({"", kItemNotFinished, Tr("TSyncWork", "the run did not complete: no deletions")});
        m_whenIdle = [this] { Relist(); };
    } else {
        m_whenIdle = [this] { AfterRun(); };
    }
    m_phase = TPhase::Deleting;
    m_idleTimer.start(20); // once the window is itself again
}

void TSyncWork::AfterRun()
{
    m_phase = TPhase::Deleting;
    Hold(true);
    std::vector<std::pair<std::string, bool>> files;
    std::map<size_t, std::vector<std::pair<std::string, bool>>, std::greater<>> directories; // deepest first
    for (const TSyncAction& action : m_plan.Actions) {
        if (action.Kind != TSyncActionKind::DeleteThere || !action.Checked)
            continue;
        m_remoteChanged = true;
        if (action.Directory)
            directories[std::count(action.Path.begin(), action.Path.end(), '/')].emplace_back(action.Path, true);
        else
            files.emplace_back(action.Path, false);
    }
    std::vector<std::vector<std::pair<std::string, bool>>> rounds;
    if (!files.empty())
        rounds.push_back(std::move(files));
    for (auto& [depth, round] : directories)
        rounds.push_back(std::move(round));
    DeleteRemote(std::move(rounds));
}

void TSyncWork::DeleteRemote(std::vector<std::vector<std::pair<std::string, bool>>> rounds)
{
    if (rounds.empty()) {
        for (const auto& [path, why] : m_remote->Failures())
            m_outcome.Failures.push_back({path, 550, why});
        DeleteLocal();
        return;
    }
    std::vector<std::pair<std::string, bool>> round = std::move(rounds.front());
    rounds.erase(rounds.begin());
    size_t before = m_remote->Failures().size();
    size_t count = round.size();
    m_remote->Delete(round, [this, before, count, rounds = std::move(rounds)]() mutable {
        m_outcome.Done += count - (m_remote->Failures().size() - before);
        DeleteRemote(std::move(rounds));
    });
}

void TSyncWork::DeleteLocal()
{
    // What a directory holds goes before it: the plan's order backwards.
    for (auto action = m_plan.Actions.rbegin(); action != m_plan.Actions.rend(); ++action) {
        if (action->Kind != TSyncActionKind::DeleteHere || !action->Checked)
            continue;
        std::string path = LocalPath(action->Path, false);
        if (!platform::isInsideDirectory(path, m_localDir)) {
            m_outcome.Failures.push_back(
                {action->Path, 550, Fill(Tr("TSyncWork", "its local path lies outside %1"), {m_localDir})});
            continue;
        }
        if ((action->Directory ? ::rmdir(path.c_str()) : ::unlink(path.c_str())) == 0)
            ++m_outcome.Done;
        else
            m_outcome.Failures.push_back({action->Path, 550, std::strerror(errno)});
    }
    Relist();
}

void TSyncWork::Relist()
{
    // Both sides as the plan left them, for the next time; a listing that fails ends here
    // without a state.
    StartListing(true, [this](bool listed) {
        if (!listed)
            return;
        m_last.Local = m_localDir;
        m_last.Remote = m_stateKey;
        m_last.Update(m_here, There(), m_settled);
        m_outcome.StateKept = SaveSyncState(m_window.DataDir(), m_last);
        Finish();
    });
}

void TSyncWork::Finish()
{
    Hold(false);
    m_phase = TPhase::Idle;
    m_plan.Actions.clear();
    m_marking = false; // the folders changed: the marks would mislead
    auto done = std::move(m_done);
    m_done = nullptr;
    if (done)
        done();
}
