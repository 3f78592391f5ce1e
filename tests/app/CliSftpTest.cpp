// quillftp-cli with sftp:// addresses against OpenSSH's sshd: host keys unknown and trusted by
// fingerprint, logins by password and by key, trees both ways and a big file split over four
// connections, every file compared byte for byte.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <cstring>
#include <regex>

#include <pwd.h>
#include <unistd.h>

#include "support/CliRunner.h"
#include "support/SshServer.h"
#include "support/TestTree.h"
#include "support/WaitFor.h"

using namespace testsupport;
namespace fs = std::filesystem;

namespace {

class CliSftp : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (::geteuid() != 0)
            GTEST_SKIP() << "sshd tests need root";
        ASSERT_TRUE(server.start()) << server.error();
        // The program's HOME holds no keys and no known hosts of its own.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("HOME", QString::fromStdString(cli.local() + "home"));
        environment.remove("SSH_AUTH_SOCK");
        cli.setEnvironment(environment);
        fs::create_directories(cli.local() + "home");
    }

    QString url(const std::string& path, bool withPassword = true) const
    {
        return QString::fromStdString("sftp://" + server.user() + (withPassword ? ":" + server.password() : "") +
                                      "@127.0.0.1:" + std::to_string(server.port()) + path);
    }
    QString trust() const { return QString::fromStdString(server.fingerprint()); }

    SshServer server;
    CliRunner cli;
};

} // namespace

TEST_F(CliSftp, AnUnknownHostKeyIsRefusedUnlessTrustNamesIt)
{
    ASSERT_TRUE(writePatternFile(server.home() + "/listed.bin", 1234));
    CliResult refused = cli.run({"ls", url("/~/")});
    EXPECT_EQ(refused.status, 3) << refused.err;
    EXPECT_NE(refused.err.find("--trust " + server.fingerprint()), std::string::npos) << refused.err;
    EXPECT_NE(refused.err.find("host key"), std::string::npos) << refused.err;

    CliResult listed = cli.run({"--trust", trust(), "ls", url("/~/")});
    ASSERT_EQ(listed.status, 0) << listed.err;
    EXPECT_NE(listed.out.find("listed.bin"), std::string::npos) << listed.out;
    EXPECT_NE(listed.out.find("f\t1234\tlisted.bin"), std::string::npos) << listed.out;

    // A wrong password fails at authentication, with the login's exit status.
    CliResult wrong = cli.run(
        {"--trust", trust(), "ls",
         QString::fromStdString("sftp://" + server.user() + ":nope@127.0.0.1:" + std::to_string(server.port()) + "/")});
    EXPECT_EQ(wrong.status, 3) << wrong.err;
    EXPECT_NE(wrong.err.find("authentication"), std::string::npos) << wrong.err;
}

TEST_F(CliSftp, TreesTravelBothWaysAndABigFileSplitsOverFourConnections)
{
    std::string up = cli.local() + "up/tree/";
    std::vector<std::string> names;
    for (int k = 0; k < 100; ++k) {
        std::string directory = "d" + std::to_string(k % 10) + (k % 3 == 0 ? "/sub/" : "/");
        fs::create_directories(up + directory);
        names.push_back(directory + "f" + std::to_string(k) + ".bin");
        ASSERT_TRUE(writePatternFile(up + names.back(), k == 7 ? 0 : 1000 + 977 * k, static_cast<uint32_t>(k)));
    }
    // Both ways under a speed limit, which the blocks in flight keep.
    CliResult sent =
        cli.run({"--trust", trust(), "-n", "4", "--limit-rate", "20M", "put", QString::fromStdString(up), url("/~/")});
    ASSERT_EQ(sent.status, 0) << sent.err;
    CliResult fetched = cli.run({"--trust", trust(), "-n", "4", "--limit-rate", "20M", "get", url("/~/tree/"),
                                 QString::fromStdString(cli.local() + "down")});
    ASSERT_EQ(fetched.status, 0) << fetched.err;
    for (const std::string& name : names) {
        EXPECT_TRUE(cli.same(up + name, server.home() + "/tree/" + name)) << name;
        EXPECT_TRUE(cli.same(cli.local() + "down/tree/" + name, up + name)) << name;
    }

    ASSERT_TRUE(writePatternFile(server.home() + "/big.bin", 64 << 20, 9));
    CliResult big = cli.run({"--trust", trust(), "--log", "-n", "4", "get", url("/~/big.bin"),
                             QString::fromStdString(cli.local() + "big")});
    ASSERT_EQ(big.status, 0) << big.err;
    EXPECT_TRUE(cli.same(cli.local() + "big/big.bin", server.home() + "/big.bin"));
    // Ranges of it read by the other connections, at their offsets.
    EXPECT_TRUE(std::regex_search(big.err, std::regex("\\[[1-3]\\] > read /.*/big\\.bin from [1-9]"))) << big.err;
}

