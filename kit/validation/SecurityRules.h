#pragma once
#include <string_view>

#include "kit/transform/ModelVersion.h"
#include "kit/validation/ValidationContext.h"

namespace VoziZazIreValidation {

// SEC-001 to SEC-004 by the scheme's type, and the flow rules of an oauth2 scheme. `key` is the scheme's
// name in the components' securitySchemes map.
template <class V>
void validateSecurityScheme(std::string_view key, const typename V::SecurityScheme& scheme,
                            ValidationContext& context);

// SEC-005 to SEC-007 on the flows of the oauth2 scheme named `key`.
template <class V>
void validateOAuthFlows(std::string_view key, const typename V::OAuthFlows& flows, ValidationContext& context);

// OPR-004 for every scheme name of one root security requirement that the components do not declare.
template <class V>
void validateSecurityRequirement(const typename V::SecurityRequirement& requirement, ValidationContext& context);

}  // namespace VoziZazIreValidation
