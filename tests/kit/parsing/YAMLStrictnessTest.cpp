// The YAML reader refuses text that is not YAML 1.2, one table per kind of fault, each row with the
// message and the place of the fault; and it reads valid texts that come close to them as YAML does.
#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>

#include "kit/core/ParseError.h"
#include "kit/parsing/YAMLParser.h"
#include "tests/kit/parsing/YAMLTestDump.h"

namespace {

using VoziZazIreCore::ParseError;
using VoziZazIreParsing::YAMLParser;

struct Refused {
  const char* name;
  std::string yaml;
  const char* message;
  std::int64_t line;
  std::int64_t column;
};

void PrintTo(const Refused& c, std::ostream* os) { *os << c.name; }

class YAMLRefused : public testing::TestWithParam<Refused> {};

void expectRefused(const std::string& yaml, const Refused& c) {
  try {
    YAMLParser().parse(YAMLParser::bytesOf(yaml));
    FAIL() << "read without error";
  } catch (const ParseError& e) {
    EXPECT_EQ(e.message(), c.message);
    ASSERT_TRUE(e.range().has_value());
    EXPECT_EQ(e.range()->start.line, c.line);
    EXPECT_EQ(e.range()->start.column, c.column);
  }
}

TEST_P(YAMLRefused, WithMessageAndPlace) { expectRefused(GetParam().yaml, GetParam()); }

TEST_P(YAMLRefused, AlikeWithCrlfLineEnds) { expectRefused(YAMLTestSupport::withCrlf(GetParam().yaml), GetParam()); }

auto caseName = [](const auto& info) { return std::string(info.param.name); };

// A ": " (or ":" at the line end) inside a plain value would begin a mapping on its key's line.
const Refused kPlainScalarHoldingAMapping[] = {
    {"value_with_colon", "a: b: c\n", "Mapping values are not allowed here", 1, 5},
    {"description_with_note", "info:\n  description: Note: this breaks other YAML readers\n",
     "Mapping values are not allowed here", 2, 20},
    {"three_levels", "a: b: c: d\n", "Mapping values are not allowed here", 1, 5},
    {"compact_mapping_value", "- a: b: c\n", "Mapping values are not allowed here", 1, 7},
    {"nested_value", "a:\n  b: c: d\n", "Mapping values are not allowed here", 2, 7},
    {"colon_at_line_end", "a: b:\n", "Mapping values are not allowed here", 1, 5},
    {"after_anchor", "a: &x b: c\n", "Mapping values are not allowed here", 1, 8},
    {"after_tag", "a: !t b: c\n", "Mapping values are not allowed here", 1, 8},
    {"after_quoted_key", "\"a\": b: c\n", "Mapping values are not allowed here", 1, 7},
    {"colon_before_tab", "a: b:\tc\n", "Mapping values are not allowed here", 1, 5},
    {"words_then_colon", "a: x y: z\n", "Mapping values are not allowed here", 1, 7},
    {"before_comment", "a: b: # c\n", "Mapping values are not allowed here", 1, 5},
    {"two_colons_at_end", "a: ::\n", "Mapping values are not allowed here", 1, 5},
    {"in_second_item", "---\n- a\n- b: c: d\n", "Mapping values are not allowed here", 3, 7},
};
INSTANTIATE_TEST_SUITE_P(PlainScalarHoldingAMapping, YAMLRefused,
                         testing::ValuesIn(kPlainScalarHoldingAMapping), caseName);

// A block sequence or mapping may not begin on a mapping key's line or on the "---" line.
const Refused kCollectionOnAKeysLine[] = {
    {"sequence_after_key", "key: - item\n", "Block sequence entries are not allowed here", 1, 6},
    {"sequence_after_key_with_more", "key: - a\n     - b\n", "Block sequence entries are not allowed here", 1, 6},
    {"sequence_in_compact_mapping", "- a: - b\n", "Block sequence entries are not allowed here", 1, 6},
    {"explicit_key_after_key", "key: ? x\n", "Mapping keys are not allowed here", 1, 6},
    {"sequence_after_anchor", "key: &x - a\n", "Block sequence entries are not allowed here", 1, 9},
    {"sequence_after_tag", "key: !!seq - a\n", "Block sequence entries are not allowed here", 1, 12},
    {"empty_entry_after_key", "key: -\n", "Block sequence entries are not allowed here", 1, 6},
    {"value_indicator_after_key", "key: : x\n", "Mapping values are not allowed here", 1, 6},
    {"sequence_on_start_marker", "--- - a\n", "Block sequence entries are not allowed here", 1, 5},
    {"mapping_on_start_marker", "--- a: b\n", "Mapping values are not allowed here", 1, 6},
    {"anchored_mapping_on_start_marker", "--- &x a: b\n", "Mapping values are not allowed here", 1, 9},
    {"anchor_before_entry", "&anchor - entry\n", "Block sequence entries are not allowed here", 1, 9},
};
INSTANTIATE_TEST_SUITE_P(CollectionOnAKeysLine, YAMLRefused, testing::ValuesIn(kCollectionOnAKeysLine), caseName);

// Indentation is spaces only, including the spaces after "-", "?" and ":" before a compact collection.
const Refused kTabIndentation[] = {
    {"tab_before_key", "a:\n\tb: c\n", "Tabs are not allowed in indentation", 2, 1},
    {"tab_before_nested_sequence", "-\t- a\n", "Tabs are not allowed in indentation", 1, 2},
    {"space_and_tab_before_nested_sequence", "- \t- a\n", "Tabs are not allowed in indentation", 1, 3},
    {"tab_before_compact_mapping", "-\ta: b\n", "Tabs are not allowed in indentation", 1, 2},
    {"tab_after_explicit_key", "?\t- a\n", "Tabs are not allowed in indentation", 1, 2},
    {"tab_before_compact_key", "?\tkey:\n", "Tabs are not allowed in indentation", 1, 2},
    {"tab_after_explicit_value", "? a\n:\t- b\n", "Tabs are not allowed in indentation", 2, 2},
    {"tab_before_mapping_after_value", "? a\n:\tb: c\n", "Tabs are not allowed in indentation", 2, 2},
    {"tab_after_spaces", "a:\n  b: 1\n  \tc: 2\n", "Tabs are not allowed in indentation", 3, 3},
    {"tab_line_before_block_scalar", "a: |\n\t\nb: 1\n", "Tabs are not allowed in indentation", 2, 1},
    {"tab_before_block_scalar_text", "a: |\n\tb\n", "Tabs are not allowed in indentation", 2, 1},
    {"tab_in_flow_of_sequence", "- [\n\tfoo,\n foo\n ]\n",
     "Line inside a flow collection must be indented deeper than its parent", 2, 2},
    {"tab_before_second_item", "- a\n\t- b\n", "Tabs are not allowed in indentation", 2, 1},
    {"tab_before_root_key", "\ta: b\n", "Tabs are not allowed in indentation", 1, 1},
};
INSTANTIATE_TEST_SUITE_P(TabIndentation, YAMLRefused, testing::ValuesIn(kTabIndentation), caseName);

// The lines of a flow collection or a quoted scalar go deeper than the block that holds it.
const Refused kShallowFlowAndQuotedLines[] = {
    {"flow_sequence_line", "key: [a,\nb]\n",
     "Line inside a flow collection must be indented deeper than its parent", 2, 1},
    {"flow_mapping_line", "key: {a: 1,\nb: 2}\n",
     "Line inside a flow collection must be indented deeper than its parent", 2, 1},
    {"closing_bracket", "key: [a,\n  b\n]\n",
     "Line inside a flow collection must be indented deeper than its parent", 3, 1},
    {"closing_brace_in_sequence", "- {\n a: 1\n}\n",
     "Line inside a flow collection must be indented deeper than its parent", 3, 1},
    {"flow_in_nested_mapping", "a:\n  b: [c,\n  d]\n",
     "Line inside a flow collection must be indented deeper than its parent", 3, 3},
    {"flow_in_nested_sequence", "a:\n  - [b,\n  c]\n",
     "Line inside a flow collection must be indented deeper than its parent", 3, 3},
    {"flow_key_line", "k: {\nk\n:\nv\n}\n",
     "Line inside a flow collection must be indented deeper than its parent", 2, 1},
    {"plain_line_in_flow", "k: [a\nb]\n",
     "Line inside a flow collection must be indented deeper than its parent", 2, 1},
    {"double_quoted_line", "key: \"a\nb\"\n",
     "Line inside a quoted scalar must be indented deeper than its parent", 2, 1},
    {"single_quoted_line", "key: 'a\nb'\n",
     "Line inside a quoted scalar must be indented deeper than its parent", 2, 1},
    {"quoted_item", "- \"a\nb\"\n", "Line inside a quoted scalar must be indented deeper than its parent", 2, 1},
    {"quoted_in_nested_mapping", "a:\n  b: \"c\n  d\"\n",
     "Line inside a quoted scalar must be indented deeper than its parent", 3, 3},
    {"quoted_in_nested_sequence", "- - \"a\n  b\"\n",
     "Line inside a quoted scalar must be indented deeper than its parent", 2, 3},
    {"closing_quote", "key: \"a\n\"\n", "Line inside a quoted scalar must be indented deeper than its parent", 2, 1},
    {"quoted_key_in_flow", "k: {\"a\nb\": c}\n",
     "Line inside a quoted scalar must be indented deeper than its parent", 2, 1},
    {"escaped_break", "key: \"a\\\nb\"\n", "Line inside a quoted scalar must be indented deeper than its parent", 2, 1},
};
INSTANTIATE_TEST_SUITE_P(ShallowFlowAndQuotedLines, YAMLRefused,
                         testing::ValuesIn(kShallowFlowAndQuotedLines), caseName);

// Empty lines above a block scalar's first content line may not hold more spaces than it.
const Refused kBlockScalarLeadingEmptyLines[] = {
    {"literal", "a: |\n   \n  text\n",
     "A leading empty line of a block scalar has more spaces than its first content line", 2, 3},
    {"folded", "a: >\n    \n  text\n",
     "A leading empty line of a block scalar has more spaces than its first content line", 2, 3},
    {"root", "--- |\n  \n x\n",
     "A leading empty line of a block scalar has more spaces than its first content line", 2, 2},
    {"sequence_item", "- |\n    \n  t\n",
     "A leading empty line of a block scalar has more spaces than its first content line", 2, 3},
    {"nested", "a:\n  b: |\n       \n     c\n",
     "A leading empty line of a block scalar has more spaces than its first content line", 3, 6},
    {"strip_with_several_lines", "a: |-\n     \n\n   x\n",
     "A leading empty line of a block scalar has more spaces than its first content line", 2, 4},
    {"before_a_comment_like_line", "a: >\n \n  \n   \n # c\n",
     "A leading empty line of a block scalar has more spaces than its first content line", 4, 2},
};
INSTANTIATE_TEST_SUITE_P(BlockScalarLeadingEmptyLines, YAMLRefused,
                         testing::ValuesIn(kBlockScalarLeadingEmptyLines), caseName);

// "-" followed by a blank or a flow indicator is no plain scalar in a flow collection.
const Refused kDashInFlow[] = {
    {"alone", "[-]\n", "Block sequence entries are not allowed in a flow collection", 1, 2},
    {"spaced", "[ - ]\n", "Block sequence entries are not allowed in a flow collection", 1, 3},
    {"last", "[a, -]\n", "Block sequence entries are not allowed in a flow collection", 1, 5},
    {"first", "[-, a]\n", "Block sequence entries are not allowed in a flow collection", 1, 2},
    {"entry", "[- a]\n", "Block sequence entries are not allowed in a flow collection", 1, 2},
    {"entry_after_item", "[a, - b]\n", "Block sequence entries are not allowed in a flow collection", 1, 5},
    {"mapping_value", "{a: -}\n", "Block sequence entries are not allowed in a flow collection", 1, 5},
    {"mapping_entry_value", "{a: - b}\n", "Block sequence entries are not allowed in a flow collection", 1, 5},
    {"in_block_value", "k: [-]\n", "Block sequence entries are not allowed in a flow collection", 1, 5},
    {"mapping_key", "{- : a}\n", "Block sequence entries are not allowed in a flow collection", 1, 2},
    {"before_line_end", "[a, b, -\n]\n", "Block sequence entries are not allowed in a flow collection", 1, 8},
    {"in_nested_flow", "- [-, -]\n", "Block sequence entries are not allowed in a flow collection", 1, 4},
};
INSTANTIATE_TEST_SUITE_P(DashInFlow, YAMLRefused, testing::ValuesIn(kDashInFlow), caseName);

// A "#" starts a comment only after a blank.
const Refused kCommentAfterComma[] = {
    {"sequence", "[a,#c\n b]\n", "A comment needs a blank before its '#'", 1, 4},
    {"last_item", "[ a, b, c,#invalid\n]\n", "A comment needs a blank before its '#'", 1, 11},
    {"mapping", "{a: 1,#c\n}\n", "A comment needs a blank before its '#'", 1, 7},
    {"block_value", "k: [a,#c\n  ]\n", "A comment needs a blank before its '#'", 1, 7},
    {"after_bracket", "[#c\n a]\n", "A comment needs a blank before its '#'", 1, 2},
    {"after_flow", "[a,b]#c\n", "Invalid flow sequence", 1, 1},
    {"after_quoted", "a: \"b\"#c\n", "Unexpected text after a value", 1, 7},
    {"after_quoted_in_flow", "[\"a\"#c\n]\n", "Invalid flow sequence", 1, 1},
};
INSTANTIATE_TEST_SUITE_P(CommentAfterComma, YAMLRefused, testing::ValuesIn(kCommentAfterComma), caseName);

// "---" or "..." at a line start inside a quoted scalar or a flow collection.
const Refused kDocumentMarkerInside[] = {
    {"start_in_double_quoted", "---\n\"a\n---\nb\"\n", "Document marker inside a quoted scalar", 3, 1},
    {"end_in_single_quoted", "---\n'\n...\n'\n", "Document marker inside a quoted scalar", 3, 1},
    {"both_in_flow_sequence", "[\n--- ,\n...\n]\n", "Document marker inside a flow collection", 2, 1},
    {"end_in_flow_mapping", "{\n...\n}\n", "Document marker inside a flow collection", 2, 1},
    {"end_in_quoted_root", "\"a\n...\nb\"\n", "Document marker inside a quoted scalar", 2, 1},
    {"start_after_flow_item", "[a,\n---\n]\n", "Document marker inside a flow collection", 2, 1},
    {"start_in_quoted_value", "k: \"a\n---\n\"\n", "Document marker inside a quoted scalar", 2, 1},
    {"end_with_text_in_quoted", "--- \"a\n... x\nb\"\n", "Document marker inside a quoted scalar", 2, 1},
    {"start_in_plain_flow_item", "[a\n---\n]\n", "Document marker inside a flow collection", 2, 1},
};
INSTANTIATE_TEST_SUITE_P(DocumentMarkerInside, YAMLRefused, testing::ValuesIn(kDocumentMarkerInside), caseName);

// Only a comment may follow "..." on its line.
const Refused kContentAfterDocumentEnd[] = {
    {"word", "a: b\n... invalid\n", "Unexpected text after the document end marker '...'", 2, 5},
    {"after_start", "---\nkey: value\n... invalid\n", "Unexpected text after the document end marker '...'", 3, 5},
    {"mapping", "a\n... b: c\n", "Unexpected text after the document end marker '...'", 2, 5},
    {"alone", "... x\n", "Unexpected text after the document end marker '...'", 1, 5},
    {"flow", "a\n... [a]\n", "Unexpected text after the document end marker '...'", 2, 5},
};
INSTANTIATE_TEST_SUITE_P(ContentAfterDocumentEnd, YAMLRefused, testing::ValuesIn(kContentAfterDocumentEnd), caseName);

// Directives: their words, repetition, and the "---" document that must follow them.
const Refused kDirectives[] = {
    {"extra_words", "%YAML 1.2 foo\n---\na\n", "Unexpected text after the %YAML directive's version", 1, 11},
    {"repeated_yaml", "%YAML 1.2\n%YAML 1.2\n---\na\n", "Repeated %YAML directive", 2, 1},
    {"repeated_yaml_other_version", "%YAML 1.2\n%YAML 1.1\n---\na\n", "Repeated %YAML directive", 2, 1},
    {"alone", "%YAML 1.2\n", "A directive must be followed by a document that starts with '---'", 1, 1},
    {"before_end_marker", "%YAML 1.2\n...\n",
     "A directive must be followed by a document that starts with '---'", 1, 1},
    {"without_start_marker", "%YAML 1.2\na: b\n",
     "A directive must be followed by a document that starts with '---'", 1, 1},
    {"after_a_document", "a\n...\n%YAML 1.2\n",
     "A directive must be followed by a document that starts with '---'", 3, 1},
    {"reserved_alone", "%FOO bar\n", "A directive must be followed by a document that starts with '---'", 1, 1},
    {"bad_version", "%YAML 1.2.3\n---\na\n", "Invalid version '1.2.3' in the %YAML directive", 1, 7},
    {"letters_as_version", "%YAML a.b\n---\n", "Invalid version 'a.b' in the %YAML directive", 1, 7},
    {"no_version", "%YAML\n---\na\n", "The %YAML directive needs a version", 1, 6},
    {"comment_without_blank", "%YAML 1.1#x\n---\na\n", "Invalid version '1.1#x' in the %YAML directive", 1, 7},
    {"bad_handle", "%TAG !x tag:y\n---\na\n", "Invalid tag handle '!x'", 1, 6},
    {"no_prefix", "%TAG !e!\n---\na\n", "The %TAG directive needs a handle and a prefix", 1, 6},
    {"extra_tag_word", "%TAG !e! tag:a: b\n---\na\n", "Unexpected text after the %TAG directive's prefix", 1, 17},
    {"repeated_handle", "%TAG !e! a:\n%TAG !e! b:\n---\na\n", "Repeated %TAG directive for the handle '!e!'", 2, 1},
    {"no_name", "% YAML 1.2\n---\na\n", "Directive without a name", 1, 1},
};
INSTANTIATE_TEST_SUITE_P(Directives, YAMLRefused, testing::ValuesIn(kDirectives), caseName);

// One anchor and one tag per node, none on an alias.
const Refused kNodeProperties[] = {
    {"two_anchors", "&a &b x\n", "A node cannot have two anchors", 1, 4},
    {"two_tags", "!a !b x\n", "A node cannot have two tags", 1, 4},
    {"anchor_tag_anchor", "&a !t &b x\n", "A node cannot have two anchors", 1, 7},
    {"two_anchors_on_value", "k: &a &b x\n", "A node cannot have two anchors", 1, 7},
    {"two_tags_on_value", "k: !a !b x\n", "A node cannot have two tags", 1, 7},
    {"two_tags_on_item", "- &a !t !u x\n", "A node cannot have two tags", 1, 9},
    {"two_anchors_in_flow", "[&a &b x]\n", "A node cannot have two anchors", 1, 5},
    {"two_tags_on_flow_key", "{!a !b x: y}\n", "A node cannot have two tags", 1, 5},
    {"anchor_on_each_line", "top: &n\n  &v val\n", "A node cannot have two anchors", 2, 3},
    {"tag_on_each_line", "top: !a\n  !b val\n", "A node cannot have two tags", 2, 3},
    {"anchor_on_alias", "a: &x 1\nb: &y *x\n", "An alias cannot have an anchor or a tag", 2, 7},
    {"tag_on_alias", "a: &z 1\nb: !t *z\n", "An alias cannot have an anchor or a tag", 2, 7},
    {"anchor_above_alias", "a: &z 1\nb: &n\n  *z\n", "An alias cannot have an anchor or a tag", 3, 3},
    {"anchor_on_alias_key", "a: &x 1\n&b *x : v\n", "An alias cannot have an anchor or a tag", 2, 4},
    {"anchor_on_alias_in_flow", "a: &z 1\nb: [&x *z]\n", "An alias cannot have an anchor or a tag", 2, 8},
    {"anchor_on_alias_flow_key", "a: &z 1\nb: {&x *z : c}\n", "An alias cannot have an anchor or a tag", 2, 8},
    {"anchor_glued_to_value", "a: &x[b]\n", "Expected a blank after the anchor", 1, 6},
};
INSTANTIATE_TEST_SUITE_P(NodeProperties, YAMLRefused, testing::ValuesIn(kNodeProperties), caseName);

// Tag characters, and handles declared by a %TAG directive of the same document.
const Refused kTags[] = {
    {"braces_in_tag", "!invalid{}tag scalar\n", "Invalid tag '!invalid{}tag'", 1, 1},
    {"comma_in_tag", "- !!str, xxx\n", "Invalid tag '!!str,'", 1, 3},
    {"braces_in_value_tag", "a: !foo{x} b\n", "Invalid tag '!foo{x}'", 1, 4},
    {"undeclared_handle", "!e!foo x\n", "Tag handle '!e!' is not declared by a %TAG directive of this document", 1, 1},
    {"undeclared_handle_on_value", "a: !a!b c\n",
     "Tag handle '!a!' is not declared by a %TAG directive of this document", 1, 4},
    {"handle_without_suffix", "!e! x\n", "Tag handle '!e!' is not declared by a %TAG directive of this document", 1, 1},
    {"secondary_without_suffix", "!! x\n", "Invalid tag '!!'", 1, 1},
    {"empty_verbatim", "!<> x\n", "Invalid tag '!<>'", 1, 1},
    {"verbatim_bang", "!<!> x\n", "Invalid tag '!<!>'", 1, 1},
    {"verbatim_with_blank", "- !<a b> x\n", "Invalid tag '!<a b>'", 1, 3},
    {"verbatim_with_braces", "!<{}> x\n", "Invalid tag '!<{}>'", 1, 1},
    {"short_escape", "!a%2 x\n", "Invalid tag '!a%2'", 1, 1},
    {"handle_of_other_document", "%TAG !p! tag:e.com,2011:\n--- !p!A\na: b\n--- !p!B\nc: d\n",
     "Tag handle '!p!' is not declared by a %TAG directive of this document", 4, 5},
    {"non_ascii", "!ü x\n", "Invalid tag '!ü'", 1, 1},
};
INSTANTIATE_TEST_SUITE_P(Tags, YAMLRefused, testing::ValuesIn(kTags), caseName);

struct Accepted {
  const char* name;
  std::string yaml;
  const char* json;
};

void PrintTo(const Accepted& c, std::ostream* os) { *os << c.name; }

class YAMLNearMiss : public testing::TestWithParam<Accepted> {};

std::string read(const std::string& yaml) {
  return YAMLTestSupport::dump(YAMLParser().parse(YAMLParser::bytesOf(yaml)).get());
}

TEST_P(YAMLNearMiss, ReadsAsYAMLDoes) { EXPECT_EQ(read(GetParam().yaml), GetParam().json); }

TEST_P(YAMLNearMiss, AlikeWithCrlfLineEnds) {
  EXPECT_EQ(read(YAMLTestSupport::withCrlf(GetParam().yaml)), GetParam().json);
}

// Valid texts beside the faults above; a stream's later documents are read and dropped.
const Accepted kNearMisses[] = {
    {"quoted_colon", "a: \"b: c\"\n", R"({"a":"b: c"})"},
    {"single_quoted_colon", "a: 'b: c'\n", R"({"a":"b: c"})"},
    {"url", "url: http://x:80/\n", R"({"url":"http://x:80/"})"},
    {"comment", "a: b #c\n", R"({"a":"b"})"},
    {"colon_without_blank", "a: b:c\n", R"({"a":"b:c"})"},
    {"time", "time: 12:30:00\n", R"({"time":"12:30:00"})"},
    {"comma_hash", "a: b,#c\n", R"({"a":"b,#c"})"},
    {"hash_in_word", "a: value#x\n", R"({"a":"value#x"})"},
    {"double_colon", "a: b::c\n", R"({"a":"b::c"})"},
    {"flow_pair", "key: [b: c]\n", R"({"key":[{"b":"c"}]})"},
    {"flow_list", "key: [a, b]\n", R"({"key":["a","b"]})"},
    {"nested_dash", "- - a\n", R"([["a"]])"},
    {"explicit_key", "? a\n", R"({"a":null})"},
    {"explicit_value_mapping", "? a\n: b: c\n", R"({"a":{"b":"c"}})"},
    {"explicit_value_sequence", "? a\n: - b\n", R"({"a":["b"]})"},
    {"block_scalar_colon", "a: |\n  b: c\n", R"({"a":"b: c\n"})"},
    {"leading_dash", "a: -b\n", R"({"a":"-b"})"},
    {"leading_question", "a: ?b\n", R"({"a":"?b"})"},
    {"leading_colon", "a: :b\n", R"({"a":":b"})"},
    {"leading_colon_comma", "- :,\n", R"([":,"])"},
    {"colon_vector", "- ::vector\n- [ ::vector, -123 ]\n", R"(["::vector",["::vector",-123]])"},
    {"sequence_at_key_indent", "a:\n- b\n", R"({"a":["b"]})"},
    {"anchored_sequence_below", "a: &x\n  - b\n", R"({"a":["b"]})"},
    {"tagged_sequence_below", "a: !!seq\n- b\n", R"({"a":["b"]})"},
    {"plain_continued_with_dash", "- a\n - b\n", R"(["a - b"])"},
    {"value_continued_with_dash", "a: b\n  - c\n", R"({"a":"b - c"})"},
    {"continuation_like_properties", "---\nk:#foo\n &a !t s\n", R"("k:#foo &a !t s")"},
    {"tab_separation", "a:\tb\n", R"({"a":"b"})"},
    {"tab_after_dash", "-\ta\n-\t-1\n", R"(["a",-1])"},
    {"tab_line", "a: 1\n\t\nb: 2\n", R"({"a":1,"b":2})"},
    {"tab_after_indicators", "? a\n: -\tb\n  -  -\tc\n     - d\n", R"({"a":["b",["c","d"]]})"},
    {"tab_in_block_text", "a: |\n  \tb\n", R"({"a":"\tb\n"})"},
    {"tab_line_in_block", "foo: |\n \t\nbar: 1\n", R"({"bar":1,"foo":"\t\n"})"},
    {"tab_after_key_colon", "block:\t|\n  x\n", R"({"block":"x\n"})"},
    {"tab_after_start_marker", "---\tscalar\n", R"("scalar")"},
    {"tabs_in_root_quoted", "\" 1st\n\n 2nd \n\t3rd \"\n", R"(" 1st\n2nd 3rd ")"},
    {"quoted_indented", "key: \"a\n b\"\n", R"({"key":"a b"})"},
    {"quoted_tab_after_spaces", "quoted: \"text\n  \tlines\"\n", R"({"quoted":"text lines"})"},
    {"quoted_root", "\"a\nb\"\n", R"("a b")"},
    {"quoted_below_key", "key:\n  \"a\n b\"\n", R"({"key":"a b"})"},
    {"quoted_empty_lines", "a: \"\n  \"\nb: '  \n  '\n", R"({"a":" ","b":" "})"},
    {"quoted_folding_at_root", "---\n\"\n  foo \n \n  bar\n\"\n", R"(" foo\nbar ")"},
    {"quoted_on_marker", "--- \"quoted\nstring\"\n--- &node foo\n", R"("quoted string")"},
    {"quoted_marker_like_text", "--- \"a\n...x\nb\"\n", R"("a ...x b")"},
    {"quoted_indented_marker", "\"a\n ---\nb\"\n", R"("a --- b")"},
    {"flow_indented", "key: [a,\n b]\n", R"({"key":["a","b"]})"},
    {"flow_root", "[a,\nb]\n", R"(["a","b"])"},
    {"flow_below_key", "key:\n  [a,\n b]\n", R"({"key":["a","b"]})"},
    {"flow_closing_indented", "key: [\n  a\n  ]\n", R"({"key":["a"]})"},
    {"flow_mapping_closing_indented", "a: {\n    hr: 63\n  }\n", R"({"a":{"hr":63}})"},
    {"flow_json_root", "{\n\"a\": 1\n}\n", R"({"a":1})"},
    {"flow_key_lines", "k: {\n k\n :\n v\n }\n", R"({"k":{"k":"v"}})"},
    {"flow_quoted_keys", "\"implicit block key\" : [\n  \"implicit flow key\" : value,\n ]\n",
     R"({"implicit block key":[{"implicit flow key":"value"}]})"},
    {"flow_multiline_key", "- { multi\n  line: value}\n", R"([{"multi line":"value"}])"},
    {"flow_multiline_quoted_key", "- { \"multi\n  line\": value}\n", R"([{"multi line":"value"}])"},
    {"flow_adjacent_value", "- { \"key\"::value }\n", R"([{"key":":value"}])"},
    {"flow_comment_line", "k: [a,\n# c\n  b]\n", R"({"k":["a","b"]})"},
    {"flow_dash_words", "[-a, -1, --, -.5, a-b]\n", R"(["-a",-1,"--",-0.5,"a-b"])"},
    {"flow_quoted_dash", "[a, \"-\", '-']\n", R"(["a","-","-"])"},
    {"flow_comment_after_blank", "[a, #c\n b]\n", R"(["a","b"])"},
    {"flow_hash_in_word", "[a#b, {c: d#e}]\n", R"(["a#b",{"c":"d#e"}])"},
    {"flow_marker_like_text", "[\n---x\n]\n", R"(["---x"])"},
    {"flow_empty_key", "[: a]\n", R"([{"":"a"}])"},
    {"block_blank_lines", "a: |\n  \n  text\n", R"({"a":"\ntext\n"})"},
    {"block_fewer_blank_spaces", "a: |\n \n  text\n", R"({"a":"\ntext\n"})"},
    {"block_empty", "a: |\n   \nb: c\n", R"({"a":"","b":"c"})"},
    {"block_explicit_indent", "a: |2\n    \n  text\n", R"({"a":"  \ntext\n"})"},
    {"block_trailing_spaces", "a: |\n  x\n   \n", R"({"a":"x\n \n"})"},
    {"block_indicator_after_one", "--- |1-\n x\n", R"("x")"},
    {"end_marker", "a: b\n...\n", R"({"a":"b"})"},
    {"end_marker_comment", "a: b\n... # c\n", R"({"a":"b"})"},
    {"end_markers", "a\n...\n...\n", R"("a")"},
    {"end_marker_alone", "...\n", R"(null)"},
    {"end_then_document", "a: b\n...\n---\nc\n", R"({"a":"b"})"},
    {"two_starts", "---\n---\n", R"(null)"},
    {"directive", "%YAML 1.2\n---\na\n", R"("a")"},
    {"directive_1_1", "%YAML 1.1\n---\na\n", R"("a")"},
    {"directive_comment", "%YAML 1.2 # c\n---\na\n", R"("a")"},
    {"directive_blanks", "%YAML \t 1.1\n---\na\n", R"("a")"},
    {"directive_higher_minor", "%YAML 1.3 # w\n           # more\n---\n\"foo\"\n", R"("foo")"},
    {"reserved_directive", "%FOO  bar baz # c\n--- \"foo\"\n", R"("foo")"},
    {"reserved_like_yaml", "%YAMLL 1.1\n---\na\n", R"("a")"},
    {"directive_empty_document", "%YAML 1.2\n---\n", R"(null)"},
    {"directive_block_scalar", "%YAML 1.2\n--- |\n%!PS-Adobe-2.0\n...\n%YAML 1.2\n---\n# Empty\n...\n",
     R"("%!PS-Adobe-2.0\n")"},
    {"directive_per_document", "%YAML 1.2\n---\na\n...\n%YAML 1.2\n---\nb\n", R"("a")"},
    {"directive_tab_line", "%YAML 1.2\n\t\n---\n", R"(null)"},
    {"stream", "Document\n---\n# Empty\n...\n%YAML 1.2\n---\nmatches %: 20\n", R"("Document")"},
    {"bare_documents", "Bare\ndocument\n...\n# No document\n...\n|\n%!PS-Adobe-2.0 # Not the first line\n",
     R"("Bare document")"},
    {"directive_like_continuation", "---\nscalar\n%YAML 1.2\n", R"("scalar %YAML 1.2")"},
    {"tag_directive", "%TAG ! tag:example.com,2000:app/\n---\n!foo \"bar\"\n", R"("bar")"},
    {"local_prefix_per_document",
     "%TAG !m! !my-\n--- # Bulb\n!m!light fluorescent\n...\n%TAG !m! !my-\n---\n!m!light green\n",
     R"("fluorescent")"},
    {"secondary_redefined", "%TAG !! tag:example.com,2000:app/\n---\n!!int 1 - 3\n", R"("1 - 3")"},
    {"named_handle", "%TAG !e! tag:example.com,2000:app/\n---\n- !local foo\n- !!str bar\n- !e!tag%21 baz\n",
     R"(["foo","bar","baz"])"},
    {"anchor_and_tag", "- &a !t x\n- !t &b y\n", R"(["x","y"])"},
    {"alias", "a: &x 1\nb: *x\n", R"({"a":1,"b":1})"},
    {"anchors_on_node_and_key",
     "top1: &node1\n  &k1 key1: one\ntop4:\n  &node4\n  &k4 key4: four\ntop6: &val6\n  six\ntop7:\n  &val7 seven\n",
     R"({"top1":{"key1":"one"},"top4":{"key4":"four"},"top6":"six","top7":"seven"})"},
    {"anchor_and_tag_on_two_lines", "key: &anchor\n !!map\n  a: b\n", R"({"key":{"a":"b"}})"},
    {"anchor_names_with_colons", "&a: key: &a value\nfoo:\n  *a:\n", R"({"foo":"key","key":"value"})"},
    {"anchor_odd_characters", "a: &:@*!$\"<foo>: scalar a\nb: *:@*!$\"<foo>:\n", R"({"a":"scalar a","b":"scalar a"})"},
    {"anchor_empty_value", "a: &anchor\nb: *anchor\n", R"({"a":null,"b":null})"},
    {"tags_on_empty", "- !!str\n-\n  !!null : a\n  b: !!str\n- !!str : !!null\n", R"(["",{"":"a","b":""},{"":null}])"},
    {"tags_on_keys", "!!str a: b\nc: !!int 42\n!!str 23: !!bool false\n", R"({"23":false,"a":"b","c":42})"},
    {"non_specific_tag", "- \"12\"\n- ! 12\n", R"(["12","12"])"},
    {"verbatim_tags", "!<tag:yaml.org,2002:str> foo :\n  !<!bar> baz\n", R"({"foo":"baz"})"},
    {"tag_escape", "!a%20b x\n", R"("x")"},
    {"tag_with_colon", "- !foo:bar x\n- !e:x y\n", R"(["x","y"])"},
    {"flow_tags", "[!!str , b, {!!str a: b}]\n", R"(["","b",{"a":"b"}])"},
    {"aliases_as_keys", "&a a: &b b\n*b : *a\n", R"({"a":"b","b":"a"})"},
};
INSTANTIATE_TEST_SUITE_P(Valid, YAMLNearMiss, testing::ValuesIn(kNearMisses), caseName);

}  // namespace
