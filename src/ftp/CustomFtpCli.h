#pragma once

// One FTP client connection: the control connection, the replies read from it, and the
// requests. A request returns at once and ends with exactly one OnRequestDone, delivered from
// the event loop, never from inside the call that started it.

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <initializer_list>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "ftp/FtpSecurity.h"
#include "net/TlsSession.h"
#include "net/WSocket.h"
#include "platform/EventLoop.h"
#include "platform/RateLimiter.h"
#include "platform/Stream.h"
#include "platform/Timer.h"

class FtpException : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

enum TFtpState
{
    ftpNotConnected = 0,
    ftpReady = 1,
    ftpInternalReady = 2,
    ftpDnsLookup = 3,
    ftpConnected = 4,
    ftpAbort = 5,
    ftpWaitingBanner = 7,
    ftpWaitingResponse = 8
};

enum TFtpConnectionType
{
    ftpDirect,
    ftpProxy,
    ftpProxyUserLogin,
    ftpProxySite,
    ftpProxySiteUserHost,
    ftpSocks4,
    ftpSocks4A,
    ftpSocks5
};

// Through an FTP proxy: the proxy is connected to, and it relays to the server.
inline bool IsProxyConnection(TFtpConnectionType type)
{
    return type == ftpProxy || type == ftpProxyUserLogin || type == ftpProxySite || type == ftpProxySiteUserHost;
}

enum TFtpShareMode
{
    ftpShareCompat,
    ftpShareExclusive,
    ftpShareDenyWrite,
    ftpShareDenyRead,
    ftpShareDenyNone
};

enum TFtpOption : unsigned
{
    ftpAcceptLF = 1,
    ftpNoAutoResumeAt = 2
};
using TFtpOptions = unsigned;

// The request reported in OnRequestDone.
enum TFtpRequest : uint8_t
{
    ftpNoRequest = 0,
    ftpOpenAsync = 1,
    ftpUserAsync = 2,
    ftpPassAsync = 3,
    ftpCwdAsync = 4,
    ftpConnectAsync = 5,
    ftpReceiveAsync = 6,
    ftpDirAsync = 7,
    ftpLsAsync = 8,
    ftpPortAsync = 9,
    ftpGetAsync = 10,
    ftpDirectoryAsync = 11,
    ftpFileListAsync = 12,
    ftpSystemAsync = 13,
    ftpSystAsync = 14,
    ftpQuitAsync = 15,
    ftpSizeAsync = 16,
    ftpPutAsync = 17,
    ftpAppendAsync = 18,
    ftpMkdAsync = 21,
    ftpRmdAsync = 22,
    ftpRenameFileAsync = 23,
    ftpDeleAsync = 24,
    ftpRenameAsync = 25,
    ftpRenToAsync = 26,
    ftpRenFromAsync = 27,
    ftpDeleteAsync = 28,
    ftpMkDirAsync = 29,
    ftpRmDirAsync = 30,
    ftpPwdAsync = 31,
    ftpQuoteAsync = 32,
    ftpCdupAsync = 33,
    ftpDoQuoteAsync = 34,
    ftpTransmitAsync = 35,
    ftpTypeSetAsync = 36,
    ftpRestAsync = 37,
    ftpRestGetAsync = 38,
    ftpRestartGetAsync = 39,
    ftpRestPutAsync = 40,
    ftpRestartPutAsync = 41,
    ftpMdtmAsync = 42,
    ftpMfmtAsync = 43,
    ftpUtf8Async = 44
};

// The steps of a multi-step request.
enum TFtpFct : uint8_t
{
    ftpFctNone = 0,
    ftpFctOpen = 1,
    ftpFctUser = 2,
    ftpFctPass = 3,
    ftpFctCwd = 4,
    ftpFctSize = 5,
    ftpFctMkd = 6,
    ftpFctRmd = 7,
    ftpFctRenFrom = 8,
    ftpFctRenTo = 9,
    ftpFctGet = 10,
    ftpFctDir = 11,
    ftpFctQuit = 12,
    ftpFctSyst = 13,
    ftpFctDele = 14,
    ftpFctPwd = 15,
    ftpFctQuote = 16,
    ftpFctPut = 17,
    ftpFctTypeSet = 18,
    ftpFctRest = 19,
    ftpFctCDup = 20,
    ftpFctLs = 21,
    ftpFctAppend = 22,
    ftpFctPort = 23,
    ftpFctMdtm = 24,
    ftpFctMfmt = 25,
    ftpFctUtf8 = 26
};

