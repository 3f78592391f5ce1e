#include "manager/FtpManager.h"

// The remote pane's commands as chains of requests on connection 0: change directory (with
// the listing cache), refresh, the recursive walk, make directories, rename and move, delete,
// change mode. Each chain ends with the host's OperationDone or OperationFailed, with a result
// that tells how each of its items fared.

#include <algorithm>

// ---------------------------------------------------------------- change directory

void TFtpManager::ChangeDir(const std::string& name)
{
    TFtpClient& main = *Slot(0).Client;
    if (!main.Connected()) {
        Log(0, "Lost Connection, Please Reconnect");
        return;
    }
    m_abortMain = false;
    SetMode(0, cmChangeDir);
    std::string target = name.find('/') != std::string::npos ? name : EnsureTrailing(m_currentDir, '/') + name;
    main.HostDirName = target;
    m_savedDir = m_currentDir;
    m_savedListing = m_cache.Current;
    m_currentDir = target;
    main.Cwd();
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
        main.Pwd();
        break;
    case ftpPwdAsync:
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
    m_abortMain = false;
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

void TFtpManager::Walk(const std::string& name, std::vector<TGetFileInfo>* result)
{
    TFtpClient& main = *Slot(0).Client;
    m_abortMain = false;
    SetMode(0, cmWalk);
    m_savedDir = m_currentDir;
    m_savedListing = m_cache.Current;
    m_currentDir = EnsureTrailing(m_currentDir, '/') + name + "/";
    m_walkResult = result;
    if (m_walkResult)
        m_walkResult->clear();
    m_walkStack.clear();
    m_walkVisited.clear();
    m_walkUniques.clear();
    m_walkRoot.clear();
    m_walkSkipped.clear();
    m_walkDepth = 0;
    m_walkRelative = IsSafeEntryName(name) ? name + "/" : "";
    if (m_walkRelative.empty()) {
        WalkSkip(name, 0, "an unsafe name");
        WalkNext();
        return;
    }
    m_walkTryingLink = false;
    main.HostDirName = m_currentDir;
    main.Cwd();
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
            if (!m_walkTryingLink)
                WalkSkip(main.HostDirName, error, main.LastResponse());
            WalkNext();
            return;
        }
        main.Pwd();
        return;
    case ftpPwdAsync: {
        if (error != 0) {
            WalkSkip(main.HostDirName, error, main.LastResponse());
            WalkNext();
            return;
        }
        std::string reported = PwdDirectory();
        // The server's name for the directory tells only whether it was met before; a name
        // that climbs ("..") or leaves the walked tree stops the walk of that directory.
        if (!IsPlainRemoteDir(reported)) {
            WalkSkip(main.HostDirName, 0, "the server calls it \"" + reported + "\"");
            WalkNext();
            return;
        }
        if (m_walkRoot.empty())
            m_walkRoot = reported;
        bool seen = std::find(m_walkVisited.begin(), m_walkVisited.end(), reported) != m_walkVisited.end();
        if (seen || reported.rfind(m_walkRoot, 0) != 0) {
            Log(0, "! Skipped " + reported + (seen ? ": already walked" : ": outside the walked tree"));
            WalkNext();
            return;
        }
        m_walkVisited.push_back(reported);
        // Files are fetched by the path asked for, which the server just accepted.
        m_currentDir = EnsureTrailing(main.HostDirName, '/');
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
    int childDepth = m_walkDepth + 1;
    // Links are walked after the directories beside them (the stack takes them first), so a
    // link to one of those finds it walked under its own name already.
    std::vector<TWalkDir> directories;
    for (const TDirAnalyze& entry : ParseListing(m_cache.CurrentText())) {
        std::string name = entry.EntryName();
        if (!IsSafeEntryName(name)) {
            if (name != "." && name != "..")
                Log(0, "! Skipped the unsafe name \"" + name + "\" in " + m_currentDir);
            continue;
        }
        if (entry.IsFile()) {
            int64_t size = 0;
            if (!ParseSize(entry.Size, size))
                Log(0, "! No size for " + m_currentDir + name + " (\"" + entry.Size + "\"), counted as 0");
            if (m_walkResult)
                m_walkResult->push_back({m_currentDir + name, size, m_walkRelative + name, entry.Modified});
        } else if (childDepth > kMaxWalkDepth) {
            WalkSkip(m_currentDir + name, 0, "it lies deeper than " + std::to_string(kMaxWalkDepth));
        } else if (entry.IsDirectory()) {
            // MLSD shows a link to a directory as a directory on some servers; the "unique" fact
            // tells that it names one met before.
            if (!entry.Unique.empty() && !m_walkUniques.insert(entry.Unique).second) {
                Log(0, "! Skipped " + m_currentDir + name + ": the same directory as one met before");
                continue;
            }
            directories.push_back({m_currentDir + name + "/", m_walkRelative + name + "/", childDepth, false});
        } else if (entry.IsLink()) {
            // A link to a directory is walked under the link's own name. An absolute target is
            // followed only when it stays in the walked tree; the check after its PWD sees to that.
            // Without a target (MLSD names none) the server resolves the link's own name.
            std::string target = entry.LinkTarget();
            std::string path = target.empty()     ? m_currentDir + name + "/"
                               : target[0] == '/' ? EnsureTrailing(target, '/')
                                                  : m_currentDir + target + "/";
            m_walkStack.push_back({path, m_walkRelative + name + "/", childDepth, true});
        }
    }
    m_walkStack.insert(m_walkStack.end(), directories.begin(), directories.end());
    // The listing of a walked directory is not kept as the pane's listing.
    WalkNext();
}

void TFtpManager::WalkNext()
{
    TFtpClient& main = *Slot(0).Client;
    if (!m_walkStack.empty()) {
        TWalkDir next = m_walkStack.back();
        m_walkStack.pop_back();
        m_walkDepth = next.Depth;
        m_walkRelative = next.Relative;
        m_walkTryingLink = next.Link;
        main.HostDirName = next.Path;
        main.Cwd();
        return;
    }
    RestoreSaved();
    Done(TOperationResult::Of(TOperation::Walk, std::move(m_walkSkipped)));
    m_walkSkipped.clear();
}

void TFtpManager::WalkSkip(const std::string& path, int code, const std::string& reason)
{
    Log(0, "! Not walked: " + path + ": " + reason);
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

void TFtpManager::MakeDirs(std::vector<std::string> paths)
{
    m_abortMain = false;
    SetMode(0, cmMakeDir);
    m_makeDirs = std::move(paths);
    m_outcomes.clear();
    m_chainItem.clear();
    MakeDirStep(0);
}

void TFtpManager::MakeDirStep(int error)
{
    if (!ChainGoesOn(error, TOperation::MakeDirs, !m_makeDirs.empty()))
        return;
    TFtpClient& main = *Slot(0).Client;
    m_chainItem = m_makeDirs.front();
    m_makeDirs.erase(m_makeDirs.begin());
    main.HostFileName = m_chainItem;
    main.Mkd();
}

void TFtpManager::RenameFiles(std::vector<THostMoveFileInfo> pairs)
{
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
        main.Quote();
        return;
    }
    // The pair ended: its RNTO answered, or its RNFR was refused (no RNTO follows a refusal).
    if (!m_renaming.OldPath.empty())
        m_outcomes.push_back(Outcome(m_renaming.OldPath, error));
    if (m_renames.empty()) {
        m_renaming = {};
        Done(TOperationResult::Of(TOperation::Rename, std::move(m_outcomes)));
        return;
    }
    m_renaming = m_renames.front();
    m_renames.erase(m_renames.begin());
    m_renameToSent = false;
    main.SetLocalFileName("RNFR " + m_renaming.OldPath);
    main.Quote();
}

void TFtpManager::DeleteFiles(std::vector<TDelFileInfo> entries)
{
    SetMode(0, cmDelete);
    m_deletes = std::move(entries);
    m_outcomes.clear();
    m_chainItem.clear();
    DeleteStep(0);
}

void TFtpManager::DeleteStep(int error)
{
    if (!ChainGoesOn(error, TOperation::Delete, !m_deletes.empty()))
        return;
    TFtpClient& main = *Slot(0).Client;
    TDelFileInfo entry = m_deletes.front();
    m_deletes.erase(m_deletes.begin());
    m_chainItem = entry.Name;
    main.HostFileName = entry.Name;
    if (entry.IsDirectory)
        main.Rmd();
    else
        main.Dele();
}

void TFtpManager::ChangeModes(std::vector<std::string> names, const std::string& mode)
{
    SetMode(0, cmChmod);
    m_chmodNames = std::move(names);
    m_chmodMode = mode;
    m_outcomes.clear();
    m_chainItem.clear();
    ChmodStep(0);
}

void TFtpManager::ChmodStep(int error)
{
    if (!ChainGoesOn(error, TOperation::ChangeMode, !m_chmodNames.empty()))
        return;
    TFtpClient& main = *Slot(0).Client;
    m_chainItem = m_chmodNames.front();
    m_chmodNames.erase(m_chmodNames.begin());
    main.SetLocalFileName("SITE CHMOD " + m_chmodMode + " " + m_chainItem);
    main.Quote();
}
