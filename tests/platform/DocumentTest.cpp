#include "platform/AlertPresenter.h"
#include "platform/BackgroundTask.h"
#include "platform/Document.h"
#include "platform/DocumentController.h"
#include "platform/FakeMainScheduler.h"
#include "platform/FilePanel.h"
#include "platform/FileWatch.h"
#include "platform/ScopedMainScheduler.h"
#include "platform/Settings.h"
#include "platform/TestApplication.h"
#include "platform/WindowController.h"
#include "platform/WindowTabHost.h"
#include "tests/platform/ExternalFileChange.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QThread>
#include <QWindow>

#include <csignal>
#include <fcntl.h>
#include <functional>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace CarvexPlatform;

namespace {

// A plain text document; text that says "unwritable" can't be written.
class TextDocument : public Document {
public:
    explicit TextDocument(bool autosaves = true) : autosaves_(autosaves) {}
    QString text;
    int changeNotices = 0;

    std::optional<Error> readFromData(const QByteArray& data, const QString&) override {
        if (data.startsWith("unreadable")) {
            return Error{Error::osStatusDomain, -4, "Failed to read document"};
        }
        text = QString::fromUtf8(data);
        return std::nullopt;
    }
    std::variant<QByteArray, Error> dataOfType(const QString&) override {
        if (text.contains("unwritable")) {
            return Error{Error::osStatusDomain, -4, "Failed to save document"};
        }
        return text.toUtf8();
    }
    QString fileNameExtension(const QString&, SaveOperation) const override { return "txt"; }
    bool autosavesInPlace() const override { return autosaves_; }
    void presentedItemDidChange() override { ++changeNotices; }

    void edit(const QString& newText) {
        text = newText;
        updateChangeCount(ChangeType::done);
    }

private:
    bool autosaves_;
};

class TextController : public DocumentController {
public:
    using DocumentController::DocumentController;
    bool autosaves = true;

protected:
    std::unique_ptr<Document> makeDocumentInstance(const QString& typeName) override {
        if (typeName != "Text") {
            return nullptr;
        }
        return std::make_unique<TextDocument>(autosaves);
    }
    std::optional<QString> typeForContentsOfFile(const QString& path) const override {
        if (QFileInfo(path).suffix() == "txt") {
            return QString("Text");
        }
        return std::nullopt;
    }
};

// Sets the append-only flag of a file (which even root can't rename over) and clears it again.
class AppendOnly {
public:
    AppendOnly() = default;
    AppendOnly(const AppendOnly&) = delete;
    AppendOnly& operator=(const AppendOnly&) = delete;
    ~AppendOnly() {
        if (!file_.isEmpty()) {
            change(file_, false);
        }
    }
    bool set(const QString& file) {
        if (!change(file, true)) {
            return false;
        }
        file_ = file;
        return true;
    }

private:
    static bool change(const QString& file, bool on) {
        const int descriptor = ::open(QFile::encodeName(file).constData(), O_RDONLY);
        if (descriptor < 0) {
            return false;
        }
        int flags = 0;
        bool changed = ::ioctl(descriptor, FS_IOC_GETFLAGS, &flags) == 0;
        if (changed) {
            flags = on ? (flags | FS_APPEND_FL) : (flags & ~FS_APPEND_FL);
            changed = ::ioctl(descriptor, FS_IOC_SETFLAGS, &flags) == 0;
        }
        ::close(descriptor);
        return changed;
    }
    QString file_;
};

// Limits the size of the files the process writes while it lives; a write past the limit fails
// (instead of raising the signal that would end the process).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) : previousHandler_(std::signal(SIGXFSZ, SIG_IGN)) {
        ::getrlimit(RLIMIT_FSIZE, &previous_);
        rlimit limited = previous_;
        limited.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limited);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }

private:
    rlimit previous_{};
    void (*previousHandler_)(int);
};

class PlatformDocumentTest : public ::testing::Test {
protected:
    void SetUp() override {
        TestApplication::ensure();
        AlertPresenter::shared().setScript(alerts);
        FilePanel::shared().setScript(panels);
    }
    void TearDown() override {
        settle();
        AlertPresenter::shared().setScript(nullptr);
        FilePanel::shared().setScript(nullptr);
    }

    // Lets background writes finish and runs what they handed back.
    void settle() {
        BackgroundTask::waitForIdle();
        fake->runPending();
    }

    QString path(const QString& name) const { return folder.filePath(name); }
    static void write(const QString& file, const QByteArray& data) {
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(data);
    }
    static QByteArray read(const QString& file) {
        QFile in(file);
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray("<missing>");
    }
    // Saves and waits for the answer.
    std::optional<Error> saveAndWait(Document& document, const QString& file, SaveOperation operation) {
        std::optional<std::optional<Error>> result;
        document.saveToFile(file, document.fileType(), operation, [&](std::optional<Error> error) { result = error; });
        for (int turn = 0; turn < 5 && !result; ++turn) {
            settle();
        }
        EXPECT_TRUE(result.has_value()) << "the save never completed";
        return result ? *result : std::optional<Error>(Error{"none", 0, "no answer"});
    }

    std::shared_ptr<FakeMainScheduler> fake = std::make_shared<FakeMainScheduler>();
    ScopedMainScheduler scope{fake};
    std::shared_ptr<AlertScript> alerts = std::make_shared<AlertScript>();
    std::shared_ptr<FilePanelScript> panels = std::make_shared<FilePanelScript>();
    QTemporaryDir temporary;
    QDir folder{temporary.path()};
    TextController controller{Settings::isolated()};
};

}  // namespace

