// A run that took a while ends while the window is not in view: a notice goes to the desktop's
// notification service over a real session bus (a dbus-daemon of the test's own, and a
// listener that owns the service's name), and the dock's entry shows the run's progress.

#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QProcess>

#include "gui/GuiTest.h"
#include "support/TestTree.h"

using namespace testsupport;

namespace {

// Stands in for the desktop's notification service: keeps the arguments of each Notify.
class NoticeListener : public QDBusVirtualObject
{
public:
    std::vector<QVariantList> notices;

    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override
    {
        if (message.interface() != "org.freedesktop.Notifications" || message.member() != "Notify")
            return false;
        notices.push_back(message.arguments());
        connection.send(message.createReply(QVariant::fromValue(1u)));
        return true;
    }
};

// Stands in for a dock: keeps the launcher entry's updates of progress.
class LauncherListener : public QObject
{
    Q_OBJECT
public:
    std::vector<std::pair<bool, double>> updates;

public slots:
    void Update(const QString& application, const QVariantMap& properties)
    {
        if (application == "application://org.quillftp.QuillFtp.desktop")
            updates.push_back({properties.value("progress-visible").toBool(), properties.value("progress").toDouble()});
    }
};

} // namespace

TEST(DesktopNotice, ALongRunEndingOutOfViewIsNoticedOnTheSessionBus)
{
    QProcess bus;
    bus.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
    ASSERT_TRUE(bus.waitForStarted(5000));
    ASSERT_TRUE(waitFor([&] { return bus.canReadLine(); }, 5000));
    QString address = QString::fromUtf8(bus.readLine()).trimmed();
    // This process's session bus is the test's own (set before anything here connects to one).
    qputenv("DBUS_SESSION_BUS_ADDRESS", address.toUtf8());
    QDBusConnection service = QDBusConnection::connectToBus(address, "notification-service");
    ASSERT_TRUE(service.isConnected());
    NoticeListener listener;
    ASSERT_TRUE(service.registerVirtualObject("/org/freedesktop/Notifications", &listener));
    ASSERT_TRUE(service.registerService("org.freedesktop.Notifications"));
    LauncherListener dock;
    ASSERT_TRUE(service.connect(QString(), QString(), "com.canonical.Unity.LauncherEntry", "Update", &dock,
                                SLOT(Update(QString, QVariantMap))));

    FtpServer server;
    server.setVariant({"--rate", "1000000"});
    ASSERT_TRUE(writePatternFile(server.localWorkDir() + "/slow.bin", 5600000, 4));
    ASSERT_TRUE(server.start()) << server.error();
    {
        GuiSession session(server, "[FtpCliNum]\nFtpCliNum=1\n");
        ASSERT_TRUE(session.connectFromToolBar());
        // Another window has the desktop's attention.
        QWidget elsewhere;
        elsewhere.show();
        elsewhere.activateWindow();
        QApplication::setActiveWindow(&elsewhere);
        ASSERT_TRUE(waitFor([&] { return !session.window->isActiveWindow(); }, 2000));
        session.select(TPane::Remote, {"slow.bin"});
        session.window->Logic().DownloadSelected();
        ASSERT_TRUE(waitFor([&] { return !listener.notices.empty(); }, 30000));
        ASSERT_TRUE(session.settled());
    }
    const QVariantList& notice = listener.notices.front();
    ASSERT_EQ(notice.size(), 8);
    EXPECT_EQ(notice[0].toString(), "QuillFTP");
    EXPECT_EQ(notice[3].toString(), "QuillFTP: transfers done");
    EXPECT_TRUE(notice[4].toString().startsWith("5,600,000 bytes in 00:00:0")) << notice[4].toString().toStdString();
    // The dock's entry showed the run's progress rising, and hid it at the end.
    ASSERT_TRUE(waitFor([&] { return dock.updates.size() >= 3 && !dock.updates.back().first; }, 5000));
    EXPECT_TRUE(dock.updates.front().first);
    EXPECT_GT(dock.updates[dock.updates.size() - 2].second, dock.updates.front().second);
    server.stop();
    service.unregisterService("org.freedesktop.Notifications");
    QDBusConnection::disconnectFromBus("notification-service");
    bus.terminate();
    bus.waitForFinished(5000);
}

#include "DesktopNoticeTest.moc"
