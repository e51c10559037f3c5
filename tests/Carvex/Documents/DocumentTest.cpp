#include "Carvex/Documents/Document.h"
#include "Carvex/Windows/DocumentController.h"
#include "Carvex/Documents/DocumentTypes.h"
#include "Carvex/Documents/DocumentWindow.h"
#include "Carvex/Logging/AppLogger.h"
#include "Carvex/Preferences/EditorPreferencesStore.h"
#include "Carvex/Windows/DocumentWindowController.h"
#include "platform/AlertPresenter.h"
#include "platform/BackgroundTask.h"
#include "platform/FakeMainScheduler.h"
#include "platform/FilePanel.h"
#include "platform/ScopedMainScheduler.h"
#include "platform/Settings.h"
#include "platform/Storyboard.h"
#include "platform/TestApplication.h"
#include "platform/WindowController.h"
#include "tests/platform/ExternalFileChange.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QAbstractButton>
#include <QFile>
#include <QMainWindow>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <utility>

using namespace Carvex;
using namespace std::chrono_literals;
using CarvexPlatform::AlertPresenter;
using CarvexPlatform::AlertScript;
using CarvexPlatform::AlertStyle;
using CarvexPlatform::ChangeType;
using CarvexPlatform::Error;
using CarvexPlatform::SaveOperation;

namespace {

const QString reloadedLine = "Document reloaded (external change detected)";

class DocumentTest : public ::testing::Test {
protected:
    void SetUp() override {
        CarvexPlatform::TestApplication::ensure();
        AlertPresenter::shared().setScript(alerts);
        controller.setEditorPreferencesStore(&preferences);
    }
    void TearDown() override {
        settle();
        AlertPresenter::shared().setScript(nullptr);
    }

    void settle() {
        for (int turn = 0; turn < 4; ++turn) {
            CarvexPlatform::BackgroundTask::waitForIdle();
            fake->runPending();
        }
    }

    static void write(const QString& file, const QByteArray& data) {
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(data);
    }
    static QByteArray read(const QString& file) {
        QFile in(file);
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray("<missing>");
    }
    // Another program writes the file; its time is moved clearly past any time read before.
    static void writeExternally(const QString& file, const QByteArray& data, int seconds = 5) {
        write(file, data);
        QFile touched(file);
        ASSERT_TRUE(touched.open(QIODevice::ReadWrite));
        touched.setFileTime(QDateTime::currentDateTime().addSecs(seconds), QFileDevice::FileModificationTime);
    }

    // Opens a copy of a corpus file through the document controller, with a plain window.
    Document* openCopy(const QString& corpusName) {
        const QString source = QStringLiteral(CARVEX_SHARED_DIR "/corpus/oai/") + corpusName;
        if (!QFile::exists(source)) {
            return nullptr;
        }
        const QString copy = folder.filePath(QFileInfo(source).fileName());
        QFile::remove(copy);
        if (!QFile::copy(source, copy)) {
            return nullptr;
        }
        CarvexPlatform::Document* opened = nullptr;
        controller.openDocumentWithContentsOfFile(copy, true,
                                                  [&](CarvexPlatform::Document* document, bool, auto) { opened = document; });
        return dynamic_cast<Document*>(opened);
    }

    // A document read from `name` in the temporary folder, holding `text` (with the file's time, when
    // given).
    Document* openText(const QString& name, const QByteArray& text,
                       std::optional<std::int64_t> modifiedNanoseconds = std::nullopt) {
        write(folder.filePath(name), text);
        if (modifiedNanoseconds) {
            CarvexTest::setModified(folder.filePath(name), *modifiedNanoseconds);
        }
        CarvexPlatform::Document* opened = nullptr;
        controller.openDocumentWithContentsOfFile(folder.filePath(name), true,
                                                  [&](CarvexPlatform::Document* document, bool, auto) { opened = document; });
        return dynamic_cast<Document*>(opened);
    }

    static void edit(Document& document, const QString& text) {
        document.setContent(text);
        document.updateChangeCount(ChangeType::done);
    }

    static std::vector<QString> logLines(const Document& document) {
        std::vector<QString> lines;
        for (const auto& entry : document.logStore()->entries()) {
            lines.push_back(entry.message);
        }
        return lines;
    }

