#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <QTemporaryDir>

#include "ftp/FtpClient.h"
#include "support/FtpServer.h"
#include "support/RecordedClient.h"
#include "support/TestTree.h"
#include "support/ScriptedPeer.h"
#include "support/Exceptions.h"
#include "support/WaitFor.h"

using namespace testsupport;

namespace {

class FtpClientOnServer : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(server.start()) << server.error(); }

    FtpServer server;
};

} // namespace

TEST_F(FtpClientOnServer, LogsInRunsCommandsAndQuits)
{
    RecordedClient c("127.0.0.1", server.portText());
    auto& client = c.client;
    ASSERT_EQ(c.run([&] { client.Open(); }), 0);
    ASSERT_EQ(c.done.size(), 1u);
    EXPECT_EQ(c.done[0].first, ftpOpenAsync);
    EXPECT_EQ(client.LastResponse().substr(0, 4), "220 ");
    EXPECT_TRUE(c.logged("< " + client.LastResponse()));
    EXPECT_TRUE(client.Connected());
    EXPECT_EQ(client.DnsResult(), "127.0.0.1");

    client.UserName = FtpServer::kUser;
    client.PassWord = FtpServer::kPassword;
    EXPECT_EQ(c.run([&] { client.User(); }), 0);
    EXPECT_EQ(client.StatusCode(), 331);
    EXPECT_EQ(c.run([&] { client.Pass(); }), 0);
    EXPECT_TRUE(c.logged(std::string("> PASS ") + FtpServer::kPassword));

    client.SetLocalFileName("NOOP");
    EXPECT_EQ(c.run([&] { client.Quote(); }), 0);
    EXPECT_EQ(c.log[c.log.size() - 2], "> NOOP");
    EXPECT_EQ(c.log.back().substr(0, 6), "< 200 ");
    EXPECT_EQ(c.done.back().first, ftpQuoteAsync);

    client.HostFileName = "made";
    EXPECT_EQ(c.run([&] { client.Mkd(); }), 0);
    EXPECT_EQ(client.DirResult(), "/made");
    client.HostDirName = "made";
    EXPECT_EQ(c.run([&] { client.Cwd(); }), 0);
    EXPECT_EQ(c.run([&] { client.Pwd(); }), 0);
    EXPECT_EQ(client.DirResult(), "/made");
    EXPECT_EQ(c.run([&] { client.Cdup(); }), 0);
    client.HostDirName = "missing";
    EXPECT_EQ(c.run([&] { client.Cwd(); }), 550);

    EXPECT_TRUE(client.TypeAsciiSync());
    EXPECT_FALSE(client.Binary());
    EXPECT_TRUE(client.TypeBinarySync());
    EXPECT_TRUE(client.QuitSync());
    EXPECT_FALSE(client.Connected());
    EXPECT_EQ(client.StatusCode(), 221);
    EXPECT_TRUE(waitFor([&] { return client.RequestsDone() == client.RequestsStarted(); }));
}

TEST_F(FtpClientOnServer, RepliesToCommandsSentAheadWaitForTheRequestsThatTakeThem)
{
    RecordedClient c("127.0.0.1", server.portText());
    auto& client = c.client;
    client.UserName = FtpServer::kUser;
    client.PassWord = FtpServer::kPassword;
    ASSERT_EQ(c.run([&] { client.Open(); }), 0);
    ASSERT_EQ(c.run([&] { client.User(); }), 0);
    client.SendAhead("PASS " + std::string(FtpServer::kPassword));
    client.SendAhead("PWD");
    client.SendAhead("SYST");
    client.SendAhead("NOOP");
    waitFor([] { return false; }, 300); // every reply is in, unread
    EXPECT_EQ(c.run([&] { client.Pass(); }), 0);
    EXPECT_EQ(c.run([&] { client.Pwd(); }), 0);
    EXPECT_EQ(client.DirResult(), "/");
    client.DiscardAhead(1); // SYST's reply is dropped
    EXPECT_EQ(client.CommandsAhead(), 1u);
    client.SetLocalFileName("NOOP");
    EXPECT_EQ(c.run([&] { client.Quote(); }), 0);
    EXPECT_EQ(client.LastResponse().substr(0, 4), "200 ");
    EXPECT_EQ(std::count(c.log.begin(), c.log.end(), "> NOOP"), 1); // sent once, ahead

    // A request whose command is not the one sent ahead would take another's reply: the
    // connection ends instead.
    client.SendAhead("PWD");
    EXPECT_EQ(c.run([&] { client.Syst(); }), 500);
    EXPECT_FALSE(client.Connected());
    c.finish(HasFailure());
}

