#pragma once

// The rows of the local and remote panes, their order, and the texts of their columns. A row
// keeps values (a 64-bit size, a time, a kind); the texts are made from them only where they
// are shown.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

enum class TEntryKind : uint8_t
{
    Parent, // the ".." row
    Directory,
    Link, // a remote symbolic link: entered like a folder
    File
};

// The date fields of a listing line as the server gave them (no year with a clock, no clock
// with a year).
struct TListedTime
{
    std::string Month;
    std::string Day;
    std::string TimeOrYear;
};

// One row of either pane.
struct TlvFileInfo
{
    std::string Name; // ".." for the parent row
    TEntryKind Kind = TEntryKind::File;
    bool Remote = false;
    int64_t Size = 0;
    // The order of times: local rows in seconds since the epoch, remote rows as YYYYMMDDhhmm
    // (a listing that gives a clock means this year).
    int64_t Time = 0;
    TListedTime Listed;      // remote rows
    int64_t Modified = -1;   // remote rows: seconds since 1970 (UTC) where MLSD gave it, else -1
    std::string Permissions; // as listed ("drwxr-xr-x", "<DIR>"); empty for local rows
    std::string LinkTarget;  // a remote link's target

    bool IsDir() const { return Kind != TEntryKind::File; }
    bool IsParent() const { return Kind == TEntryKind::Parent; }
};

// The texts of the columns: size with "," between groups of three (none for the ".." row);
// time as the listing gave it ("14:30 Sep 5", "2002 Sep 5") or, for local rows, "YY-MM-DD HH:NN"
// in local time; the permissions as listed.
std::string SizeColumnText(const TlvFileInfo& row);
std::string TimeColumnText(const TlvFileInfo& row);
std::string AttrColumnText(const TlvFileInfo& row);

// The order key of a listing's date fields: YYYYMMDDhhmm; currentYear stands in for the year a
// listing leaves out, an unknown month counts 0.
int64_t ListedTimeKey(const TListedTime& time, int currentYear);

// Stable sort: ".." first, then folders before files (whatever the direction), then by the
// column (0 name without regard to a-z case, 1 size, 2 time), ascending or descending; rows with
// equal keys keep their order.
void SortRows(std::vector<TlvFileInfo>& rows, bool ascending, int column);

// "<folders> folder(s) <files> file(s) <bytes> byte(s) listed", below a pane.
std::string ListedSummary(int folders, int files, int64_t bytes);

// The question Delete asks before rows go: what and how many, and where (from the server, or
// to the trash).
std::string DeleteQuestion(const std::vector<const TlvFileInfo*>& rows, bool remote);

// The rows a pane shows with their order and selection: what both panes have in common. The
// pane says through onChanged what changed (everything, one row, the selection).
class TPaneRowSet
{
public:
    enum class TChange
    {
        Rows,
        Row,
        Selection
    };
    std::function<void(TChange change, size_t row)> OnChanged;

    // New rows, in the current order; nothing selected.
    void Replace(std::vector<TlvFileInfo> rows);
    void Clear();
    // The column again turns the order around; another column sorts ascending by it.
    void SortByColumn(int column);
    // The order as it was left (column 0 name, 1 size, 2 time).
    void SetOrder(int column, bool ascending);
    void SetSelected(size_t row, bool selected);
    // These names selected, nothing else.
    void SelectNames(const std::vector<std::string>& names);
    // Every row but "..".
    void SelectAll();
    void InvertSelection();

    const std::vector<TlvFileInfo>& Rows() const { return m_rows; }
    const std::vector<bool>& Selection() const { return m_selected; }
    // The selected rows and their names, "..", never.
    std::vector<const TlvFileInfo*> SelectedRows() const;
    std::vector<std::string> SelectedNames() const;
    int SortColumn() const { return m_sortColumn; }
    bool SortAscending() const { return m_sortAscending; }

private:
    void Tell(TChange change, size_t row = 0);

    std::vector<TlvFileInfo> m_rows;
    std::vector<bool> m_selected;
    int m_sortColumn = 0;
    bool m_sortAscending = true;
};

// The remote pane's rows from a listing: the ".." row first, then one row per entry, sorted.
struct TRemoteRows
{
    std::vector<TlvFileInfo> Rows;
    int Folders = 0;
    int Files = 0;
    int64_t TotalBytes = 0;
    // "<folders> folder(s) <files> file(s) <total> byte(s) listed"
    std::string Summary() const;
};
TRemoteRows RemoteRowsFromListing(const std::string& listing, bool ascending, int column, int currentYear);

// The year now, for listings that leave it out.
int CurrentYear();
