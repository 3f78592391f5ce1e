#pragma once

// The main window's view for tests: answers given in advance, everything shown recorded.

#include <deque>
#include <string>
#include <vector>

#include "support/ScriptedPrompt.h"
#include "support/WaitFor.h"
#include "ui/MainView.h"

namespace testsupport {

class ScriptedView : public IMainView
{
public:
    std::deque<std::string> answers; // for input boxes; "<cancel>" cancels
    std::deque<bool> yesNo;          // for questions; none left means No
    std::vector<std::string> asked;
    std::vector<std::string> messages;
    std::string clipboard;
    // As a modal dialog does, the event loop runs for this long while a question or message
    // is open (0: answered at once). Everything else goes on meanwhile, and comes back in.
    int dialogMs = 0;
    int dialogsOpen = 0;   // questions open right now
    int nestedDialogs = 0; // questions asked while another was open

    bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) override
    {
        Dialog();
        return answerInputQuery(answers, asked, caption, prompt, value);
    }
    void ShowMessage(const std::string& text) override
    {
        messages.push_back(text);
        Dialog();
    }
    bool AskYesNo(const std::string& caption, const std::string& text) override
    {
        Dialog();
        asked.push_back(caption + "|" + text);
        bool answer = !yesNo.empty() && yesNo.front();
        if (!yesNo.empty())
            yesNo.pop_front();
        return answer;
    }
    std::vector<std::string> opened;          // paths given to the desktop's default application
    std::deque<TFileExistsChoice> fileExists; // none left: the dialog is closed
    std::vector<std::string> existing;        // the local paths asked about
    int progressChanges = 0;

    TFileExistsChoice AskFileExists(const std::string& localPath) override
    {
        Dialog();
        existing.push_back(localPath);
        TFileExistsChoice choice = fileExists.empty() ? TFileExistsChoice::Closed : fileExists.front();
        if (!fileExists.empty())
            fileExists.pop_front();
        return choice;
    }
    void ProgressChanged() override { ++progressChanges; }

    void SetClipboardText(const std::string& text) override { clipboard = text; }

private:
    void Dialog()
    {
        if (dialogMs <= 0)
            return;
        nestedDialogs += dialogsOpen > 0;
        ++dialogsOpen;
        pumpFor(dialogMs);
        --dialogsOpen;
    }

public:
    void OpenWithDefaultApplication(const std::string& path) override { opened.push_back(path); }
    void OpenInTextEditor(const std::string& path) override { opened.push_back(path); }
};

} // namespace testsupport
