#include "net/WSockBuf.h"

#include <algorithm>
#include <cstring>

TBuffer::TBuffer(int32_t bufSize)
{
    SetBufSize(bufSize);
}

void TBuffer::SetBufSize(int32_t bufSize)
{
    if (bufSize <= 0)
        bufSize = kDefaultSize;
    auto storage = std::make_unique<char[]>(static_cast<size_t>(bufSize));
    if (m_wrCount > 0) {
        m_wrCount = std::min(m_wrCount, bufSize);
        m_rdCount = std::min(m_rdCount, m_wrCount);
        std::memcpy(storage.get(), m_buf.get(), static_cast<size_t>(m_wrCount));
    } else {
        m_wrCount = m_rdCount = 0;
    }
    m_buf = std::move(storage);
    m_bufSize = bufSize;
}

int32_t TBuffer::Write(const char* data, int32_t len)
{
    int32_t taken = std::clamp(m_bufSize - m_wrCount, 0, std::max(len, 0));
    if (taken > 0)
        std::memcpy(m_buf.get() + m_wrCount, data, static_cast<size_t>(taken));
    m_wrCount += taken;
    return taken;
}

const char* TBuffer::Peek(int32_t& len) const
{
    len = m_wrCount - m_rdCount;
    return m_buf.get() + m_rdCount;
}

void TBuffer::Remove(int32_t len)
{
    m_rdCount = std::min(m_rdCount + std::max(len, 0), m_wrCount);
    if (m_rdCount == m_wrCount)
        m_rdCount = m_wrCount = 0;
}
