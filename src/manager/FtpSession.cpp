#include "manager/FtpSession.h"

#include <algorithm>

#include <unistd.h>

#include "manager/CommFunc.h"
#include "manager/FtpManager.h"
#include "manager/ListingCache.h"
#include "net/WSocketErrors.h"
#include "platform/Translate.h"

using platform::Tr;

std::string AheadKey(const TAheadCall& call)
{
    switch (call.Kind) {
    case TAheadCall::TKind::Transfer:
        return (call.Transfer.Download ? "RETR " : "STOR ") + call.Transfer.RemotePath;
    case TAheadCall::TKind::List:
        return "LIST " + call.Path;
    case TAheadCall::TKind::ModifiedTime:
        return "MDTM " + call.Path;
    }
    return {};
}

TFtpSession::TFtpSession(TFtpManager& manager, int index) : m_manager(manager), m_index(index) {}

TFtpClient& TFtpSession::Client() const
{
    return *m_manager.Client(m_index);
}

void TFtpSession::Log(const std::string& line) const
{
    m_manager.Log(m_index, line);
}

bool TFtpSession::LoggedIn() const
{
    return m_loggedIn && Client().Connected();
}

// ---------------------------------------------------------------- completions

void TFtpSession::Start(TStep step, const std::function<void()>& request)
{
    TFtpClient& client = Client();
    m_step = step;
    uint64_t before = client.RequestsStarted();
    request();
    if (client.RequestsStarted() == before) {
        // Refused to start (its connection went, say): it ends as a lost connection would,
        // from the event loop.
        m_request = 0;
        m_posted.post([this, step] {
            if (m_step == step && m_request == 0)
                Dispatch(wsa::kNotConnected);
        });
        return;
    }
    m_request = client.RequestsStarted();
}

void TFtpSession::RequestDone(TFtpRequest, int error)
{
    // Completions arrive in the order their requests started: one that is not of the request
    // awaited belongs to one given up before (a cancelled call's).
    if (m_step == TStep::Idle || m_request == 0 || Client().RequestsDone() != m_request)
        return;
    Dispatch(error);
}

void TFtpSession::Dispatch(int error)
{
    switch (m_step) {
    case TStep::Idle:
        break;
    case TStep::Opening:
    case TStep::User:
    case TStep::Pass:
    case TStep::Utf8:
        LoginStep(error);
        break;
    case TStep::Type:
        if (error == 0)
            Client().TypeInEffect = m_transfer.Text ? 'A' : 'I';
        if (m_cancelled || !Client().Connected())
            Finish(ResultOf(error != 0 ? error : wsa::kNotConnected));
        else
            StartTransfer(); // a refused TYPE leaves the server's own: the transfer goes on
        break;
    case TStep::Transferring:
        TransferDone(error);
        break;
    case TStep::ChangingDir:
        if (error != 0 || m_cancelled)
            Finish(ResultOf(error != 0 ? error : 426));
        else
            StartListing(false);
        break;
    case TStep::Listing:
        ListingDone(error);
        break;
    case TStep::Command:
        Finish(ResultOf(error));
        break;
    }
}

TSessionResult TFtpSession::ResultOf(int error) const
{
    if (error == 0)
        return {};
    const TFtpClient& client = Client();
    std::string reply = client.LastResponse();
    if (reply.empty() || reply[0] < '4' || reply[0] > '5' || m_step == TStep::Transferring || m_step == TStep::Listing)
        reply = client.ErrorMessage(); // a socket error or a data request: the client's own words
    TFailure failure = TFailure::Permanent;
    if (m_step == TStep::Transferring && client.LocalFailed())
        failure = TFailure::Local;
    else if (!client.Connected() || error >= 10000 || error == 421 || (error >= 400 && error < 500))
        failure = TFailure::Transient;
    return TSessionResult::Failed(failure, error, reply);
}

void TFtpSession::Finish(TSessionResult result)
{
    if (m_cancelled && !result.Ok())
        result.Failure = TFailure::Cancelled;
    m_cancelled = false;
    m_step = TStep::Idle;
    m_request = 0;
    auto finish = std::move(m_finish);
    m_finish = nullptr;
    if (finish)
        finish(result);
}

// ---------------------------------------------------------------- the login

