#include "Carvex/Windows/DocumentController.h"

#include "platform/WindowTabHost.h"

#include "Carvex/Documents/Document.h"
#include "Carvex/Documents/DocumentTypes.h"
#include "Carvex/Documents/NewDocumentModalViewController.h"
#include "Carvex/Editor/EditorViewController.h"
#include "Carvex/Logging/AppLogger.h"
#include "Carvex/Windows/DocumentWindowController.h"
#include "Carvex/Windows/WelcomeWindowController.h"
#include "platform/AlertPresenter.h"
#include "platform/Storyboard.h"
#include "platform/ViewController.h"
#include "platform/WindowController.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>

namespace Carvex {

namespace {

QPointer<DocumentController>& lastMade() {
    static QPointer<DocumentController> controller;
    return controller;
}

CarvexPlatform::ViewController* contentOf(const QWidget* window) {
    CarvexPlatform::WindowController* controller = CarvexPlatform::WindowController::controllerOfWindow(window);
    return controller ? controller->contentViewController() : nullptr;
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

CarvexPlatform::ViewController* DocumentController::sheetHost() {
    // A hidden window (the welcome window once closed) is no place for a sheet.
    const QWidget* key = CarvexPlatform::WindowTabHost::keyWindow();
    if (key && CarvexPlatform::WindowTabHost::isWindowVisible(key)) {
        if (CarvexPlatform::ViewController* content = contentOf(key)) {
            return content;
        }
    }
    for (const QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible()) {
            if (CarvexPlatform::ViewController* content = contentOf(window)) {
                return content;
            }
        }
    }
    return nullptr;
}

void DocumentController::newDocument() {
    auto sheet = CarvexPlatform::Storyboard::main().instantiateController<NewDocumentModalViewController>(
        NewDocumentModalViewController::sceneIdentifier);
    if (!sheet) {
        auto opened = openUntitledDocumentAndDisplay(DocumentTypes::jsonDocument);
        if (auto* error = std::get_if<CarvexPlatform::Error>(&opened)) {
            CarvexPlatform::AlertPresenter::shared().present(
                CarvexPlatform::Alert{CarvexPlatform::AlertStyle::critical, QStringLiteral("Failed to create document"),
                                      error->localizedDescription, {}},
                nullptr, {});
        }
        return;
    }
    sheet->onComplete = [guard = QPointer<DocumentController>(this)](const QString& text, DocumentFormat format) {
        if (guard) {
            guard->openGeneratedDocument(text, format);
        }
    };
    if (CarvexPlatform::ViewController* host = sheetHost()) {
        host->presentAsSheet(std::move(sheet));
        return;
    }
    WelcomeWindowController::shared().showWelcomeWindow();
}

CarvexPlatform::Document* DocumentController::openGeneratedDocument(const QString& text, DocumentFormat format) {
    const QString& typeName = format == DocumentFormat::yaml ? DocumentTypes::yamlDocument : DocumentTypes::jsonDocument;
    auto made = makeUntitledDocumentOfType(typeName);
    if (auto* error = std::get_if<CarvexPlatform::Error>(&made)) {
        CarvexPlatform::AlertPresenter::shared().present(
            CarvexPlatform::Alert{CarvexPlatform::AlertStyle::critical, QStringLiteral("Failed to create document"),
                                  error->localizedDescription, {}},
            nullptr, {});
        return nullptr;
    }
    CarvexPlatform::Document* document = std::get<std::unique_ptr<CarvexPlatform::Document>>(made).get();
    auto* ours = dynamic_cast<Document*>(document);
    if (ours) {
        ours->setContent(text);
        // As for a document read from a file: the format follows the type, so Convert knows it.
        ours->fileFormat = DocumentTypes::fileFormat(typeName);
    }
    addDocument(std::move(std::get<std::unique_ptr<CarvexPlatform::Document>>(made)));
    document->makeWindowControllers();
    document->showWindows();
    WelcomeWindowController::closeIfLoaded();
    if (ours && !document->windowControllers().empty()) {
        if (auto* window = dynamic_cast<DocumentWindowController*>(document->windowControllers().front())) {
            if (auto* editor = dynamic_cast<EditorViewController*>(window->editorViewController())) {
                editor->setContent(text,
                                   format == DocumentFormat::yaml ? DocumentLanguage::yaml : DocumentLanguage::json);
            }
        }
    }
    return document;
}

}  // namespace Carvex
