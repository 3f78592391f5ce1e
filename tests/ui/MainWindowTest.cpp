// The main window's logic end to end against a real server, with a scripted view.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <QProcess>
#include <QTemporaryDir>

#include <unistd.h>

#include "config/IniFile.h"
#include "ftp/FtpSecurity.h"
#include "support/FtpServer.h"
#include "support/ScriptedView.h"
#include "support/Selection.h"
#include "support/WaitFor.h"
#include "ui/MainWindow.h"

using namespace testsupport;
namespace fs = std::filesystem;

namespace {

class MainWindowOnServer : public ::testing::TestWithParam<ServerKind>
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.start()) << server.error();
        fs::create_directories(server.localWorkDir() + "/docs/old");
        std::ofstream(server.localWorkDir() + "/docs/a.txt") << "12345";
        std::ofstream(server.localWorkDir() + "/b.bin") << "123";
        // proftpd's sessions run as nobody: the files must be theirs to change.
        for (const char* name : {"/docs", "/docs/old", "/docs/a.txt", "/b.bin"})
            if (::chown((server.localWorkDir() + name).c_str(), 65534, 65534) != 0 && ::geteuid() == 0)
                ADD_FAILURE() << "chown " << name;
        window.FormCreate();
        TSettings settings = window.Settings();
        settings.PasvMode = true;
        window.ApplySettings(settings);
        window.SetToolBar({"127.0.0.1", server.portText(), FtpServer::kUser, FtpServer::kPassword});
    }

    void TearDown() override { window.FormDestroy(); }

    // Waits until the session is back in ssConnected (or ssReady).
    bool settled()
    {
        return waitFor([&] { return window.SessionState() == ssConnected || window.SessionState() == ssReady; });
    }
    int rowOf(const std::string& name) const { return remoteRow(window, name); }
    void select(const std::vector<std::string>& names) { selectRemote(window, names); }

    FtpServer server{GetParam()};
    QTemporaryDir data;
    ScriptedView view;
    TfmMain window{view, data.path().toStdString() + "/", data.path().toStdString() + "/"};
};

} // namespace

TEST_P(MainWindowOnServer, ConnectsShowsTheRowsAndBrowses)
{
    EXPECT_EQ(window.Caption(), "QuillFTP 2.3 - Not connected");
    window.ConnectFromToolBar();
    EXPECT_EQ(window.SessionState(), ssConnecting);
    ASSERT_TRUE(settled());
    EXPECT_EQ(window.SessionState(), ssConnected);
    EXPECT_EQ(window.Caption(), "QuillFTP 2.3 - 127.0.0.1");
    EXPECT_EQ(window.StatusPanel(0), "Connected");
    EXPECT_EQ(window.StatusRows()[0].State, "Connected");
    EXPECT_TRUE(window.AntiIdleRunning());
    ASSERT_EQ(window.RemoteEntries().size(), 3u);
    EXPECT_EQ(window.RemoteEntries()[0].Name, "..");
    EXPECT_EQ(window.RemoteEntries()[1].Name, "docs");
    EXPECT_EQ(window.RemoteEntries()[2].Name, "b.bin");
    EXPECT_NE(window.RemoteSummary().find("1 folder(s) 1 file(s)"), std::string::npos);

    // The history keeps the site with its password masked.
    ASSERT_EQ(window.Settings().HostItems.size(), 1u);
    EXPECT_EQ(window.Settings().HostItems[0], "127.0.0.1:" + server.portText() + ":quill:********");

    window.RemoteDoubleClick(rowOf("docs"));
    ASSERT_TRUE(settled());
    EXPECT_EQ(window.RemoteDir(), "/docs/");
    EXPECT_GE(rowOf("a.txt"), 0);
    window.RemoteDoubleClick(rowOf(".."));
    ASSERT_TRUE(settled());
    EXPECT_EQ(window.RemoteDir(), "/");

    select({"b.bin"});
    window.RemoteCopyUrl();
    EXPECT_EQ(view.clipboard, "/b.bin");

    // Closing while connected asks first.
    view.yesNo = {false};
    EXPECT_FALSE(window.CanClose());
    EXPECT_EQ(view.asked.back(), "Quit|Still connected to host, Quit anyway?");
}

