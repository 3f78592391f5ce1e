#include "support/FtpServer.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QTemporaryDir>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace testsupport {

namespace {

// Debian's python3-pyftpdlib belongs to the system interpreter; the python3 first on PATH
// may be another one.
const char* const kPython = "/usr/bin/python3";

} // namespace

FtpServer::FtpServer() : m_root(std::make_unique<QTemporaryDir>()) {}

FtpServer::~FtpServer()
{
    stop();
}

std::string FtpServer::root() const
{
    return m_root->path().toStdString();
}

bool FtpServer::start()
{
    m_process = std::make_unique<QProcess>();
    m_process->setProcessChannelMode(QProcess::MergedChannels);
    m_process->start(kPython, {"-m", "pyftpdlib", "-i", "127.0.0.1", "-p", "0", "-d", m_root->path(), "-u", kUser, "-P",
                               kPassword, "-w"});
    if (!m_process->waitForStarted(5000)) {
        m_error = "pyftpdlib did not start: " + m_process->errorString().toStdString();
        return false;
    }
    QRegularExpression started("starting FTP server on 127\\.0\\.0\\.1:(\\d+)");
    QByteArray output;
    QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired()) {
        m_process->waitForReadyRead(100);
        output += m_process->readAll();
        auto match = started.match(QString::fromUtf8(output));
        if (match.hasMatch()) {
            m_port = match.captured(1).toInt();
            break;
        }
        if (m_process->state() != QProcess::Running)
            break;
    }
    if (m_port == 0) {
        m_error = "pyftpdlib gave no port: " + output.toStdString();
        stop();
        return false;
    }
    // Wait until it accepts connections.
    while (!deadline.hasExpired()) {
        QTcpSocket probe;
        probe.connectToHost("127.0.0.1", static_cast<quint16>(m_port));
        if (probe.waitForConnected(200))
            return true;
    }
    m_error = "pyftpdlib does not accept connections";
    stop();
    return false;
}

void FtpServer::stop()
{
    if (!m_process)
        return;
    if (m_process->state() != QProcess::NotRunning) {
        m_process->terminate();
        if (!m_process->waitForFinished(3000)) {
            m_process->kill();
            m_process->waitForFinished(3000);
        }
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
