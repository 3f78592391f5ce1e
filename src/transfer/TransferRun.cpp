#include "transfer/TransferRun.h"

#include <algorithm>

#include "manager/CommFunc.h"
#include "platform/AtomicFile.h"
#include "transfer/TransferWorker.h"
#include "platform/Translate.h"

using platform::Fill;
using platform::Tr;

TTransferRun::TTransferRun(ITransferHost& host) : m_host(host) {}

TTransferRun::~TTransferRun()
{
    m_workers.clear();
}

int TTransferRun::FirstConnection() const
{
    return m_host.Settings().MainConnDownload ? 0 : 1;
}

int TTransferRun::WorkerCount() const
{
    return std::max(m_host.ConnectionCount() - FirstConnection(), 1);
}

// ---------------------------------------------------------------- the start

void TTransferRun::StartTransfers(TTransferQueue& queue, bool resuming)
{
    ++m_generation;
    m_savedState = m_host.SessionState();
    m_background = !m_host.Settings().MainConnDownload;
    m_queue = &queue;
    m_files.clear();
    m_listJobs.clear();
    m_arrived.clear();
    m_dirJobs.clear();
    m_segmentJobs.clear();
    m_repeated.clear();
    m_uniques.clear();
    m_walked.clear();
    m_dirsMaking.clear();
    m_dirsMade.clear();
    m_skipped.clear();
    m_questions.clear();
    m_asking = false;
    m_overwriteAll = false;
    m_skipAll = false;
    m_spaceQuestion = false;
    m_spaceKnown = -1;
    m_spaceDirectory.clear();
    m_hashesPending = 0;
    m_aborting = false;
    TotalBytes = 0;
    DoneBytes = 0;
    MovedBytes = 0;
    m_downloadFound = 0;
    m_downloadDone = 0;
    Failures.clear();
    IncompleteItems = 0;
    FailedItems = 0;
    m_running = true;
    Admit(queue, resuming);
    queue.clear();
    m_host.RunStarting();
    FillIdleConnections(m_host.ConnectionCount());
    if (m_running && m_background) {
        m_host.SetTransfersRunning(true);
        m_host.OperationDone(TOperationResult::Of(TOperation::Transfer)); // the main connection browses again
    }
}

void TTransferRun::Add(TTransferQueue& queue)
{
    if (!m_running)
        return;
    Admit(queue, false);
    queue.clear();
    Feed();
}

void TTransferRun::Admit(TTransferQueue& queue, bool resuming)
{
    std::vector<const TTransferFileInfo*> files;
    for (const auto& item : queue) {
        if (!item->IsDir) {
            files.push_back(item.get());
            continue;
        }
        auto job = std::make_unique<TJob>();
        job->RemotePath = EnsureTrailing(item->HostPath, '/');
        job->LocalPath = EnsureTrailing(item->LocalPath, '/');
        if (item->IsDownload) {
            job->Kind = TJob::TKind::List;
            job->Root = ParentDirectory(job->LocalPath.substr(0, job->LocalPath.size() - 1));
            job->RemoteRoot = job->RemotePath;
            m_walked.insert(job->RemotePath);
            job->Unique = item->Unique;
            if (!job->Unique.empty())
                m_uniques[job->Unique].Path = job->RemotePath;
        } else {
            job->Kind = TJob::TKind::MakeDir;
            m_dirsMaking.insert(job->RemotePath);
        }
        AddJob(std::move(job));
    }
    for (auto& file : FilesOfItems(files))
        AddFile(std::move(file), resuming);
    CheckFreeSpace(); // for what this selection found, all at once
}

