// The published example descriptions of the corpus: none breaks a rule of the validator, the YAML and JSON
// twins of each give the same findings, and the reference walk reaches the references of each.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/kit/validation/WalkTestSupport.h"

namespace {

namespace fs = std::filesystem;

fs::path corpusRoot() { return fs::path(CARVEX_SHARED_DIR) / "corpus" / "oai"; }

// "<message> @ <pointer>" of every finding of the validator, references checked.
std::vector<std::string> validatorFindings(const VoziZazIre::ParseResult& result) {
  std::vector<VoziZazIreCore::Diagnostic> found;
  if (const auto* document = CarvexTest::document30(result))
    found = VoziZazIreValidation::OpenAPI30Validator().validate(*document, true);
  else
    found = VoziZazIreValidation::OpenAPI31Validator().validate(*CarvexTest::document31(result), true);
  std::vector<std::string> out;
  for (const auto& d : found) out.push_back(d.message() + " @ " + d.jsonPointer().value_or("-"));
  return out;
}

TEST(Corpus, ExampleDescriptionsBreakNoRuleAndTwinsAgree) {
  const fs::path root = corpusRoot();
  if (!fs::is_directory(root)) GTEST_SKIP() << "no corpus at " << root;
  int validated = 0, compared = 0;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    const auto extension = entry.path().extension();
    if (!entry.is_regular_file() || (extension != ".yaml" && extension != ".json")) continue;
    fs::path twin = entry.path();
    twin.replace_extension(".json");
    try {
      const auto read = [](const fs::path& file) {
        return validatorFindings(VoziZazIre::OpenApiParser().parseContentsOf(file, VoziZazIre::Format::auto_,
                                                                             VoziZazIreCore::ValidationLevel::none));
      };
      const auto findings = read(entry.path());
      for (const auto& finding : findings)
        for (const char* code : {"[DOC-", "[SRV-", "[PTH-", "[OPR-", "[PRM-", "[RQB-", "[RSP-", "[SCH-", "[SEC-",
                                 "[V30-", "[V31-", "[REF-"})
          EXPECT_FALSE(finding.starts_with(code)) << entry.path() << ": " << finding;
      ++validated;
      if (extension == ".yaml" && fs::exists(twin)) {
        EXPECT_EQ(read(twin), findings) << entry.path();
        ++compared;
      }
    } catch (const std::exception& error) {
      ADD_FAILURE() << entry.path() << ": " << error.what();
    }
  }
  EXPECT_GE(validated, 18);
  EXPECT_GT(compared, 0);
}

// Every schema reference of a description pointed at a section that does not exist: each one in a walked
// place gives REF-002, so the count shows that the walk reaches the references of real descriptions
// (those inside inline callbacks, under components' headers and in comments are not walked or not references).
TEST(Corpus, RedirectedSchemaReferencesAreEachFoundOnce) {
  const fs::path root = corpusRoot();
  if (!fs::is_directory(root)) GTEST_SKIP() << "no corpus at " << root;
  struct Row {
    const char* file;
    std::size_t yaml;
    std::size_t json;  // the JSON twin of tictactoe has no webhooks
  };
  for (const Row& row :
       {Row{"v3.0/link-example", 8, 8}, Row{"v3.0/petstore-expanded", 9, 9}, Row{"v3.0/petstore", 7, 7},
        Row{"v3.0/uspto", 1, 1}, Row{"v3.1/tictactoe", 12, 11}, Row{"v3.1/webhook-example", 1, 1}}) {
    for (const char* extension : {".yaml", ".json"}) {
      const std::size_t expected = std::string_view(extension) == ".yaml" ? row.yaml : row.json;
      const fs::path file = root / (std::string(row.file) + extension);
      std::ifstream in(file, std::ios::binary);
      std::stringstream buffer;
      buffer << in.rdbuf();
      std::string text = buffer.str();
      const std::string from = "#/components/schemas/", to = "#/components/schemaz/";
      for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
      const auto result =
          VoziZazIre::OpenApiParser().parse(text, VoziZazIre::Format::auto_, VoziZazIreCore::ValidationLevel::high);
      const auto missing = CarvexTest::withCodes(result.diagnostics, {"REF-002"});
      EXPECT_EQ(missing.size(), expected) << file;
      for (const auto& finding : missing)
        EXPECT_TRUE(finding.message().ends_with("not found in components/schemaz.")) << finding.message();
      EXPECT_EQ(CarvexTest::withCodes(result.diagnostics, {"REF-004"}).size(), expected) << file;
    }
  }
}

}  // namespace
