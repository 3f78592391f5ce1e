// Transfer runs that meet trouble: data connections cut, a refused file, a server's limit on
// connections, local files in the way, a full disk, and the user changing things mid-run.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>

#include "platform/AtomicFile.h"
#include "support/TestTree.h"
#include "support/RunSession.h"

using namespace testsupport;
namespace fs = std::filesystem;

namespace {

std::string readText(const std::string& path)
{
    std::string text;
    platform::readWholeFile(path, text);
    return text;
}

bool anyMessageStartsWith(const ScriptedView& view, const std::string& prefix)
{
    for (const std::string& message : view.messages)
        if (message.rfind(prefix, 0) == 0)
            return true;
    return false;
}

} // namespace

TEST(TransferTrouble, CutDataConnectionsLeaveABrokenListThatResumesAfterARestart)
{
    FtpServer server;
    // Six cuts: each of three files is cut on its first try and on its one retry.
    server.setVariant({"--cut-after", "400000", "--cuts", "6"});
    ASSERT_TRUE(server.start()) << server.error();
    const int64_t size = 1100000;
    for (const char* name : {"a.bin", "b.bin", "c.bin"})
        ASSERT_TRUE(writePatternFile(server.localWorkDir() + "/" + name, size, name[0]));
    RunSession first(server, runSettings(4, true, 100000000, "[General]\nConnectionRetryTimes=1\n"));
    ASSERT_TRUE(first.connect());
    first.download({"a.bin", "b.bin", "c.bin"});
    ASSERT_TRUE(first.runEnded());
    EXPECT_EQ(first.window.Run().IncompleteItems, 3u);
    EXPECT_LT(first.window.Run().DoneBytes, first.window.Run().TotalBytes);
    EXPECT_TRUE(anyMessageStartsWith(first.view, "3 items did not complete; kept in the broken list "));
    EXPECT_EQ(first.countLines("Will try "), 3);
    ASSERT_EQ(first.window.BrokenLists().Lists.size(), 1u);
    for (const auto& item : first.window.BrokenLists().Lists[0]->Items) {
        // Kept where the last try stopped (what arrived before the server's 426 was read), inside
        // the file, and backed by the bytes on disk.
        EXPECT_LT(item->BeginPos, size) << item->HostPath;
        // A file nothing arrived for is not left behind empty.
        int64_t onDisk = fs::exists(item->LocalPath) ? static_cast<int64_t>(fs::file_size(item->LocalPath)) : -1;
        EXPECT_GE(onDisk, item->BeginPos) << item->HostPath;
        EXPECT_EQ(item->EndPos, -1);
    }
    first.close(); // the broken lists are saved

    RunSession second(server, first);
    ASSERT_EQ(second.window.BrokenLists().Lists.size(), 1u);
    second.window.ResumeBrokenList(0);
    ASSERT_TRUE(
        waitFor([&] { return !second.window.Run().Running() && second.window.SessionState() == ssConnected; }, 30000));
    for (const char* name : {"a.bin", "b.bin", "c.bin"})
        EXPECT_EQ(fileHash(second.localDir() + name), fileHash(server.localWorkDir() + "/" + name)) << name;
    EXPECT_TRUE(second.window.BrokenLists().Lists.empty());
    EXPECT_TRUE(second.view.asked.empty());
}

TEST(TransferTrouble, AFileTheServerRefusesIsReportedAndKeptWhileTheOthersComplete)
{
    FtpServer server;
    server.setVariant({"--refuse", "two.bin"});
    ASSERT_TRUE(server.start()) << server.error();
    for (const char* name : {"one.bin", "two.bin", "three.bin"})
        ASSERT_TRUE(writePatternFile(server.localWorkDir() + "/" + name, 200000, name[1]));
    RunSession session(server, runSettings(3, false));
    ASSERT_TRUE(session.connect());
    session.download({"one.bin", "two.bin", "three.bin"});
    ASSERT_TRUE(session.runEnded());
    EXPECT_EQ(fileHash(session.localDir() + "one.bin"), fileHash(session.remoteDir() + "one.bin"));
    EXPECT_EQ(fileHash(session.localDir() + "three.bin"), fileHash(session.remoteDir() + "three.bin"));
    EXPECT_EQ(session.window.Run().FailedItems, 1u);
    EXPECT_EQ(session.window.Run().DoneBytes, 400000);
    EXPECT_TRUE(anyMessageStartsWith(session.view, "1 item did not complete"));
    EXPECT_EQ(session.countLines("Will try "), 0); // a 550 is not tried again
    EXPECT_EQ(session.countLines("Not completed: /two.bin"), 1);
    ASSERT_EQ(session.window.BrokenLists().Lists.size(), 1u);
    ASSERT_EQ(session.window.BrokenLists().Lists[0]->Items.size(), 1u);
    EXPECT_EQ(session.window.BrokenLists().Lists[0]->Items[0]->HostPath, "/two.bin");
}