TEST_F(PlatformDocumentTest, SaveReplacesTheFileAndKeepsPermissionsAndLinks) {
    const QString target = path("target.txt");
    const QString link = path("link.txt");
    write(target, "old");
    ASSERT_TRUE(QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                  QFileDevice::ReadGroup));
    ASSERT_TRUE(QFile::link(target, link));

    TextDocument document;
    ASSERT_EQ(document.readFromFile(link, "Text"), std::nullopt);
    EXPECT_EQ(document.text, "old");
    document.edit("new text");
    EXPECT_TRUE(document.isDocumentEdited());
    EXPECT_EQ(saveAndWait(document, link, SaveOperation::save), std::nullopt);

    EXPECT_EQ(read(target), "new text");
    EXPECT_TRUE(QFileInfo(link).isSymLink()) << "the link was replaced by a plain file";
    EXPECT_EQ(QFileInfo(target).permissions() & QFileDevice::Permissions(0x7077),
              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup);
    EXPECT_FALSE(document.isDocumentEdited());
    EXPECT_EQ(document.fileSignature(), FileSignature::ofFile(target));
    // No temporary file is left behind.
    EXPECT_EQ(folder.entryList(QDir::Files | QDir::System).size(), 2);

    // Root's save of another user's file leaves it that user's (nobody:nogroup), who can still read it.
    const QByteArray encoded = QFile::encodeName(target);
    const uid_t nobody = 65534;
    const gid_t nogroup = 65534;
    if (::geteuid() != 0 || ::chown(encoded.constData(), nobody, nogroup) != 0) {
        GTEST_SKIP() << "not root: a file can't be given to another user";
    }
    ASSERT_EQ(::chmod(encoded.constData(), 0640), 0);
    ASSERT_TRUE(document.readFromFile(link, "Text") == std::nullopt);
    document.edit("root's edit");
    EXPECT_EQ(saveAndWait(document, link, SaveOperation::autosaveInPlace), std::nullopt);
    struct stat status {};
    ASSERT_EQ(::stat(encoded.constData(), &status), 0);
    EXPECT_EQ(read(target), "root's edit");
    EXPECT_EQ(status.st_uid, nobody);
    EXPECT_EQ(status.st_gid, nogroup);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
}

