#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "kit/core/ParseError.h"
#include "kit/core/TransformError.h"
#include "kit/facade/OpenApiParser.h"
#include "tests/kit/TestDocuments.h"

namespace {

namespace fs = std::filesystem;
using namespace VoziZazIre;
using VoziZazIreCore::ParseError;
using VoziZazIreCore::TransformError;
using VoziZazIreCore::ValidationLevel;
using VoziZazIreTransform::OpenAPIVersion;

// Valid as YAML (a flow mapping may end in a comma) but not as JSON.
const char* const kTrailingComma = R"({"openapi": "3.0.3", "info": {"title": "t", "version": "v"}, "paths": {},})";

const char* const kPetstore30 = R"(openapi: 3.0.3
info:
  title: ''
  version: 1.0.0
  x-audience: public
paths:
  /pets:
    get:
      operationId: listPets
      responses:
        '200':
          description: ok
tags:
  - name: pets
    colour: red
)";

class TempDir : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::path(testing::TempDir()) / ("openapiparser-" + std::to_string(::getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  fs::path write(const std::string& name, const std::string& content) {
    fs::path path = dir_ / name;
    std::ofstream(path, std::ios::binary) << content;
    return path;
  }
  fs::path dir_;
};

TEST(OpenApiParser, TheCallersFormatIsNotSecondGuessed) {
  EXPECT_EQ(OpenApiParser().parse(kTrailingComma, Format::yaml, ValidationLevel::none).version, OpenAPIVersion::v3_0);
  EXPECT_THROW(OpenApiParser().parse(kTrailingComma, Format::json, ValidationLevel::none), ParseError);
  EXPECT_THROW(OpenApiParser().parse(kTrailingComma, Format::auto_, ValidationLevel::none), ParseError)
      << "a leading brace means JSON";
  EXPECT_EQ(OpenApiParser().parse(kPetstore30, Format::auto_, ValidationLevel::none).version, OpenAPIVersion::v3_0);
}

TEST(OpenApiParser, TextThatIsNotUtf8IsRefusedBeforeParsing) {
  const std::string text = "openapi: 3.0.3\ninfo: {title: \xff, version: v}\npaths: {}\n";
  try {
    OpenApiParser().parse(std::string_view(text), Format::yaml, ValidationLevel::high);
    FAIL() << "expected a ParseError";
  } catch (const ParseError& error) {
    EXPECT_EQ(error.message(), "Failed to convert string to UTF-8 data");
    EXPECT_EQ(error.range(), std::nullopt);
    EXPECT_EQ(error.underlying(), nullptr);
  }
  // The byte form hands the same bytes to the parser, which refuses them in its own words.
  const auto bytes = std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
  EXPECT_THROW(OpenApiParser().parse(bytes, Format::yaml, ValidationLevel::high), ParseError);
}

TEST(OpenApiParser, RefusalsThrowTheStagesErrorUnchanged) {
  const std::pair<const char*, const char*> rows[] = {
      {"info: {title: t}\nswagger: '2.0'\n", "OpenAPI version 2.0 is not yet supported at  (line 1, column 1)"},
      {"swagger: '1.2'\n", "Unsupported Swagger version: 1.2 at /swagger (line 1, column 10)"},
      {"{\"openapi\": \"4.0.0\"}", "Unsupported OpenAPI version: 4.0.0 at /openapi (line 1, column 13)"},
      {"info: {}\n", "Could not determine OpenAPI version. Missing 'openapi' or 'swagger' field. at  (line 1, column 1)"},
      {"openapi: 3.0.3\ninfo: {title: t, version: v}\n", "Missing required field 'paths' at  (line 1, column 1)"}};
  for (const auto& [text, printed] : rows) {
    try {
      OpenApiParser().parse(text, Format::auto_, ValidationLevel::high);
      ADD_FAILURE() << "expected a TransformError for " << text;
    } catch (const TransformError& error) {
      EXPECT_EQ(error.description(), std::string("TransformError: ") + printed);
    }
  }
}

TEST(OpenApiParser, LevelsChangeOnlyTheDiagnostics) {
  const ParseResult none = CarvexTest::parseYaml(kPetstore30, ValidationLevel::none);
  const ParseResult low = CarvexTest::parseYaml(kPetstore30, ValidationLevel::low);
  const ParseResult high = CarvexTest::parseYaml(kPetstore30, ValidationLevel::high);
  for (const ParseResult* result : {&none, &low, &high}) {
    EXPECT_EQ(result->genericTree->description(), none.genericTree->description());
    EXPECT_EQ(result->version, OpenAPIVersion::v3_0);
    ASSERT_NE(result->document.v3_0(), nullptr);
    EXPECT_EQ(result->document.v3_1(), nullptr);
    EXPECT_EQ(result->document.v3_0()->paths->items.size(), 1u);
  }
  EXPECT_TRUE(none.diagnostics.empty());
  EXPECT_EQ(CarvexTest::findings(low.diagnostics), (std::vector<std::string>{"[DOC-002] info.title must not be empty @ /info 3:3"}));

  // At high the transform's findings come first, as the transformer recorded them less the empty title
  // that the validation rules find too, then the validation rules' findings.
  const auto transformOnly = CarvexTest::transform30(kPetstore30, ValidationLevel::high).result.diagnostics;
  std::vector<std::string> transformFirst = CarvexTest::findings(transformOnly);
  std::erase(transformFirst, "[DOC-002] info.title must not be empty @ /info 3:3");
  ASSERT_EQ(transformFirst.size() + 1, transformOnly.size());
  ASSERT_GE(high.diagnostics.size(), transformFirst.size());
  EXPECT_EQ(CarvexTest::findings(std::vector(high.diagnostics.begin(), high.diagnostics.begin() + transformFirst.size())),
            transformFirst);
  EXPECT_EQ(CarvexTest::withCode(transformOnly, "GEN-001").size(), 1u);
  EXPECT_EQ(CarvexTest::withCode(high, "DOC-002").size(), 1u);

  // errors() and warnings() keep the order of the findings.
  std::vector<std::string> errors, warnings;
  for (const auto& d : high.diagnostics)
    (d.severity() == VoziZazIreCore::DiagnosticSeverity::error ? errors : warnings).push_back(d.message());
  EXPECT_EQ(CarvexTest::messages(high.errors()), errors);
  EXPECT_EQ(CarvexTest::messages(high.warnings()), warnings);
  EXPECT_FALSE(warnings.empty() || errors.empty());
}

TEST(OpenApiParser, Version31GivesThe31Document) {
  const ParseResult result = OpenApiParser().parse(R"({"openapi": "3.1.0", "info": {"title": "t", "version": "v"}})",
                                                   Format::auto_, ValidationLevel::none);
  EXPECT_EQ(result.version, OpenAPIVersion::v3_1);
  EXPECT_EQ(result.document.version(), OpenAPIVersion::v3_1);
  EXPECT_TRUE(result.document.v3_1() && !result.document.v3_0());
}

TEST_F(TempDir, FileExtensionPicksTheParserUnlessAFormatIsGiven) {
  const fs::path yml = write("api.YML", kTrailingComma);
  EXPECT_EQ(OpenApiParser().parseContentsOf(yml, Format::auto_, ValidationLevel::none).version, OpenAPIVersion::v3_0);
  EXPECT_THROW(OpenApiParser().parseContentsOf(yml, Format::json, ValidationLevel::none), ParseError);

  const fs::path txt = write("api.txt", kTrailingComma);
  EXPECT_THROW(OpenApiParser().parseContentsOf(txt, Format::auto_, ValidationLevel::none), ParseError)
      << "an unknown extension leaves the choice to the content";
  EXPECT_EQ(OpenApiParser().parseContentsOf(txt, Format::yaml, ValidationLevel::none).version, OpenAPIVersion::v3_0);

  const fs::path json = write("api.Json", kPetstore30);
  EXPECT_THROW(OpenApiParser().parseContentsOf(json, Format::auto_, ValidationLevel::none), ParseError);
  const fs::path none = write("api", kPetstore30);
  EXPECT_EQ(OpenApiParser().parseContentsOf(none, Format::auto_, ValidationLevel::none).version, OpenAPIVersion::v3_0);
}

TEST_F(TempDir, UnreadableFilesFailBeforeParsing) {
  EXPECT_THROW(OpenApiParser().parseContentsOf(dir_ / "missing.yaml", Format::auto_, ValidationLevel::high),
               fs::filesystem_error);
  EXPECT_THROW(OpenApiParser().parseContentsOf(dir_, Format::auto_, ValidationLevel::high), fs::filesystem_error);
}

TEST_F(TempDir, FileAndTextGiveTheSameResult) {
  const fs::path file = write("api.yaml", kPetstore30);
  const ParseResult fromFile = OpenApiParser().parseContentsOf(file, Format::auto_, ValidationLevel::high);
  const ParseResult fromText = OpenApiParser().parse(kPetstore30, Format::auto_, ValidationLevel::high);
  EXPECT_EQ(CarvexTest::findings(fromFile.diagnostics), CarvexTest::findings(fromText.diagnostics));
  EXPECT_EQ(fromFile.genericTree->description(), fromText.genericTree->description());
}

// ---- Corpus ---------------------------------------------------------------------------------------

// Every description parses at level high as the version of its folder, and YAML and JSON twins give the
// same findings.
TEST(OpenApiParserCorpus, EveryDescriptionParsesAndTwinsAgree) {
  const fs::path root = fs::path(CARVEX_SHARED_DIR) / "corpus" / "oai";
  std::error_code error;
  if (!fs::is_directory(root, error)) GTEST_SKIP() << "no corpus at " << root;
  std::vector<fs::path> files;
  for (const auto& entry : fs::recursive_directory_iterator(root, error))
    if (entry.is_regular_file() && entry.path().extension() == ".json") files.push_back(entry.path());
  ASSERT_FALSE(files.empty());
  for (const fs::path& json : files) {
    SCOPED_TRACE(json.string());
    try {
      const ParseResult fromJson = OpenApiParser().parseContentsOf(json, Format::auto_, ValidationLevel::high);
      const ParseResult fromYaml =
          OpenApiParser().parseContentsOf(fs::path(json).replace_extension(".yaml"), Format::auto_, ValidationLevel::high);
      const auto version = json.parent_path().filename() == "v3.1" ? OpenAPIVersion::v3_1 : OpenAPIVersion::v3_0;
      EXPECT_EQ(fromJson.version, version);
      EXPECT_EQ(fromYaml.version, version);
      if (json.stem() == "tictactoe") continue;  // its twins differ by one object
      auto jsonMessages = CarvexTest::messages(fromJson), yamlMessages = CarvexTest::messages(fromYaml);
      std::sort(jsonMessages.begin(), jsonMessages.end());
      std::sort(yamlMessages.begin(), yamlMessages.end());
      EXPECT_EQ(jsonMessages, yamlMessages);
    } catch (const std::exception& error) {
      ADD_FAILURE() << error.what();
    }
  }
}

}  // namespace
