#pragma once

#include "Carvex/Logging/LogEntry.h"
#include "Carvex/Logging/LogStore.h"

#include <QString>
#include <memory>
#include <optional>

namespace Carvex {

// Writes entries to a document's log. Callable from any thread: on the main thread the entry is
// appended at once; from another thread it is carried over to the main thread and appended there
// (after whatever the main thread appends in the meantime). Never touches the store off the main
// thread.
class DocumentLogger {
public:
    DocumentLogger(std::shared_ptr<LogStore> store, QString fileName);

    const std::shared_ptr<LogStore>& store() const { return store_; }
    // The document's name at creation ("Untitled" without a file); no entry carries it.
    const QString& fileName() const { return fileName_; }

    void info(const QString& message, std::optional<SourceLocation> sourceLocation = std::nullopt,
              std::optional<QString> jsonPointer = std::nullopt) const;
    void success(const QString& message, std::optional<SourceLocation> sourceLocation = std::nullopt,
                 std::optional<QString> jsonPointer = std::nullopt) const;
    void warning(const QString& message, std::optional<QString> errorDescription = std::nullopt,
                 std::optional<SourceLocation> sourceLocation = std::nullopt,
                 std::optional<QString> jsonPointer = std::nullopt) const;
    void error(const QString& message, std::optional<QString> errorDescription = std::nullopt,
               std::optional<SourceLocation> sourceLocation = std::nullopt,
               std::optional<QString> jsonPointer = std::nullopt) const;

private:
    void write(LogLevel level, const QString& message, std::optional<QString> errorDescription,
               std::optional<SourceLocation> sourceLocation,
               std::optional<QString> jsonPointer) const;

    std::shared_ptr<LogStore> store_;
    QString fileName_;
};

}  // namespace Carvex
