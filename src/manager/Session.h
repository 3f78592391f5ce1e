#pragma once

// What the transfer engine asks of one logged-in connection to a server, whatever protocol it
// speaks: log in, list a directory, make one, move a file's bytes, ask a file's size, time or
// hash, rename, delete, change mode. Every call ends with exactly one completion, from the
// event loop, carrying how it went: the kind of failure beside the server's own words.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace platform {
class TRateLimiter;
}

// What a failure means for the work that met it.
enum class TFailure : uint8_t
{
    None,
    Transient, // "not now" or a connection that broke: worth another try
    Permanent, // the server refuses this for good
    Local,     // the local file could not be read or written
    Cancelled  // the run gave it up
};

struct TSessionResult
{
    TFailure Failure = TFailure::None;
    int Code = 0;     // the reply code or socket error number; 0 on success
    std::string Text; // the server's reply or the program's reason, for logs and messages
    bool Ok() const { return Failure == TFailure::None; }

    static TSessionResult Failed(TFailure failure, int code, std::string text)
    {
        return {failure, code, std::move(text)};
    }
};

// One entry of a listed directory.
enum class TRemoteKind : uint8_t
{
    File,
    Directory,
    Link
};

struct TRemoteEntry
{
    std::string Name; // as the server sent it (bytes)
    TRemoteKind Kind = TRemoteKind::File;
    std::string SizeText;  // the size as listed
    int64_t Size = -1;     // -1 when the listing gave no plain number
    int64_t Modified = -1; // seconds since 1970 (UTC), -1 when not given
    std::string Unique;    // equal for two names of one directory, where the server tells it
    std::string LinkTarget;
};

// A file's bytes to move: a whole file, or a range of a download.
struct TTransferRequest
{
    bool Download = true;
    std::string RemotePath;
    std::string LocalPath;
    int64_t Offset = 0;   // the first byte moved
    int64_t End = -1;     // a download stops here (exclusive); -1 for the end of the file
    int64_t FileEnd = -1; // a download that runs to the file's end must end here; -1: unknown
    bool Text = false;    // line ends converted on the way
    // The run's speed limit for this direction; null for none.
    platform::TRateLimiter* Limiter = nullptr;

    bool Whole() const { return Offset <= 0 && End < 0; }
};

struct TTransferResult : TSessionResult
{
    int64_t Start = 0; // where the bytes that moved start in the file
    int64_t Bytes = 0; // how many moved
    // A download from an offset brought more than the file holds: the server sent from
    // elsewhere than asked (it ignored the offset).
    bool Overrun = false;
    int64_t Reached() const { return Start + Bytes; }
};

// A call that is to follow the running one: a session may send it to the server now, so that
// its answer comes back to back with the running call's.
struct TAheadCall
{
    enum class TKind : uint8_t
    {
        Transfer,
        List,
        ModifiedTime
    };
    TKind Kind = TKind::Transfer;
    TTransferRequest Transfer;
    std::string Path; // a listing's directory, a time's file
};

class ISession
{
public:
    using TDone = std::function<void(const TSessionResult&)>;

    virtual ~ISession() = default;

    // The position the running transfer reached in its file.
    std::function<void(int64_t position)> OnProgress;
    // The running download's bytes are all in (reached: the position in its file); its final
    // word is still to come: the moment to send the next call ahead.
    std::function<void(int64_t reached)> OnDataEnd;

    virtual bool LoggedIn() const = 0;
    virtual void LogIn(TDone done) = 0;
    // The entries of a directory by its path; viaLink: the path is a link that may name a file.
    virtual void List(const std::string& directory, bool viaLink,
                      std::function<void(const TSessionResult&, std::vector<TRemoteEntry>)> done) = 0;
    virtual void MakeDir(const std::string& path, TDone done) = 0;
    virtual void Transfer(const TTransferRequest& request, std::function<void(const TTransferResult&)> done) = 0;
    // The size the server gives a file.
    virtual void Size(const std::string& path, std::function<void(const TSessionResult&, int64_t)> done) = 0;
    // A file's modification time (seconds since 1970, UTC).
    virtual void ModifiedTime(const std::string& path, std::function<void(const TSessionResult&, int64_t)> done) = 0;
    virtual bool CanSetModifiedTime() const = 0;
    virtual void SetModifiedTime(const std::string& path, int64_t seconds, TDone done) = 0;
    // The algorithm of the server's file hashes ("SHA-256", "MD5" ...), empty when it offers none.
    virtual std::string HashAlgorithm() const = 0;
    virtual void Hash(const std::string& path, std::function<void(const TSessionResult&, std::string hex)> done) = 0;
    virtual void Rename(const std::string& from, const std::string& to, TDone done) = 0;
    virtual void Delete(const std::string& path, bool directory, TDone done) = 0;
    virtual void ChangeMode(const std::string& path, const std::string& mode, TDone done) = 0;

    // Sends a call that will follow ahead of its turn; false when it goes in its turn only.
    virtual bool SendAhead(const TAheadCall& call) = 0;
    // Calls sent ahead will not be made after all (the run ends, the job went elsewhere).
    virtual void DropAhead() = 0;
    // Ends the running call now (its completion says Cancelled), keeping the login when it can.
    virtual void Cancel() = 0;
};