void TTransferRun::AddFile(std::unique_ptr<TTransferFile> owned, bool resuming)
{
    m_files.push_back(std::move(owned));
    TTransferFile& file = *m_files.back();
    const TSettings& settings = m_host.Settings();
    file.Text = IsTextTransfer(file.LocalPath, settings.TextExt);
    // A big download is cut into as many ranges as there are connections; files that go in
    // text mode never are (the server converts line ends, so offsets differ), nor any on a
    // server that ignores offsets.
    if (!resuming && file.Download && !file.Split() && file.Segments.size() == 1 && file.Segments[0].Begin == 0 &&
        file.Size > settings.MTFileSize && !file.Text && !m_offsetsIgnored)
        SplitIntoSegments(file, WorkerCount());
    TotalBytes = SaturatingAdd(TotalBytes, file.BytesLeft());
    m_host.ItemFound(SegmentItem(file, file.Segments.front()));
    if (file.Download) {
        m_downloadFound = SaturatingAdd(m_downloadFound, file.BytesLeft());
        if (m_spaceDirectory.empty())
            m_spaceDirectory = ParentDirectory(file.LocalPath);
    }
    std::string directory = RemoteDirPart(file.RemotePath);
    if (!file.Download && m_dirsMaking.count(directory) != 0) {
        file.State = TFileState::Waiting;
        file.AwaitsDirectory = directory;
        return;
    }
    // A download onto an existing local file asks first, unless it resumes a half-written one
    // or replaces it by the user's choice made beforehand.
    if (!resuming && file.Download && !file.Partial && !file.Replace && platform::fileExists(file.LocalPath)) {
        AskAboutExisting(file);
        return;
    }
    QueueSegments(file);
}

void TTransferRun::QueueSegments(TTransferFile& file, bool front)
{
    file.State = TFileState::Queued;
    for (size_t k = 0; k < file.Segments.size(); ++k) {
        TSegment& segment = file.Segments[k];
        if (segment.State != TSegmentState::Waiting)
            continue;
        auto job = std::make_unique<TJob>();
        job->Kind = TJob::TKind::Segment;
        job->File = &file;
        job->Segment = k;
        if (front)
            m_segmentJobs.insert(m_segmentJobs.begin() + static_cast<long>(k), std::move(job));
        else
            m_segmentJobs.push_back(std::move(job));
    }
}

void TTransferRun::AddJob(std::unique_ptr<TJob> job, bool front)
{
    auto& jobs = job->Kind == TJob::TKind::List      ? m_listJobs
                 : job->Kind == TJob::TKind::MakeDir ? m_dirJobs
                                                     : m_segmentJobs;
    if (front)
        jobs.push_front(std::move(job));
    else
        jobs.push_back(std::move(job));
}

// ---------------------------------------------------------------- handing out jobs

bool TTransferRun::CanStart(const TJob& job) const
{
    if (job.Kind == TJob::TKind::MakeDir) {
        // A directory is made once the one above it is (when that is made in this run at all).
        std::string parent = ParentDirectory(job.RemotePath.substr(0, job.RemotePath.size() - 1));
        return m_dirsMaking.count(parent) == 0 || m_dirsMade.count(parent) != 0;
    }
    if (job.Kind == TJob::TKind::Segment)
        return !(m_spaceQuestion && job.File->Download);
    return true;
}

bool TTransferRun::AnyWorkerBusy() const
{
    return std::any_of(m_workers.begin(), m_workers.end(),
                       [](const auto& worker) { return !worker->Idle() && !worker->Out(); });
}

std::unique_ptr<TJob> TTransferRun::TakeJob()
{
    if (m_aborting)
        return nullptr;
    // Directories met again under another name are listed once the others are.
    bool listing = std::any_of(m_workers.begin(), m_workers.end(), [](const auto& worker) {
        return worker->Job() && worker->Job()->Kind == TJob::TKind::List;
    });
    if (m_listJobs.empty() && !listing && !m_repeated.empty()) {
        m_listJobs = std::move(m_repeated);
        m_repeated.clear();
    }
    for (auto* jobs : {&m_listJobs, &m_dirJobs, &m_segmentJobs}) {
        for (auto job = jobs->begin(); job != jobs->end(); ++job) {
            if (!CanStart(**job))
                continue;
            std::unique_ptr<TJob> taken = std::move(*job);
            jobs->erase(job);
            // On a server that ignores offsets a range or a resume would be written from the
            // wrong bytes: its file comes whole instead.
            if (taken->Kind == TJob::TKind::Segment && m_offsetsIgnored && taken->File->Download &&
                (taken->File->Split() || taken->File->Segments[taken->Segment].Begin > 0)) {
                TTransferFile& file = *taken->File;
                taken.reset();
                FetchAgainWhole(file, "");
                return TakeJob();
            }
            return taken;
        }
    }
    return nullptr;
}

