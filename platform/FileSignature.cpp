#include "platform/FileSignature.h"

#include <QFile>
#include <sys/stat.h>

namespace CarvexPlatform {

std::optional<FileSignature> FileSignature::ofFile(const QString& path) {
    if (path.isEmpty()) {
        return std::nullopt;
    }
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0) {
        return std::nullopt;
    }
    return FileSignature{
        .modifiedNanoseconds = static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1'000'000'000LL +
                               static_cast<std::int64_t>(status.st_mtim.tv_nsec),
        .size = static_cast<std::int64_t>(status.st_size),
        .device = static_cast<std::uint64_t>(status.st_dev),
        .inode = static_cast<std::uint64_t>(status.st_ino),
        .statusChangedNanoseconds = static_cast<std::int64_t>(status.st_ctim.tv_sec) * 1'000'000'000LL +
                                    static_cast<std::int64_t>(status.st_ctim.tv_nsec),
    };
}

}  // namespace CarvexPlatform
