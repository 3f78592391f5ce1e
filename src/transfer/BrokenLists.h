#pragma once

// What a transfer run left unfinished, kept as "broken lists": the site's login and copies of
// the items, ranges and reached offsets included. They live in oldquene.ini between runs of
// the program and can be resumed or deleted.

#include <memory>
#include <string>
#include <vector>

#include "manager/OperationResult.h"
#include "manager/TransferFileInfo.h"

struct TOldQuene
{
    std::string DateTime;
    std::string HostName;
    std::string HostPort;
    std::string UserName;
    std::string PassWord;
    bool Sftp = false; // kept as "Protocol=SFTP"; lists without the key are FTP's
    std::vector<std::unique_ptr<TTransferFileInfo>> Items;
    // The local directory the list was made for, and the remote one (both ending with "/"):
    // every local path it resumes must lie inside LocalDir. Lists written before these were
    // kept get the deepest directory their items share.
    std::string LocalDir;
    std::string HostDir;
    // Items of the file that were no items (numbers out of range): left out, with why (not kept).
    std::vector<TItemOutcome> Refused{};

    // LocalDir and HostDir from the items: the deepest directories their paths share.
    void SetDirectoriesFromItems();
    // Two lists with the same key are the same list, whether the file or the keyring holds the
    // password.
    std::string Key() const { return DateTime + '\n' + HostName + '\n' + HostPort + '\n' + UserName; }
    // The keyring's name of its password.
    std::string PasswordKey() const
    {
        return "broken-list/" + DateTime + "/" + UserName + "@" + HostName + ":" + HostPort;
    }
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

// Why a stored item cannot be resumed where it stands: numbers no transfer has (negative, an
// end before the begin, offsets past the file's end), or a local path that is not absolute,
// climbs with "..", or lies outside localDir once links are followed (an upload's file must be
// a regular file there too). Empty when it can.
std::string StoredItemProblem(const TTransferFileInfo& item, const std::string& localDir);

// The text of a broken-list file holding these lists.
std::string FormatBrokenLists(const std::vector<std::unique_ptr<TOldQuene>>& lists);
// The text of a broken-list file holding this list alone.
std::string FormatBrokenList(const TOldQuene& list);

// The lists of a file, as they are stored.
std::vector<std::unique_ptr<TOldQuene>> ReadBrokenLists(const std::string& path);
