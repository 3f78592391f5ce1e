// A transfer run on its own: a connection manager for its sessions, a recording host, a real
// server; no main window.

#include <gtest/gtest.h>

#include <filesystem>

#include <QTemporaryDir>

#include "support/FtpServer.h"
#include "support/TestTree.h"
#include "support/WaitFor.h"
#include "manager/FtpManager.h"
#include "transfer/TransferRun.h"

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
    TFtpManager* manager = nullptr;

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
    int ConnectionCount() const override { return manager ? manager->Count() : 0; }
    ISession& RunSession(int connection) override { return manager->RunSession(connection); }
    void RunLog(int connection, const std::string& line) override { ShowLogLine(connection, line); }
    void AskFileExists(const std::string&, std::function<void(TFileExistsChoice)> answer) override
    {
        answer(TFileExistsChoice::Overwrite);
    }
    void AskYesNo(const std::string&, const std::string&, std::function<void(bool)> answer) override { answer(false); }
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

TEST(TransferRun, ARunOnItsOwnEndsWithOneResultForEveryItemLeft)
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
    host.manager = &manager;
    TTransferRun engine(host);
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

TEST(TransferFile, SegmentsAndBrokenListItemsMapBothWays)
{
    // A split file's ranges as a broken list keeps them: the first reached 700000 of its
    // 1000000, the second is whole to come, the last runs to the end of the file.
    std::vector<TTransferFileInfo> stored = {
        {true, "/r.bin", "/tmp/r.bin", 3000000, 700000, 1000000, false},
        {true, "/r.bin", "/tmp/r.bin", 3000000, 1000000, 2000000, false},
        {true, "/r.bin", "/tmp/r.bin", 3000000, 2000000, 3000000, false},
        {false, "/up.txt", "/tmp/up.txt", 10, -1, -1, false},
    };
    std::vector<const TTransferFileInfo*> items;
    for (const auto& item : stored)
        items.push_back(&item);
    auto files = FilesOfItems(items);
    ASSERT_EQ(files.size(), 2u);
    const TTransferFile& ranges = *files[0];
    ASSERT_EQ(ranges.Segments.size(), 3u);
    EXPECT_TRUE(ranges.Split());
    EXPECT_EQ(ranges.BytesLeft(), 300000 + 1000000 + 1000000);
    EXPECT_FALSE(files[1]->Split());
    EXPECT_EQ(files[1]->BytesLeft(), 10);
    // Back to items: each segment from the offset it reached.
    TSegment first = ranges.Segments[0];
    first.Done = 100000;
    TTransferFileInfo again = SegmentItem(ranges, first);
    EXPECT_EQ(again.BeginPos, 800000);
    EXPECT_EQ(again.EndPos, 1000000);
    EXPECT_EQ(ItemByteCount(again), 200000);
    EXPECT_EQ(SegmentItem(*files[1], files[1]->Segments[0]).BeginPos, -1);

    TTransferFile big;
    big.Size = 1000001;
    SplitIntoSegments(big, 3);
    ASSERT_EQ(big.Segments.size(), 3u);
    EXPECT_EQ(big.Segments[2].Begin, 666666);
    EXPECT_EQ(big.Segments[2].End, 1000001); // the last carries the remainder
}

TEST(TransferRun, FiguresWithNothingMovingYet)
{
    RecordingHost host;
    TTransferRun run(host);
    EXPECT_EQ(run.Figures(1).Percent, 0); // nothing to move: no division by zero
    run.TotalBytes = 2000000;
    run.DoneBytes = 600000;
    TRunFigures first = run.Figures(1);
    EXPECT_EQ(first.Speed, 600000);
    EXPECT_EQ(first.Remain, 2); // 1400000 left at 600000 per second
    EXPECT_EQ(first.Percent, 30);
    EXPECT_EQ(run.Figures(4).Speed, 150000);
    run.DoneBytes = 0;
    EXPECT_EQ(run.Figures(3).Remain, 0); // no speed yet: 00:00:00
}
