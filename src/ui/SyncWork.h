#pragma once

// Compare and synchronize, on the window's connections: both folders listed as trees, the plan
// built from them, and the plan's checked actions carried out — directories made here, the
// files moved as one run of the queue (journalled like any run), then the deletions — after
// which the state of the pair of folders is kept for the next time.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "manager/OperationResult.h"
#include "ui/MainView.h"
#include "platform/Timer.h"
#include "sync/Compare.h"
#include "sync/RemoteTree.h"
#include "sync/SyncPlan.h"

class TfmMain;

// A comparison's mark in words, for a row of a pane ("here" is the local folder), and as a
// state for its tint: the TCompared value, or 8 for a directory alike that differs inside.
std::string CompareMarkText(const TComparedName& mark);
int CompareTintState(const TComparedName& mark);

class TSyncWork
{
public:
    enum class TPhase : uint8_t
    {
        Idle,
        Listing,
        Planned,
        Running,  // the files move
        Deleting, // and then what goes
        Relisting
    };

    // Error() after Cancel().
    static constexpr const char* kStopped = "stopped by the user";

    explicit TSyncWork(TfmMain& window);
    ~TSyncWork();
    TSyncWork(const TSyncWork&) = delete;
    TSyncWork& operator=(const TSyncWork&) = delete;

    // Lists the local folder and the remote folder the window is in, and plans. done comes once
    // the plan (or Error()) is there.
    void Compare(const std::string& localDir, const TSyncOptions& options, bool byHash, std::function<void()> done);
    // A plan made earlier: both folders are listed again, and the plan is kept only when neither
    // side of any of its actions changed since it was made (Error() says which did).
    void Reload(TSyncPlan plan, bool byHash, std::function<void()> done);
    // The plan again from the folders as listed, for other options (the dialog's direction).
    void Replan(const TSyncOptions& options);
    // Carries out the plan's checked actions; done once all are tried.
    void Execute(std::function<void()> done);
    // Stops the listings or deletions under way (Error() says so, done is told); a run of the
    // plan stops through the window's Abort and ends as runs do.
    void Cancel();
    // The transfer run of the plan ended (the window's word).
    void RunEnded(const TOperationResult& result);

    TPhase Phase() const { return m_phase; }
    bool Busy() const { return m_phase != TPhase::Idle && m_phase != TPhase::Planned; }
    const TSyncPlan& Plan() const { return m_plan; }
    void SetChecked(size_t action, bool checked);
    const TSyncTree& Here() const { return m_here; }
    const TSyncTree& There() const;
    // What the comparison found of a name in a pane, while the pane still shows the folder that
    // was compared (a directory by what lies below it too); null otherwise.
    const TComparedName* MarkOf(TPane pane, const std::string& name) const;
    // Marks are shown: the last comparison's, until the user drops them.
    bool Marking() const { return m_marking; }
    void DropMarks() { m_marking = false; }
    // Why the comparison or the plan could not be had; empty when it could.
    const std::string& Error() const { return m_error; }

    // What the last execution did.
    struct TOutcome
    {
        size_t Done = 0;
        std::vector<TItemOutcome> Failures; // by relative path
        bool StateKept = false;
    };
    const TOutcome& Outcome() const { return m_outcome; }

private:
    // The connections a synchronization works on: as a run's.
    std::pair<int, int> Connections() const;
    // Lists both folders (again: after the plan ran, the remote one only when it changed).
    void StartListing(bool again, std::function<void(bool)> listed);
    void RemoteListed(std::function<void(bool)> listed);
    // The times and hashes the comparison still needs.
    void AskDetails(std::function<void(bool)> listed);
    void CompareLocalHashes(std::vector<std::string> paths, std::function<void()> done);
    void Planned();
    void MarkTopLevel();
    void MakeLocalDirectories();
    void QueueTransfers();
    void AfterRun();
    void DeleteRemote(std::vector<std::vector<std::pair<std::string, bool>>> rounds);
    void DeleteLocal();
    void Relist();
    void Finish();
    void Fail(const std::string& why);
    // While the connections list or delete, the window's own commands wait (its state says it is
    // preparing); they take it back for the run and at the end.
    void Hold(bool on);
    std::string LocalPath(const std::string& path, bool directory) const;

    TfmMain& m_window;
    TPhase m_phase = TPhase::Idle;
    TSyncOptions m_options;
    bool m_byHash = false;
    std::string m_localDir;  // ending with "/"
    std::string m_remoteDir; // absolute, ending with "/"
    std::string m_stateKey;  // the remote folder's address, for the kept state
    TSyncTree m_here;
    std::unique_ptr<TRemoteTree> m_remote;
    TSyncState m_last;
    TSyncPlan m_plan;
    std::map<std::string, TComparedName> m_marks; // the folders' own entries by name
    bool m_marking = false;
    TSyncPlan m_reviewed; // a plan being reloaded
    std::string m_error;
    TOutcome m_outcome;
    std::vector<std::string> m_settled; // paths moved or made: in step on both sides now
    bool m_remoteChanged = false;
    bool m_holding = false;
    std::function<void()> m_done;     // the caller's
    std::function<void()> m_whenIdle; // once the window is done with the run
    platform::Timer m_idleTimer;
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};
