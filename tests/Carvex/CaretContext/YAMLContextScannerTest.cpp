#include "Carvex/CaretContext/YAMLContextScanner.h"
#include "Carvex/CaretContext/CursorLocationService.h"

#include "CaretTestSupport.h"

#include <gtest/gtest.h>

using CaretTest::caretIn;
using CaretTest::describe;
using Carvex::YAMLContextScanner;

namespace {

struct Row {
    const char* name;
    const char* marked; // "|" is the caret
    const char* expected;
};

const YAMLContextScanner scanner;

TEST(YAMLContextScanner, pathIsReadFromIndentationAndCountsSequenceItems)
{
    const Row rows[] = {
        {"operation_body", "paths:\n  /pets:\n    get:\n      summary: x|", "key(paths) dyn(/pets) key(get)"},
        {"caret_on_key_opening_block", "paths:\n  /pets:\n    get:|\n      summary: x",
         "key(paths) dyn(/pets) key(get)"},
        {"left_margin_is_root", "paths:|\n  /pets:", ""},
        {"second_item_continuation", "tags:\n  - name: a\n  - name: b\n    description: x|", "key(tags) idx(1)"},
        {"second_item_dash_line", "tags:\n  - name: a\n  - name: b|\n    description: x", "key(tags) idx(1)"},
        {"first_item", "parameters:\n  - name: limit\n    in: query|", "key(parameters) idx(0)"},
        {"component_parameter", "components:\n  parameters:\n    limit:\n      in: q|",
         "key(components) key(parameters) dyn(limit)"},
        {"nearer_of_two_same_name_sequences",
         "A:\n  required:\n    - a\n    - b\n    - c\nB:\n  required:\n    - x\n    - y|",
         "key(B) key(required) idx(1)"},
        {"caret_at_column_one_belongs_to_its_line", "info:\n  title: x\n|paths:", ""},
        {"blank_line_inside_block", "info:\n  title: x\n  |", "key(info)"},
        {"comment_lines_are_skipped", "info:\n  # about\n\n  title: x|", "key(info)"},
        {"quoted_key", "paths:\n  '/a':\n    get:\n      x: 1|", "key(paths) dyn(/a) key(get)"},
        {"tabs_count_two", "info:\n\ttitle: x|", "key(info)"},
        {"caret_after_final_terminator_is_on_last_line", "paths:\n  /pets:\n|", "key(paths) dyn(/pets)"},
        {"key_line_with_trailing_comment", "paths:\n  /a:\n    responses:\n      |'200':   # ok",
         "key(paths) dyn(/a) key(responses) dyn(200)"},
        {"colon_in_a_comment_opens_nothing", "info:\n  title: x #y:|", "key(info)"},
        {"document_marker_is_no_item", "info:\n---|", ""},
        {"item_at_the_margin", "info:\n- a|", "key(info) idx(0)"},
    };
    for (const Row& row : rows) {
        const auto [text, caret] = caretIn(row.marked);
        EXPECT_EQ(describe(scanner.extractPath(text, caret)), row.expected) << row.name;
    }
}

// Long runs of deeper lines between the caret and its parents are passed over whatever they
// hold: nested items, comments, tabs, CR LF, long values. "%" stands for such a run.
TEST(YAMLContextScanner, pathLooksPastLongRunsOfDeeperLines)
{
    QString filler;
    for (int i = 0; i < 40; ++i) {
        filler += QStringLiteral("        deep%1: a value long enough to span several chunks of units\n").arg(i);
        filler += QStringLiteral("          - nested item %1\n").arg(i);
        filler += i % 5 == 0 ? QStringLiteral("\n        # note\r\n") : QStringLiteral("\t\t\tx: tabbed\n");
    }
    const Row rows[] = {
        {"parents_far_above", "paths:\n  /pets:\n    get:\n%      summary: x|", "key(paths) dyn(/pets) key(get)"},
        {"deeper_dashes_are_not_items_here", "tags:\n  - name: a\n%  - name: b\n%    description: x|",
         "key(tags) idx(1)"},
        {"margin_comment_inside_a_block", "info:\n  title: x\n%# note\n%  version: 1|", "key(info)"},
        {"comment_at_the_margin_has_no_parents", "paths:\n  /a:\n%#|", ""},
        {"blank_line_at_the_margin_has_no_parents", "paths:\n  /a:\n%|\n  /b:", ""},
        {"line_separator_starts_a_line_without_a_key",
         "a:\n  b:\n%      w: two\u2028three\n%    c: x|", "key(a) key(b)"},
        {"long_parent_keys",
         "a_very_long_top_level_key_name_here:\n%  child_with_quite_a_long_name_too:\n%    leaf: x|",
         "key(a_very_long_top_level_key_name_here) key(child_with_quite_a_long_name_too)"},
        {"first_line_is_the_only_parent", "root:%  x: 1|", "key(root)"},
    };
    for (const Row& row : rows) {
        auto [text, caret] = caretIn(row.marked);
        const qsizetype marks = text.count(u'%');
        for (qsizetype at = text.indexOf(u'%'); at >= 0; at = text.indexOf(u'%')) {
            text.replace(at, 1, filler);
            if (at < caret)
                caret += filler.size() - 1;
        }
        ASSERT_GT(marks, 0) << row.name;
        EXPECT_EQ(describe(scanner.extractPath(text, caret)), row.expected) << row.name;
    }
}

TEST(YAMLContextScanner, roleFromDashLinesColonsAndBareIndentation)
{
    const Row rows[] = {
        {"after_colon_space", "type: |", "mappingValue"},
        {"typing_key", "  ty|", "mappingKey"},
        {"empty_dash", "  - |", "sequenceItem"},
        {"dash_under_required", "required:\n  - na|", "sequenceItem"},
        {"dash_under_tags", "tags:\n  - na|", "mappingKey"},
        {"dash_with_key", "  - name: |", "mappingValue"},
        {"dash_with_quoted_key", "  - \"a:b\": |", "mappingValue"},
        {"quoted_colon_under_required", "required:\n  - \"a:b\"|", "sequenceItem"},
        {"single_quoted_colon_under_required", "required:\n  - 'a: b'|", "sequenceItem"},
        {"plain_colon_without_blank", "required:\n  - a:b|", "sequenceItem"},
        {"flow_mapping_under_required", "required:\n  - {a: b}|", "sequenceItem"},
        {"flow_sequence_under_enum", "enum:\n  - [a, b: c]|", "sequenceItem"},
        {"flow_mapping_under_tags_as_a_scalar", "tags:\n  - {a: b}|", "mappingKey"},
        {"flow_value_of_an_item_key", "  - k: {a: |", "mappingValue"},
        {"caret_in_a_quoted_key_past_its_colon", "\"a: b|c\": x", "mappingKey"},
        {"caret_after_a_flow_holding_a_colon", "{a: b}|", "mappingKey"},
        {"indent_under_enum", "enum:\n  |", "sequenceItem"},
        {"indent_under_info", "info:\n  |", "mappingKey"},
        {"colon_before_caret", "a: b|c", "mappingValue"},
        {"colon_after_caret", "ab|c: d", "mappingKey"},
        {"caret_just_before_the_colon", "titl|: x", "mappingKey"},
        {"ends_with_colon", "info:|", "mappingValue"},
        {"empty_text", "|", "mappingKey"},
        {"blank_line_below_comment", "servers:\n# note\n\n  |", "sequenceItem"},
    };
    for (const Row& row : rows) {
        const auto [text, caret] = caretIn(row.marked);
        EXPECT_STREQ(describe(scanner.detectRole(text, caret)), row.expected) << row.name;
    }
}

TEST(YAMLContextScanner, hintsTellCommentsFromQuotedHashes)
{
    struct HintRow {
        const char* name;
        const char* marked;
        bool inComment;
        bool inString;
        const char* indentation;
        int depth;
    };
    const HintRow rows[] = {
        // A quote inside a plain scalar is text, so the hash after it starts a comment.
        {"odd_single_quote_before_hash", "description: it's # not|", true, false, "", 0},
        {"comment_after_value", "x: 1 # c|", true, false, "", 0},
        {"hash_in_double_quotes", "  x: \"a # b|", false, true, "  ", 1},
        {"escaped_quote_keeps_the_string_open", "x: \"a\\\" # b|", false, true, "", 0},
        {"doubled_single_quote_keeps_the_string_open", "x: 'it''|", false, true, "", 0},
        {"doubled_single_quote_then_the_closing_one", "x: 'it''s' |", false, false, "", 0},
        {"hash_inside_a_plain_word", "$ref: a.yaml#/b|", false, false, "", 0},
        {"tab_and_spaces", "\t  - a|", false, false, "\t  ", 2},
        {"closed_string", "x: 'a' |", false, false, "", 0},
    };
    for (const HintRow& row : rows) {
        const auto [text, caret] = caretIn(row.marked);
        const Carvex::CompletionHints hints = scanner.extractHints(text, caret);
        EXPECT_EQ(hints.isInComment, row.inComment) << row.name;
        EXPECT_EQ(hints.isInString, row.inString) << row.name;
        EXPECT_EQ(hints.currentIndentation.toStdString(), row.indentation) << row.name;
        EXPECT_EQ(hints.indentationDepth, row.depth) << row.name;
        EXPECT_FALSE(hints.isRefValueContext || hints.expectedReferenceKind) << row.name;
    }
}

TEST(YAMLContextScanner, currentKeyFromTheLineOrItsParent)
{
    const Row rows[] = {
        {"value_of_key", "  type: str|", "\"type\""},
        {"dash_line_key", "  - name: x|", "\"name\""},
        {"item_of_required", "required:\n  - |", "\"required\""},
        {"quoted_key", "'quoted key': |", "\"quoted key\""},
        {"empty_key", ": x|", "none"},
        {"double_quoted_key", "\"200\": |", "\"200\""},
        {"doubled_single_quote", "'it''s': |", "\"it's\""},
        {"parent_is_not_a_key_line", "a: b\n  |", "none"},
        {"parent_key_line_with_comment", "security: # all\n  - |", "\"security\""},
    };
    for (const Row& row : rows) {
        const auto [text, caret] = caretIn(row.marked);
        EXPECT_EQ(describe(scanner.extractCurrentKey(text, caret)), row.expected) << row.name;
    }
}

TEST(YAMLContextScanner, existingKeysOfTheCaretMappingOrSequenceItem)
{
    const Row rows[] = {
        {"block_keys_before_and_after", "info:\n  title: x\n  |\n  version: 1\npaths:", "title,version"},
        {"left_margin_gathers_root_keys", "openapi: 3\ninfo:\n  title: x\n|\npaths: {}", "info,openapi,paths"},
        {"new_item_has_no_keys", "tags:\n  - name: a\n    description: d\n  - |", ""},
        {"dash_line_key", "tags:\n  - name: a\n    description: d\n  - name: b|", "name"},
        {"inside_item", "tags:\n  - name: a\n    |\n    description: d\n  - name: b", "description,name"},
        {"nested_keys_below_block_excluded", "info:\n  contact:\n    name: n\n  |", "contact"},
        {"quoted_keys_lose_quotes", "responses:\n  '200': {}\n  \"404\": {}\n  |", "200,404"},
        {"list_at_its_key_column_leaves_the_root_mapping", "tags:\n- name: a\ninfo: x\npa|ths:", "info,paths,tags"},
        {"outer_item_ends_inner_item", "- items:\n    - name: x\n      |\n- other: 1\n      deep: 2",
         "name"},
    };
    for (const Row& row : rows) {
        const auto [text, caret] = caretIn(row.marked);
        EXPECT_EQ(describe(scanner.extractExistingKeys(text, caret)), row.expected) << row.name;
    }
}

TEST(YAMLContextScanner, keyReadersAndLineSplitting)
{
    using Carvex::YAMLContextScanner;
    EXPECT_EQ(describe(YAMLContextScanner::extractKeyFromLine(u"  - name: x")), "\"name\"");
    EXPECT_EQ(describe(YAMLContextScanner::extractKeyFromLine(u"''': x")), R"("'")");
    EXPECT_EQ(describe(YAMLContextScanner::extractKeyFromLine(u"'': x")), "\"\"");
    EXPECT_EQ(describe(YAMLContextScanner::extractKeyFromLine(u"# a: b")), "none");
    EXPECT_EQ(describe(YAMLContextScanner::extractKeyFromDashLine(u"- 'a: b")), "\"'a\"");
    EXPECT_EQ(describe(YAMLContextScanner::extractKeyFromDashLine(u"- \"x\": 1")), "\"x\"");
    EXPECT_EQ(describe(YAMLContextScanner::extractKeyFromLine(u"  '/it''s': x")), "\"/it's\"");
    EXPECT_EQ(describe(YAMLContextScanner::extractKeyFromDashLine(u"- 'a''''b': 1")), "\"a''b\"");
    EXPECT_EQ(describe(YAMLContextScanner::extractKeyFromLine(u"\"it''s\": x")), "\"it''s\"");
    EXPECT_EQ(describe(YAMLContextScanner::extractKeyFromLine(u"    board:read: Read")), "\"board:read\"");
    EXPECT_EQ(describe(YAMLContextScanner::extractKeyFromLine(u"  curl https://x \\")), "none");
    EXPECT_EQ(describe(YAMLContextScanner::extractKeyFromLine(u"  'a: b':\tx")), "\"a: b\"");
    EXPECT_EQ(describe(YAMLContextScanner::extractKeyFromLine(u"- url:")), "\"url\"");
    EXPECT_EQ(YAMLContextScanner::countLeadingIndentation(u" \t x"), 4);

    const std::pair<const char16_t*, const char16_t*> comments[] = {
        {u"key: # note", u"key:"},          {u"# only", u""},
        {u"a: 'x #y' # z", u"a: 'x #y'"},   {u"a: \"x\\\" #y\" #z", u"a: \"x\\\" #y\""},
        {u"url: a#b", u"url: a#b"},         {u"a: it's #1", u"a: it's"},
        {u"'it''s': #x", u"'it''s':"},      {u"a:\t#x", u"a:"},
    };
    for (const auto& [line, expected] : comments)
        EXPECT_EQ(YAMLContextScanner::withoutTrailingComment(line).toString(), QString::fromUtf16(expected))
            << QString::fromUtf16(line).toStdString();

    const auto lines = YAMLContextScanner::splitLines(u"a\n\nb\n");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[2], (YAMLContextScanner::LineInfo{"b", 3}));
    EXPECT_EQ(YAMLContextScanner::lineIndex(lines, 2), 1u);
    EXPECT_EQ(YAMLContextScanner::lineIndex(lines, 5), 2u); // after the final terminator: the last line
    EXPECT_FALSE(YAMLContextScanner::lineIndex({}, 0).has_value());
}

} // namespace

