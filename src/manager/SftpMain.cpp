// Connection 0 of an SFTP site: the login, the listings (written as MLSD lines, so that the
// listing cache, the panes and the walk read them as they read an FTP server's), the directory
// changes and the remote commands, each ending with the host's OperationDone or
// OperationFailed as on FTP.

#include <cstdio>
#include <ctime>

#include "manager/FtpManager.h"
#include "manager/SftpSession.h"
#include "net/WSocketErrors.h"
#include "sftp/SftpClient.h"
#include "platform/Translate.h"

using platform::Fill;
using platform::Tr;

namespace {

// The code an SFTP failure counts as among FTP's: a refusal as 550, a lost connection as
// the socket error it is.
int CodeOf(const sftp::TStatus& status)
{
    if (status.Ok())
        return 0;
    if (status.Lost)
        return wsa::kConnectionAborted;
    return 550;
}

std::string UtcFact(uint32_t seconds)
{
    std::time_t when = static_cast<std::time_t>(seconds);
    std::tm utc{};
    ::gmtime_r(&when, &utc);
    char text[20];
    std::strftime(text, sizeof text, "%Y%m%d%H%M%S", &utc);
    return text;
}

} // namespace

// One entry as an MLSD line: "type=file;size=5;modify=20261207051500;UNIX.mode=0644;
// UNIX.owner=alice;UNIX.group=staff; name". A link names its target, where it was read.
std::string SftpListingLine(const sftp::TNameEntry& entry, const std::string& linkTarget)
{
    const sftp::TAttributes& a = entry.Attributes;
    std::string type = a.IsDirectory() ? "dir" : a.IsLink() ? "OS.unix=slink:" + linkTarget : "file";
    std::string line = "type=" + type + ";";
    if (a.Size && !a.IsDirectory())
        line += "size=" + std::to_string(*a.Size) + ";";
    if (a.ModifyTime)
        line += "modify=" + UtcFact(*a.ModifyTime) + ";";
    if (a.Permissions) {
        char mode[8];
        std::snprintf(mode, sizeof mode, "0%03o", *a.Permissions & 07777);
        line += std::string("UNIX.mode=") + mode + ";";
    }
    std::string owner, group;
    sftp::OwnerAndGroup(entry.LongName, owner, group);
    if (!owner.empty())
        line += "UNIX.owner=" + owner + ";UNIX.group=" + group + ";";
    return line + " " + entry.Name;
}

bool TFtpManager::Sftp() const
{
    return m_session.Sftp;
}

sftp::TSshParams TFtpManager::SshParams() const
{
    const TSettings& settings = m_host.Settings();
    sftp::TSshParams params;
    params.Host = m_session.HostName;
    params.Port = std::atoi(m_session.HostPort.c_str());
    if (params.Port <= 0)
        params.Port = 22;
    params.User = m_session.UserName;
    params.Password = m_session.PassWord;
    params.SshDir = m_host.SshDir();
    params.OwnKnownHosts = m_host.KnownHostsFile();
    params.TimeoutSeconds = std::max(settings.ReplyTimeout, 1);
    // Asked once a run for each key: every connection of the run uses the answer.
    params.AskPassphrase = [this](const std::string& key) {
        auto known = m_passphrases.find(key);
        if (known != m_passphrases.end())
            return known->second;
        std::string passphrase = m_host.AskPassphrase(key);
        if (!passphrase.empty())
            m_passphrases[key] = passphrase;
        return passphrase;
    };
    if (settings.Socks.Enabled) {
        params.SocksServer = settings.Socks.Host;
        params.SocksPort = settings.Socks.Port;
        params.SocksLevel = settings.Socks.Type == ftpSocks4 ? "4" : settings.Socks.Type == ftpSocks4A ? "4A" : "5";
        params.SocksUser = settings.Socks.User;
        params.SocksPassword = settings.Socks.Pass;
    }
    return params;
}

