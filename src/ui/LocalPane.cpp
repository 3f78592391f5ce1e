#include "ui/LocalPane.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

#include <dirent.h>
#include <sys/stat.h>

#include "manager/CommFunc.h"
#include "platform/Volumes.h"

std::string LocalParentDirectory(const std::string& path)
{
    if (path.size() <= 1)
        return "/";
    size_t slash = path.rfind('/', path.size() - 2);
    return slash == std::string::npos ? "/" : path.substr(0, slash + 1);
}

TLocalPane::TLocalPane(IMainView& view) : m_view(view), m_volumeRoots(platform::volumeRoots()) {}

void TLocalPane::SetVolumeRoots(std::vector<std::string> roots)
{
    m_volumeRoots = std::move(roots);
    FillDriveBox();
}

void TLocalPane::SetPath(const std::string& path)
{
    m_path = EnsureTrailing(path.empty() ? "/" : path, '/');
    Refresh();
}

void TLocalPane::Refresh()
{
    FillDriveBox();
    ShowLocalListing();
}

void TLocalPane::FillDriveBox()
{
    m_driveItems.clear();
    m_driveIndex = -1;
    // The root the current directory lies under: the longest that is a prefix of it.
    size_t owner = 0;
    for (size_t i = 0; i < m_volumeRoots.size(); ++i)
        if (m_path.rfind(m_volumeRoots[i], 0) == 0 && m_volumeRoots[i].size() >= m_volumeRoots[owner].size())
            owner = i;
    for (size_t i = 0; i < m_volumeRoots.size(); ++i) {
        const std::string& root = m_volumeRoots[i];
        m_driveItems.push_back({1, root});
        if (i != owner)
            continue;
        int level = 1;
        for (size_t slash = m_path.find('/', root.size()); slash != std::string::npos;
             slash = m_path.find('/', slash + 1))
            m_driveItems.push_back({++level, m_path.substr(0, slash + 1)});
        m_driveIndex = static_cast<int>(m_driveItems.size()) - 1;
    }
    m_view.PanePathChanged(TPane::Local);
}

void TLocalPane::ChooseDriveItem(int index)
{
    if (index < 0 || index >= static_cast<int>(m_driveItems.size()))
        return;
    SetPath(m_driveItems[static_cast<size_t>(index)].Path);
}

std::string TLocalPane::DriveItemText(int index) const
{
    if (index < 0 || index >= static_cast<int>(m_driveItems.size()))
        return {};
    const TDriveItem& item = m_driveItems[static_cast<size_t>(index)];
    if (item.Level != 1)
        return item.Path;
    int64_t free = DiskFreeSpace(item.Path);
    return free > 0 ? item.Path + "  [" + FormatThousands(free) + " bytes free]" : item.Path;
}

void TLocalPane::ShowLocalListing()
{
    m_entries.clear();
    int folders = 0;
    int files = 0;
    int64_t total = 0;
    if (m_path != "/") {
        TlvFileInfo up;
        up.Name = "..";
        up.Kind = TEntryKind::Parent;
        m_entries.push_back(up);
    }
    if (DIR* directory = ::opendir(m_path.c_str())) {
        while (dirent* entry = ::readdir(directory)) {
            std::string name = entry->d_name;
            if (name == "." || name == "..")
                continue;
            struct stat info
            {
            };
            if (::stat((m_path + name).c_str(), &info) != 0 && ::lstat((m_path + name).c_str(), &info) != 0)
                continue;
            TlvFileInfo row;
            row.Name = name;
            row.Kind = S_ISDIR(info.st_mode) ? TEntryKind::Directory : TEntryKind::File;
            row.Size = static_cast<int64_t>(info.st_size);
            row.Time = static_cast<int64_t>(info.st_mtime);
            total += row.Size;
            ++(row.IsDir() ? folders : files);
            m_entries.push_back(row);
        }
        ::closedir(directory);
    }
    SortRows(m_entries, m_sortAscending, m_sortColumn);
    m_selected.assign(m_entries.size(), false);
    m_summary = std::to_string(folders) + " folder(s) " + std::to_string(files) + " file(s) " + FormatThousands(total) +
                " byte(s) listed";
    m_view.PaneRowsReplaced(TPane::Local);
}

void TLocalPane::SortByColumn(int column)
{
    if (column == m_sortColumn) {
        m_sortAscending = !m_sortAscending;
    } else {
        m_sortColumn = column;
        m_sortAscending = true;
    }
    SortRows(m_entries, m_sortAscending, m_sortColumn);
    m_selected.assign(m_entries.size(), false);
    m_view.PaneRowsReplaced(TPane::Local);
}

void TLocalPane::DoubleClick(int row)
{
    if (row < 0 || row >= static_cast<int>(m_entries.size()) || !m_entries[static_cast<size_t>(row)].IsDir())
        return;
    const TlvFileInfo& entry = m_entries[static_cast<size_t>(row)];
    SetPath(entry.IsParent() ? LocalParentDirectory(m_path) : m_path + entry.Name + "/");
}

void TLocalPane::SetSelected(size_t row, bool selected)
{
    if (row >= m_selected.size() || m_selected[row] == selected)
        return;
    m_selected[row] = selected;
    m_view.PaneRowChanged(TPane::Local, row);
}

void TLocalPane::SelectNames(const std::vector<std::string>& names)
{
    for (size_t i = 0; i < m_entries.size(); ++i)
        m_selected[i] = std::find(names.begin(), names.end(), m_entries[i].Name) != names.end();
    m_view.PaneSelectionChanged(TPane::Local);
}

std::vector<std::string> TLocalPane::SelectedNames() const
{
    std::vector<std::string> names;
    for (size_t i = 0; i < m_entries.size() && i < m_selected.size(); ++i)
        if (m_selected[i] && !m_entries[i].IsParent())
            names.push_back(m_entries[i].Name);
    return names;
}

void TLocalPane::MakeDirectory()
{
    std::string name;
    if (!m_view.InputQuery("Make Directory", "Name: ", name))
        return;
    MakeLocalDirs(m_path + name); // a failure shows as the unchanged listing
    Refresh();
}

void TLocalPane::ChangeDirectory()
{
    std::string path;
    if (!m_view.InputQuery("Change Directory", "Name: ", path))
        return;
    SetPath(path);
}

void TLocalPane::Rename()
{
    std::vector<std::string> names = SelectedNames();
    std::string answer;
    if (names.empty() || !m_view.InputQuery("Rename", "New Name: ", answer))
        return;
    std::rename((m_path + names.front()).c_str(), (m_path + answer).c_str());
    Refresh();
}

void TLocalPane::Move()
{
    std::vector<std::string> names = SelectedNames();
    std::string answer;
    if (names.empty() || !m_view.InputQuery("Move File", "Destination Directory: ", answer))
        return;
    std::rename((m_path + names.front()).c_str(), (EnsureTrailing(answer, '/') + names.front()).c_str());
    Refresh();
}

void TLocalPane::Delete()
{
    for (const std::string& name : SelectedNames())
        platform::moveToTrash(m_path + name);
    Refresh();
}

void TLocalPane::SelectAll()
{
    for (size_t i = 0; i < m_selected.size(); ++i)
        m_selected[i] = !m_entries[i].IsParent();
    m_view.PaneSelectionChanged(TPane::Local);
}

void TLocalPane::InvertSelection()
{
    for (size_t i = 0; i < m_selected.size(); ++i)
        if (!m_entries[i].IsParent())
            m_selected[i] = !m_selected[i];
    m_view.PaneSelectionChanged(TPane::Local);
}
