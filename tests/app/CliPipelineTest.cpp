// Commands sent ahead and the work of a run spread over its connections: trees of a hundred
// directories both ways on four connections against every server (directories listed and made
// by connections other than 0), a refusal and a cut data connection in the middle of a
// sequence, and a server that drops commands sent together.

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "support/CliRunner.h"
#include "support/FtpServer.h"
#include "support/TestTree.h"

using namespace testsupport;
namespace fs = std::filesystem;

namespace {

const char* const kOneAtATime = "! The server did not take commands sent together: one command at a time from now on";

// The data command went out right behind the command that opens its data connection, on the
// same connection, before any reply.
bool sentTogether(const std::string& log, const std::string& opener, const std::string& command)
{
    return std::regex_search(log, std::regex("\\[(\\d+)\\] > " + opener + "[^\\n]*\\n\\[\\1\\] > " + command + " "));
}

class CliPipeline : public ::testing::TestWithParam<ServerKind>
{
protected:
    void SetUp() override { ASSERT_TRUE(server.start()) << server.error(); }
    void TearDown() override { server.stop(); }

    FtpServer server{GetParam()};
    CliRunner cli{server};
};

} // namespace

TEST_P(CliPipeline, TreesOfAHundredDirectoriesTravelBothWaysOnFourConnections)
{
    std::string work = server.workDir() == "/" ? "/" : server.workDir() + "/";
    std::string up = cli.local() + "up/tree/";
    std::vector<std::string> names;
    for (int k = 0; k < 100; ++k) {
        // 50 directories, and a directory below each of 34 of them, plus an empty one.
        std::string directory = "d" + std::to_string(k % 50) + (k % 3 == 0 ? "/sub/" : "/");
        fs::create_directories(up + directory);
        names.push_back(directory + "f" + std::to_string(k) + ".bin");
        ASSERT_TRUE(writePatternFile(up + names.back(), k == 7 ? 0 : 1000 + 977 * k, static_cast<uint32_t>(k)));
    }
    fs::create_directories(up + "empty");
    // Directories are listed and made by whichever connection is free, not by connection 0 alone.
    auto byOthers = [](const std::string& log, const std::string& command) {
        return std::regex_search(log, std::regex("\\[[1-9]\\] > " + command + " "));
    };
    // pyftpdlib answers PORT once it has connected, after the RETR sent with it: in active
    // mode its sessions go one command at a time (each connection finds out once).
    std::vector<const char*> modes = {"--passive"};
    if (GetParam() != ServerKind::Pyftpdlib)
        modes.push_back("--active");
    for (const char* mode : modes) {
        SCOPED_TRACE(mode);
        bool active = std::string(mode) == "--active";
        CliResult sent = cli.run({"--log", mode, "-n", "4", "put", QString::fromStdString(up), cli.url(work)});
        ASSERT_EQ(sent.status, 0) << sent.err;
        EXPECT_TRUE(sentTogether(sent.err, active ? "PORT" : "EPSV", "STOR")) << sent.err;
        // On a loaded machine connection 0 can walk all of this small tree before the others have
        // logged in: the walk must be shared in one of two runs.
        std::string again = work + "again" + mode + "/";
        EXPECT_TRUE(
            byOthers(sent.err, "MKD") ||
            (cli.run({"mkdir", cli.url(again)}).status == 0 &&
             byOthers(cli.run({"--log", mode, "-n", "4", "put", QString::fromStdString(up), cli.url(again)}).err,
                      "MKD")))
            << sent.err;
        std::string down = std::string("down") + mode;
        CliResult fetched = cli.run(
            {"--log", mode, "-n", "4", "get", cli.url(work + "tree/"), QString::fromStdString(cli.local() + down)});
        ASSERT_EQ(fetched.status, 0) << fetched.err;
        EXPECT_TRUE(sentTogether(fetched.err, active ? "PORT" : "EPSV", "RETR")) << fetched.err;
        EXPECT_TRUE(byOthers(fetched.err, "(MLSD|LIST)") ||
                    byOthers(cli.run({"--log", mode, "-n", "4", "get", cli.url(work + "tree/"),
                                      QString::fromStdString(cli.local() + down + "-again")})
                                 .err,
                             "(MLSD|LIST)"))
            << fetched.err;
        for (const std::string& log : {sent.err, fetched.err})
            EXPECT_EQ(log.find(kOneAtATime), std::string::npos);
        for (const std::string& name : names) {
            EXPECT_TRUE(cli.same(up + name, cli.remote() + "tree/" + name)) << name;
            EXPECT_TRUE(cli.same(cli.local() + down + "/tree/" + name, up + name)) << name;
        }
        EXPECT_TRUE(fs::is_directory(cli.local() + down + "/tree/d49/sub")); // made as listed
    }
}

