#pragma once

#include "Carvex/Logging/LogLevel.h"
#include "Carvex/Logging/SourceLocation.h"

#include <QDateTime>
#include <QString>
#include <QUuid>
#include <optional>

namespace Carvex {

// One console message of a document's log. Every field but the id may be changed after creation.
class LogEntry {
public:
    LogEntry(QUuid id, QDateTime timestamp, LogLevel level, QString message,
             std::optional<QString> errorDescription, std::optional<SourceLocation> sourceLocation,
             std::optional<QString> jsonPointer);

    const QUuid& id() const { return id_; }

    QDateTime timestamp;
    LogLevel level;
    QString message;
    std::optional<QString> errorDescription;
    std::optional<SourceLocation> sourceLocation;
    std::optional<QString> jsonPointer;

    // "[HH:mm:ss]" in the local time zone.
    QString formattedTimestamp() const;
    // The formatted location and the JSON pointer, those present, joined by " • "; nothing when
    // neither is present. A present but empty pointer still counts.
    std::optional<QString> formattedLocationMetadata() const;
    // True when there is a non-empty error description to show.
    bool isExpandable() const;

    bool operator==(const LogEntry& other) const;

private:
    QUuid id_;
};

}  // namespace Carvex