    std::optional<Error> save(Document& document) {
        std::optional<std::optional<Error>> result;
        document.saveDocument([&](std::optional<Error> error) { result = error; });
        settle();
        EXPECT_TRUE(result.has_value());
        return result ? *result : std::nullopt;
    }

    std::shared_ptr<CarvexPlatform::FakeMainScheduler> fake = std::make_shared<CarvexPlatform::FakeMainScheduler>();
    CarvexPlatform::ScopedMainScheduler scope{fake};
    std::shared_ptr<AlertScript> alerts = std::make_shared<AlertScript>();
    EditorPreferencesStore preferences{CarvexPlatform::Settings::isolated()};
    QTemporaryDir temporary;
    QDir folder{temporary.path()};
    DocumentController controller{CarvexPlatform::Settings::isolated()};
    CarvexPlatform::ScopedScene windowScene{CarvexPlatform::Storyboard::main(), Document::windowControllerScene,
                                            [] { return std::make_unique<DocumentWindowController>(); }};
};

}  // namespace

TEST_F(DocumentTest, ReadingTakesOnlyUTF8AndWritesBackTheSameBytes) {
    struct Row {
        const char* name;
        QByteArray bytes;
        bool readable;
    };
    const Row rows[] = {
        {"plain", "openapi: 3.1.0\n", true},
        {"byte order mark kept", "\xEF\xBB\xBFopenapi: 3.0.3\n", true},
        {"CR LF kept", "a: 1\r\nb: 2\r\n", true},
        {"pairs and accents", "title: caf\xC3\xA9 \xF0\x9F\x98\x80\n", true},
        {"empty", "", true},
        {"stray byte", "a: \xFF\n", false},
        {"cut sequence", "a: \xE2\x82", false},
        {"overlong slash", "a: \xC0\xAF", false},
        {"encoded surrogate", "a: \xED\xA0\x80", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Document document(&preferences);
        document.setContent("before");
        const auto error = document.readFromData(row.bytes, DocumentTypes::yamlDocument);
        if (!row.readable) {
            ASSERT_TRUE(error.has_value());
            EXPECT_EQ(*error, (Error{"NSOSStatusErrorDomain", -4, "Failed to read document"}));
            EXPECT_EQ(document.content(), "before");
            EXPECT_EQ(document.fileFormat, std::nullopt);
            continue;
        }
        ASSERT_EQ(error, std::nullopt);
        const auto data = document.dataOfType(DocumentTypes::yamlDocument);
        ASSERT_TRUE(std::holds_alternative<QByteArray>(data));
        EXPECT_EQ(std::get<QByteArray>(data), row.bytes);
    }
}

TEST_F(DocumentTest, TheDocumentTypeGivesFormatAndExtension) {
    struct Row {
        QString typeName;
        std::optional<FileFormat> format;
        QString extension;
    };
    const Row rows[] = {{"JSON Document", FileFormat::json, "json"}, {"public.json", FileFormat::json, "json"},
                        {"YAML Document", FileFormat::yaml, "yaml"}, {"org.yaml.yaml", FileFormat::yaml, "yaml"},
                        {"Plain Text", std::nullopt, ""}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.typeName.toStdString());
        Document document(&preferences);
        document.fileFormat = FileFormat::json;
        ASSERT_EQ(document.readFromData("{}", row.typeName), std::nullopt);
        EXPECT_EQ(document.fileFormat, row.format);
        EXPECT_EQ(document.fileNameExtension(row.typeName, SaveOperation::saveAs), row.extension);
    }
    EXPECT_TRUE(Document(&preferences).autosavesInPlace());
}

