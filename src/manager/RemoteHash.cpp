#include "manager/RemoteHash.h"

#include <cctype>
#include <sstream>

namespace {

std::string upper(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

size_t digestLength(const std::string& algorithm)
{
    if (algorithm == "SHA-256")
        return 64;
    if (algorithm == "SHA-1")
        return 40;
    if (algorithm == "MD5")
        return 32;
    return algorithm == "CRC32" ? 8 : 0;
}

bool isHex(const std::string& token)
{
    for (char c : token)
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return false;
    return !token.empty();
}

} // namespace

TRemoteHash ChooseRemoteHash(const std::vector<std::string>& featLines)
{
    TRemoteHash best;
    int bestRank = 0;
    for (const std::string& line : featLines) {
        // Feature lines start with a blank; the reply's own first and last lines do not.
        if (line.empty() || line[0] != ' ')
            continue;
        std::istringstream words(line);
        std::string name;
        words >> name;
        name = upper(name);
        if (name == "HASH") {
            std::string list;
            words >> list;
            // "SHA-256*;SHA-1;MD5": the starred one is what HASH answers with.
            std::istringstream algorithms(list);
            std::string algorithm;
            while (std::getline(algorithms, algorithm, ';')) {
                if (algorithm.empty() || algorithm.back() != '*')
                    continue;
                algorithm = upper(algorithm.substr(0, algorithm.size() - 1));
                if (digestLength(algorithm) > 0)
                    return {"HASH", algorithm};
            }
            continue;
        }
        static const struct
        {
            const char* command;
            const char* algorithm;
            int rank;
        } kCommands[] = {{"XSHA256", "SHA-256", 4}, {"XSHA1", "SHA-1", 3}, {"XMD5", "MD5", 2}, {"XCRC", "CRC32", 1}};
        for (const auto& known : kCommands)
            if (name == known.command && known.rank > bestRank) {
                best = {known.command, known.algorithm};
                bestRank = known.rank;
            }
    }
    return best;
}

std::string ParseHashReply(const std::string& reply, const std::string& algorithm)
{
    size_t length = digestLength(algorithm);
    std::istringstream words(reply.size() > 4 ? reply.substr(4) : std::string());
    std::string token;
    while (words >> token) {
        if (token.size() == length + 2 && (token.rfind("0x", 0) == 0 || token.rfind("0X", 0) == 0))
            token = token.substr(2);
        if (token.size() == length && isHex(token)) {
            for (char& c : token)
                c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            return token;
        }
    }
    return {};
}
