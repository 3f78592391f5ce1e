#include "ftp/CustomFtpCli.h"

// The data connection: EPSV, PASV, PORT or EPRT, downloads into a file or a caller's stream at
// any offset, uploads paced by the socket's OnDataSent, progress and abort. A transfer completes
// only when both its final reply and the close of the data connection have arrived, in either
// order.

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "ftp/FtpReply.h"
#include "platform/Translate.h"

using platform::Fill;
using platform::Tr;

namespace {

// Bytes moved per receive call and per upload block. Large pieces keep the system calls per
// byte few; progress is still reported once per piece.
constexpr int kTransferChunk = 256 * 1024;

// PORT for an IPv4 listener, EPRT (which names the family) for an IPv6 one.
std::string portCommand(const std::string& host, int port)
{
    if (host.find(':') != std::string::npos)
        return "EPRT |2|" + host + "|" + std::to_string(port) + "|";
    std::string numbers = host;
    std::replace(numbers.begin(), numbers.end(), '.', ',');
    return "PORT " + numbers + "," + std::to_string(port / 256) + "," + std::to_string(port % 256);
}

// A number of a PASV reply: blanks around decimal digits, at most 255; -1 otherwise.
int pasvNumber(const std::string& text)
{
    size_t first = text.find_first_not_of(' ');
    size_t last = text.find_last_not_of(' ');
    if (first == std::string::npos || last - first + 1 > 3)
        return -1;
    int value = 0;
    for (size_t i = first; i <= last; ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i])))
            return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value <= 255 ? value : -1;
}

bool codeIn(int code, std::initializer_list<int> codes)
{
    return std::find(codes.begin(), codes.end(), code) != codes.end();
}

} // namespace

// ---------------------------------------------------------------- PASV and PORT

void TCustomFtpCli::PortAsync()
{
    if (!CheckReady())
        return;
    if (!m_connected) {
        HandleError("FTP component not connected");
        return;
    }
    // A listener made when its PORT was sent ahead becomes this transfer's.
    bool prepared = !m_passive && m_listenerAhead && m_listenerAhead->State() == wsListening && !m_ahead.empty() &&
                    m_ahead.front() == m_listenerCommand;
    if (prepared)
        std::swap(m_dataSocket, m_listenerAhead);
    if (m_listenerAhead && m_listenerAhead->State() != wsClosed)
        m_listenerAhead->Close();
    TWSocket& data = *DataSocket();
    if (!prepared && data.State() != wsClosed)
        data.Close();
    data.OnSessionAvailable = PauseUntilTaken;
    data.OnSessionClosed = nullptr;
    data.OnDataAvailable = nullptr;

    std::string command = "PASV";
    if (prepared) {
        command = m_listenerCommand;
    } else if (!m_passive) {
        command = ListenForData(data);
    } else {
        data.SetProto("tcp");
        data.SetPort("0");
        data.SetAddr("0.0.0.0");
    }
    m_byteCount = 0;
    m_transferStart = 0;
    m_fctCurrent = ftpFctPort;
    // EPSV names only a port: the data connection goes where the control connection goes, also
    // through NAT. An FTP proxy rewrites PASV replies only, so through one PASV stays.
    if (m_passive && !m_epsvRefused && !IsProxyConnection(m_connectionType)) {
        ExecAsync(ftpPortAsync, "EPSV", {229}, [this, before = m_errorMessage] {
            if (m_statusCode == 229) {
                m_epsvWorked = true;
                TriggerRequestDone(m_requestResult);
                return;
            }
            if (!m_ahead.empty()) {
                // Sent together with the commands after it, which wait for a data connection:
                // no PASV can come between. The server is not asked to take several at once again.
                m_aheadStalled = true;
                TriggerRequestDone(m_requestResult);
                return;
            }
            // Refused (an older server): PASV from now on, in the same request; the refusal
            // is no error of the request.
            m_epsvRefused = true;
            m_errorMessage = before;
            m_requestResult = 0;
            m_acceptedCodes = {227};
            SendDataCommand("PASV", [this] { NextExecAsync(); });
        });
        return;
    }
    ExecAsync(ftpPortAsync, command, {200, 227}, [this] {
        if (m_requestResult != 0 && !m_ahead.empty())
            m_aheadStalled = true; // refused with the commands sent after it
        TriggerRequestDone(m_requestResult);
    });
}

