#include "net/CustomLineWSocket.h"

#include <algorithm>
#include <cstring>

void TCustomLineWSocket::SetLineMode(bool value)
{
    if (value == m_lineMode)
        return;
    m_lineMode = value;
    // Bytes already here are handed over again in the new mode, from the loop, not from here.
    if (!m_buffer.empty() || m_lineLength > 0)
        PostCall([this] { Redeliver(); });
}

void TCustomLineWSocket::Redeliver()
{
    while (!m_buffer.empty() && State() == wsConnected) {
        size_t before = m_buffer.size();
        TriggerDataAvailable(0);
        if (m_buffer.size() == before)
            break; // nothing more is taken now; the next data or mode change goes on
    }
}

int TCustomLineWSocket::GetRcvdCount()
{
    if (LineModeActive())
        return static_cast<int>(m_lineLength);
    int network = TCustomSocksWSocket::GetRcvdCount();
    return static_cast<int>(m_buffer.size()) + std::max(network, 0);
}

int TCustomLineWSocket::DoRecv(void* buffer, int len, int flags)
{
    size_t available = LineModeActive() ? m_lineLength : m_buffer.size();
    if (available == 0 || len <= 0)
        return TCustomSocksWSocket::DoRecv(buffer, len, flags);
    size_t count = std::min(available, static_cast<size_t>(len));
    std::memcpy(buffer, m_buffer.data(), count);
    m_buffer.erase(0, count);
    m_lineLength -= std::min(m_lineLength, count);
    return static_cast<int>(count);
}

void TCustomLineWSocket::DeliverLine()
{
    m_lineReceived = true;
    while (LineModeActive() && m_lineLength > 0) {
        if (!OnDataAvailable) {
            m_buffer.erase(0, m_lineLength); // nobody wants it
            m_lineLength = 0;
            return;
        }
        size_t before = m_lineLength;
        TCustomSocksWSocket::TriggerDataAvailable(0);
        if (m_lineLength == before || State() == wsClosed)
            return;
    }
}

bool TCustomLineWSocket::TriggerDataAvailable(int error)
{
    if (!LineModeActive())
        return TCustomSocksWSocket::TriggerDataAvailable(error);

    int readable = TCustomSocksWSocket::GetRcvdCount();
    size_t searchFrom = m_buffer.size() > LineEnd.size() ? m_buffer.size() - LineEnd.size() : 0;
    if (readable > 0) {
        std::string received(static_cast<size_t>(readable), '\0');
        int got = Receive(received.data(), readable);
        if (got < 1)
            return true;
        received.resize(static_cast<size_t>(got));
        if (LineEdit) {
            EditLine(received);
            searchFrom = 0;
        } else {
            if (LineEcho)
                SendStr(received);
            m_buffer += received;
        }
    } else {
        searchFrom = 0; // a redelivery: look at what is buffered
    }

    while (LineModeActive() && m_lineLength == 0) {
        size_t end = m_buffer.find(LineEnd, searchFrom);
        if (end == std::string::npos) {
            if (m_buffer.size() < kMaxLineLength)
                break; // wait for the rest of the line
            if (OnLineTooLong)
                OnLineTooLong(this);
            m_lineLength = m_buffer.size();
        } else {
            m_lineLength = end + LineEnd.size();
        }
        DeliverLine();
        if (m_lineLength > 0 || State() == wsClosed)
            break; // the handler left part of the line, or went away
        searchFrom = 0;
    }
    return true;
}

void TCustomLineWSocket::TriggerSessionClosed(int error)
{
    m_lineReceived = true;
    if (LineModeActive() && !m_buffer.empty()) {
        // What is left without a terminator is the last line.
        m_lineLength = m_buffer.size();
        DeliverLine();
    }
    m_buffer.clear();
    m_lineLength = 0;
    TCustomSocksWSocket::TriggerSessionClosed(error);
}

void TCustomLineWSocket::EditLine(const std::string& received)
{
    for (char c : received) {
        size_t lineStart = m_buffer.rfind('\n');
        lineStart = lineStart == std::string::npos ? 0 : lineStart + 1;
        if (c == '\b') {
            if (m_buffer.size() > lineStart) {
                if (LineEcho)
                    SendStr("\b \b");
                m_buffer.pop_back();
            }
        } else if (c == '\t') {
            size_t column = m_buffer.size() - lineStart;
            size_t blanks = 8 - column % 8;
            m_buffer.append(blanks, ' ');
            if (LineEcho)
                SendStr(std::string(blanks, ' '));
        } else {
            m_buffer += c;
            if (LineEcho)
                SendStr(std::string(1, c));
        }
    }
}

int TCustomLineWSocket::ReceiveToFile(int fileHandle, int len)
{
    size_t available = LineModeActive() ? m_lineLength : m_buffer.size();
    if (available == 0)
        return TCustomSocksWSocket::ReceiveToFile(fileHandle, len);
    int count = static_cast<int>(std::min(available, static_cast<size_t>(std::max(len, 0))));
    int written = WriteHeldBytes(fileHandle, m_buffer.data(), count);
    if (written > 0) {
        m_buffer.erase(0, static_cast<size_t>(written));
        m_lineLength -= std::min(m_lineLength, static_cast<size_t>(written));
    }
    return written;
}
