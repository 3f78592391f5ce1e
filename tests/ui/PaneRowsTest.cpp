#include <gtest/gtest.h>

#include "support/WaitFor.h"
#include "ui/LogPages.h"
#include "ui/PaneRows.h"

namespace {

// A remote row: its time as a listing gives it ("14:30 Sep 5", "2002 Sep 5").
TlvFileInfo row(const std::string& name, bool dir, int64_t size, const std::string& time)
{
    TlvFileInfo info;
    info.Name = name;
    info.Remote = true;
    info.Kind = name == ".." ? TEntryKind::Parent : dir ? TEntryKind::Directory : TEntryKind::File;
    info.Size = size;
    size_t first = time.find(' ');
    size_t second = time.find(' ', first + 1);
    if (first != std::string::npos && second != std::string::npos)
        info.Listed = {time.substr(first + 1, second - first - 1), time.substr(second + 1), time.substr(0, first)};
    info.Time = ListedTimeKey(info.Listed, 2026);
    return info;
}

int64_t key(const std::string& time)
{
    return row("x", false, 0, time).Time;
}

std::vector<std::string> names(const std::vector<TlvFileInfo>& rows)
{
    std::vector<std::string> result;
    for (const TlvFileInfo& info : rows)
        result.push_back(info.Name);
    return result;
}

} // namespace

TEST(ListedTimeKey, ListingForms)
{
    EXPECT_EQ(key("14:30 Sep 5"), 202609051430);
    EXPECT_EQ(key("2002 Sep 15"), 200209150000);
    EXPECT_EQ(key("2002 Foo 15"), 200200150000);
    EXPECT_LT(key("2001 Dec 3"), key("2002 Jan 5"));
    EXPECT_LT(key("2025 Nov 30"), key("10:15 Nov 30")); // this year's
    EXPECT_LT(key("10:15 Nov 30"), key("09:00 Dec 1"));
    // The texts come back as the listing gave them; local times as YY-MM-DD HH:NN.
    EXPECT_EQ(TimeColumnText(row("x", false, 0, "14:30 Sep 05")), "14:30 Sep 05");
    TlvFileInfo local;
    local.Time = 1;
    EXPECT_EQ(TimeColumnText(local).size(), 14u);
    EXPECT_EQ(TimeColumnText(local)[2], '-');
}

TEST(SortRows, ParentFirstFoldersBeforeFilesThenTheColumn)
{
    std::vector<TlvFileInfo> rows = {row("b.txt", false, 5368709120LL, "2002 Sep 5"),
                                     row("Zeta", true, 0, "2001 Jan 1"),
                                     row("a.txt", false, 4294967297LL, "14:30 Sep 5"),
                                     row("..", true, 0, ""),
                                     row("alpha", true, 0, "2003 Jan 1"),
                                     row("C.txt", false, 100, "2002 Sep 5")};
    SortRows(rows, true, 0);
    EXPECT_EQ(names(rows), (std::vector<std::string>{"..", "alpha", "Zeta", "a.txt", "b.txt", "C.txt"}));
    SortRows(rows, false, 0);
    EXPECT_EQ(names(rows), (std::vector<std::string>{"..", "Zeta", "alpha", "C.txt", "b.txt", "a.txt"}));
    SortRows(rows, true, 1); // sizes beyond 4 GiB compare as numbers
    EXPECT_EQ(names(rows), (std::vector<std::string>{"..", "Zeta", "alpha", "C.txt", "a.txt", "b.txt"}));
    SortRows(rows, true, 2); // equal times keep their order
    EXPECT_EQ(names(rows), (std::vector<std::string>{"..", "Zeta", "alpha", "C.txt", "b.txt", "a.txt"}));
}

