#include "transfer/TransferRun.h"

#include <chrono>

// What the workers' jobs come to. A listed directory gives files, which start moving at once,
// and directories, listed by whichever connection is free; local paths are built only from
// checked names and must lie inside the directory the selection went into. A segment is done
// only when the bytes that arrived are the bytes expected: a range cut short goes on from where
// it stopped, a whole file whose length disagrees with its listing is settled by the server's
// size (and hash), a server that ignores offsets gets every file whole.

#include <algorithm>

#include <sys/stat.h>
#include <unistd.h>

#include "manager/CommFunc.h"
#include "platform/EventLoop.h"
#include "platform/FileHash.h"
#include "platform/LocalFiles.h"
#include "transfer/TransferWorker.h"
#include "platform/Translate.h"

using platform::Fill;
using platform::Tr;

namespace {

// A short transfer or a failed check: worth another try, as a "not now" reply is.
constexpr int kIncomplete = 426;

// A whole file written over a longer one it replaced keeps none of the old tail.
void CutToSize(const std::string& path, int64_t size)
{
    struct stat info = {};
    if (::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && info.st_size > size)
        ::truncate(path.c_str(), size);
}

// What a listing holds, for telling two names of one directory apart from two directories.
std::string ListingContents(const std::vector<TRemoteEntry>& entries)
{
    std::string contents;
    for (const TRemoteEntry& entry : entries)
        contents += std::to_string(static_cast<int>(entry.Kind)) + entry.Name + '\0' + entry.SizeText + '\0' +
                    std::to_string(entry.Modified) + '\0' + entry.Unique + '\n';
    return contents;
}

// "/a/b/./../c/" -> "/a/c/"; empty when it climbs above the root.
std::string Normalized(const std::string& path)
{
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= path.size()) {
        size_t slash = path.find('/', start);
        std::string part = path.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
        if (part == "..") {
            if (parts.empty())
                return {};
            parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        if (slash == std::string::npos)
            break;
        start = slash + 1;
    }
    std::string joined = "/";
    for (const std::string& part : parts)
        joined += part + "/";
    return joined;
}

} // namespace

// ---------------------------------------------------------------- the walk

void TTransferRun::WalkSkip(const std::string& path, int code, const std::string& reason)
{
    Log(0, Fill(Tr("Engine", "! Not walked: %1"), {path + ": " + reason}));
    // A failure of the walk's own making (no reply to blame) counts as 550, as a refusal would.
    m_skipped.push_back({path, code != 0 ? code : 550, reason});
}

std::string TTransferRun::LinkDirectory(const TJob& parent, const TRemoteEntry& entry)
{
    // A link to a directory is walked under the link's own name; where it leads is followed
    // only while it stays in the walked tree and is no directory walked already. Without a
    // target (MLSD names none) the server resolves the link's own name.
    const std::string& target = entry.LinkTarget;
    std::string path = target.empty()     ? parent.RemotePath + entry.Name + "/"
                       : target[0] == '/' ? EnsureTrailing(target, '/')
                                          : parent.RemotePath + target + "/";
    std::string resolved = Normalized(path);
    std::string name = parent.RemotePath + entry.Name + "/";
    if (resolved.empty() || resolved.rfind(parent.RemoteRoot, 0) != 0) {
        WalkSkip(name, 0, Fill(Tr("Engine", "the link leads to %1, outside the walked tree"), {path}));
        return {};
    }
    if (m_walked.count(resolved) != 0 || parent.RemotePath.rfind(resolved, 0) == 0) {
        WalkSkip(name, 0, Fill(Tr("Engine", "the link leads to %1, a directory walked already"), {resolved}));
        return {};
    }
    return target.empty() ? name : resolved;
}

