#pragma once

// What the main window's logic needs of the screen. The GUI implements it with dialogs and
// widgets, quillftp-cli on a terminal, tests with scripted answers.

#include <string>

#include "config/SiteBook.h"
#include "transfer/TransferEngine.h"

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

    // "This local file exists!": what to do with it (the transfer engine asks). A dialog
    // closed without an answer gives Closed, which skips the file.
    virtual TFileExistsChoice AskFileExists(const std::string& /*localPath*/) { return TFileExistsChoice::Skip; }

    // Change notifications: the view shows the new state from the window's fields.
    virtual void RemotePaneChanged() {}
    virtual void StatusRowsChanged() {}
    virtual void CaptionChanged() {}
    virtual void LogChanged(int /*page*/) {}
    virtual void QueueTreeChanged() {}
    // The run's figures (status panels 1, 3 and 4, the gauge and the Count column), once a second.
    virtual void ProgressChanged() {}
};
