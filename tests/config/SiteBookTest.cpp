#include <gtest/gtest.h>

#include <fstream>
#include <random>

#include <QTemporaryDir>

#include "config/SiteBook.h"
#include "platform/AtomicFile.h"
#include "support/ScriptedPrompt.h"

using testsupport::ScriptedPrompt;
using Layout = TSiteBookTables;

namespace {

class SiteBookTest : public ::testing::Test
{
protected:
    std::string path() const { return dir.path().toStdString() + "/book20.dat"; }
    std::string fileBytes() const
    {
        std::string bytes;
        platform::readWholeFile(path(), bytes);
        return bytes;
    }
    std::string writeText(const std::string& name, const std::string& content) const
    {
        std::string file = dir.path().toStdString() + "/" + name;
        std::ofstream(file, std::ios::binary) << content;
        return file;
    }
    // The text stored at an offset of the file, up to its zero byte.
    std::string textAt(const std::string& bytes, size_t offset) const { return std::string(bytes.c_str() + offset); }

    QTemporaryDir dir;
    ScriptedPrompt prompt;
    TSiteBook book{path(), prompt};
};

int32_t littleEndian(const std::string& bytes, size_t offset)
{
    return static_cast<int32_t>(
        static_cast<unsigned char>(bytes[offset]) | static_cast<unsigned char>(bytes[offset + 1]) << 8 |
        static_cast<unsigned char>(bytes[offset + 2]) << 16 | static_cast<unsigned char>(bytes[offset + 3]) << 24);
}

} // namespace

TEST_F(SiteBookTest, WritesTheFixedLayoutByteForByte)
{
    std::string alpha = "Alpha";
    std::string beta = "Beta";
    ASSERT_TRUE(book.AddClassUnique(alpha));
    ASSERT_TRUE(book.AddClassUnique(beta));
    ASSERT_TRUE(book.AddSiteUnique("Beta", {"b1", "b.example", "2121", "bob", "pw", "line 1\r\nline 2"}));
    ASSERT_TRUE(book.AddSiteUnique("Alpha", {"a1", "a.example", "21", "ann", "secret", ""}));

    std::string bytes = fileBytes();
    ASSERT_EQ(bytes.size(), 210500u);
    EXPECT_EQ(textAt(bytes, 0), "Alpha");
    EXPECT_EQ(textAt(bytes, 50), "Beta");
    EXPECT_EQ(bytes[100], '\0'); // the class list ends here
    // Record 1: Alpha's site, since records follow the class order.
    EXPECT_EQ(littleEndian(bytes, 2500), 1);
    EXPECT_EQ(textAt(bytes, 2500 + 4), "a1");
    EXPECT_EQ(textAt(bytes, 2500 + 54), "a.example");
    EXPECT_EQ(textAt(bytes, 2500 + 104), "21");
    EXPECT_EQ(textAt(bytes, 2500 + 114), "ann");
    EXPECT_EQ(textAt(bytes, 2500 + 164), "secret");
    // Record 2: Beta's site.
    EXPECT_EQ(littleEndian(bytes, 2916), 2);
    EXPECT_EQ(textAt(bytes, 2916 + 4), "b1");
    EXPECT_EQ(textAt(bytes, 2916 + 104), "2121");
    EXPECT_EQ(textAt(bytes, 2916 + 214), "line 1\r\nline 2");
    EXPECT_EQ(littleEndian(bytes, 2500 + 2 * 416), 0); // unused records follow

    TSiteBook reread(path(), prompt);
    reread.LoadSiteBook();
    ASSERT_EQ(reread.Classes.size(), 2u);
    EXPECT_EQ(reread.Classes[1].Sites, std::vector<std::string>{"b1"});
}