void TFtpSession::LogIn(TDone done)
{
    TFtpClient& client = Client();
    const THostInfo& site = m_manager.SessionInfo();
    client.HostName = site.HostName;
    client.Port = site.HostPort;
    client.UserName = site.UserName;
    client.PassWord = site.PassWord;
    client.ListCommand = m_manager.Features().Mlsd ? "MLSD" : "LIST";
    m_loggedIn = false;
    m_ahead.clear();
    m_loginQueue.clear();
    m_passAhead = false;
    m_finish = std::move(done);
    if (client.Connected()) {
        // Logged in already (connection 0, browsing before): nothing to do.
        m_loggedIn = true;
        m_posted.post([this] {
            if (m_step == TStep::Idle && m_finish)
                Finish({});
        });
        return;
    }
    Start(TStep::Opening, [&client] { client.Open(); });
}

void TFtpSession::LoginStep(int error)
{
    TFtpClient& client = Client();
    if (m_step == TStep::User && m_passAhead && error == 0 && client.StatusCode() == 230 && client.CommandsAhead() > 0)
        client.DiscardAhead(client.CommandsAhead() - 1); // in without a password: the PASS sent ahead goes
    // A server may refuse OPTS UTF8 (names are then what it makes of them): only a lost
    // connection ends the login there.
    if (error != 0 && !(m_step == TStep::Utf8 && client.Connected())) {
        TSessionResult result = ResultOf(error);
        Log(Tr("Engine", "! Login failed: ") + result.Text);
        m_loginQueue.clear();
        m_ahead.clear();
        if (client.Connected())
            client.Abort();
        Finish(result);
        return;
    }
    if (m_cancelled) {
        client.Abort();
        Finish(TSessionResult::Failed(TFailure::Cancelled, 426, Tr("Engine", "User Aborted")));
        return;
    }
    switch (m_step) {
    case TStep::Opening:
        Start(TStep::User, [&client] { client.User(); });
        SendLoginAhead();
        return;
    case TStep::User:
        if (client.StatusCode() != 230) {
            Start(TStep::Pass, [&client] { client.Pass(); });
            return;
        }
        [[fallthrough]];
    case TStep::Pass:
        m_passAhead = false;
        if (m_manager.Features().Utf8) {
            Start(TStep::Utf8, [&client] { client.Utf8On(); });
            return;
        }
        break;
    default:
        break;
    }
    m_loggedIn = true;
    Finish({});
}

void TFtpSession::SendLoginAhead()
{
    TFtpClient& client = Client();
    std::deque<TAheadCall> queued = std::move(m_loginQueue);
    m_loginQueue.clear();
    // Through an FTP proxy the login's replies are the proxy's as much as the server's.
    if (queued.empty() || IsProxyConnection(client.ConnectionType()) || !m_manager.PipeliningAllowed())
        return;
    if (queued.front().Kind == TAheadCall::TKind::Transfer && !CanSendTransferAhead(queued.front().Transfer))
        return;
    if (!client.PassWord.empty()) {
        client.SendAhead("PASS " + client.PassWord);
        m_passAhead = true;
    }
    if (m_manager.Features().Utf8)
        client.SendAhead("OPTS UTF8 ON");
    for (const TAheadCall& call : queued)
        if (!SendCallAhead(call))
            break;
}

// ---------------------------------------------------------------- commands sent ahead

bool TFtpSession::CanSendTransferAhead(const TTransferRequest& request) const
{
    // Only whole files: nothing the server may refuse stands between the commands but the file.
    // An upload whose file cannot be read would fail once its STOR is out.
    return request.Whole() && (request.Download || ::access(request.LocalPath.c_str(), R_OK) == 0);
}

bool TFtpSession::SendAhead(const TAheadCall& call)
{
    if (m_step == TStep::Opening || m_step == TStep::User) {
        if (!m_manager.PipeliningAllowed())
            return false;
        m_loginQueue.push_back(call); // goes with the rest of the login, or in its turn
        return true;
    }
    if (!LoggedIn() || !m_manager.PipeliningAllowed())
        return false;
    return SendCallAhead(call);
}

