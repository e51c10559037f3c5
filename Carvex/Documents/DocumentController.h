#pragma once

#include "platform/DocumentController.h"

namespace Carvex {

class EditorPreferencesStore;

// The application's document controller: JSON and YAML files open into `Document`s, typed by their
// extension, and the application logger writes into the open documents' logs.
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

protected:
    std::unique_ptr<CarvexPlatform::Document> makeDocumentInstance(const QString& typeName) override;
    std::optional<QString> typeForContentsOfFile(const QString& path) const override;

private:
    EditorPreferencesStore* editorPreferencesStore_ = nullptr;
};

}  // namespace Carvex
