#include "manager/FtpManager.h"

#include <charconv>

#include <algorithm>
#include <iostream>

#include "config/CertificateTrust.h"
#include "manager/SftpSession.h"
#include "sftp/SftpClient.h"
#include "platform/Translate.h"

using platform::Fill;
using platform::Tr;

const char* ConnectionModeName(TConnectionMode mode)
{
    static const char* const kNames[] = {"cmLogin",   "cmChangeDir", "cmWalk",   "cmTransfer", "cmRefresh",
                                         "cmMakeDir", "cmRename",    "cmDelete", "cmChmod"};
    return mode <= cmChmod ? kNames[mode] : "?";
}

const char* OperationName(TOperation operation)
{
    static const char* const kNames[] = {"Connect", "ChangeDir", "Refresh",    "Walk",          "MakeDirs",
                                         "Rename",  "Delete",    "ChangeMode", "CalculateSize", "Transfer"};
    return kNames[static_cast<int>(operation)];
}

TFtpManager::TFtpManager(IManagerHost& host) : m_host(host) {}

TFtpManager::~TFtpManager()
{
    for (auto& slot : m_slots)
        slot.Client.reset();
}

// ---------------------------------------------------------------- the table

std::unique_ptr<TFtpClient> TFtpManager::CreateClient(int index)
{
    auto client = std::make_unique<TFtpClient>();
    client->SetShareMode(ftpShareDenyNone); // several connections write one file at their offsets
    client->OnDisplay = [this, index](TCustomFtpCli*, std::string& msg) { m_host.ShowLogLine(index, msg); };
    client->OnProgress = [this, index](TCustomFtpCli*, int64_t count, bool&) {
        if (auto* session = FtpSessionOf(index))
            session->Progress(count);
    };
    client->OnRequestDone = [this, index](TCustomFtpCli*, TFtpRequest rqType, int error) {
        RequestDone(index, rqType, error);
    };
    client->OnSessionClosed = [this, index](TCustomFtpCli*, int) { SessionClosed(index); };
    client->OnDataEnd = [this, index](TCustomFtpCli*) {
        if (auto* session = FtpSessionOf(index))
            session->DataEnded();
    };
    // Requests refused by the client reach the log instead of the event loop as exceptions.
    client->OnError = [this, index](TCustomFtpCli*, const std::string& msg) { Log(index, "! " + msg); };
    return client;
}

void TFtpManager::DestroyClient(int index)
{
    TConnectionSlot& slot = Slot(index);
    if (!slot.Client)
        return;
    ResetConnection(*slot.Client);
    // Events of a client being destroyed must not reach the table.
    slot.Client->OnRequestDone = nullptr;
    slot.Client->OnSessionClosed = nullptr;
    if (index == 0)
        m_treeDelete.reset(); // it works through the session that goes now
    slot.Session.reset();
    slot = TConnectionSlot{};
}

void TFtpManager::SetMode(int index, TConnectionMode mode)
{
    TConnectionMode& current = Slot(index).Mode;
#ifndef NDEBUG
    if (current != mode)
        std::cerr << "connection " << index << ": " << ConnectionModeName(current) << " -> " << ConnectionModeName(mode)
                  << "\n";
#endif
    current = mode;
}

void TFtpManager::InitConnections(int count)
{
    for (int i = 0; i < kMaxConnections; ++i)
        DestroyClient(i);
    m_count = std::clamp(count, 1, kMaxConnections - 1);
    for (int i = 0; i < m_count; ++i) {
        Slot(i).Client = CreateClient(i);
        ConfigureConnection(i);
    }
    m_cache.Clear();
    m_walkStack.clear();
}

void TFtpManager::SetConnectionCount(int newCount)
{
    newCount = std::clamp(newCount, 1, kMaxConnections - 1);
    int oldCount = m_count;
    // Set first: nothing reaches the connections that go while they close, and ConfigureConnection
    // reaches only connections below Count.
    m_count = newCount;
    for (int i = newCount; i < oldCount; ++i)
        DestroyClient(i);
    for (int i = oldCount; i < newCount; ++i) {
        Slot(i).Client = CreateClient(i);
        ConfigureConnection(i);
    }
}

