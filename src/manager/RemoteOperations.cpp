#include "manager/FtpManager.h"

// The remote pane's commands as chains of requests on connection 0: change directory (with
// the listing cache), refresh, the recursive walk, make directories, rename and move, delete,
// change mode. Each chain ends with the host's OperationDone or OperationFailed.

#include <algorithm>

// ---------------------------------------------------------------- change directory

void TFtpManager::ChangeDir(const std::string& name)
{
    TFtpClient& main = *Clients[0];
    if (!main.Connected()) {
        Log(0, "Lost Connection, Please Reconnect");
        return;
    }
    AbortMainFlag = 0;
    Mode[0] = cmChangeDir;
    std::string target = name.find('/') != std::string::npos ? name : EnsureTrailing(CurrentRemoteDir, '/') + name;
    main.HostDirName = target;
    m_savedDir = CurrentRemoteDir;
    m_savedListing = Cache.Current;
    CurrentRemoteDir = target;
    main.Cwd();
}

void TFtpManager::ChangeDirStep(TFtpRequest rqType, int error)
{
    if (AbortMainFlag) {
        AbortMainFlag = 0;
        return;
    }
    TFtpClient& main = *Clients[0];
    if (rqType != ftpCwdAsync && rqType != ftpPwdAsync && rqType != ftpDirAsync)
        return; // the completion of a synchronous call made on the way (TYPE A before LIST)
    if (error != 0) {
        if (rqType == ftpDirAsync)
            main.SetLocalStream(nullptr);
        RestoreSaved();
        m_host.OperationFailed();
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
        RefreshStep(rqType); // store the listing, done
        break;
    default:
        break;
    }
}

// ---------------------------------------------------------------- refresh

void TFtpManager::Refresh(const std::string& path)
{
    AbortMainFlag = 0;
    Mode[0] = cmRefresh;
    CurrentRemoteDir = path;
    Cache.Disable(path);
    List(path);
}

void TFtpManager::RefreshStep(TFtpRequest rqType)
{
    if (rqType != ftpDirAsync)
        return;
    Store(CurrentRemoteDir);
    m_host.OperationDone();
}

// ---------------------------------------------------------------- the walk

void TFtpManager::Walk(const std::string& name, std::vector<TGetFileInfo>* result)
{
    TFtpClient& main = *Clients[0];
    AbortMainFlag = 0;
    Mode[0] = cmWalk;
    m_savedDir = CurrentRemoteDir;
    m_savedListing = Cache.Current;
    CurrentRemoteDir = EnsureTrailing(CurrentRemoteDir, '/') + name + "/";
    m_walkResult = result;
    if (m_walkResult)
        m_walkResult->clear();
    m_walkStack.clear();
    m_walkVisited.clear();
    m_walkRoot.clear();
    m_walkDepth = 0;
    m_walkRelative = IsSafeEntryName(name) ? name + "/" : "";
    if (m_walkRelative.empty()) {
        WalkSkip(name, "an unsafe name");
        WalkNext();
        return;
    }
    m_walkTryingLink = false;
    main.HostDirName = CurrentRemoteDir;
    main.Cwd();
}

