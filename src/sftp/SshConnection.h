#pragma once

// One SSH connection with the "sftp" subsystem open on a channel, driven by the event loop.
// The TCP connection is the program's own socket (directly or through SOCKS), handed to
// libssh once connected; libssh runs non-blocking on it and every readiness of the handle,
// every timer tick and every answer of the user moves the connection one step on: handshake,
// host key, authentication, channel, subsystem. Then the channel's bytes go in and out here.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/EventLoop.h"

struct ssh_session_struct;
struct ssh_channel_struct;
struct ssh_callbacks_struct;
class TCustomSocksWSocket;

namespace platform {
class SocketNotifier;
class Timer;
} // namespace platform

namespace sftp {

struct TSshParams
{
    std::string Host;
    int Port = 22;
    std::string User;
    std::string Password; // for password and keyboard-interactive logins; empty: keys only
    std::string SshDir;   // the user's keys and known_hosts ("~/.ssh")
    // The program's own known hosts, where "trust always" writes.
    std::string OwnKnownHosts;
    // A key accepted without asking ("SHA256:..."), as given on a command line.
    std::string TrustedFingerprint;
    int TimeoutSeconds = 30;
    // The passphrase of a key file (its path), asked when the key is to be used; empty: the
    // key is passed over. No function: keys with a passphrase are passed over.
    std::function<std::string(const std::string& keyPath)> AskPassphrase;
    // SOCKS 4, 4A or 5 on the way, when SocksServer is set.
    std::string SocksServer, SocksPort, SocksLevel, SocksUser, SocksPassword;
};

// The step a connection failed at, for messages and exit statuses.
enum class TSshStep : uint8_t
{
    Connect,
    Handshake,
    HostKey,
    Authentication,
    Channel,
    Transfer // a failure once the channel was open
};

std::string SshStepName(TSshStep step);

struct THostKey
{
    std::string Type;        // "ssh-ed25519" ...
    std::string Fingerprint; // "SHA256:..."
};

enum class TTrust : uint8_t
{
    Refuse,
    Once,
    Always
};

class TSshConnection
{
public:
    // An unknown host key: the answer may come later (a dialog); no handler refuses it.
    std::function<void(const THostKey& key, std::function<void(TTrust)> answer)> OnUnknownHostKey;
    std::function<void()> OnReady;
    // The connection failed or broke; it is closed.
    std::function<void(TSshStep step, const std::string& reason)> OnFailed;
    // The channel has bytes to read, or room to write again.
    std::function<void()> OnActivity;
    std::function<void(const std::string& line)> OnLog;

    TSshConnection();
    ~TSshConnection();
    TSshConnection(const TSshConnection&) = delete;
    TSshConnection& operator=(const TSshConnection&) = delete;

    void Open(const TSshParams& params);
    void Close();
    bool Ready() const { return m_state == TState::Ready; }

    // Bytes of the channel: what was read (0: none now; -1: the channel ended), what was taken
    // to send (it may be less than offered while the peer's window is full).
    int Read(char* buffer, int size);
    int Write(const char* data, int size);
    // The key the server showed, once past the handshake.
    const THostKey& HostKey() const { return m_hostKey; }

private:
    enum class TState : uint8_t
    {
        Closed,
        Connecting,
        Handshake,
        AwaitingTrust,
        AuthNone,
        AuthKey,
        AuthPassword,
        AuthKeyboard,
        ChannelOpen,
        Subsystem,
        Ready
    };

    void SocketConnected(int error);
    void Step();
    void CheckHostKey();
    bool KeyIsKnown(std::string& changedWhere);
    void Trusted(TTrust trust);
    void NextAuthentication();
    void StepAuthentication(int result);
    void Fail(TSshStep step, const std::string& reason);
    std::string LibraryError() const;
    // libssh met the connection's end (and closed its handle).
    bool Broken() const;
    void Watch();
    void Log(const std::string& line) const;

    TSshParams m_params;
    TState m_state = TState::Closed;
    std::unique_ptr<TCustomSocksWSocket> m_socket;
    ssh_session_struct* m_session = nullptr;
    ssh_channel_struct* m_channel = nullptr;
    std::unique_ptr<platform::SocketNotifier> m_notifier;
    std::unique_ptr<platform::Timer> m_timer;
    int64_t m_stepStarted = 0;
    int m_methods = 0;
    bool m_triedKeys = false;
    bool m_triedPassword = false;
    bool m_triedKeyboard = false;
    THostKey m_hostKey;
    // libssh's callbacks (the passphrase of a key), kept for the session's life.
    std::unique_ptr<::ssh_callbacks_struct> m_callbacks;
    static int PassphraseFor(const char* prompt, char* buffer, size_t length, int echo, int verify, void* self);
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
    platform::PostTarget m_posted;
};

// The version of the SSH library in use ("0.10.6").
std::string SshLibraryVersion();

} // namespace sftp