TEST_P(MainWindowOnServer, RemoteCommandsEndInTheRefreshedPane)
{
    window.ConnectFromToolBar();
    ASSERT_TRUE(settled());

    view.answers = {"made"};
    window.RemoteMakeDirectory();
    ASSERT_TRUE(settled());
    EXPECT_GE(rowOf("made"), 0);

    select({"b.bin"});
    view.answers = {"c.bin"};
    window.RemoteRename();
    ASSERT_TRUE(settled());
    EXPECT_GE(rowOf("c.bin"), 0);
    EXPECT_EQ(rowOf("b.bin"), -1);

    select({"c.bin"});
    view.answers = {"/made"};
    window.RemoteMove();
    ASSERT_TRUE(settled());
    EXPECT_EQ(window.RemoteDir(), "/made/"); // the pane shows the destination
    EXPECT_GE(rowOf("c.bin"), 0);

    if (GetParam() == ServerKind::Proftpd) {
        select({"c.bin"});
        view.answers = {"600"};
        window.RemoteChangeMode();
        ASSERT_TRUE(settled());
        EXPECT_EQ(window.RemoteEntries()[static_cast<size_t>(rowOf("c.bin"))].Permissions, "-rw-------");
    }

    select({"c.bin"});
    view.yesNo = {true};
    window.RemoteDelete();
    EXPECT_EQ(view.asked.back(), "Delete|Delete the file \"c.bin\" from the server?");
    ASSERT_TRUE(settled());
    EXPECT_EQ(rowOf("c.bin"), -1);
    EXPECT_EQ(window.SessionState(), ssConnected);
}

TEST_P(MainWindowOnServer, DeleteAsksAndTakesAFolderWithItsContentsButNotWhatItsLinksLeadTo)
{
    std::string root = server.localWorkDir() + "/";
    fs::create_directories(root + "keep/inner");
    std::ofstream(root + "keep/inner/k.txt") << "kept";
    std::ofstream(root + "docs/old/deep.txt") << "deep";
    fs::create_directory_symlink("../keep", root + "docs/link");
    for (const char* name : {"keep", "keep/inner", "keep/inner/k.txt", "docs/old/deep.txt"})
        if (::chown((root + name).c_str(), 65534, 65534) != 0 && ::geteuid() == 0)
            ADD_FAILURE() << "chown " << name;
    if (::lchown((root + "docs/link").c_str(), 65534, 65534) != 0 && ::geteuid() == 0)
        ADD_FAILURE() << "lchown link";
    window.ConnectFromToolBar();
    ASSERT_TRUE(settled());

    // No deletes nothing; without the question a folder goes only when empty, and the
    // server's refusal is told.
    select({"docs", "b.bin"});
    view.yesNo = {false};
    window.RemoteDelete();
    EXPECT_EQ(view.asked.back(), "Delete|Delete 1 file and 1 folder with everything in it from the server?");
    EXPECT_EQ(window.SessionState(), ssConnected);
    TSettings settings = window.Settings();
    settings.ConfirmDelete = false;
    window.ApplySettings(settings);
    select({"docs"});
    window.RemoteDelete();
    ASSERT_TRUE(settled());
    ASSERT_FALSE(view.messages.empty());
    EXPECT_EQ(view.messages.back().rfind("Could not delete:\ndocs: 55", 0), 0u) << view.messages.back();
    EXPECT_TRUE(fs::exists(root + "docs/a.txt"));

    settings.ConfirmDelete = true;
    window.ApplySettings(settings);
    select({"docs"});
    view.yesNo = {true};
    window.RemoteDelete();
    ASSERT_TRUE(settled());
    EXPECT_EQ(rowOf("docs"), -1);
    EXPECT_FALSE(fs::exists(root + "docs"));
    EXPECT_TRUE(fs::exists(root + "keep/inner/k.txt")); // the link went, not what it led to
    EXPECT_EQ(window.LastResult(TOperation::Delete).Failures().size(), 0u);

    // Abort stops a tree's deletion where it is, says so, and keeps the connection.
    fs::create_directories(root + "many");
    for (int n = 0; n < 300; ++n)
        std::ofstream(root + "many/f" + std::to_string(n)) << n;
    QProcess::execute("chown", {"-R", "65534:65534", QString::fromStdString(root + "many")});
    window.RemoteRefresh();
    ASSERT_TRUE(settled());
    select({"many"});
    view.yesNo = {true};
    window.RemoteDelete();
    auto left = [&] { return std::distance(fs::directory_iterator(root + "many"), fs::directory_iterator()); };
    ASSERT_TRUE(waitFor([&] { return left() < 300; }));
    window.Abort();
    ASSERT_TRUE(settled());
    const TOperationResult& aborted = window.LastResult(TOperation::Delete);
    EXPECT_FALSE(aborted.Success);
    EXPECT_EQ(aborted.Reply, "User Aborted");
    EXPECT_GT(left(), 200);
    EXPECT_GE(rowOf("many"), 0);
    EXPECT_EQ(window.SessionState(), ssConnected);

    // A cancelled input box changes nothing.
    view.answers = {"<cancel>"};
    window.RemoteMakeDirectory();
    EXPECT_EQ(window.SessionState(), ssConnected);
}

