#include "ui/MainWindow.h"

// Start and end, the session and its state display, connecting, the connection count, the
// local commands handed to the desktop, the logs, and where every remote operation ends.

#include <algorithm>
#include <cstdlib>
#include <cstdio>
#include <ctime>
#include <iostream>

#include <sys/stat.h>
#include <unistd.h>

#include "config/DataFiles.h"
#include "config/SiteBook.h"
#include "net/SocketAddress.h"
#include "platform/AtomicFile.h"
#include "platform/LocalFiles.h"
#include "platform/TextLines.h"
#include "platform/Translate.h"
#include "ui/SyncWork.h"

using platform::Fill;
using platform::Tr;

namespace {

std::string today()
{
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d", &local);
    return text;
}

[[maybe_unused]] const char* sessionStateName(TSessionState state)
{
    static const char* const kNames[] = {"ssReady",        "ssConnecting",  "ssConnected",        "ssChangingDir",
                                         "ssPreparing",    "ssTransfering", "ssMakingUploadDirs", "ssRefreshing",
                                         "ssMakingDir",    "ssEditing",     "ssMoving",           "ssDeleting",
                                         "ssChangingMode", "ssRenaming"};
    return state <= ssRenaming ? kNames[state] : "?";
}

} // namespace

std::string StatusCaptionText(const TStatusRow& row)
{
    return std::to_string(row.Connection);
}

std::string StatusCountText(const TStatusRow& row)
{
    return row.Count < 0 ? std::string() : std::to_string(row.Count);
}

TfmMain::TfmMain(IMainView& view, std::string dataDir, std::string programDir)
    : m_view(view), m_dataDir(std::move(dataDir)), m_programDir(std::move(programDir))
{
    m_sync = std::make_unique<TSyncWork>(*this);
    m_antiIdle.onTimeout = [this] { m_manager.AntiIdleTick(); };
    m_progressTimer.onTimeout = [this] { ProgressTick(); };
    m_transfersTimer.onTimeout = [this] {
        if (m_run.Running())
            UpdateTransferRows();
    };
    m_logs.OnLinesChanged = [this](int page, size_t dropped, size_t appended) {
        m_view.LogLinesChanged(page, dropped, appended);
    };
    m_remoteRows.OnChanged = PaneNotifier(m_view, TPane::Remote);
}

TfmMain::~TfmMain() = default;

// ---------------------------------------------------------------- start and end

