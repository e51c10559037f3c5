#include <gtest/gtest.h>

#include "tests/kit/validation/WalkTestSupport.h"

namespace {

using CarvexTest::messages;
using CarvexTest::validateYaml;
using CarvexTest::withCodes;

std::string withResponseKeys(const std::vector<std::string>& keys, std::string_view version = "3.0.3") {
  std::string text = "openapi: " + std::string(version) + "\ninfo: {title: t, version: '1'}\npaths:\n  /a:\n    get:\n";
  if (keys.empty()) return text + "      responses: {}\n";
  text += "      responses:\n";
  for (const auto& key : keys) text += "        '" + key + "': {description: d}\n";
  return text;
}

constexpr const char* kNoSuccess = "[RSP-002] Operation should have at least one success response (2xx) or default";

struct ResponseRow {
  const char* name;
  std::vector<std::string> keys;
  std::vector<std::string> expected;
};

class ResponseTest : public testing::TestWithParam<ResponseRow> {};

TEST_P(ResponseTest, Messages) {
  for (const char* version : {"3.0.3", "3.1.0"}) {
    const auto found = validateYaml(withResponseKeys(GetParam().keys, version));
    EXPECT_EQ(messages(withCodes(found, {"RSP-001", "RSP-002"})), GetParam().expected) << version;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ResponseTest,
    testing::Values(
        ResponseRow{"plain_success", {"200"}, {}},
        ResponseRow{"plus_sign_is_read_as_number", {"+204"}, {}},
        ResponseRow{"wildcard_success", {"2XX"}, {}},
        ResponseRow{"other_wildcards_are_accepted_but_no_success", {"1XX", "3XX", "4XX", "5XX"}, {kNoSuccess}},
        ResponseRow{"lower_case_wildcard", {"2xx"}, {"[RSP-001] Invalid HTTP status code format: 2xx", kNoSuccess}},
        ResponseRow{"six_hundred", {"600", "200"}, {"[RSP-001] Invalid HTTP status code: 600"}},
        ResponseRow{"minus_one", {"-1", "default"}, {"[RSP-001] Invalid HTTP status code: -1"}},
        ResponseRow{"bounds", {"100", "599", "299"}, {}},
        ResponseRow{"just_outside_bounds", {"99", "600"},
                    {"[RSP-001] Invalid HTTP status code: 99", "[RSP-001] Invalid HTTP status code: 600", kNoSuccess}},
        ResponseRow{"leading_zeros", {"0200"}, {}},
        ResponseRow{"empty_key", {""}, {"[RSP-001] Invalid HTTP status code format: ", kNoSuccess}},
        ResponseRow{"key_with_space", {"20 0", "default"}, {"[RSP-001] Invalid HTTP status code format: 20 0"}},
        ResponseRow{"sign_only", {"+", "default"}, {"[RSP-001] Invalid HTTP status code format: +"}},
        ResponseRow{"beyond_64_bits", {"99999999999999999999", "default"},
                    {"[RSP-001] Invalid HTTP status code format: 99999999999999999999"}},
        ResponseRow{"lowest_64_bit_value", {"-9223372036854775808", "default"},
                    {"[RSP-001] Invalid HTTP status code: -9223372036854775808"}},
        ResponseRow{"not_found_only", {"404"}, {kNoSuccess}},
        ResponseRow{"not_found_and_default", {"404", "default"}, {}},
        ResponseRow{"empty_map", {}, {kNoSuccess}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
