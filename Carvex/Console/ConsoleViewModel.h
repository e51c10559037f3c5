#pragma once

#include "Carvex/Logging/LogEntry.h"
#include "Carvex/Logging/LogStore.h"

#include <QObject>

#include <memory>
#include <optional>
#include <vector>

namespace Carvex {

// What the console presents: a document's log store. It announces changes of an in-memory store
// through `objectWillChange` (until someone else takes the store's change hook). Main thread only.
class ConsoleViewModel : public QObject {
    Q_OBJECT

public:
    explicit ConsoleViewModel(std::shared_ptr<LogStore> store);

    const std::shared_ptr<LogStore>& store() const { return store_; }
    const std::vector<LogEntry>& entries() const { return store_->entries(); }
    bool isEmpty() const { return store_->entries().empty(); }

    void clear() { store_->clear(); }
    void append(const LogEntry& entry) { store_->append(entry); }
    // A new entry with a fresh id and the current time.
    void append(LogLevel level, const QString& message, std::optional<QString> errorDescription = std::nullopt,
                std::optional<SourceLocation> sourceLocation = std::nullopt,
                std::optional<QString> jsonPointer = std::nullopt);

signals:
    void objectWillChange();

private:
    std::shared_ptr<LogStore> store_;
};

}  // namespace Carvex
