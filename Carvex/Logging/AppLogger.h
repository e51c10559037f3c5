#pragma once

#include "Carvex/Logging/LogStore.h"

#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace Carvex {

// Writes one entry into the log of every open document. Callable from any thread; the entry is
// always appended on a later turn of the main thread, to the documents open at that moment, the
// same entry (same id) in each. With no document open the entry is dropped.
class AppLogger {
public:
    // The log stores of the open documents, in the document controller's order.
    using OpenDocumentStores = std::function<std::vector<std::shared_ptr<LogStore>>()>;

    static AppLogger& shared();

    // Installed by the document controller; main thread only.
    void setOpenDocumentStores(OpenDocumentStores provider);

    void info(const QString& message) const;
    void success(const QString& message) const;
    void warning(const QString& message,
                 std::optional<QString> description = std::nullopt) const;
    void error(const QString& message, std::optional<QString> description = std::nullopt) const;

private:
    AppLogger() = default;
    void write(LogLevel level, const QString& message, std::optional<QString> description) const;

    std::shared_ptr<OpenDocumentStores> provider_ = std::make_shared<OpenDocumentStores>();
};

}  // namespace Carvex
