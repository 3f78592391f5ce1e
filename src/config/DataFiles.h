#pragma once

// The data files of the program and their shipped defaults.

#include <string>

namespace datafiles {

constexpr const char* kSettings = "quillftp.ini";
constexpr const char* kDefaultSettings = "def_quillftp.ini";
constexpr const char* kSiteBook = "book20.dat";
constexpr const char* kDefaultSiteBook = "def_book20.dat";
constexpr const char* kSiteBookBackup = "book20_.dat";
constexpr const char* kBrokenLists = "oldquene.ini";

// Copies the shipped defaults of the settings and the site book into dataDir where the real
// files are missing. The defaults are looked for in dataDir, then in programDir; a default that
// is missing is no error (the built-in defaults apply then).
void EnsureDefaultFiles(const std::string& dataDir, const std::string& programDir);

} // namespace datafiles
