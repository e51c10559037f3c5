#pragma once
#include <cstdint>
#include <exception>
#include <string>

namespace VoziZazIreExampleGeneration {

// Why an example request gave up. Thrown; `what()`, `description()` and `errorDescription()` give the
// same text.
class ExampleGenerationError : public std::exception {
 public:
  enum class Kind : uint8_t {
    depthExceeded,
    cycleDetected,
    missingRequiredField,
    unsupportedType,
    referenceNotFound,
    invalidSchema,
    noContentType,
    noResponse,
  };

  static ExampleGenerationError depthExceeded(int64_t maxDepth, std::string path);
  static ExampleGenerationError cycleDetected(std::string reference, std::string path);
  static ExampleGenerationError missingRequiredField(std::string field, std::string path);
  static ExampleGenerationError unsupportedType(std::string type, std::string path);
  static ExampleGenerationError referenceNotFound(std::string reference, std::string path);
  static ExampleGenerationError invalidSchema(std::string reason, std::string path);
  static ExampleGenerationError noContentType(std::string path);
  static ExampleGenerationError noResponse(std::string path);

  Kind kind() const noexcept { return kind_; }
  // The limit of `depthExceeded`; 0 for the other cases.
  int64_t maxDepth() const noexcept { return maxDepth_; }
  // The reference, field, type or reason of the cases that carry one; empty otherwise.
  const std::string& detail() const noexcept { return detail_; }
  const std::string& path() const noexcept { return path_; }

  const std::string& description() const noexcept { return text_; }
  const std::string& errorDescription() const noexcept { return text_; }
  const char* what() const noexcept override { return text_.c_str(); }

  friend bool operator==(const ExampleGenerationError& a, const ExampleGenerationError& b) {
    return a.kind_ == b.kind_ && a.maxDepth_ == b.maxDepth_ && a.detail_ == b.detail_ && a.path_ == b.path_;
  }

 private:
  ExampleGenerationError(Kind kind, int64_t maxDepth, std::string detail, std::string path);

  Kind kind_;
  int64_t maxDepth_;
  std::string detail_;
  std::string path_;
  std::string text_;
};

}  // namespace VoziZazIreExampleGeneration
