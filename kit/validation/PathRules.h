#pragma once
#include "kit/transform/ModelVersion.h"
#include "kit/validation/ValidationContext.h"

namespace VoziZazIreValidation {

// PTH-001 on each key of the paths map, each followed at once by the path item's operation rules.
template <class V>
void validatePaths(const typename V::Paths& paths, ValidationContext& context);

}  // namespace VoziZazIreValidation
