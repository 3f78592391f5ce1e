// quillftp-cli's logins without a password on the command line: a netrc file, standard input
// and the terminal; and what it says of itself.

#include <gtest/gtest.h>

#include <fstream>

#include <QFileInfo>

#include <poll.h>
#include <pty.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "app/Credentials.h"
#include "support/CliRunner.h"
#include "support/FtpServer.h"
#include "support/ScriptedPrompt.h"

using namespace testsupport;

namespace {

class CliCredentials : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::ofstream(cli.remote() + "here.txt") << "here";
        ASSERT_TRUE(server.start()) << server.error();
        // No terminal to ask on, unless a test gives one.
        setup = [] { ::setsid(); };
    }
    void TearDown() override { server.stop(); }

    // The address of the server's root, with the user named or not, and no password.
    QString address(bool withUser = true) const
    {
        return QString::fromStdString("ftp://" + std::string(withUser ? server.user() + "@" : "") +
                                      "127.0.0.1:" + server.portText() + "/");
    }
    std::string writeNetrc(const std::string& text, mode_t mode)
    {
        std::string path = cli.dataDir() + "netrc";
        std::ofstream(path) << text;
        ::chmod(path.c_str(), mode);
        return path;
    }

    FtpServer server;
    CliRunner cli{server};
    std::function<void()> setup;
};

} // namespace

TEST(Netrc, EntriesAreReadAsCurlReadsThem)
{
    QTemporaryDir dir;
    std::string path = dir.path().toStdString() + "/netrc";
    std::ofstream(path) << "machine other login a password b\n"
                           "macdef init\ncd /pub\nmachine 127.0.0.1 login hidden password inside\n\n"
                           "machine 127.0.0.1 login quill password \"two words \\\"quoted\\\"\"\n"
                           "machine 127.0.0.1\n  login second\n  password 2nd\n"
                           "default login anonymous password me@example.org\n";
    ::chmod(path.c_str(), 0600);
    TNetrcLogin login;
    std::string error;
    ASSERT_TRUE(LookUpNetrc(path, "127.0.0.1", "", login, error)) << error;
    EXPECT_TRUE(login.Found);
    EXPECT_EQ(login.User, "quill"); // the macro's text is no entry
    EXPECT_EQ(login.Password, "two words \"quoted\"");
    ASSERT_TRUE(LookUpNetrc(path, "127.0.0.1", "second", login, error));
    EXPECT_EQ(login.Password, "2nd");
    ASSERT_TRUE(LookUpNetrc(path, "elsewhere", "", login, error));
    EXPECT_EQ(login.User, "anonymous");
    ASSERT_TRUE(LookUpNetrc(path, "127.0.0.1", "nobody", login, error));
    EXPECT_FALSE(login.Found);
    ASSERT_TRUE(LookUpNetrc(path + ".missing", "127.0.0.1", "", login, error));
    EXPECT_FALSE(login.Found);
}

TEST_F(CliCredentials, ANetrcLogsInAndOneOthersCanReadIsRefused)
{
    std::string netrc = writeNetrc("machine 127.0.0.1 login quill password feather\n", 0600);
    for (bool withUser : {true, false}) {
        CliResult listed =
            cli.run({"--netrc-file", QString::fromStdString(netrc), "ls", address(withUser)}, 60000, setup);
        EXPECT_EQ(listed.status, 0) << listed.err;
        EXPECT_NE(listed.out.find("here.txt"), std::string::npos) << listed.out;
        EXPECT_EQ(listed.err.find("warning"), std::string::npos) << listed.err;
    }
    // ~/.netrc when no file is named.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("HOME", QString::fromStdString(cli.dataDir()));
    std::rename(netrc.c_str(), (cli.dataDir() + ".netrc").c_str());
    cli.setEnvironment(environment);
    EXPECT_EQ(cli.run({"ls", address()}, 60000, setup).status, 0);

    ::chmod((cli.dataDir() + ".netrc").c_str(), 0640);
    CliResult refused = cli.run({"ls", address()}, 60000, setup);
    EXPECT_EQ(refused.status, 2);
    EXPECT_NE(refused.err.find(".netrc may be read or changed by other users: not used"), std::string::npos)
        << refused.err;
}

TEST_F(CliCredentials, APasswordComesFromStandardInputOrIsAskedForAndOneInTheAddressIsWarnedOf)
{
    cli.setInput("feather\nrest of the input\n");
    CliResult piped = cli.run({"--password-stdin", "ls", address()}, 60000, setup);
    EXPECT_EQ(piped.status, 0) << piped.err;

    cli.setInput("");
    CliResult nowhere = cli.run({"ls", address()}, 60000, setup);
    EXPECT_EQ(nowhere.status, 2);
    EXPECT_NE(nowhere.err.find("no password given for quill"), std::string::npos) << nowhere.err;

    CliResult inAddress = cli.run({"ls", cli.url("/")}, 60000, setup);
    EXPECT_EQ(inAddress.status, 0) << inAddress.err;
    EXPECT_NE(inAddress.err.find("warning: a password in the address can be read by other users"), std::string::npos);

    // On a terminal the password is asked for, and what is typed does not show.
    int terminal = -1;
    pid_t child = ::forkpty(&terminal, nullptr, nullptr, nullptr);
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::string dataDir = cli.dataDir();
        std::string url = address().toStdString();
        ::execl(QUILLFTP_CLI, QUILLFTP_CLI, "--data-dir", dataDir.c_str(), "--quiet", "ls", url.c_str(),
                static_cast<char*>(nullptr));
        ::_exit(127);
    }
    std::string shown;
    bool answered = false;
    for (int turns = 0; turns < 600; ++turns) { // 60 s at the most
        pollfd ready{terminal, POLLIN, 0};
        if (::poll(&ready, 1, 100) <= 0)
            continue;
        char buffer[512];
        ssize_t got = ::read(terminal, buffer, sizeof buffer);
        if (got <= 0)
            break; // the program ended
        shown.append(buffer, static_cast<size_t>(got));
        if (!answered && shown.find("quill@127.0.0.1's password: ") != std::string::npos) {
            ASSERT_EQ(::write(terminal, "feather\n", 8), 8);
            answered = true;
        }
    }
    ::close(terminal);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(answered) << shown;
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << shown;
    EXPECT_NE(shown.find("here.txt"), std::string::npos) << shown;
    EXPECT_EQ(shown.find("feather"), std::string::npos) << shown;
}