std::string TCustomFtpCli::ListenForData(TWSocket& data)
{
    // The listener takes the address the server already reaches us on, not every address.
    TSocketAddress local;
    ControlSocket()->GetSockName(local);
    data.SetProto("tcp");
    data.SetPort("0");
    data.SetAddr(local.Host());
    data.SetLingerOnOff(wsLingerOn);
    data.SetLingerTimeout(10);
    data.Listen();
    return portCommand(local.Host(), std::stoi(data.GetBoundPort()));
}

bool TCustomFtpCli::ParsePasvReply(uint16_t& port)
{
    // "229 Entering Extended Passive Mode (|||port|)": the delimiter is the character after "(".
    if (m_pasvResponse.compare(0, 3, "229") == 0) {
        size_t open = m_pasvResponse.find('(');
        if (open == std::string::npos || open + 4 >= m_pasvResponse.size())
            return false;
        char delimiter = m_pasvResponse[open + 1];
        if (m_pasvResponse[open + 2] != delimiter || m_pasvResponse[open + 3] != delimiter)
            return false;
        size_t end = m_pasvResponse.find(delimiter, open + 4);
        std::string digits = m_pasvResponse.substr(open + 4, end == std::string::npos ? 0 : end - open - 4);
        if (digits.empty() || digits.size() > 5 || digits.find_first_not_of("0123456789") != std::string::npos)
            return false;
        int value = std::stoi(digits);
        if (value < 1 || value > 65535)
            return false;
        port = static_cast<uint16_t>(value);
        return true;
    }
    // "227 Entering Passive Mode (h1,h2,h3,h4,p1,p2)": the address is not used, the data
    // connection goes where the control connection goes.
    size_t open = m_pasvResponse.find('(');
    size_t close = m_pasvResponse.find(')', open == std::string::npos ? 0 : open);
    if (open == std::string::npos || close == std::string::npos)
        return false;
    std::string inside = m_pasvResponse.substr(open + 1, close - open - 1);
    int numbers[6];
    size_t start = 0;
    for (int i = 0; i < 6; ++i) {
        size_t comma = i < 5 ? inside.find(',', start) : inside.size();
        if (comma == std::string::npos)
            return false;
        numbers[i] = pasvNumber(inside.substr(start, comma - start));
        if (numbers[i] < 0)
            return false;
        start = comma + 1;
    }
    if (start <= inside.size() && inside.find(',', start) != std::string::npos)
        return false;
    port = static_cast<uint16_t>(numbers[4] * 256 + numbers[5]);
    return port != 0;
}

bool TCustomFtpCli::ConnectDataSocket(std::function<void(int)> connected)
{
    uint16_t port = 0;
    if (!ParsePasvReply(port)) {
        FailTransfer(550, "Unable to establish data connection, invalid PASV reply: " + m_pasvResponse, false);
        return false;
    }
    TWSocket& data = *DataSocket();
    data.SetPort(std::to_string(port));
    data.SetAddr(ControlSocket()->Addr());
    data.OnSessionConnected = [connected](TCustomWSocket*, int error) { connected(error); };
    data.SetLingerOnOff(wsLingerOff);
    data.SetLingerTimeout(0);
    ApplyConnectionSettings(data);
    try {
        data.Connect();
    } catch (const ESocketException& e) {
        FailTransfer(550, std::string("Unable to establish data connection, ") + e.what(), false);
        return false;
    }
    return true;
}

// ---------------------------------------------------------------- shared steps

void TCustomFtpCli::FailTransfer(int code, const std::string& message, bool logIt)
{
    if (logIt) {
        m_errorMessage = message;
        TriggerDisplay("! " + m_errorMessage);
    } else {
        m_lastResponse = message;
        SetErrorMessage(message);
    }
    m_statusCode = code;
    m_next = nullptr;
    m_awaitingReply = false;
    if (DataSocket()->State() != wsClosed)
        DataSocket()->Close();
    FreeOwnStream();
    ResumeAt = 0;
    TransferEnd = -1;
    FileEnd = -1;
    m_requestResult = code;
    TriggerRequestDone(code);
}

