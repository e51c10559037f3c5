#include <gtest/gtest.h>

#include <string>
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
  auto root = json(R"({"a": {"bc": {"d": [1, {"e~/": 2}]}, "b": 3}, "a/b": 4})");
  const GenericNode& a = *(*root)["a"];
  const GenericNode& bc = *a["bc"];
  const GenericNode& d = *bc["d"];
  const GenericNode& inner = *d[1];
  // Children before parents (as the readers go), then texts that begin an earlier one by characters
  // only ("/a/b" begins "/a/bc..."), then unrelated ones.
  const GenericNode* order[] = {&inner, &d, &bc, a["b"], &a, (*root)["a/b"], inner["e~/"], root.get()};
  const char* expected[] = {"/a/bc/d/1", "/a/bc/d", "/a/bc", "/a/b", "/a", "/a~1b", "/a/bc/d/1/e~0~1", ""};
  std::vector<PointerText> texts;
  {
    PointerTextPool::Scope scope;
    for (const GenericNode* node : order) texts.push_back(PointerTextPool::pointerOf(*node));
  }
  root.reset();  // the texts live on without the tree or the scope
  for (std::size_t i = 0; i < texts.size(); ++i) EXPECT_EQ(texts[i], expected[i]) << i;
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
