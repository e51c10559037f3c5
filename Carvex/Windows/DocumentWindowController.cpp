#include "Carvex/Windows/DocumentWindowController.h"

#include "Carvex/Console/ConsoleViewController.h"
#include "Carvex/Conversion/ConversionError.h"
#include "Carvex/Documents/Document.h"
#include "Carvex/Documents/DocumentTypes.h"
#include "Carvex/TextView/EditorTextView.h"
#include "Carvex/Logging/DocumentLogger.h"
#include "Carvex/Validation/OpenAPIValidationService.h"
#include "Carvex/Validation/ValidationDecorationController.h"
#include "Carvex/Validation/ValidationResultsViewController.h"
#include "Carvex/Windows/EditorSplitViewController.h"
#include "Carvex/Windows/SplitViewController.h"
#include "Carvex/Windows/ValidationResultApplier.h"
#include "Carvex/Windows/WindowPanes.h"
#include "platform/BackgroundTask.h"
#include "platform/DocumentController.h"
#include "platform/SegmentedControl.h"
#include "platform/SystemSymbol.h"
#include "platform/WindowTabHost.h"

#include <QAction>
#include <QEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMainWindow>
#include <QPainter>
#include <QScreen>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace Carvex {

namespace {

constexpr double symbolPointSize = 18;

// A symbol in the colour of the window's text.
QIcon tintedSymbol(const QImage& symbol, const QColor& color) {
    QImage tinted = symbol;
    QPainter painter(&tinted);
    painter.setCompositionMode(QPainter::CompositionMode_SourceAtop);
    painter.fillRect(tinted.rect(), color);
    painter.end();
    tinted.setText(QStringLiteral("Description"), symbol.text(QStringLiteral("Description")));
    return QIcon(QPixmap::fromImage(tinted));
}

QImage requiredSymbol(const QString& name, const QString& description) {
    auto image = CarvexPlatform::SystemSymbol::image(name, symbolPointSize, description);
    if (!image) {
        // The Convert control cannot be drawn without its symbols: a fault of the program itself.
        std::fprintf(stderr, "Missing system symbol \"%s\"\n", name.toUtf8().constData());
        std::abort();
    }
    return *image;
}

// What a conversion run hands back to the main thread: the text, or what it threw.
struct ConversionOutcome {
    QString text;
    std::exception_ptr error;
};

}  // namespace

void DocumentWindowController::registerScene(CarvexPlatform::Storyboard& storyboard) {
    storyboard.registerScene(sceneIdentifier, [] { return std::make_unique<DocumentWindowController>(); });
    SplitViewController::registerScene(storyboard);
    storyboard.registerScene(QStringLiteral("EmbedValidationResultsViewController"),
                             [] { return std::make_unique<ValidationResultsViewController>(); });
    if (!storyboard.hasScene(ConsoleViewController::sceneIdentifier)) {
        ConsoleViewController::registerScene(storyboard);
    }
}

void DocumentWindowController::windowDidJoinDocument(Document& document) {
    QMainWindow* window = this->window();
    // The window outlives its document's close by a turn: what its runs bring back then is dropped.
    connect(&document, &CarvexPlatform::Document::documentDidClose, this, [this] { documentDidClose(); });

    CarvexPlatform::WindowTabHost::setTabbingMode(window, CarvexPlatform::WindowTabHost::TabbingMode::preferred);
    CarvexPlatform::WindowTabHost::setTabbingIdentifier(window, tabbingIdentifier);

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect frame = screen->availableGeometry();
        window->resize(std::min(static_cast<int>(frame.width() * 0.8), 1400),
                       std::min(static_cast<int>(frame.height() * 0.8), 900));
        window->move(frame.center() - window->rect().center());
    }

    for (QWidget* other : CarvexPlatform::WindowTabHost::windows()) {
        if (other == window || CarvexPlatform::WindowTabHost::tabbingIdentifier(other) != tabbingIdentifier ||
            !CarvexPlatform::WindowTabHost::isWindowVisible(other)) {
            continue;
        }
        CarvexPlatform::WindowTabHost::addTabbedWindow(other, window);
        CarvexPlatform::WindowTabHost::makeKeyAndOrderFront(window);
        break;
    }

    auto split = CarvexPlatform::Storyboard::main().instantiateController<SplitViewController>(
        SplitViewController::sceneIdentifier);
    if (split) {
        SplitViewController* splitController = split.get();
        setContentViewController(std::move(split));
        EditorSplitViewController* editorArea = splitController->editorSplitViewController();
        CarvexPlatform::ViewController* editor = editorArea ? editorArea->editorViewController() : nullptr;
        CarvexPlatform::ViewController* properties = splitController->propertiesViewController();
        WindowPanes::setEditorDocument(editor, &document);
        WindowPanes::loadDocumentContent(editor);
        WindowPanes::setPropertiesDocument(properties, &document);
        setEditorViewController(editor);
        setPropertiesController(properties);
        if (editorArea) {
            editorArea->setBoundDocument(&document);
            if (ConsoleViewController* console = editorArea->consoleViewController()) {
                console->bind(document);
            }
        }
    }
}

