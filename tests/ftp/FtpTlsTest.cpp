// FTP over TLS against real servers that refuse anything else: the login, listings and files
// both ways byte for byte, in passive and active mode, with every data connection resuming the
// control connection's session as the servers demand.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iostream>

#include <QTemporaryDir>

#include "ftp/FtpClient.h"
#include "support/FtpServer.h"
#include "support/RecordedClient.h"
#include "support/ScriptedPeer.h"
#include "support/SocksServer.h"
#include "support/TestTree.h"
#include "support/WaitFor.h"

using namespace testsupport;

namespace {

struct Setup
{
    ServerKind server;
    ServerTls tls;
    bool passive;
};

std::string setupName(const ::testing::TestParamInfo<Setup>& info)
{
    return std::string(serverName(info.param.server)) +
           (info.param.tls == ServerTls::Implicit ? "_implicit" : "_explicit") +
           (info.param.passive ? "_passive" : "_active");
}

class FtpTls : public ::testing::TestWithParam<Setup>
{
protected:
    void SetUp() override
    {
        server = std::make_unique<FtpServer>(GetParam().server);
        server->setTls(GetParam().tls);
        ASSERT_TRUE(server->start()) << server->error();
        ASSERT_TRUE(local.isValid());
        client.Port = server->portText();
        client.UserName = server->user();
        client.PassWord = server->password();
        client.HostDirName = server->workDir();
        client.SetPassive(GetParam().passive);
        client.Security = GetParam().tls == ServerTls::Implicit ? ftpsImplicit : ftpsRequire;
        client.OnCertificate = [this](TCustomFtpCli*, const TTlsCertificate& certificate, std::string&) {
            seen.push_back(certificate);
            return true;
        };
    }

    void TearDown() override { recorded.finish(HasFailure()); }

    int run(const std::function<void()>& request) { return recorded.run(request); }
    std::string localPath(const std::string& name) const { return local.path().toStdString() + "/" + name; }
    std::string serverPath(const std::string& name) const { return server->localWorkDir() + "/" + name; }

