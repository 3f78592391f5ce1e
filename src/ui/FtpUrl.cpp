#include "ui/FtpUrl.h"

#include <cctype>
#include <cstdlib>

#include <pwd.h>
#include <unistd.h>

#include <QByteArray>
#include <QUrl>

#include "ftp/FtpSecurity.h"
#include "manager/FtpManager.h"

namespace {

constexpr int kSftpScheme = -2; // not a TLS mode: the scheme of SSH

// The length of the address's scheme ("ftp://", "ftps://", "ftpes://"), 0 without one; the TLS
// it stands for goes to security.
size_t schemeLength(const std::string& text, int& security)
{
    static const struct
    {
        const char* name;
        int security;
    } kSchemes[] = {{"ftp://", -1}, {"ftps://", ftpsImplicit}, {"ftpes://", ftpsRequire}, {"sftp://", kSftpScheme}};
    for (const auto& scheme : kSchemes) {
        std::string name = scheme.name;
        if (text.size() < name.size())
            continue;
        bool same = true;
        for (size_t i = 0; i < name.size() && same; ++i)
            same = std::tolower(static_cast<unsigned char>(text[i])) == name[i];
        if (same) {
            security = scheme.security;
            return name.size();
        }
    }
    return 0;
}

bool allDigits(const std::string& text)
{
    if (text.empty())
        return false;
    for (char c : text)
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return false;
    return true;
}

// Cuts s at the first sep: the part before goes to head, s keeps the part after.
bool cutAt(std::string& s, char sep, std::string& head)
{
    size_t at = s.find(sep);
    if (at == std::string::npos)
        return false;
    head = s.substr(0, at);
    s = s.substr(at + 1);
    return true;
}

// The port at the start of s, up to the path's "/" or the end ("host:2121" with no path).
void cutPort(std::string& s, std::string& port)
{
    if (!cutAt(s, '/', port)) {
        port = s;
        s.clear();
    }
}

// An IPv6 host in brackets at the start of s ("[::1]:21/..."): its address goes to host, s
// keeps what follows the "]".
bool cutBracketedHost(std::string& s, std::string& host)
{
    size_t close = s.find(']');
    if (s.empty() || s[0] != '[' || close == std::string::npos)
        return false;
    host = s.substr(1, close - 1);
    s = s.substr(close + 1);
    return true;
}

// "%40" and the like, as addresses write what would otherwise end a part ("@", ":", "/").
std::string percentDecoded(const std::string& text)
{
    return QByteArray::fromPercentEncoding(QByteArray::fromStdString(text)).toStdString();
}

} // namespace

void ParseFtpUrl(const std::string& text, TToolBarFields& fields, std::string& remoteDir)
{
    std::string s = text;
    int security = -1;
    size_t scheme = schemeLength(s, security);
    if (scheme > 0) {
        fields.Sftp = security == kSftpScheme;
        fields.Security = fields.Sftp ? -1 : security;
        if (security == ftpsImplicit)
            fields.Port = "990"; // unless the address names one
        else if (fields.Sftp)
            fields.Port = "22";
    }
    if (scheme > 0 && s.find('@') != std::string::npos) {
        s = s.substr(scheme);
        size_t at = s.find('@');
        size_t colon = s.find(':');
        if (colon == std::string::npos || colon > at) {
            cutAt(s, '@', fields.User); // a user without a password
            fields.Pass.clear();
        } else {
            cutAt(s, ':', fields.User);
            cutAt(s, '@', fields.Pass);
        }
        fields.User = percentDecoded(fields.User);
        fields.Pass = percentDecoded(fields.Pass);
        std::string host;
        if (cutBracketedHost(s, host)) {
            fields.HostName = host;
            if (!s.empty() && s[0] == ':') {
                s.erase(0, 1);
                cutPort(s, fields.Port);
            } else if (!s.empty()) {
                s.erase(0, 1); // the "/" before the path
            }
        } else if (cutAt(s, ':', host)) {
            fields.HostName = host;
            cutPort(s, fields.Port);
        } else if (cutAt(s, '/', host)) {
            fields.HostName = host;
        } else if (!s.empty()) {
            fields.HostName = s; // a host alone after the "@"
            s.clear();
        }
    } else {
        s = s.substr(scheme);
        size_t colon = s.find(':');
        size_t slash = s.find('/');
        std::string host;
        if (cutBracketedHost(s, host)) {
            fields.HostName = host;
            if (!s.empty() && s[0] == ':')
                s = s.substr(1);
        } else if (colon != std::string::npos) {
            fields.HostName = s.substr(0, colon);
            s = s.substr(colon + 1);
        } else if (slash != std::string::npos) {
            fields.HostName = s.substr(0, slash);
            s = s.substr(slash);
        } else {
            fields.HostName = s; // a bare host name
            s.clear();
        }
        colon = s.find(':');
        slash = s.find('/');
        if (colon == std::string::npos && slash == std::string::npos && allDigits(s)) {
            fields.Port = s; // host:port and nothing more
            s.clear();
        } else if (colon != std::string::npos && allDigits(s.substr(0, colon))) {
            fields.Port = s.substr(0, colon);
            s = s.substr(colon + 1);
        } else if (slash != std::string::npos && allDigits(s.substr(0, slash))) {
            fields.Port = s.substr(0, slash);
            s = s.substr(slash);
        }
        colon = s.find(':');
        slash = s.find('/');
        if (colon != std::string::npos && (slash == std::string::npos || slash > colon)) {
            fields.User = s.substr(0, colon);
            s = s.substr(colon + 1);
        }
        slash = s.find('/');
        if (slash == std::string::npos) {
            if (!s.empty())
                fields.Pass = s;
            s.clear();
        } else if (slash != 0) {
            fields.Pass = s.substr(0, slash);
            s = s.substr(slash);
        }
    }
    // An sftp:// path starts at the root, as curl reads it; "~/" starts at the home directory.
    if (fields.Sftp && !s.empty()) {
        if (s.rfind("~/", 0) == 0 || s.rfind("/~/", 0) == 0)
            s = s.substr(s.find('/') + 1);
        else if (s[0] != '/')
            s = "/" + s;
    }
    size_t lastSlash = s.rfind('/');
    if (!s.empty() && lastSlash != std::string::npos)
        remoteDir = percentDecoded(s.substr(0, lastSlash));
}

std::string LocalUserName()
{
    if (const passwd* entry = ::getpwuid(::geteuid()); entry && entry->pw_name)
        return entry->pw_name;
    const char* user = std::getenv("USER");
    return user ? user : "";
}

void CompleteAnonymousLogin(std::string& user, std::string& password, const std::string& anonymousPassword)
{
    if (user.empty())
        user = "anonymous";
    std::string lower = user;
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (password.empty() && (lower == "anonymous" || lower == "ftp"))
        password = anonymousPassword;
}

std::string RemoteAddress(const THostInfo& site, const std::string& path)
{
    QUrl url;
    url.setScheme(site.Sftp ? "sftp" : "ftp");
    url.setUserName(QString::fromStdString(site.UserName));
    url.setHost(QString::fromStdString(site.HostName));
    bool portOk = false;
    int port = QString::fromStdString(site.HostPort).toInt(&portOk);
    if (portOk && port != (site.Sftp ? 22 : 21))
        url.setPort(port);
    url.setPath(QString::fromStdString(path));
    return url.toString(QUrl::FullyEncoded).toStdString();
}
