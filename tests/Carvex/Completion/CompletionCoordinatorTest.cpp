// The debounced completion requests: one engine call per pause, the text read when the pause ends,
// replaced and cancelled requests never delivered.

#include "Carvex/Completion/CompletionCoordinator.h"
#include "Carvex/Completion/CompletionCoordinatorDelegate.h"
#include "platform/FakeMainScheduler.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace Carvex {
namespace {

using namespace std::chrono_literals;
using Clock = CarvexPlatform::MainScheduler::Clock;

struct Delivery {
    qsizetype caret;
    std::size_t itemCount;
    Clock::time_point at;
};

class RecordingDelegate : public CompletionCoordinatorDelegate {
public:
    explicit RecordingDelegate(CarvexPlatform::FakeMainScheduler& clock) : clock_(clock) {}
    void completionCoordinatorDidComplete(CompletionCoordinator&, const CompletionResult& result) override {
        deliveries.push_back({result.context.caretLocation, result.items.size(), clock_.now()});
    }
    std::vector<Delivery> deliveries;

private:
    CarvexPlatform::FakeMainScheduler& clock_;
};

class CompletionCoordinatorTest : public ::testing::Test {
protected:
    void SetUp() override {
        coordinator = std::make_unique<CompletionCoordinator>(
            [this](const QString& seen, qsizetype caret, DocumentFormat, const std::vector<SnippetTemplate>&) {
                ++engineCalls;
                seenTexts.push_back(seen);
                if (duringEngine) {
                    duringEngine();
                }
                CompletionResult result = CompletionResult::empty(CompletionContext{});
                result.context.caretLocation = caret;
                for (int index = 0; index < itemsPerResult; ++index) {
                    result.items.emplace_back(QStringLiteral("item"), std::nullopt, CompletionItemKind::keyword);
                }
                return result;
            },
            CompletionCoordinator::defaultDebounceInterval, clock);
        coordinator->setDelegate(&delegate);
    }

    CompletionCoordinator::TextReader reader() {
        return [this]() -> const QString* {
            ++reads;
            return textIsCurrent ? &text : nullptr;
        };
    }
    void request(qsizetype caret) { coordinator->requestCompletions(reader(), caret, DocumentFormat::yaml, {}); }