std::unique_ptr<sftp::TSftpClient> TFtpManager::NewSftpClient(int index)
{
    auto client = std::make_unique<sftp::TSftpClient>();
    client->OnLog = [this, index](const std::string& line) { Log(index, line); };
    client->Connection().OnUnknownHostKey = [this](const sftp::THostKey& key,
                                                   std::function<void(sftp::TTrust)> answer) {
        std::string site = m_session.HostName + ":" + m_session.HostPort;
        std::string accepted = site + " " + key.Fingerprint;
        if (std::find(m_acceptedCertificates.begin(), m_acceptedCertificates.end(), accepted) !=
            m_acceptedCertificates.end()) {
            answer(sftp::TTrust::Once);
            return;
        }
        TCertificateChoice choice = m_host.AskHostKey(site, key.Type, key.Fingerprint);
        if (choice != TCertificateChoice::Cancel)
            m_acceptedCertificates.push_back(accepted); // the other connections of this run ask no more
        answer(choice == TCertificateChoice::Always ? sftp::TTrust::Always
               : choice == TCertificateChoice::Once ? sftp::TTrust::Once
                                                    : sftp::TTrust::Refuse);
    };
    return client;
}

// ---------------------------------------------------------------- login

void TFtpManager::SftpConnect()
{
    if (m_host.Settings().Proxy.Enabled)
        Log(0, Tr("Engine", "! An FTP proxy does not carry SFTP: connecting without it"));
    m_treeDelete.reset();
    Slot(0).Session.reset(); // it worked on the connection that goes now
    m_sftpMain = NewSftpClient(0);
    m_sftpMain->OnLost = [this](const std::string&) {
        Log(0, Tr("Engine", "Connection Lost"));
        if (!SessionWorks(0) && !m_sftpBusy)
            m_host.SetSessionState(ssReady);
    };
    SetMode(0, cmLogin);
    m_sftpBusy = true;
    Log(0, Fill(Tr("Engine", "Connecting to %1 (SFTP) ..."), {m_session.HostName}));
    m_sftpMain->Open(SshParams(), [this](const sftp::TStatus& status, sftp::TSshStep step) {
        if (!status.Ok()) {
            m_sftpBusy = false;
            Log(0, Tr("Engine", "Server Connection Failed."));
            TOperationResult result = TOperationResult::Failed(TOperation::Connect, CodeOf(status), status.Message);
            result.Step = sftp::SshStepName(step);
            Failed(result);
            return;
        }
        m_sftpMain->RealPath(".", [this](const sftp::TStatus& where, std::string home) {
            if (!where.Ok() || home.empty() || home[0] != '/') {
                m_sftpBusy = false;
                TOperationResult result = TOperationResult::Failed(
                    TOperation::Connect, CodeOf(where),
                    where.Ok() ? Tr("Engine", "the server names no home directory") : where.Text());
                result.Step = "REALPATH";
                result.LoggedIn = true;
                Failed(result);
                return;
            }
            m_currentDir = EnsureTrailing(home, '/');
            SftpListCurrent(TOperation::Connect, "");
        });
    });
}

// ---------------------------------------------------------------- listings

void TFtpManager::SftpListInto(const std::string& directory,
                               std::function<void(const sftp::TStatus&, std::string text)> done)
{
    m_sftpMain->ListDir(directory, [this, directory, done = std::move(done)](const sftp::TStatus& status,
                                                                             std::vector<sftp::TNameEntry> names) {
        if (!status.Ok()) {
            done(status, {});
            return;
        }
        // Each link's target is read before the listing counts: the walk follows links by it.
        auto entries = std::make_shared<std::vector<sftp::TNameEntry>>(std::move(names));
        auto targets = std::make_shared<std::vector<std::string>>(entries->size());
        auto waiting = std::make_shared<size_t>(1);
        auto finish = [entries, targets, waiting, done] {
            if (--*waiting > 0)
                return;
            std::string text;
            for (size_t i = 0; i < entries->size(); ++i) {
                const std::string& name = (*entries)[i].Name;
                if (name == "." || name == ".." || name.find_first_of("\r\n") != std::string::npos)
                    continue; // a name no listing line can carry is not shown
                text += SftpListingLine((*entries)[i], (*targets)[i]) + "\r\n";
            }
            done(sftp::TStatus{}, text);
        };
        for (size_t i = 0; i < entries->size(); ++i) {
            if (!(*entries)[i].Attributes.IsLink())
                continue;
            ++*waiting;
            m_sftpMain->ReadLink(directory + (*entries)[i].Name,
                                 [targets, i, finish](const sftp::TStatus&, std::string target) {
                                     (*targets)[i] = target;
                                     finish();
                                 });
        }
        finish();
    });
}

