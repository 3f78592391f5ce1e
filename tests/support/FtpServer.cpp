#include "support/FtpServer.h"
#include "support/ServerProcess.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <csignal>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace testsupport {

namespace {

// Debian's python3-pyftpdlib belongs to the system interpreter; the python3 first on PATH
// may be another one.
const char* const kPython = "/usr/bin/python3";
// proftpd and pure-ftpd conflict with vsftpd as packages: scripts/setup unpacks them here.
const QString kUnpacked = QStringLiteral(QUILL_SERVERS_DIR);
const QString kVariantServer = QStringLiteral(QUILL_TEST_SUPPORT_DIR "/variant_ftpd.py");

bool writeFile(const QString& path, const QString& text, QFile::Permissions permissions)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    file.write(text.toUtf8());
    file.close();
    return file.setPermissions(permissions);
}

// An MD5-crypt hash ("$1$...") of a password, as both proftpd and pure-ftpd accept it.
QString md5Crypt(const QString& password)
{
    QProcess openssl;
    openssl.start("openssl", {"passwd", "-1", password});
    openssl.waitForFinished(5000);
    return QString::fromUtf8(openssl.readAllStandardOutput()).trimmed();
}

} // namespace

const char* serverName(ServerKind kind)
{
    switch (kind) {
    case ServerKind::Pyftpdlib:
        return "pyftpdlib";
    case ServerKind::Vsftpd:
        return "vsftpd";
    case ServerKind::Proftpd:
        return "proftpd";
    case ServerKind::PureFtpd:
        return "pureftpd";
    }
    return "?";
}

FtpServer::FtpServer(ServerKind kind)
    : m_kind(kind), m_state(std::make_unique<QTemporaryDir>()), m_root(std::make_unique<QTemporaryDir>())
{
}

FtpServer::~FtpServer()
{
    stop();
}

std::string FtpServer::user() const
{
    return m_kind == ServerKind::Vsftpd ? "anonymous" : kUser;
}

std::string FtpServer::password() const
{
    return m_kind == ServerKind::Vsftpd ? "quill@example.org" : kPassword;
}

std::string FtpServer::workDir() const
{
    return m_kind == ServerKind::Vsftpd ? "/pub" : "/";
}

std::string FtpServer::localWorkDir() const
{
    std::string root = m_root->path().toStdString();
    return m_kind == ServerKind::Vsftpd ? root + "/pub" : root;
}

QString FtpServer::certificate() const
{
    return m_state->path() + "/cert.pem";
}

QString FtpServer::privateKey() const
{
    return m_state->path() + "/key.pem";
}

bool FtpServer::makeCertificate()
{
    QProcess openssl;
    openssl.start("openssl",
                  {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj", "/CN=quill test server",
                   "-addext", "subjectAltName=IP:127.0.0.1", "-keyout", privateKey(), "-out", certificate()});
    return openssl.waitForFinished(30000) && openssl.exitCode() == 0;
}

std::string FtpServer::fingerprint() const
{
    QProcess openssl;
    openssl.start("openssl", {"x509", "-in", certificate(), "-noout", "-fingerprint", "-sha256"});
    openssl.waitForFinished(5000);
    QString line = QString::fromUtf8(openssl.readAllStandardOutput()).trimmed();
    return line.mid(line.indexOf('=') + 1).toStdString();
}

QString FtpServer::tlsConfiguration() const
{
    if (m_tls == ServerTls::Off)
        return {};
    if (m_kind == ServerKind::Vsftpd) {
        return "ssl_enable=YES\nallow_anon_ssl=YES\nforce_anon_logins_ssl=YES\nforce_anon_data_ssl=YES\n"
               "force_local_logins_ssl=YES\nforce_local_data_ssl=YES\nrequire_ssl_reuse=YES\nssl_ciphers=HIGH\n"
               "rsa_cert_file=" +
               certificate() + "\nrsa_private_key_file=" + privateKey() + "\n" +
               (m_tls == ServerTls::Implicit ? "implicit_ssl=YES\n" : "");
    }
    // proftpd: its TLS module comes unpacked with it; data connections must reuse the session.
    return "LoadModule mod_tls.c\n<IfModule mod_tls.c>\nTLSEngine on\nTLSRequired on\nTLSProtocol TLSv1.2 "
           "TLSv1.3\nTLSRSACertificateFile " +
           certificate() + "\nTLSRSACertificateKeyFile " + privateKey() + "\nTLSLog " + m_state->path() +
           "/tls.log\n</IfModule>\n";
}