TEST_P(MainWindowOnServer, AnAddressWithAStartDirectoryAndAReconnectFromHistory)
{
    window.SetToolBar({"ftp://" + std::string(FtpServer::kUser) + ":" + FtpServer::kPassword +
                           "@127.0.0.1:" + server.portText() + "/docs/",
                       "21", "anonymous", "x"});
    window.ConnectFromToolBar();
    ASSERT_TRUE(settled());
    EXPECT_EQ(window.RemoteDir(), "/docs/");
    EXPECT_EQ(window.ToolBar().HostName, "127.0.0.1");

    window.Disconnect();
    EXPECT_EQ(window.SessionState(), ssReady);
    EXPECT_TRUE(window.RemoteEntries().empty());

    // The masked history item connects with the password that was used.
    window.SetToolBar({window.Settings().HostItems[0], "21", "someone", "else"});
    window.ConnectFromToolBar();
    ASSERT_TRUE(settled());
    EXPECT_EQ(window.SessionState(), ssConnected);
    EXPECT_EQ(window.ToolBar().Pass, FtpServer::kPassword);
    EXPECT_EQ(window.Settings().HostItems.size(), 1u); // the same site adds nothing

    // Breaking a connection asks first; No leaves it alone.
    view.yesNo = {false};
    window.ConnectFromToolBar();
    EXPECT_EQ(window.SessionState(), ssConnected);
    EXPECT_EQ(view.asked.back(), "Confirm|Break current connection ?");
}

