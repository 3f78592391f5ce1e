#include "platform/DesktopApps.h"

#include <cstdlib>

#include <QDir>
#include <QFile>
#include <QMimeDatabase>
#include <QProcess>
#include <QTextStream>

namespace platform {

namespace {

QString environment(const char* name, const QString& fallback)
{
    const char* value = std::getenv(name);
    return value && *value ? QString::fromLocal8Bit(value) : fallback;
}

QStringList dataDirectories()
{
    QStringList dirs{environment("XDG_DATA_HOME", QDir::homePath() + "/.local/share")};
    dirs += environment("XDG_DATA_DIRS", "/usr/local/share:/usr/share").split(':', Qt::SkipEmptyParts);
    return dirs;
}

// The mimeapps.list files in the order the specification reads them: per directory, the
// current desktops' own lists before the common one.
QStringList mimeAppsLists()
{
    QStringList dirs{environment("XDG_CONFIG_HOME", QDir::homePath() + "/.config")};
    dirs += environment("XDG_CONFIG_DIRS", "/etc/xdg").split(':', Qt::SkipEmptyParts);
    for (const QString& data : dataDirectories())
        dirs += data + "/applications";
    QStringList desktops = environment("XDG_CURRENT_DESKTOP", "").toLower().split(':', Qt::SkipEmptyParts);
    QStringList lists;
    for (const QString& dir : dirs) {
        for (const QString& desktop : desktops)
            lists += dir + "/" + desktop + "-mimeapps.list";
        lists += dir + "/mimeapps.list";
    }
    return lists;
}

// The values of key in a group of a desktop-entry-style file (";"-separated for lists).
QString entryValue(const QString& file, const QString& group, const QString& key)
{
    QFile input(file);
    if (!input.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QTextStream lines(&input);
    bool inGroup = false;
    while (!lines.atEnd()) {
        QString line = lines.readLine().trimmed();
        if (line.startsWith('['))
            inGroup = line == "[" + group + "]";
        else if (inGroup && line.section('=', 0, 0).trimmed() == key)
            return line.section('=', 1).trimmed();
    }
    return {};
}

QString desktopEntryFile(const QString& id)
{
    for (const QString& data : dataDirectories()) {
        // An id "org-x-y.desktop" may also live at "org/x-y.desktop".
        QString path = data + "/applications/" + id;
        if (QFile::exists(path))
            return path;
        QString nested = data + "/applications/" + QString(id).replace('-', '/');
        if (QFile::exists(nested))
            return nested;
    }
    return {};
}

// An entry's Exec line with the file put in: %f %F %u %U take the path, %% is a "%", the other
// field codes go.
std::optional<std::vector<std::string>> commandOf(const QString& entryFile, const std::string& path)
{
    if (entryValue(entryFile, "Desktop Entry", "Terminal") == "true" ||
        entryValue(entryFile, "Desktop Entry", "Hidden") == "true")
        return std::nullopt;
    QString exec = entryValue(entryFile, "Desktop Entry", "Exec");
    QStringList words = QProcess::splitCommand(exec);
    if (words.isEmpty())
        return std::nullopt;
    std::vector<std::string> command;
    bool placed = false;
    for (const QString& word : words) {
        QString text;
        for (qsizetype i = 0; i < word.size(); ++i) {
            if (word[i] != '%' || i + 1 == word.size()) {
                text += word[i];
                continue;
            }
            QChar code = word[++i];
            if (code == '%') {
                text += '%';
            } else if (code == 'f' || code == 'F' || code == 'u' || code == 'U') {
                text += QString::fromStdString(path);
                placed = true;
            }
        }
        if (!text.isEmpty())
            command.push_back(text.toStdString());
    }
    if (!placed)
        command.push_back(path);
    return command;
}

} // namespace

bool isTextFile(const std::string& path)
{
    return QMimeDatabase().mimeTypeForFile(QString::fromStdString(path)).inherits("text/plain");
}

std::optional<std::vector<std::string>> textEditorCommand(const std::string& path)
{
    for (const QString& list : mimeAppsLists()) {
        for (const QString& id :
             entryValue(list, "Default Applications", "text/plain").split(';', Qt::SkipEmptyParts)) {
            QString entry = desktopEntryFile(id.trimmed());
            if (entry.isEmpty())
                continue;
            if (auto command = commandOf(entry, path))
                return command;
        }
    }
    return std::nullopt;
}

} // namespace platform