void TTransferRun::Listed(int connection, std::unique_ptr<TJob> job, const TSessionResult& result,
                          std::vector<TRemoteEntry> entries)
{
    if (!result.Ok()) {
        ++job->Attempts;
        if (result.Failure == TFailure::Cancelled ||
            (result.Failure == TFailure::Transient && job->Attempts <= m_host.Settings().ConnectionRetryTimes)) {
            HandBack(std::move(job), false);
            return;
        }
        // A link to a file is tried as a directory too; only a real directory's refusal counts.
        if (!job->Link)
            WalkSkip(job->RemotePath, result.Code, result.Text);
        return;
    }
    // Many connections finish their listings in the same turn of the event loop, and each entry
    // costs a look at the local disk: they are gone through a few at a time, the window and the
    // transfers moving in between.
    m_arrived.push_back({connection, std::move(job), std::move(entries)});
    if (m_arrived.size() == 1) {
        uint64_t generation = m_generation;
        m_arrivedPost.post([this, generation] {
            if (generation == m_generation)
                WalkArrived();
        });
    }
}

void TTransferRun::WalkArrived()
{
    constexpr auto kTurn = std::chrono::milliseconds(10);
    auto start = std::chrono::steady_clock::now();
    while (!m_arrived.empty() && !m_aborting && std::chrono::steady_clock::now() - start < kTurn) {
        TArrivedListing listing = std::move(m_arrived.front());
        m_arrived.pop_front();
        Walk(listing.Connection, std::move(listing.Job), listing.Entries);
    }
    if (!m_arrived.empty() && !m_aborting) {
        uint64_t generation = m_generation;
        m_arrivedPost.post([this, generation] {
            if (generation == m_generation)
                WalkArrived();
        });
    }
    Feed();
}

void TTransferRun::HandBackArrived()
{
    while (!m_arrived.empty()) {
        HandBack(std::move(m_arrived.front().Job), false);
        m_arrived.pop_front();
    }
}

void TTransferRun::Walk(int connection, std::unique_ptr<TJob> job, const std::vector<TRemoteEntry>& entries)
{
    if (!job->Unique.empty()) {
        TUniqueSeen& seen = m_uniques[job->Unique];
        std::string contents = ListingContents(entries);
        if (!job->Repeated || !seen.Listed) {
            seen.Contents = contents;
            seen.Listed = true;
        } else if (contents == seen.Contents) {
            // Same unique fact, same entries: this name leads to a directory walked already.
            WalkSkip(job->RemotePath, 0, Fill(Tr("Engine", "the same directory as %1, walked there"), {seen.Path}));
            return;
        }
    }
    // Its local directory, made now (empty ones too) where it stays inside the chosen one: a
    // link among the local directories leads nothing out of it.
    if (!platform::isInsideDirectory(job->LocalPath, job->Root)) {
        WalkSkip(job->RemotePath, 0, Fill(Tr("Engine", "its local path lies outside %1"), {job->Root}));
        return;
    }
    MakeLocalDirs(job->LocalPath);
    int childDepth = job->Depth + 1;
    std::vector<std::unique_ptr<TJob>> links;
    for (const TRemoteEntry& entry : entries) {
        const std::string& name = entry.Name;
        std::string remote = job->RemotePath + name;
        if (!IsSafeEntryName(name)) {
            if (name != "." && name != "..")
                WalkSkip(remote, 0, Tr("Engine", "an unsafe name"));
            continue;
        }
        if (entry.Kind == TRemoteKind::File) {
            if (entry.Size < 0)
                Log(connection,
                    Fill(Tr("Engine", "! No size for %1 (\"%2\"), counted as 0"), {remote, entry.SizeText}));
            int64_t size = std::max<int64_t>(entry.Size, 0);
            if (size > kLargestFileSize) {
                std::string why =
                    Fill(Tr("Engine", "its size, %1 bytes, is more than any file has"), {FormatThousands(size)});
                Log(connection, Fill(Tr("Engine", "! Not queued: %1"), {remote + ": " + why}));
                m_skipped.push_back({remote, 550, why});
                continue;
            }
            // Its directory lies inside and its name has no slash: only a link of that name
            // already there could lead out (and resolving every file's path costs a listing of
            // thousands a noticeable pause).
            std::string local = job->LocalPath + name;
            if (platform::isSymbolicLink(local) && !platform::isInsideDirectory(local, job->Root)) {
                Log(connection, Fill(Tr("Engine", "! Not queued: %1 lies outside %2"), {local, job->Root}));
                m_skipped.push_back({remote, 550, Fill(Tr("Engine", "its local path lies outside %1"), {job->Root})});
                continue;
            }
            auto file = std::make_unique<TTransferFile>();
            file->RemotePath = remote;
            file->LocalPath = local;
            file->Size = size;
            file->RemoteTime = entry.Modified;
            file->Segments.push_back({});
            AddFile(std::move(file), false);
            continue;
        }
        if (childDepth > kMaxWalkDepth) {
            WalkSkip(remote, 0, Tr("Engine", "it lies deeper than ") + std::to_string(kMaxWalkDepth));
            continue;
        }
        auto child = std::make_unique<TJob>();
        child->Kind = TJob::TKind::List;
        child->LocalPath = job->LocalPath + name + "/";
        child->Root = job->Root;
        child->RemoteRoot = job->RemoteRoot;
        child->Depth = childDepth;
        if (entry.Kind == TRemoteKind::Link) {
            child->Link = true;
            child->RemotePath = LinkDirectory(*job, entry);
            if (!child->RemotePath.empty())
                links.push_back(std::move(child));
            continue;
        }
        child->RemotePath = remote + "/";
        child->Unique = entry.Unique;
        m_walked.insert(child->RemotePath);
        // MLSD shows a link to a directory as a directory on some servers, with the unique
        // fact of the directory it leads to: such a one waits until the rest is walked.
        if (!entry.Unique.empty() &&
            !m_uniques.emplace(entry.Unique, TUniqueSeen{child->RemotePath, {}, false}).second) {
            child->Repeated = true;
            m_repeated.push_back(std::move(child));
            continue;
        }
        AddJob(std::move(child));
    }
    // Links go after the directories beside them, so a link to one of those finds it walked.
    for (auto& link : links) {
        m_walked.insert(Normalized(link->RemotePath));
        AddJob(std::move(link));
    }
    CheckFreeSpace(); // for the files this directory holds, all at once
}

