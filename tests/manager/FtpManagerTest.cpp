// The connection manager against real servers: the login sequence, the listing cache and the
// remote operations, and against scripted servers for what real ones do not do.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "manager/FtpManager.h"
#include "support/FtpProxy.h"
#include "support/FtpServer.h"
#include "support/ScriptedPeer.h"
#include "support/SocksServer.h"
#include "support/WaitFor.h"

using namespace testsupport;
namespace fs = std::filesystem;

namespace {

class RecordingHost : public IManagerHost
{
public:
    TSettings settings;
    TSessionState state = ssConnecting;
    bool transfersRunning = false;
    int done = 0;
    int failed = 0;
    TOperationResult last;         // the result of the operation that ended last
    std::vector<std::string> log0; // connection 0's log

    void OperationDone(const TOperationResult& result) override
    {
        ++done;
        last = result;
    }
    void OperationFailed(const TOperationResult& result) override
    {
        ++failed;
        last = result;
    }
    TSessionState SessionState() const override { return state; }
    void SetSessionState(TSessionState newState) override { state = newState; }
    bool TransfersRunning() const override { return transfersRunning; }
    const TSettings& Settings() const override { return settings; }
    void ShowLogLine(int connection, const std::string& line) override
    {
        if (connection == 0)
            log0.push_back(line);
    }

    int count(const std::string& prefix) const
    {
        return static_cast<int>(std::count_if(log0.begin(), log0.end(),
                                              [&](const std::string& line) { return line.rfind(prefix, 0) == 0; }));
    }
    // Waits for the next OperationDone or OperationFailed.
    bool finished(int& doneBefore, int& failedBefore)
    {
        bool ended = waitFor([&] { return done > doneBefore || failed > failedBefore; }, 30000);
        doneBefore = done;
        failedBefore = failed;
        return ended;
    }
};

class ManagerOnServer : public ::testing::TestWithParam<ServerKind>
{
protected:
    void SetUp() override
    {
        server = std::make_unique<FtpServer>(GetParam());
        ASSERT_TRUE(server->start()) << server->error();
        host.settings.PasvMode = true;
        manager.InitConnections(2);
    }

    void TearDown() override
    {
        manager.DisconnectAll();
        if (HasFailure())
            for (const std::string& line : host.log0)
                std::cerr << "    log: " << line << "\n";
    }

    bool connect()
    {
        manager.ConnectMain({"127.0.0.1", server->portText(), server->user(), server->password()});
        return step() && host.failed == 0;
    }
    // Waits for the running operation to end; false on a timeout.
    bool step() { return host.finished(doneSeen, failedSeen); }
    std::string local(const std::string& name) const { return server->localWorkDir() + "/" + name; }
    std::string remote(const std::string& name) const
    {
        return (server->workDir() == "/" ? "" : server->workDir()) + "/" + name;
    }

    std::string listCommand() const { return server->kind() == ServerKind::Vsftpd ? "LIST" : "MLSD"; }

    std::unique_ptr<FtpServer> server;
    RecordingHost host;
    TFtpManager manager{host};
    int doneSeen = 0;
    int failedSeen = 0;
};

} // namespace

TEST_P(ManagerOnServer, LogsInProbesAndListsOnConnectionZero)
{
    ASSERT_TRUE(connect());
    EXPECT_EQ(host.log0.front(), "Connecting to 127.0.0.1 ...");
    std::vector<std::string> commands;
    for (const std::string& line : host.log0)
        if (line.rfind("> ", 0) == 0)
            commands.push_back(
                line.substr(2, line.find(' ', 2) == std::string::npos ? std::string::npos : line.find(' ', 2) - 2));
    // AUTH TLS first (refused: these servers run without TLS), EPSV: every one offers it, and
    // MLSD where FEAT names MLST (all but vsftpd).
    std::vector<std::string> expected = {"AUTH", "USER", "FEAT", "SYST", "TYPE",       "REST",
                                         "REST", "PWD",  "TYPE", "EPSV", listCommand()};
    if (server->kind() != ServerKind::Vsftpd) // OPTS UTF8 ON where FEAT names UTF8, after the probes sent together
        expected.insert(expected.begin() + 7, "OPTS");
    if (server->kind() != ServerKind::Vsftpd || commands[2] == "PASS")
        expected.insert(expected.begin() + 2, "PASS");
    EXPECT_EQ(commands, expected);
    EXPECT_EQ(manager.CurrentRemoteDir(), "/");
    EXPECT_EQ(manager.Cache().Size(), 1);
}

