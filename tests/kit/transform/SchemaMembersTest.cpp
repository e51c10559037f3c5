#include <gtest/gtest.h>

#include <string>

#include "kit/parsing/JSONParser.h"
#include "kit/transform/SchemaMembers.h"

namespace {

using namespace VoziZazIreCore;
using VoziZazIreTransform::kSchemaKeyCount;
using VoziZazIreTransform::SchemaKey;
using VoziZazIreTransform::schemaKeyName;
using VoziZazIreTransform::SchemaMembers;

NodePtr json(std::string_view text) { return VoziZazIreParsing::JSONParser().parse(text); }

TEST(SchemaMembers, FindsEveryKeywordInItsOwnSlot) {
  // Each keyword's value is its own name, so a slot holding another keyword's member shows.
  std::string text = "{";
  for (std::size_t i = 0; i < kSchemaKeyCount; ++i) {
    const std::string name(schemaKeyName(static_cast<SchemaKey>(i)));
    text += (i ? ", \"" : "\"") + name + "\": \"" + name + "\"";
  }
  text += R"(, "x-type": 1, "Type": 2, "typ": 3})";
  auto root = json(text);
  const SchemaMembers members(*root);
  for (std::size_t i = 0; i < kSchemaKeyCount; ++i) {
    const auto key = static_cast<SchemaKey>(i);
    ASSERT_NE(members[key], nullptr) << schemaKeyName(key);
    EXPECT_EQ(members[key]->stringValue(), schemaKeyName(key));
  }
  EXPECT_EQ(schemaKeyName(SchemaKey::ref), "$ref");
  EXPECT_EQ(schemaKeyName(SchemaKey::not_), "not");
}

TEST(SchemaMembers, LeaveAbsentKeywordsAndNonObjectsEmpty) {
  auto root = json(R"({"type": "string", "properties": {"minLength": 1}})");
  const SchemaMembers members(*root);
  EXPECT_NE(members[SchemaKey::type], nullptr);
  EXPECT_EQ(members[SchemaKey::minLength], nullptr);  // belongs to a nested object
  for (const char* other : {"[1, 2]", "true", "\"type\""}) {
    auto node = json(other);
    const SchemaMembers none(*node);
    for (std::size_t i = 0; i < kSchemaKeyCount; ++i) EXPECT_EQ(none[static_cast<SchemaKey>(i)], nullptr) << other;
  }
}

}  // namespace
