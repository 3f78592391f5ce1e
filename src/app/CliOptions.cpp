#include "app/CliOptions.h"

#include <map>

#include <QUrl>

#include "app/TerminalText.h"
#include "ftp/CustomFtpCli.h"

const char* const kCliUsage =
    "usage: quillftp-cli [OPTIONS] COMMAND ...\n"
    "  ls URL                 list a remote directory (kind, size, name; --long for the pane's columns)\n"
    "  get URL [LOCALDIR]     download a file, or a whole tree when URL ends with \"/\"\n"
    "  put LOCALPATH URL      upload a file or a tree into the remote directory URL\n"
    "  mkdir URL | rm URL | rmdir URL | mv URL NEWPATH | chmod MODE URL\n"
    "  broken                 list the saved broken lists\n"
    "  resume N               resume broken list N (as numbered by broken)\n"
    "URL: ftp://[user[:password]@]host[:port]/path\n"
    "options:\n"
    "  -n, --connections N    connections to use (1-255)\n"
    "  --split-size BYTES     downloads bigger than this are split into ranges\n"
    "  --background           the main connection does not transfer\n"
    "  --active | --passive   data connection mode\n"
    "  --proxy HOST:PORT      through an FTP proxy; --proxy-type user@host|login, --proxy-user, --proxy-pass\n"
    "  --socks4 | --socks4a | --socks5 HOST:PORT   through a SOCKS server; --socks-user, --socks-pass\n"
    "  --retries K            tries of a failed login or transfer\n"
    "  --timeout S            seconds a reply, or a data connection without progress, may take (0: no limit)\n"
    "  --overwrite | --skip   what to do with existing local files (default: ask on a terminal, else skip)\n"
    "  --log                  every connection's log lines on stderr\n"
    "  --quiet                no progress line\n"
    "  --data-dir DIR         where the settings, site book and broken lists live\n";

