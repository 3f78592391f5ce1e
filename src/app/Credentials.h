#pragma once

// Where quillftp-cli finds a password that the address does not hold: a netrc file, read as
// curl reads it, and the terminal, asked without echo.

#include <string>

// $HOME/.netrc; empty without a home.
std::string DefaultNetrcPath();

// The login of host in the netrc file at path: the first "machine" entry of host (of user, when
// one is named), else the "default" entry. Found stays false when none fits or the file does
// not exist. False, with error set, when the file cannot be used: others may read or change
// it, or it cannot be read.
struct TNetrcLogin
{
    bool Found = false;
    std::string User;
    std::string Password;
};
bool LookUpNetrc(const std::string& path, const std::string& host, const std::string& user, TNetrcLogin& login,
                 std::string& error);

// Asks on the controlling terminal with echo off; false when there is no terminal.
bool PromptPassword(const std::string& prompt, std::string& password);

// The first line of standard input, without its line end.
std::string ReadPasswordLine();
