#include "sftp/SftpPacket.h"

#include <sstream>

#include <sys/stat.h>

namespace sftp {
namespace {

constexpr uint32_t kAttrSize = 0x01;
constexpr uint32_t kAttrUidGid = 0x02;
constexpr uint32_t kAttrPermissions = 0x04;
constexpr uint32_t kAttrTimes = 0x08;
constexpr uint32_t kAttrExtended = 0x80000000;
// Bigger than any packet a server sends in answer to what this client asks (a read of 256
// KiB, a directory's names): a length beyond is a broken stream.

void PutU32(std::string& out, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<char>((value >> shift) & 0xff));
}

} // namespace

bool TAttributes::IsDirectory() const
{
    return Permissions && S_ISDIR(*Permissions);
}

bool TAttributes::IsLink() const
{
    return Permissions && S_ISLNK(*Permissions);
}

bool TAttributes::IsRegular() const
{
    return !Permissions || S_ISREG(*Permissions);
}

TRequest::TRequest(TPacketType type, uint32_t id)
{
    m_body.push_back(static_cast<char>(type));
    PutU32(m_body, id);
}

TRequest& TRequest::U32(uint32_t value)
{
    PutU32(m_body, value);
    return *this;
}

TRequest& TRequest::U64(uint64_t value)
{
    PutU32(m_body, static_cast<uint32_t>(value >> 32));
    PutU32(m_body, static_cast<uint32_t>(value));
    return *this;
}

TRequest& TRequest::Str(std::string_view value)
{
    PutU32(m_body, static_cast<uint32_t>(value.size()));
    m_body.append(value);
    return *this;
}

TRequest& TRequest::Attrs(const TAttributes& attributes)
{
    uint32_t flags = (attributes.Size ? kAttrSize : 0) | (attributes.Uid && attributes.Gid ? kAttrUidGid : 0) |
                     (attributes.Permissions ? kAttrPermissions : 0) |
                     (attributes.AccessTime && attributes.ModifyTime ? kAttrTimes : 0);
    U32(flags);
    if (flags & kAttrSize)
        U64(*attributes.Size);
    if (flags & kAttrUidGid)
        U32(*attributes.Uid).U32(*attributes.Gid);
    if (flags & kAttrPermissions)
        U32(*attributes.Permissions);
    if (flags & kAttrTimes)
        U32(*attributes.AccessTime).U32(*attributes.ModifyTime);
    return *this;
}

std::string TRequest::Finish() const
{
    std::string packet;
    PutU32(packet, static_cast<uint32_t>(m_body.size()));
    return packet + m_body;
}

std::string InitPacket()
{
    std::string packet;
    PutU32(packet, 5);
    packet.push_back(static_cast<char>(kInit));
    PutU32(packet, 3);
    return packet;
}

bool TReader::Take(size_t count)
{
    if (m_malformed || m_body.size() - m_position < count) {
        m_malformed = true;
        return false;
    }
    return true;
}

uint8_t TReader::U8()
{
    if (!Take(1))
        return 0;
    return static_cast<uint8_t>(m_body[m_position++]);
}

uint32_t TReader::U32()
{
    if (!Take(4))
        return 0;
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
        value = (value << 8) | static_cast<uint8_t>(m_body[m_position++]);
    return value;
}

uint64_t TReader::U64()
{
    uint64_t high = U32();
    return (high << 32) | U32();
}

std::string TReader::Str()
{
    return std::string(View());
}

std::string_view TReader::View()
{
    uint32_t length = U32();
    if (!Take(length))
        return {};
    std::string_view value = m_body.substr(m_position, length);
    m_position += length;
    return value;
}

TAttributes TReader::Attrs()
{
    TAttributes attributes;
    uint32_t flags = U32();
    if (flags & kAttrSize)
        attributes.Size = U64();
    if (flags & kAttrUidGid) {
        attributes.Uid = U32();
        attributes.Gid = U32();
    }
    if (flags & kAttrPermissions)
        attributes.Permissions = U32();
    if (flags & kAttrTimes) {
        attributes.AccessTime = U32();
        attributes.ModifyTime = U32();
    }
    if (flags & kAttrExtended) {
        uint32_t count = U32();
        for (uint32_t i = 0; i < count && !m_malformed; ++i) {
            Str();
            Str();
        }
    }
    return attributes;
}

int64_t WholePacketLength(std::string_view buffer)
{
    if (buffer.size() < 4)
        return 0;
    TReader reader(buffer.substr(0, 4));
    uint32_t length = reader.U32();
    if (length == 0 || length > kLargestPacket)
        return -1;
    return buffer.size() - 4 >= length ? static_cast<int64_t>(length) + 4 : 0;
}

void OwnerAndGroup(const std::string& longName, std::string& owner, std::string& group)
{
    // "-rw-r--r--    1 owner    group        1234 Jan  1 00:00 name"
    std::istringstream words(longName);
    std::string mode, links;
    owner.clear();
    group.clear();
    if (!(words >> mode >> links >> owner >> group) || mode.size() < 10) {
        owner.clear();
        group.clear();
    }
}

bool ParseOctalMode(const std::string& text, uint32_t& bits)
{
    if (text.empty() || text.size() > 5 || text.find_first_not_of("01234567") != std::string::npos)
        return false;
    bits = static_cast<uint32_t>(std::stoul(text, nullptr, 8));
    return bits <= 07777;
}

std::string StatusText(uint32_t code)
{
    switch (code) {
    case kOk:
        return "Success";
    case kEof:
        return "End of file";
    case kNoSuchFile:
        return "No such file";
    case kPermissionDenied:
        return "Permission denied";
    case kFailure:
        return "Failure";
    case kBadMessage:
        return "Bad message";
    case kNoConnection:
        return "No connection";
    case kConnectionLost:
        return "Connection lost";
    case kOpUnsupported:
        return "Operation unsupported";
    default:
        return "Status " + std::to_string(code);
    }
}

} // namespace sftp