class TCustomFtpCli
{
public:
    static constexpr int kReceiveBufferSize = 4096;
    // What one reply (all its lines) and one transfer into memory (a listing) may grow to; a
    // server that sends more fails the request instead of filling the memory.
    static constexpr int64_t kMaxReplyBytes = 1024 * 1024;
    static constexpr int64_t kMaxMemoryTransfer = 256 * 1024 * 1024;
    // The result of an Open that TLS stopped on purpose: a certificate not accepted, TLS
    // required but refused. Trying again would end the same way.
    static constexpr int kTlsRefused = 534;
    // A reply whose code is no FTP reply code (outside 100-599) ends the request with this,
    // and the connection.
    static constexpr int kProtocolError = 500;

    using TDisplayEvent = std::function<void(TCustomFtpCli* sender, std::string& msg)>;
    using TErrorEvent = std::function<void(TCustomFtpCli* sender, int error)>;

    TDisplayEvent OnDisplay;
    TDisplayEvent OnDisplayFile;
    TDisplayEvent OnCommand;
    std::function<void(TCustomFtpCli* sender)> OnResponse;
    std::function<void(TCustomFtpCli* sender, int64_t count, bool& abort)> OnProgress;
    TErrorEvent OnSessionConnected;
    TErrorEvent OnSessionClosed;
    std::function<void(TCustomFtpCli* sender, TFtpRequest rqType, int error)> OnRequestDone;
    std::function<void(TCustomFtpCli* sender)> OnStateChange;
    // A download's data connection closed with its bytes whole; the final reply is still due.
    // The moment to send the next transfer's commands ahead.
    std::function<void(TCustomFtpCli* sender)> OnDataEnd;
    std::function<void(TCustomFtpCli* sender, bool& cancel)> OnReadyToTransmit;
    std::function<void(TCustomFtpCli* sender, const std::exception& e, bool& canClose)> OnBgException;
    // When assigned, receives the text of a request that cannot start instead of an exception.
    std::function<void(TCustomFtpCli* sender, const std::string& msg)> OnError;
    // Judges the server's certificate once the control connection's TLS is up: true lets the
    // login go on; false ends it, with refusal as the reason when one is set. Unassigned, only
    // a certificate the system's trust store vouches for is taken.
    std::function<bool(TCustomFtpCli* sender, const TTlsCertificate& certificate, std::string& refusal)> OnCertificate;

    // Published settings, read when a request starts.
    std::string HostName;
    std::string Port = "ftp";
    std::string UserName;
    std::string PassWord;
    std::string HostDirName;
    std::string HostFileName;
    int64_t FileTime = 0; // what Mfmt() sets: seconds since 1970, UTC
    // The command of a directory listing: "MLSD" where the server offers it (exact names,
    // sizes and times), else "LIST".
    std::string ListCommand = "LIST";
    std::string ProxyServer;
    std::string ProxyPort;
    // The TYPE the server confirmed on this login ('I' or 'A'), 0 when not known: cleared by a
    // new connection, a close, and any TYPE or raw command; set by whoever saw the 200.
    char TypeInEffect = 0;
    bool DisplayFileFlag = false;
    TFtpOptions Options = ftpAcceptLF;
    // Restart offset of the next download or upload; back to 0 when a transfer ends.
    int64_t ResumeAt = 0;
    // Optional end of a download in the local file (exclusive, -1 for none): the client writes
    // nothing beyond it, ends the transfer there and reports success, whatever the server
    // sends after. For byte ranges of one file fetched by several connections.
    int64_t TransferEnd = -1;
    // The size of the file being downloaded, when known (-1 otherwise): nothing is written
    // beyond it, and a byte the server sends past it marks the download as overrun (Overrun()),
    // which fails it. A server that answers REST but sends from byte 0 is caught this way.
    int64_t FileEnd = -1;
    // Seconds a reply may take from its command (the greeting from the connect), and seconds a
    // data connection may go without moving a byte; 0 waits without limit. Running out of
    // either closes the connection: the request fails as if the server had gone.
    int ReplyTimeout = 60;
    int DataTimeout = 60;
    // SOCKS server settings, given to both sockets before every connect.
    std::string SocksServer;
    std::string SocksPort;
    std::string SocksUserCode;
    std::string SocksPassword;
    // TLS for the logins of the next Open requests.
    TFtpSecurity Security = ftpsOff;
    // Seconds the reply to a command sent ahead may take (0: ReplyTimeout alone). Past it the
    // server is taken not to answer commands sent together: the connection closes, and
    // AheadStalled() tells why.
    int AheadTimeout = 10;
    // EPSV worked on another login to the same server: transfers may be sent ahead before this
    // login has used it.
    bool EpsvKnown = false;

