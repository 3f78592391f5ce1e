#pragma once

// One run of quillftp-cli: the main window's logic with a console view, driven through the
// same commands the GUI gives, and the exit status of what happened.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "app/CliOptions.h"
#include "app/ConsoleView.h"
#include "manager/OperationResult.h"

class TfmMain;
struct TSyncPlan;
struct TlvFileInfo;

enum TCliExit
{
    kExitDone = 0,
    kExitIncomplete = 1,
    kExitUsage = 2,
    kExitLoginFailed = 3
};

class TCliSession
{
public:
    explicit TCliSession(const TCliOptions& options);
    ~TCliSession();
    TCliSession(const TCliSession&) = delete;
    TCliSession& operator=(const TCliSession&) = delete;

    int Run();

private:
    int List();
    int Get();
    int Put();
    int MakeDirectory();
    int Remove(bool directory);
    int Rename();
    int ChangeMode();
    int ShowBrokenLists();
    int ShowHistory();
    int ShowSites();
    int Resume();
    // sync (CliSync.cpp): plans, and carries out the plan unless told not to.
    int Synchronize();
    int ExecutePlan();
    void PrintPlan(const TSyncPlan& plan);
    // Ctrl-C was pressed.
    static bool Interrupted();
    static std::string AbsolutePath(const std::string& path);

    // Logs in and changes to directory; kExitDone, or the exit status after the error is shown.
    int Connect(const TFtpAddress& address, const std::string& directory);
    // The login when the address holds no password: from standard input when asked, else from
    // the netrc file; a password in the address is warned of.
    int FindPassword(const TFtpAddress& address, std::string& user, std::string& pass);
    // A site of the site book named as site:CLASS/NAME/path, made its address (the book's
    // password kept for the login, off the address); false with error when there is none.
    bool SiteAddress(std::string& operand, std::string& error);
    // Connects to the directory above the address's path and finds its last part there; entry
    // stays null when it is not listed and missingIsNoError holds.
    int ConnectToEntry(const std::string& url, const TlvFileInfo*& entry, std::string& name,
                       bool missingIsNoError = false);
    // From the parent, enters the directory name that its listing did not show and selects all
    // of it for a download into localDir/name/.
    int EnterUnlistedDirectory(const std::string& name, const std::string& localDir);
    // Pumps events until done holds; Ctrl-C aborts the transfers first, a second one gives up.
    bool WaitUntil(const std::function<bool()>& done);
    // The session is idle again: connected or given up, no run going on.
    bool WaitIdle();
    // The exit status of a transfer run, from its result, with what did not complete; with
    // --json its summary on standard output too.
    int RunOutcome();
    int RunStatus();
    // The exit status of a remote command, from the result that ended it (newer than before).
    int OperationOutcome(TOperation operation, uint64_t before, const std::string& what);
    int Fail(const std::string& text, int status);
    void Select(const TlvFileInfo* entry);
    // Lists made and lists removed: what tells whether the broken lists need saving.
    std::pair<size_t, size_t> BrokenListsState() const;

    int64_t m_runStart = 0;
    uint64_t m_runBefore = 0; // the sequence of the transfer result before the run
    std::pair<size_t, size_t> m_brokenListsAtStart;
    TCliOptions m_options;
    std::string m_password; // read from standard input or the terminal, once a run
    bool m_warnedOfPassword = false;
    TConsoleView m_view;
    std::unique_ptr<TfmMain> m_window;
};