TEST(TransferTrouble, ConnectionsAServerRefusesLeaveTheirItemsToTheOthers)
{
    FtpServer server(ServerKind::Vsftpd);
    server.setVariant({"max_per_ip=2"});
    ASSERT_TRUE(server.start()) << server.error();
    std::vector<std::string> names;
    for (int n = 0; n < 6; ++n) {
        names.push_back("f" + std::to_string(n) + ".bin");
        ASSERT_TRUE(writePatternFile(server.localWorkDir() + "/" + names.back(), 150000 + n, 30 + n));
    }
    // Connection 0 and one more get in; connections 2 and 3 are refused with 421.
    RunSession session(server, runSettings(4, true));
    ASSERT_TRUE(session.connect());
    for (size_t row = 0; row < session.window.RemoteEntries().size(); ++row)
        if (session.window.RemoteEntries()[row].Name == "pub")
            session.window.RemoteDoubleClick(static_cast<int>(row));
    ASSERT_TRUE(
        waitFor([&] { return session.window.RemoteDir() == "/pub/" && session.window.SessionState() == ssConnected; }));
    session.download(names);
    ASSERT_TRUE(session.runEnded());
    for (const std::string& name : names)
        EXPECT_EQ(fileHash(session.localDir() + name), fileHash(session.remoteDir() + name)) << name;
    EXPECT_GE(session.countLines("< 421"), 1);
    EXPECT_EQ(session.window.Run().IncompleteItems, 0u);
    EXPECT_TRUE(session.view.messages.empty());
}

// ---------------------------------------------------------------- local checks

class LocalChecks : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.start()) << server.error();
        for (const char* name : {"a.bin", "b.bin", "c.bin", "new.bin"})
            ASSERT_TRUE(writePatternFile(server.localWorkDir() + "/" + name, 100000, name[0]));
        ASSERT_TRUE(writePatternFile(server.localWorkDir() + "/big.bin", 3000000, 7));
        session = std::make_unique<RunSession>(server, runSettings(3, true));
        ASSERT_TRUE(session->connect());
        for (const char* name : {"a.bin", "b.bin", "big.bin", "c.bin"})
            std::ofstream(session->localDir() + name) << "old " << name;
    }
    bool keptOld(const std::string& name) { return readText(session->localDir() + name) == "old " + name; }
    bool fetched(const std::string& name)
    {
        return fileHash(session->localDir() + name) == fileHash(session->remoteDir() + name);
    }
    void downloadAll()
    {
        session->download({"a.bin", "b.bin", "big.bin", "c.bin", "new.bin"});
        ASSERT_TRUE(session->runEnded());
    }

    FtpServer server;
    std::unique_ptr<RunSession> session;
};

TEST_F(LocalChecks, EachExistingFileIsAskedAboutOnceAndAClosedDialogSkips)
{
    session->view.fileExists = {TFileExistsChoice::Overwrite, TFileExistsChoice::Skip, TFileExistsChoice::Overwrite};
    downloadAll(); // the fourth question finds no answer: the dialog is closed
    std::string here = session->localDir();
    EXPECT_EQ(session->view.existing,
              (std::vector<std::string>{here + "a.bin", here + "b.bin", here + "big.bin", here + "c.bin"}));
    EXPECT_TRUE(fetched("a.bin"));
    EXPECT_TRUE(keptOld("b.bin"));
    EXPECT_TRUE(fetched("big.bin")); // three ranges, one question
    EXPECT_TRUE(keptOld("c.bin"));
    EXPECT_TRUE(fetched("new.bin"));
    EXPECT_TRUE(session->window.BrokenLists().Lists.empty());
}

