#pragma once

// Every FTP connection of the program: connection 0 logs in, browses and runs the remote
// commands; connections 1..N-1 only transfer. The manager applies the proxy, SOCKS or direct
// settings, runs the login sequence, routes every completion by the connection's mode, keeps
// the cache of listings and runs the remote commands as chains of requests on connection 0.

#include <array>
#include <bitset>
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
#include "manager/RemoteHash.h"

#include "manager/TransferFileInfo.h"

// A site: host, port, user, password.
struct THostInfo
{
    std::string HostName;
    std::string HostPort;
    std::string UserName;
    std::string PassWord;
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

// A rename or move: old path, new path.
struct THostMoveFileInfo
{
    std::string OldPath;
    std::string NewPath;
};

// An entry to delete: a bare name in the current directory, and whether it is a directory.
struct TDelFileInfo
{
    std::string Name;
    bool IsDirectory = false;
};

// The commands connection 0 sends after its login, in this order, before PWD.
enum class TLoginProbe : uint8_t
{
    Features, // FEAT: what the server offers beyond RFC 959 (file hashes)
    System,   // SYST
    Restart,  // REST 100: whether downloads can resume
    Unmark,   // REST 0: takes the probe's restart marker back
    Done
};

// What FEAT said the server offers that the transfers use.
struct TServerFeatures
{
    TRemoteHash Hash; // how to ask for a file's hash; no command when the server has none
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
    // Creates or destroys clients; handing running items back is the transfer engine's part.
    void SetConnectionCount(int newCount);
    void ConfigureConnection(int index);
    void ConnectMain(const THostInfo& info);
    void DisconnectAll();
    void AbortCurrent();
    bool SendQuoteSync(const std::string& command);
    // TYPE I or TYPE A on that client, unless the server confirmed that type on this login.
    bool SetTransferType(TFtpClient& client, bool binary);
    // One anti-idle command: PWD, REST 0, TYPE I or TYPE A, chosen at random.
    void AntiIdleTick();

    // The listing cache of connection 0.
    bool List(const std::string& path);
    void Store(const std::string& path);
    std::string ListingText() const { return Cache.CurrentText(); }

    // Remote operations on connection 0; each ends with the host's OperationDone or OperationFailed.
    void ChangeDir(const std::string& name);
    void Refresh(const std::string& path);
    void Walk(const std::string& name, std::vector<TGetFileInfo>* result);
    void MakeDirs(std::vector<std::string> paths);
    void RenameFiles(std::vector<THostMoveFileInfo> pairs);
    void DeleteFiles(std::vector<TDelFileInfo> entries);
    void ChangeModes(std::vector<std::string> names, const std::string& mode);

    TFtpClient* Client(int index) const { return index >= 0 && index < Count ? Clients[index].get() : nullptr; }
    const THostInfo& SessionInfo() const { return Session; }

    int Count = 0;
    std::array<std::unique_ptr<TFtpClient>, kMaxConnections> Clients;
    THostInfo Session;
    std::array<TConnectionMode, kMaxConnections> Mode{};
    // The item each connection works on; it belongs to the slot until it goes back to the queue.
    std::array<std::unique_ptr<TTransferFileInfo>, kMaxConnections> Item;
    std::array<int64_t, kMaxConnections> Position{};
    std::string CurrentRemoteDir;
    uint8_t AbortMainFlag = 0;
    uint8_t TransferAbortFlag = 0;
    std::bitset<kMaxConnections> AbortSet;
    int RetryLeft = 0;
    TListingCache Cache;
    TServerFeatures Features;
    // What the walks since it was last cleared could not enter, and why: refused, unreadable, or a directory the server
    // reported under a name that climbs out of the tree. Loops and links out of the tree are not
    // counted: there was nothing there to fetch.
    std::vector<std::pair<std::string, std::string>> WalkSkipped;
    // The server answered REST but sent from byte 0: nothing is fetched from an offset again in
    // this session (no split downloads, no resumes).
    bool RestIgnored = false;

    // A line in connection index's log.
    void Log(int index, const std::string& text);

private:
    std::unique_ptr<TFtpClient> CreateClient(int index);
    void DestroyClient(int index);
    void ResetConnection(TFtpClient& client);
    void RequestDone(int index, TFtpRequest rqType, int error);
    void SessionClosed(int index);
    // Connection 0's completions, by its mode.
    void LoginStep(TFtpRequest rqType, int error);
    // The next probe of the login, or PWD once they are done.
    void NextLoginProbe();
    void LoginFailed();
    void ChangeDirStep(TFtpRequest rqType, int error);
    void RefreshStep(TFtpRequest rqType);
    void WalkStep(TFtpRequest rqType, int error);
    void WalkParse();
    void WalkNext();
    // Logs a directory the walk leaves out and counts it as not fetched.
    void WalkSkip(const std::string& path, const std::string& reason);
    void MakeDirStep();
    void RenameStep();
    void DeleteStep();
    void ChmodStep();
    void RestoreSaved();
    std::string PwdDirectory() const;
    void ListAfterPwd();

    IManagerHost& m_host;
    std::string m_savedDir;
    std::shared_ptr<platform::TMemoryStream> m_savedListing;
    // The walk: directories still to visit, where the results go, what was seen.
    struct TWalkDir
    {
        std::string Path;     // the remote directory to enter
        std::string Relative; // its local path below the walk's start: checked names only
        int Depth = 0;
        bool Link = false; // a symbolic link: it may name a file, which no CWD enters
    };
    std::vector<TWalkDir> m_walkStack;
    std::string m_walkRelative; // of the directory being walked
    bool m_walkTryingLink = false;
    int m_walkDepth = 0;
    std::vector<TGetFileInfo>* m_walkResult = nullptr;
    std::vector<std::string> m_walkVisited;
    std::string m_walkRoot;
    std::vector<std::string> m_makeDirs;
    std::vector<THostMoveFileInfo> m_renames;
    std::string m_pendingNewName;
    std::vector<TDelFileInfo> m_deletes;
    std::vector<std::string> m_chmodNames;
    std::string m_chmodMode;
    TLoginProbe m_loginProbe = TLoginProbe::Done;
    std::mt19937 m_random{std::random_device{}()};
};
