#pragma once
#include "platform/Error.h"
#include "platform/FileDigest.h"
#include "platform/FileSignature.h"
#include "platform/FileWatch.h"
#include "platform/WorkItem.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <variant>
#include <vector>

class QWidget;

namespace CarvexPlatform {

class WindowController;

enum class SaveOperation { save, saveAs, saveTo, autosaveInPlace };
enum class ChangeType { done, undone, redone, cleared };

// One open document: its file (path and type name), its name, its change count, its windows and the
// way it reads, writes, saves, reverts, closes and autosaves. Subclasses supply the content through
// `readFromData` and `dataOfType`.
//
// What a save promises:
// - the file is written to a temporary file beside it and renamed over it once every byte is
//   written and flushed (`FileWriting::replaceFile`), so an interrupted or failed save (a full disk,
//   the file-size limit) leaves the old file whole and the document edited; permissions are kept,
//   and the owner and group where the process may set them; a symbolic link is followed (the file
//   it names is replaced; the link stays a link);
// - a file changed on disk by another program since this document read or saved it is never
//   overwritten without asking (`confirmOverwriteOfChangedFile`); changed means any other
//   `FileSignature` (time, size or identity), an older time or the same time included, or, when only
//   its status time moved, other bytes than the document's `FileDigest` (compared on the save's
//   thread); an autosave asks too when the file was deleted (unless no one is there to answer),
//   where Save writes it again;
// - the data is made on the main thread and written on a background thread; saves of one document
//   run one after the other, and edits made while a save writes keep the document edited.
// Closing never loses text: an edited document with a file is saved in place, an edited untitled
// one asks Save, Don't Save or Cancel.
//
// The file on disk is watched; each change reaches `presentedItemDidChange`. Main thread only,
// except `presentedItemDidChange`, which a subclass must make safe for any thread.
class Document : public QObject {
    Q_OBJECT

public:
    using SaveCompletion = std::function<void(std::optional<Error>)>;
    using CloseCompletion = std::function<void(bool closed)>;

    // How long after the last change an edited document with a file is saved in place.
    static constexpr std::chrono::milliseconds autosaveDelay{5000};

    Document();
    ~Document() override;
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    // The file: its path as given (empty for an untitled document) and its type name.
    const QString& filePath() const { return filePath_; }
    bool hasFile() const { return !filePath_.isEmpty(); }
    void setFilePath(const QString& path);
    const QString& fileType() const { return fileType_; }
    void setFileType(const QString& typeName) { fileType_ = typeName; }
    // The file as this document last read or saved it: taken before a read, and from the file a
    // save's rename left there. Setting it says nothing of the file's bytes: the digest is dropped.
    const std::optional<FileSignature>& fileSignature() const { return fileSignature_; }
    void setFileSignature(std::optional<FileSignature> signature) {
        fileSignature_ = signature;
        fileDigest_.reset();
    }
    // The bytes this document last read or wrote, when the file signature is of them.
    const std::optional<FileDigest>& fileDigest() const { return fileDigest_; }
    // The file's bytes were found to be the digest's while its status changed (its mode, or a write
    // of the same bytes): the signature becomes `now`, when it differs from the recorded one in
    // nothing else.
    void recordStatusChange(const FileSignature& now);

    // The file name (with its extension) when there is a file; otherwise "Untitled", then "Untitled 2"
    // and so on, the lowest number no other open untitled document holds, kept once given.
    virtual QString displayName() const;
    // Sets a name of one's own (nothing: back to the file's name).
    virtual void setDisplayName(const std::optional<QString>& name);

    // Edits since the file was last read or saved; the document is edited when not zero. Each of its
    // windows is marked while it is edited (`WindowController::synchronizeWindowTitleWithDocumentName`).
    int changeCount() const { return changeCount_; }
    bool isDocumentEdited() const { return changeCount_ != 0; }
    void updateChangeCount(ChangeType change);

    // Content from file data of a type name; an error leaves the document as it was.
    virtual std::optional<Error> readFromData(const QByteArray& data, const QString& typeName) = 0;
    // File data of the content for a type name.
    virtual std::variant<QByteArray, Error> dataOfType(const QString& typeName) = 0;
    // The extension a file of the type gets when saved (empty: none).
    virtual QString fileNameExtension(const QString& typeName, SaveOperation operation) const;
    // Whether edits are saved to the file by themselves.
    virtual bool autosavesInPlace() const { return false; }

    // Reads the file into the document; on success the document takes its path, type and time.
    std::optional<Error> readFromFile(const QString& path, const QString& typeName);
    // Reads the file again, discarding edits; on success the change count is cleared.
    virtual std::optional<Error> revertToContentsOfFile(const QString& path, const QString& typeName);

