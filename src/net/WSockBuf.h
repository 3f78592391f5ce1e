#pragma once

// One block of a socket's outgoing byte queue.

#include <cstdint>
#include <memory>

class TBuffer
{
public:
    static constexpr int32_t kDefaultSize = 1514;

    // A requested size of 0 or less becomes the default size.
    explicit TBuffer(int32_t bufSize = kDefaultSize);
    TBuffer(const TBuffer&) = delete;
    TBuffer& operator=(const TBuffer&) = delete;

    // Appends as many bytes as fit; returns how many were taken.
    int32_t Write(const char* data, int32_t len);
    // The bytes not yet handed to the network.
    const char* Peek(int32_t& len) const;
    // Marks len bytes as handed to the network; an emptied block starts over at 0.
    void Remove(int32_t len);

    // Grows or shrinks the storage, keeping the first WrCount bytes.
    void SetBufSize(int32_t bufSize);

    int32_t BufSize() const { return m_bufSize; }
    int32_t WrCount() const { return m_wrCount; }
    int32_t RdCount() const { return m_rdCount; }
    int32_t Pending() const { return m_wrCount - m_rdCount; }
    bool Full() const { return m_wrCount >= m_bufSize; }

private:
    std::unique_ptr<char[]> m_buf;
    int32_t m_bufSize = 0;
    int32_t m_wrCount = 0; // end of valid data
    int32_t m_rdCount = 0; // start of valid data
};
