#include "platform/Document.h"

#include "platform/AlertPresenter.h"
#include "platform/BackgroundTask.h"
#include "platform/DocumentController.h"
#include "platform/FilePanel.h"
#include "platform/FileWriting.h"
#include "platform/MainScheduler.h"
#include "platform/WindowController.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <algorithm>
#include <cstring>
#include <limits>
#include <set>
#include <utility>

namespace CarvexPlatform {

namespace {

std::set<int>& untitledNumbersInUse() {
    static auto* const numbers = new std::set<int>();
    return *numbers;
}

QString quoted(const QString& name) { return QStringLiteral("\u201C") + name + QStringLiteral("\u201D"); }

// Writes through a temporary file in the same folder, renamed over the target once every byte is
// written and flushed: the old file stays whole until then, and whole when a write or the flush
// fails (a full disk, the file-size limit). A symbolic link is followed, and the file's permissions,
// owner and group are kept.
std::optional<Error> writeAtomically(const QString& path, const QByteArray& data) {
    const int error = FileWriting::replaceFile(path, data);
    if (error == 0) {
        return std::nullopt;
    }
    return Error{Error::cocoaDomain, Error::fileWriteUnknownCode,
                 QStringLiteral("The file %1 couldn\u2019t be saved: %2")
                     .arg(quoted(QFileInfo(path).fileName()), QString::fromLocal8Bit(std::strerror(error)))};
}

// Deleted with the scheduler's queue item, whether it runs or not.
template <class T>
void deleteOnALaterTurn(std::unique_ptr<T> object) {
    auto holder = std::make_shared<std::unique_ptr<T>>(std::move(object));
    MainScheduler::shared()->post([holder] { holder->reset(); });
}

}  // namespace

Document::Document() : fileWatch_([this] { presentedItemDidChange(); }) {}

Document::~Document() {
    autosaveItem_.cancel();
    *alive_ = false;
    releaseUntitledNumber();
    for (auto it = windowControllers_.rbegin(); it != windowControllers_.rend(); ++it) {
        (*it)->setDocument(nullptr);
        delete *it;
    }
    windowControllers_.clear();
}

void Document::setFilePath(const QString& path) {
    if (path == filePath_) {
        return;
    }
    filePath_ = path;
    if (!path.isEmpty()) {
        releaseUntitledNumber();
    }
    fileWatch_.watch(path);
    // A document saved under a new name shows that name in its windows and tabs at once.
    for (WindowController* controller : windowControllers_) {
        controller->synchronizeWindowTitleWithDocumentName();
    }
}

QString Document::displayName() const {
    if (displayName_) {
        return *displayName_;
    }
    if (hasFile()) {
        return QFileInfo(filePath_).fileName();
    }
    if (untitledNumber_ == 0) {
        auto& numbers = untitledNumbersInUse();
        int number = 1;
        while (numbers.count(number) != 0) {
            ++number;
        }
        numbers.insert(number);
        untitledNumber_ = number;
    }
    return untitledNumber_ == 1 ? QStringLiteral("Untitled")
                                : QStringLiteral("Untitled %1").arg(untitledNumber_);
}

void Document::setDisplayName(const std::optional<QString>& name) {
    displayName_ = name;
    for (WindowController* controller : windowControllers_) {
        controller->synchronizeWindowTitleWithDocumentName();
    }
}

void Document::releaseUntitledNumber() {
    if (untitledNumber_ != 0) {
        untitledNumbersInUse().erase(untitledNumber_);
        untitledNumber_ = 0;
    }
}

void Document::updateChangeCount(ChangeType change) {
    switch (change) {
        case ChangeType::done:
            // An edit made after undoing past the saved state drops the redo steps that led back to
            // it: no undo or redo reaches the file's text again, so the count must not come back to
            // zero by them.
            setChangeCount(changeCount_ < 0 ? std::numeric_limits<int>::max() / 2 : changeCount_ + 1);
            break;
        case ChangeType::redone: setChangeCount(changeCount_ + 1); break;
        case ChangeType::undone: setChangeCount(changeCount_ - 1); break;
        case ChangeType::cleared: setChangeCount(0); break;
    }
    if (change != ChangeType::cleared) {
        scheduleAutosave();
    }
}

void Document::setChangeCount(int count) {
    const bool wasEdited = isDocumentEdited();
    changeCount_ = count;
    if (isDocumentEdited() == wasEdited) {
        return;
    }
    for (WindowController* controller : windowControllers_) {
        controller->synchronizeWindowTitleWithDocumentName();
    }
}

QString Document::fileNameExtension(const QString&, SaveOperation) const { return {}; }

std::optional<Error> Document::readFromFile(const QString& path, const QString& typeName) {
    // The signature is taken before the data: a write that lands in between shows as a change.
    const auto signature = FileSignature::ofFile(path);
    // A folder, a pipe or a device is no document: a pipe would block the read and a device
    // might never end.
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        return Error{Error::cocoaDomain, Error::fileReadUnknownCode,
                     QStringLiteral("The file %1 couldn\u2019t be opened: it is not a regular file.")
                         .arg(quoted(info.fileName()))};
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return Error{Error::cocoaDomain, Error::fileReadUnknownCode,
                     QStringLiteral("The file %1 couldn\u2019t be opened: %2")
                         .arg(quoted(QFileInfo(path).fileName()), file.errorString())};
    }
    const QByteArray data = file.readAll();
    // The reader sees the file it reads, as it was before the read; a failure puts the old one back.
    const QString previousPath = filePath_;
    const QString previousType = fileType_;
    const int previousNumber = untitledNumber_;
    const auto previousSignature = fileSignature_;
    const auto previousDigest = fileDigest_;
    setFilePath(path);
    fileType_ = typeName;
    fileSignature_ = signature;
    fileDigest_ = FileDigest::of(data);
    if (auto error = readFromData(data, typeName)) {
        setFilePath(previousPath);
        fileType_ = previousType;
        fileSignature_ = previousSignature;
        fileDigest_ = previousDigest;
        if (previousNumber != 0 && untitledNumber_ == 0) {
            untitledNumbersInUse().insert(previousNumber);
            untitledNumber_ = previousNumber;
        }
        return error;
    }
    setChangeCount(0);
    return std::nullopt;
}

