// The Schema tab offscreen on the fake clock: its sources and their titles, the header, the mode bar
// over the tree cache, the hand-over from the Body tab, Expand All within the node budget, and what it
// shows of corpus schemas.

#include "Carvex/ModelAdapters/OperationDetailsBuilder.h"
#include "Carvex/Properties/OperationDetailsTabController.h"
#include "Carvex/Properties/PropertiesViewController.h"
#include "Carvex/Properties/SchemaOutlineView.h"
#include "Carvex/Properties/SchemaTabViewController.h"
#include "Carvex/Properties/SchemaTreeCellView.h"
#include "Carvex/Properties/SchemaTreeModel.h"
#include "platform/BackgroundTask.h"
#include "platform/FakeMainScheduler.h"
#include "platform/NotificationCenter.h"
#include "platform/SystemColor.h"
#include "platform/SystemSymbol.h"
#include "platform/TestApplication.h"

#include "../ModelAdapters/SchemaTreeTestSupport.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QToolButton>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace Carvex;
using Mode = SchemaRefResolver::Mode;

const std::string petsBody = R"(paths:
  /pets:
    post:
      requestBody:
        content:
          application/json: {schema: {$ref: '#/components/schemas/Pet'}}
          application/xml: {schema: {type: object, properties: {a: {type: string}}}}
          text/plain: {}
      responses:
        '200':
          description: ok
          content:
            application/json: {schema: {type: array, items: {$ref: '#/components/schemas/Pet'}}}
        '404':
          description: missing
          content:
            application/json: {schema: {$ref: '#/components/schemas/Error'}}
        default:
          description: other
          content:
            application/json: {schema: {$ref: '#/components/schemas/Error'}}
    put:
      requestBody: {$ref: '#/components/requestBodies/PetBody'}
      responses:
        '"201"':
          description: quoted
          content:
            application/json: {schema: {type: string, format: uuid}}
        '204': {description: none}
    get:
      responses:
        '200': {description: ok}
components:
  requestBodies:
    PetBody:
      content:
        application/json: {schema: {$ref: '#/components/schemas/Pet'}}
  schemas:
    Pet:
      type: object
      required: [id]
      properties:
        id: {type: integer, format: int64}
        name: {type: string, description: The pet's name.}
    Error: {type: object, properties: {code: {type: integer}}}
)";

OperationDetailsViewModel detailsOf(const ParsedOpenAPIModel& model, HTTPMethod method, const QString& path = "/pets")
{
    const auto details = OperationDetailsBuilder().build(OperationID{path, method}, model);
    EXPECT_TRUE(details.has_value()) << path.toStdString();
    return details.value_or(OperationDetailsViewModel{});
}

QStringList popupTitles(const QComboBox& popup)
{
    QStringList titles;
    for (int i = 0; i < popup.count(); ++i)
        titles << popup.itemText(i);
    return titles;
}

QStringList childNames(const SchemaTreeNode::Ptr& node)
{
    QStringList names;
    if (node) {
        for (const auto& child : node->children())
            names << child->name();
    }
    return names;
}

class SchemaTabTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CarvexPlatform::TestApplication::ensure();
        previous = CarvexPlatform::MainScheduler::setShared(fake);
    }
    void TearDown() override
    {
        CarvexPlatform::BackgroundTask::waitForIdle();
        fake->runPending();
        CarvexPlatform::MainScheduler::setShared(previous);
    }

    // Whether the tab shows the tree (header, toolbar, outline) and not the empty state.
    static bool showsTree(SchemaTabViewController& tab)
    {
        return !tab.headerBar()->isHidden() && !tab.toolbarBar()->isHidden() && !tab.outlineView()->isHidden()
            && tab.emptyStateView()->isHidden();
    }
    static bool showsEmptyState(SchemaTabViewController& tab)
    {
        return tab.headerBar()->isHidden() && tab.toolbarBar()->isHidden() && tab.outlineView()->isHidden()
            && !tab.emptyStateView()->isHidden();
    }

    std::shared_ptr<CarvexPlatform::FakeMainScheduler> fake = std::make_shared<CarvexPlatform::FakeMainScheduler>();
    std::shared_ptr<CarvexPlatform::MainScheduler> previous;
};

