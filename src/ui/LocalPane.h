#pragma once

// The local pane: one directory of the local file system, its rows, the path box with the
// volumes and the chain of the current directory, and the local file commands.

#include <string>
#include <vector>

#include "ui/MainView.h"
#include "ui/PaneRows.h"

class TLocalPane
{
public:
    explicit TLocalPane(IMainView& view);

    // Changes to a directory (a "/" is appended when missing) and lists it.
    void SetPath(const std::string& path);
    void Refresh();
    // Path box items: level ":" path, the current directory's item marked with a leading "T".
    void FillDriveBox();
    void ShowLocalListing();
    void SortByColumn(int column);
    void DoubleClick(int row);
    void ChooseDriveItem(int index);
    // What the path box shows for an item: its path, and for a volume its free space.
    std::string DriveItemText(int index) const;

    // The commands; names act on the selected rows ("Move" and "Rename" on the first).
    void MakeDirectory();
    void ChangeDirectory();
    void Rename();
    void Move();
    void Delete();
    void SelectAll();
    void InvertSelection();
    std::vector<std::string> SelectedNames() const;

    std::string LocalPath = "/";
    std::vector<TlvFileInfo> LocalEntries;
    std::vector<bool> Selected;
    std::vector<std::string> DriveItems;
    int DriveIndex = -1;
    int SortColumn = 0;
    bool SortAscending = true;
    std::string Summary;
    std::vector<std::string> VolumeRoots; // "/", home and mounted volumes

private:
    IMainView& m_view;
};

// The parent of a directory path ending with "/"; "/" stays "/".
std::string LocalParentDirectory(const std::string& path);
