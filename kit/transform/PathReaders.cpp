#include "kit/transform/PathReaders.h"

#include <array>

#include "kit/transform/ContentReaders.h"
#include "kit/transform/DocumentReaders.h"
#include "kit/transform/ObjectReading.h"

namespace VoziZazIreTransform {

using VoziZazIreCore::DiagnosticCode;
using VoziZazIreCore::DiagnosticSeverity;
using VoziZazIreCore::GenericNode;
using VoziZazIreCore::OrderedMap;
using VoziZazIreCore::ReferenceOr;
using VoziZazIreCore::ValidationLevel;

namespace {

// The "parameters" array of a path item or an operation; `names` reach the 3.1 path-template check.
template <class V>
std::optional<std::vector<ReferenceOr<typename V::Parameter>>> readParameters(const GenericNode& node,
                                                                              TransformContext& context,
                                                                              const PathTemplateNames& names) {
  return parseArrayOf(node, "parameters", context, [&names](const GenericNode& element, TransformContext& ctx) {
    return parseReferenceOr<typename V::Parameter>(element, ctx, [&names](const GenericNode& n, TransformContext& c) {
      return parseParameter<V>(n, c, names);
    });
  });
}

template <class V>
std::optional<std::vector<Shared<typename V::Server>>> readServers(const GenericNode& node, TransformContext& context) {
  return parseArrayOf(node, "servers", context, [](const GenericNode& element, TransformContext& ctx) {
    return parseServer<V>(element, ctx);
  });
}

// The methods in the order they are read, with the names handed to the 3.1 operation reader.
struct Method {
  std::string_view key;
  std::string_view upperCase;
};
constexpr std::array<Method, 8> kMethods = {{{"get", "GET"},
                                             {"put", "PUT"},
                                             {"post", "POST"},
                                             {"delete", "DELETE"},
                                             {"options", "OPTIONS"},
                                             {"head", "HEAD"},
                                             {"patch", "PATCH"},
                                             {"trace", "TRACE"}}};

// Methods whose operations should carry no request body (3.1), compared exactly.
constexpr std::array<std::string_view, 3> kMethodsWithoutRequestBody = {"GET", "HEAD", "DELETE"};

bool isMethodWithoutRequestBody(std::string_view method) {
  for (std::string_view candidate : kMethodsWithoutRequestBody)
    if (method == candidate) return true;
  return false;
}

}  // namespace

template <class V>
Shared<typename V::Paths> parsePaths(const GenericNode& node, TransformContext& context) {
  OrderedMap<Shared<typename V::PathItem>> items;
  if (auto members = node.objectValue()) {
    items.reserve(members->size());
    for (const auto& member : *members) {
      if (member.key.starts_with("x-")) continue;
      if (!member.key.starts_with("/")) {
        std::string text = "Path '";
        text += member.key;
        text += "' must start with '/'";
        context.recordCodedDiagnostic(DiagnosticCode::pathMustStartWithSlash, text,
                                      std::string(member.value->jsonPointer()), member.value->range(),
                                      ValidationLevel::low);
      }
      items.appendUnchecked(std::string(member.key), parsePathItem<V>(*member.value, context, member.key));
    }
  }
  return makeShared<typename V::Paths>([&] { return typename V::Paths{
      .location = locationOf(node), .items = std::move(items), .vendorExtensions = collectVendorExtensions(node)}; });
}

template <class V>
Shared<typename V::PathItem> parsePathItem(const GenericNode& node, TransformContext& context,
                                           std::optional<std::string_view> pathKey) {
  static const KeySet allowed =
      allowedKeySet({"$ref", "summary", "description", "parameters", "get", "put", "post", "delete", "options",
                     "head", "patch", "trace", "servers"});
  // Only 3.1 uses the template names; 3.0 hands the empty set on.
  PathTemplateNames names;
  if constexpr (V::is31) {
    if (pathKey) names = pathTemplateNamesOf(*pathKey);
  }

  auto parameters = readParameters<V>(node, context, names);
  checkUnknownProperties(node, allowed, "PathItem", context);
  auto ref = optionalString(node, "$ref");
  auto summary = optionalString(node, "summary");
  auto description = optionalString(node, "description");

  std::array<Shared<typename V::Operation>, kMethods.size()> operations;
  for (std::size_t i = 0; i < kMethods.size(); ++i) {
    if (const GenericNode* member = node[kMethods[i].key])
      operations[i] = parseOperation<V>(*member, context, names, kMethods[i].upperCase);
  }
  auto servers = readServers<V>(node, context);

  return makeShared<typename V::PathItem>([&] { return typename V::PathItem{.location = locationOf(node),
                                                               .ref = std::move(ref),
                                                               .summary = std::move(summary),
                                                               .description = std::move(description),
                                                               .get = std::move(operations[0]),
                                                               .put = std::move(operations[1]),
                                                               .post = std::move(operations[2]),
                                                               .delete_ = std::move(operations[3]),
                                                               .options = std::move(operations[4]),
                                                               .head = std::move(operations[5]),
                                                               .patch = std::move(operations[6]),
                                                               .trace = std::move(operations[7]),
                                                               .servers = std::move(servers),
                                                               .parameters = std::move(parameters),
                                                               .vendorExtensions = collectVendorExtensions(node)}; });
}

template <class V>
Shared<typename V::Operation> parseOperation(const GenericNode& node, TransformContext& context,
                                             const PathTemplateNames& pathTemplateNames, std::string_view method) {
  static const KeySet allowed =
      allowedKeySet({"responses", "operationId", "parameters", "requestBody", "callbacks", "tags", "summary",
                     "description", "externalDocs", "deprecated", "security", "servers"});

  // OpenAPI 3.1 made "responses" optional: refusing such an operation would refuse valid descriptions,
  // so only 3.0 insists on it.
  const GenericNode* responsesNode = node["responses"];
  Shared<typename V::Responses> responses;
  if (responsesNode) {
    responses = parseResponses<V>(*responsesNode, context);
  } else if constexpr (!V::is31) {
    throwMissingField("responses", "operation", node);
  }

  // Registered at every level, so that "first" stays the first in reading order whatever is recorded.
  if (const GenericNode* idNode = node["operationId"]) {
    if (auto id = idNode->stringValue()) {
      std::string text(*id);
      if (auto first = context.registerOperationId(text, locationOf(node))) {
        std::string message = "Duplicate operationId '";
        message += text;
        message += "' (first at ";
        message += first->jsonPointer;
        message += ")";
        context.recordCodedDiagnostic(DiagnosticCode::operationDuplicateId, message, std::string(node.jsonPointer()),
                                      node.range(), ValidationLevel::high);
      }
    }
  }

  if constexpr (V::is31) {
    if (isMethodWithoutRequestBody(method) && node["requestBody"] && context.recordsAtHigh()) {
      std::string text(method);
      text += " operation should not have a request body";
      context.record(DiagnosticSeverity::warning, DiagnosticCode::requestBodyOnGetHeadDelete, text,
                     std::string(node.jsonPointer()), node.range());
    }
  }

  auto parameters = readParameters<V>(node, context, pathTemplateNames);

  std::optional<ReferenceOr<typename V::RequestBody>> requestBody;
  if (const GenericNode* member = node["requestBody"])
    requestBody = parseReferenceOr<typename V::RequestBody>(*member, context, parseRequestBody<V>);

  auto callbacks = parseMapOf(node, "callbacks", context, [](const GenericNode& entry, TransformContext& ctx) {
    return parseReferenceOr<typename V::Callback>(entry, ctx, parseCallback<V>);
  });
  auto security = parseArrayOf(node, "security", context, [](const GenericNode& element, TransformContext& ctx) {
    return parseSecurityRequirement<V>(element, ctx);
  });

  checkUnknownProperties(node, allowed, "Operation", context);
  auto tags = optionalStringArray(node, "tags");
  auto summary = optionalString(node, "summary");
  auto description = optionalString(node, "description");
  Shared<typename V::ExternalDocumentation> externalDocs;
  if (const GenericNode* member = node["externalDocs"]) externalDocs = parseExternalDocs<V>(*member, context);
  auto operationId = optionalString(node, "operationId");
  auto deprecated = parseBooleanField("deprecated", node, "Operation", context);
  auto servers = readServers<V>(node, context);

  return makeShared<typename V::Operation>([&] { return typename V::Operation{.location = locationOf(node),
                                                                 .tags = std::move(tags),
                                                                 .summary = std::move(summary),
                                                                 .description = std::move(description),
                                                                 .externalDocs = std::move(externalDocs),
                                                                 .operationId = std::move(operationId),
                                                                 .parameters = std::move(parameters),
                                                                 .requestBody = std::move(requestBody),
                                                                 .responses = std::move(responses),
                                                                 .callbacks = std::move(callbacks),
                                                                 .deprecated = deprecated,
                                                                 .security = std::move(security),
                                                                 .servers = std::move(servers),
                                                                 .vendorExtensions = collectVendorExtensions(node)}; });
}

template Shared<Version30::Paths> parsePaths<Version30>(const GenericNode&, TransformContext&);
template Shared<Version31::Paths> parsePaths<Version31>(const GenericNode&, TransformContext&);
template Shared<Version30::PathItem> parsePathItem<Version30>(const GenericNode&, TransformContext&,
                                                              std::optional<std::string_view>);
template Shared<Version31::PathItem> parsePathItem<Version31>(const GenericNode&, TransformContext&,
                                                              std::optional<std::string_view>);
template Shared<Version30::Operation> parseOperation<Version30>(const GenericNode&, TransformContext&,
                                                                const PathTemplateNames&, std::string_view);
template Shared<Version31::Operation> parseOperation<Version31>(const GenericNode&, TransformContext&,
                                                                const PathTemplateNames&, std::string_view);

}  // namespace VoziZazIreTransform
