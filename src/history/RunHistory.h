#pragma once

// The history of finished runs, kept in the data directory (SQLite through Qt SQL): per file
// its run's start and site, direction, paths, size, the bytes moved, the connections and the
// run's duration, and how it ended with its verdict. The oldest files go beyond a cap.

#include <cstdint>
#include <string>
#include <vector>

struct THistoryFile
{
    std::string Started; // the run's start, UTC, "2026-12-07 10:00:00"
    std::string Site;    // "ftp://user@host:port" without a password
    bool Download = true;
    std::string RemotePath;
    std::string LocalPath;
    int64_t Size = 0;
    int64_t Bytes = 0;   // moved in that run
    int Connections = 0; // how many connections moved some of it
    double Seconds = 0;  // from its first byte to its end
    std::string State;   // "Done", "Failed: 550 ...", "Skipped", "Not finished; kept in the broken list"
    std::string Verdict;
    bool Failed() const { return State != "Done" && State != "Skipped"; }
};

class TRunHistory
{
public:
    explicit TRunHistory(std::string path);
    ~TRunHistory();
    TRunHistory(const TRunHistory&) = delete;
    TRunHistory& operator=(const TRunHistory&) = delete;

    // Adds a run's files, then keeps the newest maxFiles files; false (error says why) when the
    // store cannot be opened or written.
    bool Record(const std::vector<THistoryFile>& files, int64_t maxFiles, std::string& error);
    // The kept files, newest first; only those that did not end well when failedOnly.
    std::vector<THistoryFile> Files(bool failedOnly, std::string& error);

private:
    bool Open(std::string& error);

    std::string m_path;
    std::string m_connection; // the Qt SQL connection's name, one per object
    bool m_open = false;
};

// The files as CSV (RFC 4180): a header line, then one line per file.
std::string HistoryCsv(const std::vector<THistoryFile>& files);