TEST_F(LocalChecks, OverwriteAllAsksOnceAndTheWaitIsNotTheRunsTime)
{
    session->view.fileExists = {TFileExistsChoice::OverwriteAll};
    session->view.dialogMs = 2000;
    downloadAll();
    EXPECT_EQ(session->view.existing.size(), 1u);
    EXPECT_LT(session->window.LastRunMs(), 1800);
    for (const char* name : {"a.bin", "b.bin", "big.bin", "c.bin", "new.bin"})
        EXPECT_TRUE(fetched(name)) << name;
}

TEST_F(LocalChecks, SkipAllOverEveryDownloadEndsTheRunWithoutABrokenList)
{
    session->view.fileExists = {TFileExistsChoice::SkipAll};
    session->download({"a.bin", "b.bin", "big.bin", "c.bin"});
    ASSERT_TRUE(session->runEnded());
    EXPECT_EQ(session->view.existing.size(), 1u);
    for (const char* name : {"a.bin", "b.bin", "big.bin", "c.bin"})
        EXPECT_TRUE(keptOld(name)) << name;
    EXPECT_EQ(session->countLines("> RETR"), 0);
    EXPECT_TRUE(session->window.BrokenLists().Lists.empty());
    EXPECT_TRUE(session->view.messages.empty());
}

TEST_F(LocalChecks, NotEnoughSpaceAsksAgainOrKeepsTheQueueAsABrokenList)
{
    std::vector<int64_t> free = {1500, 1000};
    session->window.FreeSpaceOf = [&free](const std::string&) {
        int64_t bytes = free.empty() ? int64_t(1) << 40 : free.front();
        if (!free.empty())
            free.erase(free.begin());
        return bytes;
    };
    session->view.yesNo = {true, false};         // "free some space" once, then give up
    fs::remove(session->localDir() + "big.bin"); // no question about an existing file here
    session->download({"new.bin", "big.bin"});
    ASSERT_TRUE(session->runEnded());
    ASSERT_EQ(session->view.asked.size(), 2u);
    EXPECT_EQ(session->view.asked[0], "Space not enough|Disk free space not enough !\rNeed space = 3MB\r"
                                      "We have free space = 1KB\rPlease free some space then click Yes or "
                                      "click No for cancelling");
    EXPECT_EQ(session->countLines("> RETR"), 0);
    ASSERT_EQ(session->window.BrokenLists().Lists.size(), 1u);
    EXPECT_EQ(session->window.BrokenLists().Lists[0]->Items.size(), 4u); // new.bin and big.bin's three ranges

    // With room enough after one Yes, the run goes on.
    free = {10};
    session->view.yesNo = {true};
    session->view.asked.clear();
    session->download({"new.bin"});
    ASSERT_TRUE(session->runEnded());
    EXPECT_EQ(session->view.asked.size(), 1u);
    EXPECT_TRUE(fetched("new.bin"));
}

// ---------------------------------------------------------------- changes during a run

class ThrottledRun : public ::testing::Test
{
protected:
    void SetUp() override
    {
        server.setVariant({"--rate", "1000000"}); // 1 MB/s on every data connection
        ASSERT_TRUE(server.start()) << server.error();
        for (int n = 0; n < 6; ++n) {
            names.push_back("f" + std::to_string(n) + ".bin");
            ASSERT_TRUE(writePatternFile(server.localWorkDir() + "/" + names.back(), 1500000 + n, 50 + n));
        }
        session = std::make_unique<RunSession>(server, runSettings(3, false, 100000000));
        ASSERT_TRUE(session->connect());
    }
    void TearDown() override
    {
        if (HasFailure())
            session->dumpLogs();
    }
    bool allFetched()
    {
        bool all = true;
        for (const std::string& name : names)
            all &= fileHash(session->localDir() + name) == fileHash(session->remoteDir() + name);
        return all;
    }
    bool transferring(int connection, int64_t beyond = 0)
    {
        return session->window.Run().PositionOf(connection) > beyond;
    }

