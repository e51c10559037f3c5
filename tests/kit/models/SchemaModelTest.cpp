// Building schemas bottom-up, as the transform does, down to the deepest nesting the parsers accept.
#include <gtest/gtest.h>

#include <string>

#include "ModelBuilders.h"
#include "kit/core/Limits.h"

using namespace ModelBuilders;

namespace {

TEST(SchemaModel, DeepestAcceptedNestingIsBuiltWalkedAndReleased) {
  // An array of arrays as deep as any parsed document can be, ending in a "$ref".
  const std::size_t depth = VoziZazIreCore::kMaxNestingDepth;
  std::string pointer = "/components/schemas/Deep";
  for (std::size_t i = 0; i < depth; ++i) pointer += "/items";

  ReferenceOr<OpenAPI3_0::Schema> child = ref("#/components/schemas/Leaf");
  for (std::size_t level = depth; level-- > 0;) {
    pointer.resize(pointer.size() - std::string("/items").size());
    child = schema30(pointer, OpenAPI3_0::SchemaType::array, std::move(child));
  }
  ASSERT_FALSE(child.isReference());

  std::size_t levels = 0;
  std::string expectedPointer = "/components/schemas/Deep";
  const ReferenceOr<OpenAPI3_0::Schema>* at = &child;
  while (const auto* schema = at->inlineValue()) {
    ASSERT_EQ(schema->location.jsonPointer, expectedPointer);
    ASSERT_EQ(schema->type, OpenAPI3_0::SchemaType::array);
    ASSERT_TRUE(schema->items.has_value());
    EXPECT_FALSE(schema->nullable.has_value());  // absent stays absent: no default is filled in
    at = &*schema->items;
    expectedPointer += "/items";
    ++levels;
  }
  EXPECT_EQ(levels, depth);
  ASSERT_TRUE(at->isReference());
  EXPECT_EQ(at->referenceValue()->ref, "#/components/schemas/Leaf");
  // Releasing the top releases the whole chain (checked for leaks under AddressSanitizer).
}

// What 3.1 dropped cannot be stored, and what it added is not in 3.0.
template <class T>
concept HasAllowEmptyValue = requires(const T& t) { t.allowEmptyValue; };
template <class T>
concept HasNullable = requires(const T& t) { t.nullable; };
template <class T>
concept HasExample = requires(const T& t) { t.example; };
template <class T>
concept HasXml = requires(const T& t) { t.xml; };
template <class T>
concept HasAllOperations = requires(const T& t) { t.allOperations(); };
static_assert(HasAllowEmptyValue<OpenAPI3_0::Header> && !HasAllowEmptyValue<OpenAPI3_1::Header>);
static_assert(HasAllowEmptyValue<OpenAPI3_1::Parameter>);
static_assert(HasNullable<OpenAPI3_0::Schema> && !HasNullable<OpenAPI3_1::Schema>);
static_assert(HasExample<OpenAPI3_0::Schema> && !HasExample<OpenAPI3_1::Schema>);
static_assert(HasXml<OpenAPI3_0::Schema> && !HasXml<OpenAPI3_1::Schema>);
static_assert(HasAllOperations<OpenAPI3_1::PathItem> && !HasAllOperations<OpenAPI3_0::PathItem>);

}  // namespace
