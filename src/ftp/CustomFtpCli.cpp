#include "ftp/CustomFtpCli.h"

#include <algorithm>
#include <cassert>
#include <cctype>
#include <cstring>

#include "ftp/FtpReply.h"
#include "net/WSocketErrors.h"
#include "platform/Translate.h"

using platform::Fill;
using platform::Tr;

TCustomFtpCli::TCustomFtpCli()
    : m_controlSocket(std::make_unique<TWSocket>()), m_dataSocket(std::make_unique<TWSocket>())
{
    m_controlSocket->OnDnsLookupDone = [this](TCustomWSocket*, int error) { ControlSocketDnsLookupDone(error); };
    m_controlSocket->OnSessionConnected = [this](TCustomWSocket*, int error) { ControlSocketSessionConnected(error); };
    m_controlSocket->OnDataAvailable = [this](TCustomWSocket*, int) { ControlSocketDataAvailable(); };
    m_controlSocket->OnSessionClosed = [this](TCustomWSocket*, int error) { ControlSocketSessionClosed(error); };
    // An exception escaping our handlers ends up here rather than in the socket's own abort.
    m_controlSocket->OnBgException = [this](TCustomWSocket*, const std::exception& e, bool& canClose) {
        canClose = false;
        HandleBackGroundException(e);
    };
    m_watchdog.onTimeout = [this] { WatchdogTick(); };
    // Commands sent ahead go out one after the other without waiting for the first's answer.
    m_controlSocket->SetComponentOptions(wsoTcpNoDelay);
}

TCustomFtpCli::~TCustomFtpCli()
{
    *m_alive = false;
    // The sockets go first, while the handlers they call still have a client to run on;
    // a destroyed socket raises no events.
    m_controlSocket.reset();
    m_dataSocket.reset();
    m_listenerAhead.reset();
}

// ---------------------------------------------------------------- properties

void TCustomFtpCli::SetLocalFileName(const std::string& name)
{
    m_localFileName = name;
    if (!name.empty())
        m_streamFromCaller = false;
}

void TCustomFtpCli::SetLocalStream(platform::TStream* stream)
{
    m_localStream = stream;
    m_streamFromCaller = stream != nullptr;
    if (m_streamFromCaller) {
        m_ownStream.reset();
        m_localFileName.clear();
    }
}

TFtpShareMode TCustomFtpCli::ShareMode() const
{
    switch (m_shareMode) {
    case 0:
        return ftpShareCompat;
    case 32:
        return ftpShareDenyWrite;
    case 48:
        return ftpShareDenyRead;
    case 64:
        return ftpShareDenyNone;
    default:
        return ftpShareExclusive;
    }
}

void TCustomFtpCli::SetShareMode(TFtpShareMode mode)
{
    switch (mode) {
    case ftpShareCompat:
        m_shareMode = 0;
        break;
    case ftpShareDenyWrite:
        m_shareMode = 32;
        break;
    case ftpShareDenyRead:
        m_shareMode = 48;
        break;
    case ftpShareDenyNone:
        m_shareMode = 64;
        break;
    default:
        m_shareMode = 16;
        break;
    }
}

void TCustomFtpCli::SetConnectionType(TFtpConnectionType type)
{
    if (m_connected) {
        HandleError("FTP component connected");
        return;
    }
    if (type < ftpDirect || type > ftpSocks5)
        type = ftpDirect;
    m_connectionType = type;
    if (type != ftpDirect)
        m_passive = true;
}

void TCustomFtpCli::SetPassive(bool passive)
{
    m_passive = m_connectionType != ftpDirect ? true : passive;
}

// ---------------------------------------------------------------- plumbing

void TCustomFtpCli::SetState(TFtpState state)
{
    if (state == m_state)
        return;
    m_state = state;
    if (OnStateChange)
        OnStateChange(this);
}

void TCustomFtpCli::TriggerDisplay(const std::string& msg)
{
    if (!OnDisplay)
        return;
    std::string line = msg;
    OnDisplay(this, line);
}

