#include "manager/FtpManager.h"
#include "platform/Translate.h"

using platform::Fill;
using platform::Tr;

// The login of connection 0: Open, USER, PASS, the probes (FEAT, SYST, TYPE I, REST 100,
// REST 0, OPTS UTF8), PWD, and the listing of the directory it lands in, from the cache or by
// LIST or MLSD. Every step ends the login one way or the other: a refused probe only tells
// less, a refused USER, PASS, PWD or listing ends it, and a step the connection does not
// survive logs in again while tries are left.

namespace {

bool IsProbe(TFtpRequest rqType)
{
    return rqType == ftpQuoteAsync || rqType == ftpUtf8Async || rqType == ftpTypeSetAsync;
}

} // namespace

std::string TFtpManager::LoginStepName(TFtpRequest rqType) const
{
    const TFtpClient& main = *Slot(0).Client;
    switch (rqType) {
    case ftpOpenAsync:
        return Tr("Engine", "the greeting");
    case ftpUserAsync:
        return "USER";
    case ftpPassAsync:
        return "PASS";
    case ftpUtf8Async:
        return "OPTS UTF8";
    case ftpTypeSetAsync:
        return "TYPE I";
    case ftpQuoteAsync:
        return main.LocalFileName();
    case ftpPwdAsync:
        return "PWD";
    case ftpDirAsync:
        return Fill(Tr("Engine", "%1 of %2"), {main.ListCommand, m_currentDir});
    default:
        return Tr("Engine", "the login");
    }
}

void TFtpManager::LoginFailed(int error, TFtpRequest rqType, const std::string& reason)
{
    Log(0, Tr("Engine", "Server Connection Failed."));
    TOperationResult result = Failure(TOperation::Connect, error, rqType);
    if (!reason.empty())
        result.Reply = reason;
    if (rqType != ftpOpenAsync)
        result.Step = LoginStepName(rqType);
    result.LoggedIn = rqType == ftpPwdAsync || rqType == ftpDirAsync;
    Failed(result);
}

// The connection went (or is going: a 421) during a step: the login starts again from Open
// while tries are left, and ends naming the step otherwise.
void TFtpManager::LoginLost(TFtpRequest rqType, int error)
{
    TFtpClient& main = *Slot(0).Client;
    main.SetLocalStream(nullptr);
    if (error == 0) // the step's reply came, the connection did not stay
        error = main.StatusCode() == 421 ? 421 : wsa::kConnectionAborted;
    Log(0, Tr("Engine", "! The connection was lost at ") + LoginStepName(rqType));
    if (main.AheadStalled() && !m_pipeliningRefused) {
        // Commands sent together went unanswered: one at a time from now on, and that try
        // does not count.
        m_pipeliningRefused = true;
        Log(0, Tr("Engine", "! The server did not take commands sent together: one command at a time from now on"));
        ++m_retryLeft;
    }
    if (--m_retryLeft > 0) {
        Log(0, Tr("Engine", "Retry Connection..."));
        main.Abort();
        // Opened again from the event loop: the close is still being reported.
        m_posted.post([this] {
            if (Mode(0) == cmLogin && !m_abortMain && !Slot(0).Client->Connected())
                Slot(0).Client->Open();
        });
        return;
    }
    LoginFailed(error, rqType);
    if (main.Connected())
        main.Abort();
}

