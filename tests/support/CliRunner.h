#pragma once

// quillftp-cli run as a process against a server the test started, with its own data and local
// directories.

#include <functional>
#include <string>

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include "support/FtpServer.h"
#include "support/TestTree.h"

namespace testsupport {

struct CliResult
{
    int status = -1; // -1: killed or crashed
    std::string out;
    std::string err;
    int64_t milliseconds = 0;
    // Standard error without the warning of a password in the address (the tests' addresses
    // hold one).
    std::string errorText() const
    {
        size_t end = err.find('\n');
        return err.rfind("quillftp-cli: warning: a password in the address", 0) == 0 && end != std::string::npos
                   ? err.substr(end + 1)
                   : err;
    }
};

class CliRunner
{
public:
    explicit CliRunner(FtpServer& server) : m_server(&server) {}
    // For a server of another kind (SSH): url() is not for it.
    CliRunner() = default;
    // The environment the program runs in (HOME for its SSH keys, say).
    void setEnvironment(const QProcessEnvironment& environment) { m_environment = environment; }
    // The language the program speaks (LANG; the other locale variables are cleared): English
    // unless a test asks for another, whatever the machine's.
    void setLanguage(const QString& language) { m_language = language; }
    // What the program reads on its standard input (closed after it).
    void setInput(const std::string& input) { m_input = input; }

    // Runs the program to its end (killed after timeoutMs); setup runs in the child before it
    // starts (limits, say).
    CliResult run(const QStringList& arguments, int timeoutMs = 60000, std::function<void()> setup = nullptr);
    // Starts it without waiting.
    void start(QProcess& process, const QStringList& arguments);

    QString url(const std::string& path, const std::string& password = FtpServer::kPassword) const
    {
        return QString::fromStdString("ftp://" + m_server->user() + ":" + password + "@" + m_server->urlHost() + ":" +
                                      m_server->portText() + path);
    }
    std::string local() const { return m_local.path().toStdString() + "/"; }
    std::string remote() const { return m_server->localWorkDir() + "/"; }
    std::string dataDir() const { return m_data.path().toStdString() + "/"; }
    // The local and the remote file are there and the same, byte for byte.
    bool same(const std::string& localPath, const std::string& remotePath) const
    {
        std::string hash = fileHash(localPath);
        return !hash.empty() && hash == fileHash(remotePath);
    }

private:
    FtpServer* m_server = nullptr;
    QProcessEnvironment m_environment = QProcessEnvironment::systemEnvironment();
    QString m_language = "C.UTF-8";
    std::string m_input;
    QTemporaryDir m_data;
    QTemporaryDir m_local;
};

} // namespace testsupport
