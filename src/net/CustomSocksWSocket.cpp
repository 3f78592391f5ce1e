#include "net/CustomSocksWSocket.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include <arpa/inet.h>

#include "net/WSocketResolve.h"

namespace {

// Codes of negotiation failures, reported with OnSocksError and OnSessionConnected.
constexpr int kLogicError = 20001;
constexpr int kVersionError = 20002;
constexpr int kMethodNotAcceptable = 20003;
constexpr int kAddressTypeNotSupported = 20011;
constexpr int kUnassigned = 20012;
constexpr int kInternalError = 20013;
constexpr int kRequestTooLong = 20014;
constexpr int kAuthenticationFailed = 20015;
constexpr int kRequestRejected = 20016;
constexpr int kHostNotResolved = 20017;

// SOCKS 5 reply codes 1 to 8.
const char* const kSocks5Errors[] = {"general SOCKS server failure", "connection not allowed by ruleset",
                                     "network unreachable",          "host unreachable",
                                     "connection refused",           "time to live expired",
                                     "command not supported",        "address type not supported"};

std::string portBytes(uint16_t port)
{
    return {static_cast<char>(port >> 8), static_cast<char>(port & 0xff)};
}

} // namespace

TCustomSocksWSocket::TCustomSocksWSocket()
{
    // The base constructor ran the base defaults only; the SOCKS fields start as declared.
}

// ---------------------------------------------------------------- properties

void TCustomSocksWSocket::SetSocksLevel(const std::string& value)
{
    if (State() != wsClosed) {
        RaiseException("Can't change socks level if not closed");
        return;
    }
    if (value != "4" && value != "5" && value != "4A" && value != "4a") {
        RaiseException("Invalid socks level. Must be 4, 4A or 5.");
        return;
    }
    m_socksLevel = value == "4a" ? "4A" : value;
}

void TCustomSocksWSocket::SetSocksPort(const std::string& value)
{
    if (State() != wsClosed) {
        RaiseException("Can't change socks port if not closed");
        return;
    }
    m_socksPort = WSocketTrim(value);
    m_socksPortAssigned = !m_socksPort.empty();
}

void TCustomSocksWSocket::SetSocksServer(const std::string& value)
{
    if (State() != wsClosed) {
        RaiseException("Can't change socks server if not closed");
        return;
    }
    m_socksServer = WSocketTrim(value);
    m_socksServerAssigned = !m_socksServer.empty();
}

void TCustomSocksWSocket::AssignDefaultValue()
{
    TCustomWSocket::AssignDefaultValue();
    m_negotiation = Negotiation::Data;
    m_socksServer.clear();
    m_socksPort.clear();
    m_socksLevel = "5";
    m_pendingCount = 0;
    m_socksPortAssigned = false;
    m_socksServerAssigned = false;
}

// ---------------------------------------------------------------- connecting

void TCustomSocksWSocket::Connect()
{
    if (!m_socksServerAssigned) {
        TCustomWSocket::Connect();
        return;
    }
    std::string protocol = Proto();
    std::transform(protocol.begin(), protocol.end(), protocol.begin(), ::tolower);
    if (protocol != "tcp") {
        RaiseException("tcp is the only protocol supported thru socks server");
        return;
    }
    // The socket connects to the SOCKS server; the target goes into the requests.
    if (!m_portResolved) {
        m_portNo = WSocketResolvePort(m_socksPort, "tcp");
        m_portResolved = true;
    }
    if (!m_addrResolved) {
        m_sin = TSocketAddress::Resolve(m_socksServer, m_portNo);
        m_addrResolved = true;
    }
    m_targetPort = WSocketResolvePort(Port(), "tcp");
    m_negotiation = Negotiation::Method;
    m_receiveCount = 0;
    TCustomWSocket::Connect();
}

void TCustomSocksWSocket::Listen()
{
    if (m_socksServerAssigned) {
        RaiseException("Listening is not supported thru socks server");
        return;
    }
    TCustomWSocket::Listen();
}

