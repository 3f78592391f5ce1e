#pragma once

// A throw-away account of this machine for servers that log in real users (needs root): made
// with a password and a shell, removed again by remove() or the destructor.

#include <string>

namespace testsupport {

class SystemUser
{
public:
    SystemUser() = default;
    ~SystemUser() { remove(); }
    SystemUser(const SystemUser&) = delete;
    SystemUser& operator=(const SystemUser&) = delete;

    // The name is prefix and this process's id, so that tests running side by side differ.
    bool create(const std::string& prefix, const std::string& shell, const std::string& home = "/nonexistent");
    void remove();

    const std::string& name() const { return m_name; }
    const std::string& password() const { return m_password; }

private:
    std::string m_name;
    std::string m_password;
    bool m_created = false;
};

} // namespace testsupport