void TFtpManager::WalkStep(TFtpRequest rqType, int error)
{
    if (AbortMainFlag) {
        AbortMainFlag = 0;
        return;
    }
    TFtpClient& main = *Clients[0];
    switch (rqType) {
    case ftpCwdAsync:
        if (error != 0) {
            // A link to a file is tried as a directory too; only a real directory's refusal counts.
            if (!m_walkTryingLink)
                WalkSkip(main.HostDirName, main.LastResponse());
            WalkNext();
            return;
        }
        main.Pwd();
        return;
    case ftpPwdAsync: {
        if (error != 0) {
            WalkSkip(main.HostDirName, main.LastResponse());
            WalkNext();
            return;
        }
        std::string reported = PwdDirectory();
        // The server's name for the directory tells only whether it was met before; a name
        // that climbs ("..") or leaves the walked tree stops the walk of that directory.
        if (!IsPlainRemoteDir(reported)) {
            WalkSkip(main.HostDirName, "the server calls it \"" + reported + "\"");
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
        CurrentRemoteDir = EnsureTrailing(main.HostDirName, '/');
        if (List(CurrentRemoteDir))
            WalkParse();
        return;
    }
    case ftpDirAsync:
        main.SetLocalStream(nullptr);
        if (error == 0) {
            FinishListing(*Cache.Current);
            WalkParse();
        } else if (int slot = Cache.Find(CurrentRemoteDir); slot >= 0) {
            Cache.Current = Cache.Stream(slot);
            WalkParse();
        } else {
            WalkSkip(CurrentRemoteDir, main.ErrorMessage());
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
    for (const TDirAnalyze& entry : ParseListing(Cache.CurrentText())) {
        std::string name = entry.EntryName();
        if (!IsSafeEntryName(name)) {
            if (name != "." && name != "..")
                Log(0, "! Skipped the unsafe name \"" + name + "\" in " + CurrentRemoteDir);
            continue;
        }
        if (entry.IsFile()) {
            int64_t size = 0;
            if (!ParseSize(entry.Size, size))
                Log(0, "! No size for " + CurrentRemoteDir + name + " (\"" + entry.Size + "\"), counted as 0");
            if (m_walkResult)
                m_walkResult->push_back({CurrentRemoteDir + name, size, m_walkRelative + name});
        } else if (childDepth > kMaxWalkDepth) {
            WalkSkip(CurrentRemoteDir + name, "it lies deeper than " + std::to_string(kMaxWalkDepth));
        } else if (entry.IsDirectory()) {
            m_walkStack.push_back({CurrentRemoteDir + name + "/", m_walkRelative + name + "/", childDepth, false});
        } else if (entry.IsLink()) {
            std::string target = entry.LinkTarget();
            if (target.empty())
                continue;
            // A link to a directory is walked under the link's own name. An absolute target is
            // followed only when it stays in the walked tree; the check after its PWD sees to that.
            std::string path = target[0] == '/' ? EnsureTrailing(target, '/') : CurrentRemoteDir + target + "/";
            m_walkStack.push_back({path, m_walkRelative + name + "/", childDepth, true});
        }
    }
    // The listing of a walked directory is not kept as the pane's listing.
    WalkNext();
}

void TFtpManager::WalkNext()
{
    TFtpClient& main = *Clients[0];
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
    m_host.OperationDone();
}

void TFtpManager::WalkSkip(const std::string& path, const std::string& reason)
{
    Log(0, "! Not walked: " + path + ": " + reason);
    WalkSkipped.emplace_back(path, reason);
}

// ---------------------------------------------------------------- make, rename, delete, chmod

void TFtpManager::MakeDirs(std::vector<std::string> paths)
{
    AbortMainFlag = 0;
    Mode[0] = cmMakeDir;
    m_makeDirs = std::move(paths);
    MakeDirStep();
}

void TFtpManager::MakeDirStep()
{
    if (m_makeDirs.empty()) {
        m_host.OperationDone();
        return;
    }
    TFtpClient& main = *Clients[0];
    main.HostFileName = m_makeDirs.front();
    m_makeDirs.erase(m_makeDirs.begin());
    main.Mkd();
}

void TFtpManager::RenameFiles(std::vector<THostMoveFileInfo> pairs)
{
    Mode[0] = cmRename;
    m_renames = std::move(pairs);
    m_pendingNewName.clear();
    RenameStep();
}

void TFtpManager::RenameStep()
{
    TFtpClient& main = *Clients[0];
    if (!m_pendingNewName.empty()) {
        main.SetLocalFileName("RNTO " + m_pendingNewName);
        m_pendingNewName.clear();
        main.Quote();
        return;
    }
    if (m_renames.empty()) {
        m_host.OperationDone();
        return;
    }
    THostMoveFileInfo pair = m_renames.front();
    m_renames.erase(m_renames.begin());
    m_pendingNewName = pair.NewPath;
    main.SetLocalFileName("RNFR " + pair.OldPath);
    main.Quote();
}

void TFtpManager::DeleteFiles(std::vector<TDelFileInfo> entries)
{
    Mode[0] = cmDelete;
    m_deletes = std::move(entries);
    DeleteStep();
}

void TFtpManager::DeleteStep()
{
    if (m_deletes.empty()) {
        m_host.OperationDone();
        return;
    }
    TFtpClient& main = *Clients[0];
    TDelFileInfo entry = m_deletes.front();
    m_deletes.erase(m_deletes.begin());
    main.HostFileName = entry.Name;
    if (entry.IsDirectory)
        main.Rmd();
    else
        main.Dele();
}

void TFtpManager::ChangeModes(std::vector<std::string> names, const std::string& mode)
{
    Mode[0] = cmChmod;
    m_chmodNames = std::move(names);
    m_chmodMode = mode;
    ChmodStep();
}

void TFtpManager::ChmodStep()
{
    if (m_chmodNames.empty()) {
        m_host.OperationDone();
        return;
    }
    TFtpClient& main = *Clients[0];
    main.SetLocalFileName("SITE CHMOD " + m_chmodMode + " " + m_chmodNames.front());
    m_chmodNames.erase(m_chmodNames.begin());
    main.Quote();
}
