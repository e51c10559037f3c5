#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "ExampleTreeHelpers.h"
#include "kit/core/Limits.h"
#include "kit/examples/GenericNodeBuilder.h"
#include "kit/examples/GenericNodeSerializer.h"
#include "kit/parsing/JSONParser.h"
#include "kit/parsing/YAMLParser.h"

namespace {

using namespace VoziZazIreExampleGeneration;
using namespace CarvexExampleTest;
using VoziZazIreCore::NodePtr;

NodePtr tree(const AnyValue& value) { return GenericNodeBuilder::nodeFromAnyValue(value, ""); }

TEST(GenericNodeSerializer, PrintedForms) {
  struct Row {
    const char* name;
    AnyValue value;
    const char* compact;
    const char* pretty;
    const char* yaml;
  };
  const Row rows[] = {
      {"object", object({{"name", "x"}, {"id", 1}}), R"({"id":1,"name":"x"})", "{\n  \"id\": 1,\n  \"name\": \"x\"\n}",
       "id: 1\nname: x"},
      {"nested array", object({{"tags", array({true, nullptr})}, {"id", 2.5}}), R"({"id":2.5,"tags":[true,null]})",
       "{\n  \"id\": 2.5,\n  \"tags\": [\n    true,\n    null\n  ]\n}", "id: 2.5\ntags:\n  - true\n  - null"},
      {"objects in an array", array({object({{"id", 1}, {"name", "a"}}), object({{"id", 2}})}),
       R"([{"id":1,"name":"a"},{"id":2}])", "[\n  {\n    \"id\": 1,\n    \"name\": \"a\"\n  },\n  {\n    \"id\": 2\n  }\n]",
       "- id: 1\n  name: a\n- id: 2"},
      {"array in an array", array({array({1, 2})}), "[[1,2]]", "[\n  [\n    1,\n    2\n  ]\n]", "-\n  - 1\n  - 2"},
      {"empty members", object({{"b", AnyValue(AnyValue::Array{})}, {"a", AnyValue(AnyValue::Object{})}}),
       R"({"a":{},"b":[]})", "{\n  \"a\": {},\n  \"b\": []\n}", "a: {}\nb: []"},
      {"object in object in array", array({object({{"a", object({{"b", 1}, {"c", 2}})}})}), R"([{"a":{"b":1,"c":2}}])",
       "[\n  {\n    \"a\": {\n      \"b\": 1,\n      \"c\": 2\n    }\n  }\n]", "- a:\n    b: 1\n    c: 2"},
      {"keys in byte order", object({{"name", 1}, {"Zed", 2}, {"id", 3}}), R"({"Zed":2,"id":3,"name":1})",
       "{\n  \"Zed\": 2,\n  \"id\": 3,\n  \"name\": 1\n}", "Zed: 2\nid: 3\nname: 1"},
      {"empty root object", AnyValue(AnyValue::Object{}), "{}", "{}", "{}"},
      {"empty root array", AnyValue(AnyValue::Array{}), "[]", "[]", "[]"},
      {"string root", "hi", "\"hi\"", "\"hi\"", "hi"},
      {"null root", nullptr, "null", "null", "null"},
      {"false root", false, "false", "false", "false"},
  };
  for (const Row& row : rows) {
    NodePtr node = tree(row.value);
    EXPECT_EQ(GenericNodeSerializer::toJSON(*node, false), row.compact) << row.name;
    EXPECT_EQ(GenericNodeSerializer::toJSON(*node, true), row.pretty) << row.name;
    EXPECT_EQ(GenericNodeSerializer::serialize(*node, OutputFormat::json), row.pretty) << row.name;
    EXPECT_EQ(GenericNodeSerializer::toYAML(*node), row.yaml) << row.name;
    EXPECT_EQ(GenericNodeSerializer::serialize(*node, OutputFormat::yaml), row.yaml) << row.name;
  }
}

TEST(GenericNodeSerializer, StringsInEachForm) {
  struct Row {
    const char* name;
    std::string text;
    std::string json;
    std::string yaml;
  };
  const Row rows[] = {
      {"empty", "", R"("")", R"("")"},
      {"reserved Yes", "Yes", R"("Yes")", R"("Yes")"},
      {"reserved NULL", "NULL", R"("NULL")", R"("NULL")"},
      {"reserved tilde", "~", R"("~")", R"("~")"},
      {"hyphen", "2024-01-01", R"("2024-01-01")", R"("2024-01-01")"},
      {"colon", "a: b", R"("a: b")", R"("a: b")"},
      {"integer text", "12", R"("12")", R"("12")"},
      {"exponent text", "1e3", R"("1e3")", R"("1e3")"},
      {"nan text", "nan", R"("nan")", R"("nan")"},
      {"hexadecimal text", "0x1F", R"("0x1F")", R"("0x1F")"},
      {"hexadecimal float text", "-0x1.8p3", R"("-0x1.8p3")", R"("-0x1.8p3")"},
      {"infinity text", "+Infinity", R"("+Infinity")", R"("+Infinity")"},
      {"nan with payload", "nan(x1)", "\"nan(x1)\"", "\"nan(x1)\""},
      {"point text", ".5", R"(".5")", R"(".5")"},
      {"exponent without digits", "1e", R"("1e")", "1e"},
      {"words beside numbers", "12ab", R"("12ab")", "12ab"},
      {"leading space", " x", R"(" x")", R"(" x")"},
      {"trailing space", "x ", R"("x ")", R"("x ")"},
      {"trailing no-break space", "x\u00a0", "\"x\u00a0\"", "\"x\u00a0\""},
      {"plain words", "hello world", R"("hello world")", "hello world"},
      {"underscore", "user_name", R"("user_name")", "user_name"},
      {"tab", "a\tb", R"("a\tb")", R"("a\tb")"},
      {"line breaks", "a\r\nb", R"("a\r\nb")", R"("a\r\nb")"},
      {"quote and backslash", "say \"hi\\\"", R"("say \"hi\\\"")", R"("say \"hi\\\"")"},
      {"control character", "a\x01", R"("a\u0001")", R"("a\u0001")"},
      {"delete", "a\x7f", "\"a\x7f\"", R"("a\u007f")"},
      {"next line", "a\u0085b", "\"a\u0085b\"", R"("a\u0085b")"},
      {"line separator", "a\u2028b", "\"a\u2028b\"", R"("a\u2028b")"},
      {"paragraph separator", "a\u2029b", "\"a\u2029b\"", R"("a\u2029b")"},
      {"non-ASCII unchanged", "caf\u00e9 \u65e5\u672c", "\"caf\u00e9 \u65e5\u672c\"", "caf\u00e9 \u65e5\u672c"},
      {"document end marker", "...", R"("...")", R"("...")"},
      {"slash unescaped", "a/b", R"("a/b")", "a/b"},
      {"bytes that are not UTF-8", "a\xff", "\"a\uFFFD\"", "\"a\uFFFD\""},
  };
  for (const Row& row : rows) {
    NodePtr node = GenericNodeBuilder::stringNode(row.text, "");
    EXPECT_EQ(GenericNodeSerializer::toJSON(*node, false), row.json) << row.name;
    EXPECT_EQ(GenericNodeSerializer::toYAML(*node), row.yaml) << row.name;
  }
}

TEST(GenericNodeSerializer, Numbers) {
  struct Row {
    double value;
    const char* text;
  };
  const Row rows[] = {
      {3.0, "3"},
      {-0.0, "0"},
      {-7, "-7"},
      {1e18, "1000000000000000000"},
      {-9223372036854775807.0, "-9223372036854775808e+00"},  // replaced below: -2^63 is out of the integer form
      {1e19, "1e+19"},
      {9223372036854775808.0, "9.223372036854776e+18"},
      {0.0001, "0.0001"},
      {1e-5, "1e-05"},
      {1e-7, "1e-07"},
      {0.5, "0.5"},
      {-12.25, "-12.25"},
      {0.1, "0.1"},
      {123456.789, "123456.789"},
      {1e300, "1e+300"},
      {5e-324, "5e-324"},
  };
  for (const Row& row : rows) {
    if (row.value == -9223372036854775807.0) {
      // -2^63 has no fraction and a magnitude of 2^63, so it takes the exponent form.
      EXPECT_EQ(GenericNodeSerializer::formatNumber(row.value), "-9.223372036854776e+18");
      continue;
    }
    EXPECT_EQ(GenericNodeSerializer::formatNumber(row.value), row.text) << row.text;
  }
  EXPECT_EQ(GenericNodeSerializer::formatNumber(std::numeric_limits<double>::infinity()), "inf");
  EXPECT_EQ(GenericNodeSerializer::formatNumber(-std::numeric_limits<double>::infinity()), "-inf");
  EXPECT_EQ(GenericNodeSerializer::formatNumber(std::numeric_limits<double>::quiet_NaN()), "nan");
}

TEST(GenericNodeSerializer, NonFiniteNumbersInEachForm) {
  const double inf = std::numeric_limits<double>::infinity();
  AnyValue value = array({inf, -inf, std::numeric_limits<double>::quiet_NaN()});
  NodePtr node = tree(value);
  EXPECT_EQ(GenericNodeSerializer::toJSON(*node, false), "[null,null,null]");
  EXPECT_EQ(GenericNodeSerializer::toJSON(*node, true), "[\n  null,\n  null,\n  null\n]");
  EXPECT_EQ(GenericNodeSerializer::toYAML(*node), "- .inf\n- -.inf\n- .nan");
  EXPECT_NO_THROW(VoziZazIreParsing::JSONParser().parse(GenericNodeSerializer::toJSON(*node, false)));
}

// Random trees of awkward strings and numbers print to text that our own readers give back unchanged.
class RandomTrees {
 public:
  explicit RandomTrees(unsigned seed) : random_(seed) {}

