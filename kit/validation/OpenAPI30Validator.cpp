#include "kit/validation/OpenAPI30Validator.h"

#include "kit/validation/ValidationWalk.h"

namespace VoziZazIreValidation {

std::vector<VoziZazIreCore::Diagnostic> OpenAPI30Validator::validate(
    const VoziZazIreModels::OpenAPI3_0::Document& document, bool validateRefs) const {
  return runValidation<VoziZazIreTransform::Version30>(document, validateRefs);
}

}  // namespace VoziZazIreValidation
