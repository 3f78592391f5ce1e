#include "ui/PaneRows.h"

#include <algorithm>
#include <cctype>
#include <ctime>

#include "manager/CommFunc.h"
#include "platform/Translate.h"

using platform::Fill;
using platform::Tr;

namespace {

std::string upperAscii(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

int monthNumber(const std::string& word)
{
    static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    for (int i = 0; i < 12; ++i)
        if (word == kMonths[i])
            return i + 1;
    return 0;
}

// The leading decimal number of a text, at most digits long; -1 when there is none.
int leadingNumber(const std::string& text, size_t digits)
{
    int value = 0;
    size_t i = 0;
    for (; i < text.size() && i < digits && std::isdigit(static_cast<unsigned char>(text[i])); ++i)
        value = value * 10 + (text[i] - '0');
    return i == 0 ? -1 : value;
}

} // namespace

int CurrentYear()
{
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local.tm_year + 1900;
}

std::string SizeColumnText(const TlvFileInfo& row)
{
    return row.IsParent() ? std::string() : FormatThousands(row.Size);
}

std::string TimeColumnText(const TlvFileInfo& row)
{
    if (row.IsParent())
        return {};
    if (row.Remote)
        return row.Listed.TimeOrYear + " " + row.Listed.Month + " " + row.Listed.Day;
    if (row.Time == 0)
        return {};
    std::time_t seconds = static_cast<std::time_t>(row.Time);
    std::tm local{};
    localtime_r(&seconds, &local);
    char text[32];
    std::strftime(text, sizeof text, "%y-%m-%d %H:%M", &local);
    return text;
}

std::string AttrColumnText(const TlvFileInfo& row)
{
    return row.Permissions;
}

int64_t ListedTimeKey(const TListedTime& time, int currentYear)
{
    int month = monthNumber(time.Month);
    int day = std::max(leadingNumber(time.Day, 2), 0);
    int64_t year = currentYear;
    int hour = 0;
    int minute = 0;
    size_t colon = time.TimeOrYear.find(':');
    if (colon != std::string::npos) {
        hour = std::max(leadingNumber(time.TimeOrYear, 2), 0);
        minute = std::max(leadingNumber(time.TimeOrYear.substr(colon + 1), 2), 0);
    } else {
        year = std::max(leadingNumber(time.TimeOrYear, 4), 0);
    }
    return ((((year * 100 + month) * 100 + day) * 100 + hour) * 100) + minute;
}

void SortRows(std::vector<TlvFileInfo>& rows, bool ascending, int column)
{
    auto keyLess = [&](const TlvFileInfo& a, const TlvFileInfo& b) {
        switch (column) {
        case 1:
            return a.Size < b.Size;
        case 2:
            return a.Time < b.Time;
        default:
            return upperAscii(a.Name) < upperAscii(b.Name);
        }
    };
    std::stable_sort(rows.begin(), rows.end(), [&](const TlvFileInfo& a, const TlvFileInfo& b) {
        if (a.IsParent() != b.IsParent())
            return a.IsParent();
        if (a.IsDir() != b.IsDir())
            return a.IsDir();
        return ascending ? keyLess(a, b) : keyLess(b, a);
    });
}

void TPaneRowSet::Tell(TChange change, size_t row)
{
    if (OnChanged)
        OnChanged(change, row);
}

void TPaneRowSet::Replace(std::vector<TlvFileInfo> rows)
{
    m_rows = std::move(rows);
    SortRows(m_rows, m_sortAscending, m_sortColumn);
    m_selected.assign(m_rows.size(), false);
    Tell(TChange::Rows);
}

void TPaneRowSet::Clear()
{
    Replace({});
}

void TPaneRowSet::SortByColumn(int column)
{
    if (column == m_sortColumn) {
        m_sortAscending = !m_sortAscending;
    } else {
        m_sortColumn = column;
        m_sortAscending = true;
    }
    SortRows(m_rows, m_sortAscending, m_sortColumn);
    m_selected.assign(m_rows.size(), false);
    Tell(TChange::Rows);
}

void TPaneRowSet::SetOrder(int column, bool ascending)
{
    m_sortColumn = std::clamp(column, 0, 2);
    m_sortAscending = ascending;
    SortRows(m_rows, m_sortAscending, m_sortColumn);
    m_selected.assign(m_rows.size(), false);
    Tell(TChange::Rows);
}

void TPaneRowSet::SetSelected(size_t row, bool selected)
{
    if (row >= m_selected.size() || m_selected[row] == selected)
        return;
    m_selected[row] = selected;
    Tell(TChange::Row, row);
}

void TPaneRowSet::SelectNames(const std::vector<std::string>& names)
{
    for (size_t i = 0; i < m_rows.size(); ++i)
        m_selected[i] = std::find(names.begin(), names.end(), m_rows[i].Name) != names.end();
    Tell(TChange::Selection);
}

void TPaneRowSet::SelectAll()
{
    for (size_t i = 0; i < m_selected.size(); ++i)
        m_selected[i] = !m_rows[i].IsParent();
    Tell(TChange::Selection);
}

void TPaneRowSet::InvertSelection()
{
    for (size_t i = 0; i < m_selected.size(); ++i)
        if (!m_rows[i].IsParent())
            m_selected[i] = !m_selected[i];
    Tell(TChange::Selection);
}

std::vector<const TlvFileInfo*> TPaneRowSet::SelectedRows() const
{
    std::vector<const TlvFileInfo*> rows;
    for (size_t i = 0; i < m_rows.size() && i < m_selected.size(); ++i)
        if (m_selected[i] && !m_rows[i].IsParent())
            rows.push_back(&m_rows[i]);
    return rows;
}

std::vector<std::string> TPaneRowSet::SelectedNames() const
{
    std::vector<std::string> names;
    for (const TlvFileInfo* row : SelectedRows())
        names.push_back(row->Name);
    return names;
}

std::string ListedSummary(int folders, int files, int64_t bytes)
{
    return Fill(Tr("TPaneRows", "%1 folder(s) %2 file(s) %3 byte(s) listed"),
                {std::to_string(folders), std::to_string(files), FormatThousands(bytes)});
}

std::string DeleteQuestion(const std::vector<const TlvFileInfo*>& rows, bool remote)
{
    size_t folders = 0;
    for (const TlvFileInfo* row : rows)
        folders += row->Kind == TEntryKind::Directory ? 1 : 0;
    size_t files = rows.size() - folders;
    std::string what;
    if (rows.size() == 1) {
        const TlvFileInfo& row = *rows.front();
        what = Fill(folders && remote              ? Tr("TPaneRows", "the folder \"%1\" and everything in it")
                    : folders                      ? Tr("TPaneRows", "the folder \"%1\"")
                    : row.Kind == TEntryKind::Link ? Tr("TPaneRows", "the link \"%1\"")
                                                   : Tr("TPaneRows", "the file \"%1\""),
                    {row.Name});
    } else {
        std::string fileCount =
            Fill(files == 1 ? Tr("TPaneRows", "%1 file") : Tr("TPaneRows", "%1 files"), {std::to_string(files)});
        std::string folderCount = Fill(folders == 1 ? Tr("TPaneRows", "%1 folder") : Tr("TPaneRows", "%1 folders"),
                                       {std::to_string(folders)});
        if (folders && remote)
            folderCount +=
                folders == 1 ? Tr("TPaneRows", " with everything in it") : Tr("TPaneRows", " with everything in them");
        what = files && folders ? Fill(Tr("TPaneRows", "%1 and %2"), {fileCount, folderCount})
               : files          ? fileCount
                                : folderCount;
    }
    return Fill(remote ? Tr("TPaneRows", "Delete %1 from the server?") : Tr("TPaneRows", "Move %1 to the trash?"),
                {what});
}

std::string TRemoteRows::Summary() const
{
    return ListedSummary(Folders, Files, TotalBytes);
}

TRemoteRows RemoteRowsFromListing(const std::string& listing, bool ascending, int column, int currentYear)
{
    TRemoteRows result;
    TlvFileInfo up;
    up.Name = "..";
    up.Kind = TEntryKind::Parent;
    up.Remote = true;
    result.Rows.push_back(up);
    for (const TDirAnalyze& entry : ParseListing(listing)) {
        TlvFileInfo row;
        row.Remote = true;
        row.Name = entry.EntryName(); // a link shows without its target
        row.LinkTarget = entry.LinkTarget();
        ParseSize(entry.Size, row.Size); // a size that is no number counts 0
        row.Listed = {entry.Month, entry.Day, entry.TimeOrYear};
        row.Modified = entry.Modified;
        row.Time = ListedTimeKey(row.Listed, currentYear);
        row.Permissions = entry.Attributes;
        char kind = entry.Attributes.empty() ? ' ' : entry.Attributes[0];
        row.Kind = kind == 'l'                  ? TEntryKind::Link
                   : kind == '<' || kind == 'd' ? TEntryKind::Directory
                                                : TEntryKind::File;
        if (row.IsDir())
            ++result.Folders;
        else
            ++result.Files;
        result.TotalBytes = SaturatingAdd(result.TotalBytes, row.Size);
        result.Rows.push_back(row);
    }
    SortRows(result.Rows, ascending, column);
    return result;
}
