#include "ui/LocalPane.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

#include <dirent.h>
#include <sys/stat.h>

#include "manager/CommFunc.h"
#include "platform/Volumes.h"

namespace {

std::string thisYear()
{
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return std::to_string(local.tm_year + 1900);
}

} // namespace

std::string LocalParentDirectory(const std::string& path)
{
    if (path.size() <= 1)
        return "/";
    size_t slash = path.rfind('/', path.size() - 2);
    return slash == std::string::npos ? "/" : path.substr(0, slash + 1);
}

TLocalPane::TLocalPane(IMainView& view) : m_view(view)
{
    VolumeRoots = platform::volumeRoots();
}

void TLocalPane::SetPath(const std::string& path)
{
    LocalPath = EnsureTrailing(path.empty() ? "/" : path, '/');
    Refresh();
}

void TLocalPane::Refresh()
{
    FillDriveBox();
    ShowLocalListing();
}

void TLocalPane::FillDriveBox()
{
    DriveItems.clear();
    DriveIndex = -1;
    // The root the current directory lies under: the longest that is a prefix of it.
    size_t owner = 0;
    for (size_t i = 0; i < VolumeRoots.size(); ++i)
        if (LocalPath.rfind(VolumeRoots[i], 0) == 0 && VolumeRoots[i].size() >= VolumeRoots[owner].size())
            owner = i;
    for (size_t i = 0; i < VolumeRoots.size(); ++i) {
        const std::string& root = VolumeRoots[i];
        DriveItems.push_back("1:" + root);
        if (i != owner)
            continue;
        int level = 1;
        for (size_t slash = LocalPath.find('/', root.size()); slash != std::string::npos;
             slash = LocalPath.find('/', slash + 1))
            DriveItems.push_back(std::to_string(++level) + ":" + LocalPath.substr(0, slash + 1));
        DriveIndex = static_cast<int>(DriveItems.size()) - 1;
    }
    if (DriveIndex >= 0)
        DriveItems[static_cast<size_t>(DriveIndex)].insert(0, "T");
}

void TLocalPane::ChooseDriveItem(int index)
{
    if (index < 0 || index >= static_cast<int>(DriveItems.size()))
        return;
    std::string item = DriveItems[static_cast<size_t>(index)];
    if (!item.empty() && item[0] == 'T')
        item.erase(0, 1);
    SetPath(item.substr(item.find(':') + 1));
}

std::string TLocalPane::DriveItemText(int index) const
{
    if (index < 0 || index >= static_cast<int>(DriveItems.size()))
        return {};
    std::string item = DriveItems[static_cast<size_t>(index)];
    if (!item.empty() && item[0] == 'T')
        item.erase(0, 1);
    size_t colon = item.find(':');
    std::string path = item.substr(colon + 1);
    if (item.compare(0, colon, "1") != 0)
        return path;
    int64_t free = DiskFreeSpace(path);
    return free > 0 ? path + "  [" + FormatThousands(free) + " bytes free]" : path;
}

void TLocalPane::ShowLocalListing()
{
    LocalEntries.clear();
    int folders = 0;
    int files = 0;
    int64_t total = 0;
    if (LocalPath != "/") {
        TlvFileInfo up;
        up.Name = "..";
        up.IsDir = true;
        LocalEntries.push_back(up);
    }
    if (DIR* directory = ::opendir(LocalPath.c_str())) {
        while (dirent* entry = ::readdir(directory)) {
            std::string name = entry->d_name;
            if (name == "." || name == "..")
                continue;
            struct stat info
            {
            };
            if (::stat((LocalPath + name).c_str(), &info) != 0 && ::lstat((LocalPath + name).c_str(), &info) != 0)
                continue;
            TlvFileInfo row;
            row.Name = name;
            row.IsDir = S_ISDIR(info.st_mode);
            int64_t size = static_cast<int64_t>(info.st_size);
            row.SizeText = FormatThousands(size);
            row.TimeText = platform::fileTimeText(LocalPath + name);
            total += size;
            ++(row.IsDir ? folders : files);
            LocalEntries.push_back(row);
        }
        ::closedir(directory);
    }
    SortRows(LocalEntries, SortAscending, SortColumn, thisYear());
    Selected.assign(LocalEntries.size(), false);
    Summary = std::to_string(folders) + " folder(s) " + std::to_string(files) + " file(s) " + FormatThousands(total) +
              " byte(s) listed";
}

void TLocalPane::SortByColumn(int column)
{
    if (column == SortColumn) {
        SortAscending = !SortAscending;
    } else {
        SortColumn = column;
        SortAscending = true;
    }
    SortRows(LocalEntries, SortAscending, SortColumn, thisYear());
    Selected.assign(LocalEntries.size(), false);
}

void TLocalPane::DoubleClick(int row)
{
    if (row < 0 || row >= static_cast<int>(LocalEntries.size()) || !LocalEntries[static_cast<size_t>(row)].IsDir)
        return;
    const std::string& name = LocalEntries[static_cast<size_t>(row)].Name;
    SetPath(name == ".." ? LocalParentDirectory(LocalPath) : LocalPath + name + "/");
}

std::vector<std::string> TLocalPane::SelectedNames() const
{
    std::vector<std::string> names;
    for (size_t i = 0; i < LocalEntries.size() && i < Selected.size(); ++i)
        if (Selected[i] && LocalEntries[i].Name != "..")
            names.push_back(LocalEntries[i].Name);
    return names;
}

void TLocalPane::MakeDirectory()
{
    std::string name;
    if (!m_view.InputQuery("Make Directory", "Name: ", name))
        return;
    MakeLocalDirs(LocalPath + name); // a failure shows as the unchanged listing
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
    std::rename((LocalPath + names.front()).c_str(), (LocalPath + answer).c_str());
    Refresh();
}

void TLocalPane::Move()
{
    std::vector<std::string> names = SelectedNames();
    std::string answer;
    if (names.empty() || !m_view.InputQuery("Move File", "Destination Directory: ", answer))
        return;
    std::rename((LocalPath + names.front()).c_str(), (EnsureTrailing(answer, '/') + names.front()).c_str());
    Refresh();
}

void TLocalPane::Delete()
{
    for (const std::string& name : SelectedNames())
        platform::moveToTrash(LocalPath + name);
    Refresh();
}

void TLocalPane::SelectAll()
{
    for (size_t i = 0; i < Selected.size(); ++i)
        Selected[i] = LocalEntries[i].Name != "..";
}

void TLocalPane::InvertSelection()
{
    for (size_t i = 0; i < Selected.size(); ++i)
        if (LocalEntries[i].Name != "..")
            Selected[i] = !Selected[i];
}
