#include "kit/models/APIKeyLocation.h"

#include "kit/models/RawValueTable.h"

namespace VoziZazIreModels {
namespace {

constexpr detail::RawValueTable<APIKeyLocation, 3> kTexts{{"query", "header", "cookie"}};

}  // namespace

std::string_view rawValue(APIKeyLocation value) noexcept { return kTexts.rawValue(value); }

}  // namespace VoziZazIreModels

namespace VoziZazIreCore {

template <>
std::optional<VoziZazIreModels::APIKeyLocation>
fromRawValue<VoziZazIreModels::APIKeyLocation>(std::string_view text) {
  return VoziZazIreModels::kTexts.fromRawValue(text);
}

}  // namespace VoziZazIreCore