TEST_F(FtpClientOnServer, ARequestCannotStartWhileAnotherRuns)
{
    RecordedClient c("127.0.0.1", server.portText());
    auto& client = c.client;
    client.Open();
    EXPECT_EQ(testsupport::exceptionMessage([&] { client.Quote(); }), "FTP component not ready");
    std::vector<std::string> errors;
    client.OnError = [&](TCustomFtpCli*, const std::string& msg) { errors.push_back(msg); };
    client.Pwd();
    EXPECT_EQ(errors, std::vector<std::string>{"FTP component not ready"});
    ASSERT_TRUE(waitFor([&] { return c.done.size() == 1; }));
    pumpFor(50);
    EXPECT_EQ(c.done.size(), 1u);
    EXPECT_EQ(client.RequestsDone(), client.RequestsStarted());
}

TEST(FtpClient, RefusesRequestsItCannotStart)
{
    TFtpClient client;
    EXPECT_EQ(testsupport::exceptionMessage([&] { client.User(); }), "UserName emtpy");
    EXPECT_EQ(testsupport::exceptionMessage([&] { client.Pass(); }), "Password emtpy");
    EXPECT_EQ(testsupport::exceptionMessage([&] { client.Cwd(); }), "HostDirName emtpy");
    client.SetLocalFileName("NOOP");
    EXPECT_EQ(testsupport::exceptionMessage([&] { client.Quote(); }), "FTP component not connected");
    EXPECT_EQ(testsupport::exceptionMessage([&] { client.Open(); }), "DNS lookup: invalid host name.");
    EXPECT_EQ(client.State(), ftpReady);

    // A refused request is never a success, not even when its text goes to the error event.
    std::vector<std::string> errors;
    client.OnError = [&](TCustomFtpCli*, const std::string& msg) { errors.push_back(msg); };
    EXPECT_FALSE(client.QuoteSync());
    EXPECT_EQ(errors, std::vector<std::string>{"FTP component not connected"});
    EXPECT_EQ(client.RequestsStarted(), 0u);
}

TEST(FtpClient, ConnectingToAClosedPortEndsWithRefusal)
{
    RecordedClient c("127.0.0.1", std::to_string(closedLoopbackPort()));
    EXPECT_EQ(c.run([&] { c.client.Open(); }), 10061);
    EXPECT_EQ(c.client.LastResponse(), "500 Connection refused (Winsock error #10061)");
    EXPECT_EQ(c.client.ErrorMessage(), "500 Connection refused (Winsock error #10061)");
    EXPECT_EQ(c.client.State(), ftpReady);
    EXPECT_FALSE(c.client.Connected());
    pumpFor(50);
    EXPECT_EQ(c.done.size(), 1u);
}

TEST(FtpClient, AnUnknownHostEndsWithALookupError)
{
    // The empty label makes the resolver fail locally, without asking a name server.
    RecordedClient c("no-such-host..invalid", "21");
    EXPECT_EQ(c.run([&] { c.client.Open(); }), 11001);
    EXPECT_EQ(c.client.LastResponse(), "500 Host not found (Winsock error #11001)");
    EXPECT_EQ(c.client.State(), ftpReady);
}