    TCustomFtpCli();
    virtual ~TCustomFtpCli();
    TCustomFtpCli(const TCustomFtpCli&) = delete;
    TCustomFtpCli& operator=(const TCustomFtpCli&) = delete;

    // Requests.
    virtual void Open();
    virtual void User();
    virtual void Pass();
    virtual void Cwd();
    virtual void Size();
    virtual void Mkd();
    virtual void Rmd();
    virtual void RenFrom();
    virtual void RenTo();
    virtual void Quit();
    virtual void Syst();
    virtual void Dele();
    virtual void Pwd();
    virtual void Quote();
    virtual void TypeSet();
    virtual void TypeBinary();
    virtual void TypeAscii();
    virtual void Rest();
    virtual void Cdup();
    // MDTM of HostFileName: its modification time, in ModifiedResult().
    virtual void Mdtm();
    // MFMT of HostFileName: sets its modification time to FileTime.
    virtual void Mfmt();
    // OPTS UTF8 ON: names are UTF-8 from now on, where the server converts them at all.
    virtual void Utf8On();
    // Prepares the data connection and sends PASV or PORT ("Port" is the server port setting).
    virtual void PortAsync();
    virtual void Abort();

    // Data requests.
    virtual void Retr();
    virtual void List();
    virtual void Nlst();
    virtual void Stor();
    virtual void Appe();

    // Multi-step requests, reported as one request.
    virtual void Connect();
    virtual void ReceiveFile();
    virtual void Dir();
    virtual void Ls();
    virtual void Get();
    virtual void Directory();
    virtual void FileList();
    virtual void System();
    virtual void FileSize();
    virtual void Put();
    virtual void Append();
    virtual void RenameFile();
    virtual void Rename();
    virtual void Delete();
    virtual void MkDir();
    virtual void RmDir();
    virtual void DoQuote();
    virtual void Transmit();
    virtual void AppendFile();
    virtual void RestGet();
    virtual void RestartReceive();
    virtual void RestPut();
    virtual void RestartTransmit();

    // Commands sent before the replies to those before them. A request that would send a
    // command sent ahead takes its reply instead; the replies wait unread until then.
    void SendAhead(const std::string& cmd);
    // TYPE (when type, I or A, is not the one in effect), EPSV (or the PORT of a listener made
    // now) and the data command of a transfer of hostPath, sent ahead; false (nothing sent) when
    // this login cannot: an FTP proxy, EPSV not known to work, a listener already waiting.
    bool SendTransferAhead(bool download, const std::string& hostPath, char type);
    // EPSV (or PORT) and the listing of directory (ListCommand), sent ahead as a download's are.
    bool SendListAhead(const std::string& directory);
    bool TransferAheadPossible() const;
    size_t CommandsAhead() const { return m_ahead.size(); }
    // The replies to the first commands ahead are dropped unread until `keep` are left, for
    // commands no request will take. It stops at a command of a data connection, which
    // cannot be dropped (the connection's next request then fails, and closes it).
    void DiscardAhead(size_t keep);
    // EPSV gave a port on this login.
    bool EpsvWorked() const { return m_epsvWorked; }
    // The last close came from a command sent ahead that the server did not answer.
    bool AheadStalled() const { return m_aheadStalled; }

