#include <gtest/gtest.h>

#include "transfer/SplitDownload.h"

namespace {

std::unique_ptr<TTransferFileInfo> download(int64_t size, const std::string& path = "/f")
{
    return std::make_unique<TTransferFileInfo>(TTransferFileInfo{true, path, "/l" + path, size, -1, -1, false});
}

std::vector<std::pair<int64_t, int64_t>> rangesOf(const TTransferQueue& queue)
{
    std::vector<std::pair<int64_t, int64_t>> ranges;
    for (const auto& item : queue)
        ranges.emplace_back(item->BeginPos, item->EndPos);
    return ranges;
}

} // namespace

TEST(SplitDownload, BigDownloadsBecomeRangesWhereTheyStand)
{
    TTransferQueue queue;
    queue.push_back(download(500, "/small"));
    queue.push_back(download(1000001, "/big"));
    queue.push_back(download(1000000, "/exact")); // exactly the threshold: not split
    auto upload = download(5000000, "/up");
    upload->IsDownload = false; // uploads never are
    queue.push_back(std::move(upload));
    SplitBigDownloads(queue, 3, 1000000);
    EXPECT_EQ(rangesOf(queue), (std::vector<std::pair<int64_t, int64_t>>{
                                   {-1, -1}, {0, 333333}, {333333, 666666}, {666666, 1000001}, {-1, -1}, {-1, -1}}));
    EXPECT_EQ(queue[3]->HostPath, "/big");
    EXPECT_EQ(queue[3]->FileSize, 1000001);
}

TEST(SplitDownload, OneConnectionGivesOneRangeAndNoneGivesNoSplit)
{
    TTransferQueue queue;
    queue.push_back(download(6000000000LL));
    SplitBigDownloads(queue, 1, 1000000);
    EXPECT_EQ(rangesOf(queue), (std::vector<std::pair<int64_t, int64_t>>{{0, 6000000000LL}}));
    EXPECT_TRUE(SplitIntoRanges(*download(10), 0).empty());
    EXPECT_FALSE(NeedsSplit(*download(6000000000LL), 1000000, 0));
}