void Document::recordStatusChange(const FileSignature& now) {
    if (fileSignature_ && fileSignature_->matchesIgnoringStatusChange(now)) {
        fileSignature_ = now;
    }
}

std::optional<Error> Document::revertToContentsOfFile(const QString& path, const QString& typeName) {
    if (auto error = readFromFile(path, typeName)) {
        return error;
    }
    autosaveItem_.cancel();
    return std::nullopt;
}

void Document::saveToFile(const QString& path, const QString& typeName, SaveOperation operation,
                          SaveCompletion completion) {
    PendingSave save{path, typeName, operation, std::move(completion)};
    if (saving_) {
        queuedSaves_.push_back(std::move(save));
        return;
    }
    startSave(std::move(save));
}

void Document::startSave(PendingSave save) {
    saving_ = true;
    const bool ownFile = save.operation == SaveOperation::save ||
                         save.operation == SaveOperation::autosaveInPlace;
    if (!ownFile) {
        Document* holder = DocumentController::shared().documentForFile(save.path);
        if (holder && holder != this) {
            Error error{Error::cocoaDomain, Error::fileWriteUnknownCode,
                        QStringLiteral("The file %1 is open in another window. Close it there first, or "
                                       "choose another name.")
                            .arg(quoted(QFileInfo(save.path).fileName()))};
            MainScheduler::shared()->post([guard = QPointer<Document>(this), save, error] {
                if (guard) {
                    guard->finishSave(save, 0, Written{.error = error});
                }
            });
            return;
        }
        writeSave(std::move(save));
        return;
    }
    // Any other file than the one read or written is a change, whether its time is later, earlier or
    // the same: a program that writes the file and puts its old time back still leaves another size,
    // another inode or another time to the nanosecond, or, when only the status time moved, other
    // bytes, which the writing thread compares before it writes.
    const auto onDisk = FileSignature::ofFile(save.path);
    if (!onDisk) {
        // Deleted since it was read or written: Save is the user's answer and writes it again, an
        // autosave waits for the answer. When no one is there to answer (the application ends
        // unattended), writing it again overwrites no one's text, where not writing loses the edits.
        const bool asks = fileSignature_ && save.operation == SaveOperation::autosaveInPlace &&
                          !AlertPresenter::shared().isUnattended();
        if (asks) {
            confirmOverwrite(std::move(save));
        } else {
            writeSave(std::move(save));
        }
    } else if (onDisk == fileSignature_) {
        writeSave(std::move(save));
    } else if (fileSignature_ && fileDigest_ && onDisk->matchesIgnoringStatusChange(*fileSignature_)) {
        writeSave(std::move(save), fileDigest_);
    } else {
        confirmOverwrite(std::move(save));
    }
}