void TFtpManager::SftpListCurrent(TOperation operation, const std::string& savedDir)
{
    int slot = m_cache.Find(m_currentDir);
    if (slot >= 0 && operation != TOperation::Refresh) {
        m_cache.Current = m_cache.Stream(slot);
        m_sftpBusy = false;
        Done(TOperationResult::Of(operation));
        return;
    }
    uint64_t generation = m_sftpGeneration;
    SftpListInto(m_currentDir, [this, operation, savedDir, generation](const sftp::TStatus& status, std::string text) {
        if (generation != m_sftpGeneration)
            return; // aborted
        m_sftpBusy = false;
        if (!status.Ok()) {
            if (operation != TOperation::Connect) {
                m_currentDir = savedDir;
                m_cache.Current = m_savedListing;
            }
            TOperationResult result = TOperationResult::Failed(operation, CodeOf(status), status.Text());
            if (operation == TOperation::Connect) {
                result.Step = Tr("Engine", "listing of ") + m_currentDir;
                result.LoggedIn = true;
            }
            Failed(result);
            return;
        }
        auto stream = std::make_shared<platform::TMemoryStream>();
        stream->Write(text.data(), static_cast<int64_t>(text.size()));
        m_cache.Current = stream;
        Store(m_currentDir);
        Done(TOperationResult::Of(operation));
    });
}

void TFtpManager::SftpChangeDir(const std::string& target)
{
    m_sftpBusy = true;
    SetMode(0, cmChangeDir);
    m_savedDir = m_currentDir;
    m_savedListing = m_cache.Current;
    // The server's own name for it: ".." and links resolved, as PWD would tell.
    uint64_t generation = m_sftpGeneration;
    m_sftpMain->RealPath(target, [this, generation](const sftp::TStatus& status, std::string path) {
        if (generation != m_sftpGeneration)
            return; // aborted
        if (!status.Ok() || path.empty() || path[0] != '/') {
            m_sftpBusy = false;
            Failed(TOperationResult::Failed(TOperation::ChangeDir, CodeOf(status),
                                            status.Ok() ? Tr("Engine", "the server names no such directory")
                                                        : status.Text()));
            return;
        }
        m_currentDir = EnsureTrailing(path, '/');
        SftpListCurrent(TOperation::ChangeDir, m_savedDir);
    });
}

void TFtpManager::SftpRefresh(const std::string& path)
{
    m_sftpBusy = true;
    SetMode(0, cmRefresh);
    m_savedDir = path;
    m_savedListing = m_cache.Current;
    m_currentDir = path;
    m_cache.Disable(path);
    SftpListCurrent(TOperation::Refresh, path);
}

// ---------------------------------------------------------------- the walk

void TFtpManager::SftpWalkNext()
{
    if (m_walkStack.empty() && !m_walkRepeated.empty()) {
        m_walkStack.assign(m_walkRepeated.rbegin(), m_walkRepeated.rend());
        m_walkRepeated.clear();
    }
    if (!m_sftpMain || !m_sftpMain->Ready()) {
        for (const TWalkDir& left : m_walkStack)
            WalkSkip(left.Path, wsa::kNotConnected, Tr("Engine", "the connection was lost"));
        m_walkStack.clear();
    }
    if (m_walkStack.empty()) {
        m_sftpBusy = false;
        RestoreSaved();
        Done(TOperationResult::Of(TOperation::Walk, std::move(m_walkSkipped)));
        m_walkSkipped.clear();
        return;
    }
    m_walkCurrent = m_walkStack.back();
    m_walkStack.pop_back();
    SftpWalkEnter();
}

