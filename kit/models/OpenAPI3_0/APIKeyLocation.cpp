#include "kit/models/OpenAPI3_0/APIKeyLocation.h"

#include "kit/models/RawValueTable.h"

namespace VoziZazIreModels::OpenAPI3_0 {
namespace {

constexpr detail::RawValueTable<APIKeyLocation, 3> kTexts{{"query", "header", "cookie"}};

}  // namespace

std::string_view rawValue(APIKeyLocation value) noexcept { return kTexts.rawValue(value); }

}  // namespace VoziZazIreModels::OpenAPI3_0

namespace VoziZazIreCore {

template <>
std::optional<VoziZazIreModels::OpenAPI3_0::APIKeyLocation>
fromRawValue<VoziZazIreModels::OpenAPI3_0::APIKeyLocation>(std::string_view text) {
  return VoziZazIreModels::OpenAPI3_0::kTexts.fromRawValue(text);
}

}  // namespace VoziZazIreCore
