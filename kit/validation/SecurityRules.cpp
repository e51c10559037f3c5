#include "kit/validation/SecurityRules.h"

#include <string>
#include <type_traits>

namespace VoziZazIreValidation {

using VoziZazIreCore::DiagnosticCode;
using VoziZazIreTransform::Version30;
using VoziZazIreTransform::Version31;

namespace {

// "Security scheme '<key>' of type '<type>' requires '<field>' field"
std::string requiresField(std::string_view key, std::string_view type, std::string_view field) {
  std::string text = "Security scheme '";
  text += key;
  text += "' of type '";
  text += type;
  text += "' requires '";
  text += field;
  text += "' field";
  return text;
}

// Absent or empty: the flows count an empty URL as missing.
bool missingURL(const std::optional<std::string>& url) { return !url || url->empty(); }

}  // namespace

template <class V>
void validateSecurityScheme(std::string_view key, const typename V::SecurityScheme& scheme,
                            ValidationContext& context) {
  using Type = std::remove_cv_t<decltype(scheme.type)>;
  const auto& at = scheme.location;
  // Presence tests only: an empty text is present. Fields of other types are not looked at.
  switch (scheme.type) {
    case Type::apiKey:
      if (!scheme.name)
        context.addError(DiagnosticCode::securityApiKeyMissingFields, requiresField(key, "apiKey", "name"), at);
      if (!scheme.in)
        context.addError(DiagnosticCode::securityApiKeyMissingFields, requiresField(key, "apiKey", "in"), at);
      break;
    case Type::http:
      if (!scheme.scheme)
        context.addError(DiagnosticCode::securityHttpMissingScheme, requiresField(key, "http", "scheme"), at);
      break;
    case Type::oauth2:
      if (!scheme.flows)
        context.addError(DiagnosticCode::securityOauth2MissingFlows, requiresField(key, "oauth2", "flows"), at);
      else
        validateOAuthFlows<V>(key, *scheme.flows, context);
      break;
    case Type::openIdConnect:
      if (!scheme.openIdConnectUrl)
        context.addError(DiagnosticCode::securityOpenIdMissingUrl,
                         requiresField(key, "openIdConnect", "openIdConnectUrl"), at);
      break;
    default:  // mutualTLS (3.1): nothing to check
      break;
  }
}

template <class V>
void validateOAuthFlows(std::string_view key, const typename V::OAuthFlows& flows, ValidationContext& context) {
  if (flows.implicit) {
    if (missingURL(flows.implicit->authorizationUrl))
      context.addError(DiagnosticCode::securityOauthMissingAuthUrl, "OAuth implicit flow requires 'authorizationUrl'",
                       flows.implicit->location);
  } else if (!flows.password && !flows.clientCredentials && !flows.authorizationCode) {
    context.addError(DiagnosticCode::securityOauth2NoFlows,
                     "Security scheme '" + std::string(key) + "' must define at least one OAuth flow", flows.location);
  }
  if (flows.password && missingURL(flows.password->tokenUrl))
    context.addError(DiagnosticCode::securityOauthMissingTokenUrl, "OAuth password flow requires 'tokenUrl'",
                     flows.password->location);
  if (flows.clientCredentials && missingURL(flows.clientCredentials->tokenUrl))
    context.addError(DiagnosticCode::securityOauthMissingTokenUrl, "OAuth clientCredentials flow requires 'tokenUrl'",
                     flows.clientCredentials->location);
  if (flows.authorizationCode) {
    if (missingURL(flows.authorizationCode->authorizationUrl))
      context.addError(DiagnosticCode::securityOauthMissingAuthUrl,
                       "OAuth authorizationCode flow requires 'authorizationUrl'", flows.authorizationCode->location);
    if (missingURL(flows.authorizationCode->tokenUrl))
      context.addError(DiagnosticCode::securityOauthMissingTokenUrl, "OAuth authorizationCode flow requires 'tokenUrl'",
                       flows.authorizationCode->location);
  }
}

template <class V>
void validateSecurityRequirement(const typename V::SecurityRequirement& requirement, ValidationContext& context) {
  for (const auto& entry : requirement.items)
    if (!context.hasComponent("securitySchemes", entry.first))
      context.addError(DiagnosticCode::operationUndefinedSecurityScheme,
                       "Security requirement references undefined security scheme '" + entry.first + "'",
                       requirement.location);
}

template void validateSecurityScheme<Version30>(std::string_view, const Version30::SecurityScheme&, ValidationContext&);
template void validateSecurityScheme<Version31>(std::string_view, const Version31::SecurityScheme&, ValidationContext&);
template void validateOAuthFlows<Version30>(std::string_view, const Version30::OAuthFlows&, ValidationContext&);
template void validateOAuthFlows<Version31>(std::string_view, const Version31::OAuthFlows&, ValidationContext&);
template void validateSecurityRequirement<Version30>(const Version30::SecurityRequirement&, ValidationContext&);
template void validateSecurityRequirement<Version31>(const Version31::SecurityRequirement&, ValidationContext&);

}  // namespace VoziZazIreValidation
