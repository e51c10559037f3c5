#pragma once
#include <vector>

#include "kit/core/Diagnostic.h"
#include "kit/transform/ModelVersion.h"
#include "kit/validation/ValidationContext.h"

namespace VoziZazIreValidation {

// Registers every key of the components' maps under its kind key, in the order schemas, responses,
// parameters, requestBodies, headers, securitySchemes, links, callbacks and (3.1) pathItems. Examples are
// never registered; a kind whose map is absent or empty leaves no entry.
template <class V>
void registerComponentNames(const typename V::Document& document, ValidationContext& context);

// The rules common to both versions, in the fixed walk order: info, root servers, paths with their
// operations, the components' security schemes then schemas, the root security requirements.
template <class V>
void validateCommon(const typename V::Document& document, ValidationContext& context);

// One validation run on a fresh context: component names, the common rules, the version rules and, when
// `validateRefs` is set, the reference rules. Returns the findings in the order found; never throws.
template <class V>
std::vector<VoziZazIreCore::Diagnostic> runValidation(const typename V::Document& document, bool validateRefs);

}  // namespace VoziZazIreValidation
