#pragma once

// An asynchronous TCP (or UDP) endpoint. The socket never blocks: connection, readable data,
// an emptied send queue, closure and incoming connections arrive as events on the main thread
// from the event loop. Subclasses intercept the connect, receive and close paths through the
// virtual operations; the base class always goes through them.

#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <netinet/in.h>

#include "net/SocketAddress.h"
#include "net/WSockBuf.h"
#include "net/WSocketErrors.h"
#include "platform/EventLoop.h"

namespace platform {
class SocketNotifier;
}
class TTlsSession;
class TTlsSessionCache;

using TSocket = int;
constexpr TSocket INVALID_SOCKET = -1;

enum TSocketState
{
    wsInvalidState,
    wsOpened,
    wsBound,
    wsConnecting,
    wsConnected,
    wsAccepting, // never entered
    wsListening,
    wsClosed
};

enum TSocketSendFlags
{
    wsSendNormal = 0,
    wsSendUrgent = 1
};

enum TSocketLingerOnOff
{
    wsLingerOff,
    wsLingerOn,
    wsLingerNoSet
};

enum TWSocketOption : unsigned
{
    wsoNoReceiveLoop = 1,
    // Small writes leave at once (TCP_NODELAY): a line that follows another unanswered one is
    // not held back for the peer's acknowledgement.
    wsoTcpNoDelay = 2
};
using TWSocketOptions = unsigned;

// Notification kinds, as bits of one dispatch; handled in the order connect, read, write,
// accept, close.
enum TSocketEvent : unsigned
{
    FD_READ = 1,
    FD_WRITE = 2,
    FD_ACCEPT = 8,
    FD_CONNECT = 16,
    FD_CLOSE = 32
};

class TCustomWSocket
{
public:
    using TErrorEvent = std::function<void(TCustomWSocket* sender, int error)>;

    TErrorEvent OnDataAvailable;
    TErrorEvent OnDataSent;
    std::function<void(TCustomWSocket* sender, int bytesSent)> OnSendData;
    TErrorEvent OnSessionClosed;
    TErrorEvent OnSessionAvailable;
    TErrorEvent OnSessionConnected;
    std::function<void(TCustomWSocket* sender, TSocketState oldState, TSocketState newState)> OnChangeState;
    TErrorEvent OnDnsLookupDone;
    std::function<void(TCustomWSocket* sender)> OnError;
    std::function<void(TCustomWSocket* sender, const std::exception& e, bool& canClose)> OnBgException;
    // Raised by the line mode for a line that outgrows its limit without its terminator.
    std::function<void(TCustomWSocket* sender)> OnLineTooLong;
    // The end of a TLS negotiation StartTls began: 0, or the error with which the connection
    // is being closed (TlsError() tells why).
    TErrorEvent OnTlsDone;

    TCustomWSocket();
    virtual ~TCustomWSocket();
    TCustomWSocket(const TCustomWSocket&) = delete;
    TCustomWSocket& operator=(const TCustomWSocket&) = delete;

    virtual void Connect();
    virtual void Listen();
    TSocket Accept();
    void Dup(TSocket newHSocket);

    int Send(const void* data, int len);
    // Sends up to count bytes of the file fd from offset (advanced by what went) in the kernel,
    // without copying them through here: plain TCP with nothing queued only. Returns the bytes
    // sent, 0 at the file's end, -1 with errno set (EAGAIN: OnDataSent comes once the socket
    // can take more), or -2 when this socket cannot send so (TLS, queued bytes).
    int SendFile(int fd, int64_t& offset, int count);
    int SendStr(const std::string& str);
    int Receive(void* buffer, int len);
    // Moves up to len received bytes straight into a file at its current position, without
    // copying them through the program: the bytes moved (0 when the peer closed, -1 on error
    // with LastError set, 10035 when nothing is there). A local write failure gives -2.
    // Bytes a layer above already holds (SOCKS, line mode) go first.
    virtual int ReceiveToFile(int fileHandle, int len);
    std::string ReceiveStr();
    virtual int GetRcvdCount();

