#pragma once

// What the connection manager needs of the main window: the session state, the settings, the
// log, and the two completion steps of every remote operation. The main window implements it;
// tests use a recording one.

#include <cstdint>
#include <string>

#include "config/Settings.h"
#include "ftp/CustomFtpCli.h"
#include "manager/OperationResult.h"

enum TSessionState : uint8_t
{
    ssReady = 0,
    ssConnecting = 1,
    ssConnected = 2,
    ssChangingDir = 3,
    ssPreparing = 4,
    ssTransfering = 5,
    ssMakingUploadDirs = 6,
    ssRefreshing = 7,
    ssMakingDir = 8,
    ssEditing = 9,
    ssMoving = 10,
    ssDeleting = 11,
    ssChangingMode = 12,
    ssRenaming = 13
};

class IManagerHost
{
public:
    virtual ~IManagerHost() = default;

    // The two ends of every remote operation, with how it went.
    virtual void OperationDone(const TOperationResult& result) = 0;
    virtual void OperationFailed(const TOperationResult& result) = 0;
    virtual TSessionState SessionState() const = 0;
    virtual void SetSessionState(TSessionState state) = 0;
    // A transfer run in the background is using connections 1..N-1.
    virtual bool TransfersRunning() const = 0;
    virtual const TSettings& Settings() const = 0;
    // One line for a connection's log page.
    virtual void ShowLogLine(int connection, const std::string& line) = 0;
    // The user's word on a server certificate that nothing vouches for.
    virtual TCertificateChoice AskCertificate(const std::string& /*site*/, const TTlsCertificate& /*certificate*/)
    {
        return TCertificateChoice::Cancel;
    }
    // The file of the certificates trusted always; empty when none are kept.
    virtual std::string CertificateTrustFile() const { return {}; }
    // The user's word on an SSH host key that no known_hosts file holds.
    virtual TCertificateChoice AskHostKey(const std::string& /*site*/, const std::string& /*type*/,
                                          const std::string& /*fingerprint*/)
    {
        return TCertificateChoice::Cancel;
    }
    // The passphrase of an SSH key file; empty passes the key over.
    virtual std::string AskPassphrase(const std::string& /*keyPath*/) { return {}; }
    // The user's SSH folder (keys, known_hosts) and the program's own known hosts file.
    virtual std::string SshDir() const { return {}; }
    virtual std::string KnownHostsFile() const { return {}; }
};
