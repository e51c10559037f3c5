#pragma once

#include "Carvex/Conversion/ConversionResult.h"
#include "Carvex/Conversion/DocumentConversionController.h"
#include "Carvex/Documents/DocumentWindow.h"
#include "Carvex/Text/FileFormat.h"
#include "Carvex/Text/TextChange.h"
#include "Carvex/Validation/CarvexValidationResult.h"
#include "Carvex/Validation/ValidationDecoration.h"
#include "platform/SegmentedControl.h"
#include "platform/Storyboard.h"
#include "platform/ViewController.h"
#include "platform/WindowController.h"
#include "platform/WorkItem.h"

#include <QAction>
#include <QMetaObject>
#include <QToolBar>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <chrono>
#include <exception>
#include <functional>
#include <memory>
#include <vector>

namespace Carvex {

class Document;
class DocumentLogger;
class OpenAPIValidating;
class ValidationResultApplier;

// The window of one document: its toolbar ("DocumentToolbar") with Validate and the two-segment
// Convert control, the validation of the document on request (outcome and findings to the
// document's log, findings marked in the editor) and conversion between YAML and JSON into a new
// untitled document. Validation and conversion run off the main thread; their results are dropped
// when the window has gone, or its document has closed, by the time they arrive. Main thread only.
class DocumentWindowController : public CarvexPlatform::WindowController, public DocumentWindow {
    Q_OBJECT

public:
    static inline const QString sceneIdentifier = QStringLiteral("Document Window Controller");
    static inline const QString toolbarIdentifier = QStringLiteral("DocumentToolbar");
    static inline const QString validateItemIdentifier = QStringLiteral("ValidateToolbarItem");
    static inline const QString convertItemIdentifier = QStringLiteral("ConvertGroupToolbarItem");
    static inline const QString flexibleSpaceItemIdentifier = QStringLiteral("NSToolbarFlexibleSpaceItem");
    static inline const QString tabbingIdentifier = QStringLiteral("CarvexDocument");
    static constexpr int minimumWidth = 600;
    static constexpr int minimumHeight = 400;

    // Registers the window's scenes on the storyboard: this controller, the split views and the
    // validation results pane (and the console's, when not there yet).
    static void registerScene(CarvexPlatform::Storyboard& storyboard = CarvexPlatform::Storyboard::main());

    DocumentWindowController();
    ~DocumentWindowController() override;

    CarvexPlatform::ViewController* editorViewController() const { return editorViewController_; }
    void setEditorViewController(CarvexPlatform::ViewController* editor) { editorViewController_ = editor; }
    CarvexPlatform::ViewController* propertiesController() const { return propertiesController_; }
    void setPropertiesController(CarvexPlatform::ViewController* properties) { propertiesController_ = properties; }

    bool isValidating() const { return isValidating_; }
    QAction* validateToolbarItem() const { return validateToolbarItem_; }
    CarvexPlatform::SegmentedControl* convertSegmentedControl() const { return convertSegmentedControl_; }
    QToolBar* toolbar() const { return toolbar_; }
    DocumentConversionController& conversionController() { return conversionController_; }

    // The main-thread time one turn may spend bringing a result to the log and the marks.
    void setValidationSliceBudget(std::chrono::microseconds budget) { validationSliceBudget_ = budget; }

    // The service the Validate action runs (the library's, by default).
    void setValidationService(std::shared_ptr<const OpenAPIValidating> service);

    // The toolbar's items by identifier, in order.
    static QStringList toolbarDefaultItemIdentifiers();
    static QStringList toolbarAllowedItemIdentifiers() { return toolbarDefaultItemIdentifiers(); }
    // Whether a toolbar item is enabled: Validate exactly while no run is in progress.
    bool validateToolbarItem(const QAction* item) const;

    virtual void setupToolbar();
    // Convert to JSON exactly for YAML, to YAML exactly for JSON, neither without a format.
    virtual void updateConvertSegments();
    virtual void applyValidationDecorations(const CarvexValidationResult& result);
    virtual void logValidationResult(const CarvexValidationResult& result, Document& document);

    // Actions.
    void validateDocument();
    void convertSegmentAction();
    void convertToJSON();
    void convertToYAML();
    // The window became the main one: the Convert control follows the document's format.
    void windowDidBecomeMain();
    // The document's format changed (set-up, conversion): the Convert control follows it.
    void refreshConversionState() override;
    // After the document was read again from disk: marks cleared, text reloaded (not an edit).
    void reloadEditorContent() override;
    // Just added to the document: joins a tab of a visible document window, takes 80 % of the
    // screen (at most 1400 x 900), makes the split view and binds its panes and the console. The
    // text takes the keys when the window is shown (`showWindow`).
    void windowDidJoinDocument(Document& document) override;
    // The editor, when there is one, shows the converted text; the title follows the name.
    void showConvertedContent(const QString& text, FileFormat format) override;

    using Conversion = std::function<QString(const QString&)>;
    virtual void performConversion(Conversion convert, FileFormat target);
    virtual void openConvertedDocument(const ConversionResult& result, DocumentLogger& logger);
    virtual void logConversionFailure(const std::exception_ptr& error, Document& document);
    // Whether a conversion is running (its result not yet handled).
    bool isConverting() const { return conversionRun_.isPending(); }

protected:
    QMainWindow* loadWindow() override;
    void windowDidLoad() override;
    // The editor's text.
    QWidget* initialFirstResponder() const override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void finishValidation(CarvexValidationResult result);
    // The end of a run: its marks in the editor (moved by the edits made since it started), the
    // Validate item enabled again.
    void completeValidation(std::vector<ValidationDecoration> marks);
    // Keeps the view's text of now and records the edits made from now on.
    void recordEdits();
    // Stops recording edits and drops a result still being applied.
    void dropRunState();
    // The document closed while this window still stands: the runs it started, and the properties
    // pane's, end without a result.
    void documentDidClose();
    Document* ownDocument() const;

    QPointer<CarvexPlatform::ViewController> editorViewController_;
    QPointer<CarvexPlatform::ViewController> propertiesController_;
    bool isValidating_ = false;
    QPointer<QAction> validateToolbarItem_;
    DocumentConversionController conversionController_;
    QPointer<CarvexPlatform::SegmentedControl> convertSegmentedControl_;
    QPointer<QToolBar> toolbar_;
    std::shared_ptr<const OpenAPIValidating> validationService_;
    CarvexPlatform::WorkItem validationRun_;
    CarvexPlatform::WorkItem conversionRun_;
    // The view's text as it was validated, and the edits made since, to place the marks where they
    // now belong.
    QString validatedViewText_;
    std::vector<TextChange> editsDuringRun_;
    QMetaObject::Connection editRecorder_;
    // A result being written to the log and placed in the text, a slice per turn.
    std::unique_ptr<ValidationResultApplier> application_;
    std::chrono::microseconds validationSliceBudget_{8000};
};

}  // namespace Carvex
