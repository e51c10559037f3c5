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

TEST_F(Kitdump, TreePrintsOneLineOfJsonInDocumentOrder) {
  Outcome r = runOn("tree", R"({"z": [1, -2, 2.5, 0.1, -0, 1e-7, 1e300, 12345678901234567890],
  "a": {"s": "q\"\\/\b\f\n\r\t\u0001\u00e9", "t": true, "f": false, "n": null, "e": [], "o": {}},
  "a/b": 3, "z": "last wins"})");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out,
            "{\"z\":\"last wins\",\"a\":{\"s\":\"q\\\"\\\\/\\b\\f\\n\\r\\t\\u0001\xc3\xa9\",\"t\":true,\"f\":false,"
            "\"n\":null,\"e\":[],\"o\":{}},\"a/b\":3}\n");
  EXPECT_EQ(r.err, "");
}

TEST_F(Kitdump, TreePrintsNumbersAsIntegersOrShortestForm) {
  Outcome r = runOn("tree", "[1, -2, 2.5, 0.1, -0, 1e-7, 1e300, 12345678901234567890, 1E2, 1e400, -1e400]");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "[1,-2,2.5,0.1,-0,1e-07,1e+300,12345678901234567168,100,1e999,-1e999]\n");
}

TEST_F(Kitdump, NodesListsEveryNodeWithItsRange) {
  Outcome r = runOn("nodes", "{\r\n  \"a~b\": [true, \"\xc3\xa9t\xc3\xa9\"],\r\n  \"c\": {}\r\n}\r\n");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out,
            "\tobject\t1:1:0\t4:2:37\n"
            "/a~0b\tarray\t2:10:11\t2:23:24\n"
            "/a~0b/0\tbool\t2:11:12\t2:15:16\n"
            "/a~0b/1\tstring\t2:17:18\t2:22:23\n"
            "/c\tobject\t3:8:33\t3:10:35\n");
}

TEST_F(Kitdump, NodesKeepsControlCharactersOfKeysOnOneLine) {
  Outcome r = runOn("nodes", R"({"a\nb": null})");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "\tobject\t1:1:0\t1:15:14\n/a\\u000ab\tnull\t1:10:9\t1:14:13\n");
}

TEST_F(Kitdump, ParseErrorPrintsItsFormAndExitsTwo) {
  Outcome r = runOn("tree", "{\n  \"a\": [1 2]\n}");
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "ParseError: Expected ',' or ']' in array at line 2, column 11\n");
}

TEST_F(Kitdump, ParseErrorWithoutRange) {
  Outcome r = runOn("nodes", "[\"\\ud800\"]");
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err, "ParseError: Invalid unicode escape\n");
}

TEST_F(Kitdump, FormatOptionPicksTheParser) {
  // Detection picks YAML for this text; forcing JSON makes the JSON parser report it.
  Outcome forced = runOn("--format json tree", "a: 1\n");
  EXPECT_EQ(forced.status, 2);
  EXPECT_EQ(forced.err, "ParseError: Unexpected character: 'a' at line 1, column 1\n");
  Outcome late = runOn("tree --format=json", "a: 1\n");
  EXPECT_EQ(late.status, 2);
  EXPECT_EQ(late.err, forced.err);
  Outcome detected = runOn("--format auto tree", "\xef\xbb\xbf  [1]");
  EXPECT_EQ(detected.status, 0) << detected.err;
  EXPECT_EQ(detected.out, "[1]\n");
}

TEST_F(Kitdump, YamlGoesThroughTheYamlParser) {
  Outcome detected = runOn("tree", "a: b\n");
  EXPECT_EQ(detected.status, 0) << detected.err;
  EXPECT_EQ(detected.out, "{\"a\":\"b\"}\n");
  Outcome forced = runOn("--format yaml tree", "{\"a\": \"b\"}");
  EXPECT_EQ(forced.status, 0) << forced.err;
  EXPECT_EQ(forced.out, "{\"a\":\"b\"}\n");
}

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
                                         UsageCase{"unknown_option", "--verbose tree file.json"}),
                         [](const testing::TestParamInfo<UsageCase>& info) { return std::string(info.param.name); });

TEST_F(Kitdump, UnreadableFileIsNotAParseError) {
  Outcome r = run("tree '" + (dir_ / "missing.json").string() + "'");
  EXPECT_EQ(r.status, 66);
  EXPECT_NE(r.err.find("cannot read"), std::string::npos);
}

TEST_F(Kitdump, DeepestAcceptedNestingPrints) {
  std::string text = std::string(1000, '[') + std::string(1000, ']');
  Outcome r = runOn("tree", text);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, text + "\n");
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

  // At high the transform's findings come first; the validation rules may add more after them.
  Outcome high = runOn("parse", kParseInput);
  EXPECT_EQ(high.status, 0) << high.err;
  EXPECT_TRUE(high.out.starts_with("3.1\n"
                                   "error\t/info\t3:3\t[DOC-002] info.title must not be empty\n"
                                   "warning\t/info/colour\t5:11\t[GEN-001] Unknown property 'colour' in Info object\n"
                                   "error\t/servers/0\t7:5\t[SRV-002] Template variable '{v}' has no matching variable "
                                   "definition\n"))
      << high.out;
}

TEST_F(Kitdump, ParseKeepsEveryFindingOnOneLine) {
  Outcome r = runOn("parse --level high",
                    "openapi: 3.0.3\ninfo: {title: t, version: v}\npaths: {}\n\"a\\tb\\\\c\\nd\": 1\n");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("warning\t/a\\tb\\\\c\\nd\t4:15\t[GEN-001] Unknown property 'a\\tb\\\\c\\nd' in Document object\n"),
            std::string::npos)
      << r.out;
}

TEST_F(Kitdump, ParseThrownErrorsPrintTheirFormAndExitTwo) {
  Outcome swagger = runOn("parse", "swagger: '2.0'\n");
  EXPECT_EQ(swagger.status, 2);
  EXPECT_EQ(swagger.out, "");
  EXPECT_EQ(swagger.err, "TransformError: OpenAPI version 2.0 is not yet supported at  (line 1, column 1)\n");

  Outcome transform = runOn("parse --level none", "openapi: 3.0.3\ninfo: {title: t}\npaths: {}\n");
  EXPECT_EQ(transform.status, 2);
  EXPECT_EQ(transform.err, "TransformError: Missing required field 'version' in info at /info (line 2, column 7)\n");

  Outcome syntax = runOn("parse --format json", "{\"openapi\": }");
  EXPECT_EQ(syntax.status, 2);
  EXPECT_TRUE(syntax.err.starts_with("ParseError: ")) << syntax.err;
}

TEST_F(Kitdump, ParseOptionsAreChecked) {
  EXPECT_EQ(runOn("parse --level medium", kParseInput).status, 64);
  EXPECT_EQ(runOn("parse --level", kParseInput).status, 64);
  EXPECT_EQ(run("parse '" + (dir_ / "missing.yaml").string() + "'").status, 66);
}

}  // namespace
