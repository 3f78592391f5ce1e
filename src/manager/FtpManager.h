#pragma once

// Every FTP connection of the program: connection 0 logs in, browses and runs the remote
// commands; connections 1..N-1 only transfer. The manager applies the proxy, SOCKS or direct
// settings, runs the login sequence, routes every completion by the connection's mode (the
// transfer engine gets those of connections that transfer), keeps the cache of listings and
// runs the remote commands as chains of requests on connection 0.

#include <array>
#include <functional>
#include <map>
#include <set>
#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "config/Settings.h"
#include "ftp/FtpClient.h"
#include "manager/CommFunc.h"
#include "manager/ListingCache.h"
#include "manager/ManagerHost.h"
#include "manager/OperationResult.h"
#include "manager/FtpSession.h"
#include "manager/ServerFeatures.h"
#include "manager/TransferFileInfo.h"
#include "manager/TreeDelete.h"

namespace sftp {
class TSftpClient;
struct TSshParams;
struct TNameEntry;
struct TStatus;
} // namespace sftp

// One SFTP entry as the MLSD line the listing cache keeps for it.
std::string SftpListingLine(const sftp::TNameEntry& entry, const std::string& linkTarget);

// A site: host, port, user, password, and TLS when the address chose it.
struct THostInfo
{
    std::string HostName;
    std::string HostPort;
    std::string UserName;
    std::string PassWord;
    int Security = -1; // a TFtpSecurity, or -1 for the setting
    bool Sftp = false; // SFTP over SSH rather than FTP
};

enum TConnectionMode : uint8_t
{
    cmLogin = 0,
    cmChangeDir = 1,
    cmWalk = 2,
    cmTransfer = 3,
    cmRefresh = 4,
    cmMakeDir = 5,
    cmRename = 6,
    cmDelete = 7,
    cmChmod = 8
};

// "cmLogin", ...: for traces.
const char* ConnectionModeName(TConnectionMode mode);

// A rename or move: old path, new path.
struct THostMoveFileInfo
{
    std::string OldPath;
    std::string NewPath;
};

// An entry to delete: a bare name in the current directory, and what it is. A link goes as
// the link; a directory goes with its contents only when Recursive is set.
struct TDelFileInfo
{
    std::string Name;
    bool IsDirectory = false;
    bool IsLink = false;
    bool Recursive = false;
};

// The commands connection 0 sends after its login, in this order, before PWD.
// The first five go to the server together where commands may be sent ahead.
enum class TLoginProbe : uint8_t
{
    Features, // FEAT: what the server offers beyond RFC 959 (file hashes)
    System,   // SYST
    Type,     // TYPE I: REST in ASCII mode is refused by some servers
    Restart,  // REST 100: whether downloads can resume
    Unmark,   // REST 0: takes the probe's restart marker back
    Utf8,     // OPTS UTF8 ON, where FEAT names UTF8
    Done
};

// One connection of the table and what the program knows of it.
struct TConnectionSlot
{
    std::unique_ptr<TFtpClient> Client;
    TConnectionMode Mode = cmLogin;
    // The connection seen as a session, while a transfer run works on it.
    std::unique_ptr<ISession> Session;
};

class TFtpManager
{
public:
    static constexpr int kMaxConnections = 256;
    // A walk goes no deeper than this below its start, whatever the server lists.
    static constexpr int kMaxWalkDepth = 64;

    explicit TFtpManager(IManagerHost& host);
    ~TFtpManager();
    TFtpManager(const TFtpManager&) = delete;
    TFtpManager& operator=(const TFtpManager&) = delete;

    // The connection table.
    void InitConnections(int count);
    // Creates or destroys clients; a run lets go of the connections that go before.
    void SetConnectionCount(int newCount);
    // Connection index, as a session for a transfer run: its completions go to the session
    // from now on (until connection 0 browses again).
    ISession& RunSession(int index);
    void ConfigureConnection(int index);
    void ConnectMain(const THostInfo& info);
    void DisconnectAll();
    void AbortCurrent();
    bool SendQuoteSync(const std::string& command);
    // The size the server gives a file (SIZE on connection 0, waiting); false when it names no
    // file it will give a size for.
    bool RemoteFileSize(const std::string& path, int64_t& size);
    // One anti-idle command: PWD, REST 0, TYPE I or TYPE A, chosen at random.
    void AntiIdleTick();

    int Count() const { return m_count; }
    // Connection index is logged in (on SFTP sites, connection 0's SSH session; the others
    // count while a run's session holds a login).
    bool Connected(int index) const;
    // The site speaks SFTP.
    bool Sftp() const;
    TFtpClient* Client(int index) const
    {
        return index >= 0 && index < m_count ? m_slots[static_cast<size_t>(index)].Client.get() : nullptr;
    }
    TConnectionSlot& Slot(int index) { return m_slots[static_cast<size_t>(index)]; }
    const TConnectionSlot& Slot(int index) const { return m_slots[static_cast<size_t>(index)]; }
    TConnectionMode Mode(int index) const { return Slot(index).Mode; }
    // Every change of a connection's mode passes here (traced in debug builds).
    void SetMode(int index, TConnectionMode mode);

