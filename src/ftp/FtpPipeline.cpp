#include "ftp/CustomFtpCli.h"
#include "platform/Translate.h"

using platform::Fill;
using platform::Tr;

// Commands sent ahead: a transfer connection sends the commands of its next transfer before
// the replies to those before them have come, so that the server answers them back to back.
// Servers read commands in order and answer in order; the replies are matched to the commands
// by that order alone. A request that would send a command sent ahead takes its reply instead;
// until one does, the replies wait unread in the receive buffer.

#include <algorithm>
#include <initializer_list>

namespace {

std::string Verb(const std::string& cmd)
{
    return cmd.substr(0, cmd.find(' '));
}

bool VerbIn(const std::string& cmd, std::initializer_list<const char*> verbs)
{
    std::string verb = Verb(cmd);
    return std::any_of(verbs.begin(), verbs.end(), [&](const char* v) { return verb == v; });
}

// The commands that move data on a data connection.
bool IsTransferCommand(const std::string& cmd)
{
    return VerbIn(cmd, {"RETR", "STOR", "APPE", "STOU", "LIST", "NLST", "MLSD"});
}

// The commands that open a data connection or move data on one: none of them can be dropped
// once sent, since the server waits for the data connection they announce.
bool IsDataCommand(const std::string& cmd)
{
    return IsTransferCommand(cmd) || VerbIn(cmd, {"EPSV", "PASV", "PORT", "EPRT"});
}

} // namespace

void TCustomFtpCli::SendCommand(const std::string& cmd)
{
    if (IsTransferCommand(cmd))
        m_dataStepPending = false;
    if (!m_ahead.empty()) {
        ClaimAhead(cmd);
        return;
    }
    m_awaitingAhead = false;
    WriteCommand(cmd);
}

void TCustomFtpCli::WriteCommand(const std::string& cmd)
{
    std::string line = cmd;
    if (OnCommand)
        OnCommand(this, line);
    TriggerDisplay("> " + line);
    if (m_controlSocket->State() == wsConnected)
        m_controlSocket->SendStr(line + "\r\n");
}

void TCustomFtpCli::SendAhead(const std::string& cmd)
{
    if (!m_connected)
        return;
    WriteCommand(cmd);
    m_ahead.push_back(cmd);
}

bool TCustomFtpCli::TransferAheadPossible() const
{
    if (!m_connected || IsProxyConnection(m_connectionType) || m_state == ftpAbort)
        return false;
    if (m_passive)
        return !m_epsvRefused && (m_epsvWorked || EpsvKnown);
    return !m_listenerAhead || m_listenerAhead->State() == wsClosed; // one transfer ahead at a time
}

bool TCustomFtpCli::DataConnectionAhead(std::string& command)
{
    if (!TransferAheadPossible())
        return false;
    command = "EPSV";
    if (m_passive)
        return true;
    // Active mode: the listener is made now, for the PORT that names it.
    if (!m_listenerAhead)
        m_listenerAhead = std::make_unique<TWSocket>();
    try {
        m_listenerCommand = ListenForData(*m_listenerAhead);
    } catch (const ESocketException&) {
        m_listenerAhead->Close();
        return false;
    }
    m_listenerAhead->OnSessionAvailable = PauseUntilTaken;
    command = m_listenerCommand;
    return true;
}

bool TCustomFtpCli::SendTransferAhead(bool download, const std::string& hostPath, char type)
{
    std::string dataConnection;
    if (!DataConnectionAhead(dataConnection))
        return false;
    if (type != TypeInEffect)
        SendAhead(std::string("TYPE ") + type);
    SendAhead(dataConnection);
    SendAhead((download ? "RETR " : "STOR ") + hostPath);
    return true;
}

bool TCustomFtpCli::SendListAhead(const std::string& directory)
{
    std::string dataConnection;
    if (!DataConnectionAhead(dataConnection))
        return false;
    SendAhead(dataConnection);
    SendAhead(ListCommand + " " + directory);
    return true;
}

void TCustomFtpCli::ClaimAhead(const std::string& cmd)
{
    if (m_ahead.front() != cmd) {
        // From here on every reply would go to the wrong command.
        GiveUp(500, "Program error: " + cmd + " while " + m_ahead.front() + " was sent ahead");
        return;
    }
    m_ahead.pop_front();
    m_awaitingAhead = true;
    // Its reply may be in the buffer already.
    if (m_receiveLength > 0)
        m_posted.post([this] { ParseReplies(); });
}

void TCustomFtpCli::DiscardAhead(size_t keep)
{
    while (m_ahead.size() > keep && !IsDataCommand(m_ahead.front())) {
        TriggerDisplay(Fill(Tr("Engine", "! The reply to %1, sent ahead, is not needed"), {Verb(m_ahead.front())}));
        m_ahead.pop_front();
        ++m_discardReplies;
    }
    if (m_discardReplies > 0 && m_receiveLength > 0)
        m_posted.post([this] { ParseReplies(); });
}

bool TCustomFtpCli::TransferCommandAhead() const
{
    return std::any_of(m_ahead.begin(), m_ahead.end(), IsTransferCommand);
}

void TCustomFtpCli::PauseUntilTaken(TCustomWSocket* listener, int)
{
    listener->Pause(); // a connection that came early waits until a transfer takes it
}

bool TCustomFtpCli::RepliesHeldBack() const
{
    return !m_ahead.empty() && m_discardReplies == 0 && !m_awaitingReply;
}

void TCustomFtpCli::ForgetAhead()
{
    m_ahead.clear();
    m_discardReplies = 0;
    m_awaitingAhead = false;
    m_dataStepPending = false;
    if (m_listenerAhead && m_listenerAhead->State() != wsClosed)
        m_listenerAhead->Close();
}

void TCustomFtpCli::CloseForAhead(const std::string& why)
{
    TriggerDisplay("! " + why + ": the connection is closed");
    ForgetAhead();
    m_receiveLength = 0;
    if (m_controlSocket->State() != wsClosed)
        m_controlSocket->Close();
}
