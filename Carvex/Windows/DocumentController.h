#pragma once

#include "Carvex/CaretContext/DocumentFormat.h"
#include "platform/DocumentController.h"

class QWidget;

namespace CarvexPlatform {
class ViewController;
}

namespace Carvex {

class EditorPreferencesStore;

// The application's document controller: JSON and YAML files open into `Document`s, typed by their
// extension, and the application logger writes into the open documents' logs. The New command
// asks for a new document's version, format and first path in a sheet and opens the skeleton it
// writes as an untitled document.
class DocumentController : public CarvexPlatform::DocumentController {
    Q_OBJECT

public:
    explicit DocumentController(
        std::shared_ptr<CarvexPlatform::Settings> settings = CarvexPlatform::Settings::standard());
    ~DocumentController() override;

    // The controller made last (null before the first), as the shared one.
    static DocumentController* instance();

    // The editor store the documents made from now on read (the shared one when null).
    void setEditorPreferencesStore(EditorPreferencesStore* store) { editorPreferencesStore_ = store; }

    // The New command: the new-document sheet on the key window (else the first shown window with a
    // content controller); with no such window, the welcome window. Without the sheet's scene, an
    // empty untitled JSON document.
    void newDocument();

    // Opens `text` as a new untitled "YAML Document" or "JSON Document", shows its window, closes
    // the welcome window and sets the editor's language. A failure is shown in an alert; then no
    // document is opened and null comes back.
    CarvexPlatform::Document* openGeneratedDocument(const QString& text, DocumentFormat format);

    // The content controller of the window a sheet is shown on, or null.
    static CarvexPlatform::ViewController* sheetHost();

protected:
    std::unique_ptr<CarvexPlatform::Document> makeDocumentInstance(const QString& typeName) override;
    std::optional<QString> typeForContentsOfFile(const QString& path) const override;

private:
    EditorPreferencesStore* editorPreferencesStore_ = nullptr;
};

}  // namespace Carvex
