#include "net/CustomWSocket.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/ioctl.h>
#include <sys/sendfile.h>
#include <sys/socket.h>
#include <unistd.h>

#include "net/TlsSession.h"
#include "net/WSocketResolve.h"
#include "platform/NameLookup.h"
#include "platform/SocketNotifier.h"
#include "platform/Stream.h"

namespace {

// Errors that a non-blocking connect may report at once on this platform; the program's
// contract delivers them through the connect notification instead.
bool isDeferredConnectError(int code)
{
    switch (code) {
    case 10051: // network unreachable
    case 10054: // reset
    case 10060: // timed out
    case 10061: // refused
    case 10065: // no route to host
        return true;
    default:
        return false;
    }
}

std::string formatNumber(const char* pattern, int number)
{
    std::array<char, 256> text{};
    std::snprintf(text.data(), text.size(), pattern, number);
    return text.data();
}

} // namespace

TCustomWSocket::TCustomWSocket()
{
    AssignDefaultValue();
}

TCustomWSocket::~TCustomWSocket()
{
    m_destroying = true;
    *m_alive = false;
    CancelDnsLookup();
    if (m_state != wsClosed || m_hSocket != INVALID_SOCKET) {
        try {
            Close();
        } catch (const std::exception&) {
            // Nothing left to tell anyone.
        }
    }
    ClosePipe();
}

void TCustomWSocket::ClosePipe()
{
    for (int& handle : m_pipe) {
        if (handle >= 0)
            ::close(handle);
        handle = -1;
    }
}

// ---------------------------------------------------------------- properties

void TCustomWSocket::SetAddr(const std::string& value)
{
    if (m_state != wsClosed) {
        RaiseException("Cannot change Addr if not closed");
        return;
    }
    std::string text = WSocketTrim(value);
    if (m_addrAssigned && text == m_addrStr)
        return;
    m_addrStr = text;
    m_addrResolved = false;
    m_addrAssigned = !text.empty();
}

void TCustomWSocket::SetPort(const std::string& value)
{
    if (m_state != wsClosed) {
        RaiseException("Cannot change Port if not closed");
        return;
    }
    std::string text = WSocketTrim(value);
    if (m_portAssigned && text == m_portStr)
        return;
    m_portStr = text;
    m_portResolved = false;
    m_portAssigned = !text.empty();
}

void TCustomWSocket::SetProto(const std::string& value)
{
    if (m_state != wsClosed) {
        RaiseException("Cannot change Proto if not closed");
        return;
    }
    std::string text = WSocketTrim(value);
    if (m_protoAssigned && text == m_protoStr)
        return;
    m_protoStr = text;
    m_protoResolved = false;
    m_protoAssigned = !text.empty();
}

void TCustomWSocket::SetLocalAddr(const std::string& value)
{
    if (m_state != wsClosed) {
        RaiseException("Cannot change LocalAddr if not closed");
        return;
    }
    std::string text = WSocketTrim(value);
    if (text.empty()) {
        m_localAddr = "0.0.0.0";
        return;
    }
    try {
        m_localAddr = WSocketDottedAddress(WSocketResolveHost(text));
    } catch (const ESocketException&) {
        RaiseException("SetLocalAddr(): Invalid IP address");
    }
}

void TCustomWSocket::SetLocalPort(const std::string& value)
{
    if (m_state != wsClosed) {
        RaiseException("Cannot change LocalPort if not closed");
        return;
    }
    m_localPortStr = WSocketTrim(value);
    m_localPortResolved = false;
}

int TCustomWSocket::SendFlags() const
{
    if (m_sendFlags != wsSendNormal && m_sendFlags != wsSendUrgent)
        throw ESocketException("Invalid internal SendFlags");
    return m_sendFlags;
}

void TCustomWSocket::SetSendFlags(int flags)
{
    if (flags != wsSendNormal && flags != wsSendUrgent) {
        RaiseException("Invalid SendFlags");
        return;
    }
    m_sendFlags = flags;
}

// ---------------------------------------------------------------- connecting and listening

void TCustomWSocket::Connect()
{
    if (m_hSocket != INVALID_SOCKET && m_state != wsClosed) {
        RaiseException("Connect: Socket already in use");
        return;
    }
    if (!m_portAssigned) {
        RaiseException("Connect: No Port Specified");
        return;
    }
    if (!m_addrAssigned) {
        RaiseException("Connect: No IP Address Specified");
        return;
    }
    if (!m_protoAssigned) {
        RaiseException("Connect: No Protocol Specified");
        return;
    }

    ResolveAddresses(true);

    m_hSocket = ::socket(m_sin.Family(), m_type | SOCK_NONBLOCK | SOCK_CLOEXEC, m_proto);
    if (m_hSocket == INVALID_SOCKET) {
        WSASetLastErrorFromErrno();
        SocketError("Connect (socket)");
        return;
    }
    ChangeState(wsOpened);

    if (m_type == SOCK_STREAM) {
        if (m_localPortNo != 0 || m_localAddr != "0.0.0.0")
            BindSocket();
        ApplyLinger();
        SetSocketOption(SOL_SOCKET, SO_KEEPALIVE, 1, "setsockopt(SO_KEEPALIVE)");
        SetSocketOption(SOL_SOCKET, SO_REUSEADDR, 1, "setsockopt(SO_REUSEADDR)");
        if (m_componentOptions & wsoTcpNoDelay)
            SetSocketOption(IPPROTO_TCP, TCP_NODELAY, 1, "setsockopt(TCP_NODELAY)");
    } else {
        BindSocket();
        if (m_sin.IsBroadcast())
            SetSocketOption(SOL_SOCKET, SO_BROADCAST, 1, "setsockopt(SO_BROADCAST)");
    }
    if (m_hSocket == INVALID_SOCKET)
        return; // an option failed and the error handler closed the socket
    Watch(m_hSocket);

    if (::connect(m_hSocket, m_sin.Raw(), m_sin.Length()) != 0) {
        int code = errno == EINPROGRESS ? wsa::kWouldBlock : WSASetLastErrorFromErrno();
        if (code == wsa::kWouldBlock) {
            // The outcome arrives as the connect notification.
        } else if (isDeferredConnectError(code) && m_type == SOCK_STREAM) {
            m_notifier->watchWrite(false);
            PostNotification(FD_CONNECT, code);
        } else {
            m_lastError = code;
            SocketError("Connect");
            return;
        }
    }
    if (m_type == SOCK_STREAM) {
        ChangeState(wsConnecting);
    } else {
        ChangeState(wsConnected);
        TriggerSessionConnected(0);
    }
}

