#include "platform/LocalFiles.h"

#include <climits>
#include <cstdlib>

#include <sys/resource.h>
#include <sys/stat.h>

namespace platform {

namespace {

// The real path of what exists of path, with the part that does not exist yet appended; empty
// when that part climbs ("..") or nothing of the path exists.
std::string resolve(std::string path)
{
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
