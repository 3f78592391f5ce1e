#include "app/Credentials.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <vector>

#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include "platform/AtomicFile.h"
#include "platform/Translate.h"

using platform::Fill;
using platform::Tr;

namespace {

// The words of a netrc file: separated by white space, a word in double quotes may hold white
// space and the escapes \" \\ \n \r \t. A "macdef" and its macro, to the next empty line, are
// no login's words and are left out.
std::vector<std::string> NetrcWords(const std::string& text)
{
    std::vector<std::string> words;
    size_t at = 0;
    while (at < text.size()) {
        if (std::isspace(static_cast<unsigned char>(text[at]))) {
            ++at;
            continue;
        }
        std::string word;
        if (text[at] == '"') {
            for (++at; at < text.size() && text[at] != '"'; ++at) {
                if (text[at] == '\\' && at + 1 < text.size()) {
                    char escaped = text[++at];
                    word += escaped == 'n' ? '\n' : escaped == 'r' ? '\r' : escaped == 't' ? '\t' : escaped;
                } else {
                    word += text[at];
                }
            }
            ++at; // the closing quote
        } else {
            while (at < text.size() && !std::isspace(static_cast<unsigned char>(text[at])))
                word += text[at++];
        }
        if (word == "macdef") {
            size_t blank = text.find("\n\n", at);
            at = blank == std::string::npos ? text.size() : blank + 2;
            continue;
        }
        words.push_back(std::move(word));
    }
    return words;
}

} // namespace

std::string DefaultNetrcPath()
{
    const char* home = std::getenv("HOME");
    return home && *home ? std::string(home) + "/.netrc" : std::string();
}

bool LookUpNetrc(const std::string& path, const std::string& host, const std::string& user, TNetrcLogin& login,
                 std::string& error)
{
    login = {};
    struct stat info
    {
    };
    if (::stat(path.c_str(), &info) != 0)
        return errno == ENOENT || (error = path + ": " + std::strerror(errno), false);
    // Passwords others can read are no secret, and a file others can change names any login.
    if ((info.st_mode & (S_IRWXG | S_IRWXO)) != 0 || info.st_uid != ::getuid()) {
        error = Fill(Tr("Cli", "%1 may be read or changed by other users: not used (chmod 600 %1)"), {path});
        return false;
    }
    std::string text;
    if (!platform::readWholeFile(path, text)) {
        error = path + Tr("Cli", ": cannot be read");
        return false;
    }
    std::vector<std::string> words = NetrcWords(text);
    // Entries: "machine NAME" or "default", then their "login", "password" and "account" pairs.
    for (size_t k = 0; k < words.size();) {
        bool isDefault = words[k] == "default";
        if (!isDefault && words[k] != "machine") {
            ++k;
            continue;
        }
        bool fits = isDefault || (k + 1 < words.size() && ::strcasecmp(words[k + 1].c_str(), host.c_str()) == 0);
        k += isDefault ? 1 : 2;
        TNetrcLogin entry;
        for (; k + 1 < words.size() && words[k] != "machine" && words[k] != "default"; k += 2) {
            if (words[k] == "login")
                entry.User = words[k + 1];
            else if (words[k] == "password")
                entry.Password = words[k + 1];
        }
        if (fits && (user.empty() || entry.User == user)) {
            entry.Found = true;
            login = entry;
            return true;
        }
    }
    return true;
}

bool PromptPassword(const std::string& prompt, std::string& password)
{
    int terminal = ::open("/dev/tty", O_RDWR | O_CLOEXEC);
    if (terminal < 0)
        return false;
    termios before{};
    bool echoOff = ::tcgetattr(terminal, &before) == 0;
    if (echoOff) {
        termios quiet = before;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        quiet.c_lflag |= ECHONL;
        echoOff = ::tcsetattr(terminal, TCSAFLUSH, &quiet) == 0;
    }
    bool written = ::write(terminal, prompt.data(), prompt.size()) == static_cast<ssize_t>(prompt.size());
    password.clear();
    char c = 0;
    ssize_t got = 0;
    while (written && (got = ::read(terminal, &c, 1)) == 1 && c != '\n')
        password += c;
    if (echoOff)
        ::tcsetattr(terminal, TCSAFLUSH, &before);
    ::close(terminal);
    if (!password.empty() && password.back() == '\r')
        password.pop_back();
    return written && got == 1;
}

std::string ReadPasswordLine()
{
    std::string line;
    std::getline(std::cin, line);
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line;
}