TEST_P(ManagerOnServer, ChangesDirectoryWithTheCacheAndRefreshes)
{
    fs::create_directory(local("sub"));
    fs::permissions(local("sub"), fs::perms::all);
    std::ofstream(local("sub/inside.txt")) << "x";
    ASSERT_TRUE(connect());
    manager.ChangeDir(server->workDir() == "/" ? "sub" : remote("sub"));
    ASSERT_TRUE(step());
    EXPECT_EQ(manager.CurrentRemoteDir(), remote("sub/"));
    EXPECT_NE(manager.ListingText().find("inside.txt"), std::string::npos);
    manager.ChangeDir("..");
    ASSERT_TRUE(step());
    manager.ChangeDir(remote("sub"));
    ASSERT_TRUE(step());
    // The second visit of sub/ came from the cache: CWD and PWD, no listing.
    int lists = host.count("> " + listCommand());
    EXPECT_EQ(lists, server->workDir() == "/" ? 2 : 3);
    EXPECT_NE(manager.ListingText().find("inside.txt"), std::string::npos);

    std::ofstream(local("sub/new.txt")) << "y";
    manager.Refresh(manager.CurrentRemoteDir());
    ASSERT_TRUE(step());
    EXPECT_EQ(host.count("> " + listCommand()), lists + 1);
    EXPECT_NE(manager.ListingText().find("new.txt"), std::string::npos);

    manager.ChangeDir(remote("missing"));
    ASSERT_TRUE(step());
    EXPECT_EQ(host.failed, 1);
    EXPECT_EQ(manager.CurrentRemoteDir(), remote("sub/")); // unchanged after a refused CWD
}

TEST_P(ManagerOnServer, WalksATreeFollowingLinksButNothingTwice)
{
    fs::create_directories(local("tree/inner/deeper"));
    std::ofstream(local("tree/a.txt")) << "12345";
    std::ofstream(local("tree/inner/b.txt")) << "12";
    std::ofstream(local("tree/inner/deeper/c.txt")) << "1";
    fs::create_directory_symlink("inner", local("tree/jump"));
    ASSERT_TRUE(connect());
    if (server->workDir() != "/") {
        manager.ChangeDir(server->workDir());
        ASSERT_TRUE(step());
    }
    std::vector<TGetFileInfo> found;
    manager.Walk("tree", &found);
    ASSERT_TRUE(step());
    std::map<std::string, int64_t> files;
    for (const TGetFileInfo& file : found)
        files[file.Path] += file.Size;
    // pyftpdlib's MLSD shows the link as a directory, the same one ("unique") as inner: the
    // one listed first is walked, as either name.
    std::string walked = files.count(remote("tree/jump/b.txt")) != 0 && server->kind() == ServerKind::Pyftpdlib
                             ? "tree/jump/"
                             : "tree/inner/";
    EXPECT_EQ(files,
              (std::map<std::string, int64_t>{
                  {remote("tree/a.txt"), 5}, {remote(walked + "b.txt"), 2}, {remote(walked + "deeper/c.txt"), 1}}));
    EXPECT_EQ(manager.CurrentRemoteDir(), remote("")); // back where the walk began
}

namespace {

// "name:code" for each item of a result, the code 0 for a success.
std::vector<std::string> outcomes(const TOperationResult& result)
{
    std::vector<std::string> items;
    for (const TItemOutcome& item : result.Items)
        items.push_back(item.Name + ":" + std::to_string(item.Code));
    return items;
}

} // namespace