ISession& TFtpManager::RunSession(int index)
{
    TConnectionSlot& slot = Slot(index);
    if (!slot.Session) {
        if (Sftp())
            slot.Session = index == 0 ? std::make_unique<TSftpSession>(*m_sftpMain, SshParams())
                                      : std::make_unique<TSftpSession>(NewSftpClient(index), SshParams());
        else
            slot.Session = std::make_unique<TFtpSession>(*this, index);
    }
    SetMode(index, cmTransfer);
    return *slot.Session;
}

TFtpSession* TFtpManager::FtpSessionOf(int index) const
{
    const TConnectionSlot& slot = Slot(index);
    return SessionWorks(index) && !Sftp() ? static_cast<TFtpSession*>(slot.Session.get()) : nullptr;
}

bool TFtpManager::SessionWorks(int index) const
{
    return Mode(index) == cmTransfer || (index == 0 && Mode(0) == cmDelete && m_treeDelete && m_treeDelete->Running());
}

bool TFtpManager::Connected(int index) const
{
    if (index < 0 || index >= m_count)
        return false;
    if (!Sftp())
        return Slot(index).Client && Slot(index).Client->Connected();
    if (index == 0)
        return m_sftpMain && m_sftpMain->Ready();
    return Slot(index).Session && Slot(index).Session->LoggedIn();
}

bool TFtpManager::EpsvKnown() const
{
    for (int i = 0; i < m_count; ++i)
        if (Slot(i).Client && Slot(i).Client->EpsvWorked())
            return true;
    return false;
}

void TFtpManager::RefuseMlsd()
{
    if (!m_features.Mlsd)
        return;
    Log(0, Tr("Engine", "! The server refused MLSD: listings come by LIST"));
    m_features.Mlsd = false;
    if (TFtpClient* main = Client(0))
        main->ListCommand = "LIST";
}

void TFtpManager::ConfigureConnection(int index)
{
    TFtpClient* client = Client(index);
    if (!client)
        return;
    const TSettings& settings = m_host.Settings();
    std::string message;
    if (settings.Proxy.Enabled) {
        message = Fill(Tr("Engine", "Using Proxy Connecting to %1 ..."), {m_session.HostName});
        client->SetConnectionType(static_cast<TFtpConnectionType>(settings.Proxy.Type));
        client->ProxyServer = settings.Proxy.Host;
        client->ProxyPort = settings.Proxy.Port;
        client->SetPassive(true);
    } else if (settings.Socks.Enabled) {
        message = Fill(Tr("Engine", "Using Socks Connecting to %1 ..."), {m_session.HostName});
        client->SetConnectionType(static_cast<TFtpConnectionType>(settings.Socks.Type));
        client->SocksServer = settings.Socks.Host;
        client->SocksPort = settings.Socks.Port;
        client->SocksUserCode = settings.Socks.User;
        client->SocksPassword = settings.Socks.Pass;
        client->SetPassive(true);
    } else {
        message = Fill(Tr("Engine", "Connecting to %1 ..."), {m_session.HostName});
        client->SetConnectionType(ftpDirect);
        client->SetPassive(settings.PasvMode);
    }
    client->ReplyTimeout = settings.ReplyTimeout;
    client->DataTimeout = settings.DataTimeout;
    client->Security = static_cast<TFtpSecurity>(m_session.Security >= 0 ? m_session.Security : settings.TlsMode);
    if (index > 0 && m_tlsRefused && client->Security == ftpsAuto)
        client->Security = ftpsOff;
    client->OnCertificate = [this](TCustomFtpCli*, const TTlsCertificate& certificate, std::string& refusal) {
        return JudgeCertificate(certificate, refusal);
    };
    if (!m_session.HostName.empty())
        Log(index, message);
}

void TFtpManager::ResetConnection(TFtpClient& client)
{
    if (client.Connected())
        client.AbortSync();
    if (client.Connected())
        client.QuitSync();
}

