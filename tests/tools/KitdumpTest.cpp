#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const std::string kKitdump = CARVEX_BINARY_DIR "/tools/kitdump";

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream buffer;
  buffer << in.rdbuf();
  return buffer.str();
}

class Kitdump : public testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(kKitdump)) GTEST_FAIL() << "build the kitdump target first: " << kKitdump;
    dir_ = fs::path(testing::TempDir()) / ("kitdump-" + std::to_string(::getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  fs::path write(const std::string& name, const std::string& content) {
    fs::path path = dir_ / name;
    std::ofstream(path, std::ios::binary) << content;
    return path;
  }

  Outcome run(const std::string& arguments) {
    const fs::path out = dir_ / "stdout.txt";
    const fs::path err = dir_ / "stderr.txt";
    const std::string command = "'" + kKitdump + "' " + arguments + " >'" + out.string() + "' 2>'" + err.string() + "'";
    const int raw = std::system(command.c_str());
    Outcome result;
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    result.out = readFile(out);
    result.err = readFile(err);
    return result;
  }

  Outcome runOn(const std::string& arguments, const std::string& content) {
    const fs::path file = write("input", content);
    return run(arguments + " '" + file.string() + "'");
  }

  fs::path dir_;
};

// One run of kitdump on one input: exit status, standard output and standard error, exactly.
struct RunCase {
  const char* name;
  std::string arguments;
  std::string input;
  int status;
  std::string out;
  std::string err;
};

void PrintTo(const RunCase& c, std::ostream* os) { *os << c.name; }

class KitdumpRuns : public Kitdump, public testing::WithParamInterface<RunCase> {};

TEST_P(KitdumpRuns, StatusAndOutput) {
  const RunCase& c = GetParam();
  Outcome r = runOn(c.arguments, c.input);
  EXPECT_EQ(r.status, c.status) << r.err;
  EXPECT_EQ(r.out, c.out);
  EXPECT_EQ(r.err, c.err);
}

const std::string kDeepest = std::string(1000, '[') + std::string(1000, ']');

INSTANTIATE_TEST_SUITE_P(
    Table, KitdumpRuns,
    testing::Values(
        RunCase{"tree_prints_one_line_in_document_order", "tree",
                R"({"z": [1],
  "a": {"s": "q\"\\/\b\f\n\r\t\u0001\u00e9", "t": true, "f": false, "n": null, "e": [], "o": {}},
  "a/b": 3, "z": "last wins"})",
                0,
                "{\"z\":\"last wins\",\"a\":{\"s\":\"q\\\"\\\\/\\b\\f\\n\\r\\t\\u0001\xc3\xa9\",\"t\":true,\"f\":false,"
                "\"n\":null,\"e\":[],\"o\":{}},\"a/b\":3}\n",
                ""},
        RunCase{"tree_prints_integers_or_shortest_form", "tree",
                "[1, -2, 2.5, 0.1, -0, 1e-7, 1e300, 12345678901234567890, 1E2, 1e400, -1e400]", 0,
                "[1,-2,2.5,0.1,-0,1e-07,1e+300,12345678901234567168,100,1e999,-1e999]\n", ""},
        RunCase{"nodes_lists_every_node_with_its_range", "nodes",
                "{\r\n  \"a~b\": [true, \"\xc3\xa9t\xc3\xa9\"],\r\n  \"c\": {}\r\n}\r\n", 0,
                "\tobject\t1:1:0\t4:2:37\n"
                "/a~0b\tarray\t2:10:11\t2:23:24\n"
                "/a~0b/0\tbool\t2:11:12\t2:15:16\n"
                "/a~0b/1\tstring\t2:17:18\t2:22:23\n"
                "/c\tobject\t3:8:33\t3:10:35\n",
                ""},
        RunCase{"nodes_keep_control_characters_of_keys_on_one_line", "nodes", R"({"a\nb": null})", 0,
                "\tobject\t1:1:0\t1:15:14\n/a\\u000ab\tnull\t1:10:9\t1:14:13\n", ""},
        RunCase{"parse_error_prints_its_form_and_exits_two", "tree", "{\n  \"a\": [1 2]\n}", 2, "",
                "ParseError: Expected ',' or ']' in array at line 2, column 11\n"},
        RunCase{"parse_error_without_range", "nodes", "[\"\\ud800\"]", 2, "", "ParseError: Invalid unicode escape\n"},
        // Detection picks YAML for this text; forcing JSON makes the JSON parser report it.
        RunCase{"format_option_forces_json", "--format json tree", "a: 1\n", 2, "",
                "ParseError: Unexpected character: 'a' at line 1, column 1\n"},
        RunCase{"format_option_after_command", "tree --format=json", "a: 1\n", 2, "",
                "ParseError: Unexpected character: 'a' at line 1, column 1\n"},
        RunCase{"format_auto_detects_json_after_bom", "--format auto tree", "\xef\xbb\xbf  [1]", 0, "[1]\n", ""},
        RunCase{"yaml_detected", "tree", "a: b\n", 0, "{\"a\":\"b\"}\n", ""},
        // Text that is not YAML is refused, however a lenient reader might take it.
        RunCase{"yaml_mapping_inside_a_plain_value_exits_two", "tree", "a: b: c\n", 2, "",
                "ParseError: Mapping values are not allowed here at line 1, column 5\n"},
        RunCase{"parse_refuses_a_description_that_is_not_yaml", "parse",
                "openapi: 3.0.3\ninfo:\n  title: t\n  version: '1'\n"
                "  description: Note: this breaks YAML readers\npaths: {}\n",
                2, "", "ParseError: Mapping values are not allowed here at line 5, column 20\n"},
        // Words for infinity and not-a-number are text in YAML: no non-finite number is printed for them.
        RunCase{"tree_prints_number_words_of_yaml_as_text", "tree",
                "enum: [inf, -Infinity, NaN, +nan, INF, .inf, 1e3, 0x1F]\nmax: Infinity\n", 0,
                "{\"enum\":[\"inf\",\"-Infinity\",\"NaN\",\"+nan\",\"INF\",\".inf\",1000,31],\"max\":\"Infinity\"}\n",
                ""},
        RunCase{"yaml_forced_on_json_text", "--format yaml tree", "{\"a\": \"b\"}", 0, "{\"a\":\"b\"}\n", ""},
        RunCase{"deepest_accepted_nesting_prints", "tree", kDeepest, 0, kDeepest + "\n", ""},
        RunCase{"parse_swagger_is_refused", "parse", "swagger: '2.0'\n", 2, "",
                "TransformError: OpenAPI version 2.0 is not yet supported at  (line 1, column 1)\n"},
        RunCase{"parse_transform_error_exits_two", "parse --level none", "openapi: 3.0.3\ninfo: {title: t}\npaths: {}\n",
                2, "", "TransformError: Missing required field 'version' in info at /info (line 2, column 7)\n"},
        RunCase{"parse_syntax_error_is_a_parse_error", "parse --format json", "{\"openapi\": }", 2, "",
                "ParseError: Unexpected token: rightBrace at line 1, column 13\n"}),
    [](const testing::TestParamInfo<RunCase>& info) { return std::string(info.param.name); });