TEST_F(CliSftp, ConnectionsCutMidwayLogInAgainAndGoOnFromWhereTheyWere)
{
    ASSERT_TRUE(writePatternFile(server.home() + "/cut.bin", 192 << 20, 4));
    QProcess process;
    cli.start(process, {"--trust", trust(), "--log", "-n", "2", "get", url("/~/cut.bin"),
                        QString::fromStdString(cli.local() + "cut")});
    std::string local = cli.local() + "cut/cut.bin";
    // Once both connections are reading, every connection the server holds is killed.
    std::string log;
    ASSERT_TRUE(waitFor(
        [&] {
            log += process.readAllStandardError().toStdString();
            return log.find("[1] > read") != std::string::npos && log.find("[0] > read") != std::string::npos;
        },
        30000))
        << log;
    // On a busy machine the run may be (nearly) through before the cut comes; while the second
    // range has not reached the file's end, the cut is sure to break into it.
    std::error_code error;
    bool cutMidway = process.state() == QProcess::Running && fs::file_size(local, error) < (192u << 20);
    server.cutConnections();
    ASSERT_TRUE(process.waitForFinished(60000));
    log += process.readAllStandardError().toStdString();
    EXPECT_EQ(process.exitCode(), 0) << log;
    EXPECT_TRUE(cli.same(local, server.home() + "/cut.bin")) << log;
    if (!cutMidway)
        return;
    EXPECT_NE(log.find("connection lost"), std::string::npos) << log;
    // Each range went on from where it was, not from its start again.
    EXPECT_TRUE(std::regex_search(log, std::regex("Logging in again[^]*\\] > read /.*cut\\.bin from [1-9]"))) << log;
}

TEST_F(CliSftp, WhatACutRunLeavesResumesOverSftpFromItsBrokenList)
{
    ASSERT_TRUE(writePatternFile(server.home() + "/kept.bin", 128 << 20, 5));
    QProcess process;
    cli.start(process, {"--trust", trust(), "--log", "--retries", "0", "-n", "1", "get", url("/~/kept.bin"),
                        QString::fromStdString(cli.local() + "kept")});
    std::string log;
    ASSERT_TRUE(waitFor(
        [&] {
            log += process.readAllStandardError().toStdString();
            return log.find("[0] > read") != std::string::npos;
        },
        30000))
        << log;
    server.cutConnections();
    ASSERT_TRUE(process.waitForFinished(60000));
    log += process.readAllStandardError().toStdString();
    ASSERT_EQ(process.exitCode(), 1) << log;

    CliResult broken = cli.run({"broken"});
    EXPECT_NE(broken.out.find("\tsftp://" + server.user() + "@127.0.0.1:" + std::to_string(server.port())),
              std::string::npos)
        << broken.out;
    CliResult resumed = cli.run({"--trust", trust(), "resume", "1"});
    ASSERT_EQ(resumed.status, 0) << resumed.err;
    EXPECT_TRUE(cli.same(cli.local() + "kept/kept.bin", server.home() + "/kept.bin"));
}

