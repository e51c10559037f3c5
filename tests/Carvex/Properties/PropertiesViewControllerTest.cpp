#include "Carvex/Documents/Document.h"
#include "Carvex/Properties/PropertiesViewController.h"
#include "platform/NotificationCenter.h"
#include "platform/Storyboard.h"
#include "platform/TestApplication.h"

#include <gtest/gtest.h>

namespace {

using Carvex::PropertiesViewController;

class RecordingCoordinator : public Carvex::PropertiesViewCoordinator {
public:
    void documentDidChange(const QString&, Carvex::DocumentFormat) override {}
};

class RecordingNavigationDelegate : public QObject, public Carvex::PropertiesViewControllerDelegate {
public:
    void propertiesViewControllerDidRequestNavigation(PropertiesViewController&, int line) override {
        lines.push_back(line);
    }
    std::vector<int> lines;
};

TEST(PropertiesViewControllerTest, DocumentReachesTheCoordinatorWhicheverComesFirst) {
    CarvexPlatform::TestApplication::ensure();
    Carvex::Document document;
    PropertiesViewController early;
    early.setCoordinator(std::make_unique<RecordingCoordinator>());
    early.setDocument(&document);
    EXPECT_EQ(early.coordinator()->document(), &document);

    PropertiesViewController late;
    late.setDocument(&document);
    EXPECT_EQ(late.coordinator(), nullptr) << "an empty pane until the browser gives it one";
    late.setCoordinator(std::make_unique<RecordingCoordinator>());
    EXPECT_EQ(late.coordinator()->document(), &document);
    EXPECT_EQ(late.document(), &document);
}

TEST(PropertiesViewControllerTest, NavigationGoesToTheDelegateOrIsPosted) {
    CarvexPlatform::TestApplication::ensure();
    PropertiesViewController pane;
    std::vector<QVariant> posted;
    auto observation = CarvexPlatform::NotificationCenter::defaultCenter().observe(
        PropertiesViewController::didRequestNavigationNotification, nullptr,
        [&](const CarvexPlatform::Notification& note) { posted.push_back(note.userInfo.value(QStringLiteral("line"))); });
    pane.requestNavigation(12);
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].toInt(), 12);
    EXPECT_EQ(PropertiesViewController::didRequestNavigationNotification,
              "PropertiesViewControllerDidRequestNavigation");
    {
        RecordingNavigationDelegate delegate;
        pane.setNavigationDelegate(&delegate);
        pane.requestNavigation(3);
        EXPECT_EQ(delegate.lines, std::vector<int>{3});
        EXPECT_EQ(posted.size(), 1u);
    }
    EXPECT_EQ(pane.navigationDelegate(), nullptr) << "held weakly";
    {
        auto example = std::make_unique<CarvexPlatform::ViewController>();
        pane.setExampleGeneratorViewController(example.get());
        EXPECT_EQ(pane.exampleGeneratorViewController(), example.get());
    }
    EXPECT_EQ(pane.exampleGeneratorViewController(), nullptr);

    CarvexPlatform::Storyboard storyboard(QStringLiteral("PropertiesTest"));
    PropertiesViewController::registerScene(storyboard);
    EXPECT_NE(storyboard.instantiateController<PropertiesViewController>(PropertiesViewController::sceneIdentifier),
              nullptr);
}

}  // namespace
