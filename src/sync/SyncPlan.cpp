#include "sync/SyncPlan.h"

#include <map>
#include <set>

#include "manager/CommFunc.h"
#include "sync/Compare.h"

namespace {

// The names of the two sides in one direction: the side that leads and the one that follows.
struct TWay
{
    bool FromHere;
    const char* From() const { return FromHere ? "here" : "there"; }
    const char* To() const { return FromHere ? "there" : "here"; }
    TSyncActionKind Copy() const { return FromHere ? TSyncActionKind::Upload : TSyncActionKind::Download; }
    TSyncActionKind MakeDir() const { return FromHere ? TSyncActionKind::MakeDirThere : TSyncActionKind::MakeDirHere; }
    TSyncActionKind Delete() const { return FromHere ? TSyncActionKind::DeleteThere : TSyncActionKind::DeleteHere; }
};

class TPlanBuilder
{
public:
    TPlanBuilder(const TSyncTree& here, const TSyncTree& there, const TSyncState& last, const TSyncOptions& options)
        : m_here(here), m_there(there), m_last(last), m_options(options)
    {
        m_plan.Options = options;
    }

    TSyncPlan Build()
    {
        for (const TComparedName& row : CompareTrees(m_here, m_there))
            Decide(row);
        KeepDirectoriesThatStillHold();
        RefuseDeletionsOnDoubt();
        return std::move(m_plan);
    }

private:
    void Add(TSyncActionKind kind, const std::string& path, std::string why)
    {
        TSyncAction action;
        action.Kind = kind;
        action.Path = path;
        action.Here = FactsOf(m_here, path);
        action.There = FactsOf(m_there, path);
        action.Directory = action.Here.Exists ? action.Here.Directory : action.There.Directory;
        action.Why = std::move(why);
        m_plan.Actions.push_back(std::move(action));
    }

    void Decide(const TComparedName& row)
    {
        const std::string& path = row.Name;
        // Below a directory one side could not list, the other side's entries are all that is
        // known: nothing there is replaced or deleted.
        for (const auto& [tree, side] : {std::pair{&m_here, "here"}, std::pair{&m_there, "there"}}) {
            std::string failed;
            if (tree->FailedAbove(path, failed)) {
                Add(TSyncActionKind::Skip, path,
                    "the listing of " + (failed.empty() ? std::string("the folder") : failed + "/") + " failed " +
                        side + ": what it holds there is not known");
                return;
            }
        }
        auto link = [&](const TSyncTree& tree, int index) { return index >= 0 && tree.Entries.at(path).Link; };
        if (link(m_here, row.Here) || link(m_there, row.There)) {
            if (row.State != TCompared::Same)
                Add(TSyncActionKind::Skip, path,
                    std::string("a symbolic link ") + (link(m_here, row.Here) ? "here" : "there") +
                        ": links are not synchronized");
            return;
        }
        // A path through a link would lead elsewhere than the folder.
        for (std::string parent = ParentOf(path); !parent.empty(); parent = ParentOf(parent))
            for (const TSyncTree* tree : {&m_here, &m_there})
                if (auto found = tree->Entries.find(parent); found != tree->Entries.end() && found->second.Link) {
                    Add(TSyncActionKind::Skip, path, "below the symbolic link " + parent + ": not synchronized");
                    return;
                }
        TComparedName decided = ByDigest(row);
        if (m_options.Direction == TSyncDirection::Up)
            OneWay(decided, TWay{true});
        else if (m_options.Direction == TSyncDirection::Down)
            OneWay(decided, TWay{false});
        else
            BothWays(decided);
    }

    // Two files of one size whose digests are known are alike or not by them, whatever the times.
    TComparedName ByDigest(const TComparedName& row) const
    {
        TComparedName decided = row;
        if (row.Here < 0 || row.There < 0)
            return decided;
        const TSyncEntry& a = m_here.Entries.at(row.Name);
        const TSyncEntry& b = m_there.Entries.at(row.Name);
        if (a.Directory || b.Directory || a.Size != b.Size || a.Hash.empty() || b.Hash.empty())
            return decided;
        if (a.Hash == b.Hash) {
            decided.State = TCompared::Same;
        } else {
            decided.State = TCompared::SizeDiffers;
            decided.Why = "the same size, other content by digest" + std::string(row.Later > 0   ? "; newer here"
                                                                                 : row.Later < 0 ? "; newer there"
                                                                                                 : "");
        }
        return decided;
    }

