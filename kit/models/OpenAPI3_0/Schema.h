#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "kit/models/ModelCore.h"
#include "kit/models/OpenAPI3_0/SchemaOrBool.h"
#include "kit/models/OpenAPI3_0/SchemaType.h"

namespace VoziZazIreModels::OpenAPI3_0 {

struct Discriminator;
struct ExternalDocumentation;
struct XML;

// A schema of data; every schema-valued keyword holds a schema or a "$ref".
struct Schema {
  const LocationInfo location;
  const std::optional<SchemaType> type;  // one type only
  const std::optional<std::string> format;
  const std::optional<bool> nullable;
  const std::optional<std::string> title;
  const std::optional<std::string> description;
  const std::optional<AnyValue> default_;  // the "default" member
  const std::optional<std::vector<AnyValue>> enumValues;  // the "enum" member
  const std::optional<double> multipleOf;
  const std::optional<double> maximum;
  const std::optional<bool> exclusiveMaximum;  // true makes maximum exclusive
  const std::optional<double> minimum;
  const std::optional<bool> exclusiveMinimum;  // true makes minimum exclusive
  const std::optional<int64_t> maxLength;
  const std::optional<int64_t> minLength;
  const std::optional<std::string> pattern;
  const std::optional<int64_t> maxItems;
  const std::optional<int64_t> minItems;
  const std::optional<bool> uniqueItems;
  const std::optional<ReferenceOr<Schema>> items;
  const std::optional<int64_t> maxProperties;
  const std::optional<int64_t> minProperties;
  const std::optional<std::vector<std::string>> required;
  const std::optional<OrderedMap<ReferenceOr<Schema>>> properties;
  const std::optional<SchemaOrBool> additionalProperties;  // a schema or a boolean
  const std::optional<std::vector<ReferenceOr<Schema>>> allOf;
  const std::optional<std::vector<ReferenceOr<Schema>>> anyOf;
  const std::optional<std::vector<ReferenceOr<Schema>>> oneOf;
  const std::optional<ReferenceOr<Schema>> not_;  // the "not" member
  const std::optional<bool> readOnly;
  const std::optional<bool> writeOnly;
  const std::optional<bool> deprecated;
  const std::optional<AnyValue> example;
  const std::shared_ptr<const ExternalDocumentation> externalDocs;  // null when absent
  const std::shared_ptr<const Discriminator> discriminator;  // null when absent
  const std::shared_ptr<const XML> xml;  // null when absent
  const std::optional<OrderedMap<AnyValue>> vendorExtensions;  // the "x-" members
};

}  // namespace VoziZazIreModels::OpenAPI3_0

// The classes named above, included after the definition so that mutually nesting classes
// (path item, operation, callback; header, media type, encoding) may include each other.
#include "kit/models/OpenAPI3_0/Discriminator.h"
#include "kit/models/OpenAPI3_0/ExternalDocumentation.h"
#include "kit/models/OpenAPI3_0/XML.h"
