// The journal of a running run: what a crash leaves is found at the next start, what a running
// program holds is not taken from it.

#include <gtest/gtest.h>

#include <filesystem>

#include <QTemporaryDir>

#include "transfer/RunJournal.h"

namespace fs = std::filesystem;

namespace {

TOldQuene runOf(int64_t reached)
{
    TOldQuene list{"2026-12-07 10:00:00", "127.0.0.1", "2121", "user", "pw", {}, {}, {}, {}};
    list.Items.push_back(std::make_unique<TTransferFileInfo>(
        TTransferFileInfo{true, "/big.iso", "/tmp/big.iso", 6000000000LL, reached, 6000000000LL, false}));
    return list;
}

} // namespace

TEST(RunJournal, ARunningProgramsJournalIsLeftAloneAndAnOrphanIsRecovered)
{
    QTemporaryDir dir;
    std::string directory = dir.path().toStdString() + "/";
    std::vector<std::string> files;
    {
        TRunJournal running;
        running.Begin(directory);
        running.Write(runOf(4000000000LL));
        ASSERT_TRUE(running.Settle());
        EXPECT_EQ(fs::status(running.Path()).permissions() & fs::perms::all,
                  fs::perms::owner_read | fs::perms::owner_write);
        // Held by its program: not an orphan.
        EXPECT_TRUE(TRunJournal::Orphans(directory, files).empty());
        EXPECT_TRUE(files.empty());
        running.Write(runOf(5000000000LL));
    } // the program dies in the middle of its run: the journal stays, with what was handed over

    auto lists = TRunJournal::Orphans(directory, files);
    ASSERT_EQ(lists.size(), 1u);
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(lists[0]->HostPort, "2121");
    ASSERT_EQ(lists[0]->Items.size(), 1u);
    EXPECT_EQ(lists[0]->Items[0]->BeginPos, 5000000000LL); // the last write, 64 bits wide
    EXPECT_TRUE(fs::exists(files[0]));                     // until the lists are safe elsewhere
    TRunJournal::Forget(files);
    EXPECT_TRUE(fs::is_empty(directory));
}

TEST(RunJournal, ARunThatEndsLeavesNothing)
{
    QTemporaryDir dir;
    std::string directory = dir.path().toStdString() + "/";
    {
        TRunJournal journal;
        journal.Begin(directory);
        journal.Write(runOf(10));
        journal.End();
        EXPECT_FALSE(journal.Active());
        std::vector<std::string> files;
        EXPECT_TRUE(TRunJournal::Orphans(directory, files).empty());
    }
    EXPECT_TRUE(fs::is_empty(directory));
}
