#include "platform/LocalFiles.h"

#include <climits>
#include <cstdlib>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// The real path of what exists of path, with the part that does not exist yet appended; empty
// when that part climbs ("..") or nothing of the path exists. A link to what does not exist
// yet counts as where it leads: a file made through it would be made there.
std::string resolve(std::string path, int links = 0)
{
    constexpr int kMostLinks = 40; // as the kernel follows at the most
    std::string rest;
    for (;;) {
        while (path.size() > 1 && path.back() == '/')
            path.pop_back();
        char buffer[PATH_MAX];
        if (::realpath(path.c_str(), buffer)) {
            std::string real = buffer;
            if (rest.empty())
                return real;
            return real == "/" ? "/" + rest : real + "/" + rest;
        }
        size_t slash = path.rfind('/');
        if (slash == std::string::npos)
            return {};
        struct stat info
        {
        };
        if (::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
            ssize_t length = ::readlink(path.c_str(), buffer, sizeof(buffer));
            if (length <= 0 || length == sizeof(buffer) || links == kMostLinks)
                return {};
            std::string target(buffer, static_cast<size_t>(length));
            std::string next = target[0] == '/' ? target : path.substr(0, slash + 1) + target;
            return resolve(rest.empty() ? next : next + "/" + rest, links + 1);
        }
        std::string part = path.substr(slash + 1);
        if (part == "..")
            return {};
        if (!part.empty() && part != ".")
            rest = rest.empty() ? part : part + "/" + rest;
        path = slash == 0 ? "/" : path.substr(0, slash); // realpath("/") ends the loop
    }
}

} // namespace

bool isInsideDirectory(const std::string& path, const std::string& directory)
{
    std::string target = resolve(path);
    std::string root = resolve(directory);
    if (target.empty() || root.empty())
        return false;
    if (root == "/")
        return true;
    return target.size() > root.size() && target.compare(0, root.size(), root) == 0 && target[root.size()] == '/';
}

bool isSymbolicLink(const std::string& path)
{
    struct stat info
    {
    };
    return ::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
}

bool isRegularFile(const std::string& path)
{
    struct stat info
    {
    };
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

int raiseDescriptorLimit()
{
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0)
        return 1024;
    if (limit.rlim_cur < limit.rlim_max) {
        rlimit raised = limit;
        raised.rlim_cur = limit.rlim_max;
        if (::setrlimit(RLIMIT_NOFILE, &raised) == 0)
            limit = raised;
    }
    return limit.rlim_cur > INT_MAX ? INT_MAX : static_cast<int>(limit.rlim_cur);
}

} // namespace platform