    std::shared_ptr<CarvexPlatform::FakeMainScheduler> clock = std::make_shared<CarvexPlatform::FakeMainScheduler>();
    RecordingDelegate delegate{*clock};
    std::unique_ptr<CompletionCoordinator> coordinator;
    QString text = QStringLiteral("openapi: 3.1.0\ninfo:\n  ");
    bool textIsCurrent = true;
    int engineCalls = 0;
    int reads = 0;
    int itemsPerResult = 2;
    std::vector<QString> seenTexts;
    std::function<void()> duringEngine;
};

// One row per timeline: requests at the given times (ms), an optional cancel, and what follows.
struct Timeline {
    const char* name;
    std::vector<int> requestsAt;
    int cancelAt;  // -1: none
    int engineCalls;
    std::vector<int> deliveredAt;  // ms after the start
    qsizetype deliveredCaret;
};

class CompletionCoordinatorTimelineTest : public CompletionCoordinatorTest,
                                          public ::testing::WithParamInterface<Timeline> {};

TEST_P(CompletionCoordinatorTimelineTest, DeliversOnlyTheLastRequestAfterItsPause) {
    const Timeline& row = GetParam();
    const Clock::time_point start = clock->now();
    int now = 0;
    for (std::size_t index = 0; index < row.requestsAt.size(); ++index) {
        if (row.cancelAt >= 0 && row.cancelAt < row.requestsAt[index] && row.cancelAt >= now) {
            clock->advance(std::chrono::milliseconds(row.cancelAt - now));
            now = row.cancelAt;
            coordinator->cancel();
        }
        clock->advance(std::chrono::milliseconds(row.requestsAt[index] - now));
        now = row.requestsAt[index];
        request(static_cast<qsizetype>(index) + 10);
    }
    if (row.cancelAt >= now) {
        clock->advance(std::chrono::milliseconds(row.cancelAt - now));
        now = row.cancelAt;
        coordinator->cancel();
    }
    clock->advance(500ms);

    EXPECT_EQ(engineCalls, row.engineCalls);
    ASSERT_EQ(delegate.deliveries.size(), row.deliveredAt.size());
    for (std::size_t index = 0; index < row.deliveredAt.size(); ++index) {
        EXPECT_EQ(delegate.deliveries[index].at - start, std::chrono::milliseconds(row.deliveredAt[index]));
        if (row.deliveredCaret >= 0) {
            EXPECT_EQ(delegate.deliveries[index].caret, row.deliveredCaret);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Timelines, CompletionCoordinatorTimelineTest,
    ::testing::Values(Timeline{"one_request", {0}, -1, 1, {40}, 10},
                      Timeline{"two_requests_10ms_apart", {0, 10}, -1, 1, {50}, 11},
                      Timeline{"a_burst_of_keys_faster_than_the_pause", {0, 30, 60, 90, 120}, -1, 1, {160}, 14},
                      Timeline{"two_requests_after_separate_pauses", {0, 100}, -1, 2, {40, 140}, -1},
                      Timeline{"cancelled_within_the_pause", {0}, 30, 0, {}, 0},
                      Timeline{"cancelled_then_asked_again", {0, 50}, 20, 1, {90}, 11}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CompletionCoordinatorTest, ReadsTheTextWhenThePauseEndsNotBefore) {
    request(3);
    clock->advance(39ms);
    EXPECT_EQ(reads, 0) << "nothing holds the text while the pause runs";
    text += QStringLiteral("ti");
    clock->advance(1ms);
    EXPECT_EQ(reads, 1);
    ASSERT_EQ(seenTexts.size(), 1u);
    EXPECT_EQ(seenTexts.front(), text);
}

TEST_F(CompletionCoordinatorTest, DropsARequestWhoseTextMovedOnWithoutAnotherRequest) {
    request(3);
    textIsCurrent = false;
    clock->advance(100ms);
    EXPECT_EQ(reads, 1);
    EXPECT_EQ(engineCalls, 0);
    EXPECT_TRUE(delegate.deliveries.empty());
}

TEST_F(CompletionCoordinatorTest, CancelOrNewRequestDuringTheEngineCallSuppressesItsDelivery) {
    duringEngine = [this] { coordinator->cancel(); };
    request(3);
    clock->advance(40ms);
    EXPECT_EQ(engineCalls, 1) << "the engine call finishes";
    EXPECT_TRUE(delegate.deliveries.empty());

    duringEngine = [this] {
        duringEngine = nullptr;
        request(7);
    };
    request(5);
    clock->advance(40ms);
    EXPECT_TRUE(delegate.deliveries.empty()) << "the request made meanwhile replaces this one";
    clock->advance(40ms);
    ASSERT_EQ(delegate.deliveries.size(), 1u);
    EXPECT_EQ(delegate.deliveries.front().caret, 7);
}

TEST_F(CompletionCoordinatorTest, WithoutDelegateOrCoordinatorTheResultVanishes) {
    coordinator->setDelegate(nullptr);
    request(3);
    clock->advance(40ms);
    EXPECT_EQ(engineCalls, 1);
    EXPECT_TRUE(delegate.deliveries.empty());

    coordinator->setDelegate(&delegate);
    request(3);
    coordinator.reset();
    clock->advance(100ms);
    EXPECT_EQ(engineCalls, 1) << "a destroyed coordinator leaves nothing to run";
    EXPECT_TRUE(delegate.deliveries.empty());
}

TEST_F(CompletionCoordinatorTest, AnEmptyResultIsDeliveredLikeAnyOther) {
    itemsPerResult = 0;
    request(3);
    clock->advance(40ms);
    ASSERT_EQ(delegate.deliveries.size(), 1u);
    EXPECT_EQ(delegate.deliveries.front().itemCount, 0u);
    EXPECT_FALSE(coordinator->isPending());
}

TEST(CompletionCoordinatorDefaultEngine, AnswersLikeTheEngine) {
    auto clock = std::make_shared<CarvexPlatform::FakeMainScheduler>();
    CompletionCoordinator coordinator(CompletionCoordinator::defaultEngine(), CompletionCoordinator::defaultDebounceInterval,
                                      clock);
    RecordingDelegate delegate(*clock);
    coordinator.setDelegate(&delegate);
    const QString text = QStringLiteral("openapi: 3.0.0\ninfo:\n  ti");
    coordinator.requestCompletions([&text]() { return &text; }, text.size(), DocumentFormat::yaml, {});
    clock->advance(40ms);
    ASSERT_EQ(delegate.deliveries.size(), 1u);
    EXPECT_GE(delegate.deliveries.front().itemCount, 1u) << "\"title\" at least";
    EXPECT_EQ(coordinator.debounceInterval(), 40ms);
}

}  // namespace
}  // namespace Carvex
