#pragma once

// Byte streams that transfers read from and write to: a local file, or memory.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace platform {

class TStream
{
public:
    virtual ~TStream() = default;
    // Bytes read (0 at the end), or -1 on failure.
    virtual int64_t Read(char* buffer, int64_t len) = 0;
    // Bytes written (all of them), or -1 on failure.
    virtual int64_t Write(const char* buffer, int64_t len) = 0;
    virtual bool Seek(int64_t position) = 0;
    virtual int64_t Position() const = 0;
    virtual int64_t Size() const = 0;
};

class TFileStream : public TStream
{
public:
    enum class Mode
    {
        Read,           // an existing file, read only
        ReadWriteCreate // created when missing, never truncated
    };

    // The opened stream, or null with errno-style code in error. A directory gives EISDIR; only
    // regular files open for reading (anything else, a FIFO or a device, gives
    // kNotRegularFile); opening never blocks.
    static std::unique_ptr<TFileStream> Open(const std::string& path, Mode mode, int& error);
    ~TFileStream() override;
    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;

    int64_t Read(char* buffer, int64_t len) override;
    int64_t Write(const char* buffer, int64_t len) override;
    bool Seek(int64_t position) override;
    int64_t Position() const override { return m_position; }
    int64_t Size() const override;

    // The file's descriptor, for writes that bypass the stream (then reported with Advanced).
    int Handle() const { return m_handle; }
    void Advanced(int64_t written) { m_position += written; }
    // The file did not exist before this stream opened it.
    bool Created() const { return m_created; }

private:
    explicit TFileStream(int handle) : m_handle(handle) {}

    int m_handle;
    int64_t m_position = 0;
    bool m_created = false;
};

// Writes all of data to a descriptor, through interrupted calls; false (errno set) on failure.
bool WriteAll(int handle, const char* data, int64_t len);

// The error TFileStream::Open gives for what is not a regular file.
constexpr int kNotRegularFile = -1;

// Why a file could not be opened or written, for messages: strerror's text, or "not a regular file".
std::string FileErrorText(int error);

// Bytes in memory. Its block grows by realloc, which moves the pages of a big block rather than
// copying them: a listing near its cap holds about the cap, not twice it.
class TMemoryStream : public TStream
{
public:
    TMemoryStream() = default;
    ~TMemoryStream() override;
    TMemoryStream(const TMemoryStream&) = delete;
    TMemoryStream& operator=(const TMemoryStream&) = delete;

    int64_t Read(char* buffer, int64_t len) override;
    int64_t Write(const char* buffer, int64_t len) override;
    bool Seek(int64_t position) override;
    int64_t Position() const override { return m_position; }
    int64_t Size() const override { return static_cast<int64_t>(m_size); }

    std::string_view Data() const { return {m_data, m_size}; }
    void Clear();

private:
    // Room for size bytes; false when the memory is not there.
    bool Reserve(size_t size);

    char* m_data = nullptr;
    size_t m_size = 0;
    size_t m_capacity = 0;
    int64_t m_position = 0;
};

} // namespace platform
