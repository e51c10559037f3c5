#pragma once
#include "platform/MainScheduler.h"

#include <cstddef>
#include <optional>

namespace CarvexPlatform {

// Gives back to the system the memory the allocator keeps after it was freed. glibc holds freed
// memory in its arenas (one per thread that allocated, so the background threads that parse and
// validate hold their own) and returns little of it by itself: after a large document closes, the
// process would stay hundreds of megabytes larger than it needs to be.
class MemoryRelease {
public:
    using Duration = MainScheduler::Duration;

    // How long after the last request the release waits, so the closed document's last pieces (its
    // window, work that was running for it) are gone first and closing several windows makes one release.
    static constexpr Duration idleDelay{500};
    // While background work is running, the release waits this much longer, at most `maxPostponements`
    // times: work started for a closed document frees its memory when it ends.
    static constexpr Duration busyDelay{250};
    static constexpr int maxPostponements = 40;

    // Blocks from this size on are mapped on their own and unmapped when freed.
    static constexpr std::size_t mappedBlockSize = 4u * 1024u * 1024u;
    // Free memory at the top of a heap beyond this goes back to the system when freed.
    static constexpr std::size_t keptTopSize = 8u * 1024u * 1024u;

    // Fixes the allocator's thresholds for mapping blocks of their own and for giving back the top of a
    // heap. Left to itself glibc raises both after each large block freed, up to 32 and 64 MB: the
    // large blocks of the next document (its texts, tables and trees) then come from the heaps, between
    // small blocks that outlive them, and the pages those small blocks hold never go back. Call once,
    // first thing at start.
    static void configureAllocator();

    // Returns the free memory of every arena to the system now, gaps inside the heaps included. Any
    // thread; it takes the allocator's locks in turn and may take tens of milliseconds on a large
    // heap. True when memory went back; false where the allocator offers no such call.
    static bool releaseFreedMemory();

    // Asks for a release once the application is idle: `delay` after the last request, later while
    // background work runs. The release itself runs on a background thread. Main thread only.
    static void requestRelease(Duration delay = idleDelay);

    // Whether a requested release has not run yet (main thread).
    static bool isPending();
    // Releases started since the process began (tests and benchmarks).
    static int releaseCount();

    // The process's resident memory in bytes (Linux), or nothing where it cannot be read.
    static std::optional<std::size_t> residentBytes();
};

}  // namespace CarvexPlatform
