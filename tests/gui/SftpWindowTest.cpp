// The window on an SFTP server: an sftp:// address typed into the host box logs in over SSH,
// the unknown host key is asked about once (trusted always, it is asked no more), and the
// remote pane shows and enters the server's directories as on FTP.

#include <gtest/gtest.h>

#include <filesystem>

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>

#include <unistd.h>

#include "support/SshServer.h"
#include "support/TestTree.h"
#include "gui/GuiTest.h"

using namespace testsupport;

namespace {

bool sameFile(const std::string& a, const std::string& b)
{
    std::string hash = fileHash(a);
    return !hash.empty() && hash == fileHash(b);
}

} // namespace

TEST(SftpWindow, AnSftpAddressAsksForTheHostKeyOnceAndShowsTheRemotePane)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "sshd tests need root";
    SshServer server;
    ASSERT_TRUE(server.start()) << server.error();
    std::filesystem::create_directories(server.home() + "/docs");
    ASSERT_TRUE(writePatternFile(server.home() + "/b.bin", 3000));
    FtpServer none; // the window's session helpers, with no FTP server behind them
    GuiSession session(none);
    TMainForm& window = *session.window;

    QString shown;
    answerDialog([&](QWidget* dialog) {
        EXPECT_EQ(dialog->objectName(), "HostKeyQuestion");
        auto* box = qobject_cast<QMessageBox*>(dialog);
        ASSERT_NE(box, nullptr);
        shown = box->text() + "\n" + box->informativeText();
        answerDialogWith("Trust Always");
        QTest::qWait(1);
    });
    QString address = QString::fromStdString("sftp://" + server.user() + ":" + server.password() +
                                             "@127.0.0.1:" + std::to_string(server.port()));
    session.child<QComboBox>("cbHostName")->setEditText(address);
    QTest::mouseClick(session.child<QAbstractButton>("sbConnect"), Qt::LeftButton);
    ASSERT_TRUE(waitFor([&] { return window.Logic().SessionState() == ssConnected; }, 20000) && session.settled());
    EXPECT_TRUE(shown.contains(QString::fromStdString(server.fingerprint()))) << shown.toStdString();
    EXPECT_TRUE(shown.contains("ssh-ed25519")) << shown.toStdString();
    EXPECT_EQ(window.windowTitle(), "QuillFTP 2.3 - 127.0.0.1 (SFTP)");
    std::string home = server.home() + "/";
    EXPECT_EQ(window.Logic().RemoteDir(), home);
    QTreeView* remote = session.list(TPane::Remote);
    ASSERT_GE(session.row(TPane::Remote, "b.bin"), 0);
    EXPECT_EQ(remote->model()->index(session.row(TPane::Remote, "b.bin"), 1).data().toString(), "3,000");
    EXPECT_EQ(session.child<QLabel>("sbStatusPanel0")->text(), "Connected (SFTP)");
    // A picture for people to look at, beside those of scripts/screenshots.
    {
        QString pictures = QUILL_SCREENSHOT_DIR;
        window.resize(1000, 680);
        QTest::qWait(50);
        QDir().mkpath(pictures);
        window.grab().save(QString(pictures) + "/connected-sftp.png");
    }
    session.doubleClick(TPane::Remote, "docs");
    ASSERT_TRUE(waitFor([&] { return window.Logic().RemoteDir() == home + "docs/" && session.settled(0); }));

    // Trusted always: the next login (the fields name the same server) asks nothing.
    window.Logic().Disconnect();
    QTest::mouseClick(session.child<QAbstractButton>("sbConnect"), Qt::LeftButton);
    ASSERT_TRUE(waitFor([&] { return window.Logic().SessionState() == ssConnected; }, 20000) && session.settled());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    // A download over SFTP, then one from an FTP server in the same window: each run works
    // through sessions of its own site's protocol.
    session.select(TPane::Remote, {"b.bin"});
    window.Logic().DownloadSelected();
    ASSERT_TRUE(session.settled(30000));
    EXPECT_TRUE(sameFile(session.localDir() + "b.bin", home + "b.bin"));
    FtpServer ftp;
    ASSERT_TRUE(ftp.start()) << ftp.error();
    ASSERT_TRUE(writePatternFile(ftp.localWorkDir() + "/f.bin", 5000, 2));
    answerDialogWith("Yes"); // drop the SFTP session
    window.Logic().ConnectTo({"127.0.0.1", ftp.portText(), ftp.user(), ftp.password()}, ftp.workDir());
    ASSERT_TRUE(waitFor([&] { return window.Logic().SessionState() == ssConnected; }, 20000) && session.settled());
    EXPECT_EQ(window.windowTitle(), "QuillFTP 2.3 - 127.0.0.1");
    session.select(TPane::Remote, {"f.bin"});
    window.Logic().DownloadSelected();
    ASSERT_TRUE(session.settled(30000));
    EXPECT_TRUE(sameFile(session.localDir() + "f.bin", ftp.localWorkDir() + "/f.bin"));
}
