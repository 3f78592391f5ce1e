#include "manager/FtpManager.h"

#include <algorithm>

TFtpManager::TFtpManager(IManagerHost& host) : m_host(host) {}

TFtpManager::~TFtpManager()
{
    for (auto& client : Clients)
        client.reset();
}

// ---------------------------------------------------------------- the table

std::unique_ptr<TFtpClient> TFtpManager::CreateClient(int index)
{
    auto client = std::make_unique<TFtpClient>();
    client->SetShareMode(ftpShareDenyNone); // several connections write one file at their offsets
    client->OnDisplay = [this, index](TCustomFtpCli*, std::string& msg) { m_host.ShowLogLine(index, msg); };
    client->OnProgress = [this, index](TCustomFtpCli*, int64_t count, bool&) {
        m_host.TransferProgress(index, count); // the transfer engine keeps Position
    };
    client->OnRequestDone = [this, index](TCustomFtpCli*, TFtpRequest rqType, int error) {
        RequestDone(index, rqType, error);
    };
    client->OnSessionClosed = [this, index](TCustomFtpCli*, int) { SessionClosed(index); };
    // Requests refused by the client reach the log instead of the event loop as exceptions.
    client->OnError = [this, index](TCustomFtpCli*, const std::string& msg) { Log(index, "! " + msg); };
    return client;
}

void TFtpManager::DestroyClient(int index)
{
    auto& client = Clients[static_cast<size_t>(index)];
    if (!client)
        return;
    ResetConnection(*client);
    // Events of a client being destroyed must not reach the table.
    client->OnRequestDone = nullptr;
    client->OnSessionClosed = nullptr;
    client.reset();
    Mode[static_cast<size_t>(index)] = cmLogin;
    Item[static_cast<size_t>(index)].reset();
}

void TFtpManager::InitConnections(int count)
{
    for (int i = 0; i < kMaxConnections; ++i)
        DestroyClient(i);
    Count = std::clamp(count, 1, kMaxConnections - 1);
    for (int i = 0; i < Count; ++i) {
        Clients[static_cast<size_t>(i)] = CreateClient(i);
        ConfigureConnection(i);
    }
    Cache.Clear();
    m_walkStack.clear();
}

void TFtpManager::SetConnectionCount(int newCount)
{
    newCount = std::clamp(newCount, 1, kMaxConnections - 1);
    int oldCount = Count;
    // Set first: nothing reaches the connections that go while they close, and ConfigureConnection
    // reaches only connections below Count.
    Count = newCount;
    for (int i = newCount; i < oldCount; ++i)
        DestroyClient(i);
    for (int i = oldCount; i < newCount; ++i) {
        Clients[static_cast<size_t>(i)] = CreateClient(i);
        ConfigureConnection(i);
    }
}

void TFtpManager::ConfigureConnection(int index)
{
    TFtpClient* client = Client(index);
    if (!client)
        return;
    const TSettings& settings = m_host.Settings();
    std::string message;
    if (settings.Proxy.Enabled) {
        message = "Using Proxy Connecting to " + Session.HostName + " ...";
        client->SetConnectionType(static_cast<TFtpConnectionType>(settings.Proxy.Type));
        client->ProxyServer = settings.Proxy.Host;
        client->ProxyPort = settings.Proxy.Port;
        client->SetPassive(true);
    } else if (settings.Socks.Enabled) {
        message = "Using Socks Connecting to " + Session.HostName + " ...";
        client->SetConnectionType(static_cast<TFtpConnectionType>(settings.Socks.Type));
        client->SocksServer = settings.Socks.Host;
        client->SocksPort = settings.Socks.Port;
        client->SocksUserCode = settings.Socks.User;
        client->SocksPassword = settings.Socks.Pass;
        client->SetPassive(true);
    } else {
        message = "Connecting to " + Session.HostName + " ...";
        client->SetConnectionType(ftpDirect);
        client->SetPassive(settings.PasvMode);
    }
    client->ReplyTimeout = settings.ReplyTimeout;
    client->DataTimeout = settings.DataTimeout;
    if (!Session.HostName.empty())
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
    RetryLeft = m_host.Settings().ConnectionRetryTimes;
    TransferAbortFlag = 0;
    TFtpClient* main = Client(0);
    if (!main)
        return;
    if (m_host.TransfersRunning()) {
        // A background run uses the other connections: only the main one starts again.
        ResetConnection(*main);
    } else {
        Cache.Clear();
        Session = info;
        for (int i = 0; i < Count; ++i)
            ResetConnection(*Clients[static_cast<size_t>(i)]);
        main->HostName = Session.HostName;
        main->Port = Session.HostPort;
        main->UserName = Session.UserName;
        main->PassWord = Session.PassWord;
    }
    ConfigureConnection(0);
    AbortMainFlag = 0;
    Mode[0] = cmLogin;
    if (!m_host.TransfersRunning()) {
        Features = {};
        RestIgnored = false;
    }
    main->Open();
}

