// Whole transfer runs through the main window's logic against a real server: several
// connections, a split download written into one file, uploads, foreground and background.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iostream>

#include <QTemporaryDir>

#include "support/FtpServer.h"
#include "support/ScriptedView.h"
#include "support/TestTree.h"
#include "support/WaitFor.h"
#include "ui/MainWindow.h"

using namespace testsupport;
namespace fs = std::filesystem;

namespace {

class TransferRun : public ::testing::TestWithParam<bool> // MainConnDownload
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.start()) << server.error();
        std::string remote = server.localWorkDir();
        fs::create_directories(remote + "/tree/inner");
        ASSERT_TRUE(writePatternFile(remote + "/tree/one.bin", 300000, 1));
        ASSERT_TRUE(writePatternFile(remote + "/tree/inner/two.txt", 5000, 2));
        ASSERT_TRUE(writePatternFile(remote + "/big.bin", 3 * 1024 * 1024 + 7, 3));
        std::ofstream(data.path().toStdString() + "/quillftp.ini")
            << "[FtpCliNum]\nFtpCliNum=3\n[MTFileSize]\nMTFileSize=1000000\n[PasvMode]\nPasvMode=1\n"
            << "[MainConnDownload]\nMainConnDownload=" << (GetParam() ? 1 : 0) << "\n";
        window.FormCreate();
        window.Local.SetPath(local.path().toStdString() + "/");
        window.ToolBar = {"127.0.0.1", server.portText(), FtpServer::kUser, FtpServer::kPassword};
        window.ConnectFromToolBar();
        ASSERT_TRUE(waitFor([&] { return window.SessionState() == ssConnected; }));
    }
    void TearDown() override
    {
        if (HasFailure())
            for (int n = 0; n < window.Logs.Count(); ++n)
                for (const TLogLine& line : window.Logs.Lines(n))
                    std::cerr << "    log " << n << ": " << line.Text << "\n";
        window.FormDestroy();
    }

    void select(const std::vector<std::string>& names)
    {
        window.RemoteSelected.assign(window.RemoteEntries.size(), false);
        for (size_t i = 0; i < window.RemoteEntries.size(); ++i)
            for (const std::string& name : names)
                if (window.RemoteEntries[i].Name == name)
                    window.RemoteSelected[i] = true;
    }
    bool runEnded()
    {
        return waitFor([&] { return !window.Engine.Running() && window.SessionState() == ssConnected; }, 60000);
    }

    FtpServer server;
    QTemporaryDir data;
    QTemporaryDir local;
    ScriptedView view;
    TfmMain window{view, data.path().toStdString() + "/", data.path().toStdString() + "/"};
};

} // namespace

TEST_P(TransferRun, DownloadsATreeAndASplitFileWithSeveralConnections)
{
    select({"tree", "big.bin"});
    window.DownloadSelected();
    if (!GetParam()) { // background: connection 0 is free at once
        EXPECT_TRUE(waitFor([&] { return window.SessionState() == ssConnected; }));
    }
    ASSERT_TRUE(runEnded());
    std::string here = local.path().toStdString();
    std::string remote = server.localWorkDir();
    EXPECT_EQ(fileHash(here + "/big.bin"), fileHash(remote + "/big.bin"));
    EXPECT_EQ(fileHash(here + "/tree/one.bin"), fileHash(remote + "/tree/one.bin"));
    EXPECT_EQ(fileHash(here + "/tree/inner/two.txt"), fileHash(remote + "/tree/inner/two.txt"));
    EXPECT_EQ(window.Engine.DoneBytes, window.Engine.TotalBytes);
    EXPECT_TRUE(window.Queue.empty());
    EXPECT_TRUE(window.QueueTree->Downloads().Children.empty());
    // The big file went as ranges on more than one connection.
    int rangeStarts = 0;
    for (int n = 0; n < 3; ++n)
        for (const TLogLine& line : window.Logs.Lines(n))
            rangeStarts += line.Text.rfind("> RETR /big.bin", 0) == 0;
    EXPECT_EQ(rangeStarts, GetParam() ? 3 : 2);
}

