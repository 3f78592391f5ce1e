// Feeds the listing parser random bytes and listing-like noise; built with AddressSanitizer
// and UndefinedBehaviorSanitizer, so that any out-of-bounds access fails the run.

#include <cstdio>
#include <random>

#include "manager/CommFunc.h"

int main()
{
    std::mt19937 random(12345);
    const char alphabet[] = "-dlrwx 0123456789\r\n\t:->.<DIR>/\x01";
    size_t entries = 0;
    for (int round = 0; round < 20000; ++round) {
        std::string text(random() % 2000, '\0');
        bool noise = round % 2 == 0;
        for (char& c : text)
            c = noise ? static_cast<char>(random()) : alphabet[random() % (sizeof alphabet - 1)];
        for (const TDirAnalyze& entry : ParseListing(text)) {
            int64_t size = 0;
            ParseSize(entry.Size, size);
            IsSafeEntryName(entry.EntryName());
            entry.LinkTarget();
            ++entries;
        }
    }
    std::printf("parsed %zu entries from random listings\n", entries);
    return 0;
}
