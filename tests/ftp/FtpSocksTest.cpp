// Whole FTP sessions through real SOCKS servers: control and data connections go through them.

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "support/FtpServer.h"
#include "support/RecordedClient.h"
#include "support/SocksServer.h"
#include "support/TestTree.h"

using namespace testsupport;

namespace {

struct Route
{
    const char* name;
    SocksKind server;
    TFtpConnectionType type;
};

void PrintTo(const Route& route, std::ostream* out)
{
    *out << route.name;
}

class FtpThroughSocks : public ::testing::TestWithParam<Route>
{
};

TEST_P(FtpThroughSocks, LogsInListsDownloadsAndUploads)
{
    FtpServer ftp;
    ASSERT_TRUE(ftp.start()) << ftp.error();
    SocksServer socks(GetParam().server);
    ASSERT_TRUE(socks.start()) << socks.error();
    QTemporaryDir local;

    RecordedClient c("127.0.0.1", ftp.portText());
    auto& client = c.client;
    client.UserName = FtpServer::kUser;
    client.PassWord = FtpServer::kPassword;
    client.SetConnectionType(GetParam().type);
    client.SetPassive(false); // SOCKS connections are passive whatever is asked
    EXPECT_TRUE(client.Passive());
    client.SocksServer = "127.0.0.1";
    client.SocksPort = socks.portText();
    client.SocksUserCode = socks.user();
    client.SocksPassword = socks.password();
    int controlThroughSocks = 0;
    int dataThroughSocks = 0;
    client.ControlSocket()->OnSocksConnected = [&](TCustomWSocket*, int) { ++controlThroughSocks; };
    client.DataSocket()->OnSocksConnected = [&](TCustomWSocket*, int) { ++dataThroughSocks; };
    ASSERT_EQ(c.run([&] { client.Connect(); }), 0) << client.ErrorMessage();
    ASSERT_TRUE(client.TypeBinarySync());

    ASSERT_TRUE(writePatternFile(ftp.localWorkDir() + "/remote.bin", 3 * 1024 * 1024, 11));
    platform::TMemoryStream listing;
    client.SetLocalStream(&listing);
    ASSERT_EQ(c.run([&] { client.Dir(); }), 0) << client.ErrorMessage();
    EXPECT_NE(listing.Data().find("remote.bin"), std::string::npos);

    std::string downloaded = local.path().toStdString() + "/remote.bin";
    client.SetLocalFileName(downloaded);
    client.HostFileName = "remote.bin";
    ASSERT_EQ(c.run([&] { client.Get(); }), 0) << client.ErrorMessage();
    EXPECT_EQ(fileHash(downloaded), fileHash(ftp.localWorkDir() + "/remote.bin"));

    client.HostFileName = "back.bin";
    ASSERT_EQ(c.run([&] { client.Put(); }), 0) << client.ErrorMessage();
    EXPECT_TRUE(waitFor([&] { return fileHash(ftp.localWorkDir() + "/back.bin") == fileHash(downloaded); }));
    EXPECT_TRUE(client.QuitSync());
    // Every connection went through the SOCKS server, the data connections after the first too.
    EXPECT_EQ(controlThroughSocks, 1);
    EXPECT_EQ(dataThroughSocks, 3);
}

INSTANTIATE_TEST_SUITE_P(Servers, FtpThroughSocks,
                         ::testing::Values(Route{"dante_socks5", SocksKind::Dante, ftpSocks5},
                                           Route{"dante_socks4", SocksKind::Dante, ftpSocks4},
                                           Route{"dante_socks5_password", SocksKind::DanteWithPassword, ftpSocks5},
                                           Route{"microsocks_socks5_password", SocksKind::Microsocks, ftpSocks5}),
                         [](const ::testing::TestParamInfo<Route>& info) { return info.param.name; });

TEST(FtpThroughSocks, AWrongSocksPasswordEndsTheConnectWithItsError)
{
    FtpServer ftp;
    ASSERT_TRUE(ftp.start()) << ftp.error();
    SocksServer socks(SocksKind::Microsocks);
    ASSERT_TRUE(socks.start()) << socks.error();
    RecordedClient c("127.0.0.1", ftp.portText());
    c.client.SetConnectionType(ftpSocks5);
    c.client.SocksServer = "127.0.0.1";
    c.client.SocksPort = socks.portText();
    c.client.SocksUserCode = socks.user();
    c.client.SocksPassword = "not-the-password";
    EXPECT_EQ(c.run([&] { c.client.Open(); }), 20015);
    EXPECT_EQ(c.client.LastResponse(), "500 socks authentication failed (Winsock error #20015)");
    pumpFor(100);
    EXPECT_EQ(c.done.size(), 1u);
    EXPECT_EQ(c.client.State(), ftpReady);
}

} // namespace
