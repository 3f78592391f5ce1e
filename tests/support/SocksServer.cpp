#include "support/SocksServer.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QTcpSocket>
#include <QTemporaryDir>

#include <unistd.h>

#include "support/FtpServer.h"

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
    m_process->setProcessChannelMode(QProcess::MergedChannels);
    m_process->start(program, arguments);
    if (!m_process->waitForStarted(5000)) {
        m_error = program.toStdString() + " did not start";
        return false;
    }
    QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired() && m_process->state() == QProcess::Running) {
        QTcpSocket probe;
        probe.connectToHost("127.0.0.1", static_cast<quint16>(m_port));
        if (probe.waitForConnected(200))
            return true;
        m_process->waitForFinished(50);
    }
    m_error = program.toStdString() + " does not accept connections: " + m_process->readAll().toStdString();
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
