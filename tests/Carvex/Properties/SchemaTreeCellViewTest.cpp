#include "Carvex/ModelAdapters/SchemaTreeBuilder.h"
#include "Carvex/Properties/SchemaTreeCellView.h"
#include "Carvex/Properties/SchemaTreeExpansion.h"
#include "Carvex/Properties/SchemaTreeModel.h"
#include "platform/SystemColor.h"
#include "platform/TestApplication.h"

#include "../ModelAdapters/SchemaTreeTestSupport.h"

#include <QMouseEvent>
#include <QStyleOptionViewItem>
#include <QTextBlock>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <set>

namespace {

using Carvex::SchemaNodeBadge;
using Carvex::SchemaTreeCellView;
using Carvex::SchemaTreeModel;
using Carvex::SchemaTreeNode;
using CarvexPlatform::SystemColor;

QColor colorOf(SystemColor color)
{
    return CarvexPlatform::systemColor(color);
}

SchemaTreeNode::Ptr nodeWith(SchemaTreeNode::Fields fields, std::vector<SchemaTreeNode::Ptr> children = {})
{
    return SchemaTreeNode::make(std::move(fields), std::move(children));
}

// Counts how often a deferred node makes its children.
class CountingSource : public SchemaTreeNode::ChildSource {
public:
    explicit CountingSource(int* made) : made_(made) {}
    std::vector<SchemaTreeNode::Ptr> makeChildren() override
    {
        ++*made_;
        SchemaTreeNode::Fields a;
        a.name = QStringLiteral("a");
        SchemaTreeNode::Fields b;
        b.name = QStringLiteral("b");
        return {nodeWith(a, {nodeWith(b)}), nodeWith(b)};
    }

private:
    int* made_;
};

TEST(SchemaTreeCellViewTest, ConfigureShowsTypeMarkerBadgesDescriptionAndLine)
{
    CarvexPlatform::TestApplication::ensure();
    struct Row {
        const char* name;
        SchemaTreeNode::Fields fields;
        QString typeText;
        QString refText;
        QColor refColor;
        std::vector<SchemaTreeCellView::Badge> badges;
    };
    auto fields = [](auto fill) {
        SchemaTreeNode::Fields f;
        f.name = QStringLiteral("field");
        fill(f);
        return f;
    };
    const Row rows[] = {
        {"type and format", fields([](auto& f) { f.typeDescription = "string"; f.format = "date-time"; }),
         QStringLiteral("string · date-time"), {}, {}, {}},
        {"empty type hides the type", fields([](auto&) {}), {}, {}, {}, {}},
        {"circular wins over the reference",
         fields([](auto& f) { f.typeDescription = "Node"; f.isCircularRef = true; f.refString = "#/components/schemas/Node"; }),
         "Node", QStringLiteral("↻ circular"), colorOf(SystemColor::systemOrange), {}},
        {"external", fields([](auto& f) { f.isExternalRef = true; f.refString = "other.yaml#/components/schemas/Pet"; }),
         {}, QStringLiteral("↗ external"), colorOf(SystemColor::systemGray), {}},
        {"reference to Pet", fields([](auto& f) { f.typeDescription = "Pet"; f.refString = "#/components/schemas/Pet"; }),
         "Pet", QStringLiteral("→ Pet"), colorOf(SystemColor::systemPurple), {}},
        {"badges sorted by raw value",
         fields([](auto& f) {
             f.badges = {SchemaNodeBadge::required, SchemaNodeBadge::deprecated, SchemaNodeBadge::nullable,
                         SchemaNodeBadge::writeOnly, SchemaNodeBadge::readOnly};
         }),
         {}, {}, {},
         {{"deprecated", colorOf(SystemColor::systemOrange)}, {"nullable", colorOf(SystemColor::systemPurple)},
          {"readOnly", colorOf(SystemColor::systemGray)}, {"required", colorOf(SystemColor::systemRed)},
          {"writeOnly", colorOf(SystemColor::systemGray)}}},
    };
    SchemaTreeCellView cell;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        cell.configure(*nodeWith(row.fields));
        EXPECT_EQ(cell.content().name, QStringLiteral("field"));
        EXPECT_EQ(cell.content().typeText, row.typeText);
        EXPECT_EQ(cell.content().refText, row.refText);
        if (!row.refText.isEmpty()) {
            EXPECT_EQ(cell.content().refColor, row.refColor);
        }
        EXPECT_EQ(cell.content().badges, row.badges);
    }