TEST_P(ManagerOnServer, RunsTheMakeRenameMoveDeleteAndModeChainsWithTheirResults)
{
    ASSERT_TRUE(connect());
    EXPECT_EQ(host.last.Operation, TOperation::Connect);
    EXPECT_TRUE(host.last.Success);
    if (server->workDir() != "/") {
        manager.ChangeDir(server->workDir());
        ASSERT_TRUE(step());
    }
    manager.MakeDirs({remote("made"), remote("made/inner"), remote("dest")});
    ASSERT_TRUE(step());
    EXPECT_TRUE(fs::is_directory(local("made/inner")));
    EXPECT_EQ(host.last.Operation, TOperation::MakeDirs);
    EXPECT_TRUE(host.last.Success);
    EXPECT_EQ(outcomes(host.last),
              (std::vector<std::string>{remote("made") + ":0", remote("made/inner") + ":0", remote("dest") + ":0"}));
    // One that exists: refused, the one after it made all the same.
    manager.MakeDirs({remote("made"), remote("other")});
    ASSERT_TRUE(step());
    EXPECT_FALSE(host.last.Success);
    ASSERT_EQ(host.last.Items.size(), 2u);
    EXPECT_EQ(host.last.Items[0].Code, 550) << host.last.Items[0].Reply;
    EXPECT_EQ(host.last.Items[0].Reply.rfind("550", 0), 0u) << host.last.Items[0].Reply;
    EXPECT_TRUE(host.last.Items[1].Succeeded());
    EXPECT_TRUE(fs::is_directory(local("other")));

    std::ofstream(local("one.txt")) << "1";
    std::ofstream(local("two.txt")) << "2";
    manager.RenameFiles({{remote("one.txt"), remote("uno.txt")}});
    ASSERT_TRUE(step());
    EXPECT_TRUE(fs::exists(local("uno.txt")));
    EXPECT_TRUE(host.last.Success);
    // A missing source: RNFR refused, and no RNTO follows it.
    int renames = host.count("> RNTO ");
    manager.RenameFiles({{remote("uno.txt"), remote("dest/uno.txt")},
                         {remote("nothing.txt"), remote("dest/nothing.txt")},
                         {remote("two.txt"), remote("dest/two.txt")}});
    ASSERT_TRUE(step());
    EXPECT_TRUE(fs::exists(local("dest/uno.txt")));
    EXPECT_TRUE(fs::exists(local("dest/two.txt")));
    EXPECT_EQ(host.last.Operation, TOperation::Rename);
    EXPECT_FALSE(host.last.Success);
    ASSERT_EQ(host.last.Items.size(), 3u);
    EXPECT_EQ(host.last.Items[1].Name, remote("nothing.txt"));
    EXPECT_GE(host.last.Items[1].Code, 450) << host.last.Items[1].Reply;
    EXPECT_TRUE(host.last.Items[0].Succeeded() && host.last.Items[2].Succeeded());
    EXPECT_EQ(host.count("> RNTO "), renames + 2);

    if (GetParam() != ServerKind::Pyftpdlib) {
        manager.ChangeModes({remote("dest/uno.txt"), remote("dest/two.txt")}, "600");
        ASSERT_TRUE(step());
        EXPECT_EQ(host.count("> SITE CHMOD 600 "), 2);
        EXPECT_EQ(host.last.Operation, TOperation::ChangeMode);
        EXPECT_EQ(host.last.Items.size(), 2u); // allowed or not, as the server decides: each with its reply
    }
    manager.ChangeModes({remote("dest/missing.txt")}, "600");
    ASSERT_TRUE(step());
    EXPECT_FALSE(host.last.Success);
    ASSERT_EQ(host.last.Items.size(), 1u);
    EXPECT_GE(host.last.Items[0].Code, 500);

    // A directory that is not empty cannot go; the entries after it still do.
    manager.ChangeDir(remote("dest"));
    ASSERT_TRUE(step());
    fs::create_directory(local("dest/full"));
    std::ofstream(local("dest/full/keep.txt")) << "k";
    manager.DeleteFiles({{"full", true}, {"uno.txt", false}, {"two.txt", false}});
    ASSERT_TRUE(step());
    EXPECT_TRUE(fs::exists(local("dest/full")));
    EXPECT_FALSE(fs::exists(local("dest/uno.txt")));
    EXPECT_FALSE(fs::exists(local("dest/two.txt")));
    EXPECT_EQ(host.last.Operation, TOperation::Delete);
    EXPECT_FALSE(host.last.Success);
    ASSERT_EQ(host.last.Items.size(), 3u);
    EXPECT_EQ(host.last.Items[0].Name, "full");
    EXPECT_GE(host.last.Items[0].Code, 500);
    EXPECT_FALSE(host.last.Items[0].Reply.empty());
    EXPECT_TRUE(host.last.Items[1].Succeeded() && host.last.Items[2].Succeeded());
}

