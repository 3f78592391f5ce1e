// Plans from two trees: every direction, with and without the last synchronization's state;
// deletions only when asked and never on a doubtful listing; conflicts named, not resolved.

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "sync/SyncPlan.h"
#include "sync/SyncPlanFile.h"
#include "sync/SyncState.h"

namespace {

constexpr int64_t kNoon = 1765195200;

// "f path size time", "d path", "l path": a tree in a few words.
TSyncTree Tree(std::initializer_list<const char*> lines)
{
    TSyncTree tree;
    for (const char* line : lines) {
        char kind = 0;
        char path[200] = {};
        long long size = 0, time = 0;
        int read = std::sscanf(line, "%c %199s %lld %lld", &kind, path, &size, &time);
        TSyncEntry entry;
        entry.Directory = kind == 'd';
        entry.Link = kind == 'l';
        if (kind == 'f' && read == 4) {
            entry.Size = size;
            entry.Time = kNoon + time;
        }
        tree.Entries[path] = entry;
    }
    return tree;
}

// The plan in words: "upload a", "skip b", one per action.
std::vector<std::string> Words(const TSyncPlan& plan)
{
    std::vector<std::string> words;
    for (const TSyncAction& action : plan.Actions)
        words.push_back(std::string(SyncActionWord(action.Kind)) + " " + action.Path);
    return words;
}

TSyncPlan Plan(const TSyncTree& here, const TSyncTree& there, TSyncDirection direction, bool remove = false,
               const TSyncState& last = {})
{
    return BuildSyncPlan(here, there, last, {direction, remove});
}

using Words_ = std::vector<std::string>;

} // namespace

TEST(SyncPlan, OneWayCopiesWhatIsNewOrNewerAndNeverAnOlderFileOverANewerOne)
{
    // new here, changed in size (newer here), changed in time only, newer there, unchanged,
    // only there, and a directory only here.
    TSyncTree here =
        Tree({"f new 5 0", "f grown 9 100", "f touched 5 100", "f older 5 0", "f same 5 0", "d dir", "f dir/x 3 0"});
    TSyncTree there = Tree({"f grown 5 0", "f touched 5 0", "f older 5 100", "f same 5 0", "f gone 4 0"});
    TSyncPlan up = Plan(here, there, TSyncDirection::Up);
    EXPECT_EQ(Words(up), (Words_{"mkdir-there dir", "upload dir/x", "skip gone", "upload grown", "upload new",
                                 "skip older", "upload touched"}));
    EXPECT_EQ(up.Unchanged, 1u);
    EXPECT_NE(up.Actions[2].Why.find("deletions were not asked for"), std::string::npos);
    EXPECT_NE(up.Actions[5].Why.find("an older file does not replace it"), std::string::npos);
    EXPECT_EQ(up.Totals(TSyncActionKind::Upload).Bytes, 3 + 9 + 5 + 5);

    TSyncPlan down = Plan(here, there, TSyncDirection::Down, true);
    EXPECT_EQ(Words(down), (Words_{"delete-here dir", "delete-here dir/x", "download gone", "skip grown",
                                   "delete-here new", "download older", "skip touched"}));
    // The directory goes after what it holds: its own action comes first in path order, and
    // execution deletes in the reverse order.
    EXPECT_TRUE(down.Actions[0].Directory);
}

TEST(SyncPlan, DoubtsAreSkippedWithTheirReason)
{
    TSyncTree here = Tree({"f zone 5 0", "f kind 5 0", "l link", "f nosize 5 0"});
    TSyncTree there = Tree({"f zone 6 3600", "d kind", "f kind/in 1 0", "d link", "f link/in 1 0"});
    there.Entries["zone"].ZoneKnown = false; // a listing's clock in the server's zone
    there.Entries["zone"].Precision = 60;
    TSyncTree noSize = Tree({"f nosize 0 0"});
    there.Entries["nosize"] = noSize.Entries["nosize"];
    there.Entries["nosize"].Size = -1;
    TSyncPlan plan = Plan(here, there, TSyncDirection::Up, true);
    EXPECT_EQ(Words(plan),
              (Words_{"skip kind", "delete-there kind/in", "skip link", "skip link/in", "skip nosize", "skip zone"}));
    EXPECT_NE(plan.Actions[0].Why.find("a file here, a directory there"), std::string::npos);
    EXPECT_NE(plan.Actions[2].Why.find("links are not synchronized"), std::string::npos);
    EXPECT_NE(plan.Actions[3].Why.find("below the symbolic link link"), std::string::npos);
    EXPECT_NE(plan.Actions[4].Why.find("no size"), std::string::npos);
    EXPECT_NE(plan.Actions[5].Why.find("time zone is not known"), std::string::npos);
    // Both ways, what cannot be ordered is a conflict.
    TSyncPlan both = Plan(here, there, TSyncDirection::Both);
    EXPECT_EQ(both.Actions.back().Kind, TSyncActionKind::Conflict);
}

