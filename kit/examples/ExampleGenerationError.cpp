#include "kit/examples/ExampleGenerationError.h"

#include <utility>

namespace VoziZazIreExampleGeneration {

namespace {

std::string describe(ExampleGenerationError::Kind kind, int64_t maxDepth, const std::string& detail,
                     const std::string& path) {
  using Kind = ExampleGenerationError::Kind;
  switch (kind) {
    case Kind::depthExceeded:
      return "Maximum recursion depth (" + std::to_string(maxDepth) + ") exceeded at path: " + path;
    case Kind::cycleDetected: return "Cyclic reference detected for '" + detail + "' at path: " + path;
    case Kind::missingRequiredField: return "Required field '" + detail + "' missing at path: " + path;
    case Kind::unsupportedType: return "Unsupported schema type '" + detail + "' at path: " + path;
    case Kind::referenceNotFound: return "Reference '" + detail + "' not found at path: " + path;
    case Kind::invalidSchema: return "Invalid schema at path " + path + ": " + detail;
    case Kind::noContentType: return "No content type available at path: " + path;
    case Kind::noResponse: return "No response available at path: " + path;
  }
  return {};
}

}  // namespace

ExampleGenerationError::ExampleGenerationError(Kind kind, int64_t maxDepth, std::string detail, std::string path)
    : kind_(kind), maxDepth_(maxDepth), detail_(std::move(detail)), path_(std::move(path)) {
  text_ = describe(kind_, maxDepth_, detail_, path_);
}

ExampleGenerationError ExampleGenerationError::depthExceeded(int64_t maxDepth, std::string path) {
  return {Kind::depthExceeded, maxDepth, {}, std::move(path)};
}
ExampleGenerationError ExampleGenerationError::cycleDetected(std::string reference, std::string path) {
  return {Kind::cycleDetected, 0, std::move(reference), std::move(path)};
}
ExampleGenerationError ExampleGenerationError::missingRequiredField(std::string field, std::string path) {
  return {Kind::missingRequiredField, 0, std::move(field), std::move(path)};
}
ExampleGenerationError ExampleGenerationError::unsupportedType(std::string type, std::string path) {
  return {Kind::unsupportedType, 0, std::move(type), std::move(path)};
}
ExampleGenerationError ExampleGenerationError::referenceNotFound(std::string reference, std::string path) {
  return {Kind::referenceNotFound, 0, std::move(reference), std::move(path)};
}
ExampleGenerationError ExampleGenerationError::invalidSchema(std::string reason, std::string path) {
  return {Kind::invalidSchema, 0, std::move(reason), std::move(path)};
}
ExampleGenerationError ExampleGenerationError::noContentType(std::string path) {
  return {Kind::noContentType, 0, {}, std::move(path)};
}
ExampleGenerationError ExampleGenerationError::noResponse(std::string path) {
  return {Kind::noResponse, 0, {}, std::move(path)};
}

}  // namespace VoziZazIreExampleGeneration
