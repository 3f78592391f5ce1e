#include "manager/ServerFeatures.h"

#include <algorithm>
#include <cctype>

namespace {

// True when one of the reply's feature lines starts with the word (case does not matter).
bool offers(const std::vector<std::string>& featLines, const std::string& word)
{
    auto sameLetters = [](char a, char b) {
        return std::toupper(static_cast<unsigned char>(a)) == std::toupper(static_cast<unsigned char>(b));
    };
    return std::any_of(featLines.begin(), featLines.end(), [&](const std::string& line) {
        // Feature lines start with a blank; the reply's own first and last lines do not.
        if (line.empty() || line[0] != ' ')
            return false;
        size_t first = line.find_first_not_of(' ');
        if (first == std::string::npos)
            return false;
        size_t end = std::min(line.find(' ', first), line.size());
        return end - first == word.size() &&
               std::equal(word.begin(), word.end(), line.begin() + static_cast<std::ptrdiff_t>(first), sameLetters);
    });
}

} // namespace

TServerFeatures ReadServerFeatures(const std::vector<std::string>& featLines)
{
    TServerFeatures features;
    features.Hash = ChooseRemoteHash(featLines);
    features.Mlsd = offers(featLines, "MLST");
    features.Utf8 = offers(featLines, "UTF8");
    features.Mfmt = offers(featLines, "MFMT");
    return features;
}
