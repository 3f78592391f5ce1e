#include "support/TestTree.h"

#include <vector>

#include <QCryptographicHash>
#include <QFile>

namespace testsupport {

bool writePatternFile(const std::string& path, int64_t size, uint32_t seed)
{
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    std::vector<char> block(64 * 1024);
    uint32_t state = seed * 2654435761u + 1;
    for (int64_t written = 0; written < size;) {
        for (char& c : block) {
            state = state * 1664525u + 1013904223u;
            c = static_cast<char>(state >> 24);
        }
        int64_t chunk = std::min<int64_t>(static_cast<int64_t>(block.size()), size - written);
        if (file.write(block.data(), chunk) != chunk)
            return false;
        written += chunk;
    }
    return true;
}

std::string fileHash(const std::string& path)
{
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&file))
        return {};
    return hash.result().toHex().toStdString();
}

} // namespace testsupport
