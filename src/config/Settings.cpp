#include "config/Settings.h"

#include <algorithm>

#include "config/IniFile.h"

namespace {

void readFont(const IniFile& ini, const std::string& prefix, TFontSetting& font)
{
    TFontSetting defaults;
    font.CharSet = ini.ReadInteger("Fonts", prefix + "CharSet", defaults.CharSet);
    font.Color = ini.ReadInteger("Fonts", prefix + "Color", defaults.Color);
    font.Height = ini.ReadInteger("Fonts", prefix + "Height", defaults.Height);
    font.Name = ini.ReadString("Fonts", prefix + "Name", defaults.Name);
    font.Pitch = ini.ReadInteger("Fonts", prefix + "Pitch", defaults.Pitch);
    font.Size = ini.ReadInteger("Fonts", prefix + "Size", defaults.Size);
}

void writeFont(IniFile& ini, const std::string& prefix, const TFontSetting& font)
{
    ini.WriteInteger("Fonts", prefix + "CharSet", font.CharSet);
    ini.WriteInteger("Fonts", prefix + "Color", font.Color);
    ini.WriteInteger("Fonts", prefix + "Height", font.Height);
    ini.WriteString("Fonts", prefix + "Name", font.Name);
    ini.WriteInteger("Fonts", prefix + "Pitch", font.Pitch);
    ini.WriteInteger("Fonts", prefix + "Size", font.Size);
}

void readServer(const IniFile& ini, const std::string& section, TProxySetting& server)
{
    server.Enabled = ini.ReadBool(section, "Enabled", false);
    server.Host = ini.ReadString(section, "Host", "");
    server.Port = ini.ReadString(section, "Port", "");
    server.User = ini.ReadString(section, "User", "");
    server.Pass = ini.ReadString(section, "Pass", "");
    server.Type = static_cast<uint8_t>(ini.ReadInteger(section, "Type", 0));
}

void writeServer(IniFile& ini, const std::string& section, const TProxySetting& server)
{
    ini.WriteBool(section, "Enabled", server.Enabled);
    ini.WriteString(section, "Host", server.Host);
    ini.WriteString(section, "Port", server.Port);
    ini.WriteString(section, "User", server.User);
    ini.WriteString(section, "Pass", server.Pass);
    ini.WriteInteger(section, "Type", server.Type);
}

// The numbered entries 0 .. Count-1 of a section, empty ones skipped.
std::vector<std::string> readList(const IniFile& ini, const std::string& section)
{
    std::vector<std::string> items;
    int count = ini.ReadInteger(section, "Count", 0);
    for (int i = 0; i < count && i < 100000; ++i) {
        std::string value = ini.ReadString(section, std::to_string(i), "");
        if (!value.empty())
            items.push_back(value);
    }
    return items;
}

void writeList(IniFile& ini, const std::string& section, const std::vector<std::string>& items)
{
    // Keys beyond Count that a longer list left behind stay; the next load ignores them.
    ini.WriteInteger(section, "Count", static_cast<int>(items.size()));
    for (size_t i = 0; i < items.size(); ++i)
        ini.WriteString(section, std::to_string(i), items[i]);
}

std::vector<int> readNumbers(const IniFile& ini, const std::string& key)
{
    std::vector<int> numbers;
    std::string text = ini.ReadString("Window", key, "");
    size_t start = 0;
    while (start < text.size()) {
        size_t comma = text.find(',', start);
        std::string part = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        if (part.empty() || part.size() > 9 || part.find_first_not_of("0123456789") != std::string::npos)
            return {}; // not one of ours: the window's own defaults
        numbers.push_back(std::stoi(part));
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    return numbers;
}

void writeNumbers(IniFile& ini, const std::string& key, const std::vector<int>& numbers)
{
    std::string text;
    for (int number : numbers)
        text += (text.empty() ? "" : ",") + std::to_string(std::max(number, 0));
    ini.WriteString("Window", key, text);
}

void readWindow(const IniFile& ini, TWindowLayout& window)
{
    TWindowLayout defaults;
    window.X = ini.ReadInteger("Window", "Left", defaults.X);
    window.Y = ini.ReadInteger("Window", "Top", defaults.Y);
    window.Width = std::clamp(ini.ReadInteger("Window", "Width", defaults.Width), 200, 20000);
    window.Height = std::clamp(ini.ReadInteger("Window", "Height", defaults.Height), 150, 20000);
    window.Maximized = ini.ReadBool("Window", "Maximized", false);
    window.MiddleSplitter = readNumbers(ini, "MiddleSplitter");
    window.PaneSplitter = readNumbers(ini, "PaneSplitter");
    window.BottomSplitter = readNumbers(ini, "BottomSplitter");
    window.LocalColumns = readNumbers(ini, "LocalColumns");
    window.RemoteColumns = readNumbers(ini, "RemoteColumns");
    window.StatusColumns = readNumbers(ini, "StatusColumns");
    window.LocalSortColumn = std::clamp(ini.ReadInteger("Window", "LocalSortColumn", 0), 0, 2);
    window.LocalSortAscending = ini.ReadBool("Window", "LocalSortAscending", true);
    window.RemoteSortColumn = std::clamp(ini.ReadInteger("Window", "RemoteSortColumn", 0), 0, 2);
    window.RemoteSortAscending = ini.ReadBool("Window", "RemoteSortAscending", true);
}

void writeWindow(IniFile& ini, const TWindowLayout& window)
{
    ini.WriteInteger("Window", "Left", window.X);
    ini.WriteInteger("Window", "Top", window.Y);
    ini.WriteInteger("Window", "Width", window.Width);
    ini.WriteInteger("Window", "Height", window.Height);
    ini.WriteBool("Window", "Maximized", window.Maximized);
    writeNumbers(ini, "MiddleSplitter", window.MiddleSplitter);
    writeNumbers(ini, "PaneSplitter", window.PaneSplitter);
    writeNumbers(ini, "BottomSplitter", window.BottomSplitter);
    writeNumbers(ini, "LocalColumns", window.LocalColumns);
    writeNumbers(ini, "RemoteColumns", window.RemoteColumns);
    writeNumbers(ini, "StatusColumns", window.StatusColumns);
    ini.WriteInteger("Window", "LocalSortColumn", window.LocalSortColumn);
    ini.WriteBool("Window", "LocalSortAscending", window.LocalSortAscending);
    ini.WriteInteger("Window", "RemoteSortColumn", window.RemoteSortColumn);
    ini.WriteBool("Window", "RemoteSortAscending", window.RemoteSortAscending);
}

} // namespace

std::string MaskHostEntry(const std::string& entry)
{
    size_t colon = entry.rfind(':');
    if (colon == std::string::npos)
        return entry;
    return entry.substr(0, colon + 1) + "********";
}

void LoadSettings(TSettings& settings, const std::string& path, const std::string& programDir)
{
    IniFile ini(path);
    settings.HostHistory = readList(ini, "ServerIP");
    settings.HostItems.clear();
    for (const std::string& entry : settings.HostHistory)
        settings.HostItems.push_back(MaskHostEntry(entry));
    settings.TextExt = readList(ini, "TextExt");
    settings.ConnectionCount = ini.ReadInteger("FtpCliNum", "FtpCliNum", 3);
    settings.MTFileSize = ini.ReadInt64("MTFileSize", "MTFileSize", 1000000);
    settings.LocalPath = ini.ReadString("LocalPath", "LocalPath", programDir);
    readServer(ini, "Proxy", settings.Proxy);
    readServer(ini, "Socks", settings.Socks);
    settings.PasvMode = ini.ReadBool("PasvMode", "PasvMode", false);
    settings.TlsMode = std::clamp(ini.ReadInteger("Security", "TlsMode", 0), 0, 3);
    settings.UseSkin = ini.ReadInteger("Skin", "UseSkin", 1);
    settings.SkinColor = ini.ReadInteger("Skin", std::to_string(settings.UseSkin) + "Clr", 16777215);
    settings.MainConnDownload = ini.ReadBool("MainConnDownload", "MainConnDownload", true);
    settings.ProgramFont = ini.ReadBool("Fonts", "ProgramFont", false);
    settings.RichEditFont = ini.ReadBool("Fonts", "RichEditFont", false);
    readFont(ini, "ProgramFont", settings.ProgramFontData);
    readFont(ini, "RichEditFont", settings.RichEditFontData);
    settings.AntiIdleEnable = ini.ReadBool("AntiIdle", "Enable", true);
    settings.Interval = ini.ReadInteger("AntiIdle", "Interval", 60);
    settings.ShowSiteManager = ini.ReadBool("General", "ShowSiteManager", true);
    settings.ConnectionRetryTimes = ini.ReadInteger("General", "ConnectionRetryTimes", 3);
    settings.AnonymousEmail = ini.ReadString("General", "AnonymousEmail", TSettings::kDefaultAnonymousEmail);
    settings.ReplyTimeout = std::max(ini.ReadInteger("General", "ReplyTimeout", 60), 0);
    settings.DataTimeout = std::max(ini.ReadInteger("General", "DataTimeout", 60), 0);
    settings.LogLines = std::max(ini.ReadInteger("General", "LogLines", 5000), 1);
    settings.KeepRemoteTimes = ini.ReadBool("General", "KeepRemoteTimes", true);
    settings.KeyringPasswords = ini.ReadBool("General", "KeyringPasswords", false);
    settings.Pipelining = ini.ReadBool("General", "Pipelining", true);
    settings.ConfirmDelete = ini.ReadBool("General", "ConfirmDelete", true);
    settings.HistoryFiles = std::max<int64_t>(ini.ReadInt64("General", "HistoryFiles", 100000), 0);
    settings.DownloadLimit = std::max<int64_t>(ini.ReadInt64("General", "DownloadLimit", 0), 0);
    settings.UploadLimit = std::max<int64_t>(ini.ReadInt64("General", "UploadLimit", 0), 0);
    readWindow(ini, settings.Window);
}

bool SaveSettings(const TSettings& settings, const std::string& path)
{
    IniFile ini(path); // what the program does not write, the Skin section among it, stays
    writeList(ini, "ServerIP", settings.HostHistory);
    writeList(ini, "TextExt", settings.TextExt);
    ini.WriteInteger("FtpCliNum", "FtpCliNum", settings.ConnectionCount);
    ini.WriteInt64("MTFileSize", "MTFileSize", settings.MTFileSize); // the full 64-bit value
    ini.WriteString("LocalPath", "LocalPath", settings.LocalPath);
    writeServer(ini, "Proxy", settings.Proxy);
    writeServer(ini, "Socks", settings.Socks);
    ini.WriteBool("PasvMode", "PasvMode", settings.PasvMode);
    ini.WriteInteger("Security", "TlsMode", settings.TlsMode);
    ini.WriteBool("MainConnDownload", "MainConnDownload", settings.MainConnDownload);
    ini.WriteBool("Fonts", "ProgramFont", settings.ProgramFont);
    ini.WriteBool("Fonts", "RichEditFont", settings.RichEditFont);
    writeFont(ini, "ProgramFont", settings.ProgramFontData);
    writeFont(ini, "RichEditFont", settings.RichEditFontData);
    ini.WriteBool("AntiIdle", "Enable", settings.AntiIdleEnable);
    ini.WriteInteger("AntiIdle", "Interval", settings.Interval);
    ini.WriteBool("General", "ShowSiteManager", settings.ShowSiteManager);
    ini.WriteInteger("General", "ConnectionRetryTimes", settings.ConnectionRetryTimes);
    ini.WriteString("General", "AnonymousEmail", settings.AnonymousEmail);
    ini.WriteInteger("General", "ReplyTimeout", settings.ReplyTimeout);
    ini.WriteInteger("General", "DataTimeout", settings.DataTimeout);
    ini.WriteInteger("General", "LogLines", settings.LogLines);
    ini.WriteBool("General", "KeepRemoteTimes", settings.KeepRemoteTimes);
    ini.WriteBool("General", "KeyringPasswords", settings.KeyringPasswords);
    ini.WriteBool("General", "Pipelining", settings.Pipelining);
    ini.WriteBool("General", "ConfirmDelete", settings.ConfirmDelete);
    ini.WriteInt64("General", "HistoryFiles", settings.HistoryFiles);
    ini.WriteInt64("General", "DownloadLimit", settings.DownloadLimit);
    ini.WriteInt64("General", "UploadLimit", settings.UploadLimit);
    writeWindow(ini, settings.Window);
    return ini.UpdateFile();
}
