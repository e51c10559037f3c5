#pragma once
#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

#include "kit/core/RawValue.h"

namespace VoziZazIreCore {

// The closed table of rule codes. The raw value is the code text written at the head of a coded
// finding, as in "[SCH-011] ...".
enum class DiagnosticCode {
  version30Invalid,
  version31Invalid,
  version31InvalidDialect,
  version31LicenseConflict,
  version31WebhookNoOperation,
  docMissingOpenapi,
  docEmptyTitle,
  docEmptyVersion,
  docInvalidVersion,
  docLicenseIdentifierAndUrl,
  docInvalidUrl,
  docInvalidEmail,
  schemaInvalidType,
  schemaMinLengthNegative,
  schemaMaxLengthLessThanMin,
  schemaMinGreaterThanMax,
  schemaMinItemsNegative,
  schemaMaxItemsLessThanMin,
  schemaMinPropertiesNegative,
  schemaMaxPropertiesLessThanMin,
  schemaMultipleOfNotPositive,
  schemaInvalidPattern,
  schemaDefaultNotInEnum,
  schemaArrayWithoutItems,
  schemaRequiredNotInProperties,
  schemaEnumEmpty,
  paramPathMustBeRequired,
  paramNameNotInPath,
  paramAllowEmptyValueOnlyQuery,
  paramInvalidStyle,
  headerInvalidStyle,
  encodingInvalidStyle,
  responseInvalidStatusCode,
  responseNoSuccessResponse,
  operationDuplicateId,
  operationMissingSummary,
  operationUndefinedSecurityScheme,
  pathMustStartWithSlash,
  requestBodyOnGetHeadDelete,
  serverInvalidUrl,
  serverVariableNotInUrl,
  serverVariableDefaultNotInEnum,
  serverVariableEnumEmpty,
  securityApiKeyMissingFields,
  securityHttpMissingScheme,
  securityOauth2MissingFlows,
  securityOpenIdMissingUrl,
  securityOauth2NoFlows,
  securityOauthMissingAuthUrl,
  securityOauthMissingTokenUrl,
  securityInvalidApiKeyIn,
  unknownProperty,
  invalidBooleanValue,
  refInvalidFormat,
  refTargetNotFound,
  refCircularDetected,
  refTypeMismatch,
  refExternalNotSupported,
};

inline constexpr std::size_t kDiagnosticCodeCount = 58;

std::string_view rawValue(DiagnosticCode code) noexcept;
template <>
std::optional<DiagnosticCode> fromRawValue<DiagnosticCode>(std::string_view text);

// Every code in declaration order.
const std::array<DiagnosticCode, kDiagnosticCodeCount>& allDiagnosticCodes() noexcept;

}  // namespace VoziZazIreCore

template <>
struct std::hash<VoziZazIreCore::DiagnosticCode> {
  std::size_t operator()(VoziZazIreCore::DiagnosticCode c) const noexcept {
    return std::hash<std::string_view>{}(VoziZazIreCore::rawValue(c));
  }
};
