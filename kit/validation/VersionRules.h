#pragma once
#include "kit/transform/ModelVersion.h"
#include "kit/validation/ValidationContext.h"

namespace VoziZazIreValidation {

// The rules that belong to one version only. Both sets are stateless.

// V30-001 on the document's "openapi" value.
struct OpenAPI30ValidationRules {
  void validate(const VoziZazIreModels::OpenAPI3_0::Document& document, ValidationContext& context) const;
};

// V31-001 on "openapi", V31-002 on "jsonSchemaDialect", then V31-009 on each webhook, in that order.
struct OpenAPI31ValidationRules {
  void validate(const VoziZazIreModels::OpenAPI3_1::Document& document, ValidationContext& context) const;
};

// The version's rule set, for callers written over both versions.
template <class V>
void validateVersionRules(const typename V::Document& document, ValidationContext& context);

}  // namespace VoziZazIreValidation