TEST_F(DocumentTest, TextThatUTF8CannotHoldFailsTheSaveAndLeavesTheFile) {
    struct Row {
        const char* name;
        QString text;
        bool savable;
    };
    const QChar high(char16_t(0xD83D)), low(char16_t(0xDE00));
    const Row rows[] = {
        {"pair", QString("a: ") + high + low, true},
        {"high surrogate at the end", QString("a: ") + high, false},
        {"low surrogate alone", QString("a: ") + low + "b", false},
        {"high surrogate before a letter", QString("a: ") + high + "b", false},
        {"two highs then a low", QString("a: ") + high + high + low, false},
    };
    Document* document = openText("surrogates.yaml", "original: true\n");
    ASSERT_NE(document, nullptr);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        write(document->filePath(), "original: true\n");
        document->setFileSignature(CarvexPlatform::FileSignature::ofFile(document->filePath()));
        edit(*document, row.text);
        const auto error = save(*document);
        if (row.savable) {
            EXPECT_EQ(error, std::nullopt);
            EXPECT_EQ(QString::fromUtf8(read(document->filePath())), row.text);
            continue;
        }
        ASSERT_TRUE(error.has_value());
        EXPECT_EQ(*error, (Error{"NSOSStatusErrorDomain", -4, "Failed to save document"}));
        EXPECT_EQ(read(document->filePath()), "original: true\n");
        EXPECT_TRUE(document->isDocumentEdited());
    }
}

TEST_F(DocumentTest, NamesLoggerAndConvertedContent) {
    Document untitled(&preferences);
    EXPECT_EQ(untitled.logger().fileName(), "Untitled");
    untitled.loadConvertedContent("{}", FileFormat::json, "petstore_converted.json");
    EXPECT_EQ(untitled.displayName(), "petstore_converted.json");
    EXPECT_EQ(untitled.customDisplayName, "petstore_converted.json");
    EXPECT_EQ(untitled.fileFormat, FileFormat::json);
    EXPECT_EQ(untitled.content(), "{}");
    EXPECT_TRUE(untitled.isDocumentEdited()) << "a converted text is kept in no file yet";
    untitled.setDisplayName(std::nullopt);
    EXPECT_EQ(untitled.displayName().left(8), "Untitled");

    Document* document = openText("named.yaml", "a: 1\n");
    ASSERT_NE(document, nullptr);
    EXPECT_EQ(document->displayName(), "named.yaml");
    EXPECT_EQ(document->logger().fileName(), "named.yaml");
    EXPECT_EQ(document->lastKnownFileSignature(), document->fileSignatureOnDisk());
    EXPECT_TRUE(document->lastKnownFileSignature().has_value());
    // The logger keeps its first name after Save As.
    document->setFilePath(folder.filePath("renamed.yaml"));
    EXPECT_EQ(document->logger().fileName(), "named.yaml");
}

TEST_F(DocumentTest, WithoutTheWindowSceneTheDocumentStaysWindowless) {
    CarvexPlatform::Storyboard::main().removeScene(Document::windowControllerScene);
    Document document(&preferences);
    testing::internal::CaptureStdout();
    document.makeWindowControllers();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "ERROR: Could not create window controller\n");
    EXPECT_TRUE(document.windowControllers().empty());
}

// A window that only records what its document asks of it.
class RecordingWindow : public CarvexPlatform::WindowController, public DocumentWindow {
public:
    explicit RecordingWindow(std::vector<QString>* calls) : calls_(calls) {}
    void windowDidJoinDocument(Document& document) override {
        const bool added = !document.windowControllers().empty() && document.windowControllers().front() == this;
        calls_->push_back("join " + document.displayName() + (added ? " (added)" : " (not added)"));
    }
    void showConvertedContent(const QString& text, FileFormat format) override {
        calls_->push_back("show " + text + (format == FileFormat::json ? " json" : " yaml"));
    }
    void refreshConversionState() override { calls_->push_back("refresh"); }
    void reloadEditorContent() override { calls_->push_back("reload"); }

private:
    std::vector<QString>* calls_;
};

TEST_F(DocumentTest, TheDocumentAsksItsWindowThroughTheSceneItMakes) {
    struct Row {
        const char* name;
        QString file;
        bool documentWindow;  // the scene makes a document window, or a plain window controller
        std::vector<QString> calls;
    };
    const Row rows[] = {
        {"a document window hears of joining, conversion and reload",
         "shown.yaml",
         true,
         {"join shown.yaml (added)", "refresh", "show {} json", "refresh", "reload"}},
        {"a window of another kind leaves the document windowless", "windowless.yaml", false, {}},
    };
    for (const Row& row : rows) {
        std::vector<QString> calls;
        CarvexPlatform::ScopedScene scene{CarvexPlatform::Storyboard::main(), Document::windowControllerScene,
                                          [&]() -> std::unique_ptr<QObject> {
                                              if (row.documentWindow) return std::make_unique<RecordingWindow>(&calls);
                                              return std::make_unique<CarvexPlatform::WindowController>();
                                          }};
        testing::internal::CaptureStdout();
        Document* document = openText(row.file, "v: 0\n");
        const std::string printed = testing::internal::GetCapturedStdout();
        ASSERT_NE(document, nullptr) << row.name;
        EXPECT_EQ(document->windowControllers().size(), row.documentWindow ? 1u : 0u) << row.name;
        EXPECT_EQ(printed, row.documentWindow ? "" : "ERROR: Could not create window controller\n") << row.name;

        document->loadConvertedContent("{}", FileFormat::json, row.file);
        writeExternally(document->filePath(), "v: 1\n");
        document->presentedItemDidChange();
        fake->advance(Document::externalChangeDelay);
        EXPECT_EQ(calls, row.calls) << row.name;
        settle();
    }
}