void TCustomWSocket::ResolveAddresses(bool withLocalPort)
{
    if (!m_protoResolved) {
        m_proto = WSocketResolveProto(m_protoStr);
        m_type = m_proto == IPPROTO_UDP ? SOCK_DGRAM : SOCK_STREAM;
        m_protoResolved = true;
    }
    if (!m_portResolved) {
        m_portNo = WSocketResolvePort(m_portStr, m_protoStr);
        m_portResolved = true;
    }
    if (withLocalPort && !m_localPortResolved) {
        m_localPortNo = WSocketResolvePort(m_localPortStr, m_protoStr);
        m_localPortResolved = true;
    }
    if (!m_addrResolved) {
        m_sin = TSocketAddress::Resolve(m_addrStr, m_portNo);
        m_addrResolved = true;
    }
    m_sin.SetPort(m_portNo);
    m_sendQueue.clear();
}

void TCustomWSocket::BindSocket()
{
    // The default local address is the wildcard of the remote address's family.
    TSocketAddress local = m_localAddr == "0.0.0.0" ? TSocketAddress::Any(m_sin.Family(), m_localPortNo)
                                                    : TSocketAddress::Resolve(m_localAddr, m_localPortNo);
    if (::bind(m_hSocket, local.Raw(), local.Length()) != 0) {
        int code = WSASetLastErrorFromErrno();
        RaiseException(formatNumber("winsock.bind failed, error #%d", code));
        return;
    }
    if (::getsockname(m_hSocket, local.Raw(), local.LengthSlot()) != 0) {
        int code = WSASetLastErrorFromErrno();
        RaiseException(formatNumber("winsock.getsockname failed, error #%d", code));
        return;
    }
    m_localPortNo = local.Port();
    m_localPortStr = std::to_string(m_localPortNo);
}

void TCustomWSocket::Listen()
{
    if (!m_portAssigned) {
        WSASetLastError(wsa::kInvalidArgument);
        RaiseException("listen: port not assigned");
        return;
    }
    if (!m_protoAssigned) {
        WSASetLastError(wsa::kInvalidArgument);
        RaiseException("listen: protocol not assigned");
        return;
    }
    if (!m_addrAssigned) {
        WSASetLastError(wsa::kInvalidArgument);
        RaiseException("listen: address not assigned");
        return;
    }
    ResolveAddresses(false);

    m_hSocket = ::socket(m_sin.Family(), m_type | SOCK_NONBLOCK | SOCK_CLOEXEC, m_proto);
    if (m_hSocket == INVALID_SOCKET) {
        WSASetLastErrorFromErrno();
        SocketError("socket");
        return;
    }
    if (::bind(m_hSocket, m_sin.Raw(), m_sin.Length()) != 0) {
        WSASetLastErrorFromErrno();
        SocketError("Bind");
        Close();
        return;
    }
    ChangeState(wsBound);
    if (m_type == SOCK_DGRAM) {
        ChangeState(wsListening);
        ChangeState(wsConnected);
        TriggerSessionConnected(0);
    } else {
        if (::listen(m_hSocket, 5) != 0) {
            WSASetLastErrorFromErrno();
            SocketError("Listen");
            return;
        }
        ChangeState(wsListening);
    }
    if (m_hSocket != INVALID_SOCKET)
        Watch(m_hSocket);
}