void TFtpManager::DisconnectAll()
{
    for (int i = 0; i < Count; ++i)
        if (Clients[static_cast<size_t>(i)]->Connected())
            ResetConnection(*Clients[static_cast<size_t>(i)]);
}

void TFtpManager::AbortCurrent()
{
    auto closeAllData = [this] {
        for (int i = 0; i < Count; ++i)
            Clients[static_cast<size_t>(i)]->DataSocket()->Close();
    };
    auto markTransferConnections = [this] {
        AbortSet.reset();
        for (int i = 1; i < Count; ++i)
            if (Clients[static_cast<size_t>(i)]->Connected())
                AbortSet.set(static_cast<size_t>(i));
    };
    if (m_host.SessionState() == ssConnected && m_host.TransfersRunning()) {
        markTransferConnections();
        TransferAbortFlag = 1;
        closeAllData();
        Log(0, "User Aborted");
        return;
    }
    switch (Mode[0]) {
    case cmLogin:
        AbortMainFlag = 1;
        if (Clients[0]->Connected())
            Clients[0]->AbortSync();
        Log(0, "User Aborted");
        break;
    case cmChangeDir:
        Clients[0]->DataSocket()->Close();
        RestoreSaved();
        AbortMainFlag = 1;
        Log(0, "User Aborted");
        m_host.OperationDone();
        break;
    case cmWalk:
        AbortMainFlag = 1;
        Clients[0]->DataSocket()->Close();
        RestoreSaved();
        Log(0, "User Aborted");
        m_host.OperationFailed();
        break;
    case cmTransfer:
        markTransferConnections();
        AbortMainFlag = 1;
        closeAllData();
        Log(0, "User Aborted");
        break;
    default:
        break;
    }
}

bool TFtpManager::SendQuoteSync(const std::string& command)
{
    TFtpClient* main = Client(0);
    if (!main)
        return false;
    main->SetLocalFileName(command);
    return main->QuoteSync();
}

