#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <cstdint>

namespace CarvexPlatform {

// What bytes a file held: their length and a hash of them (BLAKE2b, 256 bits). A document keeps the
// digest of the text it last read or wrote, so it can tell whether the file still holds that text
// without keeping a second copy of it.
class FileDigest {
public:
    FileDigest() = default;
    static FileDigest of(QByteArrayView bytes);

    // Whether the regular file at `path` holds the bytes this digest was made of: its length is
    // compared first, then the hash of its bytes, read in pieces. A file that can't be read, or is no
    // longer a regular file, does not. Reads the whole file: run it off the main thread.
    bool matchesFile(const QString& path) const;

    std::int64_t size() const { return size_; }
    bool operator==(const FileDigest&) const = default;

private:
    std::int64_t size_ = 0;
    QByteArray hash_;
};

}  // namespace CarvexPlatform
