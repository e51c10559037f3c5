#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "kit/transform/ModelVersion.h"
#include "kit/validation/ValidationContext.h"

namespace VoziZazIreValidation {

// The operations of one path item in the order get, put, post, delete, options, head, patch, trace, each
// checked by validateOperation with the names written in braces in the path key.
template <class V>
void validatePathItem(std::string_view pathKey, const typename V::PathItem& pathItem, ValidationContext& context);

// One operation: OPR-001 (operationId against every operation met so far), the parameter rules, RQB-002
// (`method` is the upper-case method name) and the response rules.
template <class V>
void validateOperation(std::string_view method, const typename V::Operation& operation,
                       const std::vector<std::string>& templateNames, ValidationContext& context);

}  // namespace VoziZazIreValidation
