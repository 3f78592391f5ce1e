#include "manager/FtpManager.h"
#include "platform/Translate.h"

using platform::Fill;
using platform::Tr;

// The remote pane's commands as chains of requests on connection 0: change directory (with
// the listing cache), refresh, the recursive walk, make directories, rename and move, delete,
// change mode. Each chain ends with the host's OperationDone or OperationFailed, with a result
// that tells how each of its items fared.

#include <algorithm>

// ---------------------------------------------------------------- change directory

bool TFtpManager::MainConnected(TOperation operation)
{
    if (Connected(0) && !(Sftp() && m_sftpBusy))
        return true;
    // Nothing would ever answer a request sent now: the operation ends at once, from the loop.
    Log(0, Tr("Engine", "Lost Connection, Please Reconnect"));
    m_posted.post([this, operation] {
        Failed(
            TOperationResult::Failed(operation, wsa::kNotConnected, Tr("Engine", "Lost Connection, Please Reconnect")));
    });
    return false;
}

void TFtpManager::ChangeDir(const std::string& name)
{
    TFtpClient& main = *Slot(0).Client;
    if (!MainConnected(TOperation::ChangeDir))
        return;
    m_abortMain = false;
    std::string target = name.find('/') != std::string::npos ? name : EnsureTrailing(m_currentDir, '/') + name;
    if (Sftp()) {
        SftpChangeDir(target);
        return;
    }
    SetMode(0, cmChangeDir);
    main.HostDirName = target;
    m_savedDir = m_currentDir;
    m_savedListing = m_cache.Current;
    m_currentDir = target;
    StartMain(ftpCwdAsync, [&main] { main.Cwd(); });
}

void TFtpManager::ChangeDirStep(TFtpRequest rqType, int error)
{
    if (m_abortMain) {
        m_abortMain = false;
        return;
    }
    TFtpClient& main = *Slot(0).Client;
    if (rqType != ftpCwdAsync && rqType != ftpPwdAsync && rqType != ftpDirAsync)
        return; // the completion of a synchronous call made on the way (TYPE A before LIST)
    if (error != 0) {
        if (rqType == ftpDirAsync)
            main.SetLocalStream(nullptr);
        RestoreSaved();
        Failed(Failure(TOperation::ChangeDir, error, rqType));
        return;
    }
    switch (rqType) {
    case ftpCwdAsync:
        StartMain(ftpPwdAsync, [&main] { main.Pwd(); });
        break;
    case ftpPwdAsync:
        if (main.DirResult().empty()) {
            // Which directory the server is in stays unknown: no listing is shown as this one's.
            Log(0, Tr("Engine", "! The reply to PWD names no directory"));
            RestoreSaved();
            Failed(
                TOperationResult::Failed(TOperation::ChangeDir, 550,
                                         Tr("Engine", "the reply to PWD names no directory: ") + main.LastResponse()));
            return;
        }
        ListAfterPwd();
        break;
    case ftpDirAsync:
        ListingStored(TOperation::ChangeDir);
        break;
    default:
        break;
    }
}

// ---------------------------------------------------------------- refresh

void TFtpManager::Refresh(const std::string& path)
{
    if (!MainConnected(TOperation::Refresh))
        return;
    m_abortMain = false;
    if (Sftp()) {
        SftpRefresh(path);
        return;
    }
    SetMode(0, cmRefresh);
    m_currentDir = path;
    m_savedDir = path;
    m_savedListing = m_cache.Current;
    m_cache.Disable(path);
    List(path);
}

void TFtpManager::RefreshStep(TFtpRequest rqType, int error)
{
    if (rqType != ftpDirAsync)
        return;
    if (error != 0) {
        // What a failed LIST brought is no listing: the old one stays shown, nothing is cached.
        Slot(0).Client->SetLocalStream(nullptr);
        RestoreSaved();
        Failed(Failure(TOperation::Refresh, error, rqType));
        return;
    }
    ListingStored(TOperation::Refresh);
}

