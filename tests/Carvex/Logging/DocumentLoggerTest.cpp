#include "Carvex/Logging/AppLogger.h"
#include "Carvex/Logging/DocumentLogger.h"
#include "Carvex/Logging/InMemoryLogStore.h"
#include "platform/FakeMainScheduler.h"
#include "platform/ScopedMainScheduler.h"
#include "platform/TestApplication.h"

#include <gtest/gtest.h>

#include <thread>

using namespace Carvex;
using CarvexPlatform::FakeMainScheduler;
using CarvexPlatform::ScopedMainScheduler;

class LoggerTest : public ::testing::Test {
protected:
    void SetUp() override { CarvexPlatform::TestApplication::ensure(); }
    void TearDown() override { AppLogger::shared().setOpenDocumentStores(nullptr); }
    std::shared_ptr<FakeMainScheduler> fake = std::make_shared<FakeMainScheduler>();
    ScopedMainScheduler scope{fake};
};

TEST_F(LoggerTest, StoreCallsTheLastHookSetOnAppendAndClear) {
    DocumentLogger(std::shared_ptr<LogStore>(), "x").info("no store is harmless");
    InMemoryLogStore store;
    store.append(LogEntry(QUuid::createUuid(), QDateTime::currentDateTime(), LogLevel::info, "a",
                          std::nullopt, std::nullopt, std::nullopt));
    EXPECT_EQ(store.entries().size(), 1u);
    store.clear();
    std::vector<int> calls;
    store.onEntriesChanged = [&] { calls.push_back(1); };
    store.onEntriesChanged = [&] { calls.push_back(2); };
    store.clear();  // clearing an empty store still notifies
    store.append(LogEntry(QUuid::createUuid(), QDateTime::currentDateTime(), LogLevel::info, "b",
                          std::nullopt, std::nullopt, std::nullopt));
    store.onEntriesChanged = [&] {
        calls.push_back(3);
        store.onEntriesChanged = nullptr;  // a hook may replace itself while running
    };
    store.clear();
    store.clear();
    EXPECT_EQ(calls, (std::vector<int>{2, 2, 3}));
}

TEST_F(LoggerTest, MainThreadWritesAppendAtOnceWithTheirFields) {
    auto store = std::make_shared<InMemoryLogStore>();
    DocumentLogger logger(store, "Untitled");
    logger.info("Validating document...");
    logger.success("Document is valid", SourceLocation{"", 1, 2, std::nullopt}, QString("/"));
    logger.warning("w", QString("why"));
    logger.error("e", std::nullopt, std::nullopt, QString("/paths"));
    ASSERT_EQ(store->entries().size(), 4u);
    const auto& e = store->entries();
    EXPECT_EQ(e[0].level, LogLevel::info);
    EXPECT_EQ(e[0].message, "Validating document...");
    EXPECT_FALSE(e[0].errorDescription.has_value());
    EXPECT_EQ(e[1].level, LogLevel::success);
    EXPECT_EQ(e[1].sourceLocation, (SourceLocation{"", 1, 2, std::nullopt}));
    EXPECT_EQ(e[1].jsonPointer, "/");
    EXPECT_EQ(e[2].errorDescription, "why");
    EXPECT_EQ(e[3].level, LogLevel::error);
    EXPECT_EQ(e[3].jsonPointer, "/paths");
    EXPECT_NE(e[0].id(), e[1].id());
}

TEST_F(LoggerTest, BackgroundWritesWaitForTheMainThread) {
    auto store = std::make_shared<InMemoryLogStore>();
    std::thread::id hookThread;
    store->onEntriesChanged = [&] { hookThread = std::this_thread::get_id(); };
    auto logger = std::make_unique<DocumentLogger>(store, "api.yaml");
    std::thread worker([&] {
        for (int i = 0; i < 100; ++i) {
            logger->error(QString::number(i), QString("d"));
        }
    });
    worker.join();
    logger->info("main");  // written on the main thread in the meantime: lands first
    logger.reset();        // the queued writes keep the store alive, not the logger
    ASSERT_EQ(store->entries().size(), 1u);
    fake->runPending();
    ASSERT_EQ(store->entries().size(), 101u);
    EXPECT_EQ(store->entries()[0].message, "main");
    for (int i = 0; i < 100; ++i) {
        EXPECT_EQ(store->entries()[static_cast<std::size_t>(i) + 1].message, QString::number(i));
    }
    EXPECT_EQ(hookThread, std::this_thread::get_id());
}

TEST_F(LoggerTest, AppLoggerWritesTheSameEntryToEveryOpenDocumentLater) {
    auto a = std::make_shared<InMemoryLogStore>();
    auto b = std::make_shared<InMemoryLogStore>();
    AppLogger::shared().setOpenDocumentStores([&] {
        return std::vector<std::shared_ptr<LogStore>>{a, b};
    });
    AppLogger::shared().info("hello");
    EXPECT_TRUE(a->entries().empty());  // even on the main thread it waits for a later turn
    fake->runPending();
    ASSERT_EQ(a->entries().size(), 1u);
    ASSERT_EQ(b->entries().size(), 1u);
    EXPECT_EQ(a->entries()[0].id(), b->entries()[0].id());
    EXPECT_FALSE(a->entries()[0].sourceLocation.has_value());
    EXPECT_FALSE(a->entries()[0].jsonPointer.has_value());

    AppLogger::shared().warning("careful", QString("detail"));
    std::thread worker([] { AppLogger::shared().error("from a worker"); });
    worker.join();
    fake->runPending();
    ASSERT_EQ(b->entries().size(), 3u);
    EXPECT_EQ(b->entries()[1].errorDescription, "detail");
    EXPECT_EQ(b->entries()[2].level, LogLevel::error);
}

TEST_F(LoggerTest, AppLoggerAsksForTheDocumentsOpenWhenItsTaskRuns) {
    AppLogger::shared().success("nobody hears");
    EXPECT_EQ(fake->runPending(), 1u);
    std::vector<std::shared_ptr<LogStore>> open;
    AppLogger::shared().setOpenDocumentStores([&] { return open; });
    AppLogger::shared().success("still nobody");
    EXPECT_EQ(fake->runPending(), 1u);
    AppLogger::shared().info("late");
    auto store = std::make_shared<InMemoryLogStore>();
    open.push_back(store);
    fake->runPending();
    ASSERT_EQ(store->entries().size(), 1u);
    EXPECT_EQ(store->entries()[0].message, "late");
}
