#include "platform/DynamicColor.h"

#include "platform/Appearance.h"

#include <algorithm>

namespace CarvexPlatform {

namespace {
float unit(double v) { return static_cast<float>(std::clamp(v, 0.0, 1.0)); }
}  // namespace

DynamicColor DynamicColor::rgb(double red, double green, double blue, double alpha) {
    QColor c;
    c.setRgbF(unit(red), unit(green), unit(blue), unit(alpha));
    return DynamicColor(c);
}

DynamicColor DynamicColor::white(double white, double alpha) {
    return rgb(white, white, white, alpha);
}

std::optional<SystemColor> DynamicColor::systemColor() const {
    if (const auto* named = std::get_if<Named>(&value_)) {
        return named->color;
    }
    return std::nullopt;
}

QColor DynamicColor::resolved(bool isDark) const {
    if (const auto* fixed = std::get_if<QColor>(&value_)) {
        return *fixed;
    }
    const auto& named = std::get<Named>(value_);
    QColor c = CarvexPlatform::systemColor(named.color, isDark);
    c.setAlphaF(named.alpha ? unit(*named.alpha) : unit(c.alphaF() * named.alphaFactor));
    return c;
}

QColor DynamicColor::resolved() const { return resolved(Appearance::shared().isDark()); }

DynamicColor DynamicColor::withAlphaComponent(double alpha) const {
    if (const auto* fixed = std::get_if<QColor>(&value_)) {
        QColor c = *fixed;
        c.setAlphaF(unit(alpha));
        return DynamicColor(c);
    }
    DynamicColor result = *this;
    std::get<Named>(result.value_).alpha = alpha;
    return result;
}

bool DynamicColor::operator==(const DynamicColor& other) const { return value_ == other.value_; }

}  // namespace CarvexPlatform