TEST_P(ManagerOnServer, DirectoryChangesRefreshesAndWalksEndWithTheirResults)
{
    fs::create_directories(local("tree/inner"));
    std::ofstream(local("tree/inner/b.txt")) << "12";
    ASSERT_TRUE(connect());
    manager.ChangeDir(remote("tree"));
    ASSERT_TRUE(step());
    EXPECT_EQ(host.last.Operation, TOperation::ChangeDir);
    EXPECT_TRUE(host.last.Success);
    manager.ChangeDir(remote("nowhere"));
    ASSERT_TRUE(step());
    EXPECT_EQ(host.last.Operation, TOperation::ChangeDir);
    EXPECT_FALSE(host.last.Success);
    EXPECT_EQ(host.last.Code, 550);
    EXPECT_EQ(host.last.Reply.rfind("550", 0), 0u) << host.last.Reply;

    manager.Refresh(manager.CurrentRemoteDir());
    ASSERT_TRUE(step());
    EXPECT_EQ(host.last.Operation, TOperation::Refresh);
    EXPECT_TRUE(host.last.Success);

    manager.ChangeDir(remote(""));
    ASSERT_TRUE(step());
    std::vector<TGetFileInfo> found;
    manager.Walk("tree", &found);
    ASSERT_TRUE(step());
    EXPECT_EQ(host.last.Operation, TOperation::Walk);
    EXPECT_TRUE(host.last.Success);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].Relative, "tree/inner/b.txt");
    manager.Walk("absent", &found);
    ASSERT_TRUE(step());
    EXPECT_FALSE(host.last.Success);
    ASSERT_EQ(host.last.Items.size(), 1u);
    EXPECT_EQ(host.last.Items[0].Name, remote("absent/"));
    EXPECT_EQ(host.last.Items[0].Code, 550);
}

INSTANTIATE_TEST_SUITE_P(Servers, ManagerOnServer,
                         ::testing::Values(ServerKind::Pyftpdlib, ServerKind::Vsftpd, ServerKind::Proftpd,
                                           ServerKind::PureFtpd),
                         [](const ::testing::TestParamInfo<ServerKind>& info) { return serverName(info.param); });

TEST(FtpManager, RetriesAClosedPortAsOftenAsSet)
{
    RecordingHost host;
    host.settings.ConnectionRetryTimes = 3;
    TFtpManager manager(host);
    manager.InitConnections(1);
    manager.ConnectMain({"127.0.0.1", std::to_string(closedLoopbackPort()), "u", "p"});
    ASSERT_TRUE(waitFor([&] { return host.failed > 0; }));
    EXPECT_EQ(host.count("Server Connection Failed."), 3);
    EXPECT_EQ(host.count("Retry Connection..."), 2);
    EXPECT_EQ(host.failed, 1);
}

