#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <QTemporaryDir>

#include "support/ScriptedView.h"
#include "ui/LocalPane.h"

using testsupport::ScriptedView;
namespace fs = std::filesystem;

namespace {

class LocalPaneTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        root = dir.path().toStdString() + "/";
        fs::create_directories(root + "docs/inner");
        std::ofstream(root + "a.txt") << "12345";
        std::ofstream(root + "b.txt") << "12";
        std::ofstream(root + "c.txt") << "1";
        std::ofstream(root + ".hidden") << "h";
        std::ofstream(root + "huge.iso").close();
        fs::resize_file(root + "huge.iso", 5368709120LL); // sparse: 5 GB of nothing
        pane.SetVolumeRoots({"/", root});                 // this tree stands for a mounted volume
        pane.SetPath(root);
    }
    int rowOf(const std::string& name) const
    {
        for (size_t i = 0; i < pane.Entries().size(); ++i)
            if (pane.Entries()[i].Name == name)
                return static_cast<int>(i);
        return -1;
    }
    void select(const std::vector<std::string>& names) { pane.SelectNames(names); }

    QTemporaryDir dir;
    std::string root;
    ScriptedView view;
    TLocalPane pane{view};
};

} // namespace

TEST_F(LocalPaneTest, ListsEverythingWithFullSizesAndTimes)
{
    ASSERT_GE(rowOf(".hidden"), 0); // hidden files are listed
    EXPECT_EQ(pane.Entries()[0].Name, "..");
    EXPECT_EQ(pane.Entries()[1].Name, "docs");
    const TlvFileInfo& huge = pane.Entries()[static_cast<size_t>(rowOf("huge.iso"))];
    EXPECT_EQ(huge.Size, 5368709120LL);
    EXPECT_EQ(SizeColumnText(huge), "5,368,709,120");
    EXPECT_EQ(TimeColumnText(huge).size(), 14u); // YY-MM-DD HH:NN
    EXPECT_EQ(TimeColumnText(huge)[2], '-');
    EXPECT_NE(pane.Summary().find("1 folder(s) 5 file(s) 5,368,7"), std::string::npos);

    const std::vector<TDriveItem>& items = pane.DriveItems();
    EXPECT_EQ(items[0].Path, "/");
    EXPECT_EQ(items[0].Level, 1);
    EXPECT_EQ(items[static_cast<size_t>(pane.DriveIndex())].Path, root);
    EXPECT_EQ(items[static_cast<size_t>(pane.DriveIndex())].Level, 1);
    EXPECT_EQ(pane.DriveItemText(0).rfind("File System  [", 0), 0u) << pane.DriveItemText(0);
    EXPECT_NE(pane.DriveItemText(0).find(" bytes free]"), std::string::npos);

    pane.DoubleClick(rowOf("docs"));
    EXPECT_EQ(pane.Path(), root + "docs/");
    EXPECT_EQ(pane.DriveItems().back().Path, root + "docs/");
    EXPECT_EQ(pane.DriveItems().back().Level, 2);
    EXPECT_EQ(pane.DriveItemText(pane.DriveIndex()), "docs"); // a folder shows its name alone
    EXPECT_EQ(pane.DriveIndex(), static_cast<int>(pane.DriveItems().size()) - 1);
    pane.DoubleClick(rowOf(".."));
    EXPECT_EQ(pane.Path(), root);
    EXPECT_EQ(LocalParentDirectory("/"), "/");

    // A typed path: relative to the current directory, "..", "~", and one that is not there.
    pane.OpenTypedPath("docs ");
    EXPECT_EQ(pane.Path(), root + "docs/");
    pane.OpenTypedPath("../docs/..");
    EXPECT_EQ(pane.Path(), root);
    std::string home = std::getenv("HOME") ? std::getenv("HOME") : "/";
    ::setenv("HOME", (root + "docs").c_str(), 1);
    pane.OpenTypedPath("~");
    ::setenv("HOME", home.c_str(), 1);
    EXPECT_EQ(pane.Path(), root + "docs/");
    pane.OpenTypedPath(root + "nowhere");
    EXPECT_EQ(pane.Path(), root + "docs/");
    ASSERT_FALSE(view.messages.empty());
    EXPECT_EQ(view.messages.back(), "No such folder: " + root + "nowhere");

    pane.SetPath("/");
    EXPECT_EQ(rowOf(".."), -1); // a root has no parent row
}

TEST_F(LocalPaneTest, CommandsActOnTheSelectionAndRefresh)
{
    view.answers = {root + "docs"}; // no trailing "/"
    pane.ChangeDirectory();
    EXPECT_EQ(pane.Path(), root + "docs/");
    pane.SetPath(root);

    select({"a.txt", "b.txt", "c.txt"});
    view.answers = {root + "docs/inner"};
    pane.Move(); // only the first selected row moves
    EXPECT_TRUE(fs::exists(root + "docs/inner/a.txt"));
    EXPECT_TRUE(fs::exists(root + "b.txt"));

    select({"b.txt"});
    view.answers = {"bee.txt"};
    pane.Rename();
    EXPECT_GE(rowOf("bee.txt"), 0);

    view.answers = {"fresh"};
    pane.MakeDirectory();
    EXPECT_GE(rowOf("fresh"), 0);

    QTemporaryDir trash;
    ::setenv("XDG_DATA_HOME", trash.path().toUtf8().constData(), 1);
    select({"..", "bee.txt", "c.txt", "fresh"});
    view.yesNo = {false, true};
    pane.Delete(true); // No: nothing goes
    EXPECT_EQ(view.asked.back(), "Delete|Move 2 files and 1 folder to the trash?");
    EXPECT_TRUE(fs::exists(root + "bee.txt"));
    pane.Delete(true);
    EXPECT_FALSE(fs::exists(root + "fresh"));
    EXPECT_FALSE(fs::exists(root + "bee.txt"));
    EXPECT_FALSE(fs::exists(root + "c.txt"));
    EXPECT_TRUE(fs::exists(root + "docs"));
    // A file gone meanwhile is named with the reason, without a question when none is wanted.
    select({"docs"});
    fs::rename(root + "docs", root + "gone");
    size_t asked = view.asked.size();
    pane.Delete(false);
    EXPECT_EQ(view.asked.size(), asked);
    ASSERT_FALSE(view.messages.empty());
    EXPECT_EQ(view.messages.back(), "Could not move to the trash:\ndocs: it is no longer there");
    ::unsetenv("XDG_DATA_HOME");

    view.answers = {"<cancel>"};
    pane.MakeDirectory();
    EXPECT_EQ(rowOf("<cancel>"), -1);
}
