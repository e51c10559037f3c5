#pragma once
#include <string>
#include <vector>

#include "kit/transform/ModelVersion.h"
#include "kit/validation/ValidationContext.h"

namespace VoziZazIreValidation {

// The rules on one operation's parameters array: OPR-003, PRM-001, PRM-002, PRM-004 and the schema rules
// on each inline parameter schema. Parameters given by reference are skipped. `templateNames` are the
// names in braces of the operation's path key.
template <class V>
void validateParameters(const std::vector<VoziZazIreCore::ReferenceOr<typename V::Parameter>>& parameters,
                        const std::vector<std::string>& templateNames, ValidationContext& context);

}  // namespace VoziZazIreValidation
