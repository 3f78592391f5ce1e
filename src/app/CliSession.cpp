#include "app/CliSession.h"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <iostream>

#include <sys/stat.h>
#include <unistd.h>

#include "app/CliJson.h"
#include "app/Credentials.h"
#include "app/TerminalText.h"
#include "config/SiteBook.h"
#include "manager/CommFunc.h"
#include "platform/EventLoop.h"
#include "platform/Paths.h"
#include "ui/FtpUrl.h"
#include "ui/MainWindow.h"
#include "platform/Translate.h"

using platform::Fill;
using platform::Tr;

namespace fs = std::filesystem;

namespace {

volatile std::sig_atomic_t g_interrupts = 0;

void interrupted(int)
{
    g_interrupts = g_interrupts + 1;
}

std::string absolutePath(const std::string& path)
{
    if (!path.empty() && path[0] == '/')
        return path;
    char buffer[4096];
    std::string here = ::getcwd(buffer, sizeof buffer) ? buffer : "/";
    return EnsureTrailing(here, '/') + (path == "." ? "" : path);
}

std::string withoutTrailingSlash(std::string path)
{
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

// "d" for folders, "l" for symbolic links, "f" for files.
char entryKind(const TlvFileInfo& entry)
{
    if (entry.Kind == TEntryKind::Link)
        return 'l';
    return entry.IsDir() ? 'd' : 'f';
}

} // namespace

bool TCliSession::Interrupted()
{
    return g_interrupts > 0;
}

std::string TCliSession::AbsolutePath(const std::string& path)
{
    return absolutePath(path);
}

TCliSession::TCliSession(const TCliOptions& options) : m_options(options), m_view(options)
{
    std::string dataDir =
        options.DataDir.empty() ? platform::dataDirectory() : EnsureTrailing(absolutePath(options.DataDir), '/');
    MakeLocalDirs(dataDir);
    m_window = std::make_unique<TfmMain>(m_view, dataDir, platform::shippedFilesDirectory());
    m_view.Attach(*m_window);
    // The command line's options count for this run only: the settings file is never written.
    m_window->AdjustSettings = [this](TSettings& settings) { ApplyCliOptions(m_options, settings); };
    m_window->FormCreate();
    m_brokenListsAtStart = BrokenListsState();
    std::signal(SIGINT, interrupted);
    std::signal(SIGTERM, interrupted);
}

TCliSession::~TCliSession()
{
    m_view.EndProgressLine();
    m_window->Disconnect();
    platform::pumpEvents(0); // the last log lines
    // A run that made or resumed a broken list changes the file; others leave it alone.
    if (BrokenListsState() != m_brokenListsAtStart)
        m_window->SaveBrokenLists();
}

std::pair<size_t, size_t> TCliSession::BrokenListsState() const
{
    return {m_window->BrokenLists().Lists.size(), m_window->BrokenLists().DeletedBrokenKeys.size()};
}

int TCliSession::Run()
{
    for (std::string& operand : m_options.Operands)
        if (operand.rfind("site:", 0) == 0)
            if (std::string error; !SiteAddress(operand, error))
                return Fail(error, kExitUsage);
    const std::string& command = m_options.Command;
    if (command == "ls")
        return List();
    if (command == "get")
        return Get();
    if (command == "put")
        return Put();
    if (command == "mkdir")
        return MakeDirectory();
    if (command == "rm" || command == "rmdir")
        return Remove(command == "rmdir");
    if (command == "mv")
        return Rename();
    if (command == "chmod")
        return ChangeMode();
    if (command == "broken")
        return ShowBrokenLists();
    if (command == "history")
        return ShowHistory();
    if (command == "sites")
        return ShowSites();
    if (command == "sync")
        return Synchronize();
    return Resume();
}

namespace {

// The site book as the program reads it: nothing to ask, nothing changed.
struct TNoQuestions : ISiteBookPrompt
{
    bool InputQuery(const std::string&, const std::string&, std::string&) override { return false; }
    void ShowMessage(const std::string&) override {}
};

} // namespace

int TCliSession::ShowSites()
{
    TNoQuestions noQuestions;
    TSiteBook book(m_window->DataDir() + "book20.dat", noQuestions);
    book.Passwords = m_window->Keyring(); // the window's store: the same passwords
    book.LoadSiteBook();
    for (const TSiteBook::ClassNode& node : book.Classes)
        for (const std::string& site : node.Sites)
            std::cout << "site:" << EscapeControls(node.Name) << "/" << EscapeControls(site) << "\n";
    std::cout.flush();
    return kExitDone;
}

bool TCliSession::SiteAddress(std::string& operand, std::string& error)
{
    TNoQuestions noQuestions;
    TSiteBook book(m_window->DataDir() + "book20.dat", noQuestions);
    book.Passwords = m_window->Keyring(); // the window's store: the same passwords
    book.LoadSiteBook();
    // site:CLASS/NAME[/PATH]: names may hold "/", so each class and site is tried as a prefix.
    std::string named = operand.substr(5);
    int record = 0;
    for (const TSiteBook::ClassNode& node : book.Classes) {
        for (const std::string& site : node.Sites) {
            ++record;
            std::string prefix = node.Name + "/" + site;
            if (named.rfind(prefix, 0) != 0 || (named.size() > prefix.size() && named[prefix.size()] != '/'))
                continue;
            using Layout = TSiteBookTables;
            // The fields as the window's tool bar takes them: the host field may hold an
            // address of its own (sftp://host, host:port).
            TToolBarFields fields{"", book.Tables.Text(record, Layout::kPort), book.Tables.Text(record, Layout::kUser),
                                  book.Tables.Text(record, Layout::kPassword)};
            std::string ignored;
            ParseFtpUrl(book.Tables.Text(record, Layout::kHost), fields, ignored);
            if (fields.HostName.empty()) {
                error = Fill(Tr("Cli", "the site %1 holds no address"), {prefix});
                return false;
            }
            std::string path = named.substr(std::min(named.size(), prefix.size() + 1));
            operand = RemoteAddress({fields.HostName, fields.Port, fields.User, "", fields.Security, fields.Sftp},
                                    "/" + path);
            if (fields.Security == ftpsImplicit || fields.Security == ftpsRequire)
                operand.replace(0, 3, fields.Security == ftpsImplicit ? "ftps" : "ftpes");
            // The book's password is the run's, and kept off the address.
            m_password = fields.Pass;
            return true;
        }
    }
    error = Fill(Tr("Cli", "no site %1 in the site book %2 (site:CLASS/NAME/path)"), {named, book.Path()});
    return false;
}

int TCliSession::Fail(const std::string& text, int status)
{
    m_view.EndProgressLine();
    std::cerr << "quillftp-cli: " << TerminalText(text) << "\n";
    return status;
}

// ---------------------------------------------------------------- waiting

bool TCliSession::WaitUntil(const std::function<bool()>& done)
{
    bool aborted = false;
    while (!done()) {
        platform::pumpEvents(100);
        if (g_interrupts > 1) {
            m_window->EndRunNow(); // quit at once, but keep what is left
            return false;
        }
        if (g_interrupts == 1 && !aborted) {
            aborted = true;
            m_view.EndProgressLine();
            std::cerr << "quillftp-cli: "
                      << Tr("Cli", "interrupted; stopping the transfers (Ctrl-C again to quit at once)") << "\n";
            m_window->Abort();
        }
    }
    return g_interrupts == 0;
}

bool TCliSession::WaitIdle()
{
    return WaitUntil([this] {
        TSessionState state = m_window->SessionState();
        // A run's end is its result: the window's return to its directory after it is not
        // waited for.
        bool runEnded = m_runStart != 0 && m_window->LastResult(TOperation::Transfer).Sequence > m_runBefore &&
                        !m_window->Run().Running();
        return runEnded || ((state == ssConnected || state == ssReady) && !m_window->Run().Running() &&
                            !m_window->TransfersRunning());
    });
}

// ---------------------------------------------------------------- connecting

int TCliSession::Connect(const TFtpAddress& address, const std::string& directory)
{
    std::string user = address.User;
    std::string pass = address.Pass;
    if (int found = FindPassword(address, user, pass); found != kExitDone)
        return found;
    if (address.Sftp && user.empty())
        user = LocalUserName(); // as ssh logs in
    else if (!address.Sftp)
        CompleteAnonymousLogin(user, pass, m_window->Settings().AnonymousEmail);
    if (pass.empty() && !address.Sftp && !user.empty() &&
        PromptPassword(Fill(Tr("Cli", "%1's password: "), {user + "@" + address.Host}), pass))
        m_password = pass;
    if (pass.empty() && !address.Sftp) // SSH logs in by key or agent without one
        return Fail(
            Fill(Tr("Cli", "no password given for %1 (in ~/.netrc, with --password-stdin or on a terminal)"), {user}),
            kExitUsage);
    uint64_t before = m_window->LastResult(TOperation::Connect).Sequence;
    m_window->ConnectTo({address.Host, address.Port, user, pass, address.Security, address.Sftp}, directory);
    // Until the login has its result: a lost connection shows as ssReady before it arrives.
    bool settled = WaitUntil([&] {
        TSessionState state = m_window->SessionState();
        return (state == ssConnected && !m_window->Busy()) ||
               (state == ssReady && m_window->LastResult(TOperation::Connect).Sequence > before);
    });
    if (!settled)
        return Fail(Tr("Cli", "interrupted"), kExitIncomplete);
    const TOperationResult& login = m_window->LastResult(TOperation::Connect);
    // Told by the refused change of directory: the server reports its directory in its own
    // words, so the path it shows need not be the one asked for.
    const TOperationResult& changed = m_window->LastResult(TOperation::ChangeDir);
    if (login.Success && changed.Sequence > login.Sequence && !changed.Success)
        return Fail(changed.Code == 550 && changed.Reply.rfind("550", 0) == 0
                        ? Tr("Cli", "no such remote directory: ") + directory
                        : Fill(Tr("Cli", "cannot change to the remote directory %1: %2"),
                               {directory.empty() ? "/" : directory, changed.Reply}),
                    kExitIncomplete);
    if (m_window->SessionState() != ssConnected) {
        bool told = login.Sequence > before && !login.Success;
        std::string reason = told && !login.Reply.empty() ? login.Reply : Tr("Cli", "Server Connection Failed.");
        std::string site = address.Host + ":" + address.Port;
        if (told && login.LoggedIn)
            return Fail(Fill(Tr("Cli", "logged in to %1, but %2 failed: %3"), {site, login.Step, reason}),
                        kExitLoginFailed);
        if (told && !login.Step.empty())
            return Fail(Fill(Tr("Cli", "login to %1 failed at %2: %3"), {site, login.Step, reason}), kExitLoginFailed);
        return Fail(Fill(Tr("Cli", "login to %1 failed: %2"), {site, reason}), kExitLoginFailed);
    }
    return kExitDone;
}

int TCliSession::FindPassword(const TFtpAddress& address, std::string& user, std::string& pass)
{
    if (!pass.empty()) {
        if (!m_warnedOfPassword)
            std::cerr << "quillftp-cli: "
                      << Tr("Cli", "warning: a password in the address can be read by other users of this machine; "
                                   "~/.netrc, --password-stdin or the terminal keep it to you")
                      << "\n";
        m_warnedOfPassword = true;
        return kExitDone;
    }
    if (!m_password.empty()) { // given once for this run: a resumed list or a second address
        pass = m_password;
        return kExitDone;
    }
    if (m_options.PasswordStdin) {
        pass = m_password = ReadPasswordLine();
        return kExitDone;
    }
    std::string netrc = m_options.NetrcFile.empty() ? DefaultNetrcPath() : m_options.NetrcFile;
    TNetrcLogin login;
    std::string error;
    if (!netrc.empty() && !LookUpNetrc(netrc, address.Host, user, login, error))
        return Fail(error, kExitUsage);
    if (login.Found && !login.Password.empty()) {
        user = login.User;
        pass = login.Password;
    }
    return kExitDone;
}

int TCliSession::ConnectToEntry(const std::string& url, const TlvFileInfo*& entry, std::string& name,
                                bool missingIsNoError)
{
    TFtpAddress address;
    std::string error;
    if (!ParseFtpAddress(url, address, error))
        return Fail(error, kExitUsage);
    std::string path = withoutTrailingSlash(address.Path);
    if (path.empty() || path == "/")
        return Fail(Tr("Cli", "the address names no file or directory: ") + AddressWithoutPassword(url), kExitUsage);
    name = path.substr(path.rfind('/') + 1);
    // The parent: "" is the login directory.
    int status = Connect(address, path.substr(0, path.rfind('/') + 1));
    if (status != kExitDone)
        return status;
    entry = nullptr;
    for (const TlvFileInfo& row : m_window->RemoteEntries())
        if (row.Name == name)
            entry = &row;
    if (!entry && !missingIsNoError)
        return Fail(Tr("Cli", "no such remote file or directory: ") + path, kExitIncomplete);
    return kExitDone;
}

int TCliSession::EnterUnlistedDirectory(const std::string& name, const std::string& localDir)
{
    if (!IsSafeEntryName(name)) // "..", say: no name of a directory to make locally
        return Fail(Fill(Tr("Cli", "not fetched: %1/: not a name a local directory can have"), {name}),
                    kExitIncomplete);
    uint64_t before = m_window->LastResult(TOperation::ChangeDir).Sequence;
    m_view.Answers = {name};
    m_window->RemoteChangeDirectory();
    WaitIdle();
    const TOperationResult& changed = m_window->LastResult(TOperation::ChangeDir);
    if (changed.Sequence <= before || !changed.Success)
        return Fail(Tr("Cli", "no such remote file or directory: ") + name, kExitIncomplete);
    // Its files are fetched by the path the server gives it: one that climbs is refused, as in a walk.
    if (!IsPlainRemoteDir(m_window->RemoteDir()))
        return Fail(Fill(Tr("Cli", "not fetched: %1/: the server calls it \"%2\""), {name, m_window->RemoteDir()}),
                    kExitIncomplete);
    // The local directory of the tree must be a directory of localDir itself, not a link away.
    std::string target = localDir + name + "/";
    std::error_code error;
    fs::path resolved = fs::weakly_canonical(target, error);
    fs::path inside = fs::weakly_canonical(localDir, error);
    std::string prefix = EnsureTrailing(inside.string(), '/');
    if (error || fs::is_symlink(withoutTrailingSlash(target)) ||
        EnsureTrailing(resolved.string(), '/').compare(0, prefix.size(), prefix) != 0)
        return Fail(Fill(Tr("Cli", "not fetched: %1/: its local path lies outside %2"), {name, localDir}),
                    kExitIncomplete);
    if (!MakeLocalDirs(target))
        return Fail(Tr("Cli", "cannot create the local directory ") + target, kExitIncomplete);
    m_window->Local().SetPath(target);
    m_window->RemoteSelectAll();
    return kExitDone;
}

void TCliSession::Select(const TlvFileInfo* entry)
{
    m_window->SelectRemoteNames({entry->Name});
}

// ---------------------------------------------------------------- outcomes

int TCliSession::RunOutcome()
{
    int status = RunStatus();
    if (m_options.Json) {
        double seconds = static_cast<double>(std::max<int64_t>(platform::tickCount() - m_runStart, 0)) / 1000.0;
        std::cout << RunJson(m_options.Command, status, seconds, m_window->LastResult(TOperation::Transfer),
                             m_window->TransferRows());
        std::cout.flush();
    }
    return status;
}

int TCliSession::RunStatus()
{
    m_view.EndProgressLine();
    const TOperationResult& run = m_window->LastResult(TOperation::Transfer);
    if (run.Sequence <= m_runBefore) {
        // No run ended: what went before it (a walk, the remote directories) failed.
        const TOperationResult* last = nullptr;
        for (int operation = 0; operation <= static_cast<int>(TOperation::Transfer); ++operation) {
            const TOperationResult& result = m_window->LastResult(static_cast<TOperation>(operation));
            if (!result.Success && result.Sequence > m_runBefore && (!last || result.Sequence > last->Sequence))
                last = &result;
        }
        return Fail(Tr("Cli", "nothing was transferred") + (last ? ": " + last->Reply : std::string()),
                    kExitIncomplete);
    }
    // What really arrived or left, not what the listing promised.
    if (!m_options.Quiet && run.Bytes > 0) {
        double seconds = std::max<int64_t>(platform::tickCount() - m_runStart, 1) / 1000.0;
        // Three digits that mean something: "0.012 s", "4.31 s", "72.4 s".
        int decimals = seconds < 1 ? 3 : seconds < 10 ? 2 : 1;
        char text[160];
        std::snprintf(text, sizeof text, "%.*f", decimals, seconds);
        char rate[64];
        std::snprintf(rate, sizeof rate, "%.1f", run.Bytes / seconds / (1024.0 * 1024.0));
        std::cerr << "quillftp-cli: "
                  << Fill(Tr("Cli", "%1 bytes in %2 s (%3 MiB/s)"), {FormatThousands(run.Bytes), text, rate}) << "\n";
    }
    size_t kept = 0;
    size_t notFetched = 0;
    for (const TItemOutcome& failure : run.Failures()) {
        // Items not finished because the run stopped need no line each: the count says it.
        if (failure.Kept && failure.Code == kItemNotFinished)
            ++kept;
        else if (failure.Kept)
            ++kept, std::cerr << "quillftp-cli: " << Tr("Cli", "not completed: ") << EscapeControls(failure.Name)
                              << ": " << EscapeControls(failure.Reply) << "\n";
        else
            ++notFetched, std::cerr << "quillftp-cli: " << Tr("Cli", "not fetched: ") << EscapeControls(failure.Name)
                                    << ": " << EscapeControls(failure.Reply) << "\n";
    }
    if (g_interrupts > 0 || kept > 0) {
        size_t number = m_window->LastBrokenListNumber();
        std::string what = Fill(kept == 1 ? Tr("Cli", "1 item") : Tr("Cli", "%1 items"), {std::to_string(kept)});
        if (number == 0)
            return Fail(Fill(Tr("Cli", "%1 did not complete"), {what}), kExitIncomplete);
        return Fail(
            Fill(Tr("Cli", "%1 did not complete; resume with: quillftp-cli resume %2"), {what, std::to_string(number)}),
            kExitIncomplete);
    }
    if (notFetched > 0)
        return Fail(Fill(Tr("Cli", "%1 could not be fetched"), {std::to_string(notFetched)}), kExitIncomplete);
    return kExitDone;
}

int TCliSession::OperationOutcome(TOperation operation, uint64_t before, const std::string& what)
{
    if (g_interrupts > 0)
        return Fail(Tr("Cli", "interrupted"), kExitIncomplete);
    const TOperationResult& result = m_window->LastResult(operation);
    if (result.Sequence <= before)
        return Fail(Fill(Tr("Cli", "%1 did not run"), {what}), kExitIncomplete);
    if (result.Success)
        return kExitDone;
    std::vector<TItemOutcome> failures = result.Failures();
    std::string reply = failures.empty() ? result.Reply : failures.front().Reply;
    return Fail(Fill(Tr("Cli", "%1 failed: %2"), {what, reply}), kExitIncomplete);
}

// ---------------------------------------------------------------- the commands

int TCliSession::List()
{
    TFtpAddress address;
    std::string error;
    if (!ParseFtpAddress(m_options.Operands[0], address, error))
        return Fail(error, kExitUsage);
    int status = Connect(address, address.Path);
    if (status != kExitDone)
        return status;
    if (m_options.Json) {
        std::cout << ListingJson(AddressWithoutPassword(m_options.Operands[0]), m_window->RemoteEntries());
        std::cout.flush();
        return kExitDone;
    }
    for (const TlvFileInfo& entry : m_window->RemoteEntries()) {
        if (entry.IsParent())
            continue;
        // Names are the server's: printed with their control characters escaped.
        if (m_options.Long)
            std::cout << EscapeControls(entry.Name) << '\t' << SizeColumnText(entry) << '\t'
                      << EscapeControls(TimeColumnText(entry)) << '\t' << EscapeControls(AttrColumnText(entry)) << '\n';
        else
            std::cout << entryKind(entry) << '\t' << entry.Size << '\t' << EscapeControls(entry.Name) << '\n';
    }
    std::cout.flush();
    return kExitDone;
}

int TCliSession::Get()
{
    std::string localDir =
        EnsureTrailing(absolutePath(m_options.Operands.size() > 1 ? m_options.Operands[1] : "."), '/');
    const std::string& url = m_options.Operands[0];
    const TlvFileInfo* entry = nullptr;
    std::string name;
    // A directory ("/" at the end) that its parent's listing does not show is entered as named:
    // on shared hosts the parent often cannot be listed.
    bool directoryNamed = url.size() > 1 && url.back() == '/';
    int status = ConnectToEntry(url, entry, name, true);
    if (status != kExitDone)
        return status;
    if (!MakeLocalDirs(localDir))
        return Fail(Tr("Cli", "cannot create the local directory ") + localDir, kExitIncomplete);
    m_runStart = platform::tickCount();
    m_runBefore = m_window->LastResult(TOperation::Transfer).Sequence;
    if (entry) {
        m_window->Local().SetPath(localDir);
        Select(entry);
        m_window->DownloadSelected();
    } else if (directoryNamed) {
        status = EnterUnlistedDirectory(name, localDir);
        if (status != kExitDone)
            return status;
        m_window->DownloadSelected();
    } else {
        // A file the listing does not show is fetched when the server gives its size.
        m_window->Local().SetPath(localDir);
        if (!m_window->DownloadUnlisted(name)) {
            TFtpAddress address;
            std::string error;
            ParseFtpAddress(url, address, error);
            return Fail(Tr("Cli", "no such remote file or directory: ") + address.Path, kExitIncomplete);
        }
    }
    WaitIdle();
    return RunOutcome();
}

int TCliSession::Put()
{
    std::string local = withoutTrailingSlash(absolutePath(m_options.Operands[0]));
    if (::access(local.c_str(), R_OK) != 0)
        return Fail(Tr("Cli", "no such local file or directory: ") + m_options.Operands[0], kExitIncomplete);
    struct stat info = {};
    if (::stat(local.c_str(), &info) != 0 || (!S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode)))
        return Fail(Tr("Cli", "not a regular file: ") + m_options.Operands[0], kExitIncomplete);
    TFtpAddress address;
    std::string error;
    if (!ParseFtpAddress(m_options.Operands[1], address, error))
        return Fail(error, kExitUsage);
    int status = Connect(address, address.Path);
    if (status != kExitDone)
        return status;
    std::string name = local.substr(local.rfind('/') + 1);
    TLocalPane& pane = m_window->Local();
    pane.SetPath(local.substr(0, local.rfind('/') + 1));
    pane.SelectNames({name});
    if (pane.SelectedNames().empty())
        return Fail(Tr("Cli", "cannot read the local directory of ") + local, kExitIncomplete);
    m_runStart = platform::tickCount();
    m_runBefore = m_window->LastResult(TOperation::Transfer).Sequence;
    m_window->UploadSelected();
    WaitIdle();
    return RunOutcome();
}

