#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>
#include <type_traits>

#include "kit/facade/OpenApiParser.h"
#include "kit/parsing/JSONParser.h"
#include "kit/transform/PointerTextPool.h"

namespace {

using namespace VoziZazIreCore;
using VoziZazIreTransform::PointerTextPool;

// A view of a temporary handle would dangle: only named handles give views.
static_assert(!std::is_convertible_v<PointerText&&, std::string_view>);
static_assert(std::is_convertible_v<const PointerText&, std::string_view>);

NodePtr json(std::string_view text) { return VoziZazIreParsing::JSONParser().parse(text); }

TEST(PointerTextPool, GivesEveryNodeItsOwnPointerInAnyReadingOrder) {
  auto root = json(R"({"a": {"bc": {"d": [1, {"e~/": 2}]}, "b": 3}, "a/b": 4, "x": [[0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10]]})");
  const GenericNode& a = *(*root)["a"];
  const GenericNode& bc = *a["bc"];
  const GenericNode& d = *bc["d"];
  const GenericNode& inner = *d[1];
  const GenericNode& x0 = *(*(*root)["x"])[0];
  // Children before parents (as the readers go), siblings, cousins at other depths, texts that begin
  // an earlier one by characters only ("/a/b" begins "/a/bc..."), and a node of a passing tree.
  struct Step {
    std::function<const GenericNode*()> node;
    const char* expected;
  };
  NodePtr passing;
  const std::vector<Step> steps = {
      {[&] { return &inner; }, "/a/bc/d/1"},
      {[&] { return inner["e~/"]; }, "/a/bc/d/1/e~0~1"},
      {[&] { return d[0]; }, "/a/bc/d/0"},
      {[&] { return &d; }, "/a/bc/d"},
      {[&] { return &bc; }, "/a/bc"},
      {[&] { return (passing = GenericNode::makeObject({}, {}, "/paths")).get(); }, "/paths"},
      {[&] { return a["b"]; }, "/a/b"},
      {[&] { return &a; }, "/a"},
      {[&] { return x0[10]; }, "/x/0/10"},
      {[&] { return x0[9]; }, "/x/0/9"},
      {[&] { return (*root)["a/b"]; }, "/a~1b"},
      {[&] { return inner["e~/"]; }, "/a/bc/d/1/e~0~1"},
      {[&] { return root.get(); }, ""},
  };
  for (bool withTree : {true, false}) {
    std::vector<PointerText> texts;
    {
      PointerTextPool::Scope scope(withTree ? root.get() : nullptr);
      for (const Step& step : steps) {
        texts.push_back(PointerTextPool::pointerOf(*step.node()));
        passing.reset();  // the passing tree is gone before the next node
      }
    }
    for (std::size_t i = 0; i < texts.size(); ++i) EXPECT_EQ(texts[i], steps[i].expected) << i << " " << withTree;
  }
}

TEST(PointerTextPool, CopiesTheTextWithoutAScopeAndRestoresTheOuterScope) {
  auto root = json(R"({"a": [true]})");
  const GenericNode& element = *(*(*root)["a"])[0];
  EXPECT_EQ(PointerTextPool::pointerOf(element), "/a/0");
  PointerText outerText;
  {
    PointerTextPool::Scope outer;
    { PointerTextPool::Scope inner; }
    outerText = PointerTextPool::pointerOf(element);
  }
  root.reset();
  EXPECT_EQ(outerText, "/a/0");
}

TEST(PointerTextPool, ModelLocationsOutliveTheTree) {
  auto result = VoziZazIre::OpenApiParser().parse(
      R"({"openapi": "3.1.0", "info": {"title": "t", "version": "1"},
          "paths": {"/pets/{id}": {"get": {"responses": {"200": {"description": "ok"}}}}}})");
  result.genericTree.reset();
  const auto* document = result.document.v3_1();
  ASSERT_NE(document, nullptr);
  EXPECT_EQ(document->info->location.jsonPointer, "/info");
  const auto* item = (*document->paths)["/pets/{id}"];
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->get->location.jsonPointer, "/paths/~1pets~1{id}/get");
}

}  // namespace