void TTransferRun::Feed()
{
    if (!m_running || m_feeding)
        return;
    m_feeding = true;
    for (size_t w = 0; w < m_workers.size() && !m_aborting; ++w) {
        if (!m_workers[w]->Idle())
            continue;
        std::unique_ptr<TJob> job = TakeJob();
        if (!job)
            break;
        m_workers[w]->Take(std::move(job));
        if (!m_running)
            break;
    }
    // A walk under way finds more work: the connections log in meanwhile.
    bool walking = !m_listJobs.empty() || !m_arrived.empty() ||
                   std::any_of(m_workers.begin(), m_workers.end(), [](const auto& worker) {
                       return worker->Job() && worker->Job()->Kind == TJob::TKind::List;
                   });
    for (auto& worker : m_workers)
        if (walking && !m_aborting && worker->Idle())
            worker->LogInAhead();
    m_feeding = false;
    EndWhenIdle();
}

void TTransferRun::EndWhenIdle()
{
    if (!m_running || m_feeding || AnyWorkerBusy() || m_asking || !m_questions.empty() || m_spaceQuestion ||
        m_hashesPending > 0 || !m_arrived.empty())
        return;
    bool workLeft = !m_listJobs.empty() || !m_dirJobs.empty() || !m_segmentJobs.empty() || !m_repeated.empty() ||
                    std::any_of(m_files.begin(), m_files.end(),
                                [](const auto& file) { return file->State == TFileState::Waiting; });
    if (workLeft && !m_aborting) {
        bool anyWorker =
            std::any_of(m_workers.begin(), m_workers.end(), [](const auto& worker) { return !worker->Out(); });
        if (anyWorker)
            return; // the work waits for something (a directory to be made) that is under way
        m_host.ShowMessage(Tr("Engine", "DOWNLOAD FAILED ! Check status to see more information"));
    }
    EndRun();
}

void TTransferRun::FillIdleConnections(int count)
{
    if (!m_running)
        return;
    for (int i = FirstConnection(); i < count && i < m_host.ConnectionCount(); ++i) {
        bool has = std::any_of(m_workers.begin(), m_workers.end(),
                               [i](const auto& worker) { return worker->Connection() == i; });
        if (!has)
            m_workers.push_back(std::make_unique<TTransferWorker>(*this, i));
    }
    Feed();
}

void TTransferRun::ReleaseConnections(int newCount)
{
    if (!m_running)
        return;
    for (auto worker = m_workers.begin(); worker != m_workers.end();) {
        if ((*worker)->Connection() < newCount) {
            ++worker;
            continue;
        }
        (*worker)->Release();
        worker = m_workers.erase(worker);
    }
}

void TTransferRun::HandBack(std::unique_ptr<TJob> job, bool front)
{
    if (!job)
        return;
    if (job->Kind == TJob::TKind::Segment) {
        TTransferFile& file = *job->File;
        TSegment& segment = file.Segments[job->Segment];
        segment.State = TSegmentState::Waiting;
        segment.Connection = -1;
        if (file.RefetchPending) {
            QueueWholeWhenFree(file);
            return;
        }
        if (file.State == TFileState::Moving && !FileBusy(file))
            file.State = TFileState::Queued;
    }
    AddJob(std::move(job), front);
}

// ---------------------------------------------------------------- abort and the end

void TTransferRun::AbortRequested()
{
    if (!m_running)
        return;
    m_aborting = true;
    HandBackArrived();
    for (auto& worker : m_workers)
        worker->Abort();
    EndWhenIdle();
}

