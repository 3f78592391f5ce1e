#include "manager/FtpManager.h"

// The login of connection 0: Open, USER, PASS, the probes (FEAT, OPTS UTF8, SYST with TYPE I,
// REST 100, REST 0), PWD, and the listing of the directory it lands in, from the cache or by
// LIST or MLSD.

void TFtpManager::LoginFailed(int error, TFtpRequest rqType)
{
    Log(0, "Server Connection Failed.");
    Failed(Failure(TOperation::Connect, error, rqType));
}

void TFtpManager::LoginStep(TFtpRequest rqType, int error)
{
    if (m_abortMain) {
        m_abortMain = false;
        return;
    }
    TFtpClient& main = *Slot(0).Client;
    // Through an FTP proxy the proxy's own replies to USER and PASS may come as 220 or 331.
    bool proxyLoginReply = main.ConnectionType() == ftpProxy && (rqType == ftpUserAsync || rqType == ftpPassAsync) &&
                           (error == 220 || error == 331);
    if (error != 0 && !proxyLoginReply && rqType != ftpQuoteAsync && rqType != ftpUtf8Async) {
        if (rqType == ftpOpenAsync) {
            Log(0, "Server Connection Failed.");
            if (error != TCustomFtpCli::kTlsRefused && --m_retryLeft > 0) {
                Log(0, "Retry Connection...");
                main.Open();
            } else {
                Failed(Failure(TOperation::Connect, error, rqType));
            }
        } else if (rqType == ftpUserAsync || rqType == ftpPassAsync || rqType == ftpPwdAsync || rqType == ftpDirAsync) {
            // Without a login, a directory or its listing there is no session to show.
            main.SetLocalStream(nullptr);
            LoginFailed(error, rqType);
        }
        return;
    }
    switch (rqType) {
    case ftpOpenAsync:
        if (main.Security == ftpsAuto && !main.ControlSocket()->Tls() && !m_tlsRefused) {
            m_tlsRefused = true;
            for (int i = 1; i < m_count; ++i)
                ConfigureConnection(i);
        }
        main.User();
        break;
    case ftpUserAsync:
        if (main.StatusCode() == 230 && error == 0) {
            m_loginProbe = TLoginProbe::Features; // logged in without a password
            NextLoginProbe();
            break;
        }
        main.Pass();
        break;
    case ftpPassAsync:
        m_loginProbe = TLoginProbe::Features;
        NextLoginProbe();
        break;
    case ftpQuoteAsync:
    case ftpUtf8Async:
        // The probes' answers are not needed to go on; a refused one just tells less.
        if (rqType == ftpUtf8Async && error != 0)
            m_features.Utf8 = false; // not asked again on the transfer connections
        if (m_loginProbe == TLoginProbe::Features && error == 0) {
            m_features = ReadServerFeatures(main.ReplyLines());
            main.ListCommand = m_features.Mlsd ? "MLSD" : "LIST";
        }
        if (m_loginProbe == TLoginProbe::System)
            SetTransferType(main, true);
        m_loginProbe = static_cast<TLoginProbe>(static_cast<int>(m_loginProbe) + 1);
        NextLoginProbe();
        break;
    case ftpPwdAsync:
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
            m_loginProbe = TLoginProbe::System;
            NextLoginProbe();
            return;
        }
        main.Utf8On();
        return;
    case TLoginProbe::System:
        main.SetLocalFileName("SYST");
        break;
    case TLoginProbe::Restart:
        main.SetLocalFileName("REST 100");
        break;
    case TLoginProbe::Unmark:
        // The probe leaves a restart marker that the next STOR would honour, writing the
        // upload from byte 100 on: take it back.
        main.SetLocalFileName("REST 0");
        break;
    case TLoginProbe::Done:
        main.Pwd();
        return;
    }
    main.Quote();
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