void TCustomSocksWSocket::TriggerSessionConnected(int error)
{
    if (m_negotiation != Negotiation::Method) {
        TCustomWSocket::TriggerSessionConnected(error);
        return;
    }
    TriggerSocksConnected(error);
    if (error != 0) {
        TCustomWSocket::TriggerSessionConnected(error);
        return;
    }
    StartNegotiation();
}

void TCustomSocksWSocket::TriggerSessionClosed(int error)
{
    if (m_negotiation == Negotiation::Auth)
        RaiseAuthState(socksAuthFailure);
    TCustomWSocket::TriggerSessionClosed(error);
}

void TCustomSocksWSocket::TriggerSocksConnected(int error)
{
    if (OnSocksConnected)
        OnSocksConnected(this, error);
}

void TCustomSocksWSocket::TriggerSocksError(int error, const std::string& msg)
{
    if (OnSocksError)
        OnSocksError(this, error, msg);
}

void TCustomSocksWSocket::RaiseAuthState(TSocksAuthState state)
{
    if (OnSocksAuthState)
        OnSocksAuthState(this, state);
}

// ---------------------------------------------------------------- requests

void TCustomSocksWSocket::SendRequest(const std::string& request)
{
    try {
        Send(request.data(), static_cast<int>(request.size()));
    } catch (const ESocketException&) {
        // A failed send closes the socket, and the close tells the owner.
    }
}

bool TCustomSocksWSocket::RequestsFit() const
{
    // The requests are built in a buffer of kBufferSize bytes: what does not fit is refused
    // before anything goes out, never cut.
    size_t connect = m_socksLevel[0] != '4' ? 7 + Addr().size()
                     : m_socksLevel == "4A" ? 10 + SocksUsercode.size() + Addr().size()
                                            : 9 + SocksUsercode.size();
    size_t auth = SocksAuthentication == socksAuthenticateUsercode && m_socksLevel[0] != '4'
                      ? 3 + SocksUsercode.size() + SocksPassword.size()
                      : 0;
    return connect <= kBufferSize && auth <= kBufferSize && Addr().size() <= 255 && SocksUsercode.size() <= 255 &&
           SocksPassword.size() <= 255;
}

void TCustomSocksWSocket::StartNegotiation()
{
    if (!RequestsFit()) {
        NegotiationError(kRequestTooLong, "socks request too long");
        return;
    }
    if (m_socksLevel[0] == '4') {
        SendConnectRequest();
        return;
    }
    m_offeredMethod = SocksAuthentication == socksAuthenticateUsercode ? 2 : 0;
    SendRequest({5, 1, static_cast<char>(m_offeredMethod)});
}

void TCustomSocksWSocket::SendConnectRequest()
{
    m_negotiation = Negotiation::ConnectReq;
    std::string request;
    if (m_socksLevel[0] != '4') {
        // The target goes as a name, also a dotted one: the SOCKS server resolves it.
        request = {5, 1, 0, 3, static_cast<char>(Addr().size())};
        request += Addr() + portBytes(m_targetPort);
    } else {
        uint32_t address = htonl(1); // 0.0.0.1: the server resolves the name (4A)
        if (m_socksLevel == "4") {
            try {
                address = WSocketResolveHost(Addr());
            } catch (const ESocketException& e) {
                std::string text = std::string("ESocketException ") + e.what();
                TriggerSocksError(kHostNotResolved, text);
                InternalClose(false, kHostNotResolved);
                return;
            }
        }
        request = {4, 1};
        request += portBytes(m_targetPort);
        request.append(reinterpret_cast<const char*>(&address), 4);
        request += SocksUsercode;
        request += '\0';
        if (m_socksLevel == "4A")
            request += Addr() + '\0';
    }
    SendRequest(request);
}

