#include "transfer/BrokenLists.h"

#include <algorithm>

#include "config/IniFile.h"
#include "manager/CommFunc.h"
#include "platform/AtomicFile.h"
#include "platform/LocalFiles.h"
#include "platform/Translate.h"

using platform::Tr;

namespace {

// Far more than any run holds; a file that claims more is cut there, not obeyed.
constexpr int kMaxLists = 10000;
constexpr int kMaxItems = 10000000;

// The deepest directory (ending with "/") that every path lies in; "" when they share none.
std::string SharedDirectory(const std::vector<std::string>& paths)
{
    if (paths.empty())
        return {};
    std::string shared = paths.front().substr(0, paths.front().rfind('/') + 1);
    for (const std::string& path : paths)
        while (!shared.empty() && path.compare(0, shared.size(), shared) != 0)
            shared = shared.substr(0, shared.rfind('/', shared.size() - 2) + 1);
    return shared;
}

// Numbers a transfer can have: a size, and a range inside it.
std::string NumbersProblem(const TTransferFileInfo& item)
{
    int64_t begin = item.BeginPos;
    int64_t end = item.EndPos;
    if (item.FileSize < 0)
        return Tr("Engine", "a negative size");
    if (begin < -1 || end < -1)
        return Tr("Engine", "a negative offset");
    if (begin > item.FileSize || end > item.FileSize)
        return Tr("Engine", "an offset past the end of the file");
    if (end >= 0 && end < std::max<int64_t>(begin, 0))
        return Tr("Engine", "a range that ends before it begins");
    return {};
}

bool Climbs(const std::string& path)
{
    std::string wrapped = "/" + path + "/";
    return wrapped.find("/../") != std::string::npos || wrapped.find("/./") != std::string::npos;
}

} // namespace

void TOldQuene::SetDirectoriesFromItems()
{
    std::vector<std::string> local;
    std::vector<std::string> host;
    // A directory item counts as the directory that holds it.
    auto path = [](const TTransferFileInfo& item, const std::string& text) {
        return item.IsDir && text.size() > 1 && text.back() == '/' ? text.substr(0, text.size() - 1) : text;
    };
    for (const auto& item : Items) {
        local.push_back(path(*item, item->LocalPath));
        host.push_back(path(*item, item->HostPath));
    }
    LocalDir = SharedDirectory(local);
    HostDir = SharedDirectory(host);
}

std::string StoredItemProblem(const TTransferFileInfo& item, const std::string& localDir)
{
    std::string numbers = NumbersProblem(item);
    if (!numbers.empty())
        return numbers;
    std::string path = item.LocalPath;
    if (item.IsDir && path.size() > 1 && path.back() == '/')
        path.pop_back(); // a directory to list or make: its local directory
    if (localDir.empty() || localDir[0] != '/')
        return Tr("Engine", "the list names no local directory");
    if (path.empty() || path[0] != '/')
        return Tr("Engine", "a local path that is not absolute");
    if (Climbs(path) || path.back() == '/')
        return Tr("Engine", "a local path that is no plain file name");
    if (path.compare(0, localDir.size(), localDir) != 0 || !platform::isInsideDirectory(path, localDir))
        return Tr("Engine", "a local path outside ") + localDir;
    if (!item.IsDownload && !item.IsDir && !platform::isRegularFile(path))
        return Tr("Engine", "no regular file to upload");
    return {};
}

