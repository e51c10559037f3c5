#include "Carvex/Logging/LogEntry.h"

#include <QStringList>

namespace Carvex {

LogEntry::LogEntry(QUuid id, QDateTime timestamp, LogLevel level, QString message,
                   std::optional<QString> errorDescription,
                   std::optional<SourceLocation> sourceLocation, std::optional<QString> jsonPointer)
    : timestamp(std::move(timestamp)),
      level(level),
      message(std::move(message)),
      errorDescription(std::move(errorDescription)),
      sourceLocation(std::move(sourceLocation)),
      jsonPointer(std::move(jsonPointer)),
      id_(id) {}

QString LogEntry::formattedTimestamp() const {
    return QLatin1Char('[') + timestamp.toLocalTime().toString(QStringLiteral("HH:mm:ss")) +
           QLatin1Char(']');
}

std::optional<QString> LogEntry::formattedLocationMetadata() const {
    QStringList parts;
    if (sourceLocation) {
        parts << sourceLocation->formatted();
    }
    if (jsonPointer) {
        parts << *jsonPointer;
    }
    if (parts.isEmpty()) {
        return std::nullopt;
    }
    return parts.join(QStringLiteral(" \u2022 "));
}

bool LogEntry::isExpandable() const { return errorDescription && !errorDescription->isEmpty(); }

bool LogEntry::operator==(const LogEntry& other) const {
    return id_ == other.id_ && timestamp == other.timestamp && level == other.level &&
           message == other.message && errorDescription == other.errorDescription &&
           sourceLocation == other.sourceLocation && jsonPointer == other.jsonPointer;
}

}  // namespace Carvex
