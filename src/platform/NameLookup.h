#pragma once

// Asynchronous host-name and address lookups whose results come back on the main thread.

#include <functional>
#include <string>
#include <vector>

namespace platform {

struct LookupResult
{
    int error = 0;                      // 0, or a getaddrinfo() EAI_* code
    std::vector<std::string> addresses; // IPv4 addresses in dotted form, in resolver order
    std::string hostName;               // the name found by a reverse lookup
};

using LookupCallback = std::function<void(const LookupResult&)>;

// Starts a lookup of the IPv4 addresses of a host name; returns its id. The callback runs
// later from the event loop, never inside this call, unless the lookup was cancelled.
int lookupHost(const std::string& hostName, LookupCallback callback);

// Starts a lookup of the host name of a dotted IPv4 address.
int lookupAddress(const std::string& address, LookupCallback callback);

// The callback of a cancelled lookup is never called.
void cancelLookup(int id);

} // namespace platform