TEST_F(SchemaTabTest, ListsTheSourcesInOrderWithTheirTitlesAndHeader)
{
    const ParsedOpenAPIModel model = SchemaTreeTestSupport::modelOf(petsBody);
    struct Row {
        const char* name;
        HTTPMethod method;
        QStringList titles;
        QString header;
    };
    const Row rows[] = {
        {"request body media types, then responses, default last; a content without schema is left out",
         HTTPMethod::post,
         {"Request Body (application/json)", "Request Body (application/xml)", "200 Response (application/json)",
          "404 Response (application/json)", "default Response (application/json)"},
         "Pet"},
        {"a body given by reference; a quoted status code", HTTPMethod::put,
         {"Request Body (application/json)", "201 Response (application/json)"}, "Pet"},
        {"no schema at all", HTTPMethod::get, {}, ""},
    };
    SchemaTabViewController tab;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        tab.configure(detailsOf(model, row.method), model);
        EXPECT_EQ(popupTitles(*tab.sourcePopup()), row.titles);
        ASSERT_EQ(tab.availableSources().size(), std::size_t(row.titles.size()));
        EXPECT_EQ(tab.selectedSourceIndex(), 0);
        if (row.titles.isEmpty()) {
            EXPECT_TRUE(showsEmptyState(tab));
            EXPECT_EQ(tab.sourcePopup()->count(), 0);
            continue;
        }
        EXPECT_TRUE(showsTree(tab));
        EXPECT_EQ(tab.sourcePopup()->currentIndex(), 0);
        EXPECT_EQ(tab.schemaNameLabel()->text(), row.header);
        ASSERT_TRUE(tab.rootNode());
        EXPECT_EQ(tab.outlineView()->treeModel().root(), tab.rootNode());
    }

    // Without a model the empty state shows; the message and its symbol are there.
    tab.configure(detailsOf(model, HTTPMethod::post), std::nullopt);
    EXPECT_TRUE(showsEmptyState(tab));
    const QStringList texts = [&] {
        QStringList found;
        for (const QLabel* label : tab.emptyStateView()->findChildren<QLabel*>())
            found << label->text();
        return found;
    }();
    EXPECT_TRUE(texts.contains(QStringLiteral("No schema available")));
    auto* image = tab.emptyStateView()->findChild<QLabel*>(QStringLiteral("schemaEmptyImage"));
    ASSERT_NE(image, nullptr);
    EXPECT_FALSE(image->pixmap().isNull());
    // Symbols are tinted, translucent colours included: nothing darker than the tint is left.
    const auto strongestAlpha = [](const QImage& picture) {
        int strongest = 0;
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x)
                strongest = std::max(strongest, qAlpha(picture.pixel(x, y)));
        }
        return strongest;
    };
    const QColor tertiary = CarvexPlatform::systemColor(CarvexPlatform::SystemColor::tertiaryLabel);
    const QColor secondary = CarvexPlatform::systemColor(CarvexPlatform::SystemColor::secondaryLabel);
    EXPECT_GT(strongestAlpha(image->pixmap().toImage()), 0);
    EXPECT_LE(strongestAlpha(image->pixmap().toImage()), tertiary.alpha() + 1);
    const QImage expandIcon = tab.expandAllButton()->icon().pixmap(24, 24).toImage();
    EXPECT_GT(strongestAlpha(expandIcon), 0);
    EXPECT_LE(strongestAlpha(expandIcon), secondary.alpha() + 1);
    EXPECT_TRUE(CarvexPlatform::SystemSymbol::names().contains(QStringLiteral("list.bullet.indent")));

    // The pop-up is at most 200 wide; the mode bar reads Referenced, Resolved.
    EXPECT_LE(tab.sourcePopup()->maximumWidth(), 200);
    ASSERT_EQ(tab.modeBar()->buttons().size(), 2u);
    EXPECT_EQ(tab.modeBar()->buttons()[0]->text(), QStringLiteral("Referenced"));
    EXPECT_EQ(tab.modeBar()->buttons()[1]->text(), QStringLiteral("Resolved"));
}