TEST(FtpClient, AbortDuringTheLookupCancelsItAndLeavesTheClientReady)
{
    RecordedClient c("localhost", "21");
    c.client.Open();
    EXPECT_EQ(c.client.State(), ftpDnsLookup);
    c.client.Abort();
    EXPECT_EQ(c.client.State(), ftpReady);
    EXPECT_FALSE(c.client.Connected());
    ASSERT_TRUE(waitFor([&] { return !c.done.empty(); }));
    pumpFor(50); // and no second one
    ASSERT_EQ(c.done.size(), 1u);
    EXPECT_EQ(c.done[0], std::make_pair(int(ftpOpenAsync), 10004));
    EXPECT_FALSE(c.client.ControlSocket()->State() == wsConnecting);
}

TEST_F(FtpClientOnServer, ASynchronousCallRunsOtherConnectionsEventsInside)
{
    // A slow server for the synchronous call, a real one for the connection that runs meanwhile.
    ScriptedPeer slow({{PeerStep::Send, "220 slow\r\n"},
                       {PeerStep::Expect, "NOOP"},
                       {PeerStep::Pause, "", 500},
                       {PeerStep::Send, "200 at last\r\n"},
                       {PeerStep::Pause, "", 100}});
    RecordedClient waiting("127.0.0.1", slow.portText());
    ASSERT_EQ(waiting.run([&] { waiting.client.Open(); }), 0);

    RecordedClient other("127.0.0.1", server.portText());
    bool insideSync = false;
    bool otherDoneInside = false;
    other.client.OnRequestDone = [&](TCustomFtpCli*, TFtpRequest, int error) {
        other.done.emplace_back(ftpOpenAsync, error);
        otherDoneInside = insideSync;
    };
    other.client.Open();
    waiting.client.SetLocalFileName("NOOP");
    insideSync = true;
    EXPECT_TRUE(waiting.client.QuoteSync());
    insideSync = false;
    EXPECT_TRUE(otherDoneInside);
    EXPECT_EQ(other.done, (std::vector<std::pair<int, int>>{{ftpOpenAsync, 0}}));
    EXPECT_EQ(waiting.client.LastResponse(), "200 at last");
    waiting.client.Abort();
}

TEST(FtpClient, ASynchronousCallGivesUpAfterItsTimeout)
{
    ScriptedPeer silent({{PeerStep::Send, "220 hi\r\n"}, {PeerStep::Expect, "NOOP"}, {PeerStep::Pause, "", 2500}});
    RecordedClient c("127.0.0.1", silent.portText());
    ASSERT_EQ(c.run([&] { c.client.Open(); }), 0);
    c.client.Timeout = 1;
    c.client.SetLocalFileName("NOOP");
    EXPECT_FALSE(c.client.QuoteSync());
    EXPECT_EQ(c.client.ErrorMessage(), "426 Timeout");
    EXPECT_EQ(c.client.StatusCode(), 426);
    EXPECT_EQ(c.client.State(), ftpReady);
    EXPECT_FALSE(c.client.Connected());
    ASSERT_TRUE(waitFor([&] { return c.done.size() == 2; }));
    EXPECT_EQ(c.done[1], std::make_pair(int(ftpQuoteAsync), 426)); // the aborted request is no success
}

TEST_F(FtpClientOnServer, ResumesBeyondFourGibibytesAtTheRightOffset)
{
    const int64_t size = 5LL * 1024 * 1024 * 1024;
    const int64_t tail = 1024 * 1024;
    std::string remote = server.localWorkDir() + "/huge.bin";
    std::string tailBytes = peerPattern(static_cast<size_t>(tail));
    {
        // Sparse but for its last MiB.
        std::ofstream file(remote, std::ios::binary);
        file.seekp(size - tail);
        file.write(tailBytes.data(), static_cast<std::streamsize>(tail));
    }
    QTemporaryDir local;
    std::string target = local.path().toStdString() + "/huge.bin";

    RecordedClient c("127.0.0.1", server.portText());
    auto& client = c.client;
    client.UserName = FtpServer::kUser;
    client.PassWord = FtpServer::kPassword;
    ASSERT_EQ(c.run([&] { client.Connect(); }), 0);
    ASSERT_TRUE(client.TypeBinarySync());
    client.HostFileName = "huge.bin";
    ASSERT_EQ(c.run([&] { client.Size(); }), 0);
    EXPECT_EQ(client.SizeResult(), size);

    client.SetPassive(true);
    client.SetLocalFileName(target);
    client.ResumeAt = size - tail;
    int64_t lastProgress = 0;
    client.OnProgress = [&](TCustomFtpCli*, int64_t count, bool&) { lastProgress = count; };
    ASSERT_EQ(c.run([&] { client.RestGet(); }), 0) << client.ErrorMessage();
    EXPECT_TRUE(c.logged("> REST " + std::to_string(size - tail)));
    EXPECT_GT(lastProgress, size - tail);
    EXPECT_EQ(client.ByteCount(), tail);
    ASSERT_EQ(std::filesystem::file_size(target), static_cast<uintmax_t>(size));
    std::ifstream written(target, std::ios::binary);
    written.seekg(size - tail);
    std::string got(static_cast<size_t>(tail), '\0');
    written.read(got.data(), static_cast<std::streamsize>(tail));
    EXPECT_TRUE(got == tailBytes);
}

