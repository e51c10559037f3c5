#include "Carvex/Logging/DocumentLogger.h"

#include "platform/MainScheduler.h"
#include "platform/MainThread.h"

namespace Carvex {

DocumentLogger::DocumentLogger(std::shared_ptr<LogStore> store, QString fileName)
    : store_(std::move(store)), fileName_(std::move(fileName)) {}

void DocumentLogger::info(const QString& message, std::optional<SourceLocation> sourceLocation,
                          std::optional<QString> jsonPointer) const {
    write(LogLevel::info, message, std::nullopt, std::move(sourceLocation), std::move(jsonPointer));
}

void DocumentLogger::success(const QString& message, std::optional<SourceLocation> sourceLocation,
                             std::optional<QString> jsonPointer) const {
    write(LogLevel::success, message, std::nullopt, std::move(sourceLocation),
          std::move(jsonPointer));
}

void DocumentLogger::warning(const QString& message, std::optional<QString> errorDescription,
                             std::optional<SourceLocation> sourceLocation,
                             std::optional<QString> jsonPointer) const {
    write(LogLevel::warning, message, std::move(errorDescription), std::move(sourceLocation),
          std::move(jsonPointer));
}

void DocumentLogger::error(const QString& message, std::optional<QString> errorDescription,
                           std::optional<SourceLocation> sourceLocation,
                           std::optional<QString> jsonPointer) const {
    write(LogLevel::error, message, std::move(errorDescription), std::move(sourceLocation),
          std::move(jsonPointer));
}

void DocumentLogger::write(LogLevel level, const QString& message,
                           std::optional<QString> errorDescription,
                           std::optional<SourceLocation> sourceLocation,
                           std::optional<QString> jsonPointer) const {
    if (!store_) {
        return;
    }
    LogEntry entry(QUuid::createUuid(), QDateTime::currentDateTime(), level, message,
                   std::move(errorDescription), std::move(sourceLocation), std::move(jsonPointer));
    if (CarvexPlatform::MainThread::isCurrent()) {
        store_->append(entry);
        return;
    }
    // The store belongs to the main thread; the task keeps it alive until it runs.
    CarvexPlatform::MainScheduler::shared()->post(
        [store = store_, entry = std::move(entry)] { store->append(entry); });
}

}  // namespace Carvex