    const THostInfo& SessionInfo() const { return m_session; }
    const std::string& CurrentRemoteDir() const { return m_currentDir; }
    const TListingCache& Cache() const { return m_cache; }
    std::string ListingText() const { return m_cache.CurrentText(); }
    const TServerFeatures& Features() const { return m_features; }
    // MLSD turned out not to be understood: listings come by LIST from now on.
    void RefuseMlsd();
    // The server did not answer commands sent together: one at a time for this session.
    bool PipeliningRefused() const { return m_pipeliningRefused; }
    void SetPipeliningRefused() { m_pipeliningRefused = true; }
    // Commands may be sent ahead: the setting allows it and the server took them so far.
    bool PipeliningAllowed() const { return m_host.Settings().Pipelining && !m_pipeliningRefused; }
    // EPSV gave a port on some login to this server.
    bool EpsvKnown() const;

    // The user stopped what connection 0 did (a login, a directory change, a walk).
    bool MainAborted() const { return m_abortMain; }
    void ClearMainAbort() { m_abortMain = false; }

    // The listing cache of connection 0.
    bool List(const std::string& path);
    // The directory's next listing comes from the server (something changed it).
    void ForgetListing(const std::string& path) { m_cache.Disable(path); }
    void Store(const std::string& path);

    // Remote operations on connection 0; each ends with the host's OperationDone or
    // OperationFailed, carrying its result.
    void ChangeDir(const std::string& name);
    void Refresh(const std::string& path);
    void Walk(const std::string& name, std::vector<TGetFileInfo>* result);
    void MakeDirs(std::vector<std::string> paths);
    void RenameFiles(std::vector<THostMoveFileInfo> pairs);
    void DeleteFiles(std::vector<TDelFileInfo> entries);
    void ChangeModes(std::vector<std::string> names, const std::string& mode);

    // A line in connection index's log.
    void Log(int index, const std::string& text);

private:
    std::unique_ptr<TFtpClient> CreateClient(int index);
    // The FTP session of a connection a run works on; null otherwise (and on SFTP sites).
    TFtpSession* FtpSessionOf(int index) const;
    // The connection works through its session (a run's transfers, a delete under way), not
    // as the manager's own chains.
    bool SessionWorks(int index) const;
    void DestroyClient(int index);
    void ResetConnection(TFtpClient& client);
    void RequestDone(int index, TFtpRequest rqType, int error);
    // Starts a request of connection 0; one the client refuses (its connection went in the
    // meantime) ends as a lost connection would, from the event loop: every step completes.
    void StartMain(TFtpRequest rqType, const std::function<void()>& request);
    // Whether a login may go on with the server's certificate: one the system vouches for, the
    // one trusted for the site, or one the user accepts when asked; refusal says why not.
    bool JudgeCertificate(const TTlsCertificate& certificate, std::string& refusal);
    void SessionClosed(int index);
    // The reply that ended connection 0's last request, as an item's or an operation's outcome:
    // the reply line for a one-command request; for a data request (LIST) the client's own
    // account, which names a local failure or a cap rather than the server's last word.
    TItemOutcome Outcome(const std::string& name, int error, TFtpRequest rqType = ftpNoRequest) const;
    TOperationResult Failure(TOperation operation, int error, TFtpRequest rqType = ftpNoRequest) const;
    void Done(const TOperationResult& result);
    void Failed(const TOperationResult& result);

    // Connection 0's completions, by its mode (the steps of the login in ManagerLogin.cpp).
    void LoginStep(TFtpRequest rqType, int error);
    // Ends the login with its result; reason replaces the reply that ended it.
    void LoginFailed(int error, TFtpRequest rqType, const std::string& reason = {});
    void LoginLost(TFtpRequest rqType, int error);
    // The command of a login step, for messages: "FEAT", "PASS", "MLSD of /pub/" ...
    std::string LoginStepName(TFtpRequest rqType) const;
    // The next probe of the login, or PWD once they are done.
    void NextLoginProbe();
    void ChangeDirStep(TFtpRequest rqType, int error);
    void RefreshStep(TFtpRequest rqType, int error);
    void WalkStep(TFtpRequest rqType, int error);
    void WalkParse();
    void WalkNext();
    // Logs a directory the walk leaves out and counts it as not fetched.
    void WalkSkip(const std::string& path, int code, const std::string& reason);
    // Connection 0 can take a request; otherwise the operation fails (from the event loop).
    bool MainConnected(TOperation operation);
    // Connection 0 is still there for the chain's next item; otherwise the items left are
    // recorded as not done.
    bool ChainConnected(std::vector<std::string> itemsLeft);
    // Records how the chain's item that just ended fared; false once no item is left and the
    // chain has ended with its result.
    bool ChainGoesOn(int error, TOperation operation, bool itemsLeft);
    void MakeDirStep(int error);
    void RenameStep(int error);
    void ChmodStep(int error);
    void RestoreSaved();
    std::string PwdDirectory() const;
    void ListAfterPwd();
    // The listing of the current directory came: cached, and the operation is done.
    void ListingStored(TOperation operation);

