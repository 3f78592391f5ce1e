// The SFTP client against OpenSSH's sshd: the ways to log in, host keys known, unknown and
// changed, the remote operations, and transfers (pipelined, at offsets, cut and resumed)
// compared byte for byte.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "sftp/SftpClient.h"
#include "support/SocksServer.h"
#include "support/SshServer.h"
#include "support/TestTree.h"
#include "support/WaitFor.h"

using namespace sftp;
using testsupport::SshServer;
using testsupport::waitFor;

namespace {

struct TOpened
{
    bool Done = false;
    TStatus Status;
    TSshStep Step = TSshStep::Connect;
};

std::string readAll(const std::string& path)
{
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string("<missing>");
}

void writeAll(const std::string& path, const std::string& bytes)
{
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

std::string randomBytes(size_t count, unsigned seed)
{
    std::string bytes(count, '\0');
    uint32_t state = seed * 2654435761u + 1;
    for (char& byte : bytes) {
        state = state * 1664525u + 1013904223u;
        byte = static_cast<char>(state >> 24);
    }
    return bytes;
}

class SftpClientTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (::geteuid() != 0)
            GTEST_SKIP() << "sshd tests need root";
    }

    bool startServer(QStringList options = {})
    {
        m_server.setOptions(std::move(options));
        return m_server.start();
    }

    TSshParams params(bool withPassword = true)
    {
        TSshParams p;
        p.Host = "127.0.0.1";
        p.Port = m_server.port();
        p.User = m_server.user();
        if (withPassword)
            p.Password = m_server.password();
        p.SshDir = m_empty.path().toStdString(); // no keys, no known hosts
        p.OwnKnownHosts = m_empty.path().toStdString() + "/known_hosts_own";
        p.TrustedFingerprint = m_server.fingerprint();
        p.TimeoutSeconds = 10;
        return p;
    }

    TOpened open(TSftpClient& client, const TSshParams& p)
    {
        TOpened opened;
        client.Open(p, [&](const TStatus& status, TSshStep step) { opened = {true, status, step}; });
        waitFor([&] { return opened.Done; }, 20000);
        return opened;
    }

    TStatus call(const std::function<void(std::function<void(const TStatus&)>)>& request)
    {
        bool done = false;
        TStatus result;
        request([&](const TStatus& status) {
            result = status;
            done = true;
        });
        waitFor([&] { return done; }, 20000);
        return done ? result : TStatus{kFailure, "no completion"};
    }

    // A transfer to its completion: the status and the bytes moved.
    std::pair<TStatus, int64_t> transfer(const std::function<void(std::function<void(const TStatus&, int64_t)>)>& start)
    {
        bool done = false;
        std::pair<TStatus, int64_t> result{TStatus{kFailure, "no completion"}, -1};
        start([&](const TStatus& status, int64_t bytes) {
            result = {status, bytes};
            done = true;
        });
        waitFor([&] { return done; }, 60000);
        return result;
    }

    SshServer m_server;
    QTemporaryDir m_empty;
    QTemporaryDir m_local;
};

} // namespace