TEST_F(CliSftp, RemoteCommandsMakeRenameChangeAndRemove)
{
    ASSERT_TRUE(writePatternFile(server.home() + "/a.txt", 100));
    QProcess::execute("chown",
                      {QString::fromStdString(server.user()), QString::fromStdString(server.home() + "/a.txt")});
    auto ok = [&](const QStringList& arguments) {
        CliResult result = cli.run(QStringList{"--trust", trust()} + arguments);
        EXPECT_EQ(result.status, 0) << arguments.join(' ').toStdString() << "\n" << result.err;
        return result;
    };
    ok({"mkdir", url("/~/made")});
    EXPECT_TRUE(fs::is_directory(server.home() + "/made"));
    ok({"mv", url("/~/a.txt"), "made/b.txt"});
    EXPECT_TRUE(fs::exists(server.home() + "/made/b.txt"));
    ok({"chmod", "600", url("/~/made/b.txt")});
    EXPECT_EQ(fs::status(server.home() + "/made/b.txt").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    // A directory that is not empty stays, and says why.
    CliResult refused = cli.run({"--trust", trust(), "rmdir", url("/~/made")});
    EXPECT_EQ(refused.status, 1) << refused.err;
    EXPECT_TRUE(fs::is_directory(server.home() + "/made"));
    ok({"rm", url("/~/made/b.txt")});
    // A tree goes with rm -r; a link in it goes as the link.
    fs::create_directories(server.home() + "/made/inner/deeper");
    std::ofstream(server.home() + "/made/inner/deeper/c.txt") << "c";
    QTemporaryDir outside;
    std::ofstream(outside.path().toStdString() + "/kept.txt") << "kept";
    fs::create_directory_symlink(outside.path().toStdString(), server.home() + "/made/inner/out");
    // Both the user's to delete: only not following the link keeps what it leads to.
    QProcess::execute("chown", {"-hR", QString::fromStdString(server.user()),
                                QString::fromStdString(server.home() + "/made"), outside.path()});
    ok({"rm", "-r", url("/~/made")});
    EXPECT_FALSE(fs::exists(server.home() + "/made"));
    EXPECT_TRUE(fs::exists(outside.path().toStdString() + "/kept.txt"));
}

TEST_F(CliSftp, AKeyInTheUsersSshFolderLogsInWithoutAPassword)
{
    fs::create_directories(cli.local() + "home/.ssh");
    fs::copy_file(server.clientSshDir() + "/id_ed25519", cli.local() + "home/.ssh/id_ed25519");
    fs::copy_file(server.clientSshDir() + "/id_ed25519.pub", cli.local() + "home/.ssh/id_ed25519.pub");
    ASSERT_TRUE(writePatternFile(server.home() + "/k.bin", 10));
    // Known from the user's own known_hosts: no --trust needed.
    std::FILE* known = std::fopen((cli.local() + "home/.ssh/known_hosts").c_str(), "w");
    std::fputs((server.knownHostsLine() + "\n").c_str(), known);
    std::fclose(known);
    CliResult listed = cli.run({"ls", url("/~/", false)});
    ASSERT_EQ(listed.status, 0) << listed.err;
    EXPECT_NE(listed.out.find("k.bin"), std::string::npos) << listed.out;
}

TEST_F(CliSftp, ASynchronizationMakesTheServersFolderLikeTheLocalOneAndThenFindsThemAlike)
{
    std::string here = cli.local() + "site/";
    for (const char* name : {"index.html", "css/site.css", "img/logo.png"}) {
        fs::create_directories(fs::path(here + name).parent_path());
        ASSERT_TRUE(writePatternFile(here + name, 3000, static_cast<uint32_t>(std::strlen(name))));
    }
    // The server's folder and its old file belong to its user, who replaces them.
    std::string there = server.home() + "/www/";
    fs::create_directories(there);
    ASSERT_TRUE(writePatternFile(there + "old.html", 100));
    const passwd* owner = ::getpwnam(server.user().c_str());
    ASSERT_NE(owner, nullptr);
    for (const std::string& path : {there, there + "old.html"})
        ASSERT_EQ(::chown(path.c_str(), owner->pw_uid, owner->pw_gid), 0);
    CliResult run = cli.run(
        {"--trust", trust(), "-n", "3", "sync", "--up", "--delete", QString::fromStdString(here), url("/~/www/")});
    ASSERT_EQ(run.status, 0) << run.err;
    for (const char* name : {"index.html", "css/site.css", "img/logo.png"})
        EXPECT_TRUE(cli.same(here + name, there + name)) << name;
    EXPECT_FALSE(fs::exists(there + "old.html"));
    // Times kept both ways: nothing left to do.
    CliResult again = cli.run({"--trust", trust(), "sync", "--dry-run", QString::fromStdString(here), url("/~/www/")});
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(again.out, "") << again.out;
}