    // Saves to `path` as `typeName`. `save` and `autosaveInPlace` write the document's own file;
    // `saveAs` moves the document to the new file; `saveTo` writes a copy and changes nothing.
    // The completion runs on the main thread on a later turn (with nothing on success).
    virtual void saveToFile(const QString& path, const QString& typeName, SaveOperation operation,
                            SaveCompletion completion);
    // Save: in place when there is a file, else through the save panel. Without a completion (the
    // menu command) a failure is shown in an alert.
    void saveDocument(SaveCompletion completion = {});
    // Save As: through the save panel; a failure as for `saveDocument`.
    void saveDocumentAs(SaveCompletion completion = {});
    // Saves in place when edited and there is a file, if the document autosaves; completes with
    // nothing when there was nothing to do. The autosave that comes by itself (`autosaveDelay` after
    // the last change) tells of a failure once (`autosaveDidFail`), and no more until a save of the
    // document has written its file: the failures after it are not stacked.
    void autosave(SaveCompletion completion = {});
    bool isSaving() const { return saving_; }

    // Windows: the document owns its window controllers.
    virtual void makeWindowControllers() {}
    void addWindowController(std::unique_ptr<WindowController> controller);
    // Removes the controller; it is deleted on a later turn.
    void removeWindowController(WindowController* controller);
    const std::vector<WindowController*>& windowControllers() const { return windowControllers_; }
    void showWindows();
    // The window of the first window controller, or null.
    QWidget* windowForSheet() const;

    // Whether the document may close, asking the user or saving first where edits would be lost.
    void canClose(CloseCompletion completion);
    // A window of the document is closing: its last window asks `canClose` first.
    void shouldCloseWindowController(WindowController* controller, CloseCompletion completion);
    // A window has closed: the controller goes, and the document closes with its last window.
    void windowControllerDidClose(WindowController* controller);
    // Closes the windows and leaves the document controller (which deletes the document later).
    void close();

    // The file changed on disk. Called on the main thread by the watch; may be called on any.
    virtual void presentedItemDidChange() {}

signals:
    // Emitted when a save, Save As or autosave has written the document's text to its file, once the
    // change count says whether edits came meanwhile; before the save's completion runs.
    void documentDidSave();
    // Emitted after the document has left the document controller (`close`).
    void documentDidClose();

protected:
    // The file changed on disk since it was read or saved: `proceed(true)` overwrites it anyway.
    // The default asks through an alert (sheet on the document's window).
    virtual void confirmOverwriteOfChangedFile(SaveOperation operation, std::function<void(bool)> proceed);
    // Shows a failure (a sheet on the document's window); cancellations are not shown.
    void presentError(const Error& error, const QString& messageText);
    // The document is left edited and meant for its file by an answer given after its autosave came
    // (an external change ignored): the usual autosave comes, unless one is due already.
    void scheduleAutosaveUnlessPending();

private:
    struct PendingSave {
        QString path;
        QString typeName;
        SaveOperation operation;
        SaveCompletion completion;
    };
    // Asks before Save As replaces an existing file the panel did not ask about.
    void confirmReplacing(const QString& target, SaveCompletion completion);
    // What a save's thread did: the error, or the file its rename left and the bytes it wrote; or,
    // with `changedOnDisk`, nothing, when the file it was to check held other bytes than the digest.
    struct Written {
        std::optional<Error> error = std::nullopt;
        std::optional<FileSignature> signature = std::nullopt;
        std::optional<FileDigest> digest = std::nullopt;
        bool changedOnDisk = false;
    };
    void startSave(PendingSave save);
    // Asks before a save writes over a file changed on disk.
    void confirmOverwrite(PendingSave save);
    // Writes on a background thread; with `expected`, only when the file still holds those bytes.
    void writeSave(PendingSave save, std::optional<FileDigest> expected = std::nullopt);
    void finishSave(const PendingSave& save, int savedChangeCount, Written written);
    void scheduleAutosave();
    // A completion that shows a failed save (not a cancelled one) in an alert.
    SaveCompletion presentingFailure();
    // "The document “name” could not be saved.", the message of every failed save.
    QString couldNotBeSavedMessage() const;
    // An autosave failed (not refused by the user), and no failure was told since the last save
    // that wrote: shown as a failed Save is, in a sheet on the document's window.
    void autosaveDidFail(const Error& error);
    void releaseUntitledNumber();
    // Sets the change count; the windows follow when the document becomes edited or stops being so.
    void setChangeCount(int count);

    QString filePath_;
    QString fileType_;
    std::optional<FileSignature> fileSignature_;
    std::optional<FileDigest> fileDigest_;
    std::optional<QString> displayName_;
    mutable int untitledNumber_ = 0;
    int changeCount_ = 0;
    bool saving_ = false;
    bool autosaveFailureTold_ = false;
    std::vector<PendingSave> queuedSaves_;
    WorkItem autosaveItem_;
    std::vector<WindowController*> windowControllers_;
    FileWatch fileWatch_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace CarvexPlatform
