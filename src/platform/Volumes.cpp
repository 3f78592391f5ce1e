#include "platform/Volumes.h"
#include "platform/Translate.h"

using platform::Tr;

#include <algorithm>
#include <cstdlib>
#include <ctime>

#include <sys/stat.h>

#include <QFile>
#include <QStorageInfo>

namespace platform {

std::vector<std::string> volumeRoots()
{
    std::vector<std::string> roots{"/"};
    if (const char* home = std::getenv("HOME"); home && *home) {
        std::string path = home;
        if (path.back() != '/')
            path += '/';
        roots.push_back(path);
    }
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid() || !volume.isReady())
            continue;
        std::string path = volume.rootPath().toStdString();
        // System mounts are of no use in a file pane.
        if (path.rfind("/proc", 0) == 0 || path.rfind("/sys", 0) == 0 || path.rfind("/dev", 0) == 0 ||
            path.rfind("/run", 0) == 0)
            continue;
        if (path.back() != '/')
            path += '/';
        if (std::find(roots.begin(), roots.end(), path) == roots.end())
            roots.push_back(path);
    }
    return roots;
}

std::string volumeName(const std::string& root)
{
    if (root == "/")
        return Tr("Volumes", "File System");
    std::string path = root;
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    if (const char* home = std::getenv("HOME"); home && *home) {
        std::string homePath = home;
        while (homePath.size() > 1 && homePath.back() == '/')
            homePath.pop_back();
        if (path == homePath)
            return Tr("Volumes", "Home");
    }
    QStorageInfo volume(QString::fromStdString(path));
    if (volume.isValid() && volume.rootPath().toStdString() == path && !volume.name().isEmpty())
        return volume.name().toStdString();
    return path.substr(path.rfind('/') + 1);
}

bool moveToTrash(const std::string& path, std::string* reason)
{
    QFile file(QString::fromStdString(path));
    if (file.moveToTrash())
        return true;
    if (reason)
        *reason = file.exists() ? file.errorString().toStdString() : Tr("Volumes", "it is no longer there");
    return false;
}

} // namespace platform
