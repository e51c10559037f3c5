#include "kit/validation/ValidationWalk.h"

#include <string_view>

#include "kit/validation/DocumentRules.h"
#include "kit/validation/PathRules.h"
#include "kit/validation/ReferenceValidator.h"
#include "kit/validation/SchemaRules.h"
#include "kit/validation/SecurityRules.h"
#include "kit/validation/ServerRules.h"
#include "kit/validation/VersionRules.h"

namespace VoziZazIreValidation {

using VoziZazIreCore::Diagnostic;
using VoziZazIreTransform::Version30;
using VoziZazIreTransform::Version31;

namespace {

template <class Map>
void registerKind(const std::optional<Map>& map, std::string_view kind, ValidationContext& context) {
  if (!map) return;
  for (const auto& entry : *map) context.registerComponent(kind, entry.first);
}

}  // namespace

template <class V>
void registerComponentNames(const typename V::Document& document, ValidationContext& context) {
  if (!document.components) return;
  const auto& components = *document.components;
  registerKind(components.schemas, "schemas", context);
  registerKind(components.responses, "responses", context);
  registerKind(components.parameters, "parameters", context);
  registerKind(components.requestBodies, "requestBodies", context);
  registerKind(components.headers, "headers", context);
  registerKind(components.securitySchemes, "securitySchemes", context);
  registerKind(components.links, "links", context);
  registerKind(components.callbacks, "callbacks", context);
  if constexpr (V::is31) registerKind(components.pathItems, "pathItems", context);
}

template <class V>
void validateCommon(const typename V::Document& document, ValidationContext& context) {
  if (document.info) validateInfo<V>(*document.info, context);

  if (document.servers)
    for (const auto& server : *document.servers)
      if (server) validateServer<V>(*server, context);

  if (document.paths) validatePaths<V>(*document.paths, context);

  // Of the components, only inline security schemes and then inline schemas are checked here.
  if (document.components) {
    const auto& components = *document.components;
    if (components.securitySchemes)
      for (const auto& [name, entry] : *components.securitySchemes)
        if (const auto* scheme = entry.inlineValue()) validateSecurityScheme<V>(name, *scheme, context);
    if (components.schemas)
      for (const auto& entry : *components.schemas)
        if (const auto* schema = entry.second.inlineValue()) validateSchema<V>(*schema, context);
  }

  if (document.security)
    for (const auto& requirement : *document.security)
      if (requirement) validateSecurityRequirement<V>(*requirement, context);
}

template <class V>
std::vector<Diagnostic> runValidation(const typename V::Document& document, bool validateRefs) {
  ValidationContext context;
  registerComponentNames<V>(document, context);
  validateCommon<V>(document, context);
  validateVersionRules<V>(document, context);
  if (validateRefs) validateReferences<V>(document, context);
  return context.takeDiagnostics();
}

template void registerComponentNames<Version30>(const Version30::Document&, ValidationContext&);
template void registerComponentNames<Version31>(const Version31::Document&, ValidationContext&);
template void validateCommon<Version30>(const Version30::Document&, ValidationContext&);
template void validateCommon<Version31>(const Version31::Document&, ValidationContext&);
template std::vector<Diagnostic> runValidation<Version30>(const Version30::Document&, bool);
template std::vector<Diagnostic> runValidation<Version31>(const Version31::Document&, bool);

}  // namespace VoziZazIreValidation
