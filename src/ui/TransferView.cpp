// The main window's transfers view: the rows of the run's files and their commands.

#include "platform/EventLoop.h"
#include "ui/FtpUrl.h"
#include "ui/MainWindow.h"

void TfmMain::UpdateTransferRows()
{
    m_transferRows.Update(m_run, platform::tickCount());
    m_view.TransfersChanged();
}

void TfmMain::SetTransferFilter(TTransferFilter filter)
{
    m_transferRows.SetFilter(filter);
    m_view.TransfersChanged();
}

void TfmMain::RetryTransfer(size_t row)
{
    const auto& shown = m_transferRows.Shown();
    if (row >= shown.size() || shown[row]->State != TFileState::Failed)
        return;
    const TTransferFile& file = *shown[row]->File;
    if (m_run.Running()) {
        if (m_run.RetryFile(file))
            UpdateTransferRows();
        return;
    }
    if (m_sessionState != ssConnected)
        return;
    // A new run takes the file from where its ranges stopped; the broken list the last run
    // left keeps it no longer.
    std::vector<std::unique_ptr<TTransferFileInfo>> items;
    for (const TSegment& segment : file.Segments)
        if (segment.State != TSegmentState::Done)
            items.push_back(std::make_unique<TTransferFileInfo>(SegmentItem(file, segment)));
    if (size_t number = LastBrokenListNumber(); number > 0) {
        TOldQuene& list = *m_brokenLists.Lists[number - 1];
        std::erase_if(list.Items, [&](const auto& item) {
            return item->LocalPath == file.LocalPath && item->IsDownload == file.Download;
        });
        m_brokenListsChanged = true;
        if (m_queueTree)
            m_queueTree->RemoveRoot(number);
        if (list.Items.empty())
            m_brokenLists.Remove(number - 1);
        else if (m_queueTree)
            m_queueTree->AddBrokenList(list);
    }
    for (auto& item : items)
        AddToQueue(std::move(item));
    if (!file.Download)
        m_uploadDirs.insert(file.RemotePath.substr(0, file.RemotePath.rfind('/') + 1));
    RunQueue();
}

void TfmMain::SkipTransfer(size_t row)
{
    const auto& shown = m_transferRows.Shown();
    if (row < shown.size() && m_run.SkipFile(*shown[row]->File) && m_run.Running())
        UpdateTransferRows();
}

void TfmMain::OpenTransferFolder(size_t row)
{
    const auto& shown = m_transferRows.Shown();
    if (row < shown.size())
        m_view.OpenWithDefaultApplication(shown[row]->LocalPath.substr(0, shown[row]->LocalPath.rfind('/') + 1));
}

void TfmMain::CopyTransferAddress(size_t row)
{
    const auto& shown = m_transferRows.Shown();
    if (row < shown.size())
        m_view.SetClipboardText(RemoteAddress(m_manager.SessionInfo(), shown[row]->RemotePath));
}
