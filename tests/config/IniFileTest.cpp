#include <gtest/gtest.h>

#include <fstream>
#include <random>

#include <QTemporaryDir>

#include "config/IniFile.h"

namespace {

std::string writeFile(const QTemporaryDir& dir, const std::string& name, const std::string& content)
{
    std::string path = dir.path().toStdString() + "/" + name;
    std::ofstream(path, std::ios::binary) << content;
    return path;
}

} // namespace

TEST(IniFile, ReadsWithTheUsualConventions)
{
    QTemporaryDir dir;
    std::string path = writeFile(dir, "a.ini",
                                 "stray=before any section\r\n"
                                 "[General]\r\n"
                                 "; a comment\r\n"
                                 "Name=value with = inside\r\n"
                                 "no equals sign here\r\n"
                                 "Hex=0x0A\r\n"
                                 "Dollar=$ff\r\n"
                                 "Colour=0x80000008\r\n"
                                 "Short=0x\r\n"
                                 "Bad=12abc\r\n"
                                 "Yes=5\r\n"
                                 "Neg=-42\n" // a bare LF ends a line too
                                 "[general]\r\n"
                                 "More=1\r\n");
    IniFile ini(path);
    EXPECT_EQ(ini.ReadString("GENERAL", "name", "?"), "value with = inside");
    EXPECT_EQ(ini.ReadString("General", "stray", "?"), "?");
    EXPECT_EQ(ini.ReadInteger("General", "Hex", 0), 10);
    EXPECT_EQ(ini.ReadInteger("General", "Dollar", 0), 255);
    EXPECT_EQ(ini.ReadInteger("General", "Colour", 0), -2147483640);
    EXPECT_EQ(ini.ReadInteger("General", "Short", 7), 7);
    EXPECT_EQ(ini.ReadInteger("General", "Bad", 7), 7);
    EXPECT_EQ(ini.ReadInteger("General", "Missing", 7), 7);
    EXPECT_TRUE(ini.ReadBool("General", "Yes", false));
    EXPECT_EQ(ini.ReadInt64("General", "Neg", 0), -42);
    EXPECT_EQ(ini.ReadInteger("General", "More", 0), 1); // the same section, met again
}

TEST(IniFile, WritesInOrderAppendingWhatIsNewAndDroppingComments)
{
    QTemporaryDir dir;
    std::string path = writeFile(dir, "b.ini", "; header\r\n[One]\r\nA=1\r\n[Two]\r\nB=2\r\n");
    IniFile ini(path);
    ini.WriteInteger("one", "a", 10);
    ini.WriteString("One", "C", "three");
    ini.WriteBool("Three", "D", true);
    ini.WriteInt64("Three", "Big", 6000000000LL);
    EXPECT_EQ(ini.Text(),
              "[One]\r\nA=10\r\nC=three\r\n\r\n[Two]\r\nB=2\r\n\r\n[Three]\r\nD=1\r\nBig=6000000000\r\n\r\n");
    ASSERT_TRUE(ini.UpdateFile());
    EXPECT_EQ(IniFile(path).ReadInt64("three", "big", 0), 6000000000LL);
}

TEST(IniFile, BinaryGarbageReadsAsWhatCanBeRead)
{
    QTemporaryDir dir;
    std::mt19937 random(7);
    std::string garbage(100000, '\0');
    for (char& c : garbage)
        c = static_cast<char>(random());
    garbage += "\n[Ok]\nKey=5\n";
    IniFile ini(writeFile(dir, "c.ini", garbage));
    EXPECT_EQ(ini.ReadInteger("Ok", "Key", 0), 5);
    EXPECT_EQ(ini.ReadInteger("FtpCliNum", "FtpCliNum", 3), 3);
}