int TCliSession::MakeDirectory()
{
    TFtpAddress address;
    std::string error;
    if (!ParseFtpAddress(m_options.Operands[0], address, error))
        return Fail(error, kExitUsage);
    std::string path = withoutTrailingSlash(address.Path);
    if (path.empty() || path == "/")
        return Fail(Tr("Cli", "the address names no directory: ") + AddressWithoutPassword(m_options.Operands[0]),
                    kExitUsage);
    int status = Connect(address, path.substr(0, path.rfind('/') + 1));
    if (status != kExitDone)
        return status;
    uint64_t before = m_window->LastResult(TOperation::MakeDirs).Sequence;
    m_view.Answers = {path.substr(path.rfind('/') + 1)};
    m_window->RemoteMakeDirectory();
    WaitIdle();
    return OperationOutcome(TOperation::MakeDirs, before, "mkdir " + path);
}

int TCliSession::Remove(bool directory)
{
    const TlvFileInfo* entry = nullptr;
    std::string name;
    int status = ConnectToEntry(m_options.Operands[0], entry, name);
    if (status != kExitDone)
        return status;
    bool recursive = m_options.Recursive;
    if (!recursive && entry->IsDir() != directory)
        return Fail(Fill(directory ? Tr("Cli", "%1 is not a directory (use rm)")
                                   : Tr("Cli", "%1 is a directory (use rmdir, or rm -r)"),
                         {name}),
                    kExitIncomplete);
    uint64_t before = m_window->LastResult(TOperation::Delete).Sequence;
    Select(entry);
    m_window->DeleteSelectedRemote(recursive);
    WaitIdle();
    return OperationOutcome(TOperation::Delete, before, (recursive ? "rm -r " : directory ? "rmdir " : "rm ") + name);
}

