#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include <QTemporaryDir>

#include "manager/CommFunc.h"
#include "platform/AtomicFile.h"

namespace {

std::string listing(const std::string& server)
{
    std::string text;
    platform::readWholeFile(std::string(QUILL_TEST_DATA) + "/listings/" + server + ".txt", text);
    return text;
}

} // namespace

class CapturedListing : public ::testing::TestWithParam<const char*>
{
};

TEST_P(CapturedListing, GivesEveryEntryWithItsKindNameAndSize)
{
    std::vector<TDirAnalyze> entries = ParseListing(listing(GetParam()));
    std::map<std::string, TDirAnalyze> byName;
    for (const TDirAnalyze& entry : entries)
        byName[entry.EntryName()] = entry;
    ASSERT_TRUE(byName.count("big.iso"));
    int64_t size = 0;
    EXPECT_TRUE(ParseSize(byName["big.iso"].Size, size));
    EXPECT_EQ(size, 5368709120LL);
    EXPECT_TRUE(byName["big.iso"].IsFile());
    ASSERT_TRUE(byName.count("my file.txt")); // inner spaces kept
    EXPECT_EQ(byName["my file.txt"].Size, "1234");
    ASSERT_TRUE(byName.count("sub"));
    EXPECT_TRUE(byName["sub"].IsDirectory());
    ASSERT_TRUE(byName.count("link"));
    EXPECT_EQ(byName["sub"].Month, "Dec");
    std::string server = GetParam();
    if (server.find("-mlsd") == std::string::npos) {
        EXPECT_TRUE(byName["link"].IsLink());
        EXPECT_EQ(byName["link"].Name, "link -> sub");
        EXPECT_EQ(byName["link"].LinkTarget(), "sub");
        return;
    }
    // MLSD: no "." or "..", a link without its target (pyftpdlib shows the directory it names),
    // and the "unique" fact that tells when two names are one directory.
    EXPECT_EQ(entries.size(), 4u);
    EXPECT_EQ(byName["big.iso"].Attributes, server == "pyftpdlib-mlsd" ? "-" : "-rw-r--r--");
    EXPECT_EQ(byName["link"].LinkTarget(), "");
    EXPECT_TRUE(server == "pyftpdlib-mlsd" ? byName["link"].IsDirectory() : byName["link"].IsLink());
    EXPECT_FALSE(byName["sub"].Unique.empty());
    EXPECT_EQ(byName["sub"].Unique == byName["link"].Unique, server != "pureftpd-mlsd");
}

INSTANTIATE_TEST_SUITE_P(Servers, CapturedListing,
                         ::testing::Values("pyftpdlib", "vsftpd", "proftpd", "pureftpd", "pyftpdlib-mlsd",
                                           "proftpd-mlsd", "pureftpd-mlsd"));

TEST(ParseListing, MlsdFactsAndNames)
{
    auto entries = ParseListing("Type=FILE;Size=7;Modify=20190315123456.250;UNIX.mode=0o640; name; with  blanks \r\n"
                                "type=OS.unix=slink:/srv/data;modify=20190315123456; data\r\n"
                                "type=OS.unix=blockdev;size=0; sda\r\n"
                                "type=file;size=1;modify=2019; odd time\r\n"
                                "size=3; no type\r\n");
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].Name, "name; with  blanks "); // exactly as sent after the first "; "
    EXPECT_EQ(entries[0].Attributes, "-rw-r-----");
    EXPECT_EQ(entries[0].Size, "7");
    EXPECT_EQ(entries[0].TimeOrYear, "2019");
    EXPECT_TRUE(entries[1].IsLink());
    EXPECT_EQ(entries[1].LinkTarget(), "/srv/data");
    EXPECT_EQ(entries[2].Name, "odd time");
    EXPECT_EQ(entries[2].Month, ""); // a time it cannot read is left out
}

TEST(ParseListing, UnixTotalsDotsAndLinesItDoesNotKnow)
{
    auto entries = ParseListing("total 12\r\n"
                                "drwxr-xr-x   2 ann  staff  4096 Jan  1  2020 .\r\n"
                                "drwxr-xr-x   2 ann  staff  4096 Jan  1  2020 ..\r\n"
                                "-rw-r--r--   1 ann  staff   100 Mar 15 12:34   spaced  name  \r\n"
                                "weird line\n\n"
                                "-rw-r--r--   1 ann  staff   7 Mar 15 2019 last");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].Name, "spaced  name");
    EXPECT_EQ(entries[0].TimeOrYear, "12:34");
    EXPECT_EQ(entries[0].Day, "15");
    EXPECT_EQ(entries[1].Name, "last");
    EXPECT_EQ(entries[1].TimeOrYear, "2019");
    EXPECT_TRUE(ParseListing("").empty());
}

