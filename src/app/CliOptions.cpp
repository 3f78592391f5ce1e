#include "app/CliOptions.h"

#include <cctype>
#include <functional>
#include <map>

#include <QUrl>

#include "app/TerminalText.h"
#include "ftp/CustomFtpCli.h"
#include "platform/Translate.h"

using platform::Fill;
using platform::Tr;

const char* const kCliUsage = QT_TRANSLATE_NOOP(
    "Cli",
    "usage: quillftp-cli [OPTIONS] COMMAND ...\n"
    "  ls URL                 list a remote directory (kind, size, name; --long for the pane's columns)\n"
    "  get URL [LOCALDIR]     download a file, or a whole tree when URL ends with \"/\"\n"
    "  put LOCALPATH URL      upload a file or a tree into the remote directory URL\n"
    "  mkdir URL | rm URL | rmdir URL | mv URL NEWPATH | chmod MODE URL\n"
    "  rm -r URL              delete a file, or a directory with everything in it\n"
    "  broken                 list the saved broken lists\n"
    "  sites                  the sites of the site book, as site:CLASS/NAME\n"
    "  resume N               resume broken list N (as numbered by broken)\n"
    "  sync [--up|--down|--both] [--delete] [--dry-run] [--by-hash] [--plan FILE] LOCALDIR URL\n"
    "                         make a local and a remote folder alike: --up the remote one like the local one,\n"
    "                         --down the other way, --both (default) each side takes what changed on the other;\n"
    "                         the plan is printed; --dry-run changes nothing; --plan FILE keeps it (JSON) and\n"
    "                         changes nothing; --delete deletes what is gone on the leading side\n"
    "  sync --apply FILE      carry out a kept plan, refused when either folder changed since\n"
    "  history [--failed] [--csv]   the files of past runs, newest first (UTC time, get|put, state, size,\n"
    "                         remote address, local path; --csv: every column as CSV)\n"
    "URL: ftp://[user[:password]@]host[:port]/path  (the path is taken from the login directory; ftp://host/%2Fetc/ "
    "names /etc/)\n"
    "     site:CLASS/NAME/path names a site of the site book (its address, user and password)\n"
    "     a password in the URL can be read by other users: without one it comes from ~/.netrc, from\n"
    "     --password-stdin, or is asked for on the terminal\n"
    "     ftps://... for implicit TLS (port 990), ftpes://... for TLS required\n"
    "options:\n"
    "  -n, --connections N    connections to use (1-255)\n"
    "  --split-size BYTES     downloads bigger than this are split into ranges\n"
    "  --background           the main connection does not transfer\n"
    "  --active | --passive   data connection mode\n"
    "  --no-pipelining        one command at a time on the transfer connections\n"
    "  --proxy HOST:PORT      through an FTP proxy; --proxy-type user@host|login, --proxy-user, --proxy-pass\n"
    "  --socks4 | --socks4a | --socks5 HOST:PORT   through a SOCKS server; --socks-user, --socks-pass\n"
    "  --retries K            tries of a failed login or transfer\n"
    "  --limit-rate RATE      bytes per second each way for all connections together (K, M, G: 1024, 1024², 1024³)\n"
    "  --timeout S            seconds a reply, or a data connection without progress, may take (0: no limit)\n"
    "  --overwrite | --skip   what to do with existing local files (default: ask on a terminal, else skip)\n"
    "  --log                  every connection's log lines on stderr\n"
    "  --quiet                no progress line\n"
    "  --data-dir DIR         where the settings, site book and broken lists live\n"
    "  --tls auto|require|implicit|off   TLS: when the server offers it (default), required, from the first byte, "
    "never\n"
    "  --trust SHA256         accept the server certificate with this fingerprint (as printed) though nothing vouches "
    "for it\n"
    "  --netrc-file FILE      logins from FILE instead of ~/.netrc (readable by its owner only)\n"
    "  --password-stdin       the password is the first line of standard input\n"
    "  --json                 ls, get, put, sync: one JSON document on standard output (see the man page)\n"
    "  --version              the program's version and the libraries it was built with\n"
    "  -h, --help             this text\n");

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
        {"ls", {1, 1}},      {"get", {1, 2}},   {"put", {2, 2}},   {"mkdir", {1, 1}},  {"rm", {1, 1}},
        {"rmdir", {1, 1}},   {"mv", {2, 2}},    {"chmod", {2, 2}}, {"broken", {0, 0}}, {"resume", {1, 1}},
        {"history", {0, 0}}, {"sites", {0, 0}}, {"sync", {0, 2}}};
    return operands;
}

} // namespace

