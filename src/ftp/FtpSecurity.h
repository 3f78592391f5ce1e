#pragma once

// How a login protects itself with TLS, and the user's word on a certificate.

#include <cstdint>

enum TFtpSecurity : uint8_t
{
    ftpsAuto = 0,     // AUTH TLS when the server takes it, plain FTP when it refuses
    ftpsRequire = 1,  // AUTH TLS or no login: a refusal ends it before the password goes out
    ftpsImplicit = 2, // TLS from the first byte (port 990)
    ftpsOff = 3       // plain FTP
};

// The texts of the choices, as the preferences offer them.
const char* SecurityName(TFtpSecurity security);

enum class TCertificateChoice
{
    Cancel, // no connection
    Once,   // this certificate, for this run of the program
    Always  // this certificate for this server, kept
};