int TCliSession::Rename()
{
    const TlvFileInfo* entry = nullptr;
    std::string name;
    int status = ConnectToEntry(m_options.Operands[0], entry, name);
    if (status != kExitDone)
        return status;
    const std::string& target = m_options.Operands[1];
    uint64_t before = m_window->LastResult(TOperation::Rename).Sequence;
    if (!target.empty() && target[0] == '/') {
        m_window->RemoteRenameTo(name, target);
    } else {
        Select(entry);
        m_view.Answers = {target};
        m_window->RemoteRename();
    }
    WaitIdle();
    return OperationOutcome(TOperation::Rename, before, "mv " + name);
}

int TCliSession::ChangeMode()
{
    const std::string& mode = m_options.Operands[0];
    if (mode.size() < 3 || mode.size() > 4 || mode.find_first_not_of("01234567") != std::string::npos)
        return Fail(Tr("Cli", "the mode must be three or four octal digits, such as 644: ") + mode, kExitUsage);
    const TlvFileInfo* entry = nullptr;
    std::string name;
    int status = ConnectToEntry(m_options.Operands[1], entry, name);
    if (status != kExitDone)
        return status;
    uint64_t before = m_window->LastResult(TOperation::ChangeMode).Sequence;
    Select(entry);
    m_view.Answers = {mode};
    m_window->RemoteChangeMode();
    WaitIdle();
    return OperationOutcome(TOperation::ChangeMode, before, "chmod " + name);
}

