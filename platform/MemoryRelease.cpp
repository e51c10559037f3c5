#include "platform/MemoryRelease.h"

#include "platform/BackgroundTask.h"
#include "platform/WorkItem.h"

#include <QThreadPool>

#include <atomic>
#include <cstdio>
#include <unistd.h>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace CarvexPlatform {

namespace {

WorkItem& pendingRelease() {
    static WorkItem item;
    return item;
}

std::atomic<int>& releases() {
    static std::atomic<int> count{0};
    return count;
}

void releaseWhenIdle(int postponements) {
    if (postponements < MemoryRelease::maxPostponements && QThreadPool::globalInstance()->activeThreadCount() > 0) {
        pendingRelease() = MainScheduler::shared()->schedule(MemoryRelease::busyDelay, [postponements] {
            releaseWhenIdle(postponements + 1);
        });
        return;
    }
    releases().fetch_add(1);
    BackgroundTask::run([] { return MemoryRelease::releaseFreedMemory(); }, [](bool) {});
}

}  // namespace

void MemoryRelease::configureAllocator() {
#if defined(__GLIBC__)
    mallopt(M_MMAP_THRESHOLD, static_cast<int>(mappedBlockSize));
    mallopt(M_TRIM_THRESHOLD, static_cast<int>(keptTopSize));
#endif
}

bool MemoryRelease::releaseFreedMemory() {
#if defined(__GLIBC__)
    return malloc_trim(0) != 0;
#else
    return false;
#endif
}

void MemoryRelease::requestRelease(Duration delay) {
    pendingRelease().cancel();
    pendingRelease() = MainScheduler::shared()->schedule(delay, [] { releaseWhenIdle(0); });
}

bool MemoryRelease::isPending() { return pendingRelease().isPending(); }

int MemoryRelease::releaseCount() { return releases().load(); }

std::optional<std::size_t> MemoryRelease::residentBytes() {
    std::FILE* statm = std::fopen("/proc/self/statm", "r");
    if (!statm) {
        return std::nullopt;
    }
    unsigned long size = 0;
    unsigned long resident = 0;
    const int read = std::fscanf(statm, "%lu %lu", &size, &resident);
    std::fclose(statm);
    if (read != 2) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(resident) * static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
}

}  // namespace CarvexPlatform