TEST_F(FtpClientOnServer, ALocalWriteFailureFailsTheDownload)
{
    ASSERT_TRUE(writePatternFile(server.localWorkDir() + "/some.bin", 3 * 1024 * 1024));
    RecordedClient c("127.0.0.1", server.portText());
    auto& client = c.client;
    client.UserName = FtpServer::kUser;
    client.PassWord = FtpServer::kPassword;
    ASSERT_EQ(c.run([&] { client.Connect(); }), 0);
    client.SetPassive(true);
    client.HostFileName = "some.bin";
    client.SetLocalFileName("/dev/full"); // every write fails: the disk is full
    EXPECT_EQ(c.run([&] { client.Get(); }), 550);
    // The reason comes with it.
    EXPECT_TRUE(c.logged("! Error writing local file: No space left on device"));
    EXPECT_EQ(client.ErrorMessage(), "550 Error writing local file /dev/full: No space left on device");
}

TEST_F(FtpClientOnServer, AnUploadCancelledBeforeItStartsSendsNothing)
{
    RecordedClient c("127.0.0.1", server.portText());
    auto& client = c.client;
    client.UserName = FtpServer::kUser;
    client.PassWord = FtpServer::kPassword;
    ASSERT_EQ(c.run([&] { client.Connect(); }), 0);
    platform::TMemoryStream source;
    source.Write("data", 4);
    client.SetLocalStream(&source);
    client.HostFileName = "never.txt";
    client.OnReadyToTransmit = [](TCustomFtpCli*, bool& cancel) { cancel = true; };
    EXPECT_EQ(c.run([&] { client.Stor(); }), 426);
    EXPECT_EQ(client.ErrorMessage(), "426 Transmit cancelled by application");
    EXPECT_TRUE(c.logged("! 426 Transmit cancelled by application"));
    EXPECT_FALSE(c.logged("> STOR never.txt"));
    EXPECT_FALSE(std::filesystem::exists(server.localWorkDir() + "/never.txt"));
}

TEST_F(FtpClientOnServer, AListingCanGoLineByLineToTheOwnerInsteadOfAFile)
{
    ASSERT_TRUE(writePatternFile(server.localWorkDir() + "/first.txt", 10));
    ASSERT_TRUE(writePatternFile(server.localWorkDir() + "/second.txt", 20));
    RecordedClient c("127.0.0.1", server.portText());
    auto& client = c.client;
    client.UserName = FtpServer::kUser;
    client.PassWord = FtpServer::kPassword;
    ASSERT_EQ(c.run([&] { client.Connect(); }), 0);
    std::vector<std::string> lines;
    client.DisplayFileFlag = true;
    client.OnDisplayFile = [&](TCustomFtpCli*, std::string& line) { lines.push_back(line); };
    client.SetPassive(true);
    ASSERT_EQ(c.run([&] { client.Ls(); }), 0) << client.ErrorMessage();
    std::sort(lines.begin(), lines.end());
    EXPECT_EQ(lines, (std::vector<std::string>{"first.txt", "second.txt"}));
}
