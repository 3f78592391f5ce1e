#include "platform/Stream.h"

#include <algorithm>
#include <cstdlib>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

std::unique_ptr<TFileStream> TFileStream::Open(const std::string& path, Mode mode, int& error)
{
    // Non-blocking for the open only: a FIFO or a device must not stop the program in open().
    int flags = O_CLOEXEC | O_NONBLOCK | (mode == Mode::Read ? O_RDONLY : O_RDWR);
    bool created = false;
    int handle = -1;
    if (mode == Mode::ReadWriteCreate) {
        handle = ::open(path.c_str(), flags | O_CREAT | O_EXCL, 0644);
        created = handle >= 0;
    }
    if (handle < 0)
        handle = ::open(path.c_str(), flags | (mode == Mode::Read ? 0 : O_CREAT), 0644);
    if (handle < 0) {
        error = errno;
        return nullptr;
    }
    struct stat info
    {
    };
    bool known = ::fstat(handle, &info) == 0;
    if (!known || S_ISDIR(info.st_mode) || (mode == Mode::Read && !S_ISREG(info.st_mode))) {
        error = known && S_ISDIR(info.st_mode) ? EISDIR : kNotRegularFile;
        ::close(handle);
        return nullptr;
    }
    ::fcntl(handle, F_SETFL, ::fcntl(handle, F_GETFL) & ~O_NONBLOCK);
    error = 0;
    auto stream = std::unique_ptr<TFileStream>(new TFileStream(handle));
    stream->m_created = created;
    return stream;
}

std::string FileErrorText(int error)
{
    return error == kNotRegularFile ? "not a regular file" : std::strerror(error);
}

TFileStream::~TFileStream()
{
    ::close(m_handle);
}

int64_t TFileStream::Read(char* buffer, int64_t len)
{
    for (;;) {
        ssize_t got = ::read(m_handle, buffer, static_cast<size_t>(std::max<int64_t>(len, 0)));
        if (got < 0 && errno == EINTR)
            continue;
        if (got > 0)
            m_position += got;
        return got;
    }
}

bool WriteAll(int handle, const char* data, int64_t len)
{
    for (int64_t done = 0; done < len;) {
        ssize_t put = ::write(handle, data + done, static_cast<size_t>(len - done));
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return false;
        done += put;
    }
    return true;
}

int64_t TFileStream::Write(const char* buffer, int64_t len)
{
    if (!WriteAll(m_handle, buffer, len))
        return -1;
    m_position += len;
    return len;
}

bool TFileStream::Seek(int64_t position)
{
    if (position < 0 || ::lseek(m_handle, position, SEEK_SET) != position)
        return false;
    m_position = position;
    return true;
}

int64_t TFileStream::Size() const
{
    struct stat info
    {
    };
    return ::fstat(m_handle, &info) == 0 ? static_cast<int64_t>(info.st_size) : -1;
}

TMemoryStream::~TMemoryStream()
{
    std::free(m_data);
}

bool TMemoryStream::Reserve(size_t size)
{
    if (size <= m_capacity)
        return true;
    // By half again, but by 64 MiB at the most: a listing near its 256 MiB cap then takes
    // little more than the cap, not half as much again.
    constexpr size_t kLargestStep = size_t(64) << 20;
    size_t step = std::min(m_capacity / 2, kLargestStep);
    size_t capacity = std::max<size_t>(size, m_capacity < 4096 ? 4096 : m_capacity + step);
    char* grown = static_cast<char*>(std::realloc(m_data, capacity));
    if (!grown)
        return false;
    m_data = grown;
    m_capacity = capacity;
    return true;
}

int64_t TMemoryStream::Read(char* buffer, int64_t len)
{
    int64_t available = std::max<int64_t>(0, Size() - m_position);
    int64_t count = std::clamp<int64_t>(len, 0, available);
    if (count > 0)
        std::memcpy(buffer, m_data + m_position, static_cast<size_t>(count));
    m_position += count;
    return count;
}

int64_t TMemoryStream::Write(const char* buffer, int64_t len)
{
    if (len <= 0)
        return 0;
    size_t end = static_cast<size_t>(m_position + len);
    if (!Reserve(end)) {
        errno = ENOMEM;
        return 0;
    }
    if (static_cast<size_t>(m_position) > m_size)
        std::memset(m_data + m_size, 0, static_cast<size_t>(m_position) - m_size);
    std::memcpy(m_data + m_position, buffer, static_cast<size_t>(len));
    m_size = std::max(m_size, end);
    m_position += len;
    return len;
}

bool TMemoryStream::Seek(int64_t position)
{
    if (position < 0)
        return false;
    size_t wanted = static_cast<size_t>(position);
    if (wanted > m_size) {
        if (!Reserve(wanted))
            return false;
        std::memset(m_data + m_size, 0, wanted - m_size);
        m_size = wanted;
    }
    m_position = position;
    return true;
}

void TMemoryStream::Clear()
{
    std::free(m_data);
    m_data = nullptr;
    m_size = 0;
    m_capacity = 0;
    m_position = 0;
}

} // namespace platform