void Document::confirmOverwrite(PendingSave save) {
    confirmOverwriteOfChangedFile(save.operation, [guard = QPointer<Document>(this), save](bool proceed) {
        if (!guard) {
            return;
        }
        if (proceed) {
            guard->writeSave(save);
        } else {
            guard->finishSave(save, 0, Written{.error = Error::userCancelled()});
        }
    });
}

void Document::writeSave(PendingSave save, std::optional<FileDigest> expected) {
    auto data = dataOfType(save.typeName);
    if (auto* error = std::get_if<Error>(&data)) {
        MainScheduler::shared()->post([guard = QPointer<Document>(this), save, error = *error] {
            if (guard) {
                guard->finishSave(save, 0, Written{.error = error});
            }
        });
        return;
    }
    const int savedChangeCount = changeCount_;
    // The file is looked at right after the rename, on the writing thread: the document records the
    // file it wrote, not one another program may have put there since.
    BackgroundTask::run(
        [path = save.path, bytes = std::move(std::get<QByteArray>(data)), expected] {
            if (expected && !expected->matchesFile(path)) {
                return Written{.changedOnDisk = true};
            }
            if (auto error = writeAtomically(path, bytes)) {
                return Written{.error = std::move(error)};
            }
            return Written{.signature = FileSignature::ofFile(path), .digest = FileDigest::of(bytes)};
        },
        [guard = QPointer<Document>(this), save, savedChangeCount](Written written) {
            if (!guard) {
                return;
            }
            if (written.changedOnDisk) {
                guard->confirmOverwrite(save);
            } else {
                guard->finishSave(save, savedChangeCount, std::move(written));
            }
        });
}

void Document::finishSave(const PendingSave& save, int savedChangeCount, Written written) {
    const std::optional<Error>& error = written.error;
    if (!error) {
        switch (save.operation) {
            case SaveOperation::saveAs:
                setFilePath(save.path);
                fileType_ = save.typeName;
                DocumentController::shared().noteNewRecentDocumentPath(save.path);
                [[fallthrough]];
            case SaveOperation::save:
            case SaveOperation::autosaveInPlace:
                // Edits made while the data was written keep the document edited.
                setChangeCount(changeCount_ - savedChangeCount);
                // As the writing thread found it: a file another program put there since is a change.
                fileSignature_ = written.signature;
                fileDigest_ = written.digest;
                // Written: the next autosave that fails is told again.
                autosaveFailureTold_ = false;
                break;
            case SaveOperation::saveTo: break;
        }
    }
    saving_ = false;
    std::weak_ptr<bool> alive = alive_;
    if (!error && save.operation != SaveOperation::saveTo) {
        emit documentDidSave();
        if (alive.expired()) {
            return;
        }
    }
    if (save.completion) {
        save.completion(error);
    }
    if (alive.expired() || saving_) {
        return;
    }
    if (!queuedSaves_.empty()) {
        PendingSave next = std::move(queuedSaves_.front());
        queuedSaves_.erase(queuedSaves_.begin());
        // Asked for while the save before wrote (a quit, a signal or autosave behind Save): with no
        // edit since and the file as that save left it, the file holds this text already.
        const bool ownFile =
            next.operation == SaveOperation::save || next.operation == SaveOperation::autosaveInPlace;
        if (ownFile && !isDocumentEdited() && fileSignature_ && FileSignature::ofFile(next.path) == fileSignature_) {
            saving_ = true;
            MainScheduler::shared()->post([guard = QPointer<Document>(this), next] {
                if (guard) {
                    guard->finishSave(next, 0,
                                      Written{.signature = guard->fileSignature_, .digest = guard->fileDigest_});
                }
            });
            return;
        }
        startSave(std::move(next));
    }
}

Document::SaveCompletion Document::presentingFailure() {
    return [guard = QPointer<Document>(this)](std::optional<Error> error) {
        if (error && guard) {
            guard->presentError(*error, guard->couldNotBeSavedMessage());
        }
    };
}

