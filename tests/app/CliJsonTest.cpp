// quillftp-cli --json: what a script reads of a listing and of a run, parsed as a script would.

#include <gtest/gtest.h>

#include <fstream>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "support/CliRunner.h"
#include "support/FtpServer.h"

using namespace testsupport;

namespace {

QJsonObject parsed(const CliResult& result)
{
    QJsonParseError error{};
    QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(result.out), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << result.out;
    return document.object();
}

QJsonObject entryNamed(const QJsonArray& entries, const QString& key, const QString& name)
{
    for (const QJsonValue& entry : entries)
        if (entry.toObject().value(key).toString() == name)
            return entry.toObject();
    return {};
}

} // namespace

TEST(CliJson, AListingGivesEachEntrysRawValuesWhateverItsName)
{
    FtpServer server{ServerKind::Vsftpd}; // sends names as the bytes they are
    CliRunner cli{server};
    ASSERT_TRUE(server.start()) << server.error();
    std::ofstream(cli.remote() + "with spaces.txt") << "12345";
    std::ofstream(cli.remote() + "ünïcode.txt") << "u";
    std::ofstream(cli.remote() + "caf\xe9.txt") << "latin";
    std::filesystem::create_directory(cli.remote() + "folder");
    std::string work = server.workDir() == "/" ? "/" : server.workDir() + "/";
    CliResult listed = cli.run({"--json", "ls", cli.url(work)});
    ASSERT_EQ(listed.status, 0) << listed.err;
    QJsonObject document = parsed(listed);
    EXPECT_EQ(document.value("address").toString().toStdString().find(FtpServer::kPassword), std::string::npos);
    QJsonArray entries = document.value("entries").toArray();
    EXPECT_EQ(entries.size(), 4);
    QJsonObject spaced = entryNamed(entries, "name", "with spaces.txt");
    EXPECT_EQ(spaced.value("kind").toString(), "file");
    EXPECT_EQ(spaced.value("size").toInteger(), 5);
    EXPECT_FALSE(spaced.value("listed_time").toString().isEmpty());
    EXPECT_FALSE(spaced.contains("name_escaped"));
    EXPECT_EQ(entryNamed(entries, "name", "folder").value("kind").toString(), "directory");
    EXPECT_EQ(entryNamed(entries, "name", QString::fromUtf8("ünïcode.txt")).value("size").toInteger(), 1);
    // The Latin-1 byte: text for reading, and escaped as an address takes it, to name it again.
    QJsonObject latin = entryNamed(entries, "name_escaped", "caf%E9.txt");
    EXPECT_EQ(latin.value("size").toInteger(), 5);
    EXPECT_EQ(latin.value("name").toString(), QString::fromUtf8("caf\uFFFD.txt"));
    CliResult again = cli.run({"--json", "get", cli.url(work + "caf%E9.txt"), "in"});
    EXPECT_EQ(again.status, 0) << again.err;
    server.stop();
}

TEST(CliJson, ARunGivesEachFilesOutcomeWithTheReasonOfAFailure)
{
    FtpServer server;
    CliRunner cli{server};
    std::filesystem::create_directory(cli.remote() + "tree");
    std::ofstream(cli.remote() + "tree/good.bin") << std::string(3000, 'g');
    std::ofstream(cli.remote() + "tree/refused.bin") << std::string(2000, 'r');
    server.setVariant({"--refuse", "refused.bin"});
    ASSERT_TRUE(server.start()) << server.error();
    CliResult fetched = cli.run({"--json", "--retries", "0", "-n", "2", "get", cli.url("/tree/"), "in"});
    EXPECT_EQ(fetched.status, 1) << fetched.err;
    QJsonObject document = parsed(fetched);
    EXPECT_EQ(document.value("command").toString(), "get");
    EXPECT_EQ(document.value("status").toInt(), 1);
    EXPECT_EQ(document.value("bytes").toInteger(), 3000);
    QJsonArray files = document.value("files").toArray();
    ASSERT_EQ(files.size(), 2) << fetched.out;
    QJsonObject good = entryNamed(files, "remote", "/tree/good.bin");
    EXPECT_EQ(good.value("state").toString(), "done");
    EXPECT_EQ(good.value("bytes").toInteger(), 3000);
    EXPECT_TRUE(good.value("reason").isNull());
    EXPECT_EQ(good.value("local").toString().toStdString(), cli.local() + "in/tree/good.bin");
    QJsonObject refused = entryNamed(files, "remote", "/tree/refused.bin");
    EXPECT_EQ(refused.value("state").toString(), "failed");
    EXPECT_NE(refused.value("reason").toString().indexOf("550"), -1) << fetched.out;
    server.stop();
}
