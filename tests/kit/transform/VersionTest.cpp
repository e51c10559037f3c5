#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "kit/core/TransformError.h"
#include "kit/parsing/JSONParser.h"
#include "kit/parsing/YAMLParser.h"
#include "kit/transform/OpenAPIVersion.h"

namespace {

using VoziZazIreCore::TransformError;
using VoziZazIreTransform::OpenAPIVersion;
namespace OpenAPIVersions = VoziZazIreTransform::OpenAPIVersions;

TEST(VersionDetection, ReadsTheRootOrThrowsAtTheMember) {
  using V = OpenAPIVersion;
  for (const auto& [json, version] : std::initializer_list<std::pair<const char*, V>>{
           {R"({"openapi": "3.1.0"})", V::v3_1}, {R"({"openapi": "3.1"})", V::v3_1},
           {R"({"openapi": "3.10.2"})", V::v3_1},  // a prefix match
           {R"({"openapi": "3.0.3"})", V::v3_0}, {R"({"openapi": "3.0.3-rc1"})", V::v3_0},
           {R"({"openapi": 3.0, "swagger": "2.0"})", V::v2_0}, {R"({"openapi": "3.0.0", "swagger": "2.0"})", V::v3_0},
           {R"({"swagger": "2.0"})", V::v2_0}})
    EXPECT_EQ(OpenAPIVersions::detect(*VoziZazIreParsing::JSONParser().parse(std::string_view(json))), version) << json;

  const std::string none = "Could not determine OpenAPI version. Missing 'openapi' or 'swagger' field. at  (line 1, column ";
  const std::pair<const char*, std::string> refusals[] = {
      {R"({"openapi": "3.2.0"})", "Unsupported OpenAPI version: 3.2.0 at /openapi (line 1, column 13)"},
      {R"({"openapi": "3"})", "Unsupported OpenAPI version: 3 at /openapi (line 1, column 13)"},
      {R"({"openapi": " 3.0.0"})", "Unsupported OpenAPI version:  3.0.0 at /openapi (line 1, column 13)"},  // not trimmed
      {R"({"openapi": 3.0})", none + "1)"},
      {R"({"swagger": "2.0", "openapi": "4.0"})", "Unsupported OpenAPI version: 4.0 at /openapi (line 1, column 31)"},
      {R"({"swagger": "2.0.0"})", "Unsupported Swagger version: 2.0.0 at /swagger (line 1, column 13)"},
      {R"({"swagger": "1.2"})", "Unsupported Swagger version: 1.2 at /swagger (line 1, column 13)"},
      {R"({"swagger": 2.0})", none + "1)"},
      {R"({"info": {}})", none + "1)"},
      {R"(  ["openapi", "3.0.0"])", none + "3)"},
      {R"("3.0.0")", none + "1)"}};
  for (const auto& [json, printed] : refusals) {
    try {
      OpenAPIVersions::detect(*VoziZazIreParsing::JSONParser().parse(std::string_view(json)));
      ADD_FAILURE() << "expected a TransformError for " << json;
    } catch (const TransformError& error) {
      EXPECT_EQ(error.description(), "TransformError: " + printed);
    }
  }
}

TEST(VersionDetection, ThrowsAtTheYamlValueRange) {
  auto root = VoziZazIreParsing::YAMLParser().parse(std::string_view("info: {}\nopenapi: 2.5.0\n"));
  try {
    OpenAPIVersions::detect(*root);
    FAIL() << "expected a TransformError";
  } catch (const TransformError& error) {
    EXPECT_EQ(error.description(), "TransformError: Unsupported OpenAPI version: 2.5.0 at /openapi (line 2, column 10)");
  }
}

}  // namespace
