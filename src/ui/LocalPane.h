#pragma once

// The local pane: one directory of the local file system, its rows, the path box with the
// volumes and the chain of the current directory, and the local file commands.

#include <functional>
#include <string>
#include <vector>

#include "ui/MainView.h"
#include "ui/PaneRows.h"

// One item of the local path box: a volume root (level 1) or a directory on the way from the
// current directory's root down to it (levels 2 and more).
struct TDriveItem
{
    int Level = 1;
    std::string Path; // ends with "/"
};

class TLocalPane
{
public:
    explicit TLocalPane(IMainView& view);

    // Changes to a directory (a "/" is appended when missing) and lists it.
    void SetPath(const std::string& path);
    void Refresh();
    void SortByColumn(int column);
    void SetOrder(int column, bool ascending) { m_rows.SetOrder(column, ascending); }
    void DoubleClick(int row);
    void ChooseDriveItem(int index);
    // A path typed into the path box: "~" is the home folder, a relative path goes from the
    // current directory; a folder that is not there is told and nothing changes.
    void OpenTypedPath(const std::string& typed);
    // The roots the path box offers ("/", home and mounted volumes, each ending with "/").
    void SetVolumeRoots(std::vector<std::string> roots);

    // The selection: one row, rows by name (nothing else), all but "..", or the inverse.
    void SetSelected(size_t row, bool selected) { m_rows.SetSelected(row, selected); }
    void SelectNames(const std::vector<std::string>& names) { m_rows.SelectNames(names); }
    void SelectAll() { m_rows.SelectAll(); }
    void InvertSelection() { m_rows.InvertSelection(); }

    // The commands; names act on the selected rows ("Move" and "Rename" on the first).
    void MakeDirectory();
    void ChangeDirectory();
    void Rename();
    void Move();
    // Moves the selection to the trash, asking first when ask is set; a failure is told.
    void Delete(bool ask);

    const std::string& Path() const { return m_path; }
    const std::vector<TlvFileInfo>& Entries() const { return m_rows.Rows(); }
    const std::vector<bool>& Selection() const { return m_rows.Selection(); }
    std::vector<std::string> SelectedNames() const { return m_rows.SelectedNames(); }
    const std::vector<TDriveItem>& DriveItems() const { return m_driveItems; }
    // The path box's item of the current directory; -1 when none.
    int DriveIndex() const { return m_driveIndex; }
    // What the path box's list shows for an item: a folder's name, a volume's name and its
    // free space.
    std::string DriveItemText(int index) const;
    int SortColumn() const { return m_rows.SortColumn(); }
    bool SortAscending() const { return m_rows.SortAscending(); }
    const std::string& Summary() const { return m_summary; }

private:
    void FillDriveBox();
    void ShowLocalListing();

    IMainView& m_view;
    std::string m_path = "/";
    TPaneRowSet m_rows;
    std::vector<TDriveItem> m_driveItems;
    int m_driveIndex = -1;
    std::string m_summary;
    std::vector<std::string> m_volumeRoots;
};

// What a pane's rows tell the view when they change.
std::function<void(TPaneRowSet::TChange, size_t)> PaneNotifier(IMainView& view, TPane pane);

// The parent of a directory path ending with "/"; "/" stays "/".
std::string LocalParentDirectory(const std::string& path);
