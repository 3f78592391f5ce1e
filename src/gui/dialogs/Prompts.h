#pragma once

// The small modal boxes every window of the program asks with: a one-line input, a message, an
// error, a Yes/No question (only Yes proceeds) and the question about a server's certificate.
// The program's texts break lines with a lone CR.

#include <string>

#include "config/SiteBook.h"
#include "ftp/FtpSecurity.h"
#include "net/TlsSession.h"

class QWidget;

bool AskText(QWidget* parent, const std::string& caption, const std::string& prompt, std::string& value);
void ShowInformation(QWidget* parent, const std::string& text);
void ShowError(QWidget* parent, const std::string& text);
bool AskYesNo(QWidget* parent, const std::string& caption, const std::string& text);
// What it says of itself, and whether to connect once, trust it always or cancel (the default).
TCertificateChoice AskCertificate(QWidget* parent, const std::string& site, const TTlsCertificate& certificate);
// The passphrase of an SSH key file, typed unseen; empty when cancelled.
std::string AskPassphrase(QWidget* parent, const std::string& keyPath);
// An SSH host key no known_hosts file holds, with its type and SHA-256 fingerprint.
TCertificateChoice AskHostKey(QWidget* parent, const std::string& site, const std::string& type,
                              const std::string& fingerprint);

// The site book's questions, asked over a window.
class TDialogPrompt : public ISiteBookPrompt
{
public:
    explicit TDialogPrompt(QWidget* parent) : m_parent(parent) {}
    bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) override
    {
        return AskText(m_parent, caption, prompt, value);
    }
    void ShowMessage(const std::string& text) override { ShowInformation(m_parent, text); }

private:
    QWidget* m_parent;
};