void TfmMain::FormCreate()
{
    datafiles::EnsureDefaultFiles(m_dataDir, m_programDir);
    // The local pane starts in the program's directory, or at home where the program is
    // installed (its directory not the user's).
    const char* home = std::getenv("HOME");
    std::string startDir = ::access(m_programDir.c_str(), W_OK) == 0 || !home ? m_programDir : std::string(home) + "/";
    LoadSettings(m_settings, SettingsPath(), startDir);
    if (AdjustSettings)
        AdjustSettings(m_settings);
    FillHostHistoryPasswords();
    // Each connection may hold six descriptors (control, data, listener, a pipe, the file).
    m_connectionLimit = std::clamp((platform::raiseDescriptorLimit() - 64) / 6, 1, TFtpManager::kMaxConnections - 1);
    m_settings.ConnectionCount = AllowedConnections(std::clamp(m_settings.ConnectionCount, 1, 255));
    m_run.SetSpeedLimits(m_settings.DownloadLimit, m_settings.UploadLimit);
    m_brokenLists.Load(BrokenListsPath());
    FillBrokenListPasswords();
    RecoverJournals();
    m_logs.SetLineLimit(static_cast<size_t>(m_settings.LogLines));
    m_logs.CreateLogPages(m_settings.ConnectionCount);
    struct stat info = {};
    bool localPathExists = ::stat(m_settings.LocalPath.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
    m_local.SetOrder(m_settings.Window.LocalSortColumn, m_settings.Window.LocalSortAscending);
    m_remoteRows.SetOrder(m_settings.Window.RemoteSortColumn, m_settings.Window.RemoteSortAscending);
    m_local.SetPath(localPathExists ? m_settings.LocalPath : startDir);
    m_manager.InitConnections(m_settings.ConnectionCount);
    // Files fetched for viewing live in tmp/ of the data directory, emptied at every start.
    m_tmpDir = m_dataDir + "tmp/";
    MakeLocalDirs(m_tmpDir);
    ::chmod(m_tmpDir.c_str(), 0700); // what the user views is the user's alone
    for (const TGetFileInfo& file : WalkLocalDir(m_tmpDir))
        std::remove(file.Path.c_str());
    m_queueTree = std::make_unique<TQueueTree>(today());
    for (const auto& list : m_brokenLists.Lists)
        m_queueTree->AddBrokenList(*list);
    m_queueTree->OnNodeAdded = [this](const TQueueNode& parent, size_t row) { m_view.QueueNodeAdded(parent, row); };
    m_queueTree->OnNodeRemoving = [this](const TQueueNode& parent, size_t row) {
        m_view.QueueNodeRemoving(parent, row);
    };
    m_queueTree->OnNodeRemoved = [this] { m_view.QueueNodeRemoved(); };
    m_queueTree->OnNodeChanged = [this](const TQueueNode& node) { m_view.QueueNodeChanged(node); };
    m_queueTree->OnResetting = [this] { m_view.QueueResetting(); };
    m_queueTree->OnReset = [this] { m_view.QueueReset(); };
    m_view.QueueReset();
    CreateStatusRows();
    SetSessionState(ssReady);
    m_toolBar.Pass = m_settings.AnonymousEmail;
}

void TfmMain::FormShow(const std::string& argument)
{
    if (!argument.empty()) {
        ParseFtpUrl(argument, m_toolBar, m_remoteDir);
        Reconnect();
    }
    if (m_settings.ShowSiteManager && OpenSiteManager)
        OpenSiteManager();
}

bool TfmMain::CanClose()
{
    size_t moving = 0;
    if (m_run.Running())
        for (const auto& file : m_run.Files())
            moving += file->State == TFileState::Done || file->State == TFileState::Failed ||
                              file->State == TFileState::Skipped
                          ? 0
                          : 1;
    if (moving > 0)
        return m_view.AskYesNo(Tr("TfmMain", "Quit"),
                               moving == 1 ? Tr("TfmMain", "1 file is still being transferred; what is left can be "
                                                           "resumed from the broken list. Quit anyway?")
                                           : Fill(Tr("TfmMain", "%1 files are still being transferred; what is left "
                                                                "can be resumed from the broken list. Quit anyway?"),
                                                  {std::to_string(moving)}));
    return m_sessionState == ssReady ||
           m_view.AskYesNo(Tr("TfmMain", "Quit"), Tr("TfmMain", "Still connected to host, Quit anyway?"));
}

void TfmMain::FormDestroy()
{
    m_manager.DisconnectAll();
    m_settings.LocalPath = m_local.Path();
    m_settings.Window.LocalSortColumn = m_local.SortColumn();
    m_settings.Window.LocalSortAscending = m_local.SortAscending();
    m_settings.Window.RemoteSortColumn = m_remoteRows.SortColumn();
    m_settings.Window.RemoteSortAscending = m_remoteRows.SortAscending();
    SaveSettingsFile();
    SaveBrokenLists();
}

std::string TfmMain::SshDir() const
{
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : "") + "/.ssh";
}

void TfmMain::SaveBrokenLists()
{
    // With the keyring on, the lists' passwords go there and the file holds none; when the
    // keyring cannot take them all, the file keeps them all.
    std::vector<std::pair<TOldQuene*, std::string>> held;
    if (platform::IPasswordStore* keyring = Keyring()) {
        std::string why;
        for (const auto& list : m_brokenLists.Lists)
            if (!list->PassWord.empty() && keyring->Write(list->PasswordKey(), list->PassWord, why))
                held.emplace_back(list.get(), list->PassWord);
            else if (!list->PassWord.empty())
                break;
        if (!why.empty()) {
            m_view.ShowMessage(platform::KeyringUnreachable(why) +
                               Tr("TfmMain", ": the broken lists' passwords stay in their file."));
            held.clear();
        }
    }
    for (auto& [list, password] : held)
        list->PassWord.clear();
    m_brokenLists.Save(BrokenListsPath());
    for (auto& [list, password] : held)
        list->PassWord = password;
    m_brokenListsChanged = false;
}

