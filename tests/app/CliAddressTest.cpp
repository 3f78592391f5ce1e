// Addresses as curl, wget and lftp read them: against vsftpd with a local user whose login
// directory (local_root) is not "/" and who is not shut in it, a path is taken from the login
// directory, "%2F" reaches the root, and a directory its parent does not list is entered as named.

#include <gtest/gtest.h>

#include <filesystem>

#include <sys/stat.h>

#include "support/CliRunner.h"
#include "support/FtpServer.h"
#include "support/SystemUser.h"
#include "support/TestTree.h"

using namespace testsupport;
namespace fs = std::filesystem;

namespace {

class LoginDirectory : public ::testing::Test
{
protected:
    void SetUp() override
    {
        root = fs::weakly_canonical(server.localWorkDir() + "/..").string() + "/";
        // vsftpd enters the account's home first, then local_root.
        if (!account.create("quillftp", "/bin/sh", root))
            GTEST_SKIP() << "needs root to make a local account for vsftpd";
        home = root + "home/";
        fs::create_directories(home + "docs");
        fs::create_directories(home + "closed/inner");
        ASSERT_TRUE(writePatternFile(home + "file.bin", 70000, 1));
        ASSERT_TRUE(writePatternFile(home + "docs/a.bin", 9000, 2));
        ASSERT_TRUE(writePatternFile(home + "closed/inner/deep.bin", 5000, 3));
        ASSERT_TRUE(writePatternFile(home + "closed/secret.bin", 6000, 5));
        ASSERT_TRUE(writePatternFile(root + "top.bin", 3000, 4));
        for (const std::string& directory : {home, home + "docs", home + "closed/inner"})
            ::chmod(directory.c_str(), 0755);
        ::chmod((home + "closed").c_str(), 0711); // entered, never listed
        server.setVariant({"anonymous_enable=NO", "local_enable=YES", "chroot_local_user=NO",
                           "local_root=" + QString::fromStdString(home), "pam_service_name=vsftpd", "write_enable=NO"});
        ASSERT_TRUE(server.start()) << server.error();
    }
    void TearDown() override { server.stop(); }

    QString url(const std::string& path) const
    {
        return QString::fromStdString("ftp://" + account.name() + ":" + account.password() +
                                      "@127.0.0.1:" + server.portText() + path);
    }

    SystemUser account;
    FtpServer server{ServerKind::Vsftpd};
    CliRunner cli{server};
    std::string root;
    std::string home;
};

} // namespace

TEST_F(LoginDirectory, PathsAreTakenFromTheLoginDirectoryAndPercent2FReachesTheRoot)
{
    CliResult listed = cli.run({"ls", url("/")});
    ASSERT_EQ(listed.status, 0) << listed.err;
    EXPECT_NE(listed.out.find("file.bin"), std::string::npos) << listed.out;

    CliResult file = cli.run({"get", url("/file.bin")});
    ASSERT_EQ(file.status, 0) << file.err;
    EXPECT_TRUE(cli.same(cli.local() + "file.bin", home + "file.bin"));

    CliResult tree = cli.run({"get", url("/docs/"), "trees"});
    ASSERT_EQ(tree.status, 0) << tree.err;
    EXPECT_TRUE(cli.same(cli.local() + "trees/docs/a.bin", home + "docs/a.bin"));

    CliResult top = cli.run({"get", url("/%2F" + root.substr(1) + "top.bin")});
    ASSERT_EQ(top.status, 0) << top.err;
    EXPECT_TRUE(cli.same(cli.local() + "top.bin", root + "top.bin"));
}

TEST_F(LoginDirectory, ADirectoryItsParentDoesNotListIsEnteredAsNamed)
{
    CliResult deep = cli.run({"get", url("/closed/inner/"), "out"});
    ASSERT_EQ(deep.status, 0) << deep.err;
    EXPECT_TRUE(cli.same(cli.local() + "out/inner/deep.bin", home + "closed/inner/deep.bin"));
    // A file the listing does not show is fetched when SIZE finds it; a directory named
    // without its "/" is not a file.
    CliResult secret = cli.run({"get", url("/closed/secret.bin")});
    ASSERT_EQ(secret.status, 0) << secret.err;
    EXPECT_TRUE(cli.same(cli.local() + "secret.bin", home + "closed/secret.bin"));
    CliResult notAFile = cli.run({"get", url("/closed/inner")});
    EXPECT_EQ(notAFile.status, 1);
    EXPECT_EQ(notAFile.errorText(), "quillftp-cli: no such remote file or directory: closed/inner\n");
}

