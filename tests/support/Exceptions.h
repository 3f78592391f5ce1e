#pragma once

#include <exception>
#include <functional>
#include <string>

namespace testsupport {

// The message of the exception a call throws, or "no exception".
inline std::string exceptionMessage(const std::function<void()>& call)
{
    try {
        call();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "no exception";
}

} // namespace testsupport