TEST(FtpManager, RefusedProbesDoNotStopTheLoginButARefusedDirectoryDoes)
{
    std::vector<PeerStep> login = {{PeerStep::Send, "220 hi\r\n"},
                                   {PeerStep::Expect, "USER"},
                                   {PeerStep::Send, "331 pass\r\n"},
                                   {PeerStep::Expect, "PASS"},
                                   {PeerStep::Send, "230 in\r\n"},
                                   {PeerStep::Expect, "FEAT"},
                                   {PeerStep::Send, "500 no features\r\n"},
                                   {PeerStep::Expect, "SYST"},
                                   {PeerStep::Send, "500 no SYST here\r\n"},
                                   {PeerStep::Expect, "TYPE I"},
                                   {PeerStep::Send, "200 ok\r\n"},
                                   {PeerStep::Expect, "REST 100"},
                                   {PeerStep::Send, "502 no REST either\r\n"},
                                   {PeerStep::Expect, "REST 0"},
                                   {PeerStep::Send, "502 still no REST\r\n"},
                                   {PeerStep::Expect, "PWD"}};
    // FEAT, SYST and REST 100 refused: PWD and LIST still come, and the login succeeds.
    std::vector<PeerStep> fine = login;
    fine.insert(fine.end(), {{PeerStep::Send, "257 \"/home\"\r\n"},
                             {PeerStep::Expect, "TYPE A"},
                             {PeerStep::Send, "200 ok\r\n"},
                             {PeerStep::Expect, "PORT"},
                             {PeerStep::Send, "200 ok\r\n"},
                             {PeerStep::Expect, "LIST"},
                             {PeerStep::Send, "450 nothing to list\r\n"},
                             {PeerStep::Pause, "", 300}});
    ScriptedPeer peer(fine);
    RecordingHost host;
    TFtpManager manager(host);
    manager.InitConnections(1);
    manager.ConnectMain({"127.0.0.1", peer.portText(), "u", "p"});
    ASSERT_TRUE(waitFor([&] { return host.failed > 0 || host.done > 0; }));
    // The LIST itself was refused: no listing, no session.
    EXPECT_EQ(host.failed, 1);
    EXPECT_EQ(manager.CurrentRemoteDir(), "/home/");
    EXPECT_EQ(host.count("> LIST"), 1);
    EXPECT_TRUE(peer.failures().empty()) << peer.failures().front();

    // A refused PWD ends the login as a refused login, not in a session stuck connecting.
    std::vector<PeerStep> noDirectory = login;
    noDirectory.insert(noDirectory.end(),
                       {{PeerStep::Send, "550 no directory for you\r\n"}, {PeerStep::Pause, "", 300}});
    ScriptedPeer refusing(noDirectory);
    RecordingHost second;
    TFtpManager other(second);
    other.InitConnections(1);
    other.ConnectMain({"127.0.0.1", refusing.portText(), "u", "p"});
    ASSERT_TRUE(waitFor([&] { return second.failed > 0 || second.done > 0; }));
    EXPECT_EQ(second.failed, 1);
    EXPECT_EQ(second.count("Server Connection Failed."), 1);
    EXPECT_TRUE(refusing.failures().empty()) << refusing.failures().front();
}

