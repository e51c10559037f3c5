#include "kit/validation/SchemaRules.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "kit/core/RegexSyntax.h"
#include "kit/core/TextServices.h"

namespace VoziZazIreValidation {

using VoziZazIreCore::DiagnosticCode;
using VoziZazIreCore::TextServices::formatDouble;
using VoziZazIreTransform::Version30;
using VoziZazIreTransform::Version31;

namespace {

template <class V>
bool isArrayTyped(const typename V::Schema& schema) {
  if (!schema.type) return false;
  if constexpr (V::is31) {
    if (auto single = schema.type->singleValue()) return *single == VoziZazIreModels::SchemaType::array;
    const auto* types = schema.type->multipleValue();
    return types && std::find(types->begin(), types->end(), VoziZazIreModels::SchemaType::array) != types->end();
  } else {
    return *schema.type == VoziZazIreModels::OpenAPI3_0::SchemaType::array;
  }
}

// The twelve checks on one schema, in their fixed order.
template <class V>
void checkSchema(const typename V::Schema& schema, ValidationContext& context) {
  const auto& at = schema.location;
  if (schema.minLength && *schema.minLength < 0)
    context.addError(DiagnosticCode::schemaMinLengthNegative,
                     "minLength must be >= 0, got " + std::to_string(*schema.minLength), at);
  if (schema.minLength && schema.maxLength && *schema.maxLength < *schema.minLength)
    context.addError(DiagnosticCode::schemaMaxLengthLessThanMin,
                     "maxLength (" + std::to_string(*schema.maxLength) + ") must be >= minLength (" +
                         std::to_string(*schema.minLength) + ")",
                     at);
  // Floating-point comparisons: a NaN bound compares false and fires nothing.
  if (schema.minimum && schema.maximum && *schema.maximum < *schema.minimum)
    context.addError(DiagnosticCode::schemaMinGreaterThanMax,
                     "minimum (" + formatDouble(*schema.minimum) + ") must be <= maximum (" +
                         formatDouble(*schema.maximum) + ")",
                     at);
  if (schema.minItems && *schema.minItems < 0)
    context.addError(DiagnosticCode::schemaMinItemsNegative,
                     "minItems must be >= 0, got " + std::to_string(*schema.minItems), at);
  if (schema.minItems && schema.maxItems && *schema.maxItems < *schema.minItems)
    context.addError(DiagnosticCode::schemaMaxItemsLessThanMin,
                     "maxItems (" + std::to_string(*schema.maxItems) + ") must be >= minItems (" +
                         std::to_string(*schema.minItems) + ")",
                     at);
  if (schema.minProperties && *schema.minProperties < 0)
    context.addError(DiagnosticCode::schemaMinPropertiesNegative,
                     "minProperties must be >= 0, got " + std::to_string(*schema.minProperties), at);
  if (schema.minProperties && schema.maxProperties && *schema.maxProperties < *schema.minProperties)
    context.addError(DiagnosticCode::schemaMaxPropertiesLessThanMin,
                     "maxProperties (" + std::to_string(*schema.maxProperties) + ") must be >= minProperties (" +
                         std::to_string(*schema.minProperties) + ")",
                     at);
  if (schema.multipleOf && *schema.multipleOf <= 0.0)
    context.addError(DiagnosticCode::schemaMultipleOfNotPositive,
                     "multipleOf must be > 0, got " + formatDouble(*schema.multipleOf), at);
  if (schema.pattern && !VoziZazIreCore::RegexSyntax::compiles(*schema.pattern))
    context.addError(DiagnosticCode::schemaInvalidPattern, "Invalid regex pattern: " + *schema.pattern, at);
  if (isArrayTyped<V>(schema) && !schema.items)
    context.addError(DiagnosticCode::schemaArrayWithoutItems, "Schema with type 'array' must have 'items' defined",
                     at);
  if (schema.enumValues && schema.enumValues->empty())
    context.addError(DiagnosticCode::schemaEnumEmpty, "enum must not be empty", at);
  if (schema.default_ && schema.enumValues && !schema.enumValues->empty() &&
      std::find(schema.enumValues->begin(), schema.enumValues->end(), *schema.default_) == schema.enumValues->end())
    context.addError(DiagnosticCode::schemaDefaultNotInEnum, "default value is not in enum values", at);
}

}  // namespace

template <class V>
void validateSchema(const typename V::Schema& schema, ValidationContext& context) {
  using Schema = typename V::Schema;
  // Depth first with an explicit stack: children are pushed in reverse so that they pop in their order
  // (properties, items, allOf, anyOf, oneOf).
  std::vector<const Schema*> pending{&schema};
  std::vector<const Schema*> children;
  while (!pending.empty()) {
    const Schema* current = pending.back();
    pending.pop_back();
    checkSchema<V>(*current, context);

    children.clear();
    if (current->properties)
      for (const auto& entry : *current->properties)
        if (const Schema* child = entry.second.inlineValue()) children.push_back(child);
    if (current->items)
      if (const Schema* child = current->items->inlineValue()) children.push_back(child);
    for (const auto* list : {&current->allOf, &current->anyOf, &current->oneOf})
      if (*list)
        for (const auto& element : **list)
          if (const Schema* child = element.inlineValue()) children.push_back(child);
    pending.insert(pending.end(), children.rbegin(), children.rend());
  }
}

template void validateSchema<Version30>(const Version30::Schema&, ValidationContext&);
template void validateSchema<Version31>(const Version31::Schema&, ValidationContext&);

}  // namespace VoziZazIreValidation
