#pragma once

// Blocking conversions of host, port and protocol texts, used while connecting or listening.
// Each throws ESocketException with the program's message when the text cannot be converted.

#include <cstdint>
#include <string>

// IPv4 address in network byte order; dotted text is converted directly, names are looked up.
uint32_t WSocketResolveHost(const std::string& host);

// Port in host byte order: a decimal number, or a service name looked up for the protocol.
uint16_t WSocketResolvePort(const std::string& port, const std::string& proto);

// Protocol number: a decimal number or a protocol name ("tcp", "udp").
int WSocketResolveProto(const std::string& proto);

// True for dotted IPv4 text: blanks around, three dots, each part one or more decimal digits.
// The parts are not range-checked here.
bool WSocketIsDottedForm(const std::string& text);

// Dotted text of an address in network byte order.
std::string WSocketDottedAddress(uint32_t networkOrderAddress);

std::string WSocketTrim(const std::string& text);
