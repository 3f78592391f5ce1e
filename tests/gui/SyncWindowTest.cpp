// Compare and synchronize in the window: the rows of both panes tinted by what differs, the
// filter that shows only those, and the plan dialog reviewed, an action left out, and run.

#include <filesystem>
#include <fstream>

#include <QCheckBox>
#include <QPushButton>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest/QTest>

#include "gui/GuiTest.h"
#include "ui/SyncWork.h"

using namespace testsupport;
namespace fs = std::filesystem;

namespace {

// The pane row's tip and whether it is tinted.
std::pair<std::string, bool> markOf(GuiSession& session, TPane pane, const std::string& name)
{
    QTreeView* list = session.list(pane);
    QModelIndex index = list->model()->index(session.row(pane, name), 0);
    return {list->model()->data(index, Qt::ToolTipRole).toString().toStdString(),
            list->model()->data(index, Qt::BackgroundRole).isValid()};
}

class SyncWindow : public Window
{
protected:
    // The server has docs/a.bin and b.bin; here are b.bin alike (copied, times kept) and new.txt.
    void prepare(const QStringList& variant = {})
    {
        start(variant);
        std::string here = session->localDir();
        fs::copy_file(session->remoteDir() + "b.bin", here + "b.bin");
        fs::last_write_time(here + "b.bin", fs::last_write_time(session->remoteDir() + "b.bin"));
        std::ofstream(here + "new.txt") << "only here";
        std::ofstream(here + "left.txt") << "left out";
        session->window->Logic().Local().Refresh();
        ASSERT_TRUE(session->connectFromToolBar());
        ASSERT_TRUE(session->openWorkDir());
    }
    bool compared()
    {
        return waitFor([&] { return !session->window->Logic().Sync().Busy(); }, 20000) &&
               session->window->Logic().Sync().Error().empty();
    }
};

} // namespace

TEST_F(SyncWindow, CompareTintsTheRowsThatDifferAndTheFilterShowsOnlyThose)
{
    prepare();
    TMainForm& window = *session->window;
    QTest::keyClick(&window, Qt::Key_M, Qt::ControlModifier);
    ASSERT_TRUE(compared()) << window.Logic().Sync().Error();
    auto [newTip, newTinted] = markOf(*session, TPane::Local, "new.txt");
    EXPECT_NE(newTip.find("only in the local folder"), std::string::npos) << newTip;
    EXPECT_TRUE(newTinted);
    auto [docsTip, docsTinted] = markOf(*session, TPane::Remote, "docs");
    EXPECT_NE(docsTip.find("only in the remote folder"), std::string::npos) << docsTip;
    EXPECT_TRUE(docsTinted);
    auto [sameTip, sameTinted] = markOf(*session, TPane::Remote, "b.bin");
    EXPECT_NE(sameTip.find("alike on both sides"), std::string::npos) << sameTip;
    EXPECT_FALSE(sameTinted);

    window.findChild<QAction*>("miDifferencesOnly")->trigger();
    QTreeView* local = session->list(TPane::Local);
    EXPECT_TRUE(local->isRowHidden(session->row(TPane::Local, "b.bin"), {}));
    EXPECT_FALSE(local->isRowHidden(session->row(TPane::Local, "new.txt"), {}));
    window.findChild<QAction*>("miDifferencesOnly")->trigger();
    EXPECT_FALSE(local->isRowHidden(session->row(TPane::Local, "b.bin"), {}));
}

TEST_F(SyncWindow, ThePlanIsReviewedAnActionLeftOutAndTheRestCarriedOut)
{
    prepare();
    TMainForm& window = *session->window;
    QString totals;
    answerDialog([&](QWidget* dialog) {
        auto* plan = dialog->findChild<QTreeWidget*>("tvPlan");
        ASSERT_NE(plan, nullptr);
        // Both ways by default: docs comes down, the two new files go up.
        QStringList rows;
        for (int k = 0; k < plan->topLevelItemCount(); ++k)
            rows << plan->topLevelItem(k)->text(0) + " " + plan->topLevelItem(k)->text(1);
        EXPECT_EQ(rows, (QStringList{"Make local directory docs/", "Download docs/a.bin", "Upload left.txt",
                                     "Upload new.txt"}));
        plan->topLevelItem(2)->setCheckState(0, Qt::Unchecked);
        totals = dialog->findChild<QLabel*>("lbTotals")->text();
        dialog->findChild<QPushButton*>("btSynchronize")->click();
    });
    window.findChild<QAction*>("miSynchronize")->trigger();
    ASSERT_TRUE(waitFor([&] { return fs::exists(session->localDir() + "docs/a.bin") && !window.Logic().Sync().Busy(); },
                        20000));
    EXPECT_NE(totals.indexOf("1 to upload (9 bytes)"), -1) << totals.toStdString();
    EXPECT_TRUE(fs::exists(session->remoteDir() + "new.txt"));
    EXPECT_FALSE(fs::exists(session->remoteDir() + "left.txt"));
    EXPECT_EQ(fileHash(session->localDir() + "docs/a.bin"), fileHash(session->remoteDir() + "docs/a.bin"));
}

TEST_F(SyncWindow, AbortStopsAComparisonAndTheWindowIsItsOwnAgain)
{
    prepare({"--delay", "0.15"}); // every reply a while late: the listings take long enough
    TMainForm& window = *session->window;
    window.findChild<QAction*>("miCompare")->trigger();
    ASSERT_TRUE(waitFor([&] { return window.Logic().SessionState() == ssPreparing; }, 5000));
    session->child<QToolButton>("sbAbort")->click();
    ASSERT_TRUE(waitFor([&] { return !window.Logic().Sync().Busy(); }, 5000));
    EXPECT_EQ(window.Logic().Sync().Error(), TSyncWork::kStopped);
    EXPECT_EQ(window.Logic().SessionState(), ssConnected);
    EXPECT_FALSE(window.Logic().Sync().Marking());
    // The main connection browses again.
    session->doubleClick(TPane::Remote, "docs");
    EXPECT_TRUE(waitFor([&] { return window.Logic().RemoteDir() == session->workDir() + "docs/"; }, 20000));
}
