// Memory freed by a closed document goes back to the system once the application is idle.

#include "platform/BackgroundTask.h"
#include "platform/Document.h"
#include "platform/DocumentController.h"
#include "platform/FakeMainScheduler.h"
#include "platform/MemoryRelease.h"
#include "platform/ScopedMainScheduler.h"
#include "platform/Settings.h"
#include "platform/TestApplication.h"
#include "platform/WindowController.h"

#include <gtest/gtest.h>

#include <QMainWindow>
#include <QPointer>

#include <condition_variable>
#include <cstring>
#include <mutex>
#include <vector>

using namespace CarvexPlatform;

namespace {

class PlainDocument : public Document {
public:
    std::optional<Error> readFromData(const QByteArray&, const QString&) override { return std::nullopt; }
    std::variant<QByteArray, Error> dataOfType(const QString&) override { return QByteArray(); }
};

class MemoryReleaseTest : public ::testing::Test {
protected:
    void SetUp() override { TestApplication::ensure(); }
    void TearDown() override { finish(); }

    // Lets what was requested run to its end.
    void finish() {
        for (int round = 0; round < 100 && (MemoryRelease::isPending() || fake->runPending() > 0); ++round) {
            fake->advance(MemoryRelease::idleDelay);
            BackgroundTask::waitForIdle();
        }
        BackgroundTask::waitForIdle();
        fake->runPending();
    }

    // A document with a shown window, closed through its window.
    void openAndClose() {
        auto owned = std::make_unique<PlainDocument>();
        PlainDocument* document = owned.get();
        controller.addDocument(std::move(owned));
        document->addWindowController(std::make_unique<WindowController>());
        document->showWindows();
        document->windowControllers().front()->close();
    }

    std::shared_ptr<FakeMainScheduler> fake = std::make_shared<FakeMainScheduler>();
    ScopedMainScheduler scope{fake};
    DocumentController controller{Settings::isolated()};
};

TEST_F(MemoryReleaseTest, closing_a_document_window_releases_freed_memory_once_idle) {
    finish();
    const int before = MemoryRelease::releaseCount();
    openAndClose();
    fake->runPending();
    EXPECT_TRUE(controller.documents().empty());
    EXPECT_TRUE(MemoryRelease::isPending());
    // Not at once: the closed window's last pieces go first.
    fake->advance(MemoryRelease::idleDelay - std::chrono::milliseconds(1));
    EXPECT_EQ(MemoryRelease::releaseCount(), before);
    fake->advance(std::chrono::milliseconds(1));
    BackgroundTask::waitForIdle();
    EXPECT_EQ(MemoryRelease::releaseCount(), before + 1);
    EXPECT_FALSE(MemoryRelease::isPending());
}

TEST_F(MemoryReleaseTest, closing_several_windows_in_a_row_makes_one_release) {
    finish();
    const int before = MemoryRelease::releaseCount();
    for (int i = 0; i < 3; ++i) {
        openAndClose();
        fake->runPending();
        fake->advance(MemoryRelease::idleDelay / 2);
    }
    EXPECT_EQ(MemoryRelease::releaseCount(), before);
    fake->advance(MemoryRelease::idleDelay);
    BackgroundTask::waitForIdle();
    EXPECT_EQ(MemoryRelease::releaseCount(), before + 1);
}

// Work still running for a closed document frees its memory when it ends: the release waits for it,
// but not for ever.
TEST_F(MemoryReleaseTest, release_waits_for_running_background_work_within_a_limit) {
    finish();
    const int before = MemoryRelease::releaseCount();
    std::mutex mutex;
    std::condition_variable changed;
    bool running = false;
    bool done = false;
    BackgroundTask::run(
        [&] {
            std::unique_lock lock(mutex);
            running = true;
            changed.notify_all();
            changed.wait(lock, [&] { return done; });
            return 0;
        },
        [](int) {});
    {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return running; });
    }
    MemoryRelease::requestRelease();
    fake->advance(MemoryRelease::idleDelay + MemoryRelease::busyDelay * 3);
    EXPECT_EQ(MemoryRelease::releaseCount(), before);
    EXPECT_TRUE(MemoryRelease::isPending());
    {
        std::lock_guard lock(mutex);
        done = true;
    }
    changed.notify_all();
    BackgroundTask::waitForIdle();
    fake->advance(MemoryRelease::busyDelay);
    BackgroundTask::waitForIdle();
    EXPECT_EQ(MemoryRelease::releaseCount(), before + 1);

    // Work that never ends postpones the release a bounded number of times.
    std::mutex stuckMutex;
    std::condition_variable stuckChanged;
    bool released = false;
    BackgroundTask::run(
        [&] {
            std::unique_lock lock(stuckMutex);
            stuckChanged.wait(lock, [&] { return released; });
            return 0;
        },
        [](int) {});
    MemoryRelease::requestRelease();
    fake->advance(MemoryRelease::idleDelay + MemoryRelease::busyDelay * (MemoryRelease::maxPostponements + 1));
    EXPECT_EQ(MemoryRelease::releaseCount(), before + 2);
    {
        std::lock_guard lock(stuckMutex);
        released = true;
    }
    stuckChanged.notify_all();
    BackgroundTask::waitForIdle();
}

