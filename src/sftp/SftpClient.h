#pragma once

// An SFTP client over one SSH connection: requests go out as soon as they are made and their
// replies are matched by id, so that many are in flight at once. A download keeps a window
// of reads ahead of the one it waits for and writes each block at its offset; an upload keeps
// writes in flight the same way. Every request ends with exactly one completion, from the
// event loop: the server's status, a local failure, or the connection lost.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/EventLoop.h"
#include "platform/RateLimiter.h"
#include "sftp/SftpPacket.h"
#include "sftp/SshConnection.h"

namespace platform {
class Timer;
}

namespace sftp {

struct TStatus
{
    uint32_t Code = kOk;
    std::string Message; // the server's words, or the reason of a lost connection
    bool Lost = false;   // the connection ended: nothing more comes on it
    int LocalErrno = 0;  // the local file failed
    bool Cancelled = false;
    bool Ok() const { return Code == kOk && !Lost && LocalErrno == 0 && !Cancelled; }
    // "No such file (/a/b: no such file)" style text for logs and messages.
    std::string Text() const;
};

class TSftpClient
{
public:
    std::function<void(const std::string& line)> OnLog;
    // The position a running transfer reached (every byte before it moved).
    std::function<void(int64_t position)> OnProgress;
    // The connection ended once it was open (every pending request has failed as Lost).
    std::function<void(const std::string& reason)> OnLost;

    TSftpClient();
    ~TSftpClient();
    TSftpClient(const TSftpClient&) = delete;
    TSftpClient& operator=(const TSftpClient&) = delete;

    TSshConnection& Connection() { return m_connection; }
    // The speed limit the transfers keep from now on; null for none.
    void SetRateLimiter(platform::TRateLimiter* limiter) { m_limiter = limiter; }
    void Open(const TSshParams& params, std::function<void(const TStatus&, TSshStep failedAt)> done);
    bool Ready() const { return m_ready; }
    void Close();

    void RealPath(const std::string& path, std::function<void(const TStatus&, std::string)> done);
    // STAT follows a link, LSTAT does not.
    void Stat(const std::string& path, bool follow, std::function<void(const TStatus&, TAttributes)> done);
    void ReadLink(const std::string& path, std::function<void(const TStatus&, std::string)> done);
    void ListDir(const std::string& path, std::function<void(const TStatus&, std::vector<TNameEntry>)> done);
    void MakeDir(const std::string& path, std::function<void(const TStatus&)> done);
    void RemoveDir(const std::string& path, std::function<void(const TStatus&)> done);
    void Remove(const std::string& path, std::function<void(const TStatus&)> done);
    // Replaces an existing target where the server can (posix-rename@openssh.com).
    void Rename(const std::string& from, const std::string& to, std::function<void(const TStatus&)> done);
    void SetStat(const std::string& path, const TAttributes& attributes, std::function<void(const TStatus&)> done);

    // The bytes [offset, end) of a remote file (end -1: to its end) written into fd at their
    // own offsets; bytes: how many moved, counted from offset without a gap.
    void Download(const std::string& path, int fd, int64_t offset, int64_t end,
                  std::function<void(const TStatus&, int64_t bytes)> done);
    // The local file fd from offset to its end into the remote file (made anew from byte 0).
    void Upload(int fd, const std::string& path, int64_t offset,
                std::function<void(const TStatus&, int64_t bytes)> done);
    // Ends the running transfer now: its completion comes at once (Cancelled) and nothing
    // more is written to its file.
    void CancelTransfer();

private:
    using THandler = std::function<void(uint8_t type, TReader& reader)>;
    struct TTransfer;

    void Request(TRequest& request, uint32_t id, THandler handler);
    uint32_t NextId() { return m_nextId++; }
    void Flush();
    void Activity();
    void Dispatch(std::string_view body);
    // Every pending request fails as Lost; an unexpected loss is logged and told (OnLost).
    void Lose(const std::string& reason, bool unexpected = true);
    TStatus StatusReply(uint8_t type, TReader& reader) const;
    void StatusOnly(TRequest request, uint32_t id, std::function<void(const TStatus&)> done);
    // A request answered by one name (REALPATH, READLINK).
    void OneName(uint8_t requestType, const std::string& path, std::function<void(const TStatus&, std::string)> done);
    void OpenHandle(const std::string& path, uint32_t flags, std::function<void(const TStatus&, std::string)> done);
    void CloseHandle(const std::string& handle, std::function<void(const TStatus&)> done);
    void ReadDirectory(std::shared_ptr<std::vector<TNameEntry>> entries, std::string handle,
                       std::function<void(const TStatus&, std::vector<TNameEntry>)> done);
    // Opens the remote file and starts the transfer's blocks.
    void StartTransfer(bool download, const std::string& path, uint32_t flags, int fd, int64_t offset, int64_t end,
                       std::function<void(const TStatus&, int64_t)> done);
    // Keeps the transfer's window of requests full, or ends it when all are answered.
    void Pump(const std::shared_ptr<TTransfer>& transfer);
    // Asks again for the tails of short blocks that data beyond them shows to be inside the
    // file; atEnd: the others mark the file's end. True when something was asked.
    bool AskForGaps(const std::shared_ptr<TTransfer>& transfer, bool atEnd);
    bool LimitAllows(const std::shared_ptr<TTransfer>& transfer, int64_t length);
    void ReadAnswered(const std::shared_ptr<TTransfer>& transfer, int64_t offset, int64_t length, uint8_t type,
                      TReader& reader);
    void WriteAnswered(const std::shared_ptr<TTransfer>& transfer, int64_t offset, int64_t length, uint8_t type,
                       TReader& reader);
    void Moved(TTransfer& transfer, int64_t offset, int64_t length);
    void EndTransfer(const std::shared_ptr<TTransfer>& transfer, TStatus status);

    TSshConnection m_connection;
    std::unique_ptr<platform::Timer> m_timer;
    int m_timeoutSeconds = 30;
    bool m_ready = false;
    std::function<void(const TStatus&, TSshStep)> m_opened;
    uint32_t m_nextId = 1;
    std::unordered_map<uint32_t, THandler> m_pending;
    // What came in: packets are read in place between m_inBegin and m_inEnd, the rest of a
    // packet moves to the front before the next read.
    std::vector<char> m_in;
    size_t m_inBegin = 0;
    size_t m_inEnd = 0;
    bool m_dispatching = false; // a completion runs: a nested event loop does not read meanwhile
    std::string m_out;
    size_t m_outSent = 0;
    int64_t m_lastReply = 0;
    std::string m_lostReason;
    bool m_posixRename = false;
    std::shared_ptr<TTransfer> m_transfer;
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
    platform::PostTarget m_posted;
    platform::TRateLimiter* m_limiter = nullptr;
};

} // namespace sftp
