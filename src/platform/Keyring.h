#pragma once

// Passwords kept out of the data files, in the desktop's keyring (the Secret Service of GNOME,
// KDE's wallet), through QtKeychain. Each call waits for its answer, pumping the event loop, as
// the program's other synchronous calls do.

#include <memory>
#include <string>

namespace platform {

class IPasswordStore
{
public:
    enum class TFound
    {
        Yes,
        No,
        Unreachable // no keyring service, a locked one the user did not open, or refused access
    };
    virtual ~IPasswordStore() = default;
    virtual TFound Read(const std::string& key, std::string& password, std::string& why) = 0;
    // False with why when the keyring cannot take it.
    virtual bool Write(const std::string& key, const std::string& password, std::string& why) = 0;
    virtual bool Remove(const std::string& key, std::string& why) = 0;
};

// "The desktop's keyring cannot be reached (why)": the start of every message of a keyring
// that did not answer.
std::string KeyringUnreachable(const std::string& why);

// The desktop's keyring, under the service name "QuillFtp".
std::unique_ptr<IPasswordStore> DesktopKeyring();

} // namespace platform