TEST_F(DocumentTest, CorpusFilesOpenOneDocumentPerFileWithTheirFormat) {
    Document* yaml = openCopy("v3.0/petstore.yaml");
    Document* json = openCopy("v3.1/webhook-example.json");
    if (!yaml || !json) {
        GTEST_SKIP() << "the shared corpus is not here";
    }
    EXPECT_EQ(yaml->fileFormat, FileFormat::yaml);
    EXPECT_EQ(json->fileFormat, FileFormat::json);
    EXPECT_EQ(yaml->windowControllers().size(), 1u);
    EXPECT_TRUE(yaml->content().contains("openapi"));
    EXPECT_FALSE(yaml->isDocumentEdited());

    bool wasOpen = false;
    CarvexPlatform::Document* again = nullptr;
    controller.openDocumentWithContentsOfFile(yaml->filePath(), true, [&](auto* document, bool open, auto) {
        again = document;
        wasOpen = open;
    });
    EXPECT_EQ(again, yaml);
    EXPECT_TRUE(wasOpen);
    EXPECT_EQ(controller.documents().size(), 2u);
    EXPECT_EQ(controller.recentDocumentPaths().value(0), json->filePath());

    // The application's logger writes into every open document's log.
    AppLogger::shared().info("to all");
    settle();
    EXPECT_EQ(logLines(*yaml), std::vector<QString>{"to all"});
    EXPECT_EQ(logLines(*json), std::vector<QString>{"to all"});
}

TEST_F(DocumentTest, ExternalChangesAreCheckedOnceAfterTheLastNotice) {
    Document* document = openText("burst.yaml", "v: 0\n");
    ASSERT_NE(document, nullptr);
    writeExternally(document->filePath(), "v: 1\n");
    document->presentedItemDidChange();
    fake->advance(300ms);
    writeExternally(document->filePath(), "v: 2\n", 6);
    document->presentedItemDidChange();
    fake->advance(499ms);
    EXPECT_EQ(document->content(), "v: 0\n");
    EXPECT_TRUE(logLines(*document).empty());
    fake->advance(1ms);
    EXPECT_EQ(document->content(), "v: 2\n");
    EXPECT_EQ(logLines(*document), std::vector<QString>{reloadedLine});
    EXPECT_TRUE(alerts->presented().empty());
    EXPECT_FALSE(document->isDocumentEdited());
    // Nothing changed since: another notice ends at the date check.
    document->presentedItemDidChange();
    fake->advance(500ms);
    EXPECT_EQ(logLines(*document).size(), 1u);
}

TEST_F(DocumentTest, OwnSavesAndUntitledDocumentsRaiseNothing) {
    Document* document = openText("own.yaml", "a: 1\n");
    ASSERT_NE(document, nullptr);
    edit(*document, "a: 2\n");
    ASSERT_EQ(save(*document), std::nullopt);
    EXPECT_EQ(document->lastKnownFileSignature(), document->fileSignatureOnDisk());
    document->presentedItemDidChange();
    fake->advance(500ms);

    Document untitled(&preferences);
    untitled.presentedItemDidChange();
    fake->advance(500ms);
    untitled.checkForExternalChange();

    EXPECT_TRUE(alerts->presented().empty());
    EXPECT_TRUE(logLines(*document).empty());
    EXPECT_EQ(document->content(), "a: 2\n");
}

