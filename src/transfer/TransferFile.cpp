#include "transfer/TransferFile.h"

#include <algorithm>
#include <map>

#include "manager/CommFunc.h"

bool TTransferFile::AllDone() const
{
    return std::all_of(Segments.begin(), Segments.end(),
                       [](const TSegment& segment) { return segment.State == TSegmentState::Done; });
}

int64_t TTransferFile::BytesDone() const
{
    int64_t done = 0;
    for (const TSegment& segment : Segments)
        done = SaturatingAdd(
            done, std::clamp<int64_t>(segment.Done, 0, std::max<int64_t>(EndOf(segment) - segment.Begin, 0)));
    return done;
}

int64_t TTransferFile::BytesLeft() const
{
    int64_t left = 0;
    for (const TSegment& segment : Segments)
        if (segment.State != TSegmentState::Done)
            left = SaturatingAdd(left, std::max<int64_t>(EndOf(segment) - segment.Begin - segment.Done, 0));
    return left;
}

int64_t ItemByteCount(const TTransferFileInfo& item)
{
    int64_t start = item.BeginPos < 0 ? 0 : item.BeginPos;
    int64_t end = item.EndPos < 0 ? item.FileSize : item.EndPos;
    return std::max<int64_t>(end - start, 0);
}

TTransferFileInfo SegmentItem(const TTransferFile& file, const TSegment& segment)
{
    TTransferFileInfo item;
    item.IsDownload = file.Download;
    item.HostPath = file.RemotePath;
    item.LocalPath = file.LocalPath;
    item.FileSize = file.Size;
    int64_t next = segment.Begin + segment.Done;
    item.BeginPos = next > 0 ? next : -1;
    item.EndPos = segment.End;
    item.RemoteTime = file.RemoteTime;
    item.Partial = file.Partial;
    item.Replace = file.Replace;
    item.Attempts = segment.Attempts;
    return item;
}

std::vector<std::unique_ptr<TTransferFile>> FilesOfItems(const std::vector<const TTransferFileInfo*>& items)
{
    std::vector<std::unique_ptr<TTransferFile>> files;
    std::map<std::pair<bool, std::string>, TTransferFile*> byPath;
    for (const TTransferFileInfo* item : items) {
        TTransferFile*& file = byPath[{item->IsDownload, item->LocalPath}];
        if (!file) {
            files.push_back(std::make_unique<TTransferFile>());
            file = files.back().get();
            file->Download = item->IsDownload;
            file->RemotePath = item->HostPath;
            file->LocalPath = item->LocalPath;
            file->Size = item->FileSize;
            file->RemoteTime = item->RemoteTime;
            file->Partial = item->Partial;
            file->Replace = item->Replace;
            file->FetchedAgain = item->FetchedAgain;
            file->SizeDisputed = item->SizeDisputed;
        }
        TSegment segment;
        // What lies before a range's first byte still to move is on disk: it counts as done.
        segment.Begin = std::max<int64_t>(item->BeginPos, 0);
        segment.End = item->EndPos;
        segment.Attempts = item->Attempts;
        file->Segments.push_back(segment);
    }
    for (auto& file : files)
        std::sort(file->Segments.begin(), file->Segments.end(),
                  [](const TSegment& a, const TSegment& b) { return a.Begin < b.Begin; });
    return files;
}

void SplitIntoSegments(TTransferFile& file, int count)
{
    file.Segments.clear();
    if (count < 1)
        count = 1;
    int64_t part = file.Size / count;
    for (int k = 0; k < count; ++k) {
        TSegment segment;
        segment.Begin = k * part;
        segment.End = k == count - 1 ? file.Size : (k + 1) * part;
        file.Segments.push_back(segment);
    }
}