    const std::string& LocalFileName() const { return m_localFileName; }
    void SetLocalFileName(const std::string& name);
    bool Binary() const { return m_type == 'I'; }
    void SetBinary(bool binary) { m_type = binary ? 'I' : 'A'; }
    TFtpShareMode ShareMode() const;
    void SetShareMode(TFtpShareMode mode);
    TFtpConnectionType ConnectionType() const { return m_connectionType; }
    void SetConnectionType(TFtpConnectionType type);
    bool Passive() const { return m_passive; }
    void SetPassive(bool passive);

    // The caller's stream for the next transfer, used instead of LocalFileName; never freed here.
    platform::TStream* LocalStream() const { return m_localStream; }
    void SetLocalStream(platform::TStream* stream);

    const std::string& ErrorMessage() const { return m_errorMessage; }
    const std::string& LastResponse() const { return m_lastResponse; }
    int StatusCode() const { return m_statusCode; }
    int RequestResult() const { return m_requestResult; }
    const std::string& DirResult() const { return m_dirResult; }
    int64_t SizeResult() const { return m_sizeResult; }
    // Seconds since 1970 (UTC) from the last MDTM, -1 when it gave none.
    int64_t ModifiedResult() const { return m_modifiedResult; }
    int64_t ByteCount() const { return m_byteCount; }
    // The offset the last download started writing at: bytes [TransferStart, +ByteCount) are on disk.
    int64_t TransferStart() const { return m_transferStart; }
    // The last download received more than FileEnd allowed.
    bool Overrun() const { return m_overrun; }
    // The last transfer failed at its local file (not opened, not read or written).
    bool LocalFailed() const { return m_localFailure; }
    // Every line of the last reply, continuation lines included.
    const std::vector<std::string>& ReplyLines() const { return m_replyLines; }
    int HighLevelResult() const { return m_highLevelResult; }
    const std::string& DnsResult() const { return m_dnsResult; }
    TFtpState State() const { return m_state; }
    TFtpRequest RequestType() const { return m_requestType; }
    bool Connected() const { return m_controlSocket->State() != wsClosed; }
    // The control connection runs over TLS, and so does every data connection.
    bool Protected() const { return m_controlSocket->Tls() != nullptr && m_dataProtected; }
    // The SHA-256 fingerprint of the certificate this login accepted; empty without TLS.
    const std::string& ServerFingerprint() const { return m_serverFingerprint; }
    TWSocket* ControlSocket() const { return m_controlSocket.get(); }
    TWSocket* DataSocket() const { return m_dataSocket.get(); }

    // The speed limit the data connection keeps from now on; null for none.
    void SetRateLimiter(platform::TRateLimiter* limiter) { m_limiter = limiter; }

    // Requests started and completions delivered so far: a started request ends exactly once.
    uint64_t RequestsStarted() const { return m_requestsStarted; }
    uint64_t RequestsDone() const { return m_requestsDone; }

protected:
    using TContinuation = std::function<void()>;

    virtual void SendCommand(const std::string& cmd);
    virtual void TriggerDisplay(const std::string& msg);
    virtual void TriggerError(const std::string& msg);
    virtual void HandleBackGroundException(const std::exception& e);
    // Raises OnProgress for the position reached; false when the owner aborted the transfer.
    virtual bool Progress();
    virtual void TransfertStats();
    // Gives a socket the connection settings (SOCKS) before each of its connects: a closed
    // socket forgets them.
    virtual void ApplyConnectionSettings(TWSocket& socket);

    void HandleError(const std::string& msg);
    void SetState(TFtpState state);
    bool CheckReady();
    void DisplayLastResponse();
    void ExecAsync(TFtpRequest rqType, const std::string& cmd, std::vector<int> acceptedCodes,
                   TContinuation doneAsync = nullptr);
    void NextExecAsync();
    // Shows the reply line; once it is the reply's last, takes its code: false before that.
    bool TakeFinalReply();
    void InterpretResponse();
    void TriggerRequestDone(int error);
    // Marks the start of a request that will end with one completion.
    void BeginRequest(TFtpRequest rqType);
    // A synthesised reply for a failure found by the client itself.
    void SetSocketFailure(int error);
    void SetErrorMessage(const std::string& line);
    void HighLevelAsync(TFtpRequest rqType, std::initializer_list<TFtpFct> steps);
    void NextHighLevelStep();
    // Takes the next step of a multi-step request out of its set; null when none is left.
    std::function<void()> TakeNextStep();

