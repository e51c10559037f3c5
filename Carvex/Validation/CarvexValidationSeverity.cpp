#include "Carvex/Validation/CarvexValidationSeverity.h"

namespace Carvex {

std::string_view rawValue(CarvexValidationSeverity severity) {
    return severity == CarvexValidationSeverity::error ? "error" : "warning";
}

}  // namespace Carvex

namespace VoziZazIreCore {
template <>
std::optional<Carvex::CarvexValidationSeverity> fromRawValue<Carvex::CarvexValidationSeverity>(
    std::string_view text) {
    if (text == "error") {
        return Carvex::CarvexValidationSeverity::error;
    }
    if (text == "warning") {
        return Carvex::CarvexValidationSeverity::warning;
    }
    return std::nullopt;
}
}  // namespace VoziZazIreCore
