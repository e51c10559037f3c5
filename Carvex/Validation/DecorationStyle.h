#pragma once

#include "Carvex/Validation/CarvexValidationSeverity.h"
#include "platform/DynamicColor.h"

#include <optional>

namespace Carvex {

// How a validation mark looks: its underline pattern, underline colour and (none here)
// background colour.
struct DecorationStyle {
    // Underline pattern bits: a thick line (0x02) drawn dotted (0x0100).
    static constexpr int underlineThick = 0x02;
    static constexpr int underlinePatternDot = 0x0100;

    int underlineStyle = 0;
    CarvexPlatform::DynamicColor underlineColor;
    std::optional<CarvexPlatform::DynamicColor> backgroundColor;

    // Thick dotted, the system red; thick dotted, the system orange.
    static const DecorationStyle& error();
    static const DecorationStyle& warning();
    static const DecorationStyle& forSeverity(CarvexValidationSeverity severity);

    bool operator==(const DecorationStyle&) const = default;
};

}  // namespace Carvex
