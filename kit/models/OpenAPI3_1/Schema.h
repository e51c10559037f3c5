#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "kit/core/CompactOptional.h"
#include "kit/models/ModelCore.h"
#include "kit/models/SchemaOrBool.h"
#include "kit/models/SchemaTypeOrArray.h"

namespace VoziZazIreModels::OpenAPI3_1 {

struct Discriminator;
struct ExternalDocumentation;

// A schema of data; every schema-valued keyword holds a schema or a "$ref". A description holds
// thousands of them, mostly sparse: the optional members are one pointer wide (CompactOptional, on the
// heap only when present) and the two-byte ones sit together after `type`, sharing one word.
struct Schema {
  const LocationInfo location;
  const CompactOptional<SchemaTypeOrArray> type;  // one type or a list of types
  const std::optional<bool> uniqueItems;
  const std::optional<bool> readOnly;
  const std::optional<bool> writeOnly;
  const std::optional<bool> deprecated;
  const CompactOptional<std::string> format;
  const CompactOptional<std::string> title;
  const CompactOptional<std::string> description;
  const CompactOptional<AnyValue> default_;  // the "default" member
  const CompactOptional<std::vector<AnyValue>> enumValues;  // the "enum" member
  const CompactOptional<AnyValue> const_;  // the "const" member
  const CompactOptional<double> multipleOf;
  const CompactOptional<double> maximum;
  const CompactOptional<double> exclusiveMaximum;  // the exclusive upper bound itself
  const CompactOptional<double> minimum;
  const CompactOptional<double> exclusiveMinimum;  // the exclusive lower bound itself
  const CompactOptional<int64_t> maxLength;
  const CompactOptional<int64_t> minLength;
  const CompactOptional<std::string> pattern;
  const CompactOptional<int64_t> maxItems;
  const CompactOptional<int64_t> minItems;
  const CompactOptional<int64_t> maxContains;
  const CompactOptional<int64_t> minContains;
  const CompactOptional<ReferenceOr<Schema>> contains;
  const CompactOptional<ReferenceOr<Schema>> items;
  const CompactOptional<std::vector<ReferenceOr<Schema>>> prefixItems;
  const CompactOptional<ReferenceOr<Schema>> unevaluatedItems;
  const CompactOptional<int64_t> maxProperties;
  const CompactOptional<int64_t> minProperties;
  const CompactOptional<std::vector<std::string>> required;
  const CompactOptional<OrderedMap<ReferenceOr<Schema>>> properties;
  const CompactOptional<OrderedMap<ReferenceOr<Schema>>> patternProperties;
  const CompactOptional<SchemaOrBool> additionalProperties;  // a schema or a boolean
  const CompactOptional<ReferenceOr<Schema>> propertyNames;
  const CompactOptional<ReferenceOr<Schema>> unevaluatedProperties;
  const CompactOptional<OrderedMap<ReferenceOr<Schema>>> dependentSchemas;
  // property name -> the names it makes required
  const CompactOptional<OrderedMap<std::vector<std::string>>> dependentRequired;
  const CompactOptional<std::vector<ReferenceOr<Schema>>> allOf;
  const CompactOptional<std::vector<ReferenceOr<Schema>>> anyOf;
  const CompactOptional<std::vector<ReferenceOr<Schema>>> oneOf;
  const CompactOptional<ReferenceOr<Schema>> not_;  // the "not" member
  const CompactOptional<ReferenceOr<Schema>> if_;  // the "if" member
  const CompactOptional<ReferenceOr<Schema>> then;
  const CompactOptional<ReferenceOr<Schema>> else_;  // the "else" member
  const CompactOptional<std::vector<AnyValue>> examples;
  const std::shared_ptr<const ExternalDocumentation> externalDocs;  // null when absent
  const std::shared_ptr<const Discriminator> discriminator;  // null when absent
  const CompactOptional<std::string> contentMediaType;
  const CompactOptional<std::string> contentEncoding;
  const CompactOptional<ReferenceOr<Schema>> contentSchema;
  const CompactOptional<OrderedMap<AnyValue>> vendorExtensions;  // the "x-" members
};

}  // namespace VoziZazIreModels::OpenAPI3_1

// The classes named above, included after the definition so that mutually nesting classes
// (path item, operation, callback; header, media type, encoding) may include each other.
#include "kit/models/OpenAPI3_1/Discriminator.h"
#include "kit/models/OpenAPI3_1/ExternalDocumentation.h"
