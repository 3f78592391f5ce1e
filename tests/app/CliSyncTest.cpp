// quillftp-cli sync against real servers: a tree with every kind of change on each side gives
// the right plan in every direction, a dry run changes nothing, and carrying the plan out
// leaves both folders alike, byte for byte and with the times kept. What cannot be trusted —
// a listing that fails, a conflict, a plan older than the folders — changes nothing.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "support/CliRunner.h"
#include "support/FtpServer.h"

using namespace testsupport;
namespace fs = std::filesystem;

namespace {

const int64_t kStart = std::time(nullptr) - 86400;

// A file of the tests' trees, which the servers (running as another user) may replace.
void write(const std::string& path, const std::string& content, int64_t time)
{
    fs::path parent = fs::path(path).parent_path();
    fs::create_directories(parent);
    for (const fs::path& directory : {parent, parent.parent_path()})
        fs::permissions(directory, fs::perms::all, fs::perm_options::add);
    std::ofstream(path, std::ios::binary) << content;
    fs::permissions(path, fs::perms::all & ~fs::perms::others_exec & ~fs::perms::group_exec & ~fs::perms::owner_exec);
    fs::last_write_time(path, fs::file_time_type::clock::now() - std::chrono::seconds(std::time(nullptr) - time));
}

int64_t timeOf(const std::string& path)
{
    struct stat info = {};
    return ::stat(path.c_str(), &info) == 0 ? static_cast<int64_t>(info.st_mtime) : -1;
}

// Every file below a folder with its hash: what the folder holds.
std::map<std::string, std::string> contents(const std::string& folder)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file())
            files[entry.path().string().substr(folder.size())] = fileHash(entry.path().string());
    return files;
}

// "upload a.txt", ... of a plan as --json gives it.
std::vector<std::string> actions(const CliResult& result)
{
    QJsonObject document = QJsonDocument::fromJson(QByteArray::fromStdString(result.out)).object();
    if (document.contains("plan"))
        document = document.value("plan").toObject();
    std::vector<std::string> words;
    for (const QJsonValue& value : document.value("actions").toArray()) {
        QJsonObject action = value.toObject();
        words.push_back(action.value("action").toString().toStdString() + " " +
                        action.value("path").toString().toStdString());
    }
    return words;
}

using Words = std::vector<std::string>;

class CliSync : public ::testing::TestWithParam<ServerKind>
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.start()) << server.error();
        std::string work = server.workDir() == "/" ? "/" : server.workDir() + "/";
        url = cli.url(work + "s/");
        here = cli.local() + "mine/";
        there = cli.remote() + "s/";
    }
    void TearDown() override { server.stop(); }

    CliResult sync(QStringList options)
    {
        return cli.run(QStringList{"--json", "sync"} + options + QStringList{QString::fromStdString(here), url});
    }

    FtpServer server{GetParam()};
    CliRunner cli{server};
    QString url;
    std::string here;
    std::string there;
};

} // namespace

TEST_P(CliSync, EveryKindOfChangeGivesItsPlanEachWayAndTheRunLeavesBothAlike)
{
    for (const std::string& side : {here, there})
        for (const char* name :
             {"keep.txt", "a.txt", "touched.txt", "gone-here.txt", "gone-there.txt", "there-touched.txt", "d/b.txt"})
            write(side + name, std::string("first ") + name, kStart);
    CliResult first = sync({});
    ASSERT_EQ(first.status, 0) << first.errorText();
    EXPECT_EQ(actions(first), Words{});

    // Changed here at +100 s, there at +200 s: new, grown, touched, deleted; keep.txt stays.
    write(here + "new-here.txt", "new here", kStart + 100);
    write(here + "a.txt", "second a.txt, longer", kStart + 100);
    write(here + "touched.txt", "first touched.txt", kStart + 100);
    fs::remove(here + "gone-here.txt");
    write(there + "new-there.txt", "new there", kStart + 200);
    write(there + "d/b.txt", "second d/b.txt, longer", kStart + 200);
    write(there + "there-touched.txt", "first there-touched.txt", kStart + 200);
    fs::remove(there + "gone-there.txt");
    auto before = std::make_pair(contents(here), contents(there));

    EXPECT_EQ(
        actions(sync({"--dry-run", "--up", "--delete"})),
        (Words{"upload a.txt", "skip d/b.txt", "delete-there gone-here.txt", "upload gone-there.txt",
               "upload new-here.txt", "delete-there new-there.txt", "skip there-touched.txt", "upload touched.txt"}));
    EXPECT_EQ(actions(sync({"--dry-run", "--down"})),
              (Words{"skip a.txt", "download d/b.txt", "download gone-here.txt", "skip gone-there.txt",
                     "skip new-here.txt", "download new-there.txt", "download there-touched.txt", "skip touched.txt"}));
    const Words both{
        "upload a.txt",        "download d/b.txt",       "delete-there gone-here.txt", "delete-here gone-there.txt",
        "upload new-here.txt", "download new-there.txt", "download there-touched.txt", "upload touched.txt"};
    EXPECT_EQ(actions(sync({"--dry-run", "--both", "--delete"})), both);
    EXPECT_EQ(std::make_pair(contents(here), contents(there)), before) << "a dry run changed something";

    CliResult run = sync({"--delete"});
    EXPECT_EQ(run.status, 0) << run.errorText();
    EXPECT_EQ(actions(run), both);
    std::map<std::string, std::string> alike = contents(here);
    EXPECT_EQ(alike, contents(there));
    EXPECT_EQ(alike.size(), 7u);
    EXPECT_EQ(alike.count("gone-here.txt") + alike.count("gone-there.txt"), 0u);
    EXPECT_TRUE(cli.same(here + "a.txt", there + "a.txt"));
    // Downloads take the server's time; uploads give theirs where the server takes one (MFMT;
    // of a file it made: the ones the test made belong to another user).
    EXPECT_EQ(timeOf(here + "d/b.txt"), kStart + 200);
    EXPECT_EQ(timeOf(here + "there-touched.txt"), kStart + 200);
    if (GetParam() != ServerKind::Vsftpd)
        EXPECT_EQ(timeOf(there + "new-here.txt"), kStart + 100) << run.errorText();
    // In step now: nothing more to do either way.
    CliResult again = sync({"--dry-run", "--delete"});
    EXPECT_EQ(actions(again), Words{}) << again.out;
}