QStringList FtpServer::tlsOptions() const
{
    if (m_tls == ServerTls::Off)
        return {};
    // pure-ftpd: "-Y 2" takes TLS logins only; the certificate and key in one file.
    return {"-Y", "2", "-2", certificate() + "," + privateKey()};
}

bool FtpServer::prepare(QStringList& command)
{
    if (m_tls != ServerTls::Off && !makeCertificate())
        return false;
    QString state = m_state->path();
    QString root = m_root->path();
    QString port = QString::number(m_port);
    // The servers run their sessions as an unprivileged user: it must reach and write the root.
    ::chmod(root.toUtf8().constData(), 0777);
    switch (m_kind) {
    case ServerKind::Pyftpdlib:
        // Through the variant script even without options: it mends a fault of pyftpdlib's
        // active mode that would stop another session's commands (see the script).
        command =
            QStringList{kPython, kVariantServer, "--host", QString::fromStdString(host()), "--dir", root, "--user",
                        kUser,   "--password",   kPassword} +
            m_variant;
        return true;
    case ServerKind::Vsftpd: {
        // vsftpd refuses a writable root for anonymous sessions: writing happens in pub/.
        ::chmod(root.toUtf8().constData(), 0755);
        QDir(root).mkdir("pub");
        ::chmod((root + "/pub").toUtf8().constData(), 0777);
        QDir().mkpath("/var/run/vsftpd/empty");
        QString listen = m_ipv6 ? "listen=NO\nlisten_ipv6=YES\nlisten_address6=::1\n"
                                : "listen=YES\nlisten_ipv6=NO\nlisten_address=127.0.0.1\n";
        QString config = "background=NO\n" + listen + "listen_port=" + port +
                         "\nsecure_chroot_dir=/var/run/vsftpd/empty\nisolate=NO\nisolate_network=NO\n"
                         "seccomp_sandbox=NO\nanonymous_enable=YES\nlocal_enable=NO\nanon_root=" +
                         root +
                         "\nftp_username=ftp\nwrite_enable=YES\nanon_upload_enable=YES\n"
                         "anon_mkdir_write_enable=YES\nanon_other_write_enable=YES\nanon_umask=022\n"
                         "connect_from_port_20=NO\nxferlog_enable=NO\nuse_localtime=NO\n" +
                         tlsConfiguration() + m_variant.join('\n') + "\n";
        if (!writeFile(state + "/vsftpd.conf", config, QFile::ReadOwner | QFile::WriteOwner))
            return false;
        command = {"/usr/sbin/vsftpd", state + "/vsftpd.conf"};
        return true;
    }
    case ServerKind::Proftpd: {
        QString hash = md5Crypt(kPassword);
        bool written =
            !hash.isEmpty() &&
            writeFile(state + "/passwd", QString(kUser) + ":" + hash + ":65534:65534::" + root + ":/bin/sh\n",
                      QFile::ReadOwner | QFile::WriteOwner) &&
            writeFile(state + "/group", "nogroup:x:65534:\n", QFile::ReadOwner | QFile::WriteOwner);
        QString config = "ServerType standalone\nDefaultAddress 127.0.0.1\nSocketBindTight on\nUseIPv6 off\nPort " +
                         port + "\nPidFile " + state + "/proftpd.pid\nScoreboardFile " + state +
                         "/scoreboard\nDelayTable " + state +
                         "/delay\nWtmpLog off\nAuthPAM off\n"
                         "DefaultRoot ~\nAuthOrder mod_auth_file.c\nAuthUserFile " +
                         state + "/passwd\nAuthGroupFile " + state +
                         "/group\nRequireValidShell off\nUser nobody\nGroup nogroup\nUmask 022\n"
                         "AllowOverwrite on\nUseReverseDNS off\nTransferLog none\nModulePath " +
                         kUnpacked + "/usr/lib/proftpd\n" + tlsConfiguration();
        if (!written || !writeFile(state + "/proftpd.conf", config, QFile::ReadOwner | QFile::WriteOwner))
            return false;
        command = {kUnpacked + "/usr/sbin/proftpd", "-n", "-q", "-c", state + "/proftpd.conf"};
        return true;
    }
    case ServerKind::PureFtpd: {
        // pure-pw would hash with argon2 at a cost that makes every login take seconds; an MD5
        // crypt hash in the same file logs in at once.
        QString hash = md5Crypt(kPassword);
        QString users = state + "/pureftpd.passwd";
        if (hash.isEmpty() ||
            !writeFile(users, QString(kUser) + ":" + hash + ":65534:65534::" + root + "/./::::::::::::\n",
                       QFile::ReadOwner | QFile::WriteOwner))
            return false;
        QProcess database;
        database.start(kUnpacked + "/usr/bin/pure-pw", {"mkdb", state + "/pureftpd.pdb", "-f", users});
        if (!database.waitForFinished(5000) || database.exitCode() != 0)
            return false;
        command = {kUnpacked + "/usr/sbin/pure-ftpd",
                   "-S",
                   "127.0.0.1," + port,
                   "-P",
                   "127.0.0.1",
                   "-l",
                   "puredb:" + state + "/pureftpd.pdb",
                   "-E",
                   "-A",
                   "-H",
                   "-g",
                   state + "/pure-ftpd.pid"};
        command += tlsOptions();
        return true;
    }
    }
    return false;
}

