#include "ui/TransferRows.h"

#include <algorithm>
#include <map>
#include <set>

#include "manager/CommFunc.h"
#include "platform/Translate.h"

using platform::Fill;
using platform::Tr;

namespace {

std::string StateText(const TTransferFile& file)
{
    switch (file.State) {
    case TFileState::Waiting:
        return Tr("TTransferRows", "Waiting");
    case TFileState::Queued:
        return Tr("TTransferRows", "Queued");
    case TFileState::Moving:
        return Tr("TTransferRows", "Transferring");
    case TFileState::Checking:
        return Tr("TTransferRows", "Checking");
    case TFileState::Done:
        return Tr("TTransferRows", "Done");
    case TFileState::Failed:
        return file.Reason.empty() ? Tr("TTransferRows", "Failed")
                                   : Fill(Tr("TTransferRows", "Failed: %1"), {file.Reason});
    case TFileState::Skipped:
        return Tr("TTransferRows", "Skipped");
    }
    return {};
}

std::string Verdict(const TTransferFile& file)
{
    if (file.State != TFileState::Done)
        return {};
    std::string verdict = Fill(Tr("TTransferRows", "%1 bytes checked"), {FormatThousands(file.BytesChecked)});
    if (!file.HashAlgorithm.empty())
        verdict += "; " + Fill(file.HashMatched ? Tr("TTransferRows", "%1 matches") : Tr("TTransferRows", "%1 differs"),
                               {file.HashAlgorithm});
    if (file.TimeKept)
        verdict += Tr("TTransferRows", "; time kept");
    return verdict;
}

} // namespace

TTransferFilter FilterOf(TFileState state)
{
    switch (state) {
    case TFileState::Failed:
        return TTransferFilter::Failed;
    case TFileState::Done:
    case TFileState::Skipped:
        return TTransferFilter::Done;
    default:
        return TTransferFilter::Queued;
    }
}

void TTransferRows::Update(const TTransferRun& run, int64_t tick)
{
    // Where the ranges on connections have got, by file and range.
    std::map<std::pair<const TTransferFile*, size_t>, TTransferRun::TLiveSegment> live;
    for (const TTransferRun::TLiveSegment& segment : run.LiveSegments())
        live[{segment.File, segment.Segment}] = segment;
    int64_t elapsed = m_lastTick > 0 ? tick - m_lastTick : 0;
    // The rows are made again in place: a row whose file has ended and has not changed since
    // stays as it is, so that a run of many thousand files costs little per tick.
    m_rows.resize(run.Files().size());
    for (size_t index = 0; index < run.Files().size(); ++index) {
        const TTransferFile& file = *run.Files()[index];
        TTransferRow& kept = m_rows[index];
        bool ended =
            file.State == TFileState::Done || file.State == TFileState::Failed || file.State == TFileState::Skipped;
        if (kept.File == &file && kept.FileState == file.State && ended && file.EndedMs == kept.EndedMs)
            continue;
        int64_t lastDone = kept.File == &file ? kept.Done : -1;
        TTransferRow row;
        row.File = &file;
        row.FileState = file.State;
        row.EndedMs = file.EndedMs;
        row.Download = file.Download;
        row.RemotePath = file.RemotePath;
        row.LocalPath = file.LocalPath;
        const std::string& path = file.Download ? file.RemotePath : file.LocalPath;
        row.Name = path.substr(path.rfind('/') + 1);
        row.Size = file.Size;
        row.State = file.State;
        row.StateText = StateText(file);
        if (!run.Running() && (file.State == TFileState::Waiting || file.State == TFileState::Queued ||
                               file.State == TFileState::Moving || file.State == TFileState::Checking)) {
            // The run is over and this file did not get through: what is left waits in the
            // broken list, and the row says so rather than a state that no longer moves.
            row.State = TFileState::Failed;
            row.StateText = Tr("TTransferRows", "Not finished; kept in the broken list");
        }
        row.Verdict = Verdict(file);
        if (file.StartedMs >= 0)
            row.Milliseconds = (file.EndedMs >= 0 ? file.EndedMs : tick) - file.StartedMs;
        row.ConnectionsUsed = file.Connections.size();
        row.Split = file.Split();
        std::set<int> connections;
        for (size_t k = 0; k < file.Segments.size(); ++k) {
            const TSegment& segment = file.Segments[k];
            int64_t end = file.EndOf(segment);
            int64_t reached =
                segment.State == TSegmentState::Done ? end : segment.Begin + std::max<int64_t>(segment.Done, 0);
            TSegmentCell cell;
            cell.State = segment.State;
            if (auto on = live.find({&file, k}); on != live.end()) {
                reached = std::clamp(on->second.Position, reached, std::max(end, segment.Begin));
                cell.State = TSegmentState::Running;
                cell.Connection = on->second.Connection;
                connections.insert(on->second.Connection);
            }
            row.Done = SaturatingAdd(row.Done, std::max<int64_t>(reached - segment.Begin, 0));
            if (file.Size > 0) {
                cell.From = static_cast<double>(segment.Begin) / static_cast<double>(file.Size);
                cell.To = static_cast<double>(end) / static_cast<double>(file.Size);
                cell.Done = static_cast<double>(reached) / static_cast<double>(file.Size);
            }
            row.Segments.push_back(cell);
        }
        if (file.State == TFileState::Done)
            row.Done = file.Size;
        row.Done = std::min(row.Done, std::max<int64_t>(file.Size, 0));
        row.Percent = file.Size > 0
                          ? static_cast<int>(100 * static_cast<double>(row.Done) / static_cast<double>(file.Size))
                      : file.State == TFileState::Done ? 100
                                                       : 0;
        for (int connection : connections)
            row.Connections += (row.Connections.empty() ? "" : ", ") + std::to_string(connection);
        if (lastDone >= 0 && elapsed > 0 && !connections.empty()) {
            row.Speed = std::max<int64_t>(row.Done - lastDone, 0) * 1000 / elapsed;
            row.Left = row.Speed > 0 ? (file.Size - row.Done) / row.Speed : -1;
        }
        kept = std::move(row);
    }
    m_lastTick = tick;
    Filter();
}

void TTransferRows::Clear()
{
    m_rows.clear();
    m_shown.clear();
    m_lastTick = 0;
}

void TTransferRows::SetFilter(TTransferFilter filter)
{
    m_filter = filter;
    Filter();
}

size_t TTransferRows::Count(TTransferFilter filter) const
{
    if (filter == TTransferFilter::All)
        return m_rows.size();
    return static_cast<size_t>(std::count_if(
        m_rows.begin(), m_rows.end(), [filter](const TTransferRow& row) { return FilterOf(row.State) == filter; }));
}

void TTransferRows::Filter()
{
    m_shown.clear();
    for (const TTransferRow& row : m_rows)
        if (m_filter == TTransferFilter::All || FilterOf(row.State) == m_filter)
            m_shown.push_back(&row);
}
