#include "support/FtpProxy.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QTcpSocket>
#include <QTemporaryDir>

#include "support/FtpServer.h"

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
    m_process->setProcessChannelMode(QProcess::MergedChannels);
    m_process->start("/usr/sbin/ftp-proxy", {"-d", "-n", "-f", file.fileName()});
    if (!m_process->waitForStarted(5000)) {
        m_error = "ftp-proxy did not start";
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
    m_error = "ftp-proxy does not accept connections: " + m_process->readAll().toStdString();
    return false;
}

} // namespace testsupport