bool TCustomFtpCli::OpenLocalStream(bool forWriting)
{
    if (m_streamFromCaller && m_localStream)
        return true;
    int error = 0;
    m_ownStream = platform::TFileStream::Open(
        m_localFileName, forWriting ? platform::TFileStream::Mode::ReadWriteCreate : platform::TFileStream::Mode::Read,
        error);
    m_localStream = m_ownStream.get();
    m_localErrno = error;
    auto* file = dynamic_cast<platform::TFileStream*>(m_ownStream.get());
    m_createdFile = forWriting && file && file->Created();
    return m_localStream != nullptr;
}

void TCustomFtpCli::DropEmptyCreatedFile()
{
    // A download that failed before its first byte leaves no empty file it made itself.
    if (m_createdFile && m_downloading && m_byteCount == 0 && !m_localFileName.empty())
        std::remove(m_localFileName.c_str());
    m_createdFile = false;
}

void TCustomFtpCli::FreeOwnStream()
{
    if (m_streamFromCaller)
        return;
    m_ownStream.reset();
    m_localStream = nullptr;
}

void TCustomFtpCli::BeginTransfer(const std::string& command, bool downloading)
{
    m_dataCommand = command;
    m_dataStepPending = true;
    m_replyFailure = 0;
    m_downloading = downloading;
    m_replyReceived = false;
    m_dataClosed = false;
    m_uploadConnectionOpen = false;
    m_transferAccepted = false;
    m_localFailure = false;
    m_progressAborted = false;
    m_reachedEnd = false;
    m_overrun = false;
    m_tooLarge = false;
    m_localErrno = 0;
    m_startTime = 0;
    m_byteCount = 0;
    m_dataError = 0;
    m_dataTlsFailure.clear();
    m_transferStart = 0;
    m_transferActive = true;
    m_dataActivityTick = platform::tickCount();
}

void TCustomFtpCli::SendDataCommand(const std::string& cmd, TContinuation next)
{
    SetState(ftpWaitingResponse);
    m_next = std::move(next);
    AwaitReply();
    SendCommand(cmd);
}

void TCustomFtpCli::DataMoved()
{
    m_dataActivityTick = platform::tickCount();
}

bool TCustomFtpCli::Progress()
{
    bool abort = false;
    if (OnProgress)
        OnProgress(this, m_byteCount + (m_downloading ? m_transferStart : ResumeAt), abort);
    if (!abort)
        return true;
    TriggerDisplay(Tr("Engine", "! Abort requested"));
    m_progressAborted = true;
    DataSocket()->Close();
    return false;
}

void TCustomFtpCli::TransfertStats()
{
    m_stopTime = platform::tickCount();
    int64_t elapsed = m_stopTime - m_startTime;
    std::string text = Fill(Tr("Engine", "%1 bytes received/sent in %2 seconds"),
                            {std::to_string(m_byteCount), std::to_string(elapsed / 1000)});
    if (elapsed != 0) {
        int64_t rate = m_byteCount < 32768 ? m_byteCount * 1000 / elapsed : (m_byteCount / elapsed) * 1000;
        text += Fill(Tr("Engine", " (%1 Bytes/sec)"), {std::to_string(rate)});
    }
    TriggerDisplay("! " + text);
}

// ---------------------------------------------------------------- downloads

void TCustomFtpCli::Retr()
{
    StartDownload(ftpGetAsync, "RETR");
}

void TCustomFtpCli::List()
{
    StartDownload(ftpDirAsync, ListCommand.c_str());
}

void TCustomFtpCli::Nlst()
{
    StartDownload(ftpLsAsync, "NLST");
}

