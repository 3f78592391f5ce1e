#pragma once

// A real FTP server (python3-pyftpdlib) on a free 127.0.0.1 port with a temporary root,
// started for one test and stopped when the object goes.

#include <memory>
#include <string>

class QProcess;
class QTemporaryDir;

namespace testsupport {

class FtpServer
{
public:
    static constexpr const char* kUser = "quill";
    static constexpr const char* kPassword = "feather";

    FtpServer();
    ~FtpServer();
    FtpServer(const FtpServer&) = delete;
    FtpServer& operator=(const FtpServer&) = delete;

    // Starts the server; false (with the reason in error()) when it did not come up.
    bool start();
    void stop();

    int port() const { return m_port; }
    std::string portText() const { return std::to_string(m_port); }
    // The directory the server shares.
    std::string root() const;
    const std::string& error() const { return m_error; }

private:
    std::unique_ptr<QTemporaryDir> m_root;
    std::unique_ptr<QProcess> m_process;
    int m_port = 0;
    std::string m_error;
};

// A 127.0.0.1 port on which nothing listens.
int closedLoopbackPort();

} // namespace testsupport
