#pragma once

// Real FTP servers on a free 127.0.0.1 port with a temporary root, started for one test and
// stopped (with every process they forked) when the object goes.

#include <memory>
#include <ostream>
#include <string>

#include <QStringList>

class QProcess;
class QTemporaryDir;

namespace testsupport {

enum class ServerKind
{
    Pyftpdlib,
    Vsftpd,
    Proftpd,
    PureFtpd
};

const char* serverName(ServerKind kind);

// TLS as the server requires it: none, after AUTH TLS (every login and data connection
// protected), or from the first byte.
enum class ServerTls
{
    Off,
    Explicit,
    Implicit
};

// For test names and messages: "pyftpdlib", "vsftpd", ...
inline void PrintTo(ServerKind kind, std::ostream* out)
{
    *out << serverName(kind);
}

class FtpServer
{
public:
    static constexpr const char* kUser = "quill";
    static constexpr const char* kPassword = "feather";

    explicit FtpServer(ServerKind kind = ServerKind::Pyftpdlib);
    ~FtpServer();
    FtpServer(const FtpServer&) = delete;
    FtpServer& operator=(const FtpServer&) = delete;

    // Behaviours beyond the stock server, set before start(): for pyftpdlib the options of
    // variant_ftpd.py (such as {"--cut-after", "100000"}), for vsftpd lines of its configuration
    // (such as {"max_per_ip=2"}).
    void setVariant(QStringList options) { m_variant = std::move(options); }
    // TLS, set before start(): vsftpd, proftpd and pure-ftpd (explicit), vsftpd (implicit),
    // with a self-signed certificate for 127.0.0.1 made for this server.
    void setTls(ServerTls tls) { m_tls = tls; }
    // Listens on ::1 instead of 127.0.0.1, set before start(): pyftpdlib (stock) and vsftpd.
    void setIPv6(bool ipv6) { m_ipv6 = ipv6; }
    // The address it listens on, as text ("127.0.0.1", "::1") and as an address writes it.
    std::string host() const { return m_ipv6 ? "::1" : "127.0.0.1"; }
    std::string urlHost() const { return m_ipv6 ? "[::1]" : "127.0.0.1"; }
    // The SHA-256 fingerprint of its certificate, "AB:CD:...", once started with TLS.
    std::string fingerprint() const;

    // Starts the server; false (with the reason in error()) when it did not come up.
    bool start();
    void stop();

    ServerKind kind() const { return m_kind; }
    int port() const { return m_port; }
    std::string portText() const { return std::to_string(m_port); }
    // The login this server takes.
    std::string user() const;
    std::string password() const;
    // The remote directory tests may write in ("/", or "/pub" where the root must stay read only).
    std::string workDir() const;
    // That directory on the local disk.
    std::string localWorkDir() const;
    const std::string& error() const { return m_error; }

private:
    bool startOnce();
    bool m_endedEarly = false; // the last start's process ended before it listened
    // Writes what the server needs and gives its command line (program first).
    bool prepare(QStringList& command);
    // A self-signed certificate and its key in the state folder.
    bool makeCertificate();
    QString certificate() const;
    QString privateKey() const;
    // The lines of the server's configuration (or its options) for m_tls.
    QString tlsConfiguration() const;
    QStringList tlsOptions() const;

    ServerKind m_kind;
    std::unique_ptr<QTemporaryDir> m_state; // configuration, user database, pid files
    std::unique_ptr<QTemporaryDir> m_root;  // what the server shares
    std::unique_ptr<QProcess> m_process;
    int m_port = 0;
    QStringList m_variant;
    ServerTls m_tls = ServerTls::Off;
    bool m_ipv6 = false;
    std::string m_error;
};

// A 127.0.0.1 port on which nothing listens.
int closedLoopbackPort();

} // namespace testsupport