namespace {

// A host history entry ("host:port:user:password", the host in brackets when it is IPv6) cut
// before its password; false for an entry of another shape.
bool SplitHistoryEntry(const std::string& entry, std::string& login, std::string& password)
{
    size_t colon = 0;
    if (!entry.empty() && entry.front() == '[')
        colon = entry.find(']'); // the colons of an IPv6 address are no field's end
    for (int field = 0; field < 3 && colon != std::string::npos; ++field)
        colon = entry.find(':', field == 0 ? colon : colon + 1);
    if (colon == std::string::npos)
        return false;
    login = entry.substr(0, colon);
    password = entry.substr(colon + 1);
    return true;
}

} // namespace

void TfmMain::SaveSettingsFile()
{
    TSettings settings = m_settings;
    if (platform::IPasswordStore* keyring = Keyring()) {
        // The host history's passwords go to the keyring; the file keeps "host:port:user:".
        for (std::string& entry : settings.HostHistory) {
            std::string login, password, why;
            if (!SplitHistoryEntry(entry, login, password) || password.empty())
                continue;
            if (!keyring->Write("host-history/" + login, password, why)) {
                m_view.ShowMessage(platform::KeyringUnreachable(why) +
                                   Tr("TfmMain", ": the host history's passwords stay in quillftp.ini."));
                settings.HostHistory = m_settings.HostHistory;
                break;
            }
            entry = login + ":";
        }
    }
    SaveSettings(settings, SettingsPath());
}

void TfmMain::FillHostHistoryPasswords()
{
    platform::IPasswordStore* keyring = Keyring();
    for (std::string& entry : m_settings.HostHistory) {
        std::string login, password, why;
        if (!keyring || !SplitHistoryEntry(entry, login, password) || !password.empty())
            continue;
        auto found = keyring->Read("host-history/" + login, password, why);
        if (found == platform::IPasswordStore::TFound::Yes)
            entry = login + ":" + password;
        else if (found == platform::IPasswordStore::TFound::Unreachable)
            return; // the site book or the broken lists say so
    }
}

void TfmMain::FillBrokenListPasswords()
{
    platform::IPasswordStore* keyring = Keyring();
    for (const auto& list : m_brokenLists.Lists) {
        std::string why;
        if (keyring && list->PassWord.empty() &&
            keyring->Read(list->PasswordKey(), list->PassWord, why) == platform::IPasswordStore::TFound::Unreachable) {
            m_view.ShowMessage(platform::KeyringUnreachable(why) +
                               Tr("TfmMain", ": the broken lists' passwords kept there are not at hand."));
            return;
        }
    }
}

void TfmMain::SetSpeedLimits(int64_t download, int64_t upload)
{
    m_settings.DownloadLimit = std::max<int64_t>(download, 0);
    m_settings.UploadLimit = std::max<int64_t>(upload, 0);
    m_run.SetSpeedLimits(m_settings.DownloadLimit, m_settings.UploadLimit);
    SaveSettingsFile();
}

namespace {

// The site book's messages, shown by the window.
struct TBookMessages : ISiteBookPrompt
{
    explicit TBookMessages(IMainView& view) : View(view) {}
    bool InputQuery(const std::string&, const std::string&, std::string&) override { return false; }
    void ShowMessage(const std::string& text) override { View.ShowMessage(text); }
    IMainView& View;
};

} // namespace

platform::IPasswordStore* TfmMain::Keyring()
{
    if (!m_settings.KeyringPasswords)
        return nullptr;
    if (!m_keyring)
        m_keyring = platform::DesktopKeyring();
    return m_keyring.get();
}

void TfmMain::ApplySettings(const TSettings& settings)
{
    int count = settings.ConnectionCount;
    bool keyring = m_settings.KeyringPasswords;
    m_settings = settings;
    if (keyring != settings.KeyringPasswords) {
        // The passwords move; when they cannot, they stay where they were, and so does the setting.
        if (!m_keyring)
            m_keyring = platform::DesktopKeyring();
        TBookMessages messages(m_view);
        if (!TSiteBook::MovePasswords(m_dataDir + datafiles::kSiteBook, messages, *m_keyring,
                                      settings.KeyringPasswords))
            m_settings.KeyringPasswords = keyring;
        else
            SaveBrokenLists(), SaveSettingsFile(); // theirs move too: into the keyring, or back
        if (m_settings.KeyringPasswords != keyring && !settings.KeyringPasswords)
            for (const auto& list : m_brokenLists.Lists)
                if (std::string why; !list->PassWord.empty())
                    m_keyring->Remove(list->PasswordKey(), why);
        if (m_settings.KeyringPasswords != keyring && !settings.KeyringPasswords)
            for (const std::string& entry : m_settings.HostHistory)
                if (std::string login, password, why; SplitHistoryEntry(entry, login, password))
                    m_keyring->Remove("host-history/" + login, why);
    }
    m_settings.ConnectionCount = m_manager.Count();
    m_logs.SetLineLimit(static_cast<size_t>(std::max(m_settings.LogLines, 1)));
    m_run.SetSpeedLimits(m_settings.DownloadLimit, m_settings.UploadLimit);
    for (int i = 0; i < m_manager.Count(); ++i)
        if (!m_manager.Connected(i))
            m_manager.ConfigureConnection(i);
    if (count != m_manager.Count())
        ResizeConnectionCount(count);
}

