#pragma once

// A session over one SFTP connection: the calls of ISession as SFTP requests. A transfer
// reads or writes its local file at the offsets the blocks belong to, many blocks in flight;
// a listing comes with each link's target. Nothing is sent ahead of its turn: the requests of
// one call are already in flight together.

#include <memory>

#include "manager/Session.h"
#include "platform/EventLoop.h"
#include "sftp/SftpClient.h"

class TSftpSession : public ISession
{
public:
    // A session of its own connection, which it opens with params when asked to log in.
    TSftpSession(std::unique_ptr<sftp::TSftpClient> client, sftp::TSshParams params);
    // A session on a connection another owns (connection 0's, logged in by the manager); it
    // logs that one in again with params when the connection was lost.
    TSftpSession(sftp::TSftpClient& shared, sftp::TSshParams params);
    ~TSftpSession() override;

    bool LoggedIn() const override;
    void LogIn(TDone done) override;
    void List(const std::string& directory, bool viaLink,
              std::function<void(const TSessionResult&, std::vector<TRemoteEntry>)> done) override;
    void MakeDir(const std::string& path, TDone done) override;
    void Transfer(const TTransferRequest& request, std::function<void(const TTransferResult&)> done) override;
    void Size(const std::string& path, std::function<void(const TSessionResult&, int64_t)> done) override;
    void ModifiedTime(const std::string& path, std::function<void(const TSessionResult&, int64_t)> done) override;
    bool CanSetModifiedTime() const override { return true; }
    void SetModifiedTime(const std::string& path, int64_t seconds, TDone done) override;
    std::string HashAlgorithm() const override { return {}; }
    void Hash(const std::string& path, std::function<void(const TSessionResult&, std::string)> done) override;
    void Rename(const std::string& from, const std::string& to, TDone done) override;
    void Delete(const std::string& path, bool directory, TDone done) override;
    void ChangeMode(const std::string& path, const std::string& mode, TDone done) override;
    bool SendAhead(const TAheadCall&) override { return false; }
    void DropAhead() override {}
    void Cancel() override;

private:
    // The call under way: its completion goes through here once, or at once as Cancelled.
    template <typename... TArgs>
    std::function<void(const sftp::TStatus&, TArgs...)> Call(std::function<void(const TSessionResult&, TArgs...)> done);
    static TSessionResult ResultOf(const sftp::TStatus& status);
    void Log(const std::string& line) const;

    std::unique_ptr<sftp::TSftpClient> m_own;
    sftp::TSftpClient& m_client;
    sftp::TSshParams m_params;
    uint64_t m_call = 0;            // the number of the call under way
    std::function<void()> m_cancel; // ends it as cancelled
    int m_fd = -1;                  // the local file of the transfer under way
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
    platform::PostTarget m_posted; // completions known at once still come from the event loop
};
