#include "kit/models/OpenAPI3_0/SecuritySchemeType.h"

#include "kit/models/RawValueTable.h"

namespace VoziZazIreModels::OpenAPI3_0 {
namespace {

constexpr detail::RawValueTable<SecuritySchemeType, 4> kTexts{{"apiKey", "http", "oauth2", "openIdConnect"}};

}  // namespace

std::string_view rawValue(SecuritySchemeType value) noexcept { return kTexts.rawValue(value); }

}  // namespace VoziZazIreModels::OpenAPI3_0

namespace VoziZazIreCore {

template <>
std::optional<VoziZazIreModels::OpenAPI3_0::SecuritySchemeType>
fromRawValue<VoziZazIreModels::OpenAPI3_0::SecuritySchemeType>(std::string_view text) {
  return VoziZazIreModels::OpenAPI3_0::kTexts.fromRawValue(text);
}

}  // namespace VoziZazIreCore
