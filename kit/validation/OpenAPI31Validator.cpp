#include "kit/validation/OpenAPI31Validator.h"

#include "kit/validation/ValidationWalk.h"

namespace VoziZazIreValidation {

std::vector<VoziZazIreCore::Diagnostic> OpenAPI31Validator::validate(
    const VoziZazIreModels::OpenAPI3_1::Document& document, bool validateRefs) const {
  return runValidation<VoziZazIreTransform::Version31>(document, validateRefs);
}

}  // namespace VoziZazIreValidation