void TFtpManager::ConnectMain(const THostInfo& info)
{
    m_retryLeft = m_host.Settings().ConnectionRetryTimes;
    TFtpClient* main = Client(0);
    if (!main)
        return;
    if (info.Sftp || (m_host.TransfersRunning() && Sftp())) {
        if (!m_host.TransfersRunning()) {
            m_cache.Clear();
            m_session = info;
            m_features = {};
            m_treeDelete.reset();
            for (int i = 0; i < m_count; ++i) {
                ResetConnection(*Slot(i).Client);
                Slot(i).Session.reset();
            }
        }
        m_abortMain = false;
        SftpConnect();
        return;
    }
    if (m_host.TransfersRunning()) {
        // A background run uses the other connections: only the main one starts again.
        ResetConnection(*main);
    } else {
        m_cache.Clear();
        // A new site: the sessions of the last one go (before the SFTP connection some of them
        // work on), and the next run makes those of this site's protocol.
        m_treeDelete.reset();
        for (int i = 0; i < m_count; ++i)
            Slot(i).Session.reset();
        m_sftpMain.reset();
        m_session = info;
        m_tlsRefused = false;
        m_features = {};
        main->ListCommand = "LIST"; // until this server's FEAT says more
        m_pipeliningRefused = false;
        for (int i = 0; i < m_count; ++i)
            ResetConnection(*Slot(i).Client);
        main->HostName = m_session.HostName;
        main->Port = m_session.HostPort;
        main->UserName = m_session.UserName;
        main->PassWord = m_session.PassWord;
    }
    ConfigureConnection(0);
    m_abortMain = false;
    m_typeBeforeList = false;
    SetMode(0, cmLogin);
    main->Open();
}

bool TFtpManager::JudgeCertificate(const TTlsCertificate& certificate, std::string& refusal)
{
    std::string site = m_session.HostName + ":" + m_session.HostPort;
    std::string accepted = site + " " + certificate.Fingerprint;
    if (certificate.Verified || std::find(m_acceptedCertificates.begin(), m_acceptedCertificates.end(), accepted) !=
                                    m_acceptedCertificates.end())
        return true;
    TCertificateTrust trust(m_host.CertificateTrustFile());
    std::string trusted = trust.Trusted(site);
    if (trusted == certificate.Fingerprint) {
        m_acceptedCertificates.push_back(accepted);
        return true;
    }
    if (!trusted.empty()) {
        refusal = Fill(Tr("Engine",
                          "The certificate of %1 is not the one trusted for it (trusted SHA-256 %2, now SHA-256 %3): "
                          "refused"),
                       {site, trusted, certificate.Fingerprint});
        return false;
    }
    switch (m_host.AskCertificate(site, certificate)) {
    case TCertificateChoice::Always:
        if (m_host.CertificateTrustFile().empty() || !trust.Trust(site, certificate.Fingerprint))
            Log(0, Tr("Engine", "! The trusted certificate could not be saved: it is trusted for this run only"));
        [[fallthrough]];
    case TCertificateChoice::Once:
        m_acceptedCertificates.push_back(accepted);
        return true;
    case TCertificateChoice::Cancel:
        break;
    }
    refusal =
        Fill(Tr("Engine", "The certificate of %1 is not trusted (%2): not connected"), {site, certificate.VerifyError});
    return false;
}

void TFtpManager::DisconnectAll()
{
    if (Sftp()) {
        m_treeDelete.reset();
        for (int i = 0; i < m_count; ++i)
            Slot(i).Session.reset(); // each SFTP session closes its connection as it goes
        if (m_sftpMain)
            m_sftpMain->Close();
        m_sftpBusy = false;
        return;
    }
    for (int i = 0; i < m_count; ++i)
        if (Slot(i).Client->Connected())
            ResetConnection(*Slot(i).Client);
}

