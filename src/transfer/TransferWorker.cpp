#include "transfer/TransferWorker.h"

#include <algorithm>
#include <fcntl.h>
#include <sys/stat.h>

#include "manager/CommFunc.h"
#include "platform/EventLoop.h"
#include "platform/Translate.h"

using platform::Fill;
using platform::Tr;

namespace {

// The transfer a segment job asks for.
TTransferRequest RequestOf(const TJob& job)
{
    const TTransferFile& file = *job.File;
    const TSegment& segment = file.Segments[job.Segment];
    TTransferRequest request;
    request.Download = file.Download;
    request.RemotePath = file.RemotePath;
    request.LocalPath = file.LocalPath;
    request.Text = file.Text;
    request.Offset = segment.Begin + segment.Done;
    // A range inside the file stops at its end by itself: nothing beyond it is written. What
    // runs to the file's end from an offset must end exactly there: more bytes would mean the
    // server sent from elsewhere than asked. From byte 0 a file may have grown since it was
    // listed.
    bool toFileEnd = segment.End < 0 || segment.End >= file.Size;
    request.End = toFileEnd ? -1 : segment.End;
    request.FileEnd = toFileEnd && request.Offset > 0 ? file.Size : -1;
    return request;
}

// The call of a job, for sending it ahead; false for one that goes in its turn only (a
// directory to make, a link to list, which may name a file).
bool CallOf(const TJob& job, TAheadCall& call)
{
    if (job.Kind == TJob::TKind::List && !job.Link) {
        call.Kind = TAheadCall::TKind::List;
        call.Path = job.RemotePath;
        return true;
    }
    if (job.Kind == TJob::TKind::Segment) {
        call.Kind = TAheadCall::TKind::Transfer;
        call.Transfer = RequestOf(job);
        return true;
    }
    return false;
}

void SetLocalTime(const std::string& path, int64_t seconds)
{
    timespec times[2] = {{0, UTIME_OMIT}, {static_cast<time_t>(seconds), 0}};
    ::utimensat(AT_FDCWD, path.c_str(), times, 0);
}

} // namespace

TTransferWorker::TTransferWorker(TTransferRun& run, int connection)
    : m_run(run), m_connection(connection), m_loginsLeft(run.m_host.Settings().ConnectionRetryTimes)
{
    ISession& session = Session();
    session.OnProgress = [this](int64_t position) {
        m_position = position;
        if (m_job && m_job->Kind == TJob::TKind::Segment)
            m_run.m_host.PositionReported(m_connection, position);
    };
    session.OnDataEnd = [this](int64_t reached) { DataEnded(reached); };
}

TTransferWorker::~TTransferWorker()
{
    *m_alive = false;
    ISession& session = Session();
    session.OnProgress = nullptr;
    session.OnDataEnd = nullptr;
}

ISession& TTransferWorker::Session() const
{
    return m_run.m_host.RunSession(m_connection);
}

template <typename... Args, typename Call> std::function<void(Args...)> TTransferWorker::Bound(Call call)
{
    return [alive = std::weak_ptr<bool>(m_alive), call = std::move(call)](Args... args) {
        if (auto living = alive.lock(); living && *living)
            call(args...);
    };
}

// ---------------------------------------------------------------- taking a job

void TTransferWorker::Take(std::unique_ptr<TJob> job)
{
    m_job = std::move(job);
    m_position = 0;
    ISession& session = Session();
    if (session.LoggedIn()) {
        Start();
        return;
    }
    if (m_everLoggedIn) {
        // Lost during the run: in again while the settings allow, else the others carry on.
        if (m_loginsLeft <= 0) {
            m_state = TState::Out;
            m_run.HandBack(std::move(m_job), true);
            return;
        }
        --m_loginsLeft;
        m_run.Log(m_connection, Tr("Engine", "Logging in again"));
    }
    m_state = TState::LoggingIn;
    session.LogIn(Bound<const TSessionResult&>([this](const TSessionResult& result) { LoggedIn(result); }));
    // The job's calls may go with the rest of the login.
    if (TAheadCall call; CallOf(*m_job, call))
        session.SendAhead(call);
}

bool TTransferWorker::LoggedIn() const
{
    return Session().LoggedIn();
}

void TTransferWorker::LogInAhead()
{
    if (m_state != TState::Idle || m_everLoggedIn || Session().LoggedIn())
        return;
    m_state = TState::LoggingIn;
    Session().LogIn(Bound<const TSessionResult&>([this](const TSessionResult& result) { LoggedIn(result); }));
}