TEST_F(SiteBookTest, HandMadeFilesLoadAsTheWalkSeesThem)
{
    // Three class names and nothing else: three empty classes.
    std::string classesOnly(2500, '\0');
    classesOnly.replace(0, 3, "One");
    classesOnly.replace(50, 3, "Two");
    classesOnly.replace(100, 5, "Three");
    platform::writeFileAtomically(path(), classesOnly);
    book.LoadSiteBook();
    ASSERT_EQ(book.Classes.size(), 3u);
    EXPECT_TRUE(book.Classes[2].Sites.empty());

    // The records of class 2 stored before those of class 1: class 1 shows none, and its
    // records are gone after the next change.
    TSiteBookTables tables;
    tables.SetClassName(1, "First");
    tables.SetClassName(2, "Second");
    tables.SetClassNumber(1, 2);
    tables.SetText(1, Layout::kName, "second-site");
    tables.SetClassNumber(2, 1);
    tables.SetText(2, Layout::kName, "first-site");
    platform::writeFileAtomically(path(), tables.Bytes());
    book.LoadSiteBook();
    EXPECT_TRUE(book.Classes[0].Sites.empty());
    EXPECT_EQ(book.Classes[1].Sites, std::vector<std::string>{"second-site"});
    std::string third = "Third";
    ASSERT_TRUE(book.AddClassUnique(third));
    std::string bytes = fileBytes();
    EXPECT_EQ(textAt(bytes, 2500 + 4), "second-site");
    EXPECT_EQ(littleEndian(bytes, 2500 + 416), 0);
}

TEST_F(SiteBookTest, DamagedFilesLoadWithoutACrash)
{
    std::mt19937 random(11);
    for (size_t size : {size_t(0), size_t(7), size_t(2600), size_t(210500), size_t(400000)}) {
        std::string garbage(size, '\0');
        for (char& c : garbage)
            c = static_cast<char>(random());
        platform::writeFileAtomically(path(), garbage);
        book.LoadSiteBook();
        EXPECT_LE(book.Classes.size(), 50u);
        EXPECT_LE(book.SiteCount(), 500);
        book.RebuildSiteTables();
        EXPECT_EQ(book.Tables.Bytes().size(), 210500u);
    }
}

TEST_F(SiteBookTest, RebuildCarriesDataAlongAndAppliesPendingRenames)
{
    std::string name = "Work";
    ASSERT_TRUE(book.AddClassUnique(name));
    ASSERT_TRUE(book.AddSiteUnique("Work", {"one", "h1", "21", "u1", "p1", ""}));
    ASSERT_TRUE(book.AddSiteUnique("Work", {"two", "h2", "22", "u2", "p2", ""}));
    // Reorder the sites and rename the class and a site on the way.
    std::swap(book.Classes[0].Sites[0], book.Classes[0].Sites[1]);
    book.Selected = {0, 1};
    book.Rename = {TSiteBook::PendingRename::Kind::Site, "one", "uno", "Work"};
    book.RebuildSiteTables();
    EXPECT_EQ(book.SelectedRecord, 2);
    EXPECT_EQ(book.Tables.Text(1, Layout::kHost), "h2");
    EXPECT_EQ(book.Tables.Text(2, Layout::kName), "uno");
    EXPECT_EQ(book.Tables.Text(2, Layout::kHost), "h1");
    book.Rename = {TSiteBook::PendingRename::Kind::Class, "Work", "Office", ""};
    book.RebuildSiteTables();
    EXPECT_EQ(book.Tables.ClassName(1), "Office");
    EXPECT_EQ(book.Classes[0].Name, "Office");
    EXPECT_EQ(book.Tables.Text(2, Layout::kUser), "u1");
}

TEST_F(SiteBookTest, ImportingTheSameGroupsTwiceAsksForNewClassNames)
{
    std::string file = writeText("sites.ini", "[_Groups_]\r\ng1=Work\r\ng2=Home\r\n"
                                              "[_Work_]\r\ns1=Server\r\ns2=Mirror\r\n"
                                              "[_Home_]\r\ns1=Nas\r\n"
                                              "[Server]\r\nIP=server.example\r\nPort=2121\r\nUser=joe\r\nPass=pw\r\n"
                                              "n1=first line\r\nn2=second line\r\n"
                                              "[Mirror]\r\nIP=mirror.example\r\n"
                                              "[Nas]\r\nIP=192.168.1.2\r\n");
    book.ImportLeapFtpSites(file);
    ASSERT_EQ(book.Classes.size(), 2u);
    EXPECT_EQ(book.Classes[0].Sites, (std::vector<std::string>{"Server", "Mirror"}));
    EXPECT_EQ(book.Tables.Text(1, Layout::kDescription), "\rfirst line\rsecond line");
    EXPECT_EQ(book.Tables.Text(2, Layout::kPort), "21");
    EXPECT_EQ(book.Tables.Text(2, Layout::kUser), "anonymous");
    EXPECT_TRUE(prompt.asked.empty());

    prompt.answers = {"Work 2", "Home 2"};
    book.ImportLeapFtpSites(file);
    EXPECT_EQ(prompt.asked, (std::vector<std::string>{"Duplicate Class Name|Old = Work|Work",
                                                      "Duplicate Class Name|Old = Home|Home"}));
    ASSERT_EQ(book.Classes.size(), 4u);
    EXPECT_EQ(book.Classes[2].Name, "Work 2");
    EXPECT_EQ(book.Classes[2].Sites, (std::vector<std::string>{"Server", "Mirror"}));

    // Cancelling the question gives up that group instead of asking forever.
    prompt.answers = {"<cancel>", "<cancel>"};
    book.ImportLeapFtpSites(file);
    EXPECT_EQ(book.Classes.size(), 4u);
}

