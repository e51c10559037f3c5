#include "platform/BackgroundTask.h"
#include "platform/Debouncer.h"
#include "platform/FakeMainScheduler.h"
#include "platform/MainThread.h"
#include "platform/ScopedMainScheduler.h"
#include "platform/TestApplication.h"
#include "platform/Timer.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <atomic>
#include <thread>

using namespace CarvexPlatform;
using namespace std::chrono_literals;

class SchedulerTest : public ::testing::Test {
protected:
    void SetUp() override { TestApplication::ensure(); }
    std::shared_ptr<FakeMainScheduler> fake = std::make_shared<FakeMainScheduler>();
};

TEST_F(SchedulerTest, PostedWorkWaitsForTheNextTurnDelayedWorkForTheClock) {
    std::vector<int> order;
    fake->post([&] { order.push_back(1); });
    fake->post([&] { order.push_back(2); });
    EXPECT_TRUE(order.empty());
    EXPECT_EQ(fake->runPending(), 2u);
    EXPECT_EQ(order, (std::vector<int>{1, 2}));
    order.clear();
    fake->schedule(150ms, [&] { order.push_back(150); });
    fake->schedule(50ms, [&] { order.push_back(50); });
    fake->schedule(150ms, [&] { order.push_back(151); });
    fake->advance(149ms);
    EXPECT_EQ(order, (std::vector<int>{50}));
    fake->advance(1ms);
    EXPECT_EQ(order, (std::vector<int>{50, 150, 151}));
    // One item at a time, the clock jumping to each: what is due now first, then by due time.
    order.clear();
    const auto start = fake->now();
    fake->schedule(80ms, [&] { order.push_back(80); });
    fake->schedule(30ms, [&] { order.push_back(30); });
    fake->post([&] { order.push_back(0); });
    std::vector<MainScheduler::Duration> ranAt;
    while (fake->runNext()) {
        ranAt.push_back(std::chrono::duration_cast<MainScheduler::Duration>(fake->now() - start));
    }
    EXPECT_EQ(order, (std::vector<int>{0, 30, 80}));
    EXPECT_EQ(ranAt, (std::vector<MainScheduler::Duration>{0ms, 30ms, 80ms}));
}

TEST_F(SchedulerTest, WorkScheduledByWorkRunsWithinTheSameAdvance) {
    const auto start = fake->now();
    std::optional<MainScheduler::Clock::time_point> innerRanAt;
    fake->schedule(100ms, [&] { fake->schedule(100ms, [&] { innerRanAt = fake->now(); }); });
    fake->advance(250ms);
    ASSERT_TRUE(innerRanAt.has_value());
    EXPECT_EQ(*innerRanAt - start, 200ms);
    EXPECT_EQ(fake->now() - start, 250ms);
}

TEST_F(SchedulerTest, CancelledWorkNeverRuns) {
    int runs = 0;
    WorkItem item = fake->schedule(10ms, [&] { ++runs; });
    EXPECT_TRUE(item.isPending());
    item.cancel();
    fake->advance(1s);
    EXPECT_EQ(runs, 0);
    EXPECT_FALSE(item.hasRun());
    WorkItem posted = fake->postCancellable([&] { ++runs; });
    posted.cancel();
    fake->runPending();
    EXPECT_EQ(runs, 0);
}

TEST_F(SchedulerTest, DebounceRunsOnceAfterTheLastRequestUnlessDestroyed) {
    auto debouncer = std::make_unique<Debouncer>(150ms, fake);
    std::vector<int> ran;
    for (int i = 0; i < 5; ++i) {
        debouncer->schedule([&, i] { ran.push_back(i); });
        fake->advance(100ms);  // each request lands before the previous one is due
    }
    EXPECT_TRUE(ran.empty());
    EXPECT_TRUE(debouncer->isPending());
    fake->advance(50ms);
    EXPECT_EQ(ran, (std::vector<int>{4}));
    EXPECT_FALSE(debouncer->isPending());
    debouncer->schedule([&] { ran.push_back(5); });
    debouncer.reset();
    fake->advance(1s);
    EXPECT_EQ(ran, (std::vector<int>{4}));
}

TEST_F(SchedulerTest, OneShotTimerFiresOnceAndARestartSupersedesTheEarlierStart) {
    Timer timer(fake);
    std::vector<int> fired;
    timer.start(100ms, false, [&] { fired.push_back(1); });
    EXPECT_TRUE(timer.isActive());
    fake->advance(50ms);
    timer.start(100ms, false, [&] { fired.push_back(2); });
    fake->advance(99ms);
    EXPECT_TRUE(fired.empty());
    fake->advance(1s);
    EXPECT_EQ(fired, (std::vector<int>{2}));
    EXPECT_FALSE(timer.isActive());
}

TEST_F(SchedulerTest, RepeatingTimerFiresEveryIntervalUntilStopped) {
    Timer timer(fake);
    int fired = 0;
    timer.start(100ms, true, [&] {
        if (++fired == 3) {
            timer.stop();
        }
    });
    fake->advance(1s);
    EXPECT_EQ(fired, 3);
    EXPECT_FALSE(timer.isActive());
}

TEST_F(SchedulerTest, timer_destroyed_by_its_own_handler_is_safe) {
    auto timer = std::make_unique<Timer>(fake);
    int fired = 0;
    timer->start(10ms, true, [&] {
        ++fired;
        timer.reset();
    });
    fake->advance(100ms);
    EXPECT_EQ(fired, 1);
}

TEST_F(SchedulerTest, BackgroundResultArrivesOnTheMainThread) {
    std::thread::id workThread;
    std::optional<int> result;
    bool completedOnMain = false;
    const auto work = [&] {
        workThread = std::this_thread::get_id();
        return 42;
    };
    BackgroundTask::run(work, [&](int value) { result = value; completedOnMain = MainThread::isCurrent(); }, fake);
    BackgroundTask::waitForIdle();
    EXPECT_FALSE(result.has_value());
    fake->runPending();
    EXPECT_EQ(result, 42);
    EXPECT_TRUE(completedOnMain);
    EXPECT_NE(workThread, std::this_thread::get_id());
}

TEST_F(SchedulerTest, CancelledBackgroundResultIsDropped) {
    std::atomic<bool> release{false};
    bool completed = false;
    WorkItem item = BackgroundTask::run(
        [&] {
            while (!release.load()) {
                std::this_thread::yield();
            }
            return 1;
        },
        [&](int) { completed = true; }, fake);
    item.cancel();
    release = true;
    BackgroundTask::waitForIdle();
    fake->runPending();
    EXPECT_FALSE(completed);
}

TEST_F(SchedulerTest, QtSchedulerRunsPostedAndDelayedWorkOnTheEventLoop) {
    auto scheduler = MainScheduler::shared();
    std::vector<int> order;
    std::thread poster([&] { scheduler->post([&] { order.push_back(1); }); });
    poster.join();
    scheduler->schedule(20ms, [&] { order.push_back(2); });
    WorkItem cancelled = scheduler->schedule(10ms, [&] { order.push_back(3); });
    cancelled.cancel();
    QElapsedTimer clock;
    clock.start();
    while (order.size() < 2 && clock.elapsed() < 30'000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    EXPECT_EQ(order, (std::vector<int>{1, 2}));
}

TEST_F(SchedulerTest, ScopedSchedulerRestoresThePreviousOne) {
    auto before = MainScheduler::shared();
    {
        ScopedMainScheduler scope(fake);
        EXPECT_EQ(MainScheduler::shared(), fake);
    }
    EXPECT_EQ(MainScheduler::shared(), before);
}
