#pragma once
#include <optional>
#include <string_view>

#include "kit/core/RawValue.h"

namespace VoziZazIreCore {

enum class DiagnosticSeverity { warning, error };

std::string_view rawValue(DiagnosticSeverity severity) noexcept;
template <>
std::optional<DiagnosticSeverity> fromRawValue<DiagnosticSeverity>(std::string_view text);

}  // namespace VoziZazIreCore
