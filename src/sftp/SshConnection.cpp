#include "sftp/SshConnection.h"

#include <fstream>

#include <libssh/callbacks.h>
#include <libssh/libssh.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <sys/stat.h>

#include "net/CustomSocksWSocket.h"
#include "net/WSocketErrors.h"
#include "platform/SocketNotifier.h"
#include "platform/Timer.h"
#include "platform/Translate.h"

using platform::Fill;
using platform::Tr;

namespace sftp {
namespace {

std::string MethodNames(int methods)
{
    std::string names;
    auto add = [&](int bit, const char* name) {
        if (methods & bit)
            names += (names.empty() ? "" : ", ") + std::string(name);
    };
    add(SSH_AUTH_METHOD_PUBLICKEY, "publickey");
    add(SSH_AUTH_METHOD_PASSWORD, "password");
    add(SSH_AUTH_METHOD_INTERACTIVE, "keyboard-interactive");
    add(SSH_AUTH_METHOD_HOSTBASED, "hostbased");
    return names.empty() ? "none" : names;
}

} // namespace

std::string SshStepName(TSshStep step)
{
    switch (step) {
    case TSshStep::Connect:
        return Tr("Engine", "connect");
    case TSshStep::Handshake:
        return Tr("Engine", "SSH handshake");
    case TSshStep::HostKey:
        return Tr("Engine", "host key");
    case TSshStep::Authentication:
        return Tr("Engine", "authentication");
    case TSshStep::Channel:
        return Tr("Engine", "SFTP channel");
    case TSshStep::Transfer:
        return "SFTP";
    }
    return "SSH";
}

TSshConnection::TSshConnection() : m_timer(std::make_unique<platform::Timer>())
{
    m_timer->onTimeout = [this] {
        bool waiting = m_state != TState::Closed && m_state != TState::Ready && m_state != TState::AwaitingTrust;
        if (waiting && platform::tickCount() - m_stepStarted > m_params.TimeoutSeconds * 1000LL) {
            TSshStep step = m_state == TState::Connecting    ? TSshStep::Connect
                            : m_state == TState::Handshake   ? TSshStep::Handshake
                            : m_state >= TState::ChannelOpen ? TSshStep::Channel
                                                             : TSshStep::Authentication;
            Fail(step, Fill(Tr("Engine", "no answer in %1 seconds"), {std::to_string(m_params.TimeoutSeconds)}));
        }
    };
}

TSshConnection::~TSshConnection()
{
    *m_alive = false;
    Close();
}

void TSshConnection::Log(const std::string& line) const
{
    if (OnLog)
        OnLog(line);
}

void TSshConnection::Open(const TSshParams& params)
{
    Close();
    m_params = params;
    m_state = TState::Connecting;
    m_stepStarted = platform::tickCount();
    m_triedKeys = m_triedPassword = m_triedKeyboard = false;
    m_timer->start(500);
    m_socket = std::make_unique<TCustomSocksWSocket>();
    m_socket->SetAddr(params.Host);
    m_socket->SetPort(std::to_string(params.Port));
    if (!params.SocksServer.empty()) {
        m_socket->SetSocksServer(params.SocksServer);
        m_socket->SetSocksPort(params.SocksPort);
        m_socket->SetSocksLevel(params.SocksLevel.empty() ? "5" : params.SocksLevel);
        m_socket->SocksUsercode = params.SocksUser;
        m_socket->SocksPassword = params.SocksPassword;
        m_socket->SocksAuthentication = params.SocksUser.empty() ? socksNoAuthentication : socksAuthenticateUsercode;
    }
    // What the server sends once connected (its banner) stays in the kernel for libssh: the
    // socket reads nothing, and stops watching once connected.
    m_socket->OnDataAvailable = [](TCustomWSocket*, int) {};
    m_socket->OnSessionConnected = [this](TCustomWSocket* socket, int error) {
        if (error == 0)
            socket->Pause();
        // Handed over from the socket's own event: the socket goes once it has returned.
        m_posted.post([this, error] { SocketConnected(error); });
    };
    Log(Fill(Tr("Engine", "Connecting to %1 (SSH)"), {params.Host + ":" + std::to_string(params.Port)}));
    try {
        m_socket->Connect();
    } catch (const std::exception& e) {
        std::string reason = e.what();
        m_posted.post([this, reason] { Fail(TSshStep::Connect, reason); }); // from the loop, as any end
    }
}

void TSshConnection::SocketConnected(int error)
{
    if (m_state != TState::Connecting)
        return;
    if (error != 0) {
        Fail(TSshStep::Connect, WSocketErrorDesc(error));
        return;
    }
    std::string held;
    TSocket handle = m_socket->TakeHandle(held);
    m_socket.reset();
    if (handle == INVALID_SOCKET || !held.empty()) {
        if (handle != INVALID_SOCKET)
            ::close(handle);
        Fail(TSshStep::Connect, Tr("Engine", "the connection could not be handed to SSH"));
        return;
    }
    // Requests are small and answered one by one: none waits for the acknowledgement of the one
    // before it (Nagle), which would cost a delayed acknowledgement's 40 ms each.
    int noDelay = 1;
    ::setsockopt(handle, IPPROTO_TCP, TCP_NODELAY, &noDelay, sizeof noDelay);
    m_session = ssh_new();
    socket_t fd = handle;
    ssh_options_set(m_session, SSH_OPTIONS_FD, &fd);
    ssh_options_set(m_session, SSH_OPTIONS_HOST, m_params.Host.c_str());
    unsigned port = static_cast<unsigned>(m_params.Port);
    ssh_options_set(m_session, SSH_OPTIONS_PORT, &port);
    if (!m_params.User.empty())
        ssh_options_set(m_session, SSH_OPTIONS_USER, m_params.User.c_str());
    // Keys and known hosts from the given folder only; ~/.ssh/config is not read, so that
    // what connects is what the user typed.
    bool processConfig = false;
    ssh_options_set(m_session, SSH_OPTIONS_PROCESS_CONFIG, &processConfig);
    if (!m_params.SshDir.empty())
        ssh_options_set(m_session, SSH_OPTIONS_SSH_DIR, m_params.SshDir.c_str());
    ssh_set_blocking(m_session, 0);
    m_callbacks = std::make_unique<ssh_callbacks_struct>();
    *m_callbacks = {};
    m_callbacks->userdata = this;
    m_callbacks->auth_function = &TSshConnection::PassphraseFor;
    ssh_callbacks_init(m_callbacks.get());
    ssh_set_callbacks(m_session, m_callbacks.get());
    m_notifier = std::make_unique<platform::SocketNotifier>(handle);
    m_notifier->onReadable = [this] { Step(); };
    m_notifier->onWritable = [this] { Step(); };
    m_notifier->watchRead(true);
    m_state = TState::Handshake;
    m_stepStarted = platform::tickCount();
    Step();
}

void TSshConnection::Step()
{
    auto alive = m_alive;
    switch (m_state) {
    case TState::Closed:
    case TState::Connecting:
    case TState::AwaitingTrust:
        return;
    case TState::Handshake: {
        int rc = ssh_connect(m_session);
        if (rc == SSH_AGAIN)
            break;
        if (rc != SSH_OK) {
            Fail(TSshStep::Handshake, LibraryError());
            return;
        }
        CheckHostKey();
        return;
    }
    case TState::AuthNone:
        StepAuthentication(ssh_userauth_none(m_session, nullptr));
        return;
    case TState::AuthKey:
        StepAuthentication(ssh_userauth_publickey_auto(m_session, nullptr, nullptr));
        return;
    case TState::AuthPassword:
        StepAuthentication(ssh_userauth_password(m_session, nullptr, m_params.Password.c_str()));
        return;
    case TState::AuthKeyboard: {
        int rc = ssh_userauth_kbdint(m_session, nullptr, nullptr);
        // Each round of prompts is answered with the password where the answer is hidden
        // (the password prompt), left empty where it is not.
        for (int round = 0; rc == SSH_AUTH_INFO && round < 8; ++round) {
            int prompts = ssh_userauth_kbdint_getnprompts(m_session);
            for (int i = 0; i < prompts; ++i) {
                char echo = 0;
                ssh_userauth_kbdint_getprompt(m_session, static_cast<unsigned>(i), &echo);
                ssh_userauth_kbdint_setanswer(m_session, static_cast<unsigned>(i),
                                              echo ? "" : m_params.Password.c_str());
            }
            rc = ssh_userauth_kbdint(m_session, nullptr, nullptr);
        }
        StepAuthentication(rc);
        return;
    }
    case TState::ChannelOpen: {
        int rc = ssh_channel_open_session(m_channel);
        if (rc == SSH_AGAIN)
            break;
        if (rc != SSH_OK) {
            Fail(TSshStep::Channel, LibraryError());
            return;
        }
        m_state = TState::Subsystem;
        m_stepStarted = platform::tickCount();
        [[fallthrough]];
    }
    case TState::Subsystem: {
        int rc = ssh_channel_request_subsystem(m_channel, "sftp");
        if (rc == SSH_AGAIN)
            break;
        if (rc != SSH_OK) {
            Fail(TSshStep::Channel, Tr("Engine", "the server offers no SFTP subsystem: ") + LibraryError());
            return;
        }
        m_state = TState::Ready;
        Log("SFTP subsystem open");
        if (OnReady)
            OnReady();
        if (!*alive)
            return;
        break;
    }
    case TState::Ready:
        if (ssh_get_poll_flags(m_session) & SSH_WRITE_PENDING)
            ssh_blocking_flush(m_session, 0);
        if (Broken()) {
            Fail(TSshStep::Transfer, LibraryError());
            return;
        }
        if (OnActivity)
            OnActivity();
        if (!*alive)
            return;
        break;
    }
    Watch();
}

void TSshConnection::Watch()
{
    // Write readiness matters only while libssh holds bytes the socket did not take.
    if (m_notifier && m_session)
        m_notifier->watchWrite((ssh_get_poll_flags(m_session) & SSH_WRITE_PENDING) != 0);
}

// ---------------------------------------------------------------- host key

void TSshConnection::CheckHostKey()
{
    ssh_key key = nullptr;
    if (ssh_get_server_publickey(m_session, &key) != SSH_OK) {
        Fail(TSshStep::HostKey, LibraryError());
        return;
    }
    unsigned char* hash = nullptr;
    size_t length = 0;
    m_hostKey.Type = ssh_key_type_to_char(ssh_key_type(key)) ? ssh_key_type_to_char(ssh_key_type(key)) : "unknown";
    if (ssh_get_publickey_hash(key, SSH_PUBLICKEY_HASH_SHA256, &hash, &length) == SSH_OK) {
        char* text = ssh_get_fingerprint_hash(SSH_PUBLICKEY_HASH_SHA256, hash, length);
        m_hostKey.Fingerprint = text ? text : "";
        ssh_string_free_char(text);
        ssh_clean_pubkey_hash(&hash);
    }
    ssh_key_free(key);
    Log(Fill(Tr("Engine", "Host key %1"), {m_hostKey.Type + " " + m_hostKey.Fingerprint}));
    std::string changedWhere;
    if (KeyIsKnown(changedWhere)) {
        Trusted(TTrust::Once);
        return;
    }
    if (!changedWhere.empty()) {
        Fail(TSshStep::HostKey,
             Fill(Tr("Engine", "the host key of %1 has changed: it showed %2, not the key kept for it in %3; "
                               "if the server's key really changed, remove that line"),
                  {m_params.Host, m_hostKey.Type + " " + m_hostKey.Fingerprint, changedWhere}));
        return;
    }
    if (!m_params.TrustedFingerprint.empty()) {
        if (m_params.TrustedFingerprint == m_hostKey.Fingerprint)
            Trusted(TTrust::Once);
        else
            Fail(TSshStep::HostKey, Fill(Tr("Engine", "the host key %1 is not the one trusted (%2)"),
                                         {m_hostKey.Fingerprint, m_params.TrustedFingerprint}));
        return;
    }
    if (!OnUnknownHostKey) {
        Fail(TSshStep::HostKey, Fill(Tr("Engine", "the host key %1 is unknown; to trust it, give --trust %2"),
                                     {m_hostKey.Type + " " + m_hostKey.Fingerprint, m_hostKey.Fingerprint}));
        return;
    }
    m_state = TState::AwaitingTrust;
    auto alive = std::weak_ptr<bool>(m_alive);
    OnUnknownHostKey(m_hostKey, [this, alive](TTrust trust) {
        if (auto token = alive.lock(); token && *token && m_state == TState::AwaitingTrust)
            Trusted(trust);
    });
}

bool TSshConnection::KeyIsKnown(std::string& changedWhere)
{
    // Both files are read line by line, so that a changed key can be named by file and line.
    ssh_key key = nullptr;
    if (ssh_get_server_publickey(m_session, &key) != SSH_OK)
        return false;
    std::string host = m_params.Port == 22 ? m_params.Host : "[" + m_params.Host + "]:" + std::to_string(m_params.Port);
    bool known = false;
    std::string userFile = m_params.SshDir.empty() ? std::string() : m_params.SshDir + "/known_hosts";
    for (const std::string& file : {userFile, m_params.OwnKnownHosts}) {
        if (file.empty())
            continue;
        std::ifstream in(file);
        std::string line;
        for (int number = 1; !known && std::getline(in, line); ++number) {
            if (line.empty() || line[0] == '#' || line[0] == '@')
                continue;
            ssh_knownhosts_entry* entry = nullptr;
            if (ssh_known_hosts_parse_line(host.c_str(), line.c_str(), &entry) == SSH_OK && entry && entry->publickey) {
                if (ssh_key_cmp(key, entry->publickey, SSH_KEY_CMP_PUBLIC) == 0)
                    known = true;
                else if (ssh_key_type(entry->publickey) == ssh_key_type(key) && changedWhere.empty())
                    changedWhere = file + " line " + std::to_string(number);
            }
            ssh_knownhosts_entry_free(entry);
        }
        if (known)
            break;
    }
    ssh_key_free(key);
    return known;
}

void TSshConnection::Trusted(TTrust trust)
{
    if (trust == TTrust::Refuse) {
        Fail(TSshStep::HostKey, Fill(Tr("Engine", "the host key %1 was not trusted"), {m_hostKey.Fingerprint}));
        return;
    }
    if (trust == TTrust::Always && !m_params.OwnKnownHosts.empty()) {
        char* line = nullptr;
        if (ssh_session_export_known_hosts_entry(m_session, &line) == SSH_OK && line) {
            std::ofstream out(m_params.OwnKnownHosts, std::ios::app);
            out << line << "\n";
            ::chmod(m_params.OwnKnownHosts.c_str(), 0600);
            ssh_string_free_char(line);
        }
    }
    m_state = TState::AuthNone;
    m_stepStarted = platform::tickCount();
    Step();
}

// ---------------------------------------------------------------- authentication

int TSshConnection::PassphraseFor(const char* /*prompt*/, char* buffer, size_t length, int /*echo*/, int /*verify*/,
                                  void* self)
{
    auto* connection = static_cast<TSshConnection*>(self);
    if (!connection->m_params.AskPassphrase || length == 0)
        return -1;
    char* identity = nullptr;
    std::string key;
    if (ssh_userauth_publickey_auto_get_current_identity(connection->m_session, &identity) == SSH_OK && identity) {
        key = identity;
        ssh_string_free_char(identity);
    }
    std::string passphrase = connection->m_params.AskPassphrase(key);
    if (passphrase.empty() || passphrase.size() >= length)
        return -1;
    std::copy(passphrase.begin(), passphrase.end(), buffer);
    buffer[passphrase.size()] = '\0';
    return 0;
}

void TSshConnection::StepAuthentication(int result)
{
    if (result == SSH_AUTH_AGAIN) {
        Watch();
        return;
    }
    if (result == SSH_AUTH_SUCCESS) {
        Log(Tr("Engine", "Logged in as ") + m_params.User);
        m_channel = ssh_channel_new(m_session);
        m_state = TState::ChannelOpen;
        m_stepStarted = platform::tickCount();
        Step();
        return;
    }
    if (result == SSH_AUTH_ERROR) {
        Fail(TSshStep::Authentication, LibraryError());
        return;
    }
    if (m_state == TState::AuthNone)
        m_methods = ssh_userauth_list(m_session, nullptr);
    NextAuthentication();
}

void TSshConnection::NextAuthentication()
{
    bool password = !m_params.Password.empty();
    if (!m_triedKeys && (m_methods & SSH_AUTH_METHOD_PUBLICKEY)) {
        m_triedKeys = true;
        m_state = TState::AuthKey;
    } else if (!m_triedPassword && password && (m_methods & SSH_AUTH_METHOD_PASSWORD)) {
        m_triedPassword = true;
        m_state = TState::AuthPassword;
    } else if (!m_triedKeyboard && password && (m_methods & SSH_AUTH_METHOD_INTERACTIVE)) {
        m_triedKeyboard = true;
        m_state = TState::AuthKeyboard;
    } else {
        Fail(TSshStep::Authentication,
             Fill(password ? Tr("Engine", "the server refused the login of %1 (it takes: %2)")
                           : Tr("Engine", "the server refused the login of %1 (it takes: %2; no password was given)"),
                  {m_params.User, MethodNames(m_methods)}));
        return;
    }
    m_stepStarted = platform::tickCount();
    Step();
}

// ---------------------------------------------------------------- the channel's bytes

int TSshConnection::Read(char* buffer, int size)
{
    if (m_state != TState::Ready)
        return -1;
    // A read asking for more than the channel's window holds opens the window that far first
    // (the non-blocking read asks only for what is there, and the window would open only once
    // spent): the server keeps sending while the requests are on their way.
    int got = ssh_channel_read_timeout(m_channel, buffer, static_cast<uint32_t>(size), 0, 0);
    if (got == SSH_AGAIN)
        got = 0;
    if (got > 0)
        return got;
    if (got < 0 || ssh_channel_is_eof(m_channel) || ssh_channel_is_closed(m_channel) || Broken()) {
        m_notifier.reset(); // libssh may have closed the handle already
        return -1;
    }
    return 0;
}

int TSshConnection::Write(const char* data, int size)
{
    if (m_state != TState::Ready)
        return -1;
    uint32_t room = ssh_channel_window_size(m_channel);
    if (room == 0) {
        // The window opens when the peer says so, which reading brings in.
        ssh_channel_poll(m_channel, 0);
        room = ssh_channel_window_size(m_channel);
        if (room == 0)
            return 0;
    }
    int wrote = ssh_channel_write(m_channel, data, std::min<uint32_t>(room, static_cast<uint32_t>(size)));
    if (wrote == SSH_ERROR || Broken()) {
        // The connection broke under the write (libssh closed the handle): it ends from the
        // event loop, not from inside the writer's call.
        m_notifier.reset();
        std::string reason = LibraryError();
        m_posted.post([this, reason] { Fail(TSshStep::Transfer, reason); });
        return -1;
    }
    Watch();
    return wrote;
}

// ---------------------------------------------------------------- the end

bool TSshConnection::Broken() const
{
    return (ssh_get_status(m_session) & (SSH_CLOSED | SSH_CLOSED_ERROR)) != 0;
}

std::string TSshConnection::LibraryError() const
{
    const char* text = m_session ? ssh_get_error(m_session) : nullptr;
    return text && *text ? text : Tr("Engine", "the SSH library failed");
}

void TSshConnection::Fail(TSshStep step, const std::string& reason)
{
    if (m_state == TState::Closed)
        return;
    Log(Fill(Tr("Engine", "! SSH %1 failed: %2"), {SshStepName(step), reason}));
    Close();
    if (OnFailed)
        OnFailed(step, reason);
}

void TSshConnection::Close()
{
    m_timer->stop();
    m_posted.cancelPending();
    m_notifier.reset();
    m_socket.reset();
    if (m_channel) {
        ssh_channel_free(m_channel);
        m_channel = nullptr;
    }
    if (m_session) {
        ssh_disconnect(m_session); // closes the handle it was given
        ssh_free(m_session);
        m_session = nullptr;
    }
    m_state = TState::Closed;
}

std::string SshLibraryVersion()
{
    return ssh_version(0);
}

} // namespace sftp
