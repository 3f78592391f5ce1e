#include "ftp/CustomFtpCli.h"

#include <ctime>

// The requests: basic ones of one command each, and the multi-step requests that run several
// of them (and the data requests) in a fixed order, reported as one request.

// ---------------------------------------------------------------- basic requests

void TCustomFtpCli::User()
{
    if (UserName.empty()) {
        HandleError("UserName emtpy");
        return;
    }
    m_fctCurrent = ftpFctUser;
    std::string cmd = "USER " + UserName;
    if (m_connectionType == ftpProxy)
        cmd += "@" + HostName + ":" + Port;
    ExecAsync(ftpUserAsync, cmd, {331, 230});
}

void TCustomFtpCli::Pass()
{
    if (PassWord.empty()) {
        HandleError("Password emtpy");
        return;
    }
    m_fctCurrent = ftpFctPass;
    ExecAsync(ftpPassAsync, "PASS " + PassWord, {230});
}

void TCustomFtpCli::Cwd()
{
    if (HostDirName.empty()) {
        HandleError("HostDirName emtpy");
        return;
    }
    m_fctCurrent = ftpFctCwd;
    ExecAsync(ftpCwdAsync, "CWD " + HostDirName, {200, 250, 257});
}

void TCustomFtpCli::Size()
{
    m_fctCurrent = ftpFctSize;
    m_sizeResult = 0;
    ExecAsync(ftpSizeAsync, "SIZE " + HostFileName, {213});
}

void TCustomFtpCli::Mdtm()
{
    m_fctCurrent = ftpFctMdtm;
    m_modifiedResult = -1;
    ExecAsync(ftpMdtmAsync, "MDTM " + HostFileName, {213});
}

void TCustomFtpCli::Mfmt()
{
    std::time_t when = static_cast<std::time_t>(FileTime);
    std::tm utc{};
    char text[32] = {};
    if (!::gmtime_r(&when, &utc) || std::strftime(text, sizeof text, "%Y%m%d%H%M%S", &utc) == 0) {
        HandleError("No time to set");
        return;
    }
    m_fctCurrent = ftpFctMfmt;
    ExecAsync(ftpMfmtAsync, std::string("MFMT ") + text + " " + HostFileName, {213});
}

void TCustomFtpCli::Utf8On()
{
    m_fctCurrent = ftpFctUtf8;
    ExecAsync(ftpUtf8Async, "OPTS UTF8 ON", {200, 202});
}

void TCustomFtpCli::Mkd()
{
    m_fctCurrent = ftpFctMkd;
    ExecAsync(ftpMkdAsync, "MKD " + HostFileName, {257});
}

void TCustomFtpCli::Rmd()
{
    m_fctCurrent = ftpFctRmd;
    ExecAsync(ftpRmdAsync, "RMD " + HostFileName, {250, 257});
}

void TCustomFtpCli::RenFrom()
{
    m_fctCurrent = ftpFctRenFrom;
    ExecAsync(ftpRenFromAsync, "RNFR " + HostFileName, {350});
}

void TCustomFtpCli::RenTo()
{
    m_fctCurrent = ftpFctRenTo;
    ExecAsync(ftpRenToAsync, "RNTO " + m_localFileName, {200, 250, 257});
}

void TCustomFtpCli::Quit()
{
    m_fctCurrent = ftpFctQuit;
    // Whatever the reply, the connection is closed, and the close completes the request.
    ExecAsync(ftpQuitAsync, "QUIT", {221}, [this] { ControlSocket()->Close(); });
}

void TCustomFtpCli::Syst()
{
    m_fctCurrent = ftpFctSyst;
    ExecAsync(ftpSystAsync, "SYST", {215});
}

void TCustomFtpCli::Dele()
{
    m_fctCurrent = ftpFctDele;
    ExecAsync(ftpDeleAsync, "DELE " + HostFileName, {250, 257});
}