    std::unique_ptr<FtpServer> server;
    QTemporaryDir local;
    RecordedClient recorded{"127.0.0.1", "0"};
    TFtpClient& client = recorded.client;
    std::vector<TTlsCertificate> seen;
};

TEST_P(FtpTls, LogsInListsAndMovesFilesProtected)
{
    ASSERT_EQ(run([&] { client.Connect(); }), 0) << client.ErrorMessage();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_FALSE(seen[0].Verified); // self-signed: the user was asked
    EXPECT_NE(seen[0].Subject.find("quill test server"), std::string::npos) << seen[0].Subject;
    EXPECT_EQ(seen[0].Fingerprint.size(), 32u * 3 - 1);
    EXPECT_TRUE(client.Protected());
    ASSERT_EQ(run([&] { client.Cwd(); }), 0) << client.ErrorMessage();
    ASSERT_TRUE(client.TypeBinarySync()) << client.ErrorMessage();

    const int64_t size = 2 * 1024 * 1024 + 4321;
    ASSERT_TRUE(writePatternFile(localPath("up.bin"), size, 3));
    client.SetLocalFileName(localPath("up.bin"));
    client.HostFileName = "up.bin";
    ASSERT_EQ(run([&] { client.Put(); }), 0) << client.ErrorMessage();
    ASSERT_TRUE(waitFor([&] {
        return std::filesystem::exists(serverPath("up.bin")) &&
               std::filesystem::file_size(serverPath("up.bin")) == size;
    }));
    EXPECT_EQ(fileHash(serverPath("up.bin")), fileHash(localPath("up.bin")));

    // An empty file: its data connection closes right after the negotiation.
    ASSERT_TRUE(writePatternFile(localPath("empty.bin"), 0, 1));
    client.SetLocalFileName(localPath("empty.bin"));
    client.HostFileName = "empty.bin";
    ASSERT_EQ(run([&] { client.Put(); }), 0) << client.ErrorMessage();

    client.SetLocalFileName(localPath("down.bin"));
    client.HostFileName = "up.bin";
    ASSERT_EQ(run([&] { client.Get(); }), 0) << client.ErrorMessage();
    EXPECT_EQ(fileHash(localPath("down.bin")), fileHash(localPath("up.bin")));

    // A range of it, as one connection of a split download fetches it.
    client.SetLocalFileName(localPath("range.bin"));
    client.ResumeAt = 1000000;
    client.TransferEnd = 1500000;
    ASSERT_EQ(run([&] { client.RestGet(); }), 0) << client.ErrorMessage();
    EXPECT_EQ(client.ByteCount(), 500000);
    // proftpd may end the session when a protected data connection is cut: log in again.
    size_t logins = 1;
    if (!client.Connected()) {
        ++logins;
        ASSERT_EQ(run([&] { client.Connect(); }), 0) << client.ErrorMessage();
        ASSERT_EQ(run([&] { client.Cwd(); }), 0) << client.ErrorMessage();
    }

    client.SetLocalFileName(localPath("listing.txt"));
    client.HostFileName.clear();
    ASSERT_EQ(run([&] { client.Dir(); }), 0) << client.ErrorMessage();
    std::ifstream listing(localPath("listing.txt"));
    std::string text((std::istreambuf_iterator<char>(listing)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("up.bin"), std::string::npos) << text;
    EXPECT_NE(text.find("empty.bin"), std::string::npos) << text;
    // Data connections are checked against the login's certificate, not shown to the user.
    EXPECT_EQ(seen.size(), logins);
}

TEST_P(FtpTls, RefusedCertificateEndsTheLogin)
{
    client.OnCertificate = [](TCustomFtpCli*, const TTlsCertificate&, std::string& refusal) {
        refusal = "not this one";
        return false;
    };
    EXPECT_NE(run([&] { client.Connect(); }), 0);
    EXPECT_NE(client.ErrorMessage().find("not this one"), std::string::npos) << client.ErrorMessage();
    EXPECT_FALSE(recorded.logged("> PASS " + server->password()));
    EXPECT_FALSE(client.Connected());
}

INSTANTIATE_TEST_SUITE_P(Servers, FtpTls,
                         ::testing::Values(Setup{ServerKind::Vsftpd, ServerTls::Explicit, true},
                                           Setup{ServerKind::Vsftpd, ServerTls::Explicit, false},
                                           Setup{ServerKind::Proftpd, ServerTls::Explicit, true},
                                           Setup{ServerKind::Proftpd, ServerTls::Explicit, false},
                                           Setup{ServerKind::PureFtpd, ServerTls::Explicit, true},
                                           Setup{ServerKind::PureFtpd, ServerTls::Explicit, false},
                                           Setup{ServerKind::Vsftpd, ServerTls::Implicit, true}),
                         setupName);

// With TLS required, a server that refuses AUTH TLS never sees the password; with TLS when
// offered, the same server gets a plain login.
TEST(FtpTlsRefused, RequiredTlsStopsBeforeThePassword)
{
    const std::vector<PeerStep> refusal = {{PeerStep::Send, "220 plain server\r\n"},
                                           {PeerStep::Expect, "AUTH TLS"},
                                           {PeerStep::Send, "500 AUTH not understood\r\n"}};
    auto login = [](ScriptedPeer& peer, TFtpSecurity security, int expected) {
        RecordedClient recorded("127.0.0.1", peer.portText());
        recorded.client.UserName = "user";
        recorded.client.PassWord = "secret";
        recorded.client.Security = security;
        EXPECT_EQ(recorded.run([&] { recorded.client.Connect(); }), expected) << recorded.client.ErrorMessage();
        EXPECT_FALSE(recorded.client.Protected());
        EXPECT_TRUE(peer.finish());
        EXPECT_TRUE(peer.failures().empty()) << peer.failures().front();
        return recorded.client.ErrorMessage();
    };
    std::vector<PeerStep> required = refusal;
    required.push_back({PeerStep::ExpectClose, ""});
    ScriptedPeer strict(required);
    EXPECT_NE(login(strict, ftpsRequire, 534).find("refused TLS"), std::string::npos);

    std::vector<PeerStep> plain = refusal;
    plain.insert(plain.end(), {{PeerStep::Expect, "USER user"},
                               {PeerStep::Send, "331 password\r\n"},
                               {PeerStep::Expect, "PASS secret"},
                               {PeerStep::Send, "230 in\r\n"}});
    ScriptedPeer lenient(plain);
    login(lenient, ftpsAuto, 0);
}

} // namespace

// TLS over a SOCKS 5 connection: the negotiation starts once the SOCKS server has connected the
// control connection, and again on every data connection it connects.
TEST(FtpTlsThroughSocks, AProtectedSessionGoesThroughTheSocksServer)
{
    FtpServer server(ServerKind::Vsftpd);
    server.setTls(ServerTls::Explicit);
    ASSERT_TRUE(server.start()) << server.error();
    SocksServer socks(SocksKind::Microsocks);
    ASSERT_TRUE(socks.start()) << socks.error();
    QTemporaryDir local;
    RecordedClient recorded("127.0.0.1", server.portText());
    TFtpClient& client = recorded.client;
    client.UserName = server.user();
    client.PassWord = server.password();
    client.HostDirName = server.workDir();
    client.Security = ftpsRequire;
    client.OnCertificate = [](TCustomFtpCli*, const TTlsCertificate&, std::string&) { return true; };
    client.SetConnectionType(ftpSocks5);
    client.SocksServer = "127.0.0.1";
    client.SocksPort = socks.portText();
    client.SocksUserCode = socks.user();
    client.SocksPassword = socks.password();
    int dataThroughSocks = 0;
    client.DataSocket()->OnSocksConnected = [&](TCustomWSocket*, int) { ++dataThroughSocks; };
    ASSERT_EQ(recorded.run([&] { client.Connect(); }), 0) << client.ErrorMessage();
    EXPECT_TRUE(client.Protected());
    ASSERT_EQ(recorded.run([&] { client.Cwd(); }), 0) << client.ErrorMessage();
    ASSERT_TRUE(client.TypeBinarySync());

    ASSERT_TRUE(writePatternFile(server.localWorkDir() + "/remote.bin", 1024 * 1024 + 5, 4));
    std::string downloaded = local.path().toStdString() + "/remote.bin";
    client.SetLocalFileName(downloaded);
    client.HostFileName = "remote.bin";
    ASSERT_EQ(recorded.run([&] { client.Get(); }), 0) << client.ErrorMessage();
    EXPECT_EQ(fileHash(downloaded), fileHash(server.localWorkDir() + "/remote.bin"));
    client.HostFileName = "back.bin";
    ASSERT_EQ(recorded.run([&] { client.Put(); }), 0) << client.ErrorMessage();
    EXPECT_TRUE(waitFor([&] { return fileHash(server.localWorkDir() + "/back.bin") == fileHash(downloaded); }));
    EXPECT_EQ(dataThroughSocks, 2);
    EXPECT_TRUE(client.QuitSync());
}
