#include <gtest/gtest.h>

#include "ui/QueueTree.h"

TEST(QueueTree, OneNodePerPathWithRunningAndProcessedMarks)
{
    TQueueTree tree("2026-12-06");
    int changes = 0;
    tree.OnNodeAdded = [&](const TQueueNode&, size_t) { ++changes; };
    tree.OnNodeChanged = [&](const TQueueNode&) { ++changes; };
    tree.OnReset = [&] { ++changes; };
    EXPECT_EQ(tree.Current().Text(), "2026-12-06 - Current");
    TTransferFileInfo item{true, "/pub/file.zip", "/home/u/file.zip", 10, -1, -1, false};
    TTransferFileInfo same = item;
    TTransferFileInfo upload{false, "/up/a.txt", "/home/u/a.txt", 1, -1, -1, false};
    tree.AddItem(item);
    tree.AddItem(same); // the same path queued twice shares one node
    tree.AddItem(upload);
    ASSERT_EQ(tree.Downloads().Children.size(), 1u);
    ASSERT_EQ(tree.Uploads().Children.size(), 1u);
    EXPECT_TRUE(tree.Downloads().Expanded);

    tree.MarkRunning(item, 2);
    EXPECT_EQ(tree.Downloads().Children[0]->Text(), "#2/pub/file.zip");
    tree.MarkLeft(item, 2);
    EXPECT_EQ(tree.Downloads().Children[0]->Text(), "!!/pub/file.zip");
    tree.MarkRunning(item, 1); // "!!" goes when it starts again
    EXPECT_EQ(tree.Downloads().Children[0]->Text(), "#1/pub/file.zip");
    tree.MarkRunning(item, 3); // two ranges of one file: the latest first
    EXPECT_EQ(tree.Downloads().Children[0]->Text(), "#3#1/pub/file.zip");
    tree.MarkLeft(item, 1);
    EXPECT_EQ(tree.Downloads().Children[0]->Text(), "#3/pub/file.zip");
    EXPECT_EQ(tree.Downloads().Children[0]->Label, "/pub/file.zip"); // the marks are values beside it

    tree.ClearTransfers();
    EXPECT_TRUE(tree.Downloads().Children.empty());
    EXPECT_TRUE(tree.Uploads().Children.empty());
    // Two nodes added, the folders expanded once, five marks, one clearing.
    EXPECT_EQ(changes, 10);
}
