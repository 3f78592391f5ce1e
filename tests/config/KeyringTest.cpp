// The site book's passwords in the desktop's keyring: moved there and back against a real
// Secret Service (gnome-keyring, run by tests/config/run_with_keyring.sh), and kept in the file,
// with a message, when no keyring can be reached.

#include <gtest/gtest.h>

#include <cstdlib>

#include <QDBusInterface>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QTemporaryDir>

#include "config/SiteBook.h"
#include "platform/AtomicFile.h"
#include "support/ScriptedPrompt.h"

using testsupport::ScriptedPrompt;
using Layout = TSiteBookTables;

namespace {

class KeyringBook : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TSiteBook book(path(), prompt);
        std::string work = "Work";
        ASSERT_TRUE(book.AddClassUnique(work));
        ASSERT_TRUE(book.AddSiteUnique("Work", {"build", "build.example", "21", "ann", "s3cret-build", ""}));
        ASSERT_TRUE(book.AddSiteUnique("Work", {"web", "web.example", "21", "bob", "s3cret-web", ""}));
    }
    std::string path() const { return dir.path().toStdString() + "/book20.dat"; }
    bool fileHolds(const std::string& text) const
    {
        std::string bytes;
        platform::readWholeFile(path(), bytes);
        return bytes.find(text) != std::string::npos;
    }
    // The password of a site as a book reading through the keyring (or not) finds it.
    std::string passwordOf(const std::string& site, platform::IPasswordStore* keyring)
    {
        TSiteBook book(path(), prompt);
        book.Passwords = keyring;
        book.LoadSiteBook();
        for (int record = 1; record <= Layout::kMaxSites && book.Tables.ClassNumber(record) != 0; ++record)
            if (book.Tables.Text(record, Layout::kName) == site)
                return book.Tables.Text(record, Layout::kPassword);
        return "(no such site)";
    }

    QTemporaryDir dir;
    ScriptedPrompt prompt;
};

} // namespace

TEST_F(KeyringBook, ThePasswordsGoToTheKeyringAndComeBackAndTheFileKeepsItsLayout)
{
    if (!std::getenv("QUILL_TEST_KEYRING"))
        GTEST_SKIP() << "needs the Secret Service of tests/config/run_with_keyring.sh";
    auto keyring = platform::DesktopKeyring();
    std::string before;
    platform::readWholeFile(path(), before);
    ASSERT_TRUE(TSiteBook::MovePasswords(path(), prompt, *keyring, true)) << prompt.messages.size();
    std::string after;
    platform::readWholeFile(path(), after);
    EXPECT_EQ(after.size(), before.size()); // the same layout, empty password fields
    EXPECT_FALSE(fileHolds("s3cret-build"));
    EXPECT_FALSE(fileHolds("s3cret-web"));
    EXPECT_EQ(passwordOf("build", keyring.get()), "s3cret-build");
    EXPECT_EQ(passwordOf("web", nullptr), ""); // the file alone knows none

    // A password changed in the site manager goes to the keyring, not the file.
    {
        TSiteBook book(path(), prompt);
        book.Passwords = keyring.get();
        book.LoadSiteBook();
        book.Tables.SetText(2, Layout::kPassword, "changed");
        ASSERT_TRUE(book.SaveSiteBook());
    }
    EXPECT_FALSE(fileHolds("changed"));
    EXPECT_EQ(passwordOf("web", keyring.get()), "changed");

    // A site renamed, and one deleted, leave no entry behind under their old names.
    std::string password, why;
    {
        TSiteBook book(path(), prompt);
        book.Passwords = keyring.get();
        book.LoadSiteBook();
        book.Rename = {TSiteBook::PendingRename::Kind::Site, "build", "builder", "Work"};
        book.RebuildSiteTables();
        ASSERT_TRUE(book.SaveSiteBook());
        book.LoadSiteBook();
        book.Classes[0].Sites.pop_back(); // "web"
        book.RebuildSiteTables();
        ASSERT_TRUE(book.SaveSiteBook());
    }
    EXPECT_EQ(passwordOf("builder", keyring.get()), "s3cret-build");
    EXPECT_EQ(keyring->Read("site-book/Work/build", password, why), platform::IPasswordStore::TFound::No);
    EXPECT_EQ(keyring->Read("site-book/Work/web", password, why), platform::IPasswordStore::TFound::No);

    // Turned off: the file holds them again, the keyring none.
    ASSERT_TRUE(TSiteBook::MovePasswords(path(), prompt, *keyring, false));
    EXPECT_TRUE(fileHolds("s3cret-build"));
    EXPECT_EQ(keyring->Read("site-book/Work/builder", password, why), platform::IPasswordStore::TFound::No);
    EXPECT_TRUE(prompt.messages.empty());
}

TEST_F(KeyringBook, WithoutAKeyringThePasswordsStayInTheFileAndTheUserIsTold)
{
    if (std::getenv("QUILL_TEST_KEYRING"))
        GTEST_SKIP() << "a keyring is running";
    // No session bus: no Secret Service, no wallet.
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/quill-bus");
    auto keyring = platform::DesktopKeyring();
    EXPECT_FALSE(TSiteBook::MovePasswords(path(), prompt, *keyring, true));
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_NE(prompt.messages[0].find("The desktop's keyring cannot be reached"), std::string::npos)
        << prompt.messages[0];
    EXPECT_TRUE(fileHolds("s3cret-build"));
    // Saving through it keeps them in the file too.
    TSiteBook book(path(), prompt);
    book.Passwords = keyring.get();
    book.LoadSiteBook();
    EXPECT_EQ(book.Tables.Text(1, Layout::kPassword), "s3cret-build");
    ASSERT_TRUE(book.SaveSiteBook());
    EXPECT_TRUE(fileHolds("s3cret-web"));
}

namespace {

// The same book, with the keyring locked again after the script opened it: as a desktop's keyring
// is when the user has not unlocked it (nothing here can show the prompt that would ask).
class LockedKeyring : public KeyringBook
{
protected:
    void SetUp() override
    {
        if (!std::getenv("QUILL_TEST_KEYRING"))
            GTEST_SKIP() << "needs the Secret Service of tests/config/run_with_keyring.sh";
        KeyringBook::SetUp();
        QDBusInterface service("org.freedesktop.secrets", "/org/freedesktop/secrets", "org.freedesktop.Secret.Service");
        QList<QDBusObjectPath> collections{QDBusObjectPath("/org/freedesktop/secrets/collection/login")};
        QDBusMessage locked = service.call("Lock", QVariant::fromValue(collections));
        ASSERT_EQ(locked.type(), QDBusMessage::ReplyMessage) << locked.errorMessage().toStdString();
    }
};

} // namespace

TEST_F(LockedKeyring, ThePasswordsStayInTheFileAndTheUserIsTold)
{
    auto keyring = platform::DesktopKeyring();
    std::string before;
    platform::readWholeFile(path(), before);
    EXPECT_FALSE(TSiteBook::MovePasswords(path(), prompt, *keyring, true));
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_NE(prompt.messages[0].find("The desktop's keyring cannot be reached"), std::string::npos)
        << prompt.messages[0];
    std::string after;
    platform::readWholeFile(path(), after);
    EXPECT_EQ(after, before); // nothing moved, nothing lost
    EXPECT_EQ(passwordOf("web", keyring.get()), "s3cret-web");
}