void TCustomFtpCli::DisplayLastResponse()
{
    TriggerDisplay("< " + m_lastResponse);
}

void TCustomFtpCli::TriggerError(const std::string& msg)
{
    if (OnError)
        OnError(this, msg);
}

void TCustomFtpCli::HandleError(const std::string& msg)
{
    if (OnError) {
        TriggerError(msg);
        return;
    }
    throw FtpException(msg);
}

void TCustomFtpCli::HandleBackGroundException(const std::exception& e)
{
    bool canClose = true;
    if (OnBgException) {
        try {
            OnBgException(this, e, canClose);
        } catch (const std::exception&) {
            // Nothing may escape into the event loop.
        }
    }
    if (canClose)
        Abort();
}

bool TCustomFtpCli::CheckReady()
{
    if (m_state == ftpReady || m_state == ftpInternalReady)
        return true;
    HandleError("FTP component not ready");
    return false;
}

void TCustomFtpCli::SetErrorMessage(const std::string& line)
{
    if (m_errorMessage.empty())
        m_errorMessage = line;
}

void TCustomFtpCli::SetSocketFailure(int error)
{
    // A SOCKS negotiation failure is better told in the SOCKS server's terms.
    std::string description = error >= 20000 && !m_socksError.empty() ? m_socksError : WSocketErrorDesc(error);
    m_lastResponse = "500 " + description + " (Winsock error #" + std::to_string(error) + ")";
    m_statusCode = 500;
    m_requestResult = 500;
    SetErrorMessage(m_lastResponse);
}

// ---------------------------------------------------------------- request engine

void TCustomFtpCli::BeginRequest(TFtpRequest rqType)
{
    // The steps of a multi-step request report as that request, once.
    if (!m_highLevelFlag) {
        m_requestType = rqType;
        ++m_requestsStarted;
    }
    ++m_stepStarts;
    m_requestDoneFlag = false;
    m_requestResult = 0; // a failure of the request before is not this one's

    if (!m_watchdog.active())
        m_watchdog.start(1000);
}

void TCustomFtpCli::AwaitReply()
{
    m_awaitingReply = true;
    m_replyStartTick = platform::tickCount();
}

void TCustomFtpCli::WatchdogTick()
{
    if (m_requestDoneFlag) {
        m_watchdog.stop();
        return;
    }
    int64_t now = platform::tickCount();
    int aheadLimit =
        ReplyTimeout > 0 && (AheadTimeout <= 0 || ReplyTimeout < AheadTimeout) ? ReplyTimeout : AheadTimeout;
    if (m_awaitingAhead && m_awaitingReply && aheadLimit > 0 && now - m_replyStartTick >= int64_t(aheadLimit) * 1000) {
        // A server that drops or holds back commands sent together: one at a time from now on.
        m_aheadStalled = true;
        TimedOut(
            Fill(Tr("Engine", "no reply within %1 seconds to a command sent ahead"), {std::to_string(aheadLimit)}));
        return;
    }
    if (m_transferActive && !m_dataClosed) {
        // A transfer under way: its data must keep moving; the final reply comes after it.
        if (DataTimeout > 0 && now - m_dataActivityTick >= int64_t(DataTimeout) * 1000)
            TimedOut(Fill(Tr("Engine", "no data moved for %1 seconds"), {std::to_string(DataTimeout)}));
        return;
    }
    bool waiting = m_awaitingReply || m_state == ftpDnsLookup || m_state == ftpWaitingBanner;
    if (waiting && ReplyTimeout > 0 && now - m_replyStartTick >= int64_t(ReplyTimeout) * 1000)
        TimedOut(Fill(Tr("Engine", "no reply within %1 seconds"), {std::to_string(ReplyTimeout)}));
}

void TCustomFtpCli::TimedOut(const std::string& what)
{
    GiveUp(wsa::kTimedOut, Tr("Engine", "Timeout: ") + what);
}

