#pragma once
#include "kit/transform/ModelVersion.h"
#include "kit/validation/ValidationContext.h"

namespace VoziZazIreValidation {

// The schema rules SCH-001 to SCH-011 and SCH-013 on one inline schema, then the same on every inline
// schema nested in its properties, items, allOf, anyOf and oneOf (depth first, each nested schema fully
// checked before the next). References are skipped, never resolved. Every finding is an error placed at
// the schema it concerns. The descent keeps its own stack, so nesting depth costs no call depth.
template <class V>
void validateSchema(const typename V::Schema& schema, ValidationContext& context);

}  // namespace VoziZazIreValidation
