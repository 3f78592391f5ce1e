#include "support/SocksServer.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <unistd.h>

#include "support/FtpServer.h"
#include "support/ServerProcess.h"

namespace testsupport {

namespace {

bool runQuietly(const QString& program, const QStringList& arguments, const QByteArray& input = {})
{
    QProcess process;
    process.start(program, arguments);
    if (!input.isEmpty())
        process.write(input);
    process.closeWriteChannel();
    return process.waitForFinished(10000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

} // namespace

SocksServer::SocksServer(SocksKind kind) : m_kind(kind), m_state(std::make_unique<QTemporaryDir>()) {}

SocksServer::~SocksServer()
{
    stop();
}

bool SocksServer::createUser()
{
    // One name per test process, so that tests running side by side do not share it.
    m_user = "quillsocks" + std::to_string(::getpid());
    m_password = "pw" + std::to_string(::getpid());
    QString user = QString::fromStdString(m_user);
    if (!runQuietly("useradd", {"-M", "-d", "/nonexistent", "-s", "/usr/sbin/nologin", user}))
        return false;
    m_userCreated = true;
    return runQuietly("chpasswd", {}, QByteArray::fromStdString(m_user + ":" + m_password + "\n"));
}

void SocksServer::deleteUser()
{
    if (m_userCreated)
        runQuietly("userdel", {QString::fromStdString(m_user)});
    m_userCreated = false;
}

bool SocksServer::start()
{
    m_port = closedLoopbackPort();
    QString program;
    QStringList arguments;
    if (m_kind == SocksKind::Microsocks) {
        m_user = "quill";
        m_password = "socks-secret";
        program = "/usr/bin/microsocks";
        arguments = {"-i", "127.0.0.1",
                     "-p", QString::number(m_port),
                     "-u", QString::fromStdString(m_user),
                     "-P", QString::fromStdString(m_password)};
    } else {
        if (m_kind == SocksKind::DanteWithPassword && (::geteuid() != 0 || !createUser())) {
            m_error = "cannot create the SOCKS test user (needs root)";
            return false;
        }
        QString method = m_kind == SocksKind::Dante ? "none" : "username";
        QString config = "logoutput: stderr\ninternal: 127.0.0.1 port = " + QString::number(m_port) +
                         "\nexternal: 127.0.0.1\nclientmethod: none\nsocksmethod: " + method +
                         "\nuser.privileged: root\nuser.unprivileged: nobody\n"
                         "client pass { from: 127.0.0.0/8 to: 127.0.0.0/8 }\n"
                         "socks pass { from: 127.0.0.0/8 to: 127.0.0.0/8 command: connect bind bindreply }\n";
        QFile file(m_state->path() + "/danted.conf");
        if (!file.open(QIODevice::WriteOnly) || file.write(config.toUtf8()) < 0) {
            m_error = "cannot write the dante configuration";
            return false;
        }
        file.close();
        program = "/usr/sbin/danted";
        arguments = {"-f", file.fileName(), "-p", m_state->path() + "/danted.pid"};
    }
    m_process = std::make_unique<QProcess>();
    if (startServerProcess(*m_process, program, arguments, m_port, m_error))
        return true;
    stop();
    return false;
}

void SocksServer::stop()
{
    if (m_process && m_process->state() != QProcess::NotRunning) {
        m_process->terminate();
        if (!m_process->waitForFinished(3000)) {
            m_process->kill();
            m_process->waitForFinished(3000);
        }
    }
    m_process.reset();
    deleteUser();
}

} // namespace testsupport
