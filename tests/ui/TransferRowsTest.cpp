// The transfers view's rows during and after real runs: one per file, percents that rise, a
// split file's ranges going from waiting to done, verdicts, a failed file with its reason that
// a retry completes, and a queued file skipped.

#include <gtest/gtest.h>

#include "support/RunSession.h"
#include "support/TestTree.h"

using namespace testsupport;

namespace {

const TTransferRow* rowNamed(const TfmMain& window, const std::string& name)
{
    for (const TTransferRow& row : window.TransferRows().All())
        if (row.Name == name)
            return &row;
    return nullptr;
}

} // namespace

TEST(TransferRows, ARunOnFourConnectionsShowsEachFileFromWaitingToItsVerdict)
{
    FtpServer server;
    server.setVariant({"--rate", "1500000", "--refuse", "refused.bin", "--refusals", "1"});
    ASSERT_TRUE(server.start()) << server.error();
    ASSERT_TRUE(writePatternFile(server.localWorkDir() + "/split.bin", 8000000, 1));
    ASSERT_TRUE(writePatternFile(server.localWorkDir() + "/small.bin", 30000, 2));
    ASSERT_TRUE(writePatternFile(server.localWorkDir() + "/refused.bin", 20000, 3));
    RunSession session(server, runSettings(4, true, 2000000));
    ASSERT_TRUE(session.connect());
    TfmMain& window = session.window;
    session.download({"split.bin", "small.bin", "refused.bin"});

    // Under way: the split file's ranges on connections, its percent between the ends.
    std::vector<int> percents;
    bool rangesMoving = false;
    ASSERT_TRUE(waitFor(
        [&] {
            const TTransferRow* split = rowNamed(window, "split.bin");
            if (split && split->State == TFileState::Moving) {
                percents.push_back(split->Percent);
                for (const TSegmentCell& cell : split->Segments)
                    rangesMoving = rangesMoving || (cell.State == TSegmentState::Running && cell.Connection >= 0);
            }
            return !window.Run().Running();
        },
        60000));
    ASSERT_GE(percents.size(), 2u);
    EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end()));
    EXPECT_LT(percents.front(), 100);
    EXPECT_TRUE(rangesMoving);

    // After the run the rows stay, with their verdicts; the refused file with its reason.
    const TTransferRow* split = rowNamed(window, "split.bin");
    ASSERT_NE(split, nullptr);
    EXPECT_TRUE(split->Split);
    EXPECT_EQ(split->Percent, 100);
    EXPECT_EQ(split->Verdict.rfind("8,000,000 bytes checked", 0), 0u) << split->Verdict;
    for (const TSegmentCell& cell : split->Segments)
        EXPECT_EQ(cell.State, TSegmentState::Done);
    // Its own time and connections, not the run's.
    EXPECT_GE(split->ConnectionsUsed, 2u);
    EXPECT_EQ(rowNamed(window, "small.bin")->ConnectionsUsed, 1u);
    EXPECT_GT(split->Milliseconds, rowNamed(window, "small.bin")->Milliseconds);
    EXPECT_EQ(window.TransferRows().Count(TTransferFilter::Done), 2u);
    ASSERT_EQ(window.TransferRows().Count(TTransferFilter::Failed), 1u);
    window.SetTransferFilter(TTransferFilter::Failed);
    ASSERT_EQ(window.TransferRows().Shown().size(), 1u);
    EXPECT_EQ(window.TransferRows().Shown()[0]->StateText, "Failed: 550 Refused by this test server.");

    // Retry: a new run completes it, and the broken list the run left keeps it no longer.
    ASSERT_TRUE(waitFor([&] { return window.SessionState() == ssConnected; }));
    ASSERT_EQ(window.BrokenLists().Lists.size(), 1u);
    window.RetryTransfer(0);
    ASSERT_TRUE(session.runEnded());
    EXPECT_EQ(fileHash(session.localDir() + "refused.bin"), fileHash(server.localWorkDir() + "/refused.bin"));
    EXPECT_TRUE(window.BrokenLists().Lists.empty());
    EXPECT_EQ(window.TransferRows().Count(TTransferFilter::Failed), 0u);
    window.SetTransferFilter(TTransferFilter::All);
    window.CopyTransferAddress(0);
    EXPECT_EQ(session.view.clipboard, "ftp://" + server.user() + "@127.0.0.1:" + server.portText() + "/refused.bin");
}

TEST(TransferRows, AQueuedFileSkippedLeavesTheRunAndItsBrokenList)
{
    FtpServer server;
    server.setVariant({"--rate", "1000000"});
    ASSERT_TRUE(server.start()) << server.error();
    std::vector<std::string> names;
    for (int n = 0; n < 4; ++n) {
        names.push_back("f" + std::to_string(n) + ".bin");
        ASSERT_TRUE(writePatternFile(server.localWorkDir() + "/" + names.back(), 600000, n));
    }
    RunSession session(server, runSettings(1, true, 100000000));
    ASSERT_TRUE(session.connect());
    TfmMain& window = session.window;
    session.download(names);
    ASSERT_TRUE(waitFor([&] { return window.TransferRows().Count(TTransferFilter::All) == 4; }));
    window.SetTransferFilter(TTransferFilter::Queued);
    size_t last = window.TransferRows().Shown().size() - 1;
    std::string skipped = window.TransferRows().Shown()[last]->Name;
    window.SkipTransfer(last);
    ASSERT_TRUE(session.runEnded());
    EXPECT_FALSE(std::filesystem::exists(session.localDir() + skipped));
    EXPECT_EQ(window.TransferRows().Count(TTransferFilter::Done), 4u); // three done, one skipped
    EXPECT_TRUE(window.BrokenLists().Lists.empty());
}

TEST(TransferRows, ASplitFileCancelledMidwayIsShownAsNotFinishedAndKeptSo)
{
    FtpServer server;
    server.setVariant({"--rate", "1000000"});
    ASSERT_TRUE(server.start()) << server.error();
    ASSERT_TRUE(writePatternFile(server.localWorkDir() + "/big.bin", 6000000, 1));
    RunSession session(server, runSettings(3, true, 1000000));
    ASSERT_TRUE(session.connect());
    TfmMain& window = session.window;
    session.download({"big.bin"});
    ASSERT_TRUE(waitFor([&] {
        const TTransferRow* big = rowNamed(window, "big.bin");
        return big && big->Percent >= 5;
    }));
    window.Abort();
    ASSERT_TRUE(session.runEnded());
    const TTransferRow* big = rowNamed(window, "big.bin");
    ASSERT_NE(big, nullptr);
    EXPECT_EQ(big->StateText, "Not finished; kept in the broken list");
    EXPECT_EQ(window.TransferRows().Count(TTransferFilter::Failed), 1u);
    EXPECT_EQ(window.TransferRows().Count(TTransferFilter::Done), 0u);
    EXPECT_LT(big->Percent, 100);
    ASSERT_EQ(window.BrokenLists().Lists.size(), 1u);
    // The history says the same.
    std::string error;
    std::vector<THistoryFile> kept = window.History().Files(false, error);
    ASSERT_EQ(kept.size(), 1u) << error;
    EXPECT_EQ(kept[0].State, "Not finished; kept in the broken list");
    EXPECT_EQ(kept[0].Connections, static_cast<int>(big->ConnectionsUsed));
}
