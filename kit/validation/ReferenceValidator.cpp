#include "kit/validation/ReferenceValidator.h"

namespace VoziZazIreValidation {

using VoziZazIreTransform::Version30;
using VoziZazIreTransform::Version31;

void RefValidator::validate(const VoziZazIreModels::OpenAPI3_0::Document&, ValidationContext&) const {}

void RefValidator::validate(const VoziZazIreModels::OpenAPI3_1::Document&, ValidationContext&) const {}

template <class V>
void validateReferences(const typename V::Document& document, ValidationContext& context) {
  RefValidator{}.validate(document, context);
}

template void validateReferences<Version30>(const Version30::Document&, ValidationContext&);
template void validateReferences<Version31>(const Version31::Document&, ValidationContext&);

}  // namespace VoziZazIreValidation
