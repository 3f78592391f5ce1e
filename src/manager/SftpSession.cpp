#include "manager/SftpSession.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

#include "net/WSocketErrors.h"
#include "platform/Translate.h"

using platform::Fill;
using platform::Tr;

TSftpSession::TSftpSession(std::unique_ptr<sftp::TSftpClient> client, sftp::TSshParams params)
    : m_own(std::move(client)), m_client(*m_own), m_params(std::move(params))
{
}

TSftpSession::TSftpSession(sftp::TSftpClient& shared, sftp::TSshParams params)
    : m_client(shared), m_params(std::move(params))
{
}

TSftpSession::~TSftpSession()
{
    *m_alive = false;
    m_client.OnProgress = nullptr;
    if (m_fd >= 0) {
        m_client.CancelTransfer(); // nothing more is written into the file closed here
        ::close(m_fd);
    }
}

TSessionResult TSftpSession::ResultOf(const sftp::TStatus& status)
{
    if (status.Ok())
        return {};
    if (status.Cancelled)
        return TSessionResult::Failed(TFailure::Cancelled, 426, "cancelled");
    if (status.LocalErrno != 0)
        return TSessionResult::Failed(TFailure::Local, status.LocalErrno, status.Text());
    if (status.Lost)
        return TSessionResult::Failed(TFailure::Transient, wsa::kConnectionAborted, status.Text());
    return TSessionResult::Failed(TFailure::Permanent, 550, status.Text());
}

template <typename... TArgs>
std::function<void(const sftp::TStatus&, TArgs...)>
TSftpSession::Call(std::function<void(const TSessionResult&, TArgs...)> done)
{
    uint64_t call = ++m_call;
    auto shared = std::make_shared<std::function<void(const TSessionResult&, TArgs...)>>(std::move(done));
    m_cancel = [shared] {
        auto finish = std::move(*shared);
        *shared = nullptr;
        if (finish)
            finish(TSessionResult::Failed(TFailure::Cancelled, 426, "cancelled"), TArgs{}...);
    };
    std::weak_ptr<bool> alive = m_alive;
    return [this, alive, call, shared](const sftp::TStatus& status, TArgs... values) {
        auto token = alive.lock();
        if (!token || !*token || !*shared)
            return; // cancelled, or the session is gone
        if (call == m_call)
            m_cancel = nullptr;
        auto finish = std::move(*shared);
        *shared = nullptr;
        finish(ResultOf(status), std::move(values)...);
    };
}

void TSftpSession::Log(const std::string& line) const
{
    if (m_client.OnLog)
        m_client.OnLog(line);
}

bool TSftpSession::LoggedIn() const
{
    return m_client.Ready();
}

void TSftpSession::LogIn(TDone done)
{
    auto finish = Call<>(std::move(done));
    if (m_client.Ready()) {
        m_posted.post([finish] { finish(sftp::TStatus{}); });
        return;
    }
    m_client.Open(m_params, [finish](const sftp::TStatus& status, sftp::TSshStep step) {
        sftp::TStatus result = status;
        if (!status.Ok())
            result.Message = sftp::SshStepName(step) + ": " + status.Message;
        finish(result);
    });
}

void TSftpSession::List(const std::string& directory, bool /*viaLink*/,
                        std::function<void(const TSessionResult&, std::vector<TRemoteEntry>)> done)
{
    Log("> list " + directory);
    auto finish = Call<std::vector<TRemoteEntry>>(std::move(done));
    std::weak_ptr<bool> alive = m_alive;
    m_client.ListDir(directory, [this, alive, directory, finish](const sftp::TStatus& status,
                                                                 std::vector<sftp::TNameEntry> names) {
        if (!status.Ok() || alive.expired()) {
            finish(status, {});
            return;
        }
        auto entries = std::make_shared<std::vector<TRemoteEntry>>();
        for (const sftp::TNameEntry& name : names) {
            if (name.Name == "." || name.Name == "..")
                continue;
            TRemoteEntry entry;
            entry.Name = name.Name;
            const sftp::TAttributes& a = name.Attributes;
            entry.Kind = a.IsDirectory() ? TRemoteKind::Directory : a.IsLink() ? TRemoteKind::Link : TRemoteKind::File;
            if (a.Size) {
                entry.Size = static_cast<int64_t>(std::min<uint64_t>(*a.Size, INT64_MAX));
                entry.SizeText = std::to_string(*a.Size);
            }
            if (a.ModifyTime)
                entry.Modified = *a.ModifyTime;
            entries->push_back(std::move(entry));
        }
        // The targets of links, all asked at once; the listing counts when the last is in.
        auto waiting = std::make_shared<size_t>(1);
        auto complete = [entries, waiting, finish] {
            if (--*waiting == 0)
                finish(sftp::TStatus{}, std::move(*entries));
        };
        for (size_t i = 0; i < entries->size(); ++i) {
            if ((*entries)[i].Kind != TRemoteKind::Link)
                continue;
            ++*waiting;
            m_client.ReadLink(directory + (*entries)[i].Name,
                              [entries, i, complete](const sftp::TStatus&, std::string target) {
                                  (*entries)[i].LinkTarget = target;
                                  complete();
                              });
        }
        complete();
    });
}

