#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "kit/core/CompactOptional.h"
#include "kit/models/ModelCore.h"
#include "kit/models/OpenAPI3_0/SchemaOrBool.h"
#include "kit/models/OpenAPI3_0/SchemaType.h"

namespace VoziZazIreModels::OpenAPI3_0 {

struct Discriminator;
struct ExternalDocumentation;
struct XML;

// A schema of data; every schema-valued keyword holds a schema or a "$ref". A description holds
// thousands of them, mostly sparse: the optional members are one pointer wide (CompactOptional, on the
// heap only when present) and the two-byte ones sit together after `type`, sharing one word.
struct Schema {
  const LocationInfo location;
  const std::optional<SchemaType> type;  // one type only
  const std::optional<bool> nullable;
  const std::optional<bool> exclusiveMaximum;  // true makes maximum exclusive
  const std::optional<bool> exclusiveMinimum;  // true makes minimum exclusive
  const std::optional<bool> uniqueItems;
  const std::optional<bool> readOnly;
  const std::optional<bool> writeOnly;
  const std::optional<bool> deprecated;
  const CompactOptional<std::string> format;
  const CompactOptional<std::string> title;
  const CompactOptional<std::string> description;
  const CompactOptional<AnyValue> default_;  // the "default" member
  const CompactOptional<std::vector<AnyValue>> enumValues;  // the "enum" member
  const CompactOptional<double> multipleOf;
  const CompactOptional<double> maximum;
  const CompactOptional<double> minimum;
  const CompactOptional<int64_t> maxLength;
  const CompactOptional<int64_t> minLength;
  const CompactOptional<std::string> pattern;
  const CompactOptional<int64_t> maxItems;
  const CompactOptional<int64_t> minItems;
  const CompactOptional<ReferenceOr<Schema>> items;
  const CompactOptional<int64_t> maxProperties;
  const CompactOptional<int64_t> minProperties;
  const CompactOptional<std::vector<std::string>> required;
  const CompactOptional<OrderedMap<ReferenceOr<Schema>>> properties;
  const CompactOptional<SchemaOrBool> additionalProperties;  // a schema or a boolean
  const CompactOptional<std::vector<ReferenceOr<Schema>>> allOf;
  const CompactOptional<std::vector<ReferenceOr<Schema>>> anyOf;
  const CompactOptional<std::vector<ReferenceOr<Schema>>> oneOf;
  const CompactOptional<ReferenceOr<Schema>> not_;  // the "not" member
  const CompactOptional<AnyValue> example;
  const std::shared_ptr<const ExternalDocumentation> externalDocs;  // null when absent
  const std::shared_ptr<const Discriminator> discriminator;  // null when absent
  const std::shared_ptr<const XML> xml;  // null when absent
  const CompactOptional<OrderedMap<AnyValue>> vendorExtensions;  // the "x-" members
};

}  // namespace VoziZazIreModels::OpenAPI3_0

// The classes named above, included after the definition so that mutually nesting classes
// (path item, operation, callback; header, media type, encoding) may include each other.
#include "kit/models/OpenAPI3_0/Discriminator.h"
#include "kit/models/OpenAPI3_0/ExternalDocumentation.h"
#include "kit/models/OpenAPI3_0/XML.h"
