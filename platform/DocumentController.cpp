#include "platform/DocumentController.h"

#include "platform/AlertPresenter.h"
#include "platform/FilePanel.h"
#include "platform/MainScheduler.h"
#include "platform/MemoryRelease.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace CarvexPlatform {

namespace {

DocumentController*& sharedController() {
    static DocumentController* controller = nullptr;
    return controller;
}

QString quoted(const QString& name) { return QStringLiteral("\u201C") + name + QStringLiteral("\u201D"); }

}  // namespace

DocumentController::DocumentController(std::shared_ptr<Settings> settings) : settings_(std::move(settings)) {
    previousShared_ = sharedController();
    sharedController() = this;
}

DocumentController::~DocumentController() {
    if (sharedController() == this) {
        sharedController() = previousShared_;
    }
    while (!documents_.empty()) {
        documents_.pop_back();
    }
}

DocumentController& DocumentController::shared() {
    if (!sharedController()) {
        // Kept for the life of the process.
        new DocumentController();
    }
    return *sharedController();
}

std::vector<Document*> DocumentController::documents() const {
    std::vector<Document*> result;
    result.reserve(documents_.size());
    for (const auto& document : documents_) {
        result.push_back(document.get());
    }
    return result;
}

void DocumentController::addDocument(std::unique_ptr<Document> document) {
    if (document) {
        documents_.push_back(std::move(document));
    }
}

void DocumentController::removeDocument(Document* document) {
    const auto it = std::find_if(documents_.begin(), documents_.end(),
                                 [document](const auto& owned) { return owned.get() == document; });
    if (it == documents_.end()) {
        return;
    }
    auto holder = std::make_shared<std::unique_ptr<Document>>(std::move(*it));
    documents_.erase(it);
    // The document may be running its own code (its close); it goes on a later turn, and the memory
    // it held goes back to the system once the application is idle.
    MainScheduler::shared()->post([holder] {
        holder->reset();
        MemoryRelease::requestRelease();
    });
}

