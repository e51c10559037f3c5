#pragma once
#include "kit/transform/ModelVersion.h"
#include "kit/validation/ValidationContext.h"

namespace VoziZazIreValidation {

// The reference rules: REF-003 (at most one cycle among the component schemas through allOf, anyOf and
// oneOf), then REF-001, REF-002 and REF-004 on every "$ref" of the walked places, in walk order (paths,
// 3.1 webhooks, components). Reads the context's component names; targets are never followed, so the
// run ends on any document, in time linear in its size.
struct RefValidator {
  void validate(const VoziZazIreModels::OpenAPI3_0::Document& document, ValidationContext& context) const;
  void validate(const VoziZazIreModels::OpenAPI3_1::Document& document, ValidationContext& context) const;
};

// The reference rules, for callers written over both versions.
template <class V>
void validateReferences(const typename V::Document& document, ValidationContext& context);

}  // namespace VoziZazIreValidation