// ---------------------------------------------------------------- the walk

namespace {

// What a listing holds, for telling two names of one directory apart from two directories.
std::string ListingContents(const std::vector<TDirAnalyze>& entries)
{
    std::string contents;
    for (const TDirAnalyze& entry : entries)
        contents += entry.Attributes.substr(0, 1) + entry.Name + '\0' + entry.Size + '\0' +
                    std::to_string(entry.Modified) + '\0' + entry.Unique + '\n';
    return contents;
}

} // namespace

void TFtpManager::Walk(const std::string& name, std::vector<TGetFileInfo>* result)
{
    TFtpClient& main = *Slot(0).Client;
    if (!MainConnected(TOperation::Walk))
        return;
    m_abortMain = false;
    SetMode(0, cmWalk);
    m_savedDir = m_currentDir;
    m_savedListing = m_cache.Current;
    m_currentDir = EnsureTrailing(m_currentDir, '/') + name + "/";
    m_walkResult = result;
    if (m_walkResult)
        m_walkResult->clear();
    m_walkStack.clear();
    m_walkRepeated.clear();
    m_walkVisited.clear();
    m_walkUniques.clear();
    m_walkRoot.clear();
    m_walkSkipped.clear();
    m_walkCurrent = {m_currentDir, IsSafeEntryName(name) ? name + "/" : "", 0, false, {}, false};
    if (m_walkCurrent.Relative.empty()) {
        WalkSkip(name, 0, Tr("Engine", "an unsafe name"));
        WalkNext();
        return;
    }
    // The start's own unique fact, from the listing it was chosen in: a link back to it is known.
    for (const TDirAnalyze& entry : ParseListing(m_cache.CurrentText()))
        if (entry.EntryName() == name && !entry.Unique.empty())
            m_walkUniques[entry.Unique].Path = m_currentDir, m_walkCurrent.Unique = entry.Unique;
    if (Sftp()) {
        m_sftpBusy = true;
        SftpWalkEnter();
        return;
    }
    main.HostDirName = m_currentDir;
    StartMain(ftpCwdAsync, [&main] { main.Cwd(); });
}

bool TFtpManager::WalkEntered(const std::string& asked, const std::string& reported)
{
    // The server's name for the directory tells only whether it was met before; a name
    // that climbs ("..") or leaves the walked tree stops the walk of that directory.
    if (!IsPlainRemoteDir(reported)) {
        WalkSkip(asked, 0, Fill(Tr("Engine", "the server calls it \"%1\""), {reported}));
        return false;
    }
    if (m_walkRoot.empty())
        m_walkRoot = reported;
    bool seen = std::find(m_walkVisited.begin(), m_walkVisited.end(), reported) != m_walkVisited.end();
    if (seen || reported.rfind(m_walkRoot, 0) != 0) {
        WalkSkip(asked, 0,
                 Fill(seen ? Tr("Engine", "the server calls it %1, a directory walked already")
                           : Tr("Engine", "the server calls it %1, outside the walked tree"),
                      {reported}));
        return false;
    }
    m_walkVisited.push_back(reported);
    // Files are fetched by the path asked for, which the server just accepted.
    m_currentDir = EnsureTrailing(asked, '/');
    return true;
}

void TFtpManager::WalkStep(TFtpRequest rqType, int error)
{
    if (m_abortMain) {
        m_abortMain = false;
        return;
    }
    TFtpClient& main = *Slot(0).Client;
    switch (rqType) {
    case ftpCwdAsync:
        if (error != 0) {
            // A link to a file is tried as a directory too; only a real directory's refusal counts.
            if (!m_walkCurrent.Link)
                WalkSkip(main.HostDirName, error, main.LastResponse());
            WalkNext();
            return;
        }
        StartMain(ftpPwdAsync, [&main] { main.Pwd(); });
        return;
    case ftpPwdAsync: {
        if (error != 0 || main.DirResult().empty()) {
            WalkSkip(main.HostDirName, error,
                     error != 0 ? main.LastResponse() : Tr("Engine", "the reply to PWD names no directory"));
            WalkNext();
            return;
        }
        if (!WalkEntered(main.HostDirName, PwdDirectory())) {
            WalkNext();
            return;
        }
        if (List(m_currentDir))
            WalkParse();
        return;
    }
    case ftpDirAsync:
        main.SetLocalStream(nullptr);
        if (error == 0) {
            FinishListing(*m_cache.Current);
            WalkParse();
        } else if (int slot = m_cache.Find(m_currentDir); slot >= 0) {
            m_cache.Current = m_cache.Stream(slot);
            WalkParse();
        } else {
            WalkSkip(m_currentDir, error, main.ErrorMessage());
            WalkNext();
        }
        return;
    default:
        return;
    }
}