void TCustomSocksWSocket::SendAuthentication()
{
    m_negotiation = Negotiation::Auth;
    RaiseAuthState(socksAuthStart);
    std::string request = {1, static_cast<char>(SocksUsercode.size())};
    request += SocksUsercode;
    request += static_cast<char>(SocksPassword.size());
    request += SocksPassword;
    SendRequest(request);
}

// ---------------------------------------------------------------- replies

bool TCustomSocksWSocket::TriggerDataAvailable(int error)
{
    if (m_negotiation == Negotiation::Data)
        return TCustomWSocket::TriggerDataAvailable(error);
    return NegotiationStep(error);
}

bool TCustomSocksWSocket::NegotiationStep(int error)
{
    if (error != 0) {
        NegotiationError(error, "data receive error");
        return false;
    }
    bool socks4 = m_socksLevel[0] == '4';
    int wanted = kBufferSize - 1 - m_receiveCount;
    if (m_negotiation == Negotiation::ConnectReq) {
        // The connect reply is read to its last byte and no further: what follows belongs to
        // the protocol of the connection, whose handle may go on to a library as it is.
        const unsigned char* reply = m_receiveBuffer.data();
        int length = socks4 ? 8 : m_receiveCount < 5 ? 5 : reply[3] == 1 ? 10 : reply[3] == 3 ? reply[4] + 7 : 5;
        wanted = std::clamp(length - m_receiveCount, 1, wanted);
    }
    int got = Receive(m_receiveBuffer.data() + m_receiveCount, wanted);
    if (got <= 0)
        return true;
    m_receiveCount += got;
    switch (m_negotiation) {
    case Negotiation::Method:
        return MethodReply();
    case Negotiation::Auth:
        return AuthReply();
    case Negotiation::ConnectReq:
        return socks4 ? Socks4ConnectReply() : Socks5ConnectReply();
    case Negotiation::Data:
        break;
    }
    NegotiationError(kInternalError, "internal error");
    return false;
}

// The server's choice of authentication method (SOCKS 5).
bool TCustomSocksWSocket::MethodReply()
{
    const unsigned char* reply = m_receiveBuffer.data();
    if (m_socksLevel[0] == '4') {
        NegotiationError(kLogicError, "TWSocket logic error");
        return false;
    }
    if (m_receiveCount < 2)
        return true;
    m_receiveCount = 0;
    if (reply[0] != 5) {
        NegotiationError(kVersionError, "socks version error");
        return false;
    }
    if (reply[1] == 0) {
        if (m_offeredMethod == 2)
            RaiseAuthState(socksAuthNotRequired);
        SendConnectRequest();
    } else if (reply[1] == 2) {
        SendAuthentication();
    } else {
        NegotiationError(kMethodNotAcceptable, "authentification method not acceptable");
        return false;
    }
    return true;
}

// The answer to user and password (SOCKS 5).
bool TCustomSocksWSocket::AuthReply()
{
    const unsigned char* reply = m_receiveBuffer.data();
    if (m_receiveCount < 2)
        return true;
    if (reply[0] != 1) {
        NegotiationError(kVersionError, "socks version error");
        return false;
    }
    if (m_receiveCount > 2) {
        NegotiationError(kLogicError, "too much data availaible");
        return false;
    }
    if (reply[1] != 0) {
        NegotiationError(kAuthenticationFailed, "socks authentication failed");
        return false;
    }
    m_receiveCount = 0;
    RaiseAuthState(socksAuthSuccess);
    SendConnectRequest();
    return true;
}

// The eight bytes that answer a SOCKS 4 or 4A connect request.
bool TCustomSocksWSocket::Socks4ConnectReply()
{
    const unsigned char* reply = m_receiveBuffer.data();
    if (m_receiveCount < 8)
        return true;
    m_receiveCount = 0;
    if (reply[0] != 0) {
        NegotiationError(kVersionError, "socks version error");
        return false;
    }
    switch (reply[1]) {
    case 90:
        return Success();
    case 91:
        NegotiationError(kRequestRejected, "request rejected or failed");
        return false;
    case 92:
        NegotiationError(20008, "connection refused");
        return false;
    case 93:
        NegotiationError(kAuthenticationFailed, "authentification failed");
        return false;
    default:
        NegotiationError(kUnassigned, "unassigned error #" + std::to_string(reply[1]));
        return false;
    }
}