    void Close();
    void CloseDelayed();
    // Posts the destruction of this socket; only for sockets created with new that nothing else owns.
    void Release();
    // Hands the connected handle over to its new owner (a library that speaks the protocol on
    // it): this socket stops watching it and is closed without closing the handle, with no
    // close event. Bytes a layer already holds (a SOCKS reply's tail) come in held; an
    // unconnected or TLS socket gives INVALID_SOCKET.
    TSocket TakeHandle(std::string& held);
    void Abort();
    void Flush();
    void WaitForClose();
    void Shutdown(int how);
    void Pause();
    void Resume();

    // Begins TLS as a client on the connected socket. Until the negotiation ends, nothing is
    // received and what is sent waits; then OnTlsDone comes, and every byte in and out goes
    // through TLS until the close. hostName is what the certificate must name; the cache gives
    // the session to resume and keeps those the server sends.
    void StartTls(const std::string& hostName, std::shared_ptr<TTlsSessionCache> cache);
    // The TLS of this connection, null when there is none.
    const TTlsSession* Tls() const { return m_tls.get(); }
    bool TlsNegotiating() const { return m_tls && m_tlsNegotiating; }
    // Why the last TLS negotiation or transfer failed; empty when none did.
    const std::string& TlsError() const { return m_tlsError; }

    void DnsLookup(const std::string& hostName);
    void ReverseDnsLookup(const std::string& hostAddr);
    void CancelDnsLookup();

    std::string GetPeerAddr();
    std::string GetPeerPort();
    int GetPeerName(TSocketAddress& name);
    int GetSockName(TSocketAddress& name);
    std::string GetBoundPort();

    // Properties. The address, port and protocol setters work only while closed.
    const std::string& Addr() const { return m_addrStr; }
    void SetAddr(const std::string& value);
    const std::string& Port() const { return m_portStr; }
    virtual void SetPort(const std::string& value);
    const std::string& Proto() const { return m_protoStr; }
    virtual void SetProto(const std::string& value);
    const std::string& LocalAddr() const { return m_localAddr; }
    void SetLocalAddr(const std::string& value);
    const std::string& LocalPort() const { return m_localPortStr; }
    void SetLocalPort(const std::string& value);
    std::string PeerAddr() { return GetPeerAddr(); }
    std::string PeerPort() { return GetPeerPort(); }
    const std::string& DnsResult() const { return m_dnsResult; }
    const std::vector<std::string>& DnsResultList() const { return m_dnsResultList; }
    TSocketState State() const { return m_state; }
    int64_t ReadCount() const { return m_readCount; }
    int RcvdCount() { return GetRcvdCount(); }
    int LastError() const { return m_lastError; }
    TSocket HSocket() const { return m_hSocket; }
    bool AllSent() const { return m_allSent; }

    int SendFlags() const;
    void SetSendFlags(int flags);
    TSocketLingerOnOff LingerOnOff() const { return m_lingerOnOff; }
    void SetLingerOnOff(TSocketLingerOnOff value) { m_lingerOnOff = value; }
    int LingerTimeout() const { return m_lingerTimeout; }
    void SetLingerTimeout(int seconds) { m_lingerTimeout = seconds; }
    int FlushTimeout() const { return m_flushTimeout; }
    void SetFlushTimeout(int seconds) { m_flushTimeout = seconds; }
    bool MultiThreaded() const { return m_multiThreaded; }
    void SetMultiThreaded(bool value) { m_multiThreaded = value; }
    TWSocketOptions ComponentOptions() const { return m_componentOptions; }
    void SetComponentOptions(TWSocketOptions value) { m_componentOptions = value; }

    // Capacity of each new block of the send queue.
    int32_t BufSize() const { return m_bufSize; }
    void SetBufSize(int32_t value) { m_bufSize = value > 0 ? value : TBuffer::kDefaultSize; }
    // The outgoing queue, oldest block first.
    const std::deque<std::unique_ptr<TBuffer>>& SendQueue() const { return m_sendQueue; }

protected:
    virtual void AssignDefaultValue();
    virtual void InternalClose(bool bShut, int error);
    virtual void BindSocket();
    virtual int RealSend(const void* data, int len);
    void RaiseException(const std::string& msg);
    virtual void HandleBackGroundException(const std::exception& e);

