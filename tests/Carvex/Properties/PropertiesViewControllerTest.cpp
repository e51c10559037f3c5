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
    void documentDidClose() override {}
};

class SilentExamplePanel : public QObject, public Carvex::ExampleGeneratorPanel {
public:
    void setCurrentModel(const std::optional<Carvex::ParsedOpenAPIModel>&) override {}
    const std::vector<Carvex::OperationRowViewModel>& operations() const override { return rows; }
    void setOperations(std::vector<Carvex::OperationRowViewModel>) override {}
    int selectedOperationIndex() const override { return -1; }
    void reloadOperations(const std::optional<QString>&, std::optional<Carvex::HTTPMethod>) override {}
    void reloadTargets() override {}
    void updateEmptyState() override {}
    void clear() override {}
    std::vector<Carvex::OperationRowViewModel> rows;
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
    EXPECT_EQ(late.coordinator(), nullptr) << "none until the view loads";
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
        SilentExamplePanel example;
        pane.setExampleGeneratorViewController(&example);
        EXPECT_EQ(pane.exampleGeneratorViewController(), &example);
        pane.setCoordinator(std::make_unique<RecordingCoordinator>());
        EXPECT_EQ(pane.coordinator()->exampleGeneratorViewController(), &example);
        SilentExamplePanel later;
        pane.setExampleGeneratorViewController(&later);
        EXPECT_EQ(pane.coordinator()->exampleGeneratorViewController(), &later);
    }
    EXPECT_EQ(pane.exampleGeneratorViewController(), nullptr);

    CarvexPlatform::Storyboard storyboard(QStringLiteral("PropertiesTest"));
    PropertiesViewController::registerScene(storyboard);
    EXPECT_NE(storyboard.instantiateController<PropertiesViewController>(PropertiesViewController::sceneIdentifier),
              nullptr);
}

}  // namespace