// A SOCKS 5 connect reply: version, status, and the bound address whose length its type tells.
bool TCustomSocksWSocket::Socks5ConnectReply()
{
    const unsigned char* reply = m_receiveBuffer.data();
    if (reply[0] != 5) {
        NegotiationError(kVersionError, "socks version error");
        return false;
    }
    if (m_receiveCount >= 2 && reply[1] != 0) {
        if (reply[1] >= 1 && reply[1] <= 8)
            NegotiationError(20003 + reply[1], kSocks5Errors[reply[1] - 1]);
        else
            NegotiationError(kUnassigned, "unassigned error #" + std::to_string(reply[1]));
        return false;
    }
    if (m_receiveCount < 5)
        return true;
    int length = reply[3] == 1 ? 10 : reply[3] == 3 ? reply[4] + 7 : 5;
    if (length > kBufferSize - 1) {
        NegotiationError(kRequestTooLong, "socks reply too long");
        return false;
    }
    if (m_receiveCount < length)
        return true;
    if (reply[3] != 1 && reply[3] != 3) {
        NegotiationError(kAddressTypeNotSupported, "address type not supported");
        return false;
    }
    int extra = m_receiveCount - length;
    m_pendingCount = std::max(extra, 0);
    m_pendingPosition = length;
    m_receiveCount = 0;
    return Success();
}

bool TCustomSocksWSocket::Success()
{
    m_negotiation = Negotiation::Data;
    TCustomWSocket::TriggerSessionConnected(0);
    // Bytes that came with the reply go to the owner at once, before anything else is read.
    if (State() != wsConnected)
        return true;
    return TCustomWSocket::TriggerDataAvailable(0);
}

void TCustomSocksWSocket::NegotiationError(int error, const std::string& msg)
{
    TriggerSocksError(error, msg);
    TCustomWSocket::TriggerSessionConnected(error);
    InternalClose(true, error);
}

// ---------------------------------------------------------------- pending bytes

std::string TCustomSocksWSocket::TakeHeldBytes()
{
    std::string held;
    if (m_pendingCount > 0) {
        held.assign(reinterpret_cast<const char*>(m_receiveBuffer.data()) + m_pendingPosition,
                    static_cast<size_t>(m_pendingCount));
        m_pendingCount = 0;
        m_pendingPosition = 0;
    }
    return held;
}

int TCustomSocksWSocket::GetRcvdCount()
{
    if (m_pendingCount > 0)
        return m_pendingCount;
    return TCustomWSocket::GetRcvdCount();
}

int TCustomSocksWSocket::DoRecv(void* buffer, int len, int flags)
{
    if (m_pendingCount <= 0)
        return TCustomWSocket::DoRecv(buffer, len, flags);
    int count = std::min(len, m_pendingCount);
    std::memcpy(buffer, m_receiveBuffer.data() + m_pendingPosition, static_cast<size_t>(std::max(count, 0)));
    m_pendingPosition += count;
    m_pendingCount -= count;
    return count;
}

int TCustomSocksWSocket::ReceiveToFile(int fileHandle, int len)
{
    if (m_pendingCount <= 0)
        return TCustomWSocket::ReceiveToFile(fileHandle, len);
    int count = std::min(len, m_pendingCount);
    int written =
        WriteHeldBytes(fileHandle, reinterpret_cast<const char*>(m_receiveBuffer.data()) + m_pendingPosition, count);
    if (written > 0) {
        m_pendingPosition += written;
        m_pendingCount -= written;
    }
    return written;
}