// Names beyond ASCII go up, come down and are listed as they are, on every server; a name that
// is not UTF-8 keeps its bytes through download, rename and delete.
class Names : public ::testing::TestWithParam<ServerKind>
{
protected:
    void SetUp() override { ASSERT_TRUE(server.start()) << server.error(); }
    void TearDown() override { server.stop(); }

    FtpServer server{GetParam()};
    CliRunner cli{server};
};

TEST_P(Names, UnicodeNamesTravelBothWaysAndOtherBytesStayAsTheyAre)
{
    std::string work = server.workDir() == "/" ? "/" : server.workDir() + "/";
    std::string up = cli.local() + "up/";
    fs::create_directories(up + "日本");
    ASSERT_TRUE(writePatternFile(up + "é.txt", 1500, 1));
    ASSERT_TRUE(writePatternFile(up + "日本/🙂.bin", 2500, 2));
    CliResult put = cli.run({"put", QString::fromStdString(up), cli.url(work)});
    ASSERT_EQ(put.status, 0) << put.err;
    EXPECT_TRUE(cli.same(up + "é.txt", cli.remote() + "up/é.txt"));
    EXPECT_TRUE(cli.same(up + "日本/🙂.bin", cli.remote() + "up/日本/🙂.bin"));

    CliResult listed = cli.run({"ls", cli.url(work + "up/日本/")});
    ASSERT_EQ(listed.status, 0) << listed.err;
    EXPECT_NE(listed.out.find("f\t2500\t🙂.bin"), std::string::npos) << listed.out;
    CliResult down = cli.run({"get", cli.url(work + "up/"), "down"});
    ASSERT_EQ(down.status, 0) << down.err;
    EXPECT_TRUE(cli.same(cli.local() + "down/up/é.txt", up + "é.txt"));
    EXPECT_TRUE(cli.same(cli.local() + "down/up/日本/🙂.bin", up + "日本/🙂.bin"));

    // A Latin-1 name: the byte 0xE9 alone. pyftpdlib itself lists and takes such a name with
    // U+FFFD in place of the byte, so no client reaches the file there.
    if (GetParam() == ServerKind::Pyftpdlib)
        return;
    std::string latin = "caf\xE9.txt";
    ASSERT_TRUE(writePatternFile(cli.remote() + latin, 900, 3));
    CliResult fetched = cli.run({"get", cli.url(work + "caf%E9.txt"), "latin"});
    ASSERT_EQ(fetched.status, 0) << fetched.err;
    EXPECT_TRUE(cli.same(cli.local() + "latin/" + latin, cli.remote() + latin));
    fs::remove(cli.local() + "latin/" + latin); // a name Qt cannot spell would keep its temporary folder
    // (A new name is an argument, and arguments reach the program as UTF-8: the old one is the
    // Latin-1 name here, found by its bytes.)
    CliResult renamed = cli.run({"mv", cli.url(work + "caf%E9.txt"), "tea.txt"});
    ASSERT_EQ(renamed.status, 0) << renamed.err;
    EXPECT_FALSE(fs::exists(cli.remote() + latin));
    EXPECT_TRUE(fs::exists(cli.remote() + "tea.txt"));
    ASSERT_TRUE(writePatternFile(cli.remote() + "th\xE9.txt", 100, 4));
    CliResult removed = cli.run({"rm", cli.url(work + "th%E9.txt")});
    ASSERT_EQ(removed.status, 0) << removed.err;
    EXPECT_FALSE(fs::exists(cli.remote() + "th\xE9.txt"));
}

INSTANTIATE_TEST_SUITE_P(Servers, Names,
                         ::testing::Values(ServerKind::Pyftpdlib, ServerKind::Vsftpd, ServerKind::Proftpd,
                                           ServerKind::PureFtpd),
                         [](const ::testing::TestParamInfo<ServerKind>& info) { return serverName(info.param); });
