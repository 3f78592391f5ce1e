#pragma once

// Deletes a selection of remote entries through one session, whatever protocol it speaks:
// files and links with one command each, directories with one command when they are empty,
// and whole trees when asked, depth first, each directory after its contents.
//
// Nothing is followed. A link is deleted as the link. A directory of a tree is first removed
// as it stands (an empty one goes), then as a file (a link the server lists as the directory
// it leads to goes, the directory behind it stays), and only then listed and emptied. A name
// that could lead out of the directory it was listed in is not touched, a directory that lists
// as one it lies in (the server's same unique fact, and no name that one did not have) is not
// emptied again, and the depth is bounded.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "manager/OperationResult.h"
#include "manager/Session.h"

struct TDeleteTarget
{
    std::string Name; // what the outcome calls it (the name the user chose)
    std::string Path; // the full remote path
    TRemoteKind Kind = TRemoteKind::File;
    bool Recursive = false; // a directory goes with its contents
    std::string Unique;     // the server's unique fact of a directory, where its listing gave one
};

class TTreeDelete
{
public:
    static constexpr int kDeepest = 200; // directories below a target

    // outcomes: one per target, and one per entry inside a tree that could not be deleted.
    using TDone = std::function<void(std::vector<TItemOutcome> outcomes, bool cancelled)>;

    TTreeDelete(ISession& session, std::function<void(const std::string&)> log);
    ~TTreeDelete();
    TTreeDelete(const TTreeDelete&) = delete;
    TTreeDelete& operator=(const TTreeDelete&) = delete;

    void Start(std::vector<TDeleteTarget> targets, TDone done);
    // Ends the call under way; the rest is left as it is.
    void Cancel();
    bool Running() const { return static_cast<bool>(m_done); }
    // Directories that were listed and emptied (or partly emptied): their cached listings are old.
    const std::vector<std::string>& Emptied() const { return m_emptied; }

private:
    enum class TStep : uint8_t
    {
        Remove,       // a file or link; a directory as it stands
        RemoveAsFile, // a directory that would not go: a link listed as a directory goes so
        List,         // then it is emptied
        RemoveEmptied // and removed
    };
    struct TWork
    {
        std::string Name; // a target's name; empty inside a tree
        std::string Path;
        TRemoteKind Kind = TRemoteKind::File;
        bool Recursive = false;
        std::string Unique;             // the server's unique fact of a listed directory
        std::vector<std::string> Names; // what its listing held, in order, once listed
        int Depth = 0;
        TStep Step = TStep::Remove;
    };

    void Next();
    void Removed(const TSessionResult& result);
    void Listed(const TSessionResult& result, const std::vector<TRemoteEntry>& entries);
    // The work on top is done: its outcome is recorded (a target's always, others' failures).
    void Finish(const TSessionResult& result);
    // The directory being emptied lists as one it lies in: its path, or empty.
    std::string SameAsAncestor(const TWork& listed) const;
    void Record(const TWork& work, int code, const std::string& reason);
    void End();
    // A completion of this object's session call, dropped once the object is gone.
    template <typename... Args, typename Call> std::function<void(Args...)> Bound(Call call);

    ISession& m_session;
    std::function<void(const std::string&)> m_log;
    std::vector<TWork> m_work; // a stack: the back is under way
    std::vector<TItemOutcome> m_outcomes;
    std::vector<std::string> m_emptied;
    TDone m_done;
    bool m_cancelled = false;
    bool m_lost = false;
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};