    TFtpState m_state = ftpReady;
    int m_statusCode = 0;
    int m_requestResult = 0;
    TFtpFct m_fctCurrent = ftpFctNone;
    TFtpRequest m_requestType = ftpNoRequest;
    bool m_requestDoneFlag = true;
    bool m_connected = false;
    bool m_highLevelFlag = false;
    TContinuation m_highLevelContinuation;
    TContinuation m_next;
    TContinuation m_doneAsync;
    std::vector<int> m_acceptedCodes;
    std::string m_lastResponse;
    std::string m_savedResponse;
    int m_savedStatus = -1;
    std::string m_errorMessage;
    std::string m_dirResult;
    int64_t m_sizeResult = 0;
    int64_t m_modifiedResult = -1;
    std::string m_dnsResult;
    std::string m_socksError; // text of the last SOCKS negotiation failure
    char m_type = 'I';
    bool m_passive = false;
    bool m_epsvRefused = false; // the server answered EPSV with a refusal: PASV for this session

private:
    // The TLS steps of Open, between the greeting and the end of the request.
    void GreetingAccepted();
    void RequestTls();
    void StartControlTls();
    void ControlTlsDone(int error);
    void ProtectData();
    void FinishOpen();
    // One command inside the running Open request; onReply gets the final reply's code.
    void OpenStep(const std::string& cmd, std::function<void(int code)> onReply);
    // Every data connection of a protected login negotiates TLS with the server it checked.
    void ProtectDataConnection();
    void DataTlsDone(int error);

    // Transfers.
    // Every flag of the completion rule back to its start, for a new transfer.
    void BeginTransfer(const std::string& command, bool downloading);
    void StartDownload(TFtpRequest rqType, const char* command);
    void StartUpload(TFtpRequest rqType, bool append);
    bool OpenLocalStream(bool forWriting);
    void FreeOwnStream();
    void DropEmptyCreatedFile();
    bool ParsePasvReply(uint16_t& port);
    // Makes data listen for an active-mode data connection; gives the PORT or EPRT naming it.
    std::string ListenForData(TWSocket& data);
    bool ConnectDataSocket(std::function<void(int)> connected);
    void FailTransfer(int code, const std::string& message, bool logIt);
    bool AcceptDataConnection(TSocket& accepted);
    void DownloadAccept();
    void DownloadConnected(int error);
    void DataReceive();
    void DownloadFirstReply();
    void UploadAccept();
    void UploadConnected(int error);
    void UploadFirstReply();
    bool TransferAccepted();
    void FirstReplyFailed();
    void FinalReply();
    void DataClosed(int error);
    int LocalFailure(); // sets ErrorMessage, gives the code
    void CompletionCheck();
    void StartSending();
    void SendNextBlock(int error);
    // One block of a file upload sent by the kernel; false when the socket cannot (TLS).
    bool SendFileBlock(platform::TFileStream& file, int limit);
    void SendDataCommand(const std::string& cmd, TContinuation next);
    // The data connection that came in is the server's (the control connection's peer).
    bool FromServer(TSocket accepted);
    // Reads one byte past FileEnd: true when the server sent one.
    bool ProbeBeyondFileEnd();
    int64_t RoomLeft() const;
    void DataMoved();

    void ControlSocketDnsLookupDone(int error);
    void ControlSocketSessionConnected(int error);
    void ControlSocketDataAvailable();
    // Handles the complete reply lines received, as far as requests want them.
    void ParseReplies();
    void ControlSocketSessionClosed(int error);
    // Handles one complete reply line; false when the rest of the buffer must wait.
    bool HandleReplyLine();
    void DeliverRequestDone(TFtpRequest rqType, int error);
    // A reply is awaited from now on: its time starts.
    void AwaitReply();
    // Once a second while a request runs: a reply or a data connection overdue ends it.
    void WatchdogTick();
    void TimedOut(const std::string& what);
    // Ends a request whose server broke a limit: the connection is closed, the request fails.
    void GiveUp(int code, const std::string& message);