void TCustomFtpCli::StartDownload(TFtpRequest rqType, const char* command)
{
    if (!m_connected) {
        HandleError(std::string(command) + ": not connected");
        return;
    }
    if (m_localFileName.empty() && !DisplayFileFlag && !m_streamFromCaller) {
        HandleError("LocalFileName empty");
        return;
    }
    if (!CheckReady())
        return;
    BeginRequest(rqType);
    BeginTransfer(command, true);
    DataSocket()->OnSessionAvailable = [this](TCustomWSocket*, int) { DownloadAccept(); };
    DataSocket()->Resume(); // a server that connected already is accepted now

    m_transferStart = std::max<int64_t>(ResumeAt, 0);
    if (!DisplayFileFlag) {
        FreeOwnStream();
        if (!OpenLocalStream(true) || !m_localStream->Seek(m_transferStart)) {
            std::string reason = m_localErrno != 0 ? ": " + platform::FileErrorText(m_localErrno) : "";
            m_localFailure = true;
            FailTransfer(550, "550 Unable to open local file " + m_localFileName + reason, false);
            return;
        }
    }
    if (m_passive && !ConnectDataSocket([this](int error) { DownloadConnected(error); }))
        return;
    SendDataCommand(m_dataCommand + (HostFileName.empty() ? "" : " " + HostFileName), [this] { DownloadFirstReply(); });
}

bool TCustomFtpCli::FromServer(TSocket accepted)
{
    TSocketAddress peer;
    if (::getpeername(accepted, peer.Raw(), peer.LengthSlot()) != 0)
        return false;
    std::string text = peer.Host();
    std::string server = ControlSocket()->GetPeerAddr();
    if (server == text)
        return true;
    // Anyone may connect to the listener; only the server's bytes may become the file.
    TriggerDisplay(Fill(Tr("Engine", "! Refused a data connection from %1 (the server is %2)"), {text, server}));
    return false;
}

bool TCustomFtpCli::AcceptDataConnection(TSocket& accepted)
{
    TWSocket& data = *DataSocket();
    accepted = data.Accept();
    if (accepted == INVALID_SOCKET) {
        data.Close();
        FailTransfer(550, "Unable to establish data connection, error #" + std::to_string(data.LastError()), false);
        return false;
    }
    if (!FromServer(accepted)) {
        ::close(accepted);
        accepted = INVALID_SOCKET;
        return false; // the listener waits on for the server
    }
    data.Close(); // the listener: one connection is all it waited for
    return true;
}

void TCustomFtpCli::DownloadAccept()
{
    TWSocket& data = *DataSocket();
    TSocket accepted = INVALID_SOCKET;
    if (!AcceptDataConnection(accepted))
        return;
    data.OnSessionClosed = [this](TCustomWSocket*, int error) { DataClosed(error); };
    data.OnDataAvailable = [this](TCustomWSocket*, int) { DataReceive(); };
    data.OnDataSent = nullptr;
    data.Dup(accepted);
    ProtectDataConnection();
    m_startTime = platform::tickCount();
}

void TCustomFtpCli::DownloadConnected(int error)
{
    TWSocket& data = *DataSocket();
    data.OnSessionClosed = [this](TCustomWSocket*, int closeError) { DataClosed(closeError); };
    data.OnDataAvailable = [this](TCustomWSocket*, int) { DataReceive(); };
    data.OnDataSent = nullptr;
    m_startTime = platform::tickCount();
    DataMoved();
    if (error != 0) {
        FailTransfer(550, "Unable to establish data connection, error #" + std::to_string(error), false);
        return;
    }
    ProtectDataConnection();
}

// The room left before the download must stop: at TransferEnd (a range's end, quietly) or at
// FileEnd (the file's end, where more bytes mean the server sent from the wrong offset). -1
// when nothing limits it.
int64_t TCustomFtpCli::RoomLeft() const
{
    int64_t position = m_transferStart + m_byteCount;
    int64_t limit = TransferEnd;
    if (FileEnd >= 0 && (limit < 0 || FileEnd < limit))
        limit = FileEnd;
    return limit < 0 ? -1 : limit - position;
}

bool TCustomFtpCli::ProbeBeyondFileEnd()
{
    char extra = 0;
    if (DataSocket()->Receive(&extra, 1) <= 0)
        return false;
    m_overrun = true;
    TriggerDisplay(Fill(
        Tr("Engine", "! The server sent more than the file holds from offset %1: it did not start where REST asked"),
        {std::to_string(m_transferStart)}));
    DataSocket()->Close();
    return true;
}

