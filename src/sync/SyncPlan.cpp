#include "sync/SyncPlan.h"

#include <map>
#include <set>

#include "manager/CommFunc.h"
#include "sync/Compare.h"
#include "platform/Translate.h"

using platform::Fill;
using platform::Tr;

namespace {

// One direction: the side that leads (here, or there) and the actions that carry it over.
struct TWay
{
    bool FromHere;
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
        for (const TSyncTree* tree : {&m_here, &m_there}) {
            std::string failed;
            if (tree->FailedAbove(path, failed)) {
                Add(TSyncActionKind::Skip, path,
                    Fill(tree == &m_here
                             ? Tr("Sync", "the listing of %1 failed here: what it holds there is not known")
                             : Tr("Sync", "the listing of %1 failed there: what it holds there is not known"),
                         {failed.empty() ? Tr("Sync", "the folder") : failed + "/"}));
                return;
            }
        }
        auto link = [&](const TSyncTree& tree, int index) { return index >= 0 && tree.Entries.at(path).Link; };
        if (link(m_here, row.Here) || link(m_there, row.There)) {
            if (row.State != TCompared::Same)
                Add(TSyncActionKind::Skip, path,
                    link(m_here, row.Here) ? Tr("Sync", "a symbolic link here: links are not synchronized")
                                           : Tr("Sync", "a symbolic link there: links are not synchronized"));
            return;
        }
        // A path through a link would lead elsewhere than the folder.
        for (std::string parent = ParentOf(path); !parent.empty(); parent = ParentOf(parent))
            for (const TSyncTree* tree : {&m_here, &m_there})
                if (auto found = tree->Entries.find(parent); found != tree->Entries.end() && found->second.Link) {
                    Add(TSyncActionKind::Skip, path,
                        Fill(Tr("Sync", "below the symbolic link %1: not synchronized"), {parent}));
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
            decided.Why =
                Tr("Sync", "the same size, other content by digest") + (row.Later > 0   ? Tr("Sync", "; newer here")
                                                                        : row.Later < 0 ? Tr("Sync", "; newer there")
                                                                                        : std::string());
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
        std::string older = way.FromHere ? Tr("Sync", "newer there: an older file does not replace it")
                                         : Tr("Sync", "newer here: an older file does not replace it");
        if (row.State == onlyFrom) {
            Add(directory ? way.MakeDir() : way.Copy(), path,
                way.FromHere ? Tr("Sync", "only here") : Tr("Sync", "only there"));
        } else if (row.State == onlyTo) {
            if (m_options.Delete)
                Add(way.Delete(), path, way.FromHere ? Tr("Sync", "only there") : Tr("Sync", "only here"));
            else
                Add(TSyncActionKind::Skip, path,
                    way.FromHere ? Tr("Sync", "only there; deletions were not asked for")
                                 : Tr("Sync", "only here; deletions were not asked for"));
        } else if (row.State == TCompared::Same) {
            if (!directory)
                ++m_plan.Unchanged;
        } else if (row.State == newerFrom) {
            Add(way.Copy(), path, way.FromHere ? Tr("Sync", "newer here") : Tr("Sync", "newer there"));
        } else if (row.State == TCompared::SizeDiffers) {
            if (row.Later == laterFrom || (row.Later == 0 && !row.TimesUnsure))
                Add(way.Copy(), path, row.Why);
            else if (row.Later == -laterFrom)
                Add(TSyncActionKind::Skip, path, row.Why + Tr("Sync", ": an older file does not replace a newer one"));
            else
                Add(TSyncActionKind::Skip, path,
                    row.Why + Fill(Tr("Sync", "; which is newer cannot be told (%1): not replaced"), {TimeDoubt(row)}));
        } else if (row.State == TCompared::KindDiffers) {
            Add(TSyncActionKind::Skip, path, row.Why + Tr("Sync", ": not replaced"));
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
                Add(TSyncActionKind::Conflict, path,
                    Tr("Sync", "changed on both sides since the last synchronization"));
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
                    row.Why + (row.TimesUnsure
                                   ? Fill(Tr("Sync", "; which is newer cannot be told (%1)"), {TimeDoubt(row)})
                                   : Tr("Sync", "; which is newer cannot be told")));
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
            Add(way.Copy(), path,
                way.FromHere ? Tr("Sync", "changed here since the last synchronization")
                             : Tr("Sync", "changed there since the last synchronization"));
        } else if (m_options.Delete) {
            Add(way.Delete(), path,
                way.FromHere ? Tr("Sync", "deleted here since the last synchronization")
                             : Tr("Sync", "deleted there since the last synchronization"));
        } else {
            Add(TSyncActionKind::Skip, path,
                way.FromHere
                    ? Tr("Sync", "deleted here since the last synchronization; deletions were not asked for")
                    : Tr("Sync", "deleted there since the last synchronization; deletions were not asked for"));
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
                    action->Why = Tr("Sync", "not deleted: it still holds ") + inside->first;
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
            why = Fill(Tr("Sync", "the local listing of %1 failed"), {m_here.Failed.front()});
        else if (!m_there.Complete())
            why = Tr("Sync", "the remote listing of ") + m_there.Failed.front();
        else
            why = EmptySideDoubt();
        if (why.empty())
            return;
        bool refused = false;
        for (TSyncAction& action : m_plan.Actions) {
            if (action.Kind != TSyncActionKind::DeleteHere && action.Kind != TSyncActionKind::DeleteThere)
                continue;
            action.Kind = TSyncActionKind::Skip;
            action.Why = Tr("Sync", "not deleted: ") + why;
            refused = true;
        }
        if (refused)
            m_plan.DeletionsRefused = Fill(Tr("Sync", "No deletions: %1."), {why});
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
            return Fill(Tr("Sync", "the local folder lists empty, where the last synchronization found %1 entries"),
                        {std::to_string(hereBefore)});
        if (m_there.Entries.empty() && thereBefore > 0)
            return Fill(Tr("Sync", "the remote folder lists empty, where the last synchronization found %1 entries"),
                        {std::to_string(thereBefore)});
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
        {TSyncActionKind::Upload, QT_TRANSLATE_NOOP("Sync", "%1 to upload"), QT_TRANSLATE_NOOP("Sync", "%1 to upload")},
        {TSyncActionKind::Download, QT_TRANSLATE_NOOP("Sync", "%1 to download"),
         QT_TRANSLATE_NOOP("Sync", "%1 to download")},
        {TSyncActionKind::MakeDirThere, QT_TRANSLATE_NOOP("Sync", "%1 remote directory to make"),
         QT_TRANSLATE_NOOP("Sync", "%1 remote directories to make")},
        {TSyncActionKind::MakeDirHere, QT_TRANSLATE_NOOP("Sync", "%1 local directory to make"),
         QT_TRANSLATE_NOOP("Sync", "%1 local directories to make")},
        {TSyncActionKind::DeleteThere, QT_TRANSLATE_NOOP("Sync", "%1 remote to delete"),
         QT_TRANSLATE_NOOP("Sync", "%1 remote to delete")},
        {TSyncActionKind::DeleteHere, QT_TRANSLATE_NOOP("Sync", "%1 local to delete"),
         QT_TRANSLATE_NOOP("Sync", "%1 local to delete")},
        {TSyncActionKind::Skip, QT_TRANSLATE_NOOP("Sync", "%1 skipped"), QT_TRANSLATE_NOOP("Sync", "%1 skipped")},
        {TSyncActionKind::Conflict, QT_TRANSLATE_NOOP("Sync", "%1 conflict (left as it is)"),
         QT_TRANSLATE_NOOP("Sync", "%1 conflicts (left as they are)")}};
    std::string text;
    for (const Part& part : kParts) {
        TSyncPlan::TTotals totals = plan.Totals(part.Kind);
        if (totals.Count == 0)
            continue;
        text += Fill(Tr("Sync", totals.Count == 1 ? part.One : part.Many), {std::to_string(totals.Count)});
        if (totals.Bytes > 0)
            text += Fill(totals.Bytes == 1 ? Tr("Sync", " (%1 byte)") : Tr("Sync", " (%1 bytes)"),
                         {FormatThousands(totals.Bytes)});
        text += ", ";
    }
    return text + Fill(Tr("Sync", "%1 unchanged"), {std::to_string(plan.Unchanged)});
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
