#include "sync/SyncTree.h"
#include "platform/Translate.h"

using platform::Fill;
using platform::Tr;

#include <dirent.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

bool TSyncTree::FailedAbove(const std::string& path, std::string& directory) const
{
    for (const std::string& failed : FailedDirs)
        if (failed.empty() || (path.size() > failed.size() && path.compare(0, failed.size(), failed) == 0 &&
                               path[failed.size()] == '/')) {
            directory = failed;
            return true;
        }
    return false;
}

void TSyncTree::Fail(const std::string& directory, const std::string& why)
{
    FailedDirs.push_back(directory);
    Failed.push_back((directory.empty() ? std::string("/") : directory) + ": " + why);
}

bool LooksCut(size_t entries)
{
    for (size_t cap : {10000u, 20000u, 50000u, 65535u, 65536u, 100000u})
        if (entries == cap)
            return true;
    return false;
}

std::vector<TComparedName> CompareTrees(const TSyncTree& here, const TSyncTree& there, bool topLevel)
{
    auto entries = [topLevel](const TSyncTree& tree) {
        std::vector<TCompareEntry> out;
        out.reserve(tree.Entries.size());
        for (const auto& [path, entry] : tree.Entries)
            if (!topLevel || path.find('/') == std::string::npos)
                out.push_back({path, entry.Directory, entry.Size, entry.Time, entry.Precision, entry.ZoneKnown});
        return out;
    };
    return CompareDirectories(entries(here), entries(there));
}

std::string ParentOf(const std::string& path)
{
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

namespace {

void ListLocalDirectory(const std::string& root, const std::string& relative, TSyncTree& tree, int depth)
{
    std::string directory = root + relative + (relative.empty() ? "" : "/");
    DIR* handle = ::opendir(directory.c_str());
    if (!handle) {
        tree.Fail(relative, std::strerror(errno));
        return;
    }
    std::vector<std::string> subdirectories;
    errno = 0;
    while (dirent* item = ::readdir(handle)) {
        std::string name = item->d_name;
        if (name == "." || name == "..")
            continue;
        struct stat info = {};
        std::string path = relative.empty() ? name : relative + "/" + name;
        if (::lstat((directory + name).c_str(), &info) != 0)
            continue; // gone meanwhile
        TSyncEntry entry;
        entry.Link = S_ISLNK(info.st_mode);
        entry.Directory = S_ISDIR(info.st_mode);
        if (!entry.Link && !entry.Directory && !S_ISREG(info.st_mode))
            continue; // a pipe or a device: nothing to move
        if (!entry.Directory)
            entry.Size = static_cast<int64_t>(info.st_size);
        entry.Time = static_cast<int64_t>(info.st_mtime);
        tree.Entries[path] = entry;
        if (entry.Directory)
            subdirectories.push_back(path);
        errno = 0;
    }
    bool failed = errno != 0;
    int error = errno;
    ::closedir(handle);
    if (failed)
        tree.Fail(relative, std::strerror(error));
    if (depth >= 64) {
        for (const std::string& deeper : subdirectories)
            tree.Fail(deeper, Fill(Tr("Sync", "more than %1 directories deep"), {"64"}));
        return;
    }
    for (const std::string& deeper : subdirectories)
        ListLocalDirectory(root, deeper, tree, depth + 1);
}

} // namespace

bool ListLocalTree(const std::string& root, TSyncTree& tree, std::string& why)
{
    struct stat info = {};
    if (::stat(root.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        why = Tr("Sync", "no such local directory: ") + root;
        return false;
    }
    std::string base = root.back() == '/' ? root : root + "/";
    ListLocalDirectory(base, "", tree, 0);
    return true;
}