void TFtpManager::WalkParse()
{
    std::vector<TDirAnalyze> entries = ParseListing(m_cache.CurrentText());
    if (!m_walkCurrent.Unique.empty()) {
        TWalkUnique& known = m_walkUniques[m_walkCurrent.Unique];
        std::string contents = ListingContents(entries);
        if (!m_walkCurrent.Repeated || known.Contents.empty()) {
            known.Contents = contents;
        } else if (contents == known.Contents) {
            // Same unique fact, same entries: this name leads to a directory walked already.
            WalkSkip(m_currentDir, 0, Fill(Tr("Engine", "the same directory as %1, walked there"), {known.Path}));
            WalkNext();
            return;
        }
    }
    int childDepth = m_walkCurrent.Depth + 1;
    const std::string& relative = m_walkCurrent.Relative;
    // Links are walked after the directories beside them (the stack takes them first), so a
    // link to one of those finds it walked under its own name already.
    std::vector<TWalkDir> directories;
    for (const TDirAnalyze& entry : entries) {
        std::string name = entry.EntryName();
        if (!IsSafeEntryName(name)) {
            if (name != "." && name != "..")
                WalkSkip(m_currentDir + name, 0, Tr("Engine", "an unsafe name"));
            continue;
        }
        if (entry.IsFile()) {
            int64_t size = 0;
            if (!ParseSize(entry.Size, size))
                Log(0,
                    Fill(Tr("Engine", "! No size for %1 (\"%2\"), counted as 0"), {m_currentDir + name, entry.Size}));
            if (m_walkResult)
                m_walkResult->push_back({m_currentDir + name, size, relative + name, entry.Modified});
        } else if (childDepth > kMaxWalkDepth) {
            WalkSkip(m_currentDir + name, 0, Tr("Engine", "it lies deeper than ") + std::to_string(kMaxWalkDepth));
        } else if (entry.IsDirectory()) {
            TWalkDir directory{
                m_currentDir + name + "/", relative + name + "/", childDepth, false, entry.Unique, false};
            // MLSD shows a link to a directory as a directory on some servers, with the unique
            // fact of the directory it leads to: such a one waits until the rest is walked.
            if (!entry.Unique.empty() && !m_walkUniques.emplace(entry.Unique, TWalkUnique{directory.Path, {}}).second) {
                directory.Repeated = true;
                m_walkRepeated.push_back(directory);
                continue;
            }
            directories.push_back(directory);
        } else if (entry.IsLink()) {
            // A link to a directory is walked under the link's own name. An absolute target is
            // followed only when it stays in the walked tree; the check after its PWD sees to that.
            // Without a target (MLSD names none) the server resolves the link's own name.
            std::string target = entry.LinkTarget();
            std::string path = target.empty()     ? m_currentDir + name + "/"
                               : target[0] == '/' ? EnsureTrailing(target, '/')
                                                  : m_currentDir + target + "/";
            m_walkStack.push_back({path, relative + name + "/", childDepth, true, {}, false});
        }
    }
    m_walkStack.insert(m_walkStack.end(), directories.begin(), directories.end());
    // The listing of a walked directory is not kept as the pane's listing.
    WalkNext();
}