    void OneWay(const TComparedName& row, TWay way)
    {
        const std::string& path = row.Name;
        bool directory = (row.Here >= 0 ? m_here : m_there).Entries.at(path).Directory;
        TCompared onlyFrom = way.FromHere ? TCompared::OnlyHere : TCompared::OnlyThere;
        TCompared onlyTo = way.FromHere ? TCompared::OnlyThere : TCompared::OnlyHere;
        TCompared newerFrom = way.FromHere ? TCompared::NewerHere : TCompared::NewerThere;
        int laterFrom = way.FromHere ? 1 : -1;
        std::string older = std::string("newer ") + way.To() + ": an older file does not replace it";
        if (row.State == onlyFrom) {
            Add(directory ? way.MakeDir() : way.Copy(), path, std::string("only ") + way.From());
        } else if (row.State == onlyTo) {
            if (m_options.Delete)
                Add(way.Delete(), path, std::string("only ") + way.To());
            else
                Add(TSyncActionKind::Skip, path, std::string("only ") + way.To() + "; deletions were not asked for");
        } else if (row.State == TCompared::Same) {
            if (!directory)
                ++m_plan.Unchanged;
        } else if (row.State == newerFrom) {
            Add(way.Copy(), path, std::string("newer ") + way.From());
        } else if (row.State == TCompared::SizeDiffers) {
            if (row.Later == laterFrom || (row.Later == 0 && !row.TimesUnsure))
                Add(way.Copy(), path, row.Why);
            else if (row.Later == -laterFrom)
                Add(TSyncActionKind::Skip, path, row.Why + ": an older file does not replace a newer one");
            else
                Add(TSyncActionKind::Skip, path,
                    row.Why + "; which is newer cannot be told (" + TimeDoubt(row) + "): not replaced");
        } else if (row.State == TCompared::KindDiffers) {
            Add(TSyncActionKind::Skip, path, row.Why + ": not replaced");
        } else if (row.State == TCompared::Unsure) {
            Add(TSyncActionKind::Skip, path, row.Why);
        } else {
            Add(TSyncActionKind::Skip, path, older);
        }
    }

    std::string TimeDoubt(const TComparedName& row) const
    {
        // Compare names the doubt of the times in the rows it calls unsure; for a size that
        // differs it is the same doubt.
        const TSyncEntry& here = m_here.Entries.at(row.Name);
        const TSyncEntry& there = m_there.Entries.at(row.Name);
        std::vector<TComparedName> again =
            CompareDirectories({{row.Name, false, 0, here.Time, here.Precision, here.ZoneKnown}},
                               {{row.Name, false, 0, there.Time, there.Precision, there.ZoneKnown}});
        return again.front().Why;
    }