void TFtpManager::AbortCurrent()
{
    if (Mode(0) == cmDelete && m_treeDelete && m_treeDelete->Running()) {
        Log(0, Tr("Engine", "User Aborted"));
        m_treeDelete->Cancel(); // the delete ends with what it did
        return;
    }
    if (Sftp()) {
        // What connection 0 does ends here; the answers still due are dropped as they come.
        ++m_sftpGeneration;
        TConnectionMode mode = Mode(0);
        if (!m_sftpBusy || mode == cmTransfer)
            return;
        m_abortMain = true;
        m_sftpBusy = false;
        Log(0, Tr("Engine", "User Aborted"));
        if (mode == cmLogin) {
            m_sftpMain->Close();
            Failed(TOperationResult::Failed(TOperation::Connect, 426, Tr("Engine", "User Aborted")));
        } else if (mode == cmChangeDir || mode == cmWalk) {
            RestoreSaved();
            if (mode == cmWalk)
                Failed(TOperationResult::Failed(TOperation::Walk, 426, Tr("Engine", "User Aborted")));
            else
                Done(TOperationResult::Failed(TOperation::ChangeDir, 426, Tr("Engine", "User Aborted")));
        }
        return;
    }
    TFtpClient& main = *Slot(0).Client;
    if (Mode(0) == cmLogin || Mode(0) == cmChangeDir || Mode(0) == cmWalk) {
        // A listing that waits for its TYPE does not start; the stream it was to fill goes.
        m_typeBeforeList = false;
        main.SetLocalStream(nullptr);
    }
    switch (Mode(0)) {
    case cmLogin:
        m_abortMain = true;
        if (main.Connected())
            main.AbortSync();
        Log(0, Tr("Engine", "User Aborted"));
        break;
    case cmChangeDir:
        main.DataSocket()->Close();
        RestoreSaved();
        m_abortMain = true;
        Log(0, Tr("Engine", "User Aborted"));
        Done(TOperationResult::Failed(TOperation::ChangeDir, 426, Tr("Engine", "User Aborted")));
        break;
    case cmWalk:
        m_abortMain = true;
        main.DataSocket()->Close();
        RestoreSaved();
        Log(0, Tr("Engine", "User Aborted"));
        Failed(TOperationResult::Failed(TOperation::Walk, 426, Tr("Engine", "User Aborted")));
        break;
    default:
        break;
    }
}

bool TFtpManager::SendQuoteSync(const std::string& command)
{
    if (Sftp())
        return false; // no FTP command goes to an SSH server
    TFtpClient* main = Client(0);
    if (!main)
        return false;
    main->SetLocalFileName(command);
    return main->QuoteSync();
}

bool TFtpManager::RemoteFileSize(const std::string& path, int64_t& size)
{
    TFtpClient* main = Client(0);
    if (!main || !SendQuoteSync("SIZE " + path) || main->StatusCode() != 213)
        return false;
    const std::string& reply = main->LastResponse();
    size_t digits = reply.find_first_of("0123456789", 3);
    if (digits == std::string::npos)
        return false;
    int64_t value = 0;
    auto [end, error] = std::from_chars(reply.data() + digits, reply.data() + reply.size(), value);
    if (error != std::errc() || value < 0)
        return false; // no number, or one beyond 64 bits
    size = value;
    return true;
}

void TFtpManager::AntiIdleTick()
{
    static const char* const kCommands[] = {"PWD", "REST 0", "TYPE I", "TYPE A"};
    SendQuoteSync(kCommands[std::uniform_int_distribution<int>(0, 3)(m_random)]);
}

void TFtpManager::Log(int index, const std::string& text)
{
    m_host.ShowLogLine(index, text);
}

// ---------------------------------------------------------------- results

TItemOutcome TFtpManager::Outcome(const std::string& name, int error, TFtpRequest rqType) const
{
    if (error == 0)
        return {name, 0, {}};
    const TFtpClient& main = *Slot(0).Client;
    std::string reply = main.LastResponse();
    bool dataRequest = rqType == ftpDirAsync && !main.ErrorMessage().empty();
    if (dataRequest || reply.empty() || reply[0] < '4' || reply[0] > '5')
        reply = main.ErrorMessage(); // a socket error or a data request: the client's own words
    return {name, error, reply};
}

TOperationResult TFtpManager::Failure(TOperation operation, int error, TFtpRequest rqType) const
{
    TItemOutcome outcome = Outcome("", error, rqType);
    return TOperationResult::Failed(operation, error, outcome.Reply);
}

void TFtpManager::Done(const TOperationResult& result)
{
    m_host.OperationDone(result);
}

void TFtpManager::Failed(const TOperationResult& result)
{
    m_host.OperationFailed(result);
}

// ---------------------------------------------------------------- the listing cache

bool TFtpManager::List(const std::string& path)
{
    int slot = m_cache.Find(path);
    if (Sftp()) {
        // Only what the cache holds: SFTP listings come through the operations themselves.
        if (slot >= 0)
            m_cache.Current = m_cache.Stream(slot);
        return slot >= 0;
    }
    TFtpClient& main = *Slot(0).Client;
    if (slot >= 0) {
        main.DiscardAhead(0); // a TYPE A the login sent ahead is not needed
        m_cache.Current = m_cache.Stream(slot);
        return true;
    }
    m_cache.Current = std::make_shared<platform::TMemoryStream>();
    main.SetLocalFileName("");
    main.HostFileName.clear(); // LIST without an argument lists the current directory
    main.SetLocalStream(m_cache.Current.get());
    main.ResumeAt = 0;
    if (main.TypeInEffect != 'A') {
        m_typeBeforeList = true;
        StartMain(ftpTypeSetAsync, [&main] { main.TypeAscii(); });
        return false;
    }
    StartMain(ftpDirAsync, [&main] { main.Dir(); });
    return false;
}

