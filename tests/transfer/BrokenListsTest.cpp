#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "config/IniFile.h"
#include "transfer/BrokenLists.h"
#include "ui/QueueTree.h"

namespace {

std::unique_ptr<TOldQuene> list(const std::string& dateTime, int64_t begin)
{
    auto made = std::make_unique<TOldQuene>();
    *made = TOldQuene{dateTime, "host", "21", "user", "pw", {}, {}, {}, {}};
    made->Items.push_back(std::make_unique<TTransferFileInfo>(
        TTransferFileInfo{true, "/big.iso", "/tmp/big.iso", 6000000000LL, begin, 6000000000LL, false}));
    made->Items.push_back(
        std::make_unique<TTransferFileInfo>(TTransferFileInfo{false, "/up.txt", "/tmp/up.txt", 10, -1, -1, false}));
    return made;
}

} // namespace

TEST(BrokenLists, SaveMergesWithOtherCopiesAndKeepsDeletedListsOut)
{
    QTemporaryDir dir;
    std::string path = dir.path().toStdString() + "/oldquene.ini";
    TBrokenLists here;
    here.Lists.push_back(list("2026-12-06 10:00:00", 4000000000LL));
    here.Lists.push_back(list("2026-12-06 11:00:00", -1));
    here.Lists.back()->Sftp = true; // a list of an SFTP site says so; FTP lists stay as they were
    ASSERT_TRUE(here.Save(path));
    EXPECT_EQ(IniFile(path).ReadString("1", "Protocol", "none"), "none");
    EXPECT_EQ(IniFile(path).ReadString("2", "Protocol", ""), "SFTP");

    // Another copy of the program loaded them too, and adds one of its own.
    TBrokenLists other;
    other.Load(path);
    ASSERT_EQ(other.Lists.size(), 2u);
    EXPECT_EQ(other.Lists[0]->Items[0]->BeginPos, 4000000000LL); // offsets beyond 32 bits survive
    EXPECT_EQ(other.Lists[0]->Items[0]->EndPos, 6000000000LL);
    EXPECT_FALSE(other.Lists[0]->Items[1]->IsDownload);
    EXPECT_FALSE(other.Lists[0]->Sftp);
    EXPECT_TRUE(other.Lists[1]->Sftp);
    other.Lists.push_back(list("2026-12-06 12:00:00", 0));
    ASSERT_TRUE(other.Save(path));

    // This copy resumed the first list meanwhile: it does not come back.
    here.Remove(0);
    ASSERT_TRUE(here.Save(path));
    TBrokenLists after;
    after.Load(path);
    ASSERT_EQ(after.Lists.size(), 2u);
    EXPECT_EQ(after.Lists[0]->DateTime, "2026-12-06 11:00:00");
    EXPECT_EQ(after.Lists[1]->DateTime, "2026-12-06 12:00:00");
    EXPECT_EQ(IniFile(path).ReadString("1", "0HostPath", ""), "/big.iso");
}

TEST(BrokenLists, TreeNodesShowTheSiteAndTheItems)
{
    TQueueTree tree("2026-12-06");
    auto broken = list("2026-12-06 10:00:00", 0);
    broken->Items.push_back(std::make_unique<TTransferFileInfo>(*broken->Items[0])); // same path twice
    tree.AddBrokenList(*broken);
    ASSERT_EQ(tree.Root().Children.size(), 2u);
    const TQueueNode& root = *tree.Root().Children[1];
    EXPECT_EQ(root.Text(), "2026-12-06 10:00:00 - Broken");
    ASSERT_EQ(root.Children.size(), 3u);
    EXPECT_EQ(root.Children[0]->Children[0]->Text(), "HostName = host");
    // The password is shown masked.
    EXPECT_EQ(root.Children[0]->Children[3]->Text(), "PassWord = ********");
    EXPECT_EQ(root.Children[1]->Children.size(), 1u);
    EXPECT_EQ(root.Children[2]->Children[0]->Text(), "/up.txt");
    tree.RemoveRoot(1);
    EXPECT_EQ(tree.Root().Children.size(), 1u);
}