QWidget* DocumentWindowController::initialFirstResponder() const {
    // The keyboard goes to the text, however the window came forward. Left to the toolkit, a window
    // on its own gave it to the first widget that takes keys (the text, by luck of the layout), but
    // a tab that joined a host took the host's focus into its page while it was still empty, and a
    // host activated before its new page was shown gave the keys to its tab bar: the keys went
    // nowhere until a click in the text.
    return WindowPanes::editorTextView(editorViewController());
}

void DocumentWindowController::showConvertedContent(const QString& text, FileFormat format) {
    if (editorViewController()) {
        WindowPanes::setEditorContent(editorViewController(), text, format);
        synchronizeWindowTitleWithDocumentName();
    }
}

DocumentWindowController::DocumentWindowController()
    : validationService_(std::make_shared<OpenAPIValidationService>()) {}

DocumentWindowController::~DocumentWindowController() {
    // Results that arrive after the window has gone are dropped.
    validationRun_.cancel();
    conversionRun_.cancel();
    dropRunState();
}

void DocumentWindowController::documentDidClose() {
    validationRun_.cancel();
    conversionRun_.cancel();
    dropRunState();
    WindowPanes::propertiesDocumentDidClose(propertiesController_);
}

void DocumentWindowController::dropRunState() {
    QObject::disconnect(editRecorder_);
    validatedViewText_.clear();
    editsDuringRun_.clear();
    if (application_) {
        application_->cancel();
        application_.reset();
    }
}

void DocumentWindowController::setValidationService(std::shared_ptr<const OpenAPIValidating> service) {
    validationService_ = std::move(service);
}

Document* DocumentWindowController::ownDocument() const { return dynamic_cast<Document*>(document()); }

QMainWindow* DocumentWindowController::loadWindow() {
    auto* window = new QMainWindow();
    QRect frame(0, 0, 1200, 800);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        frame = screen->availableGeometry();
    }
    const int width = std::min(static_cast<int>(frame.width() * 0.8), 1400);
    const int height = std::min(static_cast<int>(frame.height() * 0.8), 900);
    window->setMinimumSize(minimumWidth, minimumHeight);
    window->resize(std::max(width, minimumWidth), std::max(height, minimumHeight));
    window->move(frame.center() - window->rect().center());
    CarvexPlatform::WindowTabHost::setTabbingMode(window, CarvexPlatform::WindowTabHost::TabbingMode::preferred);
    return window;
}

void DocumentWindowController::windowDidLoad() {
    if (editorViewController_) {
        WindowPanes::setEditorDocument(editorViewController_, ownDocument());
        WindowPanes::loadDocumentContent(editorViewController_);
    }
    setupToolbar();
}

QStringList DocumentWindowController::toolbarDefaultItemIdentifiers() {
    return {convertItemIdentifier, flexibleSpaceItemIdentifier, validateItemIdentifier};
}