QString DocumentController::identityOf(const QString& path) {
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

Document* DocumentController::documentForFile(const QString& path) const {
    if (path.isEmpty()) {
        return nullptr;
    }
    const QString identity = identityOf(path);
    for (const auto& document : documents_) {
        if (document->hasFile() && identityOf(document->filePath()) == identity) {
            return document.get();
        }
    }
    return nullptr;
}

bool DocumentController::hasEditedDocuments() const {
    return std::any_of(documents_.begin(), documents_.end(),
                       [](const auto& document) { return document->isDocumentEdited(); });
}

std::unique_ptr<Document> DocumentController::makeDocumentInstance(const QString&) { return nullptr; }

std::optional<QString> DocumentController::typeForContentsOfFile(const QString&) const { return std::nullopt; }

std::variant<std::unique_ptr<Document>, Error> DocumentController::makeUntitledDocumentOfType(
    const QString& typeName) {
    auto document = makeDocumentInstance(typeName);
    if (!document) {
        return Error{Error::cocoaDomain, Error::fileReadUnknownCode,
                     QStringLiteral("Documents of the type %1 can\u2019t be made.").arg(quoted(typeName))};
    }
    document->setFileType(typeName);
    return document;
}

std::variant<std::unique_ptr<Document>, Error> DocumentController::makeDocumentWithContentsOfFile(
    const QString& path, const QString& typeName) {
    auto made = makeUntitledDocumentOfType(typeName);
    if (auto* error = std::get_if<Error>(&made)) {
        return *error;
    }
    auto document = std::move(std::get<std::unique_ptr<Document>>(made));
    if (auto error = document->readFromFile(path, typeName)) {
        return *error;
    }
    return document;
}

void DocumentController::openDocumentWithContentsOfFile(const QString& path, bool display,
                                                        OpenCompletion completion, bool showFailure) {
    if (Document* open = documentForFile(path)) {
        if (display) {
            open->showWindows();
        }
        if (completion) {
            completion(open, true, std::nullopt);
        }
        return;
    }
    const QString name = QFileInfo(path).fileName();
    auto fail = [&](const Error& error) {
        if (showFailure) {
            AlertPresenter::shared().present(
                Alert{AlertStyle::warning, QStringLiteral("The document %1 could not be opened.").arg(quoted(name)),
                      error.localizedDescription, {}},
                nullptr, {});
        }
        if (completion) {
            completion(nullptr, false, error);
        }
    };
    const auto typeName = typeForContentsOfFile(path);
    if (!typeName) {
        fail(Error{Error::cocoaDomain, Error::fileReadUnknownCode,
                   QStringLiteral("Carvex cannot open files of this type.")});
        return;
    }
    auto made = makeDocumentWithContentsOfFile(path, *typeName);
    if (auto* error = std::get_if<Error>(&made)) {
        fail(*error);
        return;
    }
    Document* document = std::get<std::unique_ptr<Document>>(made).get();
    addDocument(std::move(std::get<std::unique_ptr<Document>>(made)));
    noteNewRecentDocumentPath(path);
    if (display) {
        document->makeWindowControllers();
        document->showWindows();
    }
    if (completion) {
        completion(document, false, std::nullopt);
    }
}

std::variant<Document*, Error> DocumentController::openUntitledDocumentAndDisplay(const QString& typeName) {
    auto made = makeUntitledDocumentOfType(typeName);
    if (auto* error = std::get_if<Error>(&made)) {
        return *error;
    }
    Document* document = std::get<std::unique_ptr<Document>>(made).get();
    addDocument(std::move(std::get<std::unique_ptr<Document>>(made)));
    document->makeWindowControllers();
    document->showWindows();
    return document;
}

void DocumentController::openDocument() {
    const QStringList recent = recentDocumentPaths();
    const QString folder = recent.isEmpty() ? QDir::homePath() : QFileInfo(recent.front()).absolutePath();
    FilePanel::shared().runOpen(folder, {}, nullptr,
                                [guard = QPointer<DocumentController>(this)](std::optional<QString> path) {
                                    if (guard && path && !path->isEmpty()) {
                                        guard->openDocumentWithContentsOfFile(*path, true);
                                    }
                                });
}

QStringList DocumentController::recentDocumentPaths() const {
    const auto stored = settings_->object(recentDocumentsKey);
    if (!stored) {
        return {};
    }
    QStringList paths = stored->toStringList();
    paths.removeAll(QString());
    if (paths.size() > maximumRecentDocumentCount) {
        paths = paths.mid(0, maximumRecentDocumentCount);
    }
    return paths;
}

void DocumentController::noteNewRecentDocumentPath(const QString& path) {
    if (path.isEmpty()) {
        return;
    }
    const QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    QStringList paths = recentDocumentPaths();
    paths.removeAll(absolute);
    paths.prepend(absolute);
    while (paths.size() > maximumRecentDocumentCount) {
        paths.removeLast();
    }
    settings_->setValue(recentDocumentsKey, paths);
}

void DocumentController::clearRecentDocuments() { settings_->remove(recentDocumentsKey); }

void DocumentController::closeAllDocuments(std::function<void(bool allClosed)> completion) {
    std::vector<QPointer<Document>> remaining;
    for (const auto& document : documents_) {
        remaining.emplace_back(document.get());
    }
    closeNext(std::move(remaining), std::move(completion));
}

void DocumentController::closeNext(std::vector<QPointer<Document>> remaining,
                                   std::function<void(bool)> completion) {
    while (!remaining.empty() && !remaining.front()) {
        remaining.erase(remaining.begin());
    }
    if (remaining.empty()) {
        if (completion) {
            completion(true);
        }
        return;
    }
    QPointer<Document> document = remaining.front();
    remaining.erase(remaining.begin());
    document->canClose([guard = QPointer<DocumentController>(this), document, remaining,
                        completion](bool closable) mutable {
        if (!closable) {
            if (completion) {
                completion(false);
            }
            return;
        }
        if (document) {
            document->close();
        }
        if (guard) {
            guard->closeNext(std::move(remaining), std::move(completion));
        }
    });
}

}  // namespace CarvexPlatform