TEST(ParseListing, DosFormKeepsEveryLine)
{
    auto entries = ParseListing("01-02-03  10:20AM       <DIR>          Docs\r\n"
                                "04-05-06  01:02PM             1234567 my file.txt\r\n"
                                "07-08-09  11:11AM       <DIR>          ..\r\n");
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].Attributes, "<DIR>");
    EXPECT_EQ(entries[0].Size, "0");
    EXPECT_EQ(entries[0].Month, "01-02-03");
    EXPECT_EQ(entries[0].TimeOrYear, "10:20");
    EXPECT_EQ(entries[0].Name, "Docs");
    EXPECT_TRUE(entries[0].IsDirectory());
    EXPECT_EQ(entries[1].Attributes, "     ");
    EXPECT_TRUE(entries[1].IsFile());
    EXPECT_EQ(entries[1].Size, "1234567");
    EXPECT_EQ(entries[1].Name, "my file.txt");
    EXPECT_EQ(entries[2].Name, "..");
    EXPECT_FALSE(IsSafeEntryName(entries[2].Name)); // kept by the parser, never walked into
}

TEST(ParseListing, ArbitraryBytesNeverBreakIt)
{
    std::mt19937 random(2024);
    for (int round = 0; round < 2000; ++round) {
        std::string text(random() % 600, '\0');
        for (char& c : text)
            c = "-dl 0123456789\r\n\t:->abc<DIR>"[random() % 28];
        if (round % 3 == 0)
            for (char& c : text)
                c = static_cast<char>(random());
        for (const TDirAnalyze& entry : ParseListing(text)) {
            int64_t size = 0;
            ParseSize(entry.Size, size);
            EXPECT_GE(size, 0);
            entry.EntryName();
            entry.LinkTarget();
        }
    }
}

TEST(CommFunc, NamesSizesAndPathsFromAServerAreChecked)
{
    EXPECT_TRUE(IsSafeEntryName("report 2024.pdf"));
    for (const char* bad : {"", ".", "..", "../x", "a/b", "/etc", "line\rbreak", "tab\there"})
        EXPECT_FALSE(IsSafeEntryName(bad)) << bad;
    EXPECT_FALSE(IsSafeEntryName(std::string("nul\0byte", 8)));
    int64_t size = 7;
    EXPECT_FALSE(ParseSize("12a", size));
    EXPECT_EQ(size, 0);
    EXPECT_FALSE(ParseSize("99999999999999999999", size));
    EXPECT_TRUE(ParseSize("9223372036854775807", size));

    EXPECT_EQ(FileExtension("/a/b.tar.gz"), "gz");
    EXPECT_EQ(FileExtension("/a.d/readme"), "");
    EXPECT_EQ(ParentDirectory("/a/b/c/"), "/a/b/");
    EXPECT_EQ(ParentDirectory("/a/b/file"), "/a/b/");
    EXPECT_EQ(RemoteDirPart("/pub/x/file.txt"), "/pub/x/");
    EXPECT_EQ(EnsureTrailing("/pub", '/'), "/pub/");
    EXPECT_EQ(EnsureTrailing("", '/'), "");
}

TEST(CommFunc, Formatting)
{
    EXPECT_EQ(FormatThousands(1234567), "1,234,567");
    EXPECT_EQ(FormatThousands(123), "123");
    EXPECT_EQ(FormatThousands(1000), "1,000");
    EXPECT_EQ(FormatThousands(5368709120LL), "5,368,709,120");
    EXPECT_EQ(RemoveSeparators("1,234,567"), "1234567");
    EXPECT_EQ(ShortSize(999), "999");
    EXPECT_EQ(ShortSize(1000), "1KB");
    EXPECT_EQ(ShortSize(1999999), "1MB");
    EXPECT_EQ(ShortSize(123456789), "123MB");
    EXPECT_EQ(ShortSize(5368709120LL), "5,368MB");
    EXPECT_EQ(SizeInBytes(1234), "1,234 bytes");
    EXPECT_EQ(ElapsedTime(0), "00:00:00");
    EXPECT_EQ(ElapsedTime(3725), "01:02:05");
    EXPECT_EQ(ElapsedTime(360000), "100:00:00");
}

TEST(CommFunc, LocalWalkAndDirectories)
{
    QTemporaryDir dir;
    std::string root = dir.path().toStdString() + "/";
    ASSERT_TRUE(MakeLocalDirs(root + "a/b/c"));
    std::ofstream(root + "a/one.txt") << "12345";
    std::ofstream(root + "a/b/c/two.txt") << "12";
    std::filesystem::create_directory_symlink(root + "a", root + "a/b/loop"); // not followed
    auto files = WalkLocalDir(root);
    std::map<std::string, int64_t> found;
    for (const TGetFileInfo& file : files)
        found[file.Path] = file.Size;
    EXPECT_EQ(found, (std::map<std::string, int64_t>{{root + "a/one.txt", 5}, {root + "a/b/c/two.txt", 2}}));
    EXPECT_GT(DiskFreeSpace(root), 0);
    EXPECT_EQ(DiskFreeSpace(root + "missing/"), 0);
}
