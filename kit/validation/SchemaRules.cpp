#include "kit/validation/SchemaRules.h"

namespace VoziZazIreValidation {

using VoziZazIreTransform::Version30;
using VoziZazIreTransform::Version31;

template <class V>
void validateSchema(const typename V::Schema&, ValidationContext&) {}

template void validateSchema<Version30>(const Version30::Schema&, ValidationContext&);
template void validateSchema<Version31>(const Version31::Schema&, ValidationContext&);

}  // namespace VoziZazIreValidation
