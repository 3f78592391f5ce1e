#include "manager/TreeDelete.h"

#include <algorithm>
#include <utility>

#include "manager/CommFunc.h"
#include "net/WSocketErrors.h"
#include "platform/Translate.h"

using platform::Fill;
using platform::Tr;

TTreeDelete::TTreeDelete(ISession& session, std::function<void(const std::string&)> log)
    : m_session(session), m_log(std::move(log))
{
}

TTreeDelete::~TTreeDelete()
{
    *m_alive = false;
}

template <typename... Args, typename Call> std::function<void(Args...)> TTreeDelete::Bound(Call call)
{
    return [alive = std::weak_ptr<bool>(m_alive), call = std::move(call)](Args... args) {
        if (auto living = alive.lock(); living && *living)
            call(args...);
    };
}

void TTreeDelete::Start(std::vector<TDeleteTarget> targets, TDone done)
{
    m_work.clear();
    m_outcomes.clear();
    m_emptied.clear();
    m_cancelled = false;
    m_lost = false;
    m_done = std::move(done);
    for (auto target = targets.rbegin(); target != targets.rend(); ++target) {
        TWork work;
        work.Name = target->Name;
        work.Path = target->Path;
        work.Kind = target->Kind;
        work.Recursive = target->Recursive;
        work.Unique = target->Unique;
        m_work.push_back(std::move(work));
    }
    if (m_session.LoggedIn()) {
        Next();
        return;
    }
    m_session.LogIn(Bound<const TSessionResult&>([this](const TSessionResult& result) {
        if (result.Ok()) {
            Next();
            return;
        }
        m_lost = true;
        Finish(result);
        Next();
    }));
}

void TTreeDelete::Cancel()
{
    if (!Running())
        return;
    m_cancelled = true;
    m_session.Cancel();
}

void TTreeDelete::Next()
{
    while (!m_work.empty()) {
        TWork& work = m_work.back();
        if (work.Step == TStep::List && work.Depth >= kDeepest) {
            Finish(TSessionResult::Failed(
                TFailure::Permanent, 550,
                Fill(Tr("Engine", "more than %1 directories deep, left alone"), {std::to_string(kDeepest)})));
            continue;
        }
        auto removed = Bound<const TSessionResult&>([this](const TSessionResult& result) { Removed(result); });
        switch (work.Step) {
        case TStep::Remove:
        case TStep::RemoveEmptied:
            m_session.Delete(work.Path, work.Kind == TRemoteKind::Directory, removed);
            return;
        case TStep::RemoveAsFile:
            m_session.Delete(work.Path, false, removed);
            return;
        case TStep::List:
            m_session.List(work.Path + "/", false,
                           Bound<const TSessionResult&, std::vector<TRemoteEntry>>(
                               [this](const TSessionResult& result, std::vector<TRemoteEntry> entries) {
                                   Listed(result, entries);
                               }));
            return;
        }
    }
    End();
}

void TTreeDelete::Removed(const TSessionResult& result)
{
    TWork& work = m_work.back();
    bool triesLeft =
        work.Kind == TRemoteKind::Directory && work.Recursive && result.Failure == TFailure::Permanent && !m_cancelled;
    if (triesLeft && work.Step == TStep::Remove) {
        work.Step = TStep::RemoveAsFile;
        Next();
        return;
    }
    if (triesLeft && work.Step == TStep::RemoveAsFile) {
        m_log(Tr("Engine", "Deleting the contents of ") + work.Path);
        work.Step = TStep::List;
        Next();
        return;
    }
    Finish(result);
    Next();
}

void TTreeDelete::Listed(const TSessionResult& result, const std::vector<TRemoteEntry>& entries)
{
    if (!result.Ok()) {
        Finish(result);
        Next();
        return;
    }
    TWork& work = m_work.back();
    for (const TRemoteEntry& entry : entries)
        work.Names.push_back(entry.Name);
    std::sort(work.Names.begin(), work.Names.end());
    if (std::string same = SameAsAncestor(work); !same.empty()) {
        // A link that would not go, leading back up: emptying it would go round for ever.
        Finish(TSessionResult::Failed(TFailure::Permanent, 550,
                                      Fill(Tr("Engine", "the same directory as %1, left alone"), {same})));
        Next();
        return;
    }
    work.Step = TStep::RemoveEmptied;
    TWork listed = work;
    m_emptied.push_back(listed.Path + "/");
    // Pushed in reverse, so that the entries go in the listing's order.
    for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
        std::string path = listed.Path + "/" + entry->Name;
        if (!IsSafeEntryName(entry->Name)) {
            m_outcomes.push_back({path, 550, Tr("Engine", "an unsafe name, left alone")});
            continue;
        }
        TWork inner;
        inner.Path = path;
        inner.Kind = entry->Kind;
        inner.Recursive = true;
        inner.Unique = entry->Unique;
        inner.Depth = listed.Depth + 1;
        m_work.push_back(std::move(inner));
    }
    Next();
}

std::string TTreeDelete::SameAsAncestor(const TWork& listed) const
{
    // The directories being emptied are the ones on the stack that were listed. One met again
    // through a link lists what it held then, less what has gone since.
    if (listed.Unique.empty())
        return {};
    for (const TWork& work : m_work)
        if (&work != &listed && work.Step == TStep::RemoveEmptied && work.Unique == listed.Unique &&
            std::includes(work.Names.begin(), work.Names.end(), listed.Names.begin(), listed.Names.end()))
            return work.Path;
    return {};
}

void TTreeDelete::Finish(const TSessionResult& result)
{
    if (!m_work.empty()) {
        TWork work = m_work.back();
        m_work.pop_back();
        if (!work.Name.empty() || !result.Ok())
            Record(work, result.Ok() ? 0 : (result.Code != 0 ? result.Code : 550), result.Text);
    }
    m_lost = m_lost || (!result.Ok() && result.Failure == TFailure::Transient && !m_session.LoggedIn());
    if (m_cancelled || m_lost) {
        // What is left is not tried: the targets among it are named.
        std::string reason = m_cancelled ? Tr("Engine", "User Aborted") : Tr("Engine", "the connection was lost");
        for (auto work = m_work.rbegin(); work != m_work.rend(); ++work)
            if (!work->Name.empty())
                Record(*work, m_cancelled ? 426 : wsa::kNotConnected, reason);
        m_work.clear();
    }
}

void TTreeDelete::Record(const TWork& work, int code, const std::string& reason)
{
    m_outcomes.push_back({work.Name.empty() ? work.Path : work.Name, code, code == 0 ? std::string() : reason});
}

void TTreeDelete::End()
{
    TDone done = std::move(m_done);
    m_done = nullptr;
    bool cancelled = m_cancelled;
    done(std::move(m_outcomes), cancelled);
}