void TCustomFtpCli::GiveUp(int code, const std::string& message)
{
    TriggerDisplay("! " + message);
    m_errorMessage = (code >= 10000 ? "421 " : std::to_string(code) + " ") + message;
    m_lastResponse = m_errorMessage;
    m_statusCode = code >= 10000 ? 421 : code;
    m_requestResult = code;
    m_next = nullptr;
    FreeOwnStream();
    if (m_dataSocket->State() != wsClosed)
        m_dataSocket->Close();
    if (m_state == ftpDnsLookup)
        m_controlSocket->CancelDnsLookup();
    // The close reports the request's end with the code set above, and tells the owner the
    // connection is gone.
    if (m_controlSocket->State() != wsClosed)
        m_controlSocket->Close();
    m_connected = false;
    m_awaitingReply = false;
    if (!m_requestDoneFlag)
        TriggerRequestDone(code);
    if (m_state != ftpReady && m_state != ftpAbort)
        SetState(ftpReady);
}

void TCustomFtpCli::ExecAsync(TFtpRequest rqType, const std::string& cmd, std::vector<int> acceptedCodes,
                              TContinuation doneAsync)
{
    if (!CheckReady())
        return;
    if (!m_connected) {
        HandleError("FTP component not connected");
        return;
    }
    BeginRequest(rqType);
    m_acceptedCodes = std::move(acceptedCodes);
    if (m_acceptedCodes.size() > 16)
        m_acceptedCodes.resize(16);
    m_next = [this] { NextExecAsync(); };
    m_doneAsync = std::move(doneAsync);
    SetState(ftpWaitingResponse);
    AwaitReply();
    SendCommand(cmd);
}

bool TCustomFtpCli::TakeFinalReply()
{
    DisplayLastResponse();
    if (!IsFinalReplyLine(m_lastResponse))
        return false;
    m_awaitingReply = false;
    bool continued = false;
    ParseReplyCode(m_lastResponse, m_statusCode, continued);
    return true;
}

void TCustomFtpCli::NextExecAsync()
{
    if (!TakeFinalReply())
        return;
    bool accepted = m_acceptedCodes.empty() ? m_statusCode < 500
                                            : std::find(m_acceptedCodes.begin(), m_acceptedCodes.end(), m_statusCode) !=
                                                  m_acceptedCodes.end();
    if (accepted) {
        m_requestResult = 0;
    } else {
        m_requestResult = m_statusCode;
        SetErrorMessage(m_lastResponse);
    }
    if (m_passive && (m_statusCode == 227 || m_statusCode == 229))
        m_pasvResponse = m_lastResponse;
    InterpretResponse();
    if (m_doneAsync) {
        TContinuation done = std::move(m_doneAsync);
        m_doneAsync = nullptr;
        done();
    } else {
        TriggerRequestDone(m_requestResult);
    }
}

void TCustomFtpCli::InterpretResponse()
{
    if (m_requestResult != 0)
        return;
    switch (m_fctCurrent) {
    case ftpFctSize: {
        int64_t size = 0;
        if (ParseSizeReply(m_lastResponse, size))
            m_sizeResult = size;
        break;
    }
    case ftpFctMdtm: {
        int64_t seconds = 0;
        if (ParseTimeReply(m_lastResponse, seconds))
            m_modifiedResult = seconds;
        break;
    }
    case ftpFctCwd:
    case ftpFctMkd:
    case ftpFctPwd:
    case ftpFctCDup:
        m_dirResult = ParseQuotedDir(m_lastResponse);
        break;
    default:
        break;
    }
}

void TCustomFtpCli::TriggerRequestDone(int error)
{
    if (m_requestDoneFlag)
        return;
    m_requestDoneFlag = true;
    m_awaitingReply = false;
    if (error == 0 && m_highLevelContinuation) {
        if (m_state != ftpAbort)
            SetState(ftpInternalReady);
        m_highLevelContinuation();
        return;
    }
    SetState(ftpReady);
    if (m_transferActive && error != 0) {
        FreeOwnStream();
        DropEmptyCreatedFile();
    }
    m_transferActive = false;
    m_highLevelContinuation = nullptr;
    m_functionSet = 0;
    if (m_dataSocket->State() != wsClosed)
        m_dataSocket->Close();
    if (m_highLevelFlag && m_savedStatus >= 0) {
        m_lastResponse = m_savedResponse;
        m_statusCode = m_savedStatus;
    }
    m_highLevelFlag = false;
    // A transfer that failed before its data command went out, with that command sent ahead:
    // the server will wait for a data connection that does not come.
    bool orphaned = m_dataStepPending && error != 0 && TransferCommandAhead();
    m_dataStepPending = false;
    TFtpRequest rqType = m_requestType;
    m_posted.post([this, rqType, error] { DeliverRequestDone(rqType, error); });
    if (orphaned)
        CloseForAhead("A transfer command sent ahead cannot be taken back");
}

