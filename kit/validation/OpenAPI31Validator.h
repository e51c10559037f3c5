#pragma once
#include <vector>

#include "kit/core/Diagnostic.h"
#include "kit/models/OpenAPI3_1/Document.h"
#include "kit/validation/OpenAPIValidator.h"

namespace VoziZazIreValidation {

// Validates a 3.1 document: component names, the common rules, the 3.1 version rules and, when asked,
// the reference rules, with a fresh context per call. Holds no state; never throws.
class OpenAPI31Validator final : public OpenAPIValidator<VoziZazIreModels::OpenAPI3_1::Document> {
 public:
  std::vector<VoziZazIreCore::Diagnostic> validate(const VoziZazIreModels::OpenAPI3_1::Document& document,
                                                   bool validateRefs) const override;
};

}  // namespace VoziZazIreValidation