TEST(FtpManager, AHostileListingLeadsNowhereAndTheWalkEnds)
{
    std::string hostile = "drwxr-xr-x 2 a a 0 Jan 1 2020 ..\r\n"
                          "-rw-r--r-- 1 a a 5 Jan 1 2020 ../x\r\n"
                          "-rw-r--r-- 1 a a 5 Jan 1 2020 a/b\r\n"
                          "-rw-r--r-- 1 a a 5 Jan 1 2020 bad\x01name\r\n"
                          "-rw-r--r-- 1 a a lots Jan 1 2020 nosize.txt\r\n"
                          "-rw-r--r-- 1 a a 7 Jan 1 2020 good.txt\r\n"
                          "lrwxrwxrwx 1 a a 1 Jan 1 2020 loop -> .\r\n"
                          "lrwxrwxrwx 1 a a 1 Jan 1 2020 root -> /\r\n";
    // TYPE A goes once: the login keeps it for the later listings.
    std::vector<PeerStep> typeA = {{PeerStep::Expect, "TYPE A"}, {PeerStep::Send, "200 ok\r\n"}};
    std::vector<PeerStep> listing = {{PeerStep::Expect, "PASV"},
                                     {PeerStep::Pasv, ""},
                                     {PeerStep::Expect, "LIST"},
                                     {PeerStep::Accept, ""},
                                     {PeerStep::Send, "150 here\r\n"}};
    std::vector<PeerStep> script = {
        {PeerStep::Send, "220 hi\r\n"},   {PeerStep::Expect, "USER"},       {PeerStep::Send, "230 in\r\n"},
        {PeerStep::Expect, "FEAT"},       {PeerStep::Send, "211 none\r\n"}, {PeerStep::Expect, "SYST"},
        {PeerStep::Send, "215 UNIX\r\n"}, {PeerStep::Expect, "TYPE I"},     {PeerStep::Send, "200 ok\r\n"},
        {PeerStep::Expect, "REST 100"},   {PeerStep::Send, "350 ok\r\n"},   {PeerStep::Expect, "REST 0"},
        {PeerStep::Send, "350 ok\r\n"},   {PeerStep::Expect, "PWD"},        {PeerStep::Send, "257 \"/\"\r\n"}};
    auto appendListing = [&](const std::string& text) {
        script.insert(script.end(), typeA.begin(), typeA.end());
        typeA.clear();
        script.insert(script.end(), listing.begin(), listing.end());
        script.push_back({PeerStep::SendDataText, text});
        script.push_back({PeerStep::CloseData, ""});
        script.push_back({PeerStep::Send, "226 done\r\n"});
    };
    appendListing("");
    // The walk of /top: its listing, then the links: "/" lies outside, "." was walked.
    script.push_back({PeerStep::Expect, "CWD /top/"});
    script.push_back({PeerStep::Send, "250 ok\r\n"});
    script.push_back({PeerStep::Expect, "PWD"});
    script.push_back({PeerStep::Send, "257 \"/top\"\r\n"});
    appendListing(hostile);
    script.push_back({PeerStep::Expect, "CWD /"});
    script.push_back({PeerStep::Send, "250 ok\r\n"});
    script.push_back({PeerStep::Expect, "PWD"});
    script.push_back({PeerStep::Send, "257 \"/\"\r\n"});
    script.push_back({PeerStep::Expect, "CWD /top/./"});
    script.push_back({PeerStep::Send, "250 ok\r\n"});
    script.push_back({PeerStep::Expect, "PWD"});
    script.push_back({PeerStep::Send, "257 \"/top\"\r\n"});
    script.push_back({PeerStep::Pause, "", 300});
    ScriptedPeer peer(script);

    RecordingHost host;
    host.settings.PasvMode = true;
    TFtpManager manager(host);
    manager.InitConnections(1);
    manager.ConnectMain({"127.0.0.1", peer.portText(), "u", "p"});
    ASSERT_TRUE(waitFor([&] { return host.done > 0 || host.failed > 0; }));
    ASSERT_EQ(host.done, 1);
    std::vector<TGetFileInfo> found;
    manager.Walk("top", &found);
    ASSERT_TRUE(waitFor([&] { return host.done > 1 || host.failed > 0; }));
    EXPECT_EQ(host.done, 2);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].Path, "/top/nosize.txt");
    EXPECT_EQ(found[0].Size, 0);
    EXPECT_EQ(found[1].Path, "/top/good.txt");
    EXPECT_EQ(found[1].Size, 7);
    EXPECT_EQ(host.count("! No size for /top/nosize.txt"), 1);
    // Whatever was left out is in the walk's result, for the summary.
    std::vector<std::string> skipped;
    for (const TItemOutcome& item : host.last.Failures())
        skipped.push_back(item.Name + ": " + item.Reply);
    EXPECT_EQ(skipped, (std::vector<std::string>{"/top/../x: an unsafe name", "/top/a/b: an unsafe name",
                                                 "/top/bad\x01name: an unsafe name",
                                                 "/: the server calls it /, outside the walked tree",
                                                 "/top/./: the server calls it /top/, a directory walked already"}));
    EXPECT_TRUE(peer.failures().empty()) << peer.failures().front();
}

TEST(FtpManager, LogsInThroughASocksServer)
{
    FtpServer ftp;
    ASSERT_TRUE(ftp.start()) << ftp.error();
    SocksServer socks(SocksKind::Dante);
    ASSERT_TRUE(socks.start()) << socks.error();
    RecordingHost host;
    host.settings.Socks = {true, "127.0.0.1", socks.portText(), "", "", 7};
    TFtpManager manager(host);
    manager.InitConnections(1);
    int socksConnects = 0;
    manager.Client(0)->ControlSocket()->OnSocksConnected = [&](TCustomWSocket*, int) { ++socksConnects; };
    manager.ConnectMain({"127.0.0.1", ftp.portText(), FtpServer::kUser, FtpServer::kPassword});
    ASSERT_TRUE(waitFor([&] { return host.done > 0 || host.failed > 0; }));
    EXPECT_EQ(host.done, 1);
    EXPECT_EQ(host.log0.front(), "Using Socks Connecting to 127.0.0.1 ...");
    EXPECT_EQ(socksConnects, 1);
    manager.DisconnectAll();
}

