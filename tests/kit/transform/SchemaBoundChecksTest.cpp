#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "kit/transform/SchemaBoundChecks.h"
#include "kit/transform/SchemaReader.h"
#include "tests/kit/transform/ReaderTesting.h"

namespace {

using CarvexTest::Reading;
using VoziZazIreCore::ValidationLevel;
using VoziZazIreTransform::checkSchemaBounds;
using VoziZazIreTransform::Version30;
using VoziZazIreTransform::Version31;
using Strings = std::vector<std::string>;

// Each row: a schema, the messages of the 3.0 check and those of the 3.1 check.
TEST(SchemaBounds, FindingsOfEachVersion) {
  const std::string minLength = "[SCH-001] minLength must be >= 0, got ";
  const std::string minItems = "[SCH-004] minItems must be >= 0, got ";
  const std::string minProperties = "[SCH-006] minProperties must be >= 0, got ";
  const std::string multipleOf = "[SCH-008] multipleOf must be > 0, got ";
  struct Row { const char* name; const char* json; Strings findings30; Strings findings31; };
  const Row rows[] = {
      {"min_length_negative", R"({"minLength": -1})", {minLength + "-1"}, {minLength + "-1"}},
      {"min_length_zero", R"({"minLength": 0})", {}, {}},
      {"max_length_below_min", R"({"minLength": 5, "maxLength": 3})", {"[SCH-002] maxLength (3) must be >= minLength (5)"},
       {"[SCH-002] maxLength (3) must be >= minLength (5)"}},
      {"equal_lengths", R"({"minLength": 5, "maxLength": 5})", {}, {}},
      {"both_length_rules", R"({"minLength": -1, "maxLength": -2})",
       {minLength + "-1", "[SCH-002] maxLength (-2) must be >= minLength (-1)"},
       {minLength + "-1", "[SCH-002] maxLength (-2) must be >= minLength (-1)"}},
      {"fractional_length_takes_no_part", R"({"minLength": 2.5, "maxLength": 1})", {}, {}},
      {"whole_number_written_with_fraction", R"({"minLength": -3.0})", {minLength + "-3"}, {minLength + "-3"}},
      {"minimum_above_maximum", R"({"minimum": 10, "maximum": 5})", {"[SCH-003] minimum (10.0) must be <= maximum (5.0)"},
       {"[SCH-003] minimum (10.0) must be <= maximum (5.0)"}},
      {"fractional_and_negative_bounds", R"({"minimum": 2.5, "maximum": -5})",
       {"[SCH-003] minimum (2.5) must be <= maximum (-5.0)"}, {"[SCH-003] minimum (2.5) must be <= maximum (-5.0)"}},
      {"equal_bounds_with_exclusive_flag", R"({"minimum": 5, "maximum": 5, "exclusiveMaximum": true})", {}, {}},
      {"minimum_as_text", R"({"minimum": "10", "maximum": 5})", {}, {}},
      {"exclusive_bounds_take_no_part", R"({"exclusiveMinimum": 10, "exclusiveMaximum": 5})", {}, {}},
      {"min_items_negative", R"({"minItems": -1})", {}, {minItems + "-1"}},
      {"max_items_below_min", R"({"minItems": 4, "maxItems": 2})", {}, {"[SCH-005] maxItems (2) must be >= minItems (4)"}},
      {"min_properties_negative", R"({"minProperties": -7})", {}, {minProperties + "-7"}},
      {"max_properties_below_min", R"({"maxProperties": 1, "minProperties": 2})", {},
       {"[SCH-007] maxProperties (1) must be >= minProperties (2)"}},
      {"multiple_of_zero", R"({"multipleOf": 0})", {}, {multipleOf + "0.0"}},
      {"multiple_of_negative_fraction", R"({"multipleOf": -0.5})", {}, {multipleOf + "-0.5"}},
      {"multiple_of_positive", R"({"multipleOf": 0.25})", {}, {}},
      {"unclosed_bracket", R"({"pattern": "[a-z"})", {}, {"[SCH-009] Invalid regex pattern: [a-z"}},
      {"pattern_as_number", R"({"pattern": 5})", {}, {}},
      {"empty_enum", R"({"enum": []})", {}, {"[SCH-013] enum must not be empty"}},
      {"enum_of_null", R"({"enum": [null]})", {}, {}},
      {"enum_as_object", R"({"enum": {}})", {}, {}},
      {"every_rule_in_order",
       R"({"enum": [], "pattern": "(", "multipleOf": -1, "maxProperties": -2,
           "minProperties": -1, "maxItems": -5, "minItems": -4, "maximum": 0, "minimum": 0.1, "maxLength": 0,
           "minLength": 1})",
       {"[SCH-002] maxLength (0) must be >= minLength (1)", "[SCH-003] minimum (0.1) must be <= maximum (0.0)"},
       {"[SCH-002] maxLength (0) must be >= minLength (1)", "[SCH-003] minimum (0.1) must be <= maximum (0.0)",
        minItems + "-4", "[SCH-005] maxItems (-5) must be >= minItems (-4)", minProperties + "-1",
        "[SCH-007] maxProperties (-2) must be >= minProperties (-1)", multipleOf + "-1.0",
        "[SCH-009] Invalid regex pattern: (", "[SCH-013] enum must not be empty"}},
      {"not_an_object", R"("minLength")", {}, {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Reading reading30(row.json);
    checkSchemaBounds<Version30>(*reading30.root, reading30.context);
    EXPECT_EQ(reading30.findingMessages(), row.findings30) << "3.0";
    Reading reading31(row.json);
    checkSchemaBounds<Version31>(*reading31.root, reading31.context);
    EXPECT_EQ(reading31.findingMessages(), row.findings31) << "3.1";
  }
}

TEST(SchemaBounds, FindingsStandAtTheSchemaNode) {
  Reading reading(R"({"properties": {
  "p": {"minLength": -1}}})");
  VoziZazIreTransform::parseSchema<Version31>(*reading.root, reading.context);
  EXPECT_EQ(reading.findings(), Strings{"[SCH-001] minLength must be >= 0, got -1 @ /properties/p 2:8"});
}

TEST(SchemaBounds, PatternShownAsWritten) {
  Reading reading(R"({"pattern": "^\\d+(\\.\\d+"})");
  checkSchemaBounds<Version31>(*reading.root, reading.context);
  EXPECT_EQ(reading.findingMessages(), Strings{R"([SCH-009] Invalid regex pattern: ^\d+(\.\d+)"});
}

}  // namespace
