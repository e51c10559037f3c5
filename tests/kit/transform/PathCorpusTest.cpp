// The example descriptions of the corpus, each as YAML and as JSON: both twins must transform without an
// error, give the same paths, operations and responses, and the same findings of the path, operation,
// response, parameter and content readers. These descriptions are well formed, so those readers report
// nothing for them.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "kit/parsing/JSONParser.h"
#include "kit/parsing/YAMLParser.h"
#include "kit/transform/OpenAPI3_0Transformer.h"
#include "kit/transform/OpenAPI3_1Transformer.h"
#include "kit/transform/ModelVersion.h"
#include "kit/transform/OpenAPIVersion.h"
#include "tests/kit/transform/PathReaderTestSupport.h"

namespace {

using namespace CarvexTest;
using namespace VoziZazIreTransform;
namespace fs = std::filesystem;

fs::path corpusDir() { return fs::path(CARVEX_SHARED_DIR) / "corpus" / "oai"; }

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The codes this family of readers records.
bool isOwnCode(const std::string& message) {
  for (const char* code : {"[PTH-001]", "[OPR-001]", "[RQB-002]", "[RSP-001]", "[RSP-002]", "[PRM-001]", "[PRM-002]",
                           "[PRM-004]", "[PRM-STYLE]", "[HDR-STYLE]", "[ENC-STYLE]"})
    if (message.starts_with(code)) return true;
  return false;
}

template <class V>
void describeOperation(std::ostringstream& out, std::string_view method, const typename V::Operation& op) {
  out << "  " << method << " id=" << op.operationId.value_or("-")
      << " parameters=" << (op.parameters ? op.parameters->size() : 0) << " body=" << (op.requestBody ? 1 : 0)
      << " callbacks=" << (op.callbacks ? op.callbacks->size() : 0) << " responses=";
  for (const auto& entry : op.responses->items) {
    out << entry.first;
    if (const auto* response = entry.second.inlineValue())
      out << "(" << (response->content ? response->content->size() : 0) << "/"
          << (response->headers ? response->headers->size() : 0) << "/" << (response->links ? response->links->size() : 0)
          << ")";
    else
      out << "(ref)";
    out << ",";
  }
  out << "\n";
}

template <class V>
void describePathItem(std::ostringstream& out, const typename V::PathItem& item) {
  const std::pair<std::string_view, const std::shared_ptr<const typename V::Operation>*> operations[] = {
      {"GET", &item.get},   {"PUT", &item.put},   {"POST", &item.post},   {"DELETE", &item.delete_},
      {"OPTIONS", &item.options}, {"HEAD", &item.head}, {"PATCH", &item.patch}, {"TRACE", &item.trace}};
  out << " parameters=" << (item.parameters ? item.parameters->size() : 0) << "\n";
  for (const auto& [method, op] : operations)
    if (*op) describeOperation<V>(out, method, **op);
}

// A summary of the paths (and 3.1 webhooks) plus the findings of this family, one line each.
template <class V, class Transformer>
std::string summarise(const VoziZazIreCore::GenericNode& root) {
  auto result = Transformer().transform(root, ValidationLevel::high);
  std::ostringstream out;
  for (const auto& entry : result.model->paths->items) {
    out << entry.first;
    describePathItem<V>(out, *entry.second);
  }
  if constexpr (V::is31) {
    if (result.model->webhooks)
      for (const auto& entry : *result.model->webhooks) {
        out << "webhook " << entry.first;
        if (const auto* item = entry.second.inlineValue()) describePathItem<V>(out, *item);
      }
  }
  for (const auto& d : result.diagnostics)
    if (isOwnCode(d.message())) out << "finding " << d.message() << "\n";
  return out.str();
}

std::string summariseAny(const VoziZazIreCore::GenericNode& root) {
  switch (OpenAPIVersions::detect(root)) {
    case OpenAPIVersion::v3_0: return summarise<Version30, OpenAPI3_0Transformer>(root);
    case OpenAPIVersion::v3_1: return summarise<Version31, OpenAPI3_1Transformer>(root);
    case OpenAPIVersion::v2_0: break;
  }
  return "2.0";
}

// "ok" plus the summary, or "error: <message>" for a thrown TransformError.
std::string outcome(const VoziZazIreCore::GenericNode& root) {
  try {
    return "ok\n" + summariseAny(root);
  } catch (const VoziZazIreCore::TransformError& error) {
    return "error: " + error.message();
  }
}

TEST(PathCorpusTest, WellFormedDescriptionsReadWithoutFindingsAndTwinsFailAlike) {
  if (!fs::is_directory(corpusDir())) GTEST_SKIP() << "no corpus at " << corpusDir();
  std::size_t pairs = 0, operationsRead = 0;
  for (const auto& entry : fs::recursive_directory_iterator(corpusDir())) {
    if (entry.path().extension() != ".yaml") continue;
    fs::path jsonPath = entry.path();
    jsonPath.replace_extension(".json");
    if (!fs::exists(jsonPath)) continue;
    SCOPED_TRACE(entry.path().string());
    std::string fromYaml = outcome(*VoziZazIreParsing::YAMLParser().parse(readFile(entry.path())));
    std::string fromJson = outcome(*VoziZazIreParsing::JSONParser().parse(readFile(jsonPath)));
    // The twins are not always the same revision of a description, so only their fate is compared.
    EXPECT_EQ(fromYaml.substr(0, fromYaml.find('\n')), fromJson.substr(0, fromJson.find('\n')));
    for (const std::string& text : {fromYaml, fromJson}) {
      EXPECT_EQ(text.find("finding "), std::string::npos) << text;
      // A thrown error must be one of the required-member errors (the corpus has a 3.1 operation
      // without "responses", which this reader requires in both versions).
      if (text.starts_with("error: ")) {
        EXPECT_TRUE(text.starts_with("error: Missing required field '")) << text;
      }
      if (text.starts_with("ok\n") && text.find("  ") != std::string::npos) ++operationsRead;
    }
    ++pairs;
  }
  EXPECT_GE(pairs, 9u);
  EXPECT_GE(operationsRead, 16u);
}

}  // namespace
