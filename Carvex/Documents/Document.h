#pragma once

#include "Carvex/Text/FileFormat.h"
#include "Carvex/Logging/DocumentLogger.h"
#include "Carvex/Logging/InMemoryLogStore.h"
#include "Carvex/ModelAdapters/ParsedOpenAPIModel.h"
#include "platform/Document.h"
#include "platform/FileSignature.h"
#include "platform/WorkItem.h"

#include <QString>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace Carvex {

class EditorPreferencesStore;

// One open OpenAPI description: the whole text as one string, its file format, its name, its
// console log, and the watch on its file. A change made on disk by another program is looked at
// 0.5 s after the last notice: an unedited document reloads at once (when the editor setting
// allows) or asks, an edited one reports the conflict. Main thread only, except
// `presentedItemDidChange`.
class Document : public CarvexPlatform::Document {
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds externalChangeDelay{500};
    static inline const QString windowControllerScene = QStringLiteral("Document Window Controller");

    // The editor store gives the auto-reload setting; the shared one when none is given.
    explicit Document(EditorPreferencesStore* editorPreferencesStore = nullptr);
    ~Document() override;

    // The text. Reading and reloading replace it; while an editor shows the document, the editor's
    // text is the content, taken from it when the content is next read after an edit.
    const QString& content() const;
    void setContent(QString text);
    // Makes `source` give the content from the next `contentSourceDidChange` on, until `setContent`
    // or another source (nothing: none). A source that goes leaves its last text as the content;
    // one that answers nothing leaves the content as it was.
    void setContentSource(std::function<std::optional<QString>()> source);
    // The source's text changed: the content follows it when next read.
    void contentSourceDidChange() { contentIsStale_ = contentSource_ != nullptr; }
    // The format from the document type, or set by conversion.
    std::optional<FileFormat> fileFormat;
    // A name set through `setDisplayName`, in place of the file's.
    std::optional<QString> customDisplayName;
    // The last parsed model, stored for the properties and example views.
    std::optional<ParsedOpenAPIModel> parsedModel;

    const std::shared_ptr<InMemoryLogStore>& logStore() const { return logStore_; }
    // Made on first use over the log store, named after the file ("Untitled" without one), and
    // kept: a later Save As does not rename it.
    DocumentLogger& logger();

    // The file as this document last read (before the read), reloaded or saved it; any other file on
    // disk is a change, except one whose status time alone moved while its bytes stayed.
    const std::optional<CarvexPlatform::FileSignature>& lastKnownFileSignature() const {
        return lastKnownFileSignature_;
    }
    bool isShowingExternalChangeDialog() const { return isShowingExternalChangeDialog_; }
    bool isReverting() const { return isReverting_; }
    // The pending external-change check (cancelled or run when none is pending).
    const CarvexPlatform::WorkItem& externalChangeDebounceTimer() const { return externalChangeDebounceTimer_; }

    // The document's file on disk now, or nothing (no file, or none there).
    std::optional<CarvexPlatform::FileSignature> fileSignatureOnDisk() const;

    // Conversion's result in a fresh untitled document: text, format and name. The document is edited
    // until it is saved.
    void loadConvertedContent(const QString& text, FileFormat format, const QString& displayName);
    // The window's Convert control follows `fileFormat`.
    void refreshConversionState();

    QString displayName() const override;
    void setDisplayName(const std::optional<QString>& name) override;
    std::optional<CarvexPlatform::Error> readFromData(const QByteArray& data, const QString& typeName) override;
    std::variant<QByteArray, CarvexPlatform::Error> dataOfType(const QString& typeName) override;
    QString fileNameExtension(const QString& typeName, CarvexPlatform::SaveOperation operation) const override;
    bool autosavesInPlace() const override { return true; }
    void makeWindowControllers() override;
    void presentedItemDidChange() override;
    void saveToFile(const QString& path, const QString& typeName, CarvexPlatform::SaveOperation operation,
                    SaveCompletion completion) override;

    // The check run 0.5 s after the last external-change notice.
    void checkForExternalChange();

signals:
    // The text was read again from disk (an external change reloaded).
    void contentDidReload();

protected:
    // A save finding the file changed on disk asks as the conflict alert does: Reload drops the
    // save and loads the disk's text, Ignore keeps the edits and saves over the disk's.
    void confirmOverwriteOfChangedFile(CarvexPlatform::SaveOperation operation,
                                       std::function<void(bool)> proceed) override;

private:
    enum class ReloadKind { withoutLocalEdits, discardingLocalChanges };
    // Reloads, asks or reports the conflict, as the document's state calls for.
    void respondToExternalChange();
    void showReloadQuestion();
    void showConflictAlert(std::function<void(bool ignored)> after);
    void reload(ReloadKind kind);
    QString externalChangeName() const;

    EditorPreferencesStore* editorPreferencesStore_;
    mutable QString content_;
    std::function<std::optional<QString>()> contentSource_;
    mutable bool contentIsStale_ = false;
    CarvexPlatform::WorkItem externalChangeDebounceTimer_;
    bool isShowingExternalChangeDialog_ = false;
    bool isReverting_ = false;
    std::uint64_t externalChangeCheck_ = 0;
    std::optional<CarvexPlatform::FileSignature> lastKnownFileSignature_;
    std::shared_ptr<InMemoryLogStore> logStore_ = std::make_shared<InMemoryLogStore>();
    std::unique_ptr<DocumentLogger> logger_;
    // Carried into callbacks from other threads; cleared when the document goes.
    std::shared_ptr<QPointer<Document>> self_;
};

}  // namespace Carvex
