#pragma once

// Every setting of the program with its key, its default and its place in quillftp.ini.
// The main window holds one TSettings; LoadSettings fills it at start-up and SaveSettings
// writes it back when the program ends.

#include <cstdint>
#include <string>
#include <vector>

// An FTP proxy or a SOCKS server, as the two sections "Proxy" and "Socks" store them.
struct TProxySetting
{
    bool Enabled = false;
    std::string Host;
    std::string Port;
    std::string User;
    std::string Pass;
    uint8_t Type = 0; // the connection type of the FTP client (ftpProxy = 1 .. ftpSocks5 = 7), 0 direct
};
using TSocksSetting = TProxySetting;

// A font as six keys; the GUI turns it into a real font.
struct TFontSetting
{
    int CharSet = 1;
    int Color = -2147483640; // 0x80000008: the system's window-text colour
    int Height = -12;
    std::string Name = "MS Sans Serif";
    int Pitch = 0;
    int Size = 9;
};

// How the window was left: its place, its splitters, its columns and each pane's order. Kept
// in the section "Window"; lists of numbers are written as "a,b,c".
struct TWindowLayout
{
    int X = -1; // -1: centred on the screen
    int Y = -1;
    int Width = 1100; // on a smaller screen the window takes most of it
    int Height = 720;
    bool Maximized = false;
    std::vector<int> MiddleSplitter; // queue tree, local pane, remote pane
    std::vector<int> PaneSplitter;   // middle, bottom
    std::vector<int> BottomSplitter; // status list, logs
    std::vector<int> LocalColumns;
    std::vector<int> RemoteColumns;
    std::vector<int> StatusColumns;
    int LocalSortColumn = 0;
    bool LocalSortAscending = true;
    int RemoteSortColumn = 0;
    bool RemoteSortAscending = true;
};

struct TSettings
{
    static constexpr const char* kDefaultAnonymousEmail = "quillftp@example.com";

    std::vector<std::string> HostHistory; // host:port:user:password, as stored
    std::vector<std::string> HostItems;   // the same entries with the password masked
    std::vector<std::string> TextExt;     // extensions transferred in ASCII mode, without the dot
    int ConnectionCount = 3;              // key FtpCliNum
    int64_t MTFileSize = 1000000;
    std::string LocalPath; // ends with "/"
    TProxySetting Proxy;
    TSocksSetting Socks;
    bool PasvMode = false;
    // TLS for new connections: 0 when the server offers it, 1 required, 2 implicit, 3 plain FTP.
    int TlsMode = 0;
    int UseSkin = 1;
    int SkinColor = 16777215; // key <UseSkin>Clr of section Skin
    bool MainConnDownload = true;
    bool ProgramFont = false;  // apply ProgramFontData at start-up
    bool RichEditFont = false; // apply RichEditFontData to the logs at start-up
    TFontSetting ProgramFontData;
    TFontSetting RichEditFontData;
    bool AntiIdleEnable = true;
    int Interval = 60;
    bool ShowSiteManager = true;
    int ConnectionRetryTimes = 3;
    // Seconds a reply may take, and a data connection may go without moving a byte; 0: no limit.
    int ReplyTimeout = 60;
    int DataTimeout = 60;
    // Lines a connection's log page keeps; the oldest go.
    int LogLines = 5000;
    // A downloaded file takes the server's modification time of it (MDTM), an uploaded one
    // gives the server its local time (MFMT, where offered).
    bool KeepRemoteTimes = true;
    // The site book's passwords live in the desktop's keyring; its file keeps empty fields.
    bool KeyringPasswords = false;
    // Transfer connections send the commands of their next file before the replies to the
    // ones before have come (fewer round trips per file).
    bool Pipelining = true;
    // Delete asks first, naming what goes; a folder's contents go only when the user says so.
    bool ConfirmDelete = true;
    // Files the transfer history keeps (the oldest go); 0 keeps none.
    int64_t HistoryFiles = 100000;
    // Speed limits for all the connections of a run together, bytes per second; 0: none.
    int64_t DownloadLimit = 0;
    int64_t UploadLimit = 0;
    TWindowLayout Window;
    std::string AnonymousEmail = kDefaultAnonymousEmail;
};

// The host-history entry as the host box shows it: everything after its last ":" masked.
std::string MaskHostEntry(const std::string& entry);

// Reads every setting from the file; missing or unreadable values take their defaults.
// programDir (ending with "/") is the default LocalPath.
void LoadSettings(TSettings& settings, const std::string& path, const std::string& programDir);

// Writes every setting except the Skin section, keeping what else the file holds; false when
// the file could not be written.
bool SaveSettings(const TSettings& settings, const std::string& path);
