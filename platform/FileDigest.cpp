#include "platform/FileDigest.h"

#include <QCryptographicHash>
#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace CarvexPlatform {

namespace {

constexpr auto algorithm = QCryptographicHash::Blake2b_256;

}  // namespace

FileDigest FileDigest::of(QByteArrayView bytes) {
    FileDigest digest;
    digest.size_ = bytes.size();
    digest.hash_ = QCryptographicHash::hash(bytes, algorithm);
    return digest;
}

bool FileDigest::matchesFile(const QString& path) const {
    // Opened without blocking: a pipe put in the file's place must not hang the check.
    const int descriptor = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        return false;
    }
    struct stat status {};
    bool matches = ::fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode) && status.st_size == size_;
    if (matches) {
        QCryptographicHash hash(algorithm);
        std::vector<char> buffer(1 << 20);
        std::int64_t total = 0;
        for (;;) {
            const ssize_t count = ::read(descriptor, buffer.data(), buffer.size());
            if (count < 0 && errno == EINTR) {
                continue;
            }
            if (count <= 0) {
                matches = count == 0;
                break;
            }
            total += count;
            if (total > size_) {
                matches = false;
                break;
            }
            hash.addData(QByteArrayView(buffer.data(), count));
        }
        matches = matches && total == size_ && hash.result() == hash_;
    }
    ::close(descriptor);
    return matches;
}

}  // namespace CarvexPlatform
