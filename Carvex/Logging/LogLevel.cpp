#include "Carvex/Logging/LogLevel.h"

#include "platform/SystemSymbol.h"

#include <QPainter>

namespace Carvex {

std::string_view rawValue(LogLevel level) {
    switch (level) {
        case LogLevel::info: return "info";
        case LogLevel::success: return "success";
        case LogLevel::warning: return "warning";
        case LogLevel::error: return "error";
    }
    return "info";
}

QString iconName(LogLevel level) {
    switch (level) {
        case LogLevel::info: return QStringLiteral("info.circle.fill");
        case LogLevel::success: return QStringLiteral("checkmark.circle.fill");
        case LogLevel::warning: return QStringLiteral("exclamationmark.triangle.fill");
        case LogLevel::error: return QStringLiteral("xmark.octagon.fill");
    }
    return {};
}

CarvexPlatform::SystemColor iconColor(LogLevel level) {
    using CarvexPlatform::SystemColor;
    switch (level) {
        case LogLevel::info: return SystemColor::systemBlue;
        case LogLevel::success: return SystemColor::systemGreen;
        case LogLevel::warning: return SystemColor::systemOrange;
        case LogLevel::error: return SystemColor::systemRed;
    }
    return SystemColor::systemBlue;
}

std::optional<QImage> makeIcon(LogLevel level, double size) {
    const std::string_view raw = rawValue(level);
    auto symbol = CarvexPlatform::SystemSymbol::image(
        iconName(level), size, QString::fromLatin1(raw.data(), static_cast<qsizetype>(raw.size())));
    if (!symbol) {
        return std::nullopt;
    }
    QImage tinted = symbol->copy();
    {
        QPainter painter(&tinted);
        painter.setCompositionMode(QPainter::CompositionMode_SourceAtop);
        painter.fillRect(tinted.rect(), CarvexPlatform::systemColor(iconColor(level)));
    }
    return tinted;
}

}  // namespace Carvex

namespace VoziZazIreCore {
template <>
std::optional<Carvex::LogLevel> fromRawValue<Carvex::LogLevel>(std::string_view text) {
    for (Carvex::LogLevel level : Carvex::allLogLevels) {
        if (Carvex::rawValue(level) == text) {
            return level;
        }
    }
    return std::nullopt;
}
}  // namespace VoziZazIreCore
