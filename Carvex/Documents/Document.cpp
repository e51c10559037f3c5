#include "Carvex/Documents/Document.h"

#include "Carvex/Documents/DocumentTypes.h"
#include "Carvex/Documents/DocumentWindow.h"
#include "Carvex/Preferences/EditorPreferencesStore.h"
#include "platform/AlertPresenter.h"
#include "platform/BackgroundTask.h"
#include "platform/MainScheduler.h"
#include "platform/Storyboard.h"
#include "platform/WindowController.h"

#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <utility>

namespace Carvex {

using CarvexPlatform::Alert;
using CarvexPlatform::AlertPresenter;
using CarvexPlatform::AlertStyle;
using CarvexPlatform::Error;
using CarvexPlatform::MainScheduler;

namespace {

Error documentError(const QString& description) { return Error{Error::osStatusDomain, -4, description}; }

// The window showing `document`: its first window controller, when that is a document window.
DocumentWindow* firstDocumentWindow(const Document& document) {
    return document.windowControllers().empty() ? nullptr
                                                : dynamic_cast<DocumentWindow*>(document.windowControllers().front());
}

}  // namespace

Document::Document(EditorPreferencesStore* editorPreferencesStore)
    : editorPreferencesStore_(editorPreferencesStore ? editorPreferencesStore : &EditorPreferencesStore::shared()),
      self_(std::make_shared<QPointer<Document>>(this)) {}

Document::~Document() {
    externalChangeDebounceTimer_.cancel();
    *self_ = nullptr;
}

const QString& Document::content() const {
    if (contentIsStale_) {
        contentIsStale_ = false;
        if (std::optional<QString> text = contentSource_()) {
            content_ = std::move(*text);
        }
    }
    return content_;
}

void Document::setContent(QString text) {
    content_ = std::move(text);
    contentIsStale_ = false;
}

void Document::setContentSource(std::function<std::optional<QString>()> source) {
    (void)content();
    contentSource_ = std::move(source);
}

DocumentLogger& Document::logger() {
    if (!logger_) {
        const QString name = hasFile() ? QFileInfo(filePath()).fileName() : QStringLiteral("Untitled");
        logger_ = std::make_unique<DocumentLogger>(logStore_, name);
    }
    return *logger_;
}

std::optional<CarvexPlatform::FileSignature> Document::fileSignatureOnDisk() const {
    return hasFile() ? CarvexPlatform::FileSignature::ofFile(filePath()) : std::nullopt;
}

QString Document::displayName() const {
    return customDisplayName ? *customDisplayName : CarvexPlatform::Document::displayName();
}

void Document::setDisplayName(const std::optional<QString>& name) {
    customDisplayName = name;
    CarvexPlatform::Document::setDisplayName(name);
}

void Document::loadConvertedContent(const QString& text, FileFormat format, const QString& displayName) {
    setContent(text);
    fileFormat = format;
    // The converted text is kept in no file yet: the document is edited until it is saved, so closing
    // it asks first. Counted before the editor shows the text, which reads it.
    updateChangeCount(CarvexPlatform::ChangeType::done);
    setDisplayName(displayName);
    if (DocumentWindow* window = firstDocumentWindow(*this)) {
        window->showConvertedContent(text, format);
    }
    refreshConversionState();
}

void Document::refreshConversionState() {
    if (DocumentWindow* window = firstDocumentWindow(*this)) {
        window->refreshConversionState();
    }
}

std::optional<Error> Document::readFromData(const QByteArray& data, const QString& typeName) {
    // A byte order mark stays in the text, so the file is written back as it was read.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom | QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(data);
    if (decoder.hasError()) {
        return documentError(QStringLiteral("Failed to read document"));
    }
    setContent(std::move(text));
    fileFormat = DocumentTypes::fileFormat(typeName);
    // The file as it was before the read (a write landing during the read is a change), not as it
    // is now.
    lastKnownFileSignature_ = fileSignature();
    return std::nullopt;
}

std::variant<QByteArray, Error> Document::dataOfType(const QString&) {
    // A lone surrogate has no UTF-8: writing a replacement character would change the text.
    QStringEncoder encoder(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless);
    QByteArray data = encoder.encode(content());
    if (encoder.hasError()) {
        return documentError(QStringLiteral("Failed to save document"));
    }
    return data;
}

QString Document::fileNameExtension(const QString& typeName, CarvexPlatform::SaveOperation operation) const {
    if (const auto extension = DocumentTypes::fileNameExtension(typeName)) {
        return *extension;
    }
    return CarvexPlatform::Document::fileNameExtension(typeName, operation);
}

void Document::makeWindowControllers() {
    std::unique_ptr<CarvexPlatform::WindowController> controller =
        CarvexPlatform::Storyboard::main().instantiateController<CarvexPlatform::WindowController>(windowControllerScene);
    auto* window = dynamic_cast<DocumentWindow*>(controller.get());
    if (!window) {
        std::fputs("ERROR: Could not create window controller\n", stdout);
        std::fflush(stdout);
        return;
    }
    addWindowController(std::move(controller));
    window->windowDidJoinDocument(*this);
    refreshConversionState();
}

void Document::saveToFile(const QString& path, const QString& typeName, CarvexPlatform::SaveOperation operation,
                          SaveCompletion completion) {
    CarvexPlatform::Document::saveToFile(
        path, typeName, operation, [self = self_, operation, completion](std::optional<Error> error) {
            if (!error) {
                if (Document* document = *self) {
                    // The file the save wrote, as it found it right after the rename.
                    document->lastKnownFileSignature_ = document->fileSignature();
                    // Moved to a file of its own: a name given before (the converted document's)
                    // would name a file that is not there. The tab and the title follow.
                    if (operation == CarvexPlatform::SaveOperation::saveAs && document->customDisplayName) {
                        document->setDisplayName(std::nullopt);
                    }
                }
            }
            if (completion) {
                completion(std::move(error));
            }
        });
}

void Document::presentedItemDidChange() {
    // Any thread: only the main thread touches the document.
    MainScheduler::shared()->post([self = self_] {
        Document* document = *self;
        if (!document || document->isReverting_) {
            return;
        }
        document->externalChangeDebounceTimer_.cancel();
        document->externalChangeDebounceTimer_ = MainScheduler::shared()->schedule(externalChangeDelay, [self] {
            if (Document* later = *self) {
                later->checkForExternalChange();
            }
        });
    });
}

void Document::checkForExternalChange() {
    if (isShowingExternalChangeDialog_ || !hasFile()) {
        return;
    }
    // Each check replaces the ones before: a comparison of bytes still under way for one is dropped.
    const std::uint64_t check = ++externalChangeCheck_;
    // Any other file than the one this document read or wrote is a change: a later date, an earlier
    // one (a file put back from a backup), or the same date on another size or inode (a file written
    // and given its old date back, or copied over with it). Own saves end here, since they record the
    // file they wrote.
    const auto onDisk = fileSignatureOnDisk();
    if (onDisk && lastKnownFileSignature_ && *onDisk == *lastKnownFileSignature_) {
        return;
    }
    // Only the status time moved (a change of mode, or a write of as many bytes dated back): the bytes
    // tell, read on another thread. The digest is of the file recorded here when the platform's record
    // is the same.
    const auto& digest = fileDigest();
    if (onDisk && lastKnownFileSignature_ && onDisk->matchesIgnoringStatusChange(*lastKnownFileSignature_) &&
        digest && fileSignature() == lastKnownFileSignature_) {
        CarvexPlatform::BackgroundTask::run(
            [path = filePath(), digest = *digest] {
                // Taken before the bytes, as a read takes it.
                const auto before = CarvexPlatform::FileSignature::ofFile(path);
                return std::make_pair(before, digest.matchesFile(path));
            },
            [self = self_, check, recorded = *lastKnownFileSignature_](
                std::pair<std::optional<CarvexPlatform::FileSignature>, bool> found) {
                Document* document = *self;
                if (!document || check != document->externalChangeCheck_) {
                    return;
                }
                const auto& [before, sameBytes] = found;
                if (document->isSaving() || document->lastKnownFileSignature_ != recorded) {
                    // A save (which compares before it writes) or a reload came meanwhile.
                    return;
                }
                if (!before || !before->matchesIgnoringStatusChange(recorded)) {
                    // Written again meanwhile: the file as it is now decides.
                    document->checkForExternalChange();
                } else if (sameBytes) {
                    document->lastKnownFileSignature_ = before;
                    document->recordStatusChange(*before);
                } else {
                    document->respondToExternalChange();
                }
            });
        return;
    }
    respondToExternalChange();
}

void Document::respondToExternalChange() {
    if (isShowingExternalChangeDialog_) {
        return;
    }
    if (isDocumentEdited()) {
        showConflictAlert({});
    } else if (editorPreferencesStore_->autoReloadExternalChanges()) {
        reload(ReloadKind::withoutLocalEdits);
    } else {
        showReloadQuestion();
    }
}

QString Document::externalChangeName() const {
    if (hasFile()) {
        return QFileInfo(filePath()).fileName();
    }
    const QString name = displayName();
    return name.isEmpty() ? QStringLiteral("Untitled") : name;
}

void Document::showReloadQuestion() {
    QWidget* window = nullptr;
    if (windowControllers().empty() || !(window = windowControllers().front()->window())) {
        return;
    }
    isShowingExternalChangeDialog_ = true;
    const Alert alert{AlertStyle::informational, QStringLiteral("File Modified Externally"),
                      QStringLiteral("The file \"") + externalChangeName() +
                          QStringLiteral("\" has been modified by another application.\n\n"
                                         "Would you like to reload the file?"),
                      {QStringLiteral("Reload"), QStringLiteral("Ignore")}};
    AlertPresenter::shared().present(alert, window, [self = self_](int button) {
        Document* document = *self;
        if (!document) {
            return;
        }
        document->isShowingExternalChangeDialog_ = false;
        if (button == 0) {
            document->reload(ReloadKind::withoutLocalEdits);
        } else if (button != AlertPresenter::unanswered) {
            document->logger().info(QStringLiteral("External change ignored"));
        }
    });
}

void Document::showConflictAlert(std::function<void(bool ignored)> after) {
    QWidget* window = nullptr;
    if (windowControllers().empty() || !(window = windowControllers().front()->window())) {
        return;
    }
    isShowingExternalChangeDialog_ = true;
    const Alert alert{
        AlertStyle::warning, QStringLiteral("File Modified Externally"),
        QStringLiteral("The file \"") + externalChangeName() +
            QStringLiteral("\" has been modified by another application.\n\n"
                           "You have unsaved changes in the editor.\n\n"
                           "\u2022 Reload: Discard your local changes and load the version from disk.\n"
                           "\u2022 Ignore: Keep your local changes. Saving later will overwrite the external "
                           "changes."),
        {QStringLiteral("Reload"), QStringLiteral("Ignore")}};
    AlertPresenter::shared().present(alert, window, [self = self_, after](int button) {
        Document* document = *self;
        if (!document) {
            return;
        }
        document->isShowingExternalChangeDialog_ = false;
        if (button == AlertPresenter::unanswered) {
            // Withdrawn (the application quits): nothing is decided, and the next save asks again.
            if (after) {
                after(false);
            }
            return;
        }
        if (button == 0) {
            document->reload(ReloadKind::discardingLocalChanges);
        } else {
            document->logger().info(QStringLiteral("External change ignored \u2014 local content preserved"));
            // As the alert says: the next save overwrites what is on disk now without asking again.
            document->setFileSignature(document->fileSignatureOnDisk());
            if (!after) {
                // The edits are meant for the file, whose autosave may have come while the alert
                // was up and waited for this answer: it comes again.
                document->scheduleAutosaveUnlessPending();
            }
        }
        if (after) {
            after(button != 0);
        }
    });
}

void Document::confirmOverwriteOfChangedFile(CarvexPlatform::SaveOperation operation,
                                             std::function<void(bool)> proceed) {
    if (isShowingExternalChangeDialog_ || isReverting_) {
        // The question is on screen already: this save waits for a later one.
        proceed(false);
        return;
    }
    if (windowControllers().empty()) {
        CarvexPlatform::Document::confirmOverwriteOfChangedFile(operation, std::move(proceed));
        return;
    }
    showConflictAlert([proceed](bool ignored) { proceed(ignored); });
}

void Document::reload(ReloadKind kind) {
    if (!hasFile() || fileType().isEmpty()) {
        return;
    }
    isReverting_ = true;
    if (auto error = revertToContentsOfFile(filePath(), fileType())) {
        logger().error(QStringLiteral("Failed to reload document: ") + error->localizedDescription);
    } else {
        // The file as the reload found it before reading: a write landing during the read is seen.
        lastKnownFileSignature_ = fileSignature();
        if (DocumentWindow* window = firstDocumentWindow(*this)) {
            window->reloadEditorContent();
        }
        emit contentDidReload();
        if (kind == ReloadKind::withoutLocalEdits) {
            logger().info(QStringLiteral("Document reloaded (external change detected)"));
        } else {
            logger().warning(QStringLiteral("Document reloaded \u2014 local changes discarded"));
        }
    }
    isReverting_ = false;
}

}  // namespace Carvex