void TCustomFtpCli::DeliverRequestDone(TFtpRequest rqType, int error)
{
    ++m_requestsDone;
    assert(m_requestsDone <= m_requestsStarted && "one completion per started request");
    if (!OnRequestDone)
        return;
    auto alive = m_alive;
    try {
        OnRequestDone(this, rqType, error);
    } catch (const std::exception& e) {
        if (*alive)
            HandleBackGroundException(e);
    }
}

// ---------------------------------------------------------------- connecting

void TCustomFtpCli::Open()
{
    if (!CheckReady())
        return;
    TypeInEffect = 0;
    m_epsvRefused = false; // each server is asked again
    m_epsvWorked = false;
    m_aheadStalled = false;
    ForgetAhead();
    m_dataProtected = false;
    m_serverFingerprint.clear();
    m_tlsSessions.reset();
    if (m_connected) {
        HandleError("FTP component already connected");
        return;
    }
    BeginRequest(ftpOpenAsync);
    m_receiveLength = 0;
    m_discardingLongLine = false;
    m_requestResult = 0;
    m_dnsResult.clear();
    m_socksError.clear();
    m_replyComplete = true;
    m_replyStartTick = platform::tickCount(); // the greeting's time runs from here
    SetState(ftpDnsLookup);
    try {
        m_controlSocket->DnsLookup(IsProxyConnection(m_connectionType) ? ProxyServer : HostName);
    } catch (const ESocketException& e) {
        // The lookup could not start: the request is refused rather than left running.
        if (!m_highLevelFlag)
            --m_requestsStarted;
        --m_stepStarts;
        m_requestDoneFlag = true;
        SetState(ftpReady);
        HandleError(e.what());
    }
}

void TCustomFtpCli::ControlSocketDnsLookupDone(int error)
{
    if (m_state != ftpDnsLookup && m_state != ftpAbort)
        return;
    if (error != 0) {
        SetSocketFailure(error);
        TriggerRequestDone(error);
        return;
    }
    m_dnsResult = m_controlSocket->DnsResult();
    try {
        m_controlSocket->SetAddr(m_dnsResult);
        m_controlSocket->SetProto("tcp");
        m_controlSocket->SetPort(IsProxyConnection(m_connectionType) ? ProxyPort : Port);
        SetState(ftpWaitingBanner);
        m_awaitingReply = true;
        ApplyConnectionSettings(*m_controlSocket);
        m_controlSocket->Connect();
    } catch (const ESocketException& e) {
        // A port that does not resolve, or a socket that cannot be made: the request ends here.
        m_lastResponse = std::string("500 ") + e.what();
        m_statusCode = 500;
        m_requestResult = 500;
        SetErrorMessage(m_lastResponse);
        m_awaitingReply = false;
        if (m_controlSocket->State() != wsClosed)
            m_controlSocket->Close();
        TriggerRequestDone(500);
        SetState(ftpReady);
    }
}

void TCustomFtpCli::ControlSocketSessionConnected(int error)
{
    if (error != 0) {
        SetSocketFailure(error);
        m_highLevelContinuation = nullptr;
        m_awaitingReply = false;
        TriggerRequestDone(error);
        m_controlSocket->Close();
        SetState(ftpReady);
        return;
    }
    m_connected = true;
    if (Security == ftpsImplicit)
        StartControlTls();
}

// ---------------------------------------------------------------- replies

