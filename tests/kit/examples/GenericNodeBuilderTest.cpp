#include <gtest/gtest.h>

#include <string>

#include "ExampleTreeHelpers.h"
#include "kit/examples/GenericNodeBuilder.h"

namespace {

using namespace VoziZazIreExampleGeneration;
using namespace CarvexExampleTest;
using VoziZazIreCore::NodePtr;

TEST(GenericNodeBuilder, ValueTreeKindsAndPointers) {
  AnyValue value = object({{"items", array({object({{"name", "x"}, {"a/b", 1}, {"c~d", true}})})},
                           {"n", 2.5},
                           {"none", nullptr}});
  NodePtr root = GenericNodeBuilder::nodeFromAnyValue(value, "");
  const GenericNode* item = (*(*root)["items"])[0];
  struct Row {
    const GenericNode* node;
    GenericNodeKind kind;
    const char* pointer;
  };
  const Row rows[] = {
      {root.get(), GenericNodeKind::object, ""},
      {(*root)["items"], GenericNodeKind::array, "/items"},
      {item, GenericNodeKind::object, "/items/0"},
      {(*item)["name"], GenericNodeKind::string, "/items/0/name"},
      {(*item)["a/b"], GenericNodeKind::number, "/items/0/a~1b"},
      {(*item)["c~d"], GenericNodeKind::bool_, "/items/0/c~0d"},
      {(*root)["n"], GenericNodeKind::number, "/n"},
      {(*root)["none"], GenericNodeKind::null, "/none"},
  };
  for (const Row& row : rows) {
    ASSERT_NE(row.node, nullptr) << row.pointer;
    EXPECT_EQ(row.node->kind(), row.kind) << row.pointer;
    EXPECT_EQ(std::string(row.node->jsonPointer()), row.pointer);
    EXPECT_EQ(row.node->range(), GenericNodeBuilder::syntheticRange) << row.pointer;
  }
  EXPECT_EQ((*item)["a/b"]->numberValue(), 1.0);

  NodePtr based = GenericNodeBuilder::nodeFromAnyValue(array({1}), "base/x");
  EXPECT_EQ(std::string((*based)[0]->jsonPointer()), "base/x/0");
  EXPECT_EQ(GenericNodeBuilder::syntheticRange.start, (VoziZazIreCore::SourceLocation{1, 1, 0}));
}

TEST(GenericNodeBuilder, MakersKeepChildrenAndTheirPointers) {
  NodePtr name = GenericNodeBuilder::stringNode("Rex", "name");
  NodePtr tag = GenericNodeBuilder::intNode(7, "tags/0");
  NodePtr tags = GenericNodeBuilder::arrayNode({tag, GenericNodeBuilder::boolNode(false, "tags/1")}, "tags");
  VoziZazIreCore::OrderedMap<NodePtr> members;
  members.insertOrAssign("name", name);
  members.insertOrAssign("tags", tags);
  members.insertOrAssign("weight", GenericNodeBuilder::numberNode(2.5, "weight"));
  members.insertOrAssign("owner", GenericNodeBuilder::nullNode("owner"));
  NodePtr pet = GenericNodeBuilder::objectNode(members, "");
  name.reset();
  tag.reset();
  tags.reset();
  ASSERT_EQ(pet->count(), 4u);
  EXPECT_EQ((*pet)["name"]->stringValue(), "Rex");
  EXPECT_EQ(std::string((*pet)["name"]->jsonPointer()), "name");
  EXPECT_EQ(std::string((*(*pet)["tags"])[0]->jsonPointer()), "tags/0");
  EXPECT_EQ((*(*pet)["tags"])[0]->numberValue(), 7.0);
  EXPECT_EQ((*(*pet)["tags"])[1]->boolValue(), false);
  EXPECT_TRUE((*pet)["owner"]->isNull());
  EXPECT_EQ((*pet)["weight"]->range(), GenericNodeBuilder::syntheticRange);
}

TEST(GenericNodeBuilder, DeepValueIsBuiltAndReleasedWithoutRecursion) {
  AnyValue value = "leaf";
  for (int i = 0; i < 100000; ++i) {
    if (i % 2) {
      AnyValue::Array list;
      list.push_back(std::move(value));
      value = AnyValue(std::move(list));
    } else {
      AnyValue::Object map;
      map.insertOrAssign("k", std::move(value));
      value = AnyValue(std::move(map));
    }
  }
  NodePtr root = GenericNodeBuilder::nodeFromAnyValue(value, "");
  const GenericNode* node = root.get();
  int depth = 0;
  while (node->count() == 1) {
    node = node->kind() == GenericNodeKind::array ? (*node)[0] : (*node)["k"];
    ++depth;
  }
  EXPECT_EQ(depth, 100000);
  EXPECT_EQ(node->stringValue(), "leaf");
}

}  // namespace
