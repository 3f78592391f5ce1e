#pragma once

// The rows of the local and remote panes and their order.

#include <cstdint>
#include <string>
#include <vector>

// One row of either pane.
struct TlvFileInfo
{
    std::string Name;     // ".." for the parent row
    std::string SizeText; // decimal with "," between groups of three
    std::string TimeText;
    std::string AttrText;
    int ImageIndex = 0;
    bool IsDir = false; // folders and symbolic links
};

// The key that orders time texts: "14:30 Sep 5" and "2002 Sep 5" (listing rows) and
// "YY-MM-DD HH:NN" (local rows) become texts that compare by character. currentYear
// (four digits) stands in for the year a listing leaves out.
std::string TimeSortKey(const std::string& text, const std::string& currentYear);

// Stable sort: ".." first, then folders before files (whatever the direction), then by the
// column's key (0 name without regard to a-z case, 1 size as a 64-bit number, 2 time), ascending
// or descending; rows with equal keys keep their order.
void SortRows(std::vector<TlvFileInfo>& rows, bool ascending, int column, const std::string& currentYear);

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
TRemoteRows RemoteRowsFromListing(const std::string& listing, bool ascending, int column,
                                  const std::string& currentYear);