TEST(RemoteRows, FromAListingWithSummary)
{
    TRemoteRows rows = RemoteRowsFromListing("drwxr-xr-x 2 a a 4096 Sep  5 14:30 docs\r\n"
                                             "lrwxrwxrwx 1 a a 4 Sep  5 14:30 latest -> docs\r\n"
                                             "-rw-r--r-- 1 a a 1234567 Sep  5  2002 big.bin\r\n"
                                             "-rw-r--r-- 1 a a junk Sep  5  2002 odd.bin\r\n",
                                             true, 0, 2026);
    EXPECT_EQ(names(rows.Rows), (std::vector<std::string>{"..", "docs", "latest", "big.bin", "odd.bin"}));
    EXPECT_EQ(SizeColumnText(rows.Rows[3]), "1,234,567");
    EXPECT_EQ(rows.Rows[3].Size, 1234567);
    EXPECT_EQ(TimeColumnText(rows.Rows[3]), "2002 Sep 5");
    EXPECT_EQ(SizeColumnText(rows.Rows[4]), "0");
    EXPECT_EQ(rows.Rows[2].Kind, TEntryKind::Link);
    EXPECT_EQ(rows.Rows[2].LinkTarget, "docs");
    EXPECT_EQ(AttrColumnText(rows.Rows[1]), "drwxr-xr-x");
    EXPECT_EQ(SizeColumnText(rows.Rows[0]), ""); // the ".." row
    EXPECT_EQ(rows.Summary(), "2 folder(s) 2 file(s) 1,238,667 byte(s) listed");
}

TEST(LogPages, KeepsNotesMasksThePasswordAndColoursByFirstCharacter)
{
    TLogPages logs;
    size_t appended = 0;
    int changes = 0;
    logs.OnLinesChanged = [&](int, size_t, size_t count) {
        ++changes;
        appended += count;
    };
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
    for (const char* refusal : {"< 550 No such file", "< 421-Too many", "< 426 Aborted"})
        EXPECT_EQ(LineColour(refusal), TLogColour::Refusal) << refusal;
    for (const char* reply : {"< 226 Done", "< 5 bytes", "< 4x2", "Connected"})
        EXPECT_NE(LineColour(reply), TLogColour::Refusal) << reply;
    EXPECT_EQ(logs.Lines(2)[0].Colour, TLogColour::Message);
    EXPECT_EQ(logs.AllText(0), "> USER joe\n< 331 Password required\n> PASS ********\n! Data: Receive error 10054\n");
    // Told once per page and turn of the event loop, with every line that came.
    testsupport::pumpFor(50);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(appended, 5u);

    logs.ClearAll();
    EXPECT_TRUE(logs.Lines(0).empty());
    EXPECT_EQ(logs.Count(), 4);
    logs.ResizeLogPages(2);
    EXPECT_EQ(logs.Count(), 2);
    EXPECT_FALSE(logs.ShowLogLine(3, "gone"));
}

TEST(LogPages, EveryPageKeepsAtMostItsLimitOfLines)
{
    TLogPages logs;                    // 5,000 lines a page unless set otherwise
    std::vector<size_t> shown(255, 0); // lines a view would show, from what it was told
    logs.OnLinesChanged = [&](int page, size_t dropped, size_t appended) {
        size_t& lines = shown[static_cast<size_t>(page)];
        lines = lines - std::min(lines, dropped) + appended;
    };
    logs.CreateLogPages(255);
    for (int page = 0; page < 255; ++page) {
        for (int line = 0; line < 20000; ++line)
            logs.ShowLogLine(page, "< 226 line " + std::to_string(line));
        if (page % 50 == 0)
            testsupport::pumpFor(1); // a view told in the middle of it
    }
    testsupport::pumpFor(50);
    for (int page = 0; page < 255; ++page) {
        ASSERT_EQ(logs.Lines(page).size(), TLogPages::kDefaultLineLimit) << page;
        EXPECT_EQ(shown[static_cast<size_t>(page)], TLogPages::kDefaultLineLimit) << page;
    }
    // The oldest went, the newest stay.
    EXPECT_EQ(logs.Lines(254).front().Text, "< 226 line 15000");
    EXPECT_EQ(logs.Lines(254).back().Text, "< 226 line 19999");

    logs.SetLineLimit(10);
    testsupport::pumpFor(50);
    EXPECT_EQ(logs.Lines(7).size(), 10u);
    EXPECT_EQ(shown[7], 10u);
    logs.Clear(7);
    testsupport::pumpFor(50);
    EXPECT_EQ(shown[7], 0u);
}