void TFtpManager::SftpWalkEnter()
{
    std::string path = m_walkCurrent.Path;
    uint64_t generation = m_sftpGeneration;
    m_sftpMain->RealPath(path, [this, path, generation](const sftp::TStatus& status, std::string reported) {
        if (generation != m_sftpGeneration)
            return; // aborted
        if (!status.Ok()) {
            if (!m_walkCurrent.Link)
                WalkSkip(path, CodeOf(status), status.Text());
            SftpWalkNext();
            return;
        }
        if (!WalkEntered(path, EnsureTrailing(reported, '/'))) {
            SftpWalkNext();
            return;
        }
        SftpListInto(m_currentDir, [this, generation](const sftp::TStatus& listed, std::string text) {
            if (generation != m_sftpGeneration)
                return;
            if (!listed.Ok()) {
                // A link to a file lists as no directory; only a real directory's refusal counts.
                if (!m_walkCurrent.Link)
                    WalkSkip(m_currentDir, CodeOf(listed), listed.Text());
                SftpWalkNext();
                return;
            }
            auto stream = std::make_shared<platform::TMemoryStream>();
            stream->Write(text.data(), static_cast<int64_t>(text.size()));
            m_cache.Current = stream;
            WalkParse();
        });
    });
}

// ---------------------------------------------------------------- the chains

std::string TFtpManager::SftpPath(const std::string& name) const
{
    return !name.empty() && name[0] == '/' ? name : EnsureTrailing(m_currentDir, '/') + name;
}

void TFtpManager::SftpChain(TOperation operation, std::vector<std::string> items,
                            std::function<void(const std::string&, std::function<void(const sftp::TStatus&)>)> step)
{
    m_sftpBusy = true;
    m_outcomes.clear();
    auto left = std::make_shared<std::vector<std::string>>(std::move(items));
    auto next = std::make_shared<std::function<void()>>();
    *next = [this, operation, left, step, next] {
        if (left->empty() || !m_sftpMain || !m_sftpMain->Ready()) {
            for (const std::string& item : *left)
                m_outcomes.push_back({item, wsa::kNotConnected, Tr("Engine", "Lost Connection, Please Reconnect")});
            m_sftpBusy = false;
            *next = nullptr; // the chain lets go of itself
            Done(TOperationResult::Of(operation, std::move(m_outcomes)));
            return;
        }
        std::string item = left->front();
        left->erase(left->begin());
        step(item, [this, item, next](const sftp::TStatus& status) {
            if (!status.Ok())
                Log(0, "! " + item + ": " + status.Text());
            m_outcomes.push_back({item, CodeOf(status), status.Ok() ? std::string() : status.Text()});
            auto go = *next;
            go();
        });
    };
    auto start = *next;
    start();
}

void TFtpManager::SftpMakeDirs(std::vector<std::string> paths)
{
    SetMode(0, cmMakeDir);
    SftpChain(TOperation::MakeDirs, std::move(paths),
              [this](const std::string& path, auto done) { m_sftpMain->MakeDir(SftpPath(path), done); });
}

void TFtpManager::SftpRename(std::vector<THostMoveFileInfo> pairs)
{
    SetMode(0, cmRename);
    auto targets = std::make_shared<std::map<std::string, std::string>>();
    std::vector<std::string> olds;
    for (const THostMoveFileInfo& pair : pairs) {
        olds.push_back(pair.OldPath);
        (*targets)[pair.OldPath] = pair.NewPath;
    }
    SftpChain(TOperation::Rename, std::move(olds), [this, targets](const std::string& from, auto done) {
        m_sftpMain->Rename(SftpPath(from), SftpPath((*targets)[from]), done);
    });
}

void TFtpManager::SftpChangeModes(std::vector<std::string> names, const std::string& mode)
{
    SetMode(0, cmChmod);
    uint32_t bits = 0;
    bool valid = sftp::ParseOctalMode(mode, bits);
    SftpChain(TOperation::ChangeMode, std::move(names), [this, valid, bits](const std::string& name, auto done) {
        if (!valid) {
            done(sftp::TStatus{sftp::kFailure, Tr("Engine", "not an octal mode")});
            return;
        }
        sftp::TAttributes attributes;
        attributes.Permissions = bits;
        m_sftpMain->SetStat(SftpPath(name), attributes, done);
    });
}
