#include "net/WSocketResolve.h"

#include <array>
#include <cctype>
#include <cstdio>

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>

#include "net/WSocketErrors.h"

namespace {

std::string format(const char* pattern, const std::string& text, int code)
{
    std::array<char, 512> line{};
    std::snprintf(line.data(), line.size(), pattern, text.c_str(), code);
    return line.data();
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// The leading run of decimal digits after leading blanks, or -1 when it is empty or exceeds max.
long leadingNumber(const std::string& text, long max)
{
    size_t i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    long value = 0;
    size_t digits = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i, ++digits) {
        value = value * 10 + (text[i] - '0');
        if (value > max)
            return -1;
    }
    return digits ? value : -1;
}

bool startsWithDigit(const std::string& text)
{
    size_t i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    return i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]));
}

} // namespace

std::string WSocketTrim(const std::string& text)
{
    size_t first = 0;
    size_t last = text.size();
    while (first < last && static_cast<unsigned char>(text[first]) <= ' ')
        ++first;
    while (last > first && static_cast<unsigned char>(text[last - 1]) <= ' ')
        --last;
    return text.substr(first, last - first);
}

bool WSocketIsDottedForm(const std::string& text)
{
    std::string trimmed = WSocketTrim(text);
    int dots = 0;
    size_t partLength = 0;
    for (char c : trimmed) {
        if (c == '.') {
            if (partLength == 0)
                return false;
            ++dots;
            partLength = 0;
        } else if (std::isdigit(static_cast<unsigned char>(c))) {
            ++partLength;
        } else {
            return false;
        }
    }
    return dots == 3 && partLength > 0;
}

std::string WSocketDottedAddress(uint32_t networkOrderAddress)
{
    in_addr address{};
    address.s_addr = networkOrderAddress;
    std::array<char, INET_ADDRSTRLEN> text{};
    inet_ntop(AF_INET, &address, text.data(), text.size());
    return text.data();
}

uint32_t WSocketResolveHost(const std::string& host)
{
    if (host.empty() || host.size() >= 257)
        throw ESocketException("WSocketResolveHost: '" + host + "' Invalid Hostname.");
    std::string name = WSocketTrim(host);
    if (WSocketIsDottedForm(name)) {
        uint32_t address = 0;
        size_t start = 0;
        for (int part = 0; part < 4; ++part) {
            size_t dot = name.find('.', start);
            long value = leadingNumber(name.substr(start, dot - start), 255);
            if (value < 0)
                throw ESocketException("WSocketResolveHost: '" + host + "' Invalid IP address.");
            address = (address << 8) | static_cast<uint32_t>(value);
            start = dot + 1;
        }
        return htonl(address);
    }
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    int result = getaddrinfo(name.c_str(), nullptr, &hints, &found);
    if (result != 0 || !found) {
        int code = MapResolverError(result ? result : EAI_NODATA);
        WSASetLastError(code);
        throw ESocketException(format("WSocketResolveHost: Cannot convert host address '%s', Error #%d", host, code));
    }
    uint32_t address = reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr.s_addr;
    freeaddrinfo(found);
    return address;
}

uint16_t WSocketResolvePort(const std::string& port, const std::string& proto)
{
    if (port.empty() || port.size() >= 32)
        throw ESocketException("WSocketResolvePort: Invalid Port.");
    if (startsWithDigit(port)) {
        long value = leadingNumber(port, 65535);
        if (value < 0)
            throw ESocketException("WSocketResolvePort: Invalid Port.");
        return static_cast<uint16_t>(value);
    }
    std::string name = WSocketTrim(port);
    std::string protocol = WSocketTrim(proto);
    servent entry{};
    servent* found = nullptr;
    std::array<char, 1024> buffer{};
    getservbyname_r(name.c_str(), protocol.empty() ? nullptr : protocol.c_str(), &entry, buffer.data(), buffer.size(),
                    &found);
    if (!found && name == "ftp")
        return 21; // the default port of every FTP connection, also without /etc/services
    if (!found) {
        WSASetLastError(wsa::kNoData);
        throw ESocketException(format("WSocketResolvePort: Cannot convert port '%s', Error #%d", port, wsa::kNoData));
    }
    return ntohs(static_cast<uint16_t>(found->s_port));
}

int WSocketResolveProto(const std::string& proto)
{
    if (proto.empty() || proto.size() >= 32)
        throw ESocketException("WSocketResolveProto: Invalid Protocol.");
    if (startsWithDigit(proto)) {
        long value = leadingNumber(proto, 255);
        if (value < 0)
            throw ESocketException("WSocketResolveProto: Invalid Protocol.");
        return static_cast<int>(value);
    }
    std::string name = WSocketTrim(proto);
    // The two protocols every socket names have fixed numbers: no need to read /etc/protocols
    // for each connection (which containers may not even have).
    if (name == "tcp")
        return IPPROTO_TCP;
    if (name == "udp")
        return IPPROTO_UDP;
    protoent entry{};
    protoent* found = nullptr;
    std::array<char, 1024> buffer{};
    getprotobyname_r(name.c_str(), &entry, buffer.data(), buffer.size(), &found);
    if (!found) {
        WSASetLastError(wsa::kNoData);
        throw ESocketException(
            format("WSocketResolveProto: Cannot convert protocol '%s', Error #%d", proto, wsa::kNoData));
    }
    return found->p_proto;
}
