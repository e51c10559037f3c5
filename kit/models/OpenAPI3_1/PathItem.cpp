#include "kit/models/OpenAPI3_1/PathItem.h"

namespace VoziZazIreModels::OpenAPI3_1 {

std::vector<PathItem::MethodOperation> PathItem::allOperations() const {
  const std::pair<std::string_view, const std::shared_ptr<const Operation>*> fields[] = {
      {"GET", &get},         {"PUT", &put},   {"POST", &post},   {"DELETE", &delete_},
      {"OPTIONS", &options}, {"HEAD", &head}, {"PATCH", &patch}, {"TRACE", &trace},
  };
  std::vector<MethodOperation> result;
  for (const auto& [method, operation] : fields)
    if (*operation) result.push_back({method, *operation});
  return result;
}

}  // namespace VoziZazIreModels::OpenAPI3_1
