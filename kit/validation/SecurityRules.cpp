#include "kit/validation/SecurityRules.h"

namespace VoziZazIreValidation {

using VoziZazIreTransform::Version30;
using VoziZazIreTransform::Version31;

template <class V>
void validateSecurityScheme(std::string_view, const typename V::SecurityScheme&, ValidationContext&) {}

template <class V>
void validateOAuthFlows(std::string_view, const typename V::OAuthFlows&, ValidationContext&) {}

template <class V>
void validateSecurityRequirement(const typename V::SecurityRequirement&, ValidationContext&) {}

template void validateSecurityScheme<Version30>(std::string_view, const Version30::SecurityScheme&, ValidationContext&);
template void validateSecurityScheme<Version31>(std::string_view, const Version31::SecurityScheme&, ValidationContext&);
template void validateOAuthFlows<Version30>(std::string_view, const Version30::OAuthFlows&, ValidationContext&);
template void validateOAuthFlows<Version31>(std::string_view, const Version31::OAuthFlows&, ValidationContext&);
template void validateSecurityRequirement<Version30>(const Version30::SecurityRequirement&, ValidationContext&);
template void validateSecurityRequirement<Version31>(const Version31::SecurityRequirement&, ValidationContext&);

}  // namespace VoziZazIreValidation
