// Security schemes, OAuth flows and OAuth flow objects (declared in ComponentReaders.h).
#include <string>
#include <type_traits>

#include "kit/core/DiagnosticCode.h"
#include "kit/core/TransformError.h"
#include "kit/core/ValidationLevel.h"
#include "kit/transform/ComponentReaders.h"
#include "kit/transform/ObjectReading.h"

namespace VoziZazIreTransform {

using VoziZazIreCore::DiagnosticCode;
using VoziZazIreCore::GenericNode;
using VoziZazIreCore::OrderedMap;

namespace {

void recordHigh(TransformContext& context, DiagnosticCode code, const std::string& text, const GenericNode& at) {
  context.recordCodedDiagnostic(code, text, std::string(at.jsonPointer()), at.range(),
                                VoziZazIreCore::ValidationLevel::high);
}

bool hasString(const GenericNode& node, std::string_view key) {
  const GenericNode* member = node[key];
  return member && member->stringValue();
}

std::string schemeText(std::string_view componentName, std::string_view rest) {
  std::string text = "Security scheme '";
  text += componentName;
  text += "' ";
  text += rest;
  return text;
}

}  // namespace

template <class V>
Shared<typename V::SecurityScheme> parseSecurityScheme(const GenericNode& node, TransformContext& context,
                                                       std::string_view componentName) {
  using SecurityScheme = typename V::SecurityScheme;
  using Type = std::remove_const_t<decltype(SecurityScheme::type)>;
  using Location = typename decltype(SecurityScheme::in)::value_type;

  std::optional<Type> type;
  if (const GenericNode* member = node["type"])
    if (auto text = member->stringValue()) type = VoziZazIreCore::fromRawValue<Type>(*text);
  if (!type)
    throw VoziZazIreCore::TransformError("Missing or invalid 'type' in securityScheme", std::string(node.jsonPointer()),
                                         node.range());

  switch (*type) {
    case Type::apiKey:
      if (!hasString(node, "name"))
        recordHigh(context, DiagnosticCode::securityApiKeyMissingFields,
                   schemeText(componentName, "of type 'apiKey' requires 'name' field"), node);
      if (!hasString(node, "in"))
        recordHigh(context, DiagnosticCode::securityApiKeyMissingFields,
                   schemeText(componentName, "of type 'apiKey' requires 'in' field"), node);
      break;
    case Type::http:
      if (!hasString(node, "scheme"))
        recordHigh(context, DiagnosticCode::securityHttpMissingScheme,
                   schemeText(componentName, "of type 'http' requires 'scheme' field"), node);
      break;
    case Type::oauth2:
      if (!node["flows"])
        recordHigh(context, DiagnosticCode::securityOauth2MissingFlows,
                   schemeText(componentName, "of type 'oauth2' requires 'flows' field"), node);
      break;
    case Type::openIdConnect:
      if (!hasString(node, "openIdConnectUrl"))
        recordHigh(context, DiagnosticCode::securityOpenIdMissingUrl,
                   schemeText(componentName, "of type 'openIdConnect' requires 'openIdConnectUrl' field"), node);
      break;
    default: break;  // mutualTLS (3.1) needs nothing else
  }

  Shared<typename V::OAuthFlows> flows;
  if (const GenericNode* member = node["flows"]) flows = parseOAuthFlows<V>(*member, context, componentName);

  std::optional<Location> in;
  if (const GenericNode* member = node["in"]) {
    if (auto text = member->stringValue()) {
      in = VoziZazIreCore::fromRawValue<Location>(*text);
      if (!in)
        recordHigh(context, DiagnosticCode::securityInvalidApiKeyIn,
                   "Invalid apiKey location '" + std::string(*text) + "'. Must be one of: query, header, cookie",
                   *member);
    }
  }

  static const KeySet keys = allowedKeySet(
      {"type", "description", "name", "in", "scheme", "bearerFormat", "flows", "openIdConnectUrl"});
  checkUnknownProperties(node, keys, "SecurityScheme", context);

  return makeShared<SecurityScheme>([&] { return SecurityScheme{.location = locationOf(node),
                                                   .type = *type,
                                                   .description = optionalString(node, "description"),
                                                   .name = optionalString(node, "name"),
                                                   .in = in,
                                                   .scheme = optionalString(node, "scheme"),
                                                   .bearerFormat = optionalString(node, "bearerFormat"),
                                                   .flows = std::move(flows),
                                                   .openIdConnectUrl = optionalString(node, "openIdConnectUrl"),
                                                   .vendorExtensions = collectVendorExtensions(node)}; });
}

template <class V>
Shared<typename V::OAuthFlows> parseOAuthFlows(const GenericNode& node, TransformContext& context,
                                               std::string_view componentName) {
  using OAuthFlows = typename V::OAuthFlows;
  static constexpr std::string_view kFlowKeys[] = {"implicit", "password", "clientCredentials", "authorizationCode"};
  if constexpr (V::is31) {
    bool anyFlow = false;
    for (std::string_view key : kFlowKeys) anyFlow = anyFlow || node[key] != nullptr;
    if (!anyFlow)
      recordHigh(context, DiagnosticCode::securityOauth2NoFlows,
                 schemeText(componentName, "must define at least one OAuth flow"), node);
  }
  static const KeySet keys = allowedKeySet({"implicit", "password", "clientCredentials", "authorizationCode"});
  checkUnknownProperties(node, keys, "OAuthFlows", context);

  Shared<typename V::OAuthFlow> flows[4];
  for (std::size_t i = 0; i < 4; ++i)
    if (const GenericNode* member = node[kFlowKeys[i]]) flows[i] = parseOAuthFlow<V>(*member, context, kFlowKeys[i]);
  return makeShared<OAuthFlows>([&] { return OAuthFlows{.location = locationOf(node),
                                           .implicit = std::move(flows[0]),
                                           .password = std::move(flows[1]),
                                           .clientCredentials = std::move(flows[2]),
                                           .authorizationCode = std::move(flows[3]),
                                           .vendorExtensions = collectVendorExtensions(node)}; });
}

template <class V>
Shared<typename V::OAuthFlow> parseOAuthFlow(const GenericNode& node, TransformContext& context,
                                             std::string_view flowKey) {
  using OAuthFlow = typename V::OAuthFlow;
  if constexpr (V::is31) {
    if ((flowKey == "implicit" || flowKey == "authorizationCode") && !hasString(node, "authorizationUrl"))
      recordHigh(context, DiagnosticCode::securityOauthMissingAuthUrl,
                 "OAuth " + std::string(flowKey) + " flow requires 'authorizationUrl'", node);
    if ((flowKey == "password" || flowKey == "clientCredentials" || flowKey == "authorizationCode") &&
        !hasString(node, "tokenUrl"))
      recordHigh(context, DiagnosticCode::securityOauthMissingTokenUrl,
                 "OAuth " + std::string(flowKey) + " flow requires 'tokenUrl'", node);
  }

  OrderedMap<std::string> scopes;
  if (const GenericNode* member = node["scopes"]) {
    if (auto entries = member->objectValue()) {
      scopes.reserve(entries->size());
      for (const auto& entry : *entries) {
        auto text = entry.value->stringValue();
        scopes.appendUnchecked(std::string(entry.key), text ? std::string(*text) : std::string());
      }
    }
  }
  static const KeySet keys = allowedKeySet({"authorizationUrl", "tokenUrl", "refreshUrl", "scopes"});
  checkUnknownProperties(node, keys, "OAuthFlow", context);

  return makeShared<OAuthFlow>([&] { return OAuthFlow{.location = locationOf(node),
                                         .authorizationUrl = optionalString(node, "authorizationUrl"),
                                         .tokenUrl = optionalString(node, "tokenUrl"),
                                         .refreshUrl = optionalString(node, "refreshUrl"),
                                         .scopes = std::move(scopes),
                                         .vendorExtensions = collectVendorExtensions(node)}; });
}

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