void TCustomFtpCli::Pwd()
{
    m_fctCurrent = ftpFctPwd;
    ExecAsync(ftpPwdAsync, "PWD", {250, 257});
}

void TCustomFtpCli::Quote()
{
    m_fctCurrent = ftpFctQuote;
    TypeInEffect = 0;
    ExecAsync(ftpQuoteAsync, m_localFileName, {});
}

void TCustomFtpCli::TypeSet()
{
    m_fctCurrent = ftpFctTypeSet;
    TypeInEffect = 0;
    ExecAsync(ftpTypeSetAsync, std::string("TYPE ") + m_type, {200});
}

void TCustomFtpCli::TypeBinary()
{
    SetBinary(true);
    TypeSet();
}

void TCustomFtpCli::TypeAscii()
{
    SetBinary(false);
    TypeSet();
}

void TCustomFtpCli::Rest()
{
    m_fctCurrent = ftpFctRest;
    if (ResumeAt < 0) {
        if (!CheckReady())
            return;
        BeginRequest(ftpRestAsync);
        m_requestResult = 0;
        TriggerRequestDone(0);
        return;
    }
    ExecAsync(ftpRestAsync, "REST " + std::to_string(ResumeAt), {});
}

void TCustomFtpCli::Cdup()
{
    m_fctCurrent = ftpFctCDup;
    ExecAsync(ftpCdupAsync, "CDUP", {250});
}

// ---------------------------------------------------------------- multi-step requests

namespace {

constexpr uint32_t bit(TFtpFct step)
{
    return 1u << step;
}

} // namespace

void TCustomFtpCli::HighLevelAsync(TFtpRequest rqType, std::initializer_list<TFtpFct> steps)
{
    uint32_t functionSet = 0;
    for (TFtpFct step : steps)
        functionSet |= bit(step);
    if (m_connected && (functionSet & bit(ftpFctOpen))) {
        HandleError("FTP component already connected");
        return;
    }
    if (!CheckReady())
        return;
    m_savedResponse = m_lastResponse;
    m_savedStatus = -1;
    m_requestType = rqType;
    m_requestResult = 0;
    m_functionSet = functionSet;
    m_dataStepPending =
        (functionSet & (bit(ftpFctGet) | bit(ftpFctPut) | bit(ftpFctAppend) | bit(ftpFctDir) | bit(ftpFctLs))) != 0;
    m_fctCurrent = ftpFctNone;
    m_highLevelResult = 0;
    m_highLevelFlag = true;
    m_lastResponse.clear();
    m_errorMessage.clear();
    // Counts of the transfer before do not belong to this request.
    m_byteCount = 0;
    m_transferStart = 0;
    m_overrun = false;
    ++m_requestsStarted;
    m_requestDoneFlag = false;
    NextHighLevelStep();
}