void TCustomFtpCli::ControlSocketDataAvailable()
{
    int room = kReceiveBufferSize - 1 - m_receiveLength;
    if (room <= 0) {
        // Only replies held back for commands sent ahead fill the buffer: far more than those.
        GiveUp(500, "More replies than commands sent");
        return;
    }
    int received = m_controlSocket->Receive(m_receiveBuffer.data() + m_receiveLength, room);
    if (received == 0) {
        m_controlSocket->Close();
        return;
    }
    if (received < 0)
        return;
    m_receiveLength += received;
    ParseReplies();
}

void TCustomFtpCli::ParseReplies()
{
    auto alive = m_alive;
    while (m_receiveLength > 0 && *alive && !RepliesHeldBack()) {
        if (!HandleReplyLine())
            break;
    }
}

bool TCustomFtpCli::HandleReplyLine()
{
    char* start = m_receiveBuffer.data();
    const char* end = nullptr;
    if (Options & ftpAcceptLF) {
        end = static_cast<const char*>(std::memchr(start, '\n', static_cast<size_t>(m_receiveLength)));
    } else {
        for (int i = 0; i + 1 < m_receiveLength && !end; ++i)
            if (start[i] == '\r' && start[i + 1] == '\n')
                end = start + i + 1;
    }
    size_t consumed = 0;
    std::string line;
    if (end) {
        consumed = static_cast<size_t>(end - start) + 1;
        if (m_discardingLongLine) {
            // The tail of a line already handed on in its cut form.
            m_discardingLongLine = false;
            std::memmove(start, start + consumed, static_cast<size_t>(m_receiveLength) - consumed);
            m_receiveLength -= static_cast<int>(consumed);
            return true;
        }
        line.assign(start, static_cast<size_t>(end - start));
    } else if (m_receiveLength >= kReceiveBufferSize - 1) {
        // A line longer than the buffer: keep its code and what fits, drop the rest of it.
        consumed = static_cast<size_t>(m_receiveLength);
        if (m_discardingLongLine) {
            m_receiveLength = 0;
            return false;
        }
        line.assign(start, consumed);
        m_discardingLongLine = true;
        TriggerDisplay(Fill(Tr("Engine", "! Reply line too long, cut to %1 bytes"), {std::to_string(consumed)}));
    } else {
        return false; // wait for the rest of the line
    }
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n'))
        line.pop_back();
    std::memmove(start, start + consumed, static_cast<size_t>(m_receiveLength) - consumed);
    m_receiveLength -= static_cast<int>(consumed);
    if (m_discardReplies > 0 && m_state != ftpWaitingBanner) {
        // The reply to a command sent ahead that no request took.
        TriggerDisplay("< " + line);
        if (IsFinalReplyLine(line))
            --m_discardReplies;
        return true;
    }
    m_lastResponse = std::move(line);

    if (OnResponse)
        OnResponse(this);
    bool continued = false;
    bool final = IsFinalReplyLine(m_lastResponse);
    if (m_state == ftpWaitingBanner || m_state == ftpWaitingResponse) {
        if (m_replyComplete) {
            m_replyLines.clear();
            m_replyBytes = 0;
        }
        m_replyComplete = final;
        m_replyBytes += static_cast<int64_t>(m_lastResponse.size()) + 2;
        if (m_replyBytes > kMaxReplyBytes) {
            // An endless multi-line reply (a greeting that never ends, say) is not kept growing.
            GiveUp(500,
                   "Reply longer than " + std::to_string(kMaxReplyBytes / (1024 * 1024)) + " MiB: connection closed");
            return false;
        }
        m_replyLines.push_back(m_lastResponse);
        if (final && !HasValidReplyCode(m_lastResponse)) {
            // "000 ok" or "0": no server's answer to anything. Whatever follows cannot be
            // matched to the commands any more.
            DisplayLastResponse();
            GiveUp(kProtocolError, "Not an FTP reply: \"" + m_lastResponse.substr(0, 80) + "\": connection closed");
            return false;
        }
    }
    switch (m_state) {
    case ftpWaitingBanner:
        DisplayLastResponse();
        if (!final)
            return true;
        ParseReplyCode(m_lastResponse, m_statusCode, continued);
        if (m_statusCode != 220) {
            SetErrorMessage(m_lastResponse);
            m_requestResult = m_statusCode;
            m_awaitingReply = false;
            m_controlSocket->Close(); // the close completes the request
            return false;
        }
        GreetingAccepted();
        return true;
    case ftpWaitingResponse:
        m_awaitingAhead = false; // the server answers
        if (!final)
            return true;
        if (m_next) {
            m_next();
        } else {
            HandleError("Program error: FNext is nil");
        }
        return true;
    default:
        DisplayLastResponse();
        return true;
    }
}

