#include "kit/models/SchemaTypeOrArray.h"

namespace VoziZazIreModels {

std::optional<SchemaType> SchemaTypeOrArray::singleValue() const noexcept {
  if (auto* type = std::get_if<0>(&storage_)) return *type;
  return std::nullopt;
}

std::vector<SchemaType> SchemaTypeOrArray::types() const {
  if (auto* type = std::get_if<0>(&storage_)) return {*type};
  return std::get<1>(storage_);
}

}  // namespace VoziZazIreModels
