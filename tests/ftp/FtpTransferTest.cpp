// Requests and transfers against real servers, each in passive and active mode: files go up
// and come back byte for byte.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iostream>

#include <QTemporaryDir>

#include "ftp/FtpClient.h"
#include "support/FtpServer.h"
#include "support/RecordedClient.h"
#include "support/TestTree.h"
#include "support/WaitFor.h"

using namespace testsupport;

namespace {

struct Setup
{
    ServerKind server;
    bool passive;
};

void PrintTo(const Setup& setup, std::ostream* out)
{
    *out << serverName(setup.server) << (setup.passive ? " passive" : " active");
}

std::string setupName(const ::testing::TestParamInfo<Setup>& info)
{
    return std::string(serverName(info.param.server)) + (info.param.passive ? "_passive" : "_active");
}

class FtpTransfer : public ::testing::TestWithParam<Setup>
{
protected:
    void SetUp() override
    {
        server = std::make_unique<FtpServer>(GetParam().server);
        ASSERT_TRUE(server->start()) << server->error();
        client.Port = server->portText();
        ASSERT_TRUE(local.isValid());
        client.UserName = server->user();
        client.PassWord = server->password();
        client.HostDirName = server->workDir();
        client.SetPassive(GetParam().passive);
    }

    void TearDown() override { recorded.finish(HasFailure()); }

    int run(const std::function<void()>& request) { return recorded.run(request); }

    void login()
    {
        ASSERT_EQ(run([&] { client.Connect(); }), 0) << client.ErrorMessage();
        ASSERT_EQ(run([&] { client.Cwd(); }), 0) << client.ErrorMessage();
        ASSERT_TRUE(client.TypeBinarySync()) << client.ErrorMessage();
    }

    std::string localPath(const std::string& name) const { return local.path().toStdString() + "/" + name; }
    std::string serverPath(const std::string& name) const { return server->localWorkDir() + "/" + name; }

