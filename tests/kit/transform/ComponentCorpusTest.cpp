// The published example descriptions are all valid: read at level high, none of them may throw, and the
// schema, component and security-scheme readers may report nothing about them.
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "kit/core/TransformError.h"
#include "kit/transform/ComponentReaders.h"
#include "kit/transform/OpenAPI3_0Transformer.h"
#include "kit/transform/OpenAPI3_1Transformer.h"
#include "kit/transform/OpenAPIVersion.h"
#include "tests/kit/transform/SchemaTestReading.h"

namespace {

namespace fs = std::filesystem;
using VoziZazIreCore::ValidationLevel;

std::vector<fs::path> corpusFiles() {
  std::vector<fs::path> files;
  const fs::path root = fs::path(CARVEX_SHARED_DIR) / "corpus" / "oai";
  std::error_code error;
  if (!fs::is_directory(root, error)) return files;
  for (const auto& entry : fs::recursive_directory_iterator(root, error)) {
    auto extension = entry.path().extension();
    if (entry.is_regular_file() && (extension == ".json" || extension == ".yaml")) files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Findings that belong to the readers of schemas, components and security schemes.
bool isOurs(const std::string& message) {
  for (const char* prefix : {"[SCH-", "[SEC-"})
    if (message.starts_with(prefix)) return true;
  for (const char* object : {" in Schema object", " in Discriminator object", " in XML object", " in Components object",
                             " in SecurityScheme object", " in OAuthFlows object", " in OAuthFlow object"})
    if (message.find(object) != std::string::npos) return true;
  return false;
}

template <class V, class Transformer>
void checkDescription(const VoziZazIreCore::GenericNode& root, std::size_t& schemas) {
  // The components on their own, so that this check does not hang on the other readers.
  if (const VoziZazIreCore::GenericNode* components = root["components"]) {
    VoziZazIreTransform::TransformContext context(ValidationLevel::high);
    try {
      auto read = VoziZazIreTransform::parseComponents<V>(*components, context);
      if (read->schemas) schemas += read->schemas->size();
    } catch (const VoziZazIreCore::TransformError& error) {
      ADD_FAILURE() << error.what();
    }
    for (const auto& diagnostic : context.diagnostics)
      EXPECT_FALSE(isOurs(diagnostic.message())) << diagnostic.message() << " @ " << CarvexTest::where(diagnostic);
  }
  // The whole description: schemas of parameters, headers and media types are read too.
  try {
    auto result = Transformer().transform(root, ValidationLevel::high);
    for (const auto& diagnostic : result.diagnostics)
      EXPECT_FALSE(isOurs(diagnostic.message())) << diagnostic.message() << " @ " << CarvexTest::where(diagnostic);
  } catch (const VoziZazIreCore::TransformError& error) {
    const std::string message = error.message();
    for (const char* ours : {"securityScheme", "discriminator", "externalDocs"})
      EXPECT_EQ(message.find(ours), std::string::npos) << error.what();
  }
}

TEST(ComponentCorpus, ValidDescriptionsReadWithoutFindings) {
  const auto files = corpusFiles();
  if (files.empty()) GTEST_SKIP() << "no corpus at " << CARVEX_SHARED_DIR;
  std::size_t schemas = 0;
  for (const fs::path& file : files) {
    SCOPED_TRACE(file.string());
    const std::string text = readFile(file);
    VoziZazIreCore::NodePtr root = file.extension() == ".json" ? VoziZazIreParsing::JSONParser().parse(text)
                                                                : VoziZazIreParsing::YAMLParser().parse(text);
    if (VoziZazIreTransform::OpenAPIVersions::detect(*root) == VoziZazIreTransform::OpenAPIVersion::v3_1) {
      checkDescription<VoziZazIreTransform::Version31, VoziZazIreTransform::OpenAPI3_1Transformer>(*root, schemas);
    } else {
      checkDescription<VoziZazIreTransform::Version30, VoziZazIreTransform::OpenAPI3_0Transformer>(*root, schemas);
    }
  }
  EXPECT_GT(schemas, 10u);
}

}  // namespace