void TCustomFtpCli::ControlSocketSessionClosed(int error)
{
    TypeInEffect = 0;
    ForgetAhead();
    m_dataProtected = false;
    if (m_connected) {
        m_connected = false;
        if (m_state != ftpAbort)
            SetState(ftpNotConnected);
        if (OnSessionClosed)
            OnSessionClosed(this, error);
    }
    if (m_state != ftpAbort)
        SetState(ftpInternalReady);
    if (m_awaitingReply && m_requestResult == 0 && m_transferActive && m_reachedEnd) {
        // The range is on disk whole. Some servers end the session when its data connection is
        // cut at the range's end (proftpd over TLS does); that takes nothing from the range.
        TriggerDisplay(Tr("Engine", "! The server closed the connection after the range was complete"));
        m_awaitingReply = false;
        ResumeAt = 0;
        TransferEnd = -1;
        FileEnd = -1;
    }
    if (m_awaitingReply && m_requestResult == 0) {
        // The connection went away while a reply was still due: that is no success.
        if (m_state == ftpAbort) {
            m_lastResponse = "426 Operation aborted.";
            m_statusCode = 426;
            m_requestResult = 426;
            SetErrorMessage(m_lastResponse);
        } else {
            SetSocketFailure(error != 0 ? error : wsa::kConnectionAborted);
            m_requestResult = error != 0 ? error : wsa::kConnectionAborted;
        }
    }
    m_awaitingReply = false;
    if (m_requestDoneFlag && m_state != ftpAbort)
        SetState(ftpReady); // no request was running: nothing else will make the client ready
    TriggerRequestDone(m_requestResult);
}

void TCustomFtpCli::Abort()
{
    bool wasLookingUp = m_state == ftpDnsLookup;
    SetState(ftpAbort);
    FreeOwnStream();
    if (wasLookingUp)
        m_controlSocket->CancelDnsLookup();
    if (m_controlSocket->State() != wsClosed)
        m_controlSocket->Close();
    if (m_dataSocket->State() != wsClosed)
        m_dataSocket->Close();
    FreeOwnStream();
    m_localStream = nullptr; // a caller's stream is forgotten, never freed
    m_streamFromCaller = false;
    m_connected = false;
    ForgetAhead();
    SetState(ftpReady);
}

void TCustomFtpCli::ApplyConnectionSettings(TWSocket& socket)
{
    // Every close empties a socket's SOCKS settings, so they are given again before each
    // connect: the control connection of a reconnect and every data connection go through
    // the SOCKS server too, not only the first.
    socket.OnSocksError = [this](TCustomWSocket*, int, const std::string& msg) { m_socksError = msg; };
    if (m_connectionType < ftpSocks4 || m_connectionType > ftpSocks5) {
        socket.SocksAuthentication = socksNoAuthentication;
        return;
    }
    socket.SetSocksServer(SocksServer);
    socket.SetSocksPort(SocksPort);
    socket.SetSocksLevel(m_connectionType == ftpSocks4 ? "4" : m_connectionType == ftpSocks4A ? "4A" : "5");
    socket.SocksUsercode = SocksUserCode;
    socket.SocksPassword = SocksPassword;
    // Offering user and password to a server that wants none would be refused outright.
    socket.SocksAuthentication = SocksUserCode.empty() ? socksNoAuthentication : socksAuthenticateUsercode;
}