int TCustomFtpCli::LimitedChunk(int wanted, bool receiving)
{
    int64_t allowance = m_limiter ? m_limiter->Allowance(this) : -1;
    if (allowance < 0)
        return wanted;
    if (allowance > 0)
        return static_cast<int>(std::min<int64_t>(allowance, wanted));
    if (m_limitWaiting)
        return 0;
    m_limitWaiting = true;
    if (receiving)
        DataSocket()->Pause();
    std::weak_ptr<bool> alive = m_alive;
    m_limiter->Wait(this, [this, alive, receiving] {
        if (alive.expired())
            return;
        m_limitWaiting = false;
        // A transfer that ended meanwhile has closed its socket: nothing to resume then.
        if (DataSocket()->State() != wsConnected)
            return;
        if (receiving)
            DataSocket()->Resume();
        else
            SendNextBlock(0);
    });
    return 0;
}

void TCustomFtpCli::DataReceive()
{
    if (!Progress())
        return;
    DataMoved();
    TWSocket& data = *DataSocket();
    int wanted = LimitedChunk(kTransferChunk, true);
    if (wanted == 0)
        return;
    int64_t room = RoomLeft();
    if (room >= 0) {
        bool rangeEnd = TransferEnd >= 0 && (FileEnd < 0 || TransferEnd < FileEnd);
        if (room <= 0) {
            if (rangeEnd) {
                m_reachedEnd = true;
                data.Close();
            } else {
                ProbeBeyondFileEnd(); // nothing (the close to come) is the right answer here
            }
            return;
        }
        wanted = static_cast<int>(std::min<int64_t>(room, wanted));
    }
    auto reachedRangeEnd = [&] {
        if (TransferEnd >= 0 && (FileEnd < 0 || TransferEnd < FileEnd) &&
            m_transferStart + m_byteCount >= TransferEnd) {
            m_reachedEnd = true;
            data.Close();
        }
    };
    // Into a file the bytes go from the socket to the disk without passing through here.
    auto* file = DisplayFileFlag ? nullptr : dynamic_cast<platform::TFileStream*>(m_localStream);
    if (file) {
        int moved = data.ReceiveToFile(file->Handle(), wanted);
        if (moved == -2) {
            m_localErrno = errno;
            TriggerDisplay(Tr("Engine", "! Error writing local file: ") + platform::FileErrorText(m_localErrno));
            m_localFailure = true;
            data.Shutdown(SHUT_RDWR);
            return;
        }
        if (moved > 0) {
            file->Advanced(moved);
            m_byteCount += moved;
            if (m_limiter)
                m_limiter->Spend(this, moved);
            reachedRangeEnd();
        } else if (moved < 0 && data.State() == wsConnected && data.LastError() != wsa::kWouldBlock) {
            TriggerDisplay(Tr("Engine", "! Data: Receive error ") + std::to_string(data.LastError()));
            data.Shutdown(SHUT_RDWR);
        }
        return;
    }
    if (m_transferBuffer.size() < static_cast<size_t>(kTransferChunk))
        m_transferBuffer.resize(kTransferChunk);
    char* buffer = m_transferBuffer.data();
    int received = data.Receive(buffer, wanted);
    if (received > 0) {
        if (m_tooLarge)
            return; // given up: what still comes until the close is dropped
        if (m_byteCount + received > kMaxMemoryTransfer && !DisplayFileFlag) {
            m_tooLarge = true;
            TriggerDisplay(Fill(Tr("Engine", "! More than %1 MiB received: given up"),
                                {std::to_string(kMaxMemoryTransfer / (1024 * 1024))}));
            // Neither the rest nor the server's last word is waited for: the connection goes, as
            // the reply still due would answer whatever command came next.
            data.Shutdown(SHUT_RDWR);
            m_posted.post([this, request = m_requestsStarted] {
                if (m_tooLarge && !m_requestDoneFlag && m_requestsStarted == request)
                    GiveUp(552, "More than " + std::to_string(kMaxMemoryTransfer / (1024 * 1024)) +
                                    " MiB received: connection closed");
            });
            return;
        }
        m_byteCount += received;
        if (m_limiter)
            m_limiter->Spend(this, received);
        if (m_localStream && m_localStream->Write(buffer, received) != received) {
            m_localErrno = errno;
            TriggerDisplay(Tr("Engine", "! Error writing local file: ") + platform::FileErrorText(m_localErrno));
            m_localFailure = true;
            data.Shutdown(SHUT_RDWR);
            return;
        }
        if (DisplayFileFlag && OnDisplayFile) {
            // Lines are cut at every run of CR and LF; a line split by the chunk comes in two pieces.
            int start = 0;
            for (int i = 0; i <= received; ++i) {
                if (i < received && buffer[i] != '\r' && buffer[i] != '\n')
                    continue;
                if (i > start) {
                    std::string line(buffer + start, static_cast<size_t>(i - start));
                    OnDisplayFile(this, line);
                }
                start = i + 1;
            }
        }
        reachedRangeEnd();
    } else if (received < 0 && data.State() == wsConnected && data.LastError() != wsa::kWouldBlock) {
        TriggerDisplay(Tr("Engine", "! Data: Receive error ") + std::to_string(data.LastError()));
        data.Shutdown(SHUT_RDWR);
    }
}

