#include "support/SshServer.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <signal.h>
#include <unistd.h>

#include "support/FtpServer.h"
#include "support/ServerProcess.h"

namespace testsupport {
namespace {

bool run(const QString& program, const QStringList& arguments, QByteArray* output = nullptr)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    bool ok = process.waitForFinished(20000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    if (output)
        *output = process.readAll();
    return ok;
}

bool writeFile(const QString& path, const QByteArray& text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text) == text.size();
}

} // namespace

SshServer::SshServer() : m_dir(std::make_unique<QTemporaryDir>()) {}

SshServer::~SshServer()
{
    stop();
}

std::string SshServer::home() const
{
    return m_dir->path().toStdString() + "/home";
}

std::string SshServer::clientSshDir() const
{
    return m_dir->path().toStdString() + "/client";
}

std::string SshServer::knownHostsLine() const
{
    QFile key(m_dir->path() + "/ssh_host_ed25519_key.pub");
    if (!key.open(QIODevice::ReadOnly))
        return {};
    QStringList words = QString::fromUtf8(key.readAll()).split(' ');
    return "[127.0.0.1]:" + std::to_string(m_port) + " " + words.value(0).toStdString() + " " +
           words.value(1).trimmed().toStdString();
}

bool SshServer::start()
{
    if (::geteuid() != 0 || !m_dir->isValid()) {
        m_error = "sshd tests need root";
        return false;
    }
    QString dir = m_dir->path();
    QDir().mkpath(dir + "/home");
    QFile::setPermissions(dir,
                          QFile::permissions(dir) | QFile::ExeGroup | QFile::ExeOther); // the user reaches its home
    QDir().mkpath(dir + "/client");
    QDir().mkpath("/run/sshd"); // sshd's privilege separation folder, made by its service otherwise
    // Each server its own user: one still ending its sessions does not stand in the next one's way.
    static int servers = 0;
    if (!m_user.create("qssh" + std::to_string(++servers) + "x", "/bin/sh", home())) {
        m_error = "cannot create the SSH test user";
        return false;
    }
    run("chown", {QString::fromStdString(m_user.name()), dir + "/home"});
    QByteArray output;
    if (!run("ssh-keygen", {"-q", "-t", "ed25519", "-N", "", "-f", dir + "/ssh_host_ed25519_key"}) ||
        !run("ssh-keygen", {"-q", "-t", "ed25519", "-N", "", "-f", dir + "/client/id_ed25519"}) ||
        !run("ssh-keygen", {"-l", "-f", dir + "/ssh_host_ed25519_key.pub"}, &output)) {
        m_error = "ssh-keygen failed: " + output.toStdString();
        return false;
    }
    m_fingerprint = QString::fromUtf8(output).split(' ').value(1).toStdString();
    QFile::copy(dir + "/client/id_ed25519.pub", dir + "/authorized_keys");
    m_port = closedLoopbackPort();
    QString config = "ListenAddress 127.0.0.1\n"
                     "HostKey " +
                     dir +
                     "/ssh_host_ed25519_key\n"
                     "PidFile " +
                     dir +
                     "/sshd.pid\n"
                     "AuthorizedKeysFile " +
                     dir +
                     "/authorized_keys\n"
                     "StrictModes no\n"
                     "UsePAM no\n"
                     "PasswordAuthentication yes\n"
                     "KbdInteractiveAuthentication yes\n"
                     "Subsystem sftp internal-sftp\n" +
                     m_options.join('\n') + "\n";
    if (!writeFile(dir + "/sshd_config", config.toUtf8()) ||
        !run("/usr/sbin/sshd", {"-t", "-f", dir + "/sshd_config"}, &output)) {
        m_error = "sshd refuses its configuration: " + output.toStdString();
        return false;
    }
    m_process = std::make_unique<QProcess>();
    if (startServerProcess(*m_process, "/usr/sbin/sshd",
                           {"-D", "-e", "-f", dir + "/sshd_config", "-p", QString::number(m_port)}, m_port, m_error))
        return true;
    stop();
    return false;
}

bool SshServer::authorizeKey(const std::string& publicKeyPath)
{
    QFile key(QString::fromStdString(publicKeyPath));
    QFile keys(m_dir->path() + "/authorized_keys");
    return key.open(QIODevice::ReadOnly) && keys.open(QIODevice::Append) && keys.write(key.readAll()) > 0;
}

void SshServer::cutConnections()
{
    // Each connection is a process of the listener's and one of the user's, which holds the
    // socket once logged in.
    if (m_process)
        run("pkill", {"-KILL", "-P", QString::number(m_process->processId())});
    if (!m_user.name().empty())
        run("pkill", {"-KILL", "-u", QString::fromStdString(m_user.name())});
}

void SshServer::stop()
{
    if (m_process && m_process->state() != QProcess::NotRunning) {
        cutConnections();
        m_process->terminate();
        if (!m_process->waitForFinished(3000)) {
            m_process->kill();
            m_process->waitForFinished(3000);
        }
    }
    m_process.reset();
    m_user.remove();
}

} // namespace testsupport