void TFtpManager::WalkNext()
{
    if (Sftp()) {
        SftpWalkNext();
        return;
    }
    TFtpClient& main = *Slot(0).Client;
    if (m_walkStack.empty() && !m_walkRepeated.empty()) {
        m_walkStack.assign(m_walkRepeated.rbegin(), m_walkRepeated.rend());
        m_walkRepeated.clear();
    }
    if (!main.Connected()) {
        // What is left cannot be walked on this login: named, and the walk ends with what it found.
        for (const TWalkDir& left : m_walkStack)
            WalkSkip(left.Path, wsa::kNotConnected, Tr("Engine", "the connection was lost"));
        m_walkStack.clear();
    }
    if (!m_walkStack.empty()) {
        m_walkCurrent = m_walkStack.back();
        m_walkStack.pop_back();
        main.HostDirName = m_walkCurrent.Path;
        StartMain(ftpCwdAsync, [&main] { main.Cwd(); });
        return;
    }
    RestoreSaved();
    Done(TOperationResult::Of(TOperation::Walk, std::move(m_walkSkipped)));
    m_walkSkipped.clear();
}

void TFtpManager::WalkSkip(const std::string& path, int code, const std::string& reason)
{
    Log(0, Fill(Tr("Engine", "! Not walked: %1"), {path + ": " + reason}));
    // A failure of the walk's own making (no reply to blame) counts as 550, as a refusal would.
    m_walkSkipped.push_back({path, code != 0 ? code : 550, reason});
}

// ---------------------------------------------------------------- make, rename, delete, chmod

bool TFtpManager::ChainGoesOn(int error, TOperation operation, bool itemsLeft)
{
    if (!m_chainItem.empty())
        m_outcomes.push_back(Outcome(m_chainItem, error)); // the item whose request just ended
    if (itemsLeft)
        return true;
    m_chainItem.clear();
    Done(TOperationResult::Of(operation, std::move(m_outcomes)));
    return false;
}

bool TFtpManager::ChainConnected(std::vector<std::string> itemsLeft)
{
    if (Slot(0).Client->Connected())
        return true;
    for (const std::string& item : itemsLeft)
        m_outcomes.push_back({item, wsa::kNotConnected, Tr("Engine", "the connection was lost")});
    return false;
}

void TFtpManager::MakeDirs(std::vector<std::string> paths)
{
    if (!MainConnected(TOperation::MakeDirs))
        return;
    if (Sftp()) {
        SftpMakeDirs(std::move(paths));
        return;
    }
    m_abortMain = false;
    SetMode(0, cmMakeDir);
    m_makeDirs = std::move(paths);
    m_outcomes.clear();
    m_chainItem.clear();
    MakeDirStep(0);
}

void TFtpManager::MakeDirStep(int error)
{
    if (!ChainConnected(m_makeDirs))
        m_makeDirs.clear();
    if (!ChainGoesOn(error, TOperation::MakeDirs, !m_makeDirs.empty()))
        return;
    TFtpClient& main = *Slot(0).Client;
    m_chainItem = m_makeDirs.front();
    m_makeDirs.erase(m_makeDirs.begin());
    main.HostFileName = m_chainItem;
    StartMain(ftpMkdAsync, [&main] { main.Mkd(); });
}

void TFtpManager::RenameFiles(std::vector<THostMoveFileInfo> pairs)
{
    if (!MainConnected(TOperation::Rename))
        return;
    if (Sftp()) {
        SftpRename(std::move(pairs));
        return;
    }
    SetMode(0, cmRename);
    m_renames = std::move(pairs);
    m_outcomes.clear();
    m_renaming = {};
    m_renameToSent = false;
    RenameStep(0);
}

