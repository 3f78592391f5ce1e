// Speed limits on real runs: the connections of a split download share the limit alike, a
// limit changed during the run applies at once (lifted, the run ends at full speed), uploads
// keep theirs, every byte arrives whole, and the limits are kept in the settings.

#include <gtest/gtest.h>

#include "config/Settings.h"
#include "support/RunSession.h"
#include "support/TestTree.h"

using namespace testsupport;

TEST(SpeedLimit, TheConnectionsOfASplitFileShareTheLimitAlikeAndALiftedLimitLetsTheRunEnd)
{
    FtpServer server;
    ASSERT_TRUE(server.start()) << server.error();
    const int64_t size = 8000000;
    ASSERT_TRUE(writePatternFile(server.localWorkDir() + "/big.bin", size, 7));
    RunSession session(server, runSettings(4, true, 1000000));
    ASSERT_TRUE(session.connect());
    TfmMain& window = session.window;
    window.SetSpeedLimits(800000, 0);
    session.download({"big.bin"});

    // Once a fair part is in, no range has been starved by the others: the event loop serves
    // the connections in the same order every turn, and the limit must not favour the first.
    ASSERT_TRUE(waitFor(
        [&] { return window.TransferRows().All().size() == 1 && window.TransferRows().All()[0].Done > size / 5; },
        30000));
    std::vector<int64_t> moved;
    for (const TTransferRun::TLiveSegment& live : window.Run().LiveSegments())
        moved.push_back(live.Position - live.File->Segments[live.Segment].Begin);
    ASSERT_EQ(moved.size(), 4u);
    int64_t least = *std::min_element(moved.begin(), moved.end());
    int64_t most = *std::max_element(moved.begin(), moved.end());
    EXPECT_GT(least, most / 3) << least << " of " << most;
    EXPECT_LT(window.TransferRows().All()[0].Done, size); // the limit holds it back
    if (HasFailure())
        session.dumpLogs();

    window.SetSpeedLimits(0, 0);
    ASSERT_TRUE(session.runEnded(30000));
    EXPECT_EQ(fileHash(session.localDir() + "big.bin"), fileHash(server.localWorkDir() + "/big.bin"));

    // Kept in the settings file for the next start.
    window.SetSpeedLimits(123456, 654321);
    TSettings again;
    LoadSettings(again, session.dataDir() + "quillftp.ini", "/");
    EXPECT_EQ(again.DownloadLimit, 123456);
    EXPECT_EQ(again.UploadLimit, 654321);
}

TEST(SpeedLimit, UploadsUnderALimitArriveWhole)
{
    FtpServer server;
    ASSERT_TRUE(server.start()) << server.error();
    RunSession session(server, runSettings(2, true, 100000000, "[General]\nUploadLimit=3000000\n"));
    for (const char* name : {"one.bin", "two.bin"})
        ASSERT_TRUE(writePatternFile(session.localDir() + name, 700000, name[0]));
    ASSERT_TRUE(session.connect());
    TfmMain& window = session.window;
    EXPECT_EQ(window.Run().SpeedLimit(false).Rate(), 3000000);
    EXPECT_FALSE(window.Run().SpeedLimit(true).Limited());
    window.Local().Refresh();
    window.Local().SelectNames({"one.bin", "two.bin"});
    window.UploadSelected();
    ASSERT_TRUE(session.runEnded());
    for (const char* name : {"one.bin", "two.bin"})
        EXPECT_EQ(fileHash(server.localWorkDir() + "/" + name), fileHash(session.localDir() + name)) << name;
}