bool TFtpSession::SendCallAhead(const TAheadCall& call)
{
    TFtpClient& client = Client();
    client.EpsvKnown = m_manager.EpsvKnown();
    size_t before = client.CommandsAhead();
    bool sent = false;
    switch (call.Kind) {
    case TAheadCall::TKind::Transfer:
        sent =
            CanSendTransferAhead(call.Transfer) &&
            client.SendTransferAhead(call.Transfer.Download, call.Transfer.RemotePath, call.Transfer.Text ? 'A' : 'I');
        break;
    case TAheadCall::TKind::List:
        client.ListCommand = m_manager.Features().Mlsd ? "MLSD" : "LIST";
        sent = !m_listFallback && client.SendListAhead(call.Path);
        break;
    case TAheadCall::TKind::ModifiedTime:
        client.SendAhead("MDTM " + call.Path);
        sent = client.CommandsAhead() > before;
        break;
    }
    if (sent)
        m_ahead.push_back({AheadKey(call), client.CommandsAhead() - before});
    return sent;
}

void TFtpSession::KeepAheadOf(const std::string& key)
{
    TFtpClient& client = Client();
    auto own = std::find_if(m_ahead.begin(), m_ahead.end(), [&](const TAhead& ahead) { return ahead.Key == key; });
    size_t keep = 0;
    for (auto ahead = own; ahead != m_ahead.end(); ++ahead)
        keep += ahead->Commands;
    // What went ahead for calls that are not coming is dropped unread; a data command cannot
    // be, and the request that meets it in its place closes the connection.
    client.DiscardAhead(keep);
    m_ahead.erase(m_ahead.begin(), own == m_ahead.end() ? own : own + 1);
}

void TFtpSession::DropAhead()
{
    TFtpClient& client = Client();
    m_ahead.clear();
    m_loginQueue.clear();
    client.DiscardAhead(0);
    if (!client.Connected() || client.CommandsAhead() == 0)
        return;
    // The server waits for a data connection that will not come.
    Log(Tr("Engine", "! Commands sent ahead are not needed any more: the connection closes"));
    m_posted.post([this] {
        TFtpClient* idle = m_manager.Client(m_index);
        if (idle && idle->CommandsAhead() > 0 && m_step == TStep::Idle)
            idle->ControlSocket()->Close();
    });
}

void TFtpSession::Cancel()
{
    m_loginQueue.clear();
    switch (m_step) {
    case TStep::Idle:
        return;
    case TStep::Opening:
    case TStep::User:
    case TStep::Pass:
    case TStep::Utf8:
        m_cancelled = true;
        Client().Abort(); // the close ends the login's request
        return;
    default:
        // A transfer or listing stops with its data connection; a command's reply is near.
        m_cancelled = true;
        if (Client().DataSocket()->State() != wsClosed)
            Client().DataSocket()->Close();
        return;
    }
}

// ---------------------------------------------------------------- transfers

void TFtpSession::Transfer(const TTransferRequest& request, std::function<void(const TTransferResult&)> done)
{
    TFtpClient& client = Client();
    m_transfer = request;
    client.SetRateLimiter(request.Limiter);
    m_finish = [this, done = std::move(done)](const TSessionResult& result) {
        TTransferResult transfer;
        static_cast<TSessionResult&>(transfer) = result;
        transfer.Start = Client().TransferStart();
        transfer.Bytes = Client().ByteCount();
        transfer.Overrun = Client().Overrun();
        if (!m_transfer.Download)
            transfer.Start = 0;
        done(transfer);
    };
    TAheadCall call{TAheadCall::TKind::Transfer, request, {}};
    KeepAheadOf(AheadKey(call));
    // Its own commands go together (TYPE, EPSV, the data command) where they may.
    if (m_ahead.empty() && client.CommandsAhead() == 0 && m_manager.PipeliningAllowed() && SendCallAhead(call))
        KeepAheadOf(AheadKey(call));
    char type = request.Text ? 'A' : 'I';
    if (client.TypeInEffect != type) {
        client.SetBinary(!request.Text);
        Start(TStep::Type, [&client] { client.TypeSet(); });
        return;
    }
    StartTransfer();
}

