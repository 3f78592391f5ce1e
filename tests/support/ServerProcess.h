#pragma once

#include <string>

#include <QStringList>

class QProcess;

namespace testsupport {

// Starts a server and waits until it accepts connections on 127.0.0.1:port; false with the
// reason in error otherwise (the process is left to its owner to stop).
// Waits until a running server accepts connections on host:port (and sends its greeting,
// where it has one); false with the reason in error when it stops or the time runs out.
bool waitForPort(QProcess& process, int port, std::string& error, const QString& host = "127.0.0.1");

bool startServerProcess(QProcess& process, const QString& program, const QStringList& arguments, int port,
                        std::string& error);

} // namespace testsupport