void TfmMain::SetWindowLayout(const TWindowLayout& layout)
{
    m_settings.Window = layout;
}

void TfmMain::RecoverJournals()
{
    std::vector<std::string> files;
    auto lists = TRunJournal::Orphans(m_dataDir, files);
    if (files.empty())
        return;
    for (auto& list : lists)
        m_brokenLists.Lists.push_back(std::move(list));
    // The journals go only once their lists are safe in the broken-list file.
    if (m_brokenLists.Save(BrokenListsPath()))
        TRunJournal::Forget(files);
}

int TfmMain::AllowedConnections(int wanted)
{
    if (wanted <= m_connectionLimit)
        return wanted;
    m_view.ShowMessage(Fill(Tr("TfmMain", "Using %1 connections, not %2: the limit of open files allows no more"),
                            {std::to_string(m_connectionLimit), std::to_string(wanted)}));
    return m_connectionLimit;
}

// ---------------------------------------------------------------- session state

std::string TfmMain::Caption() const
{
    if (m_sessionState == ssReady)
        return std::string(kTitle) + Tr("TfmMain", " - Not connected");
    std::string caption = std::string(kTitle) + " - " + m_manager.SessionInfo().HostName;
    if (m_manager.Sftp())
        return caption + " (SFTP)";
    const TFtpClient* main = m_manager.Client(0);
    if (m_sessionState != ssConnecting && main && main->ControlSocket()->Tls())
        caption += main->Protected()
                       ? Fill(Tr("TfmMain", " (protected by %1)"), {main->ControlSocket()->Tls()->Version()})
                       : Tr("TfmMain", " (TLS for commands only)");
    return caption;
}

void TfmMain::SetSessionState(TSessionState state)
{
#ifndef NDEBUG
    if (state != m_sessionState)
        std::cerr << "session: " << sessionStateName(m_sessionState) << " -> " << sessionStateName(state) << "\n";
#endif
    m_sessionState = state;
    struct Display
    {
        const char* panel;
        const char* row;
        int image;
    };
    // Panel 0 and status row 0 by state; states after ssPreparing leave them as they are.
    static const Display kDisplays[] = {{QT_TRANSLATE_NOOP("TfmMain", "Ready"), "Ready", 0},
                                        {QT_TRANSLATE_NOOP("TfmMain", "Connecting"), "Connecting", 1},
                                        {QT_TRANSLATE_NOOP("TfmMain", "Connected"), "Connected", 2},
                                        {QT_TRANSLATE_NOOP("TfmMain", "Changing dir"), "ChangingDir", 1},
                                        {QT_TRANSLATE_NOOP("TfmMain", "Preparing"), "Preparing", 1},
                                        {QT_TRANSLATE_NOOP("TfmMain", "Transfering"), nullptr, 0}};
    if (state <= ssTransfering) {
        const Display& display = kDisplays[state];
        m_statusPanels[0] = Tr("TfmMain", display.panel);
        if (state == ssConnected && m_manager.Sftp())
            m_statusPanels[0] += " (SFTP)";
        if (display.row && !m_statusRows.empty()) {
            m_statusRows[0].State = display.row;
            m_statusRows[0].ImageIndex = display.image;
            m_view.StatusRowChanged(0);
        }
    }
    m_busy = state != ssReady && state != ssConnected;
    m_view.SessionStateChanged();
    if (state == ssReady && !m_transfersRunning)
        ResetSessionView();
    if (state == ssConnected && m_settings.AntiIdleEnable && m_settings.Interval > 0)
        m_antiIdle.start(m_settings.Interval * 1000);
    else
        m_antiIdle.stop();
}

