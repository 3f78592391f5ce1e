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
    return ini.UpdateFile();
}