TEST_F(SiteBookTest, ImportsALabelledList)
{
    std::string file = writeText("list.txt", "HostName: dropped.example\r\n"
                                             "Site Label: First\r\nHostName: first.example\r\nUser Name: joe\r\n"
                                             "Password: pw\r\nPort: 2121\r\nComments: note\r\n"
                                             "Site Label: Second\r\nHostName: second.example\r\n");
    prompt.answers = {"Imported"};
    book.ImportCuteFtpList(file);
    ASSERT_EQ(book.Classes.size(), 1u);
    EXPECT_EQ(book.Classes[0].Name, "Imported");
    EXPECT_EQ(book.Classes[0].Sites, (std::vector<std::string>{"First", "Second"}));
    EXPECT_EQ(book.Tables.Text(1, Layout::kHost), "first.example");
    EXPECT_EQ(book.Tables.Text(1, Layout::kPort), "2121");
    EXPECT_EQ(book.Tables.Text(1, Layout::kDescription), "note");
    EXPECT_EQ(book.Tables.Text(2, Layout::kUser), "anonymous");

    prompt.answers = {"<cancel>"};
    book.ImportCuteFtpList(file);
    EXPECT_EQ(book.Classes.size(), 1u);
}

TEST_F(SiteBookTest, TheFormatsLimitsAreKeptAndSaid)
{
    for (int i = 0; i < 50; ++i) {
        std::string name = "Class " + std::to_string(i);
        ASSERT_TRUE(book.AddClassUnique(name));
    }
    std::string oneTooMany = "Class 50";
    EXPECT_FALSE(book.AddClassUnique(oneTooMany));
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_NE(prompt.messages[0].find("at most 50 classes"), std::string::npos);

    for (int i = 0; i < 500; ++i)
        ASSERT_TRUE(
            book.AddSiteUnique("Class " + std::to_string(i % 50), {"s" + std::to_string(i), "h", "21", "", "", ""}));
    EXPECT_FALSE(book.AddSiteUnique("Class 0", {"s500", "h", "21", "", "", ""}));
    EXPECT_NE(prompt.messages.back().find("at most 500 sites"), std::string::npos);
    EXPECT_EQ(fileBytes().size(), 210500u);
}

TEST_F(SiteBookTest, OverlongImportedTextsAreCutAndReported)
{
    std::string longHost(80, 'h');
    // A two-byte character across the cut is not split.
    std::string user = std::string(48, 'u') + "\xC3\xA9";
    std::string file = writeText("list.txt", "Site Label: Long\r\nHostName: " + longHost + "\r\nUser Name: " + user +
                                                 "\r\nPort: 1234567890123\r\n");
    prompt.answers = {"Imported"};
    book.ImportCuteFtpList(file);
    EXPECT_EQ(book.Tables.Text(1, Layout::kHost), std::string(49, 'h'));
    EXPECT_EQ(book.Tables.Text(1, Layout::kUser), std::string(48, 'u'));
    EXPECT_EQ(book.Tables.Text(1, Layout::kPort), "123456789");
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_NE(prompt.messages[0].find("Long: host cut to 49 characters"), std::string::npos);
    EXPECT_NE(prompt.messages[0].find("Long: port cut to 9 characters"), std::string::npos);
}

TEST_F(SiteBookTest, RestoreAfterBackupGivesBackTheSameBytes)
{
    std::string name = "Kept";
    ASSERT_TRUE(book.AddClassUnique(name));
    ASSERT_TRUE(book.AddSiteUnique("Kept", {"site", "host", "21", "u", "p", "c"}));
    std::string before = fileBytes();
    book.BackupSiteBook();
    std::string other = "Later";
    ASSERT_TRUE(book.AddClassUnique(other));
    EXPECT_NE(fileBytes(), before);
    book.RestoreSiteBook();
    EXPECT_EQ(fileBytes(), before);
    EXPECT_EQ(book.Classes.size(), 1u);
}
