#include "kit/transform/SchemaReader.h"

#include "kit/transform/ObjectReading.h"

namespace VoziZazIreTransform {

using VoziZazIreCore::GenericNode;

template <class V>
Shared<typename V::Schema> parseSchema(const GenericNode& node, TransformContext&) {
  using Schema = typename V::Schema;
  if constexpr (V::is31) {
    return Shared<Schema>(new Schema{.location = locationOf(node), .type = {}, .format = {}, .title = {},
        .description = {}, .default_ = {}, .enumValues = {}, .const_ = {}, .multipleOf = {}, .maximum = {},
        .exclusiveMaximum = {}, .minimum = {}, .exclusiveMinimum = {}, .maxLength = {}, .minLength = {},
        .pattern = {}, .maxItems = {}, .minItems = {}, .uniqueItems = {}, .maxContains = {}, .minContains = {},
        .contains = {}, .items = {}, .prefixItems = {}, .unevaluatedItems = {}, .maxProperties = {},
        .minProperties = {}, .required = {}, .properties = {}, .patternProperties = {},
        .additionalProperties = {}, .propertyNames = {}, .unevaluatedProperties = {}, .dependentSchemas = {},
        .dependentRequired = {}, .allOf = {}, .anyOf = {}, .oneOf = {}, .not_ = {}, .if_ = {}, .then = {},
        .else_ = {}, .readOnly = {}, .writeOnly = {}, .deprecated = {}, .examples = {}, .externalDocs = {},
        .discriminator = {}, .contentMediaType = {}, .contentEncoding = {}, .contentSchema = {},
        .vendorExtensions = {}});
  } else {
    return Shared<Schema>(new Schema{.location = locationOf(node), .type = {}, .format = {}, .nullable = {},
        .title = {}, .description = {}, .default_ = {}, .enumValues = {}, .multipleOf = {}, .maximum = {},
        .exclusiveMaximum = {}, .minimum = {}, .exclusiveMinimum = {}, .maxLength = {}, .minLength = {},
        .pattern = {}, .maxItems = {}, .minItems = {}, .uniqueItems = {}, .items = {}, .maxProperties = {},
        .minProperties = {}, .required = {}, .properties = {}, .additionalProperties = {}, .allOf = {},
        .anyOf = {}, .oneOf = {}, .not_ = {}, .readOnly = {}, .writeOnly = {}, .deprecated = {},
        .example = {}, .externalDocs = {}, .discriminator = {}, .xml = {}, .vendorExtensions = {}});
  }
}

template <class V>
Shared<typename V::Discriminator> parseDiscriminator(const GenericNode& node, TransformContext&) {
  using Discriminator = typename V::Discriminator;
  std::string propertyName = requiredString(node, "propertyName", "discriminator");
  return Shared<Discriminator>(new Discriminator{
      .location = locationOf(node), .propertyName = std::move(propertyName), .mapping = {}, .vendorExtensions = {}});
}

Shared<VoziZazIreModels::OpenAPI3_0::XML> parseXML(const GenericNode& node, TransformContext&) {
  using VoziZazIreModels::OpenAPI3_0::XML;
  return Shared<XML>(new XML{.location = locationOf(node), .name = {}, .namespace_ = {}, .prefix = {},
                             .attribute = {}, .wrapped = {}, .vendorExtensions = {}});
}

template Shared<Version30::Schema> parseSchema<Version30>(const GenericNode&, TransformContext&);
template Shared<Version31::Schema> parseSchema<Version31>(const GenericNode&, TransformContext&);
template Shared<Version30::Discriminator> parseDiscriminator<Version30>(const GenericNode&, TransformContext&);
template Shared<Version31::Discriminator> parseDiscriminator<Version31>(const GenericNode&, TransformContext&);

}  // namespace VoziZazIreTransform
