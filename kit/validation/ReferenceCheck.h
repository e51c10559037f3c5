#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "kit/core/Reference.h"
#include "kit/validation/ValidationContext.h"

namespace VoziZazIreValidation {

// REF-001, REF-002 and REF-004 on one "$ref" found where a component of `expectedSection` ("schemas",
// "parameters", ...) belongs. A local reference "#/components/<section>/<name>[/...]" is looked up among
// the context's component names (empty pieces are dropped; "~1" and "~0" in the name are unescaped);
// "http://", "https://", "file://" and other "#" references are accepted unchecked; anything else is
// malformed. Findings go straight to the context's list, placed at the reference (or, when it carries no
// location, at its text).
void checkReference(const VoziZazIreCore::Reference& reference, std::string_view expectedSection,
                    ValidationContext& context);

// The component name of a reference written as "#/components/schemas/<name>" (nothing after the name;
// empty pieces dropped, escapes undone), or nothing.
std::optional<std::string> referencedSchemaName(std::string_view ref);

}  // namespace VoziZazIreValidation
