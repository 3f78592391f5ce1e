#include "gui/Icons.h"

#include <QHash>

namespace {

// The freedesktop icon names that stand for the program's own, where a theme has one.
const QHash<QString, QString>& themeNames()
{
    static const QHash<QString, QString> names = {
        {"connect", "network-connect"},
        {"disconnect", "network-disconnect"},
        {"abort", "process-stop"},
        {"refresh", "view-refresh"},
        {"reconnect", "view-refresh"},
        {"exit", "application-exit"},
        {"delete", "edit-delete"},
        {"rename", "edit-rename"},
        {"properties", "document-properties"},
        {"preferences", "preferences-system"},
        {"help", "help-contents"},
        {"faq", "help-faq"},
        {"about", "help-about"},
        {"mail", "mail-send"},
        {"home-page", "go-home"},
        {"copy", "edit-copy"},
        {"clear", "edit-clear"},
        {"select-all", "edit-select-all"},
        {"make-directory", "folder-new"},
        {"open-directory", "folder-open"},
        {"folder", "folder"},
        {"folder-open", "folder-open"},
        {"file", "text-x-generic"},
        {"execute", "system-run"},
        {"view", "document-preview"},
        {"edit", "document-edit"},
        {"volume", "drive-harddisk"},
    };
    return names;
}

} // namespace

QIcon GuiIcon(const QString& name)
{
    static QHash<QString, QIcon> cache;
    auto found = cache.constFind(name);
    if (found != cache.constEnd())
        return *found;
    QIcon own(":/icons/" + name + ".svg");
    QString theme = themeNames().value(name);
    QIcon icon = !theme.isEmpty() && QIcon::hasThemeIcon(theme) ? QIcon::fromTheme(theme) : own;
    cache.insert(name, icon);
    return icon;
}