void TCustomFtpCli::DownloadFirstReply()
{
    if (!TransferAccepted())
        return;
    m_transferAccepted = true; // the server took the command: the data to come is the file
    m_next = [this] { FinalReply(); };
}

// ---------------------------------------------------------------- uploads

void TCustomFtpCli::Stor()
{
    StartUpload(ftpPutAsync, false);
}

void TCustomFtpCli::Appe()
{
    StartUpload(ftpAppendAsync, true);
}

void TCustomFtpCli::StartUpload(TFtpRequest rqType, bool append)
{
    if (!m_connected) {
        HandleError("STOR/APPE: not connected");
        return;
    }
    // A caller's stream stands for the file: setting one clears the file name.
    if (m_localFileName.empty() && !m_streamFromCaller) {
        HandleError("LocalFileName empty");
        return;
    }
    if (!CheckReady())
        return;
    BeginRequest(rqType);
    m_requestType = rqType; // uploads report as themselves, also inside a multi-step request
    BeginTransfer((append ? "APPE " : "STOR ") + HostFileName, false);

    bool cancel = false;
    if (OnReadyToTransmit)
        OnReadyToTransmit(this, cancel);
    if (cancel) {
        FailTransfer(426, "426 Transmit cancelled by application", true);
        return;
    }
    TWSocket& data = *DataSocket();
    data.OnSessionAvailable = [this](TCustomWSocket*, int) { UploadAccept(); };
    data.Resume();
    FreeOwnStream();
    if (!OpenLocalStream(false)) {
        std::string reason = m_localErrno != 0 ? ": " + platform::FileErrorText(m_localErrno) : "";
        m_localFailure = true;
        FailTransfer(426, "426 Unable to open local file " + m_localFileName + reason, true);
        return;
    }
    m_endOfFile = false;
    if (ResumeAt > 0 && !m_localStream->Seek(ResumeAt)) {
        m_localFailure = true;
        FailTransfer(426, "426 Unable to open local file " + m_localFileName, true);
        return;
    }
    data.SetBufSize(kTransferChunk); // one block of the upload is one block of the send queue
    if (m_passive) {
        ConnectDataSocket([this](int error) { UploadConnected(error); });
        return; // the command goes out once the data connection is up
    }
    SendDataCommand(m_dataCommand, [this] { UploadFirstReply(); });
}

void TCustomFtpCli::UploadConnected(int error)
{
    TWSocket& data = *DataSocket();
    data.OnSessionClosed = [this](TCustomWSocket*, int closeError) { DataClosed(closeError); };
    data.OnDataAvailable = nullptr;
    data.OnDataSent = nullptr;
    m_uploadConnectionOpen = true;
    m_startTime = platform::tickCount();
    if (error != 0) {
        FailTransfer(550, "Unable to establish data connection, error #" + std::to_string(error), false);
        return;
    }
    ProtectDataConnection();
    SendDataCommand(m_dataCommand, [this] { UploadFirstReply(); });
}

void TCustomFtpCli::UploadAccept()
{
    TWSocket& data = *DataSocket();
    TSocket accepted = INVALID_SOCKET;
    if (!AcceptDataConnection(accepted))
        return;
    data.OnSessionClosed = [this](TCustomWSocket*, int error) { DataClosed(error); };
    data.OnDataAvailable = [](TCustomWSocket* socket, int) {
        char discard[2048];
        socket->Receive(discard, sizeof discard);
    };
    data.OnDataSent = [this](TCustomWSocket*, int error) { SendNextBlock(error); };
    data.SetLingerOnOff(wsLingerOff);
    data.SetLingerTimeout(10);
    data.Dup(accepted);
    ProtectDataConnection();
    m_uploadConnectionOpen = true;
    if (m_transferAccepted && m_startTime == 0)
        m_posted.post([this] { StartSending(); });
}