void TTransferWorker::LoggedIn(const TSessionResult& result)
{
    if (!result.Ok()) {
        // Refused or unreachable (a server's connection limit, say): the others carry on.
        m_state = TState::Out;
        m_run.HandBack(std::move(m_job), true);
        m_run.m_host.ConnectionLostRow(m_connection);
        m_run.Feed();
        return;
    }
    m_everLoggedIn = true;
    if (!m_job || m_run.m_aborting) {
        m_run.HandBack(std::move(m_job), true);
        m_state = TState::Idle;
        m_run.Feed();
        return;
    }
    Start();
}

void TTransferWorker::Start()
{
    m_state = TState::Working;
    ISession& session = Session();
    TJob& job = *m_job;
    switch (job.Kind) {
    case TJob::TKind::List:
        session.List(job.RemotePath, job.Link,
                     Bound<const TSessionResult&, std::vector<TRemoteEntry>>(
                         [this](const TSessionResult& result, std::vector<TRemoteEntry> entries) {
                             m_run.Listed(m_connection, std::move(m_job), result, std::move(entries));
                             if (!result.Ok() && !Session().LoggedIn())
                                 ConnectionLost();
                             Next();
                         }));
        return;
    case TJob::TKind::MakeDir:
        session.MakeDir(job.RemotePath, Bound<const TSessionResult&>([this](const TSessionResult& result) {
                            m_run.DirectoryMade(m_connection, std::move(m_job), result);
                            if (!result.Ok() && !Session().LoggedIn())
                                ConnectionLost();
                            Next();
                        }));
        return;
    case TJob::TKind::Segment: {
        TSegment& segment = job.File->Segments[job.Segment];
        segment.State = TSegmentState::Running;
        segment.Connection = m_connection;
        job.File->State = TFileState::Moving;
        if (job.File->StartedMs < 0)
            job.File->StartedMs = platform::tickCount();
        if (std::find(job.File->Connections.begin(), job.File->Connections.end(), m_connection) ==
            job.File->Connections.end())
            job.File->Connections.push_back(m_connection);
        m_position = segment.Begin + segment.Done;
        m_run.m_host.ItemStarted(m_connection, SegmentItem(*job.File, segment));
        TTransferRequest request = RequestOf(job);
        request.Limiter = &m_run.SpeedLimit(job.File->Download);
        session.Transfer(request,
                         Bound<const TTransferResult&>([this](const TTransferResult& result) { SegmentDone(result); }));
        return;
    }
    }
}

// ---------------------------------------------------------------- commands sent ahead

void TTransferWorker::DataEnded(int64_t reached)
{
    if (m_next || m_state != TState::Working || !m_job || m_run.m_aborting)
        return;
    ISession& session = Session();
    if (m_job->Kind == TJob::TKind::Segment) {
        // A file longer or shorter than listed asks its size, a file of ranges its hash:
        // whatever else the server is asked must come before the next job's calls, so only a
        // whole file of its listed size goes on, asking at most its time.
        const TTransferFile& file = *m_job->File;
        if (!file.Download || file.Split() || reached != file.Size || file.Segments[0].Begin > 0 ||
            (!session.HashAlgorithm().empty() && file.SizeDisputed))
            return;
        bool timeWanted = m_run.m_host.Settings().KeepRemoteTimes && file.RemoteTime < 0;
        if (timeWanted && !session.SendAhead({TAheadCall::TKind::ModifiedTime, {}, file.RemotePath}))
            return;
    }
    SendNextAhead();
}

void TTransferWorker::SendNextAhead()
{
    if (m_next || m_run.m_aborting)
        return;
    std::unique_ptr<TJob> next = m_run.TakeJob();
    if (!next)
        return;
    TAheadCall call;
    if (!CallOf(*next, call) || !Session().SendAhead(call)) {
        m_run.HandBack(std::move(next), true);
        return;
    }
    m_next = std::move(next);
}

// ---------------------------------------------------------------- a segment's end

void TTransferWorker::SegmentDone(const TTransferResult& result)
{
    std::unique_ptr<TJob> job = std::move(m_job);
    TTransferFile* file = job->File;
    m_run.MovedBytes = SaturatingAdd(m_run.MovedBytes, result.Bytes);
    bool lost = !result.Ok() && !Session().LoggedIn();
    TTransferRun::TAfter after = m_run.SegmentEnded(m_connection, std::move(job), result);
    if (lost)
        ConnectionLost();
    switch (after) {
    case TTransferRun::TAfter::Nothing:
        Next();
        return;
    case TTransferRun::TAfter::CheckSize:
        CheckSize(*file, result.Reached());
        return;
    case TTransferRun::TAfter::CheckFile:
        if (file->Download)
            CheckFile(*file);
        else
            UploadDone(*file);
        return;
    }
}

void TTransferWorker::CheckSize(TTransferFile& file, int64_t reached)
{
    m_state = TState::Checking;
    Session().Size(file.RemotePath, Bound<const TSessionResult&, int64_t>(
                                        [this, &file, reached](const TSessionResult& result, int64_t size) {
                                            if (m_run.SizeAnswered(m_connection, file, result, size, reached))
                                                CheckFile(file);
                                            else
                                                Next();
                                        }));
}

