#pragma once

// A remote folder listed as a tree on several connections at once: each free connection lists
// the next directory found, and sends the one after it ahead where its session can. Then, for
// the files that need it, their exact times (where the listing gave none) and their hashes;
// and, for a synchronization, the deletions of files and directories. A directory that cannot
// be listed after a few tries is named in the tree as failed.

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "manager/Session.h"
#include "sync/SyncTree.h"

class TRemoteTree
{
public:
    // count connections to work on, logged in or not, each asked for its session whenever it
    // starts a call (a connection lent to others meanwhile is taken back so); log: a line for a
    // connection's log.
    using TSessionOf = std::function<ISession&(int connection)>;
    TRemoteTree(int count, TSessionOf session, std::function<void(int connection, const std::string&)> log);
    ~TRemoteTree();
    TRemoteTree(const TRemoteTree&) = delete;
    TRemoteTree& operator=(const TRemoteTree&) = delete;

    // Lists root (an absolute remote directory ending with "/") and everything below it into
    // Tree(); done once every directory is listed or given up.
    void List(const std::string& root, std::function<void()> done);
    // Asks the times of these files of the tree (relative paths), then their hashes where
    // hashes is set and the server offers one; done when all are answered.
    void Ask(const std::vector<std::string>& times, const std::vector<std::string>& hashes, std::function<void()> done);
    // Deletes these entries (relative paths, with whether each is a directory), all at once:
    // a directory's contents go in an earlier call. What the server refuses is in Failures().
    void Delete(const std::vector<std::pair<std::string, bool>>& paths, std::function<void()> done);
    // Stops: no more calls, and done is not called.
    void Cancel();

    TSyncTree& Tree() { return m_tree; }
    // The algorithm of the server's hashes; empty when it offers none.
    std::string HashAlgorithm() const;
    // No connection could log in: why.
    const std::string& NoConnection() const { return m_noConnection; }
    // Deletions refused: the path and the server's words.
    const std::vector<std::pair<std::string, std::string>>& Failures() const { return m_failures; }

private:
    struct TJob
    {
        enum class TKind
        {
            List,
            Time,
            Hash,
            Delete
        } Kind = TKind::List;
        std::string Path;       // relative; a directory's without "/"
        bool Directory = false; // a deletion's
        int Depth = 0;
        int Attempts = 0;
    };
    struct TWorker
    {
        int Index = 0;
        bool Busy = false;
        bool Out = false;
        int LoginsLeft = 2;
        std::unique_ptr<TJob> Job;
        std::unique_ptr<TJob> Next; // sent ahead
    };

    ISession& Session(const TWorker& worker) const { return m_session(worker.Index); }
    void Feed();
    void Take(TWorker& worker, std::unique_ptr<TJob> job);
    void Start(TWorker& worker);
    void SendAhead(TWorker& worker);
    void Finished(TWorker& worker, const TSessionResult& result);
    void Listed(const TJob& job, std::vector<TRemoteEntry> entries);
    bool Retry(TWorker& worker, std::unique_ptr<TJob> job, const TSessionResult& result);
    std::string RemotePath(const TJob& job) const;
    template <typename... Args, typename Call> std::function<void(Args...)> Bound(Call call);

    std::string m_root;
    TSyncTree m_tree;
    std::vector<TWorker> m_workers;
    std::deque<std::unique_ptr<TJob>> m_jobs;
    std::function<void()> m_done;
    TSessionOf m_session;
    std::function<void(int, const std::string&)> m_log;
    std::string m_noConnection;
    std::vector<std::pair<std::string, std::string>> m_failures;
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};
