#pragma once
#include <vector>

#include "kit/core/Diagnostic.h"
#include "kit/models/OpenAPI3_0/Document.h"
#include "kit/validation/OpenAPIValidator.h"

namespace VoziZazIreValidation {

// Validates a 3.0 document: component names, the common rules, the 3.0 version rules and, when asked,
// the reference rules, with a fresh context per call. Holds no state; never throws.
class OpenAPI30Validator final : public OpenAPIValidator<VoziZazIreModels::OpenAPI3_0::Document> {
 public:
  std::vector<VoziZazIreCore::Diagnostic> validate(const VoziZazIreModels::OpenAPI3_0::Document& document,
                                                   bool validateRefs) const override;
};

}  // namespace VoziZazIreValidation