    FtpServer server;
    std::vector<std::string> names;
    std::unique_ptr<RunSession> session;
};

TEST_F(ThrottledRun, FewerAndMoreConnectionsDuringARun)
{
    TfmMain& window = session->window;
    session->download(names);
    ASSERT_TRUE(waitFor([&] { return transferring(1, 100000) && transferring(2, 100000); }));
    window.DecreaseThreadNumber(); // connection 2 goes: its file goes back to the run, from its offset
    EXPECT_EQ(window.Manager().Count(), 2);
    auto left = window.Run().Unfinished();
    EXPECT_TRUE(std::any_of(left.begin(), left.end(), [](const auto& item) { return item->BeginPos > 100000; }));
    window.IncreaseThreadNumber();
    window.IncreaseThreadNumber();
    EXPECT_EQ(window.Manager().Count(), 4);
    EXPECT_EQ(window.StatusRows().size(), 4u);
    ASSERT_TRUE(session->runEnded());
    EXPECT_TRUE(allFetched());
    EXPECT_GE(session->countLines("> RETR", 3), 1); // a new connection took work at once
    EXPECT_TRUE(window.BrokenLists().Lists.empty());
}

TEST_F(ThrottledRun, ItemsAddedDuringABackgroundRunStartOnIdleConnections)
{
    TfmMain& window = session->window;
    session->download({names[0]});
    ASSERT_TRUE(waitFor([&] { return transferring(1); }));
    EXPECT_EQ(window.SessionState(), ssConnected); // browsing goes on
    EXPECT_LT(window.Run().PositionOf(2), 0);
    session->download({names[1]});
    ASSERT_TRUE(waitFor([&] { return transferring(1) && transferring(2); }));
    EXPECT_EQ(window.Run().TotalBytes, 1500000 + 1500001);
    // Quitting now asks, saying what is still on the way.
    session->view.yesNo = {false};
    EXPECT_FALSE(window.CanClose());
    EXPECT_EQ(session->view.asked.back(), "Quit|2 files are still being transferred; what is left can be resumed "
                                          "from the broken list. Quit anyway?");

    // The status bar's figures while it runs.
    ASSERT_TRUE(waitFor([&] { return !window.StatusPanel(3).empty(); }, 3000));
    EXPECT_TRUE(window.GaugeVisible());
    EXPECT_TRUE(std::regex_match(window.StatusPanel(1), std::regex(R"(\d+(KB|MB)?/3MB\(\d+(KB|MB)?/s\))")))
        << window.StatusPanel(1);
    EXPECT_EQ(window.StatusPanel(3).rfind("Elapsed: 00:00:0", 0), 0u) << window.StatusPanel(3);
    EXPECT_EQ(window.StatusPanel(4).rfind("Remain: 00:00:0", 0), 0u) << window.StatusPanel(4);
    EXPECT_LE(window.GaugePercent(), 100);

    ASSERT_TRUE(session->runEnded());
    EXPECT_EQ(fileHash(session->localDir() + names[1]), fileHash(session->remoteDir() + names[1]));
    EXPECT_FALSE(window.GaugeVisible());
    EXPECT_TRUE(window.StatusPanel(1).empty());
    EXPECT_EQ(window.Run().DoneBytes, window.Run().TotalBytes);
}

