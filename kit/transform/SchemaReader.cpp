#include "kit/transform/SchemaReader.h"

#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "kit/core/DiagnosticCode.h"
#include "kit/core/ValidationLevel.h"
#include "kit/transform/DocumentReaders.h"
#include "kit/transform/ObjectReading.h"
#include "kit/transform/SchemaBoundChecks.h"
#include "kit/transform/SchemaMembers.h"

namespace VoziZazIreTransform {

using VoziZazIreCore::AnyValue;
using VoziZazIreCore::DiagnosticCode;
using VoziZazIreCore::GenericNode;
using VoziZazIreCore::LocationInfo;
using VoziZazIreCore::OrderedMap;
using VoziZazIreCore::ReferenceOr;
using VoziZazIreCore::ValidationLevel;

namespace {

using Key = SchemaKey;

// What differs between the versions' schema models beyond the fields themselves.
template <class V>
struct SchemaTraits;

template <>
struct SchemaTraits<Version30> {
  using Type = VoziZazIreModels::OpenAPI3_0::SchemaType;
  using SchemaOrBool = VoziZazIreModels::OpenAPI3_0::SchemaOrBool;
  using ExclusiveBound = bool;  // true makes the bound exclusive
};

template <>
struct SchemaTraits<Version31> {
  using Type = VoziZazIreModels::SchemaTypeOrArray;
  using SchemaOrBool = VoziZazIreModels::SchemaOrBool;
  using ExclusiveBound = double;  // the exclusive bound itself
};

// The values of one schema while it is read. The reading order differs from the field order, so they are
// gathered here first; the holder lives on the heap so that every level of a deeply nested schema costs
// little stack.
template <class V>
struct SchemaParts {
  using Schema = typename V::Schema;
  using Ref = ReferenceOr<Schema>;
  using RefMap = OrderedMap<Ref>;
  using RefList = std::vector<Ref>;
  using Traits = SchemaTraits<V>;

  explicit SchemaParts(const GenericNode& node) : m(node) {}

