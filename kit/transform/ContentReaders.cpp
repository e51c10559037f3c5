#include "kit/transform/ContentReaders.h"

#include "kit/transform/DocumentReaders.h"
#include "kit/transform/ObjectReading.h"
#include "kit/transform/SchemaReader.h"

namespace VoziZazIreTransform {

using VoziZazIreCore::AnyValue;
using VoziZazIreCore::DiagnosticCode;
using VoziZazIreCore::DiagnosticSeverity;
using VoziZazIreCore::GenericNode;
using VoziZazIreCore::OrderedMap;
using VoziZazIreCore::ReferenceOr;
using VoziZazIreModels::ParameterStyle;

namespace {

// The styles an encoding accepts; the other parameter styles are refused like unknown text.
std::optional<ParameterStyle> encodingStyle(std::string_view text) {
  auto style = VoziZazIreCore::fromRawValue<ParameterStyle>(text);
  if (!style) return std::nullopt;
  switch (*style) {
    case ParameterStyle::form:
    case ParameterStyle::spaceDelimited:
    case ParameterStyle::pipeDelimited:
    case ParameterStyle::deepObject: return style;
    case ParameterStyle::matrix:
    case ParameterStyle::label:
    case ParameterStyle::simple: return std::nullopt;
  }
  return std::nullopt;
}

}  // namespace

template <class V>
Shared<typename V::MediaType> parseMediaType(const GenericNode& node, TransformContext& context) {
  static const KeySet allowed = allowedKeySet({"schema", "examples", "encoding", "example"});
  std::optional<ReferenceOr<typename V::Schema>> schema;
  if (const GenericNode* member = node["schema"])
    schema = parseReferenceOr<typename V::Schema>(*member, context, parseSchema<V>);
  auto examples = parseMapOf(node, "examples", context, [](const GenericNode& entry, TransformContext& ctx) {
    return parseReferenceOr<typename V::Example>(entry, ctx, parseExample<V>);
  });
  auto encoding = parseMapOf(node, "encoding", context, parseEncoding<V>);
  checkUnknownProperties(node, allowed, "MediaType", context);
  return makeShared<typename V::MediaType>([&] { return typename V::MediaType{.location = locationOf(node),
                                                                 .schema = std::move(schema),
                                                                 .example = optionalAnyValue(node, "example"),
                                                                 .examples = std::move(examples),
                                                                 .encoding = std::move(encoding),
                                                                 .vendorExtensions = collectVendorExtensions(node)}; });
}

template <class V>
Shared<typename V::Encoding> parseEncoding(const GenericNode& node, TransformContext& context) {
  static const KeySet allowed = allowedKeySet({"headers", "contentType", "style", "explode", "allowReserved"});
  auto headers = parseMapOf(node, "headers", context, [](const GenericNode& entry, TransformContext& ctx) {
    return parseReferenceOr<typename V::Header>(entry, ctx, parseHeader<V>);
  });
  std::optional<ParameterStyle> style;
  if (const GenericNode* member = node["style"]) {
    if (auto text = member->stringValue()) {
      style = encodingStyle(*text);
      if (!style && context.recordsAtHigh()) {
        std::string message = "Invalid encoding style '";
        message += *text;
        message += "'. Must be one of: form, spaceDelimited, pipeDelimited, deepObject";
        context.record(DiagnosticSeverity::error, DiagnosticCode::encodingInvalidStyle, message,
                       std::string(member->jsonPointer()), member->range());
      }
    }
  }
  checkUnknownProperties(node, allowed, "Encoding", context);
  auto contentType = optionalString(node, "contentType");
  auto explode = parseBooleanField("explode", node, "Encoding", context);
  auto allowReserved = parseBooleanField("allowReserved", node, "Encoding", context);
  return makeShared<typename V::Encoding>([&] { return typename V::Encoding{.location = locationOf(node),
                                                               .style = style,
                                                               .explode = explode,
                                                               .allowReserved = allowReserved,
                                                               .contentType = std::move(contentType),
                                                               .headers = std::move(headers),
                                                               .vendorExtensions = collectVendorExtensions(node)}; });
}

template <class V>
Shared<typename V::Example> parseExample(const GenericNode& node, TransformContext& context) {
  static const KeySet allowed = allowedKeySet({"summary", "description", "value", "externalValue"});
  checkUnknownProperties(node, allowed, "Example", context);
  return makeShared<typename V::Example>([&] { return typename V::Example{.location = locationOf(node),
                                                             .summary = optionalString(node, "summary"),
                                                             .description = optionalString(node, "description"),
                                                             .value = optionalAnyValue(node, "value"),
                                                             .externalValue = optionalString(node, "externalValue"),
                                                             .vendorExtensions = collectVendorExtensions(node)}; });
}

template <class V>
Shared<typename V::Link> parseLink(const GenericNode& node, TransformContext& context) {
  static const KeySet allowed =
      allowedKeySet({"operationRef", "operationId", "parameters", "requestBody", "description", "server"});
  std::optional<OrderedMap<AnyValue>> parameters;
  if (const GenericNode* member = node["parameters"]) {
    if (auto entries = member->objectValue()) {
      parameters.emplace();
      parameters->reserve(entries->size());
      for (const auto& entry : *entries) parameters->appendUnchecked(std::string(entry.key), anyValueFromNode(*entry.value));
    }
  }
  checkUnknownProperties(node, allowed, "Link", context);
  auto operationRef = optionalString(node, "operationRef");
  auto operationId = optionalString(node, "operationId");
  auto requestBody = optionalAnyValue(node, "requestBody");
  auto description = optionalString(node, "description");
  Shared<typename V::Server> server;
  if (const GenericNode* member = node["server"]) server = parseServer<V>(*member, context);
  return makeShared<typename V::Link>([&] { return typename V::Link{.location = locationOf(node),
                                                       .operationRef = std::move(operationRef),
                                                       .operationId = std::move(operationId),
                                                       .parameters = std::move(parameters),
                                                       .requestBody = std::move(requestBody),
                                                       .description = std::move(description),
                                                       .server = std::move(server),
                                                       .vendorExtensions = collectVendorExtensions(node)}; });
}

template Shared<Version30::MediaType> parseMediaType<Version30>(const GenericNode&, TransformContext&);
template Shared<Version31::MediaType> parseMediaType<Version31>(const GenericNode&, TransformContext&);
template Shared<Version30::Encoding> parseEncoding<Version30>(const GenericNode&, TransformContext&);
template Shared<Version31::Encoding> parseEncoding<Version31>(const GenericNode&, TransformContext&);
template Shared<Version30::Example> parseExample<Version30>(const GenericNode&, TransformContext&);
template Shared<Version31::Example> parseExample<Version31>(const GenericNode&, TransformContext&);
template Shared<Version30::Link> parseLink<Version30>(const GenericNode&, TransformContext&);
template Shared<Version31::Link> parseLink<Version31>(const GenericNode&, TransformContext&);

}  // namespace VoziZazIreTransform
