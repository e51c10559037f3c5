#pragma once
#include <optional>
#include <utility>
#include <variant>

#include "kit/models/ModelCore.h"

namespace VoziZazIreModels {

namespace OpenAPI3_1 {
struct Schema;
}

// The "additionalProperties" of an OpenAPI 3.1 schema: a schema (or "$ref") or a boolean. No equality.
class SchemaOrBool {
 public:
  static SchemaOrBool schema(ReferenceOr<OpenAPI3_1::Schema> value) {
    return SchemaOrBool(Storage(std::in_place_index<0>, std::move(value)));
  }
  static SchemaOrBool bool_(bool value) { return SchemaOrBool(Storage(std::in_place_index<1>, value)); }

  bool isSchema() const noexcept { return storage_.index() == 0; }
  // The payload of the schema case, else nullptr.
  const ReferenceOr<OpenAPI3_1::Schema>* schemaValue() const noexcept { return std::get_if<0>(&storage_); }
  // The payload of the bool case, else nothing.
  std::optional<bool> boolValue() const noexcept {
    if (auto* value = std::get_if<1>(&storage_)) return *value;
    return std::nullopt;
  }

 private:
  using Storage = std::variant<ReferenceOr<OpenAPI3_1::Schema>, bool>;
  explicit SchemaOrBool(Storage storage) : storage_(std::move(storage)) {}

  Storage storage_;
};

}  // namespace VoziZazIreModels

#include "kit/models/OpenAPI3_1/Schema.h"  // completes Schema, declared above to break the cycle
