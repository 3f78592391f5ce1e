#include "transfer/SplitDownload.h"

std::vector<std::unique_ptr<TTransferFileInfo>> SplitIntoRanges(const TTransferFileInfo& item, int connections)
{
    std::vector<std::unique_ptr<TTransferFileInfo>> ranges;
    if (connections < 1)
        return ranges; // no transfer connection: nothing to split for
    int64_t part = item.FileSize / connections;
    for (int k = 0; k < connections; ++k) {
        auto range = std::make_unique<TTransferFileInfo>(item);
        range->BeginPos = k * part;
        range->EndPos = k == connections - 1 ? item.FileSize : (k + 1) * part;
        ranges.push_back(std::move(range));
    }
    return ranges;
}

bool NeedsSplit(const TTransferFileInfo& item, int64_t threshold, int connections)
{
    return item.IsDownload && item.FileSize > threshold && connections >= 1;
}

void SplitBigDownloads(TTransferQueue& queue, int connections, int64_t threshold)
{
    for (size_t i = 0; i < queue.size(); ++i) {
        if (!NeedsSplit(*queue[i], threshold, connections))
            continue;
        auto ranges = SplitIntoRanges(*queue[i], connections);
        // The item itself becomes the last range; the others go before it, in order.
        *queue[i] = *ranges.back();
        ranges.pop_back();
        for (auto& range : ranges)
            queue.insert(queue.begin() + static_cast<long>(i++), std::move(range));
    }
}