INSTANTIATE_TEST_SUITE_P(Servers, CliPipeline,
                         ::testing::Values(ServerKind::Pyftpdlib, ServerKind::Vsftpd, ServerKind::Proftpd,
                                           ServerKind::PureFtpd),
                         [](const ::testing::TestParamInfo<ServerKind>& info) { return serverName(info.param); });

namespace {

class CliPipelineFaults : public ::testing::Test
{
protected:
    void SetUp() override
    {
        fs::create_directories(cli.remote() + "tree");
        for (int k = 0; k < 20; ++k)
            ASSERT_TRUE(writePatternFile(remote(k), k == 10 ? 250000 : 3000 + k, static_cast<uint32_t>(k)));
    }
    void TearDown() override { server.stop(); }

    std::string remote(int k) const { return cli.remote() + "tree/f" + std::to_string(100 + k) + ".bin"; }
    std::string local(int k) const { return cli.local() + "down/tree/f" + std::to_string(100 + k) + ".bin"; }

    FtpServer server;
    CliRunner cli{server};
};

} // namespace

TEST_F(CliPipelineFaults, ARefusedFileIsKeptAndACutOneGoesOnFromItsOffset)
{
    // One connection, so that every file's commands follow the one before it. Every RETR stops
    // after 100000 bytes: the big file comes in three pieces.
    server.setVariant({"--refuse", "f105.bin", "--refusals", "1", "--cut-after", "100000"});
    ASSERT_TRUE(server.start()) << server.error();
    CliResult fetched = cli.run({"--log", "--passive", "-n", "1", "get", cli.url("/tree/"), "down"});
    EXPECT_EQ(fetched.status, 1) << fetched.err;
    EXPECT_TRUE(sentTogether(fetched.err, "EPSV", "RETR")) << fetched.err;
    EXPECT_NE(fetched.err.find("< 550 Refused by this test server."), std::string::npos) << fetched.err;
    EXPECT_NE(fetched.err.find("> REST 100000"), std::string::npos) << fetched.err;
    EXPECT_EQ(fetched.err.find("Connection Lost"), fetched.err.rfind("Connection Lost")) << fetched.err; // at the end
    for (int k = 0; k < 20; ++k)
        EXPECT_EQ(cli.same(local(k), remote(k)), k != 5) << k;

    CliResult resumed = cli.run({"resume", "1"});
    EXPECT_EQ(resumed.status, 0) << resumed.err;
    EXPECT_TRUE(cli.same(local(5), remote(5)));
}

TEST_F(CliPipelineFaults, AServerThatDropsCommandsSentTogetherIsAskedOneAtATime)
{
    server.setVariant({"--delay", "0.05", "--drop-pipelined"});
    ASSERT_TRUE(server.start()) << server.error();
    CliResult fetched = cli.run({"--log", "--passive", "--timeout", "2", "-n", "2", "get", cli.url("/tree/"), "down"});
    EXPECT_EQ(fetched.status, 0) << fetched.err;
    EXPECT_NE(fetched.err.find(kOneAtATime), std::string::npos) << fetched.err;
    for (int k = 0; k < 20; ++k)
        EXPECT_TRUE(cli.same(local(k), remote(k))) << k;
}
