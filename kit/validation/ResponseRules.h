#pragma once
#include "kit/transform/ModelVersion.h"
#include "kit/validation/ValidationContext.h"

namespace VoziZazIreValidation {

// RSP-001 on each status-code key of an operation's responses, then RSP-002 when there is neither a
// success response (200 to 299 or "2XX") nor "default". Both are placed at the responses object.
template <class V>
void validateResponses(const typename V::Responses& responses, ValidationContext& context);

}  // namespace VoziZazIreValidation
