#pragma once

// quillftp-cli's output for scripts (--json): one JSON document on standard output, with the
// raw values. A name that is no UTF-8 is given as text with U+FFFD in place of its odd bytes and,
// beside it, percent-escaped as an address takes it ("caf%E9.txt").

#include <string>
#include <vector>

#include "manager/OperationResult.h"

struct TlvFileInfo;
class TTransferRows;

// ls: the directory's entries.
std::string ListingJson(const std::string& address, const std::vector<TlvFileInfo>& rows);

// get and put: each file of the run with its outcome, what was left out, the exit status.
std::string RunJson(const std::string& command, int status, double seconds, const TOperationResult& run,
                    const TTransferRows& rows);
