#pragma once

// OpenSSH's sshd on a free 127.0.0.1 port for one test: its own host key, configuration and
// throw-away user (password, key and keyboard-interactive logins), the user's home as the
// remote root, stopped with the user removed when the object goes. Needs root.

#include <memory>
#include <string>

#include <QStringList>

#include "support/SystemUser.h"

class QProcess;
class QTemporaryDir;

namespace testsupport {

class SshServer
{
public:
    SshServer();
    ~SshServer();
    SshServer(const SshServer&) = delete;
    SshServer& operator=(const SshServer&) = delete;

    // Lines added to the configuration, set before start() ("PasswordAuthentication no").
    void setOptions(QStringList lines) { m_options = std::move(lines); }
    bool start();
    void stop();
    // Ends every connection the server holds (its session processes), the listener stays.
    void cutConnections();
    const std::string& error() const { return m_error; }

    int port() const { return m_port; }
    const std::string& user() const { return m_user.name(); }
    const std::string& password() const { return m_user.password(); }
    // The user's home on the local disk, where an SFTP login starts.
    std::string home() const;
    // A folder like ~/.ssh with the client key the server takes (id_ed25519, no passphrase)
    // and no known_hosts.
    std::string clientSshDir() const;
    // Another key the user logs in with (its .pub file).
    bool authorizeKey(const std::string& publicKeyPath);
    // "SHA256:..." of the host key, as ssh-keygen -l shows it.
    const std::string& fingerprint() const { return m_fingerprint; }
    // The known_hosts line for this server ("[127.0.0.1]:PORT ssh-ed25519 AAAA...").
    std::string knownHostsLine() const;

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<QProcess> m_process;
    SystemUser m_user;
    QStringList m_options;
    int m_port = 0;
    std::string m_fingerprint;
    std::string m_error;
};

} // namespace testsupport