TEST_F(SftpClientTest, PasswordLoginThenEveryRemoteOperation)
{
    ASSERT_TRUE(startServer()) << m_server.error();
    TSftpClient client;
    TOpened opened = open(client, params());
    ASSERT_TRUE(opened.Status.Ok()) << opened.Status.Text();
    std::string home = m_server.home();

    std::string where;
    call([&](auto done) {
        client.RealPath(".", [&, done](const TStatus& s, std::string path) {
            where = path;
            done(s);
        });
    });
    EXPECT_EQ(where, home);

    EXPECT_TRUE(call([&](auto done) { client.MakeDir(home + "/d", done); }).Ok());
    TStatus again = call([&](auto done) { client.MakeDir(home + "/d", done); });
    EXPECT_FALSE(again.Ok());
    EXPECT_FALSE(again.Lost);

    writeAll(home + "/d/a b.txt", "hello");
    ::symlink("a b.txt", (home + "/d/link").c_str());
    std::vector<TNameEntry> names;
    TStatus listed = call([&](auto done) {
        client.ListDir(home + "/d", [&, done](const TStatus& s, std::vector<TNameEntry> entries) {
            names = std::move(entries);
            done(s);
        });
    });
    ASSERT_TRUE(listed.Ok()) << listed.Text();
    std::map<std::string, TNameEntry> byName;
    for (auto& entry : names)
        byName[entry.Name] = entry;
    ASSERT_EQ(byName.count("a b.txt"), 1u);
    EXPECT_EQ(byName["a b.txt"].Attributes.Size, 5u);
    EXPECT_TRUE(byName["a b.txt"].Attributes.IsRegular());
    EXPECT_TRUE(byName["link"].Attributes.IsLink());
    std::string owner, group;
    OwnerAndGroup(byName["a b.txt"].LongName, owner, group);
    EXPECT_EQ(owner, "root"); // written by the test
    std::string target;
    call([&](auto done) {
        client.ReadLink(home + "/d/link", [&, done](const TStatus& s, std::string t) {
            target = t;
            done(s);
        });
    });
    EXPECT_EQ(target, "a b.txt");

    // Rename over an existing file, times and mode kept as set, then everything removed.
    writeAll(home + "/d/other", "x");
    QProcess::execute("chown", {QString::fromStdString(m_server.user()), QString::fromStdString(home + "/d/a b.txt")});
    EXPECT_TRUE(call([&](auto done) { client.Rename(home + "/d/a b.txt", home + "/d/other", done); }).Ok());
    EXPECT_EQ(readAll(home + "/d/other"), "hello");
    TAttributes set;
    set.AccessTime = set.ModifyTime = 1'500'000'000;
    EXPECT_TRUE(call([&](auto done) { client.SetStat(home + "/d/other", set, done); }).Ok());
    TAttributes mode;
    mode.Permissions = 0600;
    EXPECT_TRUE(call([&](auto done) { client.SetStat(home + "/d/other", mode, done); }).Ok());
    struct stat info
    {
    };
    ASSERT_EQ(::stat((home + "/d/other").c_str(), &info), 0);
    EXPECT_EQ(info.st_mtime, 1'500'000'000);
    EXPECT_EQ(info.st_mode & 0777, 0600u);

    TStatus missing = call([&](auto done) { client.Remove(home + "/d/nothing", done); });
    EXPECT_EQ(missing.Code, kNoSuchFile);
    EXPECT_FALSE(call([&](auto done) { client.RemoveDir(home + "/d", done); }).Ok()); // not empty
    EXPECT_TRUE(call([&](auto done) { client.Remove(home + "/d/other", done); }).Ok());
    EXPECT_TRUE(call([&](auto done) { client.Remove(home + "/d/link", done); }).Ok());
    EXPECT_TRUE(call([&](auto done) { client.RemoveDir(home + "/d", done); }).Ok());
    EXPECT_FALSE(QDir(QString::fromStdString(home + "/d")).exists());
}

TEST_F(SftpClientTest, FilesTravelWholeAndInRangesByteForByte)
{
    ASSERT_TRUE(startServer()) << m_server.error();
    TSftpClient client;
    ASSERT_TRUE(open(client, params()).Status.Ok());
    std::string home = m_server.home();
    std::string content = randomBytes(3 * 1024 * 1024 + 123, 1);
    writeAll(home + "/big.bin", content);

    // Whole, with the progress rising to the end.
    std::string local = m_local.path().toStdString() + "/big.bin";
    int fd = ::open(local.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    int64_t lastProgress = 0;
    client.OnProgress = [&](int64_t position) { lastProgress = position; };
    auto [status, bytes] = transfer([&](auto done) { client.Download(home + "/big.bin", fd, 0, -1, done); });
    ::close(fd);
    ASSERT_TRUE(status.Ok()) << status.Text();
    EXPECT_EQ(bytes, static_cast<int64_t>(content.size()));
    EXPECT_EQ(lastProgress, static_cast<int64_t>(content.size()));
    EXPECT_TRUE(readAll(local) == content);

    // Four ranges into one file, as a split download writes them.
    std::string split = m_local.path().toStdString() + "/split.bin";
    fd = ::open(split.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    int64_t quarter = static_cast<int64_t>(content.size()) / 4;
    for (int part = 0; part < 4; ++part) {
        int64_t from = part * quarter;
        int64_t to = part == 3 ? -1 : from + quarter;
        auto [s, b] = transfer([&](auto done) { client.Download(home + "/big.bin", fd, from, to, done); });
        ASSERT_TRUE(s.Ok()) << s.Text();
        EXPECT_EQ(b, (to < 0 ? static_cast<int64_t>(content.size()) : to) - from);
    }
    ::close(fd);
    EXPECT_TRUE(readAll(split) == content);

    // Up again under another name, and a missing file is a clear refusal.
    fd = ::open(local.c_str(), O_RDONLY);
    auto [up, upBytes] = transfer([&](auto done) { client.Upload(fd, home + "/up.bin", 0, done); });
    ::close(fd);
    ASSERT_TRUE(up.Ok()) << up.Text();
    EXPECT_EQ(upBytes, static_cast<int64_t>(content.size()));
    EXPECT_TRUE(readAll(home + "/up.bin") == content);
    fd = ::open(local.c_str(), O_WRONLY);
    auto [none, noBytes] = transfer([&](auto done) { client.Download(home + "/none.bin", fd, 0, -1, done); });
    ::close(fd);
    EXPECT_EQ(none.Code, kNoSuchFile);
    EXPECT_EQ(noBytes, 0);
}

TEST_F(SftpClientTest, ACutTransferSaysWhereItStoppedAndResumesThereOnANewConnection)
{
    ASSERT_TRUE(startServer()) << m_server.error();
    std::string home = m_server.home();
    std::string content = randomBytes(48 * 1024 * 1024, 2);
    writeAll(home + "/cut.bin", content);
    std::string local = m_local.path().toStdString() + "/cut.bin";
    int fd = ::open(local.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);

    TSftpClient first;
    ASSERT_TRUE(open(first, params()).Status.Ok());
    bool cut = false;
    first.OnProgress = [&](int64_t position) {
        if (!cut && position > 4 * 1024 * 1024) {
            cut = true;
            m_server.cutConnections();
        }
    };
    auto [status, reached] = transfer([&](auto done) { first.Download(home + "/cut.bin", fd, 0, -1, done); });
    EXPECT_TRUE(status.Lost) << status.Text();
    ASSERT_GT(reached, 4 * 1024 * 1024);
    ASSERT_LT(reached, static_cast<int64_t>(content.size()));

    TSftpClient second;
    ASSERT_TRUE(open(second, params()).Status.Ok());
    auto [rest, restBytes] = transfer([&](auto done) { second.Download(home + "/cut.bin", fd, reached, -1, done); });
    ::close(fd);
    ASSERT_TRUE(rest.Ok()) << rest.Text();
    EXPECT_EQ(reached + restBytes, static_cast<int64_t>(content.size()));
    EXPECT_TRUE(readAll(local) == content);
}

TEST_F(SftpClientTest, KeysAgentAndKeyboardInteractiveLogIn)
{
    ASSERT_TRUE(startServer({"PasswordAuthentication no"})) << m_server.error();
    // The user's key from its folder, no password.
    TSshParams withKey = params(false);
    withKey.SshDir = m_server.clientSshDir();
    TSftpClient keyClient;
    TOpened opened = open(keyClient, withKey);
    EXPECT_TRUE(opened.Status.Ok()) << opened.Status.Text();

    // The password through keyboard-interactive where plain password logins are off.
    TSftpClient keyboard;
    opened = open(keyboard, params(true));
    EXPECT_TRUE(opened.Status.Ok()) << opened.Status.Text();

    // A wrong password: refused at authentication, saying what the server takes.
    TSshParams wrong = params(true);
    wrong.Password = "not-it";
    TSftpClient refused;
    opened = open(refused, wrong);
    EXPECT_FALSE(opened.Status.Ok());
    EXPECT_EQ(opened.Step, TSshStep::Authentication);
    EXPECT_NE(opened.Status.Message.find("keyboard-interactive"), std::string::npos) << opened.Status.Message;

    // A real agent holding the key, with no key in the folder.
    QTemporaryDir agentDir;
    QString socket = agentDir.path() + "/agent.sock";
    QProcess agent;
    agent.start("ssh-agent", {"-D", "-a", socket});
    ASSERT_TRUE(waitFor([&] { return QFile::exists(socket); }, 5000));
    QProcess add;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("SSH_AUTH_SOCK", socket);
    add.setProcessEnvironment(environment);
    add.start("ssh-add", {QString::fromStdString(m_server.clientSshDir() + "/id_ed25519")});
    ASSERT_TRUE(add.waitForFinished(10000) && add.exitCode() == 0) << add.readAllStandardError().toStdString();
    QByteArray before = qgetenv("SSH_AUTH_SOCK");
    qputenv("SSH_AUTH_SOCK", socket.toUtf8());
    TSftpClient viaAgent;
    opened = open(viaAgent, params(false));
    if (before.isEmpty())
        qunsetenv("SSH_AUTH_SOCK");
    else
        qputenv("SSH_AUTH_SOCK", before);
    agent.kill();
    agent.waitForFinished(3000);
    EXPECT_TRUE(opened.Status.Ok()) << opened.Status.Text();
}

TEST_F(SftpClientTest, AKeyWithAPassphraseIsAskedForByItsPath)
{
    ASSERT_TRUE(startServer({"PasswordAuthentication no", "KbdInteractiveAuthentication no"})) << m_server.error();
    QTemporaryDir keys;
    std::string key = keys.path().toStdString() + "/id_ed25519";
    ASSERT_EQ(QProcess::execute("ssh-keygen",
                                {"-q", "-t", "ed25519", "-N", "open sesame", "-f", QString::fromStdString(key)}),
              0);
    ASSERT_TRUE(m_server.authorizeKey(key + ".pub"));
    for (std::string given : {"wrong", "open sesame"}) {
        TSshParams withKey = params(false);
        withKey.SshDir = keys.path().toStdString();
        std::vector<std::string> asked;
        withKey.AskPassphrase = [&](const std::string& path) {
            asked.push_back(path);
            return given;
        };
        TSftpClient client;
        TOpened opened = open(client, withKey);
        EXPECT_EQ(opened.Status.Ok(), given == "open sesame") << opened.Status.Text();
        ASSERT_FALSE(asked.empty());
        EXPECT_EQ(asked.front(), key);
    }
}

TEST_F(SftpClientTest, HostKeysUnknownTrustedOnceOrAlwaysAndChanged)
{
    ASSERT_TRUE(startServer()) << m_server.error();
    // Unknown, with nobody to ask: refused, naming the key to trust.
    TSshParams unknown = params();
    unknown.TrustedFingerprint.clear();
    TSftpClient refused;
    TOpened opened = open(refused, unknown);
    EXPECT_EQ(opened.Step, TSshStep::HostKey);
    EXPECT_NE(opened.Status.Message.find(m_server.fingerprint()), std::string::npos) << opened.Status.Message;

    // Asked: shown with its type and fingerprint; trusted always, it is known next time.
    TSftpClient asking;
    THostKey shown;
    asking.Connection().OnUnknownHostKey = [&](const THostKey& key, std::function<void(TTrust)> answer) {
        shown = key;
        answer(TTrust::Always);
    };
    opened = open(asking, unknown);
    ASSERT_TRUE(opened.Status.Ok()) << opened.Status.Text();
    EXPECT_EQ(shown.Type, "ssh-ed25519");
    EXPECT_EQ(shown.Fingerprint, m_server.fingerprint());
    TSftpClient known;
    opened = open(known, unknown);
    EXPECT_TRUE(opened.Status.Ok()) << opened.Status.Text();

    // Another key kept for this host in the user's known_hosts: refused, naming file and line.
    QTemporaryDir other;
    QProcess::execute("ssh-keygen", {"-q", "-t", "ed25519", "-N", "", "-f", other.path() + "/k"});
    QFile otherKey(other.path() + "/k.pub");
    ASSERT_TRUE(otherKey.open(QIODevice::ReadOnly));
    QStringList words = QString::fromUtf8(otherKey.readAll()).split(' ');
    std::string sshDir = other.path().toStdString();
    writeAll(sshDir + "/known_hosts", "# kept\n[127.0.0.1]:" + std::to_string(m_server.port()) + " " +
                                          words[0].toStdString() + " " + words[1].toStdString() + "\n");
    TSshParams changed = params();
    changed.SshDir = sshDir;
    changed.OwnKnownHosts.clear();
    TSftpClient changedClient;
    opened = open(changedClient, changed);
    EXPECT_EQ(opened.Step, TSshStep::HostKey);
    EXPECT_NE(opened.Status.Message.find("known_hosts line 2"), std::string::npos) << opened.Status.Message;
}

TEST_F(SftpClientTest, ThroughSocksFiveAndFour)
{
    ASSERT_TRUE(startServer()) << m_server.error();
    std::string content = randomBytes(1024 * 1024 + 7, 3);
    writeAll(m_server.home() + "/s.bin", content);
    for (auto [kind, level] : {std::pair{testsupport::SocksKind::Dante, "5"},
                               {testsupport::SocksKind::Dante, "4"},
                               {testsupport::SocksKind::Microsocks, "5"}}) {
        testsupport::SocksServer socks(kind);
        ASSERT_TRUE(socks.start()) << socks.error();
        TSshParams through = params();
        through.SocksServer = "127.0.0.1";
        through.SocksPort = std::to_string(socks.port());
        through.SocksLevel = level;
        if (kind == testsupport::SocksKind::Microsocks) {
            through.SocksUser = socks.user();
            through.SocksPassword = socks.password();
        }
        TSftpClient client;
        TOpened opened = open(client, through);
        ASSERT_TRUE(opened.Status.Ok()) << level << ": " << opened.Status.Text();
        std::string local = m_local.path().toStdString() + "/s" + level + ".bin";
        int fd = ::open(local.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        auto [status, bytes] =
            transfer([&](auto done) { client.Download(m_server.home() + "/s.bin", fd, 0, -1, done); });
        ::close(fd);
        EXPECT_TRUE(status.Ok()) << status.Text();
        EXPECT_TRUE(readAll(local) == content) << level;
    }
}
