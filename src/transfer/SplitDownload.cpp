#include "transfer/SplitDownload.h"

#include "manager/CommFunc.h"
#include "platform/TextLines.h"

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

bool IsTextTransfer(const std::string& path, const std::vector<std::string>& textExtensions)
{
    std::string extension = FileExtension(path);
    if (extension.empty())
        return false;
    for (const std::string& text : textExtensions)
        if (platform::EqualsIgnoringCase(text, extension))
            return true;
    return false;
}

bool NeedsSplit(const TTransferFileInfo& item, int64_t threshold, int connections,
                const std::vector<std::string>& textExtensions)
{
    // Only a whole file from its start: a range or a resume keeps what it is.
    return item.IsDownload && item.BeginPos <= 0 && item.EndPos < 0 && item.FileSize > threshold && connections >= 1 &&
           !IsTextTransfer(item.LocalPath, textExtensions);
}

void SplitBigDownloads(TTransferQueue& queue, int connections, int64_t threshold,
                       const std::vector<std::string>& textExtensions)
{
    for (size_t i = 0; i < queue.size(); ++i) {
        if (!NeedsSplit(*queue[i], threshold, connections, textExtensions))
            continue;
        auto ranges = SplitIntoRanges(*queue[i], connections);
        // The item itself becomes the last range; the others go before it, in order.
        *queue[i] = *ranges.back();
        ranges.pop_back();
        for (auto& range : ranges)
            queue.insert(queue.begin() + static_cast<long>(i++), std::move(range));
    }
}