TEST_F(DocumentTest, ExternalChangeAnswers) {
    const QString question =
        "The file \"answers.yaml\" has been modified by another application.\n\nWould you like to reload the file?";
    const QString conflict =
        "The file \"answers.yaml\" has been modified by another application.\n\n"
        "You have unsaved changes in the editor.\n\n"
        "\u2022 Reload: Discard your local changes and load the version from disk.\n"
        "\u2022 Ignore: Keep your local changes. Saving later will overwrite the external changes.";
    struct Row {
        const char* name;
        bool autoReload;
        bool edited;
        std::optional<int> answer;  // nothing: no alert expected
        AlertStyle style;
        QString informative;
        QString expectContent;
        std::vector<QString> expectLog;
    };
    const Row rows[] = {
        {"unedited, auto-reload on: silent", true, false, std::nullopt, AlertStyle::informational, "", "disk: 1\n",
         {reloadedLine}},
        {"unedited, auto-reload off: Reload", false, false, 0, AlertStyle::informational, question, "disk: 1\n",
         {reloadedLine}},
        {"unedited, auto-reload off: Ignore", false, false, 1, AlertStyle::informational, question, "mine: 0\n",
         {"External change ignored"}},
        {"edited, auto-reload on: Reload", true, true, 0, AlertStyle::warning, conflict, "disk: 1\n",
         {"Document reloaded \u2014 local changes discarded"}},
        {"edited, auto-reload off: Ignore", false, true, 1, AlertStyle::warning, conflict, "edited: 2\n",
         {"External change ignored \u2014 local content preserved"}},
    };
    // A file put back from a backup (or copied with its date kept) is older than the one read, and a
    // file written and given its old date back keeps the time to the millisecond or to the nanosecond:
    // each is as much a change as a newer one. The rows name the disk's text as "disk: 1\n".
    using CarvexTest::ExternalFileChange;
    const struct {
        ExternalFileChange change;
        QByteArray disk;
    } replacements[] = {
        {ExternalFileChange::newerDate, "disk: 1\n"},
        {ExternalFileChange::olderDate, "disk: 1\n"},
        {ExternalFileChange::sameSizeDateSetBack, "disk: 1\n"},
        {ExternalFileChange::newInodeDateSetBack, "disk: 1\n"},
        {ExternalFileChange::sameDateOtherSize, "disk: 10\n"},
        {ExternalFileChange::sameSizeSameDate, "disk: 1\n"},
    };
    for (const auto& replacement : replacements) {
        for (const Row& row : rows) {
            SCOPED_TRACE(row.name);
            SCOPED_TRACE(CarvexTest::nameOf(replacement.change));
            alerts = std::make_shared<AlertScript>();
            AlertPresenter::shared().setScript(alerts);
            preferences.setAutoReloadExternalChanges(row.autoReload);
            Document* document = openText("answers.yaml", "mine: 0\n", CarvexTest::knownModifiedNanoseconds);
            ASSERT_NE(document, nullptr);
            if (row.edited) {
                edit(*document, "edited: 2\n");
            }
            CarvexTest::changeExternally(document->filePath(), replacement.change, replacement.disk);
            if (row.answer) {
                alerts->respond(*row.answer);
            }
            document->presentedItemDidChange();
            fake->advance(500ms);
            settle();
            const QString expectContent =
                row.expectContent == "disk: 1\n" ? QString::fromUtf8(replacement.disk) : row.expectContent;
            EXPECT_EQ(read(document->filePath()), replacement.disk);
            EXPECT_EQ(document->content(), expectContent);
            EXPECT_EQ(logLines(*document), row.expectLog);
            EXPECT_FALSE(document->isShowingExternalChangeDialog());
            ASSERT_EQ(alerts->presented().size(), row.answer ? 1u : 0u);
            if (row.answer) {
                const auto& shown = alerts->presented()[0];
                EXPECT_TRUE(shown.asSheet);
                EXPECT_EQ(shown.alert.style, row.style);
                EXPECT_EQ(shown.alert.messageText, "File Modified Externally");
                EXPECT_EQ(shown.alert.informativeText, row.informative);
                EXPECT_EQ(shown.alert.buttons, (QStringList{"Reload", "Ignore"}));
            }
            EXPECT_EQ(document->isDocumentEdited(), row.expectContent == "edited: 2\n");
            if (row.edited && row.answer == 1) {
                // As promised: the next save overwrites the disk's text without asking again.
                ASSERT_EQ(save(*document), std::nullopt);
                EXPECT_EQ(read(document->filePath()), "edited: 2\n");
                EXPECT_EQ(alerts->presented().size(), 1u);
            }
            // Unless the user kept their edits (Ignore), no later save writes over the disk's text.
            fake->advance(CarvexPlatform::Document::autosaveDelay);
            settle();
            EXPECT_EQ(read(document->filePath()), row.edited && row.answer == 1 ? "edited: 2\n" : replacement.disk);
            document->close();
            settle();
        }
    }
}

