#pragma once
#include "platform/SystemColor.h"

#include <QColor>
#include <optional>
#include <variant>

namespace CarvexPlatform {

// A colour that is either fixed or a named system colour that follows the appearance by itself.
// A named colour may carry an alpha factor (its own alpha scaled) or, through
// `withAlphaComponent`, a replacement alpha.
class DynamicColor {
public:
    DynamicColor() : value_(QColor(Qt::black)) {}
    DynamicColor(const QColor& fixed) : value_(fixed) {}  // NOLINT: a fixed colour converts freely
    DynamicColor(SystemColor named, double alphaFactor = 1.0)  // NOLINT
        : value_(Named{named, alphaFactor, std::nullopt}) {}

    // An opaque colour from red, green and blue components in 0...1.
    static DynamicColor rgb(double red, double green, double blue, double alpha = 1.0);
    // A grey of the given white level and alpha, both in 0...1.
    static DynamicColor white(double white, double alpha);

    bool isSystem() const { return std::holds_alternative<Named>(value_); }
    // The named colour, when this is one.
    std::optional<SystemColor> systemColor() const;

    // The colour as drawn in the dark or the light appearance.
    QColor resolved(bool isDark) const;
    // The colour as drawn in the application's current appearance.
    QColor resolved() const;

    // The same colour with its alpha replaced by `alpha` (in every appearance).
    DynamicColor withAlphaComponent(double alpha) const;

    bool operator==(const DynamicColor& other) const;

private:
    struct Named {
        SystemColor color;
        double alphaFactor;
        std::optional<double> alpha;
        bool operator==(const Named&) const = default;
    };
    std::variant<QColor, Named> value_;
};

}  // namespace CarvexPlatform
