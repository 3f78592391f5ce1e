// Whole transfer runs through the main window's logic against a real server: several
// connections, a split download written into one file, uploads, foreground and background.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iostream>

#include <QTemporaryDir>

#include "support/TestTree.h"
#include "support/RunSession.h"
#include "support/Selection.h"

using namespace testsupport;
namespace fs = std::filesystem;

namespace {

struct RunMode
{
    int connections;
    bool mainConnDownload;
};

class TransferRun : public ::testing::TestWithParam<RunMode>
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.start()) << server.error();
        std::string remote = server.localWorkDir();
        fs::create_directories(remote + "/tree/inner");
        for (int n = 0; n < 6; ++n)
            ASSERT_TRUE(writePatternFile(remote + "/tree/f" + std::to_string(n) + ".bin", 100000 + 37 * n, 10 + n));
        ASSERT_TRUE(writePatternFile(remote + "/tree/one.bin", 300000, 1));
        ASSERT_TRUE(writePatternFile(remote + "/tree/inner/two.txt", 5000, 2));
        ASSERT_TRUE(writePatternFile(remote + "/tree/inner/empty.bin", 0, 2));
        ASSERT_TRUE(writePatternFile(remote + "/big.bin", 3 * 1024 * 1024 + 7, 3));
        session =
            std::make_unique<RunSession>(server, runSettings(GetParam().connections, GetParam().mainConnDownload));
        ASSERT_TRUE(session->connect());
    }
    void TearDown() override
    {
        if (HasFailure())
            session->dumpLogs();
    }
    int transferConnections() const { return GetParam().connections - (GetParam().mainConnDownload ? 0 : 1); }

    FtpServer server;
    std::unique_ptr<RunSession> session;
};

} // namespace

TEST_P(TransferRun, DownloadsATreeAndASplitFileByteForByte)
{
    TfmMain& window = session->window;
    session->download({"tree", "big.bin"});
    if (!GetParam().mainConnDownload) { // background: connection 0 is free at once
        EXPECT_TRUE(waitFor([&] { return window.SessionState() == ssConnected; }));
    }
    ASSERT_TRUE(session->runEnded());
    std::string here = session->localDir();
    std::string remote = session->remoteDir();
    for (const char* name :
         {"big.bin", "tree/one.bin", "tree/f0.bin", "tree/f5.bin", "tree/inner/two.txt", "tree/inner/empty.bin"})
        EXPECT_EQ(fileHash(here + name), fileHash(remote + name)) << name;
    EXPECT_EQ(window.Run().DoneBytes, window.Run().TotalBytes);
    EXPECT_EQ(window.Run().IncompleteItems, 0u);
    EXPECT_TRUE(window.Queue().empty());
    EXPECT_TRUE(window.BrokenLists().Lists.empty());
    EXPECT_TRUE(window.QueueTree().Downloads().Children.empty());
    EXPECT_FALSE(window.GaugeVisible());
    // The big file went as one range per transfer connection, each on its own connection.
    EXPECT_EQ(session->countLines("> RETR /big.bin"), transferConnections());
    if (!GetParam().mainConnDownload) {
        EXPECT_EQ(session->countLines("> RETR", 0), 0);
    }
}

TEST_P(TransferRun, UploadsATreeIntoNewRemoteDirectories)
{
    std::string here = session->localDir();
    fs::create_directories(here + "up/deep");
    for (int n = 0; n < 5; ++n)
        ASSERT_TRUE(writePatternFile(here + "up/a" + std::to_string(n) + ".bin", 70000 * n, 4 + n));
    ASSERT_TRUE(writePatternFile(here + "up/deep/b.bin", 1200000, 5));
    TfmMain& window = session->window;
    selectLocal(window, {"up"});
    window.UploadSelected();
    ASSERT_TRUE(session->runEnded());
    std::string remote = session->remoteDir();
    for (const char* name : {"up/deep/b.bin", "up/a0.bin", "up/a4.bin"})
        EXPECT_TRUE(waitFor([&] { return fileHash(remote + name) == fileHash(here + name); })) << name;
    EXPECT_TRUE(window.BrokenLists().Lists.empty());
    // The remote pane shows what went into it without a refresh by hand.
    EXPECT_TRUE(waitFor([&] { return remoteRow(window, "up") >= 0 && window.SessionState() == ssConnected; }));
}

INSTANTIATE_TEST_SUITE_P(Connections, TransferRun,
                         ::testing::Values(RunMode{1, true}, RunMode{3, true}, RunMode{3, false}, RunMode{8, false}),
                         [](const ::testing::TestParamInfo<RunMode>& info) {
                             return std::to_string(info.param.connections) +
                                    (info.param.mainConnDownload ? "_foreground" : "_background");
                         });

TEST(SplitDownload, SixtyFourMebibytesOnFourConnectionsFillOneFileRangeByRange)
{
    FtpServer server;
    ASSERT_TRUE(server.start()) << server.error();
    const int64_t size = 64 * 1024 * 1024 + 3;
    ASSERT_TRUE(writePatternFile(server.localWorkDir() + "/huge.bin", size, 64));
    RunSession session(server, runSettings(4, true));
    ASSERT_TRUE(session.connect());
    session.download({"huge.bin"});
    ASSERT_TRUE(session.runEnded(120000));
    std::string target = session.localDir() + "huge.bin";
    EXPECT_EQ(static_cast<int64_t>(fs::file_size(target)), size);
    EXPECT_EQ(fileHash(target), fileHash(server.localWorkDir() + "/huge.bin"));
    // One range per connection, each asked for at its start (REST 0 is also sent at login).
    const int64_t part = size / 4;
    for (int n = 1; n < 4; ++n)
        EXPECT_EQ(session.countLines("> REST " + std::to_string(n * part)), 1) << n;
    EXPECT_EQ(session.countLines("> RETR /huge.bin"), 4);
    EXPECT_EQ(session.window.Run().DoneBytes, size);
    if (::testing::Test::HasFailure())
        session.dumpLogs();
}
