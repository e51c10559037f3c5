#include "Carvex/Console/ConsoleViewModel.h"

#include "Carvex/Logging/InMemoryLogStore.h"

#include <QDateTime>
#include <QPointer>
#include <QUuid>

#include <typeinfo>

namespace Carvex {

ConsoleViewModel::ConsoleViewModel(std::shared_ptr<LogStore> store) : store_(std::move(store)) {
    if (store_ && typeid(*store_) == typeid(InMemoryLogStore)) {
        auto* memory = static_cast<InMemoryLogStore*>(store_.get());
        QPointer<ConsoleViewModel> self(this);
        memory->onEntriesChanged = [self] {
            if (self) emit self->objectWillChange();
        };
    }
}

void ConsoleViewModel::append(LogLevel level, const QString& message, std::optional<QString> errorDescription,
                              std::optional<SourceLocation> sourceLocation, std::optional<QString> jsonPointer) {
    store_->append(LogEntry(QUuid::createUuid(), QDateTime::currentDateTime(), level, message,
                            std::move(errorDescription), std::move(sourceLocation), std::move(jsonPointer)));
}

}  // namespace Carvex