namespace {

// An option that takes a value: checks it and stores it; false with the reason in error.
using TValueOption = std::function<bool(const std::string& value, TCliOptions& options, std::string& error)>;

bool numberIn(const std::string& text, int64_t low, int64_t high, int64_t& value, const std::string& what,
              std::string& error)
{
    if (parseNumber(text, low, high, value))
        return true;
    error = what + text;
    return false;
}

const std::map<std::string, TValueOption>& valueOptions()
{
    static const std::map<std::string, TValueOption> options = {
        {"--connections",
         [](const std::string& text, TCliOptions& o, std::string& error) {
             int64_t n = 0;
             if (!numberIn(text, 1, 255, n, Tr("Cli", "the connection count must lie between 1 and 255: "), error))
                 return false;
             o.Connections = static_cast<int>(n);
             return true;
         }},
        {"--split-size",
         [](const std::string& text, TCliOptions& o, std::string& error) {
             return numberIn(text, 1, INT64_MAX / 2, o.SplitSize,
                             Tr("Cli", "the split size must be a number of bytes: "), error);
         }},
        {"--limit-rate",
         [](const std::string& text, TCliOptions& o, std::string& error) {
             // As curl spells it: bytes per second, or with K, M or G for 1024, 1024² or 1024³.
             int64_t unit = 1;
             std::string digits = text;
             if (!digits.empty() && std::string("kKmMgG").find(digits.back()) != std::string::npos) {
                 char suffix = static_cast<char>(std::tolower(static_cast<unsigned char>(digits.back())));
                 unit = suffix == 'k' ? 1024 : suffix == 'm' ? 1024 * 1024 : 1024 * 1024 * 1024;
                 digits.pop_back();
             }
             int64_t n = 0;
             if (!numberIn(digits, 1, INT64_MAX / (1024LL * 1024 * 1024), n,
                           Tr("Cli", "the rate must be bytes per second, or a number with K, M or G: "), error))
                 return false;
             o.LimitRate = n * unit;
             return true;
         }},
        {"--retries",
         [](const std::string& text, TCliOptions& o, std::string& error) {
             int64_t n = 0;
             if (!numberIn(text, 0, 1000, n, Tr("Cli", "the retry count must lie between 0 and 1000: "), error))
                 return false;
             o.Retries = static_cast<int>(n);
             return true;
         }},
        {"--timeout",
         [](const std::string& text, TCliOptions& o, std::string& error) {
             int64_t n = 0;
             if (!numberIn(text, 0, 86400, n,
                           Tr("Cli", "the timeout must be a number of seconds between 0 and 86400: "), error))
                 return false;
             o.Timeout = static_cast<int>(n);
             return true;
         }},
        {"--proxy",
         [](const std::string& text, TCliOptions& o, std::string& error) {
             o.Proxy = text;
             if (validHostPort(text))
                 return true;
             error = Tr("Cli", "--proxy needs HOST:PORT: ") + text;
             return false;
         }},
        {"--proxy-type",
         [](const std::string& text, TCliOptions& o, std::string& error) {
             o.ProxyType = text;
             if (text == "user@host" || text == "login")
                 return true;
             error = Tr("Cli", "--proxy-type is user@host or login: ") + text;
             return false;
         }},
        {"--proxy-user",
         [](const std::string& text, TCliOptions& o, std::string&) { return o.ProxyUser = text, true; }},
        {"--proxy-pass",
         [](const std::string& text, TCliOptions& o, std::string&) { return o.ProxyPass = text, true; }},
        {"--socks-user",
         [](const std::string& text, TCliOptions& o, std::string&) { return o.SocksUser = text, true; }},
        {"--socks-pass",
         [](const std::string& text, TCliOptions& o, std::string&) { return o.SocksPass = text, true; }},
        {"--data-dir", [](const std::string& text, TCliOptions& o, std::string&) { return o.DataDir = text, true; }},
        {"--tls",
         [](const std::string& text, TCliOptions& o, std::string& error) {
             static const std::map<std::string, int> modes = {
                 {"auto", ftpsAuto}, {"require", ftpsRequire}, {"implicit", ftpsImplicit}, {"off", ftpsOff}};
             auto mode = modes.find(text);
             if (mode == modes.end()) {
                 error = Tr("Cli", "--tls is auto, require, implicit or off: ") + text;
                 return false;
             }
             return o.Tls = mode->second, true;
         }},
        {"--trust", [](const std::string& text, TCliOptions& o, std::string&) { return o.Trust = text, true; }},
        {"--netrc-file",
         [](const std::string& text, TCliOptions& o, std::string&) { return o.NetrcFile = text, true; }},
        {"--plan", [](const std::string& text, TCliOptions& o, std::string&) { return o.PlanFile = text, true; }},
        {"--apply", [](const std::string& text, TCliOptions& o, std::string&) { return o.ApplyFile = text, true; }},
    };
    return options;
}

// Options without a value.
const std::map<std::string, std::function<void(TCliOptions&)>>& flagOptions()
{
    static const std::map<std::string, std::function<void(TCliOptions&)>> flags = {
        {"--background", [](TCliOptions& o) { o.Background = true; }},
        {"--no-pipelining", [](TCliOptions& o) { o.NoPipelining = true; }},
        {"--active", [](TCliOptions& o) { o.Passive = 0; }},
        {"--passive", [](TCliOptions& o) { o.Passive = 1; }},
        {"--overwrite", [](TCliOptions& o) { o.Existing = TExistingFiles::Overwrite; }},
        {"--skip", [](TCliOptions& o) { o.Existing = TExistingFiles::Skip; }},
        {"--log", [](TCliOptions& o) { o.Log = true; }},
        {"--quiet", [](TCliOptions& o) { o.Quiet = true; }},
        {"--long", [](TCliOptions& o) { o.Long = true; }},
        {"--recursive", [](TCliOptions& o) { o.Recursive = true; }},
        {"--failed", [](TCliOptions& o) { o.Failed = true; }},
        {"--csv", [](TCliOptions& o) { o.Csv = true; }},
        {"--password-stdin", [](TCliOptions& o) { o.PasswordStdin = true; }},
        {"--json", [](TCliOptions& o) { o.Json = true; }},
        {"--up", [](TCliOptions& o) { o.SyncDirection = 0; }},
        {"--down", [](TCliOptions& o) { o.SyncDirection = 1; }},
        {"--both", [](TCliOptions& o) { o.SyncDirection = 2; }},
        {"--delete", [](TCliOptions& o) { o.Delete = true; }},
        {"--dry-run", [](TCliOptions& o) { o.DryRun = true; }},
        {"--by-hash", [](TCliOptions& o) { o.ByHash = true; }},
    };
    return flags;
}

// The SOCKS options: HOST:PORT and the client's connection type.
bool socksOption(const std::string& option, const std::string& text, TCliOptions& options, std::string& error)
{
    options.Socks = text;
    if (!validHostPort(text)) {
        error = Fill(Tr("Cli", "%1 needs HOST:PORT: %2"), {option, text});
        return false;
    }
    options.SocksType = option == "--socks4" ? ftpSocks4 : option == "--socks4a" ? ftpSocks4A : ftpSocks5;
    return true;
}

// The command and its operands make sense together.
bool checkCommand(const TCliOptions& options, std::string& error)
{
    if (options.Command.empty()) {
        error = Tr("Cli", "no command given");
        return false;
    }
    auto counts = commandOperands().find(options.Command);
    if (counts == commandOperands().end()) {
        error = Tr("Cli", "unknown command ") + options.Command;
        return false;
    }
    size_t given = options.Operands.size();
    auto [least, most] = counts->second;
    if (given < least || given > most) {
        std::string counts = least == most ? std::to_string(least)
                                           : Fill(Tr("Cli", "%1 or %2"), {std::to_string(least), std::to_string(most)});
        error = Fill(most == 1 ? Tr("Cli", "%1 takes %2 operand, not %3") : Tr("Cli", "%1 takes %2 operands, not %3"),
                     {options.Command, counts, std::to_string(given)});
        return false;
    }
    if (options.Json && options.Command != "ls" && options.Command != "get" && options.Command != "put" &&
        options.Command != "sync") {
        error = Tr("Cli", "--json goes with ls, get, put and sync");
        return false;
    }
    bool syncOptions = options.SyncDirection >= 0 || options.Delete || options.DryRun || options.ByHash ||
                       !options.PlanFile.empty() || !options.ApplyFile.empty();
    if (syncOptions && options.Command != "sync") {
        error = Tr("Cli", "--up, --down, --both, --delete, --dry-run, --by-hash, --plan and --apply go with sync");
        return false;
    }
    if (options.Command == "sync" && options.ApplyFile.empty() != (given == 2)) {
        error = options.ApplyFile.empty() ? Tr("Cli", "sync takes LOCALDIR URL")
                                          : Tr("Cli", "sync --apply FILE takes no folders: the plan names them");
        return false;
    }
    if (!options.ApplyFile.empty() && (options.SyncDirection >= 0 || options.Delete || !options.PlanFile.empty())) {
        error = Tr(
            "Cli",
            "sync --apply carries out the plan as it is: --up, --down, --both, --delete and --plan do not go with it");
        return false;
    }
    if (options.Recursive && options.Command != "rm") {
        error = Tr("Cli", "-r goes with rm only");
        return false;
    }
    if (!options.Proxy.empty() && options.SocksType) {
        error = Tr("Cli", "--proxy and a SOCKS server cannot be used together");
        return false;
    }
    return true;
}

} // namespace

