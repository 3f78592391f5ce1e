#include "net/TlsSession.h"
#include "platform/Translate.h"

using platform::Tr;

#include <arpa/inet.h>
#include <openssl/crypto.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>

#include <array>
#include <cstdio>
#include <functional>

namespace {

int cacheIndex()
{
    static const int index = SSL_get_ex_new_index(0, nullptr, nullptr, nullptr, nullptr);
    return index;
}

// A server sends tickets after the handshake, and again on data connections: the newest is
// the one to resume next.
int keepNewSession(SSL* ssl, SSL_SESSION* session)
{
    auto* cache = static_cast<TTlsSessionCache*>(SSL_get_ex_data(ssl, cacheIndex()));
    if (!cache)
        return 0;
    cache->Keep(session);
    return 1; // the cache holds the reference now
}

// One context for the whole program: loading the system's trust store once is enough.
SSL_CTX* clientContext()
{
    static SSL_CTX* const context = [] {
        SSL_CTX* made = SSL_CTX_new(TLS_client_method());
        SSL_CTX_set_default_verify_paths(made);
        // Verification runs in every handshake and its result is judged afterwards, so that an
        // unknown certificate can be shown to the user instead of just failing.
        SSL_CTX_set_verify(made, SSL_VERIFY_NONE, nullptr);
        SSL_CTX_set_mode(made, SSL_MODE_ENABLE_PARTIAL_WRITE | SSL_MODE_ACCEPT_MOVING_WRITE_BUFFER);
        // A stream cut without the closing alert reads as its end: whether a transfer is
        // complete is the server's reply's to say, and many servers close without the alert.
        SSL_CTX_set_options(made, SSL_OP_IGNORE_UNEXPECTED_EOF);
        SSL_CTX_set_session_cache_mode(made, SSL_SESS_CACHE_CLIENT | SSL_SESS_CACHE_NO_INTERNAL_STORE);
        SSL_CTX_sess_set_new_cb(made, keepNewSession);
        // TLS 1.2 at most: FTP servers check that each data connection resumes the login's
        // session, and under TLS 1.3 they do not manage it reliably (tickets taken once, none
        // sent on a data connection they only read from, uploads to vsftpd failing now and
        // then). TLS 1.2 resumes by session id, as often as needed.
        SSL_CTX_set_max_proto_version(made, TLS1_2_VERSION);
        return made;
    }();
    return context;
}

bool isAddressLiteral(const std::string& host)
{
    std::array<unsigned char, 16> bytes{};
    return inet_pton(AF_INET, host.c_str(), bytes.data()) == 1 || inet_pton(AF_INET6, host.c_str(), bytes.data()) == 1;
}

// What print writes into a memory BIO, as text.
std::string printed(const std::function<void(BIO*)>& print)
{
    BIO* out = BIO_new(BIO_s_mem());
    print(out);
    char* data = nullptr;
    long length = BIO_get_mem_data(out, &data);
    std::string text(data, static_cast<size_t>(length));
    BIO_free(out);
    return text;
}

std::string nameText(const X509_NAME* name)
{
    return printed([name](BIO* out) { X509_NAME_print_ex(out, name, 0, XN_FLAG_ONELINE & ~ASN1_STRFLGS_ESC_MSB); });
}

std::string timeText(const ASN1_TIME* time)
{
    return printed([time](BIO* out) { ASN1_TIME_print(out, time); });
}

std::string fingerprint(X509* certificate)
{
    std::array<unsigned char, EVP_MAX_MD_SIZE> digest{};
    unsigned int length = 0;
    X509_digest(certificate, EVP_sha256(), digest.data(), &length);
    std::string text;
    for (unsigned int i = 0; i < length; ++i) {
        std::array<char, 4> hex{};
        std::snprintf(hex.data(), hex.size(), i == 0 ? "%02X" : ":%02X", digest[i]);
        text += hex.data();
    }
    return text;
}

} // namespace

// ---------------------------------------------------------------- session cache

TTlsSessionCache::~TTlsSessionCache()
{
    for (SSL_SESSION* session : m_sessions)
        SSL_SESSION_free(session);
}

SSL_SESSION* TTlsSessionCache::Take()
{
    while (!m_sessions.empty()) {
        SSL_SESSION* newest = m_sessions.back();
        // A connection that ended without its closing alert leaves its session unusable.
        if (SSL_SESSION_is_resumable(newest))
            return newest;
        SSL_SESSION_free(newest);
        m_sessions.pop_back();
    }
    return nullptr;
}

void TTlsSessionCache::Keep(SSL_SESSION* session)
{
    if (m_sessions.size() >= kMaxKept) {
        SSL_SESSION_free(m_sessions.front());
        m_sessions.erase(m_sessions.begin());
    }
    m_sessions.push_back(session);
}

// ---------------------------------------------------------------- session