#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__)
#include <malloc.h>

// Keeps the compiler from leaving out a block that is written and freed but never read.
void keep(void* block) { asm volatile("" : : "r"(block) : "memory"); }

// Freed blocks below one that stays in use are kept by the allocator until released.
TEST(MemoryReleaseFreedMemoryTest, freed_memory_below_a_block_in_use_leaves_the_resident_set) {
    constexpr std::size_t blockSize = 4000;
    constexpr std::size_t blocks = 64 * 1024;  // about 250 MB
    std::vector<char*> held;
    held.reserve(blocks);
    for (std::size_t i = 0; i < blocks; ++i) {
        char* block = static_cast<char*>(std::malloc(blockSize));
        std::memset(block, static_cast<int>(i), blockSize);
        held.push_back(block);
    }
    char* pin = static_cast<char*>(std::malloc(blockSize));
    std::memset(pin, 1, blockSize);
    for (char* block : held) {
        std::free(block);
    }
    const std::optional<std::size_t> kept = MemoryRelease::residentBytes();
    ASSERT_TRUE(kept.has_value());
    EXPECT_TRUE(MemoryRelease::releaseFreedMemory());
    const std::optional<std::size_t> after = MemoryRelease::residentBytes();
    ASSERT_TRUE(after.has_value());
    EXPECT_GT(*kept, *after + 150u * 1024u * 1024u) << "kept " << *kept / 1048576 << " MB, after " << *after / 1048576;
    std::free(pin);
}

// Left to itself the allocator raises its threshold for mapping a block on its own after each larger
// block freed; the large blocks of the next document would then come from the heaps, between small
// blocks that outlive them, and pin pages no release can return.
TEST(MemoryReleaseFreedMemoryTest, large_blocks_stay_mapped_on_their_own_after_a_larger_one_is_freed) {
    MemoryRelease::configureAllocator();
    void* larger = std::malloc(30u * 1024u * 1024u);
    std::memset(larger, 1, 30u * 1024u * 1024u);
    keep(larger);
    std::free(larger);
    const std::size_t mappedBefore = mallinfo2().hblks;
    const std::size_t size = MemoryRelease::mappedBlockSize + 1024u * 1024u;
    void* large = std::malloc(size);
    std::memset(large, 2, size);
    keep(large);
    EXPECT_EQ(mallinfo2().hblks, mappedBefore + 1) << "the block came from a heap";
    std::free(large);
    EXPECT_EQ(mallinfo2().hblks, mappedBefore);
}
#endif

}  // namespace
