#pragma once
#include <QString>
#include <cstdint>
#include <optional>

namespace CarvexPlatform {

// What tells one state of a file on disk from another: its modification time to the nanosecond, its
// size, and which file it is (device and inode). A file written by another program and given its old
// date back still differs in its size or its inode, or in its time when both stay; a file replaced by a
// rename is another inode.
struct FileSignature {
    std::int64_t modifiedNanoseconds = 0;
    std::int64_t size = 0;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;

    bool operator==(const FileSignature&) const = default;

    // The signature of the file at `path` now (a symbolic link followed), or nothing when there is no
    // such file or it can't be read.
    static std::optional<FileSignature> ofFile(const QString& path);
};

}  // namespace CarvexPlatform