TEST_P(CliSync, AFileChangedOnBothSidesIsAConflictLeftAsItIs)
{
    write(here + "both.txt", "first", kStart);
    write(there + "both.txt", "first", kStart);
    ASSERT_EQ(sync({}).status, 0);
    write(here + "both.txt", "changed here", kStart + 100);
    write(there + "both.txt", "changed there, too", kStart + 200);
    CliResult run = sync({});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(actions(run), (Words{"conflict both.txt"}));
    std::ifstream mine(here + "both.txt"), theirs(there + "both.txt");
    std::string a((std::istreambuf_iterator<char>(mine)), {}), b((std::istreambuf_iterator<char>(theirs)), {});
    EXPECT_EQ(a, "changed here");
    EXPECT_EQ(b, "changed there, too");
}

INSTANTIATE_TEST_SUITE_P(Servers, CliSync,
                         ::testing::Values(ServerKind::Pyftpdlib, ServerKind::Vsftpd, ServerKind::Proftpd,
                                           ServerKind::PureFtpd),
                         [](const ::testing::TestParamInfo<ServerKind>& info) { return serverName(info.param); });

TEST(CliSyncTrust, AListingThatFailsRefusesDeletionsAndAPlanOlderThanTheFoldersIsRefused)
{
    FtpServer server;
    // Every listing of s/sub fails, as a listing cut by the server does, each try.
    server.setVariant({"--reply", "MLSD /s/sub/=451 Listing aborted: local error.", "--reply",
                       "MLSD /s/sub=451 Listing aborted: local error."});
    CliRunner cli{server};
    ASSERT_TRUE(server.start()) << server.error();
    std::string here = cli.local() + "mine/", there = cli.remote() + "s/";
    write(here + "new.txt", "new", kStart);
    write(there + "only-there.txt", "there", kStart);
    write(there + "sub/inside.txt", "inside", kStart);
    QString url = cli.url("/s/");
    CliResult plan = cli.run({"--json", "sync", "--up", "--delete", "--dry-run", QString::fromStdString(here), url});
    ASSERT_EQ(plan.status, 0) << plan.errorText();
    EXPECT_EQ(actions(plan), (Words{"upload new.txt", "skip only-there.txt", "skip sub"}));
    QJsonObject document = QJsonDocument::fromJson(QByteArray::fromStdString(plan.out)).object();
    EXPECT_NE(document.value("deletions_refused").toString().indexOf("451"), -1) << plan.out;

    // A plan kept, then the server's file changes: applying it is refused, nothing moves.
    std::string kept = cli.dataDir() + "plan.json";
    CliResult made =
        cli.run({"sync", "--up", "--plan", QString::fromStdString(kept), QString::fromStdString(here), url});
    ASSERT_EQ(made.status, 0) << made.errorText();
    write(there + "new.txt", "meanwhile", kStart + 300);
    // The plan keeps no password: it comes as for any address without one.
    cli.setInput(std::string(FtpServer::kPassword) + "\n");
    CliResult applied = cli.run({"--password-stdin", "sync", "--apply", QString::fromStdString(kept)});
    EXPECT_EQ(applied.status, 1);
    EXPECT_NE(applied.errorText().find("the plan is refused: 1 path changed since it was made: new.txt"),
              std::string::npos)
        << applied.errorText();
    std::ifstream still(there + "new.txt");
    EXPECT_EQ(std::string((std::istreambuf_iterator<char>(still)), {}), "meanwhile");
    server.stop();
}

TEST(CliSyncTrust, ByHashFilesOfOneSizeAndTimeAreToldApartByTheServersDigest)
{
    FtpServer server;
    server.setVariant({"--hash"}); // XMD5
    CliRunner cli{server};
    ASSERT_TRUE(server.start()) << server.error();
    std::string here = cli.local() + "mine/", there = cli.remote() + "s/";
    for (const std::string& side : {here, there})
        write(side + "same.txt", "twelve bytes", kStart);
    write(here + "differ.txt", "twelve bytes", kStart);
    write(there + "differ.txt", "TWELVE BYTES", kStart);
    QStringList folders{QString::fromStdString(here), cli.url("/s/")};
    CliResult byTime = cli.run(QStringList{"--json", "sync", "--down", "--dry-run"} + folders);
    ASSERT_EQ(byTime.status, 0) << byTime.errorText();
    EXPECT_EQ(actions(byTime), Words{}); // size and time alike
    CliResult byHash = cli.run(QStringList{"--json", "sync", "--down", "--dry-run", "--by-hash"} + folders);
    ASSERT_EQ(byHash.status, 0) << byHash.errorText();
    // Other content at the same time: one way, the leading side's wins; both ways, a conflict.
    EXPECT_EQ(actions(byHash), (Words{"download differ.txt"}));
    CliResult both = cli.run(QStringList{"--json", "sync", "--dry-run", "--by-hash"} + folders);
    EXPECT_EQ(actions(both), (Words{"conflict differ.txt"}));
    server.stop();
}
