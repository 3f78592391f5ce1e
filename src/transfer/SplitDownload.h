#pragma once

// A download bigger than the split threshold becomes as many byte ranges as there are
// transfer connections; every range writes into the one local file at its own offset.

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "manager/TransferFileInfo.h"

using TTransferQueue = std::deque<std::unique_ptr<TTransferFileInfo>>;

// The ranges of an item for connections transfer connections, in ascending order; the last one
// carries the remainder. Nothing when connections is less than 1.
std::vector<std::unique_ptr<TTransferFileInfo>> SplitIntoRanges(const TTransferFileInfo& item, int connections);

// Whether a file goes in ASCII mode: its extension (upper- or lower-case) is in the list.
bool IsTextTransfer(const std::string& path, const std::vector<std::string>& textExtensions);

// Whether an item is to be split: a download strictly bigger than the threshold. Files that go
// in ASCII mode are never split: the server converts line ends, so its byte offsets do not
// match the local file's.
bool NeedsSplit(const TTransferFileInfo& item, int64_t threshold, int connections,
                const std::vector<std::string>& textExtensions = {});

// Splits every download above the threshold where it stands in the queue.
void SplitBigDownloads(TTransferQueue& queue, int connections, int64_t threshold,
                       const std::vector<std::string>& textExtensions = {});
