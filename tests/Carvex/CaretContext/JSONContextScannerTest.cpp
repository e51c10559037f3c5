#include "Carvex/CaretContext/JSONContextScanner.h"

#include "CaretTestSupport.h"

#include <gtest/gtest.h>

using CaretTest::caretIn;
using CaretTest::describe;
using Carvex::JSONContextScanner;

namespace {

struct Row {
    const char* name;
    const char* marked; // "|" is the caret
    const char* expected;
};

const JSONContextScanner scanner;

TEST(JSONContextScanner, pathFollowsOpenContainersUpToTheCaret)
{
    const Row rows[] = {
        {"nested_objects", R"({"paths": {"/pets": {"get": {|)", "key(paths) dyn(/pets) key(get)"},
        {"component_schema_property",
         R"({"components": {"schemas": {"Pet": {"type": "object", "properties": {"name": {|)",
         "key(components) key(schemas) dyn(Pet) key(properties) key(name)"},
        {"array_of_objects", R"({"tags": [{"name": "a"}, {"name": |)", "key(tags) idx(1)"},
        {"nested_arrays", R"({"x": [[1, 2], [3, |)", "key(x) idx(1)"},
        {"closed_arrays_leave_the_path", R"({"x": [[1], [2]], "y": {|)", "key(y)"},
        {"key_without_colon_is_not_pending", R"({"paths" |)", ""},
        {"colon_after_caret_is_not_seen", R"({"paths" | : {)", ""},
        {"caret_in_key_being_typed", R"({"info": {"ti|)", "key(info)"},
        {"array_of_scalars_has_no_index", R"({"required": ["a", |)", "key(required)"},
        {"escaped_quote_stays_in_key", R"({"a\"b": {|)", "key(a\\\"b)"},
        {"two_backslashes_close_the_string", R"({"a\\": {|)", "key(a\\\\)"},
        {"status_codes_are_dynamic", R"({"paths": {"/p": {"get": {"responses": {"200": {|)",
         "key(paths) dyn(/p) key(get) key(responses) dyn(200)"},
        {"webhook_entries_are_keys", R"({"webhooks": {"new": {|)", "key(webhooks) key(new)"},
        {"stray_closers_are_harmless", R"(]]}}{"a": {|)", "key(a)"},
        {"mismatched_closer_keeps_path", R"({"a": {"b": [}|)", "key(a) key(b)"},
        {"caret_zero", "|{}", ""},
    };
    for (const Row& row : rows) {
        const auto [text, caret] = caretIn(row.marked);
        EXPECT_EQ(describe(scanner.extractPath(text, caret)), row.expected) << row.name;
    }
}

TEST(JSONContextScanner, roleIsDecidedByTheFirstColonOrCommaAtTheCaretsLevel)
{
    const Row rows[] = {
        {"after_colon", R"({"a": |)", "mappingValue"},
        {"after_comma", R"({"a": 1, |)", "mappingKey"},
        {"in_array", R"({"a": [1, |)", "sequenceItem"},
        {"after_nested_object", R"({"a": {"b": 1}, |)", "mappingKey"},
        {"inside_key_string", R"({ "x|)", "mappingKey"},
        {"colon_inside_string_value", R"({"a": "b:c", "d|)", "mappingKey"},
        {"value_then_comma_in_same_object", R"({"a": 1, "b": tr|)", "mappingValue"},
        {"array_of_objects_key", R"([{"a": 1}, {|)", "mappingKey"},
        {"no_container", "x|", "mappingKey"},
        {"caret_zero", "|{}", "mappingKey"},
    };
    for (const Row& row : rows) {
        const auto [text, caret] = caretIn(row.marked);
        EXPECT_STREQ(describe(scanner.detectRole(text, caret)), row.expected) << row.name;
    }
}

TEST(JSONContextScanner, prefixIsTheWordOrTheStringTypedSoFar)
{
    const Row rows[] = {
        {"key_in_string", R"({"ty|)", "ty"},
        {"bare_value", R"({"type": str|)", "str"},
        {"dollar", R"({"$re|)", "$re"},
        {"dash", R"({"a": x-y|)", "x-y"},
        {"string_keeps_spaces", R"({"a": "hello wo|)", "hello wo"},
        {"escaped_quote_is_text", R"({"a": "a\"b|)", R"(a\"b)"},
        {"after_space", R"({"a": |)", ""},
        {"surrogate_ends_word", "{\"a\": x\xF0\x9F\x98\x80yz|", "yz"},
        {"letters_beyond_ascii", "{\"a\": \xC3\xA9t\xC3\xA9|", "\xC3\xA9t\xC3\xA9"},
    };
    for (const Row& row : rows) {
        const auto [text, caret] = caretIn(row.marked);
        EXPECT_EQ(scanner.extractPrefix(text, caret).toStdString(), row.expected) << row.name;
    }
}

TEST(JSONContextScanner, currentKeyIsTheKeyWhoseValueHoldsTheCaret)
{
    const Row rows[] = {
        {"string_value", R"({"type": "str|)", "\"type\""},
        {"first_array_element", R"({"required": ["na|)", "\"required\""},
        {"later_array_element", R"({"required": ["a", "b|)", "none"},
        {"empty_key", R"({"": |)", "none"},
        {"after_object_value_braces_do_not_nest", R"({"a": {"x": 1} |)", "\"x\""},
        {"at_object_start", R"({|)", "none"},
        {"escaped_quote_in_key", R"({"a\"b": |)", "\"a\\\"b\""},
    };
    for (const Row& row : rows) {
        const auto [text, caret] = caretIn(row.marked);
        EXPECT_EQ(describe(scanner.extractCurrentKey(text, caret)), row.expected) << row.name;
    }
}