void TfmMain::SetPendingAfterConnect(TPendingAfterConnect pending)
{
#ifndef NDEBUG
    if (pending != m_pendingAfterConnect)
        std::cerr << "after connect: " << static_cast<int>(m_pendingAfterConnect) << " -> " << static_cast<int>(pending)
                  << "\n";
#endif
    m_pendingAfterConnect = pending;
}

void TfmMain::ResetSessionView()
{
    m_remoteRows.Clear();
    m_remotePathItems.clear();
    m_remoteSummary.clear();
    for (size_t n = 0; n < m_statusRows.size(); ++n) {
        m_statusRows[n].State = "Ready";
        m_statusRows[n].FileName.clear();
        m_statusRows[n].Count = -1;
        m_view.StatusRowChanged(n);
    }
    for (size_t i = 1; i <= 4; ++i)
        m_statusPanels[i].clear();
    if (m_pendingAfterConnect != TPendingAfterConnect::ResumeBrokenList && m_queueTree)
        m_queueTree->ClearTransfers();
    m_transfersRunning = false;
    EndProgress(); // a disconnect during a run leaves no gauge or timer behind
    m_view.PanePathChanged(TPane::Remote);
}

void TfmMain::CreateStatusRows()
{
    m_statusRows.clear();
    for (int n = 0; n < m_settings.ConnectionCount; ++n) {
        TStatusRow row;
        row.Connection = n;
        m_statusRows.push_back(row);
    }
    m_view.StatusRowsResized();
}

// ---------------------------------------------------------------- connecting

void TfmMain::SetToolBar(const TToolBarFields& fields)
{
    // The fields show no scheme: the TLS or the SSH an address chose holds while they name its
    // server.
    bool sameServer = fields.HostName == m_toolBar.HostName && fields.Port == m_toolBar.Port;
    int security = m_toolBar.Security;
    bool sftp = m_toolBar.Sftp;
    m_toolBar = fields;
    if (fields.Security < 0 && sameServer)
        m_toolBar.Security = security;
    m_toolBar.Sftp = fields.Sftp || (sameServer && sftp);
}

bool TfmMain::ValidHostInfo(THostInfo& info)
{
    info = {platform::TrimBlanks(m_toolBar.HostName), platform::TrimBlanks(m_toolBar.Port),
            platform::TrimBlanks(m_toolBar.User), platform::TrimBlanks(m_toolBar.Pass), m_toolBar.Security};
    // SSH is told by its scheme or by its port: no FTP server is served on 22.
    info.Sftp = m_toolBar.Sftp || info.HostPort == "22";
    if (info.Sftp && info.UserName.empty())
        info.UserName = LocalUserName();
    else if (!info.Sftp)
        CompleteAnonymousLogin(info.UserName, info.PassWord, m_settings.AnonymousEmail);
    // An SSH login may need no password (a key, the agent).
    std::string missing = info.HostName.empty()   ? Tr("TfmMain", "Please enter the host name to connect")
                          : info.HostPort.empty() ? Tr("TfmMain", "Please enter the port to connect")
                          : info.PassWord.empty() && !info.Sftp
                              ? Fill(Tr("TfmMain", "Please enter the password of %1 to connect"), {info.UserName})
                              : "";
    if (!missing.empty())
        m_view.ShowMessage(missing);
    return missing.empty();
}

