#include "Carvex/ModelAdapters/SchemaTreeBuilder.h"
#include "Carvex/Properties/SchemaOutlineView.h"
#include "Carvex/Properties/SchemaTreeCellView.h"
#include "Carvex/Properties/SchemaTreeModel.h"
#include "platform/TestApplication.h"

#include "../ModelAdapters/SchemaTreeTestSupport.h"

#include <QApplication>

#include <gtest/gtest.h>

namespace {

using Carvex::SchemaOutlineView;
using Carvex::SchemaTreeNode;

SchemaTreeNode::Ptr describedTree()
{
    SchemaTreeNode::Fields root;
    root.name = "root";
    root.typeDescription = "object";
    SchemaTreeNode::Fields plain;
    plain.name = "plain";
    plain.typeDescription = "string";
    SchemaTreeNode::Fields described;
    described.name = "described";
    described.typeDescription = "string";
    described.schemaDescription = QString("several words of text ").repeated(20);
    SchemaTreeNode::Fields deep;
    deep.name = "deep";
    return SchemaTreeNode::make(root, {SchemaTreeNode::make(plain, {SchemaTreeNode::make(deep)}),
                                       SchemaTreeNode::make(described)});
}

TEST(SchemaOutlineViewTest, ShowsTheRootOpenOneLevelAndMeasuresDescriptionsByWidth)
{
    CarvexPlatform::TestApplication::ensure();
    SchemaOutlineView view;
    EXPECT_TRUE(view.isHeaderHidden());
    EXPECT_EQ(view.indentation(), 16);
    EXPECT_TRUE(view.alternatingRowColors());
    EXPECT_EQ(view.selectionMode(), QAbstractItemView::NoSelection);

    view.resize(300, 400);
    view.show();
    view.setRoot(describedTree());
    QApplication::processEvents();
    const QModelIndex root = view.model()->index(0, 0);
    const QModelIndex plain = view.model()->index(0, 0, root);
    const QModelIndex described = view.model()->index(1, 0, root);
    EXPECT_TRUE(view.isExpanded(root));
    EXPECT_FALSE(view.isExpanded(plain));
    EXPECT_EQ(view.lastKnownOutlineWidth(), view.viewport()->width());

    EXPECT_EQ(view.visualRect(plain).height(), 24);
    const int wideHeight = view.visualRect(described).height();
    EXPECT_GT(wideHeight, 24);
    view.resize(160, 400);
    QApplication::processEvents();
    EXPECT_EQ(view.lastKnownOutlineWidth(), view.viewport()->width());
    EXPECT_EQ(view.visualRect(plain).height(), 24);
    EXPECT_GT(view.visualRect(described).height(), wideHeight);

    // Expand All opens everything, Collapse All closes it; another root replaces the rows.
    view.expandAllWithinBudget(Carvex::SchemaRefResolver::defaultNodeBudget);
    QApplication::processEvents();
    EXPECT_TRUE(view.isExpanded(plain));
    view.collapseAll();
    EXPECT_FALSE(view.isExpanded(root));
    EXPECT_FALSE(view.isExpanded(plain));
    view.setRoot(nullptr);
    EXPECT_EQ(view.model()->rowCount(), 0);
}

TEST(SchemaOutlineViewTest, ExpandAllOnAHugeResolvedTreeStaysWithinTheBudget)
{
    CarvexPlatform::TestApplication::ensure();
    std::string text = "paths: {}\ncomponents:\n  schemas:\n";
    for (int level = 0; level < 8; ++level) {
        text += "    L" + std::to_string(level) + ":\n      type: object\n      properties:\n";
        for (int i = 0; i < 10; ++i)
            text += "        p" + std::to_string(i) + ": {$ref: '#/components/schemas/L" + std::to_string(level + 1)
                + "'}\n";
    }
    text += "    L8: {type: string}\n";
    const auto parsed = SchemaTreeTestSupport::modelOf(text);
    Carvex::SchemaTreeBuilder builder;
    builder.resolver.documentAdapter = parsed.makeAdapter();
    builder.resolver.mode = Carvex::SchemaRefResolver::Mode::resolved;

    SchemaOutlineView view;
    view.resize(400, 300);
    view.show();
    view.setRoot(builder.buildTree(SchemaTreeTestSupport::refSlot("#/components/schemas/L0")));
    view.expandAllWithinBudget(Carvex::SchemaRefResolver::defaultNodeBudget);
    QApplication::processEvents();
    const QModelIndex root = view.model()->index(0, 0);
    const QModelIndex first = view.model()->index(0, 0, root);
    const QModelIndex last = view.model()->index(9, 0, root);
    EXPECT_TRUE(view.isExpanded(first));
    EXPECT_TRUE(view.isExpanded(last));
    EXPECT_TRUE(view.isExpanded(view.model()->index(9, 0, view.model()->index(9, 0, last))));
    view.collapseAll();
    EXPECT_FALSE(view.isExpanded(root));
    EXPECT_FALSE(view.isExpanded(first));
}

} // namespace