  AnyValue value(int depth) {
    int pick = static_cast<int>(random_() % (depth > 0 ? 9 : 6));
    switch (pick) {
      case 0: return text();
      case 1: return number();
      case 2: return static_cast<bool>(random_() % 2);
      case 3: return nullptr;
      case 4: return text();
      case 5: return number();
      case 6:
      case 7: {
        AnyValue::Object map;
        int n = static_cast<int>(random_() % 4);
        for (int i = 0; i < n; ++i) map.insertOrAssign(text(), value(depth - 1));
        return AnyValue(std::move(map));
      }
      default: {
        AnyValue::Array list;
        int n = static_cast<int>(random_() % 4);
        for (int i = 0; i < n; ++i) list.push_back(value(depth - 1));
        return AnyValue(std::move(list));
      }
    }
  }

 private:
  std::string text() {
    static const char* const pieces[] = {
        "a",    "name", " ",   "\"",    "'",     "\\",     "\n",    "\r",     "\t",    "\x01",   "\x1f", "\x7f",
        "\u0085", "\u00a0", "\u2028", "\u2029", "\u00e9", "\u65e5", "\U0001F600", "true", "Yes", "off", "NULL",
        "~",    "12",   "-3",  "1e3",   ".5",    "nan",    "Inf",   "0x1A",   "#",     ":",      "- ",   "? ",
        "{",    "]",    ",",   "&",     "*",     "!",      "|",     ">",      "%",     "@",      "`",    "...",
        "---",  ".",    "/",   "~1",    "=",     "<<",     "0",     "+",      "e",     "null"};
    std::string out;
    int n = static_cast<int>(random_() % 4);
    for (int i = 0; i < n; ++i) out += pieces[random_() % std::size(pieces)];
    return out;
  }