TEST_F(SchemaTabTest, ResponseSchemaTrimsQuotesAndFallsBackToTheDefault)
{
    const ParsedOpenAPIModel model = SchemaTreeTestSupport::modelOf(petsBody);
    const auto adapter = model.makeAdapter();
    struct Row {
        HTTPMethod method;
        const char* statusCode;
        const char* contentType;
        bool found;
    };
    const Row rows[] = {
        {HTTPMethod::post, "200", "application/json", true},   {HTTPMethod::post, "default", "application/json", true},
        {HTTPMethod::post, "200", "application/xml", false},   {HTTPMethod::post, "500", "application/json", false},
        {HTTPMethod::put, "201", "application/json", true},    {HTTPMethod::put, "\"201\"", "application/json", false},
        {HTTPMethod::put, "204", "application/json", false},   {HTTPMethod::put, "default", "application/json", false},
        {HTTPMethod::delete_, "200", "application/json", false},
    };
    OperationDetailsViewModel details;
    for (const Row& row : rows) {
        details.id = OperationID{QStringLiteral("/pets"), row.method};
        EXPECT_EQ(SchemaTabViewController::responseSchema(row.statusCode, row.contentType, *adapter, details).has_value(),
                  row.found)
            << rawValue(row.method) << " " << row.statusCode << " " << row.contentType;
    }
}

TEST_F(SchemaTabTest, ModeSwitchKeepsTheSourceAndReusesTheCachedTree)
{
    const ParsedOpenAPIModel model = SchemaTreeTestSupport::modelOf(petsBody);
    SchemaTabViewController tab;
    tab.configure(detailsOf(model, HTTPMethod::post), model);
    EXPECT_EQ(tab.currentMode(), Mode::referenced);

    // Referenced: the body is one row typed Pet; Resolved: its properties.
    const SchemaTreeNode::Ptr referenced = tab.rootNode();
    ASSERT_TRUE(referenced);
    EXPECT_EQ(referenced->typeDescription(), QStringLiteral("Pet"));
    EXPECT_TRUE(referenced->children().empty());
    tab.modeBar()->buttons()[1]->click();
    EXPECT_EQ(tab.currentMode(), Mode::resolved);
    EXPECT_EQ(tab.selectedSourceIndex(), 0);
    EXPECT_EQ(childNames(tab.rootNode()), QStringList({"id", "name"}));
    EXPECT_EQ(tab.cache().cache().size(), 2u);
    tab.modeBar()->buttons()[0]->click();
    EXPECT_EQ(tab.rootNode(), referenced);
    EXPECT_EQ(tab.cache().cache().size(), 2u);

    // The user's choice of another source keeps the mode; filling the pop-up builds nothing.
    tab.sourcePopup()->setCurrentIndex(2);
    emit tab.sourcePopup()->activated(2);
    EXPECT_EQ(tab.selectedSourceIndex(), 2);
    EXPECT_EQ(tab.rootNode()->typeDescription(), QStringLiteral("array[Pet]"));
    EXPECT_EQ(tab.schemaNameLabel()->text(), QStringLiteral("array[Pet]"));
    const std::size_t trees = tab.cache().cache().size();
    tab.updateSourcePopup();
    tab.sourcePopup()->setCurrentIndex(3);
    EXPECT_EQ(tab.cache().cache().size(), trees);
    EXPECT_EQ(tab.selectedSourceIndex(), 2);

    // Another operation keeps the mode and starts on its first source.
    tab.modeSelected(1);
    tab.configure(detailsOf(model, HTTPMethod::put), model);
    EXPECT_EQ(tab.currentMode(), Mode::resolved);
    EXPECT_EQ(tab.modeBar()->selectedIndex(), 1);
    EXPECT_EQ(tab.selectedSourceIndex(), 0);
    EXPECT_EQ(childNames(tab.rootNode()), QStringList({"id", "name"}));
}

