#include "kit/core/GenericNode.h"

#include <gtest/gtest.h>

#include "kit/core/TreeBuilder.h"

using namespace VoziZazIreCore;

namespace {
SourceRange at(int64_t offset) { return {{1, offset + 1, offset}, {1, offset + 2, offset + 1}}; }
}  // namespace

// Accessors and subscripts give nothing outside their kind. (The integer range of intValue is
// TextServices::exactInt64's, tested there.)
TEST(GenericNode, AccessorsAndSubscriptsYieldNothingOutsideTheirKind) {
  auto three = GenericNode::makeNumber(3.0, at(0), "");
  EXPECT_EQ(three->intValue(), 3);
  EXPECT_FALSE(GenericNode::makeNumber(2.5, at(0), "")->intValue());
  EXPECT_FALSE(three->stringValue());
  EXPECT_EQ((*three)["a"], nullptr);
  auto array = GenericNode::makeArray({GenericNode::makeBool(true, at(1), "/0")}, at(0), "");
  EXPECT_EQ((*array)[int64_t{-1}], nullptr);
  EXPECT_EQ((*array)[int64_t{1}], nullptr);
  ASSERT_NE((*array)[int64_t{0}], nullptr);
  EXPECT_EQ((*array)[int64_t{0}]->boolValue(), true);
  EXPECT_EQ((*array)["0"], nullptr);
  OrderedMap<NodePtr> members;
  members.insertOrAssign("a", GenericNode::makeNull(at(1), "/a"));
  auto object = GenericNode::makeObject(members, at(0), "");
  EXPECT_EQ((*object)[int64_t{0}], nullptr);
  EXPECT_TRUE((*object)["a"]->isNull());
}

TEST(GenericNode, KeysAreSortedByCodePointWhileMembersKeepDocumentOrder) {
  TreeBuilder builder;
  std::vector<GenericNode::Member> members;
  for (const char* key : {"b", "a", "B"}) {
    builder.pushKey(key);
    members.push_back({key, builder.null(at(0))});
    builder.pop();
  }
  NodePtr root = builder.finish(builder.object(members, at(0)));
  EXPECT_EQ(root->keys(), (std::vector<std::string>{"B", "a", "b"}));
  std::vector<std::string> order;
  for (const auto& m : *root->objectValue()) order.emplace_back(m.key);
  EXPECT_EQ(order, (std::vector<std::string>{"b", "a", "B"}));
  EXPECT_EQ((*root)["B"]->jsonPointer(), "/B");
}

TEST(GenericNode, DuplicateKeysLastValueWinsAtFirstPosition) {
  TreeBuilder builder;
  std::vector<GenericNode::Member> members{{"x", builder.number(1, at(0))},
                                           {"y", builder.number(2, at(1))},
                                           {"x", builder.number(3, at(2))}};
  NodePtr root = builder.finish(builder.object(members, at(0)));
  ASSERT_EQ(root->count(), 2u);
  EXPECT_EQ((*root->objectValue())[0].key, "x");
  EXPECT_EQ((*root)["x"]->numberValue(), 3);
}

TEST(GenericNode, LargeObjectsLookUpByKeyIncludingCanonicalEquivalents) {
  TreeBuilder builder;
  std::vector<std::string> keys;
  for (int i = 0; i < 100; ++i) keys.push_back("key" + std::to_string(i));
  keys.push_back("caf\u00e9");
  std::vector<GenericNode::Member> members;
  for (std::size_t i = 0; i < keys.size(); ++i) members.push_back({keys[i], builder.number(double(i), at(0))});
  NodePtr root = builder.finish(builder.object(members, at(0)));
  EXPECT_EQ((*root)["key42"]->intValue(), 42);
  EXPECT_EQ((*root)["cafe\u0301"]->intValue(), 100);
  EXPECT_EQ((*root)["missing"], nullptr);
}

TEST(GenericNode, DescriptionsShowKindAndTwentyCharacters) {
  EXPECT_EQ(GenericNode::makeString("abcdefghijklmnopqrstuvwxy", at(0), "")->description(),
            "string(\"abcdefghijklmnopqrst\")");
  // Flags and emoji with modifiers count as one character each.
  std::string flags;
  for (int i = 0; i < 25; ++i) flags += "\U0001F1E9\U0001F1EA";
  std::string expected;
  for (int i = 0; i < 20; ++i) expected += "\U0001F1E9\U0001F1EA";
  EXPECT_EQ(GenericNode::makeString(flags, at(0), "")->description(), "string(\"" + expected + "\")");
  EXPECT_EQ(GenericNode::makeObject({}, at(0), "")->description(), "object(0 keys)");
  EXPECT_EQ(GenericNode::makeArray({}, at(0), "")->description(), "array(0 items)");
  EXPECT_EQ(GenericNode::makeNumber(2.5, at(0), "")->description(), "number(2.5)");
  EXPECT_EQ(GenericNode::makeNumber(3.0, at(0), "")->description(), "number(3.0)");
  EXPECT_EQ(GenericNode::makeBool(false, at(0), "")->description(), "bool(false)");
  EXPECT_EQ(GenericNode::makeNull(at(0), "")->description(), "null");
}

TEST(GenericNode, DeepChainsOfStandaloneNodesReleaseWithoutRecursion) {
  NodePtr node = GenericNode::makeNull(at(0), "");
  for (int i = 0; i < 100000; ++i) node = GenericNode::makeArray({node}, at(0), "");
  EXPECT_EQ(node->count(), 1u);
  node.reset();
}

TEST(GenericNode, ChildrenOutliveTheRootHandleThroughTheirOwnHandle) {
  NodePtr child = GenericNode::makeString("kept", at(1), "/a");
  OrderedMap<NodePtr> members;
  members.insertOrAssign("a", child);
  NodePtr root = GenericNode::makeObject(members, at(0), "");
  const GenericNode* borrowed = (*root)["a"];
  child.reset();
  EXPECT_EQ(borrowed->stringValue(), "kept");
}

TEST(TreeBuilder, CopySubtreeTakesThePointersOfItsNewPlaceAndRespectsItsBudget) {
  TreeBuilder builder;
  const GenericNode* leaf = builder.string("v", at(0));
  const GenericNode* arr = builder.array(std::vector<const GenericNode*>{leaf}, at(0));
  int64_t budget = 10;
  const GenericNode* copy = builder.copySubtree(arr, budget);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(budget, 8);
  int64_t tiny = 1;
  EXPECT_EQ(builder.copySubtree(arr, tiny), nullptr);
  const std::vector<GenericNode::Member> members{{"a", arr}, {"b~/", copy}};
  NodePtr root = builder.finish(builder.object(members, at(0)));
  EXPECT_EQ((*(*root)["a"])[int64_t{0}]->jsonPointer(), "/a/0");
  EXPECT_EQ((*root)["b~/"]->jsonPointer(), "/b~0~1");
  EXPECT_EQ((*(*root)["b~/"])[int64_t{0}]->jsonPointer(), "/b~0~1/0");
  EXPECT_EQ(root->jsonPointer(), "");
}
