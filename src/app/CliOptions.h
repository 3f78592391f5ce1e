#pragma once

// quillftp-cli's command line: the command, its operands and the options, checked before
// anything connects; and the options laid over the settings read from the data directory.

#include <cstdint>
#include <string>
#include <vector>

#include "config/Settings.h"

enum class TExistingFiles
{
    Ask, // on a terminal; skipped otherwise
    Overwrite,
    Skip
};

struct TCliOptions
{
    std::string Command; // ls, get, put, mkdir, rm, rmdir, mv, chmod, broken, resume
    std::vector<std::string> Operands;
    int Connections = 0;    // 0: as configured
    int64_t SplitSize = -1; // -1: as configured
    bool Background = false;
    bool NoPipelining = false;
    int Passive = -1;  // -1 as configured, 0 active, 1 passive
    std::string Proxy; // host:port
    std::string ProxyType = "user@host";
    std::string ProxyUser;
    std::string ProxyPass;
    int SocksType = 0; // 0 none, else the client's connection type of SOCKS 4, 4A or 5
    std::string Socks; // host:port
    std::string SocksUser;
    std::string SocksPass;
    int Retries = -1;
    int64_t LimitRate = 0; // bytes per second for the whole transfer, each way; 0: as configured
    int Timeout = -1;      // seconds, -1 as configured
    TExistingFiles Existing = TExistingFiles::Ask;
    bool Log = false;
    bool Quiet = false;
    bool Long = false;      // ls: the pane's columns
    bool Recursive = false; // rm: a directory goes with its contents
    bool Failed = false;    // history: only the files that did not end well
    bool Csv = false;       // history: as CSV
    std::string DataDir;
    int Tls = -1;               // a TFtpSecurity, -1 as configured
    std::string Trust;          // the SHA-256 fingerprint of a certificate to accept unverified
    std::string NetrcFile;      // empty: ~/.netrc
    bool PasswordStdin = false; // the password is the first line of standard input
    bool Json = false;          // ls, get, put, sync: one JSON document on standard output
    // sync
    int SyncDirection = -1; // a TSyncDirection; -1: both ways
    bool Delete = false;
    bool DryRun = false;
    bool ByHash = false;
    std::string PlanFile;  // --plan: where the plan goes, nothing changed
    std::string ApplyFile; // --apply: the plan to carry out
};

// Fills options from the arguments (without the program name); false with a one-line reason
// in error when they make no valid command.
bool ParseCliOptions(const std::vector<std::string>& arguments, TCliOptions& options, std::string& error);

// The options that were given replace the settings' values.
void ApplyCliOptions(const TCliOptions& options, TSettings& settings);

// An ftp:// address taken apart; escapes decoded.
struct TFtpAddress
{
    std::string Host;
    std::string Port = "21";
    std::string User; // empty: anonymous
    std::string Pass;
    int Security = -1; // ftps:// implicit TLS, ftpes:// TLS required; -1 for ftp://
    bool Sftp = false; // sftp://
    // Relative to the login directory ("" is that directory), or absolute ("/etc/"); a path
    // ending in "/" names a directory.
    std::string Path;
};

bool ParseFtpAddress(const std::string& text, TFtpAddress& address, std::string& error);

extern const char* const kCliUsage;
