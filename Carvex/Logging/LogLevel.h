#pragma once

#include "kit/core/RawValue.h"
#include "platform/SystemColor.h"

#include <QImage>
#include <QString>
#include <array>
#include <functional>
#include <optional>
#include <string_view>

namespace Carvex {

// The level of a console log entry.
enum class LogLevel { info, success, warning, error };

// Every level, in declaration order.
inline constexpr std::array<LogLevel, 4> allLogLevels = {LogLevel::info, LogLevel::success,
                                                         LogLevel::warning, LogLevel::error};

std::string_view rawValue(LogLevel level);

// The system symbol shown for the level ("info.circle.fill", ...).
QString iconName(LogLevel level);
// The system colour the symbol is tinted with.
CarvexPlatform::SystemColor iconColor(LogLevel level);
// The level's symbol at `size` points, tinted with its colour in the current appearance; nothing
// when the symbol is missing.
std::optional<QImage> makeIcon(LogLevel level, double size);

}  // namespace Carvex

namespace VoziZazIreCore {
template <>
std::optional<Carvex::LogLevel> fromRawValue<Carvex::LogLevel>(std::string_view text);
}  // namespace VoziZazIreCore

template <>
struct std::hash<Carvex::LogLevel> {
    std::size_t operator()(Carvex::LogLevel level) const noexcept {
        return std::hash<std::string_view>{}(Carvex::rawValue(level));
    }
};
