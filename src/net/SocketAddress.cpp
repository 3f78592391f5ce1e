#include "net/SocketAddress.h"

#include <array>

#include <arpa/inet.h>
#include <netinet/in.h>

#include "net/WSocketResolve.h"

namespace {

// "[::1]" as "::1"; other text as it is, trimmed.
std::string unbracketed(const std::string& text)
{
    std::string trimmed = WSocketTrim(text);
    if (trimmed.size() >= 2 && trimmed.front() == '[' && trimmed.back() == ']')
        return trimmed.substr(1, trimmed.size() - 2);
    return trimmed;
}

} // namespace

TSocketAddress::TSocketAddress()
{
    m_storage.ss_family = AF_INET;
    m_length = sizeof(sockaddr_in);
}

TSocketAddress TSocketAddress::Resolve(const std::string& host, uint16_t port)
{
    TSocketAddress address;
    in6_addr ipv6{};
    if (::inet_pton(AF_INET6, unbracketed(host).c_str(), &ipv6) == 1) {
        address = Any(AF_INET6, port);
        reinterpret_cast<sockaddr_in6*>(&address.m_storage)->sin6_addr = ipv6;
        return address;
    }
    uint32_t ipv4 = WSocketResolveHost(host);
    reinterpret_cast<sockaddr_in*>(&address.m_storage)->sin_addr.s_addr = ipv4;
    address.SetPort(port);
    return address;
}

TSocketAddress TSocketAddress::Any(int family, uint16_t port)
{
    TSocketAddress address;
    if (family == AF_INET6) {
        address.m_storage.ss_family = AF_INET6;
        address.m_length = sizeof(sockaddr_in6);
    }
    address.SetPort(port);
    return address;
}

bool TSocketAddress::IsBroadcast() const
{
    return Family() == AF_INET && reinterpret_cast<const sockaddr_in*>(&m_storage)->sin_addr.s_addr == INADDR_BROADCAST;
}

uint16_t TSocketAddress::Port() const
{
    if (IsIPv6())
        return ntohs(reinterpret_cast<const sockaddr_in6*>(&m_storage)->sin6_port);
    return ntohs(reinterpret_cast<const sockaddr_in*>(&m_storage)->sin_port);
}

void TSocketAddress::SetPort(uint16_t port)
{
    if (IsIPv6())
        reinterpret_cast<sockaddr_in6*>(&m_storage)->sin6_port = htons(port);
    else
        reinterpret_cast<sockaddr_in*>(&m_storage)->sin_port = htons(port);
}

std::string TSocketAddress::Host() const
{
    std::array<char, INET6_ADDRSTRLEN> text{};
    const void* bytes = IsIPv6()
                            ? static_cast<const void*>(&reinterpret_cast<const sockaddr_in6*>(&m_storage)->sin6_addr)
                            : static_cast<const void*>(&reinterpret_cast<const sockaddr_in*>(&m_storage)->sin_addr);
    if (!::inet_ntop(Family(), bytes, text.data(), text.size()))
        return {};
    return text.data();
}

socklen_t* TSocketAddress::LengthSlot()
{
    m_length = sizeof(m_storage);
    return &m_length;
}

bool WSocketIsIPv6Form(const std::string& text)
{
    in6_addr ipv6{};
    return ::inet_pton(AF_INET6, unbracketed(text).c_str(), &ipv6) == 1;
}