TEST_F(SchemaTabTest, SelectSourceChoosesTheBodyOrAResponseAndIgnoresMisses)
{
    const ParsedOpenAPIModel model = SchemaTreeTestSupport::modelOf(petsBody);
    SchemaTabViewController tab;
    tab.configure(detailsOf(model, HTTPMethod::post), model);
    struct Step {
        std::optional<QString> statusCode;
        int expected;
    };
    const Step steps[] = {
        {QStringLiteral("404"), 3}, {std::nullopt, 0},        {QStringLiteral("default"), 4},
        {QStringLiteral("599"), 4}, {QStringLiteral(""), 4},   {QStringLiteral("200"), 2},
    };
    for (const Step& step : steps) {
        tab.selectSource(step.statusCode);
        EXPECT_EQ(tab.selectedSourceIndex(), step.expected) << step.statusCode.value_or("(none)").toStdString();
        EXPECT_EQ(tab.sourcePopup()->currentIndex(), step.expected);
        EXPECT_EQ(tab.rootNode(), tab.outlineView()->treeModel().root());
    }
    EXPECT_EQ(tab.schemaNameLabel()->text(), QStringLiteral("array[Pet]"));

    // An operation without a request body keeps its selection when asked for one.
    tab.configure(detailsOf(model, HTTPMethod::put), model);
    tab.selectSource(QStringLiteral("201"));
    tab.selectSource(std::nullopt);
    EXPECT_EQ(tab.selectedSourceIndex(), 0);
}

TEST_F(SchemaTabTest, AnEditBetweenTwoConfiguresShowsTheNewTreeAndReleasesTheOld)
{
    const ParsedOpenAPIModel before = SchemaTreeTestSupport::modelOf(petsBody);
    std::string edited = petsBody;
    edited.replace(edited.find("        name: {type: string"), 0, "        tag: {type: string}\n");
    const ParsedOpenAPIModel after = SchemaTreeTestSupport::modelOf(edited);

    SchemaTabViewController tab;
    tab.modeSelected(1);
    tab.configure(detailsOf(before, HTTPMethod::post), before);
    std::weak_ptr<const SchemaTreeNode> old = tab.rootNode();
    EXPECT_EQ(childNames(tab.rootNode()), QStringList({"id", "name"}));
    tab.configure(detailsOf(after, HTTPMethod::post), after);
    EXPECT_EQ(childNames(tab.rootNode()), QStringList({"id", "name", "tag"}));
    EXPECT_EQ(tab.cache().cache().size(), 1u);
    CarvexPlatform::BackgroundTask::waitForIdle();
    EXPECT_TRUE(old.expired()) << "the earlier tree is still held";

    // Told of a newer model, the tab lets go of everything at once; configured, it builds afresh.
    old = tab.rootNode();
    tab.releaseModelUnless(after);
    EXPECT_EQ(tab.rootNode(), old.lock());
    tab.releaseModelUnless(before);
    EXPECT_FALSE(tab.rootNode());
    EXPECT_TRUE(tab.cache().cache().empty());
    EXPECT_EQ(tab.outlineView()->treeModel().rowCount(), 0);
    CarvexPlatform::BackgroundTask::waitForIdle();
    EXPECT_TRUE(old.expired());
    tab.configure(detailsOf(before, HTTPMethod::post), before);
    EXPECT_EQ(childNames(tab.rootNode()), QStringList({"id", "name"}));
}

