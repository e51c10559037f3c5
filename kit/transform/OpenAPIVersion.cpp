#include "kit/transform/OpenAPIVersion.h"

#include <string>

#include "kit/core/TransformError.h"

namespace VoziZazIreTransform {

using VoziZazIreCore::GenericNode;
using VoziZazIreCore::TransformError;

std::string_view rawValue(OpenAPIVersion version) noexcept {
  switch (version) {
    case OpenAPIVersion::v2_0: return "2.0";
    case OpenAPIVersion::v3_0: return "3.0";
    case OpenAPIVersion::v3_1: return "3.1";
  }
  return "3.0";
}

OpenAPIVersion OpenAPIVersions::detect(const GenericNode& root) {
  if (const GenericNode* openapi = root["openapi"]) {
    if (auto text = openapi->stringValue()) {
      if (text->starts_with("3.1")) return OpenAPIVersion::v3_1;
      if (text->starts_with("3.0")) return OpenAPIVersion::v3_0;
      throw TransformError("Unsupported OpenAPI version: " + std::string(*text), "/openapi", openapi->range());
    }
  }
  if (const GenericNode* swagger = root["swagger"]) {
    if (auto text = swagger->stringValue()) {
      if (*text == "2.0") return OpenAPIVersion::v2_0;
      throw TransformError("Unsupported Swagger version: " + std::string(*text), "/swagger", swagger->range());
    }
  }
  throw TransformError("Could not determine OpenAPI version. Missing 'openapi' or 'swagger' field.", "",
                       root.range());
}

}  // namespace VoziZazIreTransform

template <>
std::optional<VoziZazIreTransform::OpenAPIVersion> VoziZazIreCore::fromRawValue<VoziZazIreTransform::OpenAPIVersion>(
    std::string_view text) {
  using VoziZazIreTransform::OpenAPIVersion;
  if (text == "2.0") return OpenAPIVersion::v2_0;
  if (text == "3.0") return OpenAPIVersion::v3_0;
  if (text == "3.1") return OpenAPIVersion::v3_1;
  return std::nullopt;
}