void TFtpManager::LoginStep(TFtpRequest rqType, int error)
{
    if (m_abortMain) {
        m_abortMain = false;
        return;
    }
    TFtpClient& main = *Slot(0).Client;
    // Through an FTP proxy the proxy's own replies to USER and PASS may come as 220 or 331.
    if (main.ConnectionType() == ftpProxy && (rqType == ftpUserAsync || rqType == ftpPassAsync) &&
        (error == 220 || error == 331))
        error = 0;
    if (rqType == ftpOpenAsync && error != 0) {
        Log(0, Tr("Engine", "Server Connection Failed."));
        if (error != TCustomFtpCli::kTlsRefused && --m_retryLeft > 0) {
            Log(0, Tr("Engine", "Retry Connection..."));
            main.Open();
        } else {
            Failed(Failure(TOperation::Connect, error, rqType));
        }
        return;
    }
    // A refusal says no to this step; a closed connection (or 421, which closes it) or a reply
    // that never came says nothing of the server's will.
    bool refused = error >= 400 && error < 600 && error != 421;
    bool lost = !main.Connected() || main.StatusCode() == 421 || (error != 0 && !refused);
    // A refusal for good (5xx) ends the login whether or not the connection stayed.
    if (lost && !(refused && error >= 500)) {
        LoginLost(rqType, error);
        return;
    }
    if (error != 0 && !IsProbe(rqType)) {
        // Without a login, a directory or its listing there is no session to show.
        main.SetLocalStream(nullptr);
        LoginFailed(error, rqType);
        return;
    }
    switch (rqType) {
    case ftpOpenAsync:
        if (main.Security == ftpsAuto && !main.ControlSocket()->Tls() && !m_tlsRefused) {
            m_tlsRefused = true;
            for (int i = 1; i < m_count; ++i)
                ConfigureConnection(i);
        }
        StartMain(ftpUserAsync, [&main] { main.User(); });
        break;
    case ftpUserAsync:
        if (main.StatusCode() != 230) {
            StartMain(ftpPassAsync, [&main] { main.Pass(); });
            break;
        }
        [[fallthrough]]; // logged in without a password
    case ftpPassAsync:
        m_loginProbe = TLoginProbe::Features;
        // Nothing between the probes depends on their answers: they go together, and the
        // requests below take their replies one by one.
        if (PipeliningAllowed() && !IsProxyConnection(main.ConnectionType()))
            for (const char* probe : {"FEAT", "SYST", "TYPE I", "REST 100", "REST 0"})
                main.SendAhead(probe);
        NextLoginProbe();
        break;
    case ftpQuoteAsync:
    case ftpUtf8Async:
    case ftpTypeSetAsync:
        // The probes' answers are not needed to go on; a refused one just tells less.
        if (rqType == ftpUtf8Async && error != 0)
            m_features.Utf8 = false; // not asked again on the transfer connections
        if (rqType == ftpTypeSetAsync)
            main.TypeInEffect = error == 0 ? 'I' : 0;
        if (m_loginProbe == TLoginProbe::Features) {
            if (error == 0) {
                m_features = ReadServerFeatures(main.ReplyLines());
                main.ListCommand = m_features.Mlsd ? "MLSD" : "LIST";
            }
            // The probes went together: what follows them goes too, now that FEAT told whether
            // names are UTF-8 (the listing's TYPE A is dropped unread when the cache has it).
            if (main.CommandsAhead() > 0) {
                if (m_features.Utf8)
                    main.SendAhead("OPTS UTF8 ON");
                main.SendAhead("PWD");
                main.SendAhead("TYPE A");
            }
        }
        m_loginProbe = static_cast<TLoginProbe>(static_cast<int>(m_loginProbe) + 1);
        NextLoginProbe();
        break;
    case ftpPwdAsync:
        if (main.DirResult().empty()) {
            // "257 /home is cwd": which directory this is stays unknown, and showing a listing
            // under a guessed name would show one directory's files as another's.
            Log(0, Tr("Engine", "! The reply to PWD names no directory"));
            LoginFailed(550, rqType, Tr("Engine", "the reply names no directory: ") + main.LastResponse());
            return;
        }
        ListAfterPwd();
        break;
    case ftpDirAsync:
        ListingStored(TOperation::Connect);
        break;
    default:
        break;
    }
}

void TFtpManager::NextLoginProbe()
{
    TFtpClient& main = *Slot(0).Client;
    switch (m_loginProbe) {
    case TLoginProbe::Features:
        main.SetLocalFileName("FEAT");
        break;
    case TLoginProbe::Utf8:
        if (!m_features.Utf8) {
            m_loginProbe = TLoginProbe::Done;
            NextLoginProbe();
            return;
        }
        StartMain(ftpUtf8Async, [&main] { main.Utf8On(); });
        return;
    case TLoginProbe::System:
        main.SetLocalFileName("SYST");
        break;
    case TLoginProbe::Type:
        StartMain(ftpTypeSetAsync, [&main] { main.TypeBinary(); });
        return;
    case TLoginProbe::Restart:
        main.SetLocalFileName("REST 100");
        break;
    case TLoginProbe::Unmark:
        // The probe leaves a restart marker that the next STOR would honour, writing the
        // upload from byte 100 on: take it back.
        main.SetLocalFileName("REST 0");
        break;
    case TLoginProbe::Done:
        StartMain(ftpPwdAsync, [&main] { main.Pwd(); });
        return;
    }
    StartMain(ftpQuoteAsync, [&main] { main.Quote(); });
}

void TFtpManager::ListAfterPwd()
{
    m_currentDir = PwdDirectory();
    if (!List(m_currentDir))
        return; // the Dir completion ends it
    // Cached: no LIST needed.
    Done(TOperationResult::Of(Mode(0) == cmLogin ? TOperation::Connect : TOperation::ChangeDir));
}

void TFtpManager::ListingStored(TOperation operation)
{
    Store(m_currentDir);
    Done(TOperationResult::Of(operation));
}
