#include "kit/core/TransformError.h"
#include "kit/transform/ContentReaders.h"
#include "kit/transform/ObjectReading.h"
#include "kit/transform/SchemaReader.h"

namespace VoziZazIreTransform {

using VoziZazIreCore::DiagnosticCode;
using VoziZazIreCore::DiagnosticSeverity;
using VoziZazIreCore::GenericNode;
using VoziZazIreCore::OrderedMap;
using VoziZazIreCore::ReferenceOr;
using VoziZazIreModels::ParameterLocation;
using VoziZazIreModels::ParameterStyle;

namespace {

// What a parameter and a header share, read in this order: schema, examples, content, style.
template <class V>
struct Serialisation {
  std::optional<ReferenceOr<typename V::Schema>> schema;
  std::optional<OrderedMap<ReferenceOr<typename V::Example>>> examples;
  std::optional<OrderedMap<Shared<typename V::MediaType>>> content;
  std::optional<ParameterStyle> style;
};

// `styleCode` and `styleObject` name the finding for an unknown style ("parameter" or "header").
template <class V>
Serialisation<V> readSerialisation(const GenericNode& node, TransformContext& context, DiagnosticCode styleCode,
                                   std::string_view styleObject) {
  Serialisation<V> out;
  if (const GenericNode* member = node["schema"])
    out.schema = parseReferenceOr<typename V::Schema>(*member, context, parseSchema<V>);
  out.examples = parseMapOf(node, "examples", context, [](const GenericNode& entry, TransformContext& ctx) {
    return parseReferenceOr<typename V::Example>(entry, ctx, parseExample<V>);
  });
  out.content = parseMapOf(node, "content", context, parseMediaType<V>);
  if (const GenericNode* member = node["style"]) {
    if (auto text = member->stringValue()) {
      out.style = VoziZazIreCore::fromRawValue<ParameterStyle>(*text);
      if (!out.style && context.recordsAtHigh()) {
        std::string message = "Invalid ";
        message += styleObject;
        message += " style '";
        message += *text;
        message += "'. Must be one of: matrix, label, form, simple, spaceDelimited, pipeDelimited, deepObject";
        context.record(DiagnosticSeverity::error, styleCode, message, std::string(member->jsonPointer()),
                       member->range());
      }
    }
  }
  return out;
}

void recordParameterFinding(TransformContext& context, DiagnosticSeverity severity, DiagnosticCode code,
                            const std::string& text, const GenericNode& node) {
  context.record(severity, code, text, std::string(node.jsonPointer()), node.range());
}

}  // namespace

template <class V>
Shared<typename V::Parameter> parseParameter(const GenericNode& node, TransformContext& context,
                                             const PathTemplateNames& pathTemplateNames) {
  static const KeySet allowed =
      allowedKeySet({"name", "in", "required", "schema", "examples", "content", "style", "description", "deprecated",
                     "allowEmptyValue", "explode", "allowReserved", "example"});

  std::string name = requiredString(node, "name", "parameter");
  std::optional<ParameterLocation> in;
  if (const GenericNode* member = node["in"])
    if (auto text = member->stringValue()) in = VoziZazIreCore::fromRawValue<ParameterLocation>(*text);
  if (!in)
    throw VoziZazIreCore::TransformError("Missing or invalid 'in' field in parameter", std::string(node.jsonPointer()),
                                         node.range());

  auto required = parseBooleanField("required", node, "Parameter", context);
  // 3.1 reads "allowEmptyValue" right after "required", so that its GEN-002 comes before PRM-001.
  std::optional<bool> allowEmptyValue;
  if constexpr (V::is31) allowEmptyValue = parseBooleanField("allowEmptyValue", node, "Parameter", context);

  if (context.recordsAtHigh()) {
    if (*in == ParameterLocation::path && required != true)
      recordParameterFinding(context, DiagnosticSeverity::error, DiagnosticCode::paramPathMustBeRequired,
                             "Path parameter '" + name + "' must have required: true", node);
    if constexpr (V::is31) {
      if (*in == ParameterLocation::path && !pathTemplateNames.empty() && !pathTemplateNames.contains(name))
        recordParameterFinding(context, DiagnosticSeverity::error, DiagnosticCode::paramNameNotInPath,
                               "Path parameter '" + name + "' not found in path template", node);
      if (allowEmptyValue == true && *in != ParameterLocation::query)
        recordParameterFinding(context, DiagnosticSeverity::warning, DiagnosticCode::paramAllowEmptyValueOnlyQuery,
                               "allowEmptyValue is only valid for query parameters", node);
    }
  }

  auto serialisation = readSerialisation<V>(node, context, DiagnosticCode::paramInvalidStyle, "parameter");
  checkUnknownProperties(node, allowed, "Parameter", context);
  auto description = optionalString(node, "description");
  auto deprecated = parseBooleanField("deprecated", node, "Parameter", context);
  if constexpr (!V::is31) allowEmptyValue = parseBooleanField("allowEmptyValue", node, "Parameter", context);
  auto explode = parseBooleanField("explode", node, "Parameter", context);
  auto allowReserved = parseBooleanField("allowReserved", node, "Parameter", context);
  auto example = optionalAnyValue(node, "example");

  return makeShared<typename V::Parameter>([&] { return typename V::Parameter{.location = locationOf(node),
                                                                 .name = std::move(name),
                                                                 .in = *in,
                                                                 .required = required,
                                                                 .deprecated = deprecated,
                                                                 .allowEmptyValue = allowEmptyValue,
                                                                 .style = serialisation.style,
                                                                 .explode = explode,
                                                                 .allowReserved = allowReserved,
                                                                 .description = std::move(description),
                                                                 .schema = std::move(serialisation.schema),
                                                                 .example = std::move(example),
                                                                 .examples = std::move(serialisation.examples),
                                                                 .content = std::move(serialisation.content),
                                                                 .vendorExtensions = collectVendorExtensions(node)}; });
}

template <class V>
Shared<typename V::Header> parseHeader(const GenericNode& node, TransformContext& context) {
  // 3.1 headers know no "allowEmptyValue".
  static const KeySet allowed =
      V::is31 ? allowedKeySet({"schema", "examples", "content", "style", "description", "required", "deprecated",
                               "explode", "allowReserved", "example"})
              : allowedKeySet({"schema", "examples", "content", "style", "description", "required", "deprecated",
                               "allowEmptyValue", "explode", "allowReserved", "example"});

  auto serialisation = readSerialisation<V>(node, context, DiagnosticCode::headerInvalidStyle, "header");
  checkUnknownProperties(node, allowed, "Header", context);
  auto description = optionalString(node, "description");
  auto required = parseBooleanField("required", node, "Header", context);
  auto deprecated = parseBooleanField("deprecated", node, "Header", context);
  if constexpr (V::is31) {
    auto explode = parseBooleanField("explode", node, "Header", context);
    auto allowReserved = parseBooleanField("allowReserved", node, "Header", context);
    auto example = optionalAnyValue(node, "example");
    return makeShared<typename V::Header>([&] { return typename V::Header{.location = locationOf(node),
                                                             .required = required,
                                                             .deprecated = deprecated,
                                                             .style = serialisation.style,
                                                             .explode = explode,
                                                             .allowReserved = allowReserved,
                                                             .description = std::move(description),
                                                             .schema = std::move(serialisation.schema),
                                                             .example = std::move(example),
                                                             .examples = std::move(serialisation.examples),
                                                             .content = std::move(serialisation.content),
                                                             .vendorExtensions = collectVendorExtensions(node)}; });
  } else {
    auto allowEmptyValue = parseBooleanField("allowEmptyValue", node, "Header", context);
    auto explode = parseBooleanField("explode", node, "Header", context);
    auto allowReserved = parseBooleanField("allowReserved", node, "Header", context);
    auto example = optionalAnyValue(node, "example");
    return makeShared<typename V::Header>([&] { return typename V::Header{.location = locationOf(node),
                                                             .required = required,
                                                             .deprecated = deprecated,
                                                             .allowEmptyValue = allowEmptyValue,
                                                             .style = serialisation.style,
                                                             .explode = explode,
                                                             .allowReserved = allowReserved,
                                                             .description = std::move(description),
                                                             .schema = std::move(serialisation.schema),
                                                             .example = std::move(example),
                                                             .examples = std::move(serialisation.examples),
                                                             .content = std::move(serialisation.content),
                                                             .vendorExtensions = collectVendorExtensions(node)}; });
  }
}

template Shared<Version30::Parameter> parseParameter<Version30>(const GenericNode&, TransformContext&,
                                                                const PathTemplateNames&);
template Shared<Version31::Parameter> parseParameter<Version31>(const GenericNode&, TransformContext&,
                                                                const PathTemplateNames&);
template Shared<Version30::Header> parseHeader<Version30>(const GenericNode&, TransformContext&);
template Shared<Version31::Header> parseHeader<Version31>(const GenericNode&, TransformContext&);

}  // namespace VoziZazIreTransform
