#include "kit/validation/PathRules.h"

#include <string>

#include "kit/validation/OperationRules.h"

namespace VoziZazIreValidation {

using VoziZazIreTransform::Version30;
using VoziZazIreTransform::Version31;

template <class V>
void validatePaths(const typename V::Paths& paths, ValidationContext& context) {
  for (const auto& [key, pathItem] : paths.items) {
    if (!pathItem) continue;
    if (!key.starts_with('/')) context.addError("PTH-001", "Path '" + key + "' must start with '/'", pathItem->location);
    validatePathItem<V>(key, *pathItem, context);
  }
}

template void validatePaths<Version30>(const Version30::Paths&, ValidationContext&);
template void validatePaths<Version31>(const Version31::Paths&, ValidationContext&);

}  // namespace VoziZazIreValidation
