// The numeric bounds and flags of a schema reach the model exactly: zero, negative and extreme values
// included, each in its own member, and a member that is present is never taken for an absent one.
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "kit/transform/SchemaReader.h"
#include "tests/kit/transform/ReaderTesting.h"

namespace {

using CarvexTest::Reading;
using VoziZazIreCore::CompactOptional;
using VoziZazIreTransform::parseSchema;
using VoziZazIreTransform::Version30;
using VoziZazIreTransform::Version31;

template <class Schema>
struct NumberMember {
  const char* key;
  const CompactOptional<double> Schema::*member;
};
template <class Schema>
struct IntegerMember {
  const char* key;
  const CompactOptional<int64_t> Schema::*member;
};

template <class Schema>
struct FlagMember {
  const char* key;
  const std::optional<bool> Schema::*member;
};

template <class V>
struct Members;

template <>
struct Members<Version30> {
  using Schema = VoziZazIreModels::OpenAPI3_0::Schema;
  static std::vector<NumberMember<Schema>> numbers() {
    return {{"multipleOf", &Schema::multipleOf}, {"maximum", &Schema::maximum}, {"minimum", &Schema::minimum}};
  }
  static std::vector<IntegerMember<Schema>> integers() {
    return {{"maxLength", &Schema::maxLength},         {"minLength", &Schema::minLength},
            {"maxItems", &Schema::maxItems},           {"minItems", &Schema::minItems},
            {"maxProperties", &Schema::maxProperties}, {"minProperties", &Schema::minProperties}};
  }
  static std::vector<FlagMember<Schema>> flags() {
    return {{"nullable", &Schema::nullable},       {"exclusiveMaximum", &Schema::exclusiveMaximum},
            {"exclusiveMinimum", &Schema::exclusiveMinimum}, {"uniqueItems", &Schema::uniqueItems},
            {"readOnly", &Schema::readOnly},       {"writeOnly", &Schema::writeOnly},
            {"deprecated", &Schema::deprecated}};
  }
};

template <>
struct Members<Version31> {
  using Schema = VoziZazIreModels::OpenAPI3_1::Schema;
  static std::vector<NumberMember<Schema>> numbers() {
    return {{"multipleOf", &Schema::multipleOf},
            {"maximum", &Schema::maximum},
            {"exclusiveMaximum", &Schema::exclusiveMaximum},
            {"minimum", &Schema::minimum},
            {"exclusiveMinimum", &Schema::exclusiveMinimum}};
  }
  static std::vector<IntegerMember<Schema>> integers() {
    return {{"maxLength", &Schema::maxLength},         {"minLength", &Schema::minLength},
            {"maxItems", &Schema::maxItems},           {"minItems", &Schema::minItems},
            {"maxContains", &Schema::maxContains},     {"minContains", &Schema::minContains},
            {"maxProperties", &Schema::maxProperties}, {"minProperties", &Schema::minProperties}};
  }
  static std::vector<FlagMember<Schema>> flags() {
    return {{"uniqueItems", &Schema::uniqueItems},
            {"readOnly", &Schema::readOnly},
            {"writeOnly", &Schema::writeOnly},
            {"deprecated", &Schema::deprecated}};
  }
};

struct NumberRow {
  const char* name;
  const char* text;
  double expected;
};
struct IntegerRow {
  const char* name;
  const char* text;
  int64_t expected;
};

const NumberRow kNumberRows[] = {
    {"zero", "0", 0.0},
    {"negative_fraction", "-0.5", -0.5},
    {"largest_double", "1.7976931348623157e308", 1.7976931348623157e308},
    {"smallest_subnormal", "5e-324", 5e-324},
};
const IntegerRow kIntegerRows[] = {
    {"zero", "0", 0},
    {"minus_one", "-1", -1},
    {"int64_min", "-9223372036854775808", INT64_MIN},
    {"two_to_the_53", "9007199254740992", int64_t{1} << 53},  // node numbers are doubles: exact up to here
};

// Every bound member of `schema` but `except` is absent.
template <class V>
void expectOtherBoundsAbsent(const typename Members<V>::Schema& schema, const std::string& except) {
  for (const auto& m : Members<V>::numbers()) {
    if (m.key != except) {
      EXPECT_FALSE((schema.*m.member).has_value()) << m.key;
    }
  }
  for (const auto& m : Members<V>::integers()) {
    if (m.key != except) {
      EXPECT_FALSE((schema.*m.member).has_value()) << m.key;
    }
  }
}

// Each bound of `members` read alone from each row's text gives the row's value, and no other bound.
template <class V, class MemberList, class Rows>
void checkReadBack(const MemberList& members, const Rows& rows) {
  for (const auto& member : members) {
    for (const auto& row : rows) {
      SCOPED_TRACE(std::string(member.key) + " " + row.name);
      Reading reading(std::string("{\"") + member.key + "\": " + row.text + "}");
      auto schema = parseSchema<V>(*reading.root, reading.context);
      const auto& value = (*schema).*member.member;
      ASSERT_TRUE(value.has_value()) << "present but read as absent";
      EXPECT_EQ(*value, row.expected);
      expectOtherBoundsAbsent<V>(*schema, member.key);
    }
  }
}

template <class V>
void checkBoundsReadBack() {
  checkReadBack<V>(Members<V>::numbers(), kNumberRows);
  checkReadBack<V>(Members<V>::integers(), kIntegerRows);
}

TEST(SchemaBoundValues, Version30ZeroNegativeAndExtremeBoundsSurvive) { checkBoundsReadBack<Version30>(); }
TEST(SchemaBoundValues, Version31ZeroNegativeAndExtremeBoundsSurvive) { checkBoundsReadBack<Version31>(); }

TEST(SchemaBoundValues, AbsentBoundsStayAbsent) {
  Reading reading(R"({"type": "object"})");
  expectOtherBoundsAbsent<Version30>(*parseSchema<Version30>(*reading.root, reading.context), "");
  expectOtherBoundsAbsent<Version31>(*parseSchema<Version31>(*reading.root, reading.context), "");
}

// The flags sit side by side in the model; each value must land in its own member, false included.
template <class V>
void checkFlagsReadBack() {
  const auto flags = Members<V>::flags();
  for (const auto& flag : flags) {
    for (const bool value : {false, true}) {
      SCOPED_TRACE(std::string(flag.key) + (value ? " true" : " false"));
      Reading reading(std::string("{\"") + flag.key + "\": " + (value ? "true" : "false") + "}");
      auto schema = parseSchema<V>(*reading.root, reading.context);
      for (const auto& other : flags) {
        if (&other == &flag) {
          EXPECT_EQ((*schema).*other.member, std::optional<bool>(value));
        } else {
          EXPECT_FALSE(((*schema).*other.member).has_value()) << other.key;
        }
      }
    }
  }
}

TEST(SchemaBoundValues, Version30EachFlagLandsInItsOwnMember) { checkFlagsReadBack<Version30>(); }
TEST(SchemaBoundValues, Version31EachFlagLandsInItsOwnMember) { checkFlagsReadBack<Version31>(); }

}  // namespace
