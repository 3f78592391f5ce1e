#include "support/ServerProcess.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QTcpSocket>

namespace testsupport {

bool startServerProcess(QProcess& process, const QString& program, const QStringList& arguments, int port,
                        std::string& error)
{
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForStarted(5000)) {
        error = program.toStdString() + " did not start: " + process.errorString().toStdString();
        return false;
    }
    return waitForPort(process, port, error);
}

bool waitForPort(QProcess& process, int port, std::string& error, const QString& host)
{
    QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired() && process.state() == QProcess::Running) {
        QTcpSocket probe;
        probe.connectToHost(host, static_cast<quint16>(port));
        if (probe.waitForConnected(200)) {
            probe.waitForReadyRead(2000); // a greeting, where the server sends one
            return true;
        }
        process.waitForFinished(50);
    }
    error = process.program().toStdString() + " does not accept connections: " + process.readAll().toStdString();
    return false;
}

} // namespace testsupport