void TTransferRun::EndRun()
{
    if (!m_running)
        return;
    HandBackArrived();
    for (auto& worker : m_workers)
        worker->Release();
    m_workers.clear();
    // What is left goes back into the caller's queue for its broken list; a result line for
    // each, with why when it failed for good; what the walk left out is named too.
    std::vector<std::unique_ptr<TTransferFileInfo>> left = Unfinished();
    std::vector<TItemOutcome> outcomes;
    for (const auto& item : left) {
        auto failure = std::find_if(Failures.begin(), Failures.end(),
                                    [&](const TItemFailure& f) { return f.Path == item->HostPath; });
        if (failure != Failures.end())
            outcomes.push_back({item->HostPath, kItemFailed, failure->Reason, true});
        else
            outcomes.push_back({item->HostPath, kItemNotFinished,
                                item->IsDir ? Tr("Engine", "not listed") : Tr("Engine", "not finished"), true});
    }
    outcomes.insert(outcomes.end(), m_skipped.begin(), m_skipped.end());
    FailedItems = static_cast<size_t>(std::count_if(
        m_files.begin(), m_files.end(), [](const auto& file) { return file->State == TFileState::Failed; }));
    IncompleteItems = left.size();
    if (m_queue) {
        m_queue->clear();
        for (auto& item : left)
            m_queue->push_back(std::move(item));
    }
    TOperationResult result = TOperationResult::Of(TOperation::Transfer, std::move(outcomes));
    result.Bytes = MovedBytes;
    m_running = false;
    m_aborting = false;
    ++m_generation;
    m_listJobs.clear();
    m_dirJobs.clear();
    m_segmentJobs.clear();
    m_repeated.clear();
    m_questions.clear();
    TSessionState state = m_host.SessionState();
    if (m_background) {
        m_host.SetSessionState(m_savedState);
        m_host.SetTransfersRunning(false);
    }
    m_host.OperationDone(result);
    if (m_background)
        m_host.SetSessionState(state == ssTransfering ? ssConnected : state);
}

// ---------------------------------------------------------------- what the run shows

std::vector<std::unique_ptr<TTransferFileInfo>> TTransferRun::Unfinished() const
{
    std::vector<std::unique_ptr<TTransferFileInfo>> items;
    auto directory = [&](const TJob& job) {
        auto item = std::make_unique<TTransferFileInfo>();
        item->IsDownload = job.Kind == TJob::TKind::List;
        item->HostPath = job.RemotePath;
        item->LocalPath = job.LocalPath;
        item->IsDir = true;
        items.push_back(std::move(item));
    };
    for (const auto* jobs : {&m_listJobs, &m_repeated, &m_dirJobs})
        for (const auto& job : *jobs)
            directory(*job);
    for (const auto& worker : m_workers)
        if (worker->Job() && worker->Job()->Kind != TJob::TKind::Segment)
            directory(*worker->Job());
    for (const auto& file : m_files) {
        if (file->State == TFileState::Done || file->State == TFileState::Skipped)
            continue;
        for (const TSegment& segment : file->Segments) {
            if (segment.State == TSegmentState::Done)
                continue;
            TSegment reached = segment;
            // A segment on a connection counts from the offset its transfer reached.
            for (const auto& worker : m_workers) {
                const TJob* job = worker->Job();
                if (job && job->File == file.get() && &job->File->Segments[job->Segment] == &segment) {
                    int64_t done = worker->Position() - segment.Begin;
                    if (done > reached.Done && segment.Begin + done < file->EndOf(segment))
                        reached.Done = done;
                }
            }
            if (file->RefetchPending) {
                reached.Begin = 0;
                reached.Done = 0;
                reached.End = -1;
            }
            auto item = std::make_unique<TTransferFileInfo>(SegmentItem(*file, reached));
            items.push_back(std::move(item));
            if (file->RefetchPending)
                break; // a file that comes again whole is one item
        }
    }
    return items;
}