TEST(JSONContextScanner, existingKeysAreTheCaretObjectsOwnKeysOnBothSides)
{
    const Row rows[] = {
        {"before_and_after", R"({"a": 1, | "b": {"c": 2}})", "a,b"},
        {"string_value_is_no_key", R"({"x": "y", |})", "x"},
        {"directly_in_array", R"({"a": [|)", ""},
        {"nested_object_only", R"({"a": 1, "b": {"c": 2, |}, "d": 3})", "c"},
        {"key_on_caret_line", R"({"a": 1, "b|": 2})", "a,b"},
        {"unclosed_object_reads_to_end", R"({"a": 1, |, "b": [{"z": 1}], "c": 2)", "a,b,c"},
        // A key begun with its quote ends with its line: the keys below read as keys.
        {"unclosed_key_string_ends_with_its_line", "{\"a\": 1,\n  \"de|\n  \"description\": \"x\",\n  \"b\": {\"c\": 2}\n}",
         "a,b,description"},
        {"unclosed_escape_ends_with_its_line", "{\"a\": 1,\r\n  \"d\\|\r\n  \"b\": 2}", "a,b"},
        {"key_string_closed_on_its_line", "{\"de|x\": 1,\n  \"b\": 2}", "b,dex"},
    };
    for (const Row& row : rows) {
        const auto [text, caret] = caretIn(row.marked);
        EXPECT_EQ(describe(scanner.extractExistingKeys(text, caret)), row.expected) << row.name;
    }
}

TEST(JSONContextScanner, escapeRunParityDecidesWhetherAQuoteCloses)
{
    // Two backslashes before the quote close the string; three do not.
    const auto [closed, closedCaret] = caretIn(R"({"a\\": |)");
    EXPECT_FALSE(JSONContextScanner::isInsideString(closed, closedCaret));
    EXPECT_EQ(describe(scanner.extractCurrentKey(closed, closedCaret)), R"("a\\")");
    const auto [open, openCaret] = caretIn(R"({"a\\\": |)");
    EXPECT_TRUE(JSONContextScanner::isInsideString(open, openCaret));
    EXPECT_EQ(scanner.detectRole(open, openCaret), Carvex::CursorRole::mappingKey);
}

TEST(JSONContextScanner, hintsReportStringAndIndentationOfTheCaretLine)
{
    const auto [text, caret] = caretIn("{\n \t  \"a\": \"x|\"\n}");
    const Carvex::CompletionHints hints = scanner.extractHints(text, caret);
    EXPECT_TRUE(hints.isInString);
    EXPECT_FALSE(hints.isInComment);
    EXPECT_EQ(hints.currentIndentation, " \t  ");
    EXPECT_EQ(hints.indentationDepth, 2); // (3 spaces + 2) / 2
    EXPECT_EQ(scanner.extractHints(text, text.size() + 1), Carvex::CompletionHints::default_());
}

} // namespace
