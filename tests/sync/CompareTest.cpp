// Two directories compared name by name: what differs, and what cannot be told.

#include <gtest/gtest.h>

#include "sync/Compare.h"

namespace {

constexpr int64_t kNoon = 1765195200; // 2025-12-08 12:00:00 UTC

TCompareEntry file(const std::string& name, int64_t size, int64_t time, int64_t precision = 1, bool zone = true)
{
    return {name, false, size, time, precision, zone};
}

} // namespace

TEST(Compare, EachNameGetsWhatDiffersAndDoubtsAreNamedNotGuessed)
{
    struct Case
    {
        const char* what;
        TCompareEntry here;
        TCompareEntry there;
        TCompared state;
        const char* why; // a part of it
    };
    const Case cases[] = {
        {"exact times, equal", file("a", 10, kNoon), file("a", 10, kNoon), TCompared::Same, ""},
        {"exact times, a second apart", file("a", 10, kNoon + 1), file("a", 10, kNoon), TCompared::NewerHere, ""},
        {"newer there", file("a", 10, kNoon), file("a", 10, kNoon + 3600), TCompared::NewerThere, ""},
        {"a size tells, whatever the time", file("a", 10, kNoon), file("a", 11, kNoon), TCompared::SizeDiffers,
         "10 bytes here, 11 there"},
        {"a size and the newer side", file("a", 10, kNoon + 600), file("a", 11, kNoon), TCompared::SizeDiffers,
         "newer here"},
        // A listing's clock gives minutes: 40 s later here is the same minute.
        {"to the minute", file("a", 10, kNoon + 40), file("a", 10, kNoon, 60), TCompared::Same, "within 1 minute"},
        {"a minute on", file("a", 10, kNoon + 60), file("a", 10, kNoon, 60), TCompared::NewerHere, ""},
        // In an unknown zone, hours apart may be the same moment; a day apart may not.
        {"unknown zone, 3 hours", file("a", 10, kNoon + 3 * 3600), file("a", 10, kNoon, 60, false), TCompared::Unsure,
         "time zone is not known"},
        {"unknown zone, 2 days", file("a", 10, kNoon + 2 * 86400), file("a", 10, kNoon, 60, false),
         TCompared::NewerHere, ""},
        {"no time there", file("a", 10, kNoon), file("a", 10, -1), TCompared::Unsure, "no time on the other side"},
        {"no size here", file("a", -1, kNoon), file("a", 10, kNoon), TCompared::Unsure, "no size on this side"},
        {"kinds", file("a", 10, kNoon), TCompareEntry{"a", true, 0, kNoon, 1, true}, TCompared::KindDiffers,
         "a file here, a directory there"},
        {"directories", TCompareEntry{"d", true, 4096, kNoon, 1, true}, TCompareEntry{"d", true, 0, -1, 1, true},
         TCompared::Same, ""},
    };
    for (const Case& c : cases) {
        std::vector<TComparedName> rows = CompareDirectories({c.here}, {c.there});
        ASSERT_EQ(rows.size(), 1u) << c.what;
        EXPECT_EQ(rows[0].State, c.state) << c.what << ": " << rows[0].Why;
        EXPECT_NE(rows[0].Why.find(c.why), std::string::npos) << c.what << ": " << rows[0].Why;
        EXPECT_EQ(rows[0].Here, 0);
        EXPECT_EQ(rows[0].There, 0);
    }
}

TEST(Compare, NamesOfEitherSideComeOnceInByteOrder)
{
    std::vector<TCompareEntry> here = {file("b", 1, kNoon), file("A", 1, kNoon), file("caf\xc3\xa9", 1, kNoon)};
    std::vector<TCompareEntry> there = {file("caf\xe9", 1, kNoon), file("b", 1, kNoon), file("c", 1, kNoon)};
    std::vector<TComparedName> rows = CompareDirectories(here, there);
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[0].Name, "A");
    EXPECT_EQ(rows[0].State, TCompared::OnlyHere);
    EXPECT_EQ(rows[1].Name, "b");
    EXPECT_EQ(rows[1].State, TCompared::Same);
    EXPECT_EQ(rows[1].Here, 0);
    EXPECT_EQ(rows[1].There, 1);
    EXPECT_EQ(rows[2].State, TCompared::OnlyThere); // "c"
    // The same name in other bytes is another name: the UTF-8 and the Latin-1 "café".
    EXPECT_EQ(rows[3].State, TCompared::OnlyHere);
    EXPECT_EQ(rows[4].State, TCompared::OnlyThere);
}