void TFtpManager::RenameStep(int error)
{
    TFtpClient& main = *Slot(0).Client;
    bool fromAccepted = !m_renaming.OldPath.empty() && !m_renameToSent && error == 0;
    if (fromAccepted) {
        // RNFR took the old name: RNTO gives the new one.
        m_renameToSent = true;
        main.SetLocalFileName("RNTO " + m_renaming.NewPath);
        StartMain(ftpQuoteAsync, [&main] { main.Quote(); });
        return;
    }
    // The pair ended: its RNTO answered, or its RNFR was refused (no RNTO follows a refusal).
    if (!m_renaming.OldPath.empty())
        m_outcomes.push_back(Outcome(m_renaming.OldPath, error));
    std::vector<std::string> left;
    for (const THostMoveFileInfo& pair : m_renames)
        left.push_back(pair.OldPath);
    if (!ChainConnected(left))
        m_renames.clear();
    if (m_renames.empty()) {
        m_renaming = {};
        Done(TOperationResult::Of(TOperation::Rename, std::move(m_outcomes)));
        return;
    }
    m_renaming = m_renames.front();
    m_renames.erase(m_renames.begin());
    m_renameToSent = false;
    main.SetLocalFileName("RNFR " + m_renaming.OldPath);
    StartMain(ftpQuoteAsync, [&main] { main.Quote(); });
}

void TFtpManager::DeleteFiles(std::vector<TDelFileInfo> entries)
{
    if (!MainConnected(TOperation::Delete))
        return;
    // Both protocols delete through connection 0's session: a tree is listed as a run lists.
    std::map<std::string, std::string> uniques; // of the listed directories, where the server gave them
    for (const TDirAnalyze& listed : ParseListing(ListingText()))
        if (listed.IsDirectory() && !listed.Unique.empty())
            uniques[listed.Name] = listed.Unique;
    std::vector<TDeleteTarget> targets;
    for (const TDelFileInfo& entry : entries) {
        TRemoteKind kind = entry.IsLink        ? TRemoteKind::Link
                           : entry.IsDirectory ? TRemoteKind::Directory
                                               : TRemoteKind::File;
        auto unique = uniques.find(entry.Name);
        targets.push_back({entry.Name, m_currentDir + entry.Name, kind, entry.Recursive,
                           unique == uniques.end() ? std::string() : unique->second});
    }
    ISession& session = RunSession(0);
    SetMode(0, cmDelete);
    m_treeDelete = std::make_unique<TTreeDelete>(session, [this](const std::string& line) { Log(0, line); });
    m_treeDelete->Start(std::move(targets), [this](std::vector<TItemOutcome> outcomes, bool cancelled) {
        for (const std::string& emptied : m_treeDelete->Emptied())
            m_cache.Disable(emptied);
        for (const TItemOutcome& outcome : outcomes)
            if (!outcome.Succeeded() && Sftp())
                Log(0, "! " + outcome.Name + ": " + outcome.Reply); // an FTP client logs its own replies
        TOperationResult result = TOperationResult::Of(TOperation::Delete, std::move(outcomes));
        if (cancelled) {
            result.Success = false;
            result.Code = 426;
            result.Reply = Tr("Engine", "User Aborted");
        }
        Done(result);
    });
}

void TFtpManager::ChangeModes(std::vector<std::string> names, const std::string& mode)
{
    if (!MainConnected(TOperation::ChangeMode))
        return;
    if (Sftp()) {
        SftpChangeModes(std::move(names), mode);
        return;
    }
    SetMode(0, cmChmod);
    m_chmodNames = std::move(names);
    m_chmodMode = mode;
    m_outcomes.clear();
    m_chainItem.clear();
    ChmodStep(0);
}

void TFtpManager::ChmodStep(int error)
{
    if (!ChainConnected(m_chmodNames))
        m_chmodNames.clear();
    if (!ChainGoesOn(error, TOperation::ChangeMode, !m_chmodNames.empty()))
        return;
    TFtpClient& main = *Slot(0).Client;
    m_chainItem = m_chmodNames.front();
    m_chmodNames.erase(m_chmodNames.begin());
    main.SetLocalFileName("SITE CHMOD " + m_chmodMode + " " + m_chainItem);
    StartMain(ftpQuoteAsync, [&main] { main.Quote(); });
}
