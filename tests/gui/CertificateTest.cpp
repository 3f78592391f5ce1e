// The window on a server that takes TLS logins only: its certificate, which nothing vouches
// for, is shown in its own question; trusted always, it is not asked about again, and the
// caption tells that the session is protected.

#include <gtest/gtest.h>

#include <QMessageBox>
#include <QTest>

#include "config/CertificateTrust.h"
#include "support/FtpServer.h"
#include "gui/GuiTest.h"

using namespace testsupport;

TEST(WindowTls, AnUnknownCertificateIsAskedAboutOnceAndTrustedAlways)
{
    FtpServer server(ServerKind::Vsftpd);
    server.setTls(ServerTls::Explicit);
    ASSERT_TRUE(server.start()) << server.error();
    GuiSession session(server, "[Security]\nTlsMode=1\n");
    TMainForm& window = *session.window;

    QString shown;
    answerDialog([&](QWidget* dialog) {
        EXPECT_EQ(dialog->objectName(), "CertificateQuestion");
        auto* box = qobject_cast<QMessageBox*>(dialog);
        ASSERT_NE(box, nullptr);
        shown = box->text() + "\n" + box->informativeText();
        answerDialogWith("Trust Always");
        QTest::qWait(1); // the click comes from the next timer tick
    });
    ASSERT_TRUE(session.connectFromToolBar());
    // The fingerprint in two lines of 16 bytes.
    QString fingerprint = QString::fromStdString(server.fingerprint());
    EXPECT_TRUE(shown.contains(fingerprint.left(48) + "\n" + fingerprint.mid(48))) << shown.toStdString();
    EXPECT_TRUE(shown.contains("self-signed")) << shown.toStdString();
    EXPECT_TRUE(window.windowTitle().contains("(protected by TLSv1")) << window.windowTitle().toStdString();
    std::string site = "127.0.0.1:" + server.portText();
    EXPECT_EQ(TCertificateTrust(session.dataDir() + TCertificateTrust::kFileName).Trusted(site), server.fingerprint());

    // Trusted now: the next login asks nothing.
    window.Logic().Disconnect();
    ASSERT_TRUE(session.connectFromToolBar());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}
