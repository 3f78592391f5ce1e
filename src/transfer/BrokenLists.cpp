#include "transfer/BrokenLists.h"

#include <algorithm>

#include "config/IniFile.h"
#include "platform/AtomicFile.h"

std::vector<std::unique_ptr<TOldQuene>> ReadBrokenLists(const std::string& path)
{
    IniFile ini(path);
    std::vector<std::unique_ptr<TOldQuene>> lists;
    int count = ini.ReadInteger("Count", "Count", 0);
    for (int i = 1; i <= count && i <= 100000; ++i) {
        std::string section = std::to_string(i);
        auto list = std::make_unique<TOldQuene>();
        list->DateTime = ini.ReadString(section, "DateTime", "");
        list->HostName = ini.ReadString(section, "HostName", "");
        list->HostPort = ini.ReadString(section, "HostPort", "");
        list->UserName = ini.ReadString(section, "UserName", "");
        list->PassWord = ini.ReadString(section, "PassWord", "");
        int items = ini.ReadInteger(section, "OldQueneCount", 0);
        for (int j = 0; j < items && j < 10000000; ++j) {
            std::string n = std::to_string(j);
            auto item = std::make_unique<TTransferFileInfo>();
            item->IsDownload = ini.ReadBool(section, n + "IsDownload", true);
            item->HostPath = ini.ReadString(section, n + "HostPath", "");
            item->LocalPath = ini.ReadString(section, n + "LocalPath", "");
            item->FileSize = ini.ReadInt64(section, n + "FileSize", 0);
            item->BeginPos = ini.ReadInt64(section, n + "BeginPos", 0);
            item->EndPos = ini.ReadInt64(section, n + "EndPos", 0);
            item->IsDir = ini.ReadBool(section, n + "IsDir", false);
            list->Items.push_back(std::move(item));
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

std::string FormatBrokenLists(const std::vector<std::unique_ptr<TOldQuene>>& lists)
{
    IniFile ini;
    ini.WriteInteger("Count", "Count", static_cast<int>(lists.size()));
    for (size_t i = 0; i < lists.size(); ++i) {
        const TOldQuene& list = *lists[i];
        std::string section = std::to_string(i + 1);
        ini.WriteString(section, "DateTime", list.DateTime);
        ini.WriteString(section, "HostName", list.HostName);
        ini.WriteString(section, "HostPort", list.HostPort);
        ini.WriteString(section, "UserName", list.UserName);
        ini.WriteString(section, "PassWord", list.PassWord);
        ini.WriteInteger(section, "OldQueneCount", static_cast<int>(list.Items.size()));
        for (size_t j = 0; j < list.Items.size(); ++j) {
            const TTransferFileInfo& item = *list.Items[j];
            std::string n = std::to_string(j);
            ini.WriteBool(section, n + "IsDownload", item.IsDownload);
            ini.WriteString(section, n + "HostPath", item.HostPath);
            ini.WriteString(section, n + "LocalPath", item.LocalPath);
            ini.WriteInt64(section, n + "FileSize", item.FileSize);
            ini.WriteInt64(section, n + "BeginPos", item.BeginPos);
            ini.WriteInt64(section, n + "EndPos", item.EndPos);
            ini.WriteBool(section, n + "IsDir", item.IsDir);
        }
    }
    return ini.Text();
}