TEST_P(MainWindowOnServer, SelectionsBecomeQueueItemsAndDirectories)
{
    QTemporaryDir local;
    std::string localDir = local.path().toStdString() + "/";
    window.Local().SetPath(localDir);
    int runs = 0;
    window.StartTransfers = [&](auto&, bool) { ++runs; };
    window.ConnectFromToolBar();
    ASSERT_TRUE(settled());

    // A directory (for the run to list) and a file, in pane order.
    select({"docs", "b.bin"});
    window.DownloadSelected();
    ASSERT_TRUE(waitFor([&] { return runs == 1; }));
    ASSERT_EQ(window.Queue().size(), 2u);
    EXPECT_TRUE(window.Queue()[0]->IsDir);
    EXPECT_EQ(window.Queue()[0]->HostPath, "/docs/");
    EXPECT_EQ(window.Queue()[0]->LocalPath, localDir + "docs/");
    EXPECT_EQ(window.Queue()[1]->HostPath, "/b.bin");
    EXPECT_EQ(window.Queue()[1]->FileSize, 3);
    EXPECT_EQ(window.SessionState(), ssTransfering);
    EXPECT_EQ(window.QueueTree().Downloads().Children.size(), 1u); // the directory's files come as it is listed

    // Calculate Size keeps to a list of its own.
    window.SetSessionState(ssConnected);
    select({"docs", "b.bin"});
    window.CalculateSize();
    ASSERT_TRUE(waitFor([&] { return !view.messages.empty(); }));
    EXPECT_EQ(view.messages.back(), "Total FileSize = 8 bytes");
    EXPECT_EQ(window.Queue().size(), 2u);
    EXPECT_EQ(window.SessionState(), ssConnected);

    // Upload of nested directories: remote directories parents first, each once.
    fs::create_directories(localDir + "up/one/two");
    std::ofstream(localDir + "up/one/two/deep.txt") << "d";
    std::ofstream(localDir + "up/one/mid.txt") << "m";
    selectLocal(window, {"up"});
    window.UploadSelected();
    ASSERT_TRUE(waitFor([&] { return runs == 2; }));
    // The directories to make first, parents first, then the two downloads queued before and
    // the two uploads.
    ASSERT_EQ(window.Queue().size(), 7u);
    std::vector<std::string> directories;
    for (size_t k = 0; k < 3; ++k) {
        EXPECT_TRUE(window.Queue()[k]->IsDir && !window.Queue()[k]->IsDownload);
        directories.push_back(window.Queue()[k]->HostPath);
    }
    EXPECT_EQ(directories, (std::vector<std::string>{"/up/", "/up/one/", "/up/one/two/"}));
    EXPECT_EQ(window.Queue()[1]->LocalPath, localDir + "up/one/");
    EXPECT_FALSE(window.Queue()[5]->IsDownload);
    EXPECT_FALSE(window.Queue()[6]->IsDownload);
}

INSTANTIATE_TEST_SUITE_P(Servers, MainWindowOnServer, ::testing::Values(ServerKind::Pyftpdlib, ServerKind::Proftpd),
                         [](const ::testing::TestParamInfo<ServerKind>& info) { return serverName(info.param); });

TEST(MainWindow, StartsReadyWithItsRowsAndFollowsTheConnectionCount)
{
    QTemporaryDir data;
    std::string dataDir = data.path().toStdString() + "/";
    std::ofstream(dataDir + "quillftp.ini") << "[FtpCliNum]\nFtpCliNum=3\n[LocalPath]\nLocalPath=/no/such/dir/\n";
    fs::create_directories(dataDir + "tmp");
    std::ofstream(dataDir + "tmp/leftover.txt") << "old";
    ScriptedView view;
    TfmMain window(view, dataDir, dataDir);
    window.FormCreate();
    EXPECT_EQ(window.SessionState(), ssReady);
    EXPECT_TRUE(window.CanClose());            // nothing to ask in ssReady
    EXPECT_EQ(window.Local().Path(), dataDir); // a missing directory falls back to the program's
    EXPECT_FALSE(fs::exists(dataDir + "tmp/leftover.txt"));
    ASSERT_EQ(window.StatusRows().size(), 3u);
    EXPECT_EQ(StatusCaptionText(window.StatusRows()[2]), "2");
    EXPECT_EQ(window.Logs().Count(), 3);

    window.ResizeConnectionCount(5);
    EXPECT_EQ(window.StatusRows().size(), 5u);
    EXPECT_EQ(window.StatusRows()[4].State, "Ready");
    EXPECT_EQ(window.Logs().Count(), 5);
    EXPECT_NE(window.Manager().Client(4), nullptr);
    window.ResizeConnectionCount(2);
    EXPECT_EQ(window.StatusRows().size(), 2u);
    EXPECT_EQ(window.Logs().Count(), 2);

    // The connection commands and their limits.
    window.ResizeConnectionCount(1);
    window.DecreaseThreadNumber();
    EXPECT_EQ(window.Settings().ConnectionCount, 1);
    window.ToggleMainConnDownload();
    EXPECT_EQ(view.messages.back(), "Can't set Main-Connection idle when only 1 connection");
    EXPECT_TRUE(window.Settings().MainConnDownload);
    window.IncreaseThreadNumber();
    window.IncreaseThreadNumber();
    EXPECT_EQ(window.Settings().ConnectionCount, 3);
    EXPECT_EQ(window.MainConnectionCaption(), "NOT Use Main Connection to Transfer");
    window.ToggleMainConnDownload();
    EXPECT_FALSE(window.Settings().MainConnDownload);
    EXPECT_EQ(window.MainConnectionCaption(), "Use Main Connection to Transfer");
    window.DecreaseThreadNumber();
    EXPECT_EQ(window.Settings().ConnectionCount, 2);
    window.DecreaseThreadNumber(); // two are the least without connection 0
    EXPECT_EQ(window.Settings().ConnectionCount, 2);
    EXPECT_EQ(window.StatusRows().size(), 2u);

    window.ShowLogLine(1, "> PASS secret");
    window.CopyLog(1);
    EXPECT_EQ(view.clipboard, "> PASS ********\n");
    window.FormDestroy();
    EXPECT_EQ(IniFile(dataDir + "quillftp.ini").ReadInteger("FtpCliNum", "FtpCliNum", 0), 2);
}