  AnyValue number() {
    static const double values[] = {0.0,     -0.0,    1.0,     -1.0,   0.5,     1e-4,    9.99e-5, 1e-5,
                                    3.5e-7,  -2e-10,  1e300,   -1e300, 5e-324,  1e18,    1e19,    123.456,
                                    9223372036854775808.0, -9223372036854775808.0, 9223372036854774784.0,
                                    -9223372036854774784.0, 18446744073709551616.0, 9007199254740993.0,
                                    0.1,     1.0 / 3.0};
    if (random_() % 3 == 0) return static_cast<int64_t>(random_()) - (int64_t{1} << 31);
    return values[random_() % std::size(values)];
  }

  std::mt19937 random_;
};

TEST(GenericNodeSerializer, RandomTreesReadBack) {
  RandomTrees random(20240115);
  for (int i = 0; i < 400; ++i) {
    NodePtr original = tree(random.value(4));
    const std::string compact = GenericNodeSerializer::toJSON(*original, false);
    const std::string pretty = GenericNodeSerializer::toJSON(*original, true);
    const std::string yaml = GenericNodeSerializer::toYAML(*original);
    struct Form {
      const char* name;
      const std::string& text;
      bool yaml;
    };
    for (const Form& form : {Form{"compact", compact, false}, Form{"pretty", pretty, false}, Form{"yaml", yaml, true}}) {
      NodePtr back;
      try {
        back = form.yaml ? VoziZazIreParsing::YAMLParser().parse(form.text) : VoziZazIreParsing::JSONParser().parse(form.text);
      } catch (const std::exception& e) {
        ADD_FAILURE() << form.name << " does not read: " << e.what() << "\n" << form.text;
        continue;
      }
      ASSERT_TRUE(back) << form.name << "\n" << form.text;
      EXPECT_EQ(treeDifference(*original, *back), "") << form.name << "\n" << form.text;
    }
  }
}

TEST(GenericNodeSerializer, ExampleNestedToTheReadersLimitPrintsAndReadsBack) {
  AnyValue value = 1;
  for (std::size_t i = 1; i < VoziZazIreCore::kMaxNestingDepth; ++i) {
    if (i % 2) {
      AnyValue::Array list;
      list.push_back(std::move(value));
      list.push_back("x");
      value = AnyValue(std::move(list));
    } else {
      AnyValue::Object map;
      map.insertOrAssign("k/~", std::move(value));
      value = AnyValue(std::move(map));
    }
  }
  NodePtr original = tree(value);
  for (bool pretty : {false, true}) {
    NodePtr back = VoziZazIreParsing::JSONParser().parse(GenericNodeSerializer::toJSON(*original, pretty));
    EXPECT_EQ(treeDifference(*original, *back), "");
  }
  NodePtr back = VoziZazIreParsing::YAMLParser().parse(GenericNodeSerializer::toYAML(*original));
  EXPECT_EQ(treeDifference(*original, *back), "");
}

}  // namespace