void TFtpSession::StartTransfer()
{
    TFtpClient& client = Client();
    client.HostFileName = m_transfer.RemotePath;
    client.SetLocalFileName(m_transfer.LocalPath);
    if (!m_transfer.Download) {
        client.ResumeAt = 0;
        Start(TStep::Transferring, [&client] { client.Put(); });
        return;
    }
    // From byte 0 no REST is sent (-1): one round trip less per file, and servers that refuse
    // REST in ASCII mode still deliver.
    client.ResumeAt = m_transfer.Offset > 0 ? m_transfer.Offset : -1;
    client.TransferEnd = m_transfer.End;
    client.FileEnd = m_transfer.FileEnd;
    Start(TStep::Transferring, [&client] { client.RestGet(); });
}

void TFtpSession::TransferDone(int error)
{
    TFtpClient& client = Client();
    TSessionResult result = ResultOf(error);
    client.TransferEnd = -1;
    client.FileEnd = -1;
    Finish(result);
}

void TFtpSession::Progress(int64_t position)
{
    if (m_step == TStep::Transferring && OnProgress)
        OnProgress(position);
}

void TFtpSession::DataEnded()
{
    if ((m_step == TStep::Transferring || m_step == TStep::Listing) && OnDataEnd)
        OnDataEnd(Client().TransferStart() + Client().ByteCount());
}

// ---------------------------------------------------------------- listings

void TFtpSession::List(const std::string& directory, bool viaLink,
                       std::function<void(const TSessionResult&, std::vector<TRemoteEntry>)> done)
{
    m_listPath = directory;
    m_listViaLink = viaLink;
    m_finish = [this, done = std::move(done)](const TSessionResult& result) {
        std::vector<TRemoteEntry> entries;
        if (result.Ok())
            entries = ListedEntries();
        m_listing.Clear();
        done(result, std::move(entries));
    };
    TAheadCall call{TAheadCall::TKind::List, {}, directory};
    KeepAheadOf(AheadKey(call));
    if (!viaLink && m_ahead.empty() && Client().CommandsAhead() == 0 && m_manager.PipeliningAllowed() &&
        SendCallAhead(call))
        KeepAheadOf(AheadKey(call));
    if (viaLink || m_listFallback) {
        // A link may name a file, which CWD does not enter; and some servers list no path.
        TFtpClient& client = Client();
        client.HostDirName = directory;
        Start(TStep::ChangingDir, [&client] { client.Cwd(); });
        return;
    }
    StartListing(true);
}

void TFtpSession::StartListing(bool withPath)
{
    TFtpClient& client = Client();
    m_listing.Clear();
    client.ListCommand = m_manager.Features().Mlsd ? "MLSD" : "LIST";
    client.SetLocalFileName("");
    client.HostFileName = withPath ? m_listPath : "";
    client.SetLocalStream(&m_listing);
    client.ResumeAt = 0;
    client.TransferEnd = -1;
    client.FileEnd = -1;
    m_listWithPath = withPath;
    Start(TStep::Listing, [&client] { client.Dir(); });
}

void TFtpSession::ListingDone(int error)
{
    TFtpClient& client = Client();
    client.SetLocalStream(nullptr);
    bool refusedCommand = (error == 500 || error == 502) && client.Connected() && !m_cancelled;
    if (refusedCommand && client.ListCommand == "MLSD") {
        // FEAT named MLST, yet MLSD is not understood: LIST from now on, for this listing too.
        m_manager.RefuseMlsd();
        StartListing(m_listWithPath);
        return;
    }
    if ((refusedCommand || error == 501) && m_listWithPath && client.Connected() && !m_cancelled) {
        // The server takes no path with its listing: into the directory, then list it.
        Log(Tr("Engine", "! The server lists no directory by its path: CWD first from now on"));
        m_listFallback = true;
        client.HostDirName = m_listPath;
        Start(TStep::ChangingDir, [&client] { client.Cwd(); });
        return;
    }
    Finish(ResultOf(error));
}

std::vector<TRemoteEntry> TFtpSession::ListedEntries()
{
    FinishListing(m_listing);
    std::string_view data = m_listing.Data();
    std::vector<TRemoteEntry> entries;
    for (const TDirAnalyze& line : ParseListing(std::string(data.substr(0, data.find('\0'))))) {
        TRemoteEntry entry;
        entry.Name = line.EntryName();
        if (line.IsDirectory())
            entry.Kind = TRemoteKind::Directory;
        else if (line.IsLink())
            entry.Kind = TRemoteKind::Link;
        else if (line.IsFile())
            entry.Kind = TRemoteKind::File;
        else
            continue; // a device or a pipe: nothing to fetch
        entry.SizeText = line.Size;
        int64_t size = 0;
        entry.Size = ParseSize(line.Size, size) ? size : -1;
        entry.Modified = line.Modified;
        entry.Unique = line.Unique;
        entry.LinkTarget = line.LinkTarget();
        entries.push_back(std::move(entry));
    }
    return entries;
}

