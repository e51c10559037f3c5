// The published example descriptions of the corpus, each validated at level high through the parse facade:
// none breaks a schema, security, version or reference rule.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "kit/core/ParseError.h"
#include "kit/core/TransformError.h"
#include "tests/kit/validation/WalkTestSupport.h"

namespace {

namespace fs = std::filesystem;

const std::initializer_list<std::string_view> kOwnCodes = {
    "SCH-001", "SCH-002", "SCH-003", "SCH-004", "SCH-005", "SCH-006", "SCH-007", "SCH-008", "SCH-009",
    "SCH-010", "SCH-011", "SCH-013", "SEC-001", "SEC-002", "SEC-003", "SEC-004", "SEC-005", "SEC-006",
    "SEC-007", "OPR-004", "V30-001", "V31-001", "V31-002", "V31-009", "REF-001", "REF-002", "REF-003",
    "REF-004"};

TEST(ReferenceCorpus, ExampleDescriptionsBreakNoSchemaSecurityVersionOrReferenceRule) {
  const fs::path root = fs::path(CARVEX_SHARED_DIR) / "corpus" / "oai";
  if (!fs::is_directory(root)) GTEST_SKIP() << "no corpus at " << root;
  int validated = 0;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    const auto extension = entry.path().extension();
    if (!entry.is_regular_file() || (extension != ".yaml" && extension != ".json")) continue;
    try {
      const auto result =
          VoziZazIre::OpenApiParser().parseContentsOf(entry.path(), VoziZazIre::Format::auto_,
                                                      VoziZazIreCore::ValidationLevel::high);
      EXPECT_EQ(CarvexTest::described(CarvexTest::withCodes(result.diagnostics, kOwnCodes)),
                std::vector<std::string>{})
          << entry.path();
      ++validated;
    } catch (const std::exception& error) {
      ADD_FAILURE() << entry.path() << ": " << error.what();
    }
  }
  EXPECT_GE(validated, 18);
}

// Every schema reference of a description pointed at a section that does not exist: each one in a walked
// place gives REF-002, so the count shows that the walk reaches the references of real descriptions
// (those inside inline callbacks, under components' headers and in comments are not walked or not references).
TEST(ReferenceCorpus, RedirectedSchemaReferencesAreEachFoundOnce) {
  const fs::path root = fs::path(CARVEX_SHARED_DIR) / "corpus" / "oai";
  if (!fs::is_directory(root)) GTEST_SKIP() << "no corpus at " << root;
  struct Row {
    const char* file;
    std::size_t yaml;
    std::size_t json;  // the JSON twin of tictactoe has no webhooks
  };
  for (const Row& row : {Row{"v3.0/link-example", 8, 8}, Row{"v3.0/petstore-expanded", 9, 9},
                         Row{"v3.0/petstore", 7, 7}, Row{"v3.0/uspto", 1, 1}, Row{"v3.1/tictactoe", 12, 11},
                         Row{"v3.1/webhook-example", 1, 1}}) {
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
      const auto result = VoziZazIre::OpenApiParser().parse(text, VoziZazIre::Format::auto_,
                                                           VoziZazIreCore::ValidationLevel::high);
      const auto missing = CarvexTest::withCodes(result.diagnostics, {"REF-002"});
      EXPECT_EQ(missing.size(), expected) << file;
      for (const auto& finding : missing)
        EXPECT_TRUE(finding.message().ends_with("not found in components/schemaz.")) << finding.message();
      EXPECT_EQ(CarvexTest::withCodes(result.diagnostics, {"REF-004"}).size(), expected) << file;
    }
  }
}

}  // namespace