    virtual bool TriggerDataAvailable(int error);
    virtual void TriggerSessionAvailable(int error);
    virtual void TriggerSessionConnected(int error);
    virtual void TriggerSessionClosed(int error);
    virtual void TriggerDataSent(int error);
    virtual void TriggerChangeState(TSocketState oldState, TSocketState newState);
    virtual void TriggerDNSLookupDone(int error);
    virtual void TriggerTlsDone(int error);
    virtual void TriggerError();
    virtual int DoRecv(void* buffer, int len, int flags);
    // Bytes received from the kernel that a layer holds undelivered, taken out of it.
    virtual std::string TakeHeldBytes() { return {}; }

    void ChangeState(TSocketState newState);
    // Writes bytes a layer already holds to a file, counted as received: len, or -2 on failure.
    int WriteHeldBytes(int fileHandle, const char* bytes, int len);
    // Runs a call later from the event loop, unless the socket is gone by then; an exception
    // it throws goes to the background-exception handler.
    void PostCall(std::function<void()> call);
    void SocketError(const std::string& functionName);
    void ProcessMessages();

    // Set by the owner of a socket that is being destroyed: no more events then.
    bool Destroying() const { return m_destroying; }

    // What Connect resolves; a subclass may resolve some of it itself (a SOCKS server).
    TSocketAddress m_sin;
    bool m_addrAssigned = false;
    bool m_addrResolved = false;
    bool m_portAssigned = false;
    bool m_portResolved = false;
    bool m_protoAssigned = true;
    bool m_protoResolved = false;
    bool m_localPortResolved = false;
    int m_proto = 6;
    int m_type = 1; // stream; 2 for datagram
    uint16_t m_portNo = 0;
    uint16_t m_localPortNo = 0;

private:
    // Resolves what is not resolved yet of protocol, ports and address; empties the send queue.
    void ResolveAddresses(bool withLocalPort);
    void Dispatch(TSocket handle, unsigned events, int error);
    void ReceiveLoop(int error, bool bounded);
    void TryToSend();
    void PutDataInSendBuffer(const char* data, int len);
    void ApplyLinger();
    void SetSocketOption(int level, int option, int value, const char* failureName);
    void Watch(TSocket handle);
    void UpdateWriteWatch();
    void OnReadable();
    void OnWritable();
    void PostNotification(unsigned events, int error);
    void RunGuarded(const std::function<void()>& step);
    int AvailableBytes();
    void ClosePipe();
    // Moves up to len bytes of the pipe into a file through a buffer: what was moved, -1 on failure.
    ssize_t CopyPipeToFile(int fileHandle, ssize_t len);
    void ContinueTls();
    int TlsReceiveToFile(int fileHandle, int len);
    int TlsSend(const char* data, int len);
    // Takes the failure of a TLS call: would-block, or the connection's end with its text.
    void TlsFailed(bool wouldBlock);

    std::string m_dnsResult;
    std::vector<std::string> m_dnsResultList;
    std::deque<std::unique_ptr<TBuffer>> m_sendQueue;
    int32_t m_bufSize = TBuffer::kDefaultSize;
    int m_sendFlags = 0;
    int m_lastError = 0;
    int m_lookupId = 0; // pending asynchronous lookup, 0 if none
    TSocket m_hSocket = INVALID_SOCKET;
    std::string m_addrStr;
    std::string m_protoStr = "tcp";
    std::string m_portStr;
    std::string m_localPortStr = "0";
    std::string m_localAddr = "0.0.0.0";
    TSocketLingerOnOff m_lingerOnOff = wsLingerOn;
    int m_lingerTimeout = 0;
    bool m_allSent = true;
    bool m_awaitingWritable = false; // a file send would have blocked: OnDataSent when writable
    int64_t m_readCount = 0;
    bool m_paused = false;
    bool m_closeInvoked = false;
    int m_flushTimeout = 60;
    bool m_multiThreaded = false;
    TWSocketOptions m_componentOptions = 0;
    TSocketState m_state = wsClosed;
    bool m_destroying = false;

    int m_pipe[2] = {-1, -1}; // for ReceiveToFile, made on first use
    std::unique_ptr<TTlsSession> m_tls;
    bool m_tlsNegotiating = false;
    bool m_tlsEnded = false; // the peer's closing alert came
    std::string m_tlsError;
    std::vector<char> m_tlsBuffer; // for ReceiveToFile over TLS, made on first use
    std::unique_ptr<platform::SocketNotifier> m_notifier;
    platform::PostTarget m_posted;
    // Cleared by the destructor: event dispatch checks it after every handler it calls.
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};