void Document::saveDocument(SaveCompletion completion) {
    if (!completion) {
        completion = presentingFailure();
    }
    if (hasFile()) {
        saveToFile(filePath_, fileType_, SaveOperation::save, std::move(completion));
    } else {
        saveDocumentAs(std::move(completion));
    }
}

void Document::saveDocumentAs(SaveCompletion completion) {
    if (!completion) {
        completion = presentingFailure();
    }
    const QString extension = fileNameExtension(fileType_, SaveOperation::saveAs);
    QString name = hasFile() ? QFileInfo(filePath_).fileName() : displayName();
    if (!extension.isEmpty() && QFileInfo(name).suffix().isEmpty()) {
        name += QLatin1Char('.') + extension;
    }
    // A folder deleted since the document was opened is no place to start: the panel would land in
    // whatever folder the process runs in.
    const QString ownFolder = hasFile() ? QFileInfo(filePath_).absolutePath() : QString();
    const QString folder = !ownFolder.isEmpty() && QFileInfo(ownFolder).isDir() ? ownFolder : QDir::homePath();
    FilePanel::shared().runSave(
        QDir(folder).filePath(name), {}, windowForSheet(),
        [guard = QPointer<Document>(this), extension, completion](std::optional<QString> path) {
            if (!guard) {
                return;
            }
            if (!path || path->isEmpty()) {
                if (completion) {
                    completion(Error::userCancelled());
                }
                return;
            }
            QString target = *path;
            if (!extension.isEmpty() && QFileInfo(target).suffix().isEmpty()) {
                target += QLatin1Char('.') + extension;
                // The panel asked about the name as typed; the file this name leads to is not
                // replaced unasked.
                if (QFileInfo::exists(target)) {
                    guard->confirmReplacing(target, completion);
                    return;
                }
            }
            guard->saveToFile(target, guard->fileType_, SaveOperation::saveAs, completion);
        });
}

void Document::confirmReplacing(const QString& target, SaveCompletion completion) {
    const QFileInfo info(target);
    const Alert alert{AlertStyle::warning,
                      QStringLiteral("%1 already exists. Do you want to replace it?").arg(quoted(info.fileName())),
                      QStringLiteral("A file with the same name already exists in %1. Replacing it will overwrite "
                                     "its current contents.")
                          .arg(quoted(info.absoluteDir().dirName())),
                      // Cancel first: the default answer keeps the file.
                      {QStringLiteral("Cancel"), QStringLiteral("Replace")}};
    AlertPresenter::shared().present(
        alert, windowForSheet(), [guard = QPointer<Document>(this), target, completion](int button) {
            if (!guard) {
                return;
            }
            if (button != 1) {
                if (completion) {
                    completion(Error::userCancelled());
                }
                return;
            }
            guard->saveToFile(target, guard->fileType_, SaveOperation::saveAs, completion);
        });
}

void Document::autosave(SaveCompletion completion) {
    if (!autosavesInPlace() || !hasFile() || !isDocumentEdited()) {
        if (completion) {
            completion(std::nullopt);
        }
        return;
    }
    saveToFile(filePath_, fileType_, SaveOperation::autosaveInPlace, std::move(completion));
}

void Document::scheduleAutosave() {
    autosaveItem_.cancel();
    if (!autosavesInPlace() || !hasFile() || !isDocumentEdited()) {
        return;
    }
    autosaveItem_ = MainScheduler::shared()->schedule(autosaveDelay, [guard = QPointer<Document>(this)] {
        if (guard) {
            // A failed autosave leaves the document edited: the next one tries again, and closing
            // saves again and shows why.
            guard->autosave([guard](std::optional<Error> error) {
                if (guard && error && !error->isUserCancelled() && !guard->autosaveFailureTold_) {
                    guard->autosaveFailureTold_ = true;
                    guard->autosaveDidFail(*error);
                }
            });
        }
    });
}

void Document::scheduleAutosaveUnlessPending() {
    if (!autosaveItem_.isPending()) {
        scheduleAutosave();
    }
}

QString Document::couldNotBeSavedMessage() const {
    return QStringLiteral("The document %1 could not be saved.").arg(quoted(displayName()));
}

