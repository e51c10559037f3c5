// Hostile and absurd texts: each finishes quickly with a tree or a ParseError with message and place,
// never a crash, a hang, quadratic time or memory out of proportion to the text. Inputs are built in
// the test; one row holds at most one copy of its text (up to 50 MB) at a time.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "kit/core/GenericNode.h"
#include "kit/core/Limits.h"
#include "kit/core/ParseError.h"
#include "kit/parsing/JSONParser.h"
#include "kit/parsing/YAMLParser.h"

namespace {

using VoziZazIreCore::GenericNode;
using VoziZazIreCore::GenericNodeKind;
using VoziZazIreCore::NodePtr;
using VoziZazIreCore::ParseError;
using VoziZazIreParsing::JSONParser;
using VoziZazIreParsing::YAMLParser;

constexpr int kMany = 100'000;
constexpr std::size_t kBig = std::size_t{50} << 20;

std::string repeat(std::string_view unit, std::size_t count) {
  std::string out;
  out.reserve(unit.size() * count);
  for (std::size_t i = 0; i < count; ++i) out += unit;
  return out;
}

// `depth` block mappings, each key on its own line one space deeper than its parent.
std::string indentedMappings(int depth) {
  std::string out;
  for (int i = 0; i < depth; ++i) {
    out.append(static_cast<std::size_t>(i), ' ');
    out += "a:\n";
  }
  return out;
}

std::string indentedSequences(int depth) {
  std::string out;
  for (int i = 0; i < depth; ++i) {
    out.append(static_cast<std::size_t>(i), ' ');
    out += "-\n";
  }
  return out;
}

// Billion laughs: nine levels, each a flow sequence of nine aliases of the level before.
std::string billionLaughs() {
  std::string out = "a: &a [\"lol\", \"lol\", \"lol\", \"lol\", \"lol\", \"lol\", \"lol\", \"lol\", \"lol\"]\n";
  for (char c = 'b'; c <= 'i'; ++c) {
    const char previous = static_cast<char>(c - 1);
    out += std::string(1, c) + ": &" + c + " [*" + previous;
    for (int k = 0; k < 8; ++k) out += std::string(", *") + previous;
    out += "]\n";
  }
  return out;
}

// The same in block mappings: ten keys per level, each an alias of the level before.
std::string blockAliasBomb() {
  std::string out = "a0: &a0 {x: 1, y: 2, z: 3, w: 4, v: 5, u: 6, t: 7, s: 8, r: 9, q: 10}\n";
  for (int i = 1; i < 10; ++i) {
    out += "a" + std::to_string(i) + ": &a" + std::to_string(i) + "\n";
    for (int k = 0; k < 10; ++k) out += "  k" + std::to_string(k) + ": *a" + std::to_string(i - 1) + "\n";
  }
  return out;
}

std::string jsonSiblings(int count, std::string_view prefix, bool sameKey) {
  std::string out = "{";
  for (int i = 0; i < count; ++i) {
    if (i) out += ',';
    out += '"';
    out += prefix;
    if (!sameKey) out += std::to_string(i);
    out += "\":" + std::to_string(i);
  }
  return out + "}";
}

std::string yamlSiblings(int count, bool sameKey) {
  std::string out;
  for (int i = 0; i < count; ++i) out += (sameKey ? std::string("k") : "k" + std::to_string(i)) + ": " + std::to_string(i) + "\n";
  return out;
}

// Objects nested `depth` deep under keys of `keyLength` characters, with `siblings` members at the bottom.
std::string deepLongKeys(int depth, std::size_t keyLength, int siblings) {
  const std::string open = "{\"" + std::string(keyLength, 'k') + "\":";
  std::string out = repeat(open, static_cast<std::size_t>(depth)) + "{";
  for (int i = 0; i < siblings; ++i) out.append(i ? ",\"" : "\"").append(std::to_string(i)).append("\":0");
  return out + "}" + std::string(static_cast<std::size_t>(depth), '}');
}

// The pointer budget of deepLongKeys(999, 1000, 1000) and the column of the first sibling's value
// beyond it (every sibling's pointer is the 999 keys and its own name, each after a slash).
const std::string& siblingsUnderLongKeys() {
  static const std::string text = deepLongKeys(999, 1000, 1000);
  return text;
}
int64_t columnBeyondPointerBudget() {
  const std::size_t limit = VoziZazIreCore::maxPointerBytes(siblingsUnderLongKeys().size());
  std::size_t total = 0;
  for (int i = 0;; ++i) {
    const std::string name = std::to_string(i);
    total += 999 * 1001 + 1 + name.size();
    if (total > limit) return static_cast<int64_t>(siblingsUnderLongKeys().find("\"" + name + "\":0")) + 1 + name.size() + 3;
  }
}

struct Failure {
  std::string message;
  int64_t line;
  int64_t column;
};

struct Row {
  std::string name;
  bool json;
  std::function<std::string()> text;
  // Either the error expected, or a check of the tree.
  std::optional<Failure> failure;
  std::function<void(const GenericNode&)> check;
};

void PrintTo(const Row& row, std::ostream* os) { *os << row.name; }

Row fails(std::string name, bool json, std::function<std::string()> text, std::string message, int64_t line,
          int64_t column) {
  return Row{std::move(name), json, std::move(text), Failure{std::move(message), line, column}, nullptr};
}

Row reads(std::string name, bool json, std::function<std::string()> text, std::function<void(const GenericNode&)> check) {
  return Row{std::move(name), json, std::move(text), std::nullopt, std::move(check)};
}

const std::string kNesting = "Nesting deeper than 1000 levels";

void expectLongString(const GenericNode* node, std::size_t size) {
  ASSERT_NE(node, nullptr);
  ASSERT_EQ(node->kind(), GenericNodeKind::string);
  EXPECT_EQ(node->stringValue()->size(), size);
}

void expectSiblings(const GenericNode& root, std::size_t count, std::string_view lastKey, double lastValue) {
  ASSERT_EQ(root.count(), count);
  const GenericNode* last = root[lastKey];
  ASSERT_NE(last, nullptr);
  EXPECT_EQ(last->numberValue(), lastValue);
  EXPECT_EQ(root.objectValue()->begin()[count - 1].key, lastKey);
}

std::vector<Row> rows() {
  return {
      // Nesting.
      fails("json_100k_open_brackets", true, [] { return std::string(kMany, '['); }, kNesting, 1, 1001),
      fails("json_100k_closed_brackets", true, [] { return std::string(kMany, '[') + std::string(kMany, ']'); }, kNesting, 1, 1001),
      fails("json_100k_nested_objects", true, [] { return repeat("{\"a\":", kMany); }, kNesting, 1, 5001),
      fails("yaml_100k_flow_sequences", false, [] { return std::string(kMany, '['); }, kNesting, 1, 1001),
      fails("yaml_100k_closed_flow_sequences", false, [] { return std::string(kMany, '[') + std::string(kMany, ']'); }, kNesting, 1, 1001),
      fails("yaml_100k_flow_mappings", false, [] { return repeat("{a: ", kMany); }, kNesting, 1, 4001),
      fails("yaml_100k_compact_block_sequences", false, [] { return repeat("- ", kMany) + "x\n"; }, kNesting, 1, 2001),
      // Indentation nesting grows with the square of its depth: 2000 levels are 2 MB.
      fails("yaml_2000_indented_mappings", false, [] { return indentedMappings(2000); }, kNesting, 1001, 1001),
      fails("yaml_2000_indented_sequences", false, [] { return indentedSequences(2000); }, kNesting, 1001, 1001),

      // A 50 MB single line.
      reads("json_50mb_string", true, [] { return "\"" + std::string(kBig, 'x') + "\""; },
            [](const GenericNode& root) {
              expectLongString(&root, kBig);
              EXPECT_EQ(root.range().end.column, static_cast<int64_t>(kBig) + 3);
            }),
      fails("json_50mb_unterminated_string", true, [] { return "\"" + std::string(kBig, 'x'); }, "Unterminated string", 1, 1),
      // Positions counted over 25 million two-byte characters.
      fails("json_50mb_non_ascii_string_then_stray_letter", true, [] { return "[\"" + repeat("\xC3\xA9", kBig / 2) + "\" x]"; },
            "Unexpected character: 'x'", 1, static_cast<int64_t>(kBig / 2) + 5),
      reads("yaml_50mb_plain_scalar", false, [] { return "a: " + std::string(kBig, 'x') + "\n"; },
            [](const GenericNode& root) { expectLongString(root["a"], kBig); }),
      reads("yaml_50mb_double_quoted_scalar", false, [] { return "a: \"" + std::string(kBig, 'x') + "\"\n"; },
            [](const GenericNode& root) { expectLongString(root["a"], kBig); }),
      reads("yaml_50mb_single_quoted_scalar", false, [] { return "a: '" + std::string(kBig, 'x') + "'\n"; },
            [](const GenericNode& root) { expectLongString(root["a"], kBig); }),
      fails("yaml_50mb_unterminated_quote", false, [] { return "a: \"" + std::string(kBig, 'x'); }, "Unterminated quoted scalar", 1, 4),
      reads("yaml_50mb_line_without_colon", false, [] { return std::string(kBig, 'x'); },
            [](const GenericNode& root) { expectLongString(&root, kBig); }),

      // Alias bombs stop at the expansion budget.
      fails("yaml_billion_laughs", false, billionLaughs, "Aliases expand to more than 1000000 nodes", 7, 8),
      fails("yaml_block_alias_bomb", false, blockAliasBomb, "Aliases expand to more than 1000000 nodes", 54, 7),

      // Wide objects.
      reads("json_200k_sibling_keys", true, [] { return jsonSiblings(200'000, "k", false); },
            [](const GenericNode& root) {
              expectSiblings(root, 200'000, "k199999", 199999);
              EXPECT_EQ(root["k199999"]->jsonPointer(), "/k199999");
            }),
      reads("json_200k_equal_keys", true, [] { return jsonSiblings(200'000, "k", true); },
            [](const GenericNode& root) { expectSiblings(root, 1, "k", 199999); }),
      reads("json_200k_non_ascii_keys", true, [] { return jsonSiblings(200'000, "\xC3\xA9", false); },
            [](const GenericNode& root) {
              expectSiblings(root, 200'000, "\xC3\xA9" "199999", 199999);
              // The decomposed spelling finds the precomposed key.
              ASSERT_NE(root["e\xCC\x81" "199999"], nullptr);
            }),
      reads("yaml_200k_sibling_keys", false, [] { return yamlSiblings(200'000, false); },
            [](const GenericNode& root) { expectSiblings(root, 200'000, "k199999", 199999); }),
      reads("yaml_200k_equal_keys", false, [] { return yamlSiblings(200'000, true); },
            [](const GenericNode& root) { expectSiblings(root, 1, "k", 199999); }),
      reads("yaml_200k_flow_keys_on_one_line", false,
            [] {
              std::string text = "{";
              for (int i = 0; i < 200'000; ++i) {
                const std::string number = std::to_string(i);
                text.append("k").append(number).append(": ").append(number).append(", ");
              }
              return text + "}";
            },
            [](const GenericNode& root) { expectSiblings(root, 200'000, "k199999", 199999); }),

      // Undecodable text is refused before anything is read, at the first bad byte.
      fails("json_invalid_utf8_in_key", true, [] { return std::string("{\"open\xFF" "api\": \"3.1.0\"}"); },
            "Failed to decode input as UTF-8", 1, 7),
      fails("yaml_invalid_utf8_in_key", false, [] { return std::string("info:\n  ti\xC3\x28tle: x\n"); },
            "Failed to decode input as UTF-8", 2, 5),

      // NUL bytes: JSON names the character; the tolerant YAML reader reads one plain scalar.
      fails("json_nul_bytes", true, [] { return std::string(4096, '\0'); }, std::string("Unexpected character: '") + '\0' + "'", 1, 1),
      reads("yaml_nul_bytes", false, [] { return std::string(4096, '\0'); },
            [](const GenericNode& root) { expectLongString(&root, 4096); }),

      // Unclosed quotes.
      fails("json_100k_odd_quotes", true, [] { return std::string(kMany + 1, '"'); }, "Unexpected token: string", 1, 3),
      fails("json_100k_lines_opening_a_string", true, [] { return repeat("\"k\n", kMany); }, "Unexpected character: 'k'", 2, 2),
      fails("json_100k_unclosed_strings_in_array", true, [] { return "[" + repeat("\"a, ", kMany); }, "Unexpected character: 'a'", 1, 7),
      fails("yaml_100k_odd_double_quotes", false, [] { return std::string(kMany + 1, '"'); }, "Unexpected text after a value", 1, 3),
      fails("yaml_100k_odd_single_quotes_after_key", false, [] { return "a: " + std::string(kMany + 1, '\''); },
            "Unterminated quoted scalar", 1, 4),
      fails("yaml_100k_values_opening_a_quote", false, [] { return repeat("a: \"x\n", kMany); }, "Unexpected text after a value", 2, 5),
      fails("yaml_100k_keys_opening_a_quote", false, [] { return repeat("'k: v\n", kMany); }, "Unexpected text after a value", 2, 2),
      fails("yaml_100k_items_opening_a_quote", false, [] { return repeat("- \"x\n", kMany); }, "Unexpected text after a value", 2, 4),
      fails("yaml_100k_unclosed_quotes_in_flow", false, [] { return "[" + repeat("\"a, ", kMany); }, "Invalid flow sequence", 1, 1),

      // Pointers grow with depth times key length: a deep chain stores its longest pointer once, and
      // many siblings at the bottom are refused before they exhaust memory.
      reads("json_deep_chain_of_long_keys", true, [] { return deepLongKeys(999, 1000, 1); },
            [](const GenericNode& root) {
              const GenericNode* node = &root;
              while (node->count() == 1 && node->objectValue()->begin()->value->kind() == GenericNodeKind::object)
                node = node->objectValue()->begin()->value;
              EXPECT_EQ(node->jsonPointer().size(), 999u * 1001u);
            }),
      fails("json_many_siblings_under_long_keys", true, [] { return siblingsUnderLongKeys(); },
            "Document too large: the JSON pointers of its nodes exceed " +
                std::to_string(VoziZazIreCore::maxPointerBytes(siblingsUnderLongKeys().size())) + " bytes",
            1, columnBeyondPointerBudget()),
  };
}

class PathologicalInputs : public testing::TestWithParam<Row> {};

TEST_P(PathologicalInputs, FinishWithATreeOrAPlacedError) {
  const Row& row = GetParam();
  NodePtr root;
  try {
    const std::string text = row.text();
    root = row.json ? JSONParser().parse(JSONParser::bytesOf(text)) : YAMLParser().parse(YAMLParser::bytesOf(text));
  } catch (const ParseError& error) {
    ASSERT_TRUE(row.failure) << "unexpected error: " << error.message().substr(0, 200);
    EXPECT_EQ(error.message(), row.failure->message);
    if (row.failure->line == 0) {
      EXPECT_FALSE(error.range().has_value());
    } else {
      ASSERT_TRUE(error.range().has_value());
      EXPECT_EQ(error.range()->start.line, row.failure->line);
      EXPECT_EQ(error.range()->start.column, row.failure->column);
    }
    return;
  }
  ASSERT_FALSE(row.failure) << "read without the error '" << row.failure->message.substr(0, 100) << "'";
  ASSERT_NE(root, nullptr);
  row.check(*root);
}

INSTANTIATE_TEST_SUITE_P(Parsers, PathologicalInputs, testing::ValuesIn(rows()),
                         [](const testing::TestParamInfo<Row>& info) { return info.param.name; });

}  // namespace
