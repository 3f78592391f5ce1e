#include "platform/AtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

bool writeFileAtomically(const std::string& path, const std::string& bytes, const std::function<bool()>& beforeRename)
{
    std::string pattern = path + ".XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    int handle = ::mkstemp(name.data()); // created 0600
    if (handle < 0)
        return false;
    std::string temporary = name.data();
    bool written = true;
    for (size_t done = 0; written && done < bytes.size();) {
        ssize_t put = ::write(handle, bytes.data() + done, bytes.size() - done);
        if (put < 0 && errno == EINTR)
            continue;
        written = put > 0;
        if (written)
            done += static_cast<size_t>(put);
    }
    written = written && ::fsync(handle) == 0;
    written = ::close(handle) == 0 && written;
    if (!written || (beforeRename && !beforeRename()) || ::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

bool readWholeFile(const std::string& path, std::string& bytes)
{
    bytes.clear();
    int handle = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (handle < 0)
        return false;
    char buffer[65536];
    for (;;) {
        ssize_t got = ::read(handle, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            ::close(handle);
            return got == 0;
        }
        bytes.append(buffer, static_cast<size_t>(got));
    }
}

bool copyFileAtomically(const std::string& from, const std::string& to)
{
    std::string bytes;
    return readWholeFile(from, bytes) && writeFileAtomically(to, bytes);
}

bool fileExists(const std::string& path)
{
    struct stat info
    {
    };
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

} // namespace platform
