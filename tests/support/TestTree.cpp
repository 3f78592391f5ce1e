#include "support/TestTree.h"

#include <fstream>
#include <vector>

#include <QCryptographicHash>

namespace testsupport {

// Paths are opened by their bytes: names that are no UTF-8 stay what they are.

bool writePatternFile(const std::string& path, int64_t size, uint32_t seed)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file)
        return false;
    std::vector<char> block(64 * 1024);
    uint32_t state = seed * 2654435761u + 1;
    for (int64_t written = 0; written < size;) {
        for (char& c : block) {
            state = state * 1664525u + 1013904223u;
            c = static_cast<char>(state >> 24);
        }
        int64_t chunk = std::min<int64_t>(static_cast<int64_t>(block.size()), size - written);
        if (!file.write(block.data(), chunk))
            return false;
        written += chunk;
    }
    return static_cast<bool>(file.flush());
}

std::string fileHash(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return {};
    QCryptographicHash hash(QCryptographicHash::Sha256);
    std::vector<char> block(256 * 1024);
    while (file.read(block.data(), static_cast<std::streamsize>(block.size())) || file.gcount() > 0)
        hash.addData(QByteArrayView(block.data(), file.gcount()));
    return hash.result().toHex().toStdString();
}

} // namespace testsupport
