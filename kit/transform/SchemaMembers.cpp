#include "kit/transform/SchemaMembers.h"

#include <optional>
#include <string>
#include <vector>

#include "kit/core/TextServices.h"

using VoziZazIreCore::GenericNode;

namespace VoziZazIreTransform {

namespace {

constexpr std::array<std::string_view, kSchemaKeyCount> kNames = {
    "$ref", "type", "nullable", "properties", "patternProperties", "additionalProperties", "items", "prefixItems",
    "allOf", "anyOf", "oneOf", "not", "if", "then", "else", "discriminator", "externalDocs", "xml", "format", "title",
    "description", "default", "enum", "const", "example", "examples", "multipleOf", "maximum", "exclusiveMaximum",
    "minimum", "exclusiveMinimum", "maxLength", "minLength", "pattern", "maxItems", "minItems", "uniqueItems",
    "maxContains", "minContains", "contains", "unevaluatedItems", "maxProperties", "minProperties", "required",
    "propertyNames", "unevaluatedProperties", "dependentSchemas", "dependentRequired", "readOnly", "writeOnly",
    "deprecated", "contentMediaType", "contentEncoding", "contentSchema"};

// Keyword by text, the names grouped by length.
class KeywordTable {
 public:
  KeywordTable() {
    for (std::size_t i = 0; i < kNames.size(); ++i) {
      if (kNames[i].size() >= byLength_.size()) byLength_.resize(kNames[i].size() + 1);
      byLength_[kNames[i].size()].push_back(static_cast<uint8_t>(i));
    }
  }
  std::optional<std::size_t> find(std::string_view key) const noexcept {
    if (key.size() >= byLength_.size()) return std::nullopt;
    for (uint8_t i : byLength_[key.size()])
      if (kNames[i] == key) return i;
    return std::nullopt;
  }

 private:
  std::vector<std::vector<uint8_t>> byLength_;
};

const KeywordTable& keywords() {
  static const KeywordTable table;
  return table;
}

}  // namespace

std::string_view schemaKeyName(SchemaKey key) noexcept { return kNames[static_cast<std::size_t>(key)]; }

SchemaMembers::SchemaMembers(const GenericNode& node) noexcept : node_(&node) {
  auto members = node.objectValue();
  if (!members) return;
  const KeywordTable& table = keywords();
  for (const auto& member : *members) {
    std::optional<std::size_t> slot = table.find(member.key);
    if (!slot && !VoziZazIreCore::TextServices::isAscii(member.key)) {
      // Text canonically equivalent to a keyword matches it, as in GenericNode's lookup.
      try {
        slot = table.find(VoziZazIreCore::TextServices::toNFC(member.key));
      } catch (...) {
        slot = std::nullopt;
      }
    }
    // Keys of one object are unique up to canonical equivalence, so a slot is filled at most once.
    if (slot && !slots_[*slot]) slots_[*slot] = member.value;
  }
}

}  // namespace VoziZazIreTransform