namespace {

// A window with its own data directory and no server.
class MainWindowAlone : public ::testing::Test
{
protected:
    void SetUp() override { window.FormCreate(); }
    void TearDown() override { window.FormDestroy(); }

    QTemporaryDir data;
    std::string dataDir = data.path().toStdString() + "/";
    ScriptedView view;
    TfmMain window{view, dataDir, dataDir};
};

} // namespace

TEST_F(MainWindowAlone, AnEditedHistoryItemIsTakenAsItStands)
{
    TSettings settings = window.Settings();
    settings.ConnectionRetryTimes = 1;
    settings.HostHistory = {"127.0.0.1:21:u:secret"};
    settings.HostItems = {"127.0.0.1:21:u:********"};
    window.ApplySettings(settings);
    std::string port = std::to_string(closedLoopbackPort());
    // The user changed the port of the masked item: it is no item any more.
    TToolBarFields fields = window.ToolBar();
    fields.HostName = "127.0.0.1:" + port + ":u:********";
    window.SetToolBar(fields);
    window.ConnectFromToolBar();
    EXPECT_EQ(window.SessionState(), ssConnecting);
    EXPECT_EQ(window.ToolBar().Port, port);
    EXPECT_EQ(window.ToolBar().Pass, "********");
    ASSERT_TRUE(waitFor([&] { return window.SessionState() == ssReady; }));
}

TEST_F(MainWindowAlone, AnAddressSchemeHoldsWhileTheToolBarNamesTheSameServer)
{
    // As ftps://u:p@h:990/ leaves the fields; the window gives them back without a scheme.
    window.SetToolBar({"h", "990", "u", "p", ftpsImplicit});
    window.SetToolBar({"h", "990", "u", "other"});
    EXPECT_EQ(window.ToolBar().Security, ftpsImplicit);
    window.SetToolBar({"elsewhere", "990", "u", "p"});
    EXPECT_EQ(window.ToolBar().Security, -1);
}

TEST_F(MainWindowAlone, AnEmptyUserLogsInAnonymouslyAndAMissingFieldIsNamed)
{
    FtpServer server;
    server.setVariant({"--anonymous"});
    ASSERT_TRUE(server.start()) << server.error();
    window.SetToolBar({"127.0.0.1", server.portText(), "", ""});
    window.ConnectFromToolBar();
    ASSERT_TRUE(waitFor([&] { return window.SessionState() == ssConnected || window.SessionState() == ssReady; }));
    EXPECT_EQ(window.SessionState(), ssConnected);
    EXPECT_EQ(window.Manager().SessionInfo().UserName, "anonymous");
    EXPECT_EQ(window.Manager().SessionInfo().PassWord, window.Settings().AnonymousEmail);
    window.Disconnect();
    server.stop();

    window.SetToolBar({"", "21", "me", ""});
    window.ConnectFromToolBar();
    EXPECT_EQ(window.SessionState(), ssReady);
    ASSERT_FALSE(view.messages.empty());
    EXPECT_EQ(view.messages.back(), "Please enter the host name to connect");
    window.SetToolBar({"127.0.0.1", "21", "me", ""});
    window.ConnectFromToolBar();
    EXPECT_EQ(view.messages.back(), "Please enter the password of me to connect");
}
