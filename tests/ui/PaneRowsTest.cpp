#include <gtest/gtest.h>

#include "ui/LogPages.h"
#include "ui/PaneRows.h"

namespace {

TlvFileInfo row(const std::string& name, bool dir, const std::string& size, const std::string& time)
{
    TlvFileInfo info;
    info.Name = name;
    info.IsDir = dir;
    info.SizeText = size;
    info.TimeText = time;
    return info;
}

std::vector<std::string> names(const std::vector<TlvFileInfo>& rows)
{
    std::vector<std::string> result;
    for (const TlvFileInfo& info : rows)
        result.push_back(info.Name);
    return result;
}

} // namespace

TEST(TimeSortKey, ListingAndLocalForms)
{
    EXPECT_EQ(TimeSortKey("14:30 Sep 5", "2026"), "2026090514:30");
    EXPECT_EQ(TimeSortKey("2002 Sep 15", "2026"), "20020915");
    EXPECT_EQ(TimeSortKey("2002 Foo 15", "2026"), "20020015");
    EXPECT_EQ(TimeSortKey("99-12-31 23:59", "2026"), "1999-12-31 23:59");
    EXPECT_EQ(TimeSortKey("03-01-02 08:00", "2026"), "2003-01-02 08:00");
    EXPECT_EQ(TimeSortKey("10:20 01-02-03", "2026"), "2001-02-0310:20"); // time first
    EXPECT_LT(TimeSortKey("2001 Dec 3", "2026"), TimeSortKey("2002 Jan 5", "2026"));
    EXPECT_LT(TimeSortKey("2025 Nov 30", "2026"), TimeSortKey("10:15 Nov 30", "2026")); // this year's
    EXPECT_LT(TimeSortKey("10:15 Nov 30", "2026"), TimeSortKey("09:00 Dec 1", "2026"));
}

TEST(SortRows, ParentFirstFoldersBeforeFilesThenTheColumn)
{
    std::vector<TlvFileInfo> rows = {row("b.txt", false, "5,368,709,120", "2002 Sep 5"),
                                     row("Zeta", true, "0", "2001 Jan 1"),
                                     row("a.txt", false, "4,294,967,297", "14:30 Sep 5"),
                                     row("..", true, "", ""),
                                     row("alpha", true, "0", "2003 Jan 1"),
                                     row("C.txt", false, "100", "2002 Sep 5")};
    SortRows(rows, true, 0, "2026");
    EXPECT_EQ(names(rows), (std::vector<std::string>{"..", "alpha", "Zeta", "a.txt", "b.txt", "C.txt"}));
    SortRows(rows, false, 0, "2026");
    EXPECT_EQ(names(rows), (std::vector<std::string>{"..", "Zeta", "alpha", "C.txt", "b.txt", "a.txt"}));
    SortRows(rows, true, 1, "2026"); // sizes beyond 4 GiB compare as numbers
    EXPECT_EQ(names(rows), (std::vector<std::string>{"..", "Zeta", "alpha", "C.txt", "a.txt", "b.txt"}));
    SortRows(rows, true, 2, "2026"); // equal times keep their order
    EXPECT_EQ(names(rows), (std::vector<std::string>{"..", "Zeta", "alpha", "C.txt", "b.txt", "a.txt"}));
}

TEST(RemoteRows, FromAListingWithSummary)
{
    TRemoteRows rows = RemoteRowsFromListing("drwxr-xr-x 2 a a 4096 Sep  5 14:30 docs\r\n"
                                             "lrwxrwxrwx 1 a a 4 Sep  5 14:30 latest -> docs\r\n"
                                             "-rw-r--r-- 1 a a 1234567 Sep  5  2002 big.bin\r\n"
                                             "-rw-r--r-- 1 a a junk Sep  5  2002 odd.bin\r\n",
                                             true, 0, "2026");
    EXPECT_EQ(names(rows.Rows), (std::vector<std::string>{"..", "docs", "latest", "big.bin", "odd.bin"}));
    EXPECT_EQ(rows.Rows[3].SizeText, "1,234,567");
    EXPECT_EQ(rows.Rows[3].TimeText, "2002 Sep 5");
    EXPECT_EQ(rows.Rows[4].SizeText, "0");
    EXPECT_EQ(rows.Summary(), "2 folder(s) 2 file(s) 1,238,667 byte(s) listed");
}

TEST(LogPages, KeepsNotesMasksThePasswordAndColoursByFirstCharacter)
{
    TLogPages logs;
    int changes = 0;
    logs.OnPageChanged = [&](int) { ++changes; };
    logs.CreateLogPages(4);
    EXPECT_TRUE(logs.ShowLogLine(0, "> USER joe"));
    EXPECT_TRUE(logs.ShowLogLine(0, "< 331 Password required"));
    EXPECT_TRUE(logs.ShowLogLine(0, "> PASS very secret"));
    EXPECT_TRUE(logs.ShowLogLine(0, "! Data: Receive error 10054"));
    EXPECT_FALSE(logs.ShowLogLine(0, ""));
    EXPECT_TRUE(logs.ShowLogLine(2, "Connection Lost"));
    EXPECT_FALSE(logs.ShowLogLine(7, "no such page"));
    const auto& page = logs.Lines(0);
    ASSERT_EQ(page.size(), 4u);
    EXPECT_EQ(page[0].Colour, TLogColour::Command);
    EXPECT_EQ(page[1].Colour, TLogColour::Reply);
    EXPECT_EQ(page[2].Text, "> PASS ********");
    // The client's notes carry the reasons of failures: they stay.
    EXPECT_EQ(page[3].Colour, TLogColour::Message);
    EXPECT_EQ(logs.Lines(2)[0].Colour, TLogColour::Message);
    EXPECT_EQ(logs.AllText(0), "> USER joe\n< 331 Password required\n> PASS ********\n! Data: Receive error 10054\n");
    EXPECT_EQ(changes, 5);

    logs.ClearAll();
    EXPECT_TRUE(logs.Lines(0).empty());
    EXPECT_EQ(logs.Count(), 4);
    logs.ResizeLogPages(2);
    EXPECT_EQ(logs.Count(), 2);
    EXPECT_FALSE(logs.ShowLogLine(3, "gone"));
}