void TSftpSession::MakeDir(const std::string& path, TDone done)
{
    m_client.MakeDir(path, Call<>(std::move(done)));
}

void TSftpSession::Transfer(const TTransferRequest& request, std::function<void(const TTransferResult&)> done)
{
    int flags =
        request.Download ? O_WRONLY | O_CREAT | O_CLOEXEC | (request.Whole() ? O_TRUNC : 0) : O_RDONLY | O_CLOEXEC;
    int fd = ::open(request.LocalPath.c_str(), flags, 0644);
    if (fd < 0) {
        TTransferResult result;
        static_cast<TSessionResult&>(result) =
            TSessionResult::Failed(TFailure::Local, errno, request.LocalPath + ": " + std::strerror(errno));
        m_posted.post([done, result] { done(result); });
        return;
    }
    m_fd = fd;
    m_client.SetRateLimiter(request.Limiter);
    int64_t start = request.Download ? std::max<int64_t>(request.Offset, 0) : 0;
    std::function<void(const TSessionResult&, int64_t)> ended =
        [this, start, done = std::move(done)](const TSessionResult& outcome, int64_t bytes) {
            if (m_fd >= 0) {
                ::close(m_fd);
                m_fd = -1;
            }
            m_client.OnProgress = nullptr;
            Log(outcome.Ok() ? "< " + Fill(Tr("Engine", "%1 bytes"), {std::to_string(bytes)}) : "! " + outcome.Text);
            TTransferResult result;
            static_cast<TSessionResult&>(result) = outcome;
            result.Start = start;
            result.Bytes = std::max<int64_t>(bytes, 0);
            done(result);
        };
    auto finish = Call<int64_t>(std::move(ended));
    m_client.OnProgress = [this](int64_t position) {
        if (OnProgress)
            OnProgress(position);
    };
    Log((request.Download ? "> read " : "> write ") + request.RemotePath +
        (request.Download && !request.Whole()
             ? " from " + std::to_string(start) + (request.End >= 0 ? " to " + std::to_string(request.End) : "")
             : ""));
    if (request.Download)
        m_client.Download(request.RemotePath, fd, start, request.End, finish);
    else
        m_client.Upload(fd, request.RemotePath, 0, finish);
}

void TSftpSession::Size(const std::string& path, std::function<void(const TSessionResult&, int64_t)> done)
{
    auto finish = Call<int64_t>(std::move(done));
    m_client.Stat(path, true, [finish](const sftp::TStatus& status, sftp::TAttributes attributes) {
        if (status.Ok() && !attributes.Size) {
            finish(sftp::TStatus{sftp::kFailure, Tr("Engine", "the server gives no size")}, -1);
            return;
        }
        finish(status, status.Ok() ? static_cast<int64_t>(*attributes.Size) : -1);
    });
}

void TSftpSession::ModifiedTime(const std::string& path, std::function<void(const TSessionResult&, int64_t)> done)
{
    auto finish = Call<int64_t>(std::move(done));
    m_client.Stat(path, true, [finish](const sftp::TStatus& status, sftp::TAttributes attributes) {
        if (status.Ok() && !attributes.ModifyTime) {
            finish(sftp::TStatus{sftp::kFailure, Tr("Engine", "the server gives no time")}, -1);
            return;
        }
        finish(status, status.Ok() ? static_cast<int64_t>(*attributes.ModifyTime) : -1);
    });
}

void TSftpSession::SetModifiedTime(const std::string& path, int64_t seconds, TDone done)
{
    sftp::TAttributes attributes;
    attributes.AccessTime = attributes.ModifyTime = static_cast<uint32_t>(std::clamp<int64_t>(seconds, 0, UINT32_MAX));
    m_client.SetStat(path, attributes, Call<>(std::move(done)));
}

void TSftpSession::Hash(const std::string&, std::function<void(const TSessionResult&, std::string)> done)
{
    m_posted.post([done] {
        done(TSessionResult::Failed(TFailure::Permanent, 502, Tr("Engine", "the server offers no file hashes")), {});
    });
}

void TSftpSession::Rename(const std::string& from, const std::string& to, TDone done)
{
    m_client.Rename(from, to, Call<>(std::move(done)));
}

void TSftpSession::Delete(const std::string& path, bool directory, TDone done)
{
    if (directory)
        m_client.RemoveDir(path, Call<>(std::move(done)));
    else
        m_client.Remove(path, Call<>(std::move(done)));
}

void TSftpSession::ChangeMode(const std::string& path, const std::string& mode, TDone done)
{
    uint32_t bits = 0;
    if (!sftp::ParseOctalMode(mode, bits)) {
        m_posted.post([done, mode] {
            done(TSessionResult::Failed(TFailure::Permanent, 501,
                                        Fill(Tr("Engine", "\"%1\" is no octal mode"), {mode})));
        });
        return;
    }
    sftp::TAttributes attributes;
    attributes.Permissions = bits;
    m_client.SetStat(path, attributes, Call<>(std::move(done)));
}

void TSftpSession::Cancel()
{
    if (m_fd >= 0)
        m_client.CancelTransfer(); // its completion closes the file
    if (auto cancel = std::move(m_cancel)) {
        m_cancel = nullptr;
        cancel();
    }
}