void TfmMain::ConnectFromToolBar()
{
    if (m_sessionState != ssReady &&
        !m_view.AskYesNo(Tr("TfmMain", "Confirm"), Tr("TfmMain", "Break current connection ?")))
        return;
    if (m_transfersRunning) {
        const THostInfo& session = m_manager.SessionInfo();
        if (session.HostName + session.HostPort + session.UserName + session.PassWord !=
            m_toolBar.HostName + m_toolBar.Port + m_toolBar.User + m_toolBar.Pass) {
            m_view.ShowMessage(
                Tr("TfmMain", "Sorry, Can't connect to different host while transfering file background"));
            return;
        }
        m_manager.ConnectMain(m_manager.SessionInfo());
        SetSessionState(ssConnecting);
        return;
    }
    ResetSessionView();
    m_run.NewSite();
    if (WSocketIsIPv6Form(m_toolBar.HostName)) // "::1" or "[::1]" alone: a host, not an address
        m_toolBar.HostName = TSocketAddress::Resolve(m_toolBar.HostName, 0).Host();
    const std::string& host = m_toolBar.HostName;
    bool address =
        !WSocketIsIPv6Form(host) && (host.find(':') != std::string::npos || host.find("://") != std::string::npos ||
                                     host.find('/') != std::string::npos || host.find('@') != std::string::npos);
    if (address) {
        m_remoteDir.clear();
        std::string text = host;
        if (host.find("********") != std::string::npos) {
            // A masked history item stands for its stored entry; an item the user edited
            // is no longer one of them and is taken as it stands.
            auto item = std::find(m_settings.HostItems.begin(), m_settings.HostItems.end(), host);
            if (item != m_settings.HostItems.end())
                text = m_settings.HostHistory[static_cast<size_t>(item - m_settings.HostItems.begin())];
        }
        ParseFtpUrl(text, m_toolBar, m_remoteDir);
        if (!m_remoteDir.empty()) {
            THostInfo info;
            if (ValidHostInfo(info)) {
                SetPendingAfterConnect(TPendingAfterConnect::ChangeDir);
                m_manager.ConnectMain(info);
                SetSessionState(ssConnecting);
            }
            return;
        }
    }
    THostInfo info;
    if (ValidHostInfo(info)) {
        m_manager.ConnectMain(info);
        SetSessionState(ssConnecting);
    }
}

void TfmMain::Reconnect()
{
    SetPendingAfterConnect(TPendingAfterConnect::ChangeDir);
    ConnectFromToolBar();
}

void TfmMain::ConnectTo(const TToolBarFields& fields, const std::string& directory)
{
    m_toolBar = fields;
    m_remoteDir = EnsureTrailing(directory, '/');
    Reconnect();
}

void TfmMain::Disconnect()
{
    // A run on these connections ends first: what it has not done is kept to resume.
    if (m_run.Running())
        m_run.EndRun();
    m_manager.DisconnectAll();
    m_queue.clear();
    SetSessionState(ssReady);
}

void TfmMain::Abort()
{
    // A foreground run stops with Abort; a background run when connection 0 has nothing of
    // its own to stop (a directory change goes first).
    bool runStops = m_run.Running() && (m_settings.MainConnDownload || m_sessionState == ssConnected);
    if (m_sync->Busy() && !runStops) {
        // A comparison's listings, or a synchronization's deletions, stop where they are.
        ShowLogLine(0, Tr("TfmMain", "User Aborted"));
        m_sync->Cancel();
    } else if (runStops) {
        ShowLogLine(0, Tr("TfmMain", "User Aborted"));
        m_run.AbortRequested();
    } else {
        m_manager.AbortCurrent();
    }
    if (m_sessionState != ssTransfering)
        SetSessionState(m_sessionState);
}

void TfmMain::EndRunNow()
{
    m_run.EndRun();
}

void TfmMain::AddHostHistory()
{
    std::string host = platform::TrimBlanks(m_toolBar.HostName);
    if (host.find(':') != std::string::npos)
        host = "[" + host + "]"; // IPv6
    std::string entry = host + ":" + platform::TrimBlanks(m_toolBar.Port) + ":" + platform::TrimBlanks(m_toolBar.User) +
                        ":" + platform::TrimBlanks(m_toolBar.Pass);
    std::string masked = MaskHostEntry(entry);
    for (const std::string& item : m_settings.HostItems)
        if (platform::EqualsIgnoringCase(item, masked))
            return;
    m_settings.HostItems.push_back(masked);
    m_settings.HostHistory.push_back(entry);
}

// ---------------------------------------------------------------- the connection count

void TfmMain::ResizeConnectionCount(int newCount)
{
    newCount = AllowedConnections(std::clamp(newCount, 1, TFtpManager::kMaxConnections - 1));
    if (newCount == m_settings.ConnectionCount && newCount == m_manager.Count())
        return;
    // Items on connections that go return to the queue with their reached offsets.
    m_run.ReleaseConnections(newCount);
    m_logs.ResizeLogPages(std::max(newCount, m_manager.Count())); // pages for the lines of new connections
    m_manager.SetConnectionCount(newCount);
    m_settings.ConnectionCount = newCount;
    m_logs.ResizeLogPages(newCount);
    m_view.LogPagesResized();
    while (static_cast<int>(m_statusRows.size()) > newCount)
        m_statusRows.pop_back();
    while (static_cast<int>(m_statusRows.size()) < newCount) {
        TStatusRow row;
        row.Connection = static_cast<int>(m_statusRows.size());
        m_statusRows.push_back(row);
    }
    m_view.StatusRowsResized();
    m_run.FillIdleConnections(newCount); // during a run, new connections take work at once
}