    std::unique_ptr<FtpServer> server;
    QTemporaryDir local;
    RecordedClient recorded{"127.0.0.1", "0"};
    TFtpClient& client = recorded.client;
    std::vector<std::string>& log = recorded.log;
    std::vector<std::pair<int, int>>& done = recorded.done;
};

TEST_P(FtpTransfer, UploadsAndDownloadsFilesByteForByte)
{
    login();
    const int64_t size = 3 * 1024 * 1024 + 123;
    ASSERT_TRUE(writePatternFile(localPath("up.bin"), size, 7));

    client.SetLocalFileName(localPath("up.bin"));
    client.HostFileName = "up.bin";
    std::vector<int64_t> progress;
    client.OnProgress = [&](TCustomFtpCli*, int64_t count, bool&) { progress.push_back(count); };
    ASSERT_EQ(run([&] { client.Put(); }), 0) << client.ErrorMessage();
    EXPECT_EQ(done.back().first, ftpPutAsync);
    ASSERT_TRUE(waitFor([&] {
        return std::filesystem::exists(serverPath("up.bin")) &&
               std::filesystem::file_size(serverPath("up.bin")) == size;
    }));
    EXPECT_EQ(fileHash(serverPath("up.bin")), fileHash(localPath("up.bin")));
    ASSERT_FALSE(progress.empty());
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
    EXPECT_EQ(client.ByteCount(), size);

    client.SetLocalFileName(localPath("down.bin"));
    ASSERT_EQ(run([&] { client.Get(); }), 0) << client.ErrorMessage();
    EXPECT_EQ(done.back().first, ftpGetAsync);
    EXPECT_EQ(fileHash(localPath("down.bin")), fileHash(localPath("up.bin")));
    EXPECT_NE(std::find_if(log.begin(), log.end(),
                           [&](const std::string& line) {
                               return line.rfind("! " + std::to_string(size) + " bytes received/sent in ", 0) == 0;
                           }),
              log.end());

    // A plain download over a longer existing file rewrites it from the start and keeps its tail.
    ASSERT_TRUE(writePatternFile(localPath("longer.bin"), size + 1000, 9));
    client.SetLocalFileName(localPath("longer.bin"));
    ASSERT_EQ(run([&] { client.Get(); }), 0);
    EXPECT_EQ(std::filesystem::file_size(localPath("longer.bin")), static_cast<uintmax_t>(size + 1000));
}

TEST_P(FtpTransfer, ResumesADownloadAtAnOffsetIntoTheExistingFile)
{
    login();
    const int64_t size = 2 * 1024 * 1024;
    ASSERT_TRUE(writePatternFile(serverPath("whole.bin"), size, 3));
    // The first part is already here; the rest is garbage that the resume must overwrite.
    {
        std::ifstream whole(serverPath("whole.bin"), std::ios::binary);
        std::string head(1000000, '\0');
        whole.read(head.data(), static_cast<std::streamsize>(head.size()));
        std::ofstream partial(localPath("partial.bin"), std::ios::binary);
        partial.write(head.data(), static_cast<std::streamsize>(head.size()));
        partial << std::string(5000, 'g');
    }
    client.SetLocalFileName(localPath("partial.bin"));
    client.HostFileName = "whole.bin";
    client.ResumeAt = 1000000;
    int64_t firstProgress = -1;
    client.OnProgress = [&](TCustomFtpCli*, int64_t count, bool&) {
        if (firstProgress < 0)
            firstProgress = count;
    };
    ASSERT_EQ(run([&] { client.RestGet(); }), 0) << client.ErrorMessage();
    EXPECT_EQ(done.back().first, ftpRestGetAsync);
    EXPECT_EQ(firstProgress, 1000000);
    EXPECT_EQ(client.ResumeAt, 0);
    EXPECT_EQ(fileHash(localPath("partial.bin")), fileHash(serverPath("whole.bin")));
}

TEST_P(FtpTransfer, ListsAndRunsTheDirectoryCommands)
{
    login();
    ASSERT_TRUE(writePatternFile(serverPath("listed.txt"), 1234));
    platform::TMemoryStream listing;
    client.SetLocalStream(&listing);
    client.HostFileName.clear();
    ASSERT_EQ(run([&] { client.Dir(); }), 0) << client.ErrorMessage();
    EXPECT_NE(listing.Data().find("listed.txt"), std::string::npos) << listing.Data();
    EXPECT_NE(listing.Data().find("1234"), std::string::npos);
    listing.Clear();
    client.SetLocalStream(&listing);
    ASSERT_EQ(run([&] { client.Ls(); }), 0) << client.ErrorMessage();
    EXPECT_NE(listing.Data().find("listed.txt"), std::string::npos) << listing.Data();

    client.HostFileName = "listed.txt";
    ASSERT_EQ(run([&] { client.Size(); }), 0);
    EXPECT_EQ(client.SizeResult(), 1234);

    client.HostFileName = "sub";
    ASSERT_EQ(run([&] { client.Mkd(); }), 0) << client.ErrorMessage();
    EXPECT_TRUE(std::filesystem::is_directory(serverPath("sub")));
    client.HostDirName = "sub";
    ASSERT_EQ(run([&] { client.Cwd(); }), 0);
    ASSERT_EQ(run([&] { client.Pwd(); }), 0);
    EXPECT_EQ(client.DirResult(), (server->workDir() == "/" ? "" : server->workDir()) + "/sub");
    ASSERT_EQ(run([&] { client.Cdup(); }), 0);

    client.HostFileName = "listed.txt";
    client.SetLocalFileName("renamed.txt");
    ASSERT_EQ(run([&] { client.Rename(); }), 0) << client.ErrorMessage();
    EXPECT_EQ(done.back().first, ftpRenameAsync);
    EXPECT_TRUE(std::filesystem::exists(serverPath("renamed.txt")));
    client.HostFileName = "renamed.txt";
    ASSERT_EQ(run([&] { client.Dele(); }), 0) << client.ErrorMessage();
    EXPECT_FALSE(std::filesystem::exists(serverPath("renamed.txt")));
    client.HostFileName = "sub";
    ASSERT_EQ(run([&] { client.Rmd(); }), 0) << client.ErrorMessage();
    EXPECT_FALSE(std::filesystem::exists(serverPath("sub")));
    client.HostFileName = "no-such-file";
    EXPECT_GE(run([&] { client.Dele(); }), 500);
}

TEST_P(FtpTransfer, MultiStepRequestsLogInTransferAndQuit)
{
    ASSERT_TRUE(writePatternFile(localPath("sent.bin"), 500000, 5));
    client.SetLocalFileName(localPath("sent.bin"));
    client.HostFileName = "sent.bin";
    ASSERT_EQ(run([&] { client.Transmit(); }), 0) << client.ErrorMessage();
    EXPECT_EQ(done.back().first, ftpPutAsync); // an upload reports as itself
    EXPECT_FALSE(client.Connected());
    EXPECT_EQ(client.LastResponse().substr(0, 3), "226"); // the reply before QUIT
    ASSERT_TRUE(waitFor([&] {
        return std::filesystem::exists(serverPath("sent.bin")) &&
               std::filesystem::file_size(serverPath("sent.bin")) == 500000;
    }));

    client.SetLocalFileName(localPath("received.bin"));
    ASSERT_EQ(run([&] { client.ReceiveFile(); }), 0) << client.ErrorMessage();
    EXPECT_EQ(done.back().first, ftpReceiveAsync);
    EXPECT_EQ(fileHash(localPath("received.bin")), fileHash(localPath("sent.bin")));
    EXPECT_FALSE(client.Connected());

    // A failing step ends the request there: no QUIT, the connection stays.
    client.HostDirName = "/no/such/dir";
    ASSERT_EQ(run([&] { client.ReceiveFile(); }), 550);
    EXPECT_EQ(done.back().first, ftpReceiveAsync);
    EXPECT_TRUE(client.Connected());
    EXPECT_EQ(std::count(log.begin(), log.end(), "> QUIT"), 2);
}

INSTANTIATE_TEST_SUITE_P(Servers, FtpTransfer,
                         ::testing::Values(Setup{ServerKind::Pyftpdlib, true}, Setup{ServerKind::Pyftpdlib, false},
                                           Setup{ServerKind::Vsftpd, true}, Setup{ServerKind::Vsftpd, false},
                                           Setup{ServerKind::Proftpd, true}, Setup{ServerKind::Proftpd, false},
                                           Setup{ServerKind::PureFtpd, true}, Setup{ServerKind::PureFtpd, false}),
                         setupName);

} // namespace
