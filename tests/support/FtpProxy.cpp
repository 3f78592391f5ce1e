#include "support/FtpProxy.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "support/FtpServer.h"
#include "support/ServerProcess.h"

namespace testsupport {

FtpProxy::FtpProxy(int destinationPort) : m_destinationPort(destinationPort), m_state(std::make_unique<QTemporaryDir>())
{
}

FtpProxy::~FtpProxy()
{
    if (m_process && m_process->state() != QProcess::NotRunning) {
        m_process->terminate();
        if (!m_process->waitForFinished(3000))
            m_process->kill();
        m_process->waitForFinished(3000);
    }
}

bool FtpProxy::start()
{
    m_port = closedLoopbackPort();
    // Without a ForkLimit this high the proxy drops connections beyond 40 a minute.
    QString config = "[-Global-]\nServerType standalone\nListen 127.0.0.1\nPort " + QString::number(m_port) +
                     "\nDestinationAddress 127.0.0.1\nDestinationPort " + QString::number(m_destinationPort) +
                     "\nAllowMagicUser yes\nForkLimit 100000\nMaxClients 512\nTimeOut 60\nLogDestination " +
                     m_state->path() + "/ftp-proxy.log\n";
    QFile file(m_state->path() + "/ftp-proxy.conf");
    if (!file.open(QIODevice::WriteOnly) || file.write(config.toUtf8()) < 0) {
        m_error = "cannot write the ftp-proxy configuration";
        return false;
    }
    file.close();
    m_process = std::make_unique<QProcess>();
    return startServerProcess(*m_process, "/usr/sbin/ftp-proxy", {"-d", "-n", "-f", file.fileName()}, m_port, m_error);
}

} // namespace testsupport
