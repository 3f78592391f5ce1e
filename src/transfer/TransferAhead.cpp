#include "transfer/TransferEngine.h"

// Fewer round trips per file. A transfer connection sends an item's TYPE (when it changes),
// EPSV and RETR or STOR in one go, and while a download's final reply is still on its way it
// sends the next item's commands (after the MDTM the finished file will need), so that the
// server answers them back to back. The client matches the replies to the commands in order.
// Only whole files from byte 0 go this way: nothing the server may refuse stands between the
// commands but the file itself.

#include <unistd.h>

#include "manager/CommFunc.h"

bool TTransferEngine::CanSendAhead(int i, const TTransferFileInfo& item)
{
    TFtpClient& client = *m_manager.Client(i);
    if (!m_host.Settings().Pipelining || m_manager.PipeliningRefused())
        return false;
    // EPSV that worked on any login to this server is taken to work on this one.
    bool epsvKnown = false;
    for (int j = 0; j < m_manager.Count() && !epsvKnown; ++j)
        epsvKnown = m_manager.Client(j) && m_manager.Client(j)->EpsvWorked();
    client.EpsvKnown = epsvKnown;
    if (!client.TransferAheadPossible())
        return false;
    bool whole = item.BeginPos <= 0 && (item.EndPos < 0 || item.EndPos >= item.FileSize) && !NeedsOffset(item);
    // An upload whose file cannot be read would fail once its STOR is out.
    return whole && (item.IsDownload || ::access(item.LocalPath.c_str(), R_OK) == 0);
}

bool TTransferEngine::SendItemAhead(int i, const TTransferFileInfo& item)
{
    TConnectionSlot& slot = m_manager.Slot(i);
    if (slot.Ahead == &item)
        return true;
    if (!CanSendAhead(i, item))
        return false;
    TFtpClient& client = *m_manager.Client(i);
    size_t before = client.CommandsAhead();
    char type = IsTextTransfer(item.LocalPath, m_host.Settings().TextExt) ? 'A' : 'I';
    if (!client.SendTransferAhead(item.IsDownload, item.HostPath, type))
        return false;
    slot.Ahead = &item;
    slot.AheadCommands = client.CommandsAhead() - before;
    return true;
}

void TTransferEngine::SendLoginAhead(int i, bool withPass)
{
    TConnectionSlot& slot = m_manager.Slot(i);
    TFtpClient& client = *m_manager.Client(i);
    // Through an FTP proxy the login's replies are the proxy's as much as the server's.
    if (!slot.Item || slot.Ahead == slot.Item.get() || IsProxyConnection(client.ConnectionType()) ||
        !CanSendAhead(i, *slot.Item))
        return;
    if (withPass && !client.PassWord.empty()) {
        client.SendAhead("PASS " + client.PassWord);
        slot.PassAhead = true;
    }
    if (m_manager.Features().Utf8)
        client.SendAhead("OPTS UTF8 ON");
    SendItemAhead(i, *slot.Item);
}

void TTransferEngine::DropPassAhead(int i, bool unwanted)
{
    TConnectionSlot& slot = m_manager.Slot(i);
    TFtpClient& client = *m_manager.Client(i);
    if (unwanted && slot.PassAhead && client.CommandsAhead() > 0)
        client.DiscardAhead(client.CommandsAhead() - 1);
    slot.PassAhead = false;
}

void TTransferEngine::TransferDataEnded(int i)
{
    TConnectionSlot& slot = m_manager.Slot(i);
    if (!m_queue || slot.Pending != ftpRestGetAsync || !slot.Item || slot.Next)
        return;
    const TTransferFileInfo& item = *slot.Item;
    TFtpClient& client = *m_manager.Client(i);
    // A file longer or shorter than listed asks SIZE, the last range of a file its hash:
    // whatever else the server is asked must come before the next item's commands, so only a
    // whole file of its listed size goes on, asking at most its time.
    int64_t reached = client.TransferStart() + client.ByteCount();
    if (item.BeginPos > 0 || item.EndPos >= 0 || reached != item.FileSize || !CanSendAhead(i, item) ||
        FileHasOtherItems(item.LocalPath, i))
        return;
    if (m_host.Settings().KeepRemoteTimes && item.RemoteTime < 0)
        client.SendAhead("MDTM " + item.HostPath);
    SendNextAhead(i);
}

void TTransferEngine::SendNextAhead(int i)
{
    TConnectionSlot& slot = m_manager.Slot(i);
    if (!m_queue || slot.Next || m_queue->empty() || !CanSendAhead(i, *m_queue->front()))
        return;
    slot.Next = std::move(m_queue->front());
    m_queue->pop_front();
    if (!SendItemAhead(i, *slot.Next))
        m_queue->push_front(std::move(slot.Next));
}

std::unique_ptr<TTransferFileInfo> TTransferEngine::TakeFollowing(int i)
{
    TConnectionSlot& slot = m_manager.Slot(i);
    if (!slot.Next)
        return TakeNextItem(i);
    std::unique_ptr<TTransferFileInfo> next = std::move(slot.Next);
    slot.Position = 0;
    m_host.ItemStarted(i, *next);
    return next;
}

void TTransferEngine::ReturnNext(int i)
{
    TConnectionSlot& slot = m_manager.Slot(i);
    slot.Ahead = nullptr;
    slot.PassAhead = false;
    slot.AheadCommands = 0;
    if (slot.Next && m_queue)
        m_queue->push_front(std::move(slot.Next));
    slot.Next.reset();
    TFtpClient& client = *m_manager.Client(i);
    client.DiscardAhead(0);
    if (!client.Connected() || client.CommandsAhead() == 0)
        return;
    // The server waits for a data connection that will not come.
    m_manager.Log(i, "! Commands sent ahead are not needed any more: the connection closes");
    m_posted.post([this, i] {
        TFtpClient* idle = i < m_manager.Count() ? m_manager.Client(i) : nullptr;
        if (idle && idle->CommandsAhead() > 0)
            idle->ControlSocket()->Close();
    });
}
