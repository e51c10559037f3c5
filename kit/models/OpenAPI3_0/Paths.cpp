#include "kit/models/OpenAPI3_0/Paths.h"

namespace VoziZazIreModels::OpenAPI3_0 {

const PathItem* Paths::operator[](std::string_view key) const {
  const auto* entry = items.find(key);
  return entry ? entry->get() : nullptr;
}

}  // namespace VoziZazIreModels::OpenAPI3_0
