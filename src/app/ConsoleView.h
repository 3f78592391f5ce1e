#pragma once

// The main window's view on a terminal: messages and errors on stderr, questions asked on the
// terminal when there is one (and answered No, or Skip, when there is none), the answers a
// command gives in advance to input boxes, the progress line, and the logs with --log.

#include <deque>
#include <string>
#include <vector>

#include "app/CliOptions.h"
#include "ui/MainView.h"

class TfmMain;

class TConsoleView : public IMainView
{
public:
    explicit TConsoleView(const TCliOptions& options);

    // The window whose logs and figures are shown; set once it exists.
    void Attach(const TfmMain& window) { m_window = &window; }
    // Answers for the input boxes a command opens, in order.
    std::deque<std::string> Answers;
    // Every message the window showed, for the command's own report.
    std::vector<std::string> Messages;

    bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) override;
    void ShowMessage(const std::string& text) override;
    bool AskYesNo(const std::string& caption, const std::string& text) override;
    void SetClipboardText(const std::string& text) override;
    TFileExistsChoice AskFileExists(const std::string& localPath) override;
    // Accepted once when it is the certificate --trust names; refused, with how to accept it,
    // otherwise.
    TCertificateChoice AskCertificate(const std::string& site, const TTlsCertificate& certificate) override;
    // Accepted once when it is the key --trust names; refused, with how to accept it, otherwise.
    TCertificateChoice AskHostKey(const std::string& site, const std::string& type,
                                  const std::string& fingerprint) override;
    // Read from the terminal without echo; none without a terminal.
    std::string AskPassphrase(const std::string& keyPath) override;
    void LogLinesChanged(int page, size_t dropped, size_t appended) override;
    void ProgressChanged() override;
    // Ends the progress line, if one is drawn.
    void EndProgressLine();

private:
    std::string AskLine(const std::string& question);

    TExistingFiles m_existing;
    std::string m_trust;
    bool m_log;
    bool m_progress; // stderr is a terminal and --quiet is not given
    bool m_interactive;
    bool m_lineDrawn = false;
    const TfmMain* m_window = nullptr;
    std::vector<size_t> m_printed; // log lines printed per page
};
