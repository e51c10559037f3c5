// The example descriptions of the corpus (YAML and JSON) through the transformers at level high: they are
// well formed, so the path, operation, response, parameter and content readers report nothing for them,
// and their operations are read. A thrown error may only be a required-member error: one 3.1 example has
// an operation without "responses", which these readers require in both versions.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "kit/parsing/JSONParser.h"
#include "kit/parsing/YAMLParser.h"
#include "kit/transform/OpenAPI3_0Transformer.h"
#include "kit/transform/OpenAPI3_1Transformer.h"
#include "kit/transform/OpenAPIVersion.h"
#include "tests/kit/transform/PathReaderTestSupport.h"

namespace {

using namespace CarvexTest;
using namespace VoziZazIreTransform;
namespace fs = std::filesystem;

bool isOwnCode(const std::string& message) {
  for (const char* code : {"[PTH-001]", "[OPR-001]", "[RQB-002]", "[RSP-001]", "[RSP-002]", "[PRM-001]", "[PRM-002]",
                           "[PRM-004]", "[PRM-STYLE]", "[HDR-STYLE]", "[ENC-STYLE]"})
    if (message.starts_with(code)) return true;
  return false;
}

// The number of operations under "paths", after checking the findings.
template <class Transformer>
std::size_t operationsOf(const VoziZazIreCore::GenericNode& root) {
  auto result = Transformer().transform(root, ValidationLevel::high);
  for (const auto& d : result.diagnostics) EXPECT_FALSE(isOwnCode(d.message())) << finding(d);
  std::size_t count = 0;
  for (const auto& [key, item] : result.model->paths->items)
    for (const auto* op : {&item->get, &item->put, &item->post, &item->delete_, &item->options, &item->head,
                           &item->patch, &item->trace})
      count += *op ? 1 : 0;
  return count;
}

TEST(PathCorpusTest, WellFormedDescriptionsGiveNoFindingsOfTheseReaders) {
  const fs::path dir = fs::path(CARVEX_SHARED_DIR) / "corpus" / "oai";
  if (!fs::is_directory(dir)) GTEST_SKIP() << "no corpus at " << dir;
  std::size_t files = 0, operations = 0;
  for (const auto& entry : fs::recursive_directory_iterator(dir)) {
    const bool json = entry.path().extension() == ".json";
    if (!json && entry.path().extension() != ".yaml") continue;
    SCOPED_TRACE(entry.path().string());
    std::ifstream in(entry.path(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    auto root = json ? VoziZazIreParsing::JSONParser().parse(text.str()) : VoziZazIreParsing::YAMLParser().parse(text.str());
    ++files;
    try {
      operations += OpenAPIVersions::detect(*root) == OpenAPIVersion::v3_1 ? operationsOf<OpenAPI3_1Transformer>(*root)
                                                                          : operationsOf<OpenAPI3_0Transformer>(*root);
    } catch (const VoziZazIreCore::TransformError& error) {
      EXPECT_TRUE(error.message().starts_with("Missing required field '")) << error.what();
    }
  }
  EXPECT_GE(files, 18u);
  EXPECT_GE(operations, 40u);
}

}  // namespace