// A change of the file's mode, or a write of the same bytes dated back, leaves the text as it was:
// nothing is reloaded or asked, the record follows the file, and autosave writes without asking. The
// file compared is the one read, or the one an own save wrote.
TEST_F(DocumentTest, AChangeOfStatusAloneRaisesNothing) {
    struct Row {
        const char* name;
        std::vector<QString> edits;  // a save between two
        QByteArray expectFile;       // after the next autosave
    };
    const Row rows[] = {
        {"unedited", {}, "a: 0\n"},
        {"edited", {"a: 1\n"}, "a: 1\n"},
        {"saved, then edited", {"a: 1\n", "a: 2\n"}, "a: 2\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Document* document = openText(QString("status-%1.yaml").arg(&row - rows), "a: 0\n");
        ASSERT_NE(document, nullptr);
        for (std::size_t index = 0; index < row.edits.size(); ++index) {
            if (index > 0) {
                ASSERT_EQ(save(*document), std::nullopt);
            }
            edit(*document, row.edits[index]);
        }
        CarvexTest::changeExternally(document->filePath(), CarvexTest::ExternalFileChange::statusOnly, {});
        document->presentedItemDidChange();
        fake->advance(500ms);
        settle();
        EXPECT_TRUE(alerts->presented().empty());
        EXPECT_TRUE(logLines(*document).empty());
        EXPECT_EQ(document->lastKnownFileSignature(), document->fileSignatureOnDisk());
        fake->advance(CarvexPlatform::Document::autosaveDelay);
        settle();
        EXPECT_TRUE(alerts->presented().empty());
        EXPECT_EQ(read(document->filePath()), row.expectFile);
        EXPECT_FALSE(document->isDocumentEdited());
    }
}

namespace {

// Another program writes the file while it is read: after the bytes, before the reader is done.
class WrittenDuringReadDocument : public Document {
public:
    using Document::Document;
    std::function<void()> duringRead;
    std::optional<Error> readFromData(const QByteArray& data, const QString& typeName) override {
        if (duringRead) {
            std::exchange(duringRead, {})();
        }
        return Document::readFromData(data, typeName);
    }
};

}  // namespace

// The notice that follows reloads the other program's text, and a save first asks.
TEST_F(DocumentTest, AWriteLandingDuringTheReadIsAChange) {
    for (const bool edited : {false, true}) {
        SCOPED_TRACE(edited ? "edited: the save asks" : "unedited: the notice reloads");
        const QString file = folder.filePath(edited ? "read-raced-edited.yaml" : "read-raced.yaml");
        CarvexTest::writeDated(file, "a: 0\n", CarvexTest::knownModifiedNanoseconds);
        WrittenDuringReadDocument document(&preferences);
        document.duringRead = [&] {
            CarvexTest::changeExternally(file, CarvexTest::ExternalFileChange::newerDate, "a: 1\n");
        };
        ASSERT_EQ(document.readFromFile(file, DocumentTypes::yamlDocument), std::nullopt);
        EXPECT_EQ(document.content(), "a: 0\n");
        if (edited) {
            edit(document, "a: 2\n");
            alerts->respond(1);  // Cancel
            fake->advance(CarvexPlatform::Document::autosaveDelay);
            settle();
            EXPECT_EQ(alerts->presented().size(), 1u);
            EXPECT_EQ(read(file), "a: 1\n");
        } else {
            document.presentedItemDidChange();
            fake->advance(500ms);
            settle();
            EXPECT_EQ(document.content(), "a: 1\n");
            EXPECT_EQ(logLines(document), std::vector<QString>{reloadedLine});
        }
    }
}

// The conflict alert about a deleted file is up: autosave waits for its answer rather than making
// the file again behind it.
TEST_F(DocumentTest, AutosaveWaitsForTheAnswerAboutADeletedFile) {
    Document* document = openText("deleted.yaml", "a: 0\n");
    ASSERT_NE(document, nullptr);
    edit(*document, "a: mine\n");
    ASSERT_TRUE(QFile::remove(document->filePath()));
    alerts->respond(1);                  // Ignore, on a later turn
    document->checkForExternalChange();
    ASSERT_TRUE(document->isShowingExternalChangeDialog());
    std::optional<Error> autosaved;
    document->autosave([&](auto error) { autosaved = error; });
    settle();
    ASSERT_TRUE(autosaved.has_value());
    EXPECT_TRUE(autosaved->isUserCancelled());
    EXPECT_EQ(read(document->filePath()), "<missing>");
    EXPECT_EQ(alerts->presented().size(), 1u);
    // Answered: the next autosave writes the edits.
    edit(*document, "a: mine\n");
    fake->advance(CarvexPlatform::Document::autosaveDelay);
    settle();
    EXPECT_EQ(read(document->filePath()), "a: mine\n");
}

// The alert about the file is answered Ignore after the autosave moment passed (that autosave
// waited for the answer): the edits are still meant for the file, and the usual autosave writes
// them, with no other key, and the window loses its mark.
TEST_F(DocumentTest, IgnoringAnExternalChangeLateStillAutosaves) {
    enum class Change { deleted, deletedThenPutBack, modified };
    const struct {
        const char* name;
        Change change;
        QByteArray onDiskWhileAsked;
    } rows[] = {
        {"deleted", Change::deleted, "<missing>"},
        {"deleted, then put back before the answer", Change::deletedThenPutBack, "<missing>"},
        {"modified", Change::modified, "a: theirs\n"},
    };
    AlertPresenter::shared().setScript(nullptr);  // a real sheet, up until its button is pressed
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Document* document = openText(QString("ignored-%1.yaml").arg(&row - rows), "a: 0\n");
        ASSERT_NE(document, nullptr);
        const QString file = document->filePath();
        edit(*document, "a: mine\n");
        if (row.change == Change::modified) {
            writeExternally(file, "a: theirs\n");
        } else {
            ASSERT_TRUE(QFile::remove(file));
        }
        document->checkForExternalChange();
        ASSERT_TRUE(document->isShowingExternalChangeDialog());
        QMainWindow* window = document->windowControllers().front()->window();
        auto* alert = window->findChild<QMessageBox*>();
        ASSERT_NE(alert, nullptr);
        fake->advance(CarvexPlatform::Document::autosaveDelay);
        settle();
        EXPECT_EQ(read(file), row.onDiskWhileAsked);
        if (row.change == Change::deletedThenPutBack) {
            write(file, "a: 0\n");
        }
        const auto buttons = alert->buttons();
        const auto ignore = std::find_if(buttons.begin(), buttons.end(),
                                         [](QAbstractButton* button) { return button->text() == "Ignore"; });
        ASSERT_NE(ignore, buttons.end());
        (*ignore)->click();
        ASSERT_FALSE(document->isShowingExternalChangeDialog());
        EXPECT_TRUE(window->isWindowModified());
        fake->advance(CarvexPlatform::Document::autosaveDelay);
        settle();
        EXPECT_EQ(read(file), "a: mine\n");
        EXPECT_FALSE(document->isDocumentEdited());
        EXPECT_FALSE(window->isWindowModified());
        document->close();
        settle();
    }
}

