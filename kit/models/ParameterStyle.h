#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

#include "kit/core/RawValue.h"

namespace VoziZazIreModels {

// How a parameter or header value is serialised; serves both versions. Raw values are the case names.
enum class ParameterStyle : uint8_t { matrix, label, form, simple, spaceDelimited, pipeDelimited, deepObject };

std::string_view rawValue(ParameterStyle value) noexcept;

}  // namespace VoziZazIreModels

namespace VoziZazIreCore {

template <>
std::optional<VoziZazIreModels::ParameterStyle>
fromRawValue<VoziZazIreModels::ParameterStyle>(std::string_view text);

}  // namespace VoziZazIreCore
