#pragma once

// The server certificates the user chose to trust always, one per server ("host:port"): lines
// "host:port FINGERPRINT" in a file of their own in the data directory, replaced whole on every
// change and readable by the owner only.

#include <string>

class TCertificateTrust
{
public:
    static constexpr const char* kFileName = "trusted_certificates.txt";

    explicit TCertificateTrust(std::string path) : m_path(std::move(path)) {}

    // The fingerprint trusted for site, empty when none is.
    std::string Trusted(const std::string& site) const;
    // Trusts fingerprint for site from now on, in place of any other; false when the file could
    // not be written.
    bool Trust(const std::string& site, const std::string& fingerprint) const;

private:
    std::string m_path;
};
