#include "platform/FileHash.h"

#include <cstdio>
#include <memory>
#include <thread>
#include <vector>

#include <QCryptographicHash>
#include <zlib.h>

#include "platform/EventLoop.h"

namespace platform {

namespace {

struct FileCloser
{
    void operator()(std::FILE* file) const { std::fclose(file); }
};

} // namespace

std::string FileDigest(const std::string& path, const std::string& algorithm)
{
    bool crc = algorithm == "CRC32";
    QCryptographicHash::Algorithm kind = QCryptographicHash::Md5;
    if (algorithm == "SHA-256")
        kind = QCryptographicHash::Sha256;
    else if (algorithm == "SHA-1")
        kind = QCryptographicHash::Sha1;
    else if (algorithm != "MD5" && !crc)
        return {};
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file)
        return {};
    QCryptographicHash hash(kind);
    uLong sum = crc32(0, nullptr, 0);
    std::vector<char> buffer(1 << 20);
    for (;;) {
        size_t got = std::fread(buffer.data(), 1, buffer.size(), file.get());
        if (got > 0) {
            if (crc)
                sum = crc32(sum, reinterpret_cast<const Bytef*>(buffer.data()), static_cast<uInt>(got));
            else
                hash.addData(QByteArrayView(buffer.data(), static_cast<qsizetype>(got)));
        }
        if (got < buffer.size())
            break;
    }
    if (std::ferror(file.get()))
        return {};
    if (crc) {
        char text[16];
        std::snprintf(text, sizeof text, "%08lx", static_cast<unsigned long>(sum));
        return text;
    }
    return hash.result().toHex().toStdString();
}

void FileDigestInBackground(const std::string& path, const std::string& algorithm,
                            std::function<void(std::string digest)> done)
{
    std::thread([path, algorithm, done = std::move(done)]() mutable {
        std::string digest = FileDigest(path, algorithm);
        postToLoop([digest = std::move(digest), done = std::move(done)] { done(digest); });
    }).detach();
}

} // namespace platform