void TFtpManager::Store(const std::string& path)
{
    std::string directory = EnsureTrailing(path, '/');
    if (m_cache.Find(directory) >= 0 || !m_cache.Current)
        return;
    FinishListing(*m_cache.Current);
    m_cache.Add(directory, m_cache.Current);
    if (!Sftp())
        Slot(0).Client->SetLocalStream(nullptr);
}

std::string TFtpManager::PwdDirectory() const
{
    return EnsureTrailing(Slot(0).Client->DirResult(), '/');
}

void TFtpManager::RestoreSaved()
{
    m_currentDir = m_savedDir;
    m_cache.Current = m_savedListing;
}

// ---------------------------------------------------------------- events

void TFtpManager::RequestDone(int index, TFtpRequest rqType, int error)
{
    if (index != 0 || SessionWorks(0)) {
        if (auto* session = FtpSessionOf(index))
            session->RequestDone(rqType, error);
        return;
    }
    TFtpClient& main = *Slot(0).Client;
    if (rqType == ftpTypeSetAsync && m_typeBeforeList) {
        m_typeBeforeList = false;
        main.TypeInEffect = error == 0 ? 'A' : 0;
        if (main.Connected() && (error == 0 || main.StatusCode() != 421)) {
            StartMain(ftpDirAsync, [&main] { main.Dir(); }); // a refused TYPE A still lists, as the server sees fit
            return;
        }
        rqType = ftpDirAsync; // the listing's own failure: the operation hears of it as such
        if (error == 0)
            error = wsa::kConnectionAborted;
    }
    if (rqType == ftpDirAsync && (error == 500 || error == 502) && main.ListCommand == "MLSD" && main.Connected() &&
        m_cache.Current) {
        // FEAT named MLST, yet MLSD is not understood: LIST from now on, for this listing too.
        RefuseMlsd();
        m_cache.Current->Clear();
        StartMain(ftpDirAsync, [&main] { main.Dir(); });
        return;
    }
    switch (Mode(0)) {
    case cmLogin:
        LoginStep(rqType, error);
        break;
    case cmChangeDir:
        ChangeDirStep(rqType, error);
        break;
    case cmWalk:
        WalkStep(rqType, error);
        break;
    // The chains take only their own completions: a synchronous call on the way (the TYPE
    // before a LIST, an anti-idle command) reports its completion through here too.
    case cmRefresh:
        RefreshStep(rqType, error);
        break;
    case cmMakeDir:
        if (rqType == ftpMkdAsync)
            MakeDirStep(error);
        break;
    case cmRename:
        if (rqType == ftpQuoteAsync)
            RenameStep(error);
        break;
    case cmChmod:
        if (rqType == ftpQuoteAsync)
            ChmodStep(error);
        break;
    default:
        break;
    }
}

void TFtpManager::StartMain(TFtpRequest rqType, const std::function<void()>& request)
{
    TFtpClient& main = *Slot(0).Client;
    uint64_t before = main.RequestsStarted();
    request();
    if (main.RequestsStarted() == before)
        m_posted.post([this, rqType] { RequestDone(0, rqType, wsa::kNotConnected); });
}

void TFtpManager::SessionClosed(int index)
{
    Log(index, Tr("Engine", "Connection Lost"));
    if (SessionWorks(index)) {
        if (Slot(index).Client->AheadStalled() && !m_pipeliningRefused) {
            m_pipeliningRefused = true;
            Log(index,
                Tr("Engine", "! The server did not take commands sent together: one command at a time from now on"));
        }
        return; // a run's call under way ends with the close; the run logs in again when it needs to
    }
    // A request under way ends with the close, and its operation reports the loss (a login
    // may log in again); an idle connection 0 leaves no session.
    const TFtpClient& client = *Slot(index).Client;
    if (index == 0 && client.RequestsDone() == client.RequestsStarted())
        m_host.SetSessionState(ssReady);
}
