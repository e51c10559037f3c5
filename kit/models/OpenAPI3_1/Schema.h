#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "kit/models/ModelCore.h"
#include "kit/models/SchemaOrBool.h"
#include "kit/models/SchemaTypeOrArray.h"

namespace VoziZazIreModels::OpenAPI3_1 {

struct Discriminator;
struct ExternalDocumentation;

// A schema of data; every schema-valued keyword holds a schema or a "$ref".
struct Schema {
  const LocationInfo location;
  const std::optional<SchemaTypeOrArray> type;  // one type or a list of types
  const std::optional<std::string> format;
  const std::optional<std::string> title;
  const std::optional<std::string> description;
  const std::optional<AnyValue> default_;  // the "default" member
  const std::optional<std::vector<AnyValue>> enumValues;  // the "enum" member
  const std::optional<AnyValue> const_;  // the "const" member
  const std::optional<double> multipleOf;
  const std::optional<double> maximum;
  const std::optional<double> exclusiveMaximum;  // the exclusive upper bound itself
  const std::optional<double> minimum;
  const std::optional<double> exclusiveMinimum;  // the exclusive lower bound itself
  const std::optional<int64_t> maxLength;
  const std::optional<int64_t> minLength;
  const std::optional<std::string> pattern;
  const std::optional<int64_t> maxItems;
  const std::optional<int64_t> minItems;
  const std::optional<bool> uniqueItems;
  const std::optional<int64_t> maxContains;
  const std::optional<int64_t> minContains;
  const std::optional<ReferenceOr<Schema>> contains;
  const std::optional<ReferenceOr<Schema>> items;
  const std::optional<std::vector<ReferenceOr<Schema>>> prefixItems;
  const std::optional<ReferenceOr<Schema>> unevaluatedItems;
  const std::optional<int64_t> maxProperties;
  const std::optional<int64_t> minProperties;
  const std::optional<std::vector<std::string>> required;
  const std::optional<OrderedMap<ReferenceOr<Schema>>> properties;
  const std::optional<OrderedMap<ReferenceOr<Schema>>> patternProperties;
  const std::optional<SchemaOrBool> additionalProperties;  // a schema or a boolean
  const std::optional<ReferenceOr<Schema>> propertyNames;
  const std::optional<ReferenceOr<Schema>> unevaluatedProperties;
  const std::optional<OrderedMap<ReferenceOr<Schema>>> dependentSchemas;
  // property name -> the names it makes required
  const std::optional<OrderedMap<std::vector<std::string>>> dependentRequired;
  const std::optional<std::vector<ReferenceOr<Schema>>> allOf;
  const std::optional<std::vector<ReferenceOr<Schema>>> anyOf;
  const std::optional<std::vector<ReferenceOr<Schema>>> oneOf;
  const std::optional<ReferenceOr<Schema>> not_;  // the "not" member
  const std::optional<ReferenceOr<Schema>> if_;  // the "if" member
  const std::optional<ReferenceOr<Schema>> then;
  const std::optional<ReferenceOr<Schema>> else_;  // the "else" member
  const std::optional<bool> readOnly;
  const std::optional<bool> writeOnly;
  const std::optional<bool> deprecated;
  const std::optional<std::vector<AnyValue>> examples;
  const std::shared_ptr<const ExternalDocumentation> externalDocs;  // null when absent
  const std::shared_ptr<const Discriminator> discriminator;  // null when absent
  const std::optional<std::string> contentMediaType;
  const std::optional<std::string> contentEncoding;
  const std::optional<ReferenceOr<Schema>> contentSchema;
  const std::optional<OrderedMap<AnyValue>> vendorExtensions;  // the "x-" members
};

}  // namespace VoziZazIreModels::OpenAPI3_1

// The classes named above, included after the definition so that mutually nesting classes
// (path item, operation, callback; header, media type, encoding) may include each other.
#include "kit/models/OpenAPI3_1/Discriminator.h"
#include "kit/models/OpenAPI3_1/ExternalDocumentation.h"
