#pragma once

// An IPv4 or IPv6 socket address, as the system calls take it.

#include <cstdint>
#include <string>

#include <sys/socket.h>

class TSocketAddress
{
public:
    TSocketAddress(); // 0.0.0.0, port 0

    // From IPv6 text ("::1", brackets optional) directly; anything else as WSocketResolveHost
    // takes it (dotted IPv4 text, or a name looked up for its IPv4 address). Throws
    // ESocketException when it names no address.
    static TSocketAddress Resolve(const std::string& host, uint16_t port);
    // The wildcard address of a family (AF_INET or AF_INET6).
    static TSocketAddress Any(int family, uint16_t port);

    int Family() const { return m_storage.ss_family; }
    bool IsIPv6() const { return Family() == AF_INET6; }
    bool IsBroadcast() const;
    uint16_t Port() const; // host byte order
    void SetPort(uint16_t port);
    // Numeric text: "127.0.0.1", "::1" (no brackets).
    std::string Host() const;

    sockaddr* Raw() { return reinterpret_cast<sockaddr*>(&m_storage); }
    const sockaddr* Raw() const { return reinterpret_cast<const sockaddr*>(&m_storage); }
    socklen_t Length() const { return m_length; }
    // For accept() and getsockname(): the capacity in, the length out.
    socklen_t* LengthSlot();

private:
    sockaddr_storage m_storage{};
    socklen_t m_length;
};

// True for IPv6 text, with or without the brackets of an address ("[::1]").
bool WSocketIsIPv6Form(const std::string& text);