bool ParseCliOptions(const std::vector<std::string>& arguments, TCliOptions& options, std::string& error)
{
    bool operandsOnly = false; // after "--"
    for (size_t k = 0; k < arguments.size(); ++k) {
        std::string argument = arguments[k];
        if (argument == "--" && !operandsOnly) {
            operandsOnly = true;
            continue;
        }
        if (operandsOnly || argument.empty() || argument[0] != '-' || argument == "-") {
            (options.Command.empty() ? options.Command : options.Operands.emplace_back()) = argument;
            continue;
        }
        std::string option = argument == "-n" ? "--connections" : argument == "-r" ? "--recursive" : argument;
        if (auto flag = flagOptions().find(option); flag != flagOptions().end()) {
            flag->second(options);
            continue;
        }
        auto valued = valueOptions().find(option);
        bool socks = option == "--socks4" || option == "--socks4a" || option == "--socks5";
        if (valued == valueOptions().end() && !socks) {
            error = Tr("Cli", "unknown option ") + argument;
            return false;
        }
        if (k + 1 >= arguments.size()) {
            error = Fill(Tr("Cli", "option %1 needs a value"), {argument});
            return false;
        }
        const std::string& value = arguments[++k];
        if (socks ? !socksOption(option, value, options, error) : !valued->second(value, options, error))
            return false;
    }
    return checkCommand(options, error);
}

