#pragma once

// What a server's FEAT reply offers that the program uses.

#include <string>
#include <vector>

#include "manager/RemoteHash.h"

struct TServerFeatures
{
    TRemoteHash Hash;  // how to ask for a file's hash; no command when the server has none
    bool Mlsd = false; // MLSD lists directories with exact facts
    bool Utf8 = false; // names are UTF-8 once "OPTS UTF8 ON" is sent
    bool Mfmt = false; // MFMT sets a file's modification time
};

// The features named by a FEAT reply's lines; nothing for a refused or empty reply.
TServerFeatures ReadServerFeatures(const std::vector<std::string>& featLines);