TEST(SyncPlan, AFailedOrCutListingRefusesEveryDeletionAndTouchesNothingBelowIt)
{
    TSyncTree here = Tree({"d a", "f a/new 1 0", "f b 1 0"});
    TSyncTree there = Tree({"d a", "f c 1 0", "d d", "f d/e 1 0"});
    there.Fail("a", "426 Connection closed; transfer aborted");
    TSyncPlan plan = Plan(here, there, TSyncDirection::Up, true);
    EXPECT_EQ(Words(plan), (Words_{"skip a/new", "upload b", "skip c", "skip d", "skip d/e"}));
    EXPECT_NE(plan.Actions[0].Why.find("the listing of a/ failed there"), std::string::npos);
    EXPECT_NE(plan.Actions[2].Why.find("not deleted: the remote listing of a: 426"), std::string::npos);
    EXPECT_NE(plan.DeletionsRefused.find("No deletions"), std::string::npos);

    EXPECT_TRUE(LooksCut(10000));
    EXPECT_FALSE(LooksCut(9999));
    // A side that lists empty where the last run found entries is no ground for deleting.
    TSyncState last;
    last.Paths["c"] = {{true, false, 1, kNoon}, {true, false, 1, kNoon}};
    TSyncPlan empty = Plan(Tree({}), Tree({"f c 1 0"}), TSyncDirection::Both, true, last);
    EXPECT_EQ(Words(empty), (Words_{"skip c"}));
    EXPECT_NE(empty.DeletionsRefused.find("the local folder lists empty"), std::string::npos);
}

TEST(SyncPlan, BothWaysTheSideThatChangedSinceTheLastRunLeadsAndChangesOnBothAreConflicts)
{
    // At the last run all five were alike: 5 bytes at noon.
    TSyncState last;
    for (const char* path : {"mine", "theirs", "both", "deleted", "kept", "d", "d/x"})
        last.Paths[path] = {{true, false, 5, kNoon}, {true, false, 5, kNoon}};
    last.Paths["d"] = {{true, true, -1, -1}, {true, true, -1, -1}};
    TSyncTree here =
        Tree({"f mine 7 50", "f theirs 5 0", "f both 8 50", "f kept 5 0", "d d", "f d/x 5 0", "f fresh 1 0"});
    TSyncTree there = Tree({"f mine 5 0", "f theirs 9 70", "f both 6 60", "f deleted 5 0", "f kept 5 0"});
    TSyncPlan plan = Plan(here, there, TSyncDirection::Both, true, last);
    EXPECT_EQ(Words(plan), (Words_{"conflict both", "delete-here d", "delete-here d/x", "delete-there deleted",
                                   "upload fresh", "upload mine", "download theirs"}));
    EXPECT_NE(plan.Actions[0].Why.find("changed on both sides"), std::string::npos);
    EXPECT_EQ(plan.Unchanged, 1u);
    // Without --delete a deletion stays a skip, with its reason. A file changed here whose
    // directory went there is a conflict, and keeps its directory.
    here.Entries["d/x"].Size = 99;
    TSyncPlan kept = Plan(here, there, TSyncDirection::Both, false, last);
    EXPECT_EQ(Words(kept)[1], "skip d");
    EXPECT_EQ(Words(kept)[2], "conflict d/x");
    EXPECT_NE(kept.Actions[3].Why.find("deletions were not asked for"), std::string::npos);
    TSyncPlan keptDir = Plan(here, there, TSyncDirection::Both, true, last);
    EXPECT_EQ(Words(keptDir)[1], "skip d");
    EXPECT_NE(keptDir.Actions[1].Why.find("it still holds d/x"), std::string::npos);
}

