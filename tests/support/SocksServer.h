#pragma once

// Real SOCKS servers on a free 127.0.0.1 port, started for one test and stopped with it:
// dante (SOCKS 4 and 5, with or without user name and password) and microsocks (SOCKS 5).

#include <memory>
#include <string>

#include "support/SystemUser.h"

class QProcess;
class QTemporaryDir;

namespace testsupport {

enum class SocksKind
{
    Dante,             // no authentication
    DanteWithPassword, // a throw-away system user, since dante checks the system's passwords
    Microsocks         // user name and password of its own
};

class SocksServer
{
public:
    explicit SocksServer(SocksKind kind);
    ~SocksServer();
    SocksServer(const SocksServer&) = delete;
    SocksServer& operator=(const SocksServer&) = delete;

    bool start();
    void stop();

    int port() const { return m_port; }
    std::string portText() const { return std::to_string(m_port); }
    // Empty when the server wants no authentication.
    const std::string& user() const { return m_user; }
    const std::string& password() const { return m_password; }
    const std::string& error() const { return m_error; }

private:
    bool createUser();
    void deleteUser();

    SocksKind m_kind;
    std::unique_ptr<QTemporaryDir> m_state;
    std::unique_ptr<QProcess> m_process;
    int m_port = 0;
    std::string m_user;
    std::string m_password;
    SystemUser m_account; // dante's password logins are the machine's accounts
    std::string m_error;
};

} // namespace testsupport
