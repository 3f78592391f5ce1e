#include "app/ConsoleView.h"

#include <iostream>

#include <termios.h>
#include <unistd.h>

#include "app/TerminalText.h"
#include "ui/MainWindow.h"
#include "platform/Translate.h"

using platform::Fill;
using platform::Tr;

TConsoleView::TConsoleView(const TCliOptions& options)
    : m_existing(options.Existing), m_trust(options.Trust), m_log(options.Log),
      m_progress(!options.Quiet && ::isatty(STDERR_FILENO)),
      m_interactive(::isatty(STDIN_FILENO) && ::isatty(STDERR_FILENO))
{
}

std::string TConsoleView::AskLine(const std::string& question)
{
    EndProgressLine();
    std::cerr << question << std::flush;
    std::string line;
    if (!std::getline(std::cin, line))
        return {};
    return line;
}

bool TConsoleView::InputQuery(const std::string& /*caption*/, const std::string& /*prompt*/, std::string& value)
{
    if (Answers.empty())
        return false;
    value = Answers.front();
    Answers.pop_front();
    return true;
}

namespace {

// Fingerprints compare without their colons and case: "ab12..." names "AB:12:...".
std::string fingerprintDigits(const std::string& text)
{
    std::string digits;
    for (char c : text)
        if (c != ':')
            digits += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return digits;
}

} // namespace

TCertificateChoice TConsoleView::AskCertificate(const std::string& site, const TTlsCertificate& certificate)
{
    if (!m_trust.empty() && fingerprintDigits(m_trust) == fingerprintDigits(certificate.Fingerprint))
        return TCertificateChoice::Once;
    EndProgressLine();
    std::cerr << "quillftp-cli: "
              << Fill(Tr("Cli", "the certificate of %1 is not trusted (%2)"),
                      {TerminalText(site), TerminalText(certificate.VerifyError)})
              << "\n"
              << Tr("Cli", "  subject: ") << TerminalText(certificate.Subject) << "\n"
              << Tr("Cli", "  issuer:  ") << TerminalText(certificate.Issuer) << "\n"
              << Tr("Cli", "  valid:   ")
              << Fill(Tr("Cli", "%1 to %2"), {TerminalText(certificate.NotBefore), TerminalText(certificate.NotAfter)})
              << "\n"
              << "  SHA-256: " << certificate.Fingerprint << "\n"
              << (m_trust.empty() ? "" : Tr("Cli", "  (not the certificate --trust names)") + "\n")
              << "quillftp-cli: " << Tr("Cli", "to connect to it anyway, add --trust ") << certificate.Fingerprint
              << "\n";
    return TCertificateChoice::Cancel;
}

TCertificateChoice TConsoleView::AskHostKey(const std::string& site, const std::string& type,
                                            const std::string& fingerprint)
{
    if (!m_trust.empty() && m_trust == fingerprint)
        return TCertificateChoice::Once;
    EndProgressLine();
    std::cerr << "quillftp-cli: "
              << Fill(Tr("Cli", "the host key of %1 is unknown (%2)"),
                      {TerminalText(site), TerminalText(type) + " " + TerminalText(fingerprint)})
              << "\n"
              << (m_trust.empty() ? "" : Tr("Cli", "  (not the key --trust names)") + "\n")
              << "quillftp-cli: " << Tr("Cli", "to connect to it anyway, add --trust ") << TerminalText(fingerprint)
              << "\n";
    return TCertificateChoice::Cancel;
}

std::string TConsoleView::AskPassphrase(const std::string& keyPath)
{
    if (!m_interactive)
        return {};
    EndProgressLine();
    std::cerr << Fill(Tr("Cli", "Passphrase for %1: "), {TerminalText(keyPath)}) << std::flush;
    termios saved{};
    bool quiet = ::tcgetattr(STDIN_FILENO, &saved) == 0;
    if (quiet) {
        termios noEcho = saved;
        noEcho.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &noEcho);
    }
    std::string passphrase;
    std::getline(std::cin, passphrase);
    if (quiet)
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
    std::cerr << "\n";
    return passphrase;
}

void TConsoleView::ShowMessage(const std::string& text)
{
    EndProgressLine();
    Messages.push_back(text);
    std::cerr << "quillftp-cli: " << TerminalText(text) << "\n";
}

bool TConsoleView::AskYesNo(const std::string& caption, const std::string& text)
{
    if (!m_interactive)
        return false;
    std::string answer = AskLine(caption + ": " + TerminalText(text) + " [y/N] ");
    return !answer.empty() && (answer[0] == 'y' || answer[0] == 'Y');
}

void TConsoleView::SetClipboardText(const std::string& text)
{
    std::cout << text << "\n";
}

TFileExistsChoice TConsoleView::AskFileExists(const std::string& localPath)
{
    if (m_existing == TExistingFiles::Overwrite)
        return TFileExistsChoice::Overwrite;
    if (m_existing == TExistingFiles::Skip || !m_interactive)
        return TFileExistsChoice::Skip;
    // The answers are the letters o, a, s and l, whatever the language.
    std::string answer = AskLine(Tr("Cli", "This local file exists!") + "\n" + EscapeControls(localPath) + "\n" +
                                 Tr("Cli", "[o]verwrite, overwrite [a]ll, [s]kip, skip a[l]l? "));
    switch (answer.empty() ? ' ' : answer[0]) {
    case 'o':
        return TFileExistsChoice::Overwrite;
    case 'a':
        return TFileExistsChoice::OverwriteAll;
    case 's':
        return TFileExistsChoice::Skip;
    case 'l':
        return TFileExistsChoice::SkipAll;
    default:
        return TFileExistsChoice::Closed;
    }
}

void TConsoleView::LogLinesChanged(int page, size_t dropped, size_t /*appended*/)
{
    if (!m_log || !m_window || page < 0)
        return;
    if (m_printed.size() <= static_cast<size_t>(page))
        m_printed.resize(static_cast<size_t>(page) + 1, 0);
    const std::deque<TLogLine>& lines = m_window->Logs().Lines(page);
    size_t& printed = m_printed[static_cast<size_t>(page)];
    printed -= std::min(printed, dropped); // the oldest lines went: the ones printed first
    if (printed < lines.size())
        EndProgressLine();
    for (; printed < lines.size(); ++printed)
        std::cerr << "[" << page << "] " << EscapeControls(lines[printed].Text) << "\n";
}

void TConsoleView::ProgressChanged()
{
    if (!m_progress || !m_window)
        return;
    if (!m_window->GaugeVisible() || m_window->StatusPanel(3).empty()) {
        EndProgressLine();
        return;
    }
    std::string line = m_window->StatusPanel(1) + " " + std::to_string(m_window->GaugePercent()) + "% " +
                       m_window->StatusPanel(3) + " " + m_window->StatusPanel(4) + " |";
    for (const TStatusRow& row : m_window->StatusRows())
        if (row.Count >= 0)
            line += " " + StatusCaptionText(row) + ":" + StatusCountText(row);
    std::cerr << "\r\033[K" << line << std::flush;
    m_lineDrawn = true;
}

void TConsoleView::EndProgressLine()
{
    if (!m_lineDrawn)
        return;
    std::cerr << "\n";
    m_lineDrawn = false;
}
