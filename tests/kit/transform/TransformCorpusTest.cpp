// The published example descriptions are all well formed. Read at level high, the readers of this folder
// report nothing about them (schemas, components, security schemes, paths, operations, responses, parameters,
// content), and their operations are read. A thrown error may only be a required-member error: one 3.1
// example has an operation without "responses", which these readers require in both versions.
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "kit/core/TransformError.h"
#include "kit/transform/ComponentReaders.h"
#include "kit/transform/OpenAPI3_0Transformer.h"
#include "kit/transform/OpenAPI3_1Transformer.h"
#include "kit/transform/OpenAPIVersion.h"
#include "tests/kit/transform/ReaderTesting.h"

namespace {

namespace fs = std::filesystem;
using namespace VoziZazIreTransform;
using VoziZazIreCore::ValidationLevel;

// Findings that belong to the readers of this folder.
bool isOurs(const std::string& message) {
  for (const char* prefix : {"[SCH-", "[SEC-", "[PTH-001]", "[OPR-001]", "[RQB-002]", "[RSP-001]", "[RSP-002]",
                             "[PRM-001]", "[PRM-002]", "[PRM-004]", "[PRM-STYLE]", "[HDR-STYLE]", "[ENC-STYLE]"})
    if (message.starts_with(prefix)) return true;
  for (const char* object : {" in Schema object", " in Discriminator object", " in XML object", " in Components object",
                             " in SecurityScheme object", " in OAuthFlows object", " in OAuthFlow object"})
    if (message.find(object) != std::string::npos) return true;
  return false;
}

// Checks one description and adds its schemas and operations to the counts.
template <class V, class Transformer>
void checkDescription(const VoziZazIreCore::GenericNode& root, std::size_t& schemas, std::size_t& operations) {
  // The components on their own, so that a fault of the other readers cannot hide theirs.
  if (const VoziZazIreCore::GenericNode* components = root["components"]) {
    TransformContext context(ValidationLevel::high);
    try {
      auto read = parseComponents<V>(*components, context);
      if (read->schemas) schemas += read->schemas->size();
    } catch (const VoziZazIreCore::TransformError& error) {
      ADD_FAILURE() << error.what();
    }
    for (const auto& d : context.diagnostics) EXPECT_FALSE(isOurs(d.message())) << d.message() << " @ " << CarvexTest::where(d);
  }
  try {
    auto result = Transformer().transform(root, ValidationLevel::high);
    for (const auto& d : result.diagnostics) EXPECT_FALSE(isOurs(d.message())) << d.message() << " @ " << CarvexTest::where(d);
    for (const auto& [key, item] : result.model->paths->items)
      for (const auto* op : {&item->get, &item->put, &item->post, &item->delete_, &item->options, &item->head,
                             &item->patch, &item->trace})
        operations += *op ? 1 : 0;
  } catch (const VoziZazIreCore::TransformError& error) {
    EXPECT_TRUE(error.message().starts_with("Missing required field '")) << error.what();
    for (const char* ours : {"securityScheme", "discriminator", "externalDocs"})
      EXPECT_EQ(error.message().find(ours), std::string::npos) << error.what();
  }
}

TEST(TransformCorpus, ValidDescriptionsReadWithoutFindings) {
  const fs::path dir = fs::path(CARVEX_SHARED_DIR) / "corpus" / "oai";
  std::error_code error;
  if (!fs::is_directory(dir, error)) GTEST_SKIP() << "no corpus at " << dir;
  std::size_t files = 0, schemas = 0, operations = 0;
  for (const auto& entry : fs::recursive_directory_iterator(dir, error)) {
    const bool json = entry.path().extension() == ".json";
    if (!entry.is_regular_file() || (!json && entry.path().extension() != ".yaml")) continue;
    SCOPED_TRACE(entry.path().string());
    std::ifstream in(entry.path(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    auto root = json ? VoziZazIreParsing::JSONParser().parse(text.str()) : VoziZazIreParsing::YAMLParser().parse(text.str());
    ++files;
    if (OpenAPIVersions::detect(*root) == OpenAPIVersion::v3_1) {
      checkDescription<Version31, OpenAPI3_1Transformer>(*root, schemas, operations);
    } else {
      checkDescription<Version30, OpenAPI3_0Transformer>(*root, schemas, operations);
    }
  }
  EXPECT_GE(files, 18u);
  EXPECT_GT(schemas, 10u);
  EXPECT_GE(operations, 40u);
}

}  // namespace
