#pragma once
#include <array>
#include <cstdint>
#include <string_view>

#include "kit/core/GenericNode.h"

namespace VoziZazIreTransform {

// The schema keywords of both versions that the reader looks at.
enum class SchemaKey : uint8_t {
  ref, type, nullable, properties, patternProperties, additionalProperties, items, prefixItems, allOf, anyOf,
  oneOf, not_, if_, then, else_, discriminator, externalDocs, xml, format, title, description, default_, enum_,
  const_, example, examples, multipleOf, maximum, exclusiveMaximum, minimum, exclusiveMinimum, maxLength,
  minLength, pattern, maxItems, minItems, uniqueItems, maxContains, minContains, contains, unevaluatedItems,
  maxProperties, minProperties, required, propertyNames, unevaluatedProperties, dependentSchemas,
  dependentRequired, readOnly, writeOnly, deprecated, contentMediaType, contentEncoding, contentSchema,
};
inline constexpr std::size_t kSchemaKeyCount = static_cast<std::size_t>(SchemaKey::contentSchema) + 1;

// The keyword as written in a description ("$ref", "not", ...).
std::string_view schemaKeyName(SchemaKey key) noexcept;

// The keyword members of one schema object, found in a single pass over its members: a schema has a
// few members, and the reader asks for some fifty keywords. A member matches a keyword as GenericNode's
// lookup does (canonically equivalent text). A node that is no object has no members.
class SchemaMembers {
 public:
  explicit SchemaMembers(const VoziZazIreCore::GenericNode& node) noexcept;

  const VoziZazIreCore::GenericNode& node() const noexcept { return *node_; }
  const VoziZazIreCore::GenericNode* operator[](SchemaKey key) const noexcept {
    return slots_[static_cast<std::size_t>(key)];
  }

 private:
  const VoziZazIreCore::GenericNode* node_;
  std::array<const VoziZazIreCore::GenericNode*, kSchemaKeyCount> slots_{};
};

}  // namespace VoziZazIreTransform