TEST(ListingCache, ReusesTheOldestSlotWhenFull)
{
    TListingCache cache;
    for (int i = 0; i < TListingCache::kSlots + 2; ++i)
        cache.Add("/d" + std::to_string(i) + "/", std::make_shared<platform::TMemoryStream>());
    EXPECT_EQ(cache.Size(), TListingCache::kSlots);
    EXPECT_EQ(cache.Find("/d0/"), -1);
    EXPECT_EQ(cache.Find("/d1/"), -1);
    EXPECT_EQ(cache.Find("/d2/"), 2);
    EXPECT_EQ(cache.Find("/d" + std::to_string(TListingCache::kSlots + 1) + "/"), 1);
    cache.Disable("/d2/");
    EXPECT_EQ(cache.Find("/d2/"), -1);
}

class ManagerThroughProxy : public ::testing::TestWithParam<TFtpConnectionType>
{
};

TEST_P(ManagerThroughProxy, LogsInAndLists)
{
    FtpServer ftp;
    ASSERT_TRUE(ftp.start()) << ftp.error();
    std::ofstream(ftp.localWorkDir() + "/through-proxy.txt") << "p";
    FtpProxy proxy(ftp.port());
    ASSERT_TRUE(proxy.start()) << proxy.error();
    RecordingHost host;
    host.settings.Proxy = {true, "127.0.0.1", proxy.portText(), "", "", static_cast<uint8_t>(GetParam())};
    TFtpManager manager(host);
    manager.InitConnections(1);
    manager.ConnectMain({"127.0.0.1", ftp.portText(), FtpServer::kUser, FtpServer::kPassword});
    ASSERT_TRUE(waitFor([&] { return host.done > 0 || host.failed > 0; }));
    EXPECT_EQ(host.done, 1);
    EXPECT_EQ(host.log0.front(), "Using Proxy Connecting to 127.0.0.1 ...");
    std::string user = GetParam() == ftpProxy
                           ? std::string("> USER ") + FtpServer::kUser + "@127.0.0.1:" + ftp.portText()
                           : std::string("> USER ") + FtpServer::kUser;
    EXPECT_EQ(host.count(user), 1);
    EXPECT_NE(manager.ListingText().find("through-proxy.txt"), std::string::npos);
    manager.DisconnectAll();
    if (HasFailure())
        for (const std::string& line : host.log0)
            std::cerr << "    log: " << line << "\n";
}

INSTANTIATE_TEST_SUITE_P(Types, ManagerThroughProxy, ::testing::Values(ftpProxy, ftpProxyUserLogin),
                         [](const ::testing::TestParamInfo<TFtpConnectionType>& info) {
                             return info.param == ftpProxy ? "user_at_host" : "user_login";
                         });

TEST(FtpManager, AbortWhileLoggingInSwallowsTheNextCompletion)
{
    ScriptedPeer slow({{PeerStep::Send, "220 hi\r\n"}, {PeerStep::Expect, "USER"}, {PeerStep::Pause, "", 1500}});
    RecordingHost host;
    TFtpManager manager(host);
    manager.InitConnections(1);
    manager.ConnectMain({"127.0.0.1", slow.portText(), "u", "p"});
    ASSERT_TRUE(waitFor([&] { return host.count("> USER") == 1; }));
    manager.AbortCurrent();
    EXPECT_EQ(host.log0.back(), "User Aborted");
    // The aborted request's completion takes the abort; the state stays as it was.
    EXPECT_TRUE(waitFor([&] { return !manager.MainAborted(); }));
    EXPECT_EQ(host.done + host.failed, 0);
    EXPECT_FALSE(manager.Client(0)->Connected());
}

TEST(FtpManager, TheTableGrowsAndShrinks)
{
    RecordingHost host;
    TFtpManager manager(host);
    manager.InitConnections(3);
    EXPECT_NE(manager.Client(2), nullptr);
    EXPECT_EQ(manager.Client(3), nullptr);
    manager.SetConnectionCount(5);
    EXPECT_EQ(manager.Count(), 5);
    EXPECT_NE(manager.Client(4), nullptr);
    manager.SetConnectionCount(2);
    EXPECT_EQ(manager.Count(), 2);
    EXPECT_EQ(manager.Client(2), nullptr);
    EXPECT_EQ(manager.Slot(4).Client, nullptr);
}