bool FtpServer::start()
{
    // The port is free when chosen, but the tests beside this one open connections from the
    // same range of ports: a server that could not bind and ended is started again on another.
    for (int attempt = 1;; ++attempt) {
        m_endedEarly = false;
        if (startOnce())
            return true;
        if (!m_endedEarly || attempt == 3)
            return false;
    }
}

bool FtpServer::startOnce()
{
    m_port = m_kind == ServerKind::Pyftpdlib ? 0 : closedLoopbackPort();
    QStringList command;
    if (!prepare(command)) {
        m_error = std::string("cannot prepare ") + serverName(m_kind);
        return false;
    }
    m_process = std::make_unique<QProcess>();
    m_process->setProcessChannelMode(QProcess::MergedChannels);
    // Into a file: a pipe nobody reads during the test would stop a server that logs every
    // command once it is full.
    QString logPath = m_state->path() + "/server.log";
    QFile::remove(logPath);
    m_process->setStandardOutputFile(logPath);
    // Its own process group, so that stop() reaches the sessions it forks too.
    m_process->setChildProcessModifier([] { ::setsid(); });
    m_process->start(command.takeFirst(), command);
    if (!m_process->waitForStarted(5000)) {
        m_error = std::string(serverName(m_kind)) + " did not start: " + m_process->errorString().toStdString();
        return false;
    }
    auto log = [&] {
        QFile file(logPath);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    if (m_kind == ServerKind::Pyftpdlib) {
        QRegularExpression started("starting FTP server on (?:127\\.0\\.0\\.1|::1):(\\d+)");
        QDeadlineTimer deadline(10000);
        while (!deadline.hasExpired() && m_port == 0 && m_process->state() == QProcess::Running) {
            m_process->waitForFinished(50);
            auto match = started.match(QString::fromUtf8(log()));
            if (match.hasMatch())
                m_port = match.captured(1).toInt();
        }
        if (m_port == 0) {
            m_error = "pyftpdlib gave no port: " + log().toStdString();
            stop();
            return false;
        }
    }
    if (!waitForPort(*m_process, m_port, m_error, QString::fromStdString(host()))) {
        m_endedEarly = m_process->state() == QProcess::NotRunning;
        m_error += log().toStdString();
        stop();
        return false;
    }
    return true;
}

void FtpServer::stop()
{
    if (!m_process)
        return;
    if (m_process->state() != QProcess::NotRunning) {
        pid_t group = static_cast<pid_t>(m_process->processId());
        ::kill(-group, SIGTERM);
        if (!m_process->waitForFinished(3000)) {
            ::kill(-group, SIGKILL);
            m_process->waitForFinished(3000);
        }
        ::kill(-group, SIGKILL); // sessions that outlived their master
    }
    m_process.reset();
}

int closedLoopbackPort()
{
    int handle = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(handle, reinterpret_cast<sockaddr*>(&address), sizeof(address));
    socklen_t length = sizeof(address);
    ::getsockname(handle, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(handle);
    return ntohs(address.sin_port);
}

} // namespace testsupport
