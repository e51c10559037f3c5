#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "kit/examples/SchemaValueGenerator.h"

namespace {

using namespace VoziZazIreExampleGeneration;
using std::nullopt;
using D = std::optional<double>;
using I = std::optional<int64_t>;
using S = std::optional<std::string>;

constexpr double inf = std::numeric_limits<double>::infinity();
constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
constexpr int64_t kMax = std::numeric_limits<int64_t>::max();

TEST(SchemaValueGenerator, Strings) {
  struct Row {
    const char* name;
    S format;
    I minLength, maxLength;
    std::string expected;
  };
  const Row rows[] = {
      {"plain", nullopt, nullopt, nullopt, "string"},
      {"short minimum", nullopt, 3, nullopt, "string"},
      {"long minimum", nullopt, 10, nullopt, std::string(10, 'x')},
      {"minimum then cut", nullopt, 10, 4, "xxxx"},
      {"cut", nullopt, nullopt, 3, "str"},
      {"cut to nothing", nullopt, nullopt, 0, ""},
      {"format ignores lengths", "uuid", nullopt, 5, "550e8400-e29b-41d4-a716-446655440000"},
      {"format in capitals", "Date-Time", nullopt, nullopt, "2024-01-15T09:30:00Z"},
      {"date", "date", nullopt, nullopt, "2024-01-15"},
      {"time", "time", nullopt, nullopt, "09:30:00"},
      {"ipv4", "ipv4", nullopt, nullopt, "192.168.1.1"},
      {"byte", "byte", nullopt, nullopt, "SGVsbG8gV29ybGQ="},
      {"password", "password", nullopt, nullopt, "********"},
      {"duration", "duration", nullopt, nullopt, "P1D"},
      {"unknown format falls through", "int32", 8, nullopt, std::string(8, 'x')},
      {"huge minimum is bounded", nullopt, int64_t{1} << 62, nullopt, std::string(10000, 'x')},
      {"negative maximum ignored", nullopt, nullopt, -1, "string"},
      {"lowest maximum ignored", nullopt, 20, kMin, std::string(20, 'x')},
  };
  for (const Row& row : rows)
    EXPECT_EQ(SchemaValueGenerator::generateString(row.format, row.minLength, row.maxLength, nullopt), row.expected)
        << row.name;

  for (const char* format : {"email", "uri", "url", "hostname"}) {
    std::string sample = SchemaValueGenerator::generateString(std::string(format), nullopt, nullopt, nullopt);
    EXPECT_NE(sample.find("example.com"), std::string::npos) << format << ": " << sample;
  }
}

TEST(SchemaValueGenerator, Numbers) {
  struct Row {
    const char* name;
    D minimum, maximum, exclusiveMinimum, exclusiveMaximum, multipleOf;
    double expected;
  };
  const Row rows[] = {
      {"both bounds", 1, 10, nullopt, nullopt, nullopt, 5.5},
      {"exclusive lower only", nullopt, nullopt, 0, nullopt, nullopt, 1.1},
      {"upper only", nullopt, 10, nullopt, nullopt, nullopt, 9.0},
      {"both exclusive", nullopt, nullopt, 0, 1, nullopt, 0.5},
      {"multiple", 0, 10, nullopt, nullopt, 3, 6.0},
      {"multiple raised above maximum", 7.2, 7.4, nullopt, nullopt, 1, 8.0},
      {"zero multiple ignored", 1, 10, nullopt, nullopt, 0, 5.5},
      {"negative multiple ignored", 1, 10, nullopt, nullopt, -2, 5.5},
      {"nothing", nullopt, nullopt, nullopt, nullopt, nullopt, 0.0},
      {"NaN bounds are absent", nan, nan, nan, nan, nan, 0.0},
      {"infinite bounds are absent", -inf, inf, nullopt, nullopt, nullopt, 0.0},
      {"infinite exclusive bounds are absent", 2, nullopt, -inf, inf, nullopt, 3.0},
      {"infinite multiple ignored", 1, 3, nullopt, nullopt, inf, 2.0},
      {"midpoint of huge bounds", 1e308, 1.5e308, nullopt, nullopt, nullopt, 1.25e308},
      {"midpoint of opposite extremes", -1.7976931348623157e308, 1.7976931348623157e308, nullopt, nullopt, nullopt, 0},
      {"tiny multiple of a huge value keeps it", 1e300, nullopt, nullopt, nullopt, 1e-300, 1e300},
      {"huge multiple rounds to zero", 1, 9, nullopt, nullopt, 1e300, 1e300},
  };
  for (const Row& row : rows) {
    double value = SchemaValueGenerator::generateNumber(row.minimum, row.maximum, row.exclusiveMinimum,
                                                        row.exclusiveMaximum, row.multipleOf);
    EXPECT_TRUE(std::isfinite(value)) << row.name;
    EXPECT_DOUBLE_EQ(value, row.expected) << row.name;
  }
}

TEST(SchemaValueGenerator, NumbersStayFiniteForEveryAbsurdCombination) {
  const D values[] = {nullopt, nan, inf, -inf, 1e300, -1e300, 1.7976931348623157e308, -1.7976931348623157e308,
                      1e-300, 0.0, 9.3e18, -9.3e18, 4.9e-324};
  for (D a : values)
    for (D b : values)
      for (D m : values) {
        EXPECT_TRUE(std::isfinite(SchemaValueGenerator::generateNumber(a, b, nullopt, nullopt, m)));
        EXPECT_TRUE(std::isfinite(SchemaValueGenerator::generateNumber(nullopt, nullopt, a, b, m)));
      }
}

TEST(SchemaValueGenerator, Integers) {
  struct Row {
    const char* name;
    D minimum, maximum, exclusiveMinimum, exclusiveMaximum, multipleOf;
    int64_t expected;
  };
  const Row rows[] = {
      {"both bounds", 1, 10, nullopt, nullopt, nullopt, 5},
      {"negative range", -3, 0, nullopt, nullopt, nullopt, -1},
      {"exclusive lower", nullopt, nullopt, 5, nullopt, nullopt, 6},
      {"exclusive upper", nullopt, nullopt, nullopt, 5, nullopt, 4},
      {"fraction dropped", 1.9, nullopt, nullopt, nullopt, nullopt, 1},
      {"multiple raised above maximum", 1, 4, nullopt, nullopt, 5, 5},
      {"multiple below one ignored", 1, 10, nullopt, nullopt, 0.5, 5},
      {"nothing", nullopt, nullopt, nullopt, nullopt, nullopt, 0},
      {"NaN bounds are absent", nan, nan, nan, nan, nan, 0},
      {"infinities saturate", -inf, inf, nullopt, nullopt, nullopt, 0},
      {"positive infinity alone", inf, nullopt, nullopt, nullopt, nullopt, kMax},
      {"negative infinity alone", nullopt, -inf, nullopt, nullopt, nullopt, kMin},
      {"huge lower saturates", 1e300, nullopt, nullopt, nullopt, nullopt, kMax},
      {"exclusive lower at the top", nullopt, nullopt, 1e300, nullopt, nullopt, kMax},
      {"exclusive upper at the bottom", nullopt, nullopt, nullopt, -1e300, nullopt, kMin},
      {"64-bit limits", -9223372036854775808.0, 9223372036854775807.0, nullopt, nullopt, nullopt, 0},
      {"sum of two large bounds", 9e18, 9.2e18, nullopt, nullopt, nullopt, 9100000000000000000},
      {"raising past the top", 9.2e18, nullopt, nullopt, nullopt, 7e18, 7000000000000000000},
      {"multiple beyond the range ignored", 5, nullopt, nullopt, nullopt, 1e300, 5},
      {"tiny multiple ignored", 5, nullopt, nullopt, nullopt, 1e-300, 5},
      {"infinite multiple ignored", 5, nullopt, nullopt, nullopt, inf, 5},
  };
  for (const Row& row : rows)
    EXPECT_EQ(SchemaValueGenerator::generateInteger(nullopt, row.minimum, row.maximum, row.exclusiveMinimum,
                                                    row.exclusiveMaximum, row.multipleOf),
              row.expected)
        << row.name;
}

TEST(SchemaValueGenerator, IntegersForEveryAbsurdCombination) {
  // Run under the sanitizers, this finds any overflow in the bound arithmetic.
  const D values[] = {nullopt, nan, inf, -inf, 1e300, -1e300, 9223372036854775807.0, -9223372036854775808.0,
                      9.2e18, -9.2e18, 1e-300, 0.5, 3};
  for (D a : values)
    for (D b : values)
      for (D m : values) {
        (void)SchemaValueGenerator::generateInteger(nullopt, a, b, nullopt, nullopt, m);
        (void)SchemaValueGenerator::generateInteger(nullopt, nullopt, nullopt, a, b, m);
        (void)SchemaValueGenerator::generateInteger(nullopt, a, nullopt, b, nullopt, m);
      }
}

TEST(SchemaValueGenerator, ItemCountEnumAndBoolean) {
  EXPECT_EQ(SchemaValueGenerator::arrayItemCount(nullopt, nullopt), 1);
  EXPECT_EQ(SchemaValueGenerator::arrayItemCount(nullopt, 0), 0);
  EXPECT_EQ(SchemaValueGenerator::arrayItemCount(0, 5), 1);
  EXPECT_EQ(SchemaValueGenerator::arrayItemCount(4, 2), 4);
  EXPECT_EQ(SchemaValueGenerator::arrayItemCount(-2, nullopt), -2);
  std::vector<VoziZazIreCore::AnyValue> values{VoziZazIreCore::AnyValue("a"), VoziZazIreCore::AnyValue(2)};
  EXPECT_EQ(SchemaValueGenerator::selectEnumValue(values), VoziZazIreCore::AnyValue("a"));
  EXPECT_EQ(SchemaValueGenerator::selectEnumValue({}), nullopt);
  EXPECT_TRUE(SchemaValueGenerator::generateBoolean());
}

}  // namespace