void TTransferRun::DirectoryMade(int connection, std::unique_ptr<TJob> job, const TSessionResult& result)
{
    if (!result.Ok()) {
        ++job->Attempts;
        if (result.Failure == TFailure::Cancelled ||
            (result.Failure == TFailure::Transient && job->Attempts <= m_host.Settings().ConnectionRetryTimes)) {
            HandBack(std::move(job), true);
            return;
        }
        // Most often it is there already; the files tell otherwise when they go.
        Log(connection, "! " + job->RemotePath + ": " + result.Text);
    }
    m_dirsMade.insert(job->RemotePath);
    for (auto& file : m_files) {
        if (file->State != TFileState::Waiting || file->AwaitsDirectory != job->RemotePath)
            continue;
        file->AwaitsDirectory.clear();
        QueueSegments(*file);
    }
}

// ---------------------------------------------------------------- segments

bool TTransferRun::FileBusy(const TTransferFile& file) const
{
    return std::any_of(file.Segments.begin(), file.Segments.end(),
                       [](const TSegment& segment) { return segment.State == TSegmentState::Running; });
}

TTransferRun::TAfter TTransferRun::SegmentEnded(int connection, std::unique_ptr<TJob> job,
                                                const TTransferResult& result)
{
    TTransferFile& file = *job->File;
    TSegment& segment = file.Segments[job->Segment];
    m_host.ItemLeft(connection, SegmentItem(file, segment));
    segment.Connection = -1;
    if (file.RefetchPending) {
        // A range of a file that comes again whole: what it wrote does not count.
        segment.State = TSegmentState::Waiting;
        QueueWholeWhenFree(file);
        return TAfter::Nothing;
    }
    if (file.Download && result.Overrun) {
        segment.State = TSegmentState::Waiting;
        m_offsetsIgnored = true;
        FetchAgainWhole(file, Tr("Engine", "the server sent from byte 0, not from the offset asked for"));
        return TAfter::Nothing;
    }
    int64_t reached = result.Reached();
    int64_t end = file.EndOf(segment);
    if (file.Download && reached > segment.Begin + segment.Done && reached < end)
        segment.Done = reached - segment.Begin; // the bytes before it are on disk
    if (!result.Ok()) {
        if (result.Failure == TFailure::Cancelled) {
            HandBack(std::move(job), false);
            return TAfter::Nothing;
        }
        SegmentFailed(connection, std::move(job), result.Failure, result.Text);
        return TAfter::Nothing;
    }
    if (!file.Download) {
        segment.Done = file.Size - segment.Begin;
        SegmentFinished(file, segment);
        return file.AllDone() ? TAfter::CheckFile : TAfter::Nothing;
    }
    if (reached == end || (file.Text && reached > end)) {
        // Text mode turns line ends into CR LF on the way: more bytes than listed are whole.
        if (segment.End < 0)
            CutToSize(file.LocalPath, reached);
        segment.Done = end - segment.Begin;
        SegmentFinished(file, segment);
        return file.AllDone() ? TAfter::CheckFile : TAfter::Nothing;
    }
    if (file.Text || segment.End >= 0) {
        // A range stops at its end by itself: it can only be short, and goes on from there.
        Log(connection, Fill(Tr("Engine", "! Only %1 of %2 bytes of %3 arrived"),
                             {std::to_string(reached), std::to_string(end), file.RemotePath}));
        SegmentFailed(connection, std::move(job), TFailure::Transient,
                      Fill(Tr("Engine", "only %1 of %2 bytes received"),
                           {std::to_string(reached - segment.Begin), std::to_string(end - segment.Begin)}));
        return TAfter::Nothing;
    }
    // A whole file that is longer or shorter than listed, though the server called it complete:
    // the listing may be old, or the bytes may not be the file's. The server's size decides.
    segment.Connection = connection;
    file.State = TFileState::Checking;
    return TAfter::CheckSize;
}

