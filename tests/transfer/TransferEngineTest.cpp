// The transfer engine on its own: a connection manager, a recording host, a real server; no
// main window.

#include <gtest/gtest.h>

#include <filesystem>

#include <QTemporaryDir>

#include "support/FtpServer.h"
#include "support/TestTree.h"
#include "support/WaitFor.h"
#include "transfer/TransferEngine.h"

using namespace testsupport;
namespace fs = std::filesystem;

namespace {

class RecordingHost : public IManagerHost, public ITransferHost
{
public:
    TSettings settings;
    TSessionState state = ssTransfering;
    bool running = false;
    std::vector<TOperationResult> results;
    std::vector<std::string> events; // "start n /path", "left n /path"
    std::vector<std::string> log;

    void OperationDone(const TOperationResult& result) override { results.push_back(result); }
    void OperationFailed(const TOperationResult& result) override { results.push_back(result); }
    TSessionState SessionState() const override { return state; }
    void SetSessionState(TSessionState newState) override { state = newState; }
    bool TransfersRunning() const override { return running; }
    void SetTransfersRunning(bool value) override { running = value; }
    const TSettings& Settings() const override { return settings; }
    void ShowLogLine(int connection, const std::string& line) override
    {
        log.push_back(std::to_string(connection) + " " + line);
    }
    void ShowMessage(const std::string& text) override { log.push_back("message " + text); }
    bool AskYesNo(const std::string&, const std::string&) override { return false; }
    TFileExistsChoice AskFileExists(const std::string&) override { return TFileExistsChoice::Overwrite; }
    int64_t FreeSpace(const std::string&) override { return INT64_MAX / 2; }
    void ItemStarted(int connection, const TTransferFileInfo& item) override
    {
        events.push_back("start " + std::to_string(connection) + " " + item.HostPath);
    }
    void ItemLeft(int connection, const TTransferFileInfo& item) override
    {
        events.push_back("left " + std::to_string(connection) + " " + item.HostPath);
    }
    void ConnectionLostRow(int) override {}
    void PositionReported(int, int64_t) override {}
};

std::unique_ptr<TTransferFileInfo> download(const std::string& path, const std::string& local, int64_t size)
{
    return std::make_unique<TTransferFileInfo>(TTransferFileInfo{true, path, local, size, -1, -1, false});
}

} // namespace

TEST(TransferEngine, ARunOnItsOwnEndsWithOneResultForEveryItemLeft)
{
    FtpServer server;
    ASSERT_TRUE(server.start()) << server.error();
    QTemporaryDir local;
    std::string here = local.path().toStdString() + "/";
    ASSERT_TRUE(writePatternFile(server.localWorkDir() + "/one.bin", 300000, 1));
    ASSERT_TRUE(writePatternFile(server.localWorkDir() + "/two.bin", 2500000, 2));

    RecordingHost host;
    host.settings.PasvMode = true;
    host.settings.MTFileSize = 1000000;
    TFtpManager manager(host);
    TTransferEngine engine(manager, host);
    manager.InitConnections(3);
    for (int i = 0; i < 3; ++i) {
        TFtpClient& client = *manager.Client(i);
        client.HostName = "127.0.0.1";
        client.Port = server.portText();
    }
    manager.ConnectMain({"127.0.0.1", server.portText(), server.user(), server.password()});
    ASSERT_TRUE(waitFor([&] { return !host.results.empty(); }));
    host.results.clear();

    TTransferQueue queue;
    queue.push_back(download("/one.bin", here + "one.bin", 300000));
    queue.push_back(download("/two.bin", here + "two.bin", 2500000)); // split in three
    queue.push_back(download("/missing.bin", here + "missing.bin", 10));
    host.settings.ConnectionRetryTimes = 0;
    engine.StartTransfers(queue, false);
    ASSERT_TRUE(waitFor([&] { return !engine.Running(); }, 30000));

    ASSERT_EQ(host.results.size(), 1u);
    const TOperationResult& result = host.results[0];
    EXPECT_EQ(result.Operation, TOperation::Transfer);
    EXPECT_FALSE(result.Success);
    ASSERT_EQ(result.Items.size(), 1u); // the one that failed, kept for the broken list
    EXPECT_EQ(result.Items[0].Name, "/missing.bin");
    EXPECT_TRUE(result.Items[0].Kept);
    EXPECT_EQ(result.Items[0].Reply.rfind("550", 0), 0u) << result.Items[0].Reply;
    EXPECT_EQ(result.Bytes, 2800000);
    EXPECT_EQ(fileHash(here + "one.bin"), fileHash(server.localWorkDir() + "/one.bin"));
    EXPECT_EQ(fileHash(here + "two.bin"), fileHash(server.localWorkDir() + "/two.bin"));
    EXPECT_FALSE(fs::exists(here + "missing.bin")); // no empty file left for what never came
    ASSERT_EQ(queue.size(), 1u);
    EXPECT_EQ(engine.IncompleteItems, 1u);
    // Every item that started on a connection left it again.
    EXPECT_EQ(std::count_if(host.events.begin(), host.events.end(),
                            [](const std::string& e) { return e.rfind("start", 0) == 0; }),
              std::count_if(host.events.begin(), host.events.end(),
                            [](const std::string& e) { return e.rfind("left", 0) == 0; }));
    manager.DisconnectAll();
}

TEST(TransferEngine, FiguresCountFinishedItemsAndTheBytesBeyondEachHeldItemsStart)
{
    RecordingHost host;
    TFtpManager manager(host);
    TTransferEngine engine(manager, host);
    manager.InitConnections(3);
    EXPECT_EQ(engine.Figures(1).Percent, 0); // nothing to move: no division by zero

    engine.TotalBytes = 2000000;
    engine.DoneBytes = 400000;
    // A resumed range from 500000 that has reached 700000 counts 200000.
    manager.Slot(1).Item = std::make_unique<TTransferFileInfo>(
        TTransferFileInfo{true, "/r.bin", "/tmp/r.bin", 3000000, 500000, 1500000, false});
    manager.Slot(1).Position = 700000;
    // An item whose first report has not come yet counts nothing.
    manager.Slot(2).Item = download("/s.bin", "/tmp/s.bin", 100000);
    manager.Slot(2).Position = 0;
    TRunFigures first = engine.Figures(1);
    EXPECT_EQ(first.Done, 600000);
    EXPECT_EQ(first.Speed, first.Done); // the first second
    EXPECT_EQ(first.Remain, 2);         // 1400000 left at 600000 per second
    EXPECT_EQ(first.Percent, 30);
    EXPECT_EQ(engine.Figures(4).Speed, 150000);
    manager.Slot(1).Item.reset();
    manager.Slot(2).Item.reset();
    engine.DoneBytes = 0;
    EXPECT_EQ(engine.Figures(3).Remain, 0); // no speed yet: 00:00:00
}
