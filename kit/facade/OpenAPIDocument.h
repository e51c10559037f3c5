#pragma once
#include <memory>
#include <variant>

#include "kit/models/OpenAPI3_0/Document.h"
#include "kit/models/OpenAPI3_1/Document.h"
#include "kit/transform/OpenAPIVersion.h"

namespace VoziZazIre {

// The typed document of a parse: an OpenAPI 3.0 or an OpenAPI 3.1 document (never null).
class OpenAPIDocument {
 public:
  using Document30 = std::shared_ptr<const VoziZazIreModels::OpenAPI3_0::Document>;
  using Document31 = std::shared_ptr<const VoziZazIreModels::OpenAPI3_1::Document>;

  explicit OpenAPIDocument(Document30 document) : value_(std::move(document)) {}
  explicit OpenAPIDocument(Document31 document) : value_(std::move(document)) {}

  // v3_0 or v3_1, after the case.
  VoziZazIreTransform::OpenAPIVersion version() const noexcept {
    return value_.index() == 0 ? VoziZazIreTransform::OpenAPIVersion::v3_0 : VoziZazIreTransform::OpenAPIVersion::v3_1;
  }
  // The document of the case, or nullptr for the other case.
  const VoziZazIreModels::OpenAPI3_0::Document* v3_0() const noexcept {
    const Document30* document = std::get_if<0>(&value_);
    return document ? document->get() : nullptr;
  }
  const VoziZazIreModels::OpenAPI3_1::Document* v3_1() const noexcept {
    const Document31* document = std::get_if<1>(&value_);
    return document ? document->get() : nullptr;
  }
  const std::variant<Document30, Document31>& value() const noexcept { return value_; }

 private:
  std::variant<Document30, Document31> value_;
};

}  // namespace VoziZazIre
