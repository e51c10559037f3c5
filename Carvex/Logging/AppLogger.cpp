#include "Carvex/Logging/AppLogger.h"

#include "platform/MainScheduler.h"

namespace Carvex {

AppLogger& AppLogger::shared() {
    static AppLogger* const logger = new AppLogger();
    return *logger;
}

void AppLogger::setOpenDocumentStores(OpenDocumentStores provider) {
    *provider_ = std::move(provider);
}

void AppLogger::info(const QString& message) const {
    write(LogLevel::info, message, std::nullopt);
}

void AppLogger::success(const QString& message) const {
    write(LogLevel::success, message, std::nullopt);
}

void AppLogger::warning(const QString& message, std::optional<QString> description) const {
    write(LogLevel::warning, message, std::move(description));
}

void AppLogger::error(const QString& message, std::optional<QString> description) const {
    write(LogLevel::error, message, std::move(description));
}

void AppLogger::write(LogLevel level, const QString& message,
                      std::optional<QString> description) const {
    LogEntry entry(QUuid::createUuid(), QDateTime::currentDateTime(), level, message,
                   std::move(description), std::nullopt, std::nullopt);
    // The provider is read on the main thread only, when the task runs.
    CarvexPlatform::MainScheduler::shared()->post([provider = provider_, entry = std::move(entry)] {
        if (!*provider) {
            return;
        }
        for (const auto& store : (*provider)()) {
            if (store) {
                store->append(entry);
            }
        }
    });
}

}  // namespace Carvex
