// quillftp-cli over IPv6 on ::1: an address with a bracketed host, EPSV in passive mode and
// EPRT in active mode, files both ways byte for byte.

#include <gtest/gtest.h>

#include "support/CliRunner.h"
#include "support/FtpServer.h"
#include "support/TestTree.h"

using namespace testsupport;

namespace {

class CliIpv6 : public ::testing::TestWithParam<ServerKind>
{
protected:
    void SetUp() override
    {
        server.setIPv6(true);
        ASSERT_TRUE(server.start()) << server.error();
        ASSERT_TRUE(writePatternFile(server.localWorkDir() + "/big.bin", 2 * 1024 * 1024 + 5, 9));
    }
    void TearDown() override { server.stop(); }

    FtpServer server{GetParam()};
    CliRunner cli{server};
};

} // namespace

TEST_P(CliIpv6, TransfersInPassiveAndActiveMode)
{
    std::string dir = server.workDir() == "/" ? "/" : server.workDir() + "/"; // from the login directory
    for (const char* mode : {"--passive", "--active"}) {
        SCOPED_TRACE(mode);
        bool active = std::string(mode) == "--active";
        CliResult fetched = cli.run({"--log", mode, "-n", "2", "--split-size", "1000000", "get",
                                     cli.url(dir + "big.bin"), QString::fromStdString(cli.local())});
        ASSERT_EQ(fetched.status, 0) << fetched.err;
        EXPECT_TRUE(cli.same(cli.local() + "big.bin", cli.remote() + "big.bin"));
        EXPECT_NE(fetched.err.find(active ? "> EPRT |2|::1|" : "> EPSV"), std::string::npos) << fetched.err;

        std::string name = std::string(active ? "active" : "passive") + ".bin";
        ASSERT_EQ(::rename((cli.local() + "big.bin").c_str(), (cli.local() + name).c_str()), 0);
        CliResult sent = cli.run({mode, "put", QString::fromStdString(cli.local() + name), cli.url(dir)});
        ASSERT_EQ(sent.status, 0) << sent.err;
        EXPECT_TRUE(cli.same(cli.local() + name, cli.remote() + name));
    }
}

INSTANTIATE_TEST_SUITE_P(Servers, CliIpv6, ::testing::Values(ServerKind::Pyftpdlib, ServerKind::Vsftpd));