void Document::autosaveDidFail(const Error& error) {
    const Alert alert{AlertStyle::warning, couldNotBeSavedMessage(), error.localizedDescription, {}};
    if (QWidget* window = windowForSheet()) {
        AlertPresenter::shared().present(alert, window, {});
    } else {
        // Told from a timer's work: no event loop of its own runs here.
        AlertPresenter::shared().presentWithoutWaiting(alert);
    }
}

void Document::addWindowController(std::unique_ptr<WindowController> controller) {
    if (!controller) {
        return;
    }
    controller->setDocument(this);
    windowControllers_.push_back(controller.release());
    windowControllers_.back()->synchronizeWindowTitleWithDocumentName();
}

void Document::removeWindowController(WindowController* controller) {
    const auto it = std::find(windowControllers_.begin(), windowControllers_.end(), controller);
    if (it == windowControllers_.end()) {
        return;
    }
    windowControllers_.erase(it);
    controller->setDocument(nullptr);
    deleteOnALaterTurn(std::unique_ptr<WindowController>(controller));
}

void Document::showWindows() {
    for (WindowController* controller : windowControllers_) {
        controller->showWindow();
    }
}

QWidget* Document::windowForSheet() const {
    if (windowControllers_.empty() || !windowControllers_.front()->isWindowLoaded()) {
        return nullptr;
    }
    return windowControllers_.front()->window();
}

void Document::canClose(CloseCompletion completion) {
    if (!isDocumentEdited()) {
        completion(true);
        return;
    }
    QPointer<Document> guard(this);
    auto afterSave = [guard, completion](std::optional<Error> error) {
        if (!error) {
            completion(true);
            return;
        }
        if (error->isUserCancelled() || !guard) {
            completion(false);
            return;
        }
        // The text could not be written: closing now would lose it, so the user decides.
        const Alert alert{AlertStyle::warning,
                          guard->couldNotBeSavedMessage(), error->localizedDescription,
                          {QStringLiteral("Cancel"), QStringLiteral("Don\u2019t Save")}};
        AlertPresenter::shared().present(alert, guard->windowForSheet(),
                                         [completion](int button) { completion(button == 1); });
    };
    if (autosavesInPlace() && hasFile()) {
        saveDocument(afterSave);
        return;
    }
    const Alert alert{AlertStyle::warning,
                      QStringLiteral("Do you want to save the changes made to the document %1?")
                          .arg(quoted(displayName())),
                      QStringLiteral("Your changes will be lost if you don\u2019t save them."),
                      {QStringLiteral("Save"), QStringLiteral("Don\u2019t Save"), QStringLiteral("Cancel")}};
    AlertPresenter::shared().present(alert, windowForSheet(), [guard, completion, afterSave](int button) {
        if (button == 0 && guard) {
            guard->saveDocument(afterSave);
        } else {
            completion(button == 1);
        }
    });
}

void Document::shouldCloseWindowController(WindowController*, CloseCompletion completion) {
    if (windowControllers_.size() > 1) {
        completion(true);
        return;
    }
    canClose(std::move(completion));
}

void Document::windowControllerDidClose(WindowController* controller) {
    removeWindowController(controller);
    if (windowControllers_.empty()) {
        close();
    }
}

void Document::close() {
    autosaveItem_.cancel();
    const std::vector<WindowController*> controllers = windowControllers_;
    for (WindowController* controller : controllers) {
        removeWindowController(controller);
        controller->closeWithoutAsking();
    }
    fileWatch_.watch(QString());
    emit documentDidClose();
    DocumentController::shared().removeDocument(this);
}

void Document::confirmOverwriteOfChangedFile(SaveOperation, std::function<void(bool)> proceed) {
    const Alert alert{
        AlertStyle::warning, QStringLiteral("The file has been changed by another application."),
        QStringLiteral("The document %1 has been changed by another application since you opened or saved "
                       "it.\n\nDo you want to save your version and replace it?")
            .arg(quoted(displayName())),
        {QStringLiteral("Save Anyway"), QStringLiteral("Cancel")}};
    AlertPresenter::shared().present(alert, windowForSheet(),
                                     [proceed](int button) { proceed(button == 0); });
}

void Document::presentError(const Error& error, const QString& messageText) {
    if (error.isUserCancelled()) {
        return;
    }
    AlertPresenter::shared().present(
        Alert{AlertStyle::warning, messageText, error.localizedDescription, {}}, windowForSheet(), {});
}

}  // namespace CarvexPlatform
