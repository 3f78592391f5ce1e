#include "gui/DesktopNotice.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QStringList>
#include <QVariantMap>

void SendDesktopNotice(const QString& summary, const QString& body)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    QDBusMessage notify = QDBusMessage::createMethodCall(
        "org.freedesktop.Notifications", "/org/freedesktop/Notifications", "org.freedesktop.Notifications", "Notify");
    QVariantMap hints;
    hints.insert("desktop-entry", QString("org.quillftp.QuillFtp"));
    notify << QString("QuillFTP") << 0u << QString("org.quillftp.QuillFtp") << summary << body << QStringList() << hints
           << -1;
    bus.send(notify); // the answer (the notice's number) is of no use here
}

void ShowLauncherProgress(bool visible, double progress)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    QDBusMessage update = QDBusMessage::createSignal("/org/quillftp/QuillFtp/LauncherEntry",
                                                     "com.canonical.Unity.LauncherEntry", "Update");
    QVariantMap properties;
    properties.insert("progress", progress);
    properties.insert("progress-visible", visible);
    update << QString("application://org.quillftp.QuillFtp.desktop") << properties;
    bus.send(update);
}
