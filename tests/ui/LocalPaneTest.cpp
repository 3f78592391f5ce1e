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
        pane.VolumeRoots = {"/", root};                   // this tree stands for a mounted volume
        pane.SetPath(root);
    }
    int rowOf(const std::string& name) const
    {
        for (size_t i = 0; i < pane.LocalEntries.size(); ++i)
            if (pane.LocalEntries[i].Name == name)
                return static_cast<int>(i);
        return -1;
    }
    void select(const std::vector<std::string>& names)
    {
        pane.Selected.assign(pane.LocalEntries.size(), false);
        for (const std::string& name : names)
            pane.Selected[static_cast<size_t>(rowOf(name))] = true;
    }

    QTemporaryDir dir;
    std::string root;
    ScriptedView view;
    TLocalPane pane{view};
};

} // namespace

TEST_F(LocalPaneTest, ListsEverythingWithFullSizesAndTimes)
{
    ASSERT_GE(rowOf(".hidden"), 0); // hidden files are listed
    EXPECT_EQ(pane.LocalEntries[0].Name, "..");
    EXPECT_EQ(pane.LocalEntries[1].Name, "docs");
    const TlvFileInfo& huge = pane.LocalEntries[static_cast<size_t>(rowOf("huge.iso"))];
    EXPECT_EQ(huge.SizeText, "5,368,709,120");
    EXPECT_EQ(huge.TimeText.size(), 14u); // YY-MM-DD HH:NN
    EXPECT_EQ(huge.TimeText[2], '-');
    EXPECT_NE(pane.Summary.find("1 folder(s) 5 file(s) 5,368,7"), std::string::npos);

    std::vector<std::string> items = pane.DriveItems;
    EXPECT_EQ(items[0], "1:/");
    EXPECT_EQ(items[pane.DriveIndex], "T1:" + root);
    EXPECT_NE(pane.DriveItemText(0).find(" bytes free]"), std::string::npos);

    pane.DoubleClick(rowOf("docs"));
    EXPECT_EQ(pane.LocalPath, root + "docs/");
    EXPECT_EQ(pane.DriveItems.back(), "T2:" + root + "docs/");
    pane.DoubleClick(rowOf(".."));
    EXPECT_EQ(pane.LocalPath, root);
    EXPECT_EQ(LocalParentDirectory("/"), "/");

    pane.SetPath("/");
    EXPECT_EQ(rowOf(".."), -1); // a root has no parent row
}

TEST_F(LocalPaneTest, CommandsActOnTheSelectionAndRefresh)
{
    view.answers = {root + "docs"}; // no trailing "/"
    pane.ChangeDirectory();
    EXPECT_EQ(pane.LocalPath, root + "docs/");
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
    select({"..", "bee.txt", "c.txt"});
    pane.Delete();
    EXPECT_FALSE(fs::exists(root + "bee.txt"));
    EXPECT_FALSE(fs::exists(root + "c.txt"));
    EXPECT_TRUE(fs::exists(root + "docs"));
    ::unsetenv("XDG_DATA_HOME");

    view.answers = {"<cancel>"};
    pane.MakeDirectory();
    EXPECT_EQ(rowOf("<cancel>"), -1);
}
