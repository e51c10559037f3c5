#pragma once
#include <QString>
#include <cstdint>
#include <optional>

namespace CarvexPlatform {

// What tells one state of a file on disk from another: its modification time to the nanosecond, its
// size, which file it is (device and inode), and the time its status last changed. A file written by
// another program and given its old date back still differs in its size or its inode, or in its time
// when both stay; a file replaced by a rename is another inode. The status time can't be set back: it
// moves with every write, and with a change of mode, owner or links too, so when it alone moved only
// the file's bytes tell whether they changed (see `FileDigest`).
struct FileSignature {
    std::int64_t modifiedNanoseconds = 0;
    std::int64_t size = 0;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t statusChangedNanoseconds = 0;

    bool operator==(const FileSignature&) const = default;

    // Whether `other` is this file with the same modification time and size, whatever its status
    // time says: it may hold the same bytes or, written in place and dated back, other bytes of the
    // same length.
    bool matchesIgnoringStatusChange(const FileSignature& other) const {
        return modifiedNanoseconds == other.modifiedNanoseconds && size == other.size && device == other.device &&
               inode == other.inode;
    }

    // The signature of the file at `path` now (a symbolic link followed), or nothing when there is no
    // such file or it can't be read.
    static std::optional<FileSignature> ofFile(const QString& path);
};

}  // namespace CarvexPlatform