void DocumentWindowController::setupToolbar() {
    QMainWindow* host = isWindowLoaded() ? window() : nullptr;
    auto* toolbar = new QToolBar(host);
    toolbar->setObjectName(toolbarIdentifier);
    toolbar->setWindowTitle(QStringLiteral("Toolbar"));
    toolbar->setMovable(false);
    toolbar->setFloatable(false);
    toolbar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    toolbar->setContextMenuPolicy(Qt::PreventContextMenu);
    toolbar->toggleViewAction()->setEnabled(false);
    const QColor ink = toolbar->palette().color(QPalette::WindowText);

    for (const QString& identifier : toolbarDefaultItemIdentifiers()) {
        if (identifier == convertItemIdentifier) {
            auto* group = new QWidget(toolbar);
            auto* layout = new QVBoxLayout(group);
            layout->setContentsMargins(4, 2, 4, 2);
            layout->setSpacing(2);
            auto* control = new CarvexPlatform::SegmentedControl(2, group);
            const QImage json = requiredSymbol(QStringLiteral("curlybraces"), QStringLiteral("JSON"));
            const QImage yaml = requiredSymbol(QStringLiteral("doc.text"), QStringLiteral("YAML"));
            control->setImage(0, json);
            control->setImage(1, yaml);
            control->button(0)->setIcon(tintedSymbol(json, ink));
            control->button(1)->setIcon(tintedSymbol(yaml, ink));
            control->setToolTip(0, QStringLiteral("Convert to JSON"));
            control->setToolTip(1, QStringLiteral("Convert to YAML"));
            connect(control, &CarvexPlatform::SegmentedControl::activated, this,
                    [this] { convertSegmentAction(); });
            auto* label = new QLabel(QStringLiteral("Convert"), group);
            label->setAlignment(Qt::AlignHCenter);
            QFont small = label->font();
            small.setPointSizeF(small.pointSizeF() * 0.9);
            label->setFont(small);
            layout->addWidget(control, 0, Qt::AlignHCenter);
            layout->addWidget(label);
            QAction* item = toolbar->addWidget(group);
            item->setObjectName(convertItemIdentifier);
            item->setText(QStringLiteral("Convert"));
            item->setProperty("paletteLabel", QStringLiteral("Convert Format"));
            convertSegmentedControl_ = control;
            updateConvertSegments();
        } else if (identifier == flexibleSpaceItemIdentifier) {
            auto* space = new QWidget(toolbar);
            space->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
            toolbar->addWidget(space)->setObjectName(flexibleSpaceItemIdentifier);
        } else if (identifier == validateItemIdentifier) {
            auto* item = new QAction(QStringLiteral("Validate"), toolbar);
            item->setObjectName(validateItemIdentifier);
            item->setProperty("paletteLabel", QStringLiteral("Validate Document"));
            item->setToolTip(QStringLiteral("Validate the OpenAPI document"));
            if (const auto symbol = CarvexPlatform::SystemSymbol::image(QStringLiteral("checkmark.seal"),
                                                                       symbolPointSize, QStringLiteral("Validate"))) {
                item->setIcon(tintedSymbol(*symbol, ink));
            }
            connect(item, &QAction::triggered, this, [this] { validateDocument(); });
            toolbar->addAction(item);
            item->setEnabled(validateToolbarItem(item));
            validateToolbarItem_ = item;
        }
    }
    toolbar_ = toolbar;
    if (host) {
        host->addToolBar(Qt::TopToolBarArea, toolbar);
    }
}

bool DocumentWindowController::validateToolbarItem(const QAction* item) const {
    if (item && item->objectName() == validateItemIdentifier) {
        return !isValidating_;
    }
    return true;
}

void DocumentWindowController::updateConvertSegments() {
    if (!convertSegmentedControl_) {
        return;
    }
    convertSegmentedControl_->setEnabled(0, conversionController_.canConvertToJSON());
    convertSegmentedControl_->setEnabled(1, conversionController_.canConvertToYAML());
}

void DocumentWindowController::windowDidBecomeMain() {
    if (Document* document = ownDocument()) {
        conversionController_.updateFormat(document->fileFormat);
        updateConvertSegments();
    } else {
        conversionController_.updateFormat(std::nullopt);
    }
}

void DocumentWindowController::refreshConversionState() { windowDidBecomeMain(); }