    // Connection 0 of an SFTP site (SftpMain.cpp).
    sftp::TSshParams SshParams() const;
    std::unique_ptr<sftp::TSftpClient> NewSftpClient(int index);
    void SftpConnect();
    void SftpListInto(const std::string& directory, std::function<void(const sftp::TStatus&, std::string text)> done);
    // Lists the current directory (or takes it from the cache) and ends the operation.
    void SftpListCurrent(TOperation operation, const std::string& savedDir);
    void SftpChangeDir(const std::string& target);
    void SftpRefresh(const std::string& path);
    void SftpWalkNext();
    void SftpWalkEnter();
    std::string SftpPath(const std::string& name) const;
    // Runs step on each item in turn, then ends the operation with how each fared.
    void SftpChain(TOperation operation, std::vector<std::string> items,
                   std::function<void(const std::string&, std::function<void(const sftp::TStatus&)>)> step);
    void SftpMakeDirs(std::vector<std::string> paths);
    void SftpRename(std::vector<THostMoveFileInfo> pairs);
    void SftpChangeModes(std::vector<std::string> names, const std::string& mode);
    // The walk entered the directory asked for, which the server calls reported: false (with
    // the directory named as left out) when that name climbs, leaves the walked tree or was
    // walked already.
    bool WalkEntered(const std::string& asked, const std::string& reported);

    IManagerHost& m_host;
    int m_count = 0;
    std::unique_ptr<sftp::TSftpClient> m_sftpMain;
    bool m_sftpBusy = false;                                  // an operation of connection 0 is under way on SFTP
    mutable std::map<std::string, std::string> m_passphrases; // SSH key file -> its passphrase, for this run
    uint64_t m_sftpGeneration = 0; // moves on when an operation is aborted: its answers are dropped
    std::array<TConnectionSlot, kMaxConnections> m_slots;
    THostInfo m_session;
    std::string m_currentDir;
    bool m_abortMain = false;
    int m_retryLeft = 0;
    TListingCache m_cache;
    TServerFeatures m_features;
    bool m_pipeliningRefused = false;
    TLoginProbe m_loginProbe = TLoginProbe::Done;
    // A listing waits for its TYPE A: the TYPE's completion starts it.
    bool m_typeBeforeList = false;
    platform::PostTarget m_posted;
    std::vector<std::string> m_acceptedCertificates; // "site fingerprint", accepted for this run
    // Connection 0 asked for TLS where the server offers it and was refused: the transfer
    // connections do not ask again.
    bool m_tlsRefused = false;

    std::string m_savedDir;
    std::shared_ptr<platform::TMemoryStream> m_savedListing;
    // The walk: directories still to visit, where the results go, what was seen.
    struct TWalkDir
    {
        std::string Path;     // the remote directory to enter
        std::string Relative; // its local path below the walk's start: checked names only
        int Depth = 0;
        bool Link = false;     // a symbolic link: it may name a file, which no CWD enters
        std::string Unique;    // MLSD's "unique" fact for it, when its listing gave one
        bool Repeated = false; // a directory met before had the same unique fact
    };
    std::vector<TWalkDir> m_walkStack;
    // Directories whose unique fact was met before: walked last, and left out only when their
    // listing shows they are that directory again (a link to it).
    std::vector<TWalkDir> m_walkRepeated;
    TWalkDir m_walkCurrent; // the directory being walked
    std::vector<TGetFileInfo>* m_walkResult = nullptr;
    std::vector<std::string> m_walkVisited;
    // MLSD's "unique" facts of the directories met: the first path met with each, and what its
    // listing held once it was listed.
    struct TWalkUnique
    {
        std::string Path;
        std::string Contents;
    };
    std::map<std::string, TWalkUnique> m_walkUniques;
    std::string m_walkRoot;
    std::vector<TItemOutcome> m_walkSkipped;
    // The other chains: what is left to do, and how each done item fared.
    std::vector<std::string> m_makeDirs;
    std::vector<THostMoveFileInfo> m_renames;
    THostMoveFileInfo m_renaming; // the pair whose RNFR or RNTO is under way
    bool m_renameToSent = false;
    std::unique_ptr<TTreeDelete> m_treeDelete;
    std::vector<std::string> m_chmodNames;
    std::string m_chmodMode;
    std::string m_chainItem; // the item of the chain's request under way
    std::vector<TItemOutcome> m_outcomes;
    std::mt19937 m_random{std::random_device{}()};
};
