// Lookups of the models: path items by path key, responses by status key, 3.1 operations by method.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ModelBuilders.h"

using namespace ModelBuilders;

namespace {

struct V30 {
  using Paths = OpenAPI3_0::Paths;
  using PathItem = OpenAPI3_0::PathItem;
  using Operation = OpenAPI3_0::Operation;
  using Responses = OpenAPI3_0::Responses;
  using Response = OpenAPI3_0::Response;
};
struct V31 {
  using Paths = OpenAPI3_1::Paths;
  using PathItem = OpenAPI3_1::PathItem;
  using Operation = OpenAPI3_1::Operation;
  using Responses = OpenAPI3_1::Responses;
  using Response = OpenAPI3_1::Response;
};
struct VersionName {
  template <class V>
  static std::string GetName(int) {
    return std::is_same_v<V, V30> ? "OpenAPI3_0" : "OpenAPI3_1";
  }
};

template <class V>
class ModelLookup : public testing::Test {
 protected:
  using Paths = typename V::Paths;
  using PathItem = typename V::PathItem;
  using Operation = typename V::Operation;
  using Response = typename V::Response;
  using Responses = typename V::Responses;

  static std::shared_ptr<const PathItem> item(const std::string& pointer) {
    return pathItem<PathItem, Operation>(pointer, {});
  }
  static Paths paths(OrderedMap<std::shared_ptr<const PathItem>> items) {
    return Paths{.location = at("/paths"), .items = std::move(items), .vendorExtensions = std::nullopt};
  }
  static ReferenceOr<Response> inlineResponse(const std::string& pointer) {
    return response<Response>(pointer, "ok");
  }
};
using Versions = testing::Types<V30, V31>;
TYPED_TEST_SUITE(ModelLookup, Versions, VersionName);

TYPED_TEST(ModelLookup, PathKeysAreComparedAsTextNotMatchedAsTemplates) {
  auto paths = TestFixture::paths({
      {"/pets", TestFixture::item("/paths/~1pets")},
      {"/pets/{id}", TestFixture::item("/paths/~1pets~1{id}")},
      {"/caf\u00e9", TestFixture::item("/paths/~1caf\u00e9")},
  });
  struct Row {
    const char* name;
    const char* key;
    const char* foundPointer;  // nullptr: no path item
  };
  const Row rows[] = {
      {"exact key", "/pets", "/paths/~1pets"},
      {"exact template key", "/pets/{id}", "/paths/~1pets~1{id}"},
      {"concrete path does not fill the template", "/pets/1", nullptr},
      {"template with another parameter name", "/pets/{petId}", nullptr},
      {"trailing slash", "/pets/", nullptr},
      {"different case", "/Pets", nullptr},
      {"empty key", "", nullptr},
      {"canonically equivalent text", "/cafe\u0301", "/paths/~1caf\u00e9"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const auto* found = paths[row.key];
    if (!row.foundPointer) {
      EXPECT_EQ(found, nullptr);
    } else {
      ASSERT_NE(found, nullptr);
      EXPECT_EQ(found->location.jsonPointer, row.foundPointer);
    }
  }
  EXPECT_EQ(TestFixture::paths({})["/pets"], nullptr);
}

TYPED_TEST(ModelLookup, StatusKeysAreComparedAsTextAndDefaultIsItsOwnEntry) {
  using Responses = typename TestFixture::Responses;
  using Response = typename TestFixture::Response;
  auto all = responses<Responses, Response>(
      "/r", {
                {"200", TestFixture::inlineResponse("/r/200")},
                {"2XX", ref("#/components/responses/Success")},
                {"default", ref("#/components/responses/Error")},
            });
  struct Row {
    const char* name;
    const char* key;
    const char* expected;  // pointer of an inline response, "$ref" text of a reference, nullptr for none
  };
  const Row rows[] = {
      {"code", "200", "/r/200"},
      {"range key", "2XX", "#/components/responses/Success"},
      {"code inside a range is not the range", "201", nullptr},
      {"range key in lower case", "2xx", nullptr},
      {"default by key", "default", "#/components/responses/Error"},
      {"code as a number with spaces", " 200", nullptr},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const auto* found = (*all)[row.key];
    if (!row.expected) {
      EXPECT_EQ(found, nullptr);
      continue;
    }
    ASSERT_NE(found, nullptr);
    if (found->isReference())
      EXPECT_EQ(found->referenceValue()->ref, row.expected);
    else
      EXPECT_EQ(found->inlineValue()->location.jsonPointer, row.expected);
  }

  ASSERT_NE(all->default_(), nullptr);
  EXPECT_EQ(all->default_()->referenceValue()->ref, "#/components/responses/Error");

  auto onlyOk = responses<Responses, Response>("/r", {{"200", TestFixture::inlineResponse("/r/200")}});
  EXPECT_EQ(onlyOk->default_(), nullptr);

  auto inlineDefault = responses<Responses, Response>("/r", {{"default", TestFixture::inlineResponse("/r/default")}});
  ASSERT_NE(inlineDefault->default_(), nullptr);
  ASSERT_NE(inlineDefault->default_()->inlineValue(), nullptr);
  EXPECT_EQ(inlineDefault->default_()->inlineValue()->location.jsonPointer, "/r/default");
}

// 3.1 only: the operations of a path item by method, in a fixed order.
using V31Operations = Operations<OpenAPI3_1::Operation>;

std::shared_ptr<const OpenAPI3_1::Operation> op31(const std::string& id) {
  return operation<OpenAPI3_1::Operation, OpenAPI3_1::Responses, OpenAPI3_1::Response>("/op/" + id, id);
}

std::vector<std::string> methodsAndIds(const OpenAPI3_1::PathItem& item) {
  std::vector<std::string> result;
  for (const auto& [method, operation] : item.allOperations())
    result.push_back(std::string(method) + " " + operation->operationId.value_or("?"));
  return result;
}

TEST(PathItemAllOperations, FollowsTheFixedMethodOrderNotTheSourceOrder) {
  struct Row {
    const char* name;
    V31Operations ops;
    std::vector<std::string> expected;
  };
  const Row rows[] = {
      {"trace and get", {.get = op31("g"), .trace = op31("t")}, {"GET g", "TRACE t"}},
      {"delete only", {.delete_ = op31("d")}, {"DELETE d"}},
      {"all eight",
       {op31("1"), op31("2"), op31("3"), op31("4"), op31("5"), op31("6"), op31("7"), op31("8")},
       {"GET 1", "PUT 2", "POST 3", "DELETE 4", "OPTIONS 5", "HEAD 6", "PATCH 7", "TRACE 8"}},
      {"none", {}, {}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    auto item = pathItem<OpenAPI3_1::PathItem, OpenAPI3_1::Operation>("/paths/~1x", row.ops);
    EXPECT_EQ(methodsAndIds(*item), row.expected);
  }
}

TEST(PathItemAllOperations, ReferenceOnlyPathItemHasNoOperations) {
  auto item = pathItem<OpenAPI3_1::PathItem, OpenAPI3_1::Operation>("/paths/~1x", {}, "#/components/pathItems/X");
  EXPECT_TRUE(item->allOperations().empty());
}

TEST(PathItemAllOperations, HandsOutTheStoredOperations) {
  auto get = op31("g");
  auto item = pathItem<OpenAPI3_1::PathItem, OpenAPI3_1::Operation>("/paths/~1x", {.get = get});
  auto all = item->allOperations();
  ASSERT_EQ(all.size(), 1u);
  EXPECT_EQ(all[0].operation, get);
}

}  // namespace
