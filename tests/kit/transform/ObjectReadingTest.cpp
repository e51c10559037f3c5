#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kit/core/TransformError.h"
#include "kit/parsing/JSONParser.h"
#include "kit/transform/DocumentReaders.h"
#include "kit/transform/ObjectReading.h"

namespace {

using namespace VoziZazIreCore;
using namespace VoziZazIreTransform;

NodePtr json(std::string_view text) { return VoziZazIreParsing::JSONParser().parse(text); }

std::string where(const Diagnostic& d) {
  return (d.jsonPointer() ? *d.jsonPointer() : std::string("-")) + " " + std::to_string(d.range()->start.line) + ":" +
         std::to_string(d.range()->start.column);
}

TEST(UnknownProperties, ReportsEachUnknownKeyAtItsValueAtLevelHighOnly) {
  // {"name": ..., "x-internal": ..., "colour": ..., "X-Foo": ...} as members of /tags/0
  auto root = json(R"({"tags": [{"name": "a", "x-internal": true, "colour": "red", "X-Foo": 1, "a/b~c": 2}]})");
  const GenericNode& tag = *(*root)["tags"]->arrayValue()->front();
  static const KeySet keys = allowedKeySet({"name"});
  for (ValidationLevel level : {ValidationLevel::none, ValidationLevel::low}) {
    TransformContext context(level);
    checkUnknownProperties(tag, keys, "Tag", context);
    EXPECT_TRUE(context.diagnostics.empty());
  }
  TransformContext context(ValidationLevel::high);
  checkUnknownProperties(tag, keys, "Tag", context);
  ASSERT_EQ(context.diagnostics.size(), 3u);
  EXPECT_EQ(context.diagnostics[0].message(), "[GEN-001] Unknown property 'colour' in Tag object");
  EXPECT_EQ(context.diagnostics[0].severity(), DiagnosticSeverity::warning);
  EXPECT_EQ(where(context.diagnostics[0]), "/tags/0/colour 1:55");
  EXPECT_EQ(context.diagnostics[1].message(), "[GEN-001] Unknown property 'X-Foo' in Tag object");
  EXPECT_EQ(context.diagnostics[2].message(), "[GEN-001] Unknown property 'a/b~c' in Tag object");
  EXPECT_EQ(*context.diagnostics[2].jsonPointer(), "/tags/0/a~1b~0c");
  checkUnknownProperties(*json(R"(["colour"])"), keys, "Tag", context);
  EXPECT_EQ(context.diagnostics.size(), 3u) << "a node other than an object has nothing to report";
}

TEST(BooleanField, OnlyBooleanNodesGiveAValueAndOthersAWarningAtHigh) {
  auto root = json(R"({"a": true, "b": "true", "d": false})");
  TransformContext context(ValidationLevel::high), low(ValidationLevel::low);
  EXPECT_EQ(parseBooleanField("a", *root, "Parameter", context), true);
  EXPECT_EQ(parseBooleanField("d", *root, "Parameter", context), false);
  EXPECT_EQ(parseBooleanField("missing", *root, "Parameter", context), std::nullopt);
  EXPECT_EQ(parseBooleanField("b", *root, "Parameter", context), std::nullopt);
  EXPECT_EQ(parseBooleanField("b", *root, "Parameter", low), std::nullopt);
  EXPECT_TRUE(low.diagnostics.empty());
  ASSERT_EQ(context.diagnostics.size(), 1u);
  EXPECT_EQ(context.diagnostics[0].message(), "[GEN-002] Property 'b' in Parameter object must be a boolean");
  EXPECT_EQ(context.diagnostics[0].severity(), DiagnosticSeverity::warning);
  EXPECT_EQ(where(context.diagnostics[0]), "/b 1:18");
}

TEST(VendorExtensions, AbsentWithoutXMembersAndKeptInOrder) {
  EXPECT_EQ(collectVendorExtensions(*json(R"({"name": "a", "X-Foo": 1})")), std::nullopt);
  EXPECT_EQ(collectVendorExtensions(*json("[1]")), std::nullopt);
  auto extensions = collectVendorExtensions(*json(R"({"x-count": 2, "name": "a", "x-obj": {"k": [null, "s"]}})"));
  ASSERT_TRUE(extensions);
  ASSERT_EQ(extensions->size(), 2u);
  EXPECT_EQ(extensions->entries()[0].first, "x-count");
  const AnyValue::Array& inner = *extensions->find("x-obj")->objectValue()->find("k")->arrayValue();
  EXPECT_EQ(inner, (AnyValue::Array{AnyValue(), AnyValue("s")}));
}

TEST(AnyValueFromNode, NumbersAreIntegersOnlyWhenIntegralAndInRange) {
  auto value = anyValueFromNode(*json(R"([3.0, 2.5, -9223372036854775808, 9223372036854775808, 1e20, true, "t", null])"));
  const AnyValue::Array& a = *value.arrayValue();
  EXPECT_EQ(a[0], AnyValue(3));
  EXPECT_EQ(a[0].kind(), AnyValue::Kind::int_);
  EXPECT_EQ(a[1], AnyValue(2.5));
  EXPECT_EQ(a[2].intValue(), std::optional<int64_t>(INT64_MIN));
  EXPECT_EQ(a[3].kind(), AnyValue::Kind::double_);
  EXPECT_EQ(a[4].kind(), AnyValue::Kind::double_) << "1e20 is beyond 64 bits";
  EXPECT_EQ(a[5], AnyValue(true));
  EXPECT_EQ(a[6], AnyValue("t"));
  EXPECT_TRUE(a[7].isNull());
}

TEST(ReferenceOr, AStringRefMakesAReferenceAndAnyOtherRefIsReadInlineAsUnknown) {
  auto root = json(R"({"t": {"$ref": "#/x", "summary": "S", "description": 7, "foo": 1}, "u": {"$ref": 5, "name": "n"}})");
  TransformContext context(ValidationLevel::high);
  auto result = parseReferenceOr<Version30::Tag>(*(*root)["t"], context, parseTag<Version30>);
  ASSERT_TRUE(result.isReference());
  const Reference& ref = *result.referenceValue();
  EXPECT_EQ(ref.ref, "#/x");
  EXPECT_EQ(ref.summary, std::optional<std::string>("S"));
  EXPECT_EQ(ref.description, std::nullopt);
  ASSERT_TRUE(ref.location);
  EXPECT_EQ(ref.location->jsonPointer, "/t/$ref");
  EXPECT_EQ(ref.location->locationRange.start.column, 16);
  EXPECT_TRUE(context.diagnostics.empty());

  auto inlined = parseReferenceOr<Version30::Tag>(*(*root)["u"], context, parseTag<Version30>);
  ASSERT_FALSE(inlined.isReference());
  EXPECT_EQ(inlined.inlineValue()->name, "n");
  ASSERT_EQ(context.diagnostics.size(), 1u);
  EXPECT_EQ(context.diagnostics[0].message(), "[GEN-001] Unknown property '$ref' in Tag object");
  EXPECT_EQ(where(context.diagnostics[0]), "/u/$ref 1:82");
}

TEST(ChildCollections, EveryElementGoesToTheReaderAndTheFirstErrorStops) {
  auto root = json(R"({"tags": [{"name": "a"}, "plain", {"name": 1}]})");
  TransformContext context(ValidationLevel::high);
  try {
    parseArrayOf(*root, "tags", context,
                 [](const GenericNode& node, TransformContext& ctx) { return parseTag<Version30>(node, ctx); });
    FAIL() << "expected a TransformError";
  } catch (const TransformError& error) {
    EXPECT_EQ(error.description(), "TransformError: Missing required field 'name' in tag at /tags/1 (line 1, column 26)");
  }
}

}  // namespace
