#include "kit/transform/SchemaBoundChecks.h"

#include <memory>
#include <string>

#include "kit/core/DiagnosticCode.h"
#include "kit/core/RegexSyntax.h"
#include "kit/core/TextServices.h"
#include "kit/core/ValidationLevel.h"
#include "kit/transform/ObjectReading.h"

namespace VoziZazIreTransform {

using VoziZazIreCore::DiagnosticCode;
using VoziZazIreCore::GenericNode;
using VoziZazIreCore::TextServices::formatDouble;

namespace {

using Key = SchemaKey;

void record(TransformContext& context, DiagnosticCode code, const std::string& text, const GenericNode& node) {
  context.recordCodedDiagnostic(code, text, std::string(node.jsonPointer()), node.range(),
                                VoziZazIreCore::ValidationLevel::high);
}

// "<key> must be >= 0, got <value>" for a negative lower count.
void checkNotNegative(const SchemaMembers& m, Key key, DiagnosticCode code, TransformContext& context) {
  auto value = integerOf(m[key]);
  if (value && *value < 0)
    record(context, code, std::string(schemaKeyName(key)) + " must be >= 0, got " + std::to_string(*value), m.node());
}

// "<maxKey> (<max>) must be >= <minKey> (<min>)" for an upper count below its lower count.
void checkOrdered(const SchemaMembers& m, Key minKey, Key maxKey, DiagnosticCode code, TransformContext& context) {
  auto lower = integerOf(m[minKey]);
  auto upper = integerOf(m[maxKey]);
  if (lower && upper && *upper < *lower)
    record(context, code,
           std::string(schemaKeyName(maxKey)) + " (" + std::to_string(*upper) + ") must be >= " +
               std::string(schemaKeyName(minKey)) + " (" + std::to_string(*lower) + ")",
           m.node());
}

}  // namespace

template <class V>
void checkSchemaBounds(const GenericNode& node, TransformContext& context) {
  if (!context.recordsAtHigh()) return;
  checkSchemaBounds<V>(SchemaMembers(node), context);
}

template <class V>
void checkSchemaBounds(const SchemaMembers& m, TransformContext& context) {
  // Every rule only records, and only at level high; below that there is nothing to do.
  if (!context.recordsAtHigh() || !m.node().objectValue()) return;
  const GenericNode& node = m.node();

  checkNotNegative(m, Key::minLength, DiagnosticCode::schemaMinLengthNegative, context);
  checkOrdered(m, Key::minLength, Key::maxLength, DiagnosticCode::schemaMaxLengthLessThanMin, context);
  auto minimum = numberOf(m[Key::minimum]);
  auto maximum = numberOf(m[Key::maximum]);
  if (minimum && maximum && *maximum < *minimum)
    record(context, DiagnosticCode::schemaMinGreaterThanMax,
           "minimum (" + formatDouble(*minimum) + ") must be <= maximum (" + formatDouble(*maximum) + ")", node);
  if constexpr (!V::is31) return;

  checkNotNegative(m, Key::minItems, DiagnosticCode::schemaMinItemsNegative, context);
  checkOrdered(m, Key::minItems, Key::maxItems, DiagnosticCode::schemaMaxItemsLessThanMin, context);
  checkNotNegative(m, Key::minProperties, DiagnosticCode::schemaMinPropertiesNegative, context);
  checkOrdered(m, Key::minProperties, Key::maxProperties, DiagnosticCode::schemaMaxPropertiesLessThanMin, context);
  auto multipleOf = numberOf(m[Key::multipleOf]);
  if (multipleOf && *multipleOf <= 0)
    record(context, DiagnosticCode::schemaMultipleOfNotPositive, "multipleOf must be > 0, got " + formatDouble(*multipleOf),
           node);
  if (const GenericNode* member = m[Key::pattern])
    if (auto pattern = member->stringValue(); pattern && !VoziZazIreCore::RegexSyntax::compiles(*pattern))
      record(context, DiagnosticCode::schemaInvalidPattern, "Invalid regex pattern: " + std::string(*pattern), node);
  if (const GenericNode* member = m[Key::enum_])
    if (auto elements = member->arrayValue(); elements && elements->empty())
      record(context, DiagnosticCode::schemaEnumEmpty, "enum must not be empty", node);
}

template void checkSchemaBounds<Version30>(const GenericNode&, TransformContext&);
template void checkSchemaBounds<Version31>(const GenericNode&, TransformContext&);
template void checkSchemaBounds<Version30>(const SchemaMembers&, TransformContext&);
template void checkSchemaBounds<Version31>(const SchemaMembers&, TransformContext&);

}  // namespace VoziZazIreTransform