int64_t TTransferRun::PositionOf(int connection) const
{
    for (const auto& worker : m_workers)
        if (worker->Connection() == connection && worker->Job() && worker->Job()->Kind == TJob::TKind::Segment)
            return worker->Position();
    return -1;
}

std::vector<TTransferRun::TLiveSegment> TTransferRun::LiveSegments() const
{
    std::vector<TLiveSegment> live;
    for (const auto& worker : m_workers) {
        const TJob* job = worker->Job();
        if (job && job->Kind == TJob::TKind::Segment)
            live.push_back({job->File, job->Segment, worker->Position(), worker->Connection()});
    }
    return live;
}

TTransferFile* TTransferRun::Owned(const TTransferFile& file)
{
    auto found = std::find_if(m_files.begin(), m_files.end(), [&](const auto& owned) { return owned.get() == &file; });
    return found == m_files.end() ? nullptr : found->get();
}

void TTransferRun::DropSegmentJobs(const TTransferFile& file)
{
    m_segmentJobs.erase(
        std::remove_if(m_segmentJobs.begin(), m_segmentJobs.end(), [&](const auto& job) { return job->File == &file; }),
        m_segmentJobs.end());
}

bool TTransferRun::SkipFile(const TTransferFile& file)
{
    TTransferFile* owned = Owned(file);
    if (!m_running || !owned || (file.State != TFileState::Queued && file.State != TFileState::Waiting))
        return false;
    for (const auto& worker : m_workers)
        if (worker->Job() && worker->Job()->File == &file)
            return false; // a range of it is under way
    TTransferFile& skipped = *owned;
    DropSegmentJobs(skipped);
    skipped.State = TFileState::Skipped;
    TotalBytes -= skipped.BytesLeft();
    if (skipped.Download)
        m_downloadFound -= skipped.BytesLeft();
    Log(0, Tr("Engine", "Skipped at the user's word: ") + skipped.RemotePath);
    Feed(); // the run may have nothing left
    return true;
}

void TTransferRun::SetSpeedLimits(int64_t download, int64_t upload)
{
    m_downloadLimit.SetRate(download);
    m_uploadLimit.SetRate(upload);
}

bool TTransferRun::RetryFile(const TTransferFile& file)
{
    TTransferFile* owned = Owned(file);
    if (!m_running || m_aborting || !owned || file.State != TFileState::Failed)
        return false;
    TTransferFile& again = *owned;
    for (TSegment& segment : again.Segments)
        if (segment.State == TSegmentState::Failed) {
            segment.State = TSegmentState::Waiting;
            segment.Attempts = 0;
        }
    again.Reason.clear();
    again.EndedMs = -1;
    Log(0, Fill(Tr("Engine", "Will try %1 again at the user's word"), {again.RemotePath}));
    QueueSegments(again);
    FillIdleConnections(m_host.ConnectionCount());
    return true;
}

TRunFigures TTransferRun::Figures(int64_t elapsedSeconds) const
{
    TRunFigures figures;
    figures.Total = TotalBytes;
    figures.Done = DoneBytes;
    for (const auto& worker : m_workers) {
        const TJob* job = worker->Job();
        if (!job || job->Kind != TJob::TKind::Segment)
            continue;
        const TSegment& segment = job->File->Segments[job->Segment];
        int64_t moved = worker->Position() - segment.Begin - segment.Done;
        figures.Done = SaturatingAdd(figures.Done, std::clamp<int64_t>(moved, 0, job->File->EndOf(segment)));
    }
    figures.Speed = elapsedSeconds > 0 ? figures.Done / elapsedSeconds : 0;
    figures.Remain = figures.Speed > 0 ? std::max<int64_t>(figures.Total - figures.Done, 0) / figures.Speed : 0;
    figures.Percent = figures.Total > 0 ? static_cast<int>(std::min(100.0 * figures.Done / figures.Total, 100.0)) : 0;
    return figures;
}