// Another program's change is any other file than the one read: a later or an earlier time, or the
// same time to the millisecond on other bytes, another size or another inode, or the same time to the
// nanosecond on other bytes of the same size. A change of the file's status alone is none.
TEST_F(PlatformDocumentTest, RefusedSavesLeaveTheFileAsItWas) {
    using CarvexTest::ExternalFileChange;
    struct Row {
        const char* name;
        QString text;                               // the document's text when saving
        std::optional<ExternalFileChange> change;   // another program's, after the file was read
        QByteArray theirs;                          // what that change wrote
        int answer;                                 // the alert's button, when one asks
        bool expectWritten;
        bool expectAlert;
    };
    const Row rows[] = {
        {"data that can't be made", "unwritable text", std::nullopt, "", 0, false, false},
        {"newer on disk, user cancels", "mine", ExternalFileChange::newerDate, "theirs, changed", 1, false, true},
        {"newer on disk, user saves anyway", "mine", ExternalFileChange::newerDate, "theirs, changed", 0, true, true},
        {"older on disk, user cancels", "mine", ExternalFileChange::olderDate, "THEIRS", 1, false, true},
        {"same size, date set back, user cancels", "mine", ExternalFileChange::sameSizeDateSetBack, "THEIRS", 1,
         false, true},
        {"new inode, date set back, user cancels", "mine", ExternalFileChange::newInodeDateSetBack, "THEIRS", 1,
         false, true},
        {"same date, other size, user cancels", "mine", ExternalFileChange::sameDateOtherSize, "theirs!", 1, false,
         true},
        {"same size, same date, user cancels", "mine", ExternalFileChange::sameSizeSameDate, "THEIRS", 1, false, true},
        {"status only, the same bytes", "mine", ExternalFileChange::statusOnly, "theirs", 0, true, false},
        {"unchanged on disk", "mine", std::nullopt, "", 0, true, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const QString file = path(QString("refused-%1.txt").arg(&row - rows));
        CarvexTest::writeDated(file, "theirs", CarvexTest::knownModifiedNanoseconds);
        TextDocument document;
        ASSERT_EQ(document.readFromFile(file, "Text"), std::nullopt);
        if (row.change) {
            CarvexTest::changeExternally(file, *row.change, row.theirs);
        }
        const QByteArray before = read(file);
        const std::size_t alertsBefore = alerts->presented().size();
        alerts->respond(row.answer);
        document.edit(row.text);
        const auto error = saveAndWait(document, file, SaveOperation::save);
        EXPECT_EQ(!error, row.expectWritten) << (error ? error->localizedDescription.toStdString() : "");
        EXPECT_EQ(read(file), row.expectWritten ? row.text.toUtf8() : before);
        EXPECT_EQ(document.isDocumentEdited(), !row.expectWritten);
        EXPECT_EQ(alerts->presented().size() - alertsBefore, row.expectAlert ? 1u : 0u);
        if (!row.expectAlert) {
            alerts = std::make_shared<AlertScript>();
            AlertPresenter::shared().setScript(alerts);
        }
    }
}

// A save records the file as its own thread found it right after the rename: another program's write
// landing before the main thread hears of the save is a change the next save asks about.
TEST_F(PlatformDocumentTest, AWriteLandingAfterTheSaveButBeforeItsAnswerIsAChange) {
    const QString file = path("raced.txt");
    CarvexTest::writeDated(file, "start", CarvexTest::knownModifiedNanoseconds);
    TextDocument document;
    ASSERT_EQ(document.readFromFile(file, "Text"), std::nullopt);
    document.edit("mine");
    std::optional<std::optional<Error>> saved;
    document.saveToFile(file, "Text", SaveOperation::save, [&](std::optional<Error> error) { saved = error; });
    BackgroundTask::waitForIdle();
    ASSERT_FALSE(saved.has_value()) << "the main thread heard of the save before the other program wrote";
    CarvexTest::changeExternally(file, CarvexTest::ExternalFileChange::newerDate, "theirs");
    fake->runPending();
    ASSERT_TRUE(saved.has_value() && !*saved);

    alerts->respond(1);  // Cancel
    document.edit("mine again");
    const auto error = saveAndWait(document, file, SaveOperation::autosaveInPlace);
    EXPECT_TRUE(error && error->isUserCancelled());
    EXPECT_EQ(alerts->presented().size(), 1u);
    EXPECT_EQ(read(file), "theirs");
}

// A file deleted by another program: Save, the user's own answer, writes it again; an autosave asks
// first, as for a changed file, unless no one is there to answer.
TEST_F(PlatformDocumentTest, AutosaveAsksBeforeWritingADeletedFileAgain) {
    struct Row {
        const char* name;
        SaveOperation operation;
        bool unattended;
        std::optional<int> answer;  // the button, when a question is expected
        bool expectWritten;
    };
    const Row rows[] = {
        {"Save writes it again", SaveOperation::save, false, std::nullopt, true},
        {"autosave, user cancels", SaveOperation::autosaveInPlace, false, 1, false},
        {"autosave, user saves anyway", SaveOperation::autosaveInPlace, false, 0, true},
        {"autosave with no one to answer", SaveOperation::autosaveInPlace, true, std::nullopt, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        alerts = std::make_shared<AlertScript>();
        AlertPresenter::shared().setScript(alerts);
        const QString file = path(QString("deleted-%1.txt").arg(&row - rows));
        write(file, "theirs");
        TextDocument document;
        ASSERT_EQ(document.readFromFile(file, "Text"), std::nullopt);
        document.edit("mine");
        ASSERT_TRUE(QFile::remove(file));
        if (row.answer) {
            alerts->respond(*row.answer);
        }
        AlertPresenter::shared().setUnattended(row.unattended);
        const auto error = saveAndWait(document, file, row.operation);
        AlertPresenter::shared().setUnattended(false);
        EXPECT_EQ(!error, row.expectWritten);
        EXPECT_EQ(read(file), row.expectWritten ? QByteArray("mine") : QByteArray("<missing>"));
        EXPECT_EQ(alerts->presented().size(), row.answer ? 1u : 0u);
        EXPECT_EQ(document.isDocumentEdited(), !row.expectWritten);
    }
}

TEST_F(PlatformDocumentTest, EditsMadeWhileSavingKeepTheDocumentEdited) {
    const QString file = path("busy.txt");
    write(file, "a");
    TextDocument document;
    ASSERT_EQ(document.readFromFile(file, "Text"), std::nullopt);
    document.edit("b");
    std::vector<int> finished;
    document.saveToFile(file, "Text", SaveOperation::save, [&](auto error) { finished.push_back(error ? -1 : 1); });
    document.edit("c");  // after the data was taken
    document.saveToFile(file, "Text", SaveOperation::save, [&](auto error) { finished.push_back(error ? -1 : 2); });
    EXPECT_TRUE(document.isSaving());
    for (int turn = 0; turn < 5; ++turn) {
        settle();
    }
    EXPECT_EQ(finished, (std::vector<int>{1, 2}));
    EXPECT_EQ(read(file), "c");
    EXPECT_FALSE(document.isDocumentEdited());
}

// The tests run as root, whom file modes do not stop: a save is made to fail by a folder that is a
// file, by the process's limit on the size of the files it writes, and by a file the system lets no
// one replace (append-only).
TEST_F(PlatformDocumentTest, AFailedSaveIsReportedShownAndLeavesTheFileWhole) {
    enum class Obstacle { folderIsAFile, fileSizeLimit, appendOnlyFile };
    struct Row {
        const char* name;
        Obstacle obstacle;
        SaveOperation operation;
        qsizetype size = 64 * 1024;
        rlim_t limit = 4096;
    };
    // A text smaller than a write buffer fails only when the buffer goes to the disk.
    const Row rows[] = {
        {"Save As into a folder that is a regular file: the temporary file can't be made",
         Obstacle::folderIsAFile, SaveOperation::saveAs},
        {"Save over a file bigger than the process may write: the write fails",
         Obstacle::fileSizeLimit, SaveOperation::save},
        {"Save over an append-only file: the rename over it fails", Obstacle::appendOnlyFile, SaveOperation::save},
        {"Save of 3.8 KB with room for 400 bytes", Obstacle::fileSizeLimit, SaveOperation::save, 3900, 400},
        {"Autosave of 10 KB with room for 4 KB", Obstacle::fileSizeLimit, SaveOperation::autosaveInPlace, 10 * 1024},
    };
    const QByteArray old = "old text\n";
    const char* unprovable = nullptr;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const QString own = path(QString("failing-%1.txt").arg(&row - rows));
        write(own, old);
        TextDocument document;
        document.setFileType("Text");
        ASSERT_EQ(document.readFromFile(own, "Text"), std::nullopt);
        document.edit(QString(row.size, QLatin1Char('x')));
        QString target = own;
        AppendOnly appendOnly;
        std::optional<FileSizeLimit> limit;
        switch (row.obstacle) {
            case Obstacle::folderIsAFile:
                write(path("plain"), "a file, not a folder");
                target = path("plain/failing.txt");
                break;
            case Obstacle::fileSizeLimit: break;
            case Obstacle::appendOnlyFile:
                if (!appendOnly.set(own)) {
                    unprovable = row.name;
                    continue;
                }
                break;
        }
        const QStringList filesBefore = folder.entryList(QDir::Files | QDir::Hidden | QDir::System);
        const auto saveFailing = [&](const std::function<void()>& save) {
            if (row.obstacle == Obstacle::fileSizeLimit) {
                limit.emplace(row.limit);
            }
            save();
            for (int turn = 0; turn < 5; ++turn) {
                settle();
            }
            limit.reset();
        };

        // The caller hears of the failure.
        std::optional<std::optional<Error>> reported;
        saveFailing([&] {
            document.saveToFile(target, "Text", row.operation, [&](std::optional<Error> error) { reported = error; });
        });
        ASSERT_TRUE(reported.has_value()) << "the save never completed";
        ASSERT_TRUE(reported->has_value()) << "the failed save reported success";
        EXPECT_TRUE((*reported)->localizedDescription.contains(QString::fromUtf8("couldn\u2019t be saved")))
            << (*reported)->localizedDescription.toStdString();

        // The menu command shows it.
        if (row.operation == SaveOperation::saveAs) {
            panels->respond(target);
            saveFailing([&] { document.saveDocumentAs(); });
        } else {
            saveFailing([&] { document.saveDocument(); });
        }
        ASSERT_EQ(alerts->presented().size(), 1u) << "no alert told of the failed save";
        EXPECT_EQ(alerts->presented()[0].alert.messageText,
                  QString::fromUtf8("The document \u201Cfailing-%1.txt\u201D could not be saved.").arg(&row - rows));
        EXPECT_EQ(alerts->presented()[0].alert.informativeText, (*reported)->localizedDescription);
        alerts = std::make_shared<AlertScript>();
        AlertPresenter::shared().setScript(alerts);

        // Nothing on disk changed, and nothing was left behind.
        EXPECT_EQ(read(own), old);
        EXPECT_FALSE(QFileInfo::exists(target) && target != own);
        EXPECT_EQ(folder.entryList(QDir::Files | QDir::Hidden | QDir::System), filesBefore);
        EXPECT_TRUE(document.isDocumentEdited());
        EXPECT_EQ(document.filePath(), own);
    }
    if (unprovable) {
        GTEST_SKIP() << "the file system here refuses the append-only flag: not tried: " << unprovable;
    }
}

// A save writes a new file and renames it over the old one: a second name (a hard link) of the old
// file keeps the old text, where a write in place would have changed it through both names.
TEST_F(PlatformDocumentTest, SaveWritesANewFileInsteadOfWritingInPlace) {
    const QString target = path("atomic.txt");
    const QString otherName = path("atomic-hard-link.txt");
    write(target, "old text");
    ASSERT_TRUE(::link(QFile::encodeName(target).constData(), QFile::encodeName(otherName).constData()) == 0);
    const auto inodeOf = [](const QString& file) {
        struct stat info {};
        return ::stat(QFile::encodeName(file).constData(), &info) == 0 ? info.st_ino : ino_t(0);
    };
    const ino_t before = inodeOf(target);
    TextDocument document;
    ASSERT_EQ(document.readFromFile(target, "Text"), std::nullopt);
    for (SaveOperation operation : {SaveOperation::save, SaveOperation::autosaveInPlace}) {
        document.edit(operation == SaveOperation::save ? "saved" : "autosaved");
        ASSERT_EQ(saveAndWait(document, target, operation), std::nullopt);
    }
    EXPECT_EQ(read(target), "autosaved");
    EXPECT_EQ(read(otherName), "old text");
    EXPECT_NE(inodeOf(target), before);
}

TEST_F(PlatformDocumentTest, UntitledDocumentsAreNumberedAndNumbersComeBack) {
    auto first = std::make_unique<TextDocument>();
    auto second = std::make_unique<TextDocument>();
    auto third = std::make_unique<TextDocument>();
    EXPECT_EQ(first->displayName(), "Untitled");
    EXPECT_EQ(second->displayName(), "Untitled 2");
    EXPECT_EQ(third->displayName(), "Untitled 3");
    EXPECT_EQ(second->displayName(), "Untitled 2");
    second.reset();
    EXPECT_EQ(TextDocument().displayName(), "Untitled 2");
    first->setDisplayName(QString("Mine"));
    EXPECT_EQ(first->displayName(), "Mine");
    third->setFilePath(path("named.txt"));
    EXPECT_EQ(third->displayName(), "named.txt");
}

TEST_F(PlatformDocumentTest, SaveAsMovesTheDocumentAndNotesItAsRecent) {
    auto made = controller.makeUntitledDocumentOfType("Text");
    ASSERT_TRUE(std::holds_alternative<std::unique_ptr<Document>>(made));
    auto* document = static_cast<TextDocument*>(std::get<std::unique_ptr<Document>>(made).get());
    controller.addDocument(std::move(std::get<std::unique_ptr<Document>>(made)));
    document->edit("saved as");
    document->addWindowController(std::make_unique<WindowController>());
    QMainWindow* window = document->windowControllers().front()->window();
    EXPECT_EQ(window->windowTitle(), "Untitled[*]");  // edited: marked

    panels->respond(std::nullopt);  // cancelled
    panels->respond(path("chosen"));  // the extension is added
    std::vector<std::optional<Error>> results;
    document->saveDocumentAs([&](auto error) { results.push_back(error); });
    document->saveDocumentAs([&](auto error) { results.push_back(error); });
    for (int turn = 0; turn < 5; ++turn) {
        settle();
    }
    ASSERT_EQ(results.size(), 2u);
    EXPECT_TRUE(results[0] && results[0]->isUserCancelled());
    EXPECT_EQ(results[1], std::nullopt);
    EXPECT_EQ(panels->presented()[0].suggestedPath, QDir::home().filePath("Untitled.txt"));
    EXPECT_EQ(document->filePath(), path("chosen.txt"));
    EXPECT_EQ(document->displayName(), "chosen.txt");
    EXPECT_EQ(window->windowTitle(), "chosen.txt");  // the window follows the new name
    EXPECT_EQ(read(path("chosen.txt")), "saved as");
    EXPECT_EQ(controller.recentDocumentPaths().value(0), path("chosen.txt"));
}

// The panel confirms replacing the name typed; when the extension added afterwards leads to an
// existing file, that file is replaced only once the user agrees.
TEST_F(PlatformDocumentTest, SaveAsAsksBeforeReplacingTheFileTheAddedExtensionLeadsTo) {
    struct Row {
        const char* name;
        const char* typed;      // what the panel hands back
        bool fileExists;        // chosen.txt is there beforehand
        std::optional<int> answer;  // the button, when a question is expected
        bool expectWritten;
    };
    const Row rows[] = {
        {"no such file", "chosen", false, std::nullopt, true},
        {"existing file, replace", "chosen", true, 1, true},
        {"existing file, cancel", "chosen", true, 0, false},
        {"extension typed: the panel asked already", "chosen.txt", true, std::nullopt, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QTemporaryDir rowTemporary;
        const QDir rowFolder(rowTemporary.path());
        const QString existing = rowFolder.filePath("chosen.txt");
        if (row.fileExists) {
            write(existing, "precious");
        }
        TextDocument document;
        document.setFileType("Text");
        document.edit("mine");
        const std::size_t alertsBefore = alerts->presented().size();
        if (row.answer) {
            alerts->respond(*row.answer);
        }
        panels->respond(rowFolder.filePath(row.typed));
        std::optional<std::optional<Error>> result;
        document.saveDocumentAs([&](std::optional<Error> error) { result = error; });
        for (int turn = 0; turn < 5 && !result; ++turn) {
            settle();
        }
        ASSERT_TRUE(result.has_value());
        EXPECT_EQ(!*result, row.expectWritten);
        EXPECT_EQ(alerts->presented().size() - alertsBefore, row.answer ? 1u : 0u);
        if (row.answer) {
            EXPECT_TRUE(alerts->presented().back().alert.messageText.contains("chosen.txt"));
            EXPECT_EQ(alerts->presented().back().alert.buttons.value(0), "Cancel") << "the default keeps the file";
            EXPECT_EQ(*result && (*result)->isUserCancelled(), !row.expectWritten);
        }
        EXPECT_EQ(read(existing), row.expectWritten ? QByteArray("mine") : QByteArray("precious"));
        EXPECT_EQ(document.hasFile(), row.expectWritten);
        EXPECT_EQ(document.isDocumentEdited(), !row.expectWritten);
    }
}

// Save As starts in the document's folder, or in the home folder when that folder has gone.
TEST_F(PlatformDocumentTest, SaveAsStartsInTheDocumentsFolderWhileItExists) {
    QTemporaryDir rowTemporary;
    const QDir rowFolder(rowTemporary.path());
    ASSERT_TRUE(rowFolder.mkpath("sub"));
    const QString file = rowFolder.filePath("sub/api.txt");
    write(file, "text");
    TextDocument document;
    ASSERT_EQ(document.readFromFile(file, "Text"), std::nullopt);
    panels->respond(std::nullopt);
    panels->respond(std::nullopt);
    document.saveDocumentAs();
    ASSERT_TRUE(QDir(rowFolder.filePath("sub")).removeRecursively());
    document.saveDocumentAs();
    settle();
    ASSERT_EQ(panels->presented().size(), 2u);
    EXPECT_EQ(panels->presented()[0].suggestedPath, file);
    EXPECT_EQ(panels->presented()[1].suggestedPath, QDir::home().filePath("api.txt"));
}

TEST_F(PlatformDocumentTest, OneDocumentPerFile) {
    const QString file = path("one.txt");
    write(file, "one");
    ASSERT_TRUE(QFile::link(file, path("alias.txt")));
    std::vector<std::pair<Document*, bool>> opened;
    auto record = [&](Document* document, bool wasOpen, std::optional<Error>) { opened.push_back({document, wasOpen}); };
    controller.openDocumentWithContentsOfFile(file, false, record);
    controller.openDocumentWithContentsOfFile(path("alias.txt"), false, record);
    controller.openDocumentWithContentsOfFile(path("./one.txt"), false, record);
    ASSERT_EQ(opened.size(), 3u);
    EXPECT_FALSE(opened[0].second);
    EXPECT_EQ(opened[1], std::make_pair(opened[0].first, true));
    EXPECT_EQ(opened[2], std::make_pair(opened[0].first, true));
    EXPECT_EQ(controller.documents().size(), 1u);

    // Save As over a file another document holds is refused: the two would overwrite each other.
    auto other = std::make_unique<TextDocument>();
    other->setFileType("Text");
    other->edit("other");
    auto error = saveAndWait(*other, file, SaveOperation::saveAs);
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(read(file), "one");
}

TEST_F(PlatformDocumentTest, OpeningFailuresAreReportedAndOpenNothing) {
    write(path("bad.txt"), "unreadable bytes");
    write(path("other.bin"), "x");
    struct Row {
        const char* name;
        QString file;
    };
    const Row rows[] = {{"unreadable content", path("bad.txt")},
                        {"type the application does not open", path("other.bin")},
                        {"missing file", path("missing.txt")}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::optional<Error> failure;
        controller.openDocumentWithContentsOfFile(row.file, true, [&](Document* document, bool, auto error) {
            EXPECT_EQ(document, nullptr);
            failure = error;
        });
        EXPECT_TRUE(failure.has_value());
    }
    EXPECT_TRUE(controller.documents().empty());
    EXPECT_EQ(alerts->presented().size(), 3u);
    EXPECT_EQ(alerts->presented()[0].alert.informativeText, "Failed to read document");
    EXPECT_TRUE(controller.recentDocumentPaths().isEmpty());
}

TEST_F(PlatformDocumentTest, RecentDocumentsNewestFirstAtMostTen) {
    for (int i = 0; i < 12; ++i) {
        controller.noteNewRecentDocumentPath(path(QString("r%1.txt").arg(i)));
    }
    controller.noteNewRecentDocumentPath(path("r5.txt"));
    const QStringList recent = controller.recentDocumentPaths();
    ASSERT_EQ(recent.size(), 10);
    EXPECT_EQ(recent[0], path("r5.txt"));
    EXPECT_EQ(recent[1], path("r11.txt"));
    EXPECT_EQ(recent.count(path("r5.txt")), 1);
    EXPECT_FALSE(recent.contains(path("r1.txt")));
    controller.clearRecentDocuments();
    EXPECT_TRUE(controller.recentDocumentPaths().isEmpty());
}

TEST_F(PlatformDocumentTest, ClosingLosesNoText) {
    struct Row {
        const char* name;
        bool withFile;
        bool edited;
        std::vector<int> answers;           // alert buttons, in order
        std::optional<QString> savePanel;   // the save panel's answer
        bool expectClosed;
        std::size_t expectAlerts;
    };
    const Row rows[] = {
        {"unedited closes", true, false, {}, std::nullopt, true, 0},
        {"edited with a file is saved in place", true, true, {}, std::nullopt, true, 0},
        {"edited untitled: Save", false, true, {0}, QString("saved-on-close.txt"), true, 1},
        {"edited untitled: Save, panel cancelled", false, true, {0}, std::nullopt, false, 1},
        {"edited untitled: Don't Save", false, true, {1}, std::nullopt, true, 1},
        {"edited untitled: Cancel", false, true, {2}, std::nullopt, false, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        alerts = std::make_shared<AlertScript>();
        AlertPresenter::shared().setScript(alerts);
        panels = std::make_shared<FilePanelScript>();
        FilePanel::shared().setScript(panels);
        auto owned = std::make_unique<TextDocument>();
        TextDocument* document = owned.get();
        document->setFileType("Text");
        const QString file = path(QString("close-%1.txt").arg(&row - rows));
        if (row.withFile) {
            write(file, "before");
            ASSERT_EQ(document->readFromFile(file, "Text"), std::nullopt);
        }
        if (row.edited) {
            document->edit("kept");
        }
        for (int answer : row.answers) {
            alerts->respond(answer);
        }
        if (row.savePanel) {
            panels->respond(path(*row.savePanel));
        } else {
            panels->respond(std::nullopt);
        }
        controller.addDocument(std::move(owned));
        std::optional<bool> closed;
        controller.closeAllDocuments([&](bool all) { closed = all; });
        for (int turn = 0; turn < 5; ++turn) {
            settle();
        }
        ASSERT_TRUE(closed.has_value());
        EXPECT_EQ(*closed, row.expectClosed);
        EXPECT_EQ(alerts->presented().size(), row.expectAlerts);
        if (row.withFile && row.edited) {
            EXPECT_EQ(read(file), "kept");
        }
        if (row.savePanel && row.expectClosed) {
            EXPECT_EQ(read(path(*row.savePanel)), "kept");
        }
        EXPECT_EQ(controller.documents().size(), row.expectClosed ? 0u : 1u);
        if (!row.expectClosed) {
            controller.removeDocument(document);
            settle();
        }
    }
}

TEST_F(PlatformDocumentTest, ClosingTheLastWindowAsksTheDocumentFirst) {
    auto owned = std::make_unique<TextDocument>();
    TextDocument* document = owned.get();
    document->setFileType("Text");
    document->edit("unsaved");
    controller.addDocument(std::move(owned));
    document->addWindowController(std::make_unique<WindowController>());
    document->showWindows();
    QPointer<QMainWindow> window = document->windowControllers().front()->window();
    EXPECT_EQ(window->windowTitle(), document->displayName() + "[*]");  // edited: marked
    EXPECT_TRUE(window->isWindowModified());

    alerts->respond(2);  // Cancel: the window stays
    document->windowControllers().front()->close();
    settle();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(controller.documents().size(), 1u);
    ASSERT_EQ(alerts->presented().size(), 1u);
    EXPECT_TRUE(alerts->presented()[0].asSheet);

    alerts->respond(1);  // Don't Save: window and document go
    document->windowControllers().front()->close();
    settle();
    settle();
    EXPECT_TRUE(controller.documents().empty());
    EXPECT_FALSE(window);
}

TEST_F(PlatformDocumentTest, AutosaveWritesEditedDocumentsWithAFileAfterAPause) {
    const QString file = path("auto.txt");
    write(file, "start");
    TextDocument document;
    ASSERT_EQ(document.readFromFile(file, "Text"), std::nullopt);
    document.edit("typed");
    fake->advance(Document::autosaveDelay - std::chrono::milliseconds(1));
    document.edit("typed more");  // restarts the pause
    fake->advance(Document::autosaveDelay - std::chrono::milliseconds(1));
    settle();
    EXPECT_EQ(read(file), "start");
    fake->advance(std::chrono::milliseconds(1));
    settle();
    EXPECT_EQ(read(file), "typed more");
    EXPECT_FALSE(document.isDocumentEdited());
}

// An autosave that fails (here by the limit on the size of the files the process writes, which stops
// root too) tells once, as a failed Save does; the failures after it say nothing until an autosave
// has written the file, and the next failure tells again.
TEST_F(PlatformDocumentTest, AFailingAutosaveTellsOnceUntilASaveWrites) {
    const struct {
        const char* name;
        bool fails;
        std::size_t alertsAfter;
    } steps[] = {
        {"the first failure is told", true, 1},
        {"a second one is not", true, 1},
        {"nor a third", true, 1},
        {"an autosave that writes", false, 1},
        {"a failure after it is told again", true, 2},
        {"and only once", true, 2},
    };
    const QString file = path("autosave-failing.txt");
    write(file, "start");
    TextDocument document;
    ASSERT_EQ(document.readFromFile(file, "Text"), std::nullopt);
    int round = 0;
    for (const auto& step : steps) {
        SCOPED_TRACE(step.name);
        // Longer than the limit, and another text each time.
        const QString text = QString(64 * 1024, QLatin1Char('a' + round++));
        document.edit(text);
        std::optional<FileSizeLimit> limit;
        if (step.fails) {
            limit.emplace(4096);
        }
        fake->advance(Document::autosaveDelay);
        settle();
        limit.reset();
        settle();
        EXPECT_EQ(document.isDocumentEdited(), step.fails);
        EXPECT_EQ(read(file) == text.toUtf8(), !step.fails);
        ASSERT_EQ(alerts->presented().size(), step.alertsAfter);
    }
    // Each told what Save tells of the same failure.
    {
        FileSizeLimit limit(4096);
        document.saveDocument();
        for (int turn = 0; turn < 5; ++turn) {
            settle();
        }
    }
    ASSERT_EQ(alerts->presented().size(), 3u);
    const Alert& saved = alerts->presented().back().alert;
    EXPECT_EQ(saved.messageText,
              QString::fromUtf8("The document \u201Cautosave-failing.txt\u201D could not be saved."));
    for (std::size_t index = 0; index < 2; ++index) {
        EXPECT_EQ(alerts->presented()[index].alert.messageText, saved.messageText);
        EXPECT_EQ(alerts->presented()[index].alert.informativeText, saved.informativeText);
        EXPECT_EQ(alerts->presented()[index].alert.buttons, saved.buttons);
    }
}

namespace {

// Runs the event loop until `done` holds or a generous limit passes.
template <class Condition>
bool waitUntil(Condition done) {
    const QDeadlineTimer deadline(30000);
    while (!done() && !deadline.hasExpired()) {
        QCoreApplication::processEvents();
        QThread::msleep(10);
    }
    return done();
}

}  // namespace

TEST_F(PlatformDocumentTest, FileWatchSurvivesAtomicReplacement) {
    const QString file = path("watched.txt");
    write(file, "1");
    int changes = 0;
    FileWatch watch([&] { ++changes; });
    watch.watch(file);

    struct Step {
        const char* name;
        std::function<void()> change;
    };
    const Step steps[] = {
        {"written in place", [&] { write(file, "2"); }},
        {"replaced by a rename", [&] {
             write(path("watched.tmp"), "3");
             ::rename(QFile::encodeName(path("watched.tmp")).constData(), QFile::encodeName(file).constData());
         }},
        {"written in place after the replacement", [&] { write(file, "44"); }},
        {"deleted and made again", [&] {
             QFile::remove(file);
             write(file, "555");
         }},
        {"written in place once more", [&] { write(file, "6666"); }},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        const int before = changes;
        step.change();
        EXPECT_TRUE(waitUntil([&] { return changes > before; }));
    }
}

namespace {

// The title the window system shows for a window: Qt's placeholder resolved.
QString shownTitle(QWidget* window) {
    return window->windowHandle() ? window->windowHandle()->title() : QString("<no native window>");
}

}  // namespace

TEST_F(PlatformDocumentTest, AnEditedDocumentMarksItsWindowUntilSavedOrUndone) {
    enum class Step { edit, undo, redo, clear, save, saveWhileEditing, autosave, revert, saveAs };
    struct Row {
        const char* name;
        bool withFile;
        std::vector<std::pair<Step, bool>> steps;  // each step and whether the window is marked after it
    };
    const Row rows[] = {
        {"edit, then undo back", true, {{Step::edit, true}, {Step::edit, true}, {Step::undo, true},
                                        {Step::undo, false}, {Step::redo, true}, {Step::clear, false}}},
        {"undo past the saved state", true, {{Step::save, false}, {Step::undo, true}, {Step::redo, false}}},
        // The new edit replaces the redo step back to the saved text: nothing undoes back to it.
        {"an edit after undoing past the saved state", true,
         {{Step::save, false}, {Step::undo, true}, {Step::edit, true}, {Step::undo, true}, {Step::redo, true},
          {Step::undo, true}, {Step::undo, true}, {Step::save, false}, {Step::undo, true}, {Step::redo, false}}},
        {"save", true, {{Step::edit, true}, {Step::save, false}, {Step::edit, true}}},
        {"an edit during the write stays marked", true, {{Step::saveWhileEditing, true}, {Step::save, false}}},
        {"autosave", true, {{Step::edit, true}, {Step::autosave, false}}},
        {"revert", true, {{Step::edit, true}, {Step::revert, false}}},
        {"untitled", false, {{Step::edit, true}, {Step::undo, false}, {Step::edit, true}, {Step::saveAs, false}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const QString file = path(QString("marked-%1.txt").arg(&row - rows));
        TextDocument document;
        document.setFileType("Text");
        if (row.withFile) {
            write(file, "on disk");
            ASSERT_EQ(document.readFromFile(file, "Text"), std::nullopt);
        }
        document.addWindowController(std::make_unique<WindowController>());
        QMainWindow* window = document.windowControllers().front()->window();
        window->show();
        const QString name = document.displayName();
        EXPECT_EQ(shownTitle(window), name);
        for (std::size_t index = 0; index < row.steps.size(); ++index) {
            const auto [step, marked] = row.steps[index];
            SCOPED_TRACE(index);
            switch (step) {
                case Step::edit: document.edit(document.text + "+"); break;
                case Step::undo: document.updateChangeCount(ChangeType::undone); break;
                case Step::redo: document.updateChangeCount(ChangeType::redone); break;
                case Step::clear: document.updateChangeCount(ChangeType::cleared); break;
                case Step::save: EXPECT_EQ(saveAndWait(document, file, SaveOperation::save), std::nullopt); break;
                case Step::saveWhileEditing:
                    document.edit("written");
                    document.saveToFile(file, "Text", SaveOperation::save, {});
                    document.edit("typed while writing");
                    for (int turn = 0; turn < 5; ++turn) {
                        settle();
                    }
                    break;
                case Step::autosave:
                    fake->advance(Document::autosaveDelay);
                    for (int turn = 0; turn < 5; ++turn) {
                        settle();
                    }
                    break;
                case Step::revert: EXPECT_EQ(document.revertToContentsOfFile(file, "Text"), std::nullopt); break;
                case Step::saveAs: EXPECT_EQ(saveAndWait(document, file, SaveOperation::saveAs), std::nullopt); break;
            }
            const QString expectedName = step == Step::saveAs ? QFileInfo(file).fileName() : name;
            EXPECT_EQ(window->isWindowModified(), marked);
            EXPECT_EQ(shownTitle(window), marked ? expectedName + "*" : expectedName);
        }
    }
}

TEST_F(PlatformDocumentTest, TabsOfOneWindowEachShowTheirOwnDocumentsMark) {
    // A name's own "&" and "[*]" show as they are, in the tab and in the title bar.
    const QString names[] = {"first.txt", "R&D [*].txt"};
    std::vector<std::unique_ptr<TextDocument>> documents;
    std::vector<QMainWindow*> windows;
    for (const QString& name : names) {
        write(path(name), "text");
        auto& document = documents.emplace_back(std::make_unique<TextDocument>(false));
        ASSERT_EQ(document->readFromFile(path(name), "Text"), std::nullopt);
        document->addWindowController(std::make_unique<WindowController>());
        windows.push_back(document->windowControllers().front()->window());
    }
    windows[0]->show();
    WindowTabHost::addTabbedWindow(windows[0], windows[1]);
    WindowTabHost* host = WindowTabHost::hostOf(windows[1]);
    ASSERT_NE(host, nullptr);
    ASSERT_EQ(host->tabCount(), 2);
    QTabWidget* tabs = host->tabWidget();

    struct Row {
        const char* name;
        std::function<void()> act;
        QString firstTab;   // tab texts as set ("&&" shows one "&")
        QString secondTab;
        QString hostTitle;  // as the window system shows it
    };
    const Row rows[] = {
        {"both saved", [] {}, "first.txt", "R&&D [*].txt", "R&D [*].txt"},
        {"the current tab edited", [&] { documents[1]->edit("b"); }, "first.txt", "R&&D [*].txt*", "R&D [*].txt*"},
        {"another tab current", [&] { tabs->setCurrentIndex(0); }, "first.txt", "R&&D [*].txt*", "first.txt"},
        {"the other tab edited", [&] { documents[0]->edit("a"); }, "first.txt*", "R&&D [*].txt*", "first.txt*"},
        {"a background tab undone", [&] { documents[1]->updateChangeCount(ChangeType::undone); }, "first.txt*",
         "R&&D [*].txt", "first.txt*"},
        {"the current tab saved",
         [&] { EXPECT_EQ(saveAndWait(*documents[0], path(names[0]), SaveOperation::save), std::nullopt); },
         "first.txt", "R&&D [*].txt", "first.txt"},
        {"back to the second", [&] { tabs->setCurrentIndex(1); }, "first.txt", "R&&D [*].txt", "R&D [*].txt"},
    };
    // Qt warns when a window is marked modified while its title has no place for the mark: the host
    // follows its tab's title and mark one at a time, so the tab's must never disagree.
    static QStringList warnings;
    warnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtWarningMsg) {
            warnings.append(message);
        }
    });
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        row.act();
        EXPECT_EQ(tabs->tabText(0), row.firstTab);
        EXPECT_EQ(tabs->tabText(1), row.secondTab);
        EXPECT_EQ(shownTitle(host), row.hostTitle);
        EXPECT_EQ(warnings.filter(QStringLiteral("setWindowModified")).join(u'\n').toStdString(), "");
        warnings.clear();
    }
    qInstallMessageHandler(previous);
    documents.clear();
    settle();
}
