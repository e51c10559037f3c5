#include "kit/transform/ComponentReaders.h"

#include "kit/core/TransformError.h"
#include "kit/transform/ObjectReading.h"

namespace VoziZazIreTransform {

using VoziZazIreCore::GenericNode;

template <class V>
Shared<typename V::Components> parseComponents(const GenericNode& node, TransformContext&) {
  using Components = typename V::Components;
  if constexpr (V::is31) {
    return Shared<Components>(new Components{.location = locationOf(node), .schemas = {}, .responses = {},
        .parameters = {}, .examples = {}, .requestBodies = {}, .headers = {}, .securitySchemes = {}, .links = {},
        .callbacks = {}, .pathItems = {}, .vendorExtensions = {}});
  } else {
    return Shared<Components>(new Components{.location = locationOf(node), .schemas = {}, .responses = {},
        .parameters = {}, .examples = {}, .requestBodies = {}, .headers = {}, .securitySchemes = {}, .links = {},
        .callbacks = {}, .vendorExtensions = {}});
  }
}

template <class V>
Shared<typename V::SecurityScheme> parseSecurityScheme(const GenericNode& node, TransformContext&, std::string_view) {
  using SecurityScheme = typename V::SecurityScheme;
  using Type = std::remove_const_t<decltype(SecurityScheme::type)>;
  std::optional<Type> type;
  if (const GenericNode* member = node["type"])
    if (auto text = member->stringValue()) type = VoziZazIreCore::fromRawValue<Type>(*text);
  if (!type)
    throw VoziZazIreCore::TransformError("Missing or invalid 'type' in securityScheme", std::string(node.jsonPointer()),
                                         node.range());
  return Shared<SecurityScheme>(new SecurityScheme{.location = locationOf(node), .type = *type, .description = {},
      .name = {}, .in = {}, .scheme = {}, .bearerFormat = {}, .flows = {}, .openIdConnectUrl = {},
      .vendorExtensions = {}});
}

template <class V>
Shared<typename V::OAuthFlows> parseOAuthFlows(const GenericNode& node, TransformContext&, std::string_view) {
  using OAuthFlows = typename V::OAuthFlows;
  return Shared<OAuthFlows>(new OAuthFlows{.location = locationOf(node), .implicit = {}, .password = {},
      .clientCredentials = {}, .authorizationCode = {}, .vendorExtensions = {}});
}

template <class V>
Shared<typename V::OAuthFlow> parseOAuthFlow(const GenericNode& node, TransformContext&, std::string_view) {
  using OAuthFlow = typename V::OAuthFlow;
  return Shared<OAuthFlow>(new OAuthFlow{.location = locationOf(node), .authorizationUrl = {}, .tokenUrl = {},
      .refreshUrl = {}, .scopes = {}, .vendorExtensions = {}});
}

template Shared<Version30::Components> parseComponents<Version30>(const GenericNode&, TransformContext&);
template Shared<Version31::Components> parseComponents<Version31>(const GenericNode&, TransformContext&);
template Shared<Version30::SecurityScheme> parseSecurityScheme<Version30>(const GenericNode&, TransformContext&,
                                                                          std::string_view);
template Shared<Version31::SecurityScheme> parseSecurityScheme<Version31>(const GenericNode&, TransformContext&,
                                                                          std::string_view);
template Shared<Version30::OAuthFlows> parseOAuthFlows<Version30>(const GenericNode&, TransformContext&,
                                                                  std::string_view);
template Shared<Version31::OAuthFlows> parseOAuthFlows<Version31>(const GenericNode&, TransformContext&,
                                                                  std::string_view);
template Shared<Version30::OAuthFlow> parseOAuthFlow<Version30>(const GenericNode&, TransformContext&,
                                                                std::string_view);
template Shared<Version31::OAuthFlow> parseOAuthFlow<Version31>(const GenericNode&, TransformContext&,
                                                                std::string_view);

}  // namespace VoziZazIreTransform