int TCliSession::ShowBrokenLists()
{
    const auto& lists = m_window->BrokenLists().Lists;
    if (lists.empty())
        std::cerr << "quillftp-cli: " << Tr("Cli", "no broken lists") << "\n";
    for (size_t n = 0; n < lists.size(); ++n) {
        const TOldQuene& list = *lists[n];
        int64_t left = 0;
        for (const auto& item : list.Items)
            left = SaturatingAdd(left, ItemByteCount(*item));
        std::cout << n + 1 << '\t' << EscapeControls(list.DateTime) << (list.Sftp ? "\tsftp://" : "\tftp://")
                  << EscapeControls(list.UserName) << "@" << EscapeControls(list.HostName) << ":"
                  << EscapeControls(list.HostPort) << '\t' << list.Items.size()
                  << (list.Items.size() == 1 ? " item" : " items") << '\t' << FormatThousands(left)
                  << " bytes left\tlocal " << EscapeControls(list.LocalDir) << "\tremote "
                  << EscapeControls(list.HostDir) << '\n';
    }
    return kExitDone;
}

int TCliSession::ShowHistory()
{
    std::string error;
    std::vector<THistoryFile> files = m_window->History().Files(m_options.Failed, error);
    if (!error.empty())
        return Fail(error, kExitIncomplete);
    if (m_options.Csv) {
        std::cout << HistoryCsv(files);
        return kExitDone;
    }
    for (const THistoryFile& file : files)
        std::cout << file.Started << '\t' << (file.Download ? "get" : "put") << '\t' << EscapeControls(file.State)
                  << '\t' << file.Size << '\t' << EscapeControls(file.Site) << EscapeControls(file.RemotePath) << '\t'
                  << EscapeControls(file.LocalPath) << '\n';
    return kExitDone;
}

int TCliSession::Resume()
{
    const std::string& text = m_options.Operands[0];
    size_t count = m_window->BrokenLists().Lists.size();
    if (text.empty() || text.size() > 6 || text.find_first_not_of("0123456789") != std::string::npos ||
        std::stoul(text) < 1 || std::stoul(text) > count)
        return Fail(Fill(Tr("Cli", "no broken list %1 (%2 saved; quillftp-cli broken lists them)"),
                         {text, std::to_string(count)}),
                    kExitUsage);
    m_runStart = platform::tickCount();
    m_runBefore = m_window->LastResult(TOperation::Transfer).Sequence;
    m_window->ResumeBrokenList(std::stoul(text) - 1);
    WaitIdle();
    if (m_window->LastResult(TOperation::Transfer).Sequence <= m_runBefore) {
        const TOperationResult& login = m_window->LastResult(TOperation::Connect);
        return Fail(login.Success ? Tr("Cli", "login failed; the broken list is kept")
                                  : Fill(Tr("Cli", "login failed: %1; the broken list is kept"), {login.Reply}),
                    kExitLoginFailed);
    }
    return RunOutcome();
}
