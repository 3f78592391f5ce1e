#include "sync/RemoteTree.h"

#include <algorithm>

#include "manager/CommFunc.h"
#include "platform/Translate.h"

using platform::Fill;
using platform::Tr;

namespace {

constexpr int kMaxDepth = 64;
constexpr int kTries = 3;

} // namespace

TRemoteTree::TRemoteTree(int count, TSessionOf session, std::function<void(int, const std::string&)> log)
    : m_session(std::move(session)), m_log(std::move(log))
{
    m_workers.resize(static_cast<size_t>(std::max(count, 0)));
    for (size_t k = 0; k < m_workers.size(); ++k)
        m_workers[k].Index = static_cast<int>(k);
}

TRemoteTree::~TRemoteTree()
{
    Cancel();
}

template <typename... Args, typename Call> std::function<void(Args...)> TRemoteTree::Bound(Call call)
{
    return [alive = std::weak_ptr<bool>(m_alive), call = std::move(call)](Args... args) {
        if (auto living = alive.lock(); living && *living)
            call(args...);
    };
}

void TRemoteTree::List(const std::string& root, std::function<void()> done)
{
    m_root = root;
    m_tree = {};
    m_done = std::move(done);
    m_jobs.push_back(std::make_unique<TJob>());
    Feed();
}

void TRemoteTree::Ask(const std::vector<std::string>& times, const std::vector<std::string>& hashes,
                      std::function<void()> done)
{
    m_done = std::move(done);
    for (const std::string& path : times)
        m_jobs.push_back(std::make_unique<TJob>(TJob{TJob::TKind::Time, path}));
    if (!HashAlgorithm().empty())
        for (const std::string& path : hashes)
            m_jobs.push_back(std::make_unique<TJob>(TJob{TJob::TKind::Hash, path}));
    Feed();
}

void TRemoteTree::Delete(const std::vector<std::pair<std::string, bool>>& paths, std::function<void()> done)
{
    m_done = std::move(done);
    for (const auto& [path, directory] : paths) {
        auto job = std::make_unique<TJob>(TJob{TJob::TKind::Delete, path});
        job->Directory = directory;
        m_jobs.push_back(std::move(job));
    }
    Feed();
}

void TRemoteTree::Cancel()
{
    *m_alive = false;
    m_alive = std::make_shared<bool>(true);
    m_done = nullptr;
    m_jobs.clear();
    for (TWorker& worker : m_workers) {
        if (worker.Next)
            Session(worker).DropAhead();
        if (worker.Busy)
            Session(worker).Cancel();
        worker.Busy = false;
        worker.Job.reset();
        worker.Next.reset();
    }
}

std::string TRemoteTree::HashAlgorithm() const
{
    return m_workers.empty() ? std::string() : Session(m_workers.front()).HashAlgorithm();
}

std::string TRemoteTree::RemotePath(const TJob& job) const
{
    if (job.Kind == TJob::TKind::List)
        return m_root + job.Path + (job.Path.empty() ? "" : "/");
    return m_root + job.Path;
}

// ---------------------------------------------------------------- handing out the calls

void TRemoteTree::Feed()
{
    if (!m_done)
        return;
    for (TWorker& worker : m_workers)
        if (!worker.Busy && !worker.Out && !m_jobs.empty()) {
            std::unique_ptr<TJob> job = std::move(m_jobs.front());
            m_jobs.pop_front();
            Take(worker, std::move(job));
        }
    if (std::any_of(m_workers.begin(), m_workers.end(), [](const TWorker& worker) { return worker.Busy; }))
        return;
    // Nothing runs: all is answered, or no connection is left to ask on.
    for (const auto& job : m_jobs)
        if (job->Kind == TJob::TKind::List)
            m_tree.Fail(job->Path, Tr("Sync", "no connection could list it") +
                                       (m_noConnection.empty() ? std::string() : ": " + m_noConnection));
    m_jobs.clear();
    auto done = std::move(m_done);
    m_done = nullptr;
    done(); // may end this object
}

void TRemoteTree::Take(TWorker& worker, std::unique_ptr<TJob> job)
{
    worker.Busy = true;
    worker.Job = std::move(job);
    if (Session(worker).LoggedIn()) {
        Start(worker);
        return;
    }
    if (worker.LoginsLeft-- <= 0) {
        worker.Out = true;
        worker.Busy = false;
        m_jobs.push_front(std::move(worker.Job));
        return;
    }
    Session(worker).LogIn(Bound<const TSessionResult&>([this, &worker](const TSessionResult& result) {
        if (result.Ok()) {
            Start(worker);
            return;
        }
        m_noConnection = result.Text;
        worker.Out = true;
        worker.Busy = false;
        m_jobs.push_front(std::move(worker.Job));
        Feed();
    }));
}

