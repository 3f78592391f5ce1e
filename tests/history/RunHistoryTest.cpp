// The history store: newest first, the cap drops the oldest, the failed filter, CSV quoting.

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "history/RunHistory.h"

TEST(RunHistory, KeepsTheNewestFilesUnderItsCapAndWritesCsvAsRfc4180Says)
{
    QTemporaryDir directory;
    std::string path = directory.path().toStdString() + "/history.sqlite";
    auto file = [](const std::string& remote, const std::string& state) {
        THistoryFile one;
        one.Started = "2026-12-07 10:00:00";
        one.Site = "ftp://me@host";
        one.RemotePath = remote;
        one.LocalPath = "/home/me/" + remote.substr(1);
        one.Size = 10;
        one.State = state;
        return one;
    };
    std::string error;
    {
        TRunHistory history(path);
        ASSERT_TRUE(history.Record({file("/a", "Done"), file("/b,\"quoted\"", "Failed: 550 No.")}, 2, error)) << error;
        ASSERT_TRUE(history.Record({file("/c", "Done")}, 2, error)) << error;
    }
    TRunHistory again(path); // another program's view of the same store
    std::vector<THistoryFile> kept = again.Files(false, error);
    ASSERT_EQ(kept.size(), 2u) << error;
    EXPECT_EQ(kept[0].RemotePath, "/c");
    EXPECT_EQ(kept[1].RemotePath, "/b,\"quoted\"");
    std::vector<THistoryFile> failed = again.Files(true, error);
    ASSERT_EQ(failed.size(), 1u);
    std::string csv = HistoryCsv(failed);
    EXPECT_NE(csv.find(",\"/b,\"\"quoted\"\"\",\"/home/me/b,\"\"quoted\"\"\",10,"), std::string::npos) << csv;
    EXPECT_EQ(csv.substr(csv.size() - 2), "\r\n");
}
