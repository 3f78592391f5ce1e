#include "platform/Paths.h"

#include <cstdlib>

#include <unistd.h>

#include <QCoreApplication>
#include <QDir>

namespace platform {

namespace {

std::string withSlash(std::string path)
{
    if (path.empty() || path.back() != '/')
        path += '/';
    return path;
}

} // namespace

std::string programDirectory()
{
    if (QCoreApplication::instance())
        return withSlash(QCoreApplication::applicationDirPath().toStdString());
    char link[4096];
    ssize_t length = ::readlink("/proc/self/exe", link, sizeof link - 1);
    if (length <= 0)
        return "./";
    std::string path(link, static_cast<size_t>(length));
    return withSlash(path.substr(0, path.rfind('/')));
}

std::string shippedFilesDirectory()
{
    std::string program = programDirectory();
    if (::access((program + "help.htm").c_str(), R_OK) == 0)
        return program;
    // Installed: the executables in bin/, the rest in share/quillftp/ beside it.
    std::string shared = program + "../share/quillftp/";
    if (::access((shared + "help.htm").c_str(), R_OK) == 0)
        return withSlash(QDir::cleanPath(QString::fromStdString(shared)).toStdString());
    return program;
}

std::string dataDirectory()
{
    std::string directory;
    if (const char* home = std::getenv("QUILLFTP_HOME"); home && *home) {
        directory = home;
    } else if (::access(programDirectory().c_str(), W_OK) == 0) {
        directory = programDirectory();
    } else if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config) {
        directory = std::string(config) + "/quillftp";
    } else {
        const char* user = std::getenv("HOME");
        directory = std::string(user ? user : ".") + "/.config/quillftp";
    }
    QDir().mkpath(QString::fromStdString(directory));
    return withSlash(directory);
}

} // namespace platform