TSocket TCustomWSocket::Accept()
{
    if (m_state != wsListening) {
        WSASetLastError(wsa::kInvalidArgument);
        SocketError("not a listening socket");
        return INVALID_SOCKET;
    }
    TSocketAddress peer;
    TSocket accepted = ::accept4(m_hSocket, peer.Raw(), peer.LengthSlot(), SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (accepted == INVALID_SOCKET) {
        WSASetLastErrorFromErrno();
        SocketError("Accept");
        return INVALID_SOCKET;
    }
    return accepted;
}

void TCustomWSocket::Dup(TSocket newHSocket)
{
    if (newHSocket == 0 || newHSocket == INVALID_SOCKET) {
        WSASetLastError(wsa::kInvalidArgument);
        SocketError("Dup");
        return;
    }
    if (m_state != wsClosed) {
        m_notifier.reset();
        if (::close(m_hSocket) != 0) {
            WSASetLastErrorFromErrno();
            SocketError("Dup (closesocket)");
            return;
        }
        ChangeState(wsClosed);
    }
    m_tls.reset();
    m_hSocket = newHSocket;
    ::fcntl(m_hSocket, F_SETFL, ::fcntl(m_hSocket, F_GETFL) | O_NONBLOCK);
    ApplyLinger();
    Watch(m_hSocket);
    ChangeState(wsConnected);
}

TSocket TCustomWSocket::TakeHandle(std::string& held)
{
    held.clear();
    if (m_state != wsConnected || m_hSocket == INVALID_SOCKET || m_tls)
        return INVALID_SOCKET;
    held = TakeHeldBytes(); // the kernel's own bytes stay queued for the new owner
    TSocket handle = m_hSocket;
    m_notifier.reset();
    ClosePipe();
    m_hSocket = INVALID_SOCKET;
    m_closeInvoked = true;
    ChangeState(wsClosed);
    AssignDefaultValue();
    return handle;
}

// ---------------------------------------------------------------- notifications

void TCustomWSocket::Watch(TSocket handle)
{
    m_notifier = std::make_unique<platform::SocketNotifier>(handle);
    m_notifier->onReadable = [this] { OnReadable(); };
    m_notifier->onWritable = [this] { OnWritable(); };
    if (!m_paused) {
        m_notifier->watchRead(true);
        m_notifier->watchWrite(m_state == wsOpened || m_state == wsConnecting);
    }
}

void TCustomWSocket::UpdateWriteWatch()
{
    if (!m_notifier || m_paused || TlsNegotiating())
        return;
    bool unsent = !m_sendQueue.empty() && m_sendQueue.front()->Pending() > 0;
    m_notifier->watchWrite(m_state == wsConnecting || unsent || m_awaitingWritable);
}

void TCustomWSocket::OnReadable()
{
    TSocket handle = m_hSocket;
    if (m_state == wsConnecting)
        return; // the connect notification comes first, through the write side
    if (TlsNegotiating()) {
        RunGuarded([this] { ContinueTls(); });
        return;
    }
    if (m_state == wsListening) {
        Dispatch(handle, FD_ACCEPT, 0);
        return;
    }
    int available = AvailableBytes();
    if (available > 0 || m_type == SOCK_DGRAM) {
        Dispatch(handle, FD_READ, 0);
        return;
    }
    char probe;
    ssize_t peeked = ::recv(handle, &probe, 1, MSG_PEEK | MSG_DONTWAIT);
    if (peeked > 0) {
        Dispatch(handle, FD_READ, 0);
    } else if (peeked == 0) {
        Dispatch(handle, FD_CLOSE, 0);
    } else if (errno != EAGAIN && errno != EINTR) {
        Dispatch(handle, FD_CLOSE, MapSocketError(errno));
    }
}

void TCustomWSocket::OnWritable()
{
    TSocket handle = m_hSocket;
    if (m_state == wsConnecting) {
        int soError = 0;
        socklen_t length = sizeof(soError);
        ::getsockopt(handle, SOL_SOCKET, SO_ERROR, &soError, &length);
        m_notifier->watchWrite(false);
        Dispatch(handle, FD_CONNECT, MapSocketError(soError));
        return;
    }
    if (TlsNegotiating()) {
        RunGuarded([this] { ContinueTls(); });
        return;
    }
    Dispatch(handle, FD_WRITE, 0);
}

void TCustomWSocket::PostNotification(unsigned events, int error)
{
    TSocket handle = m_hSocket;
    m_posted.post([this, handle, events, error] { Dispatch(handle, events, error); });
}

void TCustomWSocket::PostCall(std::function<void()> call)
{
    m_posted.post([this, call = std::move(call)] { RunGuarded(call); });
}

void TCustomWSocket::RunGuarded(const std::function<void()>& step)
{
    auto alive = m_alive;
    try {
        step();
    } catch (const std::exception& e) {
        if (*alive)
            HandleBackGroundException(e);
    }
}

void TCustomWSocket::Dispatch(TSocket handle, unsigned events, int error)
{
    if (handle != m_hSocket || handle == INVALID_SOCKET || m_paused)
        return;
    auto alive = m_alive;
    RunGuarded([&] {
        if (events & FD_CONNECT) {
            ChangeState(wsConnected);
            TriggerSessionConnected(error);
            if (!*alive)
                return;
            if (error != 0 && m_state != wsClosed)
                Close();
        }
        if ((events & FD_READ) && *alive && handle == m_hSocket)
            ReceiveLoop(error, true);
        if ((events & FD_WRITE) && *alive && handle == m_hSocket) {
            TryToSend();
            if (*alive && m_allSent && handle == m_hSocket)
                TriggerDataSent(error);
        }
        if ((events & FD_ACCEPT) && *alive && handle == m_hSocket)
            TriggerSessionAvailable(error);
        if ((events & FD_CLOSE) && *alive && handle == m_hSocket && m_state != wsConnecting) {
            ReceiveLoop(0, false);
            if (!*alive)
                return;
            if (!m_closeInvoked && handle == m_hSocket) {
                m_closeInvoked = true;
                TriggerSessionClosed(error);
            }
            if (*alive && m_state != wsClosed && handle == m_hSocket)
                Close();
        }
    });
}

int TCustomWSocket::AvailableBytes()
{
    int count = 0;
    if (m_hSocket == INVALID_SOCKET)
        return -1;
    if (::ioctl(m_hSocket, FIONREAD, &count) != 0) {
        m_lastError = WSASetLastErrorFromErrno();
        return -1;
    }
    if (m_tls && !m_tlsNegotiating)
        count += m_tls->Pending();
    return count;
}

void TCustomWSocket::ReceiveLoop(int error, bool bounded)
{
    // A sender faster than the handler would keep a read event going for ever: after a turn's
    // worth the loop gives the others their turn and the socket's readiness brings it back
    // (bytes already in a TLS buffer have no readiness of their own, hence the posted event).
    // A closing socket is read to its end.
    constexpr int64_t kTurnBytes = 4 << 20;
    auto alive = m_alive;
    TSocket handle = m_hSocket;
    const int64_t readAtStart = m_readCount;
    for (;;) {
        m_lastError = 0;
        int64_t readBefore = m_readCount;
        if (!TriggerDataAvailable(error)) {
            std::array<char, 1024> discard;
            if (Receive(discard.data(), static_cast<int>(discard.size())) < 0 && m_lastError == wsa::kWouldBlock) {
                m_lastError = 0;
                return;
            }
        }
        if (!*alive || handle != m_hSocket || m_hSocket == INVALID_SOCKET)
            return;
        if (m_componentOptions & wsoNoReceiveLoop)
            return;
        if (m_lastError != 0)
            return;
        int remaining = GetRcvdCount();
        if (remaining <= 0)
            return;
        // A handler that took nothing would be called forever; the next readiness report
        // gives it another chance.
        if (m_readCount == readBefore)
            return;
        if (bounded && m_readCount - readAtStart >= kTurnBytes) {
            if (m_tls && m_tls->Pending() > 0)
                PostNotification(FD_READ, 0);
            return;
        }
    }
}

// ---------------------------------------------------------------- sending

int TCustomWSocket::Send(const void* data, int len)
{
    if (m_state != wsConnected) {
        WSASetLastError(wsa::kNotConnected);
        SocketError("Send");
        return -1;
    }
    m_allSent = false;
    int given = len > 0 ? len : 0;
    const char* bytes = static_cast<const char*>(data);
    if (len > 0 && m_type == SOCK_STREAM && !m_tls && (m_sendQueue.empty() || m_sendQueue.front()->Pending() == 0)) {
        // Nothing waits before these bytes: what the socket takes now needs no copy into the
        // queue. A failure is left to the queue's sending, which reports it. (Not over TLS: a
        // record the socket took in part must be offered again from the same bytes.)
        int sent = RealSend(bytes, len);
        if (sent > 0) {
            bytes += sent;
            len -= sent;
        }
    }
    if (len > 0)
        PutDataInSendBuffer(bytes, len);
    TryToSend();
    if (m_allSent && m_hSocket != INVALID_SOCKET)
        PostNotification(FD_WRITE, 0); // OnDataSent comes from the loop, never from inside Send
    return given;
}

int TCustomWSocket::SendFile(int fd, int64_t& offset, int count)
{
    if (m_state != wsConnected || m_type != SOCK_STREAM || m_tls ||
        (!m_sendQueue.empty() && m_sendQueue.front()->Pending() > 0))
        return -2;
    off_t position = static_cast<off_t>(offset);
    ssize_t sent = ::sendfile(m_hSocket, fd, &position, static_cast<size_t>(count));
    int savedErrno = errno;
    if (sent > 0)
        offset = position;
    if (sent > 0 && OnSendData)
        OnSendData(this, static_cast<int>(sent));
    if (sent == count) {
        m_allSent = true;
        PostNotification(FD_WRITE, 0); // OnDataSent from the loop, as after Send
    } else if (sent > 0 || (sent < 0 && (savedErrno == EAGAIN || savedErrno == EWOULDBLOCK))) {
        m_allSent = false;
        m_awaitingWritable = true;
        UpdateWriteWatch();
    }
    errno = savedErrno;
    return static_cast<int>(sent);
}

int TCustomWSocket::SendStr(const std::string& str)
{
    return Send(str.data(), static_cast<int>(str.size()));
}

void TCustomWSocket::PutDataInSendBuffer(const char* data, int len)
{
    if (m_sendQueue.empty())
        m_sendQueue.push_back(std::make_unique<TBuffer>(m_bufSize));
    while (len > 0) {
        TBuffer& last = *m_sendQueue.back();
        int taken = last.Write(data, len);
        data += taken;
        len -= taken;
        if (len > 0)
            m_sendQueue.push_back(std::make_unique<TBuffer>(m_bufSize));
    }
}

void TCustomWSocket::TryToSend()
{
    if (m_hSocket == INVALID_SOCKET)
        return;
    m_awaitingWritable = false;
    if (m_sendQueue.empty()) {
        m_allSent = true; // what Send or SendFile gave went out directly
        UpdateWriteWatch();
        return;
    }
    auto alive = m_alive;
    for (;;) {
        TBuffer& first = *m_sendQueue.front();
        int32_t pending = 0;
        const char* bytes = first.Peek(pending);
        if (pending > 0) {
            int sent = RealSend(bytes, pending);
            if (!*alive)
                return;
            if (sent == 0)
                break;
            if (sent > 0) {
                first.Remove(sent);
                if (sent < pending)
                    break;
                continue;
            }
            int code = WSAGetLastError();
            if (code == wsa::kConnectionReset || code == wsa::kNotSocket || code == wsa::kNotConnected ||
                code == wsa::kInvalidArgument || code == wsa::kConnectionAborted) {
                m_closeInvoked = true;
                Close();
                if (*alive)
                    TriggerSessionClosed(code);
                return;
            }
            if (code == wsa::kWouldBlock)
                break;
            SocketError("TryToSend failed");
            return;
        }
        if (m_sendQueue.size() > 1) {
            m_sendQueue.pop_front();
            continue;
        }
        m_allSent = true; // the emptied last block stays for reuse
        break;
    }
    UpdateWriteWatch();
}

int TCustomWSocket::RealSend(const void* data, int len)
{
    if (m_tls)
        return TlsSend(static_cast<const char*>(data), len);
    int flags = MSG_NOSIGNAL | (m_sendFlags == wsSendUrgent ? MSG_OOB : 0);
    ssize_t sent = m_type == SOCK_DGRAM
                       ? ::sendto(m_hSocket, data, static_cast<size_t>(len), flags, m_sin.Raw(), m_sin.Length())
                       : ::send(m_hSocket, data, static_cast<size_t>(len), flags);
    if (sent < 0) {
        WSASetLastErrorFromErrno();
        return -1;
    }
    if (sent > 0 && OnSendData)
        OnSendData(this, static_cast<int>(sent));
    return static_cast<int>(sent);
}

// ---------------------------------------------------------------- receiving

int TCustomWSocket::DoRecv(void* buffer, int len, int flags)
{
    if (m_hSocket == INVALID_SOCKET) {
        WSASetLastError(wsa::kNotSocket);
        return -1;
    }
    if (m_tls && flags == 0) {
        bool wouldBlock = true;
        int got = m_tlsNegotiating ? -1 : m_tls->Read(buffer, len, wouldBlock);
        if (got < 0)
            TlsFailed(wouldBlock);
        if (got == 0 && len > 0 && !m_tlsEnded) {
            // The closing alert ends the stream before the connection closes; a peer that
            // waits for ours would wait forever otherwise.
            m_tlsEnded = true;
            PostNotification(FD_CLOSE, 0);
        }
        return got;
    }
    ssize_t received = ::recv(m_hSocket, buffer, static_cast<size_t>(std::max(len, 0)), flags | MSG_DONTWAIT);
    if (received < 0) {
        WSASetLastErrorFromErrno();
        return -1;
    }
    return static_cast<int>(received);
}

int TCustomWSocket::Receive(void* buffer, int len)
{
    int received = DoRecv(buffer, len, 0);
    if (received < 0)
        m_lastError = WSAGetLastError();
    else
        m_readCount += received;
    return received;
}

int TCustomWSocket::WriteHeldBytes(int fileHandle, const char* bytes, int len)
{
    if (!platform::WriteAll(fileHandle, bytes, len))
        return -2;
    m_readCount += len;
    return len;
}

int TCustomWSocket::ReceiveToFile(int fileHandle, int len)
{
    if (m_hSocket == INVALID_SOCKET) {
        m_lastError = wsa::kNotSocket;
        return -1;
    }
    if (m_tls)
        return TlsReceiveToFile(fileHandle, len);
    if (m_pipe[0] < 0) {
        if (::pipe2(m_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
            m_lastError = WSASetLastErrorFromErrno();
            return -1;
        }
        ::fcntl(m_pipe[1], F_SETPIPE_SZ, 1024 * 1024); // more per call than the default 64 KiB
    }
    ssize_t moved = ::splice(m_hSocket, nullptr, m_pipe[1], nullptr, static_cast<size_t>(std::max(len, 0)),
                             SPLICE_F_MOVE | SPLICE_F_NONBLOCK);
    if (moved < 0) {
        m_lastError = WSASetLastErrorFromErrno();
        return -1;
    }
    m_readCount += moved;
    for (ssize_t left = moved; left > 0;) {
        ssize_t written = ::splice(m_pipe[0], nullptr, fileHandle, nullptr, static_cast<size_t>(left), SPLICE_F_MOVE);
        if (written < 0 && errno == EINVAL)
            written = CopyPipeToFile(fileHandle, left); // a file that takes no splice (a device, some file systems)
        if (written <= 0) {
            int error = errno;
            ClosePipe(); // what is left in it is lost with the file
            errno = error;
            return -2;
        }
        left -= written;
    }
    return static_cast<int>(moved);
}

ssize_t TCustomWSocket::CopyPipeToFile(int fileHandle, ssize_t len)
{
    char buffer[65536];
    ssize_t got = ::read(m_pipe[0], buffer, static_cast<size_t>(std::min<ssize_t>(len, sizeof buffer)));
    if (got <= 0 || !platform::WriteAll(fileHandle, buffer, got))
        return -1;
    return got;
}

int TCustomWSocket::TlsReceiveToFile(int fileHandle, int len)
{
    // TLS records come 16 KiB at a time: gather what is there into one write.
    constexpr int kBufferSize = 256 * 1024;
    if (m_tlsBuffer.empty())
        m_tlsBuffer.resize(kBufferSize);
    int wanted = std::min(len, kBufferSize);
    int total = 0;
    while (total < wanted) {
        int got = TCustomWSocket::DoRecv(m_tlsBuffer.data() + total, wanted - total, 0);
        if (got <= 0) {
            if (total > 0)
                break; // the end or the error shows on the next call
            if (got < 0)
                m_lastError = WSAGetLastError();
            return got;
        }
        total += got;
    }
    return WriteHeldBytes(fileHandle, m_tlsBuffer.data(), total);
}

std::string TCustomWSocket::ReceiveStr()
{
    int count = GetRcvdCount();
    if (count <= 0)
        return {};
    std::string text(static_cast<size_t>(count), '\0');
    int received = Receive(text.data(), count);
    if (received <= 0)
        return {};
    text.resize(static_cast<size_t>(received));
    return text;
}

int TCustomWSocket::GetRcvdCount()
{
    if (m_hSocket == INVALID_SOCKET)
        return -1;
    int count = AvailableBytes();
    if (count < 0)
        SocketError("ioctlSocket");
    return count;
}

// ---------------------------------------------------------------- closing

void TCustomWSocket::Close()
{
    InternalClose(true, 0);
}

void TCustomWSocket::CloseDelayed()
{
    m_posted.post([this] { RunGuarded([this] { Close(); }); });
}

void TCustomWSocket::Release()
{
    platform::postToLoop([this, alive = std::weak_ptr<bool>(m_alive)] {
        if (auto token = alive.lock(); token && *token)
            delete this;
    });
}

void TCustomWSocket::InternalClose(bool bShut, int error)
{
    if (m_hSocket == INVALID_SOCKET) {
        if (m_state != wsClosed)
            ChangeState(wsClosed);
        AssignDefaultValue();
        return;
    }
    if (m_state == wsClosed)
        return;
    if (bShut) {
        if (m_tls && !m_tlsNegotiating)
            m_tls->Shutdown(); // the closing alert tells the peer that nothing was cut off
        Shutdown(SHUT_WR);
        // A graceful close must deliver what the kernel still holds: a zero linger time
        // would reset the connection and drop the tail of an upload.
        if (m_lingerOnOff == wsLingerOn && m_lingerTimeout == 0) {
            linger option{0, 0};
            ::setsockopt(m_hSocket, SOL_SOCKET, SO_LINGER, &option, sizeof(option));
        }
    }
    m_notifier.reset();
    ClosePipe(); // with hundreds of connections, descriptors are worth giving back
    if (::close(m_hSocket) != 0 && errno != EINTR) {
        m_hSocket = INVALID_SOCKET;
        WSASetLastErrorFromErrno();
        SocketError("Disconnect (closesocket)");
        return;
    }
    m_hSocket = INVALID_SOCKET;
    m_tls.reset();
    ChangeState(wsClosed);
    auto alive = m_alive;
    if (!m_destroying && !m_closeInvoked) {
        m_closeInvoked = true;
        TriggerSessionClosed(error);
    }
    if (*alive)
        AssignDefaultValue();
}

void TCustomWSocket::AssignDefaultValue()
{
    m_awaitingWritable = false;
    m_sin = TSocketAddress();
    m_addrAssigned = false;
    m_addrResolved = false;
    m_portAssigned = false;
    m_portResolved = false;
    m_localPortResolved = false;
    m_protoStr = "tcp";
    m_protoAssigned = true;
    m_protoResolved = false;
    m_proto = IPPROTO_TCP;
    m_type = SOCK_STREAM;
    m_localPortStr = "0";
    m_localAddr = "0.0.0.0";
    m_lingerOnOff = wsLingerOn;
    m_lingerTimeout = 0;
    m_flushTimeout = 60;
    m_readCount = 0;
    m_allSent = true;
    m_paused = false;
    m_closeInvoked = false;
    m_hSocket = INVALID_SOCKET;
    m_state = wsClosed;
}

void TCustomWSocket::Abort()
{
    CancelDnsLookup();
    m_sendQueue.clear();
    if (m_state == wsConnected && m_proto == IPPROTO_TCP) {
        m_lingerOnOff = wsLingerOff;
        ApplyLinger();
    }
    InternalClose(false, 0);
}

void TCustomWSocket::Shutdown(int how)
{
    if (m_hSocket != INVALID_SOCKET)
        ::shutdown(m_hSocket, how);
}

void TCustomWSocket::Flush()
{
    while (m_hSocket != INVALID_SOCKET && !m_allSent) {
        TryToSend();
        if (m_allSent)
            break;
        ProcessMessages();
    }
}

void TCustomWSocket::WaitForClose()
{
    auto alive = m_alive;
    while (*alive && m_hSocket != INVALID_SOCKET && m_state != wsClosed) {
        ProcessMessages();
        if (!*alive || m_hSocket == INVALID_SOCKET)
            break;
        if (AvailableBytes() > 0) {
            TriggerDataAvailable(0);
            continue;
        }
        char probe;
        if (DoRecv(&probe, 0, MSG_PEEK) < 0 && WSAGetLastError() != wsa::kWouldBlock)
            break;
    }
}

void TCustomWSocket::Pause()
{
    m_paused = true;
    if (m_notifier) {
        m_notifier->watchRead(false);
        m_notifier->watchWrite(false);
    }
}

void TCustomWSocket::Resume()
{
    m_paused = false;
    if (m_notifier) {
        m_notifier->watchRead(true);
        UpdateWriteWatch();
        if (TlsNegotiating())
            PostCall([this] { ContinueTls(); });
        else if (m_tls && m_tls->Pending() > 0)
            PostNotification(FD_READ, 0); // decrypted bytes wait with no readiness event of their own
    }
}

void TCustomWSocket::ProcessMessages()
{
    platform::pumpEvents(10);
}

// ---------------------------------------------------------------- options

void TCustomWSocket::ApplyLinger()
{
    if (m_lingerOnOff == wsLingerNoSet)
        return;
    if (m_hSocket == INVALID_SOCKET) {
        RaiseException("Cannot set linger option at this time");
        return;
    }
    linger option{m_lingerOnOff == wsLingerOn ? 1 : 0, m_lingerTimeout};
    if (::setsockopt(m_hSocket, SOL_SOCKET, SO_LINGER, &option, sizeof(option)) != 0) {
        WSASetLastErrorFromErrno();
        SocketError("setsockopt(SO_LINGER)");
    }
}

void TCustomWSocket::SetSocketOption(int level, int option, int value, const char* failureName)
{
    if (m_hSocket == INVALID_SOCKET)
        return;
    if (::setsockopt(m_hSocket, level, option, &value, sizeof(value)) != 0) {
        WSASetLastErrorFromErrno();
        SocketError(failureName);
    }
}

// ---------------------------------------------------------------- TLS

void TCustomWSocket::StartTls(const std::string& hostName, std::shared_ptr<TTlsSessionCache> cache)
{
    if (m_state != wsConnected || m_hSocket == INVALID_SOCKET) {
        WSASetLastError(wsa::kNotConnected);
        SocketError("StartTls");
        return;
    }
    m_tlsError.clear();
    m_tls = std::make_unique<TTlsSession>(m_hSocket, hostName, std::move(cache));
    m_tlsNegotiating = true;
    m_tlsEnded = false;
    // The first step from the loop: OnTlsDone never comes from inside this call.
    PostCall([this] { ContinueTls(); });
}

void TCustomWSocket::ContinueTls()
{
    if (!TlsNegotiating() || m_hSocket == INVALID_SOCKET || m_paused)
        return;
    auto alive = m_alive;
    TSocket handle = m_hSocket;
    switch (m_tls->Handshake()) {
    case TTlsSession::Step::WantRead:
        m_notifier->watchWrite(false);
        return;
    case TTlsSession::Step::WantWrite:
        m_notifier->watchWrite(true);
        return;
    case TTlsSession::Step::Done: {
        m_tlsNegotiating = false;
        UpdateWriteWatch(); // what was sent meanwhile goes now
        TriggerTlsDone(0);
        if (!*alive || handle != m_hSocket)
            return;
        // Bytes that came with the end of the negotiation have no readiness event of their
        // own, and a sender that waited for it is told it may send.
        unsigned events = FD_WRITE;
        if (AvailableBytes() > 0)
            events |= FD_READ;
        PostNotification(events, 0);
        return;
    }
    case TTlsSession::Step::Failed:
        m_tlsError = m_tls->Error();
        m_lastError = wsa::kConnectionAborted;
        TriggerTlsDone(wsa::kConnectionAborted);
        if (*alive && handle == m_hSocket)
            InternalClose(false, wsa::kConnectionAborted);
        return;
    }
}

int TCustomWSocket::TlsSend(const char* data, int len)
{
    if (m_tlsNegotiating) {
        WSASetLastError(wsa::kWouldBlock);
        return -1;
    }
    // TLS writes one record (16 KiB) per call: as many as the socket takes go now, so that a
    // short write means a full socket, as it does without TLS.
    int total = 0;
    while (total < len) {
        bool wouldBlock = true;
        int sent = m_tls->Write(data + total, len - total, wouldBlock);
        if (sent <= 0) {
            if (total > 0 && wouldBlock)
                break;
            TlsFailed(wouldBlock);
            return -1;
        }
        total += sent;
    }
    if (OnSendData)
        OnSendData(this, total);
    return total;
}

void TCustomWSocket::TlsFailed(bool wouldBlock)
{
    if (wouldBlock) {
        WSASetLastError(wsa::kWouldBlock);
        return;
    }
    m_tlsError = m_tls->Error();
    WSASetLastError(wsa::kConnectionAborted);
}

// ---------------------------------------------------------------- name lookup

void TCustomWSocket::DnsLookup(const std::string& hostName)
{
    if (hostName.empty()) {
        RaiseException("DNS lookup: invalid host name.");
        TriggerDNSLookupDone(wsa::kInvalidArgument);
        return;
    }
    CancelDnsLookup();
    m_dnsResult.clear();
    m_dnsResultList.clear();
    if (WSocketIsDottedForm(hostName) || WSocketIsIPv6Form(hostName)) {
        try {
            m_dnsResult = TSocketAddress::Resolve(hostName, 0).Host();
        } catch (const ESocketException&) {
            TriggerDNSLookupDone(wsa::kHostNotFound);
            return;
        }
        TriggerDNSLookupDone(0);
        return;
    }
    m_lookupId = platform::lookupHost(WSocketTrim(hostName), [this](const platform::LookupResult& result) {
        m_lookupId = 0;
        if (result.error == 0) {
            m_dnsResultList = result.addresses;
            m_dnsResult = result.addresses.front();
        }
        RunGuarded([&] { TriggerDNSLookupDone(MapResolverError(result.error)); });
    });
}

void TCustomWSocket::ReverseDnsLookup(const std::string& hostAddr)
{
    if (hostAddr.empty()) {
        RaiseException("DNS lookup: invalid host name.");
        TriggerDNSLookupDone(wsa::kInvalidArgument);
        return;
    }
    CancelDnsLookup();
    m_dnsResult.clear();
    m_dnsResultList.clear();
    m_lookupId = platform::lookupAddress(WSocketTrim(hostAddr), [this](const platform::LookupResult& result) {
        m_lookupId = 0;
        if (result.error == 0) {
            m_dnsResult = result.hostName;
            m_dnsResultList = {result.hostName};
        }
        RunGuarded([&] { TriggerDNSLookupDone(MapResolverError(result.error)); });
    });
}

void TCustomWSocket::CancelDnsLookup()
{
    if (m_lookupId == 0)
        return;
    platform::cancelLookup(m_lookupId);
    m_lookupId = 0;
    if (!m_destroying)
        TriggerDNSLookupDone(wsa::kInterrupted);
}

// ---------------------------------------------------------------- addresses

int TCustomWSocket::GetPeerName(TSocketAddress& name)
{
    if (m_state != wsConnected)
        return -1;
    if (::getpeername(m_hSocket, name.Raw(), name.LengthSlot()) != 0) {
        WSASetLastErrorFromErrno();
        return -1;
    }
    return 0;
}

int TCustomWSocket::GetSockName(TSocketAddress& name)
{
    if (::getsockname(m_hSocket, name.Raw(), name.LengthSlot()) != 0) {
        WSASetLastErrorFromErrno();
        return -1;
    }
    return 0;
}

std::string TCustomWSocket::GetPeerAddr()
{
    if (m_state != wsConnected)
        return "error";
    TSocketAddress peer;
    if (GetPeerName(peer) != 0) {
        SocketError("GetPeerName");
        return "error";
    }
    return peer.Host();
}

std::string TCustomWSocket::GetPeerPort()
{
    if (m_state != wsConnected)
        return "error";
    TSocketAddress peer;
    if (GetPeerName(peer) != 0) {
        SocketError("GetPeerPort");
        return "error";
    }
    return std::to_string(peer.Port());
}

std::string TCustomWSocket::GetBoundPort()
{
    if (m_state != wsBound && m_state != wsConnected && m_state != wsListening)
        return "error";
    TSocketAddress local;
    if (GetSockName(local) != 0)
        return "error";
    return std::to_string(local.Port());
}

// ---------------------------------------------------------------- events and errors

void TCustomWSocket::ChangeState(TSocketState newState)
{
    TSocketState oldState = m_state;
    m_state = newState;
    TriggerChangeState(oldState, newState);
}

bool TCustomWSocket::TriggerDataAvailable(int error)
{
    if (!OnDataAvailable)
        return false;
    OnDataAvailable(this, error);
    return true;
}

void TCustomWSocket::TriggerSessionAvailable(int error)
{
    if (OnSessionAvailable)
        OnSessionAvailable(this, error);
}

void TCustomWSocket::TriggerSessionConnected(int error)
{
    if (OnSessionConnected)
        OnSessionConnected(this, error);
}

void TCustomWSocket::TriggerSessionClosed(int error)
{
    if (OnSessionClosed)
        OnSessionClosed(this, error);
}

void TCustomWSocket::TriggerDataSent(int error)
{
    if (OnDataSent)
        OnDataSent(this, error);
}

void TCustomWSocket::TriggerChangeState(TSocketState oldState, TSocketState newState)
{
    if (OnChangeState)
        OnChangeState(this, oldState, newState);
}

void TCustomWSocket::TriggerTlsDone(int error)
{
    if (OnTlsDone)
        OnTlsDone(this, error);
}

void TCustomWSocket::TriggerDNSLookupDone(int error)
{
    if (OnDnsLookupDone)
        OnDnsLookupDone(this, error);
}

void TCustomWSocket::TriggerError()
{
    if (OnError)
        OnError(this);
}

void TCustomWSocket::RaiseException(const std::string& msg)
{
    if (OnError) {
        TriggerError();
        return;
    }
    throw ESocketException(msg);
}

void TCustomWSocket::SocketError(const std::string& functionName)
{
    int code = WSAGetLastError();
    std::string text =
        "Error " + std::to_string(code) + " in function " + functionName + "\r\n" + WSocketErrorDesc(code);
    if ((code == wsa::kConnectionReset || code == wsa::kNotConnected) && m_hSocket != INVALID_SOCKET) {
        m_notifier.reset();
        ::close(m_hSocket);
        m_hSocket = INVALID_SOCKET;
        m_tls.reset();
        ChangeState(wsClosed);
    }
    m_lastError = code;
    RaiseException(text);
}

void TCustomWSocket::HandleBackGroundException(const std::exception& e)
{
    bool canClose = true;
    if (OnBgException) {
        try {
            OnBgException(this, e, canClose);
        } catch (const std::exception&) {
            // The handler of last resort may not throw into the event loop.
        }
    }
    if (canClose)
        Abort();
}
