// The mostly-absent members of operations, parameters, headers, encodings, path items, examples and links
// are held one pointer wide and in a storage order that differs from the reading order: every member
// written must still land in its own field with its value, and a bare object must leave them all absent.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kit/transform/ContentReaders.h"
#include "kit/transform/PathReaders.h"
#include "tests/kit/transform/ReaderTesting.h"

namespace {

using namespace CarvexTest;
using namespace VoziZazIreTransform;
using VoziZazIreCore::GenericNode;
using VoziZazIreModels::ParameterLocation;
using VoziZazIreModels::ParameterStyle;

template <class V>
class SparseMembers : public ::testing::Test {};
using Versions = ::testing::Types<Version30, Version31>;
struct VersionName {
  template <class V>
  static std::string GetName(int) {
    return V::is31 ? "v3_1" : "v3_0";
  }
};
TYPED_TEST_SUITE(SparseMembers, Versions, VersionName);

TYPED_TEST(SparseMembers, ParameterKeepsEveryMemberInItsOwnField) {
  using V = TypeParam;
  auto read = readYaml(
      "name: id\nin: header\ndescription: the id\nrequired: true\ndeprecated: false\nstyle: simple\n"
      "explode: true\nallowReserved: false\nschema: {type: string}\nexample: 7\n"
      "examples: {a: {value: 1}}\nx-k: 1\n",
      ValidationLevel::none, [](const GenericNode& n, TransformContext& c) { return parseParameter<V>(n, c); });
  const auto& p = *read.model;
  EXPECT_EQ(p.name, "id");
  EXPECT_EQ(p.in, ParameterLocation::header);
  EXPECT_EQ(p.description, "the id");
  EXPECT_EQ(p.required, true);
  EXPECT_EQ(p.deprecated, false);
  EXPECT_EQ(p.style, ParameterStyle::simple);
  EXPECT_EQ(p.explode, true);
  EXPECT_EQ(p.allowReserved, false);
  ASSERT_TRUE(p.schema && p.example && p.examples && p.vendorExtensions);
  EXPECT_EQ(p.example->intValue(), 7);
  EXPECT_EQ(p.examples->size(), 1u);
  EXPECT_EQ(p.vendorExtensions->size(), 1u);
  EXPECT_FALSE(p.content);

  auto bare = readYaml("name: id\nin: query\n", ValidationLevel::none,
                       [](const GenericNode& n, TransformContext& c) { return parseParameter<V>(n, c); });
  const auto& b = *bare.model;
  EXPECT_FALSE(b.description || b.required || b.deprecated || b.allowEmptyValue || b.style || b.explode ||
               b.allowReserved || b.schema || b.example || b.examples || b.content || b.vendorExtensions);
}

TYPED_TEST(SparseMembers, HeaderKeepsEveryMemberInItsOwnField) {
  using V = TypeParam;
  auto read = readYaml(
      "description: rate\nrequired: false\ndeprecated: true\nstyle: simple\nexplode: false\nallowReserved: true\n"
      "content: {text/plain: {}}\nexample: x\n",
      ValidationLevel::none, [](const GenericNode& n, TransformContext& c) { return parseHeader<V>(n, c); });
  const auto& h = *read.model;
  EXPECT_EQ(h.description, "rate");
  EXPECT_EQ(h.required, false);
  EXPECT_EQ(h.deprecated, true);
  EXPECT_EQ(h.style, ParameterStyle::simple);
  EXPECT_EQ(h.explode, false);
  EXPECT_EQ(h.allowReserved, true);
  ASSERT_TRUE(h.content && h.example);
  EXPECT_EQ(h.content->size(), 1u);
  ASSERT_NE(h.example->stringValue(), nullptr);
  EXPECT_EQ(*h.example->stringValue(), "x");
  EXPECT_FALSE(h.schema || h.examples || h.vendorExtensions);

  auto bare = readYaml("{}", ValidationLevel::none,
                       [](const GenericNode& n, TransformContext& c) { return parseHeader<V>(n, c); });
  const auto& b = *bare.model;
  EXPECT_FALSE(b.description || b.required || b.deprecated || b.style || b.explode || b.allowReserved ||
               b.schema || b.example || b.examples || b.content || b.vendorExtensions);
}

TYPED_TEST(SparseMembers, EncodingKeepsEveryMemberInItsOwnField) {
  using V = TypeParam;
  auto read = readYaml(
      "contentType: image/png\nheaders: {X-A: {schema: {type: string}}}\nstyle: form\nexplode: true\n"
      "allowReserved: true\nx-e: 1\n",
      ValidationLevel::none, [](const GenericNode& n, TransformContext& c) { return parseEncoding<V>(n, c); });
  const auto& e = *read.model;
  EXPECT_EQ(e.contentType, "image/png");
  ASSERT_TRUE(e.headers && e.vendorExtensions);
  EXPECT_NE(e.headers->find("X-A"), nullptr);
  EXPECT_EQ(e.style, ParameterStyle::form);
  EXPECT_EQ(e.explode, true);
  EXPECT_EQ(e.allowReserved, true);

  auto bare = readYaml("{}", ValidationLevel::none,
                       [](const GenericNode& n, TransformContext& c) { return parseEncoding<V>(n, c); });
  const auto& b = *bare.model;
  EXPECT_FALSE(b.contentType || b.headers || b.style || b.explode || b.allowReserved || b.vendorExtensions);
}

TYPED_TEST(SparseMembers, OperationAndPathItemKeepEveryMemberInItsOwnField) {
  using V = TypeParam;
  auto read = readYaml(
      "$ref: '#/x'\nsummary: items\ndescription: all items\nservers: [{url: /a}]\n"
      "parameters: [{name: q, in: query}]\nx-p: 1\n"
      "get:\n"
      "  tags: [t]\n  summary: list\n  description: lists\n  operationId: list\n"
      "  parameters: [{$ref: '#/components/parameters/q'}]\n"
      "  requestBody: {$ref: '#/components/requestBodies/b'}\n"
      "  responses: {'200': {description: ok}}\n"
      "  callbacks: {c: {$ref: '#/components/callbacks/c'}}\n"
      "  deprecated: true\n  security: []\n  servers: [{url: /b}]\n  x-o: 1\n",
      ValidationLevel::none, [](const GenericNode& n, TransformContext& c) { return parsePathItem<V>(n, c); });
  const auto& item = *read.model;
  EXPECT_EQ(item.ref, "#/x");
  EXPECT_EQ(item.summary, "items");
  EXPECT_EQ(item.description, "all items");
  ASSERT_TRUE(item.servers && item.parameters && item.vendorExtensions && item.get);
  EXPECT_EQ(item.servers->size(), 1u);
  EXPECT_EQ(item.parameters->size(), 1u);
  const auto& op = *item.get;
  ASSERT_TRUE(op.tags && op.requestBody && op.callbacks && op.security && op.servers && op.vendorExtensions);
  EXPECT_EQ(*op.tags, std::vector<std::string>{"t"});
  EXPECT_EQ(op.summary, "list");
  EXPECT_EQ(op.description, "lists");
  EXPECT_EQ(op.operationId, "list");
  EXPECT_TRUE(op.requestBody->isReference());
  EXPECT_EQ(op.callbacks->size(), 1u);
  EXPECT_EQ(op.deprecated, true);
  EXPECT_TRUE(op.security->empty());  // an empty list is present
  EXPECT_EQ(op.servers->size(), 1u);

  auto bare = readYaml("get: {responses: {}}\n", ValidationLevel::none,
                       [](const GenericNode& n, TransformContext& c) { return parsePathItem<V>(n, c); });
  const auto& b = *bare.model;
  EXPECT_FALSE(b.ref || b.summary || b.description || b.servers || b.parameters || b.vendorExtensions);
  ASSERT_TRUE(b.get);
  const auto& o = *b.get;
  EXPECT_FALSE(o.tags || o.summary || o.description || o.operationId || o.parameters || o.requestBody ||
               o.callbacks || o.deprecated || o.security || o.servers || o.vendorExtensions);
}

TYPED_TEST(SparseMembers, ExampleAndLinkKeepEveryMemberInItsOwnField) {
  using V = TypeParam;
  auto example = readYaml("summary: s\ndescription: d\nexternalValue: http://e\nx-x: 1\n", ValidationLevel::none,
                          [](const GenericNode& n, TransformContext& c) { return parseExample<V>(n, c); });
  EXPECT_EQ(example.model->summary, "s");
  EXPECT_EQ(example.model->description, "d");
  EXPECT_EQ(example.model->externalValue, "http://e");
  EXPECT_FALSE(example.model->value);
  EXPECT_TRUE(example.model->vendorExtensions);

  auto link = readYaml("operationRef: '#/paths/~1a/get'\noperationId: a\nparameters: {id: $request.path.id}\n"
                       "requestBody: {k: 1}\ndescription: d\n",
                       ValidationLevel::none,
                       [](const GenericNode& n, TransformContext& c) { return parseLink<V>(n, c); });
  const auto& l = *link.model;
  EXPECT_EQ(l.operationRef, "#/paths/~1a/get");
  EXPECT_EQ(l.operationId, "a");
  ASSERT_TRUE(l.parameters && l.requestBody);
  EXPECT_EQ(l.parameters->size(), 1u);
  EXPECT_EQ(l.description, "d");
  EXPECT_FALSE(l.server || l.vendorExtensions);

  auto bare = readYaml("{}", ValidationLevel::none,
                       [](const GenericNode& n, TransformContext& c) { return parseLink<V>(n, c); });
  EXPECT_FALSE(bare.model->operationRef || bare.model->operationId || bare.model->parameters ||
               bare.model->requestBody || bare.model->description || bare.model->vendorExtensions);
}

}  // namespace