TEST_F(SchemaTabTest, DescriptionWidthsFollowTheOutline)
{
    const ParsedOpenAPIModel model = SchemaTreeTestSupport::modelOf(petsBody);
    SchemaTabViewController tab;
    tab.configure(detailsOf(model, HTTPMethod::post), model);
    tab.modeSelected(1);
    tab.view()->resize(400, 300);
    tab.view()->show();
    QApplication::processEvents();
    SchemaOutlineView& outline = *tab.outlineView();
    struct Width {
        int view;
        int level;
    };
    for (const Width& width : {Width{400, 0}, Width{360, 1}, Width{90, 0}}) {
        tab.view()->resize(width.view, 300);
        QApplication::processEvents();
        const qreal outlineWidth = outline.viewport()->width();
        EXPECT_EQ(outline.lastKnownOutlineWidth(), outlineWidth);
        EXPECT_EQ(outline.cellView().descriptionWidth(width.level),
                  std::max<qreal>(100, outlineWidth - 16 * (width.level + 1) - 8));
    }
    outline.cellView().setOutlineWidth(300);
    EXPECT_EQ(outline.cellView().descriptionWidth(0), 276);
    outline.cellView().setOutlineWidth(50);
    EXPECT_EQ(outline.cellView().descriptionWidth(0), 100);

    // The row of `name`, which has a description, is taller than the others.
    tab.view()->resize(400, 300);
    QApplication::processEvents();
    const QModelIndex root = outline.model()->index(0, 0);
    EXPECT_EQ(outline.visualRect(outline.model()->index(0, 0, root)).height(), 24);
    EXPECT_GT(outline.visualRect(outline.model()->index(1, 0, root)).height(), 24);
}

// Ten references per level over eight levels: resolved, far beyond the node budget.
std::string fanOutBody()
{
    std::string text = "paths:\n  /fan:\n    post:\n      requestBody:\n        content:\n"
                       "          application/json: {schema: {$ref: '#/components/schemas/L0'}}\n"
                       "      responses:\n        '200': {description: ok}\n"
                       "components:\n  schemas:\n";
    for (int level = 0; level < 8; ++level) {
        text += "    L" + std::to_string(level) + ":\n      type: object\n      properties:\n";
        for (int i = 0; i < 10; ++i)
            text += "        p" + std::to_string(i) + ": {$ref: '#/components/schemas/L" + std::to_string(level + 1)
                + "'}\n";
    }
    text += "    L8: {type: string}\n";
    return text;
}

TEST_F(SchemaTabTest, ExpandAllOnTheFanOutStopsAtTheBudgetAndCollapseAllClosesIt)
{
    const ParsedOpenAPIModel model = SchemaTreeTestSupport::modelOf(fanOutBody());
    SchemaTabViewController tab;
    tab.view()->resize(400, 300);
    tab.view()->show();
    tab.configure(detailsOf(model, HTTPMethod::post, "/fan"), model);
    tab.modeBar()->buttons()[1]->click();
    SchemaOutlineView& outline = *tab.outlineView();
    SchemaTreeModel& rows = outline.treeModel();
    const QModelIndex root = rows.index(0, 0);
    EXPECT_TRUE(outline.isExpanded(root));
    EXPECT_FALSE(outline.isExpanded(rows.index(0, 0, root)));

    tab.expandAllButton()->click();
    QApplication::processEvents();
    // Every row shown is counted: the opened rows' children stay within the budget, and the upper
    // levels are open whole.
    long long shown = 1;
    std::vector<QModelIndex> level = {root};
    std::vector<int> openedPerLevel;
    while (!level.empty()) {
        std::vector<QModelIndex> next;
        int opened = 0;
        for (const QModelIndex& index : level) {
            if (!outline.isExpanded(index))
                continue;
            ++opened;
            for (int row = 0; row < rows.rowCount(index); ++row)
                next.push_back(rows.index(row, 0, index));
        }
        shown += static_cast<long long>(next.size());
        openedPerLevel.push_back(opened);
        level = std::move(next);
    }
    EXPECT_LE(shown, SchemaRefResolver::defaultNodeBudget);
    ASSERT_GE(openedPerLevel.size(), 4u);
    EXPECT_EQ(openedPerLevel[0], 1);
    EXPECT_EQ(openedPerLevel[1], 10);
    EXPECT_EQ(openedPerLevel[2], 100);
    EXPECT_EQ(openedPerLevel[3], 1000);

    tab.collapseAllButton()->click();
    EXPECT_FALSE(outline.isExpanded(root));
    EXPECT_FALSE(outline.isExpanded(rows.index(9, 0, root)));
}

