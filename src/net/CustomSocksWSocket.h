#pragma once

// An outgoing TCP connection through a SOCKS 4, 4A or 5 server (SOCKS 5 with user name and
// password, RFC 1928 and 1929). With a server set, Connect goes to the SOCKS server, the
// negotiation runs inside the socket's own events, and the owner sees OnSessionConnected only
// when the target is reached, or with the negotiation's error. Without one, nothing changes.

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "net/CustomWSocket.h"

enum TSocksAuthentication
{
    socksNoAuthentication,
    socksAuthenticateUsercode
};

enum TSocksAuthState
{
    socksAuthStart = 0,
    socksAuthSuccess = 1,
    socksAuthFailure = 2,
    socksAuthNotRequired = 3
};

class TCustomSocksWSocket : public TCustomWSocket
{
public:
    std::function<void(TCustomWSocket* sender, int error, const std::string& msg)> OnSocksError;
    std::function<void(TCustomWSocket* sender, int error)> OnSocksConnected;
    std::function<void(TCustomWSocket* sender, TSocksAuthState state)> OnSocksAuthState;

    TCustomSocksWSocket();

    void Connect() override;
    void Listen() override;
    int GetRcvdCount() override;
    int ReceiveToFile(int fileHandle, int len) override;

    const std::string& SocksLevel() const { return m_socksLevel; }
    void SetSocksLevel(const std::string& value);
    const std::string& SocksServer() const { return m_socksServer; }
    virtual void SetSocksServer(const std::string& value);
    const std::string& SocksPort() const { return m_socksPort; }
    virtual void SetSocksPort(const std::string& value);
    std::string SocksUsercode;
    std::string SocksPassword;
    TSocksAuthentication SocksAuthentication = socksNoAuthentication;

protected:
    void AssignDefaultValue() override;
    bool TriggerDataAvailable(int error) override;
    void TriggerSessionConnected(int error) override;
    void TriggerSessionClosed(int error) override;
    int DoRecv(void* buffer, int len, int flags) override;
    virtual void TriggerSocksConnected(int error);
    virtual void TriggerSocksError(int error, const std::string& msg);
    std::string TakeHeldBytes() override;

private:
    enum class Negotiation : uint8_t
    {
        Data = 0,      // none under way, or finished
        Method = 1,    // the method request went out (or is about to)
        Auth = 2,      // the user name and password went out
        ConnectReq = 3 // the connect request went out
    };
    static constexpr int kBufferSize = 128;

    void StartNegotiation();
    void SendConnectRequest();
    void SendAuthentication();
    // Reads what came and hands it to the step the negotiation is at.
    bool NegotiationStep(int error);
    bool MethodReply();
    bool AuthReply();
    bool Socks4ConnectReply();
    bool Socks5ConnectReply();
    bool Success();
    void NegotiationError(int error, const std::string& msg);
    void RaiseAuthState(TSocksAuthState state);
    void SendRequest(const std::string& request);
    bool RequestsFit() const;

    Negotiation m_negotiation = Negotiation::Data;
    std::string m_socksServer;
    std::string m_socksLevel = "5";
    std::string m_socksPort;
    bool m_socksPortAssigned = false;
    bool m_socksServerAssigned = false;
    uint8_t m_offeredMethod = 0;
    uint16_t m_targetPort = 0;
    std::array<unsigned char, kBufferSize> m_receiveBuffer{};
    int m_receiveCount = 0;
    int m_pendingCount = 0; // bytes after the final reply, not yet delivered
    int m_pendingPosition = 0;
};