std::function<void()> TCustomFtpCli::TakeNextStep()
{
    // The steps in the order they run, whatever order the request named them in.
    using TStep = void (TCustomFtpCli::*)();
    static const std::pair<TFtpFct, TStep> kOrder[] = {
        {ftpFctOpen, &TCustomFtpCli::Open},       {ftpFctUser, &TCustomFtpCli::User},
        {ftpFctPass, &TCustomFtpCli::Pass},       {ftpFctCwd, &TCustomFtpCli::Cwd},
        {ftpFctCDup, &TCustomFtpCli::Cdup},       {ftpFctTypeSet, &TCustomFtpCli::TypeSet},
        {ftpFctPort, &TCustomFtpCli::PortAsync},  {ftpFctRest, &TCustomFtpCli::Rest},
        {ftpFctGet, &TCustomFtpCli::Retr},        {ftpFctPut, &TCustomFtpCli::Stor},
        {ftpFctAppend, &TCustomFtpCli::Appe},     {ftpFctDir, &TCustomFtpCli::List},
        {ftpFctLs, &TCustomFtpCli::Nlst},         {ftpFctSyst, &TCustomFtpCli::Syst},
        {ftpFctMkd, &TCustomFtpCli::Mkd},         {ftpFctRmd, &TCustomFtpCli::Rmd},
        {ftpFctRenFrom, &TCustomFtpCli::RenFrom}, {ftpFctRenTo, &TCustomFtpCli::RenTo},
        {ftpFctSize, &TCustomFtpCli::Size},       {ftpFctDele, &TCustomFtpCli::Dele},
        {ftpFctPwd, &TCustomFtpCli::Pwd},         {ftpFctQuote, &TCustomFtpCli::Quote},
        {ftpFctQuit, &TCustomFtpCli::Quit}};
    for (const auto& [fct, run] : kOrder) {
        if ((m_functionSet & bit(fct)) == 0)
            continue;
        m_functionSet &= ~bit(fct); // taken, whether it runs or is dropped
        switch (fct) {
        case ftpFctOpen:
            m_fctCurrent = ftpFctOpen;
            break;
        case ftpFctPass:
            if (m_fctCurrent == ftpFctUser && m_statusCode != 331)
                continue; // logged in by USER alone
            break;
        case ftpFctCwd:
            if (HostDirName.empty())
                continue;
            break;
        case ftpFctGet:
            // RETR starts at the offset only when REST took it.
            if (!(m_fctCurrent == ftpFctRest && ResumeAt >= 0 && m_statusCode == 350))
                ResumeAt = 0;
            break;
        case ftpFctQuit:
            // After the request LastResponse shows the reply that preceded QUIT.
            m_savedResponse = m_lastResponse;
            m_savedStatus = m_statusCode;
            break;
        default:
            break;
        }
        return [this, run = run] { (this->*run)(); };
    }
    return nullptr;
}

void TCustomFtpCli::NextHighLevelStep()
{
    if (m_state == ftpAbort) {
        m_functionSet = 0;
        m_highLevelResult = 426;
        m_errorMessage = "426 Operation aborted.";
    }
    m_highLevelContinuation = [this] { NextHighLevelStep(); };
    InterpretResponse();

    std::function<void()> step = TakeNextStep();
    if (!step) {
        m_functionSet = 0;
        m_highLevelContinuation = nullptr;
        m_requestDoneFlag = false;
        TriggerRequestDone(m_highLevelResult);
        return;
    }

    uint64_t startsBefore = m_stepStarts;
    std::string refusal;
    try {
        step();
    } catch (const FtpException& e) {
        refusal = e.what();
    }
    if (m_stepStarts == startsBefore) {
        // The step refused to start (its text went to the error event or came as an
        // exception): the request ends here rather than never.
        SetErrorMessage(refusal.empty() ? "500 Request refused" : refusal);
        m_requestDoneFlag = false;
        m_highLevelContinuation = nullptr;
        TriggerRequestDone(500);
    }
}

void TCustomFtpCli::Connect()
{
    HighLevelAsync(ftpConnectAsync, {ftpFctOpen, ftpFctUser, ftpFctPass});
}

void TCustomFtpCli::ReceiveFile()
{
    HighLevelAsync(ftpReceiveAsync,
                   {ftpFctOpen, ftpFctUser, ftpFctPass, ftpFctCwd, ftpFctTypeSet, ftpFctPort, ftpFctGet, ftpFctQuit});
}

void TCustomFtpCli::Dir()
{
    HighLevelAsync(ftpDirAsync, {ftpFctPort, ftpFctDir});
}

void TCustomFtpCli::Ls()
{
    HighLevelAsync(ftpLsAsync, {ftpFctPort, ftpFctLs});
}

void TCustomFtpCli::Get()
{
    HighLevelAsync(ftpGetAsync, {ftpFctPort, ftpFctGet});
}

void TCustomFtpCli::Directory()
{
    HighLevelAsync(ftpDirectoryAsync,
                   {ftpFctOpen, ftpFctUser, ftpFctPass, ftpFctCwd, ftpFctPort, ftpFctDir, ftpFctQuit});
}

