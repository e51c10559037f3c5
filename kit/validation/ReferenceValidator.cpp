#include "kit/validation/ReferenceValidator.h"

#include "kit/validation/ReferenceCheck.h"
#include "kit/validation/ReferenceGraph.h"
#include "kit/validation/ReferenceWalk.h"

namespace VoziZazIreValidation {

using VoziZazIreTransform::Version30;
using VoziZazIreTransform::Version31;

namespace {

template <class V>
void validateDocumentReferences(const typename V::Document& document, ValidationContext& context) {
  if (document.components)
    detectCircularComposition(ReferenceGraph::fromComponents<V>(*document.components), context);

  ReferenceWalk<V> walk(context);
  if (document.paths)
    for (const auto& entry : document.paths->items)
      if (entry.second) walk.walkPathItem(*entry.second);
  if constexpr (V::is31) {
    if (document.webhooks)
      for (const auto& entry : *document.webhooks) {
        if (const auto* reference = entry.second.referenceValue())
          checkReference(*reference, "pathItems", context);
        else
          walk.walkPathItem(*entry.second.inlineValue());
      }
  }
  if (document.components) walk.walkComponents(*document.components);
}

}  // namespace

void RefValidator::validate(const VoziZazIreModels::OpenAPI3_0::Document& document, ValidationContext& context) const {
  validateDocumentReferences<Version30>(document, context);
}

void RefValidator::validate(const VoziZazIreModels::OpenAPI3_1::Document& document, ValidationContext& context) const {
  validateDocumentReferences<Version31>(document, context);
}

template <class V>
void validateReferences(const typename V::Document& document, ValidationContext& context) {
  RefValidator{}.validate(document, context);
}

template void validateReferences<Version30>(const Version30::Document&, ValidationContext&);
template void validateReferences<Version31>(const Version31::Document&, ValidationContext&);

}  // namespace VoziZazIreValidation
