#pragma once

// What the main window's logic needs of the screen. The GUI implements it with dialogs and
// widgets, quillftp-cli on a terminal, tests with scripted answers.

#include <string>

#include "config/SiteBook.h"

class IMainView : public ISiteBookPrompt
{
public:
    // A Yes/No question with a question icon; only Yes proceeds.
    virtual bool AskYesNo(const std::string& caption, const std::string& text) = 0;
    virtual void SetClipboardText(const std::string& text) = 0;
    // The desktop's services for local files: open with the default application (also a
    // directory, in the file manager), start a program, show a file's properties.
    virtual void OpenWithDefaultApplication(const std::string& /*path*/) {}
    virtual void RunProgram(const std::string& /*path*/) {}
    virtual void ShowProperties(const std::string& /*path*/) {}

    // What to do with a local file that exists already (the transfer engine asks).
    enum class FileExistsChoice
    {
        Overwrite,
        OverwriteAll,
        Skip,
        SkipAll
    };
    virtual FileExistsChoice AskFileExists(const std::string& /*localPath*/) { return FileExistsChoice::Skip; }

    // Change notifications: the view shows the new state from the window's fields.
    virtual void RemotePaneChanged() {}
    virtual void StatusRowsChanged() {}
    virtual void CaptionChanged() {}
    virtual void LogChanged(int /*page*/) {}
    virtual void QueueTreeChanged() {}
};
