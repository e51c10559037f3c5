#include "kit/validation/VersionRules.h"

#include <unicode/regex.h>
#include <unicode/unistr.h>

#include <memory>
#include <string>

#include "kit/validation/DocumentRulesText.h"

namespace VoziZazIreValidation {

using VoziZazIreCore::DiagnosticCode;
using VoziZazIreTransform::Version30;
using VoziZazIreTransform::Version31;

namespace {

// The version patterns are compiled once; every search makes its own matcher.
std::unique_ptr<const icu::RegexPattern> compile(const char* pattern) {
  UErrorCode status = U_ZERO_ERROR;
  UParseError parseError;
  std::unique_ptr<const icu::RegexPattern> compiled(
      icu::RegexPattern::compile(icu::UnicodeString::fromUTF8(pattern), 0, parseError, status));
  if (U_FAILURE(status)) return nullptr;
  return compiled;
}

// True when the pattern finds a match anywhere in the text.
bool finds(const icu::RegexPattern* pattern, const std::string& text) {
  if (!pattern) return false;
  UErrorCode status = U_ZERO_ERROR;
  const icu::UnicodeString input = icu::UnicodeString::fromUTF8(text);
  std::unique_ptr<icu::RegexMatcher> matcher(pattern->matcher(input, status));
  if (U_FAILURE(status) || !matcher) return false;
  const bool found = matcher->find(status);
  return U_SUCCESS(status) && found;
}

// V30-001 / V31-001: "openapi version '<value>' must match pattern '3.<minor>.x'"
void validateVersion(const std::string& openapi, bool is31, const VoziZazIreCore::LocationInfo& at,
                     ValidationContext& context) {
  static const std::unique_ptr<const icu::RegexPattern> pattern30 = compile(R"(^3\.0\.\d+$)");
  static const std::unique_ptr<const icu::RegexPattern> pattern31 = compile(R"(^3\.1\.\d+$)");
  if (finds(is31 ? pattern31.get() : pattern30.get(), openapi)) return;
  context.addError(is31 ? DiagnosticCode::version31Invalid : DiagnosticCode::version30Invalid,
                   "openapi version '" + openapi + "' must match pattern '" + (is31 ? "3.1.x" : "3.0.x") + "'", at);
}

void validateJsonSchemaDialect(const VoziZazIreModels::OpenAPI3_1::Document& document, ValidationContext& context) {
  if (!document.jsonSchemaDialect || RuleText::urlParserAccepts(*document.jsonSchemaDialect)) return;
  context.addError(DiagnosticCode::version31InvalidDialect,
                   "jsonSchemaDialect '" + *document.jsonSchemaDialect + "' must be a valid URI", document.location);
}

void validateWebhooks(const VoziZazIreModels::OpenAPI3_1::Document& document, ValidationContext& context) {
  if (!document.webhooks) return;
  for (const auto& [name, entry] : *document.webhooks) {
    const auto* item = entry.inlineValue();
    if (!item) continue;  // a "$ref" is not followed
    if (item->get || item->put || item->post || item->delete_ || item->options || item->head || item->patch ||
        item->trace)
      continue;
    context.addWarning(DiagnosticCode::version31WebhookNoOperation,
                       "Webhook '" + name + "' should define at least one operation", item->location);
  }
}

}  // namespace

void OpenAPI30ValidationRules::validate(const VoziZazIreModels::OpenAPI3_0::Document& document,
                                        ValidationContext& context) const {
  validateVersion(document.openapi, false, document.location, context);
}

void OpenAPI31ValidationRules::validate(const VoziZazIreModels::OpenAPI3_1::Document& document,
                                        ValidationContext& context) const {
  validateVersion(document.openapi, true, document.location, context);
  validateJsonSchemaDialect(document, context);
  validateWebhooks(document, context);
}

template <class V>
void validateVersionRules(const typename V::Document& document, ValidationContext& context) {
  if constexpr (V::is31) {
    OpenAPI31ValidationRules{}.validate(document, context);
  } else {
    OpenAPI30ValidationRules{}.validate(document, context);
  }
}

template void validateVersionRules<Version30>(const Version30::Document&, ValidationContext&);
template void validateVersionRules<Version31>(const Version31::Document&, ValidationContext&);

}  // namespace VoziZazIreValidation
