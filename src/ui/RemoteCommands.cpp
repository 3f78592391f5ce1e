#include "ui/MainWindow.h"

// The remote pane: its rows from the listing, their order and selection, and the commands that
// run as operations on connection 0.

#include <algorithm>

#include "platform/Translate.h"

using platform::Tr;

void TfmMain::ShowRemoteListing()
{
    TRemoteRows rows = RemoteRowsFromListing(m_manager.ListingText(), m_remoteRows.SortAscending(),
                                             m_remoteRows.SortColumn(), CurrentYear());
    m_remoteSummary = rows.Summary();
    m_remoteRows.Replace(std::move(rows.Rows));
    m_view.PanePathChanged(TPane::Remote);
}

void TfmMain::SelectRemotePath(const std::string& path)
{
    if (std::find(m_remotePathItems.begin(), m_remotePathItems.end(), path) == m_remotePathItems.end()) {
        m_remotePathItems.push_back(path);
        m_view.PanePathChanged(TPane::Remote);
    }
}

void TfmMain::SortByColumn(int column)
{
    m_remoteRows.SortByColumn(column);
}

void TfmMain::SetRemoteSelected(size_t row, bool selected)
{
    m_remoteRows.SetSelected(row, selected);
}

void TfmMain::SelectRemoteNames(const std::vector<std::string>& names)
{
    m_remoteRows.SelectNames(names);
}

void TfmMain::RemoteSelectAll()
{
    m_remoteRows.SelectAll();
}

void TfmMain::RemoteInvertSelection()
{
    m_remoteRows.InvertSelection();
}

void TfmMain::RemoteDoubleClick(int row)
{
    const auto& rows = m_remoteRows.Rows();
    if (m_busy || row < 0 || row >= static_cast<int>(rows.size()) || !rows[static_cast<size_t>(row)].IsDir())
        return;
    SetSessionState(ssChangingDir);
    m_manager.ChangeDir(rows[static_cast<size_t>(row)].Name);
}

void TfmMain::RemoteMakeDirectory()
{
    std::string name;
    if (m_sessionState != ssConnected ||
        !m_view.InputQuery(Tr("TfmMain", "Make Directory"), Tr("TfmMain", "Name: "), name))
        return;
    SetSessionState(ssMakingDir);
    m_manager.MakeDirs({name});
}

void TfmMain::RemoteChangeDirectory()
{
    std::string name;
    if (m_sessionState != ssConnected ||
        !m_view.InputQuery(Tr("TfmMain", "Change Directory"), Tr("TfmMain", "Name: "), name))
        return;
    SetSessionState(ssChangingDir);
    m_manager.ChangeDir(name);
}

void TfmMain::RemoteRefresh()
{
    if (m_sessionState != ssConnected)
        return;
    SetSessionState(ssRefreshing);
    m_manager.Refresh(m_remoteDir);
}

void TfmMain::RemoteDelete()
{
    if (m_sessionState != ssConnected)
        return;
    std::vector<const TlvFileInfo*> chosen = m_remoteRows.SelectedRows();
    if (chosen.empty())
        return;
    if (m_settings.ConfirmDelete && !m_view.AskYesNo(Tr("TfmMain", "Delete"), DeleteQuestion(chosen, true)))
        return;
    DeleteSelectedRemote(m_settings.ConfirmDelete);
}

void TfmMain::DeleteSelectedRemote(bool recursive)
{
    if (m_sessionState != ssConnected)
        return;
    std::vector<TDelFileInfo> entries;
    for (const TlvFileInfo* row : m_remoteRows.SelectedRows()) {
        bool directory = row->Kind == TEntryKind::Directory;
        entries.push_back({row->Name, directory, row->Kind == TEntryKind::Link, directory && recursive});
    }
    SetSessionState(ssDeleting);
    m_manager.DeleteFiles(std::move(entries));
}

void TfmMain::RemoteRename()
{
    std::vector<std::string> names = m_remoteRows.SelectedNames();
    std::string answer = names.empty() ? std::string() : names.front();
    if (m_sessionState != ssConnected || names.empty() ||
        !m_view.InputQuery(Tr("TfmMain", "Rename"), Tr("TfmMain", "New Name: "), answer) || answer.empty() ||
        answer == names.front())
        return;
    SetSessionState(ssRenaming);
    m_manager.RenameFiles({{m_remoteDir + names.front(), m_remoteDir + answer}});
}

void TfmMain::RemoteRenameTo(const std::string& name, const std::string& newPath)
{
    if (m_sessionState != ssConnected)
        return;
    SetSessionState(ssRenaming);
    m_manager.RenameFiles({{m_remoteDir + name, newPath}});
}

void TfmMain::RemoteMove()
{
    std::vector<std::string> names = m_remoteRows.SelectedNames();
    std::string answer = m_remoteDir;
    if (m_sessionState != ssConnected || names.empty() ||
        !m_view.InputQuery(Tr("TfmMain", "Move File"), Tr("TfmMain", "Destination Directory: "), answer))
        return;
    m_moveTarget = answer;
    std::string target = EnsureTrailing(answer, '/');
    std::vector<THostMoveFileInfo> pairs;
    for (const std::string& name : names)
        pairs.push_back({m_remoteDir + name, target + name});
    SetSessionState(ssMoving);
    m_manager.RenameFiles(std::move(pairs));
}

void TfmMain::RemoteChangeMode()
{
    std::vector<std::string> names = m_remoteRows.SelectedNames();
    std::string mode;
    if (m_sessionState != ssConnected ||
        !m_view.InputQuery(Tr("TfmMain", "Change Mode"), Tr("TfmMain", "New Mode: "), mode))
        return;
    SetSessionState(ssChangingMode);
    m_manager.ChangeModes(std::move(names), mode);
}

void TfmMain::RemoteCopyUrl()
{
    std::vector<std::string> names = m_remoteRows.SelectedNames();
    if (!names.empty())
        m_view.SetClipboardText(m_remoteDir + names.front());
}

void TfmMain::RemoteEdit()
{
    std::vector<std::string> names = m_remoteRows.SelectedNames();
    if (m_sessionState != ssConnected || names.empty())
        return;
    auto item = std::make_unique<TTransferFileInfo>();
    item->HostPath = m_remoteDir + names.front();
    item->LocalPath = m_tmpDir + names.front();
    for (const TlvFileInfo& row : m_remoteRows.Rows())
        if (row.Name == names.front())
            item->FileSize = row.Size;
    m_editFile = item->LocalPath;
    m_editList.clear();
    m_editList.push_back(std::move(item));
    SetSessionState(ssEditing);
    if (StartTransfers)
        StartTransfers(m_editList, true);
    else
        SetSessionState(ssConnected);
}

void TfmMain::RemoteChoosePath(int index)
{
    if (index < 0 || index >= static_cast<int>(m_remotePathItems.size()) || m_sessionState != ssConnected)
        return;
    SetSessionState(ssChangingDir);
    m_manager.ChangeDir(m_remotePathItems[static_cast<size_t>(index)]);
}
