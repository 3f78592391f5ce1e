// The broken lists' and the host history's passwords in the desktop's keyring (run by
// tests/config/run_with_keyring.sh against gnome-keyring): kept there while the preference is
// on, back in their files once it is off, and a list still the same list either way.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include <QTemporaryDir>

#include "platform/AtomicFile.h"
#include "support/ScriptedView.h"
#include "ui/MainWindow.h"

using testsupport::ScriptedView;

namespace {

const char* const kList =
    "[Count]\r\nCount=1\r\n[1]\r\nDateTime=2026-12-08 10:00:00\r\nHostName=files.example\r\nHostPort=21\r\n"
    "UserName=ann\r\nPassWord=list-s3cret\r\nLocalDir=/tmp/\r\nHostDir=/pub/\r\n"
    "OldQueneCount=1\r\n0IsDownload=1\r\n0HostPath=/pub/a.bin\r\n0LocalPath=/tmp/a.bin\r\n"
    "0FileSize=10\r\n0BeginPos=-1\r\n0EndPos=-1\r\n0IsDir=0\r\n";

} // namespace

TEST(KeyringLists, PasswordsOfBrokenListsAndHostHistoryLiveInTheKeyringWhileThePreferenceIsOn)
{
    if (!std::getenv("QUILL_TEST_KEYRING"))
        GTEST_SKIP() << "needs the Secret Service of tests/config/run_with_keyring.sh";
    QTemporaryDir data;
    std::string dir = data.path().toStdString() + "/";
    std::ofstream(dir + "oldquene.ini", std::ios::binary) << kList;
    std::ofstream(dir + "quillftp.ini") << "[General]\nKeyringPasswords=1\nShowSiteManager=0\n"
                                           "[ServerIP]\nCount=1\n0=[::1]:2121:bob:history:s3cret\n";
    auto fileHolds = [&](const std::string& text, const char* file = "oldquene.ini") {
        std::string bytes;
        platform::readWholeFile(dir + file, bytes);
        return bytes.find(text) != std::string::npos;
    };
    {
        ScriptedView view;
        TfmMain window(view, dir, dir);
        window.FormCreate();
        window.SaveBrokenLists();
        EXPECT_FALSE(fileHolds("list-s3cret"));
        window.FormDestroy();
        EXPECT_FALSE(fileHolds("history:s3cret", "quillftp.ini"));
        EXPECT_TRUE(fileHolds("[::1]:2121:bob:", "quillftp.ini"));
    }
    {
        ScriptedView view;
        TfmMain window(view, dir, dir);
        window.FormCreate();
        ASSERT_EQ(window.BrokenLists().Lists.size(), 1u);
        EXPECT_EQ(window.BrokenLists().Lists[0]->PassWord, "list-s3cret");
        ASSERT_EQ(window.Settings().HostHistory.size(), 1u);
        EXPECT_EQ(window.Settings().HostHistory[0], "[::1]:2121:bob:history:s3cret");
        // Off: the password goes back into the file, and out of the keyring.
        TSettings settings = window.Settings();
        settings.KeyringPasswords = false;
        window.ApplySettings(settings);
        EXPECT_TRUE(fileHolds("list-s3cret"));
        EXPECT_TRUE(fileHolds("[::1]:2121:bob:history:s3cret", "quillftp.ini"));
        std::string password, why;
        EXPECT_EQ(
            platform::DesktopKeyring()->Read("broken-list/2026-12-08 10:00:00/ann@files.example:21", password, why),
            platform::IPasswordStore::TFound::No);
        // Deleted, it stays deleted: the file's list and the window's are the same list.
        window.DeleteBrokenList(0);
        window.SaveBrokenLists();
        EXPECT_FALSE(fileHolds("files.example"));
        window.FormDestroy();
    }
}
