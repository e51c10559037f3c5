#include "kit/core/DiagnosticCode.h"

#include <functional>

namespace VoziZazIreCore {

namespace {

struct CodeRow {
  DiagnosticCode code;
  std::string_view text;
};

// The one table of codes and their texts.
constexpr CodeRow kCodes[] = {
    {DiagnosticCode::version30Invalid, "V30-001"},
    {DiagnosticCode::version31Invalid, "V31-001"},
    {DiagnosticCode::version31InvalidDialect, "V31-002"},
    {DiagnosticCode::version31LicenseConflict, "V31-008"},
    {DiagnosticCode::version31WebhookNoOperation, "V31-009"},
    {DiagnosticCode::docMissingOpenapi, "DOC-001"},
    {DiagnosticCode::docEmptyTitle, "DOC-002"},
    {DiagnosticCode::docEmptyVersion, "DOC-003"},
    {DiagnosticCode::docInvalidVersion, "DOC-004"},
    {DiagnosticCode::docLicenseIdentifierAndUrl, "DOC-005"},
    {DiagnosticCode::docInvalidUrl, "DOC-006"},
    {DiagnosticCode::docInvalidEmail, "DOC-007"},
    {DiagnosticCode::schemaInvalidType, "SCH-TYPE"},
    {DiagnosticCode::schemaMinLengthNegative, "SCH-001"},
    {DiagnosticCode::schemaMaxLengthLessThanMin, "SCH-002"},
    {DiagnosticCode::schemaMinGreaterThanMax, "SCH-003"},
    {DiagnosticCode::schemaMinItemsNegative, "SCH-004"},
    {DiagnosticCode::schemaMaxItemsLessThanMin, "SCH-005"},
    {DiagnosticCode::schemaMinPropertiesNegative, "SCH-006"},
    {DiagnosticCode::schemaMaxPropertiesLessThanMin, "SCH-007"},
    {DiagnosticCode::schemaMultipleOfNotPositive, "SCH-008"},
    {DiagnosticCode::schemaInvalidPattern, "SCH-009"},
    {DiagnosticCode::schemaDefaultNotInEnum, "SCH-010"},
    {DiagnosticCode::schemaArrayWithoutItems, "SCH-011"},
    {DiagnosticCode::schemaRequiredNotInProperties, "SCH-012"},
    {DiagnosticCode::schemaEnumEmpty, "SCH-013"},
    {DiagnosticCode::paramPathMustBeRequired, "PRM-001"},
    {DiagnosticCode::paramNameNotInPath, "PRM-002"},
    {DiagnosticCode::paramAllowEmptyValueOnlyQuery, "PRM-004"},
    {DiagnosticCode::paramInvalidStyle, "PRM-STYLE"},
    {DiagnosticCode::headerInvalidStyle, "HDR-STYLE"},
    {DiagnosticCode::encodingInvalidStyle, "ENC-STYLE"},
    {DiagnosticCode::responseInvalidStatusCode, "RSP-001"},
    {DiagnosticCode::responseNoSuccessResponse, "RSP-002"},
    {DiagnosticCode::operationDuplicateId, "OPR-001"},
    {DiagnosticCode::operationMissingSummary, "OPR-003"},
    {DiagnosticCode::operationUndefinedSecurityScheme, "OPR-004"},
    {DiagnosticCode::pathMustStartWithSlash, "PTH-001"},
    {DiagnosticCode::requestBodyOnGetHeadDelete, "RQB-002"},
    {DiagnosticCode::serverInvalidUrl, "SRV-001"},
    {DiagnosticCode::serverVariableNotInUrl, "SRV-002"},
    {DiagnosticCode::serverVariableDefaultNotInEnum, "SRV-003"},
    {DiagnosticCode::serverVariableEnumEmpty, "SRV-004"},
    {DiagnosticCode::securityApiKeyMissingFields, "SEC-001"},
    {DiagnosticCode::securityHttpMissingScheme, "SEC-002"},
    {DiagnosticCode::securityOauth2MissingFlows, "SEC-003"},
    {DiagnosticCode::securityOpenIdMissingUrl, "SEC-004"},
    {DiagnosticCode::securityOauth2NoFlows, "SEC-005"},
    {DiagnosticCode::securityOauthMissingAuthUrl, "SEC-006"},
    {DiagnosticCode::securityOauthMissingTokenUrl, "SEC-007"},
    {DiagnosticCode::securityInvalidApiKeyIn, "SEC-IN"},
    {DiagnosticCode::unknownProperty, "GEN-001"},
    {DiagnosticCode::invalidBooleanValue, "GEN-002"},
    {DiagnosticCode::refInvalidFormat, "REF-001"},
    {DiagnosticCode::refTargetNotFound, "REF-002"},
    {DiagnosticCode::refCircularDetected, "REF-003"},
    {DiagnosticCode::refTypeMismatch, "REF-004"},
    {DiagnosticCode::refExternalNotSupported, "REF-005"},
};

static_assert(std::size(kCodes) == kDiagnosticCodeCount);

}  // namespace

std::string_view rawValue(DiagnosticCode code) noexcept { return kCodes[static_cast<std::size_t>(code)].text; }

template <>
std::optional<DiagnosticCode> fromRawValue<DiagnosticCode>(std::string_view text) {
  for (const auto& row : kCodes)
    if (row.text == text) return row.code;
  return std::nullopt;
}

const std::array<DiagnosticCode, kDiagnosticCodeCount>& allDiagnosticCodes() noexcept {
  static const auto all = [] {
    std::array<DiagnosticCode, kDiagnosticCodeCount> codes{};
    for (std::size_t i = 0; i < kDiagnosticCodeCount; ++i) codes[i] = kCodes[i].code;
    return codes;
  }();
  return all;
}

}  // namespace VoziZazIreCore
