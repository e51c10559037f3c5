#pragma once
// Readers of the Components object and of security schemes with their OAuth flows.

#include <string_view>

#include "kit/core/GenericNode.h"
#include "kit/transform/ModelVersion.h"
#include "kit/transform/TransformContext.h"

namespace VoziZazIreTransform {

// Every section of the components, each entry a reference or an object read by its own reader. Passes on
// the first error an entry throws.
template <class V>
Shared<typename V::Components> parseComponents(const VoziZazIreCore::GenericNode& node, TransformContext& context);

// `componentName` is the scheme's name in "securitySchemes", shown in the findings. Throws
// "Missing or invalid 'type' in securityScheme" when the type is missing or not one the version accepts.
template <class V>
Shared<typename V::SecurityScheme> parseSecurityScheme(const VoziZazIreCore::GenericNode& node,
                                                       TransformContext& context, std::string_view componentName);

// `componentName` is the owning scheme's name (used by the 3.1 finding for a scheme without flows). Never
// throws.
template <class V>
Shared<typename V::OAuthFlows> parseOAuthFlows(const VoziZazIreCore::GenericNode& node, TransformContext& context,
                                               std::string_view componentName);

// `flowKey` is the member name the flow stood under ("implicit", "password", "clientCredentials",
// "authorizationCode"); 3.1 checks the URLs that kind of flow needs. Never throws.
template <class V>
Shared<typename V::OAuthFlow> parseOAuthFlow(const VoziZazIreCore::GenericNode& node, TransformContext& context,
                                             std::string_view flowKey);

}  // namespace VoziZazIreTransform
