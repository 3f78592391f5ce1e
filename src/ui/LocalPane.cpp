#include "ui/LocalPane.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include <dirent.h>
#include <sys/stat.h>

#include "manager/CommFunc.h"
#include "platform/Volumes.h"
#include "platform/Translate.h"

using platform::Fill;
using platform::Tr;

std::string LocalParentDirectory(const std::string& path)
{
    if (path.size() <= 1)
        return "/";
    size_t slash = path.rfind('/', path.size() - 2);
    return slash == std::string::npos ? "/" : path.substr(0, slash + 1);
}

std::function<void(TPaneRowSet::TChange, size_t)> PaneNotifier(IMainView& view, TPane pane)
{
    return [&view, pane](TPaneRowSet::TChange change, size_t row) {
        if (change == TPaneRowSet::TChange::Rows)
            view.PaneRowsReplaced(pane);
        else if (change == TPaneRowSet::TChange::Row)
            view.PaneRowChanged(pane, row);
        else
            view.PaneSelectionChanged(pane);
    };
}

TLocalPane::TLocalPane(IMainView& view) : m_view(view), m_volumeRoots(platform::volumeRoots())
{
    m_rows.OnChanged = PaneNotifier(view, TPane::Local);
}

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

void TLocalPane::OpenTypedPath(const std::string& typed)
{
    std::string path = typed;
    while (!path.empty() && (path.back() == ' ' || path.back() == '\t'))
        path.pop_back();
    if (path.empty())
        return;
    if (path == "~" || path.rfind("~/", 0) == 0) {
        const char* home = std::getenv("HOME");
        path = std::string(home ? home : "/") + path.substr(1);
    } else if (path[0] != '/') {
        path = m_path + path;
    }
    struct stat info = {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        m_view.ShowMessage(Fill(Tr("TLocalPane", "No such folder: %1"), {typed}));
        FillDriveBox(); // the box shows the current directory again
        return;
    }
    // "..", "." and links resolved: the box's chain of folders is the real one.
    char* real = ::realpath(path.c_str(), nullptr);
    SetPath(real ? std::string(real) : path);
    std::free(real);
}

std::string TLocalPane::DriveItemText(int index) const
{
    if (index < 0 || index >= static_cast<int>(m_driveItems.size()))
        return {};
    const TDriveItem& item = m_driveItems[static_cast<size_t>(index)];
    if (item.Level != 1) {
        std::string path = item.Path.substr(0, item.Path.size() - 1);
        return path.substr(path.rfind('/') + 1);
    }
    std::string name = platform::volumeName(item.Path);
    int64_t free = DiskFreeSpace(item.Path);
    return free > 0 ? name + "  [" + Fill(Tr("TLocalPane", "%1 bytes free"), {FormatThousands(free)}) + "]" : name;
}

void TLocalPane::ShowLocalListing()
{
    std::vector<TlvFileInfo> rows;
    int folders = 0;
    int files = 0;
    int64_t total = 0;
    if (m_path != "/") {
        TlvFileInfo up;
        up.Name = "..";
        up.Kind = TEntryKind::Parent;
        rows.push_back(up);
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
            total = SaturatingAdd(total, row.Size);
            ++(row.IsDir() ? folders : files);
            rows.push_back(row);
        }
        ::closedir(directory);
    }
    m_summary = ListedSummary(folders, files, total);
    m_rows.Replace(std::move(rows));
}

void TLocalPane::SortByColumn(int column)
{
    m_rows.SortByColumn(column);
}

void TLocalPane::DoubleClick(int row)
{
    const auto& rows = m_rows.Rows();
    if (row < 0 || row >= static_cast<int>(rows.size()) || !rows[static_cast<size_t>(row)].IsDir())
        return;
    const TlvFileInfo& entry = rows[static_cast<size_t>(row)];
    SetPath(entry.IsParent() ? LocalParentDirectory(m_path) : m_path + entry.Name + "/");
}

void TLocalPane::MakeDirectory()
{
    std::string name;
    if (!m_view.InputQuery(Tr("TLocalPane", "Make Directory"), Tr("TLocalPane", "Name: "), name))
        return;
    MakeLocalDirs(m_path + name); // a failure shows as the unchanged listing
    Refresh();
}

void TLocalPane::ChangeDirectory()
{
    std::string path;
    if (!m_view.InputQuery(Tr("TLocalPane", "Change Directory"), Tr("TLocalPane", "Name: "), path))
        return;
    SetPath(path);
}

void TLocalPane::Rename()
{
    std::vector<std::string> names = SelectedNames();
    std::string answer = names.empty() ? std::string() : names.front();
    if (names.empty() || !m_view.InputQuery(Tr("TLocalPane", "Rename"), Tr("TLocalPane", "New Name: "), answer) ||
        answer.empty() || answer == names.front())
        return;
    std::rename((m_path + names.front()).c_str(), (m_path + answer).c_str());
    Refresh();
}

void TLocalPane::Move()
{
    std::vector<std::string> names = SelectedNames();
    std::string answer;
    if (names.empty() ||
        !m_view.InputQuery(Tr("TLocalPane", "Move File"), Tr("TLocalPane", "Destination Directory: "), answer))
        return;
    std::rename((m_path + names.front()).c_str(), (EnsureTrailing(answer, '/') + names.front()).c_str());
    Refresh();
}

void TLocalPane::Delete(bool ask)
{
    std::vector<const TlvFileInfo*> chosen = m_rows.SelectedRows();
    if (chosen.empty() || (ask && !m_view.AskYesNo(Tr("TLocalPane", "Delete"), DeleteQuestion(chosen, false))))
        return;
    std::string failures;
    for (const std::string& name : SelectedNames())
        if (std::string reason; !platform::moveToTrash(m_path + name, &reason))
            failures += "\n" + name + ": " + reason;
    Refresh();
    if (!failures.empty())
        m_view.ShowMessage(Tr("TLocalPane", "Could not move to the trash:") + failures);
}
