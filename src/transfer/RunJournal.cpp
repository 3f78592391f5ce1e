#include "transfer/RunJournal.h"

#include <cstdio>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "platform/AtomicFile.h"

namespace {

constexpr const char* kPrefix = "journal-";

std::string lockPathOf(const std::string& journal)
{
    return journal.substr(0, journal.size() - 4) + ".lock";
}

} // namespace

TRunJournal::~TRunJournal()
{
    // A program that ends in the middle of a run leaves the journal for its next start, with
    // the last content handed over written before the lock is let go.
    m_writer.Settle();
    if (m_lock < 0)
        return;
    if (!Active() && !m_lockPath.empty())
        std::remove(m_lockPath.c_str());
    ::close(m_lock);
}

void TRunJournal::Begin(const std::string& directory)
{
    if (Active())
        return; // one journal per program: a run after a crash-free end starts it anew
    m_path = directory + kPrefix + std::to_string(::getpid()) + ".ini";
    if (m_lock < 0) {
        m_lockPath = lockPathOf(m_path);
        m_lock = ::open(m_lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (m_lock >= 0 && ::flock(m_lock, LOCK_EX | LOCK_NB) != 0) {
            ::close(m_lock);
            m_lock = -1;
        }
    }
}

void TRunJournal::Write(const TOldQuene& list)
{
    if (Active())
        m_writer.Write(m_path, FormatBrokenList(list));
}

bool TRunJournal::Settle()
{
    return m_writer.Settle();
}

void TRunJournal::End()
{
    if (!Active())
        return;
    m_writer.Drop(); // nothing written after the removal brings the journal back
    std::remove(m_path.c_str());
    m_path.clear();
}

std::vector<std::unique_ptr<TOldQuene>> TRunJournal::Orphans(const std::string& directory,
                                                             std::vector<std::string>& files)
{
    std::vector<std::unique_ptr<TOldQuene>> lists;
    DIR* handle = ::opendir(directory.c_str());
    if (!handle)
        return lists;
    std::vector<std::string> names;
    std::vector<std::string> locks;
    auto endsWith = [](const std::string& name, const char* end) {
        std::string tail = end;
        return name.size() > tail.size() && name.compare(name.size() - tail.size(), tail.size(), tail) == 0;
    };
    while (dirent* entry = ::readdir(handle)) {
        std::string name = entry->d_name;
        if (name.rfind(kPrefix, 0) == 0 && endsWith(name, ".ini"))
            names.push_back(name);
        else if (name.rfind(kPrefix, 0) == 0 && endsWith(name, ".lock"))
            locks.push_back(name);
    }
    ::closedir(handle);
    // Locks left by programs that died after their run had ended.
    for (const std::string& name : locks) {
        std::string path = directory + name;
        if (platform::fileExists(path.substr(0, path.size() - 5) + ".ini"))
            continue;
        int lock = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
        if (lock >= 0 && ::flock(lock, LOCK_EX | LOCK_NB) == 0)
            std::remove(path.c_str());
        if (lock >= 0)
            ::close(lock);
    }
    for (const std::string& name : names) {
        std::string path = directory + name;
        int lock = ::open(lockPathOf(path).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (lock < 0)
            continue;
        // A lock that cannot be taken is held by the running program the journal belongs to.
        if (::flock(lock, LOCK_EX | LOCK_NB) == 0) {
            for (auto& list : ReadBrokenLists(path))
                if (!list->Items.empty())
                    lists.push_back(std::move(list));
            files.push_back(path);
        }
        ::close(lock);
    }
    return lists;
}

void TRunJournal::Forget(const std::vector<std::string>& files)
{
    for (const std::string& path : files) {
        std::remove(path.c_str());
        std::remove(lockPathOf(path).c_str());
    }
}
