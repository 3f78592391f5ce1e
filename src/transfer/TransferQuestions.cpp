#include "transfer/TransferRun.h"

// The run's questions to the user, one at a time, as events the run waits on: a download onto
// an existing local file (its "to all" answers hold for the run), and not enough free space for
// the downloads found (downloads wait while it is open). The other work goes on meanwhile.

#include <cstdio>

#include "manager/CommFunc.h"
#include "platform/AtomicFile.h"
#include "platform/Translate.h"

using platform::Fill;
using platform::Tr;

void TTransferRun::AskAboutExisting(TTransferFile& file)
{
    if (m_overwriteAll || m_skipAll) {
        ExistingAnswered(&file, m_overwriteAll ? TFileExistsChoice::Overwrite : TFileExistsChoice::Skip);
        return;
    }
    file.State = TFileState::Waiting;
    m_questions.push_back(&file);
    NextQuestion();
}

void TTransferRun::NextQuestion()
{
    if (m_asking || m_questions.empty() || !m_running)
        return;
    TTransferFile* file = m_questions.front();
    m_questions.pop_front();
    if (m_overwriteAll || m_skipAll) {
        ExistingAnswered(file, m_overwriteAll ? TFileExistsChoice::Overwrite : TFileExistsChoice::Skip);
        NextQuestion();
        return;
    }
    m_asking = true;
    uint64_t generation = m_generation;
    m_host.AskFileExists(file->LocalPath, [this, generation, file](TFileExistsChoice choice) {
        if (generation != m_generation)
            return;
        m_asking = false;
        ExistingAnswered(file, choice);
        NextQuestion();
        Feed();
    });
}

void TTransferRun::ExistingAnswered(TTransferFile* file, TFileExistsChoice choice)
{
    if (choice == TFileExistsChoice::Overwrite || choice == TFileExistsChoice::OverwriteAll) {
        m_overwriteAll |= choice == TFileExistsChoice::OverwriteAll;
        if (std::remove(file->LocalPath.c_str()) != 0 && platform::fileExists(file->LocalPath)) {
            m_host.ShowMessage(Tr("Engine", "Local file can't access!"));
            FileFailed(*file, Tr("Engine", "the local file cannot be replaced"));
            return;
        }
        QueueSegments(*file);
        return;
    }
    // Left as it is: the file is no part of the run any more, nor of its broken list.
    m_skipAll |= choice == TFileExistsChoice::SkipAll;
    file->State = TFileState::Skipped;
    int64_t left = file->BytesLeft();
    TotalBytes -= left;
    m_downloadFound -= left;
}

void TTransferRun::CheckFreeSpace()
{
    if (m_spaceQuestion || m_spaceDirectory.empty())
        return;
    int64_t need = m_downloadFound - m_downloadDone;
    if (need <= 0 || (m_spaceKnown >= 0 && need <= m_spaceKnown))
        return;
    m_spaceKnown = m_host.FreeSpace(m_spaceDirectory);
    if (need <= m_spaceKnown)
        return;
    m_spaceQuestion = true;
    std::string text = Fill(Tr("Engine", "Disk free space not enough !\rNeed space = %1\rWe have free space = %2\r"
                                         "Please free some space then click Yes or click No for cancelling"),
                            {ShortSize(need), ShortSize(m_spaceKnown)});
    uint64_t generation = m_generation;
    m_host.AskYesNo(Tr("Engine", "Space not enough"), text, [this, generation](bool again) {
        if (generation != m_generation)
            return;
        m_spaceQuestion = false;
        m_spaceKnown = -1;
        if (!again) {
            // Declined: nothing more is fetched, and everything left is kept to resume.
            AbortRequested();
            return;
        }
        CheckFreeSpace();
        Feed();
    });
}
