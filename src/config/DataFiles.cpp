#include "config/DataFiles.h"

#include "platform/AtomicFile.h"

namespace datafiles {

namespace {

void ensure(const std::string& dataDir, const std::string& programDir, const char* real, const char* shipped)
{
    if (platform::fileExists(dataDir + real))
        return;
    for (const std::string& directory : {dataDir, programDir})
        if (platform::copyFileAtomically(directory + shipped, dataDir + real))
            return;
}

} // namespace

void EnsureDefaultFiles(const std::string& dataDir, const std::string& programDir)
{
    ensure(dataDir, programDir, kSettings, kDefaultSettings);
    ensure(dataDir, programDir, kSiteBook, kDefaultSiteBook);
}

} // namespace datafiles