    // Commands sent ahead (FtpPipeline.cpp).
    void WriteCommand(const std::string& cmd);
    void ClaimAhead(const std::string& cmd);
    // The command of a data connection sent ahead (EPSV, or the PORT of a listener made now).
    bool DataConnectionAhead(std::string& command);
    // Replies to commands sent ahead stay in the buffer while no request waits for them.
    bool RepliesHeldBack() const;
    bool TransferCommandAhead() const;
    // A data listener's handler until a transfer sets its own.
    static void PauseUntilTaken(TCustomWSocket* listener, int error);
    void ForgetAhead();
    void CloseForAhead(const std::string& why);

    std::unique_ptr<TWSocket> m_controlSocket;
    std::unique_ptr<TWSocket> m_dataSocket;
    std::string m_localFileName;
    int m_shareMode = 16;
    TFtpConnectionType m_connectionType = ftpDirect;
    std::array<char, kReceiveBufferSize> m_receiveBuffer{};
    int m_receiveLength = 0;
    bool m_discardingLongLine = false;
    bool m_awaitingReply = false;
    int64_t m_replyStartTick = 0;
    std::vector<std::string> m_replyLines;
    int64_t m_replyBytes = 0;
    bool m_replyComplete = true;
    platform::Timer m_watchdog;
    uint32_t m_functionSet = 0;
    uint64_t m_stepStarts = 0;
    int m_highLevelResult = 0;

    std::unique_ptr<platform::TStream> m_ownStream;
    platform::TStream* m_localStream = nullptr;
    bool m_streamFromCaller = false;
    std::string m_pasvResponse;
    std::string m_dataCommand;
    int m_dataError = 0;
    int64_t m_byteCount = 0;
    int64_t m_transferStart = 0;
    int64_t m_dataActivityTick = 0;
    bool m_transferActive = false;
    bool m_overrun = false;
    bool m_tooLarge = false;    // a transfer into memory went past kMaxMemoryTransfer
    int m_localErrno = 0;       // why the local file failed
    bool m_createdFile = false; // the download's own stream made its file
    int64_t m_startTime = 0;
    int64_t m_stopTime = 0;
    bool m_downloading = false;
    bool m_replyReceived = false;
    int m_replyFailure = 0; // a download's failing final reply, waiting for the data's close
    bool m_dataClosed = false;
    bool m_endOfFile = false;
    bool m_transferAccepted = false; // the server answered the data command with 125 or 150
    bool m_uploadConnectionOpen = false;
    bool m_localFailure = false;    // the local file failed: the transfer cannot have succeeded
    bool m_progressAborted = false; // the owner stopped the transfer through OnProgress
    bool m_reachedEnd = false;      // the download reached TransferEnd
    std::vector<char> m_transferBuffer;

    std::shared_ptr<TTlsSessionCache> m_tlsSessions;
    bool m_dataProtected = false;
    std::string m_serverFingerprint;
    std::string m_dataTlsFailure; // why the data connection's TLS failed this transfer

    std::deque<std::string> m_ahead;           // sent ahead, not yet taken by a request
    std::unique_ptr<TWSocket> m_listenerAhead; // active mode: the listener of a PORT sent ahead
    std::string m_listenerCommand;
    int m_discardReplies = 0;     // replies to drop before the next one taken
    bool m_awaitingAhead = false; // the reply awaited is to a command sent ahead
    bool m_aheadStalled = false;
    bool m_dataStepPending = false; // the running request has a data command still to send
    bool m_epsvWorked = false;

    uint64_t m_requestsStarted = 0;
    uint64_t m_requestsDone = 0;
    platform::PostTarget m_posted;
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
    platform::TRateLimiter* m_limiter = nullptr;
    bool m_limitWaiting = false;
    // The bytes the speed limit lets the data connection move now, at most wanted; 0 after
    // arranging to be called again (a receiving socket pauses meanwhile).
    int LimitedChunk(int wanted, bool receiving);
};