TEST(SyncPlan, DigestsSettleFilesOfOneSize)
{
    TSyncTree here = Tree({"f a 5 0", "f b 5 0"});
    TSyncTree there = Tree({"f a 5 100", "f b 5 100"});
    here.Entries["a"].Hash = there.Entries["a"].Hash = "aa";
    here.Entries["b"].Hash = "bb";
    there.Entries["b"].Hash = "cc";
    TSyncPlan plan = Plan(here, there, TSyncDirection::Down);
    EXPECT_EQ(Words(plan), (Words_{"download b"}));
    EXPECT_EQ(plan.Unchanged, 1u);
}

TEST(SyncState, KeptPerPairOfFoldersAndOnlyForPathsInStep)
{
    QTemporaryDir data;
    std::string dir = data.path().toStdString() + "/";
    TSyncTree here = Tree({"f same 5 0", "f moved 5 0", "f differs 5 0", "d d"});
    TSyncTree there = Tree({"f same 5 0", "f moved 5 70", "f differs 6 0", "d d"});
    std::string odd = "tab\tnew\nline%25\xe9";
    here.Entries[odd] = there.Entries[odd] = here.Entries["same"];
    TSyncState state;
    state.Local = "/home/u/site/";
    state.Remote = "ftp://u@host/www/";
    state.Paths["differs"] = {{true, false, 1, 1}, {true, false, 1, 1}};
    state.Paths["gone"] = {{true, false, 1, 1}, {true, false, 1, 1}};
    state.Update(here, there, {"moved"});
    ASSERT_TRUE(SaveSyncState(dir, state));
    TSyncState loaded = LoadSyncState(dir, state.Local, state.Remote);
    std::vector<std::string> paths;
    for (const auto& [path, record] : loaded.Paths)
        paths.push_back(path);
    // "differs" keeps what it had; "gone" is gone from both sides and forgotten.
    EXPECT_EQ(paths, (std::vector<std::string>{"d", "differs", "moved", "same", odd}));
    EXPECT_EQ(loaded.Paths["differs"].Here.Size, 1);
    EXPECT_EQ(loaded.Paths["moved"].There.Time, kNoon + 70);
    EXPECT_TRUE(loaded.Paths["d"].Here.Directory);
    // Another pair of folders has its own state.
    EXPECT_TRUE(LoadSyncState(dir, state.Local, "ftp://u@host/other/").Empty());
}

TEST(SyncPlanFile, APlanComesBackAsItWasAndOneThatLeavesTheFoldersIsRefused)
{
    TSyncTree here = Tree({"f caf\xe9 5 0", "f b 5 0"});
    TSyncPlan plan = Plan(here, Tree({"f b 6 100"}), TSyncDirection::Up, true);
    plan.Local = "/home/u/site/";
    plan.Remote = "ftp://u@host/www/";
    plan.Actions[0].Checked = false;
    TSyncPlan back;
    std::string why;
    ASSERT_TRUE(ReadSyncPlan(SyncPlanJson(plan), back, why)) << why;
    EXPECT_EQ(Words(back), Words(plan));
    EXPECT_EQ(back.Actions[1].Path, "caf\xe9");
    EXPECT_FALSE(back.Actions[0].Checked);
    EXPECT_EQ(back.Actions[0].There.Size, 6);
    EXPECT_EQ(back.Actions[0].There.Time, kNoon + 100);
    EXPECT_EQ(back.Remote, plan.Remote);
    EXPECT_TRUE(ChangedSincePlan(back, here, Tree({"f b 6 100"})).empty());
    EXPECT_EQ(ChangedSincePlan(back, here, Tree({"f b 6 200", "f caf\xe9 1 0"})),
              (std::vector<std::string>{"caf\xe9"})); // b is unchecked: it does not count

    std::string climbing = SyncPlanJson(plan);
    climbing.replace(climbing.find("\"b\""), 3, "\"../b\"");
    EXPECT_FALSE(ReadSyncPlan(climbing, back, why));
    EXPECT_NE(why.find("leaves the folders"), std::string::npos);
    EXPECT_FALSE(ReadSyncPlan("{\"format\": \"other\"}", back, why));
}
