#include "support/SocksServer.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <unistd.h>

#include "support/FtpServer.h"
#include "support/ServerProcess.h"
#include "support/SystemUser.h"

namespace testsupport {

SocksServer::SocksServer(SocksKind kind) : m_kind(kind), m_state(std::make_unique<QTemporaryDir>()) {}

SocksServer::~SocksServer()
{
    stop();
}

bool SocksServer::createUser()
{
    if (!m_account.create("quillsocks", "/usr/sbin/nologin"))
        return false;
    m_user = m_account.name();
    m_password = m_account.password();
    return true;
}

void SocksServer::deleteUser()
{
    m_account.remove();
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