void TRemoteTree::Start(TWorker& worker)
{
    const TJob& job = *worker.Job;
    ISession& session = Session(worker);
    std::string path = RemotePath(job);
    switch (job.Kind) {
    case TJob::TKind::List:
        session.List(path, false,
                     Bound<const TSessionResult&, std::vector<TRemoteEntry>>(
                         [this, &worker](const TSessionResult& result, std::vector<TRemoteEntry> entries) {
                             if (result.Ok())
                                 Listed(*worker.Job, std::move(entries));
                             Finished(worker, result);
                         }));
        break;
    case TJob::TKind::Time:
        session.ModifiedTime(
            path, Bound<const TSessionResult&, int64_t>([this, &worker](const TSessionResult& result, int64_t seconds) {
                auto entry = m_tree.Entries.find(worker.Job->Path);
                if (result.Ok() && seconds >= 0 && entry != m_tree.Entries.end()) {
                    entry->second.Time = seconds;
                    entry->second.Precision = 1;
                    entry->second.ZoneKnown = true;
                }
                Finished(worker, result);
            }));
        break;
    case TJob::TKind::Hash:
        session.Hash(path, Bound<const TSessionResult&, std::string>(
                               [this, &worker](const TSessionResult& result, std::string hex) {
                                   auto entry = m_tree.Entries.find(worker.Job->Path);
                                   if (result.Ok() && entry != m_tree.Entries.end()) {
                                       std::transform(hex.begin(), hex.end(), hex.begin(),
                                                      [](unsigned char c) { return std::tolower(c); });
                                       entry->second.Hash = hex;
                                   }
                                   Finished(worker, result);
                               }));
        break;
    case TJob::TKind::Delete:
        session.Delete(path, job.Directory, Bound<const TSessionResult&>([this, &worker](const TSessionResult& result) {
                           Finished(worker, result);
                       }));
        break;
    }
    SendAhead(worker);
}

void TRemoteTree::SendAhead(TWorker& worker)
{
    if (worker.Next || m_jobs.empty() || !worker.Busy)
        return;
    const TJob& next = *m_jobs.front();
    TAheadCall call;
    if (next.Kind == TJob::TKind::List)
        call.Kind = TAheadCall::TKind::List;
    else if (next.Kind == TJob::TKind::Time)
        call.Kind = TAheadCall::TKind::ModifiedTime;
    else
        return;
    call.Path = RemotePath(next);
    if (!Session(worker).SendAhead(call))
        return;
    worker.Next = std::move(m_jobs.front());
    m_jobs.pop_front();
}

void TRemoteTree::Finished(TWorker& worker, const TSessionResult& result)
{
    std::unique_ptr<TJob> job = std::move(worker.Job);
    bool tried = job->Kind == TJob::TKind::List || job->Kind == TJob::TKind::Delete;
    if (!result.Ok() && result.Failure != TFailure::Cancelled && tried) {
        // A directory its parent listed should list: any failure of a listing is tried again
        // (a data connection that a server closed on commands sent ahead fails so, and looks
        // permanent); a deletion only when it may go another time.
        bool again = job->Kind == TJob::TKind::List || result.Failure == TFailure::Transient;
        if (again && ++job->Attempts < kTries) {
            m_log(worker.Index, Tr("Sync", "! Again: ") + RemotePath(*job) + ": " + result.Text);
            m_jobs.push_back(std::move(job));
        } else if (job->Kind == TJob::TKind::List) {
            m_tree.Fail(job->Path, result.Text.empty() ? Tr("Sync", "the listing failed") : result.Text);
        } else {
            m_failures.emplace_back(job->Path, result.Text);
        }
    }
    bool lost = !Session(worker).LoggedIn();
    if (worker.Next && !lost) {
        worker.Job = std::move(worker.Next);
        Start(worker);
        return;
    }
    if (worker.Next) {
        Session(worker).DropAhead();
        m_jobs.push_front(std::move(worker.Next));
    }
    worker.Busy = false;
    Feed();
}

void TRemoteTree::Listed(const TJob& job, std::vector<TRemoteEntry> entries)
{
    if (LooksCut(entries.size()))
        m_tree.Fail(job.Path,
                    Fill(Tr("Sync", "its listing holds exactly %1 entries, as a server that cuts listings short gives"),
                         {std::to_string(entries.size())}));
    for (TRemoteEntry& listed : entries) {
        // A name that cannot stand for one entry of the directory ("..", "a/b") names nothing
        // that could be synchronized.
        if (!IsSafeEntryName(listed.Name))
            continue;
        std::string path = job.Path.empty() ? listed.Name : job.Path + "/" + listed.Name;
        TSyncEntry entry;
        entry.Directory = listed.Kind == TRemoteKind::Directory;
        entry.Link = listed.Kind == TRemoteKind::Link;
        entry.Size = entry.Directory ? -1 : listed.Size;
        entry.Time = listed.Modified;
        m_tree.Entries[path] = entry;
        if (!entry.Directory)
            continue;
        if (job.Depth + 1 >= kMaxDepth) {
            m_tree.Fail(path, Fill(Tr("Sync", "more than %1 directories deep"), {std::to_string(kMaxDepth)}));
            continue;
        }
        auto deeper = std::make_unique<TJob>();
        deeper->Path = path;
        deeper->Depth = job.Depth + 1;
        m_jobs.push_back(std::move(deeper));
    }
}
