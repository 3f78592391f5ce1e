#pragma once

// The packets of the SFTP protocol (version 3, the one OpenSSH and most servers speak): what a
// request looks like on the wire and what a reply holds. Only byte work here; the client
// sends and matches them.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sftp {

enum TPacketType : uint8_t
{
    kInit = 1,
    kVersion = 2,
    kOpen = 3,
    kClose = 4,
    kRead = 5,
    kWrite = 6,
    kLstat = 7,
    kFstat = 8,
    kSetstat = 9,
    kOpendir = 11,
    kReaddir = 12,
    kRemove = 13,
    kMkdir = 14,
    kRmdir = 15,
    kRealpath = 16,
    kStat = 17,
    kRename = 18,
    kReadlink = 19,
    kStatus = 101,
    kHandle = 102,
    kData = 103,
    kName = 104,
    kAttrs = 105,
    kExtended = 200,
    kExtendedReply = 201
};

enum TStatusCode : uint32_t
{
    kOk = 0,
    kEof = 1,
    kNoSuchFile = 2,
    kPermissionDenied = 3,
    kFailure = 4,
    kBadMessage = 5,
    kNoConnection = 6,
    kConnectionLost = 7,
    kOpUnsupported = 8
};

enum TOpenFlags : uint32_t
{
    kOpenRead = 0x01,
    kOpenWrite = 0x02,
    kOpenCreate = 0x08,
    kOpenTruncate = 0x10
};

// A file's attributes; absent fields were not sent.
struct TAttributes
{
    std::optional<uint64_t> Size;
    std::optional<uint32_t> Uid, Gid;
    std::optional<uint32_t> Permissions; // with the file type bits (S_IFDIR ...)
    std::optional<uint32_t> AccessTime, ModifyTime;

    bool IsDirectory() const;
    bool IsLink() const;
    bool IsRegular() const;
};

struct TNameEntry
{
    std::string Name;
    std::string LongName; // "ls -l" style, where owner and group names are read
    TAttributes Attributes;
};

// A request under construction: its type and id first, then its fields in order.
class TRequest
{
public:
    TRequest(TPacketType type, uint32_t id);
    TRequest& U32(uint32_t value);
    TRequest& U64(uint64_t value);
    TRequest& Str(std::string_view value);
    TRequest& Attrs(const TAttributes& attributes);
    // The whole packet with its length in front.
    std::string Finish() const;

private:
    std::string m_body;
};

// The INIT packet, which has no id.
std::string InitPacket();

// Reads the fields of one reply in order; any read past the end marks it malformed.
class TReader
{
public:
    explicit TReader(std::string_view body) : m_body(body) {}
    uint8_t U8();
    uint32_t U32();
    uint64_t U64();
    std::string Str();
    // A string field as it lies in the packet (a data block, written out without a copy).
    std::string_view View();
    TAttributes Attrs();
    bool AtEnd() const { return m_position >= m_body.size(); }
    bool Malformed() const { return m_malformed; }

private:
    bool Take(size_t count);
    std::string_view m_body;
    size_t m_position = 0;
    bool m_malformed = false;
};

// The longest packet taken from a server.
constexpr uint32_t kLargestPacket = 4u << 20;

// The length of the next whole packet at the front of buffer (with its 4 length bytes), 0
// when it has not all come yet; -1 for a length no packet may have.
int64_t WholePacketLength(std::string_view buffer);

// The owner and group names an "ls -l" style long name shows, empty where it shows none.
void OwnerAndGroup(const std::string& longName, std::string& owner, std::string& group);

// "644", "0755": the permission bits an octal mode names; false for anything else.
bool ParseOctalMode(const std::string& text, uint32_t& bits);

// The words of a status code for messages ("No such file" ...).
std::string StatusText(uint32_t code);

} // namespace sftp