  const SchemaMembers m;
  std::optional<typename Traits::Type> type;
  std::optional<bool> nullable;
  std::optional<RefMap> properties;
  std::optional<RefMap> patternProperties;
  std::optional<typename Traits::SchemaOrBool> additionalProperties;
  std::optional<Ref> items;
  std::optional<RefList> prefixItems, allOf, anyOf, oneOf;
  std::optional<Ref> not_, if_, then, else_;
  std::shared_ptr<const typename V::Discriminator> discriminator;
  std::shared_ptr<const typename V::ExternalDocumentation> externalDocs;
  std::shared_ptr<const VoziZazIreModels::OpenAPI3_0::XML> xml;
  std::optional<std::string> format, title, description, pattern, contentMediaType, contentEncoding;
  std::optional<AnyValue> default_, const_, example;
  std::optional<std::vector<AnyValue>> enumValues, examples;
  std::optional<double> multipleOf, maximum, minimum;
  std::optional<typename Traits::ExclusiveBound> exclusiveMaximum, exclusiveMinimum;
  std::optional<int64_t> maxLength, minLength, maxItems, minItems, maxContains, minContains, maxProperties,
      minProperties;
  std::optional<bool> uniqueItems, readOnly, writeOnly, deprecated;
  std::optional<Ref> contains, unevaluatedItems, propertyNames, unevaluatedProperties, contentSchema;
  std::optional<std::vector<std::string>> required;
  std::optional<RefMap> dependentSchemas;
  std::optional<OrderedMap<std::vector<std::string>>> dependentRequired;
};

// The schema keys allowed in each version.
template <class V>
const KeySet& schemaKeys() {
  if constexpr (V::is31) {
    static const KeySet keys = allowedKeySet(
        {"type", "properties", "additionalProperties", "items", "allOf", "anyOf", "oneOf", "not", "discriminator",
         "externalDocs", "format", "title", "description", "default", "enum", "const", "multipleOf", "maximum",
         "exclusiveMaximum", "minimum", "exclusiveMinimum", "maxLength", "minLength", "pattern", "maxItems",
         "minItems", "uniqueItems", "maxContains", "minContains", "contains", "prefixItems", "unevaluatedItems",
         "maxProperties", "minProperties", "required", "patternProperties", "propertyNames",
         "unevaluatedProperties", "dependentSchemas", "dependentRequired", "if", "then", "else", "readOnly",
         "writeOnly", "deprecated", "examples", "contentMediaType", "contentEncoding", "contentSchema",
         // OpenAPI 3.1 keeps "xml" and the deprecated "example" on schemas; they are not stored, but warning
         // about them would flag valid descriptions.
         "xml", "example"});
    return keys;
  } else {
    static const KeySet keys = allowedKeySet(
        {"type", "nullable", "properties", "additionalProperties", "items", "allOf", "anyOf", "oneOf", "not",
         "discriminator", "externalDocs", "xml", "format", "title", "description", "default", "enum", "multipleOf",
         "maximum", "exclusiveMaximum", "minimum", "exclusiveMinimum", "maxLength", "minLength", "pattern",
         "maxItems", "minItems", "uniqueItems", "maxProperties", "minProperties", "required", "readOnly",
         "writeOnly", "deprecated", "example"});
    return keys;
  }
}

void recordHigh(TransformContext& context, DiagnosticCode code, const std::string& text, const GenericNode& at) {
  context.recordCodedDiagnostic(code, text, std::string(at.jsonPointer()), at.range(), ValidationLevel::high);
}

std::optional<std::vector<AnyValue>> valueArrayOf(const GenericNode* member) {
  if (!member) return std::nullopt;
  auto elements = member->arrayValue();
  if (!elements) return std::nullopt;
  std::vector<AnyValue> values;
  values.reserve(elements->size());
  for (const GenericNode* element : *elements) values.push_back(anyValueFromNode(*element));
  return values;
}

// "type" of a 3.0 schema: one of six names, else SCH-TYPE.
std::optional<VoziZazIreModels::OpenAPI3_0::SchemaType> readType30(const SchemaMembers& m,
                                                                   TransformContext& context) {
  using VoziZazIreModels::OpenAPI3_0::SchemaType;
  const GenericNode* member = m[Key::type];
  if (!member) return std::nullopt;
  if (auto text = member->stringValue()) {
    if (auto type = VoziZazIreCore::fromRawValue<SchemaType>(*text)) return type;
    recordHigh(context, DiagnosticCode::schemaInvalidType,
               "Invalid schema type '" + std::string(*text) +
                   "'. Must be one of: string, number, integer, boolean, array, object",
               *member);
    return std::nullopt;
  }
  recordHigh(context, DiagnosticCode::schemaInvalidType, "Schema type must be a string in OpenAPI 3.0", *member);
  return std::nullopt;
}

// "type" of a 3.1 schema: one name, or a list of names in which a null element stands for "null".
std::optional<VoziZazIreModels::SchemaTypeOrArray> readType31(const SchemaMembers& m, TransformContext& context) {
  using VoziZazIreModels::SchemaType;
  using VoziZazIreModels::SchemaTypeOrArray;
  static constexpr std::string_view kNames = "string, number, integer, boolean, array, object, null";
  const GenericNode* member = m[Key::type];
  if (!member) return std::nullopt;
  if (auto text = member->stringValue()) {
    if (auto type = VoziZazIreCore::fromRawValue<SchemaType>(*text)) return SchemaTypeOrArray::single(*type);
    recordHigh(context, DiagnosticCode::schemaInvalidType,
               "Invalid schema type '" + std::string(*text) + "'. Must be one of: " + std::string(kNames), *member);
    return std::nullopt;
  }
  if (auto elements = member->arrayValue()) {
    std::vector<SchemaType> types;
    std::size_t index = 0;
    for (const GenericNode* element : *elements) {
      if (auto text = element->stringValue()) {
        if (auto type = VoziZazIreCore::fromRawValue<SchemaType>(*text)) {
          types.push_back(*type);
        } else {
          recordHigh(context, DiagnosticCode::schemaInvalidType,
                     "Invalid schema type '" + std::string(*text) + "' at index " + std::to_string(index) +
                         ". Must be one of: " + std::string(kNames),
                     *element);
        }
      } else if (element->isNull()) {
        types.push_back(SchemaType::null);
      } else {
        recordHigh(context, DiagnosticCode::schemaInvalidType,
                   "Schema type array element at index " + std::to_string(index) + " must be a string or null",
                   *element);
      }
      ++index;
    }
    if (types.empty()) return std::nullopt;
    return SchemaTypeOrArray::multiple(std::move(types));
  }
  recordHigh(context, DiagnosticCode::schemaInvalidType, "Schema type must be a string or array of strings", *member);
  return std::nullopt;
}

bool typeIncludesArray(const std::optional<VoziZazIreModels::OpenAPI3_0::SchemaType>& type) {
  return type == VoziZazIreModels::OpenAPI3_0::SchemaType::array;
}

bool typeIncludesArray(const std::optional<VoziZazIreModels::SchemaTypeOrArray>& type) {
  if (!type) return false;
  for (auto t : type->types())
    if (t == VoziZazIreModels::SchemaType::array) return true;
  return false;
}

// SCH-012: names in "required" that "properties" does not define. A schema that composes others, or that is
// itself part of a composition, is exempt, since the names may be defined by the other parts.
void checkRequiredInProperties(const SchemaMembers& m, bool withinComposition, TransformContext& context) {
  if (withinComposition || !context.recordsAtHigh()) return;
  if (m[Key::allOf] || m[Key::anyOf] || m[Key::oneOf]) return;
  const GenericNode* required = m[Key::required];
  const GenericNode* properties = m[Key::properties];
  if (!required || !properties) return;
  auto names = required->arrayValue();
  auto defined = properties->objectValue();
  if (!names || !defined) return;
  for (const GenericNode* name : *names) {
    auto text = name->stringValue();
    if (!text || defined->contains(*text)) continue;
    recordHigh(context, DiagnosticCode::schemaRequiredNotInProperties,
               "Required field '" + std::string(*text) + "' not found in properties", *name);
  }
}

// Nested schemas are read by recursion as deep as the node tree goes (the parsers bound it). Each reading step
// below is a function of its own, kept out of line, so that one level of nesting holds only the frames of the
// step that is descending, not the temporaries of every step of the schema.
template <class V>
Shared<typename V::Schema> readSchema(const GenericNode& node, TransformContext& context, bool withinComposition);

// A schema position: a "$ref" object becomes a reference (by the shared rule), anything else is read here.
template <class V>
[[gnu::noinline]] ReferenceOr<typename V::Schema> readSchemaOrReference(const GenericNode& node,
                                                                      TransformContext& context,
                                                                      bool withinComposition) {
  using Schema = typename V::Schema;
  if (const GenericNode* ref = node["$ref"]; ref && ref->stringValue())
    return parseReferenceOr<Schema>(node, context, [](const GenericNode&, TransformContext&) -> Shared<Schema> {
      return nullptr;  // not reached: the node is a reference
    });
  return ReferenceOr<Schema>(readSchema<V>(node, context, withinComposition));
}

template <class V>
[[gnu::noinline]] void readSchemaMember(const GenericNode* member, TransformContext& context, bool withinComposition,
                                        std::optional<ReferenceOr<typename V::Schema>>& out) {
  if (member) out.emplace(readSchemaOrReference<V>(*member, context, withinComposition));
}

// A map of schemas ("x-" names are entries like any other); absent unless the member is an object.
template <class V>
[[gnu::noinline]] void readSchemaMap(const GenericNode* member, TransformContext& context, bool withinComposition,
                                     std::optional<OrderedMap<ReferenceOr<typename V::Schema>>>& out) {
  if (!member) return;
  auto entries = member->objectValue();
  if (!entries) return;
  auto& map = out.emplace();
  map.reserve(entries->size());
  for (const auto& entry : *entries)
    map.appendUnchecked(std::string(entry.key), readSchemaOrReference<V>(*entry.value, context, withinComposition));
}

// A list of schemas in order; absent unless the member is an array.
template <class V>
[[gnu::noinline]] void readSchemaList(const GenericNode* member, TransformContext& context, bool withinComposition,
                                      std::optional<std::vector<ReferenceOr<typename V::Schema>>>& out) {
  if (!member) return;
  auto elements = member->arrayValue();
  if (!elements) return;
  auto& list = out.emplace();
  list.reserve(elements->size());
  for (const GenericNode* element : *elements)
    list.push_back(readSchemaOrReference<V>(*element, context, withinComposition));
}

template <class V>
[[gnu::noinline]] void readAdditionalProperties(TransformContext& context, bool withinComposition, SchemaParts<V>& p) {
  using SchemaOrBool = typename SchemaTraits<V>::SchemaOrBool;
  const GenericNode* member = p.m[Key::additionalProperties];
  if (!member) return;
  if (auto flag = member->boolValue()) {
    p.additionalProperties.emplace(SchemaOrBool::bool_(*flag));
  } else {
    p.additionalProperties.emplace(SchemaOrBool::schema(readSchemaOrReference<V>(*member, context, withinComposition)));
  }
}

[[gnu::noinline]] void readDependentRequired(const GenericNode* member,
                                             std::optional<OrderedMap<std::vector<std::string>>>& out) {
  if (!member) return;
  auto entries = member->objectValue();
  if (!entries) return;
  auto& map = out.emplace();
  map.reserve(entries->size());
  for (const auto& entry : *entries) {
    std::vector<std::string> names;
    if (auto elements = entry.value->arrayValue())
      for (const GenericNode* element : *elements)
        if (auto text = element->stringValue()) names.emplace_back(*text);
    map.appendUnchecked(std::string(entry.key), std::move(names));
  }
}

// Steps up to the bound checks: "type", 3.0 "nullable", then the bounds of this node.
template <class V>
[[gnu::noinline]] void readTypeAndBounds(TransformContext& context, SchemaParts<V>& p) {
  if constexpr (V::is31) {
    p.type = readType31(p.m, context);
  } else {
    p.type = readType30(p.m, context);
    p.nullable = parseBooleanMember(p.m[Key::nullable], "nullable", "Schema", context);
  }
  checkSchemaBounds<V>(p.m, context);
}

// "discriminator", "externalDocs", 3.0 "xml" (their errors end the read), then the unknown members.
template <class V>
[[gnu::noinline]] void readAttachedObjects(TransformContext& context, SchemaParts<V>& p) {
  if (const GenericNode* member = p.m[Key::discriminator]) p.discriminator = parseDiscriminator<V>(*member, context);
  if (const GenericNode* member = p.m[Key::externalDocs]) p.externalDocs = parseExternalDocs<V>(*member, context);
  if constexpr (!V::is31) {
    if (const GenericNode* member = p.m[Key::xml]) p.xml = parseXML(*member, context);
  }
  checkUnknownProperties(p.m.node(), schemaKeys<V>(), "Schema", context);
}

// The members that can give no finding; the order among them does not show.
template <class V>
[[gnu::noinline]] void readPlainValues(SchemaParts<V>& p) {
  p.format = stringOf(p.m[Key::format]);
  p.title = stringOf(p.m[Key::title]);
  p.description = stringOf(p.m[Key::description]);
  p.default_ = anyValueOf(p.m[Key::default_]);
  p.enumValues = valueArrayOf(p.m[Key::enum_]);
  p.multipleOf = numberOf(p.m[Key::multipleOf]);
  p.maximum = numberOf(p.m[Key::maximum]);
  p.minimum = numberOf(p.m[Key::minimum]);
  p.maxLength = integerOf(p.m[Key::maxLength]);
  p.minLength = integerOf(p.m[Key::minLength]);
  p.pattern = stringOf(p.m[Key::pattern]);
  p.maxItems = integerOf(p.m[Key::maxItems]);
  p.minItems = integerOf(p.m[Key::minItems]);
  p.maxProperties = integerOf(p.m[Key::maxProperties]);
  p.minProperties = integerOf(p.m[Key::minProperties]);
  p.required = stringArrayOf(p.m[Key::required]);
  if constexpr (V::is31) {
    p.const_ = anyValueOf(p.m[Key::const_]);
    p.exclusiveMaximum = numberOf(p.m[Key::exclusiveMaximum]);
    p.exclusiveMinimum = numberOf(p.m[Key::exclusiveMinimum]);
    p.maxContains = integerOf(p.m[Key::maxContains]);
    p.minContains = integerOf(p.m[Key::minContains]);
    readDependentRequired(p.m[Key::dependentRequired], p.dependentRequired);
    p.examples = valueArrayOf(p.m[Key::examples]);
    p.contentMediaType = stringOf(p.m[Key::contentMediaType]);
    p.contentEncoding = stringOf(p.m[Key::contentEncoding]);
  } else {
    p.example = anyValueOf(p.m[Key::example]);
  }
}

// The boolean members that come before the nested schemas of the last step (3.0: all of them).
template <class V>
[[gnu::noinline]] void readLeadingFlags(TransformContext& context, SchemaParts<V>& p) {
  if constexpr (!V::is31) {
    p.exclusiveMaximum = parseBooleanMember(p.m[Key::exclusiveMaximum], "exclusiveMaximum", "Schema", context);
    p.exclusiveMinimum = parseBooleanMember(p.m[Key::exclusiveMinimum], "exclusiveMinimum", "Schema", context);
  }
  p.uniqueItems = parseBooleanMember(p.m[Key::uniqueItems], "uniqueItems", "Schema", context);
  if constexpr (!V::is31) {
    p.readOnly = parseBooleanMember(p.m[Key::readOnly], "readOnly", "Schema", context);
    p.writeOnly = parseBooleanMember(p.m[Key::writeOnly], "writeOnly", "Schema", context);
    p.deprecated = parseBooleanMember(p.m[Key::deprecated], "deprecated", "Schema", context);
  }
}

[[gnu::noinline]] void readTrailingFlags(TransformContext& context, SchemaParts<Version31>& p) {
  p.readOnly = parseBooleanMember(p.m[Key::readOnly], "readOnly", "Schema", context);
  p.writeOnly = parseBooleanMember(p.m[Key::writeOnly], "writeOnly", "Schema", context);
  p.deprecated = parseBooleanMember(p.m[Key::deprecated], "deprecated", "Schema", context);
}

template <class V>
[[gnu::noinline]] Shared<typename V::Schema> buildSchema(const GenericNode& node, SchemaParts<V>& p) {
  using Schema = typename V::Schema;
  if constexpr (V::is31) {
    return makeShared<Schema>([&] { return Schema{
        .location = locationOf(node),
        .type = std::move(p.type),
        .uniqueItems = p.uniqueItems,
        .readOnly = p.readOnly,
        .writeOnly = p.writeOnly,
        .deprecated = p.deprecated,
        .format = std::move(p.format),
        .title = std::move(p.title),
        .description = std::move(p.description),
        .default_ = std::move(p.default_),
        .enumValues = std::move(p.enumValues),
        .const_ = std::move(p.const_),
        .multipleOf = p.multipleOf,
        .maximum = p.maximum,
        .exclusiveMaximum = p.exclusiveMaximum,
        .minimum = p.minimum,
        .exclusiveMinimum = p.exclusiveMinimum,
        .maxLength = p.maxLength,
        .minLength = p.minLength,
        .pattern = std::move(p.pattern),
        .maxItems = p.maxItems,
        .minItems = p.minItems,
        .maxContains = p.maxContains,
        .minContains = p.minContains,
        .contains = std::move(p.contains),
        .items = std::move(p.items),
        .prefixItems = std::move(p.prefixItems),
        .unevaluatedItems = std::move(p.unevaluatedItems),
        .maxProperties = p.maxProperties,
        .minProperties = p.minProperties,
        .required = std::move(p.required),
        .properties = std::move(p.properties),
        .patternProperties = std::move(p.patternProperties),
        .additionalProperties = std::move(p.additionalProperties),
        .propertyNames = std::move(p.propertyNames),
        .unevaluatedProperties = std::move(p.unevaluatedProperties),
        .dependentSchemas = std::move(p.dependentSchemas),
        .dependentRequired = std::move(p.dependentRequired),
        .allOf = std::move(p.allOf),
        .anyOf = std::move(p.anyOf),
        .oneOf = std::move(p.oneOf),
        .not_ = std::move(p.not_),
        .if_ = std::move(p.if_),
        .then = std::move(p.then),
        .else_ = std::move(p.else_),
        .examples = std::move(p.examples),
        .externalDocs = std::move(p.externalDocs),
        .discriminator = std::move(p.discriminator),
        .contentMediaType = std::move(p.contentMediaType),
        .contentEncoding = std::move(p.contentEncoding),
        .contentSchema = std::move(p.contentSchema),
        .vendorExtensions = collectVendorExtensions(node)}; });
  } else {
    return makeShared<Schema>([&] { return Schema{
        .location = locationOf(node),
        .type = p.type,
        .nullable = p.nullable,
        .exclusiveMaximum = p.exclusiveMaximum,
        .exclusiveMinimum = p.exclusiveMinimum,
        .uniqueItems = p.uniqueItems,
        .readOnly = p.readOnly,
        .writeOnly = p.writeOnly,
        .deprecated = p.deprecated,
        .format = std::move(p.format),
        .title = std::move(p.title),
        .description = std::move(p.description),
        .default_ = std::move(p.default_),
        .enumValues = std::move(p.enumValues),
        .multipleOf = p.multipleOf,
        .maximum = p.maximum,
        .minimum = p.minimum,
        .maxLength = p.maxLength,
        .minLength = p.minLength,
        .pattern = std::move(p.pattern),
        .maxItems = p.maxItems,
        .minItems = p.minItems,
        .items = std::move(p.items),
        .maxProperties = p.maxProperties,
        .minProperties = p.minProperties,
        .required = std::move(p.required),
        .properties = std::move(p.properties),
        .additionalProperties = std::move(p.additionalProperties),
        .allOf = std::move(p.allOf),
        .anyOf = std::move(p.anyOf),
        .oneOf = std::move(p.oneOf),
        .not_ = std::move(p.not_),
        .example = std::move(p.example),
        .externalDocs = std::move(p.externalDocs),
        .discriminator = std::move(p.discriminator),
        .xml = std::move(p.xml),
        .vendorExtensions = collectVendorExtensions(node)}; });
  }
}

template <class V>
Shared<typename V::Schema> readSchema(const GenericNode& node, TransformContext& context, bool withinComposition) {
  auto parts = std::make_unique<SchemaParts<V>>(node);
  SchemaParts<V>& p = *parts;
  const bool within = withinComposition;
  const bool composing = true;  // members of allOf, anyOf and oneOf are parts of a composition

  readTypeAndBounds<V>(context, p);
  readSchemaMap<V>(p.m[Key::properties], context, within, p.properties);
  if constexpr (V::is31) {
    checkRequiredInProperties(p.m, within, context);
    readSchemaMap<V>(p.m[Key::patternProperties], context, within, p.patternProperties);
  }
  readAdditionalProperties<V>(context, within, p);
  readSchemaMember<V>(p.m[Key::items], context, within, p.items);
  if (typeIncludesArray(p.type) && !p.items)
    recordHigh(context, DiagnosticCode::schemaArrayWithoutItems, "Schema with type 'array' must have 'items' defined",
               node);
  if constexpr (V::is31) {
    readSchemaList<V>(p.m[Key::prefixItems], context, within, p.prefixItems);
  } else {
    checkRequiredInProperties(p.m, within, context);
  }
  readSchemaList<V>(p.m[Key::allOf], context, composing, p.allOf);
  readSchemaList<V>(p.m[Key::anyOf], context, composing, p.anyOf);
  readSchemaList<V>(p.m[Key::oneOf], context, composing, p.oneOf);
  readSchemaMember<V>(p.m[Key::not_], context, within, p.not_);
  if constexpr (V::is31) {
    readSchemaMember<V>(p.m[Key::if_], context, within, p.if_);
    readSchemaMember<V>(p.m[Key::then], context, within, p.then);
    readSchemaMember<V>(p.m[Key::else_], context, within, p.else_);
  }
  readAttachedObjects<V>(context, p);

  readPlainValues<V>(p);
  readLeadingFlags<V>(context, p);
  if constexpr (V::is31) {
    readSchemaMember<V>(p.m[Key::contains], context, within, p.contains);
    readSchemaMember<V>(p.m[Key::unevaluatedItems], context, within, p.unevaluatedItems);
    readSchemaMember<V>(p.m[Key::propertyNames], context, within, p.propertyNames);
    readSchemaMember<V>(p.m[Key::unevaluatedProperties], context, within, p.unevaluatedProperties);
    readSchemaMap<V>(p.m[Key::dependentSchemas], context, within, p.dependentSchemas);
    readTrailingFlags(context, p);
    readSchemaMember<V>(p.m[Key::contentSchema], context, within, p.contentSchema);
  }
  return buildSchema<V>(node, p);
}

}  // namespace

template <class V>
Shared<typename V::Schema> parseSchema(const GenericNode& node, TransformContext& context) {
  return readSchema<V>(node, context, false);
}

template <class V>
Shared<typename V::Discriminator> parseDiscriminator(const GenericNode& node, TransformContext& context) {
  using Discriminator = typename V::Discriminator;
  static const KeySet keys = allowedKeySet({"propertyName", "mapping"});
  std::string propertyName = requiredString(node, "propertyName", "discriminator");
  std::optional<OrderedMap<std::string>> mapping;
  if (const GenericNode* member = node["mapping"]) {
    if (auto entries = member->objectValue()) {
      mapping.emplace();
      for (const auto& entry : *entries)
        if (auto text = entry.value->stringValue()) mapping->appendUnchecked(std::string(entry.key), std::string(*text));
    }
  }
  checkUnknownProperties(node, keys, "Discriminator", context);
  return makeShared<Discriminator>([&] { return Discriminator{.location = locationOf(node),
                                                 .propertyName = std::move(propertyName),
                                                 .mapping = std::move(mapping),
                                                 .vendorExtensions = collectVendorExtensions(node)}; });
}

Shared<VoziZazIreModels::OpenAPI3_0::XML> parseXML(const GenericNode& node, TransformContext& context) {
  using VoziZazIreModels::OpenAPI3_0::XML;
  static const KeySet keys = allowedKeySet({"name", "namespace", "prefix", "attribute", "wrapped"});
  checkUnknownProperties(node, keys, "XML", context);
  auto name = optionalString(node, "name");
  auto namespace_ = optionalString(node, "namespace");
  auto prefix = optionalString(node, "prefix");
  auto attribute = parseBooleanField("attribute", node, "XML", context);
  auto wrapped = parseBooleanField("wrapped", node, "XML", context);
  return makeShared<XML>([&] { return XML{.location = locationOf(node),
                             .name = std::move(name),
                             .namespace_ = std::move(namespace_),
                             .prefix = std::move(prefix),
                             .attribute = attribute,
                             .wrapped = wrapped,
                             .vendorExtensions = collectVendorExtensions(node)}; });
}

template Shared<Version30::Schema> parseSchema<Version30>(const GenericNode&, TransformContext&);
template Shared<Version31::Schema> parseSchema<Version31>(const GenericNode&, TransformContext&);
template Shared<Version30::Discriminator> parseDiscriminator<Version30>(const GenericNode&, TransformContext&);
template Shared<Version31::Discriminator> parseDiscriminator<Version31>(const GenericNode&, TransformContext&);

}  // namespace VoziZazIreTransform
