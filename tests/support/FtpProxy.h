#pragma once

// A real FTP proxy (Debian's ftp-proxy) on a free 127.0.0.1 port, for one test: it takes
// "USER user@host:port" and, without a host in the user name, goes to its fixed destination.

#include <memory>
#include <string>

class QProcess;
class QTemporaryDir;

namespace testsupport {

class FtpProxy
{
public:
    explicit FtpProxy(int destinationPort);
    ~FtpProxy();
    FtpProxy(const FtpProxy&) = delete;
    FtpProxy& operator=(const FtpProxy&) = delete;

    bool start();
    int port() const { return m_port; }
    std::string portText() const { return std::to_string(m_port); }
    const std::string& error() const { return m_error; }

private:
    int m_destinationPort;
    std::unique_ptr<QTemporaryDir> m_state;
    std::unique_ptr<QProcess> m_process;
    int m_port = 0;
    std::string m_error;
};

} // namespace testsupport
