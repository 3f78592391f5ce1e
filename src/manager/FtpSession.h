#pragma once

// A session over one FTP connection of the manager's table: the calls of ISession turned into
// FTP requests. Here live the login of a transfer connection (USER, PASS, OPTS UTF8), TYPE,
// EPSV or PORT, REST, listings by path, MDTM and MFMT, the server's hash commands, and the
// commands sent ahead so that the server answers one call's commands back to back with the
// running call's. The manager hands it the completions of its client.

#include <deque>
#include <functional>
#include <memory>
#include <string>

#include "ftp/FtpClient.h"
#include "manager/Session.h"
#include "platform/EventLoop.h"
#include "platform/Stream.h"

class TFtpManager;

class TFtpSession : public ISession
{
public:
    TFtpSession(TFtpManager& manager, int index);
    TFtpSession(const TFtpSession&) = delete;
    TFtpSession& operator=(const TFtpSession&) = delete;

    bool LoggedIn() const override;
    void LogIn(TDone done) override;
    void List(const std::string& directory, bool viaLink,
              std::function<void(const TSessionResult&, std::vector<TRemoteEntry>)> done) override;
    void MakeDir(const std::string& path, TDone done) override;
    void Transfer(const TTransferRequest& request, std::function<void(const TTransferResult&)> done) override;
    void Size(const std::string& path, std::function<void(const TSessionResult&, int64_t)> done) override;
    void ModifiedTime(const std::string& path, std::function<void(const TSessionResult&, int64_t)> done) override;
    bool CanSetModifiedTime() const override;
    void SetModifiedTime(const std::string& path, int64_t seconds, TDone done) override;
    std::string HashAlgorithm() const override;
    void Hash(const std::string& path, std::function<void(const TSessionResult&, std::string)> done) override;
    void Rename(const std::string& from, const std::string& to, TDone done) override;
    void Delete(const std::string& path, bool directory, TDone done) override;
    void ChangeMode(const std::string& path, const std::string& mode, TDone done) override;
    bool SendAhead(const TAheadCall& call) override;
    void DropAhead() override;
    void Cancel() override;

    // From the manager: the client's completions, progress, the end of a download's data, and
    // the close of its connection.
    void RequestDone(TFtpRequest rqType, int error);
    void Progress(int64_t position);
    void DataEnded();

private:
    // What the session waits for; each step names the request whose completion it takes.
    enum class TStep : uint8_t
    {
        Idle,
        Opening,
        User,
        Pass,
        Utf8,
        Type, // the TYPE of a transfer, before its data request
        Transferring,
        ChangingDir, // CWD before the listing of a link (or of a server that lists no path)
        Listing,
        Command // one command: MKD, SIZE, MDTM, MFMT, a hash, DELE, RMD, SITE, RNFR, RNTO
    };

    TFtpClient& Client() const;
    void Log(const std::string& line) const;
    // Starts the request of a step; one that refuses to start ends as a lost connection would.
    void Start(TStep step, const std::function<void()>& request);
    void Dispatch(int error);
    TSessionResult ResultOf(int error) const;
    // The call under way ends with this result (Cancelled when it was cancelled and failed).
    void Finish(TSessionResult result);
    void LoginStep(int error);
    // The rest of the login (PASS, OPTS UTF8) and the calls queued meanwhile go out ahead.
    void SendLoginAhead();
    bool CanSendTransferAhead(const TTransferRequest& request) const;
    bool SendCallAhead(const TAheadCall& call);
    // Keeps the commands of this call (and of those after it) sent ahead; the others before it
    // are dropped unread.
    void KeepAheadOf(const std::string& key);
    void StartTransfer();
    void TransferDone(int error);
    void StartListing(bool withPath);
    void ListingDone(int error);
    std::vector<TRemoteEntry> ListedEntries();
    // One command with its own completion.
    void Command(const std::function<void()>& request, std::function<void(const TSessionResult&)> done);

    TFtpManager& m_manager;
    int m_index;
    TStep m_step = TStep::Idle;
    uint64_t m_request = 0; // the client's number of the request awaited; 0 when none started
    bool m_loggedIn = false;
    bool m_cancelled = false;
    std::function<void(const TSessionResult&)> m_finish; // the completion of the call under way
    TTransferRequest m_transfer;
    std::string m_listPath;
    bool m_listViaLink = false;
    bool m_listWithPath = false;
    bool m_listFallback = false; // the server takes no path with its listing: CWD, then list
    platform::TMemoryStream m_listing;
    // Calls sent ahead (a key for each, with how many commands it took), in sending order;
    // calls queued during the login go out once USER is answered.
    struct TAhead
    {
        std::string Key;
        size_t Commands = 0;
    };
    std::deque<TAhead> m_ahead;
    std::deque<TAheadCall> m_loginQueue;
    bool m_passAhead = false;
    platform::PostTarget m_posted;
};

// "RETR /a", "LIST /d/", "MDTM /a": the key of a call sent ahead.
std::string AheadKey(const TAheadCall& call);