TEST_F(SchemaTabTest, EveryBadBranchEndsInALeafOfItsOwn)
{
    std::string deep = "{type: string}";
    for (int i = 0; i < 25; ++i)
        deep = "{type: object, required: [n], properties: {n: " + deep + "}}";
    const std::string body = "paths:\n  /bad:\n    post:\n      requestBody:\n        content:\n"
                             "          application/json: {schema: {type: object, properties: {"
                             "cycle: {$ref: '#/components/schemas/Node'}, "
                             "outside: {$ref: 'other.yaml#/components/schemas/Pet'}, "
                             "missing: {$ref: '#/components/schemas/Missing'}, "
                             "deep: " + deep + "}}}\n"
                             "      responses:\n        '200': {description: ok}\n"
                             "components:\n  schemas:\n"
                             "    Node: {type: object, properties: {next: {$ref: '#/components/schemas/Node'}}}\n";
    const ParsedOpenAPIModel model = SchemaTreeTestSupport::modelOf(body);
    SchemaTabViewController tab;
    tab.view()->resize(400, 300);
    tab.view()->show();
    tab.modeSelected(1);
    tab.configure(detailsOf(model, HTTPMethod::post, "/bad"), model);
    ASSERT_TRUE(tab.rootNode());
    EXPECT_EQ(tab.schemaNameLabel()->text(), QStringLiteral("object"));
    tab.expandAll();
    QApplication::processEvents();
    const auto& children = tab.rootNode()->children();
    ASSERT_EQ(children.size(), 4u);
    struct Leaf {
        const char* name;
        QString typeText;
        QString marker;
    };
    EXPECT_EQ(childNames(tab.rootNode()), QStringList({"cycle", "deep", "missing", "outside"}));
    const SchemaTreeNode::Ptr next = children[0]->children().at(0);
    SchemaTreeNode::Ptr deepest = children[1];
    while (!deepest->children().empty())
        deepest = deepest->children().front();
    const std::vector<std::pair<SchemaTreeNode::Ptr, Leaf>> leaves = {
        {next, {"next: a cycle", "Node", QStringLiteral("↻ circular")}},
        {children[3], {"outside", "external", QStringLiteral("↗ external")}},
        {children[2], {"missing", "Missing", QStringLiteral("→ Missing")}},
        {deepest, {"the depth limit", "...", QString()}},
    };
    for (const auto& [node, leaf] : leaves) {
        SCOPED_TRACE(leaf.name);
        const SchemaTreeCellView::Content content = SchemaTreeCellView::contentOf(*node);
        EXPECT_EQ(content.typeText, leaf.typeText);
        EXPECT_EQ(content.refText, leaf.marker);
        EXPECT_TRUE(node->children().empty());
    }
    EXPECT_TRUE(SchemaTreeCellView::contentOf(*deepest).badges.empty());
}

// The Body tab's hand-over and a row's Reveal in Editor, through the tab controller.
TEST_F(SchemaTabTest, TheTabControllerHandsOverAndTurnsRevealsIntoNavigation)
{
    std::vector<int> lines;
    const auto observation = CarvexPlatform::NotificationCenter::defaultCenter().observe(
        PropertiesViewController::didRequestNavigationNotification, nullptr,
        [&](const CarvexPlatform::Notification& notification) {
            lines.push_back(notification.userInfo.value(PropertiesViewController::lineKey).toInt());
        });
    const ParsedOpenAPIModel model = SchemaTreeTestSupport::modelOf(petsBody);
    PropertiesViewController pane;
    OperationDetailsTabController controller(&pane);
    controller.show(detailsOf(model, HTTPMethod::post), model);
    EXPECT_EQ(controller.schemaTab(), nullptr);

    struct HandOver {
        std::optional<QString> statusCode;
        int expected;
    };
    for (const HandOver& handOver : {HandOver{QStringLiteral("404"), 3}, HandOver{std::nullopt, 0},
                                     HandOver{QStringLiteral("599"), 0}, HandOver{QStringLiteral("default"), 4}}) {
        controller.switchToTab(OperationDetailsTabController::Tab::body);
        controller.switchToSchemaTab(handOver.statusCode);
        ASSERT_NE(controller.schemaTab(), nullptr);
        EXPECT_EQ(controller.currentTab(), OperationDetailsTabController::Tab::schema);
        EXPECT_EQ(controller.currentChildView(), controller.schemaTab()->view());
        EXPECT_EQ(controller.schemaTab()->selectedSourceIndex(), handOver.expected);
    }

    SchemaTabViewController& tab = *controller.schemaTab();
    ASSERT_TRUE(tab.outlineView()->cellView().onRevealInEditor);
    tab.outlineView()->cellView().onRevealInEditor(42);
    EXPECT_EQ(lines, std::vector<int>{42});

    // Showing another model lets the Schema tab drop its trees at once.
    const ParsedOpenAPIModel other = SchemaTreeTestSupport::modelOf(petsBody);
    controller.show(detailsOf(other, HTTPMethod::post), other);
    EXPECT_TRUE(tab.cache().cache().empty());
    controller.switchToTab(OperationDetailsTabController::Tab::schema);
    EXPECT_EQ(tab.cache().cache().size(), 1u);
}

