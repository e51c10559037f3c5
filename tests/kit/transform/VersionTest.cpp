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

struct DetectRow {
  const char* name;
  const char* json;
  std::optional<OpenAPIVersion> version;  // nothing: detection throws
  const char* message = "";
  const char* pointer = "";
  int line = 0;
  int column = 0;
};

class VersionDetection : public testing::TestWithParam<DetectRow> {};

TEST_P(VersionDetection, ReadsTheRootOrThrowsAtTheMember) {
  const DetectRow& row = GetParam();
  auto root = VoziZazIreParsing::JSONParser().parse(std::string_view(row.json));
  if (row.version) {
    EXPECT_EQ(OpenAPIVersions::detect(*root), *row.version);
    return;
  }
  try {
    OpenAPIVersions::detect(*root);
    FAIL() << "expected a TransformError";
  } catch (const TransformError& error) {
    EXPECT_EQ(error.message(), row.message);
    EXPECT_EQ(error.jsonPointer(), std::optional<std::string>(row.pointer));
    ASSERT_TRUE(error.range());
    EXPECT_EQ(error.range()->start.line, row.line);
    EXPECT_EQ(error.range()->start.column, row.column);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, VersionDetection,
    testing::Values(
        DetectRow{"openapi_3_1_0", R"({"openapi": "3.1.0"})", OpenAPIVersion::v3_1},
        DetectRow{"openapi_3_1_without_patch", R"({"openapi": "3.1"})", OpenAPIVersion::v3_1},
        DetectRow{"openapi_3_10_2_is_a_prefix_match", R"({"openapi": "3.10.2"})", OpenAPIVersion::v3_1},
        DetectRow{"openapi_3_0_3", R"({"openapi": "3.0.3"})", OpenAPIVersion::v3_0},
        DetectRow{"openapi_3_0_with_suffix", R"({"openapi": "3.0.3-rc1"})", OpenAPIVersion::v3_0},
        DetectRow{"openapi_3_2_0", R"({"openapi": "3.2.0"})", std::nullopt, "Unsupported OpenAPI version: 3.2.0",
                  "/openapi", 1, 13},
        DetectRow{"openapi_3", R"({"openapi": "3"})", std::nullopt, "Unsupported OpenAPI version: 3", "/openapi", 1,
                  13},
        DetectRow{"openapi_leading_space_is_not_trimmed", R"({"openapi": " 3.0.0"})", std::nullopt,
                  "Unsupported OpenAPI version:  3.0.0", "/openapi", 1, 13},
        DetectRow{"openapi_number_without_swagger", R"({"openapi": 3.0})", std::nullopt,
                  "Could not determine OpenAPI version. Missing 'openapi' or 'swagger' field.", "", 1, 1},
        DetectRow{"openapi_number_with_swagger_2_0", R"({"openapi": 3.0, "swagger": "2.0"})", OpenAPIVersion::v2_0},
        DetectRow{"openapi_wins_over_swagger", R"({"openapi": "3.0.0", "swagger": "2.0"})", OpenAPIVersion::v3_0},
        DetectRow{"bad_openapi_never_looks_at_swagger", R"({"swagger": "2.0", "openapi": "4.0"})", std::nullopt,
                  "Unsupported OpenAPI version: 4.0", "/openapi", 1, 31},
        DetectRow{"swagger_2_0", R"({"swagger": "2.0"})", OpenAPIVersion::v2_0},
        DetectRow{"swagger_2_0_0", R"({"swagger": "2.0.0"})", std::nullopt, "Unsupported Swagger version: 2.0.0",
                  "/swagger", 1, 13},
        DetectRow{"swagger_1_2", R"({"swagger": "1.2"})", std::nullopt, "Unsupported Swagger version: 1.2", "/swagger",
                  1, 13},
        DetectRow{"swagger_number", R"({"swagger": 2.0})", std::nullopt,
                  "Could not determine OpenAPI version. Missing 'openapi' or 'swagger' field.", "", 1, 1},
        DetectRow{"neither_member", R"({"info": {}})", std::nullopt,
                  "Could not determine OpenAPI version. Missing 'openapi' or 'swagger' field.", "", 1, 1},
        DetectRow{"root_array", R"(  ["openapi", "3.0.0"])", std::nullopt,
                  "Could not determine OpenAPI version. Missing 'openapi' or 'swagger' field.", "", 1, 3},
        DetectRow{"root_scalar", R"("3.0.0")", std::nullopt,
                  "Could not determine OpenAPI version. Missing 'openapi' or 'swagger' field.", "", 1, 1}),
    [](const testing::TestParamInfo<DetectRow>& info) { return std::string(info.param.name); });

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
