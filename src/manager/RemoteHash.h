#pragma once

// Servers that offer a file's hash (FEAT lists HASH, XSHA256, XSHA1, XMD5 or XCRC): the command
// to ask with and the digest read from its reply, to check a file fetched in ranges.

#include <string>
#include <vector>

struct TRemoteHash
{
    std::string Command;   // "HASH", "XSHA256", ...; empty when the server offers none
    std::string Algorithm; // as platform::FileDigest names it: "SHA-256", "SHA-1", "MD5", "CRC32"
};

// The best hash the FEAT reply's lines offer: HASH with its selected algorithm, else the
// X commands from the strongest down.
TRemoteHash ChooseRemoteHash(const std::vector<std::string>& featLines);

// The lower-case digest in a reply to the hash command; empty when the reply holds none of
// the algorithm's length.
std::string ParseHashReply(const std::string& reply, const std::string& algorithm);