void TTransferRun::SegmentFinished(TTransferFile& file, TSegment& segment)
{
    segment.State = TSegmentState::Done;
    int64_t bytes = file.EndOf(segment) - segment.Begin;
    DoneBytes = SaturatingAdd(DoneBytes, bytes);
    if (file.Download)
        m_downloadDone = SaturatingAdd(m_downloadDone, bytes);
    if (!FileBusy(file) && !file.AllDone())
        file.State = TFileState::Queued;
}

bool TTransferRun::SizeAnswered(int connection, TTransferFile& file, const TSessionResult& result, int64_t size,
                                int64_t reached)
{
    TSegment& segment = file.Segments.front();
    segment.Connection = -1;
    if (result.Ok() && size == reached) {
        Log(connection, Fill(Tr("Engine", "! %1 has %2 bytes, not %3 as listed"),
                             {file.RemotePath, std::to_string(reached), std::to_string(file.Size)}));
        TotalBytes = SaturatingAdd(TotalBytes, reached - file.Size);
        file.Size = reached;
        file.SizeDisputed = true; // the server's hash, where it offers one, checks the bytes too
        CutToSize(file.LocalPath, reached);
        segment.Done = reached - segment.Begin;
        SegmentFinished(file, segment);
        return true;
    }
    int64_t expected = result.Ok() ? size : file.Size;
    std::string why =
        Fill(Tr("Engine", "it ended at byte %1, not %2"), {std::to_string(reached), std::to_string(expected)});
    Log(connection, Fill(Tr("Engine", "! %1 ended at byte %2, not %3"),
                         {file.RemotePath, std::to_string(reached), std::to_string(expected)}));
    if (file.FetchedAgain) {
        segment.State = TSegmentState::Failed;
        FileFailed(file, why + Tr("Engine", ", twice"));
        return false;
    }
    // What arrived is not trusted as a start to go on from: the file comes once more whole.
    if (result.Ok() && expected != file.Size) {
        TotalBytes = SaturatingAdd(TotalBytes, expected - file.Size);
        file.Size = expected;
    }
    file.FetchedAgain = true;
    segment.State = TSegmentState::Waiting;
    Log(connection, Fill(Tr("Engine", "Will fetch %1 once more from byte 0"), {file.RemotePath}));
    FetchAgainWhole(file, "");
    return false;
}

