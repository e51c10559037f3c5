#include "platform/NotificationCenter.h"
#include "platform/FakeMainScheduler.h"
#include "platform/ScopedMainScheduler.h"
#include "platform/TestApplication.h"

#include <gtest/gtest.h>

#include <QObject>
#include <memory>
#include <optional>
#include <thread>

using namespace CarvexPlatform;

class NotificationCenterTest : public ::testing::Test {
protected:
    void SetUp() override { TestApplication::ensure(); }
    NotificationCenter center;
};

TEST_F(NotificationCenterTest, DeliversByNameSenderAndUserInfo) {
    int docA = 0, docB = 0;
    std::vector<QString> heard, all;
    auto byName = center.observe("PropertiesViewControllerDidRequestNavigation", nullptr,
                                 [&](const Notification& n) { heard.push_back(n.userInfo.value("line").toString()); });
    auto bySender = center.observe("editorPreferencesDidChange", &docA,
                                   [&](const Notification&) { heard.push_back("A"); });
    auto everyName = center.observe({}, nullptr, [&](const Notification& n) { all.push_back(n.name); });
    center.post("PropertiesViewControllerDidRequestNavigation", &docB, {{"line", 12}});
    center.post("editorPreferencesDidChange", &docB);
    center.post("editorPreferencesDidChange", &docA);
    center.post("somethingElse");
    EXPECT_EQ(heard, (std::vector<QString>{"12", "A"}));
    EXPECT_EQ(all, (std::vector<QString>{"PropertiesViewControllerDidRequestNavigation", "editorPreferencesDidChange",
                                         "editorPreferencesDidChange", "somethingElse"}));
}

TEST_F(NotificationCenterTest, ObserversGoByNameByOwnerOrWhenTheirOwnerDies) {
    auto owner = std::make_unique<QObject>();
    QObject other;
    std::vector<QString> heard;
    const auto record = [&](const Notification& n) { heard.push_back(n.name); };
    center.addObserver(owner.get(), "a", nullptr, record);
    center.addObserver(owner.get(), "b", nullptr, record);
    center.addObserver(&other, "c", nullptr, record);
    center.removeObserver(owner.get(), "a");  // by name: the owner's other names stay
    center.post("a");
    center.post("b");
    owner.reset();
    EXPECT_EQ(center.observerCount(), 1u);
    center.post("b");
    center.post("c");
    center.removeObserver(&other);
    center.post("c");
    EXPECT_EQ(heard, (std::vector<QString>{"b", "c"}));
    EXPECT_EQ(center.observerCount(), 0u);
}

TEST_F(NotificationCenterTest, ObservationTokenRemovesOnDestruction) {
    int calls = 0;
    {
        auto token = center.observe("n", nullptr, [&](const Notification&) { ++calls; });
        center.post("n");
        NotificationObservation moved = std::move(token);
        EXPECT_FALSE(token.isActive());
        center.post("n");
    }
    center.post("n");
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(center.observerCount(), 0u);
}

TEST_F(NotificationCenterTest, observer_removed_during_delivery_is_not_called_afterwards) {
    std::vector<int> order;
    NotificationObservation second;
    auto first = center.observe("n", nullptr, [&](const Notification&) {
        order.push_back(1);
        second.reset();
    });
    second = center.observe("n", nullptr, [&](const Notification&) { order.push_back(2); });
    center.post("n");
    EXPECT_EQ(order, (std::vector<int>{1}));
}

TEST_F(NotificationCenterTest, observer_that_destroys_itself_while_handling_is_safe) {
    int calls = 0;
    auto* owner = new QObject();
    center.addObserver(owner, "n", nullptr, [&, owner](const Notification&) {
        ++calls;
        delete owner;
    });
    center.post("n");
    center.post("n");
    EXPECT_EQ(calls, 1);
}

TEST_F(NotificationCenterTest, ObserverAddedDuringDeliveryHearsOnlyTheNextPost) {
    int late = 0;
    NotificationObservation added;
    auto first = center.observe("n", nullptr, [&](const Notification&) {
        if (!added.isActive()) {
            added = center.observe("n", nullptr, [&](const Notification&) { ++late; });
        }
    });
    center.post("n");
    EXPECT_EQ(late, 0);
    center.post("n");
    EXPECT_EQ(late, 1);
}

TEST_F(NotificationCenterTest, PostFromAnotherThreadIsDeliveredOnTheMainThread) {
    auto fake = std::make_shared<FakeMainScheduler>();
    ScopedMainScheduler scope(fake);
    std::thread::id deliveredOn;
    auto token = center.observe("n", nullptr,
                                [&](const Notification&) { deliveredOn = std::this_thread::get_id(); });
    std::thread poster([&] { center.post("n"); });
    poster.join();
    EXPECT_EQ(deliveredOn, std::thread::id());
    fake->runPending();
    EXPECT_EQ(deliveredOn, std::this_thread::get_id());
}

TEST_F(NotificationCenterTest, TokenOutlivingTheCentreIsHarmless) {
    // A later centre in the same place, whose first observer has the same number as the token's: a
    // token that reached the centre it was made by (rather than letting it go) would remove it.
    std::optional<NotificationCenter> local;
    local.emplace();
    auto oldHeard = std::make_shared<int>(0);
    NotificationObservation token = local->observe("n", nullptr, [oldHeard](const Notification&) { ++*oldHeard; });
    local.reset();
    EXPECT_EQ(oldHeard.use_count(), 1) << "the handler goes with its centre";
    EXPECT_TRUE(token.isActive());

    local.emplace();
    int laterHeard = 0;
    auto later = local->observe("n", nullptr, [&](const Notification&) { ++laterHeard; });
    token.reset();
    EXPECT_FALSE(token.isActive());
    EXPECT_EQ(local->observerCount(), 1u);
    local->post("n");
    EXPECT_EQ(laterHeard, 1);
    EXPECT_EQ(*oldHeard, 0);
}