std::vector<std::unique_ptr<TOldQuene>> ReadBrokenLists(const std::string& path)
{
    IniFile ini(path);
    std::vector<std::unique_ptr<TOldQuene>> lists;
    int count = std::min(ini.ReadInteger("Count", "Count", 0), kMaxLists);
    // Only the sections that are there: a count from a damaged file makes no empty lists.
    for (int i = 1; i <= count && ini.SectionExists(std::to_string(i)); ++i) {
        std::string section = std::to_string(i);
        auto list = std::make_unique<TOldQuene>();
        list->DateTime = ini.ReadString(section, "DateTime", "");
        list->HostName = ini.ReadString(section, "HostName", "");
        list->HostPort = ini.ReadString(section, "HostPort", "");
        list->UserName = ini.ReadString(section, "UserName", "");
        list->PassWord = ini.ReadString(section, "PassWord", "");
        list->Sftp = ini.ReadString(section, "Protocol", "") == "SFTP";
        int items = std::min(ini.ReadInteger(section, "OldQueneCount", 0), kMaxItems);
        for (int j = 0; j < items; ++j) {
            std::string n = std::to_string(j);
            if (ini.ReadString(section, n + "HostPath", "").empty() &&
                ini.ReadString(section, n + "LocalPath", "").empty())
                break; // the items the file really holds end here
            auto item = std::make_unique<TTransferFileInfo>();
            item->IsDownload = ini.ReadBool(section, n + "IsDownload", true);
            item->HostPath = ini.ReadString(section, n + "HostPath", "");
            item->LocalPath = ini.ReadString(section, n + "LocalPath", "");
            item->FileSize = ini.ReadInt64(section, n + "FileSize", 0);
            item->BeginPos = ini.ReadInt64(section, n + "BeginPos", 0);
            item->EndPos = ini.ReadInt64(section, n + "EndPos", 0);
            item->IsDir = ini.ReadBool(section, n + "IsDir", false);
            std::string problem = NumbersProblem(*item);
            if (!problem.empty())
                list->Refused.push_back({item->LocalPath, 550, problem});
            else
                list->Items.push_back(std::move(item));
        }
        list->LocalDir = EnsureTrailing(ini.ReadString(section, "LocalDir", ""), '/');
        list->HostDir = EnsureTrailing(ini.ReadString(section, "HostDir", ""), '/');
        if (list->LocalDir.empty()) {
            // Written before lists named their directories.
            std::string host = list->HostDir;
            list->SetDirectoriesFromItems();
            if (!host.empty())
                list->HostDir = host;
        }
        lists.push_back(std::move(list));
    }
    return lists;
}

void TBrokenLists::Load(const std::string& path)
{
    Lists = ReadBrokenLists(path);
}

std::unique_ptr<TOldQuene> TBrokenLists::Remove(size_t index)
{
    if (index >= Lists.size())
        return nullptr;
    std::unique_ptr<TOldQuene> list = std::move(Lists[index]);
    Lists.erase(Lists.begin() + static_cast<long>(index));
    DeletedBrokenKeys.push_back(list->Key());
    return list;
}

bool TBrokenLists::Save(const std::string& path)
{
    for (auto& stored : ReadBrokenLists(path)) {
        std::string key = stored->Key();
        bool known = std::any_of(Lists.begin(), Lists.end(), [&](const auto& list) { return list->Key() == key; });
        bool deleted = std::find(DeletedBrokenKeys.begin(), DeletedBrokenKeys.end(), key) != DeletedBrokenKeys.end();
        if (!known && !deleted)
            Lists.push_back(std::move(stored));
    }
    // Written afresh: of the old file only what was merged above stays.
    return platform::writeFileAtomically(path, FormatBrokenLists(Lists));
}

namespace {

// The ini file's text written straight: the keys are unique by construction, and a journal of
// tens of thousands of items is written several times a second.
void AppendLine(std::string& text, const std::string& key, const std::string& value)
{
    text.append(key).append("=").append(value) += "\r\n";
}

void AppendList(std::string& text, const TOldQuene& list, size_t number)
{
    text.append("\r\n[").append(std::to_string(number)) += "]\r\n";
    AppendLine(text, "DateTime", list.DateTime);
    AppendLine(text, "HostName", list.HostName);
    AppendLine(text, "HostPort", list.HostPort);
    AppendLine(text, "UserName", list.UserName);
    AppendLine(text, "PassWord", list.PassWord);
    if (list.Sftp)
        AppendLine(text, "Protocol", "SFTP");
    AppendLine(text, "LocalDir", list.LocalDir);
    AppendLine(text, "HostDir", list.HostDir);
    AppendLine(text, "OldQueneCount", std::to_string(list.Items.size()));
    for (size_t j = 0; j < list.Items.size(); ++j) {
        const TTransferFileInfo& item = *list.Items[j];
        std::string n = std::to_string(j);
        AppendLine(text, n + "IsDownload", item.IsDownload ? "1" : "0");
        AppendLine(text, n + "HostPath", item.HostPath);
        AppendLine(text, n + "LocalPath", item.LocalPath);
        AppendLine(text, n + "FileSize", std::to_string(item.FileSize));
        AppendLine(text, n + "BeginPos", std::to_string(item.BeginPos));
        AppendLine(text, n + "EndPos", std::to_string(item.EndPos));
        AppendLine(text, n + "IsDir", item.IsDir ? "1" : "0");
    }
}

} // namespace

std::string FormatBrokenLists(const std::vector<std::unique_ptr<TOldQuene>>& lists)
{
    std::string text = "[Count]\r\n";
    AppendLine(text, "Count", std::to_string(lists.size()));
    for (size_t i = 0; i < lists.size(); ++i)
        AppendList(text, *lists[i], i + 1);
    return text + "\r\n";
}

std::string FormatBrokenList(const TOldQuene& list)
{
    std::string text = "[Count]\r\nCount=1\r\n";
    AppendList(text, list, 1);
    return text + "\r\n";
}
