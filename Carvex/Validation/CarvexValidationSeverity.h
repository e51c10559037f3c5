#pragma once

#include "kit/core/RawValue.h"

#include <functional>
#include <string_view>

namespace Carvex {

// How serious a validation finding is.
enum class CarvexValidationSeverity { error, warning };

// "error", "warning".
std::string_view rawValue(CarvexValidationSeverity severity);

}  // namespace Carvex

namespace VoziZazIreCore {
template <>
std::optional<Carvex::CarvexValidationSeverity> fromRawValue<Carvex::CarvexValidationSeverity>(
    std::string_view text);
}  // namespace VoziZazIreCore

template <>
struct std::hash<Carvex::CarvexValidationSeverity> {
    std::size_t operator()(Carvex::CarvexValidationSeverity severity) const noexcept {
        return std::hash<std::string_view>{}(Carvex::rawValue(severity));
    }
};