void TTransferWorker::CheckFile(TTransferFile& file)
{
    m_state = TState::Checking;
    file.State = TFileState::Checking;
    ISession& session = Session();
    if (!m_run.m_host.Settings().KeepRemoteTimes || !session.LoggedIn()) {
        CheckHash(file);
        return;
    }
    if (file.RemoteTime >= 0) { // the listing told it: no question needed
        SetLocalTime(file.LocalPath, file.RemoteTime);
        file.TimeKept = true;
        CheckHash(file);
        return;
    }
    session.ModifiedTime(
        file.RemotePath,
        Bound<const TSessionResult&, int64_t>([this, &file](const TSessionResult& result, int64_t seconds) {
            if (result.Ok() && seconds >= 0) {
                SetLocalTime(file.LocalPath, seconds);
                file.TimeKept = true;
            } else {
                m_run.Log(m_connection,
                          Fill(Tr("Engine", "! No modification time of %1 from the server"), {file.RemotePath}));
            }
            CheckHash(file);
        }));
}

void TTransferWorker::CheckHash(TTransferFile& file)
{
    ISession& session = Session();
    std::string algorithm = session.HashAlgorithm();
    if (algorithm.empty() || !(file.Split() || file.SizeDisputed) || !session.LoggedIn()) {
        m_run.FileDone(file);
        Next();
        return;
    }
    // The file's bytes are all in: one question settles whether they make the server's file.
    session.Hash(file.RemotePath, Bound<const TSessionResult&, std::string>(
                                      [this, &file, algorithm](const TSessionResult& result, std::string hex) {
                                          if (!result.Ok() || hex.empty()) {
                                              m_run.Log(m_connection,
                                                        Fill(Tr("Engine", "! No %1 of %2 from the server: not checked"),
                                                             {algorithm, file.RemotePath}));
                                              m_run.FileDone(file);
                                          } else {
                                              m_run.CompareHash(m_connection, file, algorithm, hex);
                                          }
                                          Next(); // the local digest comes on its own thread
                                      }));
}

void TTransferWorker::UploadDone(TTransferFile& file)
{
    ISession& session = Session();
    struct stat info
    {
    };
    if (!m_run.m_host.Settings().KeepRemoteTimes || !session.CanSetModifiedTime() || !session.LoggedIn() ||
        ::stat(file.LocalPath.c_str(), &info) != 0) {
        m_run.FileDone(file);
        Next();
        return;
    }
    m_state = TState::Checking;
    session.SetModifiedTime(file.RemotePath, info.st_mtime,
                            Bound<const TSessionResult&>([this, &file](const TSessionResult& result) {
                                if (result.Ok())
                                    file.TimeKept = true;
                                else
                                    m_run.Log(m_connection, Tr("Engine", "! The server did not take the file's time"));
                                m_run.FileDone(file);
                                Next();
                            }));
    SendNextAhead(); // its calls go out while the server sets the time
}

// ---------------------------------------------------------------- between jobs

void TTransferWorker::Next()
{
    m_job.reset();
    if (m_next && Session().LoggedIn() && !m_run.m_aborting) {
        Take(std::move(m_next));
        return;
    }
    if (m_next) {
        Session().DropAhead();
        m_run.HandBack(std::move(m_next), true);
    }
    if (m_state != TState::Out)
        m_state = TState::Idle;
    m_run.Feed();
}

void TTransferWorker::ConnectionLost()
{
    m_run.m_host.ConnectionLostRow(m_connection);
    if (m_next)
        m_run.HandBack(std::move(m_next), true);
}

void TTransferWorker::Abort()
{
    if (m_next) {
        Session().DropAhead();
        m_run.HandBack(std::move(m_next), true);
    }
    if (m_state == TState::LoggingIn || m_state == TState::Working || m_state == TState::Checking)
        Session().Cancel();
}

void TTransferWorker::Release()
{
    *m_alive = false;
    if (m_next)
        m_run.HandBack(std::move(m_next), false);
    if (m_job) {
        if (m_job->Kind == TJob::TKind::Segment) {
            TSegment& segment = m_job->File->Segments[m_job->Segment];
            m_run.m_host.ItemLeft(m_connection, SegmentItem(*m_job->File, segment));
            int64_t reached = m_position - segment.Begin;
            if (reached > segment.Done && segment.Begin + reached < m_job->File->EndOf(segment))
                segment.Done = reached;
        }
        m_run.HandBack(std::move(m_job), false);
    }
    if (Session().LoggedIn())
        Session().DropAhead();
    m_state = TState::Out;
}