void TCustomFtpCli::FileList()
{
    HighLevelAsync(ftpFileListAsync, {ftpFctOpen, ftpFctUser, ftpFctPass, ftpFctCwd, ftpFctPort, ftpFctLs, ftpFctQuit});
}

void TCustomFtpCli::System()
{
    HighLevelAsync(ftpSystemAsync, {ftpFctOpen, ftpFctUser, ftpFctPass, ftpFctSyst, ftpFctQuit});
}

void TCustomFtpCli::FileSize()
{
    HighLevelAsync(ftpSizeAsync, {ftpFctOpen, ftpFctUser, ftpFctPass, ftpFctCwd, ftpFctSize, ftpFctQuit});
}

void TCustomFtpCli::Put()
{
    HighLevelAsync(ftpPutAsync, {ftpFctPort, ftpFctPut});
}

void TCustomFtpCli::Append()
{
    HighLevelAsync(ftpAppendAsync, {ftpFctPort, ftpFctAppend});
}

void TCustomFtpCli::RenameFile()
{
    HighLevelAsync(ftpRenameFileAsync,
                   {ftpFctOpen, ftpFctUser, ftpFctPass, ftpFctCwd, ftpFctRenFrom, ftpFctRenTo, ftpFctQuit});
}

void TCustomFtpCli::Rename()
{
    HighLevelAsync(ftpRenameAsync, {ftpFctRenFrom, ftpFctRenTo});
}

void TCustomFtpCli::Delete()
{
    HighLevelAsync(ftpDeleteAsync, {ftpFctOpen, ftpFctUser, ftpFctPass, ftpFctCwd, ftpFctDele, ftpFctQuit});
}

void TCustomFtpCli::MkDir()
{
    HighLevelAsync(ftpMkDirAsync, {ftpFctOpen, ftpFctUser, ftpFctPass, ftpFctCwd, ftpFctMkd, ftpFctQuit});
}

void TCustomFtpCli::RmDir()
{
    HighLevelAsync(ftpRmDirAsync, {ftpFctOpen, ftpFctUser, ftpFctPass, ftpFctCwd, ftpFctRmd, ftpFctQuit});
}

void TCustomFtpCli::DoQuote()
{
    HighLevelAsync(ftpDoQuoteAsync, {ftpFctOpen, ftpFctUser, ftpFctPass, ftpFctCwd, ftpFctQuote, ftpFctQuit});
}

void TCustomFtpCli::Transmit()
{
    HighLevelAsync(ftpTransmitAsync,
                   {ftpFctOpen, ftpFctUser, ftpFctPass, ftpFctCwd, ftpFctTypeSet, ftpFctPort, ftpFctPut, ftpFctQuit});
}

void TCustomFtpCli::AppendFile()
{
    HighLevelAsync(ftpTransmitAsync, {ftpFctOpen, ftpFctUser, ftpFctPass, ftpFctCwd, ftpFctTypeSet, ftpFctPort,
                                      ftpFctAppend, ftpFctQuit});
}

void TCustomFtpCli::RestGet()
{
    HighLevelAsync(ftpRestGetAsync, {ftpFctPort, ftpFctRest, ftpFctGet});
}

void TCustomFtpCli::RestartReceive()
{
    HighLevelAsync(ftpRestartGetAsync, {ftpFctOpen, ftpFctUser, ftpFctPass, ftpFctCwd, ftpFctTypeSet, ftpFctPort,
                                        ftpFctRest, ftpFctGet, ftpFctQuit});
}

void TCustomFtpCli::RestPut()
{
    HighLevelAsync(ftpRestPutAsync, {ftpFctPort, ftpFctRest, ftpFctPut});
}

void TCustomFtpCli::RestartTransmit()
{
    HighLevelAsync(ftpRestartPutAsync, {ftpFctOpen, ftpFctUser, ftpFctPass, ftpFctCwd, ftpFctTypeSet, ftpFctPort,
                                        ftpFctRest, ftpFctPut, ftpFctQuit});
}