namespace {

bool parseNumber(const std::string& text, int64_t low, int64_t high, int64_t& value)
{
    if (text.empty() || text.size() > 18 || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    value = std::stoll(text);
    return value >= low && value <= high;
}

bool validHostPort(const std::string& text)
{
    size_t colon = text.rfind(':');
    int64_t port = 0;
    return colon != std::string::npos && colon > 0 && parseNumber(text.substr(colon + 1), 1, 65535, port);
}

// The operand counts of each command: least and most.
const std::map<std::string, std::pair<size_t, size_t>>& commandOperands()
{
    static const std::map<std::string, std::pair<size_t, size_t>> operands = {
        {"ls", {1, 1}},    {"get", {1, 2}}, {"put", {2, 2}},   {"mkdir", {1, 1}},  {"rm", {1, 1}},
        {"rmdir", {1, 1}}, {"mv", {2, 2}},  {"chmod", {2, 2}}, {"broken", {0, 0}}, {"resume", {1, 1}}};
    return operands;
}

} // namespace

bool ParseCliOptions(const std::vector<std::string>& arguments, TCliOptions& options, std::string& error)
{
    auto value = [&](size_t& k, std::string& out) {
        if (k + 1 >= arguments.size()) {
            error = "option " + arguments[k] + " needs a value";
            return false;
        }
        out = arguments[++k];
        return true;
    };
    bool operandsOnly = false; // after "--"
    for (size_t k = 0; k < arguments.size(); ++k) {
        const std::string& argument = arguments[k];
        std::string text;
        int64_t number = 0;
        if (argument == "--" && !operandsOnly) {
            operandsOnly = true;
        } else if (operandsOnly || argument.empty() || argument[0] != '-' || argument == "-") {
            if (options.Command.empty())
                options.Command = argument;
            else
                options.Operands.push_back(argument);
        } else if (argument == "-n" || argument == "--connections") {
            if (!value(k, text))
                return false;
            if (!parseNumber(text, 1, 255, number)) {
                error = "the connection count must lie between 1 and 255: " + text;
                return false;
            }
            options.Connections = static_cast<int>(number);
        } else if (argument == "--split-size") {
            if (!value(k, text))
                return false;
            if (!parseNumber(text, 1, INT64_MAX / 2, number)) {
                error = "the split size must be a number of bytes: " + text;
                return false;
            }
            options.SplitSize = number;
        } else if (argument == "--retries") {
            if (!value(k, text))
                return false;
            if (!parseNumber(text, 0, 1000, number)) {
                error = "the retry count must lie between 0 and 1000: " + text;
                return false;
            }
            options.Retries = static_cast<int>(number);
        } else if (argument == "--timeout") {
            if (!value(k, text))
                return false;
            if (!parseNumber(text, 0, 86400, number)) {
                error = "the timeout must be a number of seconds between 0 and 86400: " + text;
                return false;
            }
            options.Timeout = static_cast<int>(number);
        } else if (argument == "--background") {
            options.Background = true;
        } else if (argument == "--active" || argument == "--passive") {
            options.Passive = argument == "--passive" ? 1 : 0;
        } else if (argument == "--proxy") {
            if (!value(k, options.Proxy))
                return false;
            if (!validHostPort(options.Proxy)) {
                error = "--proxy needs HOST:PORT: " + options.Proxy;
                return false;
            }
        } else if (argument == "--proxy-type") {
            if (!value(k, options.ProxyType))
                return false;
            if (options.ProxyType != "user@host" && options.ProxyType != "login") {
                error = "--proxy-type is user@host or login: " + options.ProxyType;
                return false;
            }
        } else if (argument == "--proxy-user" || argument == "--proxy-pass") {
            if (!value(k, argument == "--proxy-user" ? options.ProxyUser : options.ProxyPass))
                return false;
        } else if (argument == "--socks4" || argument == "--socks4a" || argument == "--socks5") {
            if (!value(k, options.Socks))
                return false;
            if (!validHostPort(options.Socks)) {
                error = argument + " needs HOST:PORT: " + options.Socks;
                return false;
            }
            options.SocksType = argument == "--socks4" ? ftpSocks4 : argument == "--socks4a" ? ftpSocks4A : ftpSocks5;
        } else if (argument == "--socks-user" || argument == "--socks-pass") {
            if (!value(k, argument == "--socks-user" ? options.SocksUser : options.SocksPass))
                return false;
        } else if (argument == "--overwrite" || argument == "--skip") {
            options.Existing = argument == "--overwrite" ? TExistingFiles::Overwrite : TExistingFiles::Skip;
        } else if (argument == "--log") {
            options.Log = true;
        } else if (argument == "--quiet") {
            options.Quiet = true;
        } else if (argument == "--long") {
            options.Long = true;
        } else if (argument == "--data-dir") {
            if (!value(k, options.DataDir))
                return false;
        } else {
            error = "unknown option " + argument;
            return false;
        }
    }
    if (options.Command.empty()) {
        error = "no command given";
        return false;
    }
    auto counts = commandOperands().find(options.Command);
    if (counts == commandOperands().end()) {
        error = "unknown command " + options.Command;
        return false;
    }
    size_t given = options.Operands.size();
    if (given < counts->second.first || given > counts->second.second) {
        error = options.Command + " takes " +
                (counts->second.first == counts->second.second
                     ? std::to_string(counts->second.first)
                     : std::to_string(counts->second.first) + " or " + std::to_string(counts->second.second)) +
                " operand" + (counts->second.second == 1 ? "" : "s") + ", not " + std::to_string(given);
        return false;
    }
    if (options.Proxy.size() && options.SocksType) {
        error = "--proxy and a SOCKS server cannot be used together";
        return false;
    }
    return true;
}

void ApplyCliOptions(const TCliOptions& options, TSettings& settings)
{
    if (options.Connections > 0)
        settings.ConnectionCount = options.Connections;
    if (options.SplitSize > 0)
        settings.MTFileSize = options.SplitSize;
    if (options.Background)
        settings.MainConnDownload = false;
    // A run without the main connection needs two connections at least.
    if (!settings.MainConnDownload && settings.ConnectionCount < 2)
        settings.ConnectionCount = 2;
    if (options.Passive >= 0)
        settings.PasvMode = options.Passive == 1;
    if (options.Retries >= 0)
        settings.ConnectionRetryTimes = options.Retries;
    if (options.Timeout >= 0)
        settings.ReplyTimeout = settings.DataTimeout = options.Timeout;
    auto split = [](const std::string& hostPort, TProxySetting& setting) {
        size_t colon = hostPort.rfind(':');
        setting.Host = hostPort.substr(0, colon);
        setting.Port = hostPort.substr(colon + 1);
    };
    if (!options.Proxy.empty()) {
        split(options.Proxy, settings.Proxy);
        settings.Proxy.Enabled = true;
        settings.Proxy.Type = options.ProxyType == "login" ? ftpProxyUserLogin : ftpProxy;
        settings.Proxy.User = options.ProxyUser;
        settings.Proxy.Pass = options.ProxyPass;
        settings.Socks.Enabled = false;
    }
    if (options.SocksType != 0) {
        split(options.Socks, settings.Socks);
        settings.Socks.Enabled = true;
        settings.Socks.Type = static_cast<uint8_t>(options.SocksType);
        settings.Socks.User = options.SocksUser;
        settings.Socks.Pass = options.SocksPass;
        settings.Proxy.Enabled = false;
    }
    settings.ShowSiteManager = false;
    settings.AntiIdleEnable = false;
}

bool ParseFtpAddress(const std::string& text, TFtpAddress& address, std::string& error)
{
    QUrl url(QString::fromStdString(text), QUrl::StrictMode);
    if (!url.isValid() || url.scheme() != "ftp" || url.host().isEmpty()) {
        error = "not an ftp:// address: " + AddressWithoutPassword(text);
        return false;
    }
    address.Host = url.host(QUrl::FullyDecoded).toStdString();
    address.Port = std::to_string(url.port(21));
    address.User = url.userName(QUrl::FullyDecoded).toStdString();
    address.Pass = url.password(QUrl::FullyDecoded).toStdString();
    address.Path = url.path(QUrl::FullyDecoded).toStdString();
    if (address.Path.empty() || address.Path[0] != '/')
        address.Path = "/" + address.Path;
    return true;
}
