#include "kit/transform/SchemaBoundChecks.h"

#include <memory>
#include <string>

#include "kit/core/DiagnosticCode.h"
#include "kit/core/RegexSyntax.h"
#include "kit/core/TextServices.h"
#include "kit/core/ValidationLevel.h"

namespace VoziZazIreTransform {

using VoziZazIreCore::DiagnosticCode;
using VoziZazIreCore::GenericNode;
using VoziZazIreCore::TextServices::formatDouble;

namespace {

std::optional<int64_t> integerMember(const GenericNode& node, std::string_view key) {
  if (const GenericNode* member = node[key]) return member->intValue();
  return std::nullopt;
}

std::optional<double> numberMember(const GenericNode& node, std::string_view key) {
  if (const GenericNode* member = node[key]) return member->numberValue();
  return std::nullopt;
}

void record(TransformContext& context, DiagnosticCode code, const std::string& text, const GenericNode& node) {
  context.recordCodedDiagnostic(code, text, std::string(node.jsonPointer()), node.range(),
                                VoziZazIreCore::ValidationLevel::high);
}

// "<key> must be >= 0, got <value>" for a negative lower count.
void checkNotNegative(const GenericNode& node, std::string_view key, DiagnosticCode code, TransformContext& context) {
  auto value = integerMember(node, key);
  if (value && *value < 0)
    record(context, code, std::string(key) + " must be >= 0, got " + std::to_string(*value), node);
}

// "<maxKey> (<max>) must be >= <minKey> (<min>)" for an upper count below its lower count.
void checkOrdered(const GenericNode& node, std::string_view minKey, std::string_view maxKey, DiagnosticCode code,
                  TransformContext& context) {
  auto lower = integerMember(node, minKey);
  auto upper = integerMember(node, maxKey);
  if (lower && upper && *upper < *lower)
    record(context, code,
           std::string(maxKey) + " (" + std::to_string(*upper) + ") must be >= " + std::string(minKey) + " (" +
               std::to_string(*lower) + ")",
           node);
}

}  // namespace

template <class V>
void checkSchemaBounds(const GenericNode& node, TransformContext& context) {
  // Every rule only records, and only at level high; below that there is nothing to do.
  if (!context.recordsAtHigh() || !node.objectValue()) return;

  checkNotNegative(node, "minLength", DiagnosticCode::schemaMinLengthNegative, context);
  checkOrdered(node, "minLength", "maxLength", DiagnosticCode::schemaMaxLengthLessThanMin, context);
  auto minimum = numberMember(node, "minimum");
  auto maximum = numberMember(node, "maximum");
  if (minimum && maximum && *maximum < *minimum)
    record(context, DiagnosticCode::schemaMinGreaterThanMax,
           "minimum (" + formatDouble(*minimum) + ") must be <= maximum (" + formatDouble(*maximum) + ")", node);
  if constexpr (!V::is31) return;

  checkNotNegative(node, "minItems", DiagnosticCode::schemaMinItemsNegative, context);
  checkOrdered(node, "minItems", "maxItems", DiagnosticCode::schemaMaxItemsLessThanMin, context);
  checkNotNegative(node, "minProperties", DiagnosticCode::schemaMinPropertiesNegative, context);
  checkOrdered(node, "minProperties", "maxProperties", DiagnosticCode::schemaMaxPropertiesLessThanMin, context);
  auto multipleOf = numberMember(node, "multipleOf");
  if (multipleOf && *multipleOf <= 0)
    record(context, DiagnosticCode::schemaMultipleOfNotPositive, "multipleOf must be > 0, got " + formatDouble(*multipleOf),
           node);
  if (const GenericNode* member = node["pattern"])
    if (auto pattern = member->stringValue(); pattern && !VoziZazIreCore::RegexSyntax::compiles(*pattern))
      record(context, DiagnosticCode::schemaInvalidPattern, "Invalid regex pattern: " + std::string(*pattern), node);
  if (const GenericNode* member = node["enum"])
    if (auto elements = member->arrayValue(); elements && elements->empty())
      record(context, DiagnosticCode::schemaEnumEmpty, "enum must not be empty", node);
}

template void checkSchemaBounds<Version30>(const GenericNode&, TransformContext&);
template void checkSchemaBounds<Version31>(const GenericNode&, TransformContext&);

}  // namespace VoziZazIreTransform