    // A reused cell keeps nothing of its last node.
    SchemaTreeNode::Fields full;
    full.name = "full";
    full.badges = {SchemaNodeBadge::required};
    full.schemaDescription = "Some words.";
    full.sourceLine = 7;
    full.refString = "#/components/schemas/Pet";
    cell.configure(*nodeWith(full));
    EXPECT_EQ(cell.content().description, std::optional<QString>("Some words."));
    SchemaTreeNode::Fields bare;
    bare.name = "bare";
    bare.schemaDescription = "";
    cell.configure(*nodeWith(bare));
    EXPECT_TRUE(cell.content().badges.empty());
    EXPECT_FALSE(cell.content().description);
    EXPECT_FALSE(cell.content().sourceLine);
    EXPECT_TRUE(cell.content().refText.isEmpty());
    EXPECT_TRUE(cell.layout(cell.content(), QRectF(0, 0, 400, 24)).revealButton.isEmpty());
}

TEST(SchemaTreeCellViewTest, RevealInEditorHitsOnlyThePaintedButton)
{
    CarvexPlatform::TestApplication::ensure();
    SchemaTreeNode::Fields fields;
    fields.name = "name";
    fields.typeDescription = "string";
    fields.badges = {SchemaNodeBadge::required};
    fields.sourceLine = 42;
    SchemaTreeModel model;
    model.setRoot(nodeWith(fields));
    SchemaTreeCellView cell;
    std::vector<int64_t> calls;
    cell.onRevealInEditor = [&](int64_t line) { calls.push_back(line); };

    QStyleOptionViewItem option;
    option.rect = QRect(20, 48, 600, 24);
    const QModelIndex index = model.index(0, 0);
    const QRectF button = cell.layout(SchemaTreeCellView::contentOf(*model.root()), QRectF(option.rect)).revealButton;
    ASSERT_FALSE(button.isEmpty());
    EXPECT_TRUE(QRectF(option.rect).contains(button));

    struct Click {
        const char* name;
        QPointF at;
        std::vector<int64_t> expected;
    };
    const Click clicks[] = {
        {"inside the button", button.center(), {42}},
        {"beside the button", QPointF(button.right() + 4, button.center().y()), {}},
        {"on the name", QPointF(option.rect.left() + 6, button.center().y()), {}},
        {"below the line", QPointF(button.center().x(), option.rect.top() + 23), {}},
    };
    QAbstractItemDelegate& delegate = cell;
    for (const Click& click : clicks) {
        SCOPED_TRACE(click.name);
        calls.clear();
        QMouseEvent press(QEvent::MouseButtonPress, click.at, click.at, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, click.at, click.at, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        delegate.editorEvent(&press, &model, option, index);
        delegate.editorEvent(&release, &model, option, index);
        EXPECT_EQ(calls, click.expected);
    }

    // The button's action without a line or without a callback does nothing.
    calls.clear();
    SchemaTreeNode::Fields lineless;
    lineless.name = "x";
    cell.configure(*nodeWith(lineless));
    cell.revealInEditorClicked();
    cell.configure(*nodeWith(fields));
    cell.revealInEditorClicked();
    EXPECT_EQ(calls, std::vector<int64_t>{42});
    cell.onRevealInEditor = nullptr;
    cell.revealInEditorClicked();
}

TEST(SchemaTreeCellViewTest, RowHeightsFollowTheWidthAndAreMeasuredOncePerWidth)
{
    CarvexPlatform::TestApplication::ensure();
    SchemaTreeCellView cell;
    struct Width {
        qreal outline;
        int level;
        qreal expected;
    };
    const Width widths[] = {{300, 0, 276}, {300, 2, 244}, {90, 0, 100}, {0, 5, 100}};
    for (const Width& width : widths) {
        cell.setOutlineWidth(width.outline);
        EXPECT_EQ(cell.descriptionWidth(width.level), width.expected) << width.outline << " " << width.level;
    }

    SchemaTreeNode::Fields plain;
    plain.name = "plain";
    SchemaTreeNode::Fields described;
    described.name = "described";
    described.schemaDescription = QString("word ").repeated(200);
    SchemaTreeNode::Fields huge;
    huge.name = "huge";
    huge.schemaDescription = QString(1 << 20, QLatin1Char('x'));
    const auto plainNode = nodeWith(plain);
    auto describedNode = nodeWith(described);
    const auto hugeNode = nodeWith(huge);

    cell.setOutlineWidth(300);
    EXPECT_EQ(cell.rowHeight(*plainNode, 0), 24);
    const int wide = cell.rowHeight(*describedNode, 0);
    EXPECT_GT(wide, 24 + 19);
    EXPECT_EQ(cell.rowHeight(*describedNode, 0), wide);
    EXPECT_EQ(cell.rowHeight(*hugeNode, 0), cell.rowHeight(*hugeNode, 0));
    EXPECT_EQ(cell.measurements(), 2);

    cell.setOutlineWidth(150);
    EXPECT_EQ(cell.rowHeight(*plainNode, 0), 24);
    EXPECT_GT(cell.rowHeight(*describedNode, 0), wide);
    cell.rowHeight(*hugeNode, 0);
    cell.rowHeight(*hugeNode, 0);
    EXPECT_EQ(cell.measurements(), 4);

    // A new node, perhaps at the address of a freed one, is measured afresh.
    describedNode.reset();
    const auto fresh = nodeWith(described);
    cell.rowHeight(*fresh, 0);
    EXPECT_EQ(cell.measurements(), 5);
}

TEST(SchemaTreeCellViewTest, DescriptionsWithHTMLAreReadAsTheDescriptionTabReadsThem)
{
    CarvexPlatform::TestApplication::ensure();
    SchemaTreeCellView cell;
    struct Row {
        const char* description;
        bool rich;
        const char* shown;
    };
    const Row rows[] = {
        {"A <b>short</b> name shown in lists.", true, "A short name shown in lists."},
        {"Plain words, 2 < 3 and 4 > 1.", false, nullptr},
        {"", false, nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.description);
        SchemaTreeNode::Fields fields;
        fields.name = "n";
        fields.schemaDescription = QString::fromUtf8(row.description);
        const auto node = nodeWith(fields);
        QTextDocument* document = cell.richDescription(*node);
        ASSERT_EQ(document != nullptr, row.rich);
        if (!document)
            continue;
        EXPECT_EQ(document->toPlainText(), QString::fromUtf8(row.shown));
        bool bold = false;
        for (QTextBlock::iterator it = document->begin().begin(); !it.atEnd(); ++it)
            bold |= it.fragment().text() == "short" && it.fragment().charFormat().fontWeight() >= QFont::Bold;
        EXPECT_TRUE(bold);
        // Prepared once, and measured again at another width.
        EXPECT_EQ(cell.richDescription(*node), document);
        cell.setOutlineWidth(400);
        const int wide = cell.rowHeight(*node, 0);
        cell.setOutlineWidth(110);
        EXPECT_GT(cell.rowHeight(*node, 0), wide);
        EXPECT_GT(wide, 24);
    }

    // Only the rows last used keep their prepared text.
    std::vector<SchemaTreeNode::Ptr> many;
    for (std::size_t i = 0; i < SchemaTreeCellView::preparedDescriptionLimit + 8; ++i) {
        SchemaTreeNode::Fields fields;
        fields.name = "n";
        fields.schemaDescription = QStringLiteral("<i>%1</i>").arg(i);
        many.push_back(nodeWith(fields));
        ASSERT_NE(cell.richDescription(*many.back()), nullptr);
    }
    EXPECT_EQ(cell.richDescription(*many.back())->toPlainText(), QString::number(many.size() - 1));
    EXPECT_EQ(cell.richDescription(*many.front())->toPlainText(), QStringLiteral("0"));
}

TEST(SchemaTreeModelTest, ReadsOnlyTheRowsAskedFor)
{
    CarvexPlatform::TestApplication::ensure();
    int made = 0;
    SchemaTreeNode::Fields rootFields;
    rootFields.name = "root";
    SchemaTreeModel model;
    EXPECT_EQ(model.rowCount(), 0);
    model.setRoot(SchemaTreeNode::makeDeferred(rootFields, std::make_unique<CountingSource>(&made)));
    EXPECT_EQ(model.rowCount(), 1);
    const QModelIndex root = model.index(0, 0);
    EXPECT_EQ(root.data().toString(), "root");
    EXPECT_EQ(made, 0);
    EXPECT_FALSE(model.parent(root).isValid());
    EXPECT_EQ(model.rowCount(root), 2);
    EXPECT_EQ(made, 1);
    const QModelIndex a = model.index(0, 0, root);
    const QModelIndex b = model.index(1, 0, root);
    const QModelIndex ab = model.index(0, 0, a);
    EXPECT_EQ(model.parent(ab), a);
    EXPECT_EQ(model.parent(b), root);
    EXPECT_EQ(model.level(ab), 2);
    EXPECT_FALSE(model.index(2, 0, root).isValid());
    EXPECT_FALSE(model.index(0, 1, root).isValid());
    EXPECT_FALSE(model.index(1, 0).isValid());
    EXPECT_EQ(model.flags(a) & Qt::ItemIsSelectable, Qt::NoItemFlags);
    EXPECT_EQ(made, 1);

    // Another tree replaces the rows.
    SchemaTreeNode::Fields other;
    other.name = "other";
    model.setRoot(nodeWith(other));
    EXPECT_EQ(model.index(0, 0).data().toString(), "other");
    EXPECT_EQ(model.rowCount(model.index(0, 0)), 0);
    model.setRoot(nullptr);
    EXPECT_EQ(model.rowCount(), 0);
}

// Ten references per level over eight levels: resolved, the tree is far beyond the node budget.
std::string fanOut()
{
    std::string text = "paths: {}\ncomponents:\n  schemas:\n";
    for (int level = 0; level < 8; ++level) {
        text += "    L" + std::to_string(level) + ":\n      type: object\n      properties:\n";
        for (int i = 0; i < 10; ++i)
            text += "        p" + std::to_string(i) + ": {$ref: '#/components/schemas/L" + std::to_string(level + 1)
                + "'}\n";
    }
    text += "    L8: {type: string, description: leaf}\n";
    return text;
}

TEST(SchemaTreeExpansionTest, ExpandAllOpensLevelByLevelUpToTheBudget)
{
    CarvexPlatform::TestApplication::ensure();
    const auto parsed = SchemaTreeTestSupport::modelOf(fanOut());
    Carvex::SchemaTreeBuilder builder;
    builder.resolver.documentAdapter = parsed.makeAdapter();
    builder.resolver.mode = Carvex::SchemaRefResolver::Mode::resolved;
    SchemaTreeModel model;
    model.setRoot(builder.buildTree(SchemaTreeTestSupport::refSlot("#/components/schemas/L0")));

    const int budget = Carvex::SchemaRefResolver::defaultNodeBudget;
    const std::vector<QModelIndex> opened = Carvex::expandAllLevels(model, budget);
    std::set<QModelIndex> openedSet(opened.begin(), opened.end());
    long long shown = 1;
    std::vector<int> openedPerLevel(10, 0);
    for (const QModelIndex& index : opened) {
        const QModelIndex parent = index.parent();
        EXPECT_TRUE(!parent.isValid() || openedSet.count(parent)) << "a row opened under a closed one";
        shown += model.rowCount(index);
        ++openedPerLevel[std::size_t(model.level(index))];
        EXPECT_NE(model.node(index)->name(), "...");
    }
    EXPECT_LE(shown, budget);
    // The upper levels open whole; only the deepest opened level is cut.
    EXPECT_EQ(openedPerLevel[0], 1);
    EXPECT_EQ(openedPerLevel[1], 10);
    EXPECT_EQ(openedPerLevel[2], 100);
    EXPECT_EQ(openedPerLevel[3], 1000);
    EXPECT_GT(openedPerLevel[4], 0);
    EXPECT_LT(openedPerLevel[4], 10000);
    EXPECT_EQ(openedPerLevel[5], 0);

    // A small budget stops before a level that would pass it.
    EXPECT_EQ(Carvex::expandAllLevels(model, 11).size(), 1u);
    EXPECT_EQ(Carvex::expandAllLevels(model, 10).size(), 0u);
    SchemaTreeModel empty;
    EXPECT_TRUE(Carvex::expandAllLevels(empty, budget).empty());
}

TEST(SchemaTreeCellViewTest, ARowThatCutsItsNameTypeOrMarkerShowsThemWholeWhenHovered)
{
    CarvexPlatform::TestApplication::ensure();
    SchemaTreeNode::Fields fields;
    fields.name = "criteria";
    fields.typeDescription = "errorMessage";
    fields.refString = "#/components/schemas/errorMessage";
    fields.sourceLine = 12;
    SchemaTreeNode::Fields plain;
    plain.name = "id";
    plain.typeDescription = "integer";
    const struct {
        const char* name;
        SchemaTreeNode::Fields fields;
        qreal width;
        QString tooltip;
    } rows[] = {
        {"wide row", fields, 2000, QString()},
        {"narrow row", fields, 150, QStringLiteral("criteria errorMessage → errorMessage")},
        {"no marker, narrow", plain, 30, QStringLiteral("id integer")},
        {"no marker, wide", plain, 2000, QString()},
    };
    SchemaTreeCellView cell;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const auto content = SchemaTreeCellView::contentOf(*nodeWith(row.fields));
        EXPECT_EQ(cell.toolTipText(content, QRectF(0, 0, row.width, 24)).toStdString(), row.tooltip.toStdString());
    }
}

} // namespace