bool DocumentWindowController::eventFilter(QObject* watched, QEvent* event) {
    if (isWindowLoaded() && watched == window() &&
        (event->type() == QEvent::WindowActivate || event->type() == QEvent::Show)) {
        windowDidBecomeMain();
    }
    return CarvexPlatform::WindowController::eventFilter(watched, event);
}

void DocumentWindowController::reloadEditorContent() {
    // A run in progress was made for the text that is now replaced: its marks go on the new text as
    // they come. A result still being applied belongs to the old text: the rest of it is dropped.
    const bool wasApplying = application_ != nullptr;
    dropRunState();
    WindowPanes::reloadDocumentContent(editorViewController_);
    if (wasApplying) {
        completeValidation({});
    }
}

// MARK: validation

void DocumentWindowController::validateDocument() {
    Document* document = ownDocument();
    if (!document || isValidating_ || !validationService_) {
        return;
    }
    const QString text = document->content();
    isValidating_ = true;
    if (validateToolbarItem_) {
        validateToolbarItem_->setEnabled(false);
    }
    document->logger().info(QStringLiteral("Validating document..."));

    // Edits made while the run goes on move its marks afterwards.
    dropRunState();
    recordEdits();
    QPointer<DocumentWindowController> self(this);
    validationRun_ = validationService_->validate(text, [self](CarvexValidationResult result) {
        if (self) {
            self->finishValidation(std::move(result));
        }
    });
}

void DocumentWindowController::recordEdits() {
    QObject::disconnect(editRecorder_);
    validatedViewText_.clear();
    editsDuringRun_.clear();
    if (EditorTextView* view = WindowPanes::editorTextView(editorViewController_)) {
        // A copy that shares nothing with the view, or the next keystroke would copy the whole text.
        validatedViewText_ = view->detachedViewText();
        editRecorder_ = connect(view, &EditorTextView::textDidChange, this,
                                [this](const TextChange& change) { editsDuringRun_.push_back(change); });
    }
}

void DocumentWindowController::finishValidation(CarvexValidationResult result) {
    Document* document = ownDocument();
    if (!document) {
        completeValidation({});
        return;
    }
    if (validatedViewText_.isNull()) {
        recordEdits();  // the text was replaced during the run: the marks go on the text of now
    }
    // Written and placed a slice per turn; edits made meanwhile are still recorded.
    if (application_) {
        application_->cancel();
    }
    application_ = std::make_unique<ValidationResultApplier>(
        std::move(result), document->logger(), validatedViewText_,
        [this](std::vector<ValidationDecoration> marks) { completeValidation(std::move(marks)); },
        validationSliceBudget_);
    application_->start();
}

void DocumentWindowController::completeValidation(std::vector<ValidationDecoration> marks) {
    QObject::disconnect(editRecorder_);
    if (ValidationDecorationController* controller = WindowPanes::validationDecorationController(editorViewController_)) {
        if (marks.empty()) {
            controller->clear();
        } else {
            controller->setDecorations(std::move(marks), editsDuringRun_);
        }
    }
    validatedViewText_.clear();
    editsDuringRun_.clear();
    isValidating_ = false;
    if (validateToolbarItem_) {
        validateToolbarItem_->setEnabled(true);
    }
    // Last: this may be called from the applier itself.
    if (application_ && !application_->isRunning()) {
        application_.reset();
    }
}

void DocumentWindowController::logValidationResult(const CarvexValidationResult& result, Document& document) {
    const DocumentLogger& logger = document.logger();
    const std::size_t count = ValidationResultApplier::entryCount(result);
    for (std::size_t index = 0; index < count; ++index) {
        ValidationResultApplier::writeEntry(result, index, logger);
    }
}

void DocumentWindowController::applyValidationDecorations(const CarvexValidationResult& result) {
    ValidationDecorationController* marks = WindowPanes::validationDecorationController(editorViewController_);
    if (!marks) {
        return;
    }
    switch (result.kind()) {
        case CarvexValidationResult::Kind::parsingError:
        case CarvexValidationResult::Kind::validationErrors: {
            const std::vector<CarvexValidationError> findings = result.findings();
            if (editsDuringRun_.empty() || validatedViewText_.isNull()) {
                marks->apply(findings);
                break;
            }
            // Placed in the text that was validated, then moved by the edits made since.
            marks->apply(findings, validatedViewText_);
            for (const TextChange& change : editsDuringRun_) {
                marks->updateForEdit(change);
            }
            break;
        }
        case CarvexValidationResult::Kind::unsupportedVersion:
        case CarvexValidationResult::Kind::success:
            marks->clear();
            break;
    }
}

