#pragma once
#include "platform/Document.h"
#include "platform/Error.h"
#include "platform/Settings.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <variant>
#include <vector>

namespace CarvexPlatform {

// Keeps the open documents, opens files into documents (one document per file: a file already
// open brings its document forward), makes untitled documents, and remembers the recent documents
// in the settings, newest first, at most ten. The controller made last is the shared one until it
// goes; without one, a plain controller is made on first use. Subclasses say which document a type
// name makes and which type a file has. Main thread only.
class DocumentController : public QObject {
    Q_OBJECT

public:
    static constexpr int maximumRecentDocumentCount = 10;
    static inline const QString recentDocumentsKey = QStringLiteral("NSRecentDocuments");

    using OpenCompletion =
        std::function<void(Document* document, bool wasAlreadyOpen, std::optional<Error> error)>;

    explicit DocumentController(std::shared_ptr<Settings> settings = Settings::standard());
    ~DocumentController() override;
    DocumentController(const DocumentController&) = delete;
    DocumentController& operator=(const DocumentController&) = delete;

    static DocumentController& shared();

    // The open documents, in the order they were added.
    std::vector<Document*> documents() const;
    void addDocument(std::unique_ptr<Document> document);
    // Takes the document out; it is deleted on a later turn.
    void removeDocument(Document* document);
    // The open document of that file (links and relative paths resolved), or null.
    Document* documentForFile(const QString& path) const;
    bool hasEditedDocuments() const;

    // A new document of the type, not yet added; a type no document class takes gives an error.
    std::variant<std::unique_ptr<Document>, Error> makeUntitledDocumentOfType(const QString& typeName);
    std::variant<std::unique_ptr<Document>, Error> makeDocumentWithContentsOfFile(const QString& path,
                                                                                 const QString& typeName);
    // Opens the file (or brings its open document forward), adds it, notes it as recent and, when
    // `display` is set, makes and shows its windows. A failure is passed on, and shown to the user
    // unless `showFailure` is false (the caller shows it).
    void openDocumentWithContentsOfFile(const QString& path, bool display, OpenCompletion completion = {},
                                        bool showFailure = true);
    // Makes an untitled document of the type, adds it, makes and shows its windows.
    std::variant<Document*, Error> openUntitledDocumentAndDisplay(const QString& typeName);
    // The Open command: asks for a file, then opens it.
    void openDocument();

    // Recent files, newest first.
    QStringList recentDocumentPaths() const;
    void noteNewRecentDocumentPath(const QString& path);
    void clearRecentDocuments();

    // Closes every document in turn, each asking or saving as its close requires; stops at the
    // first the user keeps open. Quitting waits for `true`.
    void closeAllDocuments(std::function<void(bool allClosed)> completion);

    const std::shared_ptr<Settings>& settings() const { return settings_; }

protected:
    // The document a type name makes (null: no document class takes the type).
    virtual std::unique_ptr<Document> makeDocumentInstance(const QString& typeName);
    // The type name of a file, or nothing when the application does not open such files.
    virtual std::optional<QString> typeForContentsOfFile(const QString& path) const;

private:
    static QString identityOf(const QString& path);
    void closeNext(std::vector<QPointer<Document>> remaining, std::function<void(bool)> completion);

    std::shared_ptr<Settings> settings_;
    std::vector<std::unique_ptr<Document>> documents_;
    DocumentController* previousShared_ = nullptr;
};

}  // namespace CarvexPlatform