struct UsageCase {
  const char* name;
  std::string arguments;
};

void PrintTo(const UsageCase& c, std::ostream* os) { *os << c.name; }

class KitdumpUsage : public Kitdump, public testing::WithParamInterface<UsageCase> {};

TEST_P(KitdumpUsage, ExitsSixtyFour) {
  write("file.json", "{}");
  Outcome r = run(GetParam().arguments);
  EXPECT_EQ(r.status, 64);
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err.find("usage: kitdump"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Table, KitdumpUsage,
                         testing::Values(UsageCase{"no_arguments", ""}, UsageCase{"no_file", "tree"},
                                         UsageCase{"unknown_command", "frobnicate file.json"},
                                         UsageCase{"two_files", "tree file.json file.json"},
                                         UsageCase{"unknown_format", "--format toml tree file.json"},
                                         UsageCase{"format_without_value", "tree file.json --format"},
                                         UsageCase{"unknown_option", "--verbose tree file.json"},
                                         UsageCase{"unknown_level", "parse --level medium file.json"},
                                         UsageCase{"level_without_value", "parse --level file.json"}),
                         [](const testing::TestParamInfo<UsageCase>& info) { return std::string(info.param.name); });

TEST_F(Kitdump, UnreadableFileIsNotAParseError) {
  for (const char* command : {"tree", "parse"}) {
    Outcome r = run(std::string(command) + " '" + (dir_ / "missing.json").string() + "'");
    EXPECT_EQ(r.status, 66) << command;
    EXPECT_NE(r.err.find("cannot read"), std::string::npos) << command;
  }
}

// The tree of a corpus description, printed and read again, prints the same.
TEST_F(Kitdump, CorpusTreesRoundTrip) {
  const fs::path root = fs::path(CARVEX_SHARED_DIR) / "corpus" / "oai";
  if (!fs::is_directory(root)) GTEST_SKIP() << "no corpus at " << root;
  int checked = 0;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    if (entry.path().extension() != ".json") continue;
    SCOPED_TRACE(entry.path().string());
    Outcome first = run("tree '" + entry.path().string() + "'");
    ASSERT_EQ(first.status, 0) << first.err;
    Outcome second = runOn("tree", first.out);
    ASSERT_EQ(second.status, 0) << second.err;
    EXPECT_EQ(first.out, second.out);
    ++checked;
  }
  EXPECT_GT(checked, 0);
}

// ---- kitdump parse ----

const char* const kParseInput = "openapi: 3.1.0\ninfo:\n  title: ' '\n  version: v\n  colour: red\n"
                                "servers:\n  - url: '/{v}'\n";

TEST_F(Kitdump, ParsePrintsTheVersionThenOneLinePerFinding) {
  Outcome r = runOn("parse --level low", kParseInput);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "3.1\nerror\t/info\t3:3\t[DOC-002] info.title must not be empty\n");
  EXPECT_EQ(r.err, "");

  Outcome none = runOn("parse --level=none", kParseInput);
  EXPECT_EQ(none.out, "3.1\n");

  // At high the transform's findings come first, then the validation rules'; a fault that both find is
  // listed once, in the validation rules' words.
  Outcome high = runOn("parse", kParseInput);
  EXPECT_EQ(high.status, 0) << high.err;
  EXPECT_EQ(high.out, "3.1\n"
                      "warning\t/info/colour\t5:11\t[GEN-001] Unknown property 'colour' in Info object\n"
                      "error\t/info\t3:3\t[DOC-002] info.title must not be empty\n"
                      "error\t/servers/0\t7:5\t[SRV-002] Template variable '{v}' in server URL has no matching "
                      "variable definition\n");
}

TEST_F(Kitdump, ParseKeepsEveryFindingOnOneLine) {
  Outcome r = runOn("parse --level high",
                    "openapi: 3.0.3\ninfo: {title: t, version: v}\npaths: {}\n\"a\\tb\\\\c\\nd\": 1\n");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("warning\t/a\\tb\\\\c\\nd\t4:15\t[GEN-001] Unknown property 'a\\tb\\\\c\\nd' in Document object\n"),
            std::string::npos)
      << r.out;
}

}  // namespace
