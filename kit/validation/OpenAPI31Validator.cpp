#include "kit/validation/OpenAPI31Validator.h"

namespace VoziZazIreValidation {

std::vector<VoziZazIreCore::Diagnostic> OpenAPI31Validator::validate(
    const VoziZazIreModels::OpenAPI3_1::Document& /*document*/, bool /*validateRefs*/) const {
  return {};
}

}  // namespace VoziZazIreValidation
