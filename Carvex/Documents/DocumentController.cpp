#include "Carvex/Documents/DocumentController.h"

#include "Carvex/Documents/Document.h"
#include "Carvex/Documents/DocumentTypes.h"
#include "Carvex/Logging/AppLogger.h"

#include <QPointer>

namespace Carvex {

namespace {

QPointer<DocumentController>& lastMade() {
    static QPointer<DocumentController> controller;
    return controller;
}

}  // namespace

DocumentController::DocumentController(std::shared_ptr<CarvexPlatform::Settings> settings)
    : CarvexPlatform::DocumentController(std::move(settings)) {
    lastMade() = this;
    AppLogger::shared().setOpenDocumentStores([guard = QPointer<DocumentController>(this)] {
        std::vector<std::shared_ptr<LogStore>> stores;
        if (guard) {
            for (CarvexPlatform::Document* document : guard->documents()) {
                if (auto* ours = dynamic_cast<Document*>(document)) {
                    stores.push_back(ours->logStore());
                }
            }
        }
        return stores;
    });
}

DocumentController::~DocumentController() {
    if (lastMade() == this) {
        AppLogger::shared().setOpenDocumentStores({});
    }
}

DocumentController* DocumentController::instance() { return lastMade(); }

std::unique_ptr<CarvexPlatform::Document> DocumentController::makeDocumentInstance(const QString& typeName) {
    if (!DocumentTypes::fileFormat(typeName)) {
        return nullptr;
    }
    return std::make_unique<Document>(editorPreferencesStore_);
}

std::optional<QString> DocumentController::typeForContentsOfFile(const QString& path) const {
    return DocumentTypes::typeNameForPath(path);
}

}  // namespace Carvex
