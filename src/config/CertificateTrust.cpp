#include "config/CertificateTrust.h"

#include <sstream>

#include "platform/AtomicFile.h"

std::string TCertificateTrust::Trusted(const std::string& site) const
{
    std::string bytes;
    if (!platform::readWholeFile(m_path, bytes))
        return {};
    std::istringstream lines(bytes);
    std::string name;
    std::string fingerprint;
    while (lines >> name >> fingerprint)
        if (name == site)
            return fingerprint;
    return {};
}

bool TCertificateTrust::Trust(const std::string& site, const std::string& fingerprint) const
{
    std::string bytes;
    platform::readWholeFile(m_path, bytes); // none yet is an empty list
    std::istringstream lines(bytes);
    std::string kept;
    std::string name;
    std::string other;
    while (lines >> name >> other)
        if (name != site)
            kept += name + " " + other + "\n";
    kept += site + " " + fingerprint + "\n";
    return platform::writeFileAtomically(m_path, kept);
}
