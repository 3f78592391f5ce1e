#pragma once

// The socket error codes of the program. They keep the numbering of the Windows Sockets API
// the program was designed against (10035 would block, 10061 refused, 11001 host not found,
// ...): stored files, logs and callers speak of them. System errors are mapped here only.

#include <stdexcept>
#include <string>

class ESocketException : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

namespace wsa {
constexpr int kInterrupted = 10004;
constexpr int kBadFile = 10009;
constexpr int kInvalidArgument = 10022;
constexpr int kWouldBlock = 10035;
constexpr int kNotSocket = 10038;
constexpr int kConnectionAborted = 10053;
constexpr int kConnectionReset = 10054;
constexpr int kNotConnected = 10057;
constexpr int kTimedOut = 10060;
constexpr int kConnectionRefused = 10061;
constexpr int kNotInitialised = 10093;
constexpr int kHostNotFound = 11001;
constexpr int kTryAgain = 11002;
constexpr int kNoRecovery = 11003;
constexpr int kNoData = 11004;
} // namespace wsa

// The text of a socket error code; "Not a WinSock error" for codes outside the table.
std::string WSocketErrorDesc(int code);

// The one mapping of system errors to socket error codes: errno values ...
int MapSocketError(int errnoValue);
// ... and getaddrinfo() results (EAI_*).
int MapResolverError(int eaiValue);

// The last socket API error of this thread, as the API functions leave it.
int WSAGetLastError();
void WSASetLastError(int code);
// Maps errno and stores it as the last API error; returns the code.
int WSASetLastErrorFromErrno();