void TfmMain::IncreaseThreadNumber()
{
    if (m_settings.ConnectionCount < std::min(255, m_connectionLimit))
        ResizeConnectionCount(m_settings.ConnectionCount + 1);
}

void TfmMain::DecreaseThreadNumber()
{
    // Without connection 0 transferring, a run needs two connections at least.
    int least = m_settings.MainConnDownload ? 2 : 3;
    if (m_settings.ConnectionCount >= least)
        ResizeConnectionCount(m_settings.ConnectionCount - 1);
}

void TfmMain::ToggleMainConnDownload()
{
    if (m_settings.MainConnDownload && m_settings.ConnectionCount == 1) {
        m_view.ShowMessage(Tr("TfmMain", "Can't set Main-Connection idle when only 1 connection"));
        return;
    }
    m_settings.MainConnDownload = !m_settings.MainConnDownload;
    m_view.ShowMessage(
        m_settings.MainConnDownload
            ? Tr("TfmMain", "USE MAIN CONNECTION TRANSFER means use all FTP connection to transfer files")
            : Tr("TfmMain", "NOT USE MAIN CONNECTION TRANSFER means remain main FTP connection to do "
                            "other things, such as CHANGING DIR, DRAG MORE FILES TO TRANSFER, etc."));
}

std::string TfmMain::MainConnectionCaption() const
{
    return m_settings.MainConnDownload ? Tr("TfmMain", "NOT Use Main Connection to Transfer")
                                       : Tr("TfmMain", "Use Main Connection to Transfer");
}

// ---------------------------------------------------------------- logs and local commands

void TfmMain::CopyLog(int page)
{
    m_view.SetClipboardText(m_logs.AllText(page));
}

void TfmMain::ClearLog(int page)
{
    m_logs.Clear(page);
}

void TfmMain::ShowLogLine(int connection, const std::string& line)
{
    m_logs.ShowLogLine(connection, line);
}

std::string TfmMain::FirstSelectedLocalPath() const
{
    std::vector<std::string> names = m_local.SelectedNames();
    return names.empty() ? std::string() : m_local.Path() + names.front();
}

void TfmMain::LocalEdit()
{
    if (std::string path = FirstSelectedLocalPath(); !path.empty())
        m_view.OpenInTextEditor(path);
}

void TfmMain::LocalExecute()
{
    if (std::string path = FirstSelectedLocalPath(); !path.empty())
        m_view.RunProgram(path);
}

void TfmMain::LocalProperties()
{
    if (std::string path = FirstSelectedLocalPath(); !path.empty())
        m_view.ShowProperties(path);
}

void TfmMain::LocalOpenCurrentDirectory()
{
    m_view.OpenWithDefaultApplication(m_local.Path());
}

void TfmMain::LocalMakeDirectory()
{
    if (m_sessionState == ssReady || m_sessionState == ssConnected)
        m_local.MakeDirectory();
}

void TfmMain::LocalChangeDirectory()
{
    if (m_sessionState == ssReady || m_sessionState == ssConnected)
        m_local.ChangeDirectory();
}

void TfmMain::SetViewStyle(TPane pane, TViewStyle style)
{
    (pane == TPane::Remote ? m_remoteViewStyle : m_localViewStyle) = style;
    m_view.PaneRowsReplaced(pane);
}

// ---------------------------------------------------------------- completions

void TfmMain::Record(const TOperationResult& result)
{
    TOperationResult& kept = m_results[result.Operation];
    kept = result;
    kept.Sequence = ++m_resultSequence;
    m_view.OperationEnded(kept);
}

const TOperationResult& TfmMain::LastResult(TOperation operation) const
{
    static const TOperationResult kNone;
    auto found = m_results.find(operation);
    return found == m_results.end() ? kNone : found->second;
}

