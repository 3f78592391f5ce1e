#pragma once

// What a transfer run left unfinished, kept as "broken lists": the site's login and copies of
// the items, ranges and reached offsets included. They live in oldquene.ini between runs of
// the program and can be resumed or deleted.

#include <memory>
#include <string>
#include <vector>

#include "manager/TransferFileInfo.h"

struct TOldQuene
{
    std::string DateTime;
    std::string HostName;
    std::string HostPort;
    std::string UserName;
    std::string PassWord;
    std::vector<std::unique_ptr<TTransferFileInfo>> Items;

    // Two lists with the same key are the same list.
    std::string Key() const { return DateTime + HostName + HostPort + UserName + PassWord; }
};

class TBrokenLists
{
public:
    // Reads the lists of the file, in order; a missing file has none.
    void Load(const std::string& path);
    // Writes the lists in memory together with those another copy of the program wrote in the
    // meantime, leaving out the ones deleted or resumed here; false when the file could not be
    // written. Offsets are written as full 64-bit numbers.
    bool Save(const std::string& path);

    std::vector<std::unique_ptr<TOldQuene>> Lists;
    // Keys of the lists deleted or resumed during this run of the program.
    std::vector<std::string> DeletedBrokenKeys;

    // Takes a list out (resumed or deleted): its key keeps it out of the file from now on.
    std::unique_ptr<TOldQuene> Remove(size_t index);
};

// The text of a broken-list file holding these lists.
std::string FormatBrokenLists(const std::vector<std::unique_ptr<TOldQuene>>& lists);

// The lists of a file, as they are stored.
std::vector<std::unique_ptr<TOldQuene>> ReadBrokenLists(const std::string& path);