// MARK: conversion

void DocumentWindowController::convertSegmentAction() {
    if (!convertSegmentedControl_) {
        return;
    }
    switch (convertSegmentedControl_->selectedSegment()) {
        case 0:
            convertToJSON();
            break;
        case 1:
            convertToYAML();
            break;
        default:
            break;
    }
}

void DocumentWindowController::convertToJSON() {
    const DocumentConversionService service = conversionController_.conversionService();
    performConversion([service](const QString& text) { return service.convertToJSON(text); }, FileFormat::json);
}

void DocumentWindowController::convertToYAML() {
    const DocumentConversionService service = conversionController_.conversionService();
    performConversion([service](const QString& text) { return service.convertToYAML(text); }, FileFormat::yaml);
}

void DocumentWindowController::performConversion(Conversion convert, FileFormat target) {
    Document* document = ownDocument();
    if (!document || !convert) {
        return;
    }
    std::optional<QString> sourceName;
    if (document->hasFile()) {
        sourceName = QFileInfo(document->filePath()).completeBaseName();
    } else {
        sourceName = document->displayName();
    }
    // The text is shared with the worker, which only reads it; the window and the document may be
    // gone when the result comes back, or the window may no longer be the document's (closed).
    QPointer<DocumentWindowController> self(this);
    QPointer<Document> source(document);
    conversionRun_ = CarvexPlatform::BackgroundTask::run(
        [convert = std::move(convert), text = document->content()]() {
            ConversionOutcome outcome;
            try {
                outcome.text = convert(text);
            } catch (...) {
                outcome.error = std::current_exception();
            }
            return outcome;
        },
        [self, source, target, sourceName](ConversionOutcome outcome) {
            if (!self || !source || self->ownDocument() != source) {
                return;
            }
            if (outcome.error) {
                self->logConversionFailure(outcome.error, *source);
                return;
            }
            const ConversionResult result{std::move(outcome.text), target,
                                          DocumentConversionController::suggestedName(sourceName, target)};
            self->openConvertedDocument(result, source->logger());
        });
}

void DocumentWindowController::logConversionFailure(const std::exception_ptr& error, Document& document) {
    try {
        std::rethrow_exception(error);
    } catch (const ConversionError& conversion) {
        const QString description = conversion.localizedDescription();
        document.logger().error(description.isEmpty() ? QStringLiteral("Unknown conversion error") : description);
    } catch (const std::exception& other) {
        document.logger().error(QStringLiteral("Conversion failed: ") + QString::fromUtf8(other.what()));
    } catch (...) {
        document.logger().error(QStringLiteral("Unknown conversion error"));
    }
}

void DocumentWindowController::openConvertedDocument(const ConversionResult& result, DocumentLogger& logger) {
    // The new document has the type of its text, so that it is saved with the right extension.
    auto opened = CarvexPlatform::DocumentController::shared().openUntitledDocumentAndDisplay(
        DocumentTypes::typeName(result.format));
    if (const auto* error = std::get_if<CarvexPlatform::Error>(&opened)) {
        logger.error(QStringLiteral("Failed to create converted document: ") + error->localizedDescription);
        return;
    }
    auto* converted = dynamic_cast<Document*>(std::get<CarvexPlatform::Document*>(opened));
    if (!converted) {
        logger.error(QStringLiteral("Failed to create new document for conversion result"));
        return;
    }
    converted->loadConvertedContent(result.content, result.format, result.suggestedName);
    logger.success(QStringLiteral("Converted to ") +
                   (result.format == FileFormat::yaml ? QStringLiteral("YAML") : QStringLiteral("JSON")) +
                   QStringLiteral(": ") + result.suggestedName);
}

}  // namespace Carvex