TEST_F(DocumentTest, AnAlertOnScreenIsNotStacked) {
    preferences.setAutoReloadExternalChanges(false);
    Document* document = openText("stack.yaml", "a: 0\n");
    ASSERT_NE(document, nullptr);
    writeExternally(document->filePath(), "a: 1\n");
    alerts->respond(1);
    document->checkForExternalChange();
    EXPECT_TRUE(document->isShowingExternalChangeDialog());
    writeExternally(document->filePath(), "a: 2\n", 7);
    document->checkForExternalChange();  // the sheet is still up
    edit(*document, "a: mine\n");
    std::optional<Error> autosaved;
    document->autosave([&](auto error) { autosaved = error; });  // waits too: no second question
    EXPECT_EQ(alerts->presented().size(), 1u);
    settle();
    EXPECT_FALSE(document->isShowingExternalChangeDialog());
    ASSERT_TRUE(autosaved.has_value());
    EXPECT_TRUE(autosaved->isUserCancelled());
    EXPECT_EQ(read(document->filePath()), "a: 2\n");
    EXPECT_EQ(alerts->presented().size(), 1u);
}

TEST_F(DocumentTest, WithoutAWindowNoQuestionIsAsked) {
    preferences.setAutoReloadExternalChanges(false);
    CarvexPlatform::Storyboard::main().removeScene(Document::windowControllerScene);
    testing::internal::CaptureStdout();
    Document* document = openText("windowless.yaml", "a: 0\n");
    testing::internal::GetCapturedStdout();
    ASSERT_NE(document, nullptr);
    EXPECT_TRUE(document->windowControllers().empty());
    writeExternally(document->filePath(), "a: 1\n");
    document->checkForExternalChange();
    EXPECT_TRUE(alerts->presented().empty());
    EXPECT_FALSE(document->isShowingExternalChangeDialog());
    EXPECT_EQ(document->content(), "a: 0\n");
}