void TfmMain::OperationDone(const TOperationResult& result)
{
    // A run's result is kept when the run has ended and its leftovers are settled.
    if (result.Operation != TOperation::Transfer)
        Record(result);
    switch (m_sessionState) {
    case ssConnecting:
        SetSessionState(ssConnected);
        AddHostHistory();
        if (m_pendingAfterConnect == TPendingAfterConnect::ResumeBrokenList) {
            // A broken list resumes: its ranges go on where they were, no questions.
            SetPendingAfterConnect(TPendingAfterConnect::None);
            m_remoteDir = m_manager.CurrentRemoteDir();
            SelectRemotePath(m_remoteDir);
            ShowRemoteListing();
            SetSessionState(ssTransfering);
            StartTransfers(m_queue, true);
            return;
        }
        if (m_pendingAfterConnect == TPendingAfterConnect::ChangeDir) {
            SetPendingAfterConnect(TPendingAfterConnect::None);
            // The login's own directory is listed already: only another one is changed to.
            if (!m_remoteDir.empty() && EnsureTrailing(m_remoteDir, '/') != m_manager.CurrentRemoteDir()) {
                SetSessionState(ssChangingDir);
                m_manager.ChangeDir(m_remoteDir);
                return;
            }
        }
        m_remoteDir = m_manager.CurrentRemoteDir();
        SelectRemotePath(m_remoteDir);
        ShowRemoteListing();
        break;
    case ssChangingDir:
        SetSessionState(ssConnected);
        m_remoteDir = m_manager.CurrentRemoteDir();
        SelectRemotePath(m_remoteDir);
        ShowRemoteListing();
        break;
    case ssRefreshing:
        SetSessionState(ssConnected);
        ShowRemoteListing();
        break;
    case ssMakingDir:
    case ssDeleting:
    case ssChangingMode:
    case ssRenaming:
        TellRefusals(result);
        SetSessionState(ssRefreshing);
        m_manager.Refresh(m_remoteDir);
        break;
    case ssMoving:
        TellRefusals(result);
        SetSessionState(ssChangingDir);
        m_manager.ChangeDir(m_moveTarget);
        break;
    case ssTransfering:
        if (m_transfersRunning) {
            SetSessionState(ssConnected); // a background run has just been launched
            break;
        }
        EndOfRun(result);
        break;
    case ssEditing:
        Record(result);
        EndProgress();
        if (platform::fileExists(m_editFile))
            m_view.OpenInTextEditor(m_editFile);
        SetSessionState(ssConnected);
        break;
    case ssPreparing:
        QueueWalkResult();
        break;
    case ssMakingUploadDirs:
        RunQueue();
        break;
    default:
        SetSessionState(ssConnected);
        break;
    }
}

void TfmMain::TellRefusals(const TOperationResult& result)
{
    static const std::map<TOperation, const char*> kWhat = {
        {TOperation::MakeDirs, QT_TRANSLATE_NOOP("TfmMain", "Could not make:")},
        {TOperation::Delete, QT_TRANSLATE_NOOP("TfmMain", "Could not delete:")},
        {TOperation::ChangeMode, QT_TRANSLATE_NOOP("TfmMain", "Could not change the mode of:")},
        {TOperation::Rename, QT_TRANSLATE_NOOP("TfmMain", "Could not rename or move:")}};
    std::vector<TItemOutcome> failures = result.Failures();
    auto what = kWhat.find(result.Operation);
    if (failures.empty() || what == kWhat.end())
        return;
    constexpr size_t kShown = 10;
    std::string text = Tr("TfmMain", what->second);
    for (size_t k = 0; k < failures.size() && k < kShown; ++k)
        text += "\n" + failures[k].Name + ": " + failures[k].Reply;
    if (failures.size() > kShown)
        text += "\n" + Fill(Tr("TfmMain", "... and %1 more (see the log)"), {std::to_string(failures.size() - kShown)});
    m_view.ShowMessage(text);
}

void TfmMain::OperationFailed(const TOperationResult& result)
{
    Record(result);
    if (m_pendingAfterConnect == TPendingAfterConnect::ResumeBrokenList) {
        // A broken list being resumed could not log in: it stays a broken list.
        SetPendingAfterConnect(TPendingAfterConnect::None);
        if (SaveBrokenList)
            SaveBrokenList(m_queue);
        m_queue.clear();
    }
    // A login that failed, or a connection that went before its failure was told, leaves no session.
    bool gone = m_sessionState == ssConnecting || m_sessionState == ssReady || !m_manager.Connected(0);
    SetSessionState(gone ? ssReady : ssConnected);
}
