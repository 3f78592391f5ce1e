#include "sync/Compare.h"
#include "platform/Translate.h"

using platform::Fill;
using platform::Tr;

#include <algorithm>
#include <map>

namespace {

std::string Seconds(int64_t seconds)
{
    if (seconds % 86400 == 0)
        return Fill(seconds == 86400 ? Tr("Sync", "%1 day") : Tr("Sync", "%1 days"), {std::to_string(seconds / 86400)});
    if (seconds % 60 == 0)
        return Fill(seconds == 60 ? Tr("Sync", "%1 minute") : Tr("Sync", "%1 minutes"), {std::to_string(seconds / 60)});
    return Fill(seconds == 1 ? Tr("Sync", "%1 second") : Tr("Sync", "%1 seconds"), {std::to_string(seconds)});
}

// Which side's time is later: 1 here, -1 there, 0 the same to the precision both give. Unsure
// is set, with why, when the order cannot be told.
int LaterSide(const TCompareEntry& here, const TCompareEntry& there, std::string& why, bool& unsure)
{
    unsure = false;
    if (here.Time < 0 || there.Time < 0) {
        unsure = true;
        why = here.Time < 0 ? Tr("Sync", "no time on this side") : Tr("Sync", "no time on the other side");
        return 0;
    }
    int64_t precision = std::max<int64_t>({here.Precision, there.Precision, 1});
    bool zoneKnown = here.ZoneKnown && there.ZoneKnown;
    // Times exact to the precision name the same moment when they differ by less than it; a
    // zone not known adds its largest offset to what cannot be told apart.
    int64_t slack = precision + (zoneKnown ? 0 : kLargestZoneOffset);
    int64_t difference = here.Time - there.Time;
    if (difference >= slack)
        return 1;
    if (-difference >= slack)
        return -1;
    if (zoneKnown) {
        if (precision > 1)
            why = Fill(Tr("Sync", "the same to within %1"), {Seconds(precision)});
        return 0;
    }
    unsure = true;
    why = Fill(Tr("Sync", "the server's time zone is not known: times within %1 cannot be ordered"), {Seconds(slack)});
    return 0;
}

} // namespace

std::vector<TComparedName> CompareDirectories(const std::vector<TCompareEntry>& here,
                                              const std::vector<TCompareEntry>& there)
{
    std::map<std::string, std::pair<int, int>> names; // byte order
    for (size_t k = 0; k < here.size(); ++k)
        names[here[k].Name].first = static_cast<int>(k) + 1;
    for (size_t k = 0; k < there.size(); ++k)
        names[there[k].Name].second = static_cast<int>(k) + 1;
    std::vector<TComparedName> rows;
    rows.reserve(names.size());
    for (const auto& [name, sides] : names) {
        TComparedName row{name, TCompared::Same, sides.first - 1, sides.second - 1, {}};
        if (row.There < 0) {
            row.State = TCompared::OnlyHere;
        } else if (row.Here < 0) {
            row.State = TCompared::OnlyThere;
        } else {
            const TCompareEntry& a = here[static_cast<size_t>(row.Here)];
            const TCompareEntry& b = there[static_cast<size_t>(row.There)];
            if (a.Directory != b.Directory) {
                row.State = TCompared::KindDiffers;
                row.Why = a.Directory ? Tr("Sync", "a directory here, a file there")
                                      : Tr("Sync", "a file here, a directory there");
            } else if (!a.Directory) {
                std::string why;
                bool unsure = false;
                int later = LaterSide(a, b, why, unsure);
                row.Later = later;
                row.TimesUnsure = unsure;
                if (a.Size >= 0 && b.Size >= 0 && a.Size != b.Size) {
                    row.State = TCompared::SizeDiffers;
                    row.Why =
                        Fill(Tr("Sync", "%1 bytes here, %2 there"), {std::to_string(a.Size), std::to_string(b.Size)}) +
                        (later > 0   ? Tr("Sync", "; newer here")
                         : later < 0 ? Tr("Sync", "; newer there")
                                     : std::string());
                } else if (a.Size < 0 || b.Size < 0) {
                    row.State = TCompared::Unsure;
                    row.Why = a.Size < 0 ? Tr("Sync", "no size on this side") : Tr("Sync", "no size on the other side");
                } else if (later != 0) {
                    row.State = later > 0 ? TCompared::NewerHere : TCompared::NewerThere;
                } else {
                    row.State = unsure ? TCompared::Unsure : TCompared::Same;
                    row.Why = why;
                }
            }
        }
        rows.push_back(std::move(row));
    }
    return rows;
}