void TCustomFtpCli::StartSending()
{
    m_startTime = platform::tickCount();
    SendNextBlock(0);
}

void TCustomFtpCli::UploadFirstReply()
{
    if (!TransferAccepted())
        return;
    m_transferAccepted = true;
    m_next = [this] { FinalReply(); };
    if (m_passive) {
        DataSocket()->OnDataSent = [this](TCustomWSocket*, int error) { SendNextBlock(error); };
        SendNextBlock(0);
    } else if (m_uploadConnectionOpen && m_startTime == 0) {
        m_posted.post([this] { StartSending(); });
    }
}

void TCustomFtpCli::SendNextBlock(int error)
{
    if (!m_localStream || !Progress() || !m_localStream)
        return;
    TWSocket& data = *DataSocket();
    if (error != 0) {
        TriggerDisplay(Fill(Tr("Engine", "! Error #%1 sending data"), {std::to_string(error)}));
        data.Close();
        return;
    }
    // Over TLS the first block waits for the negotiation: its end asks for it again.
    if (m_endOfFile || !m_transferAccepted || !m_uploadConnectionOpen || data.TlsNegotiating())
        return;
    int block = LimitedChunk(kTransferChunk, false);
    if (block == 0)
        return;
    if (auto* file = dynamic_cast<platform::TFileStream*>(m_localStream); file && SendFileBlock(*file, block))
        return;
    if (m_transferBuffer.size() < static_cast<size_t>(kTransferChunk))
        m_transferBuffer.resize(kTransferChunk);
    int64_t read = m_localStream->Read(m_transferBuffer.data(), block);
    if (read < 0) {
        m_localErrno = errno;
        TriggerDisplay(Tr("Engine", "! Error reading file: ") + platform::FileErrorText(m_localErrno));
        m_localFailure = true;
        data.Close();
        return;
    }
    if (read == 0) {
        m_endOfFile = true;
        data.Close();
        return;
    }
    m_byteCount += read;
    if (m_limiter)
        m_limiter->Spend(this, read);
    DataMoved();
    data.Send(m_transferBuffer.data(), static_cast<int>(read));
}

bool TCustomFtpCli::SendFileBlock(platform::TFileStream& file, int limit)
{
    TWSocket& data = *DataSocket();
    int64_t offset = file.Position();
    // The kernel moves the bytes: bigger pieces than a copied block cost nothing more (unless a
    // speed limit says how many may go).
    int sent = data.SendFile(file.Handle(), offset, limit < kTransferChunk ? limit : 4 * kTransferChunk);
    if (sent == -2)
        return false; // TLS, or bytes queued: through the buffer
    int sendErrno = errno;
    if (sent < 0 && (sendErrno == EINVAL || sendErrno == ENOSYS))
        return false; // a file the kernel cannot send from: read and sent here instead
    if (sent > 0) {
        file.Seek(offset);
        m_byteCount += sent;
        if (m_limiter)
            m_limiter->Spend(this, sent);
        DataMoved();
    } else if (sent == 0) {
        m_endOfFile = true;
        data.Close();
    } else if (sendErrno == EPIPE || sendErrno == ECONNRESET) {
        data.Close(); // the server's reply tells what became of the file
    } else if (sendErrno != EAGAIN && sendErrno != EWOULDBLOCK) {
        m_localErrno = sendErrno;
        TriggerDisplay(Tr("Engine", "! Error reading file: ") + platform::FileErrorText(m_localErrno));
        m_localFailure = true;
        data.Close();
    }
    return true;
}

// ---------------------------------------------------------------- the end of a transfer

// The first answer to a data command: 125 or 150 lets the transfer go on; anything else ends
// the request.
bool TCustomFtpCli::TransferAccepted()
{
    DisplayLastResponse();
    bool continued = false;
    ParseReplyCode(m_lastResponse, m_statusCode, continued);
    if (m_statusCode == 150 || m_statusCode == 125)
        return true;
    FirstReplyFailed();
    return false;
}