void TTransferRun::SegmentFailed(int connection, std::unique_ptr<TJob> job, TFailure failure, const std::string& reason)
{
    TTransferFile& file = *job->File;
    TSegment& segment = file.Segments[job->Segment];
    ++segment.Attempts;
    int retries = m_host.Settings().ConnectionRetryTimes;
    if (failure == TFailure::Transient && segment.Attempts <= retries) {
        Log(connection, Fill(Tr("Engine", "Will try %1 again (%2 of %3)"),
                             {file.RemotePath, std::to_string(segment.Attempts), std::to_string(retries)}));
        HandBack(std::move(job), false);
        return;
    }
    segment.State = TSegmentState::Failed;
    FileFailed(file, reason.empty() ? "error" : reason);
}

void TTransferRun::FileFailed(TTransferFile& file, const std::string& reason)
{
    if (file.State != TFileState::Failed) {
        Log(0, Fill(Tr("Engine", "Not completed: %1 (%2)"), {file.RemotePath, reason}));
        Failures.push_back({file.RemotePath, reason});
    }
    file.State = TFileState::Failed;
    file.Reason = reason;
    file.EndedMs = platform::tickCount();
}

void TTransferRun::FileDone(TTransferFile& file)
{
    if (file.State == TFileState::Failed)
        return;
    file.State = TFileState::Done;
    file.BytesChecked = file.Size;
    file.EndedMs = platform::tickCount();
}

void TTransferRun::FetchAgainWhole(TTransferFile& file, const std::string& why)
{
    if (!why.empty())
        Log(0, "! " + file.RemotePath + ": " + why +
                   Tr("Engine",
                      "; it comes again from byte 0 in one stream, and nothing more is fetched from an offset on "
                      "this server"));
    // What its segments counted goes; the ones still moving are stopped and dropped when they end.
    for (TSegment& segment : file.Segments)
        if (segment.State == TSegmentState::Done)
            DoneBytes -= file.EndOf(segment) - segment.Begin;
    DropSegmentJobs(file);
    file.RefetchPending = true;
    for (auto& worker : m_workers)
        if (worker->Job() && worker->Job()->Kind == TJob::TKind::Segment && worker->Job()->File == &file)
            worker->Abort();
    QueueWholeWhenFree(file);
}

void TTransferRun::QueueWholeWhenFree(TTransferFile& file)
{
    if (FileBusy(file))
        return; // a range still writes into the file
    file.RefetchPending = false;
    file.Segments.assign(1, TSegment{});
    file.State = TFileState::Queued;
    auto job = std::make_unique<TJob>();
    job->Kind = TJob::TKind::Segment;
    job->File = &file;
    m_segmentJobs.push_front(std::move(job));
}

// ---------------------------------------------------------------- the server's hash

void TTransferRun::CompareHash(int connection, TTransferFile& file, const std::string& algorithm,
                               const std::string& remote)
{
    file.State = TFileState::Checking;
    ++m_hashesPending;
    uint64_t generation = m_generation;
    // A big file takes seconds to read: the window and the other connections move meanwhile.
    platform::FileDigestInBackground(file.LocalPath, algorithm,
                                     [this, generation, connection, &file, algorithm, remote](std::string local) {
                                         if (generation != m_generation)
                                             return;
                                         --m_hashesPending;
                                         HashCompared(connection, file, algorithm, local == remote);
                                         Feed();
                                     });
}

void TTransferRun::HashCompared(int connection, TTransferFile& file, const std::string& algorithm, bool same)
{
    file.HashAlgorithm = algorithm;
    file.HashMatched = same;
    if (same) {
        Log(connection, Fill(Tr("Engine", "! %1: %2 matches the server's"), {file.RemotePath, algorithm}));
        FileDone(file);
        return;
    }
    Log(connection, Fill(Tr("Engine", "! %1: %2 differs from the server's"), {file.RemotePath, algorithm}));
    if (file.FetchedAgain) {
        // It came whole once more already, and still is not the server's file.
        for (TSegment& segment : file.Segments)
            segment.State = TSegmentState::Failed;
        FileFailed(file, Fill(Tr("Engine", "%1 differs from the server's, twice"), {algorithm}));
        return;
    }
    Log(connection, Fill(Tr("Engine", "Will try %1 again in one stream"), {file.RemotePath}));
    file.FetchedAgain = true;
    file.SizeDisputed = false;
    FetchAgainWhole(file, "");
}
