#include "kit/models/SecuritySchemeType.h"

#include "kit/models/RawValueTable.h"

namespace VoziZazIreModels {
namespace {

constexpr detail::RawValueTable<SecuritySchemeType, 5> kTexts{{"apiKey", "http", "oauth2", "openIdConnect", "mutualTLS"}};

}  // namespace

std::string_view rawValue(SecuritySchemeType value) noexcept { return kTexts.rawValue(value); }

}  // namespace VoziZazIreModels

namespace VoziZazIreCore {

template <>
std::optional<VoziZazIreModels::SecuritySchemeType>
fromRawValue<VoziZazIreModels::SecuritySchemeType>(std::string_view text) {
  return VoziZazIreModels::kTexts.fromRawValue(text);
}

}  // namespace VoziZazIreCore