    void BothWays(const TComparedName& row)
    {
        const std::string& path = row.Name;
        TSyncFacts here = FactsOf(m_here, path);
        TSyncFacts there = FactsOf(m_there, path);
        auto record = m_last.Paths.find(path);
        bool known = record != m_last.Paths.end();
        bool changedHere = known && !Unchanged(here, record->second.Here);
        bool changedThere = known && !Unchanged(there, record->second.There);
        // The state holds a path only as it was when both sides were in step: unchanged on both
        // sides, it is in step still, whatever the times a server that cannot set them shows.
        if (row.State == TCompared::Same || (known && !changedHere && !changedThere)) {
            if (!here.Directory)
                ++m_plan.Unchanged;
            return;
        }
        if (!known || changedHere == changedThere) {
            if (known) {
                Add(TSyncActionKind::Conflict, path, "changed on both sides since the last synchronization");
                return;
            }
            // Never synchronized: what is only on one side is new there, and the newer file wins
            // where that is known.
            switch (row.State) {
            case TCompared::OnlyHere:
            case TCompared::OnlyThere:
                OneWay(row, TWay{row.State == TCompared::OnlyHere});
                return;
            case TCompared::NewerHere:
            case TCompared::NewerThere:
                OneWay(row, TWay{row.State == TCompared::NewerHere});
                return;
            case TCompared::SizeDiffers:
                if (row.Later != 0) {
                    OneWay(row, TWay{row.Later > 0});
                    return;
                }
                Add(TSyncActionKind::Conflict, path,
                    row.Why + "; which is newer cannot be told" +
                        (row.TimesUnsure ? " (" + TimeDoubt(row) + ")" : std::string()));
                return;
            case TCompared::KindDiffers:
                Add(TSyncActionKind::Conflict, path, row.Why);
                return;
            default:
                Add(TSyncActionKind::Conflict, path, row.Why);
                return;
            }
        }
        // One side changed since the last synchronization: it leads.
        TWay way{changedHere};
        TSyncFacts from = changedHere ? here : there;
        TSyncFacts to = changedHere ? there : here;
        if (from.Exists && to.Exists && from.Directory != to.Directory) {
            Add(TSyncActionKind::Conflict, path, row.Why);
        } else if (from.Exists) {
            if (from.Directory)
                return; // a directory on both sides; what it holds decides for itself
            Add(way.Copy(), path, std::string("changed ") + way.From() + " since the last synchronization");
        } else if (m_options.Delete) {
            Add(way.Delete(), path, std::string("deleted ") + way.From() + " since the last synchronization");
        } else {
            Add(TSyncActionKind::Skip, path,
                std::string("deleted ") + way.From() + " since the last synchronization; deletions were not asked for");
        }
    }

    // A directory is deleted only when everything in it goes too.
    void KeepDirectoriesThatStillHold()
    {
        std::set<std::string> goingHere, goingThere;
        for (const TSyncAction& action : m_plan.Actions) {
            if (action.Kind == TSyncActionKind::DeleteHere)
                goingHere.insert(action.Path);
            if (action.Kind == TSyncActionKind::DeleteThere)
                goingThere.insert(action.Path);
        }
        for (auto action = m_plan.Actions.rbegin(); action != m_plan.Actions.rend(); ++action) {
            bool here = action->Kind == TSyncActionKind::DeleteHere;
            if (!action->Directory || (!here && action->Kind != TSyncActionKind::DeleteThere))
                continue;
            const TSyncTree& tree = here ? m_here : m_there;
            std::set<std::string>& going = here ? goingHere : goingThere;
            std::string prefix = action->Path + "/";
            for (auto inside = tree.Entries.lower_bound(prefix);
                 inside != tree.Entries.end() && inside->first.compare(0, prefix.size(), prefix) == 0; ++inside) {
                if (going.count(inside->first) == 0) {
                    action->Kind = TSyncActionKind::Skip;
                    action->Why = "not deleted: it still holds " + inside->first;
                    going.erase(action->Path);
                    break;
                }
            }
        }
    }

    void RefuseDeletionsOnDoubt()
    {
        std::string why;
        if (!m_here.Complete())
            why = "the local listing of " + m_here.Failed.front() + " failed";
        else if (!m_there.Complete())
            why = "the remote listing of " + m_there.Failed.front();
        else
            why = EmptySideDoubt();
        if (why.empty())
            return;
        bool refused = false;
        for (TSyncAction& action : m_plan.Actions) {
            if (action.Kind != TSyncActionKind::DeleteHere && action.Kind != TSyncActionKind::DeleteThere)
                continue;
            action.Kind = TSyncActionKind::Skip;
            action.Why = "not deleted: " + why;
            refused = true;
        }
        if (refused)
            m_plan.DeletionsRefused = "No deletions: " + why + ".";
    }

    // A side that lists nothing at all where the last synchronization found entries looks like a
    // listing that came back empty by mistake.
    std::string EmptySideDoubt() const
    {
        size_t hereBefore = 0, thereBefore = 0;
        for (const auto& [path, record] : m_last.Paths) {
            hereBefore += record.Here.Exists;
            thereBefore += record.There.Exists;
        }
        if (m_here.Entries.empty() && hereBefore > 0)
            return "the local folder lists empty, where the last synchronization found " + std::to_string(hereBefore) +
                   " entries";
        if (m_there.Entries.empty() && thereBefore > 0)
            return "the remote folder lists empty, where the last synchronization found " +
                   std::to_string(thereBefore) + " entries";
        return {};
    }