TEST_F(ThrottledRun, AQuestionDuringABackgroundRunLetsTheRunGoOn)
{
    TfmMain& window = session->window;
    session->download({names[0], names[1]});
    ASSERT_TRUE(waitFor([&] { return transferring(1) && transferring(2); }));
    // "Break current connection ?" stays open as a modal dialog would, its event loop running
    // the transfers meanwhile; No leaves everything as it was.
    session->view.dialogMs = 800;
    session->view.yesNo = {false};
    int64_t before = window.Run().PositionOf(1);
    window.ConnectFromToolBar();
    EXPECT_GT(window.Run().PositionOf(1), before + 300000);
    EXPECT_EQ(session->view.asked.back(), "Confirm|Break current connection ?");
    EXPECT_EQ(window.SessionState(), ssConnected);

    // Yes with another site in the tool bar is refused while the run uses the connections;
    // with the same site only the main connection logs in again, and the run goes on.
    session->view.dialogMs = 0;
    TToolBarFields same = window.ToolBar();
    TToolBarFields other = same;
    other.Port = "1";
    window.SetToolBar(other);
    session->view.yesNo = {true};
    window.ConnectFromToolBar();
    EXPECT_EQ(session->view.messages.back(),
              "Sorry, Can't connect to different host while transfering file background");
    EXPECT_EQ(window.SessionState(), ssConnected);
    window.SetToolBar(same);
    session->view.yesNo = {true};
    int logins = session->countLines("> USER");
    window.ConnectFromToolBar();
    EXPECT_EQ(window.SessionState(), ssConnecting);
    ASSERT_TRUE(waitFor([&] { return window.SessionState() == ssConnected; }, 10000));
    EXPECT_EQ(session->countLines("> USER"), logins + 1);
    EXPECT_TRUE(window.Run().Running());
    ASSERT_TRUE(session->runEnded());
    EXPECT_EQ(fileHash(session->localDir() + names[0]), fileHash(session->remoteDir() + names[0]));
    EXPECT_EQ(fileHash(session->localDir() + names[1]), fileHash(session->remoteDir() + names[1]));
    EXPECT_EQ(session->view.nestedDialogs, 0);
}

TEST_F(ThrottledRun, ADisconnectDuringARunLeavesNoGaugeOrFigures)
{
    TfmMain& window = session->window;
    session->download(names);
    ASSERT_TRUE(waitFor([&] { return window.GaugeVisible() && !window.StatusPanel(3).empty(); }, 5000));
    window.Disconnect();
    EXPECT_EQ(window.SessionState(), ssReady);
    EXPECT_FALSE(window.GaugeVisible());
    EXPECT_TRUE(window.StatusPanel(3).empty());
    pumpFor(1500); // the progress timer is stopped: nothing comes back
    EXPECT_FALSE(window.GaugeVisible());
    EXPECT_TRUE(window.StatusPanel(1).empty());
}

TEST_F(ThrottledRun, AbortKeepsTheReachedOffsets)
{
    TfmMain& window = session->window;
    session->download(names);
    ASSERT_TRUE(waitFor([&] { return transferring(1, 200000) && transferring(2, 200000); }));
    window.Abort();
    ASSERT_TRUE(session->runEnded(10000));
    ASSERT_EQ(window.BrokenLists().Lists.size(), 1u);
    const auto& items = window.BrokenLists().Lists[0]->Items;
    ASSERT_EQ(items.size(), names.size());
    int started = 0;
    for (const auto& item : items) {
        EXPECT_LT(item->BeginPos, item->FileSize);
        if (item->BeginPos > 200000) {
            ++started;
            // What the offset promises is on disk.
            EXPECT_GE(static_cast<int64_t>(fs::file_size(item->LocalPath)), item->BeginPos);
        }
    }
    EXPECT_EQ(started, 2);
    EXPECT_EQ(window.SessionState(), ssConnected);
}

TEST(SplitAbort, ASplitFileLeftUnfinishedIsOneItemToTheUser)
{
    FtpServer server;
    server.setVariant({"--rate", "1000000"});
    ASSERT_TRUE(server.start()) << server.error();
    ASSERT_TRUE(writePatternFile(server.localWorkDir() + "/split.bin", 3000000, 3));
    RunSession session(server, runSettings(3, true, 500000));
    ASSERT_TRUE(session.connect());
    session.download({"split.bin"});
    ASSERT_TRUE(waitFor([&] { return session.window.Run().PositionOf(1) > 100000; }));
    session.window.Abort();
    ASSERT_TRUE(session.runEnded(10000));
    ASSERT_EQ(session.window.BrokenLists().Lists.size(), 1u);
    EXPECT_GT(session.window.BrokenLists().Lists[0]->Items.size(), 1u); // its ranges
    EXPECT_TRUE(anyMessageStartsWith(session.view, "1 item did not complete")) << session.view.messages.back();
}