bool TFtpManager::SetTransferType(TFtpClient& client, bool binary)
{
    char type = binary ? 'I' : 'A';
    if (client.TypeInEffect == type)
        return true; // one round trip less per file of a run
    bool set = binary ? client.TypeBinarySync() : client.TypeAsciiSync();
    client.TypeInEffect = set ? type : 0;
    return set;
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

// ---------------------------------------------------------------- the listing cache

bool TFtpManager::List(const std::string& path)
{
    int slot = Cache.Find(path);
    if (slot >= 0) {
        Cache.Current = Cache.Stream(slot);
        return true;
    }
    TFtpClient& main = *Clients[0];
    Cache.Current = std::make_shared<platform::TMemoryStream>();
    SetTransferType(main, false);
    main.SetLocalFileName("");
    main.HostFileName.clear(); // LIST without an argument lists the current directory
    main.SetLocalStream(Cache.Current.get());
    main.ResumeAt = 0;
    main.Dir();
    return false;
}

void TFtpManager::Store(const std::string& path)
{
    std::string directory = EnsureTrailing(path, '/');
    if (Cache.Find(directory) >= 0 || !Cache.Current)
        return;
    FinishListing(*Cache.Current);
    Cache.Add(directory, Cache.Current);
    Clients[0]->SetLocalStream(nullptr);
}

std::string TFtpManager::PwdDirectory() const
{
    return EnsureTrailing(Clients[0]->DirResult(), '/');
}

void TFtpManager::RestoreSaved()
{
    CurrentRemoteDir = m_savedDir;
    Cache.Current = m_savedListing;
}

// ---------------------------------------------------------------- events

void TFtpManager::RequestDone(int index, TFtpRequest rqType, int error)
{
    if (index != 0) {
        if (Mode[static_cast<size_t>(index)] == cmTransfer)
            m_host.TransferStep(index, rqType, error);
        return;
    }
    switch (Mode[0]) {
    case cmLogin:
        LoginStep(rqType, error);
        break;
    case cmChangeDir:
        ChangeDirStep(rqType, error);
        break;
    case cmWalk:
        WalkStep(rqType, error);
        break;
    case cmTransfer:
        m_host.TransferStep(0, rqType, error);
        break;
    // The chains take only their own completions: a synchronous call on the way (the TYPE
    // before a LIST, an anti-idle command) reports its completion through here too.
    case cmRefresh:
        RefreshStep(rqType);
        break;
    case cmMakeDir:
        if (rqType == ftpMkdAsync)
            MakeDirStep();
        break;
    case cmRename:
        if (rqType == ftpQuoteAsync)
            RenameStep();
        break;
    case cmDelete:
        if (rqType == ftpDeleAsync || rqType == ftpRmdAsync)
            DeleteStep();
        break;
    case cmChmod:
        if (rqType == ftpQuoteAsync)
            ChmodStep();
        break;
    }
}

void TFtpManager::SessionClosed(int index)
{
    Log(index, "Connection Lost");
    if (index == 0 && Mode[0] == cmTransfer && m_host.SessionState() == ssTransfering) {
        m_host.TransferConnectionLost(0); // a foreground run goes on; the run logs in again
        return;
    }
    if (index == 0) {
        m_host.SetSessionState(ssReady);
        return;
    }
    if (m_host.SessionState() == ssTransfering || (!m_host.Settings().MainConnDownload && m_host.TransfersRunning()))
        m_host.TransferConnectionLost(index);
}

void TFtpManager::LoginFailed()
{
    Log(0, "Server Connection Failed.");
    m_host.OperationFailed();
}

void TFtpManager::LoginStep(TFtpRequest rqType, int error)
{
    if (AbortMainFlag) {
        AbortMainFlag = 0;
        return;
    }
    TFtpClient& main = *Clients[0];
    bool proxyLoginReply = main.ConnectionType() == ftpProxy && (rqType == ftpUserAsync || rqType == ftpPassAsync) &&
                           (error == 220 || error == 331);
    if (error != 0 && !proxyLoginReply) {
        switch (rqType) {
        case ftpOpenAsync:
            Log(0, "Server Connection Failed.");
            if (--RetryLeft > 0) {
                Log(0, "Retry Connection...");
                main.Open();
            } else {
                m_host.OperationFailed();
            }
            return;
        case ftpUserAsync:
        case ftpPassAsync:
            LoginFailed();
            return;
        case ftpQuoteAsync:
            break; // the answers to SYST and REST 100 are not needed: go on
        case ftpPwdAsync:
        case ftpDirAsync:
            // Without a directory or its listing there is no session to show.
            main.SetLocalStream(nullptr);
            LoginFailed();
            return;
        default:
            return;
        }
    }
    switch (rqType) {
    case ftpOpenAsync:
        main.User();
        break;
    case ftpUserAsync:
        if (main.StatusCode() == 230 && error == 0) {
            m_loginProbe = TLoginProbe::Features; // logged in without a password
            NextLoginProbe();
            break;
        }
        main.Pass();
        break;
    case ftpPassAsync:
        m_loginProbe = TLoginProbe::Features;
        NextLoginProbe();
        break;
    case ftpQuoteAsync:
        if (m_loginProbe == TLoginProbe::Features && error == 0)
            Features.Hash = ChooseRemoteHash(main.ReplyLines());
        if (m_loginProbe == TLoginProbe::System)
            SetTransferType(main, true);
        m_loginProbe = static_cast<TLoginProbe>(static_cast<int>(m_loginProbe) + 1);
        NextLoginProbe();
        break;
    case ftpPwdAsync:
        ListAfterPwd();
        break;
    case ftpDirAsync:
        Store(CurrentRemoteDir);
        m_host.OperationDone();
        break;
    default:
        break;
    }
}

void TFtpManager::NextLoginProbe()
{
    TFtpClient& main = *Clients[0];
    switch (m_loginProbe) {
    case TLoginProbe::Features:
        main.SetLocalFileName("FEAT");
        break;
    case TLoginProbe::System:
        main.SetLocalFileName("SYST");
        break;
    case TLoginProbe::Restart:
        main.SetLocalFileName("REST 100");
        break;
    case TLoginProbe::Unmark:
        // The probe leaves a restart marker that the next STOR would honour, writing the
        // upload from byte 100 on: take it back.
        main.SetLocalFileName("REST 0");
        break;
    case TLoginProbe::Done:
        main.Pwd();
        return;
    }
    main.Quote();
}

void TFtpManager::ListAfterPwd()
{
    CurrentRemoteDir = PwdDirectory();
    if (List(CurrentRemoteDir))
        m_host.OperationDone(); // cached: no LIST needed; otherwise the Dir completion ends it
}