TTlsSession::TTlsSession(int handle, const std::string& hostName, std::shared_ptr<TTlsSessionCache> cache)
    : m_cache(std::move(cache))
{
    m_ssl = SSL_new(clientContext());
    SSL_set_fd(m_ssl, handle);
    if (isAddressLiteral(hostName)) {
        X509_VERIFY_PARAM_set1_ip_asc(SSL_get0_param(m_ssl), hostName.c_str());
    } else if (!hostName.empty()) {
        SSL_set_tlsext_host_name(m_ssl, hostName.c_str());
        SSL_set1_host(m_ssl, hostName.c_str());
    }
    if (m_cache) {
        SSL_set_ex_data(m_ssl, cacheIndex(), m_cache.get());
        if (SSL_SESSION* session = m_cache->Take()) {
            // OpenSSL spends a TLS 1.3 session once used; servers take it again (and must,
            // since they send no new ticket on a data connection they only read from), so a
            // copy goes out and the kept one stays usable.
            SSL_SESSION* copy = SSL_SESSION_dup(session);
            SSL_set_session(m_ssl, copy);
            SSL_SESSION_free(copy);
        }
    }
    SSL_set_connect_state(m_ssl);
}

TTlsSession::~TTlsSession()
{
    SSL_free(m_ssl);
}

TTlsSession::Step TTlsSession::Failure(int result, const char* what)
{
    int kind = SSL_get_error(m_ssl, result);
    if (kind == SSL_ERROR_WANT_READ)
        return Step::WantRead;
    if (kind == SSL_ERROR_WANT_WRITE)
        return Step::WantWrite;
    unsigned long code = ERR_get_error();
    ERR_clear_error();
    m_error = Tr("Engine", what) + ": ";
    if (code != 0) {
        std::array<char, 256> text{};
        ERR_error_string_n(code, text.data(), text.size());
        m_error += text.data();
    } else if (kind == SSL_ERROR_SYSCALL) {
        m_error += Tr("Engine", "the connection was closed during the TLS negotiation");
    } else {
        m_error += Tr("Engine", "TLS error ") + std::to_string(kind);
    }
    return Step::Failed;
}

TTlsSession::Step TTlsSession::Handshake()
{
    ERR_clear_error();
    int result = SSL_do_handshake(m_ssl);
    if (result == 1) {
        m_established = true;
        return Step::Done;
    }
    return Failure(result, QT_TRANSLATE_NOOP("Engine", "TLS negotiation failed"));
}

int TTlsSession::Read(void* buffer, int len, bool& wouldBlock)
{
    wouldBlock = false;
    if (len <= 0)
        return 0;
    ERR_clear_error();
    int result = SSL_read(m_ssl, buffer, len);
    if (result > 0)
        return result;
    if (SSL_get_error(m_ssl, result) == SSL_ERROR_ZERO_RETURN)
        return 0;
    Step step = Failure(result, QT_TRANSLATE_NOOP("Engine", "TLS receive failed"));
    wouldBlock = step == Step::WantRead || step == Step::WantWrite;
    return -1;
}

int TTlsSession::Write(const void* data, int len, bool& wouldBlock)
{
    wouldBlock = false;
    if (len <= 0)
        return 0;
    ERR_clear_error();
    int result = SSL_write(m_ssl, data, len);
    if (result > 0)
        return result;
    Step step = Failure(result, QT_TRANSLATE_NOOP("Engine", "TLS send failed"));
    wouldBlock = step == Step::WantRead || step == Step::WantWrite;
    return -1;
}

int TTlsSession::Pending() const
{
    return m_established ? SSL_pending(m_ssl) : 0;
}

void TTlsSession::Shutdown()
{
    if (!m_established)
        return;
    ERR_clear_error();
    // Tickets the server sent and nobody read yet are worth keeping for the next connection.
    char next = 0;
    SSL_peek(m_ssl, &next, 1);
    ERR_clear_error();
    SSL_shutdown(m_ssl);
    ERR_clear_error();
}

std::string TTlsSession::Version() const
{
    return SSL_get_version(m_ssl);
}

std::string TTlsSession::Fingerprint() const
{
    X509* certificate = SSL_get1_peer_certificate(m_ssl);
    if (!certificate)
        return {};
    std::string text = fingerprint(certificate);
    X509_free(certificate);
    return text;
}

TTlsCertificate TTlsSession::Certificate() const
{
    TTlsCertificate info;
    X509* certificate = SSL_get1_peer_certificate(m_ssl);
    if (!certificate) {
        info.VerifyError = Tr("Engine", "the server sent no certificate");
        return info;
    }
    info.Subject = nameText(X509_get_subject_name(certificate));
    info.Issuer = nameText(X509_get_issuer_name(certificate));
    info.NotBefore = timeText(X509_get0_notBefore(certificate));
    info.NotAfter = timeText(X509_get0_notAfter(certificate));
    info.Fingerprint = fingerprint(certificate);
    X509_free(certificate);
    long result = SSL_get_verify_result(m_ssl);
    info.Verified = result == X509_V_OK;
    if (!info.Verified)
        info.VerifyError = X509_verify_cert_error_string(result);
    return info;
}

std::string TlsLibraryVersion()
{
    return OpenSSL_version(OPENSSL_VERSION);
}
