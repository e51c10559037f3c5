#include "Carvex/ModelAdapters/AnyValueText.h"
#include "kit/core/GenericNode.h"
#include "kit/core/TextServices.h"
#include "kit/parsing/JSONParser.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using Carvex::AnyValueText::compactString;
using Carvex::AnyValueText::doubleDescription;
using Carvex::AnyValueText::prettyJSONString;
using VoziZazIreCore::AnyValue;

AnyValue object(std::initializer_list<std::pair<std::string, AnyValue>> entries)
{
    AnyValue::Object map;
    for (const auto& [key, value] : entries)
        map.insertOrAssign(key, value);
    return AnyValue(std::move(map));
}

AnyValue array(std::initializer_list<AnyValue> items)
{
    return AnyValue(AnyValue::Array(items));
}

struct TextRow {
    const char* name;
    AnyValue value;
    std::string compact;
    std::string pretty;
};

TEST(AnyValueTextTest, BothFormsFollowTheirTables)
{
    const double inf = std::numeric_limits<double>::infinity();
    const TextRow rows[] = {
        {"keys in scalar order", object({{"b", 1}, {"A", true}, {"a", nullptr}}), "{A: true, a: null, b: 1}",
         "{\n  \"A\": true,\n  \"a\": null,\n  \"b\": 1\n}"},
        {"array of arrays", array({array({1, 2}), 3}), "[[1, 2], 3]", "[\n  [\n    1,\n    2\n  ],\n  3\n]"},
        {"whole double", AnyValue(5.0), "5.0", "5.0"},
        {"negative whole double", AnyValue(-2.0), "-2.0", "-2.0"},
        {"fraction", AnyValue(0.25), "0.25", "0.25"},
        {"integer", AnyValue(5), "5", "5"},
        {"large whole double written out", AnyValue(1e20), "1e+20", "100000000000000000000.0"},
        {"small double", AnyValue(0.00001), "1e-05", "1e-05"},
        {"quote and tab", AnyValue("say \"hi\"\t!"), "say \"hi\"\t!", "\"say \\\"hi\\\"\\t!\""},
        {"backslash and line breaks", AnyValue("a\\b\r\nc"), "a\\b\r\nc", "\"a\\\\b\\r\\nc\""},
        {"empty containers", array({array({}), object({})}), "[[], {}]", "[\n  [],\n  {}\n]"},
        {"nested object in array", array({object({{"k", "v"}})}), "[{k: v}]", "[\n  {\n    \"k\": \"v\"\n  }\n]"},
        {"non-ASCII unchanged", AnyValue("grüße"), "grüße", "\"grüße\""},
        // JSON has no NaN or infinity: the indented form writes null, the compact form the number's text.
        {"NaN", AnyValue(std::nan("")), "nan", "null"},
        {"infinity", AnyValue(inf), "inf", "null"},
        {"negative infinity in an object", object({{"x", -inf}}), "{x: -inf}", "{\n  \"x\": null\n}"},
        {"control character", AnyValue("a\x01" "b\x1f"), "a\x01" "b\x1f", "\"a\\u0001b\\u001f\""},
        {"null", AnyValue(), "null", "null"},
        {"false", AnyValue(false), "false", "false"},
    };
    for (const TextRow& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(compactString(row.value), row.compact);
        EXPECT_EQ(prettyJSONString(row.value, 2), row.pretty);
    }
}

TEST(AnyValueTextTest, IndentedFormAlwaysReadsBackAsJSON)
{
    const double inf = std::numeric_limits<double>::infinity();
    const AnyValue value = object({{"nan", std::nan("")},
                                   {"inf", inf},
                                   {"ctl", "\x01\x02\x7f"},
                                   {"list", array({-inf, 1.5, 3.0, "tab\there"})}});
    const std::string text = prettyJSONString(value, 2);
    VoziZazIreParsing::JSONParser parser;
    VoziZazIreCore::NodePtr root;
    ASSERT_NO_THROW(root = parser.parse(text)) << text;
    EXPECT_EQ((*root)["nan"]->kind(), VoziZazIreCore::GenericNodeKind::null);
    EXPECT_EQ((*root)["inf"]->kind(), VoziZazIreCore::GenericNodeKind::null);
    EXPECT_EQ((*root)["ctl"]->stringValue(), std::string_view("\x01\x02\x7f"));
    EXPECT_EQ((*(*root)["list"])[0]->kind(), VoziZazIreCore::GenericNodeKind::null);
    EXPECT_EQ((*(*root)["list"])[3]->stringValue(), std::string_view("tab\there"));
}

TEST(AnyValueTextTest, ShortestDoubleTextAgreesWithTheLibrarysPrintedNumbers)
{
    for (double value : {0.0, -0.0, 1.0, 0.5, 0.1, 1.0 / 3.0, 123456.789, 1e-4, 9.99e-5, 1e15, 9999999999999998.0,
                         1e16, 1.5e16, 1e300, 5e-324, -42.125, std::numeric_limits<double>::max()}) {
        SCOPED_TRACE(value);
        const std::string text = doubleDescription(value);
        EXPECT_EQ(text, VoziZazIreCore::TextServices::formatDouble(value));
        EXPECT_EQ(std::strtod(text.c_str(), nullptr), value);
    }
}

TEST(AnyValueTextTest, DeepValuesPrintWithoutRecursion)
{
    constexpr int depth = 100000;
    AnyValue value(7);
    for (int i = 0; i < depth; ++i) {
        if (i % 2) {
            AnyValue::Array wrapper;
            wrapper.push_back(std::move(value));
            value = AnyValue(std::move(wrapper));
        } else {
            AnyValue::Object wrapper;
            wrapper.insertOrAssign("k", std::move(value));
            value = AnyValue(std::move(wrapper));
        }
    }
    const std::string compact = compactString(value);
    EXPECT_EQ(compact.size(), std::size_t(depth / 2 * (2 + 5)) + 1);
    const std::string pretty = prettyJSONString(value, 0);
    EXPECT_NE(pretty.find('7'), std::string::npos);
}

} // namespace
