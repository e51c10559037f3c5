#include "Carvex/Validation/DecorationStyle.h"

namespace Carvex {

const DecorationStyle& DecorationStyle::error() {
    static const DecorationStyle style{underlineThick | underlinePatternDot,
                                       CarvexPlatform::SystemColor::systemRed, std::nullopt};
    return style;
}

const DecorationStyle& DecorationStyle::warning() {
    static const DecorationStyle style{underlineThick | underlinePatternDot,
                                       CarvexPlatform::SystemColor::systemOrange, std::nullopt};
    return style;
}

const DecorationStyle& DecorationStyle::forSeverity(CarvexValidationSeverity severity) {
    return severity == CarvexValidationSeverity::error ? error() : warning();
}

}  // namespace Carvex
