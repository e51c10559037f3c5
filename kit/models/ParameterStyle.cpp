#include "kit/models/ParameterStyle.h"

#include "kit/models/RawValueTable.h"

namespace VoziZazIreModels {
namespace {

constexpr detail::RawValueTable<ParameterStyle, 7> kTexts{{"matrix", "label", "form", "simple", "spaceDelimited", "pipeDelimited", "deepObject"}};

}  // namespace

std::string_view rawValue(ParameterStyle value) noexcept { return kTexts.rawValue(value); }

}  // namespace VoziZazIreModels

namespace VoziZazIreCore {

template <>
std::optional<VoziZazIreModels::ParameterStyle>
fromRawValue<VoziZazIreModels::ParameterStyle>(std::string_view text) {
  return VoziZazIreModels::kTexts.fromRawValue(text);
}

}  // namespace VoziZazIreCore