    const TSyncTree& m_here;
    const TSyncTree& m_there;
    const TSyncState& m_last;
    TSyncOptions m_options;
    TSyncPlan m_plan;
};

} // namespace

TSyncPlan BuildSyncPlan(const TSyncTree& here, const TSyncTree& there, const TSyncState& last,
                        const TSyncOptions& options)
{
    return TPlanBuilder(here, there, last, options).Build();
}

TSyncPlan::TTotals TSyncPlan::Totals(TSyncActionKind kind) const
{
    TTotals totals;
    for (const TSyncAction& action : Actions) {
        if (action.Kind != kind || !action.Checked)
            continue;
        ++totals.Count;
        if (kind == TSyncActionKind::Upload)
            totals.Bytes += std::max<int64_t>(action.Here.Size, 0);
        else if (kind == TSyncActionKind::Download)
            totals.Bytes += std::max<int64_t>(action.There.Size, 0);
    }
    return totals;
}

std::string SyncPlanTotalsText(const TSyncPlan& plan)
{
    struct Part
    {
        TSyncActionKind Kind;
        const char* One;
        const char* Many;
    };
    static const Part kParts[] = {
        {TSyncActionKind::Upload, "to upload", "to upload"},
        {TSyncActionKind::Download, "to download", "to download"},
        {TSyncActionKind::MakeDirThere, "remote directory to make", "remote directories to make"},
        {TSyncActionKind::MakeDirHere, "local directory to make", "local directories to make"},
        {TSyncActionKind::DeleteThere, "remote to delete", "remote to delete"},
        {TSyncActionKind::DeleteHere, "local to delete", "local to delete"},
        {TSyncActionKind::Skip, "skipped", "skipped"},
        {TSyncActionKind::Conflict, "conflict (left as it is)", "conflicts (left as they are)"}};
    std::string text;
    for (const Part& part : kParts) {
        TSyncPlan::TTotals totals = plan.Totals(part.Kind);
        if (totals.Count == 0)
            continue;
        text += std::to_string(totals.Count) + " " + (totals.Count == 1 ? part.One : part.Many);
        if (totals.Bytes > 0)
            text += " (" + FormatThousands(totals.Bytes) + (totals.Bytes == 1 ? " byte)" : " bytes)");
        text += ", ";
    }
    return text + std::to_string(plan.Unchanged) + " unchanged";
}

namespace {
const std::map<TSyncActionKind, const char*> kWords = {{TSyncActionKind::Upload, "upload"},
                                                       {TSyncActionKind::Download, "download"},
                                                       {TSyncActionKind::MakeDirThere, "mkdir-there"},
                                                       {TSyncActionKind::MakeDirHere, "mkdir-here"},
                                                       {TSyncActionKind::DeleteThere, "delete-there"},
                                                       {TSyncActionKind::DeleteHere, "delete-here"},
                                                       {TSyncActionKind::Skip, "skip"},
                                                       {TSyncActionKind::Conflict, "conflict"}};
}

const char* SyncActionWord(TSyncActionKind kind)
{
    return kWords.at(kind);
}

bool SyncActionOfWord(const std::string& word, TSyncActionKind& kind)
{
    for (const auto& [each, text] : kWords)
        if (word == text) {
            kind = each;
            return true;
        }
    return false;
}

const char* SyncDirectionWord(TSyncDirection direction)
{
    return direction == TSyncDirection::Up ? "up" : direction == TSyncDirection::Down ? "down" : "both";
}

std::vector<std::string> ChangedSincePlan(const TSyncPlan& plan, const TSyncTree& here, const TSyncTree& there)
{
    std::vector<std::string> changed;
    for (const TSyncAction& action : plan.Actions)
        if (action.Checked && action.Acts() &&
            (!Unchanged(FactsOf(here, action.Path), action.Here) ||
             !Unchanged(FactsOf(there, action.Path), action.There)))
            changed.push_back(action.Path);
    return changed;
}