// Corpus schemas: petstore-expanded's Pet is an allOf of NewPet and its own id; uspto's data sets
// nest an array of objects, and its search response is an array of free objects.
TEST_F(SchemaTabTest, CorpusSchemasShowTheirTrees)
{
    const QString corpus = QStringLiteral(CARVEX_SHARED_DIR "/corpus/oai/v3.0/");
    if (!QFile::exists(corpus + "petstore-expanded.yaml") || !QFile::exists(corpus + "uspto.yaml"))
        GTEST_SKIP() << "the shared corpus is not here";
    auto load = [&](const char* name) {
        QFile file(corpus + name);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return ParsedOpenAPIModel(VoziZazIre::OpenApiParser()
                                      .parse(file.readAll().toStdString(), VoziZazIre::Format::yaml,
                                             VoziZazIreCore::ValidationLevel::none)
                                      .document);
    };
    struct Row {
        const char* name;
        const char* file;
        HTTPMethod method;
        const char* path;
        std::optional<QString> statusCode;
        QString header;
        std::string referenced;
        std::string resolved;
    };
    const Row rows[] = {
        {"petstore-expanded: the list of pets", "petstore-expanded.yaml", HTTPMethod::get, "/pets", QStringLiteral("200"),
         "array[Pet]",
         "root: array[Pet]\n  items: Pet @Pet\n",
         "root: array[Pet]\n  items: allOf <allOf> @Pet\n    name: string [required]\n    tag: string\n"
         "    id: integer (int64) [required]\n"},
        {"petstore-expanded: a new pet", "petstore-expanded.yaml", HTTPMethod::post, "/pets", std::nullopt, "NewPet",
         "root: NewPet @NewPet\n",
         "root: object @NewPet\n  name: string [required]\n  tag: string\n"},
        {"uspto: the data sets", "uspto.yaml", HTTPMethod::get, "/", QStringLiteral("200"), "dataSetList",
         "root: dataSetList @dataSetList\n",
         "root: object @dataSetList\n  apis: array[object]\n    items: object\n"
         "      apiDocumentationUrl: string (uri-reference)\n      apiKey: string\n"
         "      apiUrl: string (uri-reference)\n      apiVersionNumber: string\n  total: integer\n"},
        {"uspto: the search response, additional properties without a properties map", "uspto.yaml",
         HTTPMethod::post, "/{dataset}/{version}/records", QStringLiteral("200"), "array[object]",
         "root: array[object]\n  items: object\n", "root: array[object]\n  items: object\n"},
    };
    SchemaTabViewController tab;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const ParsedOpenAPIModel model = load(row.file);
        tab.modeSelected(0);
        tab.configure(detailsOf(model, row.method, row.path), model);
        tab.selectSource(row.statusCode);
        EXPECT_EQ(tab.schemaNameLabel()->text(), row.header);
        EXPECT_EQ(SchemaTreeTestSupport::printed(tab.rootNode()), row.referenced);
        tab.modeSelected(1);
        EXPECT_EQ(SchemaTreeTestSupport::printed(tab.rootNode()), row.resolved);
    }
}

} // namespace
