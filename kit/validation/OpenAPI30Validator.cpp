#include "kit/validation/OpenAPI30Validator.h"

namespace VoziZazIreValidation {

std::vector<VoziZazIreCore::Diagnostic> OpenAPI30Validator::validate(
    const VoziZazIreModels::OpenAPI3_0::Document& /*document*/, bool /*validateRefs*/) const {
  return {};
}

}  // namespace VoziZazIreValidation
