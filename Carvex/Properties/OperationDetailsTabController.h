#pragma once

#include "Carvex/ModelAdapters/OperationDetailsViewModel.h"
#include "Carvex/ModelAdapters/ParsedOpenAPIModel.h"
#include "Carvex/Properties/ElidingLabel.h"
#include "Carvex/Properties/TabButtonBar.h"

#include <QLabel>
#include <QObject>
#include <QPointer>

#include <array>
#include <memory>
#include <optional>

namespace CarvexPlatform {
class ViewController;
}

namespace Carvex {

class BodyTabViewController;
class DescriptionTabViewController;
class SchemaTabViewController;
class ExampleTabViewController;

// Shows one operation in the lower half of the properties pane: a header with the method (in its
// badge colour) and the path (cut in the middle), the tab bar "Description", "Body", "Schema",
// "Example", and the selected tab's view, made on first use and rebuilt from the details at every
// switch. It turns the tabs' reveal requests into the navigation notification, posted with the
// pane as object so that only the pane's own window moves its editor. Main thread only.
class OperationDetailsTabController : public QObject {
    Q_OBJECT

public:
    enum class Tab { description = 0, body = 1, schema = 2, example = 3 };
    static constexpr std::array<Tab, 4> allTabs = {Tab::description, Tab::body, Tab::schema, Tab::example};
    static QString title(Tab tab);
    // The tab of a raw value; nothing outside 0...3.
    static std::optional<Tab> tabFromRawValue(int rawValue);

    explicit OperationDetailsTabController(CarvexPlatform::ViewController* parentController);
    ~OperationDetailsTabController() override;

    // The root view the host pins into its details area.
    QWidget* containerView() const { return containerView_; }

    // Shows an operation, always starting on the Description tab.
    void show(const OperationDetailsViewModel& details, std::optional<ParsedOpenAPIModel> model);
    // Empties the header and removes the shown tab view; the details, the model and the tabs stay.
    void clear();

    void switchToTab(Tab tab);
    // The Body tab's hand-over: shows the Schema tab for the request body (nothing) or a response.
    void switchToSchemaTab(const std::optional<QString>& statusCode);
    // Posts the navigation notification for `line` with the pane as object.
    void requestNavigation(int line);

    Tab currentTab() const { return currentTab_; }
    QWidget* currentChildView() const { return currentChildView_; }
    const std::optional<OperationDetailsViewModel>& currentDetails() const { return currentDetails_; }
    const std::optional<ParsedOpenAPIModel>& currentModel() const { return currentModel_; }
    QLabel* methodLabel() const;
    ElidingLabel* pathLabel() const { return pathLabel_; }
    TabButtonBar* tabBar() const { return tabBar_; }
    QWidget* contentArea() const { return contentArea_; }
    DescriptionTabViewController* descriptionTab() const { return descriptionTabVC_.get(); }
    BodyTabViewController* bodyTab() const { return bodyTabVC_.get(); }
    SchemaTabViewController* schemaTab() const { return schemaTabVC_.get(); }
    ExampleTabViewController* exampleTab() const { return exampleTabVC_.get(); }

private:
    void setupViews();
    QWidget* tabView(Tab tab);

    QPointer<QWidget> containerView_;
    QPointer<QWidget> headerView_;
    QPointer<QLabel> methodLabel_;
    QPointer<ElidingLabel> pathLabel_;
    QPointer<TabButtonBar> tabBar_;
    QPointer<QWidget> contentArea_;
    std::unique_ptr<DescriptionTabViewController> descriptionTabVC_;
    std::unique_ptr<BodyTabViewController> bodyTabVC_;
    std::unique_ptr<SchemaTabViewController> schemaTabVC_;
    std::unique_ptr<ExampleTabViewController> exampleTabVC_;
    Tab currentTab_ = Tab::description;
    QPointer<QWidget> currentChildView_;
    std::optional<ParsedOpenAPIModel> currentModel_;
    std::optional<OperationDetailsViewModel> currentDetails_;
    QPointer<CarvexPlatform::ViewController> parentController_;
    const void* navigationSender_ = nullptr;
};

}  // namespace Carvex