TEST_F(DocumentTest, AFailedReloadKeepsTheText) {
    Document* document = openText("broken.yaml", "good: 1\n");
    ASSERT_NE(document, nullptr);
    writeExternally(document->filePath(), "bad: \xFF\n");
    document->presentedItemDidChange();
    fake->advance(500ms);
    EXPECT_EQ(document->content(), "good: 1\n");
    EXPECT_EQ(logLines(*document), std::vector<QString>{"Failed to reload document: Failed to read document"});
    EXPECT_EQ(document->logStore()->entries().front().level, LogLevel::error);
    EXPECT_FALSE(document->isReverting());
}

TEST_F(DocumentTest, SavingOverAnExternalChangeAsksAsTheConflictDoes) {
    struct Row {
        const char* name;
        int answer;
        QByteArray expectFile;
        QString expectContent;
    };
    const Row rows[] = {
        {"Ignore: the edits overwrite the disk", 1, "mine: 2\n", "mine: 2\n"},
        {"Reload: the save is dropped, the disk's text loaded", 0, "disk: 1\n", "disk: 1\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        alerts = std::make_shared<AlertScript>();
        AlertPresenter::shared().setScript(alerts);
        Document* document = openText("autosave.yaml", "start: 0\n");
        ASSERT_NE(document, nullptr);
        edit(*document, "mine: 2\n");
        writeExternally(document->filePath(), "disk: 1\n");
        alerts->respond(row.answer);
        // The autosave falls due before the external-change check has run.
        fake->advance(CarvexPlatform::Document::autosaveDelay);
        settle();
        ASSERT_EQ(alerts->presented().size(), 1u);
        EXPECT_EQ(alerts->presented()[0].alert.buttons, (QStringList{"Reload", "Ignore"}));
        EXPECT_EQ(read(document->filePath()), row.expectFile);
        EXPECT_EQ(document->content(), row.expectContent);
        EXPECT_FALSE(document->isDocumentEdited());
        document->close();
        settle();
    }
}

namespace {

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

TEST_F(DocumentTest, FilesReplacedByAnotherProgramAreStillWatched) {
    Document* document = openText("replaced.yaml", "n: 0\n");
    ASSERT_NE(document, nullptr);
    for (int round = 1; round <= 2; ++round) {
        SCOPED_TRACE(round);
        const QString temporaryFile = folder.filePath("replaced.yaml.tmp");
        writeExternally(temporaryFile, QString("n: %1\n").arg(round).toUtf8(), 5 * round);
        ASSERT_EQ(::rename(QFile::encodeName(temporaryFile).constData(),
                           QFile::encodeName(document->filePath()).constData()),
                  0);
        ASSERT_TRUE(waitUntil([&] { return fake->pendingCount() > 0; })) << "no notice of the change";
        fake->runPending();
        fake->advance(500ms);
        EXPECT_EQ(document->content(), QString("n: %1\n").arg(round));
        // Drain the notices that came after.
        QCoreApplication::processEvents();
        fake->advance(500ms);
    }
    EXPECT_EQ(logLines(*document), (std::vector<QString>{reloadedLine, reloadedLine}));
}
