#include "kit/validation/VersionRules.h"

namespace VoziZazIreValidation {

using VoziZazIreTransform::Version30;
using VoziZazIreTransform::Version31;

void OpenAPI30ValidationRules::validate(const VoziZazIreModels::OpenAPI3_0::Document&, ValidationContext&) const {}

void OpenAPI31ValidationRules::validate(const VoziZazIreModels::OpenAPI3_1::Document&, ValidationContext&) const {}

template <class V>
void validateVersionRules(const typename V::Document& document, ValidationContext& context) {
  if constexpr (V::is31) {
    OpenAPI31ValidationRules{}.validate(document, context);
  } else {
    OpenAPI30ValidationRules{}.validate(document, context);
  }
}

template void validateVersionRules<Version30>(const Version30::Document&, ValidationContext&);
template void validateVersionRules<Version31>(const Version31::Document&, ValidationContext&);

}  // namespace VoziZazIreValidation
