#include "ftp/CustomFtpCli.h"

// TLS: the steps of Open after the greeting (AUTH TLS, the certificate, PBSZ and PROT), the
// negotiation of implicit TLS before it, and the protection of each data connection.

#include "ftp/FtpReply.h"
#include "net/WSocketErrors.h"
#include "platform/Translate.h"

using platform::Fill;
using platform::Tr;

const char* SecurityName(TFtpSecurity security)
{
    switch (security) {
    case ftpsAuto:
        return QT_TRANSLATE_NOOP("Engine", "TLS if the server offers it");
    case ftpsRequire:
        return QT_TRANSLATE_NOOP("Engine", "require TLS");
    case ftpsImplicit:
        return QT_TRANSLATE_NOOP("Engine", "implicit TLS");
    case ftpsOff:
        return QT_TRANSLATE_NOOP("Engine", "plain FTP");
    }
    return "?";
}

void TCustomFtpCli::OpenStep(const std::string& cmd, std::function<void(int code)> onReply)
{
    SetState(ftpWaitingResponse);
    m_next = [this, onReply = std::move(onReply)] {
        if (!TakeFinalReply())
            return;
        auto step = onReply; // the next step replaces m_next, and this lambda with it
        step(m_statusCode);
    };
    AwaitReply();
    SendCommand(cmd);
}

void TCustomFtpCli::GreetingAccepted()
{
    m_awaitingReply = false;
    if (m_controlSocket->Tls()) {
        ProtectData(); // implicit TLS: the greeting came protected already
    } else if (Security == ftpsAuto || Security == ftpsRequire) {
        RequestTls();
    } else {
        FinishOpen();
    }
}

void TCustomFtpCli::RequestTls()
{
    OpenStep("AUTH TLS", [this](int code) {
        if (code == 234) {
            StartControlTls();
            return;
        }
        if (Security == ftpsRequire) {
            GiveUp(
                kTlsRefused,
                Fill(Tr("Engine",
                        "The server refused TLS (%1): TLS is required, so the login stops before the password is sent"),
                     {m_lastResponse}));
            return;
        }
        TriggerDisplay(Tr("Engine", "! The server does not offer TLS: the login goes on in plain FTP"));
        FinishOpen();
    });
}

void TCustomFtpCli::StartControlTls()
{
    m_tlsSessions = std::make_shared<TTlsSessionCache>();
    m_controlSocket->OnTlsDone = [this](TCustomWSocket*, int error) { ControlTlsDone(error); };
    AwaitReply(); // the negotiation has the time of a reply
    m_controlSocket->StartTls(HostName, m_tlsSessions);
}

void TCustomFtpCli::ControlTlsDone(int error)
{
    if (error != 0) {
        GiveUp(wsa::kConnectionAborted, m_controlSocket->TlsError());
        return;
    }
    const TTlsSession& tls = *m_controlSocket->Tls();
    TTlsCertificate certificate = tls.Certificate();
    std::string refusal;
    bool accepted = OnCertificate ? OnCertificate(this, certificate, refusal) : certificate.Verified;
    if (!accepted) {
        if (refusal.empty())
            refusal = Fill(Tr("Engine", "The server's certificate is not trusted (%1)"), {certificate.VerifyError});
        GiveUp(kTlsRefused, refusal);
        return;
    }
    m_serverFingerprint = certificate.Fingerprint;
    TriggerDisplay("! " + Fill(Tr("Engine", "%1, certificate SHA-256 %2"), {tls.Version(), certificate.Fingerprint}) +
                   (certificate.Verified ? "" : Fill(Tr("Engine", " (%1, accepted)"), {certificate.VerifyError})));
    if (Security == ftpsImplicit) {
        AwaitReply(); // now the greeting
        return;
    }
    ProtectData();
}

void TCustomFtpCli::ProtectData()
{
    OpenStep("PBSZ 0", [this](int) {
        // A server that refuses PBSZ tells with PROT whether it protects data anyway.
        OpenStep("PROT P", [this](int code) {
            m_dataProtected = code == 200;
            if (!m_dataProtected && Security != ftpsAuto) {
                GiveUp(kTlsRefused,
                       Fill(Tr("Engine", "The server refused to protect data connections (%1)"), {m_lastResponse}));
                return;
            }
            if (!m_dataProtected)
                TriggerDisplay(
                    Tr("Engine", "! The server refused to protect data connections: file data goes unencrypted"));
            FinishOpen();
        });
    });
}

void TCustomFtpCli::FinishOpen()
{
    m_awaitingReply = false;
    SetState(ftpConnected);
    if (OnSessionConnected)
        OnSessionConnected(this, 0);
    TriggerRequestDone(0);
}

// ---------------------------------------------------------------- data connections

void TCustomFtpCli::ProtectDataConnection()
{
    if (!m_dataProtected || !m_controlSocket->Tls())
        return;
    TWSocket& data = *m_dataSocket;
    data.OnTlsDone = [this](TCustomWSocket*, int error) { DataTlsDone(error); };
    data.StartTls(HostName, m_tlsSessions);
}

void TCustomFtpCli::DataTlsDone(int error)
{
    TWSocket& data = *m_dataSocket;
    if (error != 0) {
        m_dataTlsFailure = data.TlsError(); // the socket closes itself: the transfer fails
        TriggerDisplay(Tr("Engine", "! Data connection: ") + m_dataTlsFailure);
        return;
    }
    // Whoever reached the data port must be the server the login checked.
    if (data.Tls()->Fingerprint() != m_serverFingerprint) {
        m_dataTlsFailure = Tr("Engine", "the data connection's certificate is not the server's");
        TriggerDisplay(Tr("Engine", "! Refused a data connection: ") + m_dataTlsFailure);
        data.Abort();
    }
}
