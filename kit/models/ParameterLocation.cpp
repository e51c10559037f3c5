#include "kit/models/ParameterLocation.h"

#include "kit/models/RawValueTable.h"

namespace VoziZazIreModels {
namespace {

constexpr detail::RawValueTable<ParameterLocation, 4> kTexts{{"query", "header", "path", "cookie"}};

}  // namespace

std::string_view rawValue(ParameterLocation value) noexcept { return kTexts.rawValue(value); }

}  // namespace VoziZazIreModels

namespace VoziZazIreCore {

template <>
std::optional<VoziZazIreModels::ParameterLocation>
fromRawValue<VoziZazIreModels::ParameterLocation>(std::string_view text) {
  return VoziZazIreModels::kTexts.fromRawValue(text);
}

}  // namespace VoziZazIreCore
