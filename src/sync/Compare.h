#pragma once

// One directory here against one there: each name with what differs, by kind, size and
// modification time. A time is compared only as far as it is known: to the precision its
// listing gives, and, where the server's time zone is unknown (a LIST listing's clock), only
// when the two differ by more than any zone could explain. What cannot be told is said so,
// never guessed.

#include <cstdint>
#include <string>
#include <vector>

// An entry of one side.
struct TCompareEntry
{
    std::string Name; // the bytes of the name
    bool Directory = false;
    int64_t Size = -1;     // -1 when not known
    int64_t Time = -1;     // seconds since 1970; UTC where ZoneKnown; -1 when not known
    int64_t Precision = 1; // seconds the time is exact to (60 for a listing's clock, 86400 for a day)
    bool ZoneKnown = true; // false for a listing in the server's unknown local time
};

enum class TCompared : uint8_t
{
    Same,
    OnlyHere,  // the first side only
    OnlyThere, // the second side only
    NewerHere, // same size, the first side's time later
    NewerThere,
    SizeDiffers, // whatever the times say
    KindDiffers, // a file on one side, a directory on the other
    Unsure       // no size on a side, or times that cannot be told apart or ordered
};

struct TComparedName
{
    std::string Name;
    TCompared State = TCompared::Same;
    int Here = -1;   // index into the first side's entries, -1 when absent
    int There = -1;  // the second side's
    std::string Why; // for the rows that differ or are unsure: in words
    // Of two files: 1 when the first side's time is later, -1 the second's, 0 the same or
    // not known; TimesUnsure when the order cannot be told.
    int Later = 0;
    bool TimesUnsure = false;
};

// The names of both sides, in byte order, each once.
std::vector<TComparedName> CompareDirectories(const std::vector<TCompareEntry>& here,
                                              const std::vector<TCompareEntry>& there);

// The largest offset of a local time from UTC: a clock in an unknown zone is within it.
constexpr int64_t kLargestZoneOffset = 14 * 3600;
