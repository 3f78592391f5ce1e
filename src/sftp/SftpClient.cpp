#include "sftp/SftpClient.h"

#include <cerrno>
#include <cstring>

#include <unistd.h>

#include "platform/EventLoop.h"
#include "platform/Timer.h"
#include "platform/Translate.h"

using platform::Fill;
using platform::Tr;

namespace sftp {
namespace {

// A read or write of 64 KiB is what OpenSSH and most servers take whole; 64 of them in
// flight keep 4 MiB on the way (twice what OpenSSH's own client keeps), which fills a link of
// 20 ms at about 200 MB/s.
constexpr int64_t kBlock = 64 * 1024;
constexpr size_t kInFlight = 64;
// A directory of more names than this is not read further (a server that never says EOF).
constexpr size_t kMostNames = 2'000'000;

} // namespace

std::string TStatus::Text() const
{
    if (Cancelled)
        return "cancelled";
    if (LocalErrno != 0)
        return Tr("Engine", "local file: ") + std::string(std::strerror(LocalErrno));
    if (Lost)
        return Tr("Engine", "connection lost: ") + Message;
    std::string words = StatusText(Code);
    return Message.empty() || Message == words ? words : words + " (" + Message + ")";
}

struct TSftpClient::TTransfer
{
    bool Download = true;
    std::string Handle;
    int Fd = -1;
    int64_t Start = 0;
    int64_t Next = 0;                 // the next offset to ask for or send
    int64_t End = -1;                 // a download's end; -1 until the file's end is met
    int64_t Reached = 0;              // every byte before it moved
    std::map<int64_t, int64_t> Ahead; // blocks moved beyond Reached: offset -> length
    // The tails of blocks that came short: asked for again once data beyond them shows the
    // file goes on, else where the file ends. offset -> length
    std::map<int64_t, int64_t> Gaps;
    int64_t DataEnd = 0; // the end of the furthest block that brought data
    size_t InFlight = 0;
    bool SourceEnded = false; // EOF met (download) or the local file read to its end (upload)
    bool Closing = false;     // every block answered, the handle closing
    bool Finished = false;
    bool LimitWaiting = false; // for the speed limit's next slice
    std::function<void(const TStatus&, int64_t)> Done;
};

TSftpClient::TSftpClient() : m_timer(std::make_unique<platform::Timer>())
{
    m_connection.OnActivity = [this] { Activity(); };
    m_connection.OnLog = [this](const std::string& line) {
        if (OnLog)
            OnLog(line);
    };
    m_connection.OnReady = [this] {
        // The subsystem speaks version 3; its extensions come with the answer.
        m_out += InitPacket();
        m_lastReply = platform::tickCount();
        Flush();
    };
    m_connection.OnFailed = [this](TSshStep step, const std::string& reason) {
        if (m_opened) {
            auto opened = std::move(m_opened);
            m_opened = nullptr;
            TStatus status;
            status.Lost = true;
            status.Message = reason;
            opened(status, step);
            return;
        }
        Lose(reason);
    };
    m_timer->onTimeout = [this] {
        bool waiting = !m_pending.empty() || (m_opened && m_connection.Ready());
        if (waiting && platform::tickCount() - m_lastReply > m_timeoutSeconds * 1000LL)
            Lose(Fill(Tr("Engine", "no answer in %1 seconds"), {std::to_string(m_timeoutSeconds)}));
    };
}

TSftpClient::~TSftpClient()
{
    *m_alive = false;
    if (m_transfer)
        m_transfer->Finished = true;
}

void TSftpClient::Open(const TSshParams& params, std::function<void(const TStatus&, TSshStep)> done)
{
    Close();
    m_opened = std::move(done);
    m_timeoutSeconds = std::max(params.TimeoutSeconds, 1);
    m_timer->start(1000);
    m_connection.Open(params);
}

void TSftpClient::Close()
{
    if (m_connection.Ready() || !m_pending.empty())
        Lose("closed", false);
    m_connection.Close();
    m_timer->stop();
    m_ready = false;
    m_inBegin = m_inEnd = 0;
    m_out.clear();
    m_outSent = 0;
}

// ---------------------------------------------------------------- bytes in and out

void TSftpClient::Request(TRequest& request, uint32_t id, THandler handler)
{
    if (!m_ready) {
        // The connection is gone: the handler's status says Lost, from the event loop.
        m_posted.post([handler = std::move(handler)] {
            TReader none({});
            handler(0, none);
        });
        return;
    }
    if (m_pending.empty())
        m_lastReply = platform::tickCount(); // the wait for an answer starts now
    m_pending.emplace(id, std::move(handler));
    m_out += request.Finish();
    Flush();
}

void TSftpClient::Flush()
{
    while (m_outSent < m_out.size()) {
        int wrote = m_connection.Write(m_out.data() + m_outSent, static_cast<int>(m_out.size() - m_outSent));
        if (wrote <= 0)
            break; // the rest goes when the peer's window opens
        m_outSent += static_cast<size_t>(wrote);
    }
    if (m_outSent == m_out.size()) {
        m_out.clear();
        m_outSent = 0;
    } else if (m_outSent > (1 << 20)) {
        m_out.erase(0, m_outSent);
        m_outSent = 0;
    }
}

void TSftpClient::Activity()
{
    if (m_dispatching)
        return; // the read under way goes on once the completion returns
    auto alive = m_alive;
    Flush();
    // libssh opens the server's window again only when it falls below what a read asks for:
    // asking for 4 MiB keeps about that much on the way, which fills a long link.
    constexpr size_t kReadAsk = 4 << 20;
    if (m_in.size() < kReadAsk + kLargestPacket + 4)
        m_in.resize(kReadAsk + kLargestPacket + 4);
    for (;;) {
        if (m_inBegin > 0) {
            std::memmove(m_in.data(), m_in.data() + m_inBegin, m_inEnd - m_inBegin);
            m_inEnd -= m_inBegin;
            m_inBegin = 0;
        }
        int got = m_connection.Read(m_in.data() + m_inEnd, static_cast<int>(m_in.size() - m_inEnd));
        if (got < 0) {
            Lose(Tr("Engine", "the server closed the SFTP channel"));
            return;
        }
        if (got == 0)
            break;
        m_inEnd += static_cast<size_t>(got);
        m_lastReply = platform::tickCount();
        for (;;) {
            std::string_view in(m_in.data() + m_inBegin, m_inEnd - m_inBegin);
            int64_t length = WholePacketLength(in);
            if (length < 0) {
                Lose(Tr("Engine", "the server sent a packet no SFTP packet is"));
                return;
            }
            if (length == 0)
                break;
            m_inBegin += static_cast<size_t>(length);
            m_dispatching = true;
            Dispatch(in.substr(4, static_cast<size_t>(length - 4)));
            if (!*alive)
                return;
            m_dispatching = false;
            if (!m_connection.Ready())
                return;
        }
    }
    Flush();
}

void TSftpClient::Dispatch(std::string_view body)
{
    TReader reader(body);
    uint8_t type = reader.U8();
    if (type == kVersion) {
        uint32_t version = reader.U32();
        while (!reader.AtEnd() && !reader.Malformed()) {
            std::string name = reader.Str();
            std::string data = reader.Str();
            if (name == "posix-rename@openssh.com")
                m_posixRename = true;
        }
        if (!m_opened)
            return;
        auto opened = std::move(m_opened);
        m_opened = nullptr;
        TStatus status;
        if (version < 3) {
            status.Code = kOpUnsupported;
            status.Message = Fill(Tr("Engine", "the server speaks SFTP version %1 only"), {std::to_string(version)});
        } else {
            m_ready = true;
            if (OnLog)
                OnLog("SFTP version " + std::to_string(version));
        }
        opened(status, TSshStep::Channel);
        return;
    }
    uint32_t id = reader.U32();
    auto found = m_pending.find(id);
    if (found == m_pending.end()) {
        Lose(Fill(Tr("Engine", "the server answered a request never made (id %1)"), {std::to_string(id)}));
        return;
    }
    THandler handler = std::move(found->second);
    m_pending.erase(found);
    handler(type, reader);
}

void TSftpClient::Lose(const std::string& reason, bool unexpected)
{
    auto alive = m_alive;
    bool wasReady = m_ready && unexpected;
    m_ready = false;
    m_lostReason = reason;
    if (OnLog && wasReady)
        OnLog(Tr("Engine", "! SFTP connection lost: ") + reason);
    m_connection.Close();
    m_timer->stop();
    // Taken out first: a completion may open the connection again, and what it starts then is
    // not this loss's to end.
    std::unordered_map<uint32_t, THandler> pending;
    pending.swap(m_pending);
    auto opened = std::move(m_opened);
    m_opened = nullptr;
    if (wasReady && OnLost) {
        OnLost(reason);
        if (!*alive)
            return;
    }
    for (auto& [id, handler] : pending) {
        TReader none({});
        handler(0, none);
        if (!*alive)
            return;
    }
    if (opened) {
        TStatus status;
        status.Lost = true;
        status.Message = reason;
        opened(status, TSshStep::Channel);
    }
}

TStatus TSftpClient::StatusReply(uint8_t type, TReader& reader) const
{
    TStatus status;
    if (type == 0) {
        status.Lost = true;
        status.Message = m_lostReason.empty() ? "not connected" : m_lostReason;
        return status;
    }
    if (type != kStatus) {
        status.Code = kBadMessage;
        status.Message = "reply of type " + std::to_string(type) + " where a status was due";
        return status;
    }
    status.Code = reader.U32();
    status.Message = reader.Str();
    if (reader.Malformed()) {
        status.Code = kBadMessage;
        status.Message = "a status packet cut short";
    }
    return status;
}

// ---------------------------------------------------------------- single requests

void TSftpClient::StatusOnly(TRequest request, uint32_t id, std::function<void(const TStatus&)> done)
{
    Request(request, id,
            [this, done = std::move(done)](uint8_t type, TReader& reader) { done(StatusReply(type, reader)); });
}

void TSftpClient::OneName(uint8_t requestType, const std::string& path,
                          std::function<void(const TStatus&, std::string)> done)
{
    uint32_t id = NextId();
    TRequest request(static_cast<TPacketType>(requestType), id);
    request.Str(path);
    Request(request, id, [this, done = std::move(done)](uint8_t type, TReader& reader) {
        if (type != kName) {
            done(StatusReply(type, reader), {});
            return;
        }
        uint32_t count = reader.U32();
        std::string name = reader.Str();
        TStatus status;
        if (count != 1 || reader.Malformed()) {
            status.Code = kBadMessage;
            status.Message = "not the one name asked for";
        }
        done(status, name);
    });
}

void TSftpClient::RealPath(const std::string& path, std::function<void(const TStatus&, std::string)> done)
{
    OneName(kRealpath, path, std::move(done));
}

void TSftpClient::Stat(const std::string& path, bool follow, std::function<void(const TStatus&, TAttributes)> done)
{
    uint32_t id = NextId();
    TRequest request(follow ? kStat : kLstat, id);
    request.Str(path);
    Request(request, id, [this, done = std::move(done)](uint8_t type, TReader& reader) {
        if (type != kAttrs) {
            done(StatusReply(type, reader), {});
            return;
        }
        TAttributes attributes = reader.Attrs();
        TStatus status;
        if (reader.Malformed()) {
            status.Code = kBadMessage;
            status.Message = "attributes cut short";
        }
        done(status, attributes);
    });
}

void TSftpClient::ReadLink(const std::string& path, std::function<void(const TStatus&, std::string)> done)
{
    OneName(kReadlink, path, std::move(done));
}

void TSftpClient::MakeDir(const std::string& path, std::function<void(const TStatus&)> done)
{
    uint32_t id = NextId();
    TRequest request(kMkdir, id);
    request.Str(path).Attrs({});
    StatusOnly(request, id, std::move(done));
}

void TSftpClient::RemoveDir(const std::string& path, std::function<void(const TStatus&)> done)
{
    uint32_t id = NextId();
    TRequest request(kRmdir, id);
    request.Str(path);
    StatusOnly(request, id, std::move(done));
}

void TSftpClient::Remove(const std::string& path, std::function<void(const TStatus&)> done)
{
    uint32_t id = NextId();
    TRequest request(kRemove, id);
    request.Str(path);
    StatusOnly(request, id, std::move(done));
}

void TSftpClient::Rename(const std::string& from, const std::string& to, std::function<void(const TStatus&)> done)
{
    uint32_t id = NextId();
    if (m_posixRename) {
        TRequest request(kExtended, id);
        request.Str("posix-rename@openssh.com").Str(from).Str(to);
        StatusOnly(request, id, std::move(done));
        return;
    }
    TRequest request(kRename, id);
    request.Str(from).Str(to);
    StatusOnly(request, id, std::move(done));
}

void TSftpClient::SetStat(const std::string& path, const TAttributes& attributes,
                          std::function<void(const TStatus&)> done)
{
    uint32_t id = NextId();
    TRequest request(kSetstat, id);
    request.Str(path).Attrs(attributes);
    StatusOnly(request, id, std::move(done));
}

void TSftpClient::OpenHandle(const std::string& path, uint32_t flags,
                             std::function<void(const TStatus&, std::string)> done)
{
    uint32_t id = NextId();
    TRequest request(flags == 0 ? kOpendir : kOpen, id);
    request.Str(path);
    if (flags != 0) {
        TAttributes attributes;
        if (flags & kOpenCreate)
            attributes.Permissions = 0644;
        request.U32(flags).Attrs(attributes);
    }
    Request(request, id, [this, done = std::move(done)](uint8_t type, TReader& reader) {
        if (type != kHandle) {
            done(StatusReply(type, reader), {});
            return;
        }
        std::string handle = reader.Str();
        done(TStatus{}, handle);
    });
}

void TSftpClient::CloseHandle(const std::string& handle, std::function<void(const TStatus&)> done)
{
    uint32_t id = NextId();
    TRequest request(kClose, id);
    request.Str(handle);
    StatusOnly(request, id, std::move(done));
}

// ---------------------------------------------------------------- directories

void TSftpClient::ListDir(const std::string& path, std::function<void(const TStatus&, std::vector<TNameEntry>)> done)
{
    OpenHandle(path, 0, [this, done = std::move(done)](const TStatus& status, std::string handle) mutable {
        if (!status.Ok()) {
            done(status, {});
            return;
        }
        ReadDirectory(std::make_shared<std::vector<TNameEntry>>(), std::move(handle), std::move(done));
    });
}

void TSftpClient::ReadDirectory(std::shared_ptr<std::vector<TNameEntry>> entries, std::string handle,
                                std::function<void(const TStatus&, std::vector<TNameEntry>)> done)
{
    uint32_t id = NextId();
    TRequest request(kReaddir, id);
    request.Str(handle);
    Request(request, id, [this, entries, handle, done = std::move(done)](uint8_t type, TReader& reader) mutable {
        if (type == kName) {
            uint32_t count = reader.U32();
            for (uint32_t i = 0; i < count && !reader.Malformed(); ++i) {
                TNameEntry entry;
                entry.Name = reader.Str();
                entry.LongName = reader.Str();
                entry.Attributes = reader.Attrs();
                if (!reader.Malformed())
                    entries->push_back(std::move(entry));
            }
            TStatus failure;
            if (reader.Malformed()) {
                failure.Code = kBadMessage;
                failure.Message = "a listing packet cut short";
            } else if (entries->size() > kMostNames) {
                failure.Code = kFailure;
                failure.Message = "more than " + std::to_string(kMostNames) + " names";
            }
            if (!failure.Ok()) {
                CloseHandle(handle, [](const TStatus&) {});
                done(failure, {});
                return;
            }
            ReadDirectory(entries, handle, std::move(done));
            return;
        }
        TStatus status = StatusReply(type, reader);
        if (status.Code != kEof || status.Lost) {
            if (!status.Lost)
                CloseHandle(handle, [](const TStatus&) {});
            done(status, {});
            return;
        }
        // The whole directory came: its handle goes, the names are ready.
        CloseHandle(handle, [](const TStatus&) {});
        done(TStatus{}, std::move(*entries));
    });
}

// ---------------------------------------------------------------- transfers

void TSftpClient::Download(const std::string& path, int fd, int64_t offset, int64_t end,
                           std::function<void(const TStatus&, int64_t)> done)
{
    StartTransfer(true, path, kOpenRead, fd, offset, end, std::move(done));
}

void TSftpClient::Upload(int fd, const std::string& path, int64_t offset,
                         std::function<void(const TStatus&, int64_t)> done)
{
    uint32_t flags = kOpenWrite | kOpenCreate | (offset <= 0 ? uint32_t{kOpenTruncate} : 0u);
    StartTransfer(false, path, flags, fd, offset, -1, std::move(done));
}

void TSftpClient::StartTransfer(bool download, const std::string& path, uint32_t flags, int fd, int64_t offset,
                                int64_t end, std::function<void(const TStatus&, int64_t)> done)
{
    auto transfer = std::make_shared<TTransfer>();
    transfer->Download = download;
    transfer->Fd = fd;
    transfer->Start = transfer->Next = transfer->Reached = std::max<int64_t>(offset, 0);
    transfer->End = end;
    transfer->Done = std::move(done);
    m_transfer = transfer;
    OpenHandle(path, flags, [this, transfer](const TStatus& status, std::string handle) {
        if (transfer->Finished)
            return;
        if (!status.Ok()) {
            EndTransfer(transfer, status);
            return;
        }
        transfer->Handle = std::move(handle);
        Pump(transfer);
    });
}

void TSftpClient::Pump(const std::shared_ptr<TTransfer>& transfer)
{
    TTransfer& t = *transfer;
    if (t.Closing)
        return;
    // A block that came short may be the file's end: nothing more is asked for until the blocks
    // in flight tell.
    auto mayHaveEnded = [&t] { return !t.Gaps.empty() && t.Gaps.rbegin()->first >= t.DataEnd; };
    while (!t.Finished && !t.SourceEnded && t.InFlight < kInFlight && (t.End < 0 || t.Next < t.End) &&
           !mayHaveEnded()) {
        int64_t offset = t.Next;
        int64_t length = t.End < 0 ? kBlock : std::min(kBlock, t.End - offset);
        if (!LimitAllows(transfer, length))
            break;
        uint32_t id = NextId();
        if (t.Download) {
            TRequest request(kRead, id);
            request.Str(t.Handle).U64(static_cast<uint64_t>(offset)).U32(static_cast<uint32_t>(length));
            t.Next += length;
            ++t.InFlight;
            Request(request, id, [this, transfer, offset, length](uint8_t type, TReader& reader) {
                ReadAnswered(transfer, offset, length, type, reader);
            });
            continue;
        }
        std::string block(static_cast<size_t>(kBlock), '\0');
        ssize_t got = ::pread(t.Fd, block.data(), block.size(), offset);
        if (got < 0) {
            TStatus status;
            status.LocalErrno = errno;
            EndTransfer(transfer, status);
            return;
        }
        if (got == 0) {
            t.SourceEnded = true;
            break;
        }
        block.resize(static_cast<size_t>(got));
        TRequest request(kWrite, id);
        request.Str(t.Handle).U64(static_cast<uint64_t>(offset)).Str(block);
        t.Next += got;
        ++t.InFlight;
        Request(request, id, [this, transfer, offset, got](uint8_t type, TReader& reader) {
            WriteAnswered(transfer, offset, got, type, reader);
        });
    }
    if (t.Finished || t.LimitWaiting)
        return; // a transfer held back by the speed limit goes on when the limit's slice comes
    if (!t.Download) {
        // The whole file is written out: the close follows the writes at once. A server answers
        // in order, so its answer comes after every write's; the upload counts once the server
        // has taken it (it may write the file out only then), unless a write failed first.
        if (t.SourceEnded && !t.Closing) {
            t.Closing = true;
            CloseHandle(t.Handle, [this, transfer](const TStatus& status) {
                if (status.Ok() && transfer->InFlight > 0) {
                    TStatus early;
                    early.Code = kBadMessage;
                    early.Message = "the close was answered before the writes";
                    EndTransfer(transfer, early);
                    return;
                }
                EndTransfer(transfer, status);
            });
        }
        return;
    }
    if (t.InFlight > 0)
        return;
    bool allThere = t.SourceEnded || (t.End >= 0 && t.Next >= t.End);
    if (!allThere) {
        // A short block with nothing asked beyond it (a speed limit kept the window small): its
        // tail is asked again, and the answer is more of the file or its end.
        if (mayHaveEnded()) {
            auto [offset, length] = *t.Gaps.rbegin();
            t.Gaps.erase(offset);
            uint32_t id = NextId();
            TRequest request(kRead, id);
            request.Str(t.Handle).U64(static_cast<uint64_t>(offset)).U32(static_cast<uint32_t>(length));
            ++t.InFlight;
            Request(request, id, [this, transfer, offset = offset, length = length](uint8_t type, TReader& reader) {
                ReadAnswered(transfer, offset, length, type, reader);
            });
        }
        return;
    }
    if (AskForGaps(transfer, true))
        return;
    // Every byte is in its file: the close's answer changes nothing, and the next call need not
    // wait a round trip for it.
    t.Closing = true;
    CloseHandle(t.Handle, [](const TStatus&) {});
    EndTransfer(transfer, TStatus{});
}

// A block is spent as it is asked for (a read) or sent (a write); with no credit left the
// transfer waits for the speed limit's next slice.
bool TSftpClient::LimitAllows(const std::shared_ptr<TTransfer>& transfer, int64_t length)
{
    TTransfer& t = *transfer;
    if (!m_limiter || !m_limiter->Limited())
        return true;
    if (t.LimitWaiting)
        return false;
    if (m_limiter->Allowance(this) > 0) {
        m_limiter->Spend(this, length);
        return true;
    }
    t.LimitWaiting = true;
    std::weak_ptr<bool> alive = m_alive;
    std::weak_ptr<TTransfer> waiting = transfer;
    m_limiter->Wait(this, [this, alive, waiting] {
        std::shared_ptr<TTransfer> resumed = waiting.lock();
        if (alive.expired() || !resumed)
            return;
        resumed->LimitWaiting = false;
        Pump(resumed);
    });
    return false;
}

bool TSftpClient::AskForGaps(const std::shared_ptr<TTransfer>& transfer, bool atEnd)
{
    TTransfer& t = *transfer;
    bool asked = false;
    for (auto gap = t.Gaps.begin(); gap != t.Gaps.end();) {
        auto [offset, length] = *gap;
        if (offset >= t.DataEnd) {
            if (!atEnd) {
                ++gap;
                continue;
            }
            // Nothing came beyond it: the file ends here.
            if (t.End < 0 || offset < t.End)
                t.End = offset;
            t.SourceEnded = true;
            gap = t.Gaps.erase(gap);
            continue;
        }
        gap = t.Gaps.erase(gap);
        uint32_t id = NextId();
        TRequest request(kRead, id);
        request.Str(t.Handle).U64(static_cast<uint64_t>(offset)).U32(static_cast<uint32_t>(length));
        ++t.InFlight;
        asked = true;
        Request(request, id, [this, transfer, offset, length](uint8_t type, TReader& reader) {
            ReadAnswered(transfer, offset, length, type, reader);
        });
    }
    return asked;
}

void TSftpClient::ReadAnswered(const std::shared_ptr<TTransfer>& transfer, int64_t offset, int64_t length, uint8_t type,
                               TReader& reader)
{
    TTransfer& t = *transfer;
    --t.InFlight;
    if (t.Finished)
        return;
    if (type == kData) {
        std::string_view data = reader.View();
        int64_t got = static_cast<int64_t>(data.size());
        if (reader.Malformed() || got > length) {
            TStatus status;
            status.Code = kBadMessage;
            status.Message = "a data packet that is not the block asked for";
            EndTransfer(transfer, status);
            return;
        }
        if (got > 0 && ::pwrite(t.Fd, data.data(), data.size(), offset) != static_cast<ssize_t>(got)) {
            TStatus status;
            status.LocalErrno = errno != 0 ? errno : EIO;
            EndTransfer(transfer, status);
            return;
        }
        Moved(t, offset, got);
        if (got > 0)
            t.DataEnd = std::max(t.DataEnd, offset + got);
        if (got < length)
            t.Gaps[offset + got] = length - got; // a short block: at the file's end, or a tail to ask again
        AskForGaps(transfer, false);
        Pump(transfer);
        return;
    }
    TStatus status = StatusReply(type, reader);
    if (status.Code == kEof && !status.Lost) {
        // The file ends at this block: nothing from here on is asked for.
        t.SourceEnded = true;
        if (t.End < 0 || offset < t.End)
            t.End = offset;
        Pump(transfer);
        return;
    }
    EndTransfer(transfer, status);
}

void TSftpClient::WriteAnswered(const std::shared_ptr<TTransfer>& transfer, int64_t offset, int64_t length,
                                uint8_t type, TReader& reader)
{
    TTransfer& t = *transfer;
    --t.InFlight;
    if (t.Finished)
        return;
    TStatus status = StatusReply(type, reader);
    if (!status.Ok()) {
        EndTransfer(transfer, status);
        return;
    }
    Moved(t, offset, length);
    Pump(transfer);
}

void TSftpClient::Moved(TTransfer& transfer, int64_t offset, int64_t length)
{
    if (length <= 0)
        return;
    transfer.Ahead[offset] = std::max(transfer.Ahead[offset], length);
    int64_t before = transfer.Reached;
    for (auto next = transfer.Ahead.begin(); next != transfer.Ahead.end() && next->first <= transfer.Reached;
         next = transfer.Ahead.erase(next))
        transfer.Reached = std::max(transfer.Reached, next->first + next->second);
    if (transfer.Reached != before && OnProgress)
        OnProgress(transfer.Reached);
}

void TSftpClient::EndTransfer(const std::shared_ptr<TTransfer>& transfer, TStatus status)
{
    if (transfer->Finished)
        return;
    transfer->Finished = true;
    if (!status.Ok() && !status.Lost && !transfer->Closing && !transfer->Handle.empty() && m_ready)
        CloseHandle(transfer->Handle, [](const TStatus&) {});
    if (m_transfer == transfer)
        m_transfer.reset();
    auto done = std::move(transfer->Done);
    if (done)
        done(status, transfer->Reached - transfer->Start);
}

void TSftpClient::CancelTransfer()
{
    auto transfer = m_transfer;
    if (!transfer)
        return;
    TStatus status;
    status.Cancelled = true;
    // What is still in flight is answered into a finished transfer and dropped; the handle
    // closes once those answers are in.
    EndTransfer(transfer, status);
}

} // namespace sftp
