#pragma once

// TLS as a client over a connected, non-blocking socket descriptor (OpenSSL). The socket
// drives it: the handshake is stepped from its readiness events, and once it is done, reads
// and writes go through it instead of the kernel's calls.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct ssl_st;
struct ssl_session_st;

// What a server's certificate says, for the user to judge one that could not be verified.
struct TTlsCertificate
{
    std::string Subject;
    std::string Issuer;
    std::string NotBefore;
    std::string NotAfter;
    std::string Fingerprint; // SHA-256 of the DER form, as "AB:CD:..."
    bool Verified = false;   // the system's trust store vouches for it and it names the host
    std::string VerifyError; // why not, when not
};

// The TLS sessions of one FTP login, which its data connections resume: servers refuse a data
// connection that does not resume the login's session. Each connection adds the sessions
// (TLS 1.3 tickets) the server sends it; the next connection resumes the newest.
class TTlsSessionCache
{
public:
    static constexpr size_t kMaxKept = 16;

    TTlsSessionCache() = default;
    ~TTlsSessionCache();
    TTlsSessionCache(const TTlsSessionCache&) = delete;
    TTlsSessionCache& operator=(const TTlsSessionCache&) = delete;

    // The session for the next connection to resume, null when there is none; it stays the
    // cache's.
    ssl_session_st* Take();
    // Takes over the reference.
    void Keep(ssl_session_st* session);

private:
    std::vector<ssl_session_st*> m_sessions; // newest last
};

class TTlsSession
{
public:
    enum class Step
    {
        Done,
        WantRead,
        WantWrite,
        Failed
    };

    // For a connection to hostName (a name or an address, checked against the certificate);
    // with a cache, a session of it is offered for resumption, and the sessions the server
    // gives this connection are kept in it.
    TTlsSession(int handle, const std::string& hostName, std::shared_ptr<TTlsSessionCache> cache);
    ~TTlsSession();
    TTlsSession(const TTlsSession&) = delete;
    TTlsSession& operator=(const TTlsSession&) = delete;

    Step Handshake();
    // Like recv/send on a non-blocking socket: bytes moved, 0 when the peer ended the stream
    // (Read only), -1 with wouldBlock telling whether to wait for readiness.
    int Read(void* buffer, int len, bool& wouldBlock);
    int Write(const void* data, int len, bool& wouldBlock);
    // Decrypted bytes held, not read yet.
    int Pending() const;
    // Sends the closing alert, without waiting for the peer's.
    void Shutdown();

    std::string Version() const;
    TTlsCertificate Certificate() const;
    // The SHA-256 fingerprint of the peer's certificate alone; empty without one.
    std::string Fingerprint() const;
    // The last failure, in words.
    const std::string& Error() const { return m_error; }

private:
    Step Failure(int result, const char* what);

    ssl_st* m_ssl = nullptr;
    std::shared_ptr<TTlsSessionCache> m_cache;
    bool m_established = false;
    std::string m_error;
};

// The version of the TLS library in use, as it names itself ("OpenSSL 3.0.17 1 Jul 2025").
std::string TlsLibraryVersion();