void ApplyCliOptions(const TCliOptions& options, TSettings& settings)
{
    if (options.Connections > 0)
        settings.ConnectionCount = options.Connections;
    if (options.SplitSize > 0)
        settings.MTFileSize = options.SplitSize;
    if (options.Background)
        settings.MainConnDownload = false;
    if (options.NoPipelining)
        settings.Pipelining = false;
    // A run without the main connection needs two connections at least.
    if (!settings.MainConnDownload && settings.ConnectionCount < 2)
        settings.ConnectionCount = 2;
    if (options.Passive >= 0)
        settings.PasvMode = options.Passive == 1;
    if (options.Retries >= 0)
        settings.ConnectionRetryTimes = options.Retries;
    if (options.LimitRate > 0)
        settings.DownloadLimit = settings.UploadLimit = options.LimitRate;
    if (options.Tls >= 0)
        settings.TlsMode = options.Tls;
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
    QString scheme = url.scheme();
    if (!url.isValid() || (scheme != "ftp" && scheme != "ftps" && scheme != "ftpes" && scheme != "sftp") ||
        url.host().isEmpty()) {
        error = Tr("Cli", "not an ftp:// or sftp:// address: ") + AddressWithoutPassword(text);
        return false;
    }
    address.Security = scheme == "ftps" ? ftpsImplicit : scheme == "ftpes" ? ftpsRequire : -1;
    address.Sftp = scheme == "sftp";
    address.Host = url.host(QUrl::FullyDecoded).toStdString();
    address.Port = std::to_string(url.port(scheme == "ftps" ? 990 : scheme == "sftp" ? 22 : 21));
    address.User = url.userName(QUrl::FullyDecoded).toStdString();
    address.Pass = url.password(QUrl::FullyDecoded).toStdString();
    // As RFC 1738 reads an address, and curl, wget and lftp with it: the path is relative to the
    // login directory, segment by segment; an encoded "/" (%2F) at its start reaches the root.
    // An sftp:// path starts at the root, as curl reads it; "/~/" starts at the home directory.
    QString encoded = url.path(QUrl::FullyEncoded);
    if (address.Sftp && encoded.startsWith("/~"))
        encoded.remove(0, 2);
    else if (address.Sftp && encoded.startsWith('/'))
        encoded.replace(0, 1, "%2F");
    if (encoded.startsWith('/'))
        encoded.remove(0, 1);
    std::string path;
    const QStringList segments = encoded.split('/');
    for (qsizetype i = 0; i < segments.size(); ++i)
        path += (i > 0 ? "/" : "") + QByteArray::fromPercentEncoding(segments[i].toUtf8()).toStdString();
    address.Path = path;
    return true;
}
