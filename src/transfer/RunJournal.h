#pragma once

// The unfinished items of a running transfer run, kept on disk as the run goes, so that a
// crash or a power cut loses at most the last moments of progress: the next start of the
// program finds the journal of a run that is gone and keeps it as a broken list.
//
// A journal is a broken-list file holding one list, "journal-<pid>.ini" in the data directory,
// replaced atomically and readable by its owner only. Beside it "journal-<pid>.lock" is held
// locked while the run's program lives: a journal whose lock can be taken belongs to no one.

#include <memory>
#include <string>
#include <vector>

#include "platform/BackgroundWriter.h"
#include "transfer/BrokenLists.h"

class TRunJournal
{
public:
    TRunJournal() = default;
    ~TRunJournal();
    TRunJournal(const TRunJournal&) = delete;
    TRunJournal& operator=(const TRunJournal&) = delete;

    // A run starts: its journal lives in directory (ending with "/") until End.
    void Begin(const std::string& directory);
    // Replaces the journal's content with this list, written on a thread of its own.
    void Write(const TOldQuene& list);
    // Waits for the writes handed over; false when the last could not be made.
    bool Settle();
    // The run ended and what it left is saved elsewhere: the journal goes.
    void End();
    bool Active() const { return !m_path.empty(); }
    const std::string& Path() const { return m_path; }

    // The journals in directory that belong to no running program, read as broken lists.
    // Their files stay until Forget removes them, once the lists are saved elsewhere.
    static std::vector<std::unique_ptr<TOldQuene>> Orphans(const std::string& directory,
                                                           std::vector<std::string>& files);
    static void Forget(const std::vector<std::string>& files);

private:
    std::string m_path;
    std::string m_lockPath;
    platform::TBackgroundWriter m_writer;
    int m_lock = -1;
};