TEST_F(CliCredentials, ASiteOfTheSiteBookIsNamedInPlaceOfTheAddress)
{
    ScriptedPrompt prompt;
    TSiteBook book(cli.dataDir() + "book20.dat", prompt);
    book.LoadSiteBook();
    std::string work = "Work";
    ASSERT_TRUE(book.AddClassUnique(work));
    ASSERT_TRUE(book.AddSiteUnique("Work", {"Build server", "127.0.0.1", server.portText(), server.user(),
                                            FtpServer::kPassword, "the nightly builds"}));
    ASSERT_TRUE(
        book.AddSiteUnique("Work", {"No password", "127.0.0.1:" + server.portText(), "", server.user(), "", ""}));
    book.RebuildSiteTables();
    ASSERT_TRUE(book.SaveSiteBook());

    CliResult listed = cli.run({"ls", "site:Work/Build server/"}, 60000, setup);
    EXPECT_EQ(listed.status, 0) << listed.err;
    EXPECT_NE(listed.out.find("here.txt"), std::string::npos) << listed.out;
    EXPECT_EQ(listed.err.find("warning"), std::string::npos) << listed.err; // the password is the book's
    CliResult fetched = cli.run({"get", "site:Work/Build server/here.txt", "in"}, 60000, setup);
    EXPECT_EQ(fetched.status, 0) << fetched.err;
    EXPECT_TRUE(cli.same(cli.local() + "in/here.txt", cli.remote() + "here.txt"));

    // A site without a password, its port in the host field: the password comes as for an address.
    cli.setInput(std::string(FtpServer::kPassword) + "\n");
    EXPECT_EQ(cli.run({"--password-stdin", "ls", "site:Work/No password/"}, 60000, setup).status, 0);
    CliResult unknown = cli.run({"ls", "site:Work/Nothing/"}, 60000, setup);
    EXPECT_EQ(unknown.status, 2);
    EXPECT_NE(unknown.err.find("no site Work/Nothing/ in the site book"), std::string::npos) << unknown.err;
}

TEST_F(CliCredentials, BashCompletesCommandsOptionsAndSitesOfTheSiteBook)
{
    ScriptedPrompt prompt;
    TSiteBook book(cli.dataDir() + "book20.dat", prompt);
    std::string work = "Work";
    ASSERT_TRUE(book.AddClassUnique(work));
    ASSERT_TRUE(book.AddSiteUnique("Work", {"Build server", "127.0.0.1", server.portText(), "", "", ""}));
    ASSERT_TRUE(book.SaveSiteBook());
    CliResult sites = cli.run({"sites"});
    EXPECT_EQ(sites.out, "site:Work/Build server\n");

    // Each case: the words of the line so far, and what completes the last.
    auto complete = [&](const std::string& words) {
        QProcess shell;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QUILLFTP_HOME", QString::fromStdString(cli.dataDir()));
        environment.insert("PATH", QFileInfo(QUILLFTP_CLI).absolutePath() + ":" + environment.value("PATH"));
        shell.setProcessEnvironment(environment);
        shell.setWorkingDirectory(QString::fromStdString(cli.local()));
        std::string script =
            "source " QUILLFTP_COMPLETION_BASH "\nCOMP_WORDS=(" + words +
            ")\nCOMP_CWORD=$((${#COMP_WORDS[@]} - 1))\n_quillftp_cli\nprintf '%s\\n' \"${COMPREPLY[@]}\"\n";
        shell.start("bash", {"--norc", "--noprofile", "-c", QString::fromStdString(script)});
        shell.waitForFinished(30000);
        EXPECT_EQ(shell.readAllStandardError().toStdString(), "") << words;
        return shell.readAllStandardOutput().toStdString();
    };
    std::ofstream(cli.local() + "upload.bin") << "x";
    EXPECT_EQ(complete("quillftp-cli g"), "get\n");
    EXPECT_EQ(complete("quillftp-cli --pass"), "--passive\n--password-stdin\n");
    EXPECT_EQ(complete("quillftp-cli -n 4 ls site : Wo"), "Work/Build\\ server/\n");
    EXPECT_EQ(complete("quillftp-cli put up"), "upload.bin\n");
}

TEST(CliVersion, NamesTheProgramAndItsLibraries)
{
    QProcess program;
    program.start(QUILLFTP_CLI, {"--version"});
    ASSERT_TRUE(program.waitForFinished(30000));
    std::string out = program.readAllStandardOutput().toStdString();
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_EQ(out.rfind("quillftp-cli 0.", 0), 0u) << out;
    for (const char* library : {"Qt 6.", "OpenSSL 3", "libssh 0."})
        EXPECT_NE(out.find(library), std::string::npos) << out;
}