// ---------------------------------------------------------------- one-command calls

void TFtpSession::Command(const std::function<void()>& request, std::function<void(const TSessionResult&)> done)
{
    m_finish = std::move(done);
    Start(TStep::Command, request);
}

void TFtpSession::MakeDir(const std::string& path, TDone done)
{
    TFtpClient& client = Client();
    client.HostFileName = path;
    Command([&client] { client.Mkd(); }, std::move(done));
}

void TFtpSession::Size(const std::string& path, std::function<void(const TSessionResult&, int64_t)> done)
{
    TFtpClient& client = Client();
    client.HostFileName = path;
    Command([&client] { client.Size(); },
            [this, done = std::move(done)](const TSessionResult& result) {
                if (result.Ok() && Client().StatusCode() == 213)
                    done(result, Client().SizeResult());
                else
                    done(result.Ok() ? TSessionResult::Failed(TFailure::Permanent, 550, Client().LastResponse())
                                     : result,
                         -1);
            });
}

void TFtpSession::ModifiedTime(const std::string& path, std::function<void(const TSessionResult&, int64_t)> done)
{
    TFtpClient& client = Client();
    client.HostFileName = path;
    KeepAheadOf(AheadKey({TAheadCall::TKind::ModifiedTime, {}, path}));
    Command([&client] { client.Mdtm(); },
            [this, done = std::move(done)](const TSessionResult& result) {
                done(result, result.Ok() ? Client().ModifiedResult() : -1);
            });
}

bool TFtpSession::CanSetModifiedTime() const
{
    return m_manager.Features().Mfmt;
}

void TFtpSession::SetModifiedTime(const std::string& path, int64_t seconds, TDone done)
{
    TFtpClient& client = Client();
    client.HostFileName = path;
    client.FileTime = seconds;
    Command([&client] { client.Mfmt(); }, std::move(done));
}

std::string TFtpSession::HashAlgorithm() const
{
    const TRemoteHash& hash = m_manager.Features().Hash;
    return hash.Command.empty() ? std::string() : hash.Algorithm;
}

void TFtpSession::Hash(const std::string& path, std::function<void(const TSessionResult&, std::string)> done)
{
    TFtpClient& client = Client();
    const TRemoteHash& hash = m_manager.Features().Hash;
    client.SetLocalFileName(hash.Command + " " + path);
    Command([&client] { client.Quote(); },
            [this, done = std::move(done)](const TSessionResult& result) {
                std::string hex = result.Ok() ? ParseHashReply(Client().LastResponse(), HashAlgorithm()) : "";
                if (result.Ok() && hex.empty())
                    done(TSessionResult::Failed(TFailure::Permanent, 550, Client().LastResponse()), "");
                else
                    done(result, hex);
            });
}

void TFtpSession::Rename(const std::string& from, const std::string& to, TDone done)
{
    TFtpClient& client = Client();
    client.SetLocalFileName("RNFR " + from);
    Command([&client] { client.Quote(); },
            [this, to, done = std::move(done)](const TSessionResult& result) {
                if (!result.Ok()) {
                    done(result);
                    return;
                }
                TFtpClient& again = Client();
                again.SetLocalFileName("RNTO " + to);
                Command([&again] { again.Quote(); }, done);
            });
}

void TFtpSession::Delete(const std::string& path, bool directory, TDone done)
{
    TFtpClient& client = Client();
    client.HostFileName = path;
    if (directory)
        Command([&client] { client.Rmd(); }, std::move(done));
    else
        Command([&client] { client.Dele(); }, std::move(done));
}

void TFtpSession::ChangeMode(const std::string& path, const std::string& mode, TDone done)
{
    TFtpClient& client = Client();
    client.SetLocalFileName("SITE CHMOD " + mode + " " + path);
    Command([&client] { client.Quote(); }, std::move(done));
}
