#include "kit/transform/DocumentReaders.h"

#include <algorithm>
#include <string>
#include <utility>

#include "kit/core/TransformError.h"
#include "kit/transform/ComponentReaders.h"
#include "kit/transform/DocumentTextChecks.h"
#include "kit/transform/ObjectReading.h"
#include "kit/transform/PathReaders.h"

namespace VoziZazIreTransform {

using namespace VoziZazIreCore;
namespace Checks = DocumentTextChecks;

namespace {

// Texts beginning with "/" pass the URL checks of the info and contact members without parsing.
bool passesInfoUrlCheck(std::string_view text) { return text.starts_with('/') || Checks::isUriReference(text); }

std::string concat(std::string_view before, std::string_view value, std::string_view after) {
  std::string text;
  text.reserve(before.size() + value.size() + after.size());
  text += before;
  text += value;
  text += after;
  return text;
}

// A warning recorded at levels low and high.
void warnAtLow(TransformContext& context, DiagnosticCode code, std::string_view text, const GenericNode& node) {
  if (!context.recordsAtLow()) return;
  context.record(DiagnosticSeverity::warning, code, text, std::string(node.jsonPointer()), node.range());
}

}  // namespace

template <class V>
Shared<typename V::Document> parseDocument(const GenericNode& root, TransformContext& context) {
  using Document = typename V::Document;
  static const KeySet keys = V::is31 ? allowedKeySet({"openapi", "info", "jsonSchemaDialect", "servers", "components",
                                                      "paths", "webhooks", "security", "tags", "externalDocs"})
                                     : allowedKeySet({"openapi", "info", "servers", "components", "paths", "security",
                                                      "tags", "externalDocs"});
  if (root.kind() != GenericNodeKind::object)
    throw TransformError("Document root must be an object", std::string(root.jsonPointer()), root.range());

  std::string openapi;
  if (const GenericNode* member = root["openapi"]; member && member->stringValue()) {
    openapi = std::string(*member->stringValue());
  } else {
    throwMissingField("openapi", root);
  }
  if (!Checks::matchesVersionPattern(openapi, V::is31)) {
    context.recordCodedDiagnostic(
        V::is31 ? DiagnosticCode::version31Invalid : DiagnosticCode::version30Invalid,
        concat("openapi version '", openapi, V::is31 ? "' must match pattern '3.1.x'" : "' must match pattern '3.0.x'"),
        std::string(root.jsonPointer()), root.range(), ValidationLevel::low);
  }

  const GenericNode* infoNode = root["info"];
  if (!infoNode) throwMissingField("info", root);
  auto info = parseInfo<V>(*infoNode, context);

  std::optional<std::string> jsonSchemaDialect;
  if constexpr (V::is31) {
    jsonSchemaDialect = optionalString(root, "jsonSchemaDialect");
    if (jsonSchemaDialect && !Checks::isUriReference(*jsonSchemaDialect)) {
      context.recordCodedDiagnostic(DiagnosticCode::version31InvalidDialect,
                                    concat("jsonSchemaDialect '", *jsonSchemaDialect, "' must be a valid URI"),
                                    std::string(root.jsonPointer()), root.range(), ValidationLevel::low);
    }
  }

  auto servers = parseArrayOf(root, "servers", context, [](const GenericNode& node, TransformContext& ctx) {
    return parseServer<V>(node, ctx);
  });

  if constexpr (V::is31) {
    if (const GenericNode* components = root["components"]) registerComponentNames(*components, context);
  }

  Shared<typename V::Paths> paths;
  if (const GenericNode* pathsNode = root["paths"]) {
    paths = parsePaths<V>(*pathsNode, context);
  } else if constexpr (V::is31) {
    // A 3.1 document may leave out its paths; it then has an empty paths object at the root's range.
    const NodePtr empty = GenericNode::makeObject({}, root.range(), "/paths");
    paths = parsePaths<V>(*empty, context);
  } else {
    throwMissingField("paths", root);
  }

  std::optional<OrderedMap<ReferenceOr<typename V::PathItem>>> webhooks;
  if constexpr (V::is31) {
    const GenericNode* webhooksNode = root["webhooks"];
    const auto members = webhooksNode ? webhooksNode->objectValue() : std::nullopt;
    if (members && !members->empty()) {
      webhooks.emplace();
      webhooks->reserve(members->size());
      for (const auto& member : *members) {
        webhooks->appendUnchecked(std::string(member.key),
                                  parseReferenceOr<typename V::PathItem>(
                                      *member.value, context, [](const GenericNode& node, TransformContext& ctx) {
                                        return parsePathItem<V>(node, ctx);
                                      }));
      }
    }
  }

  Shared<typename V::Components> components;
  if (const GenericNode* componentsNode = root["components"]) components = parseComponents<V>(*componentsNode, context);

  auto security = parseArrayOf(root, "security", context, [](const GenericNode& node, TransformContext& ctx) {
    return parseSecurityRequirement<V>(node, ctx);
  });
  auto tags = parseArrayOf(root, "tags", context,
                           [](const GenericNode& node, TransformContext& ctx) { return parseTag<V>(node, ctx); });
  Shared<typename V::ExternalDocumentation> externalDocs;
  if (const GenericNode* member = root["externalDocs"]) externalDocs = parseExternalDocumentation<V>(*member, context);
  auto vendorExtensions = collectVendorExtensions(root);
  checkUnknownProperties(root, keys, "Document", context);

  if constexpr (V::is31) {
    return makeShared<Document>([&] { return Document{.location = locationOf(root),
                                         .openapi = std::move(openapi),
                                         .info = std::move(info),
                                         .jsonSchemaDialect = std::move(jsonSchemaDialect),
                                         .servers = std::move(servers),
                                         .paths = std::move(paths),
                                         .webhooks = std::move(webhooks),
                                         .components = std::move(components),
                                         .security = std::move(security),
                                         .tags = std::move(tags),
                                         .externalDocs = std::move(externalDocs),
                                         .vendorExtensions = std::move(vendorExtensions)}; });
  } else {
    return makeShared<Document>([&] { return Document{.location = locationOf(root),
                                         .openapi = std::move(openapi),
                                         .info = std::move(info),
                                         .servers = std::move(servers),
                                         .paths = std::move(paths),
                                         .components = std::move(components),
                                         .security = std::move(security),
                                         .tags = std::move(tags),
                                         .externalDocs = std::move(externalDocs),
                                         .vendorExtensions = std::move(vendorExtensions)}; });
  }
}

template <class V>
Shared<typename V::Info> parseInfo(const GenericNode& node, TransformContext& context) {
  using Info = typename V::Info;
  static const KeySet keys =
      V::is31 ? allowedKeySet({"title", "version", "summary", "description", "termsOfService", "contact", "license"})
              : allowedKeySet({"title", "version", "description", "termsOfService", "contact", "license"});
  std::string title = requiredString(node, "title", "info");
  std::string version = requiredString(node, "version", "info");
  const std::string pointer(node.jsonPointer());
  if (Checks::isBlank(title))
    context.recordCodedDiagnostic(DiagnosticCode::docEmptyTitle, "info.title must not be empty", pointer, node.range(),
                                  ValidationLevel::low);
  if (Checks::isBlank(version))
    context.recordCodedDiagnostic(DiagnosticCode::docEmptyVersion, "info.version must not be empty", pointer,
                                  node.range(), ValidationLevel::low);
  std::optional<std::string> termsOfService = optionalString(node, "termsOfService");
  if constexpr (V::is31) {
    if (termsOfService && !passesInfoUrlCheck(*termsOfService))
      warnAtLow(context, DiagnosticCode::docInvalidVersion, "info.termsOfService should be a valid URL", node);
  }
  Shared<typename V::Contact> contact;
  if (const GenericNode* member = node["contact"]) contact = parseContact<V>(*member, context);
  Shared<typename V::License> license;
  if (const GenericNode* member = node["license"]) license = parseLicense<V>(*member, context);
  checkUnknownProperties(node, keys, "Info", context);

  if constexpr (V::is31) {
    return makeShared<Info>([&] { return Info{.location = locationOf(node),
                                 .title = std::move(title),
                                 .summary = optionalString(node, "summary"),
                                 .description = optionalString(node, "description"),
                                 .termsOfService = std::move(termsOfService),
                                 .contact = std::move(contact),
                                 .license = std::move(license),
                                 .version = std::move(version),
                                 .vendorExtensions = collectVendorExtensions(node)}; });
  } else {
    return makeShared<Info>([&] { return Info{.location = locationOf(node),
                                 .title = std::move(title),
                                 .description = optionalString(node, "description"),
                                 .termsOfService = std::move(termsOfService),
                                 .contact = std::move(contact),
                                 .license = std::move(license),
                                 .version = std::move(version),
                                 .vendorExtensions = collectVendorExtensions(node)}; });
  }
}

template <class V>
Shared<typename V::Contact> parseContact(const GenericNode& node, TransformContext& context) {
  using Contact = typename V::Contact;
  static const KeySet keys = allowedKeySet({"name", "url", "email"});
  std::optional<std::string> url = optionalString(node, "url");
  std::optional<std::string> email = optionalString(node, "email");
  if constexpr (V::is31) {
    if (url && !passesInfoUrlCheck(*url))
      warnAtLow(context, DiagnosticCode::docLicenseIdentifierAndUrl, "info.contact.url should be a valid URL", node);
    if (email && !Checks::isEmailAddress(*email))
      warnAtLow(context, DiagnosticCode::docInvalidUrl, "info.contact.email should be a valid email", node);
  }
  checkUnknownProperties(node, keys, "Contact", context);
  return makeShared<Contact>([&] { return Contact{.location = locationOf(node),
                                     .name = optionalString(node, "name"),
                                     .url = std::move(url),
                                     .email = std::move(email),
                                     .vendorExtensions = collectVendorExtensions(node)}; });
}

template <class V>
Shared<typename V::License> parseLicense(const GenericNode& node, TransformContext& context) {
  using License = typename V::License;
  static const KeySet keys =
      V::is31 ? allowedKeySet({"name", "identifier", "url"}) : allowedKeySet({"name", "url"});
  std::string name = requiredString(node, "name", "license");
  std::optional<std::string> url = optionalString(node, "url");
  if constexpr (V::is31) {
    std::optional<std::string> identifier = optionalString(node, "identifier");
    if (identifier && url)
      context.recordCodedDiagnostic(DiagnosticCode::version31LicenseConflict,
                                    "license must have either 'identifier' or 'url', not both",
                                    std::string(node.jsonPointer()), node.range(), ValidationLevel::low);
    checkUnknownProperties(node, keys, "License", context);
    return makeShared<License>([&] { return License{.location = locationOf(node),
                                       .name = std::move(name),
                                       .identifier = std::move(identifier),
                                       .url = std::move(url),
                                       .vendorExtensions = collectVendorExtensions(node)}; });
  } else {
    checkUnknownProperties(node, keys, "License", context);
    return makeShared<License>([&] { return License{.location = locationOf(node),
                                       .name = std::move(name),
                                       .url = std::move(url),
                                       .vendorExtensions = collectVendorExtensions(node)}; });
  }
}

template <class V>
Shared<typename V::Tag> parseTag(const GenericNode& node, TransformContext& context) {
  using Tag = typename V::Tag;
  static const KeySet keys = allowedKeySet({"name", "description", "externalDocs"});
  std::string name = requiredString(node, "name", "tag");
  checkUnknownProperties(node, keys, "Tag", context);
  std::optional<std::string> description = optionalString(node, "description");
  Shared<typename V::ExternalDocumentation> externalDocs;
  if (const GenericNode* member = node["externalDocs"]) externalDocs = parseExternalDocumentation<V>(*member, context);
  return makeShared<Tag>([&] { return Tag{.location = locationOf(node),
                             .name = std::move(name),
                             .description = std::move(description),
                             .externalDocs = std::move(externalDocs),
                             .vendorExtensions = collectVendorExtensions(node)}; });
}

template <class V>
Shared<typename V::ExternalDocumentation> parseExternalDocumentation(const GenericNode& node,
                                                                     TransformContext& context) {
  using ExternalDocumentation = typename V::ExternalDocumentation;
  static const KeySet keys = allowedKeySet({"url", "description"});
  std::string url = requiredString(node, "url", "externalDocs");
  checkUnknownProperties(node, keys, "ExternalDocs", context);
  return makeShared<ExternalDocumentation>([&] { return ExternalDocumentation{.location = locationOf(node),
                                                                 .description = optionalString(node, "description"),
                                                                 .url = std::move(url),
                                                                 .vendorExtensions = collectVendorExtensions(node)}; });
}

template <class V>
Shared<typename V::Server> parseServer(const GenericNode& node, TransformContext& context) {
  using Server = typename V::Server;
  using ServerVariable = typename V::ServerVariable;
  static const KeySet keys = allowedKeySet({"url", "description", "variables"});
  std::string url = requiredString(node, "url", "server");
  const GenericNode* variablesNode = node["variables"];
  const auto variableMembers = variablesNode ? variablesNode->objectValue() : std::nullopt;

  if constexpr (V::is31) {
    if (context.recordsAtHigh()) {
      for (const std::string& name : Checks::templateNames(url)) {
        if (variableMembers && variableMembers->contains(name)) continue;
        context.recordCodedDiagnostic(DiagnosticCode::serverVariableNotInUrl,
                                      concat("Template variable '{", name, "}' has no matching variable definition"),
                                      std::string(node.jsonPointer()), node.range(), ValidationLevel::high);
      }
    }
  }

  std::optional<OrderedMap<Shared<ServerVariable>>> variables;
  if (variableMembers) {
    variables.emplace();
    variables->reserve(variableMembers->size());
    for (const auto& member : *variableMembers)
      variables->appendUnchecked(std::string(member.key), parseServerVariable<V>(*member.value, context, member.key));
  }
  checkUnknownProperties(node, keys, "Server", context);
  return makeShared<Server>([&] { return Server{.location = locationOf(node),
                                   .url = std::move(url),
                                   .description = optionalString(node, "description"),
                                   .variables = std::move(variables),
                                   .vendorExtensions = collectVendorExtensions(node)}; });
}

template <class V>
Shared<typename V::ServerVariable> parseServerVariable(const GenericNode& node, TransformContext& context,
                                                       std::string_view variableName) {
  using ServerVariable = typename V::ServerVariable;
  static const KeySet keys = allowedKeySet({"default", "enum", "description"});
  std::string defaultValue = requiredString(node, "default", "server variable");
  std::optional<std::vector<std::string>> enumValues = optionalStringArray(node, "enum");
  if constexpr (V::is31) {
    if (enumValues) {
      const std::string pointer(node.jsonPointer());
      if (enumValues->empty()) {
        context.recordCodedDiagnostic(DiagnosticCode::serverVariableEnumEmpty,
                                      concat("Server variable '", variableName, "' enum must not be empty"), pointer,
                                      node.range(), ValidationLevel::high);
      } else if (std::find(enumValues->begin(), enumValues->end(), defaultValue) == enumValues->end()) {
        std::string text = concat("Server variable '", variableName, "' default '");
        text += defaultValue;
        text += "' is not in enum";
        context.recordCodedDiagnostic(DiagnosticCode::serverVariableDefaultNotInEnum, text, pointer, node.range(),
                                      ValidationLevel::high);
      }
    }
  } else {
    (void)variableName;
  }
  checkUnknownProperties(node, keys, "ServerVariable", context);
  return makeShared<ServerVariable>([&] { return ServerVariable{.location = locationOf(node),
                                                   .enumValues = std::move(enumValues),
                                                   .default_ = std::move(defaultValue),
                                                   .description = optionalString(node, "description"),
                                                   .vendorExtensions = collectVendorExtensions(node)}; });
}

template <class V>
Shared<typename V::SecurityRequirement> parseSecurityRequirement(const GenericNode& node, TransformContext& context) {
  using SecurityRequirement = typename V::SecurityRequirement;
  OrderedMap<std::vector<std::string>> items;
  if (const auto members = node.objectValue()) {
    const std::unordered_set<std::string>* declared = nullptr;
    if constexpr (V::is31) {
      if (auto it = context.componentNames.find("securitySchemes"); it != context.componentNames.end())
        declared = &it->second;
    }
    items.reserve(members->size());
    for (const auto& member : *members) {
      if constexpr (V::is31) {
        if (context.recordsAtHigh() && (!declared || !declared->contains(std::string(member.key)))) {
          context.recordCodedDiagnostic(
              DiagnosticCode::operationUndefinedSecurityScheme,
              concat("Security requirement references undefined security scheme '", member.key, "'"),
              std::string(node.jsonPointer()), node.range(), ValidationLevel::high);
        }
      }
      std::vector<std::string> scopes;
      if (const auto elements = member.value->arrayValue()) {
        scopes.reserve(elements->size());
        for (const GenericNode* element : *elements)
          if (auto text = element->stringValue()) scopes.emplace_back(*text);
      }
      items.appendUnchecked(std::string(member.key), std::move(scopes));
    }
  }
  if constexpr (!V::is31) (void)context;
  return makeShared<SecurityRequirement>([&] { return SecurityRequirement{.location = locationOf(node), .items = std::move(items)}; });
}

void registerComponentNames(const GenericNode& components, TransformContext& context) {
  static constexpr std::string_view kSections[] = {"schemas",         "responses", "parameters",
                                                   "requestBodies",   "headers",   "securitySchemes",
                                                   "links",           "callbacks", "pathItems"};
  for (std::string_view section : kSections) {
    const GenericNode* sectionNode = components[section];
    if (!sectionNode) continue;
    const auto members = sectionNode->objectValue();
    if (!members || members->empty()) continue;
    auto& names = context.componentNames[std::string(section)];
    for (const auto& member : *members) names.emplace(member.key);
  }
}

#define CARVEX_INSTANTIATE_DOCUMENT_READERS(V)                                                                     \
  template Shared<V::Document> parseDocument<V>(const GenericNode&, TransformContext&);                            \
  template Shared<V::Info> parseInfo<V>(const GenericNode&, TransformContext&);                                    \
  template Shared<V::Contact> parseContact<V>(const GenericNode&, TransformContext&);                              \
  template Shared<V::License> parseLicense<V>(const GenericNode&, TransformContext&);                              \
  template Shared<V::Tag> parseTag<V>(const GenericNode&, TransformContext&);                                      \
  template Shared<V::ExternalDocumentation> parseExternalDocumentation<V>(const GenericNode&, TransformContext&);  \
  template Shared<V::Server> parseServer<V>(const GenericNode&, TransformContext&);                                \
  template Shared<V::ServerVariable> parseServerVariable<V>(const GenericNode&, TransformContext&, std::string_view); \
  template Shared<V::SecurityRequirement> parseSecurityRequirement<V>(const GenericNode&, TransformContext&);

CARVEX_INSTANTIATE_DOCUMENT_READERS(Version30)
CARVEX_INSTANTIATE_DOCUMENT_READERS(Version31)

#undef CARVEX_INSTANTIATE_DOCUMENT_READERS

}  // namespace VoziZazIreTransform