TEST_P(TransferRun, UploadsATreeIntoNewRemoteDirectories)
{
    std::string here = local.path().toStdString();
    fs::create_directories(here + "/up/deep");
    ASSERT_TRUE(writePatternFile(here + "/up/a.bin", 700000, 4));
    ASSERT_TRUE(writePatternFile(here + "/up/deep/b.bin", 1200000, 5));
    window.Local.Refresh();
    window.Local.Selected.assign(window.Local.LocalEntries.size(), false);
    for (size_t i = 0; i < window.Local.LocalEntries.size(); ++i)
        window.Local.Selected[i] = window.Local.LocalEntries[i].Name == "up";
    window.UploadSelected();
    ASSERT_TRUE(runEnded());
    std::string remote = server.localWorkDir();
    EXPECT_TRUE(waitFor([&] { return fileHash(remote + "/up/deep/b.bin") == fileHash(here + "/up/deep/b.bin"); }));
    EXPECT_EQ(fileHash(remote + "/up/a.bin"), fileHash(here + "/up/a.bin"));
}

INSTANTIATE_TEST_SUITE_P(Modes, TransferRun, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "foreground" : "background";
                         });

TEST(BrokenListResume, CompletesAfterARestartIntoThePartlyWrittenFile)
{
    FtpServer server;
    ASSERT_TRUE(server.start()) << server.error();
    const int64_t size = 2 * 1024 * 1024 + 11;
    ASSERT_TRUE(writePatternFile(server.localWorkDir() + "/big.bin", size, 9));
    QTemporaryDir data;
    QTemporaryDir local;
    std::string dataDir = data.path().toStdString() + "/";
    std::string target = local.path().toStdString() + "/big.bin";
    {
        // What an interrupted run left: the first part on disk, and a broken list for the rest.
        std::ifstream whole(server.localWorkDir() + "/big.bin", std::ios::binary);
        std::string head(1000000, '\0');
        whole.read(head.data(), static_cast<std::streamsize>(head.size()));
        std::ofstream(target, std::ios::binary).write(head.data(), static_cast<std::streamsize>(head.size()));
        ScriptedView view;
        TfmMain before(view, dataDir, dataDir);
        before.FormCreate();
        auto broken = std::make_unique<TOldQuene>();
        *broken = TOldQuene{"2026-12-06 09:00:00", "127.0.0.1",          server.portText(),
                            FtpServer::kUser,      FtpServer::kPassword, {}};
        broken->Items.push_back(std::make_unique<TTransferFileInfo>(
            TTransferFileInfo{true, "/big.bin", target, size, 1000000, size, false}));
        before.BrokenLists.Lists.push_back(std::move(broken));
        before.FormDestroy();
    }
    ScriptedView view;
    TfmMain after(view, dataDir, dataDir);
    after.FormCreate();
    after.settings.PasvMode = true;
    after.Manager.ConfigureConnection(0);
    ASSERT_EQ(after.BrokenLists.Lists.size(), 1u);
    ASSERT_EQ(after.QueueTree->Roots().size(), 2u);
    after.ResumeBrokenList(0);
    EXPECT_EQ(after.QueueTree->Roots().size(), 1u);
    ASSERT_TRUE(waitFor(
        [&] { return !after.Engine.Running() && after.SessionState() == ssConnected && after.Queue.empty(); }, 30000));
    EXPECT_EQ(fileHash(target), fileHash(server.localWorkDir() + "/big.bin"));
    EXPECT_TRUE(view.asked.empty()); // no questions on a resume
    after.FormDestroy();
    TBrokenLists stored;
    stored.Load(dataDir + "oldquene.ini");
    EXPECT_TRUE(stored.Lists.empty()); // resumed: gone from the file too
}