void TCustomFtpCli::FirstReplyFailed()
{
    SetErrorMessage(m_lastResponse);
    m_next = nullptr;
    m_awaitingReply = false;
    DataSocket()->Close();
    FreeOwnStream();
    ResumeAt = 0;
    TransferEnd = -1;
    FileEnd = -1;
    m_requestResult = m_statusCode;
    TriggerRequestDone(m_statusCode);
}

void TCustomFtpCli::FinalReply()
{
    DisplayLastResponse();
    bool continued = false;
    ParseReplyCode(m_lastResponse, m_statusCode, continued);
    m_awaitingReply = false;
    bool success = m_downloading ? codeIn(m_statusCode, {125, 226, 250}) : codeIn(m_statusCode, {226, 250});
    // A download cut at its end offset has all it wanted, whatever the server says of the rest.
    if (!success && !m_reachedEnd) {
        // The server's complaint about a transfer we cut because the local file failed
        // names the wrong cause.
        int result = m_localFailure || m_overrun || m_tooLarge ? LocalFailure() : m_statusCode;
        SetErrorMessage(m_lastResponse);
        TriggerDisplay(m_downloading ? Tr("Engine", "! RETR/LIST/NLST Failed") : Tr("Engine", "! STOR Failed"));
        if (m_downloading && !m_dataClosed && result == m_statusCode) {
            // What the server sent before it gave up may still wait in the data connection:
            // read to its close, so that another try starts after those bytes.
            m_replyFailure = result;
            m_requestResult = result; // a close of the session meanwhile ends it as failed
            m_replyReceived = true;
            return;
        }
        FreeOwnStream();
        DataSocket()->Close();
        m_requestResult = result;
        TriggerRequestDone(result);
        return;
    }
    m_replyReceived = true;
    CompletionCheck();
}

void TCustomFtpCli::DataClosed(int error)
{
    FreeOwnStream();
    m_dataClosed = true;
    m_replyStartTick = platform::tickCount(); // the final reply's time starts with the close
    m_dataError = error;
    bool whole = m_downloading && error == 0 && !m_replyReceived && m_transferAccepted && !m_localFailure &&
                 !m_overrun && !m_tooLarge && !m_reachedEnd && !m_progressAborted && m_dataTlsFailure.empty();
    if (whole && OnDataEnd) {
        auto alive = m_alive;
        OnDataEnd(this);
        if (!*alive)
            return;
    }
    CompletionCheck();
}

int TCustomFtpCli::LocalFailure()
{
    if (m_overrun) {
        SetErrorMessage("426 The server sent more than the file holds from offset " + std::to_string(m_transferStart));
        return 426;
    }
    if (m_tooLarge) {
        SetErrorMessage("552 More than " + std::to_string(kMaxMemoryTransfer / (1024 * 1024)) + " MiB received");
        return 552;
    }
    std::string reason = m_localErrno != 0 ? ": " + platform::FileErrorText(m_localErrno) : "";
    if (m_downloading) {
        SetErrorMessage("550 Error writing local file " + m_localFileName + reason);
        return 550;
    }
    SetErrorMessage("426 Error reading local file " + m_localFileName + reason);
    return 426;
}

void TCustomFtpCli::CompletionCheck()
{
    if (!m_replyReceived || !m_dataClosed)
        return;
    TransfertStats();
    int result = m_dataError;
    if (m_overrun || m_tooLarge) {
        result = LocalFailure();
    } else if (!m_dataTlsFailure.empty()) {
        SetErrorMessage("426 Data connection: " + m_dataTlsFailure);
        result = 426;
    } else if (m_reachedEnd) {
        result = 0;
    } else if (m_localFailure) {
        result = LocalFailure();
    } else if (m_replyFailure != 0) {
        result = m_replyFailure;
    } else if (m_progressAborted && result == 0) {
        SetErrorMessage("426 Transfer aborted by application");
        result = 426;
    }
    ResumeAt = 0;
    TransferEnd = -1;
    FileEnd = -1;
    m_requestResult = result;
    TriggerRequestDone(result);
}
