#include <gtest/gtest.h>

#include <fstream>

#include <sys/stat.h>

#include <QTemporaryDir>

#include "config/DataFiles.h"
#include "config/IniFile.h"
#include "config/Settings.h"
#include "platform/AtomicFile.h"

TEST(Settings, DefaultsWithoutAFileAndEverythingBackAfterASave)
{
    QTemporaryDir dir;
    std::string path = dir.path().toStdString() + "/quillftp.ini";
    TSettings settings;
    LoadSettings(settings, path, "/opt/quillftp/");
    EXPECT_EQ(settings.ConnectionCount, 3);
    EXPECT_EQ(settings.MTFileSize, 1000000);
    EXPECT_EQ(settings.LocalPath, "/opt/quillftp/");
    EXPECT_TRUE(settings.MainConnDownload);
    EXPECT_EQ(settings.ProgramFontData.Color, -2147483640);
    EXPECT_EQ(settings.Interval, 60);
    EXPECT_EQ(settings.AnonymousEmail, TSettings::kDefaultAnonymousEmail);
    EXPECT_TRUE(settings.Pipelining);

    settings.HostHistory = {"ftp.example.org:21:joe:secret", "10.0.0.1:2121:anonymous:me@"};
    settings.TextExt = {"txt", "html"};
    settings.ConnectionCount = 12;
    settings.MTFileSize = 6000000000LL; // beyond 32 bits: written in full
    settings.LocalPath = "/home/joe/";
    settings.Proxy = {true, "proxy", "8021", "pu", "pp", 2};
    settings.Socks = {true, "socks", "1080", "su", "sp", 7};
    settings.PasvMode = true;
    settings.MainConnDownload = false;
    settings.RichEditFont = true;
    settings.RichEditFontData.Name = "DejaVu Sans Mono";
    settings.Interval = 30;
    settings.ConnectionRetryTimes = 5;
    settings.Pipelining = false;
    ASSERT_TRUE(SaveSettings(settings, path));
    struct stat info
    {
    };
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u); // it holds passwords

    TSettings loaded;
    LoadSettings(loaded, path, "/elsewhere/");
    EXPECT_EQ(loaded.HostHistory, settings.HostHistory);
    EXPECT_EQ(loaded.HostItems,
              (std::vector<std::string>{"ftp.example.org:21:joe:********", "10.0.0.1:2121:anonymous:********"}));
    EXPECT_EQ(loaded.TextExt, settings.TextExt);
    EXPECT_EQ(loaded.ConnectionCount, 12);
    EXPECT_EQ(loaded.MTFileSize, 6000000000LL);
    EXPECT_EQ(loaded.LocalPath, "/home/joe/");
    EXPECT_EQ(loaded.Proxy.Host, "proxy");
    EXPECT_EQ(loaded.Proxy.Type, 2);
    EXPECT_EQ(loaded.Socks.Pass, "sp");
    EXPECT_EQ(loaded.Socks.Type, 7);
    EXPECT_TRUE(loaded.PasvMode);
    EXPECT_FALSE(loaded.MainConnDownload);
    EXPECT_TRUE(loaded.RichEditFont);
    EXPECT_EQ(loaded.RichEditFontData.Name, "DejaVu Sans Mono");
    EXPECT_EQ(loaded.Interval, 30);
    EXPECT_EQ(loaded.ConnectionRetryTimes, 5);
    EXPECT_FALSE(loaded.Pipelining);
    EXPECT_EQ(IniFile(path).ReadString("Fonts", "ProgramFontColor", ""), "-2147483640");
}

TEST(Settings, HistoryGapsHexSkinAndAShrunkList)
{
    QTemporaryDir dir;
    std::string path = dir.path().toStdString() + "/quillftp.ini";
    std::ofstream(path) << "[ServerIP]\nCount=5\n0=host:21:user:pass\n1=\n2=plain\n3=x:1:y:z\n4=last:2:u:p\n"
                           "[FtpCliNum]\nFtpCliNum=0x0A\n"
                           "[Skin]\nUseSkin=2\n1Clr=1\n2Clr=255\nExtra=kept\n"
                           "[Proxy]\nEnabled=1\n";
    TSettings settings;
    LoadSettings(settings, path, "/");
    EXPECT_EQ(settings.HostHistory, (std::vector<std::string>{"host:21:user:pass", "plain", "x:1:y:z", "last:2:u:p"}));
    EXPECT_EQ(settings.HostItems[0], "host:21:user:********");
    EXPECT_EQ(settings.HostItems[1], "plain");
    EXPECT_EQ(settings.ConnectionCount, 10);
    EXPECT_EQ(settings.SkinColor, 255);
    EXPECT_TRUE(settings.Proxy.Enabled);
    EXPECT_EQ(settings.Proxy.Type, 0); // enabled without a type: direct, in passive mode

    settings.HostHistory.resize(2);
    ASSERT_TRUE(SaveSettings(settings, path));
    IniFile saved(path);
    EXPECT_EQ(saved.ReadInteger("ServerIP", "Count", -1), 2);
    EXPECT_EQ(saved.ReadString("ServerIP", "4", ""), "last:2:u:p"); // left behind, ignored
    EXPECT_EQ(saved.ReadString("Skin", "Extra", ""), "kept");       // never written, kept
    TSettings reloaded;
    LoadSettings(reloaded, path, "/");
    EXPECT_EQ(reloaded.HostHistory.size(), 2u);
}

TEST(AtomicFile, AnInterruptedSaveLeavesThePreviousFile)
{
    QTemporaryDir dir;
    std::string path = dir.path().toStdString() + "/book20.dat";
    ASSERT_TRUE(platform::writeFileAtomically(path, "old content"));
    EXPECT_FALSE(platform::writeFileAtomically(path, "new content", [] { return false; }));
    std::string content;
    ASSERT_TRUE(platform::readWholeFile(path, content));
    EXPECT_EQ(content, "old content");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1); // no temporary left behind
}

TEST(DataFiles, DefaultsAreCopiedOnlyWhereTheRealFilesAreMissing)
{
    QTemporaryDir data;
    QTemporaryDir program;
    std::string dataDir = data.path().toStdString() + "/";
    std::string programDir = program.path().toStdString() + "/";
    ASSERT_TRUE(platform::writeFileAtomically(programDir + "def_quillftp.ini", "[FtpCliNum]\r\nFtpCliNum=7\r\n"));
    ASSERT_TRUE(platform::writeFileAtomically(programDir + "def_book20.dat", "default book"));
    ASSERT_TRUE(platform::writeFileAtomically(dataDir + "book20.dat", "the user's book"));
    datafiles::EnsureDefaultFiles(dataDir, programDir);
    std::string content;
    ASSERT_TRUE(platform::readWholeFile(dataDir + "quillftp.ini", content));
    EXPECT_EQ(content, "[FtpCliNum]\r\nFtpCliNum=7\r\n");
    ASSERT_TRUE(platform::readWholeFile(dataDir + "book20.dat", content));
    EXPECT_EQ(content, "the user's book");
}