namespace {

// The record for a caret, on one line: path, role, current key, string and comment flags, existing
// keys. The scanner's questions asked one at a time agree with it.
std::string answer(QStringView text, qsizetype caret)
{
    const Carvex::CompletionContext context =
        Carvex::CursorLocationService().extractContext(text, caret, Carvex::DocumentFormat::yaml);
    EXPECT_EQ(scanner.extractPath(text, caret), context.path);
    EXPECT_EQ(scanner.detectRole(text, caret), context.role);
    EXPECT_EQ(scanner.extractHints(text, caret), context.hints);
    if (context.role == Carvex::CursorRole::mappingKey)
        EXPECT_EQ(scanner.extractExistingKeys(text, caret), context.existingKeys);
    else
        EXPECT_EQ(scanner.extractCurrentKey(text, caret), context.currentKey);
    return describe(context.path) + " | " + describe(context.role) + " " + describe(context.currentKey)
        + (context.hints.isInString ? " string" : "") + (context.hints.isInComment ? " comment" : "") + " {"
        + describe(context.existingKeys) + "}";
}

// The lines of a block scalar, whatever its header, are the value of the key that owns it: a colon,
// a dash, a "#" or a header in that text is text. "@" stands for the header.
TEST(YAMLContextScanner, blockScalarTextIsTheValueOfItsKey)
{
    const char16_t* headers[] = {u"|", u">", u"|-", u">+", u"|2", u">2-", u"|+9", u"!!str |", u"&a >", u"| # note"};
    const Row rows[] = {
        {"text_with_colon", "paths:\n  /s:\n    ex:\n      curl: @\n        curl https://x \\\n          -d '{\n"
                            "            \"model\": \"x\"|\n          }'\n      py: x",
         "key(paths) dyn(/s) key(ex) key(curl) | mappingValue \"curl\" string {}"},
        {"dash_in_text", "a:\n  b: @\n    - not: an item|\n  c: 1", "key(a) key(b) | mappingValue \"b\" string {}"},
        {"hash_in_text", "a:\n  b: @\n    # a heading|", "key(a) key(b) | mappingValue \"b\" string {}"},
        {"header_in_text", "a:\n  b: @\n    c: |\n      d: x|", "key(a) key(b) | mappingValue \"b\" string {}"},
        {"indented_blank_line_in_text", "a:\n  b: @\n    one\n    |\n    two",
         "key(a) key(b) | mappingValue \"b\" string {}"},
        {"item_that_is_the_scalar", "a:\n  enum:\n    - x\n    - @\n      y: z|",
         "key(a) key(enum) idx(1) | sequenceItem \"enum\" string {}"},
        {"key_of_an_item", "tags:\n- name: t\n  description: @\n    see: below|",
         "key(tags) idx(0) key(description) | mappingValue \"description\" string {}"},
        {"key_on_the_dash_line", "tags:\n  - description: @\n      see: below|",
         "key(tags) idx(0) key(description) | mappingValue \"description\" string {}"},
        {"after_the_text", "a:\n  b: @\n    x: y\n  |", "key(a) | mappingKey none {b}"},
        {"sibling_after_the_text", "a:\n  b: @\n    - x: y\n  c: 1|", "key(a) | mappingValue \"c\" {}"},
        {"item_key_after_the_text", "tags:\n- description: @\n    x: y\n  |", "key(tags) idx(0) | mappingKey none {description}"},
        {"end_of_the_header_line", "a:\n  b: @\n    x|", "key(a) key(b) | mappingValue \"b\" string {}"},
    };
    for (const char16_t* header : headers) {
        for (const Row& row : rows) {
            auto [text, caret] = caretIn(row.marked);
            const qsizetype at = text.indexOf(u'@');
            text.replace(at, 1, QString::fromUtf16(header));
            if (at < caret)
                caret += QStringView(header).size() - 1;
            EXPECT_EQ(answer(text, caret), row.expected) << row.name << " " << QString::fromUtf16(header).toStdString();
        }
    }
}

// A list of items may stand at its key's own column or one level deeper: both read alike. "%" stands
// for the column of the items, the key's column ("") or two spaces more ("  "); the keys of the caret's
// mapping are all of them, above and below the caret, past lists, comments, blank lines, block
// scalars and flow collections.
TEST(YAMLContextScanner, itemListsAtTheirKeysColumnBelongToTheKey)
{
    const Row rows[] = {
        {"after_the_list", "paths:\n  /x:\n    get:\n      summary: S\n      tags:\n      %- a\n      operationId: x\n      |",
         "key(paths) dyn(/x) key(get) | mappingKey none {operationId,summary,tags}"},
        {"right_after_the_list", "paths:\n  /x:\n    get:\n      tags:\n      %- a\n      %- b\n      |\n      summary: S",
         "key(paths) dyn(/x) key(get) | mappingKey none {summary,tags}"},
        {"typing_a_sibling", "get:\n  tags:\n  %- a\n  su|", "key(get) | mappingKey none {tags}"},
        {"lists_comments_blocks_and_flows_between",
         "get:\n  tags:\n  # first\n  %- a\n\n  %- b\n  description: >-\n    - not: a key\n  security: [{k: []}]\n"
         "  servers: [\n    a: b,\n  ]\n  parameters:\n  %- {name: n, in: q}\n  %- name: m\n  %  in: q\n  |\n  summary: s",
         "key(get) | mappingKey none {description,parameters,security,servers,summary,tags}"},
        {"item_dash_line", "get:\n  parameters:\n  %- name: a\n  %  in: q\n  %- |", "key(get) key(parameters) idx(1) | sequenceItem \"parameters\" {}"},
        {"inside_an_item", "get:\n  parameters:\n  %- name: a\n  %  |\n  %  in: q\n  %- name: b",
         "key(get) key(parameters) idx(0) | mappingKey none {in,name}"},
        {"second_item", "get:\n  parameters:\n  %- name: a\n  %- name: b\n  %  in: q|",
         "key(get) key(parameters) idx(1) | mappingValue \"in\" {}"},
        {"item_mapping_holding_a_list", "tags:\n%- name: t\n%  x:\n%  - a\n%  |",
         "key(tags) idx(0) | mappingKey none {name,x}"},
        {"nested_lists", "get:\n  parameters:\n  %- name: a\n  %  schema:\n  %    enum:\n  %    %- x\n  %    %- y|",
         "key(get) key(parameters) idx(0) key(schema) key(enum) idx(1) | sequenceItem \"enum\" {}"},
        {"scalar_list_item", "s:\n  required:\n  %- na|", "key(s) key(required) idx(0) | sequenceItem \"required\" {}"},
        {"item_opening_a_block", "s:\n  allOf:\n  %- properties:|", "key(s) key(allOf) idx(0) key(properties) | mappingValue \"properties\" {}"},
        {"list_at_the_margin", "info: x\ntags:\n%- name: a\n%- |", "key(tags) idx(1) | sequenceItem \"tags\" {}"},
        {"margin_after_the_list", "tags:\n%- name: a\n%  description: d\ninfo: x\n|", " | mappingKey none {info,tags}"},
    };
    for (const char* column : {"", "  "}) {
        for (const Row& row : rows) {
            QString marked = QString::fromUtf8(row.marked).replace(u'%', QString::fromUtf8(column));
            const auto [text, caret] = caretIn(marked.toUtf8().constData());
            EXPECT_EQ(answer(text, caret), row.expected) << row.name << " items at +" << std::strlen(column);
        }
    }
}

} // namespace
